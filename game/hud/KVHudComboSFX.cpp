#include "game/hud/KVHudComboSFX.h"

#include <cstdio>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/hud/KVLabelWithStroke.h"
#include "game/world/KVSpriteSheet.h"

using kvengine::CCCallFunc;
using kvengine::CCDelayTime;
using kvengine::CCFadeTo;
using kvengine::CCFiniteTimeAction;
using kvengine::CCMoveBy;
using kvengine::CCPoint;
using kvengine::CCScaleTo;
using kvengine::CCSequence;
using kvengine::CCSize;
using kvengine::CCSprite;

namespace {

// The sheet of the stickers' band, badge and pictures.
constexpr const char* kStickerSheet = "top_sfx_88_ss";

CCSize window() {
    return kvengine::CCDirector::getInstance()->getWinSize();
}

CCFiniteTimeAction* moveBy(float seconds, float dx, float dy) {
    return CCMoveBy::createWithDurationPosition(seconds, CCPoint(dx, dy));
}

CCFiniteTimeAction* wait(float seconds) {
    return CCDelayTime::createWithDuration(seconds);
}

// The squash that ends every slide: wider, then back.
CCFiniteTimeAction* squash(float seconds) {
    return CCSequence::createWithTwoActions(CCScaleTo::createWithDurationScaleXY(0.1f, 1.4f, 1.0f),
                                            CCScaleTo::createWithDurationScaleXY(seconds, 1.0f, 1.0f));
}

// The pop of the picture and the badge: larger, then back.
CCFiniteTimeAction* pop(float growSeconds, float shrinkSeconds) {
    return CCSequence::createWithTwoActions(CCScaleTo::createWithDurationScale(growSeconds, 1.5f),
                                            CCScaleTo::createWithDurationScale(shrinkSeconds, 1.0f));
}

template <typename T> void drop(kvengine::CCRetained<T>& node) {
    if (node == nullptr) return;
    node->stopAllActions();
    if (node->getParent() != nullptr) node->removeFromParent(true);
    node.reset();
}

} // namespace

CCSprite* KVHudComboSFX::spriteOf(const char* frame) {
    CCSprite* sprite = nullptr;
    if (kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frame) != nullptr)
        sprite = CCSprite::createWithSpriteFrameName(frame);
    if (sprite == nullptr) {
        kvengine::logDebugMessage("KVHudComboSFX: no frame \"%s\"; an empty sprite stands in", frame);
        sprite = new CCSprite();
        sprite->init();
        sprite->autorelease();
    }
    return sprite;
}

bool KVHudComboSFX::init() {
    if (!KVLayer::init()) return false;
    const CCSize w = window();

    // A mission builds its HUD before the level, whose layer loads the stickers' sheet: load its
    // frames here when they are not in the cache yet.
    if (!kvengine::CCSpriteFrameCache::getInstance()->hasSpriteFrame("combo_sticker.png"))
        (void)kvLoadSheetBatch(kStickerSheet, "KVHudComboSFX");

    m_badge = spriteOf("combo_pearls.png");
    m_badge->setOpacity(0);
    const CCSize badge = m_badge->getContentSize();
    m_badge->setPosition(CCPoint(w.width - badge.width / 1.7f, w.height - badge.height / 1.7f));
    addChildAtZ(m_badge, 5);

    m_band = spriteOf("combo_sticker.png");
    m_band->setAnchorPoint(CCPoint(1.0f, 1.0f));
    m_band->setPosition(CCPoint(w.width + m_band->getContentSize().width, w.height));
    m_band->setOpacity(180);
    m_band->setBlendFunc(kvengine::ccBlendFunc{GL_SRC_ALPHA, GL_ONE});
    addChildAtZ(m_band, 1);

    m_picture = spriteOf("double_bounce.png");
    m_picture->setPosition(
        CCPoint(m_badge->getPosition().x, w.height + m_picture->getContentSize().height / 2.0f));
    addChildAtZ(m_picture, 10);

    m_points =
        KVLabelWithStroke::createWithStdString("", PRODUCT_FONT->text.c_str(), kFontSize, kOutlineColour[0],
                                               kOutlineColour[1], kOutlineColour[2], kStrokeSize);
    if (m_points == nullptr) {
        kvengine::logDebugMessage("KVHudComboSFX: the points label cannot be made");
        return false;
    }
    m_points->setColor(kvengine::ccColor3B{kTextColour[0], kTextColour[1], kTextColour[2]});
    m_points->setAnchorPoint(CCPoint(1.0f, 0.5f));
    const CCSize label = m_points->getContentSize();
    m_points->setPosition(
        CCPoint(w.width + label.width, m_badge->getPosition().y - badge.height / 2.0f - label.height / 2.0f));
    addChildAtZ(m_points, 15);
    m_showing = false;
    return true;
}

void KVHudComboSFX::cleanupBeforeDelete() {
    if (m_points != nullptr) m_points->stopActionsWithOutline();
    drop(m_picture);
    drop(m_badge);
    drop(m_band);
    drop(m_points);
    KVLayer::cleanupBeforeDelete();
}

void KVHudComboSFX::showFrame(kvengine::CCString* frameName) {
    if (frameName == nullptr) return;
    kvengine::CCSpriteFrame* frame =
        kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frameName->text.c_str());
    if (frame == nullptr) {
        kvengine::logDebugMessage("KVHudComboSFX: no sticker frame \"%s\"; the picture stays",
                                  frameName->text.c_str());
        return;
    }
    m_picture->setDisplayFrame(frame);
}

void KVHudComboSFX::showCombo(int points, kvengine::CCString* frameName) {
    if (m_picture == nullptr || m_points == nullptr) {
        kvengine::logDebugMessage("KVHudComboSFX::showCombo before init");
        return;
    }
    const CCSize w = window();
    m_picture->stopAllActions();
    m_points->stopActionsWithOutline();
    m_badge->stopAllActions();
    kvengine::CCString* word = kvengine::getLocalizedString("PEARL");
    char text[96];
    std::snprintf(text, sizeof text, "%i %s!", points, word != nullptr ? word->text.c_str() : "");
    const CCSize badge = m_badge->getContentSize();
    const CCPoint badgeAt = m_badge->getPosition();

    if (!m_showing) {
        m_showing = true;
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_COMBO_START, nullptr);
        m_band->stopAllActions();
        m_badge->runAction(kvengine::CCFadeIn::createWithDuration(0.1f));
        CCSize picture = m_picture->getContentSize();
        m_picture->setPosition(CCPoint(w.width - picture.width / 2.0f, w.height + picture.height / 2.0f));

        m_band->runAction(CCSequence::createWithTwoActions(
            moveBy(0.3f, w.width - m_band->getPosition().x, 0.0f), squash(0.05f)));

        showFrame(frameName);
        picture = m_picture->getContentSize();
        const CCPoint from = m_picture->getPosition();
        m_picture->runAction(CCSequence::createWithActions(
            wait(0.3f), moveBy(0.2f, w.width - picture.width / 1.9f - from.x, badgeAt.y - from.y),
            pop(0.1f, 0.08f)));

        m_badge->runAction(CCSequence::createWithActions(
            wait(0.5f), pop(0.2f, 0.08f), wait(1.0f),
            CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVHudComboSFX::leave))));

        m_points->setString(text);
        const CCSize label = m_points->getContentSize();
        m_points->setPosition(
            CCPoint(w.width + label.width + 4.0f, badgeAt.y - badge.height / 2.0f - label.height / 2.0f));
        m_points->runActionWithOutline(CCSequence::createWithActions(
            wait(0.3f), moveBy(0.2f, w.width - label.width / 10.0f - m_points->getPosition().x, 0.0f),
            squash(0.08f)));
        return;
    }

    // A further combo while showing: the picture's animation now carries the exit.
    showFrame(frameName);
    const CCSize picture = m_picture->getContentSize();
    const CCPoint from = m_picture->getPosition();
    m_picture->runAction(CCSequence::createWithActions(
        moveBy(0.1f, w.width - picture.width / 1.9f - from.x, badgeAt.y - from.y), pop(0.1f, 0.08f),
        wait(1.0f), CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVHudComboSFX::leave))));

    m_points->setString(text);
    const CCSize label = m_points->getContentSize();
    m_points->runActionWithOutline(CCSequence::createWithTwoActions(
        moveBy(0.2f, w.width - label.width / 2.0f - m_points->getPosition().x, 0.0f), squash(0.08f)));

    m_badge->runAction(CCFadeTo::createWithDurationOpacity(0.1f, 255));
    m_badge->runAction(pop(0.2f, 0.08f));
}

void KVHudComboSFX::leave() {
    if (m_picture == nullptr || m_points == nullptr) return;
    const CCSize w = window();
    m_picture->runAction(CCSequence::createWithTwoActions(
        moveBy(0.4f, w.width + m_picture->getContentSize().width / 2.0f - m_picture->getPosition().x, 0.0f),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVHudComboSFX::end))));
    m_points->runActionWithOutline(
        moveBy(0.3f, w.width + m_points->getContentSize().width - m_points->getPosition().x + 4.0f, 0.0f));
}

void KVHudComboSFX::end() {
    if (m_picture == nullptr || m_band == nullptr || m_badge == nullptr) return;
    const CCSize w = window();
    m_picture->setPosition(
        CCPoint(m_badge->getPosition().x, w.height + m_picture->getContentSize().height / 2.0f));
    m_showing = false;
    m_band->runAction(moveBy(0.3f, w.width + m_band->getContentSize().width - m_band->getPosition().x, 0.0f));
    m_badge->runAction(CCSequence::createWithTwoActions(kvengine::CCFadeOut::createWithDuration(0.3f),
                                                        CCScaleTo::createWithDurationScale(0.01f, 0.01f)));
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_COMBO_END, nullptr);
}
