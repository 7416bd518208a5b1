#include "game/sound/KVSoundSystem.h"

#include <algorithm>
#include <filesystem>

#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "game/data/KVDataAccess.h"

using namespace kvengine;

KVSoundSystem::KVSoundSystem(std::unique_ptr<CCAudioBackend> backend) : m_backend(std::move(backend)) {}

void KVSoundSystem::cleanupBeforeDelete() {
    shutdown();
}

bool KVSoundSystem::loadProject(const std::string& fullPath) {
    kvdata::Dict* root = dictionaryWithContentsOfFile(fullPath.c_str());
    kvdata::Dict* events = kvdata::dictAt(root, "events");
    if (events == nullptr) {
        logDebugMessage("Sound: no event table in \"%s\"", fullPath.c_str());
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(fullPath).parent_path();
    for (const std::string& path : kvdata::keysOf(events)) {
        kvdata::Dict* entry = kvdata::dictAt(events, path);
        std::string file = kvdata::textAt(entry, "file");
        std::string category = kvdata::textAt(entry, "category");
        if (file.empty() || category.empty()) {
            logDebugMessage("Sound: event \"%s\" of \"%s\" has no file or category", path.c_str(),
                            fullPath.c_str());
            continue;
        }
        EventDescription description;
        description.file = (folder / file).string();
        description.category = category;
        description.volume = clampAudioVolume(kvdata::floatAt(entry, "volume", 1.0f));
        description.fadeout = std::max(0.0f, kvdata::floatAt(entry, "fadeout", 0.0f));
        description.loop = kvdata::boolAt(entry, "loop", false);
        auto old = m_events.find(path);
        if (old != m_events.end() && old->second.sound != 0 && m_backend)
            m_backend->freeSound(old->second.sound);
        m_events[path] = description;
        m_categories.emplace(category, 1.0f);
    }
    return true;
}

KVSoundEvent* KVSoundSystem::getEvent(const std::string& path, int slot) {
    auto found = m_events.find(path);
    if (found == m_events.end()) return nullptr;
    EventDescription& description = found->second;
    if (!description.loadTried && m_backend) {
        description.loadTried = true;
        description.sound = m_backend->loadSound(description.file);
    }
    auto* instance = new KVSoundEvent();
    instance->m_system = this;
    instance->m_path = path;
    instance->m_category = description.category;
    instance->m_sound = description.sound;
    instance->m_slot = slot;
    instance->m_loop = description.loop;
    instance->m_volume = description.volume;
    instance->m_fadeTime = description.fadeout;
    m_instances.insert(instance);
    instance->autorelease();
    return instance;
}

bool KVSoundSystem::setCategoryVolume(const std::string& name, float volume) {
    auto found = m_categories.find(name);
    if (found == m_categories.end()) return false;
    found->second = clampAudioVolume(volume);
    for (KVSoundEvent* instance : m_playing)
        if (instance->m_category == name) instance->pushVolume();
    return true;
}

float KVSoundSystem::getCategoryVolume(const std::string& name) const {
    auto found = m_categories.find(name);
    return found == m_categories.end() ? 1.0f : found->second;
}

void KVSoundSystem::update(float dt) {
    if (!(dt > 0.0f)) dt = 0.0f;
    // A finishing instance leaves m_playing (and may be freed): walk a retained copy.
    std::vector<KVSoundEvent*> playing = m_playing;
    for (KVSoundEvent* instance : playing)
        instance->retain();
    for (KVSoundEvent* instance : playing) {
        if (instance->m_system == this) instance->advance(dt);
        instance->release();
    }
}

void KVSoundSystem::shutdown() {
    std::vector<KVSoundEvent*> playing;
    playing.swap(m_playing);
    for (KVSoundEvent* instance : m_instances) {
        if (instance->m_voice != 0 && m_backend) m_backend->halt(instance->m_voice);
        instance->m_voice = 0;
        instance->m_fadeLeft = 0.0f;
        instance->m_system = nullptr;
    }
    m_instances.clear();
    for (KVSoundEvent* instance : playing)
        instance->release();
    if (m_backend) {
        for (auto& [path, description] : m_events)
            if (description.sound != 0) m_backend->freeSound(description.sound);
    }
    m_events.clear();
    m_backend.reset();
}

void KVSoundSystem::instanceStarted(KVSoundEvent* instance) {
    if (std::find(m_playing.begin(), m_playing.end(), instance) != m_playing.end()) return;
    instance->retain();
    m_playing.push_back(instance);
}

void KVSoundSystem::instanceFinished(KVSoundEvent* instance) {
    auto found = std::find(m_playing.begin(), m_playing.end(), instance);
    if (found == m_playing.end()) return;
    m_playing.erase(found);
    instance->release();
}

void KVSoundSystem::instanceDestroyed(KVSoundEvent* instance) {
    m_instances.erase(instance);
}
