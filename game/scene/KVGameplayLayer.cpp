#include "game/scene/KVGameplayLayer.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCSet.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/tilemaps/CCTMXObjectGroup.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGlobalNames.h"
#include "game/camera/KVCamera.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/model/KVGameController.h"
#include "game/model/KVGameModel.h"
#include "game/rules/KVRule.h"
#include "game/rules/KVRuleEffects.h"
#include "game/rules/KVRuleManager.h"
#include "game/world/KVActor.h"
#include "game/world/KVObjectFactory.h"
#include "game/world/KVSpriteSheet.h"

using namespace kvengine;

namespace {

// Sheets every mission loads, with their z among the layer's children.
struct SheetRow {
    const char* name;
    int z;
};
const SheetRow kMissionSheets[] = {
    {"global_ss", 0},
    {"top_sfx_51_ss", 400},
    {"low_sfx_51_ss", -99},
    {"top_sfx_88_ss", 400},
    {"low_sfx_88_ss", -100},
    {"low_sfx_PVRTC4_ss", -102},
    {"low_sfx_PVRTC4_2_ss", -101},
};
const char* const kBossSheet = "coconut_crab_body_ss";
const char* const kBossPartSheets[] = {"coconut_crab_l_arm_ss", "coconut_crab_r_arm_ss",
                                       "coconut_crab_l_claw_ss", "coconut_crab_r_claw_ss",
                                       "coconut_crab_head_ss"};
const char* const kBossEffectSheets[] = {"coconut_crab_sfx_ss", "coconut_crab_sfx_weakpoint_ss"};
constexpr int kPawnSheetZ = 100;
constexpr int kHelmetSheetZ = 200;
constexpr int kBossPartZ = 300;
constexpr int kBossEffectZ = 301;
constexpr int kMapZ = -1000;
constexpr int kHiddenCharacterZ = -105;

// Adds the frames of a sheet's plist only; false (logged) when it is missing.
bool addSheetFrames(const std::string& sheetName) {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string plist = sheetName + ".plist";
    if (!index->containsFileName(plist)) {
        logDebugMessage("KVGameplayLayer: no sprite sheet %s", plist.c_str());
        return false;
    }
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(plist).c_str());
    return true;
}

std::string helmetSheet(const std::string& helmetName) {
    return kvdata::textAt(KVGameParameters::getInstance()->getHelmetDefinition(helmetName),
                          "spritesheet_name");
}

} // namespace

bool KVGameplayLayer::initWithMap(CCTMXTiledMap* map) {
    if (map == nullptr) {
        logDebugMessage("KVGameplayLayer: no tile map to play on");
        return false;
    }
    if (!CCLayer::init()) return false;
    m_map = map;
    const float contentScale = CCDirector::getInstance()->getContentScaleFactor();
    const CCSize extent(map->getMapSize().width * map->getTileSize().width / contentScale,
                        map->getMapSize().height * map->getTileSize().height / contentScale);
    setTouchSize(extent);
    addChildAtZ(map, kMapZ);
    scheduleUpdate();
    setTouchEnabled(true);
    m_nextSheetTag = kFirstSheetTag;
    m_nextChildTag = kFirstChildTag;
    m_views.adopt(new CCMutableArray<KVActorV*>());
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVGameplayLayer::onNewActor), EVENT_NEW_ACTOR);
    centre->addObserver(this, notification_selector(KVGameplayLayer::onGameShutdown), EVENT_GAME_SHUTDOWN);
    setScaleX(1.0f);
    setScaleY(1.0f);

    m_camera.adopt(new KVCamera());
    m_camera->attachToLayer(this);

    m_tapRecognizer.adopt(new CCTapGestureRecognizer());
    m_tapRecognizer->setNumberOfTapsRequired(1);
    m_tapRecognizer->setCallback(this, gesture_selector(KVGameplayLayer::onTap));
    addGestureRecognizer(m_tapRecognizer);

    m_sheets.adopt(new CCMutableDictionary<std::string, CCSpriteBatchNode*>());
    for (const SheetRow& row : kMissionSheets)
        loadSpriteSheet(row.name, row.z);
    addSheetFrames("frontend_helmet_ss");
    loadSpriteSheet("hidden_char1_TC2_ss", kHiddenCharacterZ);
    if (KVPlayerParameters::getInstance()->getConsumableAmount("mighty_kraken") > 0) {
        for (const char* sheet : {"kraken_fx_a_ss", "kraken_fx_b_ss", "kraken_fx_c_ss"})
            addSheetFrames(sheet);
    }
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVGameParameters* parameters = KVGameParameters::getInstance();
    for (CCString* name : *setup->getTeamKelvoNames()) {
        const std::string sheet =
            kvdata::textAt(parameters->getKelvoStats(name->c_str()), "spritesheet_name");
        if (!sheet.empty()) loadSpriteSheet(sheet, kPawnSheetZ);
    }
    for (CCString* helmet : *setup->getTeamHelmetNames()) {
        if (helmet == nullptr || helmet->c_str()[0] == '\0') continue;
        const std::string sheet = helmetSheet(helmet->c_str());
        if (!sheet.empty()) loadSpriteSheet(sheet, kHelmetSheetZ);
    }
    if (CCTMXObjectGroup* objects = map->findObjectGroupByName("Objects")) {
        for (CCTMXObject* object : *objects->getObjects()) {
            CCString* kind = object->objectForKey("name");
            CCString* pawn = object->objectForKey("Name");
            if (kind != nullptr && pawn != nullptr && std::string(kind->c_str()) == "AISpawnPoint")
                loadPawnSheets(pawn->c_str(), true);
        }
    }
    return true;
}

void KVGameplayLayer::setGameModel(KVGameModel* model) {
    m_model = model;
    // Pawns that the mission's rules bring in later find their sheets loaded.
    KVRuleManager* rules = KVRuleManager::existingInstance();
    if (rules == nullptr || rules->getRules() == nullptr) return;
    for (KVRule* rule : *rules->getRules()) {
        if (rule == nullptr || rule->getEffects() == nullptr) continue;
        for (KVRuleEffect* effect : *rule->getEffects()) {
            if (effect == nullptr || !effect->isKindOf("KVEffectSpawnPawn")) continue;
            auto* spawn = static_cast<KVEffectSpawnPawn*>(effect);
            if (spawn->getPawnName() != nullptr) loadPawnSheets(spawn->getPawnName()->text, spawn->isEnemy());
        }
    }
}

void KVGameplayLayer::setGameController(KVGameController* controller) {
    m_controller = controller;
}

bool KVGameplayLayer::loadSpriteSheet(const std::string& sheetName, int z) {
    if (m_sheets == nullptr) return false;
    if (m_sheets->objectForKey(sheetName) != nullptr) return true;
    CCSpriteBatchNode* batch = kvLoadSheetBatch(sheetName, "KVGameplayLayer");
    if (batch == nullptr) return false;
    addChildAtZWithTag(batch, z, m_nextSheetTag++);
    m_sheets->setObject(batch, sheetName);
    return true;
}

bool KVGameplayLayer::addChildToSheetAtZ(const std::string& sheetName, CCNode* child, int z) {
    CCSpriteBatchNode* batch = getSheet(sheetName);
    if (batch == nullptr || child == nullptr) {
        logDebugMessage("KVGameplayLayer: %s refused for sheet %s, which is not loaded",
                        child == nullptr ? "a null sprite" : "a sprite", sheetName.c_str());
        return false;
    }
    batch->addChildAtZWithTag(child, z, m_nextChildTag++);
    return true;
}

CCSpriteBatchNode* KVGameplayLayer::getSheet(const std::string& sheetName) const {
    return m_sheets != nullptr ? m_sheets->objectForKey(sheetName) : nullptr;
}

CCNode* KVGameplayLayer::viewSheet(const std::string& sheetName) {
    return getSheet(sheetName);
}

void KVGameplayLayer::loadPawnSheets(const std::string& pawnName, bool isAI) {
    KVGameParameters* parameters = KVGameParameters::getInstance();
    kvdata::Dict* stats = isAI ? parameters->getKelvoAiStats(pawnName) : parameters->getKelvoStats(pawnName);
    if (stats == nullptr) {
        logDebugMessage("KVGameplayLayer: no stats for pawn %s", pawnName.c_str());
        return;
    }
    const std::string sheet = kvdata::textAt(stats, "spritesheet_name");
    if (!sheet.empty()) loadSpriteSheet(sheet, kPawnSheetZ);
    if (sheet == kBossSheet) {
        for (const char* part : kBossPartSheets)
            loadSpriteSheet(part, kBossPartZ);
        for (const char* effect : kBossEffectSheets)
            loadSpriteSheet(effect, kBossEffectZ);
    }
    const std::string helmet = kvdata::textAt(stats, "Default Helmet");
    if (!helmet.empty()) {
        const std::string helmetSheetName = helmetSheet(helmet);
        if (!helmetSheetName.empty()) loadSpriteSheet(helmetSheetName, kHelmetSheetZ);
    }
}

void KVGameplayLayer::removeActorView(KVActorV* view) {
    if (m_views != nullptr && view != nullptr) m_views->removeObject(view);
}

void KVGameplayLayer::onNewActor(CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVActor") || m_views == nullptr) return;
    auto* actor = static_cast<KVActor*>(object);
    const std::string viewClass = actor->viewClassName();
    if (viewClass.empty()) return;
    CCObject* made = KVObjectFactory::create(viewClass);
    auto* view = dynamic_cast<KVActorV*>(made);
    if (view == nullptr) {
        if (made != nullptr) {
            logDebugMessage("KVGameplayLayer: %s is no actor view", viewClass.c_str());
            made->release();
        }
        return;
    }
    if (!view->initWithActor(actor, this)) {
        logDebugMessage("KVGameplayLayer: the %s of an actor could not be made; it is not shown",
                        viewClass.c_str());
        view->release();
        return;
    }
    m_views->addObject(view);
    view->release();
}

void KVGameplayLayer::onGameShutdown(CCNotification*) {
    m_camera.reset();
}

void KVGameplayLayer::update(float dt) {
    if (m_model == nullptr) return;
    retain();
    m_model->update(dt);
    if (m_views != nullptr) {
        CCMutableArray<KVActorV*>* views = m_views->copy();
        for (KVActorV* view : *views)
            if (view->isAttached()) view->update(dt);
        views->release();
    }
    if (m_camera != nullptr) m_camera->update(dt);
    release();
}

void KVGameplayLayer::cleanup() {
    // The views and the camera retain the layer: dropping them breaks the cycles, also when the
    // program ends during a mission and no shutdown notification reaches the layer.
    if (m_views != nullptr) m_views->removeAllObjects();
    m_camera.reset();
    KVLayer::cleanup();
}

void KVGameplayLayer::cleanupBeforeDelete() {
    removeAllChildren(true);
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_tapRecognizer != nullptr) removeGestureRecognizer(m_tapRecognizer);
    m_tapRecognizer.reset();
    m_camera.reset();
    m_map.reset();
    m_views.reset();
    m_model.reset();
    m_controller.reset();
    m_sheets.reset();
    KVLayer::cleanupBeforeDelete();
}

// ---- input --------------------------------------------------------------------------------

void KVGameplayLayer::registerWithTouchDispatcher() {
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, 0, true);
}

CCPoint KVGameplayLayer::metresForViewPoint(const CCPoint& viewPoint) {
    const CCPoint gl = CCDirector::getInstance()->convertToGL(viewPoint);
    const CCPoint local = convertToNodeSpace(gl);
    return CCPoint(local.x * kMetresPerPoint, local.y * kMetresPerPoint);
}

void KVGameplayLayer::offerToRecognizers(int phase, CCTouch* touch, CCEvent* event) {
    if (CCTouchDispatcher::getInstance()->isRecognizersSuspended()) return;
    CCSet* one = new CCSet();
    one->addObject(touch);
    switch (phase) {
    case kTouchBegan:
        forwardTouchesBeganToRecognizers(one, event);
        break;
    case kTouchMoved:
        forwardTouchesMovedToRecognizers(one, event);
        break;
    case kTouchEnded:
        forwardTouchesEndedToRecognizers(one, event);
        break;
    default:
        forwardTouchesCancelledToRecognizers(one, event);
        break;
    }
    one->release();
}

bool KVGameplayLayer::touchBegan(CCTouch* touch, CCEvent* event) {
    if (m_controller == nullptr || touch == nullptr) return false;
    m_gestureTookTouch = false;
    offerToRecognizers(kTouchBegan, touch, event);
    const CCPoint p = metresForViewPoint(touch->getLocationInView());
    const bool pull = m_controller->onTouchBegan(p.x, p.y);
    if (pull) m_pullTouch = touch;
    return pull || m_gestureTookTouch;
}

void KVGameplayLayer::touchMoved(CCTouch* touch, CCEvent* event) {
    if (m_controller == nullptr || touch == nullptr) return;
    offerToRecognizers(kTouchMoved, touch, event);
    if (touch != m_pullTouch) return;
    const CCPoint p = metresForViewPoint(touch->getLocationInView());
    m_controller->onTouchMoved(p.x, p.y);
}

void KVGameplayLayer::touchEnded(CCTouch* touch, CCEvent* event) {
    if (m_controller == nullptr || touch == nullptr) return;
    offerToRecognizers(kTouchEnded, touch, event);
    if (touch != m_pullTouch) return;
    m_pullTouch = nullptr;
    const CCPoint p = metresForViewPoint(touch->getLocationInView());
    m_controller->onTouchEnded(p.x, p.y);
}

void KVGameplayLayer::touchCancelled(CCTouch* touch, CCEvent* event) {
    if (m_controller == nullptr || touch == nullptr) return;
    offerToRecognizers(kTouchCancelled, touch, event);
    if (touch != m_pullTouch) return;
    m_pullTouch = nullptr;
    m_controller->onTouchCancelled();
}

void KVGameplayLayer::onTap(CCGestureRecognizer* recognizer, CCNode*) {
    auto* tap = dynamic_cast<CCTapGestureRecognizer*>(recognizer);
    if (tap == nullptr || m_controller == nullptr) return;
    const CCPoint p = metresForViewPoint(tap->getLocation());
    m_controller->onTap(p.x, p.y);
}

bool KVGameplayLayer::shouldRecognizerReceiveTouch(CCGestureRecognizer* recognizer, CCTouch* touch) {
    if (m_controller == nullptr || touch == nullptr) return false;
    const CCPoint p = metresForViewPoint(touch->getLocationInView());
    const bool taken = m_controller->shouldReceiveGesture(recognizer, p.x, p.y);
    m_gestureTookTouch = m_gestureTookTouch || taken;
    return taken;
}

bool KVGameplayLayer::shouldRecognizerHandleTouches(CCGestureRecognizer* recognizer) {
    return m_controller != nullptr && m_controller->shouldBeginGesture(recognizer);
}
