#include "game/sound/KVSoundEvent.h"

#include "game/sound/KVSoundSystem.h"

using namespace kvengine;

namespace {
constexpr float kFadeResidue = 1e-4f; // seconds
} // namespace

bool KVSoundEvent::start() {
    if (m_system == nullptr || m_system->getBackend() == nullptr) return false;
    CCAudioBackend* backend = m_system->getBackend();
    if (m_voice != 0) backend->halt(m_voice);
    m_paused = false;
    m_fadeLeft = 0.0f;
    m_voice = backend->play(m_sound, m_slot, m_loop, heardVolume());
    if (m_voice == 0) {
        finish();
        return false;
    }
    m_system->instanceStarted(this);
    return true;
}

void KVSoundEvent::stop(bool immediate) {
    if (m_voice == 0 || m_system == nullptr) return;
    if (immediate || m_fadeTime <= 0.0f) {
        m_system->getBackend()->halt(m_voice);
        finish();
        return;
    }
    // A second stop during a fade-out does not restart it.
    if (m_fadeLeft <= 0.0f) m_fadeLeft = m_fadeTime;
}

void KVSoundEvent::setPaused(bool paused) {
    if (m_voice == 0 || m_system == nullptr) return;
    m_paused = paused;
    m_system->getBackend()->setPaused(m_voice, paused);
}

void KVSoundEvent::setVolume(float volume) {
    m_volume = clampAudioVolume(volume);
    pushVolume();
}

float KVSoundEvent::heardVolume() const {
    float volume = m_volume;
    if (m_system != nullptr) volume *= m_system->getCategoryVolume(m_category);
    if (m_fadeLeft > 0.0f && m_fadeTime > 0.0f) volume *= m_fadeLeft / m_fadeTime;
    return clampAudioVolume(volume);
}

void KVSoundEvent::pushVolume() {
    if (m_voice != 0 && m_system != nullptr) m_system->getBackend()->setVolume(m_voice, heardVolume());
}

void KVSoundEvent::advance(float dt) {
    CCAudioBackend* backend = m_system->getBackend();
    if (!backend->isPlaying(m_voice)) {
        finish();
        return;
    }
    if (m_fadeLeft <= 0.0f || m_paused) return;
    m_fadeLeft -= dt;
    // Steps that add up to the fade time leave float residue; that is not one more frame of sound.
    if (m_fadeLeft <= kFadeResidue) {
        backend->halt(m_voice);
        finish();
        return;
    }
    pushVolume();
}

void KVSoundEvent::finish() {
    m_voice = 0;
    m_fadeLeft = 0.0f;
    m_paused = false;
    // Last: leaving the playing list may free this instance.
    if (m_system != nullptr) m_system->instanceFinished(this);
}

void KVSoundEvent::cleanupBeforeDelete() {
    if (m_system != nullptr) m_system->instanceDestroyed(this);
    m_system = nullptr;
}
