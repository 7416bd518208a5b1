// The views of the area attack and of the dash.
#include <cmath>
#include <cstdio>

#include <box2d/box2d.h>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVAOEAttack.h"
#include "game/attacks/KVAOEAttackV.h"
#include "game/attacks/KVDash.h"
#include "game/attacks/KVDashV.h"
#include "game/pawns/KVPawn.h"

// Timing notes: the ring turns 4 degrees every 0.1 s while aiming; the blast frames last 0.08 s
// (nine frames, 0.72 s) and the ring's last widening 0.81 s, so the ring is still fading when the
// blast ends and removes the attack. The hand ticks in 22.5-degree steps, sixteen to a turn.

using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCSprite;

namespace {

constexpr float kPointsPerMetre = 32.0f;
constexpr float kDegreesPerRadian = 57.29578f;
constexpr int kRingZ = 50;
constexpr int kCentreZ = 51;
constexpr uint8_t kAimOpacity = 200;
constexpr float kRingTurnStep = -4.0f;
constexpr float kRingTurnInterval = 0.1f;
constexpr float kRingFadeSeconds = 0.7f;
constexpr float kBlastWiden = 4.0f;
constexpr float kBlastTurn = -60.0f;
constexpr float kBlastSeconds = 0.81f;
constexpr float kBlastFrameDelay = 0.08f;
constexpr float kTickStep = 22.5f;
constexpr float kTrailFrameDelay = 0.1f;

// Frames "<pattern>" numbered first..last from the frame cache; a missing number is skipped.
kvengine::CCAnimate* numberedAnimation(const char* pattern, int first, int last, float delay) {
    kvengine::CCAnimation* animation = kvengine::CCAnimation::create();
    animation->setDelay(delay);
    kvengine::CCSpriteFrameCache* cache = kvengine::CCSpriteFrameCache::getInstance();
    for (int index = first; index <= last; ++index) {
        char name[64];
        std::snprintf(name, sizeof name, pattern, index);
        if (kvengine::CCSpriteFrame* frame = cache->findSpriteFrameByName(name)) animation->addFrame(frame);
    }
    return kvengine::CCAnimate::createWithAnimationRestore(animation, false);
}

constexpr const char* kEffectSheet = "top_sfx_51_ss";

// The layer's effect sheet, which the attack frames are packed in; null (logged) without one.
kvengine::CCNode* effectSheet(KVActorViewHost* host, const char* who) {
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet(kEffectSheet) : nullptr;
    if (sheet == nullptr) kvengine::logDebugMessage("%s: no sheet \"%s\" to draw in", who, kEffectSheet);
    return sheet;
}

} // namespace

// ---- KVAOEAttackV ----

bool KVAOEAttackV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVAOEAttack") ||
        static_cast<KVAOEAttack*>(model)->getAttacker() == nullptr) {
        kvengine::logDebugMessage("KVAOEAttackV::initWithActor: no area attack with an attacker");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    auto* attack = static_cast<KVAOEAttack*>(model);
    KVPawn* attacker = attack->getAttacker();
    m_enemy = attacker->isEnemy();
    m_scale = static_cast<float>(attacker->getRangeAoE()) / kReferenceRange * kRingScaleAtReference;
    m_fading = false;
    m_tickTimer = 0.0f;
    const CCPoint at(model->positionX * kPointsPerMetre, model->positionY * kPointsPerMetre);

    if (CCSprite* ring = CCSprite::createWithSpriteFrameName("AE_Area_BGR.png")) {
        ring->setPosition(at);
        ring->setOpacity(kAimOpacity);
        ring->setScale(m_scale);
        addToHost(ring, kRingZ);
        ring->runAction(kvengine::CCRepeatForever::createWithAction(
            kvengine::CCRotateBy::createWithDurationAngle(kRingTurnInterval, kRingTurnStep)));
        setSprite(ring);
    }
    if (!m_enemy) {
        if (CCSprite* centre = CCSprite::createWithSpriteFrameName("AE_Area_CHR.png")) {
            centre->setPosition(at);
            centre->setOpacity(kAimOpacity);
            centre->setScale(m_scale);
            addToHost(centre, kCentreZ);
            setCentre(centre);
        }
    }
    m_blast =
        numberedAnimation(m_enemy ? "AoE_enemy_%.2d.png" : "AoE_melee_%.2d.png", 1, 9, kBlastFrameDelay);
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVAOEAttackV::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR, attacker);
    return true;
}

void KVAOEAttackV::addToHost(kvengine::CCNode* node, int z) {
    if (kvengine::CCNode* sheet = effectSheet(m_host, "KVAOEAttackV")) sheet->addChildAtZ(node, z);
}

void KVAOEAttackV::setCentre(CCSprite* sprite) {
    m_centre = sprite;
}

unsigned KVAOEAttackV::getBlastFrameCount() const {
    return m_blast != nullptr && m_blast->getAnimation() != nullptr
               ? m_blast->getAnimation()->getFrames()->count()
               : 0u;
}

void KVAOEAttackV::update(float dt) {
    if (m_model == nullptr) return;
    auto* attack = static_cast<KVAOEAttack*>(m_model.get());
    const CCPoint at(m_model->positionX * kPointsPerMetre, m_model->positionY * kPointsPerMetre);
    CCSprite* ring = static_cast<CCSprite*>(m_sprite.get());
    if (ring != nullptr) ring->setPosition(at);
    if (m_centre != nullptr) m_centre->setPosition(at);

    if (m_fading) {
        if (ring != nullptr) {
            const float opacity = static_cast<float>(ring->getOpacity()) - dt * 100.0f / kRingFadeSeconds;
            ring->setOpacity(static_cast<uint8_t>(opacity > 0.0f ? opacity : 0.0f));
        }
    } else if (attack->getPhase() == KVAOEAttack::kPhaseTriggered) {
        m_fading = true;
        if (m_centre != nullptr && m_centre->getParent() != nullptr) m_centre->removeFromParent(true);
        setCentre(nullptr);
        if (CCSprite* blast = CCSprite::createWithSpriteFrameName("AoE_melee_01.png")) {
            blast->setPosition(at);
            blast->setScale(m_scale * 2.0f);
            blast->setOpacity(kAimOpacity);
            addToHost(blast, kCentreZ);
            setCentre(blast);
            if (m_blast != nullptr)
                blast->runAction(kvengine::CCSequence::createWithTwoActions(
                    m_blast, kvengine::CCCallFunc::createWithTargetSelector(
                                 this, callfunc_selector(KVAOEAttackV::onBlastEnd))));
        } else {
            onBlastEnd();
            return;
        }
        if (ring != nullptr) {
            ring->stopAllActions();
            ring->runAction(kvengine::CCSpawn::createWithTwoActions(
                kvengine::CCRotateBy::createWithDurationAngle(kBlastSeconds, kBlastTurn),
                kvengine::CCScaleBy::createWithDurationScale(kBlastSeconds, kBlastWiden)));
        }
        m_tickTimer = 0.0f;
    } else if (!m_enemy && m_centre != nullptr && ring != nullptr) {
        m_centre->setRotation(ring->getRotation());
        if (attack->getPhase() != 0) {
            m_tickTimer += dt;
            m_centre->setRotation(ring->getRotation() - kTickStep * std::floor(m_tickTimer * 10.0f));
        }
    }
}

void KVAOEAttackV::onBlastEnd() {
    if (m_model == nullptr) return;
    retain();
    KVActor* model = m_model;
    model->retain();
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, model);
    model->release();
    release();
}

void KVAOEAttackV::onRemoveActor(kvengine::CCNotification* notification) {
    retain();
    if (m_centre != nullptr && m_centre->getParent() != nullptr) m_centre->removeFromParent(true);
    setCentre(nullptr);
    if (m_attached) KVActorV::onRemoveActor(notification);
    release();
}

void KVAOEAttackV::cleanupBeforeDelete() {
    setCentre(nullptr);
    m_blast.reset();
    KVActorV::cleanupBeforeDelete();
}

// ---- KVDashV ----

bool KVDashV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVDash")) {
        kvengine::logDebugMessage("KVDashV::initWithActor: no dash");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    KVPawn* pawn = static_cast<KVDash*>(model)->getPawn();
    m_trail = numberedAnimation("doubledash_%.2d.png", 1, 6, kTrailFrameDelay);
    CCSprite* sprite = pawn != nullptr ? CCSprite::createWithSpriteFrameName("doubledash_01.png") : nullptr;
    if (sprite == nullptr) {
        // Nothing to show: the dash still counts and ends at once.
        onTrailEnd();
        return true;
    }
    float a = pawn->angle;
    float px = pawn->positionX, py = pawn->positionY;
    if (b2Body* body = pawn->getBody()) {
        a = body->GetAngle();
        px = body->GetPosition().x;
        py = body->GetPosition().y;
    }
    sprite->setPosition(CCPoint((px + std::sin(a)) * kPointsPerMetre, (py - std::cos(a)) * kPointsPerMetre));
    float degrees = std::fmod(-a * kDegreesPerRadian, 360.0f);
    if (degrees < 0.0f) degrees += 360.0f;
    sprite->setRotation(degrees);
    sprite->setOpacity(255);
    if (kvengine::CCNode* sheet = effectSheet(m_host, "KVDashV")) sheet->addChild(sprite);
    setSprite(sprite);
    sprite->runAction(kvengine::CCSequence::createWithTwoActions(
        m_trail,
        kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVDashV::onTrailEnd))));
    return true;
}

void KVDashV::onTrailEnd() {
    if (m_model == nullptr) return;
    retain();
    KVActor* model = m_model;
    model->retain();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->postNotification(EVENT_DASH_ACTIVE, model);
    centre->postNotification(EVENT_REMOVE_ACTOR, model);
    model->release();
    release();
}

void KVDashV::cleanupBeforeDelete() {
    m_trail.reset();
    KVActorV::cleanupBeforeDelete();
}
