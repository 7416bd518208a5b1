#include "game/hud/KVPauseScene.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVHudLayer.h"
#include "game/menu/KVButton.h"
#include "game/model/KVGameController.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVTurnManager.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/results/KVResultScreens.h"
#include "game/scene/KVGameplayScene.h"
#include "game/score/KVScoreManager.h"
#include "game/score/KVScoreManagerSolo.h"

using namespace kvengine;

namespace {

constexpr int kButtonZ = 2;
constexpr int kTitleZ = 1000;
constexpr int kBackdropZ = 1;
// A frame of the menus' sheets that the buttons are drawn with.
constexpr const char* kButtonFrame = "Kv_BT_Up.png";

// The mission scene under the HUD that hosts `node`, or null.
KVGameplayScene* missionSceneOf(CCNode* node) {
    for (CCNode* up = node; up != nullptr; up = up->getParent())
        if (up->isKindOf("KVGameplayScene")) return static_cast<KVGameplayScene*>(up);
    return nullptr;
}

// The running mission's model: the game setup's current one.
KVGameModel* runningModel() {
    CCObject* model = KVGameSetup::getInstance()->getCurrentGameModel();
    return model != nullptr && model->isKindOf("KVGameModel") ? static_cast<KVGameModel*>(model) : nullptr;
}

void markPlayedAndSave() {
    KVGameSetup* setup = KVGameSetup::getInstance();
    if (!setup->solo) return;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const std::string chapter = kvdata::textOf(setup->getChapterName());
    profile->setChapterPlayed(chapter);
    profile->setMissionPlayed(kvdata::textOf(setup->getMissionName()), chapter);
    if (!profile->saveProfile()) logDebugMessage("pause: the profile could not be saved");
}

void bankPearlsAndUsage() {
    KVGameModel* model = runningModel();
    KVScoreManager* score = model != nullptr ? model->getScoreManager() : nullptr;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    int pearls = score != nullptr ? score->getScore() : 0;
    if (profile->getConsumableAmount("pearlfish") > 0) pearls *= 2;
    if (pearls > 0) profile->addPearls(pearls);
    KVConsumableManager::getInstance()->flushUsage();
}

void releaseDialogueHost() {
    if (KVChatterManager* chatter = KVChatterManager::existingInstance()) chatter->setHostScene(nullptr);
}

} // namespace

KVPauseScene::KVPauseScene(KVHudLayer* hud) {
    (void)hud;
    if (!init()) return;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->postNotification(SCREEN_INGAME_PAUSE);
    const CCSize window = CCDirector::getInstance()->getWinSize();
    const float w = window.width;
    const float h = window.height;
    if (CCLayerColor* backdrop = CCLayerColor::createWithColor(ccColor4B{0, 0, 0, 150}, w, h)) {
        backdrop->setAnchorPoint(CCPointZero);
        backdrop->setPosition(CCPointZero);
        addChildAtZWithTag(backdrop, kBackdropZ, kBackdropTag);
    }
    CCObject* objective = KVGameSetup::getInstance()->getMissionObjective();
    CCString* text =
        objective != nullptr && objective->isKindOf("CCString") ? static_cast<CCString*>(objective) : nullptr;
    const char16_t* wide = text != nullptr ? text->makeWideString() : u"";
    if (CCLabelTTF* title = CCLabelTTF::createWithWideString(wide, KVHudLayer::kGameFont, 24.0f)) {
        title->setColor(ccColor3B{255, 255, 255});
        title->setAnchorPoint(CCPoint(0.5f, 0.5f));
        title->setPosition(CCPoint(w / 2, 3 * h / 4));
        addChildAtZWithTag(title, kTitleZ, kTitleTag);
    }
    // The way into the mission emptied the frame cache: the buttons and the quit pop-up need the
    // menus' frames again (loaded once, at the first pause of the mission).
    if (!CCSpriteFrameCache::getInstance()->hasSpriteFrame(kButtonFrame)) kvresults::reloadMenuFrames();
    struct Row {
        const char* key;
        float y;
        int tag;
        SEL_MenuHandler handler;
    };
    const Row rows[] = {
        {"Pause continue", 3 * h / 8 + h / 6, kContinueTag, menu_selector(KVPauseScene::onContinue)},
        {"Pause restart", 3 * h / 8, kRestartTag, menu_selector(KVPauseScene::onRestart)},
        {"Pause quit", 3 * h / 8 - h / 6, kQuitTag, menu_selector(KVPauseScene::onQuit)},
    };
    for (const Row& row : rows) {
        if (CCNode* button = kvresults::addButton(this, row.key, w / 2, row.y, kButtonZ, this, row.handler))
            button->setTag(row.tag);
    }
    centre->addObserver(this, notification_selector(KVPauseScene::onPopUpClosed), EVENT_POP_UP_CLOSED);
    centre->addObserver(this, notification_selector(KVPauseScene::onPopUpCancelled), EVENT_POP_UP_CANCELLED);
    schedule(schedule_selector(KVPauseScene::registerKeyObserver), kKeyDelay);
    setTouchEnabled(true);
}

void KVPauseScene::registerKeyObserver(float) {
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVPauseScene::onKeyPress),
                                                     ccEventKeyPress());
    unschedule(schedule_selector(KVPauseScene::registerKeyObserver));
}

void KVPauseScene::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    removeAllChildren(true);
    KVLayer::cleanupBeforeDelete();
}

void KVPauseScene::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

bool KVPauseScene::touchBegan(CCTouch* touch, CCEvent*) {
    if (touch == nullptr) return true;
    if (m_asking) return false;
    const CCPoint point = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    for (int tag : {kContinueTag, kRestartTag, kQuitTag}) {
        CCNode* button = getChildByTag(tag);
        if (button == nullptr) continue;
        const CCSize size = button->getContentSize();
        const CCPoint at = button->getPosition();
        const CCRect box(at.x - size.width / 2, at.y - size.height / 2, size.width, size.height);
        // The button's own menu takes it.
        if (rectContainsPoint(box, point)) return false;
    }
    return true;
}

void KVPauseScene::onKeyPress(CCNotification* notification) {
    const std::string key = kvdata::textOf(notification != nullptr ? notification->getObject() : nullptr);
    if (key == "TOUCH_SPACE" || key == "TOUCH_ESCAPE") onContinue(nullptr);
}

void KVPauseScene::onContinue(CCObject*) {
    if (KVGameplayScene* scene = missionSceneOf(this)) {
        if (KVGameController* controller = scene->getGameController()) {
            controller->paused = false;
            if (KVGameModel* model = controller->getModel()) {
                if (KVTurnManager* turns = model->getTurnManager()) turns->setPaused(false);
                KVScoreManager* score = model->getScoreManager();
                if (score != nullptr && score->isKindOf("KVScoreManagerSolo"))
                    static_cast<KVScoreManagerSolo*>(score)->setPaused(false);
            }
        }
    }
    // The layer may go with its parent: keep it for the rest of this call.
    retain();
    removeFromParent(true);
    release();
}

void KVPauseScene::bankMission() {
    bankPearlsAndUsage();
    releaseDialogueHost();
    markPlayedAndSave();
}

void KVPauseScene::onRestart(CCObject*) {
    bankMission();
    kvresults::setMissionToLaunch(KVGameSetup::getInstance()->getMissionName());
    kvresults::leaveMission(kReloadMissionKind, false);
}

void KVPauseScene::onQuit(CCObject*) {
    m_asking = true;
    kvresults::openPopUp(kQuitPopUpKind, nullptr);
}

void KVPauseScene::onPopUpCancelled(CCNotification*) {
    m_asking = false;
}

void KVPauseScene::onPopUpClosed(CCNotification*) {
    m_asking = false;
    markPlayedAndSave();
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->setChapterName(kvdata::newString(""));
    setup->setSpareName(kvdata::newString(""));
    releaseDialogueHost();
    bankPearlsAndUsage();
    // The profile now holds the pearls as well.
    if (setup->solo) KVPlayerParameters::getInstance()->saveProfile();
    kvresults::leaveMission(kWorldMapKind, false);
    setup->escapeKeyBlocked = false;
}
