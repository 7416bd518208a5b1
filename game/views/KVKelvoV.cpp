#include "game/views/KVKelvoV.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVHelmet.h"
#include "game/pawns/KVKelvo.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCSprite;

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kSlowSpeed = 1.0f;
constexpr float kBlinkSeconds = 0.4f;

bool frameExists(const std::string& name) {
    return kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name.c_str()) != nullptr;
}

std::string numbered(const std::string& sprite, const char* word, int index) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.2d", index);
    return sprite + "_" + word + "_" + digits + ".png";
}

} // namespace

KVKelvo* KVKelvoV::getKelvo() const {
    return static_cast<KVKelvo*>(m_model.get());
}

std::string KVKelvoV::spriteName() const {
    KVKelvo* kelvo = getKelvo();
    return kelvo != nullptr && kelvo->getSpriteName() != nullptr ? kelvo->getSpriteName()->text
                                                                 : std::string();
}

std::string KVKelvoV::helmetName() const {
    KVKelvo* kelvo = getKelvo();
    KVHelmet* helmet = kelvo != nullptr ? kelvo->getHelmet() : nullptr;
    return helmet != nullptr && helmet->getSpriteName() != nullptr ? helmet->getSpriteName()->text
                                                                   : std::string();
}

std::string KVKelvoV::getFirstFrameName() {
    return numbered(spriteName(), "idle", 1);
}

void KVKelvoV::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    for (kvengine::CCRetained<CCSprite>* sprite :
         {&m_spikyShell, &m_dirtPuff, &m_helmet, &m_ninjaLog, &m_powerupIcon}) {
        if (*sprite != nullptr) (*sprite)->stopAllActions();
        sprite->reset();
    }
    m_distanceTarget.reset();
    m_bubbles.reset();
    KVPawnV::cleanupBeforeDelete();
}

void KVKelvoV::buildAnimations(bool helmetVisible) {
    const std::string body = spriteName();
    const std::string hat = helmetName();
    auto build = [&](const char* key, const char* word, int first, int last, float delay,
                     bool forever = false) {
        storeFrameAnimation(m_animations, key, body, word, first, last, delay, forever);
        if (helmetVisible)
            storeFrameAnimation(m_secondAnimations, key, hat, word, first, last, delay, forever);
    };
    struct Entry {
        const char* key;
        const char* word;
        const char* countKey;
        float delay;
        bool optional;
    } const entries[] = {
        {"stretch", "stretch", "stretch", 0.1f, false},
        {"stretchIdle", "stretch_idle", "stretch_idle", 0.1f, false},
        {"launched", "launched", "launched", 0.1f, false},
        {"hit", "hit", "hit", 0.05f, false},
        {"hit_healed", "hit_healed", "hit_healed", 0.05f, false},
        {"waiting", "wait", "wait", 0.1f, true},
        {"victory", "victory", "victory", 0.1f, true},
        {"ko", "ko", "ko", 0.1f, true},
        {"fall", "fall", "fall", 0.1f, true},
        {"anchor", "anchor", "anchor", 0.1f, true},
    };
    for (const Entry& entry : entries) {
        if (entry.optional && !frameExists(numbered(body, entry.word, 1))) continue;
        build(entry.key, entry.word, 1, animationCount(entry.countKey), entry.delay);
    }
    buildAttackAnimations(helmetVisible);
    build("idle", "idle", 1, animationCount("idle"), 0.083f, true);
    KVPawnV::storeFrameAnimation(m_animations, "dirtyPuff", "puff", "dirt", 1, 6, 0.08f);
}

bool KVKelvoV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVKelvo")) {
        kvengine::logDebugMessage("KVKelvoV::initWithActor: the model is not a kelvo");
        return false;
    }
    if (!KVPawnV::initWithActor(model, host)) return false;
    KVKelvo* kelvo = getKelvo();
    KVHelmet* helmet = kelvo->getHelmet();
    const bool helmetVisible = helmet != nullptr && helmet->getHelmetName() != nullptr &&
                               !helmet->getHelmetName()->text.empty() && !helmetName().empty();
    buildAnimations(helmetVisible);
    if (helmetVisible) {
        m_helmet = spriteOfFrame(numbered(helmetName(), "idle", 1).c_str());
        kvengine::CCString* sheet = helmet->getSpriteSheetName();
        addToSheet(m_helmet, sheet != nullptr ? sheet->text.c_str() : "", 0);
        m_helmet->setVisible(m_sprite->isVisible());
        m_helmet->setScale(0.85f);
    }
    m_stretchFrame = 0;
    m_spikyShell = spriteOfFrame("spikyshell.png");
    m_spikyShell->setVisible(false);
    addToSheet(m_spikyShell, "low_sfx_51_ss", 100);
    m_dirtPuff = spriteOfFrame("puff_dirt_01.png");
    m_dirtPuff->setVisible(false);
    m_dirtPuff->setScale(2.0f);
    m_dirtPuff->setOpacity(150);
    addToSheet(m_dirtPuff, "top_sfx_51_ss", 0);
    auto* bubbles = new kvengine::CCMutableArray<CCSprite*>();
    m_bubbles.adopt(bubbles);
    for (int i = 0; i < kBubbleCount; ++i) {
        CCSprite* bubble = spriteOfFrame("PlayingChar_Bubble.png");
        bubble->setOpacity(255);
        bubble->setVisible(false);
        addToSheet(bubble, "low_sfx_88_ss", 100);
        m_bubbles->addObject(bubble);
    }
    m_fullPullCounter = 0;
    m_waitCounter = 0;
    m_blinkCounter = 0;
    m_starPosePending = false;
    m_victoryPending = false;
    m_koPending = false;
    m_state = kStateIdle;
    m_idleOwed = false;
    m_aoeOverOwed = false;
    m_pullTenths = 0;
    m_announcedTenths = 0;
    m_aimSector = 0;
    m_shellBlinkCounter = 0;
    m_shellOn = false;
    m_sushiWatched = false;

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    struct Observer {
        kvengine::CCString* name;
        kvengine::SEL_Notification handler;
        bool filtered;
    } const observers[] = {
        {EVENT_PULL_START, notification_selector(KVKelvoV::onPullStart), true},
        {EVENT_PULL_RELEASE, notification_selector(KVKelvoV::onPullRelease), true},
        {EVENT_HIDDEN_STAR_FOUND, notification_selector(KVKelvoV::onHiddenStarFound), false},
        {EVENT_AOE_ANIM_START, notification_selector(KVKelvoV::onAoeAnimStart), true},
        {EVENT_VICTORY_DANCE, notification_selector(KVKelvoV::onVictoryDance), false},
        {EVENT_LOOSE_DANCE, notification_selector(KVKelvoV::onLooseDance), false},
        {EVENT_ANCHOR_START, notification_selector(KVKelvoV::onAnchorStart), true},
        {EVENT_KELVO_BLINKS, notification_selector(KVKelvoV::onKelvoBlinks), false},
        {EVENT_AI_ANIM_IMPULSE_START, notification_selector(KVKelvoV::onAiAnimImpulseStart), true},
        {EVENT_DISTANCE_ATTACK_ANIM_START, notification_selector(KVKelvoV::onDistanceAttackAnimStart), false},
        {EVENT_SPIKY_SHELL_EQUIP, notification_selector(KVKelvoV::onSpikyShellEquip), true},
        {EVENT_SPIKY_SHELL_UNEQUIP, notification_selector(KVKelvoV::onSpikyShellUnequip), true},
        {EVENT_SPIKY_SHELL_SPIKE, notification_selector(KVKelvoV::onSpikyShellSpike), true},
        {EVENT_NINJA_LOG_FX, notification_selector(KVKelvoV::onNinjaLogFx), true},
        {EVENT_POWERUP_PICKED_UP, notification_selector(KVKelvoV::onPowerupPickedUp), true},
    };
    for (const Observer& observer : observers)
        centre->addObserver(this, observer.handler, observer.name, observer.filtered ? model : nullptr);
    playIdle();
    return true;
}

void KVKelvoV::onRemoveActor(kvengine::CCNotification* notification) {
    retain();
    for (kvengine::CCNode* node : std::initializer_list<kvengine::CCNode*>{m_spikyShell, m_dirtPuff, m_helmet,
                                                                           m_ninjaLog, m_powerupIcon})
        detach(node);
    if (m_bubbles != nullptr)
        for (unsigned i = 0; i < m_bubbles->count(); ++i)
            detach(m_bubbles->objectAtIndex(i));
    KVPawnV::onRemoveActor(notification);
    release();
}

// ---- Frame ----

void KVKelvoV::showFrame(CCSprite* sprite, const std::string& name) {
    if (sprite == nullptr) return;
    if (kvengine::CCSpriteFrame* frame =
            kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name.c_str()))
        sprite->setDisplayFrame(frame);
}

std::string KVKelvoV::blinkOr(const std::string& plain, const std::string& blink) {
    const int roll = kvengine::CCRandom::next() % 300;
    if (!frameExists(blink)) return plain;
    const bool start = m_blinkCounter == 0 && roll <= 1;
    if (m_blinkCounter == 0 && !start) return plain;
    m_blinkCounter = (m_blinkCounter + 1) % 6;
    return blink;
}

void KVKelvoV::stopBodyAndHelmet() {
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    if (m_helmet != nullptr) m_helmet->stopAllActions();
}

void KVKelvoV::update(float dt) {
    KVKelvo* kelvo = getKelvo();
    if (kelvo == nullptr || m_sprite == nullptr) return;
    KVPawnV::update(dt);
    if (!m_attached) return;
    CCSprite* body = getBodySprite();

    if (!kelvo->isAIDriven() && kelvo->isSelected()) {
        if (m_turnCircle != nullptr) m_turnCircle->setPosition(body->getPosition());
        if (!kelvo->isPulling()) {
            const int maxSP = kelvo->getMaxSP();
            showStaminaBubbles(maxSP > 0 ? static_cast<float>(kelvo->getStamina()) / static_cast<float>(maxSP)
                                         : 0.0f);
            if (m_turnCircle != nullptr)
                showFrame(m_turnCircle,
                          kelvo->getStamina() > 0 ? "PlayingChar_Circle.png" : "PlayingChar_CircleGrey.png");
        }
    } else {
        hideStaminaBubbles();
    }

    if (!kelvo->isPulling() && m_state == kStateIdle && kelvo->getBodySpeed() <= kSlowSpeed) {
        if (hasAnimation(m_animations, "victory") && m_starPosePending && isModelUpright()) {
            m_state = kStatePose;
            runAnimation(body, m_animations, "victory", 1, callfunc_selector(KVKelvoV::onPoseEnd));
            if (m_helmet != nullptr) runAnimation(m_helmet, m_secondAnimations, "victory", 1, nullptr);
            m_starPosePending = false;
            m_waitCounter = 0;
        } else if (!kelvo->isTurnActive()) {
            ++m_waitCounter;
        } else {
            // Its own turn starts a new wait: a fidget must not cut the wind-up of a launch.
            m_waitCounter = 0;
        }
    } else if (m_waitCounter > 0) {
        m_waitCounter = 0;
    }

    const int anchorFrame = animationCount("anchor");
    if (m_state == kStateAnchoredIdle) {
        showFrame(body,
                  blinkOr(numbered(spriteName(), "anchor", anchorFrame), spriteName() + "_anchor_blink.png"));
        if (m_helmet != nullptr) showFrame(m_helmet, numbered(helmetName(), "anchor", anchorFrame));
    }

    if (hasAnimation(m_animations, "waiting") && m_waitCounter > kFidgetWait && m_state != kStateFidget &&
        !isDying() && kvengine::CCRandom::next() % 500 <= 1) {
        m_state = kStateFidget;
        body->stopAllActions();
        runAnimation(body, m_animations, "waiting", 1, callfunc_selector(KVKelvoV::onPoseEnd));
        if (m_helmet != nullptr) {
            m_helmet->stopAllActions();
            runAnimation(m_helmet, m_secondAnimations, "waiting", 1, nullptr);
        }
    }

    if (kelvo->isPulling()) {
        updateStretch();
        if (m_shadow != nullptr) m_shadow->setVisible(false);
    } else if (m_shadow != nullptr) {
        m_shadow->setVisible(body->isVisible());
    }

    if (m_helmet != nullptr) {
        m_helmet->setPosition(body->getPosition());
        m_helmet->setRotation(body->getRotation());
    }
    updateEffects();
}

void KVKelvoV::updateStretch() {
    KVKelvo* kelvo = getKelvo();
    if (kelvo == nullptr || !kelvo->isPulling()) return;
    const float p = std::max(0.0f, kelvo->getPullPower());
    const int n = animationCount("stretch");
    m_stretchFrame = static_cast<int>(static_cast<float>(n - 1) * p) + 1;
    const int maxSP = kelvo->getMaxSP();
    showStaminaBubbles(maxSP > 0 ? std::max(0.0f, (static_cast<float>(kelvo->getStamina()) - 25.0f * p) /
                                                      static_cast<float>(maxSP))
                                 : 0.0f);
    m_pullTenths = static_cast<int>(p * 10.0f);
    if (std::abs(m_pullTenths - m_announcedTenths) >= 3) {
        post(EVENT_KELVO_STRETCH_START, m_model);
        m_announcedTenths = m_pullTenths;
    }
    if (m_state == kStateStretchIdle) {
        if (p != 1.0f) {
            m_fullPullCounter = 0;
            stopBodyAndHelmet();
            if (!isDying()) m_state = kStateStretching;
        }
    } else if (p == 1.0f && ++m_fullPullCounter == kFullPullUpdates) {
        stopBodyAndHelmet();
        runAnimation(m_sprite, m_animations, "stretchIdle", 1, callfunc_selector(KVKelvoV::onStretchIdleEnd));
        if (m_helmet != nullptr) runAnimation(m_helmet, m_secondAnimations, "stretchIdle", 1, nullptr);
        if (!isDying()) m_state = kStateStretchIdle;
        post(EVENT_KELVO_IDLE_STRETCH_START, m_model);
    }
    if (m_state != kStateStretchIdle) {
        auto* body = getBodySprite();
        showFrame(body, blinkOr(numbered(spriteName(), "stretch", m_stretchFrame),
                                numbered(spriteName(), "stretch_blink", m_stretchFrame)));
        if (m_helmet != nullptr) showFrame(m_helmet, numbered(helmetName(), "stretch", m_stretchFrame));
    }
}

void KVKelvoV::onStretchIdleEnd() {
    if (!isDying()) m_state = kStateIdle;
    m_fullPullCounter = 0;
    stopBodyAndHelmet();
}

int KVKelvoV::getShownBubbleCount() const {
    int shown = 0;
    if (m_bubbles != nullptr)
        for (unsigned i = 0; i < m_bubbles->count(); ++i)
            shown += m_bubbles->objectAtIndex(i)->isVisible() ? 1 : 0;
    return shown;
}

void KVKelvoV::showStaminaBubbles(float ratio) {
    KVKelvo* kelvo = getKelvo();
    if (kelvo == nullptr || m_bubbles == nullptr || m_bubbles->count() == 0) return;
    const int maxSP = kelvo->getMaxSP();
    int count = 0;
    if (maxSP > 0) {
        // Whole stamina points left, then the twelfths they fill, rounded up.
        const int points =
            std::max(0, static_cast<int>(std::floor(static_cast<float>(maxSP) * ratio + 1e-4f)));
        count = std::min(kBubbleCount, (kBubbleCount * points + maxSP - 1) / maxSP);
    }
    kelvo->setStaminaMarks(count);
    const float circle = m_turnCircle != nullptr ? m_turnCircle->getContentSize().height : 0.0f;
    const float r = (circle + m_bubbles->objectAtIndex(0)->getContentSize().height) / 2.0f;
    const CCPoint at = m_sprite->getPosition();
    for (int i = 0; i < kBubbleCount; ++i) {
        CCSprite* bubble = m_bubbles->objectAtIndex(static_cast<unsigned>(i));
        if (i < count) {
            const float a = static_cast<float>(22 - 2 * i) * kPi / 12.0f;
            bubble->setPosition(CCPoint(at.x + std::sin(a) * r, at.y + std::cos(a) * r));
            bubble->setVisible(true);
        } else {
            bubble->setVisible(false);
        }
    }
}

void KVKelvoV::hideStaminaBubbles() {
    if (m_bubbles == nullptr) return;
    for (unsigned i = 0; i < m_bubbles->count(); ++i)
        m_bubbles->objectAtIndex(i)->setVisible(false);
}

// ---- Animation ----

void KVKelvoV::playIdle() {
    if (m_sprite == nullptr) return;
    KVKelvo* kelvo = getKelvo();
    m_sprite->stopAllActions();
    const bool anchored = kelvo != nullptr && kelvo->isAnchored();
    const int n = animationCount("anchor");
    if (anchored) {
        m_state = kStateAnchoredIdle;
        showFrame(getBodySprite(), numbered(spriteName(), "anchor", n));
    } else {
        m_state = kStateIdle;
        runAnimation(m_sprite, m_animations, "idle", 0, nullptr);
    }
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        if (anchored)
            showFrame(m_helmet, numbered(helmetName(), "anchor", n));
        else
            runAnimation(m_helmet, m_secondAnimations, "idle", 0, nullptr);
    }
    if (m_idleOwed) {
        m_idleOwed = false;
        post(EVENT_NOTIFY_IDLE, this);
    }
}

void KVKelvoV::playLaunched() {
    if (m_state != kStateRelease) return;
    KVPawnV::playLaunched();
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        runAnimation(m_helmet, m_secondAnimations, "launched", 0, nullptr);
    }
}

void KVKelvoV::onHitFinished() {
    KVKelvo* kelvo = getKelvo();
    if (kelvo != nullptr && kelvo->isAnchored())
        onAnchorStart(nullptr);
    else
        playIdle();
}

void KVKelvoV::setPartsVisible(bool visible) {
    if (m_helmet != nullptr) m_helmet->setVisible(visible);
    KVPawnV::setPartsVisible(visible);
}

void KVKelvoV::onPullStart(kvengine::CCNotification* notification) {
    (void)notification;
    m_fullPullCounter = 0;
    m_blinkCounter = 0;
    if (!isDying()) m_state = kStateStretching;
    stopBodyAndHelmet();
    updateStretch();
    m_pullTenths = 0;
    m_announcedTenths = 0;
}

void KVKelvoV::onPullRelease(kvengine::CCNotification* notification) {
    (void)notification;
    KVKelvo* kelvo = getKelvo();
    if (kelvo == nullptr || kelvo->isAIDriven() || m_sprite == nullptr) return;
    stopBodyAndHelmet();
    if (!isDying()) m_state = kStateIdle;
    m_releaseFirstFrame = m_stretchFrame >= 8 ? 1 : 2;
    storeFrameAnimation(m_animations, "release", spriteName(), "stretch_release", m_releaseFirstFrame, 5,
                        0.08f);
    if (m_helmet != nullptr)
        storeFrameAnimation(m_secondAnimations, "release", helmetName(), "stretch_release",
                            m_releaseFirstFrame, 5, 0.08f);
    m_state = kStateRelease;
    if (m_helmet != nullptr) runAnimation(m_helmet, m_secondAnimations, "release", 1, nullptr);
    runAnimation(m_sprite, m_animations, "release", 1, callfunc_selector(KVKelvoV::playLaunched));
}

void KVKelvoV::onAiAnimImpulseStart(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_sprite == nullptr) return;
    const int n = animationCount("stretch");
    m_sprite->stopAllActions();
    storeFrameAnimation(m_animations, "aiStretch", spriteName(), "stretch", 1, n, 0.083f);
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        storeFrameAnimation(m_secondAnimations, "aiStretch", helmetName(), "stretch", 1, n, 0.083f);
        runAnimation(m_helmet, m_secondAnimations, "aiStretch", 1, nullptr);
    }
    runAnimation(m_sprite, m_animations, "aiStretch", 1, callfunc_selector(KVKelvoV::playAiRelease));
}

void KVKelvoV::playAiRelease() {
    retain();
    post(EVENT_AI_ANIM_IMPULSE_END, m_model);
    const int n = animationCount("stretch_release");
    storeFrameAnimation(m_animations, "aiRelease", spriteName(), "stretch_release", 1, n, 0.083f);
    m_state = kStateRelease;
    if (m_helmet != nullptr) {
        storeFrameAnimation(m_secondAnimations, "aiRelease", helmetName(), "stretch_release", 1, n, 0.083f);
        runAnimation(m_helmet, m_secondAnimations, "aiRelease", 1, nullptr);
    }
    if (m_sprite != nullptr)
        runAnimation(m_sprite, m_animations, "aiRelease", 1, callfunc_selector(KVKelvoV::playLaunched));
    release();
}

void KVKelvoV::onKelvoBlinks(kvengine::CCNotification* notification) {
    if (!isAboutModel(notification) || (m_state != kStateLaunched && m_state != kStateIdle)) return;
    m_sprite->stopAllActions();
    const std::string blink = spriteName() + "_launched_blink.png";
    showFrame(getBodySprite(), frameExists(blink) ? blink : numbered(spriteName(), "launched", 1));
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        showFrame(m_helmet, numbered(helmetName(), "launched", 1));
    }
    m_sprite->runAction(kvengine::CCSequence::createWithTwoActions(
        kvengine::CCDelayTime::createWithDuration(kBlinkSeconds),
        kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVKelvoV::onBlinkEnd))));
}

void KVKelvoV::onBlinkEnd() {
    if (m_state == kStateLaunched) {
        runAnimation(m_sprite, m_animations, "launched", 0, nullptr);
        if (m_helmet != nullptr) runAnimation(m_helmet, m_secondAnimations, "launched", 0, nullptr);
    } else {
        playIdle();
    }
}

void KVKelvoV::onAction(kvengine::CCNotification* notification) {
    KVPawnV::onAction(notification);
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVActionEvent") || m_sprite == nullptr) return;
    auto* event = static_cast<KVActionEvent*>(object);
    if (event->type != KVActionEvent::Heal || event->target != m_model || isDying()) return;
    m_state = kStateHit;
    m_sprite->stopAllActions();
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        runAnimation(m_helmet, m_secondAnimations, "hit_healed", 10, nullptr);
    }
    runAnimation(m_sprite, m_animations, "hit_healed", 10, callfunc_selector(KVKelvoV::onHitFinished));
}

void KVKelvoV::onHiddenStarFound(kvengine::CCNotification* notification) {
    if (isAboutModel(notification)) {
        m_starPosePending = true;
        m_idleOwed = true;
        m_state = kStateIdle;
        post(EVENT_NOTIFY_IN_ACTION, this);
    }
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_HIDDEN_STAR_FOUND);
}

void KVKelvoV::onVictoryDance(kvengine::CCNotification* notification) {
    (void)notification;
    setVictoryPending(true);
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_VICTORY_DANCE);
}

void KVKelvoV::onLooseDance(kvengine::CCNotification* notification) {
    (void)notification;
    setVictoryPending(true);
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_LOOSE_DANCE);
}

void KVKelvoV::onAnchorStart(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_sprite == nullptr) return;
    stopBodyAndHelmet();
    if (m_helmet != nullptr) runAnimation(m_helmet, m_secondAnimations, "anchor", 1, nullptr);
    m_state = kStateAnchor;
    runAnimation(m_sprite, m_animations, "anchor", 1, callfunc_selector(KVPawnV::playIdle));
}

void KVKelvoV::onPoseEnd() {
    m_state = kStateIdle;
    playIdle();
    m_waitCounter = 0;
}
