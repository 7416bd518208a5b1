#include "game/pawns/KVCoconutCrabEye.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/world/KVPhysWorld.h"

namespace {
constexpr float kPartDamping = 2.2f;
} // namespace

bool KVCoconutCrabEye::initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) {
    if (!KVPawn::initAt(x, y, model, typeName)) return false;
    setAIDriven(true);
    setEnemy(true);
    setOwnerPlayer(nullptr);
    setController(nullptr);
    setOwnerIndex(-1);
    const std::string name = typeName != nullptr ? typeName->text : std::string();
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoAiStats(name);
    if (stats == nullptr) {
        kvengine::logDebugMessage("%s: no AI stats for %s", className(), name.c_str());
        return false;
    }
    readStats(stats);
    setLevel(kvdata::intAt(stats, "level", 0));
    if (!createBody()) return false;
    registerObservers();
    return true;
}

bool KVCoconutCrabEye::createBody() {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr || world->IsLocked() || m_body != nullptr) {
        kvengine::logDebugMessage("%s::createBody: no physics world, the world is stepping, or a body exists",
                                  className());
        return false;
    }
    b2BodyDef def;
    def.type = b2_staticBody;
    def.position.Set(positionX, positionY);
    def.bullet = true;
    def.linearDamping = kPartDamping;
    def.angularDamping = kPartDamping;
    def.userData.pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    m_body = world->CreateBody(&def);
    b2CircleShape circle;
    circle.m_radius = getRadius() * kMetresPerPixel;
    b2FixtureDef fixture;
    fixture.shape = &circle;
    fixture.friction = 1.0f;
    fixture.restitution = 0.6f;
    fixture.density = getWeightDensity();
    fixture.filter.categoryBits = 0x0001;
    fixture.filter.maskBits = 0xFFFF;
    fixture.filter.groupIndex = -1;
    m_body->CreateFixture(&fixture);
    return true;
}
