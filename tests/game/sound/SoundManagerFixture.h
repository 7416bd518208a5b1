#pragma once

// A sound manager over the recording backend, with small sound projects of its own in the
// game-data tests' resource tree.

#include <gtest/gtest.h>

#include <box2d/box2d.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/files/CCResourceIndex.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVCrab.h"
#include "game/pawns/KVPawn.h"
#include "game/sound/KVSoundEvent.h"
#include "game/sound/KVSoundManager.h"
#include "game/sound/KVSoundSystem.h"
#include "support/SoundEffectNames.h"
#include "tests/game/data/GameDataFixture.h"
#include "tests/game/sound/RecordingAudioBackend.h"

namespace kvtest {

/// A pawn with a chosen voice, maximum launch speed and body (the body belongs to the test's
/// world, not to the pawn).
template <typename Base> class SoundTestPawnOf : public Base {
public:
    SoundTestPawnOf(const char* voice, float maxLaunchSpeed = 0.0f, b2Body* body = nullptr) {
        if (voice != nullptr) {
            auto* text = new kvengine::CCString(voice);
            this->setVoice(text);
            text->release();
        }
        this->m_maxLaunchSpeed = maxLaunchSpeed;
        this->m_body = body;
    }
    void cleanupBeforeDelete() override {
        this->m_body = nullptr;
        Base::cleanupBeforeDelete();
    }
};
using SoundTestPawn = SoundTestPawnOf<KVPawn>;
using SoundTestCrab = SoundTestPawnOf<KVCrab>;

/// The sound file the test projects give an event: its path with '/' turned into '+'.
inline std::string soundFileOf(std::string path) {
    for (char& c : path)
        if (c == '/') c = '+';
    return path + ".wav";
}

/// The event path a recorded voice plays ("" for none).
inline std::string eventOf(const AudioRecord::Voice& voice) {
    std::string name = voice.file.substr(voice.file.find_last_of('/') + 1);
    if (name.size() < 4) return "";
    name.resize(name.size() - 4);
    for (char& c : name)
        if (c == '+') c = '/';
    return name;
}

/// Designed volume of every effect in the test projects; music is at 0.6.
constexpr float kEffectVolume = 0.8f;
constexpr float kMusicVolume = 0.6f;

class SoundManagerTest : public GameDataTest {
protected:
    void SetUp() override {
        GameDataTest::SetUp();
        installProjects();
        ASSERT_TRUE(kvengine::CCResourceIndex::getInstance()->containsFileName("kelvos.fev"));
        KVGameSetup* setup = KVGameSetup::getInstance();
        kvdata::setText(setup->getConfiguration(), "MenuMusicEvent", "menu_theme");
    }
    void TearDown() override {
        if (manager != nullptr) manager->release();
        manager = nullptr;
        GameDataTest::TearDown();
    }

    void makeManager() { manager = new KVSoundManager(std::make_unique<RecordingAudioBackend>(record)); }

    void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
        kvengine::CCNotificationCenter::getInstance()->postNotification(name, object);
    }

    /// Effect paths of the test project: every fixed effect, and the voice lines of "Male" except
    /// "ko" and "heal", those of "Female" and nothing of "Crab".
    static std::vector<std::string> effectPaths() {
        std::vector<std::string> paths;
        for (const char* name : kvtest::kSoundManagerEffects)
            paths.push_back(std::string("kelvos/SFX/") + name);
        for (const char* line : {"stretch", "ko", "powerup1", "powerup2", "combo", "hiddenstar_pickup",
                                 "impact_light", "impact_heavy", "heal"}) {
            paths.push_back(std::string("kelvos/SFX/Female_") + line);
            if (std::string(line) != "ko" && std::string(line) != "heal")
                paths.push_back(std::string("kelvos/SFX/Male_") + line);
        }
        return paths;
    }

    static std::string eventEntry(const std::string& path, const char* category, float volume, bool loop) {
        return "<key>" + path + "</key><dict><key>file</key><string>" + soundFileOf(path) +
               "</string><key>category</key><string>" + category + "</string><key>volume</key><string>" +
               std::to_string(volume) + "</string><key>loop</key><string>" + (loop ? "YES" : "NO") +
               "</string><key>fadeout</key><string>0.5</string></dict>";
    }

    static void writeProject(const std::string& file, const std::string& project,
                             const std::string& entries) {
        std::ofstream(gameDataPaths().resources + "/sounds/" + file)
            << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>project</key><string>" << project
            << "</string><key>events</key><dict>" << entries << "</dict></dict></plist>";
    }

    static void installProjects() {
        fs::create_directories(gameDataPaths().resources + "/sounds");
        std::string effects;
        for (const std::string& path : effectPaths())
            effects += eventEntry(path, "SFX", kEffectVolume, false);
        writeProject("kelvos.fev", "kelvos", effects);
        std::string music;
        for (const char* name : {"menu_theme", "reef_theme", "jingle_win", "jingle_lose"})
            music += eventEntry(std::string("kelvos_music/music/") + name, "music", kMusicVolume,
                                std::string(name).find("theme") != std::string::npos);
        writeProject("kelvos_music.fev", "kelvos_music", music);
    }

    /// Event paths of the voices started so far, in order.
    std::vector<std::string> playedEvents() const {
        std::vector<std::string> events;
        for (const AudioRecord::Voice& voice : record->voices)
            events.push_back(eventOf(voice));
        return events;
    }

    std::shared_ptr<AudioRecord> record = std::make_shared<AudioRecord>();
    KVSoundManager* manager = nullptr;
};

} // namespace kvtest
