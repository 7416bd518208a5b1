// Feeds arbitrary levels to the level builder. An input is three parts: its first byte picks the
// mode (bit 0 clear: solo, set: multiplayer with 2 + bits 1-2 players, at most the team's four);
// the text up to the first newline is the object description of a drawn shape; the rest is the
// mission's tile map. The map is loaded as the mission scene loads it and built by the game model
// with a team of four (the map's spawn objects decide whether it can be placed); a map that is
// refused or cannot be read gives way to a small well-formed one, so that the description is
// always tried on a built level. The level then runs a second, with the first turn started, and
// shuts down.
// Whatever the input, nothing may crash or leak, a refused build must leave no current model, and
// a built one must be the current model with every body at a finite place.
#include <box2d/box2d.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGlobalNames.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVTurnManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVPhysWorld.h"
#include "game_fuzz_support.h"

using kvengine::CCString;

namespace {

const char* const kTeam[] = {"steev", "vahine", "kiwa", "clint"};

// A level every build accepts: the team's spawn points, a respawn point, a crab, a hole, a sticky
// wall and a coconut.
const char kFallbackMap[] =
    "<map version=\"1.0\" orientation=\"orthogonal\" width=\"30\" height=\"19\" tilewidth=\"32\" "
    "tileheight=\"32\">\n"
    " <objectgroup name=\"Objects\">\n"
    "  <object name=\"SpawnPoint1\" x=\"64\" y=\"96\" width=\"32\" height=\"32\"/>\n"
    "  <object name=\"SpawnPoint2\" x=\"64\" y=\"192\" width=\"32\" height=\"32\"/>\n"
    "  <object name=\"SpawnPoint3\" x=\"64\" y=\"288\" width=\"32\" height=\"32\"/>\n"
    "  <object name=\"SpawnPoint4\" x=\"64\" y=\"384\" width=\"32\" height=\"32\"/>\n"
    "  <object name=\"SpawnPoint\" x=\"160\" y=\"160\" width=\"32\" height=\"32\"/>\n"
    "  <object name=\"AISpawnPoint\" x=\"700\" y=\"300\" width=\"32\" height=\"32\">\n"
    "   <properties><property name=\"Name\" value=\"crab\"/></properties>\n"
    "  </object>\n"
    " </objectgroup>\n"
    " <objectgroup name=\"Holes\"><object name=\"Hole\" x=\"448\" y=\"224\" width=\"64\" height=\"64\"/>"
    "</objectgroup>\n"
    " <objectgroup name=\"Collisions\"><object name=\"Kelp\" x=\"0\" y=\"96\" width=\"24\" height=\"224\">"
    "<properties><property name=\"isStickyWall\" value=\"1\"/></properties></object></objectgroup>\n"
    " <objectgroup name=\"PowerUpSpawners\"/>\n"
    " <objectgroup name=\"GPE\"><object name=\"Coconut\" x=\"300\" y=\"200\" width=\"32\" height=\"32\"/>"
    "</objectgroup>\n"
    "</map>\n";

std::string mapPath() {
    return kvfuzz::resourceFolder() + "/FuzzLevel.tmx";
}

void setTeam(KVGameSetup* setup, bool solo, int playerCount) {
    setup->solo = solo;
    setup->playerCount = playerCount;
    setup->getTeamKelvoNames()->removeAllObjects();
    setup->getTeamHelmetNames()->removeAllObjects();
    setup->getTeamSpawnPoints()->removeAllObjects();
    for (int i = 0; i < 4; ++i) {
        setup->getTeamKelvoNames()->addObject(kvdata::newString(kTeam[i]));
        setup->getTeamHelmetNames()->addObject(kvdata::newString(""));
        setup->getTeamSpawnPoints()->addObject(kvdata::newString("SpawnPoint" + std::to_string(i + 1)));
    }
}

// The map at `text`, built by a new model; null (with nothing of the mission left) when the map
// cannot be read or the build refuses it.
KVGameModel* build(const std::string& text) {
    if (!kvfuzz::writeFile(mapPath(), text)) std::abort();
    kvengine::CCTMXTiledMap* map = kvengine::CCTMXTiledMap::createWithFile(mapPath().c_str());
    if (map == nullptr) return nullptr;
    auto* model = new KVGameModel();
    if (model->buildLevel(map)) return model;
    // A refusal happens before anything of the level is made.
    if (KVGameSetup::getInstance()->getCurrentGameModel() == model) std::abort();
    model->release();
    return nullptr;
}

void checkBodies() {
    for (b2Body* body = KVPhysWorld::getInstance()->getWorld()->GetBodyList(); body; body = body->GetNext())
        if (!std::isfinite(body->GetPosition().x) || !std::isfinite(body->GetPosition().y)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kvfuzz::setUpGameFolders("level");
    KVObjectFactory::registerGameClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1u << 16)) return 0;
    const bool solo = (data[0] & 1) == 0;
    const int playerCount = solo ? 1 : 2 + ((data[0] >> 1) & 3) % 3;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t newline = rest.find('\n');
    const std::string description = rest.substr(0, newline);
    const std::string mapText = newline == std::string::npos ? std::string() : rest.substr(newline + 1);

    kvengine::CCAutoreleasePoolStack::getInstance().push();
    kvfuzz::releaseSharedGameObjects(true);
    kvfuzz::clearUserData();
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->setMissionName(kvdata::newString("FuzzLevel"));
    setTeam(setup, solo, playerCount);
    // The base data's crab has no class; the shipped data names it.
    kvdata::setText(KVGameParameters::getInstance()->getKelvoAiStats("crab"), "engine_class", "KVCrab");
    KVPhysWorld::getInstance()->setFixedTimeStep(true);
    KVPawnManager::getInstance();

    KVGameModel* model = build(mapText);
    if (model == nullptr) model = build(kFallbackMap);
    if (model == nullptr || setup->getCurrentGameModel() != model) std::abort();
    checkBodies();

    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(10.0f, 10.0f);
    b2Body* shape = KVPhysWorld::getInstance()->getWorld()->CreateBody(&def);
    b2CircleShape circle;
    circle.m_radius = 0.5f;
    shape->CreateFixture(&circle, 1.0f);
    auto* text = new CCString(description);
    model->createObjectFromDescription(text, shape);
    text->release();

    model->getTurnManager()->startFirstTurn();
    for (int i = 0; i < 60; ++i)
        model->update(1.0f / 60.0f);
    checkBodies();

    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
    setup->setCurrentGameModel(nullptr);
    model->release();
    if (auto* manager = KVPawnManager::existingInstance()) manager->release();
    if (auto* rules = KVRuleManager::existingInstance()) rules->release();
    KVPhysWorld::getInstance()->release();
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
