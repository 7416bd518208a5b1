#include "game/chatter/KVChatterLightTextView.h"

#include <algorithm>
#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCBlink.h"
#include "engine/actions/CCRepeat.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterLayout.h"
#include "game/chatter/KVChatterLightTextItem.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"

using namespace kvengine;

namespace {

constexpr float kTouchDelay = 0.01f;
constexpr float kPortraitFrameDelay = 1.0f;
constexpr ccColor3B kHighlight{255, 0, 0};

} // namespace

KVChatterLightTextView::KVChatterLightTextView(Dict* step) {
    init();
    m_loadedSheets = new CCMutableDictionary<std::string, CCObject*>();
    if (step == nullptr) return;
    using namespace kvchatter;
    const bool wide = isWide();
    const float s = contentScale();

    CCString* text = localisedText(kvdata::stringAt(step, "text_name"));
    const int opacity = std::clamp(kvdata::intAt(step, "opacity_value"), 0, 255);
    const std::string kelvo = kvdata::textAt(step, "kelvo_name");
    const std::string animation = kvdata::textAt(step, "animation_name");
    if (!animation.empty()) showAnimatedPortrait(animation, opacity);

    CCPoint boxOrigin(wide ? 252 : 188, wide ? 151.5f : 183.5f);
    CCSize box;
    if (CCSprite* frame = kvchatter::frameSprite("TextBox_chatterLight.png")) {
        frame->setAnchorPoint(CCPoint(0, 0));
        frame->setPosition(boxOrigin);
        box = frame->getContentSize();
        addChildAtZWithTag(frame, 1, kBoxTag);
    }
    if (CCSprite* portrait = kvchatter::frameSprite(lowerCase(kelvo) + "_chatterLight.png")) {
        portrait->setAnchorPoint(CCPoint(0, 0));
        portrait->setPosition(CCPoint(wide ? 252 : 188, wide ? 175.5f : 207.5f));
        addChildAtZWithTag(portrait, 2, kPortraitTag);
    }

    m_textItem =
        new KVChatterLightTextItem(text, static_cast<int>(567 * s * 0.5f), static_cast<int>(72 * s * 0.5f),
                                   static_cast<int>(10 * s), kHighlight, "junction12.fnt", 1.0f);
    m_textItem->setDelegate(this);
    m_textItem->setAnchorPoint(CCPoint(0, 0));
    const float itemHeight = m_textItem->getContentSize().height;
    m_textItem->setPosition(wide ? CCPoint(325.5f, 44.5f - itemHeight / 2.5f + 140)
                                 : CCPoint(261.5f, 44.5f - itemHeight / 2.5f + 172));
    addChildAtZWithTag(m_textItem, 2, kTextTag);

    // The button sits on the box's right edge, two fifths of its height up.
    const CCPoint buttonAt(boxOrigin.x + box.width, boxOrigin.y + box.height * 0.4f);
    if (CCMenu* skip = makeSkipButton("Kv_Bt_SkipMiniChatterUp.png", "Kv_Bt_SkipMiniChatterDown.png", 1.0f,
                                      CCPoint(0.5f, 0.5f))) {
        skip->setPosition(buttonAt);
        addChildAtZWithTag(skip, 3000, kSkipTag);
    }
    if (CCSprite* arrow = kvchatter::frameSprite("Kv_Bt_SkipMiniChatterFleche.png")) {
        arrow->setPosition(buttonAt);
        arrow->runAction(CCRepeatForever::createWithAction(CCBlink::createWithDurationBlinks(1.0f, 2)));
        addChildAtZWithTag(arrow, 3001, kArrowTag);
    }

    m_touchDelay = kTouchDelay;
    scheduleUpdate();
}

void KVChatterLightTextView::showAnimatedPortrait(const std::string& animation, int opacity) {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string sheet = kvchatter::lowerCase(animation) + "_ss";
    if (m_loadedSheets->objectForKey(sheet) == nullptr) {
        const std::string plist = sheet + ".plist";
        const std::string texture = sheet + ".pvr.ccz";
        if (!index->containsFileName(plist) || !index->containsFileName(texture)) {
            logDebugMessage("chatter: no portrait sheet %s", sheet.c_str());
        } else {
            CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(plist).c_str());
            if (CCSpriteBatchNode* batch =
                    CCSpriteBatchNode::createWithFile(index->pathForFileName(texture).c_str()))
                addChildAtZ(batch, 100);
            auto* mark = new CCString(sheet);
            m_loadedSheets->setObject(mark, sheet);
            mark->release();
        }
    }
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    auto* frames = new CCMutableArray<CCSpriteFrame*>();
    for (int number = 1;; ++number) {
        char name[256];
        std::snprintf(name, sizeof name, "%s%.2d.png", animation.c_str(), number);
        if (!cache->hasSpriteFrame(name)) break;
        CCSpriteFrame* frame = cache->findSpriteFrameByName(name);
        if (frame == nullptr) break;
        frames->addObject(frame);
    }
    removeChildByTag(kAnimatedTag, true);
    if (frames->count() == 0) {
        logDebugMessage("chatter: no frames of the animated portrait %s", animation.c_str());
        frames->release();
        return;
    }
    CCSprite* sprite = CCSprite::createWithSpriteFrame(frames->objectAtIndex(0));
    CCAnimation* cycle = CCAnimation::createWithFramesDelay(frames, kPortraitFrameDelay);
    frames->release();
    if (sprite == nullptr || cycle == nullptr) return;
    const bool wide = kvchatter::isWide();
    sprite->setAnchorPoint(CCPoint(0, 0));
    sprite->setPosition(wide ? CCPoint(317, 232) : CCPoint(253, 264));
    addChildAtZWithTag(sprite, 2, kAnimatedTag);
    sprite->runAction(CCRepeatForever::createWithAction(CCAnimate::createWithAnimation(cycle)));
    sprite->setOpacity(static_cast<uint8_t>(opacity));
    m_animatedShown = true;
}

void KVChatterLightTextView::unloadSheets() {
    if (m_loadedSheets == nullptr) return;
    CCResourceIndex* index = CCResourceIndex::getInstance();
    for (const std::string& sheet : m_loadedSheets->allKeys()) {
        CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
            index->pathForFileName(sheet + ".plist").c_str());
        CCTextureCache::getInstance()->removeTextureForKey(
            index->pathForFileName(sheet + ".pvr.ccz").c_str());
    }
    m_loadedSheets->release();
    m_loadedSheets = nullptr;
}

void KVChatterLightTextView::cleanupBeforeDelete() {
    // The animated portrait's sprite goes before its sheet's texture leaves the cache.
    removeAllChildren(true);
    unloadSheets();
    if (m_textItem != nullptr) {
        m_textItem->setDelegate(nullptr);
        m_textItem->release();
    }
    m_textItem = nullptr;
    KVLayer::cleanupBeforeDelete();
}

void KVChatterLightTextView::update(float dt) {
    if (m_touchDelay > 0) {
        m_touchDelay -= dt;
        if (m_touchDelay <= 0) {
            m_touchDelay = 0;
            setTouchEnabled(true);
        }
    }
    if (m_textItem != nullptr) m_textItem->update(dt);
}

void KVChatterLightTextView::onExit() {
    if (m_textItem != nullptr) m_textItem->setDelegate(nullptr);
    setTouchEnabled(false);
    KVLayer::onExit();
}

void KVChatterLightTextView::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(
        this, m_raisedPriority ? kRaisedTouchPriority : kTouchPriority, true);
}

void KVChatterLightTextView::proceed(CCObject* sender, int count) {
    (void)sender;
    (void)count;
    KVChatterManager::getInstance()->nextStep();
}

bool KVChatterLightTextView::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    const CCPoint at = kvchatter::glLocation(touch);
    const bool onBox = kvchatter::holds(getChildByTag(kBoxTag), at) ||
                       kvchatter::holds(getChildByTag(kPortraitTag), at) ||
                       kvchatter::holds(getChildByTag(kSkipTag), at) ||
                       (m_animatedShown && kvchatter::holds(getChildByTag(kAnimatedTag), at));
    if (onBox) {
        // Posted before the advance: the last page's advance removes this box.
        CCNotificationCenter::getInstance()->postNotification(EVENT_CHATTER_NEXT, this);
        if (m_textItem != nullptr) m_textItem->advance();
    }
    return true;
}
