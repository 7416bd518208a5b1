#include "engine/sprites/CCSpriteFrameCache.h"

#include "engine/files/CCPlistReader.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"

#include "engine/textures/CCTexture2D.h"
#include "support/GLFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace kvengine;

namespace {

using Dictionary = CCMutableDictionary<std::string, CCObject*>;

std::string plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body +
           "</dict></plist>\n";
}

Dictionary* parse(const std::string& text) {
    return dictionaryWithContentsOfData(text.data(), static_cast<unsigned>(text.size()));
}

std::string metadata(int format) {
    return "<key>metadata</key><dict><key>format</key><integer>" + std::to_string(format) +
           "</integer></dict>";
}

void expectRect(const CCRect& r, float x, float y, float w, float h, const std::string& what) {
    EXPECT_FLOAT_EQ(r.origin.x, x) << what;
    EXPECT_FLOAT_EQ(r.origin.y, y) << what;
    EXPECT_FLOAT_EQ(r.size.width, w) << what;
    EXPECT_FLOAT_EQ(r.size.height, h) << what;
}

class CCSpriteFrameCacheTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override { useFrameDrawingState(); }
    CCSpriteFrameCache* cache() { return CCSpriteFrameCache::getInstance(); }
};

TEST(CCSpriteFrameBraceText, ParsesWellFormedTextsAndZeroesTheRest) {
    struct Case {
        const char* text;
        CCRect rect;
    } rects[] = {
        {"{{2,4},{30,40}}", {2, 4, 30, 40}},
        {"{{ 1.5 , -2 },{3,4}}", {1.5f, -2, 3, 4}},
        {"{{2,4},{30}}", {}},
        {"{{2,4},{30,40}", {}},
        {"{2,4},{30,40}}", {}},
        {"", {}},
        {"{{,4},{30,40}}", {}},
    };
    for (const Case& c : rects)
        expectRect(CCRectFromString(c.text), c.rect.origin.x, c.rect.origin.y, c.rect.size.width,
                   c.rect.size.height, c.text);
    expectRect(CCRectFromString(nullptr), 0, 0, 0, 0, "null");

    struct PairCase {
        const char* text;
        float a, b;
    } pairs[] = {{"{1,2}", 1, 2}, {"{ 1 , 2 }", 1, 2}, {"{2,4,5}", 0, 0}, {"{}", 0, 0},
                 {"}1,2{", 0, 0}, {"{1,}", 0, 0},      {"1,2", 0, 0},     {"{{1,2}", 0, 0}};
    for (const PairCase& c : pairs) {
        const CCPoint p = CCPointFromString(c.text);
        EXPECT_FLOAT_EQ(p.x, c.a) << c.text;
        EXPECT_FLOAT_EQ(p.y, c.b) << c.text;
        const CCSize s = CCSizeFromString(c.text);
        EXPECT_FLOAT_EQ(s.width, c.a) << c.text;
    }
}

TEST_F(CCSpriteFrameCacheTest, ReadsEveryFormatIntoTheSameFrames) {
    CCTexture2D* texture = makeTexture(64, 64, 64, 64);
    struct Case {
        int format;
        std::string frame;
        bool rotated;
    } cases[] = {
        {0,
         "<key>x</key><real>10</real><key>y</key><real>10</real><key>width</key><real>20</real>"
         "<key>height</key><real>40</real><key>offsetX</key><real>1</real><key>offsetY</key><real>-2</real>"
         "<key>originalWidth</key><integer>-24</integer><key>originalHeight</key><integer>44</integer>",
         false},
        {1,
         "<key>frame</key><string>{{10,10},{20,40}}</string><key>offset</key><string>{1,-2}</string>"
         "<key>sourceSize</key><string>{24,44}</string>",
         false},
        {2,
         "<key>frame</key><string>{{10,10},{20,40}}</string><key>offset</key><string>{1,-2}</string>"
         "<key>sourceSize</key><string>{24,44}</string><key>rotated</key><true/>",
         true},
        {3,
         "<key>spriteSize</key><string>{20,40}</string><key>spriteOffset</key><string>{1,-2}</string>"
         "<key>spriteSourceSize</key><string>{24,44}</string><key>textureRect</"
         "key><string>{{10,10},{99,99}}</string>"
         "<key>textureRotated</key><true/><key>aliases</key><array><string>idle</string></array>",
         true},
    };
    for (const Case& c : cases) {
        const std::string name = "f" + std::to_string(c.format) + ".png";
        Dictionary* sheet = parse(plist("<key>frames</key><dict><key>" + name + "</key><dict>" + c.frame +
                                        "</dict></dict>" + metadata(c.format)));
        ASSERT_NE(sheet, nullptr);
        cache()->addSpriteFramesWithDictionary(sheet, texture);
        CCSpriteFrame* frame = cache()->findSpriteFrameByName(name.c_str());
        ASSERT_NE(frame, nullptr) << c.format;
        const std::string what = "format " + std::to_string(c.format);
        expectRect(frame->getRectInPixels(), 10, 10, 20, 40, what);
        EXPECT_EQ(frame->isRotated(), c.rotated) << what;
        EXPECT_FLOAT_EQ(frame->getOffsetInPixels().x, 1) << what;
        EXPECT_FLOAT_EQ(frame->getOffsetInPixels().y, -2) << what;
        EXPECT_FLOAT_EQ(frame->getOriginalSizeInPixels().width, 24) << what;
        EXPECT_FLOAT_EQ(frame->getOriginalSizeInPixels().height, 44) << what;
        EXPECT_EQ(frame->getTexture(), texture);
    }
    // The alias of the format 3 frame leads to it, also for sprites.
    EXPECT_EQ(cache()->findSpriteFrameByName("idle"), cache()->findSpriteFrameByName("f3.png"));
    CCSprite* sprite = CCSprite::createWithSpriteFrameName("idle");
    ASSERT_NE(sprite, nullptr);
    EXPECT_TRUE(sprite->isFrameDisplayed(cache()->findSpriteFrameByName("f3.png")));
}

TEST_F(CCSpriteFrameCacheTest, FirstSheetKeepsANameAndBadEntriesDoNotStopTheRest) {
    CCTexture2D* first = makeTexture(8, 8, 8, 8);
    CCTexture2D* second = makeTexture(8, 8, 8, 8);
    const std::string frames = "<key>frames</key><dict>"
                               "<key>a.png</key><dict><key>frame</key><string>{{1,2},{3,4}}</string></dict>"
                               "<key>bad.png</key><dict><key>frame</key><string>{{1,2},{3}}</string></dict>"
                               "<key>odd.png</key><string>not a dictionary</string>"
                               "</dict>";
    kvtest::LogLines log;
    cache()->addSpriteFramesWithDictionary(parse(plist(frames + metadata(1))), first);
    cache()->addSpriteFramesWithDictionary(parse(plist(frames + metadata(1))), second);
    EXPECT_EQ(cache()->findSpriteFrameByName("a.png")->getTexture(), first);
    expectRect(cache()->findSpriteFrameByName("bad.png")->getRectInPixels(), 0, 0, 0, 0, "malformed rect");
    EXPECT_FALSE(cache()->hasSpriteFrame("odd.png"));
    EXPECT_TRUE(log.contains("odd.png"));

    const unsigned before = cache()->frameCount();
    cache()->addSpriteFramesWithDictionary(parse(plist(frames + metadata(7))), second); // unknown format
    cache()->addSpriteFramesWithDictionary(parse(plist(metadata(1))), second);          // no frames
    cache()->addSpriteFramesWithDictionary(nullptr, second);
    EXPECT_EQ(cache()->frameCount(), before);

    cache()->removeAllSpriteFrames();
    EXPECT_EQ(cache()->frameCount(), 0u);
}

TEST_F(CCSpriteFrameCacheTest, SheetFilesFindTheirTextureAndRemoveTheirFrames) {
    const std::string folder = kvtest::makeTempFolder("sheets");
    ASSERT_TRUE(kvtest::writeSolidPng(folder + "/hud.png", 16, 16, 0, 255, 0));
    ASSERT_TRUE(kvtest::writeSolidPng(folder + "/art.png", 32, 32, 0, 0, 255));
    // No metadata: format 0, texture hud.png beside the sheet.
    ASSERT_TRUE(kvtest::writeTextFile(
        folder + "/hud.plist",
        plist(
            "<key>frames</key><dict><key>walk_01.png</key><dict><key>width</key><real>4</real>"
            "<key>height</key><real>4</real><key>originalWidth</key><integer>-64</integer></dict></dict>")));
    // Named texture in the same folder, format 3 with an alias.
    ASSERT_TRUE(kvtest::writeTextFile(
        folder + "/named.plist",
        plist("<key>frames</key><dict><key>walk_02.png</key><dict><key>textureRect</key>"
              "<string>{{0,0},{8,8}}</string><key>spriteSize</key><string>{8,8}</string>"
              "<key>aliases</key><array><string>walk</string></array></dict></dict>"
              "<key>metadata</key><dict><key>format</key><integer>3</integer>"
              "<key>textureFileName</key><string>art.png</string></dict>")));
    cache()->addSpriteFramesWithFile((folder + "/hud.plist").c_str());
    cache()->addSpriteFramesWithFile((folder + "/named.plist").c_str());
    CCSpriteFrame* walk1 = cache()->findSpriteFrameByName("walk_01.png");
    ASSERT_NE(walk1, nullptr);
    EXPECT_EQ(walk1->getTexture()->getPixelsWide(), 16u);
    EXPECT_FLOAT_EQ(walk1->getOriginalSizeInPixels().width, 64);
    ASSERT_NE(cache()->findSpriteFrameByName("walk"), nullptr);
    EXPECT_EQ(cache()->findSpriteFrameByName("walk")->getTexture()->getPixelsWide(), 32u);

    // Animations from a name pattern: missing names are skipped.
    kvtest::LogLines log;
    CCAnimation* animation = CCAnimation::createWithFrameNamePattern("walk_%.2d.png", 1, 3, 0.1f);
    ASSERT_EQ(animation->getFrames()->count(), 2u);
    EXPECT_EQ(animation->getFrames()->objectAtIndex(0), walk1);
    EXPECT_FLOAT_EQ(animation->getDelay(), 0.1f);
    EXPECT_TRUE(log.contains("walk_03.png"));

    cache()->removeSpriteFramesFromFile((folder + "/named.plist").c_str());
    EXPECT_FALSE(cache()->hasSpriteFrame("walk")); // the alias stays but leads nowhere
    EXPECT_EQ(cache()->findSpriteFrameByName("walk"), nullptr);
    EXPECT_NE(cache()->findSpriteFrameByName("walk_01.png"), nullptr);

    // Unreadable sheets and missing textures add nothing.
    ASSERT_TRUE(kvtest::writeTextFile(folder + "/lonely.plist",
                                      plist("<key>frames</key><dict><key>x.png</key><dict/></dict>")));
    const unsigned before = cache()->frameCount();
    cache()->addSpriteFramesWithFile((folder + "/missing.plist").c_str());
    cache()->addSpriteFramesWithFile((folder + "/lonely.plist").c_str());
    cache()->addSpriteFramesWithFile(nullptr);
    cache()->removeSpriteFramesFromFile((folder + "/missing.plist").c_str());
    EXPECT_EQ(cache()->frameCount(), before);
    EXPECT_TRUE(log.contains("lonely"));
}

TEST_F(CCSpriteFrameCacheTest, AnimationsOwnACopyOfTheirFrameList) {
    CCAnimation* empty = CCAnimation::createWithFramesDelay(nullptr, 0.1f);
    EXPECT_EQ(empty->getFrames()->count(), 0u);
    EXPECT_FLOAT_EQ(empty->getDelay(), 0.1f);

    CCTexture2D* texture = makeTexture(8, 8, 8, 8);
    auto* frames = new CCMutableArray<CCSpriteFrame*>();
    frames->addObject(
        CCSpriteFrame::createWithTexture(texture, false, CCRect(0, 0, 4, 4), CCPointZero, CCSize(4, 4)));
    CCAnimation* animation = CCAnimation::createWithFramesDelay(frames, 0.2f);
    frames->removeAllObjects();
    frames->release();
    ASSERT_EQ(animation->getFrames()->count(), 1u);
    EXPECT_EQ(animation->getFrames()->objectAtIndex(0)->getTexture(), texture);

    kvtest::LogLines log;
    animation->addFrame(nullptr);
    EXPECT_EQ(animation->getFrames()->count(), 1u);
    EXPECT_EQ(log.lines.size(), 1u);

    CCSpriteFrame* copy = static_cast<CCSpriteFrame*>(animation->getFrames()->objectAtIndex(0)->copy());
    expectRect(copy->getRectInPixels(), 0, 0, 4, 4, "copy");
    EXPECT_EQ(copy->getTexture(), texture);
    copy->release();
}

} // namespace
