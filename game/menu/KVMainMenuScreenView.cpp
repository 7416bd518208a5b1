#include "game/menu/KVMainMenuScreenView.h"

#include <cstdio>

#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVMenuManager.h"

using namespace kvengine;

namespace {

constexpr int kBackgroundFrames = 80;
constexpr float kBackgroundFrameSeconds = 0.083f;
constexpr float kPlayLabelSize = 29.0f;

// A sprite of a frame of this screen (null, logged by the frame cache, when it is missing).
CCSprite* frameSprite(const char* name) {
    return CCSprite::createWithSpriteFrameName(name);
}

void resumeDirector() {
    CCDirector* director = CCDirector::getInstance();
    if (!director->isPaused()) return;
    director->resume();
    director->startAnimation();
}

} // namespace

KVMainMenuScreenView* KVMainMenuScreenView::create() {
    auto* view = new KVMainMenuScreenView();
    if (!view->init()) {
        view->release();
        return nullptr;
    }
    view->autorelease();
    return view;
}

KVMainMenuScreenView::KVMainMenuScreenView() {
    const CCSize win = CCDirector::getInstance()->getWinSize();
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_MAIN);
    if (CCNode* caustics = getChildByTag(kCausticsTag)) caustics->setVisible(false);

    // The living picture: 80 frames looping, fading in from the start.
    if (CCSprite* background = frameSprite("bgr_main_anim_00.png")) {
        background->setAnchorPoint(CCPoint(0.5f, 0.5f));
        background->setPosition(CCPoint(win.width / 2, win.height / 2));
        background->setScaleX(1.9f);
        background->setScaleY(2.1f);
        background->setOpacity(0);
        addChildAtZWithTag(background, 0, kBackgroundTag);
        auto* frames = new CCMutableArray<CCSpriteFrame*>();
        CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
        for (int i = 0; i < kBackgroundFrames; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "bgr_main_anim_%.2d.png", i);
            if (CCSpriteFrame* frame = cache->findSpriteFrameByName(name)) frames->addObject(frame);
        }
        CCAnimation* animation = CCAnimation::createWithFramesDelay(frames, kBackgroundFrameSeconds);
        frames->release();
        background->runAction(
            CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(animation, false)));
        background->runAction(CCFadeIn::createWithDuration(kFadeSeconds));
    }

    addButton("KV_Bt_ReglageUp.png", "KV_Bt_ReglageDown.png", menu_selector(KVMainMenuScreenView::onOptions),
              kOptionsTag, nullptr, CCPoint(0, 0), 18, 80);
    addButton("KV_Bt_CreditUp.png", "KV_Bt_CreditDown.png", menu_selector(KVMainMenuScreenView::onCredits),
              kCreditsTag, &m_buttonSize, CCPoint(0.5f, 0.5f), 18, 21);
    addButton("KV_BT_Quit2_UP_PC.png", "KV_BT_Quit2_Down_PC.png", menu_selector(KVMainMenuScreenView::onQuit),
              kQuitTag, &m_buttonSize, CCPoint(0.5f, 0.5f), 18, win.height - 41);

    // Play: its own size, its label inside.
    CCSprite* playNormal = frameSprite("KV_Bt_PlayUp.png");
    CCSprite* playPressed = frameSprite("KV_Bt_PlayDown.png");
    CCMenuItemSprite* play =
        playNormal != nullptr
            ? CCMenuItemSprite::createWithSpritesAndTarget(playNormal, playPressed, this,
                                                           menu_selector(KVMainMenuScreenView::onPlay))
            : nullptr;
    if (play != nullptr) {
        play->setEnabled(false);
        play->setAnchorPoint(CCPoint(0, 0));
        CCString* text = CCLocalizationManager::getInstance()->stringForKey("Main_Screen_Play");
        KVLabelWithShadow* label =
            text != nullptr ? KVLabelWithShadow::createWithString(text, PRODUCT_FONT_NAME, kPlayLabelSize)
                            : KVLabelWithShadow::createWithStdString("Main_Screen_Play", PRODUCT_FONT_NAME,
                                                                     kPlayLabelSize);
        label->setAnchorPoint(CCPoint(0.5f, 0.5f));
        label->setColor(ccColor3B{255, 255, 255});
        label->setPosition(CCPoint(85, 55.5f));
        label->setOpacity(0);
        play->addChildAtZWithTag(label, 2, kPlayLabelTag);
        playNormal->setOpacity(0);
        CCMenu* menu = CCMenu::createWithItems(play, nullptr);
        menu->setAnchorPoint(CCPoint(0, 0));
        menu->setPosition(CCPoint(CCDirector::wideScreen != 0 ? 780 : 620, 3));
        addChildAtZWithTag(menu, 1, kPlayTag);
    }

    if (CCSprite* logo = frameSprite("KV_Logo.png")) {
        logo->setAnchorPoint(CCPoint(0.5f, 1));
        logo->setPosition(CCPoint(win.width / 2, 0.75f * win.height));
        logo->setOpacity(0);
        addChildAtZWithTag(logo, 1, kLogoTag);
    }

    setTouchEnabled(true);
    resumeDirector();
    CCScheduler::getInstance()->scheduleSelector(schedule_selector(KVMainMenuScreenView::update), this, 0,
                                                 !isRunning());
}

bool KVMainMenuScreenView::init() {
    if (!KVScreenView::init()) return false;
    setTouchEnabled(true);
    return true;
}

void KVMainMenuScreenView::addButton(const char* normalFrame, const char* pressedFrame,
                                     SEL_MenuHandler handler, int tag, const CCSize* sharedSize,
                                     const CCPoint& anchor, float x, float y) {
    CCSprite* normal = frameSprite(normalFrame);
    CCSprite* pressed = frameSprite(pressedFrame);
    if (normal == nullptr || pressed == nullptr) return;
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSpritesAndTarget(normal, pressed, this, handler);
    if (item == nullptr) return;
    item->setEnabled(false);
    // The options button sets the size of all three small buttons: half again its picture.
    CCSize size = item->getContentSize();
    size = sharedSize != nullptr ? *sharedSize : CCSize(size.width * 1.5f, size.height * 1.5f);
    if (sharedSize == nullptr) m_buttonSize = size;
    item->setContentSize(size);
    item->setAnchorPoint(CCPoint(0.5f, 0.5f));
    for (CCSprite* image : {normal, pressed}) {
        image->setAnchorPoint(CCPoint(0.5f, 0.5f));
        image->setPosition(CCPoint(size.width / 2, size.height / 2));
    }
    normal->setOpacity(0);
    CCMenu* menu = CCMenu::createWithItems(item, nullptr);
    menu->setAnchorPoint(anchor);
    menu->setPosition(CCPoint(size.width * 0.25f + x, size.height * 0.25f + y));
    addChildAtZWithTag(menu, 1, tag);
}

CCMenuItemSprite* KVMainMenuScreenView::itemOf(int tag) const {
    CCNode* menu = getChildByTag(tag);
    if (menu == nullptr || menu->getChildren() == nullptr || menu->getChildren()->count() == 0)
        return nullptr;
    return static_cast<CCMenuItemSprite*>(menu->getChildren()->objectAtIndex(0));
}

void KVMainMenuScreenView::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

void KVMainMenuScreenView::reveal() {
    if (m_revealed) return;
    m_revealed = true;
    CCScheduler::getInstance()->unscheduleSelector(schedule_selector(KVMainMenuScreenView::update), this);
    for (int tag : {kOptionsTag, kCreditsTag, kQuitTag, kPlayTag}) {
        if (CCMenuItemSprite* item = itemOf(tag)) {
            item->runAction(CCFadeIn::createWithDuration(kFadeSeconds));
            item->setEnabled(true);
        }
    }
    if (CCMenuItemSprite* play = itemOf(kPlayTag)) {
        if (CCNode* label = play->getChildByTag(kPlayLabelTag))
            static_cast<KVLabelWithShadow*>(label)->runActionWithOutline(
                CCFadeIn::createWithDuration(kFadeSeconds));
    }
    if (CCNode* logo = getChildByTag(kLogoTag)) logo->runAction(CCFadeIn::createWithDuration(kFadeSeconds));
}

void KVMainMenuScreenView::update(float seconds) {
    m_elapsed += seconds;
    if (m_elapsed > kRevealSeconds) {
        m_elapsed = 0;
        reveal();
    }
}

bool KVMainMenuScreenView::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)touch;
    (void)event;
    // A touch wakes a director that a lost window focus paused.
    resumeDirector();
    CCMenuItemSprite* options = itemOf(kOptionsTag);
    if (m_revealed || (options != nullptr && options->isEnabled())) return false;
    reveal();
    return true;
}

void KVMainMenuScreenView::touchEnded(CCTouch* touch, CCEvent* event) {
    (void)touch;
    (void)event;
}

void KVMainMenuScreenView::onPlay(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
    KVMenuManager* menu = KVMenuManager::getInstance();
    auto* chapter = new CCString("Prologue");
    menu->setChapterName(chapter);
    chapter->release();
    menu->changeState(KVMenuManager::kWorldMapState);
}

void KVMainMenuScreenView::onCredits(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
    KVMenuManager::getInstance()->changeState(KVMenuManager::kAboutState);
}

void KVMainMenuScreenView::onOptions(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
    KVMenuManager::getInstance()->changeState(KVMenuManager::kOptionsState);
}

void KVMainMenuScreenView::onQuit(CCObject* sender) {
    (void)sender;
    KVGameSetup::getInstance()->showQuitConfirmation();
}

void KVMainMenuScreenView::onExit() {
    removeAllChildren(true);
    CCActionManager::getInstance()->removeAllActionsFromTarget(this);
    CCTouchDispatcher::getInstance()->removeDelegate(this);
    KVScreenView::onExit();
}
