// The energy drink and the maguro sushi: stamina and hit points on pick-up, then used up at the
// owner's turn end.
#include <algorithm>

#include "engine/base/CCString.h"
#include "game/pawns/KVPawn.h"
#include "game/powerups/KVPowerupKinds.h"

using kvengine::CCString;

namespace {

CCString* autoreleased(const char* text) {
    auto* made = new CCString(text);
    made->autorelease();
    return made;
}

void applyStaminaShare(KVPawn* pawn, float share) {
    const int sp = static_cast<int>(static_cast<float>(pawn->getStamina() + pawn->getMaxSP()) * share);
    pawn->setStamina(std::min(pawn->getMaxSP(), sp));
}

void applyHealShare(KVPawn* pawn, float share) {
    const int missing = pawn->getMaxHP() - pawn->getHitPoints();
    const int h = std::min(static_cast<int>(static_cast<float>(pawn->getMaxHP()) * share), missing);
    if (h >= 1) pawn->heal(h, nullptr);
}

void refresh(KVPawn* pawn, float staminaShare, float healShare, bool extraMove) {
    if (pawn == nullptr) return;
    applyStaminaShare(pawn, staminaShare);
    applyHealShare(pawn, healShare);
    if (extraMove) pawn->grantExtraMove();
}

bool atEveryLimit(KVPawn* pawn) {
    return pawn->getHitPoints() == pawn->getMaxHP() && pawn->getStamina() == pawn->getMaxSP() &&
           pawn->getDashesLeft() == pawn->getDashPerTurn() && pawn->getAttackCharges() == 1;
}

} // namespace

// ---- KVPowerupEnergyDrink ----

KVPowerupEnergyDrink::KVPowerupEnergyDrink() {
    kind = 0;
}

void KVPowerupEnergyDrink::attachToPawn(KVPawn* pawn) {
    KVPowerup::attachToPawn(pawn);
    refresh(m_owner, staminaShare, healShare, extraMove);
    active = true;
}

void KVPowerupEnergyDrink::onOwnerTurnEnd() {
    active = false;
}

CCString* KVPowerupEnergyDrink::getName() {
    return autoreleased("Coktail");
}

CCString* KVPowerupEnergyDrink::getIconName() {
    return autoreleased("powerup_cocktail.png");
}

CCString* KVPowerupEnergyDrink::getHudIconName() {
    return autoreleased("powerup_cocktailHud.png");
}

bool KVPowerupEnergyDrink::canTakeEnergyDrink(KVPawn* pawn) {
    return pawn != nullptr && !atEveryLimit(pawn);
}

// ---- KVPowerupMaguroSushi ----

KVPowerupMaguroSushi::KVPowerupMaguroSushi() {
    kind = 1;
}

void KVPowerupMaguroSushi::attachToPawn(KVPawn* pawn) {
    KVPowerup::attachToPawn(pawn);
    refresh(m_owner, staminaShare, healShare, extraMove);
    active = true;
}

void KVPowerupMaguroSushi::onOwnerTurnEnd() {
    active = false;
}

CCString* KVPowerupMaguroSushi::getName() {
    return autoreleased("sushi");
}

CCString* KVPowerupMaguroSushi::getIconName() {
    return autoreleased("Powerup_sushi.png");
}

CCString* KVPowerupMaguroSushi::getHudIconName() {
    return autoreleased("Powerup_sushiHud.png");
}

bool KVPowerupMaguroSushi::canTakeSushi(KVPawn* pawn) {
    if (pawn == nullptr) return false;
    bool carriesSushi = false;
    if (pawn->getModifiers() != nullptr)
        for (KVPowerup* modifier : *pawn->getModifiers())
            carriesSushi = carriesSushi || modifier->kind == 1;
    return !(carriesSushi && atEveryLimit(pawn));
}
