#pragma once

#include "engine/base/CCRetained.h"
#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/pawns/KVSpawnPoints.h"
#include "game/world/KVObject.h"
#include "game/world/KVRunningMission.h"
#include "game/world/SVGParserDelegate.h"

class b2Body;
class KVActor;
class KVPawn;
class KVPowerupManager;
class KVScoreManager;
class KVTurnManager;
class KVXpManager;

namespace kvengine {
class CCTMXTiledMap;
class CCTMXObjectGroup;
} // namespace kvengine

/// The model of one running mission.
///
/// buildLevel assembles the level from its tile map and drawing: the outer border and the holes,
/// collision boxes and sticky walls, the physics shapes of the drawing, the player side, the
/// computer-driven pawns, every level object the map names, and the turn, score, power-up and
/// pearl-reward managers. Afterwards the model lists every actor announced with EVENT_NEW_ACTOR,
/// updates the game once a frame in a fixed order, and lets go of everything on
/// EVENT_GAME_SHUTDOWN. It is the game setup's current game model.
///
/// Lifetimes: the actor list retains the actors; an actor removed with EVENT_REMOVE_ACTOR is kept
/// (inactive) until the end of the frame's update, so an actor removed by another actor's update
/// is never freed under the loop. The tile map, managers and border list are retained. The
/// players retain the model (KVSpawnPoints); the actor list retains the players until shutdown.
class KVGameModel : public KVObject, public SVGParserDelegate, public KVSpawnPoints, public KVRunningMission {
public:
    CC_DECLARE_CLASS_NAME(KVGameModel, KVObject)

    KVGameModel();

    void cleanupBeforeDelete() override;
    /// The game's frame: the physics step, every active actor (a copy of the list, so actors may
    /// come and go meanwhile), the removed actors freed, then the rules, turns and score.
    void update(float dt) override;

    /// Builds the level from `map` (retained). False, with a log line naming the cause, when the
    /// map is null or lacks a required group ("Objects", "PowerUpSpawners", "GPE"), or when a team
    /// member's spawn object is missing or the team's spawn-point names are fewer than its
    /// creatures: the mission must not start. Objects that cannot be made are skipped, logged.
    [[nodiscard]] virtual bool buildLevel(kvengine::CCTMXTiledMap* map);

    /// Makes the level object that an SVG shape describes and attaches it to the shape's body.
    /// Malformed parts (empty, without "=", an unknown object, a pair without ":") are skipped,
    /// logged.
    void createObjectFromDescription(kvengine::CCString* description, b2Body* body) override;

    virtual void onGameShutdown(kvengine::CCNotification* notification);
    virtual void onNewActor(kvengine::CCNotification* notification);
    virtual void onRemoveActor(kvengine::CCNotification* notification);

    /// The turn manager's current pawn; null without a turn manager or a pawn.
    KVPawn* getCurrentPawn() override;
    /// The player turns counted by the solo score manager; -1 without one (multiplayer, or after
    /// shutdown).
    int getPlayerTurnCount() override;
    /// The pearl-reward manager's label counter, counted up; 0 without one (multiplayer).
    int nextPearlLabelSlot() override;
    /// The pearl-reward manager's pick point; (0, 0) without one.
    kvengine::CCPoint getPearlLabelAnchor() override;
    /// Into the solo score manager's lists; false in multiplayer.
    bool recordHiddenCharacter(const std::string& kelvo, const std::string& helmet) override;
    /// The turn manager's busy list is not empty.
    bool isAnythingBusy() override;
    /// Into the solo score manager's opened chests / helmets to unlock; false in multiplayer.
    bool recordOpenedChest(const std::string& chestId) override;
    bool recordChestHelmet(const std::string& helmet) override;

    kvengine::CCObject* spawnPointsOwner() override { return this; }
    KVGameModel* spawnPointsModel() override { return this; }
    /// The respawn points: centres of the objects named "SpawnPoint".
    std::vector<kvengine::CCPoint> getSpawnPoints() override { return m_respawnPoints; }
    /// The team's spawn positions, one per kelvo the builder placed.
    std::vector<kvengine::CCPoint> getPlayerSpawnPoints() override { return m_teamSpawnPositions; }

    kvengine::CCTMXTiledMap* getTileMap() const { return m_tileMap; }
    kvengine::CCMutableArray<KVObject*>* getActors() const { return m_actors; }
    kvengine::CCMutableArray<KVObject*>* getMissionActors() override { return m_actors; }
    KVTurnManager* getTurnManager() const { return m_turnManager; }
    KVScoreManager* getScoreManager() const { return m_scoreManager; }
    KVPowerupManager* getPowerupManager() override { return m_powerupManager; }
    KVXpManager* getXpManager() const { return m_xpManager; }
    const std::vector<kvengine::CCPoint>& getTeamSpawnPositions() const { return m_teamSpawnPositions; }
    const std::vector<kvengine::CCPoint>& getRespawnPoints() const { return m_respawnPoints; }
    kvengine::CCMutableArray<kvengine::CCObject*>* getMapBorders() const { return m_mapBorders; }
    bool isSolo() const { return m_solo; }

    /// Pixels per metre of the level's maps and drawings.
    static constexpr float kPixelsPerMetre = 32.0f;

private:
    using ObjectDict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;

    void fillObjectTypes();
    void parseDrawing();
    void buildBorders(kvengine::CCTMXTiledMap* map);
    void buildCollisions(kvengine::CCTMXObjectGroup* group);
    bool buildPlayerSide(kvengine::CCTMXObjectGroup* objects);
    void buildComputerPawn(kvengine::CCString* name, float x, float y);
    void buildLevelObjects(kvengine::CCTMXObjectGroup* group);
    /// The class of an object name, or "" when the table has none.
    std::string classForObjectName(const std::string& objectName) const;
    /// A new (autoreleased) actor of the named class through the class-name factory; null (logged
    /// with `what`) when the factory does not know it or it is no actor.
    KVActor* createActor(const std::string& className, const std::string& what);

    kvengine::CCRetained<kvengine::CCTMXTiledMap> m_tileMap;
    kvengine::CCRetained<kvengine::CCMutableArray<KVObject*>> m_actors;
    kvengine::CCRetained<KVTurnManager> m_turnManager;
    kvengine::CCRetained<KVScoreManager> m_scoreManager;
    kvengine::CCRetained<KVPowerupManager> m_powerupManager;
    kvengine::CCRetained<KVXpManager> m_xpManager;
    std::vector<kvengine::CCPoint> m_teamSpawnPositions;
    std::vector<kvengine::CCPoint> m_respawnPoints;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCObject*>> m_removedActors;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCObject*>> m_mapBorders;
    bool m_solo = true;
    int m_playerCount = 1;
    /// Object name -> class name; filled when the level is built.
    std::vector<std::pair<std::string, std::string>> m_objectTypes;
};
