#include "game/results/KVFailScreenLayerSolo.h"

#include "engine/actions/CCActions.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/input/CCView.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCClock.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/model/KVGameModel.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/results/KVMissionProgress.h"
#include "game/results/KVResultScreens.h"
#include "game/score/KVScoreManager.h"

using namespace kvengine;

namespace {

constexpr int kVignetteZ = 0;
constexpr int kCornerZ = 2;
constexpr int kPanelZ = 3;
constexpr int kSplatZ = 4;
constexpr int kSignZ = 5;
constexpr int kButtonZ = 10;
constexpr float kStartScale = 0.1f;
constexpr float kSignSwell = 1.3f;

/// A picture of the fail sheets; an empty sprite (logged) when the sheets are not loaded, so the
/// screen still works and its buttons still lead on.
CCSprite* picture(const char* frame) {
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame);
    if (sprite != nullptr) return sprite;
    logDebugMessage("failure screen: no \"%s\"; an empty picture stands in", frame);
    sprite = new CCSprite();
    sprite->autorelease();
    (void)sprite->init();
    return sprite;
}

void setOpacityOf(CCNode* node, uint8_t opacity) {
    if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(node)) rgba->setOpacity(opacity);
}

/// A seed for the splats' offsets from the engine's clock: a different spread at every defeat in
/// play, while a run on a fake clock (tests, the driver) repeats.
unsigned clockSeed() {
    const int64_t counter = CCClock::getShared()->counter();
    return static_cast<unsigned>(counter ^ (counter >> 32));
}

} // namespace

KVFailScreenLayerSolo* KVFailScreenLayerSolo::create(KVGameModel* model) {
    auto* screen = new KVFailScreenLayerSolo(model);
    screen->autorelease();
    return screen;
}

KVFailScreenLayerSolo::KVFailScreenLayerSolo(KVGameModel* model) {
    (void)init();
    m_gameModel = model;
    const CCSize window = CCDirector::getInstance()->getWinSize();
    m_width = window.width;
    m_height = window.height;

    KVGameSetup* setup = KVGameSetup::getInstance();
    const std::string mission = kvdata::textOf(setup->getMissionName());
    const std::string chapter = kvdata::textOf(setup->getChapterName());
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (kvdata::intAt(profile->getMissionRecord(mission, chapter), "status_completed") == 0) {
        m_defeatMessages.adopt(new CCMutableArray<CCString*>());
        kvdata::Array* messages = kvdata::arrayAt(
            KVGameParameters::getInstance()->findMissionDefinition(mission), "defeat_messages");
        for (unsigned i = 0; messages != nullptr && i < messages->count(); ++i)
            if (CCString* message = kvdata::asString(messages->objectAtIndex(i)))
                m_defeatMessages->addObject(message);
    }
    if (profile->getChapterRecord(chapter) != nullptr) profile->setChapterPlayed(chapter);
    profile->setMissionPlayed(mission, chapter);
    profile->saveProfile();
    CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_PLAYER_LOSE, this);
    // The way into the mission emptied the frame cache: the buttons, pop-ups and pearls need the
    // menus' frames again.
    kvresults::reloadMenuFrames();

    m_overlay.adopt(kvresults::makeTapOverlay(this, gesture_selector(KVFailScreenLayerSolo::onTap)));
    m_tapRecognizer =
        static_cast<CCTapGestureRecognizer*>(m_overlay->getGestureRecognizers()->objectAtIndex(0));
    kvresults::showOverlay(m_overlay, true);

    CCSprite* vignette = picture("vignette_fx.png");
    vignette->setAnchorPoint(CCPoint(0.5f, 0.5f));
    vignette->setPosition(CCPoint(m_width / 2, m_height / 2));
    vignette->setOpacity(0);
    addChildAtZWithTag(vignette, kVignetteZ, kVignetteTag);
    stretchVignette();

    m_revealStep = 0;
    CCRandom::seed(clockSeed());
    for (int i = 0; i < kSplats; ++i) {
        const int tag = kFirstSplatTag + i;
        CCSprite* splat = picture("ooze_splat.png");
        const CCSize size = splat->getContentSize();
        const int rx = CCRandom::next() % 200 - 100;
        const int ry = CCRandom::next() % 200 - 100;
        splat->setAnchorPoint(CCPoint(0.5f, 0.5f));
        splat->setPosition(CCPoint(m_width / 2 + (tag - 7) * size.width / 3 + rx * size.width / 1000,
                                   m_height / 2 + ry * size.height / 1000));
        splat->setScale(kStartScale);
        splat->setOpacity(0);
        addChildAtZWithTag(splat, kSplatZ, tag);
    }

    CCSprite* sign = picture("defeat.png");
    sign->setPosition(CCPoint(m_width / 2, m_height / 2));
    sign->setScale(kStartScale);
    sign->setOpacity(0);
    addChildAtZWithTag(sign, kSignZ, kSignTag);

    for (int i = 0; i < kCorners; ++i) {
        CCSprite* corner = picture("ooze_corner.png");
        m_cornerWidth = corner->getContentSize().width;
        m_cornerHeight = corner->getContentSize().height;
        corner->setAnchorPoint(CCPoint(0.5f, 0.5f));
        corner->setRotation(90.0f * i);
        addChildAtZWithTag(corner, kCornerZ, kFirstCornerTag + i);
    }
    const float cw = m_cornerWidth;
    const float ch = m_cornerHeight;
    const CCPoint starts[kCorners] = {CCPoint(m_width + cw / 2, m_height + ch / 2),
                                      CCPoint(m_width + ch / 2, -cw / 2), CCPoint(-cw / 2, -ch / 2),
                                      CCPoint(-ch / 2, m_height + cw / 2)};
    for (int i = 0; i < kCorners; ++i) {
        CCNode* corner = getChildByTag(kFirstCornerTag + i);
        corner->setPosition(starts[i]);
        const CCPoint rest = cornerRest(i);
        corner->runAction(CCMoveBy::createWithDurationPosition(
            kCreepSeconds, CCPoint(rest.x - starts[i].x, rest.y - starts[i].y)));
    }

    vignette->runAction(CCSequence::createWithActions(
        CCDelayTime::createWithDuration(kVignetteDelay), CCFadeIn::createWithDuration(kVignetteFade),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVFailScreenLayerSolo::revealStep))));
}

CCPoint KVFailScreenLayerSolo::cornerRest(int index) const {
    const float cw = m_cornerWidth;
    const float ch = m_cornerHeight;
    switch (index) {
    case 0:
        return CCPoint(m_width - cw / 2, m_height - ch / 2);
    case 1:
        return CCPoint(m_width - ch / 2, cw / 2);
    case 2:
        return CCPoint(cw / 2, ch / 2);
    default:
        return CCPoint(ch / 2, m_height - cw / 2);
    }
}

void KVFailScreenLayerSolo::stretchVignette() {
    CCNode* vignette = getChildByTag(kVignetteTag);
    if (vignette == nullptr) return;
    const CCSize size = vignette->getContentSize();
    if (size.width <= 0 || size.height <= 0) return;
    vignette->setScaleX(m_width / size.width);
    vignette->setScaleY(m_height / size.height);
}

void KVFailScreenLayerSolo::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    kvresults::showOverlay(m_overlay, false);
    m_gameModel.reset();
    m_overlay.reset();
    m_tapRecognizer = nullptr;
    m_defeatMessages.reset();
    KVLayer::cleanupBeforeDelete();
}

void KVFailScreenLayerSolo::payOnce() {
    // The layer may leave and rejoin the stage; the match pays once.
    if (m_paid) return;
    m_paid = true;
    KVScoreManager* score = m_gameModel != nullptr ? m_gameModel->getScoreManager() : nullptr;
    if (score == nullptr) logDebugMessage("failure screen: the match has no score manager; no pearls");
    m_pearlsPaid = KVMissionProgress::pearlLoot(score != nullptr ? score->getScore() : 0);
    if (m_pearlsPaid > 0) KVPlayerParameters::getInstance()->addPearls(m_pearlsPaid);
    if (KVConsumableManager* consumables = KVConsumableManager::existingInstance()) consumables->flushUsage();
}

void KVFailScreenLayerSolo::onEnter() {
    payOnce();
    // Back on the stage: the taps come back too, unless the pop-ups or the close have them.
    if (!m_closing && !m_observingPopUps) kvresults::showOverlay(m_overlay, true);
    KVLayer::onEnter();
}

void KVFailScreenLayerSolo::onExit() {
    // A screen taken off the stage (its scene replaced) no longer takes taps.
    kvresults::showOverlay(m_overlay, false);
    KVLayer::onExit();
}

void KVFailScreenLayerSolo::registerWithTouchDispatcher() {
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, 0, true);
}

bool KVFailScreenLayerSolo::touchBegan(CCTouch*, CCEvent*) {
    return false;
}

void KVFailScreenLayerSolo::revealStep() {
    if (m_done) return;
    const int step = m_revealStep++;
    if (step < kSplats) {
        CCNode* splat = getChildByTag(kFirstSplatTag + step);
        if (splat == nullptr) return;
        splat->runAction(CCSequence::createWithTwoActions(
            CCSpawn::createWithTwoActions(CCFadeIn::createWithDuration(kPopSeconds),
                                          CCScaleTo::createWithDurationScale(kPopSeconds, 1.0f)),
            CCCallFunc::createWithTargetSelector(this,
                                                 callfunc_selector(KVFailScreenLayerSolo::revealStep))));
        return;
    }
    CCNode* sign = getChildByTag(kSignTag);
    if (sign == nullptr) return;
    sign->runAction(CCSequence::createWithTwoActions(
        CCSpawn::createWithTwoActions(CCFadeIn::createWithDuration(kPopSeconds),
                                      CCSequence::createWithTwoActions(
                                          CCScaleTo::createWithDurationScale(kSignSwellSeconds, kSignSwell),
                                          CCScaleTo::createWithDurationScale(kPopSeconds, 1.0f))),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVFailScreenLayerSolo::onRevealDone))));
}

void KVFailScreenLayerSolo::onRevealDone() {
    if (m_done) return;
    m_overlay->setTouchEnabled(true);
    m_done = true;
    if (m_defeatMessages == nullptr || m_defeatMessages->count() == 0) return;
    kvresults::showOverlay(m_overlay, false);
    if (!m_observingPopUps) {
        CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(KVFailScreenLayerSolo::showNextDefeatMessage), EVENT_POP_UP_CLOSED);
        m_observingPopUps = true;
    }
    showNextDefeatMessage();
}

void KVFailScreenLayerSolo::showNextDefeatMessage(CCNotification*) {
    if (m_defeatMessages != nullptr && m_defeatMessages->count() > 0) {
        CCString* message = m_defeatMessages->objectAtIndex(0);
        message->retain();
        m_defeatMessages->removeObjectAtIndex(0);
        kvresults::openPopUp(8, message);
        message->release();
        return;
    }
    if (!m_closing) kvresults::showOverlay(m_overlay, true);
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_observingPopUps = false;
}

void KVFailScreenLayerSolo::skipReveal() {
    for (int tag = kVignetteTag; tag <= kSignTag; ++tag) {
        CCNode* child = getChildByTag(tag);
        if (child == nullptr) continue;
        child->stopAllActions();
        setOpacityOf(child, 255);
        child->setScale(1.0f);
    }
    for (int i = 0; i < kCorners; ++i)
        if (CCNode* corner = getChildByTag(kFirstCornerTag + i)) corner->setPosition(cornerRest(i));
    // The vignette ends stretched over the window, as the played-through reveal leaves it.
    stretchVignette();
    m_revealStep = kSplats + 1;
    onRevealDone();
}

void KVFailScreenLayerSolo::onTap(CCGestureRecognizer*, CCNode*) {
    if (m_closing) return;
    if (!m_done) {
        skipReveal();
        return;
    }
    close();
}

void KVFailScreenLayerSolo::discardNode(CCNode* node) {
    if (node != nullptr && node->getParent() != nullptr) node->removeFromParent(true);
}

void KVFailScreenLayerSolo::close() {
    if (m_closing) return;
    m_closing = true;
    kvresults::showOverlay(m_overlay, false);
    const float w = m_width;
    const float h = m_height;
    struct Panel {
        CCSize size;
        CCPoint start;
        CCPoint move;
        int tag;
    };
    const Panel panels[] = {{CCSize(w, h / 2), CCPoint(0, h), CCPoint(0, -h / 2), kVerticalPanelTag},
                            {CCSize(w / 2, h), CCPoint(w, 0), CCPoint(-w / 2, 0), kSidePanelTag},
                            {CCSize(w, h / 2), CCPoint(0, -h / 2), CCPoint(0, h / 2), kVerticalPanelTag},
                            {CCSize(w / 2, h), CCPoint(-w / 2, 0), CCPoint(w / 2, 0), kSidePanelTag}};
    const ccColor4B black{0, 0, 0, 255};
    for (const Panel& panel : panels) {
        CCLayerColor* layer = CCLayerColor::createWithColor(black, panel.size.width, panel.size.height);
        if (layer == nullptr) continue;
        layer->setPosition(panel.start);
        addChildAtZWithTag(layer, kPanelZ, panel.tag);
        CCFiniteTimeAction* move = CCMoveBy::createWithDurationPosition(kCloseSeconds, panel.move);
        // The left panel arrives last in the list: its arrival starts the lift-up.
        if (&panel == &panels[3])
            move = CCSequence::createWithTwoActions(
                move,
                CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVFailScreenLayerSolo::liftUp)));
        layer->runAction(move);
    }
    const CCPoint anchors[kCorners] = {CCPoint(w, h), CCPoint(w, 0), CCPoint(0, 0), CCPoint(0, h)};
    for (int i = 0; i < kCorners; ++i) {
        CCNode* corner = getChildByTag(kFirstCornerTag + i);
        if (corner == nullptr) continue;
        corner->stopAllActions();
        corner->setAnchorPoint(CCPoint(1.0f, 1.0f));
        corner->setPosition(anchors[i]);
        corner->runAction(CCSequence::createWithTwoActions(
            CCSpawn::createWithTwoActions(
                CCScaleTo::createWithDurationScale(kCloseSeconds, kStartScale),
                CCMoveTo::createWithDurationPosition(kCloseSeconds, CCPoint(w / 2, h / 2))),
            CCCallFuncN::createWithTargetSelector(this,
                                                  callfuncN_selector(KVFailScreenLayerSolo::discardNode))));
    }
}

void KVFailScreenLayerSolo::liftUp() {
    const CCPoint lift(0, m_height / 4);
    for (int tag = kFirstSplatTag; tag < kFirstSplatTag + kSplats; ++tag)
        if (CCNode* splat = getChildByTag(tag))
            splat->runAction(CCMoveBy::createWithDurationPosition(kLiftSeconds, lift));
    CCNode* sign = getChildByTag(kSignTag);
    if (sign == nullptr) {
        showButtons();
        return;
    }
    sign->runAction(CCSequence::createWithTwoActions(
        CCMoveBy::createWithDurationPosition(kLiftSeconds, lift),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVFailScreenLayerSolo::showButtons))));
}

void KVFailScreenLayerSolo::showButtons() {
    if (m_buttonsShown) return;
    m_buttonsShown = true;
    const float x = m_width / 2;
    const float middle = m_height / 2;
    // The Restart button's height sets the pitch: make it first, place the others from it.
    KVButton* restart = kvresults::addButton(this, "Pause restart", x, middle, kButtonZ, this,
                                             menu_selector(KVFailScreenLayerSolo::onRestart));
    const float pitch = kvresults::buttonHeight(restart);
    if (restart != nullptr) {
        restart->setPosition(CCPoint(x, middle + 0.75f * pitch));
        restart->setTag(kRestartTag);
    }
    KVButton* team = kvresults::addButton(this, "WorldMap_Screen_Squad", x, middle - 0.75f * pitch, kButtonZ,
                                          this, menu_selector(KVFailScreenLayerSolo::onTeam));
    KVButton* shop = kvresults::addButton(this, "WorldMap_Screen_Shop", x, middle - 2.25f * pitch, kButtonZ,
                                          this, menu_selector(KVFailScreenLayerSolo::onShop));
    if (team != nullptr) team->setTag(kTeamTag);
    if (shop != nullptr) shop->setTag(kShopTag);
    kvresults::markNewItems(shop);
    KVPearlCountItem* pearls = KVPearlCountItem::createSmall();
    pearls->setPosition(CCPoint(x, middle - 3.0f * pitch));
    addChildAtZWithTag(pearls, kButtonZ, kPearlCounterTag);
    setTouchEnabled(true);
}

void KVFailScreenLayerSolo::onRestart(CCObject*) {
    kvresults::leaveMission(2, false);
}

void KVFailScreenLayerSolo::onTeam(CCObject*) {
    kvresults::leaveMission(4, true);
}

void KVFailScreenLayerSolo::onShop(CCObject*) {
    kvresults::leaveMission(5, true);
}
