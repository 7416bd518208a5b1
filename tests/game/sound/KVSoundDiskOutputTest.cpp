// The sound layer over the real SDL2_mixer backend, on SDL's "disk" audio driver, which writes
// the mixed output (44100 Hz, 16-bit stereo) to a file instead of a sound card.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/platform/CCSDLAudioBackend.h"
#include "game/sound/KVSoundEvent.h"
#include "game/sound/KVSoundSystem.h"
#include "tests/engine/platform/AudioTestSupport.h"

namespace {

namespace fs = std::filesystem;

class KVSoundDiskOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kvdisk-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        folder = pattern;
        output = folder + "/output.raw";
        kvtest::writeToneWav(folder + "/tone.wav", 0.5f, 440.0f, 16000);
        std::ofstream(folder + "/test.fev")
            << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>project</key><string>t</string>"
               "<key>events</key><dict><key>t/SFX/tone</key><dict><key>file</key><string>tone.wav</string>"
               "<key>category</key><string>SFX</string><key>volume</key><string>1.0</string>"
               "<key>loop</key><string>YES</string><key>fadeout</key><string>0.20</string></dict>"
               "</dict></dict></plist>";
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        // Write as fast as the mixer goes (1 ms per buffer) instead of at the sound card's pace.
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        kvengine::CCAutoreleasePoolStack::getInstance().push();
    }
    void TearDown() override {
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
        unsetenv("SDL_DISKAUDIOFILE");
        unsetenv("SDL_DISKAUDIODELAY");
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::uintmax_t outputSize() const {
        std::error_code error;
        std::uintmax_t size = fs::file_size(output, error);
        return error ? 0 : size;
    }
    // Waits until the output holds at least `bytes` bytes; false when it never gets there. The
    // audio thread writes the file at its own pace: waiting only gives it time, nothing measured
    // depends on how long it took.
    bool waitForOutput(std::uintmax_t bytes) const {
        for (int i = 0; i < 120000 && outputSize() < bytes; ++i)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        return outputSize() >= bytes;
    }
    // The samples of [from, to) of the output.
    std::vector<std::int16_t> samples(std::uintmax_t from, std::uintmax_t to) const {
        std::ifstream in(output, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from));
        std::vector<std::int16_t> out((to - from) / 2);
        in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size() * 2));
        return out;
    }
    // The largest sample magnitude in [from, to) of the output.
    int peak(std::uintmax_t from, std::uintmax_t to) const {
        int largest = 0;
        for (std::int16_t sample : samples(from, to))
            largest = std::max(largest, std::abs(static_cast<int>(sample)));
        return largest;
    }
    // The byte offset of the first stereo frame at or after `from` with a sample that is not
    // silent, waiting for the output to come; -1 when none comes.
    long long firstSound(std::uintmax_t from) const {
        for (std::uintmax_t at = from;;) {
            if (!waitForOutput(at + kBuffer)) return -1;
            const std::vector<std::int16_t> window = samples(at, at + kBuffer);
            for (std::size_t i = 0; i < window.size(); ++i)
                if (window[i] != 0) return static_cast<long long>(at + (i * 2 & ~std::size_t(3)));
            at += kBuffer;
        }
    }
    // The peak of window `index` (kBuffer bytes from origin + index * kBuffer), waiting for it
    // to be written; -1 when it never is.
    int windowPeak(std::uintmax_t origin, std::uintmax_t index) const {
        const std::uintmax_t from = origin + index * kBuffer;
        if (!waitForOutput(from + kBuffer)) return -1;
        return peak(from, from + kBuffer);
    }
    // The first window from `index` on whose peak is below `level`; -1 when none is written.
    long long firstWindowBelow(std::uintmax_t origin, std::uintmax_t index, int level) const {
        for (;; ++index) {
            const int found = windowPeak(origin, index);
            if (found < 0) return -1;
            if (found < level) return static_cast<long long>(index);
        }
    }

    // Bytes of output per mixer buffer (1024 frames of 4 bytes). The mixer takes a change of
    // volume or a halt between two buffers, so the output is a series of steps whose edges the
    // test finds in the output itself: the file is written by SDL's thread, at a pace that has
    // nothing to do with the moments the test makes its changes.
    static constexpr std::uintmax_t kBuffer = 4096;

    std::string folder;
    std::string output;
};

// The tone (peak 16000) loops at the full volume; the fade-out then takes it down in the update
// clock's steps of a quarter (0.05 s of the event's 0.2 s) and halts it at the end.
TEST_F(KVSoundDiskOutputTest, APlayedEffectIsHeardAndAStoppedOneFadesToSilence) {
    kvtest::AudioDriverScope driver("disk");
    auto backend = std::make_unique<kvengine::CCSDLAudioBackend>(3);
    ASSERT_TRUE(backend->isOpen());
    auto* system = new KVSoundSystem(std::move(backend));
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    KVSoundEvent* tone = system->getEvent("t/SFX/tone");
    ASSERT_NE(tone, nullptr);
    tone->retain();

    ASSERT_TRUE(waitForOutput(4 * kBuffer));
    const std::uintmax_t before = outputSize();
    EXPECT_EQ(peak(0, before), 0); // written before the start: silent
    ASSERT_TRUE(tone->start());
    const long long onset = firstSound(before);
    ASSERT_GE(onset, 0) << "the tone never sounded";
    // Windows of one buffer from the one the tone starts in.
    const std::uintmax_t origin = static_cast<std::uintmax_t>(onset) / kBuffer * kBuffer;
    int playing = 0;
    for (std::uintmax_t i = 1; i <= 8; ++i) {
        const int level = windowPeak(origin, i);
        EXPECT_GT(level, 15000) << "window " << i;
        playing = std::max(playing, level);
    }

    tone->stop(false);
    std::uintmax_t index = 9; // every window before this one was written before the change
    int previous = playing;
    for (int step = 1; step <= 3; ++step) {
        system->update(0.05f);
        ASSERT_TRUE(tone->isPlaying()) << step;
        // Windows still at the previous level come first (and one that holds the edge shows the
        // previous level too); the first lower one is the new level.
        const long long lower = firstWindowBelow(origin, index, previous * 97 / 100);
        ASSERT_GE(lower, 0) << step;
        index = static_cast<std::uintmax_t>(lower);
        const int level = windowPeak(origin, index);
        EXPECT_NEAR(level, playing * (4 - step) / 4, playing / 50) << step;
        previous = level;
        ++index;
    }
    system->update(0.05f);
    EXPECT_FALSE(tone->isPlaying());
    const long long silent = firstWindowBelow(origin, index, 1);
    ASSERT_GE(silent, 0);
    for (std::uintmax_t i = 0; i < 16; ++i)
        EXPECT_EQ(windowPeak(origin, static_cast<std::uintmax_t>(silent) + i), 0) << i;

    tone->release();
    system->release();
}

} // namespace
