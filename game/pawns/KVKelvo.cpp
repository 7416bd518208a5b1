#include "game/pawns/KVKelvo.h"

#include "game/data/KVHelmet.h"

void KVKelvo::cleanupBeforeDelete() {
    setHelmet(nullptr);
    KVPawn::cleanupBeforeDelete();
}

void KVKelvo::setHelmet(KVHelmet* helmet) {
    if (helmet == m_helmet) return;
    if (helmet != nullptr) helmet->retain();
    KVHelmet* old = m_helmet;
    m_helmet = helmet;
    if (old != nullptr) old->release();
}
