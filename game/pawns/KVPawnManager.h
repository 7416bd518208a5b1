#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/world/KVSingletonObject.h"

class KVActor;
class KVPawn;

/// The game-wide registry of the pawns on the board. Created on first use; released at shutdown.
///
/// It learns of pawns through the actor notifications: "EVENT_NEW_ACTOR" with a pawn lists it (in
/// all pawns and in its side's list, and counts it), "EVENT_REMOVE_ACTOR" takes it out of the
/// lists. It remembers, by type name and helmet name, the player kelvos (KVKelvoPlayer) that were
/// removed ("dead") and those that fell into a hole ("fallen"; a fallen kelvo is removed too, so it
/// is listed in both) for the revival consumables. "EVENT_GAME_SHUTDOWN" empties everything; the
/// manager itself stays. Observes "EVENT_NEW_ACTOR", "EVENT_REMOVE_ACTOR", "EVENT_GAME_SHUTDOWN" and
/// "EVENT_PAWN_FALL" (no object filter); posts nothing.
///
/// Ownership: the lists retain what they hold; the getters return the lists themselves (not
/// copies): copy one before a walk that may add or remove pawns.
class KVPawnManager : public KVSingletonObject<KVPawnManager> {
public:
    CC_DECLARE_CLASS_NAME(KVPawnManager, KVSingletonObject)

    /// Empty lists; registers the four observers.
    KVPawnManager();
    /// Stops observing and releases the seven lists.
    void cleanupBeforeDelete() override;

    /// Every registered pawn, in order of registration (a pawn registered twice is listed twice).
    kvengine::CCMutableArray<KVPawn*>* getAllPawns() const { return m_allPawns; }
    /// The pawns of the player side / of the enemy side, in order of registration.
    kvengine::CCMutableArray<KVPawn*>* getPlayerPawns() const { return m_playerPawns; }
    kvengine::CCMutableArray<KVPawn*>* getEnemyPawns() const { return m_enemyPawns; }
    /// Player-side pawns registered that are not AI-driven; never decreases before shutdown.
    int getHumanPawnCount() const { return m_humanPawnCount; }
    /// Enemy pawns registered; never decreases before shutdown.
    int getEnemyCount() const { return m_enemyCount; }

    /// The first pawn (in registration order) within 1.25 m of (x, y), metres; null when none.
    KVPawn* findPawnAtPoint(float x, float y);

    /// The last removed player kelvo: its type name into `outName` and, when it wore a helmet, the
    /// helmet's name into `outHelmet` (left untouched otherwise). False, both untouched, when none
    /// was removed. The names are not retained for the caller.
    bool getLastDeadKelvo(kvengine::CCString** outName, kvengine::CCString** outHelmet);
    /// Player kelvos removed (dead) in this mission and not forgotten since.
    int getDeadKelvoCount() const;
    /// The same for the last player kelvo that fell into a hole.
    bool getLastFallenKelvo(kvengine::CCString** outName, kvengine::CCString** outHelmet);
    /// Forgets `name` (the very object handed out above) in the dead and in the fallen lists,
    /// with its helmet entries.
    void forgetKelvo(kvengine::CCString* name);

    /// A free spot near `actor` for a body of `radiusPixels`: the first of 60 candidates (rings of
    /// 1.875 m to 9.375 m, every 30 degrees counter-clockwise from straight up) where nothing
    /// overlaps a box of that half size and a ray back to the actor first meets the actor (nothing
    /// in between). Writes it to `outPoint` (metres) and answers true; false, `outPoint` untouched,
    /// when no candidate fits, without a world or without an actor.
    bool findFreeSpotNear(KVActor* actor, float radiusPixels, kvengine::CCPoint* outPoint);
    /// findFreeSpotNear with the "Radius" stat of the creature `kelvoName` from the game data.
    /// False (logged) when the game data has no such creature.
    bool findFreeSpotForKelvo(KVActor* actor, const char* kelvoName, kvengine::CCPoint* outPoint);

    /// Notification handlers.
    virtual void onNewActor(kvengine::CCNotification* notification);
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    virtual void onPawnFall(kvengine::CCNotification* notification);
    virtual void onGameShutdown(kvengine::CCNotification* notification);

private:
    using ObjectList = kvengine::CCMutableArray<kvengine::CCObject*>;

    // Appends the kelvo's type name and its helmet's name (or a placeholder) to the two lists.
    static void recordKelvo(KVPawn* kelvo, ObjectList* names, ObjectList* helmets);
    static bool lastKelvoOf(ObjectList* names, ObjectList* helmets, kvengine::CCString** outName,
                            kvengine::CCString** outHelmet);
    static void forgetIn(ObjectList* names, ObjectList* helmets, kvengine::CCString* name);

    kvengine::CCMutableArray<KVPawn*>* m_allPawns = nullptr;
    kvengine::CCMutableArray<KVPawn*>* m_playerPawns = nullptr;
    kvengine::CCMutableArray<KVPawn*>* m_enemyPawns = nullptr;
    int m_humanPawnCount = 0;
    int m_enemyCount = 0;
    // Helmet lists hold a CCString name, or a plain CCObject standing for "no helmet", at the
    // index of their kelvo's name.
    ObjectList* m_deadKelvoNames = nullptr;
    ObjectList* m_deadKelvoHelmets = nullptr;
    ObjectList* m_fallenKelvoNames = nullptr;
    ObjectList* m_fallenKelvoHelmets = nullptr;
};
