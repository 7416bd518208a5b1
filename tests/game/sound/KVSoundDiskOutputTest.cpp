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
    // Waits until the output holds at least `bytes` bytes (the audio thread writes it); false
    // when it never gets there.
    bool waitForOutput(std::uintmax_t bytes) const {
        for (int i = 0; i < 20000 && outputSize() < bytes; ++i)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        return outputSize() >= bytes;
    }
    // The largest sample magnitude in [from, to) of the output.
    int peak(std::uintmax_t from, std::uintmax_t to) const {
        std::ifstream in(output, std::ios::binary);
        from &= ~std::uintmax_t(3); // whole stereo frames
        in.seekg(static_cast<std::streamoff>(from));
        std::vector<std::int16_t> samples((to - from) / 2);
        in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
        int largest = 0;
        for (std::int16_t sample : samples)
            largest = std::max(largest, std::abs(static_cast<int>(sample)));
        return largest;
    }

    std::string folder;
    std::string output;
};

// Bytes of output per mixer buffer (1024 frames of 4 bytes). When a change is made, a buffer may
// be in the mixer and the driver's file buffer may hold more not yet on disk: output more than
// kSettled past the file size seen after the change was surely mixed after it.
constexpr std::uintmax_t kBuffer = 4096;
constexpr std::uintmax_t kSettled = 4 * kBuffer;

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
    std::uintmax_t mark = outputSize();
    EXPECT_EQ(peak(0, mark), 0); // nothing played yet
    ASSERT_TRUE(tone->start());
    ASSERT_TRUE(waitForOutput(mark + kSettled + 8 * kBuffer));
    const int playing = peak(mark + kSettled, mark + kSettled + 8 * kBuffer);
    EXPECT_GT(playing, 12000);

    // The fade-out runs on the update clock: four steps of 0.05 s over the event's 0.2 s.
    tone->stop(false);
    int previous = playing;
    for (int step = 1; step <= 3; ++step) {
        system->update(0.05f);
        ASSERT_TRUE(tone->isPlaying()) << step;
        mark = outputSize();
        ASSERT_TRUE(waitForOutput(mark + kSettled + 4 * kBuffer));
        const int level = peak(mark + kSettled, mark + kSettled + 4 * kBuffer);
        EXPECT_LT(level, previous) << step;
        EXPECT_GT(level, 0) << step;
        previous = level;
    }
    system->update(0.05f);
    EXPECT_FALSE(tone->isPlaying());
    mark = outputSize();
    ASSERT_TRUE(waitForOutput(mark + kSettled + 16 * kBuffer));
    EXPECT_EQ(peak(mark + kSettled, mark + kSettled + 16 * kBuffer), 0);

    tone->release();
    system->release();
}

} // namespace
