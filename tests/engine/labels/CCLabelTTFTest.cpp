#include "engine/labels/CCLabelTTF.h"

#include "engine/textures/CCTexture2D.h"

#include "LabelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kvengine;

namespace {

class CCLabelTTFTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override { useFrameDrawingState(); }
    // Bounds of the lit pixels (any channel above 0) of the back buffer; false when none.
    bool litBounds(int* x0, int* y0, int* x1, int* y1) const {
        const std::vector<uint8_t> all = gl.readAll();
        bool any = false;
        for (int y = 0; y < gl.height(); ++y)
            for (int x = 0; x < gl.width(); ++x) {
                const uint8_t* p = &all[(static_cast<size_t>(y) * gl.width() + x) * 4];
                if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
                if (!any) *x0 = *x1 = x, *y0 = *y1 = y;
                any = true;
                *x0 = std::min(*x0, x), *x1 = std::max(*x1, x), *y0 = std::min(*y0, y),
                *y1 = std::max(*y1, y);
            }
        return any;
    }
};

bool isPowerOfTwo(uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
}

TEST_F(CCLabelTTFTest, FittedLabelDrawsItsTextInsideItsBoxInItsColour) {
    CCLabelTTF* label = CCLabelTTF::createWithString("Hello", "Marker Felt", 20);
    ASSERT_NE(label, nullptr);
    const CCSize size = label->getContentSize();
    EXPECT_GT(size.width, 20);
    EXPECT_GT(size.height, 10);
    CCTexture2D* texture = label->getTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(isPowerOfTwo(texture->getPixelsWide()));
    EXPECT_TRUE(isPowerOfTwo(texture->getPixelsHigh()));
    EXPECT_FLOAT_EQ(texture->getContentSize().width, size.width);

    label->setPosition(CCPoint(64, 64));
    label->setColor(ccColor3B{0, 255, 0});
    clear();
    label->visit();
    int inside = 0, outside = 0;
    const int left = static_cast<int>(64 - size.width / 2), bottom = static_cast<int>(64 - size.height / 2);
    countPixels(kvtest::RGBA{0, 255, 0, 255}, left, bottom, left + static_cast<int>(size.width),
                bottom + static_cast<int>(size.height), &inside, &outside);
    EXPECT_GT(inside, 20);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_TRUE(litBounds(&x0, &y0, &x1, &y1));
    EXPECT_GE(x0, left);
    EXPECT_LE(x1, left + static_cast<int>(size.width));
    EXPECT_GE(y0, bottom);
    EXPECT_LE(y1, bottom + static_cast<int>(size.height));
}

TEST_F(CCLabelTTFTest, BoxedLabelAlignsItsTextRight) {
    CCLabelTTF* label = CCLabelTTF::createWithStringDimensions("ab", 2, "Marker Felt", 16, 100, 40);
    ASSERT_NE(label, nullptr);
    EXPECT_FLOAT_EQ(label->getContentSize().width, 100);
    EXPECT_FLOAT_EQ(label->getContentSize().height, 40);
    label->setAnchorPoint(CCPointZero);
    label->setPosition(CCPoint(10, 10));
    clear();
    label->visit();
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_TRUE(litBounds(&x0, &y0, &x1, &y1));
    EXPECT_GT(x0, 10 + 50); // in the right half of the box
    EXPECT_LE(x1, 10 + 100);
    EXPECT_GT(y0, 10); // vertically inside the box, not touching its edges
    EXPECT_LT(y1, 10 + 40);
}

TEST_F(CCLabelTTFTest, TextChangesRenderNewTexturesAndKeepTheWideText) {
    CCLabelTTF* label = CCLabelTTF::createWithWideString(u"A\u0416", "Marker Felt", 20);
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(label->getString(), "A\x16"); // the low bytes of the units
    EXPECT_EQ(std::u16string(label->getWideString()), u"A\u0416");

    CCTexture2D* before = label->getTexture();
    before->retain();
    label->setString("A");
    EXPECT_NE(label->getTexture(), before);
    EXPECT_EQ(before->retainCount(), 1u); // the label let the old texture go
    before->release();
    EXPECT_EQ(std::u16string(label->getWideString()), u"A\u0416"); // a narrow text leaves the wide one

    CCLabelTTF* narrow = CCLabelTTF::createWithString("x", "Marker Felt", 20);
    EXPECT_EQ(narrow->getWideString(), nullptr);
    narrow->setString(nullptr);
    EXPECT_STREQ(narrow->getString(), "");
    EXPECT_FLOAT_EQ(narrow->getContentSize().width, 0); // nothing to show: an empty rectangle
}

} // namespace
