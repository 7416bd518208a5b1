#include "game/objects/KVPearlV.h"

#include <cmath>
#include <cstdio>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCValue.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVPearl.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNode;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCSprite;

namespace {

constexpr float kPointsPerMetre = 32.0f;
// Additive glow: source alpha, one.
constexpr uint32_t kGlSrcAlpha = 0x0302;
constexpr uint32_t kGlOne = 1;
constexpr float kLabelFontSize = 16.0f;
constexpr float kLabelScale = 1.5f;

KVRunningMission* runningMission() {
    return dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
}

} // namespace

int KVPearlV::spriteCountForValue(int value) {
    if (value <= 0) return 0;
    if (value <= 3) return value;
    if (value <= 10) return 3;
    if (value <= 25) return 6;
    return 12;
}

KVPearl* KVPearlV::pearl() const {
    return static_cast<KVPearl*>(m_model.get());
}

CCPoint KVPearlV::modelPoint() const {
    return m_model != nullptr
               ? CCPoint(m_model->positionX * kPointsPerMetre, m_model->positionY * kPointsPerMetre)
               : CCPoint();
}

CCSprite* KVPearlV::getPearlSprite(int index) const {
    return index >= 0 && index < getPearlCount() ? m_pearls[static_cast<size_t>(index)].sprite : nullptr;
}

CCSprite* KVPearlV::getGlowSprite(int index) const {
    return index >= 0 && index < getPearlCount() ? m_pearls[static_cast<size_t>(index)].glow : nullptr;
}

bool KVPearlV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVPearl")) {
        kvengine::logDebugMessage("KVPearlV::initWithActor: the model is no pearl");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    const int count = spriteCountForValue(pearl()->getValue());
    for (int i = 0; i < count; ++i) {
        CCSprite* sprite = CCSprite::createWithSpriteFrameName("pearl.png");
        CCSprite* glow = CCSprite::createWithSpriteFrameName("pearl_glow.png");
        if (sprite == nullptr || glow == nullptr) continue; // the frame cache logs the missing frame
        // Scattered up to 0.75 m sideways and 0.5 m up or down.
        const int r1 = kvengine::CCRandom::next() % 200 - 100;
        const int r2 = kvengine::CCRandom::next() % 200 - 100;
        const float x = m_model->positionX + static_cast<float>(r1) * 1.5f * 5.0f / 1000.0f;
        const float y = m_model->positionY + static_cast<float>(r2) * 5.0f / 1000.0f;
        sprite->setPosition(CCPoint(x * kPointsPerMetre, y * kPointsPerMetre));
        glow->setBlendFunc(kvengine::ccBlendFunc{kGlSrcAlpha, kGlOne});
        Pearl entry;
        entry.sprite = sprite;
        entry.glow = glow;
        entry.phase = static_cast<float>(kvengine::CCRandom::next()) / 10000.0f;
        sprite->retain();
        glow->retain();
        m_pearls.push_back(entry);
    }
    m_elapsed = 0.0f;
    m_turnsLeft = kTurnsBeforeFading;
    m_settled = false;
    m_collecting = false;
    m_target = CCPoint();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPearlV::onSingleTap), EVENT_SINGLE_TAP);
    centre->addObserver(this, notification_selector(KVPearlV::onStartTurn), EVENT_START_TURN);
    centre->addObserver(this, notification_selector(KVPearlV::onVictoryDance), EVENT_VICTORY_DANCE);
    centre->postNotification(EVENT_PEARL_SPWANED, this);
    placeSprites();
    return true;
}

void KVPearlV::placeSprites() {
    auto* layer = dynamic_cast<CCNode*>(m_hostObject.get());
    for (Pearl& entry : m_pearls) {
        entry.sprite->setOpacity(255);
        entry.sprite->setScale(0.01f);
        entry.glow->setPosition(entry.sprite->getPosition());
        entry.glow->setScale(0.01f);
        entry.glow->setRotation(0.0f);
        if (layer != nullptr) {
            layer->addChildAtZ(entry.sprite, kSpriteZ);
            layer->addChildAtZ(entry.glow, kGlowZ);
        }
    }
}

void KVPearlV::update(float dt) {
    if (m_model == nullptr || m_pearls.empty()) return; // nothing to fly: waits for a turn or the dance
    m_elapsed += dt;
    const CCPoint centre = modelPoint();
    if (!m_settled && m_elapsed <= kPopOutTime) {
        for (Pearl& entry : m_pearls) {
            CCPoint at = entry.sprite->getPosition();
            const float dx = at.x - centre.x, dy = at.y - centre.y;
            const float length = std::sqrt(dx * dx + dy * dy);
            if (length > 0.0f) {
                const float step = dt * 5.0f / kPopOutTime;
                at = CCPoint(at.x + dx / length * step, at.y + dy / length * step);
                entry.sprite->setPosition(at);
            }
            entry.sprite->setScale(m_elapsed / kPopOutTime);
            entry.glow->setPosition(at);
            entry.glow->setScale(m_elapsed / kPopOutTime);
        }
        return;
    }
    if (!m_settled) {
        m_settled = true;
        for (Pearl& entry : m_pearls) {
            const CCPoint at = entry.sprite->getPosition();
            entry.rest = CCPoint(at.x, at.y - 5.0f * (std::cos(entry.phase + m_elapsed) - 1.0f));
        }
        return;
    }
    if (!m_collecting) {
        if (m_elapsed >= kRestTime) {
            pickUp();
            return;
        }
        const float glowScale = std::cos(6.0f * m_elapsed) / 10.0f + 1.0f;
        for (Pearl& entry : m_pearls) {
            const CCPoint at(entry.rest.x, entry.rest.y + 5.0f * (std::cos(entry.phase + m_elapsed) - 1.0f));
            entry.sprite->setPosition(at);
            entry.glow->setScale(glowScale);
            entry.glow->setPosition(at);
            entry.glow->setRotation(entry.glow->getRotation() + 53.0f * dt);
        }
        return;
    }
    const float left = kFlightTime - m_elapsed;
    const float scale = (0.8f - m_elapsed) / 0.8f;
    for (Pearl& entry : m_pearls) {
        CCPoint at = entry.sprite->getPosition();
        if (m_target.x != 0.0f || m_target.y != 0.0f) {
            // The last frame of the flight lands on the target: never a step past it.
            const float share = left > dt ? dt / left : 1.0f;
            if (left + dt > 0.0f)
                at = CCPoint(at.x + (m_target.x - at.x) * share, at.y + (m_target.y - at.y) * share);
            entry.sprite->setPosition(at);
        }
        entry.sprite->setScale(scale);
        entry.glow->setScale(scale);
        entry.glow->setPosition(at);
        entry.glow->setRotation(entry.glow->getRotation() + 53.0f * dt);
    }
}

void KVPearlV::pickUp() {
    float x = m_model->positionX, y = m_model->positionY;
    KVRunningMission* mission = runningMission();
    if (KVPawn* pawn = mission != nullptr ? mission->getCurrentPawn() : nullptr) pawn->getPosition(&x, &y);
    auto* point = new kvengine::CCValue<CCPoint>(CCPoint(x, y));
    CCNotificationCenter::getInstance()->postNotification(EVENT_PEARL_PICKED, nullptr, point);
    point->release();
    m_elapsed = 0.0f;
    m_collecting = true;
    m_target = CCPoint(x * kPointsPerMetre, y * kPointsPerMetre);
    pearl()->postAcquiredEvents();
    showValueLabels();
    fadeOutPearls();
}

void KVPearlV::showValueLabels() {
    auto* layer = dynamic_cast<CCNode*>(m_hostObject.get());
    if (layer == nullptr) return;
    kvengine::CCString* word = kvengine::getLocalizedString("PEARL");
    char text[64];
    std::snprintf(text, sizeof text, "+%i %s", pearl()->getValue(),
                  word != nullptr ? word->text.c_str() : "");
    kvengine::CCLabelTTF* labels[2] = {
        kvengine::CCLabelTTF::createWithString(text, HUD_FONT->text.c_str(), kLabelFontSize),
        kvengine::CCLabelTTF::createWithString(text, HUD_FONT->text.c_str(), kLabelFontSize)};
    if (labels[0] == nullptr || labels[1] == nullptr) return;
    KVRunningMission* mission = runningMission();
    const int slot = mission != nullptr ? mission->nextPearlLabelSlot() : 1;
    const CCPoint anchor =
        mission != nullptr ? mission->getPearlLabelAnchor() : CCPoint(m_model->positionX, m_model->positionY);
    const int w = static_cast<int>(labels[0]->getContentSize().width * kLabelScale);
    const int h = static_cast<int>(labels[0]->getContentSize().height * kLabelScale);
    const CCPoint first(anchor.x * kPointsPerMetre - static_cast<float>(w) / 2.0f,
                        anchor.y * kPointsPerMetre + static_cast<float>(slot * h + h));
    const kvengine::ccColor3B colours[2] = {{255, 162, 0}, {0, 0, 0}};
    for (int i = 0; i < 2; ++i) {
        kvengine::CCLabelTTF* label = labels[i];
        layer->addChild(label);
        label->setScale(kLabelScale);
        label->setAnchorPoint(CCPoint(0.0f, 0.5f));
        label->setOpacity(255);
        label->setColor(colours[i]);
        label->setPosition(CCPoint(first.x, first.y - (i == 0 ? 0.0f : 2.0f)));
        label->setVisible(true);
        auto* rise = kvengine::CCSequence::createWithTwoActions(
            kvengine::CCMoveBy::createWithDurationPosition(2.0f, CCPoint(0.0f, i == 0 ? 50.0f : 52.0f)),
            kvengine::CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVPearlV::removeLabel)));
        label->runAction(kvengine::CCSpawn::createWithTwoActions(
            kvengine::CCFadeTo::createWithDurationOpacity(1.9f, 0), rise));
    }
}

void KVPearlV::removeLabel(CCNode* label) {
    if (label != nullptr) label->removeFromParent(true);
}

void KVPearlV::fadeOutPearls() {
    if (m_fading) return;
    m_fading = true;
    for (Pearl& entry : m_pearls) {
        entry.sprite->runAction(kvengine::CCFadeTo::createWithDurationOpacity(kFlightTime, 0));
        entry.glow->runAction(kvengine::CCFadeTo::createWithDurationOpacity(kFlightTime, 0));
    }
    if (m_pearls.empty()) {
        postRemoval();
        return;
    }
    m_pearls.front().sprite->runAction(kvengine::CCSequence::createWithTwoActions(
        kvengine::CCDelayTime::createWithDuration(kFlightTime),
        kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVPearlV::postRemoval))));
}

void KVPearlV::postRemoval() {
    if (m_model == nullptr || m_model->isRemoved()) return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, m_model);
}

void KVPearlV::onSingleTap(CCNotification* notification) {
    (void)notification;
}

void KVPearlV::onStartTurn(CCNotification* notification) {
    (void)notification;
    if (--m_turnsLeft == 0) fadeOutPearls();
}

void KVPearlV::onVictoryDance(CCNotification* notification) {
    (void)notification;
    if (m_collecting || m_fading || m_model == nullptr) return; // already on its way or gone
    m_elapsed = 0.0f;
    m_collecting = true;
    pearl()->postAcquiredEvents();
    showValueLabels();
    fadeOutPearls();
}

void KVPearlV::setVisible(bool visible) {
    KVActorV::setVisible(visible);
    for (Pearl& entry : m_pearls) {
        entry.sprite->setVisible(visible);
        if (!visible) entry.sprite->setOpacity(0);
    }
}

void KVPearlV::setPearlsOpacity(unsigned char opacity) {
    for (Pearl& entry : m_pearls)
        entry.sprite->setOpacity(opacity);
}

void KVPearlV::stopAllPearlActions() {
    stopAllActions();
    for (Pearl& entry : m_pearls)
        entry.sprite->stopAllActions();
}

void KVPearlV::removePearlsFromParent(bool cleanup) {
    removeFromParent(cleanup);
    for (Pearl& entry : m_pearls)
        entry.sprite->removeFromParent(cleanup);
}

void KVPearlV::onRemoveActor(CCNotification* notification) {
    if (notification == nullptr || notification->getObject() != m_model) return;
    for (Pearl& entry : m_pearls) {
        entry.sprite->removeFromParent(true);
        entry.glow->removeFromParent(true);
    }
    KVActorV::onRemoveActor(notification);
}

void KVPearlV::releasePearls() {
    for (Pearl& entry : m_pearls) {
        entry.sprite->stopAllActions();
        entry.glow->stopAllActions();
        entry.sprite->removeFromParent(true);
        entry.glow->removeFromParent(true);
        entry.sprite->release();
        entry.glow->release();
    }
    m_pearls.clear();
}

void KVPearlV::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    releasePearls();
    KVActorV::cleanupBeforeDelete();
}
