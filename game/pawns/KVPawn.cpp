#include "game/pawns/KVPawn.h"

#include "game/world/KVPhysWorld.h"

void KVPawn::cleanupBeforeDelete() {
    setVoice(nullptr);
    destroyBody();
    KVActor::cleanupBeforeDelete();
}

void KVPawn::setVoice(kvengine::CCString* voice) {
    if (voice != nullptr) voice->retain();
    if (m_voice != nullptr) m_voice->release();
    m_voice = voice;
}

void KVPawn::destroyBody() {
    if (m_body == nullptr) return;
    // The world may already be gone with its bodies (mission end): then there is nothing to do.
    KVPhysWorld* world = KVPhysWorld::existingInstance();
    if (world != nullptr && world->getWorld() != nullptr) world->destroyBody(m_body, this);
    m_body = nullptr;
}
