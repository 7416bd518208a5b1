#include "game/views/KVPuffV.h"

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/views/KVEffectSprite.h"
#include "game/views/KVPuff.h"

using kveffect::kPointsPerMetre;
using kvengine::CCNotificationCenter;

namespace {

constexpr float kPuffDelay = 0.1f;
// A kelvo's puff is drawn off its centre, towards its body.
constexpr float kCreatureOffsetX = 25.0f;
constexpr float kCreatureOffsetY = -10.0f;

kvengine::CCAnimate* halfOf(const char* pattern, int first, int last) {
    kvengine::CCAnimation* animation =
        kvengine::CCAnimation::createWithFrameNamePattern(pattern, first, last, kPuffDelay);
    return kvengine::CCAnimate::createWithAnimationRestore(animation, false);
}

} // namespace

void KVPuffV::cleanupBeforeDelete() {
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    m_firstHalf.reset();
    m_secondHalf.reset();
    KVActorV::cleanupBeforeDelete();
}

bool KVPuffV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVPuff")) {
        kvengine::logDebugMessage("KVPuffV::initWithActor: the model is not a puff");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName("puff_kelvo_01.png");
    if (sprite == nullptr) {
        kvengine::logDebugMessage("KVPuffV::initWithActor: no frame \"puff_kelvo_01.png\"");
        return false;
    }
    setSprite(sprite);

    KVPawn* pawn = static_cast<KVPuff*>(model)->getPawn();
    const char* pattern = "puff_kelvo_%.2d.png";
    if (pawn != nullptr && pawn->isEnemy()) {
        pattern = "puff_enemy_%.2d.png";
        sprite->setScale(pawn->isKindOf("KVCrab") ? 2.0f : 1.3f);
        m_creature = false;
    } else {
        sprite->setScale(1.5f);
        m_creature = true;
    }
    m_firstHalf.reset();
    m_secondHalf.reset();
    m_firstHalf = halfOf(pattern, 1, 3);
    m_secondHalf = halfOf(pattern, 4, 6);
    m_shown = false;
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVPuffV::onBeginPuff),
                                                     EVENT_BEGIN_PUFF, nullptr);
    return true;
}

void KVPuffV::onBeginPuff(kvengine::CCNotification* notification) {
    if (notification == nullptr || m_model == nullptr || m_sprite == nullptr || m_shown) return;
    KVPawn* pawn = static_cast<KVPuff*>(m_model.get())->getPawn();
    if (pawn == nullptr || notification->getObject() != pawn) return;
    m_shown = true;
    place();
    static_cast<kvengine::CCSprite*>(m_sprite.get())->setOpacity(255);
    if (!kveffect::showOnEffectSheet(m_sprite, m_host, "KVPuffV")) {
        middleStep();
        return;
    }
    m_sprite->runAction(kvengine::CCSequence::createWithTwoActions(
        m_firstHalf,
        kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVPuffV::middleStep))));
}

void KVPuffV::update(float dt) {
    (void)dt;
    place();
}

void KVPuffV::place() {
    if (m_sprite == nullptr || m_model == nullptr) return;
    KVPawn* pawn = static_cast<KVPuff*>(m_model.get())->getPawn();
    if (pawn == nullptr) return; // stays where the pawn was last seen
    float x = pawn->positionX * kPointsPerMetre;
    float y = pawn->positionY * kPointsPerMetre;
    if (m_creature) {
        x += kCreatureOffsetX;
        y += kCreatureOffsetY;
    }
    m_sprite->setPosition(kvengine::CCPoint(x, y));
}

void KVPuffV::middleStep() {
    if (m_model == nullptr || !m_attached) return;
    // Observers of the middle may remove the pawn and drop other views: keep this one alive.
    retain();
    KVPawn* pawn = static_cast<KVPuff*>(m_model.get())->getPawn();
    if (pawn != nullptr) CCNotificationCenter::getInstance()->postNotification(EVENT_MIDDLE_PUFF, pawn);
    if (m_attached && m_sprite != nullptr && m_sprite->isRunning()) {
        m_sprite->runAction(kvengine::CCSequence::createWithTwoActions(
            m_secondHalf,
            kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVPuffV::endStep))));
    } else {
        endStep();
    }
    release();
}

void KVPuffV::endStep() {
    if (m_model == nullptr || !m_attached) return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, m_model);
}
