#include "game/views/KVCoconutCrabV.h"

#include <cstdint>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVCoconutCrab.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCSprite;

const char* const KVCoconutCrabV::kParts[6] = {"body", "head", "l_arm", "r_arm", "l_claw", "r_claw"};

namespace {

constexpr float kPointsPerMetre = 32.0f;
constexpr uint32_t kGlOne = 1;

struct PartAnimation {
    const char* name;
    float secondsPerFrame;
    bool forever;
};
// Every part plays these; the head also has its four resting poses.
const PartAnimation kPartAnimations[] = {{"idle", 0.2f, true},
                                         {"quake", 1.0f / 24.0f, false},
                                         {"swipe", 0.0625f, false},
                                         {"throw_left", 0.05f, false},
                                         {"throw_right", 0.05f, false}};
const char* const kHeadPoses[] = {"idle_ko_left", "idle_ko_right", "idle_ko", "idle_weakpoint"};
constexpr float kHeadPoseSeconds = 0.2f;

constexpr float kSwipeEffectScale = 10.0f / 7.0f;
constexpr float kWeakPointScale = 1.0f / 0.58f;
constexpr float kEffectFrameSeconds = 0.0625f;
constexpr float kPuffScale = 2.0f;
constexpr float kPuffFade = 0.5f;
const char* const kPuffSheet = "top_sfx_51_ss";

} // namespace

KVCoconutCrab* KVCoconutCrabV::boss() const {
    return m_model != nullptr && m_model->isKindOf("KVCoconutCrab")
               ? static_cast<KVCoconutCrab*>(m_model.get())
               : nullptr;
}

bool KVCoconutCrabV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVCoconutCrab")) {
        kvengine::logDebugMessage("KVCoconutCrabV::initWithActor: the model is not the coconut crab");
        return false;
    }
    if (!KVPawnV::initWithActor(model, host)) return false;
    setPartsVisible(false);
    m_throwSide = 0;
    m_throwBlowPending = false;
    m_throwBlowTimer = 0.0f;
    m_swipeEffectTimer = 0.0f;
    m_dying = false;
    m_puffTimer = 0.0f;
    m_nextPuff = 0;
    m_deathQuakes = 0;

    auto* animations = new kvengine::CCMutableDictionary<std::string, AnimationDictionary*>();
    m_partAnimations.adopt(animations);
    auto* sprites = new kvengine::CCMutableDictionary<std::string, CCSprite*>();
    m_partSprites.adopt(sprites);

    const CCPoint at(model->positionX * kPointsPerMetre, model->positionY * kPointsPerMetre);
    for (const char* part : kParts) {
        auto* partAnimations = new AnimationDictionary();
        m_partAnimations->setObject(partAnimations, part);
        partAnimations->release();
        for (const PartAnimation& animation : kPartAnimations)
            storeFrameAnimation(partAnimations, animation.name, part, animation.name, 1,
                                animationCount(animation.name), animation.secondsPerFrame, animation.forever);
        if (std::string(part) == "head")
            for (const char* pose : kHeadPoses)
                storeFrameAnimation(partAnimations, pose, part, pose, 1, animationCount(pose),
                                    kHeadPoseSeconds, true);

        CCSprite* sprite = spriteOfFrame((std::string(part) + "_idle_01.png").c_str());
        sprite->setPosition(at);
        sprite->setScale(kPartScale);
        m_partSprites->setObject(sprite, part);
        addToSheet(sprite, ("coconut_crab_" + std::string(part) + "_ss").c_str(), 0);
    }

    m_swipeEffect = spriteOfFrame("swipe_sfx_01.png");
    m_swipeEffect->setPosition(at);
    m_swipeEffect->setScale(kSwipeEffectScale);
    m_swipeEffect->setVisible(false);
    addToSheet(m_swipeEffect, "coconut_crab_sfx_ss", 0);
    m_swipeAnimation = createFrameAnimation("swipe", "sfx", 1, 9, kEffectFrameSeconds);

    m_weakPoint = spriteOfFrame("weak_sfx_01.png");
    m_weakPoint->setPosition(at);
    m_weakPoint->setScale(kWeakPointScale);
    m_weakPoint->setVisible(false);
    m_weakPoint->setBlendFunc(kvengine::ccBlendFunc{kGlOne, kGlOne});
    addToSheet(m_weakPoint, "coconut_crab_sfx_weakpoint_ss", 0);
    m_weakPointAnimation = createFrameAnimation("weak", "sfx", 1, 23, kEffectFrameSeconds);

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onQuakeTrigger),
                        EVENT_COCONUT_CRAB_QUAKE_TRIGGER);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onSwipeTrigger),
                        EVENT_COCONUT_CRAB_SWIPE_TRIGGER);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onThrowLeftTrigger),
                        EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onThrowRightTrigger),
                        EVENT_COCONUT_CRAB_THROW_RIGHT_TRIGGER);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onDead), EVENT_COCONUT_CRAB_DEAD);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onKoRightEye),
                        EVENT_COCONUT_CRAB_KO_RIGHT_EYE);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onKoLeftEye),
                        EVENT_COCONUT_CRAB_KO_LEFT_EYE);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onKoBothEyes),
                        EVENT_COCONUT_CRAB_KO_BOTH_EYES);
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onActivateMouth),
                        EVENT_COCONUT_CRAB_ACTIVATE_MOUTH);
    // Delivered after onDead, which registered first.
    centre->addObserver(this, notification_selector(KVCoconutCrabV::onDeadQuake), EVENT_COCONUT_CRAB_DEAD);
    playIdle();
    return true;
}

CCSprite* KVCoconutCrabV::getPartSprite(const std::string& part) const {
    return m_partSprites != nullptr ? m_partSprites->objectForKey(part) : nullptr;
}

KVPawnV::AnimationDictionary* KVCoconutCrabV::getPartAnimations(const std::string& part) const {
    return m_partAnimations != nullptr ? m_partAnimations->objectForKey(part) : nullptr;
}

void KVCoconutCrabV::runPartsAnimation(const char* animation, const char* skipped) {
    for (const char* part : kParts) {
        if (skipped != nullptr && std::string(part) == skipped) continue;
        CCSprite* sprite = getPartSprite(part);
        if (sprite == nullptr) continue;
        sprite->stopAllActions();
        runAnimation(sprite, getPartAnimations(part), animation, std::string(animation) == "idle" ? 0 : 1,
                     nullptr);
    }
}

void KVCoconutCrabV::playIdle() {
    m_state = kStateIdle;
    m_attacking = false;
    runPartsAnimation("idle", nullptr);
    m_throwSide = 0;
}

void KVCoconutCrabV::onQuakeTrigger(CCNotification* notification) {
    (void)notification;
    retain();
    m_attacking = true;
    for (const char* part : kParts)
        if (CCSprite* sprite = getPartSprite(part)) sprite->stopAllActions();
    runPartsAnimation("quake", "body");
    runAnimation(getPartSprite("body"), getPartAnimations("body"), "quake", 1,
                 callfunc_selector(KVCoconutCrabV::onQuakeAnimationDone));
    release();
}

void KVCoconutCrabV::onQuakeAnimationDone() {
    playIdle();
    KVCoconutCrab* crab = boss();
    if (crab != nullptr && crab->isBossDead()) {
        // The death's quake plays twice; the boss then rests knocked out.
        if (m_deathQuakes > 0) {
            setHeadIdleAnimation("idle_ko");
            playIdle();
        } else {
            ++m_deathQuakes;
            onQuakeTrigger(nullptr);
        }
        return;
    }
    post(EVENT_COCONUT_CRAB_QUAKE_ANIM_END, nullptr);
}

void KVCoconutCrabV::onSwipeTrigger(CCNotification* notification) {
    (void)notification;
    retain();
    m_attacking = true;
    runPartsAnimation("swipe", "body");
    if (CCSprite* body = getPartSprite("body")) body->stopAllActions();
    m_swipeEffectTimer = kSwipeEffectSeconds;
    runAnimation(getPartSprite("body"), getPartAnimations("body"), "swipe", 1,
                 callfunc_selector(KVCoconutCrabV::onSwipeAnimationDone));
    release();
}

void KVCoconutCrabV::onSwipeAnimationDone() {
    retain();
    post(EVENT_COCONUT_CRAB_SWIPE_ANIM_END, nullptr);
    playIdle();
    if (m_swipeEffect != nullptr) m_swipeEffect->setVisible(false);
    m_swipeEffectTimer = 0.0f;
    release();
}

void KVCoconutCrabV::onThrowLeftTrigger(CCNotification* notification) {
    (void)notification;
    startThrow(true);
}

void KVCoconutCrabV::onThrowRightTrigger(CCNotification* notification) {
    (void)notification;
    startThrow(false);
}

void KVCoconutCrabV::startThrow(bool left) {
    retain();
    const char* animation = left ? "throw_left" : "throw_right";
    m_attacking = true;
    m_throwSide = left ? 1 : 2;
    m_throwBlowTimer = kThrowBlowSeconds;
    m_throwBlowPending = true;
    runPartsAnimation(animation, "body");
    if (CCSprite* body = getPartSprite("body")) body->stopAllActions();
    runAnimation(getPartSprite("body"), getPartAnimations("body"), animation, 1,
                 callfunc_selector(KVCoconutCrabV::onThrowAnimationDone));
    release();
}

void KVCoconutCrabV::postThrowBlow() {
    m_throwBlowPending = false;
    post(m_throwSide == 1 ? EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER
                          : EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER,
         m_model);
}

void KVCoconutCrabV::onThrowAnimationDone() {
    retain();
    // A throw shorter than the blow's time still throws, once, before it ends.
    if (m_throwBlowPending) postThrowBlow();
    post(m_throwSide == 1 ? EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END : EVENT_COCONUT_CRAB_THROW_RIGHT_ANIM_END,
         nullptr);
    playIdle();
    release();
}

void KVCoconutCrabV::setHeadIdleAnimation(const char* pose) {
    AnimationDictionary* head = getPartAnimations("head");
    if (head == nullptr) return;
    kvengine::CCAction* chosen = head->objectForKey(pose);
    if (chosen != nullptr) head->setObject(chosen, "idle");
}

void KVCoconutCrabV::restUnlessAttacking() {
    // An attack's animation ends in the rest pose, and its end is what lets the boss's turn go on:
    // stopping it here would leave the controller waiting for ever.
    if (!m_attacking) playIdle();
}

void KVCoconutCrabV::onKoLeftEye(CCNotification* notification) {
    (void)notification;
    setHeadIdleAnimation("idle_ko_left");
    restUnlessAttacking();
}

void KVCoconutCrabV::onKoRightEye(CCNotification* notification) {
    (void)notification;
    setHeadIdleAnimation("idle_ko_right");
    restUnlessAttacking();
}

void KVCoconutCrabV::onKoBothEyes(CCNotification* notification) {
    (void)notification;
    setHeadIdleAnimation("idle_ko");
    restUnlessAttacking();
    if (m_weakPoint != nullptr) {
        m_weakPoint->setVisible(true);
        m_weakPoint->stopAllActions();
        if (m_weakPointAnimation != nullptr) m_weakPoint->runAction(m_weakPointAnimation);
    }
}

void KVCoconutCrabV::onActivateMouth(CCNotification* notification) {
    (void)notification;
    setHeadIdleAnimation("idle_weakpoint");
    restUnlessAttacking();
    if (m_weakPoint != nullptr) {
        m_weakPoint->setVisible(false);
        m_weakPoint->stopAllActions();
    }
}

void KVCoconutCrabV::onDead(CCNotification* notification) {
    (void)notification;
    m_dying = true;
    auto* pool = new kvengine::CCMutableArray<CCSprite*>();
    m_puffs.adopt(pool);
    m_nextPuff = 0;
    m_puffTimer = 0.0f;
}

void KVCoconutCrabV::onDeadQuake(CCNotification* notification) {
    (void)notification;
    ++m_deathQuakes;
    onQuakeTrigger(nullptr);
}

void KVCoconutCrabV::update(float dt) {
    KVPawnV::update(dt);
    setPartsVisible(false);
    if ((m_throwSide == 1 || m_throwSide == 2) && m_throwBlowPending && m_throwBlowTimer > 0.0f) {
        m_throwBlowTimer -= dt;
        if (m_throwBlowTimer <= 0.0f) {
            m_throwBlowTimer = 0.0f;
            postThrowBlow();
        }
    }
    if (m_swipeEffectTimer > 0.0f) {
        m_swipeEffectTimer -= dt;
        if (m_swipeEffectTimer <= 0.0f) {
            m_swipeEffectTimer = 0.0f;
            if (m_swipeEffect != nullptr) {
                m_swipeEffect->setVisible(true);
                m_swipeEffect->stopAllActions();
                if (m_swipeAnimation != nullptr) m_swipeEffect->runAction(m_swipeAnimation);
            }
        }
    }
    if (m_dying) {
        m_puffTimer -= dt;
        if (m_puffTimer <= 0.0f) {
            m_puffTimer = kPuffSeconds;
            makePuff();
        }
    }
}

void KVCoconutCrabV::makePuff() {
    if (m_puffs == nullptr || m_model == nullptr) return;
    CCSprite* puff = nullptr;
    if (static_cast<int>(m_puffs->count()) < kPuffPool) {
        puff = spriteOfFrame("puff_enemy_01.png");
        puff->setScale(kPuffScale);
        addToSheet(puff, kPuffSheet, 0);
        m_puffs->addObject(puff);
    } else {
        puff = m_puffs->objectAtIndex(static_cast<unsigned>(m_nextPuff));
        m_nextPuff = (m_nextPuff + 1) % kPuffPool;
    }
    if (puff == nullptr) return;
    const float r1 = kvengine::CCRandom::random0To1();
    const float r2 = kvengine::CCRandom::random0To1();
    puff->setPosition(CCPoint(m_model->positionX * kPointsPerMetre + 200.0f * (2.0f * r1 - 1.0f),
                              m_model->positionY * kPointsPerMetre + 184.0f + 100.0f * r2));
    puff->setOpacity(255);
    puff->stopAllActions();
    puff->runAction(
        kvengine::CCSpawn::createWithTwoActions(createFrameAnimation("puff", "enemy", 1, 6, 0.1f),
                                                kvengine::CCFadeTo::createWithDurationOpacity(kPuffFade, 0)));
}

void KVCoconutCrabV::onRemoveActor(CCNotification* notification) {
    if (notification == nullptr || notification->getObject() != m_model) return;
    retain();
    for (const char* part : kParts)
        detach(getPartSprite(part));
    if (m_puffs != nullptr)
        for (CCSprite* puff : *m_puffs)
            detach(puff);
    detach(m_swipeEffect);
    detach(m_weakPoint);
    KVPawnV::onRemoveActor(notification);
    release();
}

void KVCoconutCrabV::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_partSprites != nullptr)
        for (const char* part : kParts)
            if (CCSprite* sprite = getPartSprite(part)) sprite->stopAllActions();
    m_partAnimations.reset();
    m_partSprites.reset();
    if (m_swipeEffect != nullptr) m_swipeEffect->stopAllActions();
    if (m_weakPoint != nullptr) m_weakPoint->stopAllActions();
    if (m_puffs != nullptr)
        for (CCSprite* puff : *m_puffs)
            puff->stopAllActions();
    m_swipeEffect.reset();
    m_swipeAnimation.reset();
    m_weakPoint.reset();
    m_weakPointAnimation.reset();
    m_puffs.reset();
    KVPawnV::cleanupBeforeDelete();
}

void KVCoconutCrabEyeV::update(float dt) {
    KVPawnV::update(dt);
    setPartsVisible(false);
}
