// KVGameModel::buildLevel and the object descriptions of the level drawing: how a mission's tile
// map and SVG drawing become actors and bodies.
#include "game/model/KVGameModel.h"

#include <box2d/box2d.h>

#include <cstdio>
#include <cstdlib>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/tilemaps/CCTMXObjectGroup.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/model/KVObjectDescription.h"
#include "game/model/KVTeamBuilder.h"
#include "game/objects/KVMapBorder.h"
#include "game/objects/KVStickyWall.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVTurnManager.h"
#include "game/powerups/KVPowerupManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/score/KVScoreManagerHuddle.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/score/KVXpManager.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/SVGParser.h"

using kvengine::CCMutableArray;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;
using kvengine::CCTMXObject;
using kvengine::CCTMXObjectGroup;
using kvengine::logDebugMessage;

namespace {

// Object name -> class, in this order. A class the factory does not know (KVBooster has none)
// makes nothing.
const char* const kObjectTypes[][2] = {
    {"Coconut", "KVCoconut"},
    {"SpikyBall", "KVSpikyBall"},
    {"SpikyWall", "KVSpikyWall"},
    {"Hole", "KVMapBorder"},
    {"Vortex", "KVVortex"},
    {"Booster", "KVBooster"},
    {"PowerUpSpawner", "KVPowerupSpawner"},
    {"hidden_star", "KVHiddenStar"},
    {"FishBomb", "KVFishBomb"},
    {"Trigger", "KVTrigger"},
    {"PSpawner", "KVSpawner"},
    {"Geyser", "KVGeyser"},
    {"Anchor", "KVAnchor"},
    {"TreasureChest", "KVTreasureChest"},
};

// Collision boxes of the map that are not sticky.
constexpr float kBoxFriction = 0.3f;
constexpr short kBoxGroup = 5;

int intOf(CCTMXObject* object, const char* key) {
    CCString* value = object != nullptr ? object->objectForKey(key) : nullptr;
    return value != nullptr ? std::atoi(value->text.c_str()) : 0;
}

std::string textOf(CCTMXObject* object, const char* key) {
    CCString* value = object != nullptr ? object->objectForKey(key) : nullptr;
    return value != nullptr ? value->text : std::string();
}

// The centre of a map object in metres, from its integer pixels.
kvengine::CCPoint centreOf(CCTMXObject* object) {
    const double x = intOf(object, "x"), y = intOf(object, "y");
    const double width = intOf(object, "width"), height = intOf(object, "height");
    return kvengine::CCPoint(static_cast<float>((x + width / 2.0) / KVGameModel::kPixelsPerMetre),
                             static_cast<float>((y + height / 2.0) / KVGameModel::kPixelsPerMetre));
}

// The actors' initialisation reads dictionaries of CCObject values.
kvdata::Dict* objectDictionary(CCTMXObject* object) {
    kvdata::Dict* dict = kvdata::newDict();
    std::vector<std::string> keys = object->allKeys();
    for (const std::string& key : keys)
        if (CCString* value = object->objectForKey(key)) dict->setObject(value, key);
    return dict;
}

} // namespace

bool KVGameModel::buildLevel(kvengine::CCTMXTiledMap* map) {
    if (map == nullptr) {
        logDebugMessage("KVGameModel::buildLevel: no tile map");
        return false;
    }
    // Refused before anything is made: a mission without these cannot be played.
    CCTMXObjectGroup* objects = map->findObjectGroupByName("Objects");
    for (const char* required : {"Objects", "PowerUpSpawners", "GPE"}) {
        if (map->findObjectGroupByName(required) == nullptr) {
            logDebugMessage("KVGameModel::buildLevel: the map has no object group \"%s\"", required);
            return false;
        }
    }
    KVGameSetup* setup = KVGameSetup::getInstance();
    if (!KVTeamBuilder::checkTeam(setup, objects)) return false;

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVGameModel::onNewActor), EVENT_NEW_ACTOR);
    centre->addObserver(this, notification_selector(KVGameModel::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVGameModel::onGameShutdown), EVENT_GAME_SHUTDOWN);
    m_teamSpawnPositions.clear();
    m_respawnPoints.clear();
    setup->setCurrentGameModel(this);
    KVPhysWorld* physics = KVPhysWorld::getInstance();
    physics->createWorld();
    const float contentScale = kvengine::CCDirector::getInstance()->getContentScaleFactor();

    if (m_actors == nullptr) m_actors.adopt(new CCMutableArray<KVObject*>());
    if (m_removedActors == nullptr) m_removedActors.adopt(new CCMutableArray<CCObject*>());
    if (m_turnManager == nullptr) m_turnManager.adopt(new KVTurnManager());
    if (m_powerupManager == nullptr) m_powerupManager.adopt(new KVPowerupManager());
    if (m_mapBorders == nullptr) m_mapBorders.adopt(new CCMutableArray<CCObject*>());
    m_tileMap = map;

    m_solo = setup->solo;
    m_playerCount = setup->playerCount;
    if (m_solo && m_xpManager == nullptr) m_xpManager.adopt(new KVXpManager());

    fillObjectTypes();
    parseDrawing();

    // The outer border: the map's size in metres (tile pixels are at the content scale).
    const kvengine::CCSize mapSize = map->getMapSize();
    const kvengine::CCSize tileSize = map->getTileSize();
    const float scale = contentScale > 0.0f ? contentScale : 1.0f;
    auto* border = new KVMapBorder();
    if (border->initWithRect(0.0f, 0.0f, mapSize.width * tileSize.width / scale / kPixelsPerMetre,
                             mapSize.height * tileSize.height / scale / kPixelsPerMetre))
        m_mapBorders->addObject(border);
    else
        logDebugMessage("KVGameModel::buildLevel: the map border could not be made");
    border->release();

    buildBorders(map);
    buildCollisions(map->findObjectGroupByName("Collisions"));

    if (!buildPlayerSide(objects)) return false;

    buildLevelObjects(map->findObjectGroupByName("PowerUpSpawners"));
    buildLevelObjects(map->findObjectGroupByName("GPE"));
    buildLevelObjects(objects);

    KVRuleManager* rules = KVRuleManager::getInstance();
    rules->loadRules();
    if (m_solo) rules->addComboRules();
    return true;
}

void KVGameModel::fillObjectTypes() {
    m_objectTypes.clear();
    for (const auto& row : kObjectTypes)
        m_objectTypes.emplace_back(row[0], row[1]);
}

std::string KVGameModel::classForObjectName(const std::string& objectName) const {
    for (const auto& row : m_objectTypes)
        if (row.first == objectName) return row.second;
    return std::string();
}

KVActor* KVGameModel::createActor(const std::string& className, const std::string& what) {
    if (!KVObjectFactory::isRegistered(className)) {
        logDebugMessage("KVGameModel: %s: no class %s, skipped", what.c_str(), className.c_str());
        return nullptr;
    }
    CCObject* object = KVObjectFactory::create(className);
    if (object == nullptr) return nullptr;
    if (!object->isKindOf("KVActor")) {
        logDebugMessage("KVGameModel: %s: %s is no level object, skipped", what.c_str(), className.c_str());
        object->release();
        return nullptr;
    }
    object->autorelease();
    return static_cast<KVActor*>(object);
}

void KVGameModel::parseDrawing() {
    KVPhysWorld* physics = KVPhysWorld::getInstance();
    SVGParserParameters block;
    block.restitutionDefault = 0.0f;
    block.frictionDefault = 0.2f;
    block.densityDefault = 0.0f;
    block.pointsPerCubicSegment = 15;
    block.gravityX = 0.0f;
    block.gravityY = 0.0f;
    block.pixelsPerMetre = kPixelsPerMetre;
    (new SVGParser(block, KVGameSetup::getInstance()->getLevelSvgName(), physics->getWorld(), this))
        ->release();
}

void KVGameModel::buildBorders(kvengine::CCTMXTiledMap* map) {
    CCTMXObjectGroup* holes = map->findObjectGroupByName("Holes");
    if (holes == nullptr || holes->getObjects() == nullptr) return;
    for (CCTMXObject* object : *holes->getObjects()) {
        auto* hole = new KVMapBorder();
        if (hole->initWithRect(intOf(object, "x") / kPixelsPerMetre, intOf(object, "y") / kPixelsPerMetre,
                               intOf(object, "width") / kPixelsPerMetre,
                               intOf(object, "height") / kPixelsPerMetre))
            m_mapBorders->addObject(hole);
        else
            logDebugMessage("KVGameModel: hole \"%s\" could not be made", textOf(object, "name").c_str());
        hole->release();
    }
}

void KVGameModel::buildCollisions(CCTMXObjectGroup* group) {
    if (group == nullptr || group->getObjects() == nullptr) return;
    b2World* world = KVPhysWorld::getInstance()->getWorld();
    for (CCTMXObject* object : *group->getObjects()) {
        const float x = intOf(object, "x") / kPixelsPerMetre, y = intOf(object, "y") / kPixelsPerMetre;
        const float width = intOf(object, "width") / kPixelsPerMetre;
        const float height = intOf(object, "height") / kPixelsPerMetre;
        CCString* sticky = object->objectForKey("isStickyWall");
        if (sticky != nullptr && std::atoi(sticky->text.c_str()) != 0) {
            auto* wall = new KVStickyWall();
            if (!wall->initWithRect(x, y, width, height))
                logDebugMessage("KVGameModel: sticky wall \"%s\" could not be made",
                                textOf(object, "name").c_str());
            // The wall lives in the actor list from its announcement on.
            wall->release();
            continue;
        }
        if (!(width > 0.0f) || !(height > 0.0f)) {
            logDebugMessage("KVGameModel: collision box \"%s\" has no size, skipped",
                            textOf(object, "name").c_str());
            continue;
        }
        b2BodyDef def;
        def.type = b2_staticBody;
        def.position.Set(x + width / 2.0f, y + height / 2.0f);
        b2Body* body = world->CreateBody(&def);
        b2PolygonShape box;
        box.SetAsBox(width / 2.0f, height / 2.0f);
        box.m_radius = 0.01f;
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.friction = kBoxFriction;
        fixture.restitution = 0.0f;
        fixture.density = 0.0f;
        fixture.filter.categoryBits = 1;
        fixture.filter.maskBits = 0xFFFF;
        fixture.filter.groupIndex = kBoxGroup;
        body->CreateFixture(&fixture);
    }
}

bool KVGameModel::buildPlayerSide(CCTMXObjectGroup* objects) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVTeamBuilder team(this, setup);
    if (m_solo && !team.buildSoloTeam(objects, m_teamSpawnPositions)) return false;

    if (objects->getObjects() != nullptr) {
        for (CCTMXObject* object : *objects->getObjects()) {
            if (object->objectForKey("name") == nullptr) continue;
            const std::string name = textOf(object, "name");
            if (name == "SpawnPoint") {
                m_respawnPoints.push_back(centreOf(object));
            } else if (name == "AISpawnPoint" && m_solo) {
                const kvengine::CCPoint at = centreOf(object);
                buildComputerPawn(object->objectForKey("Name"), at.x, at.y);
            }
        }
    }

    if (m_solo)
        m_scoreManager.adopt(new KVScoreManagerSolo());
    else
        m_scoreManager.adopt(new KVScoreManagerHuddle());

    if (!m_solo && !team.buildMultiplayerTeams(objects, m_playerCount, m_scoreManager, m_teamSpawnPositions))
        return false;
    return true;
}

void KVGameModel::buildComputerPawn(CCString* name, float x, float y) {
    if (name == nullptr || name->text.empty()) {
        logDebugMessage("KVGameModel: an AISpawnPoint at (%.2f, %.2f) has no \"Name\", skipped",
                        static_cast<double>(x), static_cast<double>(y));
        return;
    }
    // A computer-driven copy of a team member stays out while the member plays.
    if (KVGameSetup::getInstance()->isKelvoInTeam(name)) return;
    kvdata::Dict* stats = kvdata::dictAt(KVGameParameters::getInstance()->getKelvoAiStatsTable(), name->text);
    if (stats == nullptr) {
        logDebugMessage("KVGameModel: AISpawnPoint \"%s\" is not in the AI stats, skipped",
                        name->text.c_str());
        return;
    }
    const std::string className = kvdata::textAt(stats, "engine_class");
    const std::string what = "AISpawnPoint \"" + name->text + "\"";
    if (className.empty()) {
        logDebugMessage("KVGameModel: %s has no engine_class, skipped", what.c_str());
        return;
    }
    if (!KVObjectFactory::isRegistered(className)) {
        logDebugMessage("KVGameModel: %s: no class %s, skipped", what.c_str(), className.c_str());
        return;
    }
    CCObject* object = KVObjectFactory::create(className);
    if (object == nullptr) return;
    if (!object->isKindOf("KVPawn")) {
        logDebugMessage("KVGameModel: %s: %s is no pawn class, skipped", what.c_str(), className.c_str());
        object->release();
        return;
    }
    auto* pawn = static_cast<KVPawn*>(object);
    if (!pawn->initAt(x, y, this, name)) logDebugMessage("KVGameModel: %s could not be made", what.c_str());
    // The actor list, the pawn manager and its controller keep it from its announcement on.
    pawn->release();
}

void KVGameModel::buildLevelObjects(CCTMXObjectGroup* group) {
    if (group == nullptr || group->getObjects() == nullptr) return;
    for (CCTMXObject* object : *group->getObjects()) {
        const std::string name = textOf(object, "name");
        const std::string className = classForObjectName(name);
        if (className.empty()) continue; // spawn points and other markers
        KVActor* actor = createActor(className, "object \"" + name + "\" of \"" + group->name + "\"");
        if (actor == nullptr) continue;
        if (!actor->initWithDictionary(objectDictionary(object)))
            logDebugMessage("KVGameModel: object \"%s\" of \"%s\" could not be made, dropped", name.c_str(),
                            group->name.c_str());
    }
}

void KVGameModel::createObjectFromDescription(CCString* description, b2Body* body) {
    if (description == nullptr) return;
    KVActor* current = nullptr;
    for (const std::string& part : kvdescription::split(description->text, ',')) {
        const kvdescription::Pair pair = kvdescription::splitPair(part, '=');
        if (!pair.valid) {
            logDebugMessage("KVGameModel: object description \"%s\": part \"%s\" skipped",
                            description->text.c_str(), part.c_str());
            continue;
        }
        if (pair.key == "object") {
            current = nullptr;
            const std::string className = classForObjectName(pair.value);
            if (className.empty()) {
                logDebugMessage("KVGameModel: object description \"%s\": unknown object \"%s\"",
                                description->text.c_str(), pair.value.c_str());
                continue;
            }
            KVActor* actor = createActor(className, "object \"" + pair.value + "\" of the drawing");
            if (actor == nullptr) continue;
            if (!actor->initWithBody(body)) {
                logDebugMessage("KVGameModel: object \"%s\" of the drawing could not be made, dropped",
                                pair.value.c_str());
                continue;
            }
            current = actor;
        } else if (pair.key == "objectparams") {
            kvdata::Dict* parameters = kvdata::newDict();
            for (const std::string& piece : kvdescription::split(pair.value, ';')) {
                const kvdescription::Pair parameter = kvdescription::splitPair(piece, ':');
                if (!parameter.valid) {
                    logDebugMessage("KVGameModel: object description \"%s\": parameter \"%s\" skipped",
                                    description->text.c_str(), piece.c_str());
                    continue;
                }
                kvdata::setText(parameters, parameter.key, parameter.value);
            }
            if (current != nullptr) current->applyParameters(parameters);
        }
    }
}
