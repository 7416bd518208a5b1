#include "engine/labels/CCLabelBMFont.h"

#include "engine/base/CCArray.h"
#include "engine/labels/CCBMFontConfiguration.h"
#include "engine/sprites/CCSprite.h"

#include "LabelTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace kvengine;

namespace {

// Line height 32. A: 10 x 20 at (0, 0), y offset 4, advance 12. V: 8 x 20, advance 10.
// B: 6 x 40, y offset 40 (below the line). Kerning A then V: -2.
const char* const kFont = "info face=\"Test\" size=32 bold=0 italic=0 padding=1,2,3,4 spacing=0,0\n"
                          "common lineHeight=32 base=26 scaleW=64 scaleH=64 pages=1\n"
                          "page id=0 file=\"test.png\"\n"
                          "chars count=5\n"
                          "char id=65 x=0 y=0 width=10 height=20 xoffset=1 yoffset=4 xadvance=12 page=0\n"
                          "char id=86 x=10 y=0 width=8 height=20 xoffset=0 yoffset=4 xadvance=10 page=0\n"
                          "char id=66 x=20 y=0 width=6 height=40 xoffset=0 yoffset=40 xadvance=7 page=0\n"
                          "char id=67 x=30 y=0 width=6 height=6 xoffset=0 yoffset=0 page=0\n"
                          "char id=3000 x=1 y=1 width=1 height=1 xoffset=0 yoffset=0 xadvance=5 page=0\n"
                          "garbage line\n"
                          "kernings count=1\n"
                          "kerning first=65 second=86 amount=-2\n"
                          "kerning first=86 second=65 amount=1";

class CCLabelBMFontTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override {
        useFrameDrawingState();
        folder = kvtest::makeTempFolder("bmfont");
        fnt = labeltest::writeFont(folder, "test", kFont);
    }
    CCSprite* character(CCLabelBMFont* label, int index) {
        return static_cast<CCSprite*>(label->getChildByTag(index));
    }

    std::string folder;
    std::string fnt;
};

TEST_F(CCLabelBMFontTest, ParsesTheLinesItKnowsAndPassesOverTheRest) {
    CCBMFontConfiguration* config = CCBMFontConfiguration::createWithFNTFile(fnt.c_str());
    EXPECT_EQ(config->getLineHeight(), 32u);
    EXPECT_EQ(config->getPadding().top, 1);
    EXPECT_EQ(config->getPadding().left, 4);
    EXPECT_EQ(config->getAtlasName(), folder + "/test.png");
    const CCBMFontGlyph& a = config->glyph('A');
    EXPECT_EQ(a.id, 65u);
    EXPECT_FLOAT_EQ(a.width, 10);
    EXPECT_EQ(a.xOffset, 1);
    EXPECT_EQ(a.yOffset, 4);
    EXPECT_EQ(a.xAdvance, 12);
    EXPECT_FLOAT_EQ(config->glyph('V').x, 10); // "x=" is not read out of "xoffset="
    EXPECT_EQ(config->glyph('C').xAdvance, 0); // no "xadvance=" field
    EXPECT_EQ(config->glyph(3000).id, 0u);     // ids of 2048 and above are passed over
    EXPECT_EQ(config->kerningAmount('A', 'V'), -2);
    EXPECT_EQ(config->kerningAmount('V', 'A'), 1); // last line without a line feed
    EXPECT_EQ(config->kerningAmount('A', 'A'), 0);

    kvtest::LogLines log;
    EXPECT_EQ(CCBMFontConfiguration::createWithFNTFile((folder + "/none.fnt").c_str()), nullptr);
    EXPECT_FALSE(log.lines.empty());
    CCBMFontConfiguration empty;
    EXPECT_FALSE(empty.initWithFNTFile((folder + "/none.fnt").c_str()));
    EXPECT_EQ(empty.getLineHeight(), 0u);
    EXPECT_TRUE(empty.getAtlasName().empty());
    EXPECT_EQ(CCLabelBMFont::createWithString("A", (folder + "/none.fnt").c_str()), nullptr);
    EXPECT_EQ(CCLabelBMFont::createWithString("A", nullptr), nullptr);
}

TEST_F(CCLabelBMFontTest, LaysOutLinesKerningAndGlyphsBelowTheLine) {
    CCLabelBMFont* label = CCLabelBMFont::createWithString("AV\nAV", fnt.c_str());
    ASSERT_NE(label, nullptr);
    EXPECT_FLOAT_EQ(label->getContentSizeInPixels().height, 64);
    // First line: A at x = 1 + 0 + 5, y = 32 + (32 - 4) - 10; V kerned 2 pixels left.
    EXPECT_FLOAT_EQ(character(label, 0)->getPositionInPixels().x, 6);
    EXPECT_FLOAT_EQ(character(label, 0)->getPositionInPixels().y, 50);
    EXPECT_FLOAT_EQ(character(label, 1)->getPositionInPixels().x, 12 + 4 - 2);
    EXPECT_FLOAT_EQ(character(label, 3)->getPositionInPixels().y, 18); // 32 pixels lower
    // Widest pen: the second line starts kerned by the V-A pair (+1): 1 + 12 + 10 - 2.
    EXPECT_FLOAT_EQ(label->getContentSizeInPixels().width, 21);

    label->setString("AV\n");
    EXPECT_FLOAT_EQ(label->getContentSizeInPixels().height, 32); // a trailing line feed adds no line
    EXPECT_EQ(label->kerningAmountForFirst('A', 'V'), -2);

    label->setString("B");
    EXPECT_FLOAT_EQ(character(label, 0)->getPositionInPixels().y, 32 - 40 - 20);
    label->setString("?"); // no glyph: an empty sprite that does not move the pen
    EXPECT_FLOAT_EQ(label->getContentSizeInPixels().width, 0);
}

TEST_F(CCLabelBMFontTest, ReusesCharacterSpritesAndSharesTheConfiguration) {
    CCLabelBMFont* label = CCLabelBMFont::createWithString("AAAAA", fnt.c_str());
    ASSERT_NE(label, nullptr);
    CCSprite* fourth = character(label, 3);
    label->setString("AAA");
    EXPECT_EQ(label->getChildren()->count(), 5u);
    EXPECT_FALSE(character(label, 3)->isVisible());
    EXPECT_FALSE(character(label, 4)->isVisible());
    EXPECT_TRUE(character(label, 2)->isVisible());
    label->setString("AAAAA");
    EXPECT_EQ(label->getChildren()->count(), 5u);
    EXPECT_EQ(character(label, 3), fourth);
    EXPECT_TRUE(fourth->isVisible());
    EXPECT_STREQ(label->getString(), "AAAAA");

    CCLabelBMFont* other = CCLabelBMFont::createWithString("V", fnt.c_str());
    EXPECT_EQ(other->getConfiguration(), label->getConfiguration());

    label->setOpacity(128);
    label->setColor(ccColor3B{10, 20, 30});
    EXPECT_EQ(character(label, 4)->getOpacity(), 128);
    EXPECT_EQ(character(label, 4)->getColor(), (ccColor3B{10, 20, 30}));
}

TEST_F(CCLabelBMFontTest, DrawsItsCharactersInsideItsBoxOnly) {
    CCLabelBMFont* label = CCLabelBMFont::createWithString("AV", fnt.c_str());
    ASSERT_NE(label, nullptr);
    label->setPosition(CCPoint(64, 64));
    label->setColor(ccColor3B{255, 0, 0});
    clear();
    label->visit();
    // The box is 20 x 32 pixels centred on (64, 64).
    int inside = 0, outside = 0;
    countPixels(kvtest::RGBA{255, 0, 0, 255}, 54, 48, 74, 80, &inside, &outside);
    EXPECT_EQ(inside, 17 * 20); // A covers columns 1..10, the kerned V 10..17, both 20 rows
    EXPECT_EQ(outside, 0);
}

} // namespace
