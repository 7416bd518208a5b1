#include "game/screens/KVAboutItem.h"

#include <string>

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/menu/KVScrollScalableItem.h"

using namespace kvengine;

namespace {

const char* const kDefaultBubble = "KV_bubbleAboutDefault.png";

} // namespace

KVAboutItem* KVAboutItem::createWithKey(CCString* staffKey, CCObject* target) {
    auto* item = new KVAboutItem();
    if (!item->initWithKey(staffKey, target)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

bool KVAboutItem::initWithKey(CCString* staffKey, CCObject* target) {
    if (!initWithTarget(target, menu_selector(KVScrollScalableItem::onItemActivated))) return false;
    const std::string key = staffKey != nullptr ? staffKey->c_str() : "";
    const std::string own = "KV_bubbleAbout_" + key + ".png";
    // A member without a picture of their own shows the default one (expected: no log line).
    const char* picture =
        CCSpriteFrameCache::getInstance()->hasSpriteFrame(own.c_str()) ? own.c_str() : kDefaultBubble;
    CCSprite* normal = CCSprite::createWithSpriteFrameName(picture);
    CCSprite* selected = CCSprite::createWithSpriteFrameName(picture);
    CCSprite* frame = CCSprite::createWithSpriteFrameName("KV_CadreBulle.png");
    if (normal == nullptr || selected == nullptr || frame == nullptr) {
        logDebugMessage("about: the bubble of \"%s\" lacks its pictures", key.c_str());
        return false;
    }
    m_normal = normal;
    m_normal->retain();
    m_selected = selected;
    m_selected->retain();
    normal->setScale(kBubbleScale);
    selected->setScale(kBubbleScale);
    frame->setAnchorPoint(CCPoint(0, 0.5f));
    frame->setPosition(CCPoint(0, selected->getContentSize().height / 2));
    frame->setScale(normal->getScale());
    addChildAtZWithTag(frame, 1, frame->getTag());
    setNormalImage(normal);
    setSelectedImage(selected);
    normal->setAnchorPoint(CCPoint(0, 0.1f));
    selected->setAnchorPoint(CCPoint(0, 0.1f));
    setEnabled(true);
    unselected();
    setContentSize(selected->getContentSize());
    return true;
}

void KVAboutItem::cleanupBeforeDelete() {
    if (m_normal != nullptr) m_normal->release();
    if (m_selected != nullptr) m_selected->release();
    m_normal = m_selected = nullptr;
    CCMenuItemSprite::cleanupBeforeDelete();
}
