// The kelvo view's attacks and power-ups: the area and distance attacks, the spiky shell, the
// ninja log, the icon of a picked-up power-up and the sushi's red stamina bubbles. The attacks'
// logic (targets, damage) is the controllers' and the attack actors'; this side plays the frames
// and posts the notifications they wait on.
#include <cstdio>
#include <cstdlib>

#include "engine/actions/CCBlink.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVProjectile.h"
#include "game/pawns/KVKelvo.h"
#include "game/powerups/KVPowerup.h"
#include "game/views/KVKelvoV.h"

using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCSprite;

namespace {

constexpr float kPointsPerMetre = 32.0f;
constexpr float kAttackFrameDelay = 0.05f;
constexpr float kShotFrameDelay = 0.07f;
constexpr int kAimSectors = 8;
constexpr int kSushiKind = 1;

void showFrameOn(CCSprite* sprite, const char* name) {
    if (sprite == nullptr) return;
    if (kvengine::CCSpriteFrame* frame =
            kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name))
        sprite->setDisplayFrame(frame);
    else
        kvengine::logDebugMessage("KVKelvoV: no frame \"%s\"", name);
}

std::string shootKey(int sector) {
    return "distantAttackShoot" + std::to_string(sector);
}

std::string attackFrame(const std::string& sprite, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.2d", number);
    return sprite + "_attack_" + digits + ".png";
}

// Blinks `sprite` `times` over `seconds`, then calls `done` on `view`.
void blinkThen(CCSprite* sprite, float seconds, unsigned times, kvengine::CCObject* view,
               kvengine::SEL_CallFunc done) {
    sprite->runAction(kvengine::CCSequence::createWithTwoActions(
        kvengine::CCBlink::createWithDurationBlinks(seconds, times),
        kvengine::CCCallFunc::createWithTargetSelector(view, done)));
}

} // namespace

int KVKelvoV::aimSector(float x, float y) {
    if (y > -x / 2.0f) {
        if (y < -2.0f * x) return 0;
        if (y > 2.0f * x) return 1;
        if (y > x / 2.0f) return 2;
        return 3;
    }
    if (y > -2.0f * x) return 4;
    if (y < 2.0f * x) return 5;
    if (y < x / 2.0f) return 6;
    return 7;
}

void KVKelvoV::buildAttackAnimations(bool helmetVisible) {
    KVKelvo* kelvo = getKelvo();
    const std::string body = spriteName();
    const std::string hat = helmetName();
    auto build = [&](const std::string& key, const char* word, int first, int last, float delay) {
        storeFrameAnimation(m_animations, key.c_str(), body, word, first, last, delay);
        if (helmetVisible)
            storeFrameAnimation(m_secondAnimations, key.c_str(), hat, word, first, last, delay);
    };
    if (kelvo->hasAOEAttack()) {
        // One strip split in two: the wind-up with the impact frame, then the recovery.
        const int start = animationCount("aoe_start");
        build("aoe", "attack", 1, start, kAttackFrameDelay);
        build("aoeEnd", "attack", start + 1, start + animationCount("aoe_end"), kAttackFrameDelay);
    }
    if (kelvo->hasDistanceAttack()) {
        // The aim, then eight shoot strips (one a sector), then the recovery.
        const int s = animationCount("shoot_start");
        const int m = animationCount("shoot_middle");
        build("distantAttackBeginning", "attack_distant", 1, s, kShotFrameDelay);
        for (int k = 0; k < kAimSectors; ++k)
            build(shootKey(k), "attack_distant", s + k * m + 1, s + (k + 1) * m, kShotFrameDelay);
        build("distantAttackEnd", "attack_distant", s + kAimSectors * m + 1,
              s + kAimSectors * m + animationCount("shoot_end"), kShotFrameDelay);
    }
}

void KVKelvoV::runAnimationChain(kvengine::CCNode* target, AnimationDictionary* animations,
                                 std::initializer_list<const char*> keys, kvengine::SEL_CallFunc followUp) {
    std::vector<kvengine::CCFiniteTimeAction*> steps;
    if (target != nullptr)
        for (const char* key : keys)
            if (hasAnimation(animations, key))
                steps.push_back(static_cast<kvengine::CCFiniteTimeAction*>(animations->objectForKey(key)));
    if (followUp != nullptr) steps.push_back(kvengine::CCCallFunc::createWithTargetSelector(this, followUp));
    if (steps.empty()) return;
    if (target == nullptr) {
        (this->*followUp)();
        return;
    }
    target->runAction(kvengine::CCSequence::createWithActionList(steps.data(), steps.size()));
}

void KVKelvoV::updateEffects() {
    KVKelvo* kelvo = getKelvo();
    CCSprite* body = getBodySprite();
    if (kelvo == nullptr || body == nullptr) return;
    // The strike comes with the impact frame; onAoeAnimEnd covers a strip without one.
    if (m_aoeOverOwed &&
        body->isFrameDisplayed(kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(
            attackFrame(spriteName(), kAoeImpactFrame).c_str()))) {
        m_waitCounter = 0;
        m_aoeOverOwed = false;
        post(EVENT_AOE_ANIM_OVER, m_model);
    }
    if (m_shellOn && m_spikyShell != nullptr) {
        m_spikyShell->setPosition(body->getPosition());
        const bool start = kvengine::CCRandom::next() % 300 <= 1;
        if (start || m_shellBlinkCounter > 0) {
            if (m_shellBlinkCounter == 0) {
                showFrameOn(m_spikyShell, "spikyshell_blink.png");
                m_shellBlinkCounter = 1;
            } else if (m_shellBlinkCounter < kShellBlinkUpdates) {
                ++m_shellBlinkCounter;
            } else {
                showFrameOn(m_spikyShell, "spikyshell_active.png");
                m_shellBlinkCounter = 0;
            }
        }
        if (m_shadow != nullptr) m_shadow->setVisible(false);
    }
    if (m_powerupIcon != nullptr)
        m_powerupIcon->setPosition(
            CCPoint(body->getPosition().x, body->getPosition().y + kelvo->getRadius() + 15.0f));
}

// ---- Area attack ----

void KVKelvoV::onAoeAnimStart(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_sprite == nullptr) return;
    m_sprite->stopAllActions();
    m_state = kStateAttack;
    m_aoeOverOwed = true;
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        runAnimation(m_helmet, m_secondAnimations, "aoe", 1, nullptr);
    }
    runAnimation(m_sprite, m_animations, "aoe", 1, callfunc_selector(KVKelvoV::onAoeAnimEnd));
}

void KVKelvoV::onAoeAnimEnd() {
    retain();
    if (m_aoeOverOwed) {
        m_aoeOverOwed = false;
        post(EVENT_AOE_ANIM_OVER, m_model);
    }
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        runAnimation(m_helmet, m_secondAnimations, "aoeEnd", 1, nullptr);
    }
    if (m_sprite != nullptr)
        runAnimation(m_sprite, m_animations, "aoeEnd", 1, callfunc_selector(KVKelvoV::onAttackEnd));
    release();
}

void KVKelvoV::onAttackEnd() {
    KVKelvo* kelvo = getKelvo();
    if (kelvo != nullptr && kelvo->isAnchored())
        onAnchorStart(nullptr);
    else
        playIdle();
}

// ---- Distance attack ----

bool KVKelvoV::readTarget(kvengine::CCArray* payload, float* x, float* y) {
    if (payload == nullptr || payload->count() < 2) return false;
    auto* textX = dynamic_cast<kvengine::CCString*>(payload->objectAtIndex(0));
    auto* textY = dynamic_cast<kvengine::CCString*>(payload->objectAtIndex(1));
    if (textX == nullptr || textY == nullptr) return false;
    *x = static_cast<float>(std::atof(textX->text.c_str()));
    *y = static_cast<float>(std::atof(textY->text.c_str()));
    return true;
}

void KVKelvoV::onDistanceAttackAnimStart(kvengine::CCNotification* notification) {
    KVKelvo* kelvo = getKelvo();
    // Every view hears every shot; only the kelvo whose turn runs takes it.
    if (kelvo == nullptr || !kelvo->isTurnActive() || m_sprite == nullptr) return;
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    auto* payload = dynamic_cast<kvengine::CCArray*>(object);
    float x = 0.0f, y = 0.0f;
    if (!readTarget(payload, &x, &y)) {
        kvengine::logDebugMessage("KVKelvoV: a distance attack without its target");
        return;
    }
    m_distanceTarget = payload;
    // The payload is the target's place: the aim is the way from the kelvo to it.
    m_aimSector = aimSector(x - kelvo->positionX, y - kelvo->positionY);
    const std::string shoot = shootKey(m_aimSector);
    m_sprite->stopAllActions();
    runAnimationChain(m_sprite, m_animations, {"distantAttackBeginning", shoot.c_str()},
                      callfunc_selector(KVKelvoV::fireDistanceAttack));
    m_state = kStateAttack;
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        runAnimationChain(m_helmet, m_secondAnimations, {"distantAttackBeginning", shoot.c_str()}, nullptr);
    }
}

void KVKelvoV::fireDistanceAttack() {
    KVKelvo* kelvo = getKelvo();
    float x = 0.0f, y = 0.0f;
    if (kelvo == nullptr || !readTarget(m_distanceTarget, &x, &y)) return;
    retain();
    auto* shot = new KVDistanceAttackProjectile();
    if (!shot->launch(kelvo->positionX, kelvo->positionY, x - kelvo->positionX, y - kelvo->positionY, kelvo))
        kvengine::logDebugMessage("KVKelvoV: the shot could not be launched");
    shot->autorelease();
    post(EVENT_DISTANCE_ATTACK_TRIGGERED, m_model);
    if (m_sprite != nullptr) {
        m_sprite->stopAllActions();
        runAnimation(m_sprite, m_animations, "distantAttackEnd", 1, callfunc_selector(KVPawnV::playIdle));
    }
    if (m_helmet != nullptr) {
        m_helmet->stopAllActions();
        runAnimation(m_helmet, m_secondAnimations, "distantAttackEnd", 1, nullptr);
    }
    m_distanceTarget.reset();
    post(EVENT_NOTIFY_IDLE, m_model);
    release();
}

// ---- Spiky shell ----

void KVKelvoV::onSpikyShellEquip(kvengine::CCNotification* notification) {
    (void)notification;
    CCSprite* body = getBodySprite();
    if (m_spikyShell == nullptr || body == nullptr) return;
    const float h = kvengine::CCDirector::getInstance()->getWinSize().height;
    m_spikyShell->stopAllActions();
    m_spikyShell->setPosition(CCPoint(body->getPosition().x, body->getPosition().y + h));
    m_spikyShell->setVisible(true);
    m_spikyShell->runAction(kvengine::CCSpawn::createWithTwoActions(
        kvengine::CCRotateBy::createWithDurationAngle(0.5f, 720.0f),
        kvengine::CCSequence::createWithTwoActions(
            kvengine::CCMoveBy::createWithDurationPosition(0.5f, CCPoint(0.0f, -h)),
            kvengine::CCCallFunc::createWithTargetSelector(
                this, callfunc_selector(KVKelvoV::activateSpikyShell)))));
    post(EVENT_NOTIFY_IN_ACTION, this);
}

void KVKelvoV::activateSpikyShell() {
    KVKelvo* kelvo = getKelvo();
    if (kelvo == nullptr || m_spikyShell == nullptr) return;
    showFrameOn(m_spikyShell, "spikyshell_active.png");
    if (!m_shellOn) {
        m_shellOn = true;
        kelvo->setProtected(true);
        kelvo->setRadius(kelvo->getRadius() * 2.0f);
    }
    m_shellBlinkCounter = 0;
    if (m_sprite != nullptr) m_sprite->setVisible(false);
    if (m_helmet != nullptr) m_helmet->setVisible(false);
    if (m_shadow != nullptr) m_shadow->setVisible(false);
    if (m_dirtPuff == nullptr) {
        onDirtPuffEnd();
        return;
    }
    m_dirtPuff->stopAllActions();
    m_dirtPuff->setPosition(m_spikyShell->getPosition());
    m_dirtPuff->setVisible(true);
    runAnimation(m_dirtPuff, m_animations, "dirtyPuff", 1, callfunc_selector(KVKelvoV::onDirtPuffEnd));
}

void KVKelvoV::onDirtPuffEnd() {
    if (m_dirtPuff != nullptr) m_dirtPuff->setVisible(false);
    post(EVENT_NOTIFY_IDLE, this);
}

void KVKelvoV::onSpikyShellUnequip(kvengine::CCNotification* notification) {
    (void)notification;
    KVKelvo* kelvo = getKelvo();
    if (kelvo == nullptr) return;
    const bool dropping = m_spikyShell != nullptr && m_spikyShell->isVisible() && !m_shellOn;
    if (m_spikyShell != nullptr) m_spikyShell->stopAllActions();
    if (m_dirtPuff != nullptr) {
        m_dirtPuff->stopAllActions();
        m_dirtPuff->setVisible(false);
    }
    showFrameOn(m_spikyShell, "spikyshell.png");
    // Only a shell that closed has doubled the radius; one taken off while still dropping has not.
    if (m_shellOn) {
        m_shellOn = false;
        kelvo->setProtected(false);
        kelvo->setRadius(kelvo->getRadius() / 2.0f);
    }
    if (m_spikyShell != nullptr) m_spikyShell->setVisible(false);
    if (m_sprite != nullptr) m_sprite->setVisible(true);
    if (m_helmet != nullptr) m_helmet->setVisible(true);
    if (m_shadow != nullptr) m_shadow->setVisible(true);
    // A drop cut short never reaches its dust: the busy view it announced is released here.
    if (dropping) post(EVENT_NOTIFY_IDLE, this);
}

void KVKelvoV::onSpikyShellSpike(kvengine::CCNotification* notification) {
    (void)notification;
}

void KVKelvoV::onPawnFall(kvengine::CCNotification* notification) {
    if (isAboutModel(notification) && m_shellOn) {
        if (m_spikyShell != nullptr) m_spikyShell->setVisible(false);
        if (m_sprite != nullptr) m_sprite->setVisible(true);
        if (m_helmet != nullptr) m_helmet->setVisible(true);
    }
    KVPawnV::onPawnFall(notification);
}

// ---- Ninja log, power-up icon, sushi ----

void KVKelvoV::onNinjaLogFx(kvengine::CCNotification* notification) {
    (void)notification;
    KVKelvo* kelvo = getKelvo();
    if (kelvo == nullptr) return;
    removeNinjaLog();
    CCSprite* log = spriteOfFrame("NinjaLog.png");
    if (log == nullptr) return;
    m_ninjaLog = log;
    m_ninjaLog->setPosition(CCPoint(kelvo->positionX * kPointsPerMetre, kelvo->positionY * kPointsPerMetre));
    // Drawn from the sheet that holds its frame.
    addToSheet(m_ninjaLog, "low_sfx_51_ss", 10);
    blinkThen(m_ninjaLog, 2.0f, 4, this, callfunc_selector(KVKelvoV::removeNinjaLog));
}

void KVKelvoV::removeNinjaLog() {
    if (m_ninjaLog == nullptr) return;
    CCSprite* log = m_ninjaLog.take();
    log->stopAllActions();
    detach(log);
    log->release();
}

void KVKelvoV::onPowerupPickedUp(kvengine::CCNotification* notification) {
    (void)notification;
    KVKelvo* kelvo = getKelvo();
    CCSprite* body = getBodySprite();
    if (kelvo == nullptr || body == nullptr) return;
    removePowerupIcon();
    kvengine::CCMutableArray<KVPowerup*>* modifiers = kelvo->getModifiers();
    KVPowerup* newest = modifiers != nullptr ? modifiers->lastObject() : nullptr;
    if (newest == nullptr) {
        kvengine::logDebugMessage("KVKelvoV: a power-up picked up but none carried");
        return;
    }
    kvengine::CCString* icon = newest->getIconName();
    CCSprite* sprite = icon != nullptr ? spriteOfFrame(icon->text.c_str()) : nullptr;
    if (sprite != nullptr) {
        m_powerupIcon = sprite;
        m_powerupIcon->setPosition(
            CCPoint(body->getPosition().x, body->getPosition().y + kelvo->getRadius() + 15.0f));
        m_powerupIcon->setScale(1.5f);
        addToSheet(m_powerupIcon, "top_sfx_51_ss", 20);
        blinkThen(m_powerupIcon, 2.0f, 4, this, callfunc_selector(KVKelvoV::removePowerupIcon));
    } else {
        kvengine::logDebugMessage("KVKelvoV: power-up kind %d has no icon to show", newest->kind);
    }
    if (newest->kind == kSushiKind) {
        showBubbleFrame("PlayingChar_BubbleRed.png");
        if (!m_sushiWatched) {
            m_sushiWatched = true;
            CCNotificationCenter::getInstance()->addObserver(
                this, notification_selector(KVKelvoV::onEndOfSushi), EVENT_END_OF_SUSHI);
        }
    }
}

void KVKelvoV::removePowerupIcon() {
    if (m_powerupIcon == nullptr) return;
    CCSprite* icon = m_powerupIcon.take();
    icon->stopAllActions();
    detach(icon);
    icon->release();
}

void KVKelvoV::onEndOfSushi(kvengine::CCNotification* notification) {
    if (!isAboutModel(notification)) return;
    showBubbleFrame("PlayingChar_Bubble.png");
    m_sushiWatched = false;
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_END_OF_SUSHI);
}

void KVKelvoV::showBubbleFrame(const char* frame) {
    if (m_bubbles == nullptr) return;
    for (unsigned i = 0; i < m_bubbles->count(); ++i)
        showFrameOn(m_bubbles->objectAtIndex(i), frame);
}
