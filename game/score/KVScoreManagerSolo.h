#pragma once

#include "engine/base/CCNotification.h"
#include "game/score/KVScoreManager.h"

/// The score manager of a solo mission. It counts the player's turns so far (one per
/// "EVENT_TURN_START_PLAYER"); the victory and failure conditions join it in place.
class KVScoreManagerSolo : public KVScoreManager {
public:
    CC_DECLARE_CLASS_NAME(KVScoreManagerSolo, KVScoreManager)

    /// Observes "EVENT_TURN_START_PLAYER".
    KVScoreManagerSolo();
    /// Stops observing.
    void cleanupBeforeDelete() override;

    virtual void onTurnStartPlayer(kvengine::CCNotification* notification);

    /// "EVENT_TURN_START_PLAYER" received since the mission was built.
    int getPlayerTurns() const { return m_playerTurns; }

private:
    int m_playerTurns = 0;
};
