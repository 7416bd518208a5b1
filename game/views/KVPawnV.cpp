#include "game/views/KVPawnV.h"

#include <cmath>
#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnController.h"
#include "game/views/KVPawnDamageFeedback.h"
#include "game/views/KVPuff.h"
#include "game/views/KVViewText.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCSprite;

namespace {

constexpr float kPointsPerMetre = 32.0f;
constexpr float kSlowSpeed = 1.0f;
constexpr float kSpawnRevealSpeed = 0.5f;
constexpr float kSpawnSeconds = 0.8f;
constexpr float kGaugeShowSeconds = 2.0f;
constexpr float kGaugeFadeSeconds = 0.4f;
constexpr float kMarkerTurnPerSecond = 13.0f;
constexpr const char* kLowSheet = "low_sfx_88_ss";
constexpr const char* kTopSheet = "top_sfx_51_ss";
constexpr const char* kGreenFill = "HP_GaugeSmall_GreenFill.png";
constexpr const char* kRedFill = "HP_GaugeSmall_RedFill.png";

kvengine::CCSpriteFrame* frameNamed(const char* name) {
    return kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name);
}

kvengine::CCFiniteTimeAction* delayThenFade() {
    return kvengine::CCSequence::createWithTwoActions(
        kvengine::CCDelayTime::createWithDuration(kGaugeShowSeconds),
        kvengine::CCFadeOut::createWithDuration(kGaugeFadeSeconds));
}

bool isDamageType(int type) {
    return KVActionEvent::isHit(type);
}

} // namespace

// ---- Helpers ----

KVPawn* KVPawnV::getPawn() const {
    return static_cast<KVPawn*>(m_model.get());
}

CCSprite* KVPawnV::getBodySprite() const {
    return static_cast<CCSprite*>(m_sprite.get());
}

CCSprite* KVPawnV::spriteOfFrame(const char* frame) {
    if (frameNamed(frame) != nullptr) return CCSprite::createWithSpriteFrameName(frame);
    kvengine::logDebugMessage("pawn view: no frame \"%s\"; an empty sprite stands in", frame);
    CCSprite* sprite = new CCSprite();
    sprite->init();
    sprite->autorelease();
    return sprite;
}

void KVPawnV::addToSheet(kvengine::CCNode* node, const char* sheet, int z) {
    kvengine::CCNode* parent = m_host != nullptr ? m_host->viewSheet(sheet) : nullptr;
    if (parent == nullptr) {
        kvengine::logDebugMessage("pawn view: no sheet \"%s\" to draw in", sheet);
        return;
    }
    parent->addChildAtZ(node, z);
}

void KVPawnV::addToLayer(kvengine::CCNode* node, int z, int tag) {
    if (m_hostObject == nullptr || !m_hostObject->isKindOf("CCNode")) {
        kvengine::logDebugMessage("pawn view: no layer to draw in");
        return;
    }
    static_cast<kvengine::CCNode*>(m_hostObject.get())->addChildAtZWithTag(node, z, tag);
}

void KVPawnV::detach(kvengine::CCNode* node) {
    if (node != nullptr && node->getParent() != nullptr) node->removeFromParent(true);
}

bool KVPawnV::isAboutModel(kvengine::CCNotification* notification) const {
    return notification != nullptr && m_model != nullptr && notification->getObject() == m_model;
}

void KVPawnV::post(kvengine::CCString* name, kvengine::CCObject* object) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

bool KVPawnV::isModelUpright() const {
    KVPawn* pawn = getPawn();
    if (pawn == nullptr) return true;
    if (KVPawnController* controller = pawn->getController()) return controller->isPawnUpright();
    return std::cos(pawn->angle) > 0.98f;
}

bool KVPawnV::hasAnimation(AnimationDictionary* animations, const char* key) {
    // Entries are stored only with frames (storeFrameAnimation).
    return animations != nullptr && animations->objectForKey(key) != nullptr;
}

bool KVPawnV::runAnimation(kvengine::CCNode* target, AnimationDictionary* animations, const char* key,
                           unsigned times, kvengine::SEL_CallFunc followUp) {
    if (target == nullptr || !hasAnimation(animations, key)) {
        if (followUp != nullptr) (this->*followUp)();
        return false;
    }
    kvengine::CCAction* stored = animations->objectForKey(key);
    if (dynamic_cast<kvengine::CCRepeatForever*>(stored) != nullptr) {
        target->runAction(stored);
        return true;
    }
    auto* finite = static_cast<kvengine::CCFiniteTimeAction*>(stored);
    if (times == 0) {
        target->runAction(
            kvengine::CCRepeatForever::createWithAction(static_cast<kvengine::CCActionInterval*>(finite)));
        return true;
    }
    kvengine::CCFiniteTimeAction* run =
        times > 1 ? kvengine::CCRepeat::createWithActionTimes(finite, times) : finite;
    if (followUp != nullptr)
        run = kvengine::CCSequence::createWithTwoActions(
            run, kvengine::CCCallFunc::createWithTargetSelector(this, followUp));
    target->runAction(run);
    return true;
}

bool KVPawnV::storeFrameAnimation(AnimationDictionary* animations, const char* key, const std::string& sprite,
                                  const char* word, int first, int last, float delay, bool forever) {
    if (animations == nullptr) return false;
    kvengine::CCAnimate* animate = KVActorV::createFrameAnimation(sprite, word, first, last, delay);
    if (animate->getAnimation() == nullptr || animate->getAnimation()->getFrames()->count() == 0) {
        kvengine::logDebugMessage("pawn view: no frames \"%s_%s_NN.png\" for \"%s\"", sprite.c_str(), word,
                                  key);
        return false;
    }
    if (forever)
        animations->setObject(kvengine::CCRepeatForever::createWithAction(animate), key);
    else
        animations->setObject(animate, key);
    return true;
}

int KVPawnV::animationCount(const char* key) {
    return KVGameParameters::getInstance()->getAnimSettingInt(getAnimationSetName(), key);
}

std::string KVPawnV::getFirstFrameName() {
    KVPawn* pawn = getPawn();
    const std::string sprite =
        pawn != nullptr && pawn->getSpriteName() != nullptr ? pawn->getSpriteName()->text : "";
    return sprite + "_idle_01.png";
}

kvengine::CCString* KVPawnV::getSpriteSheetName() {
    KVPawn* pawn = getPawn();
    return pawn != nullptr ? pawn->getSpriteSheetName() : nullptr;
}

// ---- Life ----

void KVPawnV::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    for (kvengine::CCRetained<CCSprite>* sprite : {&m_turnCircle, &m_targetMarker, &m_shadow, &m_spawnSprite,
                                                   &m_hpBubble, &m_gaugeFill, &m_gaugeStroke}) {
        if (*sprite != nullptr) (*sprite)->stopAllActions();
        sprite->reset();
    }
    if (m_hpLabel != nullptr) m_hpLabel->stopAllActions();
    m_hpLabel.reset();
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    m_animations.reset();
    m_secondAnimations.reset();
    m_damageFeedback.reset();
    KVActorV::cleanupBeforeDelete();
}

bool KVPawnV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVPawn")) {
        kvengine::logDebugMessage("KVPawnV::initWithActor: the model is not a pawn");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    KVPawn* pawn = getPawn();
    const std::string firstFrame = getFirstFrameName();
    if (frameNamed(firstFrame.c_str()) == nullptr) {
        kvengine::logDebugMessage("KVPawnV::initWithActor: no frame \"%s\"", firstFrame.c_str());
        return false;
    }
    m_animations.adopt(new AnimationDictionary());
    m_secondAnimations.adopt(new AnimationDictionary());

    CCSprite* body = CCSprite::createWithSpriteFrameName(firstFrame.c_str());
    setSprite(body);
    if (!pawn->isAIDriven() || pawn->isEnemy()) {
        m_turnCircle = spriteOfFrame("PlayingChar_CircleGrey.png");
        m_turnCircle->setOpacity(255);
        m_turnCircle->setVisible(false);
        addToSheet(m_turnCircle, kLowSheet, 100);
    }
    m_targetMarker = spriteOfFrame("target_enemy.png");
    m_targetMarker->setColor(kvengine::ccColor3B{255, 255, 0});
    m_targetMarker->setOpacity(255);
    m_targetMarker->setVisible(false);
    m_shadow = CCSprite::createWithSpriteFrameName(firstFrame.c_str());
    m_shadow->setColor(kvengine::ccColor3B{0, 0, 0});
    m_shadow->setOpacity(80);
    body->setPosition(CCPoint(pawn->positionX * kPointsPerMetre, pawn->positionY * kPointsPerMetre));

    addToSheet(m_targetMarker, kLowSheet, 150);
    kvengine::CCString* sheet = getSpriteSheetName();
    const std::string sheetName = sheet != nullptr ? sheet->text : "";
    addToSheet(body, sheetName.c_str(), 0);
    addToSheet(m_shadow, sheetName.c_str(), -5);
    if (host != nullptr && host->showsPawnSpawnEffect()) playSpawnEffect();

    m_gaugePinned = false;
    m_hpLabel = kvengine::CCLabelTTF::createWithString("", HUD_FONT->c_str(), 16.0f);
    if (m_hpLabel != nullptr) {
        addToLayer(m_hpLabel, 1000, 0);
        m_hpLabel->setAnchorPoint(CCPoint(0.5f, 0.5f));
        m_hpLabel->setScale(1.2f);
        m_hpLabel->setVisible(false);
    }
    m_hpBubble = spriteOfFrame("KV_DommageBulleBlanche1.png");
    m_hpBubble->setScale(2.0f);
    m_hpBubble->setVisible(false);
    m_hpBubble->setAnchorPoint(CCPoint(0.5f, 0.4f));
    addToLayer(m_hpBubble, 999);

    m_gaugeFill = spriteOfFrame(kGreenFill);
    addToSheet(m_gaugeFill, kTopSheet, 1000);
    m_gaugeFill->setAnchorPoint(CCPoint(0.0f, 0.5f));
    m_gaugeFill->setVisible(false);
    m_gaugeFill->setScaleX(1.5f);
    m_gaugeFill->setScaleY(1.4f);
    m_gaugeStroke = spriteOfFrame("HP_GaugeSmall_Stroke.png");
    addToSheet(m_gaugeStroke, kTopSheet, 999);
    m_gaugeStroke->setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_gaugeStroke->setVisible(false);
    m_gaugeStroke->setScale(1.5f);

    const float radius = pawn->getRadius();
    if (m_turnCircle != nullptr) m_turnCircle->setScale(radius / 14.0f);
    m_targetMarker->setScale(radius / 14.0f);
    m_markerBaseScale = m_targetMarker->getScale();

    m_highlighted = false;
    m_creatureFlag = false;
    m_inactivityTimer = 0.0f;
    m_state = kStateIdle;
    m_inactivityPosted = false;
    m_hpRatio = 1.0f;

    auto* feedback = new KVPawnDamageFeedback();
    feedback->initWithPawn(pawn);
    m_damageFeedback.adopt(feedback);
    addToLayer(m_damageFeedback, 999);
    body->setScale(1.25f);

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    struct Observer {
        kvengine::CCString* name;
        kvengine::SEL_Notification handler;
        bool filtered;
    } const observers[] = {
        {EVENT_KELVO_HIGHLIGHT_ON, notification_selector(KVPawnV::onKelvoHighlightOn), true},
        {EVENT_KELVO_HIGHLIGHT_OFF, notification_selector(KVPawnV::onKelvoHighlightOff), true},
        {EVENT_ACTION, notification_selector(KVPawnV::onAction), false},
        {EVENT_SIMPLE_TAP_ON_PAWN, notification_selector(KVPawnV::onSimpleTapOnPawn), false},
        {EVENT_PAWN_FALL, notification_selector(KVPawnV::onPawnFall), false},
        {EVENT_DEAD_PAWN, notification_selector(KVPawnV::onDeadPawn), false},
        {EVENT_MIDDLE_PUFF, notification_selector(KVPawnV::onMiddlePuff), false},
        {EVENT_PAWN_TAKE_DAMAGE, notification_selector(KVPawnV::onPawnTakeDamage), false},
        {EVENT_INACTIVITY, notification_selector(KVPawnV::onInactivity), false},
        {EVENT_ACTIVITY, notification_selector(KVPawnV::onActivity), false},
        {EVENT_MAKE_PAWN_INVISIBLE, notification_selector(KVPawnV::onMakePawnInvisible), true},
        {EVENT_MAKE_PAWN_VISIBLE, notification_selector(KVPawnV::onMakePawnVisible), true},
    };
    for (const Observer& observer : observers)
        centre->addObserver(this, observer.handler, observer.name, observer.filtered ? model : nullptr);
    return true;
}

void KVPawnV::onRemoveActor(kvengine::CCNotification* notification) {
    retain();
    for (kvengine::CCNode* node : std::initializer_list<kvengine::CCNode*>{
             m_turnCircle, m_targetMarker, m_hpLabel, m_hpBubble, m_gaugeFill, m_gaugeStroke, m_shadow,
             m_spawnSprite, m_damageFeedback})
        detach(node);
    if (m_attached) KVActorV::onRemoveActor(notification);
    release();
}

// ---- Frame ----

void KVPawnV::update(float dt) {
    KVPawn* pawn = getPawn();
    if (pawn == nullptr || m_sprite == nullptr) return;
    KVActorV::update(dt);
    CCSprite* body = getBodySprite();
    CCSprite* helmet = getHelmetSprite();

    if (m_spawnTimer > 0.0f) {
        m_spawnTimer -= dt;
        if (m_spawnTimer <= 0.0f) {
            m_spawnTimer = 0.0f;
            setPartsVisible(true);
        } else if (pawn->getBodySpeed() >= kSpawnRevealSpeed) {
            m_spawnTimer = 0.0f;
            setPartsVisible(true);
        }
    }

    const int maxHP = pawn->getMaxHP();
    m_hpRatio = maxHP > 0 ? static_cast<float>(pawn->getHitPoints()) / static_cast<float>(maxHP) : 0.0f;

    const CCPoint at = body->getPosition();
    if (m_shadow != nullptr) {
        if (m_shadow->getTextureRectInPixels().origin.x != body->getTextureRectInPixels().origin.x ||
            m_shadow->getTextureRectInPixels().origin.y != body->getTextureRectInPixels().origin.y ||
            m_shadow->getTexture() != body->getTexture())
            m_shadow->setDisplayFrame(body->createDisplayedFrame());
        m_shadow->setAnchorPoint(body->getAnchorPoint());
        m_shadow->setPosition(CCPoint(at.x + 2.0f, at.y - 2.0f));
        m_shadow->setRotation(body->getRotation());
        m_shadow->setScale(body->getScaleX() * 1.05f);
    }
    if (m_damageFeedback != nullptr) m_damageFeedback->setPosition(at);

    // Idle on its own turn for long: the gauges of every pawn fade in.
    const bool idleOnTurn = pawn->isTurnActive() && (m_state == kStateIdle || m_state == kStateFidget ||
                                                     m_state == kStateAnchoredIdle);
    if (idleOnTurn) {
        if (!m_inactivityPosted) {
            m_inactivityTimer += dt;
            if (m_inactivityTimer > kInactivitySeconds) {
                m_inactivityTimer = 0.0f;
                m_inactivityPosted = true;
                post(EVENT_INACTIVITY, nullptr);
            }
        }
    } else if (m_inactivityPosted) {
        m_inactivityPosted = false;
        post(EVENT_ACTIVITY, nullptr);
    } else if (m_inactivityTimer > 0.0f) {
        m_inactivityTimer = 0.0f;
    }

    if (m_turnCircle != nullptr) {
        if (pawn->isSelected()) {
            m_turnCircle->setPosition(at);
            m_turnCircle->setVisible(true);
        } else {
            m_turnCircle->setVisible(false);
        }
    }

    if (m_targetMarker != nullptr) {
        m_targetMarker->setRotation(m_targetMarker->getRotation() + kMarkerTurnPerSecond * dt);
        const bool zoomedOut = m_host != nullptr && m_host->isCameraZoomedOutManually();
        if (!pawn->isBoss() && (m_highlighted || (pawn->isEnemy() && zoomedOut))) {
            const float pulse = std::pow(std::sin(m_targetMarker->getRotation() / 7.0f), 8.0f);
            m_targetMarker->setScale(m_markerBaseScale + 0.2f * pulse);
            m_targetMarker->setPosition(at);
            m_targetMarker->setVisible(true);
        } else {
            m_targetMarker->setVisible(false);
        }
    }

    if (m_gaugePinned || m_gaugeShown) {
        refreshHealthGauge();
        placeHealthDisplay();
    }
    if (m_gaugePinned && (m_hpRatio > 0.5f || m_hpRatio == 0.0f)) {
        refreshHealthGauge();
        m_gaugePinned = false;
        m_gaugeStroke->setVisible(false);
        m_gaugeFill->setVisible(false);
        if (m_hpRatio == 0.0f) showHealthGauge(false);
    } else if (!m_gaugePinned && m_hpRatio > 0.0f && m_hpRatio <= 0.5f) {
        refreshHealthGauge();
        m_gaugeStroke->stopAllActions();
        m_gaugeFill->stopAllActions();
        m_gaugeStroke->setOpacity(255);
        m_gaugeFill->setOpacity(255);
        m_gaugePinned = true;
        m_gaugeStroke->setVisible(true);
        m_gaugeFill->setVisible(true);
        placeHealthDisplay();
    }

    stepAnimationState();

    if (helmet != nullptr && (m_koPending || m_state == kStateVictory || m_state == kStateKoPlaying ||
                              m_state == kStateFalling || m_victoryPending)) {
        helmet->setPosition(body->getPosition());
        helmet->setRotation(body->getRotation());
        if (m_state == kStateFalling) helmet->setScaleX(body->getScaleX());
    }
}

void KVPawnV::placeHealthDisplay() {
    KVPawn* pawn = getPawn();
    const CCPoint at = m_sprite->getPosition();
    const float radius = pawn->getRadius();
    const CCPoint labelAt(at.x, at.y + radius + 35.0f);
    if (m_hpLabel != nullptr) m_hpLabel->setPosition(labelAt);
    m_hpBubble->setPosition(CCPoint(labelAt.x, labelAt.y - 5.0f));
    m_gaugeStroke->setPosition(CCPoint(at.x, at.y + radius + 10.0f));
    m_gaugeFill->setPosition(
        CCPoint(at.x - 0.75f * m_gaugeStroke->getContentSize().width, at.y + radius + 10.0f));
}

void KVPawnV::stepAnimationState() {
    KVPawn* pawn = getPawn();
    CCSprite* body = getBodySprite();
    CCSprite* helmet = getHelmetSprite();
    if (m_state == kStateFalling) {
        if (helmet != nullptr) {
            helmet->setScaleX(body->getScaleX());
            helmet->setPosition(body->getPosition());
            helmet->setRotation(body->getRotation());
        }
        return;
    }
    if (m_state == kStateFallRequested) {
        body->stopAllActions();
        runAnimation(body, m_animations, "fall", 0, nullptr);
        body->runAction(kvengine::CCSequence::createWithTwoActions(
            kvengine::CCScaleTo::createWithDurationScale(1.0f, 0.1f),
            kvengine::CCCallFunc::createWithTargetSelector(this,
                                                           callfunc_selector(KVPawnV::onFallFinished))));
        body->runAction(kvengine::CCFadeTo::createWithDurationOpacity(0.8f, 0));
        if (helmet != nullptr) {
            helmet->stopAllActions();
            runAnimation(helmet, m_secondAnimations, "fall", 0, nullptr);
            helmet->runAction(kvengine::CCFadeTo::createWithDurationOpacity(0.8f, 0));
        }
        m_state = kStateFalling;
    }
    if (m_koPending) {
        if (isModelUpright() && pawn->getBodySpeed() <= kSlowSpeed) {
            post(EVENT_PAWN_PLAYS_KO, pawn->getVoice());
            body->stopAllActions();
            m_state = kStateKoPlaying;
            m_koPending = false;
            if (helmet != nullptr) {
                helmet->stopAllActions();
                runAnimation(helmet, m_secondAnimations, "ko", 1, nullptr);
            }
            runAnimation(body, m_animations, "ko", 1, callfunc_selector(KVPawnV::onKoFinished));
        }
    } else if (m_state == kStateKoPlaying) {
        // The knock-out plays to its end.
    } else if (m_victoryPending) {
        if (pawn->isSelected()) pawn->setSelected(false);
        if (isModelUpright()) {
            if (!isDying()) m_state = kStateVictory;
            m_victoryPending = false;
            if (hasAnimation(m_animations, "victory")) {
                body->stopAllActions();
                runAnimation(body, m_animations, "victory", 0, nullptr);
                if (helmet != nullptr) {
                    helmet->stopAllActions();
                    runAnimation(helmet, m_secondAnimations, "victory", 0, nullptr);
                }
            }
        }
    } else if (m_state == kStateVictory) {
        if (pawn->isSelected()) pawn->setSelected(false);
    } else if (m_state == kStateLaunched) {
        if (pawn->getBodySpeed() <= kSlowSpeed) playIdle();
    }
}

// ---- Health display ----

void KVPawnV::refreshHealthGauge() {
    if (m_gaugeFill == nullptr) return;
    if (m_hpRatio > 0.5f) {
        if (kvengine::CCSpriteFrame* frame = frameNamed(kGreenFill)) m_gaugeFill->setDisplayFrame(frame);
    } else if (m_hpRatio > 0.0f) {
        if (kvengine::CCSpriteFrame* frame = frameNamed(kRedFill)) m_gaugeFill->setDisplayFrame(frame);
    } else {
        m_gaugeFill->setVisible(false);
    }
    if (m_hpRatio > 0.0f) m_gaugeFill->setScaleX(1.5f * m_hpRatio);
}

void KVPawnV::showHealthGauge(bool fadeIn) {
    if (m_gaugePinned || m_gaugeFill == nullptr) return;
    m_gaugeShown = true;
    m_gaugeFill->stopAllActions();
    m_gaugeStroke->stopAllActions();
    refreshHealthGauge();
    m_gaugeStroke->setVisible(true);
    m_gaugeFill->setVisible(m_hpRatio > 0.0f);
    if (fadeIn) {
        for (CCSprite* sprite : {m_gaugeFill.get(), m_gaugeStroke.get()}) {
            sprite->setOpacity(0);
            sprite->runAction(
                kvengine::CCSequence::createWithTwoActions(kvengine::CCFadeIn::createWithDuration(1.0f),
                                                           kvengine::CCDelayTime::createWithDuration(2.0f)));
        }
        return;
    }
    m_gaugeFill->setOpacity(255);
    m_gaugeStroke->setOpacity(255);
    m_gaugeFill->runAction(delayThenFade());
    m_gaugeStroke->runAction(kvengine::CCSequence::createWithTwoActions(
        delayThenFade(),
        kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVPawnV::hideHealthDisplay))));
}

void KVPawnV::hideHealthDisplay() {
    m_gaugeShown = false;
    if (m_hpLabel != nullptr) m_hpLabel->setVisible(false);
    if (m_gaugeFill != nullptr) m_gaugeFill->setVisible(false);
    if (m_gaugeStroke != nullptr) m_gaugeStroke->setVisible(false);
}

// ---- Handlers ----

void KVPawnV::onKelvoHighlightOn(kvengine::CCNotification* notification) {
    (void)notification;
    m_highlighted = true;
}

void KVPawnV::onKelvoHighlightOff(kvengine::CCNotification* notification) {
    (void)notification;
    m_highlighted = false;
}

void KVPawnV::onAction(kvengine::CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVActionEvent") || m_model == nullptr) return;
    auto* event = static_cast<KVActionEvent*>(object);
    const bool affected = event->target == m_model && (isDamageType(event->type) || event->type == 4);
    const bool acting = event->actor == m_model && (event->type == 5 || event->type == 6);
    if (!affected && !acting) return;
    refreshHealthGauge();
    showHealthGauge(false);
    m_gaugeShown = true;
}

void KVPawnV::onSimpleTapOnPawn(kvengine::CCNotification* notification) {
    if (!isAboutModel(notification)) return;
    KVPawn* pawn = getPawn();
    const std::string text =
        kvviewtext::formatLocalised("On touched pawn", {pawn->getHitPoints(), pawn->getMaxHP()});
    if (m_hpLabel != nullptr) {
        m_hpLabel->setColor(kvengine::ccColor3B{255, 255, 255});
        m_hpLabel->stopAllActions();
        m_hpLabel->setString(text.c_str());
        m_hpLabel->setVisible(true);
        m_hpLabel->setOpacity(255);
        m_hpLabel->runAction(delayThenFade());
    }
    m_hpBubble->stopAllActions();
    if (kvengine::CCSpriteFrame* frame = frameNamed("Kv_EncartHP_bleu.png"))
        m_hpBubble->setDisplayFrame(frame);
    m_hpBubble->setScale(2.0f);
    m_hpBubble->setVisible(true);
    m_hpBubble->setOpacity(255);
    m_hpBubble->runAction(delayThenFade());
    placeHealthDisplay();
    showHealthGauge(false);
}

void KVPawnV::onPawnFall(kvengine::CCNotification* notification) {
    if (!isAboutModel(notification)) return;
    post(EVENT_NOTIFY_IDLE, this);
    getPawn()->removed = true;
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_PAWN_FALL);
    if (hasAnimation(m_animations, "fall")) {
        post(EVENT_NOTIFY_IN_ACTION, this);
        m_state = kStateFallRequested;
    } else {
        post(EVENT_DEAD_PAWN_READY, m_model);
    }
}

void KVPawnV::onDeadPawn(kvengine::CCNotification* notification) {
    if (!isAboutModel(notification)) return;
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_DEAD_PAWN);
    if (hasAnimation(m_animations, "ko")) {
        post(EVENT_NOTIFY_IN_ACTION, this);
        KVPuff::create(getPawn());
        m_koPending = true;
        m_state = kStateKoRequested;
    } else {
        post(EVENT_DEAD_PAWN_READY, m_model);
    }
}

void KVPawnV::onMiddlePuff(kvengine::CCNotification* notification) {
    if (!isAboutModel(notification)) return;
    retain();
    post(EVENT_NOTIFY_IDLE, this);
    post(EVENT_DEAD_PAWN_READY, m_model);
    release();
}

void KVPawnV::onPawnTakeDamage(kvengine::CCNotification* notification) {
    // A dying pawn keeps its knock-out or fall running: cutting it would keep the pawn (and the
    // turn) waiting for an end that never comes.
    if (!isAboutModel(notification) || isDying()) return;
    m_state = kStateHit;
    m_sprite->stopAllActions();
    if (CCSprite* helmet = getHelmetSprite()) {
        helmet->stopAllActions();
        runAnimation(helmet, m_secondAnimations, "hit", 10, nullptr);
    }
    runAnimation(m_sprite, m_animations, "hit", 10, callfunc_selector(KVPawnV::onHitFinished));
}

void KVPawnV::onInactivity(kvengine::CCNotification* notification) {
    (void)notification;
    showHealthGauge(true);
}

void KVPawnV::onActivity(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_gaugePinned || m_gaugeFill == nullptr) return;
    m_gaugeFill->stopAllActions();
    m_gaugeStroke->stopAllActions();
    m_gaugeFill->setVisible(false);
    m_gaugeStroke->setVisible(false);
    m_gaugeShown = false;
}

void KVPawnV::onMakePawnInvisible(kvengine::CCNotification* notification) {
    (void)notification;
    setPartsVisible(false);
}

void KVPawnV::onMakePawnVisible(kvengine::CCNotification* notification) {
    (void)notification;
    setPartsVisible(true);
}

// ---- Animation ----

void KVPawnV::playIdle() {
    if (m_sprite == nullptr) return;
    m_sprite->stopAllActions();
    m_state = kStateIdle;
    runAnimation(m_sprite, m_animations, "idle", 0, nullptr);
}

void KVPawnV::playLaunched() {
    if (m_sprite == nullptr) return;
    runAnimation(m_sprite, m_animations, "launched", 0, nullptr);
    m_state = kStateLaunched;
}

void KVPawnV::onHitFinished() {
    playIdle();
}

void KVPawnV::setPartsVisible(bool visible) {
    if (m_sprite != nullptr) m_sprite->setVisible(visible);
    if (m_shadow != nullptr) m_shadow->setVisible(visible);
}

void KVPawnV::onKoFinished() {
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    post(EVENT_BEGIN_PUFF, m_model);
}

void KVPawnV::onFallFinished() {
    retain();
    post(EVENT_NOTIFY_IDLE, this);
    post(EVENT_DEAD_PAWN_READY, m_model);
    release();
}

void KVPawnV::setSpawnSprite(CCSprite* sprite) {
    m_spawnSprite = sprite;
}

void KVPawnV::playSpawnEffect() {
    CCSprite* spawn = spriteOfFrame("spawn_pawn_01.png");
    setSpawnSprite(spawn);
    spawn->setScale(2.0f);
    spawn->setPosition(m_sprite->getPosition());
    storeFrameAnimation(m_animations, "spawn_pawn", "spawn", "pawn", 1, 13, 0.1f);
    m_spawnTimer = kSpawnSeconds;
    setPartsVisible(false);
    addToSheet(spawn, kTopSheet, 150);
    runAnimation(spawn, m_animations, "spawn_pawn", 1, callfunc_selector(KVPawnV::hideSpawnSprite));
}

void KVPawnV::hideSpawnSprite() {
    if (m_spawnSprite != nullptr) m_spawnSprite->setVisible(false);
}
