#include "game/views/KVPawnDamageFeedback.h"

#include <algorithm>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/views/KVPawnV.h"
#include "game/views/KVViewText.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCPoint;
using kvengine::CCSprite;

namespace {

constexpr float kShownSeconds = 2.0f;
constexpr float kFadeSeconds = 0.4f;

void showFrame(CCSprite* sprite, const char* name) {
    if (kvengine::CCSpriteFrame* frame =
            kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name))
        sprite->setDisplayFrame(frame);
}

kvengine::CCFiniteTimeAction* holdThenFade() {
    return kvengine::CCSequence::createWithTwoActions(
        kvengine::CCDelayTime::createWithDuration(kShownSeconds),
        kvengine::CCFadeOut::createWithDuration(kFadeSeconds));
}

bool isShownType(int type) {
    return KVActionEvent::isHit(type) || type == KVActionEvent::Heal;
}

} // namespace

// ---- KVDamageFeedback ----

bool KVDamageFeedback::initWithAction(KVActionEvent* event) {
    m_label = kvengine::CCLabelTTF::createWithString("", HUD_FONT->c_str(), 16.0f);
    if (m_label != nullptr) {
        m_label->setAnchorPoint(CCPoint(0.5f, 0.5f));
        m_label->setScale(1.2f);
        m_label->setVisible(false);
        addChildAtZ(m_label, 10);
    }
    m_front = KVPawnV::spriteOfFrame("KV_DommageBulleBlanche1.png");
    m_back = KVPawnV::spriteOfFrame("KV_DommageBulleBlanche2.png");
    for (CCSprite* bubble : {m_front.get(), m_back.get()}) {
        bubble->setScale(2.0f);
        bubble->setAnchorPoint(CCPoint(0.5f, 0.4f));
        bubble->setVisible(false);
    }
    addChildAtZ(m_front, 5);
    addChildAtZ(m_back, 0);
    show(event);
    return true;
}

void KVDamageFeedback::show(KVActionEvent* event) {
    std::string text;
    if (event != nullptr && KVActionEvent::isHit(event->type)) {
        const float r = std::min(event->ratio, 1.0f);
        const float settle = (1.0f + 5.0f * r) / 2.0f;
        text = kvviewtext::formatLocalised("Injured pawn", {event->value});
        if (m_label != nullptr) {
            m_label->setColor(kvengine::ccColor3B{255, 0, 0});
            m_label->setPosition(CCPoint(0.0f, 0.0f));
        }
        m_front->stopAllActions();
        m_back->stopAllActions();
        showFrame(m_front, "KV_DommageBulleBlanche2.png");
        showFrame(m_back, "KV_DommageBulleBlanche1.png");
        m_front->setScale(0.1f);
        m_front->setVisible(true);
        m_front->setOpacity(255);
        kvengine::CCFiniteTimeAction* const frontSteps[] = {
            kvengine::CCDelayTime::createWithDuration(0.05f),
            kvengine::CCScaleTo::createWithDurationScale(0.08f, 1.0f + 5.0f * r),
            kvengine::CCScaleTo::createWithDurationScale(0.06f, settle), holdThenFade()};
        m_front->runAction(kvengine::CCSequence::createWithActionList(frontSteps, 4));
        m_back->setScale(0.1f);
        m_back->setVisible(true);
        m_back->setOpacity(255);
        m_back->runAction(kvengine::CCSequence::createWithTwoActions(
            kvengine::CCScaleTo::createWithDurationScale(0.1f, settle), holdThenFade()));
        m_height = m_front->getContentSize().height * settle * 0.5f * 0.8f;
    } else if (event != nullptr && event->type == KVActionEvent::Heal) {
        auto* pawn = event->target != nullptr && event->target->isKindOf("KVPawn")
                         ? static_cast<KVPawn*>(event->target)
                         : nullptr;
        const int hp = pawn != nullptr ? pawn->getHitPoints() : 0;
        const int maxHP = pawn != nullptr ? pawn->getMaxHP() : 0;
        text = kvviewtext::formatLocalised("Healed pawn", {event->value, hp, maxHP});
        if (m_label != nullptr) {
            m_label->setColor(kvengine::ccColor3B{0, 255, 0});
            m_label->setPosition(CCPoint(0.0f, 5.0f));
        }
        m_front->stopAllActions();
        showFrame(m_front, "Kv_EncartHP_Vert.png");
        m_front->setScale(2.0f);
        m_front->setVisible(true);
        m_front->setOpacity(255);
        m_front->runAction(holdThenFade());
        m_height = m_front->getContentSize().height;
    } else if (m_label != nullptr) {
        text = m_label->getString();
    }
    if (m_label != nullptr) {
        m_label->stopAllActions();
        m_label->setString(text.c_str());
        m_label->setVisible(true);
        m_label->setOpacity(255);
        kvengine::CCFiniteTimeAction* const steps[] = {
            kvengine::CCDelayTime::createWithDuration(kShownSeconds),
            kvengine::CCFadeOut::createWithDuration(kFadeSeconds),
            kvengine::CCDelayTime::createWithDuration(0.2f),
            kvengine::CCCallFunc::createWithTargetSelector(
                this, callfunc_selector(KVDamageFeedback::releaseFigure))};
        m_label->runAction(kvengine::CCSequence::createWithActionList(steps, 4));
    }
    setPosition(CCPoint(0.0f, 0.0f));
    m_busy = true;
}

void KVDamageFeedback::releaseFigure() {
    m_busy = false;
}

void KVDamageFeedback::cleanupBeforeDelete() {
    for (kvengine::CCNode* node : std::initializer_list<kvengine::CCNode*>{m_label, m_front, m_back})
        if (node != nullptr) node->stopAllActions();
    m_label.reset();
    m_front.reset();
    m_back.reset();
    CCNode::cleanupBeforeDelete();
}

// ---- KVPawnDamageFeedback ----

bool KVPawnDamageFeedback::initWithPawn(KVPawn* pawn) {
    if (pawn == nullptr) {
        kvengine::logDebugMessage("KVPawnDamageFeedback::initWithPawn: no pawn");
        return false;
    }
    auto* figures = new kvengine::CCMutableArray<KVDamageFeedback*>();
    m_figures.adopt(figures);
    m_pawn = pawn;
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVPawnDamageFeedback::onAction), EVENT_ACTION);
    return true;
}

void KVPawnDamageFeedback::onAction(kvengine::CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVActionEvent") || m_pawn == nullptr) return;
    auto* event = static_cast<KVActionEvent*>(object);
    if (event->target != m_pawn || !isShownType(event->type)) return;

    const unsigned n = m_figures->count();
    KVDamageFeedback* chosen = nullptr;
    for (unsigned i = 0; i < n && chosen == nullptr; ++i) {
        KVDamageFeedback* figure = m_figures->objectAtIndex(i);
        if (!figure->isBusy()) {
            chosen = figure;
            chosen->show(event);
        }
    }
    if (chosen == nullptr) {
        chosen = new KVDamageFeedback();
        chosen->initWithAction(event);
        m_figures->addObject(chosen);
        addChildAtZ(chosen, 0);
        chosen->release();
    }
    const float h = chosen->getStepHeight();
    chosen->setPosition(CCPoint(0.0f, m_pawn->getRadius() + 10.0f - h));
    for (unsigned i = 0; i < n; ++i) {
        KVDamageFeedback* figure = m_figures->objectAtIndex(i);
        if (figure == chosen || !figure->isBusy()) continue;
        const CCPoint at = figure->getPosition();
        figure->setPosition(CCPoint(at.x, at.y + 2.0f * h));
    }
}

void KVPawnDamageFeedback::cleanupBeforeDelete() {
    kvengine::CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    m_figures.reset();
    m_pawn.reset();
    CCNode::cleanupBeforeDelete();
}
