#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/world/KVObject.h"

class KVPawn;

/// The pearl rewards of a solo mission (made by the game model in solo missions only).
///
/// A human-driven kelvo that knocks out an enemy, or in whose turn an enemy falls into a hole,
/// earns the enemy's "Pearl Reward" as a pearl dropped where the enemy was. A knock-out weighs the
/// reward by the levels: x0.7 (truncated) two or more levels above the enemy, x1.3 two or more
/// below. A falling enemy gives its full reward. The pearl reports the amount to the score when it
/// is collected, never earlier, so each reward is counted once.
///
/// It also lists the pickable objects on the board, and keeps the label counter and the pick point
/// of the pearls' value labels (written by the game controller when a pearl flies).
class KVXpManager : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVXpManager, KVObject)

    /// Observes "EVENT_ACTION", "EVENT_NEW_ACTOR" and "EVENT_REMOVE_ACTOR".
    KVXpManager();
    /// Removes its observers, releases the list.
    void cleanupBeforeDelete() override;

    virtual void onNewActor(kvengine::CCNotification* notification);
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    virtual void onAction(kvengine::CCNotification* notification);

    /// The knock-out reward: `reward` weighed by the level difference (attacker - target).
    static int knockOutReward(int reward, int levelDifference);

    /// Pickable objects announced and not yet removed, oldest first.
    kvengine::CCMutableArray<kvengine::CCObject*>* getPickableObjects() const { return m_pickables; }
    int labelCounter = 0;
    /// Metres.
    kvengine::CCPoint pickPoint = kvengine::CCPoint(0.0f, 0.0f);

private:
    /// The event's actor, else the pawn whose turn it is; null when neither.
    static KVPawn* attackerOf(kvengine::CCObject* actor);

    kvengine::CCMutableArray<kvengine::CCObject*>* m_pickables = nullptr;
};
