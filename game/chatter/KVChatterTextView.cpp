#include "game/chatter/KVChatterTextView.h"

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterLayout.h"
#include "game/chatter/KVChatterManager.h"
#include "game/chatter/KVChatterTextItem.h"
#include "game/data/KVDataAccess.h"
#include "game/menu/KVTitleItem.h"

using namespace kvengine;

namespace {

constexpr float kTouchDelay = 0.01f;
constexpr int kNameFontSize = 16;
constexpr ccColor3B kHighlight{255, 0, 0};

} // namespace

KVChatterTextView::KVChatterTextView(Dict* step) {
    init();
    if (step == nullptr) return;
    using namespace kvchatter;
    const CCSize win = winSize();
    const bool wide = isWide();
    const float s = contentScale();

    CCString* text = localisedText(kvdata::stringAt(step, "text_name"));
    const bool left = kvdata::boolAt(step, "left_flag");
    const std::string kelvo = kvdata::textAt(step, "kelvo_name");
    CCString* name = localisedText(kvdata::stringAt(step, "kelvo_name"));
    CCObject* voice = kvdata::stringAt(step, "voice");
    if (voice == nullptr) {
        voice = new CCString("");
        voice->autorelease();
    }

    if (CCSprite* grey = kvchatter::frameSprite("Bg_GreyLayer.png")) {
        const CCSize size = grey->getContentSize();
        grey->setAnchorPoint(CCPoint(0, 0));
        grey->setOpacity(0);
        grey->setScaleX(win.width * 0.5f / size.width);
        grey->setScaleY(win.height * 0.5f / size.height);
        addChildAtZWithTag(grey, 0, kGreyTag);
    }
    CCSize box;
    if (CCSprite* frame = kvchatter::frameSprite("TextBox_chatter.png")) {
        frame->setScaleX(win.width * 0.5f / frame->getContentSize().width);
        frame->setAnchorPoint(CCPoint(0.5f, 0));
        frame->setPosition(CCPoint(win.width * 0.5f, 0));
        box = frame->getContentSize();
        addChildAtZWithTag(frame, 1, kBoxTag);
    }
    if (CCSprite* portrait = kvchatter::frameSprite(lowerCase(kelvo) + "_chatter.png")) {
        const CCSize size = portrait->getContentSize();
        if (!left) portrait->setFlipX(true);
        if (wide) {
            portrait->setPosition(left ? CCPoint(size.width, size.height * 0.5f)
                                       : CCPoint(win.width - size.width, size.height * 0.5f));
        } else if (left) {
            portrait->setAnchorPoint(CCPoint(1, 0));
            portrait->setPosition(CCPoint(win.width * 0.5f, 0));
        } else {
            portrait->setPosition(CCPoint(win.width - size.width / 1.15f, size.height * 0.5f));
        }
        addChildAtZWithTag(portrait, 2, kPortraitTag);
    }
    if (KVTitleItem* banner = KVTitleItem::createWithTitle(name, PRODUCT_FONT_NAME, kNameFontSize)) {
        banner->setAnchorPoint(CCPoint(0, 0));
        banner->setPosition(CCPoint(win.width * 0.5f, box.height / (wide ? 1.45f : 1.75f)));
        addChildAtZWithTag(banner, 2, kNameTag);
    }

    const int k = wide ? 1 : 2;
    m_textItem = new KVChatterTextItem(text, static_cast<int>(290 * s), static_cast<int>(73 * s),
                                       static_cast<int>(10 * s * static_cast<float>(k)), kHighlight,
                                       "junction16.fnt", 1.0f, voice);
    m_textItem->setDelegate(this);
    m_textItem->setAnchorPoint(CCPoint(0, 0));
    const CCSize item = m_textItem->getContentSize();
    if (wide) {
        m_textItem->setPosition(left
                                    ? CCPoint(win.width * 0.5f - item.width * 0.5f - 40, -item.height / 1.25f)
                                    : CCPoint(win.width * 0.5f - item.width / 1.5f, -item.height / 1.25f));
    } else {
        m_textItem->setPosition(left ? CCPoint(win.width * 0.5f - item.width * 0.5f + 22, -item.height / 1.2f)
                                     : CCPoint(win.width * 0.5f - item.width / 1.8f, -item.height / 1.2f));
    }
    addChildAtZWithTag(m_textItem, 2, kTextTag);

    if (CCMenu* skip = makeSkipButton("Kv_Bt_SkipBigChatterUp.png", "Kv_Bt_SkipBigChatterDown.png", 0.81f,
                                      CCPoint(0, 0))) {
        skip->setAnchorPoint(CCPoint(0, 0));
        skip->setPosition(CCPoint(win.width * 0.5f + 455 - (wide ? 20 : 95), win.height * 0.5f + 295 - 40));
        addChildAtZWithTag(skip, 3000, kSkipTag);
    }

    m_touchDelay = kTouchDelay;
    scheduleUpdate();
}

void KVChatterTextView::cleanupBeforeDelete() {
    if (m_textItem != nullptr) {
        m_textItem->setDelegate(nullptr);
        m_textItem->release();
    }
    m_textItem = nullptr;
    removeAllChildren(true);
    KVLayer::cleanupBeforeDelete();
}

void KVChatterTextView::update(float dt) {
    if (m_touchDelay > 0) {
        m_touchDelay -= dt;
        if (m_touchDelay <= 0) {
            m_touchDelay = 0;
            setTouchEnabled(true);
        }
    }
    if (m_textItem != nullptr) m_textItem->update(dt);
}

void KVChatterTextView::onExit() {
    if (m_textItem != nullptr) m_textItem->setDelegate(nullptr);
    setTouchEnabled(false);
    KVLayer::onExit();
}

void KVChatterTextView::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

void KVChatterTextView::proceed(CCObject* sender, int count) {
    (void)sender;
    (void)count;
    if (m_proceeded) return;
    m_proceeded = true;
    KVChatterManager::getInstance()->nextStep();
}

bool KVChatterTextView::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    if (kvchatter::holds(getChildByTag(kSkipTag), kvchatter::glLocation(touch))) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_CHATTER_NEXT, this);
        KVChatterManager::getInstance()->requestEnd();
        return false;
    }
    if (m_textItem != nullptr) m_textItem->advance();
    return true;
}
