// Player profile: creature records, the squad, worn and transferred helmets, level-up costs.

#include <algorithm>
#include <climits>

#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"

using kvdata::Array;
using kvdata::Dict;
using kvengine::CCString;

Dict* KVPlayerParameters::getKelvoRecord(const std::string& name) {
    return kvdata::dictAt(m_creatures, name);
}

Dict* KVPlayerParameters::getHelmetRecord(const std::string& name) {
    return kvdata::dictAt(m_helmets, name);
}

int KVPlayerParameters::getKelvoLevel(const std::string& name) {
    Dict* record = getKelvoRecord(name);
    return record != nullptr ? kvdata::intAt(record, "level", 1) : 0;
}

int KVPlayerParameters::getKelvoSelectedStatus(const std::string& name) {
    return kvdata::intAt(getKelvoRecord(name), "status_selected", 0);
}

int KVPlayerParameters::getKelvoTurnSpeed(const std::string& name) {
    Dict* record = getKelvoRecord(name);
    return record != nullptr ? kvdata::intAt(record, "turnSpeed", 5) : -1;
}

Dict* KVPlayerParameters::getSelectedKelvos() {
    Dict* squad = kvdata::newDict();
    for (const std::string& name : kvdata::keysOf(m_creatures)) {
        Dict* record = kvdata::dictAt(m_creatures, name);
        if (kvdata::intAt(record, "status_selected") == 1) squad->setObject(record, name);
    }
    return squad;
}

bool KVPlayerParameters::isHelmetTransferred(const std::string& helmet, const std::string& kelvo) {
    Array* list = kvdata::arrayAt(getKelvoRecord(kelvo), "transferedHelmet");
    if (list == nullptr) return false;
    for (unsigned i = 0; i < list->count(); ++i) {
        if (kvdata::textOf(list, i) == helmet) return true;
    }
    return false;
}

Array* KVPlayerParameters::getTransferredHelmets(const std::string& kelvo) {
    Dict* record = getKelvoRecord(kelvo);
    if (record == nullptr) return nullptr;
    Array* list = kvdata::arrayAt(record, "transferedHelmet");
    if (list == nullptr) {
        list = kvdata::newArray();
        record->setObject(list, "transferedHelmet");
    }
    return list;
}

int KVPlayerParameters::getNextLevelUpCost(const std::string& kelvo) {
    const int level = getKelvoLevel(kelvo);
    return KVGameParameters::getInstance()->getLevelUpCost(static_cast<unsigned>(level) + 1u);
}

int KVPlayerParameters::getTotalLevelUpCost(const std::string& kelvo) {
    KVGameParameters* data = KVGameParameters::getInstance();
    // Levels past the cost table cost nothing: a level the save gives (a damaged "2000000000")
    // must not become billions of steps, nor the sum of large costs an overflow.
    Array* costs = kvdata::arrayAt(data->getLevelUpSettings(), "level_up_cost");
    const int top = std::min(getKelvoLevel(kelvo), static_cast<int>(costs != nullptr ? costs->count() : 0));
    long long total = 0;
    for (int level = top; level >= 2; --level)
        total += data->getLevelUpCost(static_cast<unsigned>(level));
    return static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX));
}

void KVPlayerParameters::setKelvoLevel(const std::string& name, int level) {
    kvdata::setInt(getKelvoRecord(name), "level", level);
}

void KVPlayerParameters::setKelvoSelectedStatus(const std::string& name, int selected) {
    kvdata::setInt(getKelvoRecord(name), "status_selected", selected);
}

void KVPlayerParameters::setKelvoTurnSpeed(const std::string& name, int position) {
    kvdata::setInt(getKelvoRecord(name), "turnSpeed", position);
}

void KVPlayerParameters::setKelvoHelmet(const std::string& kelvo, const std::string& helmet) {
    kvdata::setText(getKelvoRecord(kelvo), "helmet_name", helmet);
}

void KVPlayerParameters::addTransferredHelmet(const std::string& helmet, const std::string& kelvo) {
    // A transfer is for good and counted once: a second transfer of the same helmet adds nothing.
    if (isHelmetTransferred(helmet, kelvo)) return;
    Array* list = getTransferredHelmets(kelvo);
    if (list != nullptr) list->addObject(kvdata::newString(helmet));
}
