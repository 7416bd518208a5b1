#include "engine/labels/CCCharMapLabel.h"

#include "engine/platform/CCGL.h"
#include "engine/textures/CCTextureAtlas.h"

#include "LabelTestSupport.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

class CCCharMapLabelTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override {
        useFrameDrawingState();
        // 10 digits of 16 x 24 per row, two rows, in a picture padded to a 256 x 64 texture.
        map = kvtest::makeTempFolder("charmap") + "/digits.png";
        ASSERT_TRUE(kvtest::writeSolidPng(map, 160, 48, 255, 255, 255));
    }
    std::string map;
};

TEST_F(CCCharMapLabelTest, MapsEachCharacterToItsGridItem) {
    CCCharMapLabel* label = CCCharMapLabel::createWithString("19", map.c_str(), 16, 24, '0');
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getItemsPerRow(), 10u);
    EXPECT_EQ(label->getQuadsToDraw(), 2u);
    EXPECT_FLOAT_EQ(label->getContentSizeInPixels().width, 32);
    const ccV3F_C4B_T2F_Quad& second = label->getTextureAtlas()->getQuads()[1];
    EXPECT_FLOAT_EQ(second.bl.vertices.x, 16);
    EXPECT_FLOAT_EQ(second.tr.vertices.x, 32);
    EXPECT_FLOAT_EQ(second.tr.vertices.y, 24);
    EXPECT_FLOAT_EQ(second.bl.texCoords.u, 144 / 256.f);
    EXPECT_FLOAT_EQ(second.tr.texCoords.u, 160 / 256.f);
    EXPECT_FLOAT_EQ(second.tl.texCoords.v, 0);
    EXPECT_FLOAT_EQ(second.bl.texCoords.v, 24 / 64.f);

    label->setString("/:1234"); // '/' is below the start: it wraps to item 255 (row 25, column 5)
    EXPECT_EQ(label->getQuadsToDraw(), 6u);
    const ccV3F_C4B_T2F_Quad& wrapped = label->getTextureAtlas()->getQuads()[0];
    EXPECT_FLOAT_EQ(wrapped.bl.texCoords.u, 5 * 16 / 256.f);
    EXPECT_FLOAT_EQ(wrapped.tl.texCoords.v, 25 * 24 / 64.f);
    const ccV3F_C4B_T2F_Quad& colon = label->getTextureAtlas()->getQuads()[1]; // item 10: second row
    EXPECT_FLOAT_EQ(colon.tl.texCoords.u, 0);
    EXPECT_FLOAT_EQ(colon.tl.texCoords.v, 24 / 64.f);
    EXPECT_STREQ(label->getString(), "/:1234");

    kvtest::LogLines log;
    EXPECT_EQ(CCCharMapLabel::createWithString("1", "/nonexistent/digits.png", 16, 24, '0'), nullptr);
    EXPECT_EQ(CCCharMapLabel::createWithString("1", map.c_str(), 0, 24, '0'), nullptr);
    EXPECT_TRUE(log.contains("CCAtlasNode: cannot load the image"));
    EXPECT_TRUE(log.contains("CCAtlasNode: items of zero size"));
}

TEST_F(CCCharMapLabelTest, DrawsTintedByOneColourInsideItsBox) {
    CCCharMapLabel* label = CCCharMapLabel::createWithString("00", map.c_str(), 16, 24, '0');
    ASSERT_NE(label, nullptr);
    label->setOpacityModifyRGB(true);
    label->setOpacity(128);
    label->setColor(ccColor3B{200, 100, 50});
    EXPECT_EQ(label->getColor(), (ccColor3B{200, 100, 50}));
    label->setPosition(CCPoint(64, 64)); // anchor (0, 0): box 64..96 x 64..88
    clear();
    label->visit();
    GLfloat current[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_NEAR(current[0], 100 / 255.f, 1e-3);
    EXPECT_NEAR(current[1], 50 / 255.f, 1e-3);
    EXPECT_NEAR(current[2], 25 / 255.f, 1e-3);
    EXPECT_NEAR(current[3], 128 / 255.f, 1e-3);

    label->setOpacity(255);
    label->setColor(ccColor3B{0, 0, 255});
    clear();
    label->visit();
    int inside = 0, outside = 0;
    countPixels(kvtest::RGBA{0, 0, 255, 255}, 64, 64, 95, 87, &inside, &outside);
    EXPECT_EQ(inside, 32 * 24);
    EXPECT_EQ(outside, 0);
}

} // namespace
