// Feeds arbitrary sound event tables (the ".fev" project files) to the sound system, over an
// output that records what it is asked. Whatever the table says, every event it gives must play,
// fade, pause and stop through the output with volumes in 0..1, a second load of the same table
// must replace the events (freeing what was decoded), and shutting down must leave no voice.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/files/CCPlistReader.h"
#include "game/sound/KVSoundEvent.h"
#include "game/sound/KVSoundSystem.h"
#include "game_fuzz_support.h"

using kvengine::CCAudioBackend;

namespace {

// An output with four slots that decodes nothing and checks every volume it is handed.
class CheckingOutput : public CCAudioBackend {
public:
    // The system frees its output last, at shutdown: by then nothing may sound or stay decoded.
    ~CheckingOutput() override {
        if (!playing.empty() || !loaded.empty()) std::abort();
    }
    int slotCount() const override { return 4; }
    SoundId loadSound(const std::string& path) override {
        if (path.empty()) std::abort();
        loaded.insert(++lastSound);
        return lastSound;
    }
    void freeSound(SoundId sound) override {
        if (loaded.erase(sound) == 0) std::abort(); // freed twice, or never loaded
    }
    VoiceId play(SoundId sound, int slot, bool, float volume) override {
        check(volume);
        if (loaded.count(sound) == 0 || slot < -1 || slot >= slotCount()) return 0;
        playing.insert(++lastVoice);
        return lastVoice;
    }
    void setVolume(VoiceId, float volume) override { check(volume); }
    void setPaused(VoiceId, bool) override {}
    void halt(VoiceId voice) override { playing.erase(voice); }
    bool isPlaying(VoiceId voice) override { return playing.count(voice) != 0; }

    static void check(float volume) {
        if (!(volume >= 0.0f && volume <= 1.0f)) std::abort();
    }

    std::set<SoundId> loaded;
    std::set<VoiceId> playing;
    SoundId lastSound = 0;
    VoiceId lastVoice = 0;
};

std::string g_project;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kvfuzz::setUpGameFolders("sound");
    std::error_code error;
    std::filesystem::create_directories(kvfuzz::rootFolder() + "/sounds", error);
    g_project = kvfuzz::rootFolder() + "/sounds/kelvos.fev";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    if (!kvfuzz::writeFile(g_project, std::string(reinterpret_cast<const char*>(data), size))) std::abort();

    auto* system = new KVSoundSystem(std::make_unique<CheckingOutput>());
    if (system->loadProject(g_project)) {
        auto* root = kvengine::dictionaryWithContentsOfFile(g_project.c_str());
        const std::vector<std::string> paths = kvdata::keysOf(kvdata::dictAt(root, "events"));
        for (int round = 0; round < 2; ++round) {
            int slot = -1;
            for (const std::string& path : paths) {
                KVSoundEvent* event = system->getEvent(path, slot);
                slot = slot == 3 ? -1 : slot + 1;
                if (event == nullptr) continue; // an entry without file or category
                if (!system->hasCategory(event->getCategory())) std::abort();
                event->start();
                event->setVolume(0.5f);
                event->setPaused(true);
                event->setPaused(false);
                event->stop(false);
                system->update(0.05f);
                system->setCategoryVolume(event->getCategory(), 0.25f);
                system->update(1.0f);
                event->stop(true);
                if (event->isPlaying()) std::abort();
            }
            // Loading the same table again replaces every event and frees its decoded sound.
            if (round == 0 && !system->loadProject(g_project)) std::abort();
        }
    }
    system->shutdown();
    if (system->getBackend() != nullptr) std::abort();
    system->release();
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
