#include <algorithm>
#include <vector>

#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVProjectile.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVObjectBodies.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnController.h"
#include "game/pawns/KVPawnManager.h"
#include "game/powerups/KVPowerupKinds.h"

using kvengine::CCMutableArray;
using kvengine::CCString;

namespace {

CCString* autoreleased(const char* text) {
    auto* made = new CCString(text);
    made->autorelease();
    return made;
}

} // namespace

KVPowerupShuriken::KVPowerupShuriken() {
    kind = 4;
}

void KVPowerupShuriken::attachToPawn(KVPawn* pawn) {
    KVPowerup::attachToPawn(pawn);
    m_armed = true;
}

void KVPowerupShuriken::update(float dt) {
    (void)dt;
    if (!m_armed) return;
    m_armed = false;
    if (m_owner != nullptr) throwShurikens(m_owner, false);
    active = false;
}

bool KVPowerupShuriken::throwShurikens(KVPawn* thrower, bool testOnly) {
    KVPawnManager* manager = KVPawnManager::existingInstance();
    if (thrower == nullptr || manager == nullptr) return false;
    CCMutableArray<KVPawn*>* pool = !KVGameSetup::getInstance()->solo ? manager->getPlayerPawns()
                                    : thrower->isEnemy()              ? manager->getPlayerPawns()
                                                                      : manager->getEnemyPawns();
    std::vector<KVPawn*> candidates;
    if (pool != nullptr)
        for (KVPawn* pawn : *pool)
            if (pawn != thrower) candidates.push_back(pawn);
    const float x = thrower->positionX, y = thrower->positionY;
    auto distance = [x, y](KVPawn* pawn) {
        const float dx = pawn->positionX - x, dy = pawn->positionY - y;
        return dx * dx + dy * dy;
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](KVPawn* a, KVPawn* b) { return distance(a) < distance(b); });
    // Sight is the thrower's controller's; a thrower without one looks through a bare controller,
    // whose rays start inside the thrower's body and so never meet it.
    KVPawnController* sight = thrower->getController();
    KVPawnController* bare = sight == nullptr ? new KVPawnController() : nullptr;
    if (bare != nullptr) sight = bare;
    // Held while shurikens are made: the lists may change under the walk.
    std::vector<KVPawn*> held(candidates);
    for (KVPawn* pawn : held)
        pawn->retain();
    const float halfWidth = (thrower->getRadius() - 1.0f) / kvobjects::kPixelsPerMetre;
    bool found = false;
    int throws = 0;
    for (KVPawn* target : held) {
        if (!sight->hasClearLineOfSight(halfWidth, target, x, y, target->positionX, target->positionY))
            continue;
        found = true;
        if (testOnly) break;
        auto* shuriken = new KVShuriken();
        if (!shuriken->launch(x, y, target->positionX - x, target->positionY - y, thrower)) {
            shuriken->release();
            continue;
        }
        shuriken->autorelease();
        kvobjects::post(EVENT_SHURIKEN_THROW, nullptr);
        if (++throws == kMaxThrows) break;
    }
    for (KVPawn* pawn : held)
        pawn->release();
    if (bare != nullptr) bare->release();
    return found;
}

CCString* KVPowerupShuriken::getName() {
    return autoreleased("shuriken");
}

CCString* KVPowerupShuriken::getIconName() {
    return autoreleased("ShurikenIcon.png");
}

CCString* KVPowerupShuriken::getHudIconName() {
    return autoreleased("ShurikenIconHud.png");
}
