#include "game/menu/KVMissionItem.h"

#include <string>

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/menu/KVScrollScalableItem.h"

using namespace kvengine;

namespace {

const char* const kDefaultBubble = "KV_bubbleMissionDefault.png";

CCSprite* bubbleOf(const std::string& mission) {
    const std::string own = "KV_bubbleMission" + mission + ".png";
    // A mission without its own picture shows the default one (no log line: that is expected).
    const bool hasOwn = CCSpriteFrameCache::getInstance()->hasSpriteFrame(own.c_str());
    return CCSprite::createWithSpriteFrameName(hasOwn ? own.c_str() : kDefaultBubble);
}

} // namespace

KVMissionItem* KVMissionItem::createWithMission(bool locked, int stars, CCString* missionName,
                                                CCObject* target) {
    auto* item = new KVMissionItem();
    if (!item->initWithMission(locked, stars, missionName, target)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

bool KVMissionItem::initWithMission(bool locked, int stars, CCString* missionName, CCObject* target) {
    if (!initWithTarget(target, menu_selector(KVScrollScalableItem::onItemActivated))) return false;
    CCSprite* star = CCSprite::createWithSpriteFrameName("KV_StarFound.png");
    const std::string mission = missionName != nullptr ? missionName->c_str() : "";
    CCSprite* bubble = locked ? CCSprite::createWithSpriteFrameName(kDefaultBubble) : bubbleOf(mission);
    CCSprite* pressed = locked ? CCSprite::createWithSpriteFrameName(kDefaultBubble) : bubbleOf(mission);
    CCSprite* frame =
        CCSprite::createWithSpriteFrameName(locked ? "KV_CadreBulleLocked.png" : "KV_CadreBulle.png");
    if (star == nullptr || bubble == nullptr || pressed == nullptr || frame == nullptr) {
        logDebugMessage("menu: the bubble of mission \"%s\" lacks its pictures", mission.c_str());
        return false;
    }
    // The stars earned, from the left of a strip three stars wide.
    const CCSize starSize = star->getContentSize();
    auto* strip = new CCSprite();
    (void)strip->init();
    strip->autorelease();
    strip->setContentSize(CCSize(3 * starSize.width, starSize.height));
    if (stars >= 1 && stars <= 3) {
        for (int i = 0; i < stars; ++i) {
            CCSprite* earned = CCSprite::createWithSpriteFrameName("KV_StarFound.png");
            earned->setPosition(CCPoint(starSize.width / 2 + i * starSize.width, starSize.height / 2));
            strip->addChildAtZWithTag(earned, 1, 1);
        }
    }

    if (locked) setEnabled(false);
    m_bubble = bubble;
    m_bubble->retain();
    m_pressedBubble = pressed;
    m_pressedBubble->retain();
    for (CCSprite* image : {bubble, pressed}) {
        image->setAnchorPoint(CCPoint(0.5f, 0.5f));
        image->setScale(kBubbleScale);
    }
    frame->setAnchorPoint(CCPoint(0, 0.5f));
    frame->setPosition(CCPoint(0, pressed->getContentSize().height / 2));
    frame->setScale(bubble->getScale());
    addChildAtZWithTag(frame, 1, frame->getTag());
    setEnabled(!locked);

    setNormalImage(bubble);
    setSelectedImage(pressed);
    bubble->setAnchorPoint(CCPoint(0, 0.1f));
    pressed->setAnchorPoint(CCPoint(0, 0.1f));
    const CCSize size = pressed->getContentSize();
    setContentSize(size);
    if (stars != 0) {
        strip->setPosition(CCPoint(size.width / 2, size.height / 4));
        addChildAtZWithTag(strip, 1, kStarStripTag);
    }
    starCount = stars;
    return true;
}

void KVMissionItem::cleanupBeforeDelete() {
    if (m_bubble != nullptr) m_bubble->release();
    if (m_pressedBubble != nullptr) m_pressedBubble->release();
    m_bubble = m_pressedBubble = nullptr;
    CCMenuItemSprite::cleanupBeforeDelete();
}
