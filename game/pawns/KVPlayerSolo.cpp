#include "game/pawns/KVPlayerSolo.h"

#include "game/pawns/KVPawn.h"

bool KVPlayerSolo::initWithModel(KVSpawnPoints* model) {
    if (!KVPlayer::initWithModel(model)) return false;
    auto* kelvos = new kvengine::CCMutableArray<KVPawn*>();
    if (m_kelvos != nullptr) m_kelvos->release();
    m_kelvos = kelvos;
    return true;
}

void KVPlayerSolo::addPawn(KVPawn* pawn) {
    if (m_kelvos != nullptr && pawn != nullptr) m_kelvos->addObject(pawn);
}

bool KVPlayerSolo::hasPawn(KVPawn* pawn) {
    return m_kelvos != nullptr && m_kelvos->containsObject(pawn);
}

void KVPlayerSolo::removePawn(KVPawn* pawn) {
    if (m_kelvos != nullptr && pawn != nullptr) m_kelvos->removeObject(pawn);
}

void KVPlayerSolo::onGameShutdown(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_kelvos == nullptr) return;
    auto* kelvos = m_kelvos;
    m_kelvos = nullptr;
    kelvos->release();
}

void KVPlayerSolo::cleanupBeforeDelete() {
    onGameShutdown(nullptr);
    KVPlayer::cleanupBeforeDelete();
}
