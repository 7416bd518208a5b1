#include "game/pawns/KVKelvo.h"

#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVHelmet.h"
#include "game/data/KVPlayerParameters.h"

void KVKelvo::cleanupBeforeDelete() {
    setHelmet(nullptr);
    KVPawn::cleanupBeforeDelete();
}

void KVKelvo::setHelmet(KVHelmet* helmet) {
    m_helmet = helmet;
}

// ---- Stats: stored value plus the helmet's bonus ----

int KVKelvo::getMaxHP() {
    return KVPawn::getMaxHP() + (m_helmet != nullptr ? m_helmet->hpBonus : 0);
}
int KVKelvo::getMaxSP() {
    return KVPawn::getMaxSP() + (m_helmet != nullptr ? m_helmet->spBonus : 0);
}
int KVKelvo::getSPRegen() {
    return KVPawn::getSPRegen() + (m_helmet != nullptr ? m_helmet->spRegenBonus : 0);
}
float KVKelvo::getMovePower() {
    return KVPawn::getMovePower() + (m_helmet != nullptr ? m_helmet->movePowerBonus : 0.0f);
}
float KVKelvo::getWeightDensity() {
    return KVPawn::getWeightDensity() + (m_helmet != nullptr ? m_helmet->weightDensityBonus : 0.0f);
}
int KVKelvo::getRangeTarget() {
    return KVPawn::getRangeTarget() + (m_helmet != nullptr ? m_helmet->targetRangeBonus : 0);
}
int KVKelvo::getRangeAoE() {
    return KVPawn::getRangeAoE() + (m_helmet != nullptr ? m_helmet->areaRangeBonus : 0);
}
int KVKelvo::getDefense() {
    return KVPawn::getDefense() + (m_helmet != nullptr ? m_helmet->defenseBonus : 0);
}
int KVKelvo::getDmgTarget() {
    return KVPawn::getDmgTarget() + (m_helmet != nullptr ? m_helmet->targetDamageBonus : 0);
}
int KVKelvo::getDmgAoE() {
    return KVPawn::getDmgAoE() + (m_helmet != nullptr ? m_helmet->areaDamageBonus : 0);
}
int KVKelvo::getHeal() {
    return KVPawn::getHeal() + (m_helmet != nullptr ? m_helmet->healBonus : 0);
}
int KVKelvo::getDmgMelee() {
    return KVPawn::getDmgMelee() + (m_helmet != nullptr ? m_helmet->meleeDamageBonus : 0);
}
int KVKelvo::getDashPerTurn() {
    return KVPawn::getDashPerTurn() + (m_helmet != nullptr ? m_helmet->dashPerTurnBonus : 0);
}
float KVKelvo::getPushOffCoefTarget() {
    return KVPawn::getPushOffCoefTarget() + (m_helmet != nullptr ? m_helmet->targetPushOffBonus : 0.0f);
}
float KVKelvo::getPushOffCoefAoE() {
    return KVPawn::getPushOffCoefAoE() + (m_helmet != nullptr ? m_helmet->areaPushOffBonus : 0.0f);
}
float KVKelvo::getDodge() {
    return KVPawn::getDodge() + (m_helmet != nullptr ? m_helmet->dodgeBonus : 0.0f);
}
float KVKelvo::getCritics() {
    return KVPawn::getCritics() + (m_helmet != nullptr ? m_helmet->criticsBonus : 0.0f);
}
int KVKelvo::getSpeed() {
    return KVPawn::getSpeed() + (m_helmet != nullptr ? m_helmet->speedBonus : 0);
}

// ---- Creation and levels ----

void KVKelvo::registerObservers() {
    // Any released pull ends a selection: the next touch starts from a clean state.
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVKelvo::onDamageModeOff), EVENT_PULL_RELEASE);
    KVPawn::registerObservers();
}

void KVKelvo::saveLevel(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_typeName == nullptr) return;
    KVPlayerParameters::getInstance()->setKelvoLevel(m_typeName->text, m_level);
}

namespace {

// Integer stats are truncated; the others are stored as computed.
int truncated(float value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::trunc(value));
}

} // namespace

void KVKelvo::applyLevelUps(int level) {
    kvdata::Dict* entry =
        m_typeName != nullptr ? KVGameParameters::getInstance()->getKelvoStats(m_typeName->text) : nullptr;
    if (entry == nullptr) {
        kvengine::logDebugMessage("KVKelvo::applyLevelUps: no creature stats for %s, stats kept",
                                  m_typeName != nullptr ? m_typeName->c_str() : "(unnamed)");
        return;
    }
    auto levelled = [entry, level](const char* key, float base, bool* found) {
        kvdata::Array* list = kvdata::arrayAt(entry, key);
        *found = list != nullptr;
        return list != nullptr ? computeStatAtLevel(list, level, base) : base;
    };
    bool found = false;
    auto applyInt = [&](const char* key, int& stat) {
        const float value = levelled(key, static_cast<float>(stat), &found);
        if (found) stat = truncated(value);
    };
    auto applyFloat = [&](const char* key, float& stat) {
        const float value = levelled(key, stat, &found);
        if (found) stat = value;
    };
    applyInt("HP LevelUp", m_maxHP);
    applyInt("SP LevelUp", m_maxSP);
    applyInt("DMG Melee LevelUp", m_dmgMelee);
    applyInt("Defense LevelUp", m_defense);
    applyInt("Dash Per Turn LevelUp", m_dashPerTurn);
    applyInt("Heal LevelUp", m_heal);
    applyInt("DMG AoE LevelUp", m_dmgAoE);
    applyInt("DMG Target LevelUp", m_dmgTarget);
    applyInt("SP regen LevelUp", m_spRegen);
    {
        const float value = levelled("Move Power LevelUp", m_movePower, &found);
        if (found) setMovePower(value);
    }
    applyFloat("Weight Density LevelUp", m_weightDensity);
    applyInt("Range AoE LevelUp", m_rangeAoE);
    applyInt("Range Target LevelUp", m_rangeTarget);
    applyFloat("Critics LevelUp", m_critics);
    applyFloat("Dodge LevelUp", m_dodge);
    applyFloat("Push Off Coef Target LevelUp", m_pushOffCoefTarget);
    applyFloat("Push Off Coef AoE LevelUp", m_pushOffCoefAoE);
    applyInt("Speed LevelUp", m_speed);
}
