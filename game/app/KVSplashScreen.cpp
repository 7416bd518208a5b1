#include "game/app/KVSplashScreen.h"

#include <new>

#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCScheduler.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/sprites/CCSprite.h"
#include "game/achievements/KVAchievementManager.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"
#include "game/sound/KVSoundManager.h"
#include "game/tutorial/KVHelperManager.h"

using namespace kvengine;

KVSplashScreen* KVSplashScreen::create() {
    KVSplashScreen* layer = new (std::nothrow) KVSplashScreen();
    if (layer == nullptr) return nullptr;
    if (!layer->init()) {
        layer->release();
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

CCScene* KVSplashScreen::scene() {
    CCScene* scene = CCScene::create();
    KVSplashScreen* layer = create();
    if (scene == nullptr || layer == nullptr) return nullptr;
    scene->addChildAtZ(layer, 0);
    return scene;
}

KVSplashScreen::KVSplashScreen() {
    const CCSize size = CCDirector::getInstance()->getWinSize();
    CCString* path = CCResourceIndex::getInstance()->fullPathForFileName("splash.png");
    CCSprite* picture = CCSprite::createWithFile(path->c_str());
    if (picture != nullptr) {
        picture->setAnchorPoint(CCPoint(0.5f, 0.5f));
        picture->setPosition(CCPoint(size.width * 0.5f, size.height * 0.5f));
        picture->setScale(2.0f);
        picture->setOpacity(0);
        addChildAtZWithTag(picture, kPictureZOrder, kPictureTag);
        CCFiniteTimeAction* showing = CCSequence::createWithActions(
            CCFadeIn::createWithDuration(kFadeInSeconds), CCDelayTime::createWithDuration(kHoldSeconds));
        CCActionManager::getInstance()->addAction(showing, picture, !picture->isRunning());
    } else {
        // The screen stays black for the same time; the front end follows as usual.
        logDebugMessage("splash: the picture \"splash.png\" cannot be loaded; showing none");
    }
    CCScheduler::getInstance()->scheduleSelector(schedule_selector(KVSplashScreen::update), this, 0.0f,
                                                 !isRunning());
}

void KVSplashScreen::ensureSharedObjects() {
    KVChatterManager::getInstance();
    KVSoundManager::getInstance();
    KVGameSetup::getInstance();
    KVGameParameters::getInstance();
    KVMenuManager::getInstance();
    KVPlayerParameters::getInstance();
    KVHelperManager::getInstance();
    // The achievements watch the whole run from here on; shutdown releases them with the others.
    KVAchievementManager::getInstance();
}

void KVSplashScreen::update(float dt) {
    const float before = m_elapsed;
    m_elapsed += dt;
    if (!m_fadingOut && before == 0.0f) {
        ensureSharedObjects();
        return;
    }
    if (!m_fadingOut) {
        if (m_elapsed < kShowSeconds) return;
        if (CCNode* picture = getChildByTag(kPictureTag)) {
            CCActionManager::getInstance()->addAction(CCFadeOut::createWithDuration(kFadeOutSeconds), picture,
                                                      !picture->isRunning());
        }
        m_fadingOut = true;
        m_elapsed = 0.0f;
        return;
    }
    // Once fading out, only the end of the fade is waited for: however long a frame takes, the
    // hand-over comes next and the fade never starts again.
    if (m_elapsed >= kFadeOutSeconds) {
        // The faded picture would otherwise stay in the scene, a full-window quad drawn every
        // frame until the scene goes.
        removeChildByTag(kPictureTag, true);
        CCScheduler::getInstance()->unscheduleSelector(schedule_selector(KVSplashScreen::update), this);
        KVMenuManager::getInstance()->changeState(kNextMenuState);
    }
}

void KVSplashScreen::onExit() {
    removeAllChildren(true);
    CCTouchDispatcher::getInstance()->removeDelegate(this);
    CCLayer::onExit();
}
