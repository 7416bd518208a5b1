#include "game/data/KVHelmet.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/base/CCLog.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"

using kvdata::Dict;
using kvengine::CCString;

namespace {

void hold(CCString*& field, CCString* value) {
    if (value != nullptr) value->retain();
    if (field != nullptr) field->release();
    field = value;
}

} // namespace

KVHelmet::KVHelmet(CCString* helmetName, CCString* wearerName) {
    hold(m_helmetName, helmetName);
    hold(m_wearerName, wearerName);
    if (helmetName == nullptr) return;
    const std::string name = kvdata::textOf(helmetName);
    if (!name.empty()) {
        Dict* definition = KVGameParameters::getInstance()->getHelmetDefinition(name);
        hold(m_spriteSheetName, kvdata::stringAt(definition, "spritesheet_name"));
        hold(m_spriteName, kvdata::stringAt(definition, "sprite_name"));
    }
    computeBonuses();
}

void KVHelmet::cleanupBeforeDelete() {
    hold(m_helmetName, nullptr);
    hold(m_spriteSheetName, nullptr);
    hold(m_spriteName, nullptr);
    hold(m_wearerName, nullptr);
    KVObject::cleanupBeforeDelete();
}

void KVHelmet::releaseSpriteName() {
    hold(m_spriteName, nullptr);
}

void KVHelmet::computeBonuses() {
    const std::string worn = kvdata::textOf(m_helmetName);
    KVGameParameters* data = KVGameParameters::getInstance();
    kvdata::Array* transferred = nullptr;
    if (m_wearerName != nullptr && KVPlayerParameters::existingInstance() != nullptr) {
        transferred = KVPlayerParameters::getInstance()->getTransferredHelmets(kvdata::textOf(m_wearerName));
    }
    // Each helmet counts once, even if an old profile lists a transfer twice.
    std::vector<std::string> counted;
    for (unsigned i = 0; transferred != nullptr && i < transferred->count(); ++i) {
        const std::string name = kvdata::textOf(transferred, i);
        if (std::find(counted.begin(), counted.end(), name) != counted.end()) continue;
        counted.push_back(name);
        addBonusesOf(data->getHelmetDefinition(name));
    }
    if (!worn.empty() && std::find(counted.begin(), counted.end(), worn) == counted.end()) {
        addBonusesOf(data->getHelmetDefinition(worn));
    }
}

void KVHelmet::addBonusesOf(Dict* helmet) {
    if (helmet == nullptr) {
        kvengine::logDebugMessage("helmet: no entry in the helmet table (worn by \"%s\")",
                                  kvdata::textOf(m_wearerName).c_str());
        return;
    }
    auto whole = [helmet](const char* key) { return kvdata::intAt(helmet, key); };
    auto real = [helmet](const char* key) { return kvdata::floatAt(helmet, key); };
    hpBonus += whole("HP");
    spBonus += whole("SP");
    meleeDamageBonus += whole("DMG Melee");
    defenseBonus += whole("Defense");
    dashPerTurnBonus += whole("Dash Per Turn");
    healBonus += whole("Heal");
    areaDamageBonus += whole("DMG AoE");
    targetDamageBonus += whole("DMG Target");
    spRegenBonus += whole("SP regen");
    movePowerBonus += static_cast<float>(whole("Move Power"));
    weightDensityBonus += real("Weight Density");
    areaRangeBonus += whole("Range AoE");
    targetRangeBonus += whole("Range Target");
    criticsBonus += real("Critics");
    dodgeBonus += real("Dodge");
    targetPushOffBonus += static_cast<float>(whole("Push Off Coef Target"));
    areaPushOffBonus += static_cast<float>(whole("Push Off Coef AoE"));
    speedBonus += whole("Speed");
}
