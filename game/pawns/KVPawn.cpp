#include "game/pawns/KVPawn.h"

#include <algorithm>
#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVPawnController.h"
#include "game/pawns/KVPlayer.h"
#include "game/powerups/KVPowerup.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVPhysWorld.h"

// Body notes. The circle is a bullet so that a full-power launch does not tunnel through thin
// walls; friction 1 and restitution 0.6 make pawns roll off each other and bounce lively; damping
// 2.2 on both axes brings a full launch to rest in about two seconds. The second fixture is a tiny
// sensor that collides with nothing (mask 0): holes find a pawn by its centre through it.

using kvengine::CCMutableArray;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;
using kvengine::logDebugMessage;

namespace {

constexpr float kBodyFriction = 1.0f;
constexpr float kBodyRestitution = 0.6f;
constexpr uint16 kSolidCategory = 0x0001;
constexpr uint16 kSolidMask = 0xFFFF;
constexpr float kProbeRadius = 0.15625f;
constexpr float kProbeFriction = 0.2f;
constexpr int16 kProbeGroup = 1;
// Share of the launch impulse that ends up as travel, measured on the body above.
constexpr float kLaunchEfficiency = 0.94f;

constexpr int kSushiKind = 1;

KVPawn* asPawn(CCObject* object) {
    return object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr;
}

CCObject* objectOf(CCNotification* notification) {
    return notification != nullptr ? notification->getObject() : nullptr;
}

const char* nameOf(CCString* typeName) {
    return typeName != nullptr ? typeName->c_str() : "(unnamed)";
}

// Keeps an object alive for a scope in which it may hand its last reference away.
class Hold {
public:
    explicit Hold(CCObject* object) : m_object(object) { m_object->retain(); }
    ~Hold() { m_object->release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    CCObject* m_object;
};

} // namespace

// ---- Creation ----

bool KVPawn::initAt(float x, float y, KVGameModel* model, CCString* typeName) {
    (void)model;
    if (!KVActor::init()) return false;
    m_typeName = typeName;
    // Only solo missions hurt and heal; without settings (tools, tests) the default mode is solo.
    KVGameSetup* setup = KVGameSetup::existingInstance();
    m_takesDamage = setup != nullptr ? setup->solo : true;
    positionX = x;
    positionY = y;
    m_moveStart = kvengine::CCPoint(x, y);
    if (m_selected) {
        m_selected = false;
        postEvent(EVENT_PAWN_UNSELECTED, this);
    }
    m_turnActive = false;
    m_deathAnnounced = false;
    auto* modifiers = new CCMutableArray<KVPowerup*>();
    m_modifiers.adopt(modifiers);
    setAttackCharges(0);
    m_dead = false;
    m_anchored = false;
    m_anchorPoint = kvengine::CCPoint();
    m_protected = false;
    m_inAction = false;
    m_forcedInAction = false;
    m_ownSideActing = false;
    return true;
}

bool KVPawn::createBody() {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr || world->IsLocked()) {
        logDebugMessage("KVPawn::createBody: %s: no physics world, or the world is stepping",
                        nameOf(m_typeName));
        return false;
    }
    if (m_body != nullptr) {
        logDebugMessage("KVPawn::createBody: %s already has a body", nameOf(m_typeName));
        return false;
    }
    float radius = m_radius * kMetresPerPixel;
    if (!std::isfinite(radius) || radius < 0.0f) {
        logDebugMessage("KVPawn::createBody: %s: bad Radius %f, made 0", nameOf(m_typeName),
                        static_cast<double>(m_radius));
        radius = 0.0f;
    }
    float density = getWeightDensity();
    if (!std::isfinite(density) || density < 0.0f) {
        logDebugMessage("KVPawn::createBody: %s: bad Weight Density %f, made 0", nameOf(m_typeName),
                        static_cast<double>(density));
        density = 0.0f;
    }

    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(positionX, positionY);
    def.angle = 0.0f;
    def.awake = true;
    def.allowSleep = true;
    def.fixedRotation = false;
    def.bullet = true;
    def.enabled = true;
    def.userData.pointer = reinterpret_cast<uintptr_t>(this);
    m_body = world->CreateBody(&def);
    m_body->SetBullet(true);

    b2CircleShape circle;
    circle.m_radius = radius;
    b2FixtureDef solid;
    solid.shape = &circle;
    solid.density = density;
    solid.friction = kBodyFriction;
    solid.restitution = kBodyRestitution;
    solid.isSensor = false;
    solid.filter.categoryBits = kSolidCategory;
    solid.filter.maskBits = kSolidMask;
    solid.filter.groupIndex = 0;
    m_body->CreateFixture(&solid);
    m_body->SetLinearDamping(kDamping);
    m_body->SetAngularDamping(kDamping);

    b2CircleShape probeShape;
    probeShape.m_radius = kProbeRadius;
    b2FixtureDef probe;
    probe.shape = &probeShape;
    probe.friction = kProbeFriction;
    probe.restitution = 0.0f;
    probe.density = 0.0f;
    probe.isSensor = true;
    probe.filter.categoryBits = kSolidCategory;
    probe.filter.maskBits = 0;
    probe.filter.groupIndex = kProbeGroup;
    m_body->CreateFixture(&probe);

    const float mass = m_body->GetMass();
    m_maxLaunchSpeed = mass > 0.0f ? std::fabs(getMovePower() / mass) : 0.0f;
    return true;
}

void KVPawn::registerObservers() {
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPawn::onEndTurnBeforeBuffer),
                        EVENT_END_TURN_BEFORE_BUFFER, this);
    centre->addObserver(this, notification_selector(KVPawn::onEndTurn), EVENT_END_TURN, this);
    centre->addObserver(this, notification_selector(KVPawn::onStartTurn), EVENT_START_TURN);
    centre->addObserver(this, notification_selector(KVPawn::onDamageModeOff), EVENT_DAMAGE_MODE_OFF, this);
    centre->addObserver(this, notification_selector(KVPawn::onDeadPawnReady), EVENT_DEAD_PAWN_READY);
    centre->addObserver(this, notification_selector(KVPawn::onPawnFall), EVENT_PAWN_FALL);
    centre->addObserver(this, notification_selector(KVPawn::onDisableForceInAction),
                        EVENT_DISABLE_FORCE_IN_ACTION);
    centre->addObserver(this, notification_selector(KVPawn::onGameShutdown), EVENT_GAME_SHUTDOWN);
    centre->addObserver(this, notification_selector(KVPawn::onMoveOver), EVENT_MOVE_OVER);
    postEvent(EVENT_NEW_ACTOR, this);
}

// The stat table, in reading order. Integers are read with atoi, floats with atof, flags as "YES"
// or a non-zero number; a missing key reads 0, false or null.
//   "spritesheet_name", "sprite_name", "Voice"          texts (view sheet, frame prefix, voice)
//   "HP", "SP", "DMG Melee", "Defense", "Dash Per Turn", "Heal", "DMG AoE", "DMG Target",
//   "SP regen"                                          integers
//   "Move Power", "Weight Density"                       floats
//   "Range AoE", "Range Target"                          integers, pixels
//   "Critics", "Dodge", "Push Off Coef Target", "Push Off Coef AoE"   floats
//   "Speed"                                              integer (initiative)
//   "Radius"                                             float, pixels
//   "hasDistanceAttack", "hasAOEAttack", "hasSpecialMeleeAttack", "hasHealingPower",
//   "hasDashAbility"                                     flags
void KVPawn::readStats(StatDictionary* stats) {
    if (stats == nullptr) logDebugMessage("KVPawn::readStats: %s: no stats, all 0", nameOf(m_typeName));
    m_spriteSheetName = kvdata::stringAt(stats, "spritesheet_name");
    m_spriteName = kvdata::stringAt(stats, "sprite_name");
    setVoice(kvdata::stringAt(stats, "Voice"));
    m_maxHP = kvdata::intAt(stats, "HP");
    m_maxSP = kvdata::intAt(stats, "SP");
    m_dmgMelee = kvdata::intAt(stats, "DMG Melee");
    m_defense = kvdata::intAt(stats, "Defense");
    m_dashPerTurn = kvdata::intAt(stats, "Dash Per Turn");
    m_heal = kvdata::intAt(stats, "Heal");
    m_dmgAoE = kvdata::intAt(stats, "DMG AoE");
    m_dmgTarget = kvdata::intAt(stats, "DMG Target");
    m_spRegen = kvdata::intAt(stats, "SP regen");
    setMovePower(kvdata::floatAt(stats, "Move Power"));
    m_weightDensity = kvdata::floatAt(stats, "Weight Density");
    m_rangeAoE = kvdata::intAt(stats, "Range AoE");
    m_rangeTarget = kvdata::intAt(stats, "Range Target");
    m_critics = kvdata::floatAt(stats, "Critics");
    m_dodge = kvdata::floatAt(stats, "Dodge");
    m_pushOffCoefTarget = kvdata::floatAt(stats, "Push Off Coef Target");
    m_pushOffCoefAoE = kvdata::floatAt(stats, "Push Off Coef AoE");
    m_speed = kvdata::intAt(stats, "Speed");
    m_radius = kvdata::floatAt(stats, "Radius");
    m_hasDistanceAttack = kvdata::boolAt(stats, "hasDistanceAttack");
    m_hasAOEAttack = kvdata::boolAt(stats, "hasAOEAttack");
    m_hasSpecialMeleeAttack = kvdata::boolAt(stats, "hasSpecialMeleeAttack");
    m_hasHealingPower = kvdata::boolAt(stats, "hasHealingPower");
    m_hasDashAbility = kvdata::boolAt(stats, "hasDashAbility");
    // Through the getters, so that a subclass's bonuses count.
    resetTurnStats();
}

// ---- Stats ----

int KVPawn::getMaxHP() {
    return m_maxHP;
}
int KVPawn::getMaxSP() {
    return m_maxSP;
}
int KVPawn::getSPRegen() {
    return m_spRegen;
}
void KVPawn::setMovePower(float movePower) {
    m_movePower = movePower;
}
float KVPawn::getMovePower() {
    float power = m_movePower;
    if (m_modifiers != nullptr)
        for (KVPowerup* modifier : *m_modifiers)
            power *= modifier->getMovePowerFactor();
    return power;
}
float KVPawn::getWeightDensity() {
    return m_weightDensity;
}
int KVPawn::getRangeTarget() {
    return m_rangeTarget;
}
int KVPawn::getRangeAoE() {
    return m_rangeAoE;
}
int KVPawn::getDefense() {
    return m_defense;
}
int KVPawn::getDmgTarget() {
    return m_dmgTarget;
}
int KVPawn::getDmgAoE() {
    return m_dmgAoE;
}
int KVPawn::getHeal() {
    return m_heal;
}
int KVPawn::getDmgMelee() {
    return m_dmgMelee;
}
int KVPawn::getDashPerTurn() {
    return m_dashPerTurn;
}
float KVPawn::getPushOffCoefTarget() {
    return m_pushOffCoefTarget;
}
float KVPawn::getPushOffCoefAoE() {
    return m_pushOffCoefAoE;
}
float KVPawn::getDodge() {
    return m_dodge;
}
float KVPawn::getCritics() {
    return m_critics;
}
int KVPawn::getSpeed() {
    return m_speed;
}

// ---- Kind questions ----

bool KVPawn::isDamageable() {
    return !m_protected;
}
float KVPawn::getAimAngleOffset() {
    return 0.0f;
}
bool KVPawn::canAct() {
    return true;
}
bool KVPawn::isBossWeakPoint() {
    return false;
}
bool KVPawn::isBoss() {
    return false;
}
void KVPawn::getForwardVector(float* x, float* y) {
    if (x != nullptr) *x = 0.0f;
    if (y != nullptr) *y = 1.0f;
}

// ---- Handlers ----

void KVPawn::onStartTurn(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    if (object == this) {
        Hold hold(this);
        m_stamina = std::min(m_stamina + getSPRegen(), getMaxSP());
        m_dashesLeft = getDashPerTurn();
        CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
        for (KVPowerup* modifier : *modifiers) {
            modifier->onOwnerTurnStart();
            dropModifierIfInactive(modifier);
        }
        modifiers->release();
        m_turnActive = true;
        setAttackCharges(1);
    }
    if (KVPawn* starter = asPawn(object)) m_ownSideActing = m_enemy == starter->m_enemy;
}

void KVPawn::onEndTurnBeforeBuffer(CCNotification* notification) {
    (void)notification;
    Hold hold(this);
    CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
    for (KVPowerup* modifier : *modifiers) {
        modifier->onOwnerTurnEnd();
        dropModifierIfInactive(modifier);
    }
    modifiers->release();
}

void KVPawn::onEndTurn(CCNotification* notification) {
    (void)notification;
    m_turnActive = false;
}

void KVPawn::onMoveOver(CCNotification* notification) {
    (void)notification;
    forgetContactPawn();
    m_moveStart = kvengine::CCPoint(positionX, positionY);
}

void KVPawn::onDamageModeOff(CCNotification* notification) {
    (void)notification;
    if (!m_selected) return;
    m_selected = false;
    postEvent(EVENT_PAWN_UNSELECTED, this);
}

void KVPawn::onDeadPawnReady(CCNotification* notification) {
    if (objectOf(notification) == this) postEvent(EVENT_REMOVE_ACTOR, this);
}

void KVPawn::onPawnFall(CCNotification* notification) {
    KVPawn* fallen = asPawn(objectOf(notification));
    if (fallen == nullptr || !fallen->m_enemy || !m_turnActive || m_enemy) return;
    postEvent(EVENT_ACTION, KVActionEvent::create(KVActionEvent::EnemyFell, 0, 0.0f, this, fallen));
}

void KVPawn::onDisableForceInAction(CCNotification* notification) {
    (void)notification;
    m_forcedInAction = false;
}

void KVPawn::onGameShutdown(CCNotification* notification) {
    (void)notification;
    forgetContactPawn();
}

void KVPawn::onRemoveActor(CCNotification* notification) {
    // Marked removed, so the contact listener disables its contacts from now until the body goes
    // with the pawn; a removed pawn has no contact under way either.
    KVActor::onRemoveActor(notification);
    forgetContactPawn();
}

// ---- Actor overrides ----

void KVPawn::update(float dt) {
    Hold hold(this);
    if (m_body != nullptr) {
        const b2Vec2& position = m_body->GetPosition();
        positionX = position.x;
        positionY = position.y;
        angle = m_body->GetAngle();
    }
    if (m_modifiers != nullptr && m_modifiers->count() > 0) {
        CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
        for (KVPowerup* modifier : *modifiers) {
            modifier->update(dt);
            dropModifierIfInactive(modifier);
        }
        modifiers->release();
    }

    // stopIfSlow also stops a body that drifts at 0.5 m/s or less, so a pawn comes to rest exactly.
    const bool moving = stopIfSlow();
    if (m_inAction) {
        if (!moving && !m_forcedInAction) {
            m_inAction = false;
            postEvent(EVENT_NOTIFY_IDLE, this);
        }
    } else if (moving || m_forcedInAction) {
        m_inAction = true;
        postEvent(EVENT_NOTIFY_IN_ACTION, this);
        if (m_selected) {
            m_selected = false;
            postEvent(EVENT_PAWN_UNSELECTED, this);
            postEvent(EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE, this);
        }
    }
}

void KVPawn::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    destroyBody();
    m_ownerPlayer.reset();
    m_modifiers.reset();
    m_controller.reset();
    m_contactPawn.reset();
    m_spriteSheetName.reset();
    m_spriteName.reset();
    m_typeName.reset();
    setVoice(nullptr);
    KVActor::cleanupBeforeDelete();
}

bool KVPawn::beginContact(KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (other == nullptr || other->countsForBounceAchievement())
        postEvent(EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT, this);
    if (other == nullptr || other->triggersBounce()) {
        m_lastBounce = kvengine::CCPoint(positionX, positionY);
        postEvent(EVENT_PAWN_BOUNCE, this);
    }
    if (m_modifiers != nullptr && m_modifiers->count() > 0) {
        CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
        for (KVPowerup* modifier : *modifiers)
            modifier->onOwnerBeginContact(contact);
        modifiers->release();
    }
    return false;
}

bool KVPawn::endContact(KVContactInfo* contact) {
    forgetContactPawn();
    if (m_modifiers != nullptr && m_modifiers->count() > 0) {
        CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
        for (KVPowerup* modifier : *modifiers)
            modifier->onOwnerEndContact(contact);
        modifiers->release();
    }
    return false;
}

bool KVPawn::preSolve(KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (other == nullptr) return false;
    if (m_modifiers != nullptr && m_modifiers->count() > 0) {
        bool intercepted = false;
        CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
        // Every modifier hears of the contact, even after one has taken it.
        for (KVPowerup* modifier : *modifiers)
            intercepted = modifier->interceptContact(other) || intercepted;
        modifiers->release();
        if (intercepted) {
            disableContact(contact);
            return true;
        }
    }
    if (other->isKindOf("KVPawn") && other != m_contactPawn && m_ownSideActing && m_body != nullptr) {
        m_contactSpeed = m_body->GetLinearVelocity().Length();
        m_contactPawn = static_cast<KVPawn*>(other);
    }
    return false;
}

// ---- Other operations ----

void KVPawn::addModifier(KVPowerup* modifier) {
    if (modifier == nullptr) return;
    if (m_modifiers == nullptr) {
        logDebugMessage("KVPawn::addModifier: %s is not initialised", nameOf(m_typeName));
        return;
    }
    Hold hold(this);
    Hold holdModifier(modifier);
    CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
    for (KVPowerup* carried : *modifiers)
        if (!carried->canCoexistWith(modifier)) dropModifierIfInactive(carried, true);
    modifiers->release();
    m_modifiers->addObject(modifier);
    modifier->attachToPawn(this);
    postEvent(EVENT_POWERUP_PICKED_UP, this);
}

bool KVPawn::isProjectileIntercepted(KVProjectile* projectile) {
    if (m_modifiers == nullptr || m_modifiers->count() == 0) return false;
    bool intercepted = false;
    CCMutableArray<KVPowerup*>* modifiers = copyModifiers();
    for (KVPowerup* modifier : *modifiers)
        intercepted = modifier->interceptProjectile(projectile) || intercepted;
    modifiers->release();
    return intercepted;
}

bool KVPawn::containsPoint(float x, float y) {
    const float dx = x - positionX;
    const float dy = y - positionY;
    return dx * dx + dy * dy <= kTouchRadius * kTouchRadius;
}

void KVPawn::setSelected(bool selected) {
    if (selected == m_selected) return;
    m_selected = selected;
    postEvent(selected && !m_dead ? EVENT_PAWN_SELECTED : EVENT_PAWN_UNSELECTED, this);
}

void KVPawn::setAttackCharges(int charges) {
    m_attackCharges = charges;
    postEvent(charges > 0 ? EVENT_KELVO_ATTACK_MODE_AVAILABLE : EVENT_KELVO_ATTACK_MODE_UNAVAILABLE, this);
}

void KVPawn::grantExtraMove() {
    if (m_dashesLeft != getDashPerTurn()) m_dashesLeft += 1;
    if (m_attackCharges <= 0) setAttackCharges(1);
}

void KVPawn::resetTurnStats() {
    m_stamina = getMaxSP();
    m_hitPoints = getMaxHP();
    m_dashesLeft = getDashPerTurn();
}

bool KVPawn::hasTargetInAttackRange() {
    int rangePixels = 0;
    bool needLineOfSight = false;
    if (m_hasAOEAttack) {
        rangePixels = getRangeAoE();
    } else if (m_hasDistanceAttack) {
        rangePixels = getRangeTarget();
        needLineOfSight = true;
    } else {
        return false;
    }
    const float range = static_cast<float>(rangePixels) * kMetresPerPixel;
    if (range <= 0.0f || m_controller == nullptr) return false;
    CCMutableArray<KVPawn*>* opponents = m_controller->findOpponentsInRange(range, needLineOfSight);
    return opponents != nullptr && opponents->count() > 0;
}

float KVPawn::getLaunchPowerForDistance(float distance) {
    const float movePower = getMovePower();
    if (m_body == nullptr || movePower == 0.0f) {
        logDebugMessage("KVPawn::getLaunchPowerForDistance: %s has no body or no Move Power",
                        nameOf(m_typeName));
        return 0.0f;
    }
    return distance * kDamping * m_body->GetMass() / (movePower * kLaunchEfficiency);
}

int KVPawn::compareBySpeed(KVPawn* a, KVPawn* b) {
    const int speedA = a->getSpeed();
    const int speedB = b->getSpeed();
    return speedA < speedB ? -1 : (speedB < speedA ? 1 : 0);
}

int KVPawn::compareByDefense(KVPawn* a, KVPawn* b) {
    const int defenseA = a->getDefense();
    const int defenseB = b->getDefense();
    return defenseA < defenseB ? -1 : (defenseB < defenseA ? 1 : 0);
}

void KVPawn::setOwnerPlayer(KVPlayer* player) {
    m_ownerPlayer = player;
}

void KVPawn::setController(KVPawnController* controller) {
    m_controller = controller;
}

// ---- Helpers ----

void KVPawn::postEvent(CCString* name, CCObject* object) {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    if (physics != nullptr)
        physics->postNotification(name, object);
    else
        CCNotificationCenter::getInstance()->postNotification(name, object);
}

void KVPawn::setVoice(CCString* voice) {
    m_voice = voice;
}

void KVPawn::destroyBody() {
    if (m_body == nullptr) return;
    // The world may already be gone with its bodies (mission end): then there is nothing to do.
    KVPhysWorld* world = KVPhysWorld::existingInstance();
    if (world != nullptr && world->getWorld() != nullptr) world->destroyBody(m_body, this);
    m_body = nullptr;
}

void KVPawn::forgetContactPawn() {
    m_contactPawn.reset();
}

void KVPawn::dropModifierIfInactive(KVPowerup* modifier, bool force) {
    if (modifier == nullptr || (!force && modifier->active)) return;
    // Already dropped by a hook that ran before this one.
    if (m_modifiers == nullptr || !m_modifiers->containsObject(modifier)) return;
    Hold hold(modifier);
    if (modifier->kind == kSushiKind) postEvent(EVENT_END_OF_SUSHI, this);
    modifier->detachFromOwner(nullptr);
    m_modifiers->removeObject(modifier);
}

void KVPawn::disableContact(KVContactInfo* contact) {
    if (contact != nullptr && contact->contact != nullptr) contact->contact->SetEnabled(false);
}

CCMutableArray<KVPowerup*>* KVPawn::copyModifiers() const {
    return m_modifiers != nullptr ? m_modifiers->copy() : new CCMutableArray<KVPowerup*>();
}
