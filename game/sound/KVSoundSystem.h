#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/base/CCObject.h"
#include "engine/platform/CCAudioBackend.h"
#include "game/sound/KVSoundEvent.h"

/// The game's event-based sound layer: sound projects that name events, event instances,
/// categories with volumes and the per-frame update that runs fade-outs.
///
/// A project is a property list (root keys "project" and "events"): "events" maps an event path
/// ("kelvos/SFX/Pawn_hit_pawn") to a dictionary with "file" (sound path relative to the project
/// file's folder), "category", "volume" (designed volume 0..1, default 1), "loop" ("YES"/"NO")
/// and "fadeout" (seconds a stop takes, default 0). Every category named by an event exists, at
/// volume 1. Sound files are decoded on the first request of their event.
///
/// Owns its backend. shutdown() (also run when the system is freed) halts every sound and leaves
/// the instances inert.
class KVSoundSystem : public kvengine::CCObject {
public:
    CC_DECLARE_CLASS_NAME(KVSoundSystem, kvengine::CCObject)

    /// A system over `backend`; a null backend gives a system that plays nothing.
    explicit KVSoundSystem(std::unique_ptr<kvengine::CCAudioBackend> backend);
    void cleanupBeforeDelete() override;

    /// Adds the events of the project file at `fullPath`. False (logged) when the file cannot be
    /// read or holds no event table; bad entries are skipped (logged), the others kept. A later
    /// project's event replaces an earlier one of the same path.
    bool loadProject(const std::string& fullPath);

    /// A new instance of the event `path` (autoreleased) to play on `slot` (-1: an effect
    /// channel), or null when no loaded project has that event. Not logged: asking is how
    /// callers test for an event.
    KVSoundEvent* getEvent(const std::string& path, int slot = -1);
    bool hasEvent(const std::string& path) const { return m_events.count(path) != 0; }

    bool hasCategory(const std::string& name) const { return m_categories.count(name) != 0; }
    /// Sets a category's volume (clamped into 0..1) and applies it to its playing instances.
    /// False when there is no such category.
    bool setCategoryVolume(const std::string& name, float volume);
    /// The category's volume; 1 for an unknown one.
    float getCategoryVolume(const std::string& name) const;

    /// Advances fade-outs by `dt` seconds and forgets instances whose sound has ended.
    void update(float dt) override;
    /// Halts every sound, makes every instance inert and frees the decoded sounds.
    void shutdown();

    /// Null after shutdown.
    kvengine::CCAudioBackend* getBackend() { return m_backend.get(); }

private:
    friend class KVSoundEvent;

    struct EventDescription {
        std::string file;
        std::string category;
        float volume = 1.0f;
        float fadeout = 0.0f;
        bool loop = false;
        bool loadTried = false;
        kvengine::CCAudioBackend::SoundId sound = 0;
    };

    void instanceStarted(KVSoundEvent* instance);
    void instanceFinished(KVSoundEvent* instance);
    void instanceDestroyed(KVSoundEvent* instance);

    std::unique_ptr<kvengine::CCAudioBackend> m_backend;
    std::map<std::string, EventDescription> m_events;
    std::map<std::string, float> m_categories;
    // Playing instances, retained; every live instance, not retained.
    std::vector<KVSoundEvent*> m_playing;
    std::set<KVSoundEvent*> m_instances;
};
