#include "game/pawns/KVPlayerHuddle.h"

#include "engine/base/CCLog.h"
#include "game/pawns/KVKelvoPlayer.h"

bool KVPlayerHuddle::initWithModel(KVSpawnPoints* model) {
    if (!KVPlayer::initWithModel(model)) return false;
    points = 0;
    placing = 0;
    return true;
}

void KVPlayerHuddle::releaseKelvo() {
    m_kelvo.reset();
}

void KVPlayerHuddle::addPawn(KVPawn* pawn) {
    if (pawn == nullptr || !pawn->isKindOf("KVKelvoPlayer")) {
        kvengine::logDebugMessage("KVPlayerHuddle::addPawn: only a player kelvo can join a player");
        return;
    }
    m_kelvo = static_cast<KVKelvoPlayer*>(pawn);
}

bool KVPlayerHuddle::hasPawn(KVPawn* pawn) {
    return pawn != nullptr && pawn == m_kelvo;
}

void KVPlayerHuddle::removePawn(KVPawn* pawn) {
    if (pawn == nullptr) return;
    // Read before the release, which may be the kelvo's last owner but the remove notification.
    scheduleRespawn(pawn);
    if (pawn == m_kelvo) releaseKelvo();
}

void KVPlayerHuddle::onGameShutdown(kvengine::CCNotification* notification) {
    (void)notification;
    releaseKelvo();
}

void KVPlayerHuddle::cleanupBeforeDelete() {
    releaseKelvo();
    KVPlayer::cleanupBeforeDelete();
}

int KVPlayerHuddle::compareByPoints(KVPlayerHuddle* a, KVPlayerHuddle* b) {
    if (a->points > b->points) return -1;
    if (a->points < b->points) return 1;
    return 0;
}

void KVPlayerHuddle::assignPlacings(kvengine::CCMutableArray<KVPlayerHuddle*>* players) {
    if (players == nullptr) return;
    auto* sorted = kvengine::CCMutableArray<KVPlayerHuddle*>::createWithArray(players);
    sorted->sortWithFunction(
        [](KVPlayerHuddle* a, KVPlayerHuddle* b, void*) { return compareByPoints(a, b); }, nullptr);
    int placing = 0;
    const KVPlayerHuddle* previous = nullptr;
    for (KVPlayerHuddle* player : *sorted) {
        if (previous == nullptr || player->points != previous->points) ++placing;
        player->placing = placing;
        previous = player;
    }
}
