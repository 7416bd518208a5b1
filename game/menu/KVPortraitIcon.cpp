#include "game/menu/KVPortraitIcon.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCScheduler.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"

using namespace kvengine;

void KVPortraitIcon::showNormalFrame() {
    if (m_normalFrame != nullptr) setNormalImage(m_normalFrame);
}

void KVPortraitIcon::showSelectedFrame() {
    if (m_selectedFrame != nullptr) setNormalImage(m_selectedFrame);
}

bool KVPortraitIcon::isShowingSelectedFrame() const {
    return m_selectedFrame != nullptr && getNormalImage() == m_selectedFrame;
}

bool KVPortraitIcon::takeFrames(const char* normalFrame, const char* selectedFrame) {
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    if (!cache->hasSpriteFrame(normalFrame) || !cache->hasSpriteFrame(selectedFrame)) {
        logDebugMessage("portrait icon: the frames \"%s\" and \"%s\" are not loaded", normalFrame,
                        selectedFrame);
        return false;
    }
    CCSprite* normal = CCSprite::createWithSpriteFrameName(normalFrame);
    CCSprite* selected = CCSprite::createWithSpriteFrameName(selectedFrame);
    if (normal == nullptr || selected == nullptr) return false;
    normal->retain();
    selected->retain();
    if (m_normalFrame != nullptr) m_normalFrame->release();
    if (m_selectedFrame != nullptr) m_selectedFrame->release();
    m_normalFrame = normal;
    m_selectedFrame = selected;
    return true;
}

CCSprite* KVPortraitIcon::pictureOrHidden(const char* frameName) {
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    if (frameName != nullptr && cache->hasSpriteFrame(frameName))
        return CCSprite::createWithSpriteFrameName(frameName);
    logDebugMessage("portrait icon: no frame \"%s\"; the hidden picture stands in for it",
                    frameName != nullptr ? frameName : "(null)");
    if (!cache->hasSpriteFrame("KV_hiddenLarge.png")) return nullptr;
    return CCSprite::createWithSpriteFrameName("KV_hiddenLarge.png");
}

void KVPortraitIcon::cleanupBeforeDelete() {
    if (m_selectedFrame != nullptr) m_selectedFrame->release();
    if (m_normalFrame != nullptr) m_normalFrame->release();
    m_selectedFrame = m_normalFrame = nullptr;
    CCMenuItemSprite::cleanupBeforeDelete();
}

void KVPortraitIcon::cleanup() {
    m_cleanedUp = true;
    CCMenuItemSprite::cleanup();
}

void KVPortraitIcon::activate() {
    // The handler may rebuild the page and so remove (and clean up) this icon: keep it alive
    // until the re-enable timer is settled.
    if (!isEnabled()) return;
    retain();
    CCMenuItem::activate();
    CCMenuItemSprite::setEnabled(false);
    if (!m_cleanedUp) schedule(schedule_selector(KVPortraitIcon::reenable), kLockSeconds);
    release();
}

void KVPortraitIcon::reenable(float dt) {
    (void)dt;
    unschedule(schedule_selector(KVPortraitIcon::reenable));
    setEnabled(true);
}

void KVPortraitIcon::unselected() {
    CCNotificationCenter::getInstance()->postNotification(
        m_invalidTap ? EVENT_BUTTON_INVALIDATED : EVENT_BUTTON_VALIDATED_LIGHT, this);
    CCMenuItemSprite::unselected();
}
