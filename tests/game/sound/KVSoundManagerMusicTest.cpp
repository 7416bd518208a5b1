#include "tests/game/sound/SoundManagerFixture.h"

#include "tests/engine/platform/AudioTestSupport.h"

namespace kvtest {
namespace {

using kvengine::CCString;

class KVSoundManagerMusicTest : public SoundManagerTest {
protected:
    // The live voices on a slot.
    std::vector<AudioRecord::Voice> liveOn(int slot) const {
        std::vector<AudioRecord::Voice> result;
        for (const AudioRecord::Voice& voice : record->live())
            if (voice.slot == slot) result.push_back(voice);
        return result;
    }
    void playGameMusic(const char* name) {
        auto* text = new CCString(name);
        manager->playGameMusic(text);
        text->release();
    }
    void setSetting(const char* key, const char* value) {
        kvdata::setText(KVGameSetup::getInstance()->getConfiguration(), key, value);
    }
};

TEST_F(KVSoundManagerMusicTest, MusicAndJinglesPlayOnTheirOwnSlotsInCategoryMusic) {
    makeManager();
    post(EVENT_MUSIC_MENU_START);
    playGameMusic("reef_theme");
    ASSERT_EQ(liveOn(KVSoundManager::kSlotMenuMusic).size(), 1u);
    ASSERT_EQ(liveOn(KVSoundManager::kSlotGameMusic).size(), 1u);
    EXPECT_EQ(eventOf(liveOn(KVSoundManager::kSlotMenuMusic)[0]), "kelvos_music/music/menu_theme");
    EXPECT_EQ(eventOf(liveOn(KVSoundManager::kSlotGameMusic)[0]), "kelvos_music/music/reef_theme");
    EXPECT_TRUE(liveOn(KVSoundManager::kSlotGameMusic)[0].loop);
    EXPECT_NEAR(liveOn(KVSoundManager::kSlotGameMusic)[0].volume, kMusicVolume * 1.0f, 1e-5f);
    EXPECT_EQ(manager->getGameMusic()->getCategory(), "music");

    // The win jingle fades the game music out first; the menu music is left alone.
    post(EVENT_VICTORY_DANCE);
    EXPECT_TRUE(manager->getGameMusic()->isStopping());
    ASSERT_EQ(liveOn(KVSoundManager::kSlotJingle).size(), 1u);
    EXPECT_EQ(eventOf(liveOn(KVSoundManager::kSlotJingle)[0]), "kelvos_music/music/jingle_win");
    EXPECT_FALSE(liveOn(KVSoundManager::kSlotJingle)[0].loop);
    manager->update(1.0f);
    EXPECT_TRUE(liveOn(KVSoundManager::kSlotGameMusic).empty());
    EXPECT_EQ(liveOn(KVSoundManager::kSlotMenuMusic).size(), 1u);

    // A lose jingle replaces the win one in the jingle slot.
    post(EVENT_LOOSE_DANCE);
    ASSERT_EQ(liveOn(KVSoundManager::kSlotJingle).size(), 1u);
    EXPECT_EQ(eventOf(liveOn(KVSoundManager::kSlotJingle)[0]), "kelvos_music/music/jingle_lose");

    post(EVENT_MUSIC_MENU_STOP);
    EXPECT_TRUE(manager->getMenuMusic()->isStopping());
    manager->update(1.0f);
    EXPECT_TRUE(liveOn(KVSoundManager::kSlotMenuMusic).empty());
    EXPECT_NE(manager->getMenuMusic(), nullptr); // the instance is kept
}

TEST_F(KVSoundManagerMusicTest, ANewTrackStopsWhatPlaysInItsSlotSoTracksNeverOverlap) {
    makeManager();
    post(EVENT_MUSIC_MENU_START);
    KVSoundEvent* first = manager->getMenuMusic();
    ASSERT_NE(first, nullptr);
    first->retain();
    const auto firstVoice = first->getVoice();
    post(EVENT_MUSIC_MENU_START);
    EXPECT_NE(manager->getMenuMusic(), first);
    EXPECT_TRUE(first->isStopping() || !first->isPlaying());
    EXPECT_FALSE(record->find(firstVoice)->playing);
    EXPECT_EQ(liveOn(KVSoundManager::kSlotMenuMusic).size(), 1u);
    first->release();

    playGameMusic("reef_theme");
    playGameMusic("menu_theme");
    EXPECT_EQ(liveOn(KVSoundManager::kSlotGameMusic).size(), 1u);
    EXPECT_EQ(eventOf(liveOn(KVSoundManager::kSlotGameMusic)[0]), "kelvos_music/music/menu_theme");

    // An unknown track stops the current one and plays nothing.
    playGameMusic("no_such_theme");
    EXPECT_TRUE(manager->getGameMusic()->isStopping());
    manager->playGameMusic(nullptr);
    EXPECT_TRUE(logged("game music"));
}

TEST_F(KVSoundManagerMusicTest, SettingsCanDisableMusicOrLeaveTheMenuWithout) {
    struct Case {
        const char* key;
        const char* value;
        bool menuPlays;
        bool gameMusicReplaced;
    };
    const Case cases[] = {
        {"DisableMenuMusic", "YES", false, true},
        {"DisableGameMusic", "YES", true, false},
        {"DisableGameMusic", "NO", true, true},
        {"MenuMusicEvent", "no_such_theme", false, true},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(testing::Message() << entry.key << "=" << entry.value);
        setSetting("DisableMenuMusic", "NO");
        setSetting("DisableGameMusic", "NO");
        setSetting("MenuMusicEvent", "menu_theme");
        record = std::make_shared<AudioRecord>();
        makeManager();
        playGameMusic("reef_theme");
        setSetting(entry.key, entry.value);
        post(EVENT_MUSIC_MENU_START);
        EXPECT_EQ(liveOn(KVSoundManager::kSlotMenuMusic).size(), entry.menuPlays ? 1u : 0u);
        // With game music disabled, the play-music rule leaves the current music playing.
        playGameMusic("menu_theme");
        ASSERT_EQ(liveOn(KVSoundManager::kSlotGameMusic).size(), 1u);
        EXPECT_EQ(eventOf(liveOn(KVSoundManager::kSlotGameMusic)[0]), entry.gameMusicReplaced
                                                                          ? "kelvos_music/music/menu_theme"
                                                                          : "kelvos_music/music/reef_theme");
        EXPECT_FALSE(manager->getGameMusic()->isStopping());
        manager->release();
        manager = nullptr;
    }
    // A settings file without the keys: no menu music (the missing keys are logged).
    auto* configuration = KVGameSetup::getInstance()->getConfiguration();
    configuration->removeObjectForKey("MenuMusicEvent");
    configuration->removeObjectForKey("DisableMenuMusic");
    makeManager();
    post(EVENT_MUSIC_MENU_START);
    EXPECT_TRUE(liveOn(KVSoundManager::kSlotMenuMusic).empty());
    EXPECT_TRUE(logged("MenuMusicEvent"));
}

TEST_F(KVSoundManagerMusicTest, PauseAndResumeTouchOnlyTheMusicSlots) {
    makeManager();
    post(EVENT_MUSIC_MENU_START);
    playGameMusic("reef_theme");
    post(EVENT_VICTORY_DANCE);
    post(EVENT_PAWN_HIT_PAWN);
    const auto effect = manager->getEffectEvent()->getVoice();

    post(kvengine::ccEventPauseGame());
    for (int slot : {0, 1, 2})
        for (const AudioRecord::Voice& voice : liveOn(slot))
            EXPECT_TRUE(voice.paused) << slot;
    EXPECT_FALSE(record->find(effect)->paused);
    // The game music's fade-out waits while paused.
    manager->update(5.0f);
    EXPECT_EQ(liveOn(KVSoundManager::kSlotGameMusic).size(), 1u);

    post(kvengine::ccEventResumeGame());
    for (int slot : {0, 1, 2})
        for (const AudioRecord::Voice& voice : liveOn(slot))
            EXPECT_FALSE(voice.paused) << slot;
    EXPECT_EQ(record->live().size(), 4u);
}

TEST_F(KVSoundManagerMusicTest, CategoryVolumesFollowTheProfileSlidersSquared) {
    KVPlayerParameters::getInstance()->setSfxVolume(0.5f);
    KVPlayerParameters::getInstance()->setMusicVolume(0.8f);
    makeManager();
    EXPECT_FLOAT_EQ(manager->effectsVolume, 0.25f);
    EXPECT_FLOAT_EQ(manager->musicVolume, 0.64f);
    EXPECT_FLOAT_EQ(manager->getSoundSystem()->getCategoryVolume("SFX"), 0.25f);
    EXPECT_FLOAT_EQ(manager->getSoundSystem()->getCategoryVolume("music"), 0.64f);
    post(EVENT_MUSIC_MENU_START);
    EXPECT_NEAR(record->last().volume, kMusicVolume * 0.64f, 1e-5f);

    // The options screen writes the squared slider, applies it and plays the test sound.
    manager->musicVolume = 0.3f * 0.3f;
    manager->effectsVolume = 0.9f * 0.9f;
    manager->applyCategoryVolumes();
    EXPECT_NEAR(liveOn(KVSoundManager::kSlotMenuMusic)[0].volume, kMusicVolume * 0.09f, 1e-5f);
    manager->playPawnHitPawn();
    EXPECT_EQ(eventOf(record->last()), "kelvos/SFX/Pawn_hit_pawn");
    EXPECT_NEAR(record->last().volume, kEffectVolume * 0.81f, 1e-5f);
}

TEST_F(KVSoundManagerMusicTest, StopAllAndReleaseLeaveNothingPlayingOrObserving) {
    makeManager();
    EXPECT_EQ(KVSoundManager::existingInstance(), manager);
    post(EVENT_MUSIC_MENU_START);
    playGameMusic("reef_theme");
    post(EVENT_PAWN_HIT_PAWN);
    for (int i = 0; i < 3; ++i)
        post(EVENT_PEARL_ACQUIRED);

    manager->stopAllEvents();
    EXPECT_EQ(manager->getEffectEvent(), nullptr);
    EXPECT_EQ(manager->getMenuMusic(), nullptr);
    EXPECT_EQ(manager->getGameMusic(), nullptr);
    // Music fades out under the update clock even though the manager forgot it.
    EXPECT_EQ(liveOn(KVSoundManager::kSlotMenuMusic).size(), 1u);
    manager->update(0.6f);
    EXPECT_TRUE(liveOn(KVSoundManager::kSlotMenuMusic).empty());
    EXPECT_TRUE(liveOn(KVSoundManager::kSlotGameMusic).empty());

    post(EVENT_MUSIC_MENU_START);
    manager->release();
    manager = nullptr;
    EXPECT_EQ(KVSoundManager::existingInstance(), nullptr);
    EXPECT_TRUE(record->live().empty());
    const size_t before = record->voices.size();
    post(EVENT_PAWN_HIT_PAWN);
    post(EVENT_PEARL_ACQUIRED);
    kvengine::CCScheduler::getInstance()->tick(1.0f);
    EXPECT_EQ(record->voices.size(), before);
}

TEST_F(KVSoundManagerMusicTest, TheSchedulerDrivesTheUpdate) {
    makeManager();
    post(EVENT_PEARL_ACQUIRED);
    for (int frame = 0; frame < 4; ++frame)
        kvengine::CCScheduler::getInstance()->tick(0.02f);
    EXPECT_EQ(eventOf(record->last()), "kelvos/SFX/Pearls_pickup");
}

TEST_F(KVSoundManagerMusicTest, TheSharedManagerRunsOnTheRealOutputWithTheDummyDriver) {
    AudioDriverScope driver("dummy");
    for (const char* path : {"kelvos/SFX/Pawn_hit_pawn", "kelvos/SFX/Female_ko",
                             "kelvos_music/music/menu_theme", "kelvos_music/music/jingle_win"})
        writeToneWav(gameDataPaths().resources + "/sounds/" + soundFileOf(path), 0.2f, 440.0f, 8000);
    manager = KVSoundManager::getInstance();
    ASSERT_NE(manager, nullptr);
    post(EVENT_MUSIC_MENU_START);
    ASSERT_NE(manager->getMenuMusic(), nullptr);
    EXPECT_TRUE(manager->getMenuMusic()->isPlaying());
    post(EVENT_PAWN_HIT_PAWN);
    post(EVENT_PAWN_PLAYS_KO);
    post(EVENT_VICTORY_DANCE);
    post(kvengine::ccEventPauseGame());
    post(kvengine::ccEventResumeGame());
    post(EVENT_PAWN_FALL); // its sound file is missing: logged, silent
    EXPECT_TRUE(logged("Pawn_fall"));
    for (int frame = 0; frame < 10; ++frame)
        manager->update(0.1f);
    manager->stopAllEvents();
}

} // namespace
} // namespace kvtest
