#include "RuleMissionFixture.h"

#include <algorithm>
#include <cstdlib>

#include "engine/base/CCNotificationCenter.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/powerups/KVPowerup.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVTriggerEvent.h"
#include "support/MissionTestSupport.h"
#include "support/TestFiles.h"

using kvengine::CCString;

namespace ruletest {

RecordingDialogues* RuleMissionTest::dialogues = nullptr;

namespace {

std::string escaped(const std::string& text) {
    return text;
}

std::string entryText(const Entry& entry, const std::string& typeKey, const std::string& parameterKey) {
    std::string text = "<dict><key>" + typeKey + "</key><string>" + escaped(entry.type) + "</string><key>" +
                       parameterKey + "</key><array>";
    for (const std::string& parameter : entry.parameters)
        text += "<string>" + escaped(parameter) + "</string>";
    return text + "</array></dict>\n";
}

std::string object(const char* name, int x, int y, const std::string& properties = "") {
    std::string text = "  <object name=\"" + std::string(name) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
                       std::to_string(y) + "\" width=\"32\" height=\"32\"";
    if (properties.empty()) return text + "/>\n";
    return text + "><properties>" + properties + "</properties></object>\n";
}

std::string property(const char* name, const char* value) {
    return "<property name=\"" + std::string(name) + "\" value=\"" + value + "\"/>";
}

// 30 x 19 tiles of 32 points: the team on the left, the crabs on the right, the reach point and the
// spawner far from everyone.
std::string missionMap() {
    const std::string objects = object("SpawnPoint1", 64, 400) + object("SpawnPoint2", 128, 400) +
                                object("AISpawnPoint", 700, 400, property("Name", "rulecrab")) +
                                object("AISpawnPoint", 800, 400, property("Name", "rulecrab")) +
                                object("Trigger", 448, 64, property("Name", "Gate")) +
                                object("PSpawner", 600, 64, property("Name", "Nest"));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.0\" orientation=\"orthogonal\" "
           "width=\"30\" height=\"19\" tilewidth=\"32\" tileheight=\"32\">\n <objectgroup "
           "name=\"Objects\">\n" +
           objects +
           " </objectgroup>\n <objectgroup name=\"PowerUpSpawners\"/>\n <objectgroup "
           "name=\"GPE\"/>\n</map>\n";
}

kvdata::Dict* missionDefinition(int item) {
    kvdata::Dict* definition = kvdata::newDict();
    kvdata::setInt(definition, "item_number", item);
    kvdata::Dict* victory = kvdata::newDict();
    kvdata::setText(victory, "condition", "KillAllEnemies");
    definition->setObject(victory, "victory_condition");
    kvdata::Dict* fail = kvdata::newDict();
    kvdata::setText(fail, "condition", "AllKelvosDead");
    definition->setObject(fail, "fail_condition");
    return definition;
}

void setName(KVGameSetup* setup, const std::string& name, bool chapter) {
    CCString* text = kvdata::newString(name);
    if (chapter)
        setup->setChapterName(text);
    else
        setup->setMissionName(text);
}

} // namespace

std::string ruleFile(const std::vector<Rule>& rules, const std::string& conditionKey,
                     const std::string& effectKey) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<array>\n";
    for (const Rule& rule : rules) {
        text += "<dict><key>ConditionList</key><array>\n";
        for (const Entry& entry : rule.conditions)
            text += entryText(entry, conditionKey, "ConditionParameter");
        text += "</array><key>EffectList</key><array>\n";
        for (const Entry& entry : rule.effects)
            text += entryText(entry, effectKey, "EffectParameter");
        text += "</array></dict>\n";
    }
    return text + "</array>\n</plist>\n";
}

void RuleMissionTest::SetUp() {
    frame = 0;
    kelvos.clear();
    enemies.clear();
    m_nextKelvo = 0;
    profileFolder = kvtest::makeTempFolder("rulesprofile");
    setenv("XDG_DATA_HOME", profileFolder.c_str(), 1);
    kvtest::releaseGameData();
    kvConnectGameServices();
    KVObjectFactory::registerGameClasses();
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    m_folder = kvtest::makeTempFolder("rules");
    KVPhysWorld::getInstance()->setFixedTimeStep(true);
    KVPawnManager::getInstance();

    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->solo = true;
    setup->playerCount = 1;
    setup->getTeamKelvoNames()->removeAllObjects();
    setup->getTeamSpawnPoints()->removeAllObjects();
    for (const char* name : {"steev", "vahine"})
        setup->getTeamKelvoNames()->addObject(kvdata::newString(name));
    for (const char* spawn : {"SpawnPoint1", "SpawnPoint2"})
        setup->getTeamSpawnPoints()->addObject(kvdata::newString(spawn));

    // The crabs and the chapter of two missions, with their records in a new profile.
    KVGameParameters* parameters = KVGameParameters::getInstance();
    kvdata::Dict* crab = pawntest::fighterStats({{"engine_class", "KVCrab"}});
    parameters->getKelvoAiStatsTable()->setObject(crab, "rulecrab");
    kvdata::Dict* chapter = kvdata::newDict();
    chapter->setObject(missionDefinition(0), kFirstMission);
    chapter->setObject(missionDefinition(1), kLastMission);
    parameters->getMissionDefinitions()->setObject(chapter, kChapter);
    kvdata::Dict* missions = kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "MissionSolo");
    ASSERT_NE(missions, nullptr);
    kvdata::Dict* records = kvdata::newDict();
    for (const char* mission : {kFirstMission, kLastMission}) {
        kvdata::Dict* record = kvdata::newDict();
        kvdata::setInt(record, "status_locked", 1);
        kvdata::setInt(record, "status_played", 0);
        records->setObject(record, mission);
    }
    missions->setObject(records, kChapter);
    kvdata::Dict* chapters = kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "ChapiterSolo");
    ASSERT_NE(chapters, nullptr);
    kvdata::Dict* chapterRecord = kvdata::newDict();
    kvdata::setInt(chapterRecord, "status_played", 0);
    chapters->setObject(chapterRecord, kChapter);
    // The power-ups of a profile made from the game data, none seen yet.
    kvdata::Dict* powerups = kvdata::dictAt(KVPlayerParameters::getInstance()->getProfile(), "Powerup");
    ASSERT_NE(powerups, nullptr);
    for (const char* name : {"energy_drink", "sushi", "spiky_shell", "ninja_log", "shuriken"})
        kvdata::setText(powerups, name, "NO");

    dialogues = new RecordingDialogues();
    KVDialogueService::setSharedSource([]() -> KVDialogueService* { return dialogues; },
                                       []() -> KVDialogueService* { return dialogues; });
    trace = new pawntest::Trace({EVENT_MISSION_OBJECTIVE, EVENT_TRIGGER_ENABLE, EVENT_TRIGGER_DISABLE,
                                 EVENT_SPAWN_PAWN, EVENT_VICTORY_DANCE, EVENT_LOOSE_DANCE});
}

void RuleMissionTest::TearDown() {
    if (trace != nullptr) trace->release();
    trace = nullptr;
    if (ally != nullptr) ally->release();
    ally = nullptr;
    kvtest::endMission(model);
    model = nullptr;
    kvConnectGameServices();
    delete dialogues;
    dialogues = nullptr;
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    kvtest::releaseGameData();
    unsetenv("XDG_DATA_HOME");
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
    std::filesystem::remove_all(profileFolder, ignored);
}

bool RuleMissionTest::start(const std::string& mission, const std::string& rules) {
    // A folder per file: the resource index keeps what it has seen.
    const std::string folder = m_folder + "/" + std::to_string(++m_files);
    std::filesystem::create_directories(folder);
    if (!kvtest::writeTextFile(folder + "/" + mission + "_RULE.plist", rules)) return false;
    if (!kvtest::writeTextFile(folder + "/level.tmx", missionMap())) return false;
    kvengine::CCResourceIndex::getInstance()->scanFolder(folder + "/");
    KVGameSetup* setup = KVGameSetup::getInstance();
    setName(setup, kChapter, true);
    setName(setup, mission, false);
    // Every other mission gets the same definition, in a chapter of its own.
    KVGameParameters* parameters = KVGameParameters::getInstance();
    if (parameters->findMissionDefinition(mission) == nullptr) {
        kvdata::Dict* chapter = kvdata::newDict();
        chapter->setObject(missionDefinition(0), mission);
        parameters->getMissionDefinitions()->setObject(chapter, "C" + mission);
    }
    kvengine::CCTMXTiledMap* map = kvengine::CCTMXTiledMap::createWithFile((folder + "/level.tmx").c_str());
    if (map == nullptr) return false;
    model = new KVGameModel();
    if (!model->buildLevel(map)) return false;
    KVPawnManager* pawns = KVPawnManager::getInstance();
    for (unsigned i = 0; i < pawns->getPlayerPawns()->count(); ++i)
        if (!pawns->getPlayerPawns()->objectAtIndex(i)->isAIDriven())
            kelvos.push_back(pawns->getPlayerPawns()->objectAtIndex(i));
    ally = pawntest::TestPawn::make("ally", 20.0f, 2.0f, pawntest::fighterStats(), false, true);
    return true;
}

std::string RuleMissionTest::play(const std::string& script) {
    auto post = [](CCString* name, kvengine::CCObject* object = nullptr) {
        kvengine::CCNotificationCenter::getInstance()->postNotification(name, object);
    };
    auto trigger = [&](KVPawn* pawn) {
        auto* event = new KVTriggerEvent(kvdata::newString("Gate"), pawn, true);
        post(EVENT_TRIGGER_TRIGGERED, event);
        event->release();
    };
    auto nextEnemy = [&]() -> KVPawn* {
        // The pawn manager's list in order, spawned enemies included; each leaves once.
        kvengine::CCMutableArray<KVPawn*>* all = KVPawnManager::getInstance()->getEnemyPawns();
        for (unsigned i = 0; i < all->count(); ++i) {
            KVPawn* pawn = all->objectAtIndex(i);
            if (std::find(enemies.begin(), enemies.end(), pawn) == enemies.end()) {
                enemies.push_back(pawn);
                return pawn;
            }
        }
        return nullptr;
    };
    trace->clear();
    for (char step : script) {
        switch (step) {
        case 'U':
            trace->frame = ++frame;
            model->update(kFrameTime);
            kvengine::CCAutoreleasePoolStack::getInstance().pop();
            kvengine::CCAutoreleasePoolStack::getInstance().push();
            break;
        case 'T':
            post(EVENT_TURN_START_PLAYER);
            break;
        case 'k':
            post(EVENT_REMOVE_ACTOR, kelvos.at(m_nextKelvo++));
            break;
        case 'e': {
            KVPawn* enemy = nextEnemy();
            EXPECT_NE(enemy, nullptr) << "no enemy left";
            if (enemy != nullptr) post(EVENT_REMOVE_ACTOR, enemy);
            break;
        }
        case 'a':
            post(EVENT_REMOVE_ACTOR, ally);
            break;
        case 'R':
            trigger(kelvos.at(0));
            break;
        case 'r':
            trigger(ally);
            break;
        case 'X': {
            KVPawn* enemy = KVPawnManager::getInstance()->getEnemyPawns()->objectAtIndex(0);
            trigger(enemy);
            break;
        }
        case 'O':
            post(EVENT_OOF_ACTIVE);
            break;
        case 'P':
            post(EVENT_PAWN_SELECTED, kelvos.at(0));
            break;
        case 'D':
            post(EVENT_DASH_ACTIVE);
            break;
        case 'S':
            post(EVENT_END_SPEECH, kvdata::newString("Rule_CHATin"));
            break;
        case 's':
            post(EVENT_END_SPEECH, kvdata::newString("Rule_CHATzz"));
            break;
        case 'M':
            post(EVENT_MOVE_OVER_BEFORE_BUFFER);
            break;
        case 'p': {
            auto* sushi = new KVPowerup();
            sushi->kind = 1;
            kelvos.at(0)->addModifier(sushi);
            sushi->release();
            break;
        }
        default:
            ADD_FAILURE() << "unknown step " << step;
        }
    }
    std::string lines;
    for (size_t i = 0; i < trace->lines.size(); ++i) {
        std::string line = trace->lines[i];
        // The objects do not matter here: only the names.
        line = line.substr(0, line.find(' '));
        lines += (lines.empty() ? "" : " ") + std::to_string(trace->frames[i]) + ":" + line;
    }
    return lines;
}

} // namespace ruletest
