// The combo sticker driven on its own, by the action clock: when it announces its start and end,
// what a further combo does while it shows, what it writes and where it leaves its parts.
#include "game/hud/KVHudComboSFX.h"

#include <cmath>
#include <string>
#include <vector>

#include "LabelPixels.h"
#include "engine/actions/CCActionManager.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/files/CCPlistReader.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/hud/KVLabelWithStroke.h"

using namespace kvengine;

namespace {

// Records the sticker's notifications with the time they came at.
class StickerTrace : public CCObject {
public:
    StickerTrace() {
        for (CCString* name : {EVENT_COMBO_START, EVENT_COMBO_END})
            CCNotificationCenter::getInstance()->addObserver(
                this, notification_selector(StickerTrace::onPost), name);
    }
    void cleanupBeforeDelete() override { CCNotificationCenter::getInstance()->removeObserver(this); }
    void onPost(CCNotification* notification) {
        names.push_back(notification->getName()->text);
        times.push_back(now);
    }
    std::vector<std::string> names;
    std::vector<float> times;
    float now = 0.0f;
};

class ComboStickerTest : public labelpixels::LabelFixture {
protected:
    static constexpr float kStep = 1.0f / 60.0f;

    ComboStickerTest() : LabelFixture(480, 320) {}

    void setUpWithGL() override {
        LabelFixture::setUpWithGL();
        // Texture-less frames of distinct sizes: the badge 40 x 30, the band 160 x 60, the
        // pictures 64 x 32.
        std::string frames;
        auto frame = [&frames](const char* name, int w, int h) {
            frames += std::string("<key>") + name + "</key><dict><key>frame</key><string>{{0,0},{" +
                      std::to_string(w) + "," + std::to_string(h) +
                      "}}</string><key>offset</key><string>{0,0}</string><key>sourceSize</key><string>{" +
                      std::to_string(w) + "," + std::to_string(h) + "}</string></dict>";
        };
        frame("combo_pearls.png", 40, 30);
        frame("combo_sticker.png", 160, 60);
        for (const char* picture : {"double_bounce.png", "triple_bounce.png", "quake_shot.png"})
            frame(picture, 64, 32);
        const std::string plist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                                  "<key>frames</key><dict>" +
                                  frames +
                                  "</dict><key>metadata</key><dict><key>format</key><integer>1</integer>"
                                  "</dict></dict></plist>\n";
        auto* parsed = dictionaryWithContentsOfData(plist.data(), static_cast<unsigned>(plist.size()));
        ASSERT_NE(parsed, nullptr);
        CCSpriteFrameCache::getInstance()->addSpriteFramesWithDictionary(parsed, nullptr);
        const std::u16string texts = u"\xFEFF\"PEARL\" = \"pearls\";\n";
        ASSERT_TRUE(CCLocalizationManager::getInstance()->parseStringsData(
            reinterpret_cast<const unsigned char*>(texts.data()), static_cast<unsigned>(texts.size() * 2)));

        trace = new StickerTrace();
        sticker = new KVHudComboSFX();
        ASSERT_TRUE(sticker->init());
        enter(sticker);
    }
    void tearDownWithGL() override {
        LabelFixture::tearDownWithGL();
        if (sticker != nullptr) sticker->release();
        sticker = nullptr;
        if (trace != nullptr) trace->release();
        trace = nullptr;
        CCActionManager::purgeInstance();
        CCLocalizationManager::purgeInstance();
    }

    /// Advances the action clock by `seconds`, one frame at a time.
    void run(float seconds) {
        const int frames = static_cast<int>(std::lround(seconds / kStep));
        for (int i = 0; i < frames; ++i) {
            CCActionManager::getInstance()->update(kStep);
            trace->now += kStep;
        }
    }
    void show(int points, const char* frame) {
        auto* name = new CCString(frame);
        sticker->showCombo(points, name);
        name->release();
    }
    bool shows(const char* frame) const {
        return sticker->getPicture()->isFrameDisplayed(
            CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frame));
    }

    KVHudComboSFX* sticker = nullptr;
    StickerTrace* trace = nullptr;
};

TEST_F(ComboStickerTest, StartsHiddenOffTheScreen) {
    EXPECT_FALSE(sticker->isShowing());
    EXPECT_EQ(sticker->getBadge()->getOpacity(), 0);
    EXPECT_GT(sticker->getBand()->getPosition().x - 160.0f, 480.0f - 0.01f)
        << "the band's left edge is off screen";
    EXPECT_GT(sticker->getPicture()->getPosition().y, 320.0f) << "the picture waits above the screen";
    EXPECT_TRUE(shows("double_bounce.png"));
    EXPECT_EQ(sticker->getBand()->getOpacity(), 180);
}

TEST_F(ComboStickerTest, OneComboStartsAtOnceAndEndsAbout2Point2SecondsLater) {
    show(12, "quake_shot.png");
    ASSERT_EQ(trace->names, std::vector<std::string>{"EVENT_COMBO_START"});
    EXPECT_EQ(sticker->getPointsLabel()->getString(), std::string("12 pearls!"));
    EXPECT_TRUE(shows("quake_shot.png"));
    EXPECT_TRUE(sticker->isShowing());

    run(1.0f);
    // The band has slid in to the right edge, the picture sits on the badge's row.
    EXPECT_NEAR(sticker->getBand()->getPosition().x, 480.0f, 0.01f);
    EXPECT_NEAR(sticker->getPicture()->getPosition().y, sticker->getBadge()->getPosition().y, 0.01f);
    EXPECT_EQ(sticker->getBadge()->getOpacity(), 255);

    run(2.0f);
    ASSERT_EQ(trace->names, (std::vector<std::string>{"EVENT_COMBO_START", "EVENT_COMBO_END"}));
    // 0.5 + 0.2 + 0.08 + 1.0 before leaving, 0.4 more before the end.
    EXPECT_NEAR(trace->times[1] - trace->times[0], 2.18f, 2.5f * kStep);
    EXPECT_FALSE(sticker->isShowing());
    EXPECT_GT(sticker->getPicture()->getPosition().y, 320.0f) << "the picture waits above the screen again";
    run(0.5f);
    EXPECT_EQ(sticker->getBadge()->getOpacity(), 0);
    EXPECT_GT(sticker->getBand()->getPosition().x - 160.0f, 480.0f - 0.01f);
}

TEST_F(ComboStickerTest, ASecondComboWhileShowingReplacesThePictureAndDelaysTheEnd) {
    show(10, "double_bounce.png");
    run(0.5f);
    show(20, "triple_bounce.png");
    EXPECT_TRUE(shows("triple_bounce.png"));
    EXPECT_EQ(sticker->getPointsLabel()->getString(), std::string("20 pearls!"));
    run(3.0f);
    ASSERT_EQ(trace->names, (std::vector<std::string>{"EVENT_COMBO_START", "EVENT_COMBO_END"}));
    // The second picture's 0.28 s animation, the 1.0 s wait, then 0.4 s out.
    EXPECT_NEAR(trace->times[1] - trace->times[0], 0.5f + 0.28f + 1.0f + 0.4f, 2.5f * kStep);

    // After the end, a new combo starts a new sticker.
    show(5, "quake_shot.png");
    EXPECT_EQ(trace->names.size(), 3u);
    EXPECT_EQ(trace->names.back(), "EVENT_COMBO_START");
}

TEST_F(ComboStickerTest, AnUnknownStickerFrameKeepsThePictureAndStillEnds) {
    show(10, "double_bounce.png");
    show(30, "no_such_sticker.png");
    EXPECT_TRUE(shows("double_bounce.png"));
    sticker->showCombo(40, nullptr);
    EXPECT_EQ(sticker->getPointsLabel()->getString(), std::string("40 pearls!"));
    run(3.0f);
    EXPECT_EQ(trace->names, (std::vector<std::string>{"EVENT_COMBO_START", "EVENT_COMBO_END"}));
}

TEST(ComboStickerWithoutInit, ShowingBeforeInitIsRefused) {
    auto* sticker = new KVHudComboSFX();
    sticker->showCombo(10, nullptr);
    EXPECT_FALSE(sticker->isShowing());
    sticker->release();
}

} // namespace
