#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/base/CCLog.h"
#include "engine/platform/CCSDLAudioBackend.h"
#include "tests/engine/platform/AudioTestSupport.h"

namespace {

namespace fs = std::filesystem;
using kvengine::CCAudioBackend;
using kvengine::CCSDLAudioBackend;

class SDLAudioBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kvaudio-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        folder = pattern;
        tone = folder + "/tone.wav";
        kvtest::writeToneWav(tone, 0.5f, 440.0f, 12000);
        std::ofstream(folder + "/not_a_sound.wav") << "hello";
        kvengine::setDebugLogSink([this](const std::string& line) { logLines.push_back(line); });
    }
    void TearDown() override {
        kvengine::setDebugLogSink(nullptr);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    bool logged(const std::string& part) const {
        for (const std::string& line : logLines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    std::string folder;
    std::string tone;
    std::vector<std::string> logLines;
};

TEST_F(SDLAudioBackendTest, DummyDriverPlaysPausesAndHaltsVoices) {
    kvtest::AudioDriverScope driver("dummy");
    CCSDLAudioBackend backend(1);
    ASSERT_TRUE(backend.isOpen());
    EXPECT_EQ(backend.slotCount(), 1);

    for (const std::string& bad : {folder + "/absent.wav", folder + "/not_a_sound.wav", std::string()}) {
        logLines.clear();
        EXPECT_EQ(backend.loadSound(bad), 0) << bad;
        EXPECT_TRUE(logged("cannot load")) << bad;
    }
    const CCAudioBackend::SoundId sound = backend.loadSound(tone);
    ASSERT_NE(sound, 0);

    // Looping, so the voices outlast any delay of the test.
    const CCAudioBackend::VoiceId music = backend.play(sound, 0, true, 0.5f);
    const CCAudioBackend::VoiceId effect = backend.play(sound, -1, true, 2.0f);
    ASSERT_NE(music, 0u);
    ASSERT_NE(effect, 0u);
    EXPECT_TRUE(backend.isPlaying(music));
    EXPECT_TRUE(backend.isPlaying(effect));
    backend.setPaused(music, true);
    EXPECT_TRUE(backend.isPlaying(music)); // paused still counts
    backend.setPaused(music, false);
    backend.setVolume(effect, -3.0f);

    // Bad requests play nothing.
    EXPECT_EQ(backend.play(sound + 100, -1, false, 1.0f), 0u);
    EXPECT_EQ(backend.play(sound, 1, false, 1.0f), 0u);
    EXPECT_TRUE(logged("no slot 1"));

    // A new sound in the slot replaces the old voice, whose id then does nothing.
    const CCAudioBackend::VoiceId music2 = backend.play(sound, 0, true, 1.0f);
    EXPECT_FALSE(backend.isPlaying(music));
    backend.halt(music);
    backend.setVolume(music, 1.0f);
    EXPECT_TRUE(backend.isPlaying(music2));

    backend.halt(effect);
    EXPECT_FALSE(backend.isPlaying(effect));
    for (CCAudioBackend::VoiceId stale : {CCAudioBackend::VoiceId(0), effect, ~CCAudioBackend::VoiceId(0)}) {
        backend.setVolume(stale, 1.0f);
        backend.setPaused(stale, true);
        backend.halt(stale);
        EXPECT_FALSE(backend.isPlaying(stale));
    }

    // Freeing a sound halts its voices first.
    backend.freeSound(sound);
    EXPECT_FALSE(backend.isPlaying(music2));
    EXPECT_EQ(backend.play(sound, -1, false, 1.0f), 0u);
    backend.freeSound(sound);
}

TEST_F(SDLAudioBackendTest, EffectsBeyondTheChannelCountTakeTheOldestEffectNeverASlot) {
    kvtest::AudioDriverScope driver("dummy");
    CCSDLAudioBackend backend(3);
    ASSERT_TRUE(backend.isOpen());
    const CCAudioBackend::SoundId sound = backend.loadSound(tone);
    ASSERT_NE(sound, 0);
    std::vector<CCAudioBackend::VoiceId> slots;
    for (int slot = 0; slot < 3; ++slot)
        slots.push_back(backend.play(sound, slot, true, 1.0f));
    std::vector<CCAudioBackend::VoiceId> effects;
    const int effectChannels = CCSDLAudioBackend::kChannelCount - 3;
    for (int i = 0; i < effectChannels + 2; ++i) {
        effects.push_back(backend.play(sound, -1, true, 1.0f));
        ASSERT_NE(effects.back(), 0u) << i;
    }
    for (CCAudioBackend::VoiceId slot : slots)
        EXPECT_TRUE(backend.isPlaying(slot));
    int playing = 0;
    for (CCAudioBackend::VoiceId effect : effects)
        playing += backend.isPlaying(effect) ? 1 : 0;
    EXPECT_EQ(playing, effectChannels);
    EXPECT_TRUE(backend.isPlaying(effects.back()));
}

TEST_F(SDLAudioBackendTest, WithoutAnAudioDeviceEverythingIsSilentAndLogged) {
    kvtest::AudioDriverScope driver("no_such_driver");
    CCSDLAudioBackend backend(3);
    EXPECT_FALSE(backend.isOpen());
    EXPECT_TRUE(logged("silent"));
    EXPECT_EQ(backend.loadSound(tone), 0);
    EXPECT_EQ(backend.play(1, -1, false, 1.0f), 0u);
    backend.setVolume(1, 1.0f);
    backend.setPaused(1, true);
    backend.halt(1);
    backend.freeSound(1);
    EXPECT_FALSE(backend.isPlaying(1));
}

TEST_F(SDLAudioBackendTest, ThePlatformBackendHasTheAskedSlotsClamped) {
    kvtest::AudioDriverScope driver("dummy");
    struct Case {
        int asked, slots;
    };
    for (const Case& c : {Case{3, 3}, Case{0, 0}, Case{-2, 0}, Case{12, 8}}) {
        std::unique_ptr<CCAudioBackend> backend = kvengine::createPlatformAudioBackend(c.asked);
        ASSERT_NE(backend, nullptr) << c.asked;
        EXPECT_EQ(backend->slotCount(), c.slots) << c.asked;
        const CCAudioBackend::SoundId sound = backend->loadSound(tone);
        EXPECT_NE(sound, 0) << c.asked;
        backend->freeSound(sound);
    }
}

} // namespace
