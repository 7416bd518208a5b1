#include "game/chatter/KVChatterLayout.h"

#include <algorithm>
#include <cctype>

#include "engine/base/CCArray.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"

using namespace kvengine;

namespace kvchatter {

CCSize winSize() {
    return CCDirector::getInstance()->getWinSize();
}

bool isWide() {
    return CCDirector::wideScreen != 0;
}

float contentScale() {
    return CCDirector::getInstance()->getContentScaleFactor();
}

CCMenu* makeSkipButton(const char* up, const char* down, float itemScale, const CCPoint& itemAnchor) {
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    if (!frames->hasSpriteFrame(up) || !frames->hasSpriteFrame(down)) {
        logDebugMessage("chatter: no skip button frames %s / %s", up, down);
        return nullptr;
    }
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSprites(CCSprite::createWithSpriteFrameName(up),
                                                                 CCSprite::createWithSpriteFrameName(down));
    if (item == nullptr) return nullptr;
    item->setScale(itemScale);
    item->setAnchorPoint(itemAnchor);
    item->setPosition(CCPointZero);
    CCMenu* menu = CCMenu::createWithItems(item, nullptr);
    if (menu == nullptr) return nullptr;
    const CCSize size = item->getContentSize();
    menu->setTouchSize(CCSize(size.width * itemScale, size.height * itemScale));
    return menu;
}

bool holds(CCNode* node, const CCPoint& glPoint) {
    if (node == nullptr || !node->isVisible()) return false;
    CCNode* target = node;
    if (CCMenu* menu = dynamic_cast<CCMenu*>(node)) {
        CCArray* children = menu->getChildren();
        if (children == nullptr || children->count() == 0) return false;
        target = static_cast<CCNode*>(children->objectAtIndex(0));
    }
    const CCPoint local = target->convertToNodeSpace(glPoint);
    const CCSize size = target->getContentSize();
    return local.x >= 0 && local.y >= 0 && local.x <= size.width && local.y <= size.height;
}

CCPoint glLocation(CCTouch* touch) {
    return CCDirector::getInstance()->convertToGL(touch->getLocationInView());
}

CCString* localisedText(CCString* key) {
    if (key == nullptr) {
        auto* empty = new CCString("");
        empty->autorelease();
        return empty;
    }
    return localizeString(key);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

kvengine::CCSprite* frameSprite(const std::string& name) {
    if (!kvengine::CCSpriteFrameCache::getInstance()->hasSpriteFrame(name.c_str())) {
        kvengine::logDebugMessage("chatter: no frame %s", name.c_str());
        return nullptr;
    }
    return kvengine::CCSprite::createWithSpriteFrameName(name.c_str());
}

} // namespace kvchatter
