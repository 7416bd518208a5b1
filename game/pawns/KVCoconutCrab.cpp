#include "game/pawns/KVCoconutCrab.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/pawns/KVCoconutCrabController.h"
#include "game/pawns/KVCoconutCrabEye.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

// Where the parts sit on the head, metres from the boss centre.
namespace {
constexpr float kLeftEyeX = -0.90625f;
constexpr float kRightEyeX = 0.34375f;
constexpr float kEyeY = 6.53125f;
constexpr float kMouthX = -0.28125f;
constexpr float kMouthY = 5.75f;
constexpr float kSlabDensity = 1000.0f;
constexpr float kSlabSkin = 0.01f;

void post(kvengine::CCString* name) {
    CCNotificationCenter::getInstance()->postNotification(name, nullptr);
}
} // namespace

bool KVCoconutCrab::initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) {
    if (!KVPawn::initAt(x, y, model, typeName)) return false;
    m_gameModel = model;
    setAIDriven(true);
    setEnemy(true);
    setOwnerPlayer(nullptr);
    auto* controller = new KVCoconutCrabController();
    if (!controller->initWithPawn(this)) {
        controller->release();
        return false;
    }
    setController(controller);
    controller->release();
    m_mouthTimer = 0.0f;
    setOwnerIndex(-1);
    m_attackBodyInUse = false;
    m_mouthPending = false;
    m_bossDead = false;

    const std::string name = typeName != nullptr ? typeName->text : std::string();
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoAiStats(name);
    if (stats == nullptr) kvengine::logDebugMessage("KVCoconutCrab: no AI stats for %s", name.c_str());
    readStats(stats);
    setLevel(kvdata::intAt(stats, "level", 0));
    if (!createBody()) {
        // The controller lets the boss go, so neither keeps the other alive.
        controller->onGameShutdown(nullptr);
        setController(nullptr);
        return false;
    }
    registerObservers();
    m_leftEye = makePart(new KVCoconutCrabEye(), x + kLeftEyeX, y + kEyeY, "CoconutCrabEye");
    m_rightEye = makePart(new KVCoconutCrabEye(), x + kRightEyeX, y + kEyeY, "CoconutCrabEye");
    return m_leftEye != nullptr && m_rightEye != nullptr;
}

KVCoconutCrabEye* KVCoconutCrab::makePart(KVCoconutCrabEye* part, float x, float y, const char* typeName) {
    auto* name = new kvengine::CCString(typeName);
    const bool made = part->initAt(x, y, m_gameModel, name);
    name->release();
    if (!made) {
        kvengine::logDebugMessage("KVCoconutCrab: its %s could not be made", typeName);
        part->release();
        return nullptr;
    }
    // Our creation reference is the retained one.
    return part;
}

bool KVCoconutCrab::createBody() {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr || world->IsLocked() || m_body != nullptr) {
        kvengine::logDebugMessage(
            "KVCoconutCrab::createBody: no physics world, the world is stepping, or a body "
            "exists");
        return false;
    }
    b2BodyDef main;
    main.type = b2_staticBody;
    main.position.Set(positionX, positionY);
    main.angle = 0.0f;
    main.userData.pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    m_body = world->CreateBody(&main);

    b2BodyDef slab;
    slab.type = b2_dynamicBody;
    slab.position.Set(positionX, positionY);
    slab.angle = 0.0f;
    slab.enabled = false;
    slab.userData.pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    m_attackBody = world->CreateBody(&slab);
    b2PolygonShape box;
    box.SetAsBox(kSlabHalfWidth, kSlabHalfHeight);
    box.m_radius = kSlabSkin;
    b2FixtureDef fixture;
    fixture.shape = &box;
    fixture.friction = 0.2f;
    fixture.restitution = 0.5f;
    fixture.density = kSlabDensity;
    // Category 4 is left out of the mask: the slab passes through it.
    fixture.filter.categoryBits = 0x0001;
    fixture.filter.maskBits = 0xFFFB;
    fixture.filter.groupIndex = -1;
    m_attackBody->CreateFixture(&fixture);
    return true;
}

void KVCoconutCrab::registerObservers() {
    KVPawn::registerObservers();
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVCoconutCrab::onRemoveActor), EVENT_REMOVE_ACTOR, nullptr);
}

b2Body* KVCoconutCrab::getBody() {
    return m_attackBodyInUse && m_attackBody != nullptr ? m_attackBody : m_body;
}

void KVCoconutCrab::onRemoveActor(CCNotification* notification) {
    kvengine::CCObject* gone = notification != nullptr ? notification->getObject() : nullptr;
    if (gone == nullptr) return;
    if (gone == this) {
        KVPawn::onRemoveActor(notification);
        return;
    }
    retain();
    if (gone == m_leftEye) {
        loseEye(m_leftEye, EVENT_COCONUT_CRAB_KO_LEFT_EYE);
    } else if (gone == m_rightEye) {
        loseEye(m_rightEye, EVENT_COCONUT_CRAB_KO_RIGHT_EYE);
    } else if (gone == m_mouth) {
        // Dead before the news: the view's death quake asks it.
        m_bossDead = true;
        post(EVENT_COCONUT_CRAB_DEAD);
        dropPart(m_mouth);
    }
    release();
}

void KVCoconutCrab::loseEye(KVCoconutCrabEye*& eye, kvengine::CCString* oneEyeEvent) {
    dropPart(eye);
    if (m_leftEye != nullptr || m_rightEye != nullptr) {
        post(oneEyeEvent);
        return;
    }
    m_mouthPending = true;
    m_mouthTimer = kMouthDelay;
    post(EVENT_COCONUT_CRAB_KO_BOTH_EYES);
}

void KVCoconutCrab::dropPart(KVCoconutCrabEye*& part) {
    if (part == nullptr) return;
    KVCoconutCrabEye* held = part;
    part = nullptr;
    held->release();
}

void KVCoconutCrab::update(float dt) {
    KVPawn::update(dt);
    if (!m_mouthPending) return;
    m_mouthTimer -= dt;
    if (m_mouthTimer > 0.0f) return;
    m_mouthPending = false;
    m_mouth =
        makePart(new KVCoconutCrabMouth(), positionX + kMouthX, positionY + kMouthY, "CoconutCrabMouth");
    post(EVENT_COCONUT_CRAB_ACTIVATE_MOUTH);
}

void KVCoconutCrab::cleanupBeforeDelete() {
    if (m_attackBody != nullptr) {
        KVPhysWorld* physics = KVPhysWorld::existingInstance();
        if (physics != nullptr && physics->getWorld() != nullptr) physics->destroyBody(m_attackBody, this);
        m_attackBody = nullptr;
    }
    dropPart(m_leftEye);
    dropPart(m_rightEye);
    dropPart(m_mouth);
    KVPawn::cleanupBeforeDelete();
}
