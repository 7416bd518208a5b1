// Player profile: pearls, consumable stock, power-ups met, treasures found, help-case counters.

#include <algorithm>

#include "engine/base/CCLog.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"

using kvdata::Dict;
using kvengine::CCString;

int KVPlayerParameters::getPearlAmount() {
    return kvdata::intAt(m_profile, "pearl_amount");
}

void KVPlayerParameters::addPearls(int amount) {
    if (m_profile == nullptr) return;
    kvdata::setInt(m_profile, "pearl_amount", getPearlAmount() + amount);
}

void KVPlayerParameters::removePearls(int amount) {
    if (m_profile == nullptr) return;
    kvdata::setInt(m_profile, "pearl_amount", std::max(0, getPearlAmount() - amount));
}

Dict* KVPlayerParameters::getConsumableRecord(const std::string& name) {
    if (m_consumables == nullptr) return nullptr;
    Dict* record = kvdata::dictAt(m_consumables, name);
    if (record == nullptr && KVGameParameters::getInstance()->getConsumableDefinition(name) != nullptr) {
        record = kvdata::newDict();
        m_consumables->setObject(record, name);
    }
    return record;
}

int KVPlayerParameters::getConsumableAmount(const std::string& name) {
    return kvdata::intAt(getConsumableRecord(name), "amount");
}

bool KVPlayerParameters::useConsumable(const std::string& name) {
    Dict* record = kvdata::dictAt(m_consumables, name);
    const int amount = kvdata::intAt(record, "amount");
    if (amount <= 0) return false;
    kvdata::setInt(record, "amount", amount - 1);
    saveProfile();
    return true;
}

void KVPlayerParameters::addConsumable(const std::string& name, int count) {
    if (m_consumables == nullptr || name.empty()) return;
    Dict* record = kvdata::dictAt(m_consumables, name);
    if (record == nullptr) {
        record = kvdata::newDict();
        m_consumables->setObject(record, name);
    }
    kvdata::setInt(record, "amount", kvdata::intAt(record, "amount") + count);
}

bool KVPlayerParameters::isPowerupSeen(const std::string& name) {
    if (name.empty()) return false;
    return kvdata::boolAt(m_powerups, name);
}

void KVPlayerParameters::markPowerupSeen(const std::string& name) {
    if (m_powerups == nullptr || name.empty() || isPowerupSeen(name)) return;
    kvdata::setText(m_powerups, name, "YES");
}

bool KVPlayerParameters::isTreasureFound(const std::string& name) {
    return kvdata::boolAt(m_treasures, name);
}

void KVPlayerParameters::markTreasureFound(const std::string& name) {
    if (m_treasures == nullptr || name.empty() || kvdata::hasKey(m_treasures, name)) return;
    kvdata::setText(m_treasures, name, "YES");
}

int KVPlayerParameters::getHelpCaseValue(const std::string& key) {
    return kvdata::intAt(m_helpCases, key);
}

void KVPlayerParameters::setHelpCaseValue(const std::string& key, int value) {
    kvdata::setInt(m_helpCases, key, value);
}
