#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "game/sound/KVSoundEvent.h"
#include "game/sound/KVSoundSystem.h"
#include "tests/game/sound/RecordingAudioBackend.h"

namespace {

namespace fs = std::filesystem;
using kvtest::AudioRecord;
using kvtest::RecordingAudioBackend;

const char* const kProject = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>project</key><string>test</string>
<key>events</key><dict>
  <key>test/SFX/hit</key><dict>
    <key>file</key><string>sfx/hit.wav</string><key>category</key><string>SFX</string>
    <key>volume</key><string>0.80</string><key>loop</key><string>NO</string>
    <key>fadeout</key><string>0.00</string></dict>
  <key>test/music/theme</key><dict>
    <key>file</key><string>music/theme.wav</string><key>category</key><string>music</string>
    <key>volume</key><string>0.50</string><key>loop</key><string>YES</string>
    <key>fadeout</key><string>0.20</string></dict>
  <key>test/SFX/no_file</key><dict><key>category</key><string>SFX</string></dict>
  <key>test/SFX/not_a_dict</key><string>oops</string>
</dict></dict></plist>
)";

class KVSoundSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kvsound-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        folder = pattern;
        writeFile("test.fev", kProject);
        writeFile("broken.fev", "<plist><dict><key>events</key>");
        kvengine::setDebugLogSink([this](const std::string& line) { logLines.push_back(line); });
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        system = new KVSoundSystem(std::make_unique<RecordingAudioBackend>(record));
    }
    void TearDown() override {
        system->release();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
        kvengine::setDebugLogSink(nullptr);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(folder + "/" + name) << text;
    }
    bool logged(const std::string& part) const {
        for (const std::string& line : logLines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
    // A started instance of a loaded event, retained by the test.
    KVSoundEvent* started(const std::string& path) {
        KVSoundEvent* event = system->getEvent(path);
        EXPECT_NE(event, nullptr) << path;
        if (event == nullptr) return nullptr;
        event->retain();
        EXPECT_TRUE(event->start());
        return event;
    }

    std::string folder;
    std::shared_ptr<AudioRecord> record = std::make_shared<AudioRecord>();
    KVSoundSystem* system = nullptr;
    std::vector<std::string> logLines;
};

TEST_F(KVSoundSystemTest, ProjectEventsResolveFilesBesideTheProjectAndSkipBadEntries) {
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    EXPECT_TRUE(system->hasEvent("test/SFX/hit"));
    EXPECT_TRUE(system->hasEvent("test/music/theme"));
    EXPECT_FALSE(system->hasEvent("test/SFX/no_file"));
    EXPECT_FALSE(system->hasEvent("test/SFX/not_a_dict"));
    EXPECT_TRUE(logged("test/SFX/no_file"));
    EXPECT_TRUE(system->hasCategory("SFX"));
    EXPECT_TRUE(system->hasCategory("music"));

    KVSoundEvent* hit = system->getEvent("test/SFX/hit");
    ASSERT_NE(hit, nullptr);
    EXPECT_FLOAT_EQ(hit->getVolume(), 0.8f);
    EXPECT_EQ(hit->getCategory(), "SFX");
    EXPECT_TRUE(hit->start());
    EXPECT_EQ(record->last().file, (fs::path(folder) / "sfx/hit.wav").string());
    EXPECT_FALSE(record->last().loop);
    EXPECT_EQ(record->last().slot, -1);

    KVSoundEvent* theme = system->getEvent("test/music/theme", 1);
    ASSERT_NE(theme, nullptr);
    EXPECT_TRUE(theme->start());
    EXPECT_TRUE(record->last().loop);
    EXPECT_EQ(record->last().slot, 1);
}

TEST_F(KVSoundSystemTest, MissingOrBrokenProjectsAndUnknownEventsGiveNothing) {
    for (const char* name : {"absent.fev", "broken.fev"}) {
        logLines.clear();
        EXPECT_FALSE(system->loadProject(folder + "/" + name)) << name;
        EXPECT_TRUE(logged(name)) << name;
    }
    EXPECT_EQ(system->getEvent("test/SFX/hit"), nullptr);
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    EXPECT_EQ(system->getEvent("test/SFX/unknown"), nullptr);
    EXPECT_EQ(system->getEvent(""), nullptr);
    EXPECT_FALSE(system->setCategoryVolume("voices", 0.5f));
    EXPECT_FLOAT_EQ(system->getCategoryVolume("voices"), 1.0f);
}

TEST_F(KVSoundSystemTest, UnreadableSoundFileGivesAnEventThatPlaysNothing) {
    record->unreadable.insert((fs::path(folder) / "sfx/hit.wav").string());
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    KVSoundEvent* hit = system->getEvent("test/SFX/hit");
    ASSERT_NE(hit, nullptr);
    EXPECT_FALSE(hit->start());
    EXPECT_FALSE(hit->isPlaying());
    EXPECT_TRUE(record->voices.empty());
    EXPECT_TRUE(logged("hit.wav"));
}

TEST_F(KVSoundSystemTest, HeardVolumeIsInstanceTimesCategoryAndFollowsCategoryChanges) {
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    ASSERT_TRUE(system->setCategoryVolume("SFX", 0.5f));
    KVSoundEvent* hit = started("test/SFX/hit");
    ASSERT_NE(hit, nullptr);
    EXPECT_FLOAT_EQ(record->last().volume, 0.4f);
    ASSERT_TRUE(system->setCategoryVolume("SFX", 0.25f));
    EXPECT_FLOAT_EQ(record->last().volume, 0.2f);
    hit->setVolume(1.0f);
    EXPECT_FLOAT_EQ(record->last().volume, 0.25f);
    // Out-of-range volumes are clamped, NaN included.
    ASSERT_TRUE(system->setCategoryVolume("SFX", 7.0f));
    EXPECT_FLOAT_EQ(record->last().volume, 1.0f);
    hit->setVolume(-1.0f);
    EXPECT_FLOAT_EQ(hit->getVolume(), 0.0f);
    hit->setVolume(std::nanf(""));
    EXPECT_FLOAT_EQ(hit->getVolume(), 0.0f);
    hit->release();
}

TEST_F(KVSoundSystemTest, StopFadesOutOverTheEventsFadeTimeUnderTheUpdateClock) {
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    KVSoundEvent* theme = started("test/music/theme");
    ASSERT_NE(theme, nullptr);
    const auto voice = theme->getVoice();
    theme->stop(false);
    EXPECT_TRUE(theme->isStopping());
    system->update(0.1f);
    EXPECT_TRUE(theme->isPlaying());
    EXPECT_NEAR(record->find(voice)->volume, 0.25f, 1e-5f);

    // A paused fade waits; a second stop does not restart it.
    theme->setPaused(true);
    system->update(0.5f);
    theme->stop(false);
    EXPECT_TRUE(theme->isPlaying());
    theme->setPaused(false);
    system->update(0.1f);
    EXPECT_FALSE(theme->isPlaying());
    EXPECT_FALSE(record->find(voice)->playing);
    theme->release();

    // No fade-out time, or an immediate stop: silent at once.
    for (const char* path : {"test/SFX/hit", "test/music/theme"}) {
        KVSoundEvent* event = started(path);
        ASSERT_NE(event, nullptr);
        event->stop(std::string(path) == "test/music/theme");
        EXPECT_FALSE(event->isPlaying()) << path;
        EXPECT_FALSE(record->last().playing) << path;
        event->release();
    }
}

TEST_F(KVSoundSystemTest, InstancesLiveWhilePlayingAndGoInertAfterShutdown) {
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    // Nobody keeps this one: the system does, until its sound ends.
    ASSERT_TRUE(system->getEvent("test/SFX/hit")->start());
    KVSoundEvent* kept = started("test/music/theme");
    ASSERT_NE(kept, nullptr);
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    record->voices[0].playing = false; // the effect ends by itself
    system->update(0.016f);
    EXPECT_EQ(record->live().size(), 1u);

    // Restarting cuts the previous run of the same instance.
    ASSERT_TRUE(kept->start());
    EXPECT_EQ(record->live().size(), 1u);

    system->shutdown();
    EXPECT_TRUE(record->live().empty());
    EXPECT_FALSE(kept->isPlaying());
    EXPECT_FALSE(kept->start());
    kept->stop(false);
    kept->setVolume(0.5f);
    kept->setPaused(true);
    EXPECT_EQ(system->getEvent("test/SFX/hit"), nullptr);
    system->update(0.016f);
    kept->release();
}

TEST_F(KVSoundSystemTest, ASlotHoldsOneSoundAndEffectsNeverTakeASlot) {
    ASSERT_TRUE(system->loadProject(folder + "/test.fev"));
    KVSoundEvent* first = started("test/music/theme");
    ASSERT_NE(first, nullptr);
    first->release();
    KVSoundEvent* onSlot = system->getEvent("test/music/theme", 0);
    KVSoundEvent* again = system->getEvent("test/music/theme", 0);
    ASSERT_TRUE(onSlot->start());
    const auto replaced = onSlot->getVoice();
    ASSERT_TRUE(again->start());
    EXPECT_FALSE(record->find(replaced)->playing);
    system->update(0.016f);
    EXPECT_FALSE(onSlot->isPlaying());
    EXPECT_TRUE(again->isPlaying());
    EXPECT_EQ(record->live().size(), 2u); // the effect-channel one and the slot's newest
    // A slot the backend does not have plays nothing.
    EXPECT_FALSE(system->getEvent("test/music/theme", 9)->start());
}

} // namespace
