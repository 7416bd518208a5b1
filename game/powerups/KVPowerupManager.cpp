#include "game/powerups/KVPowerupManager.h"

#include <algorithm>
#include <cstdlib>

#include "engine/base/CCLog.h"
#include "engine/base/CCRandom.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVPlayerHuddle.h"
#include "game/powerups/KVPowerup.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/world/KVObjectFactory.h"

using kvengine::logDebugMessage;

namespace {

const char* const kClassNames[KVPowerupManager::kKinds] = {"KVPowerupEnergyDrink", "KVPowerupMaguroSushi",
                                                           "KVPowerupSpikyShell", "KVPowerupNinjaLog",
                                                           "KVPowerupShuriken"};
constexpr int kShurikenKind = 4;

int clampRow(int row) {
    return std::max(1, std::min(KVPowerupManager::kRows, row));
}

} // namespace

KVPowerupManager::KVPowerupManager() {
    m_classNames = new kvengine::CCMutableArray<kvengine::CCString*>();
    for (const char* name : kClassNames) {
        auto* text = new kvengine::CCString(name);
        m_classNames->addObject(text);
        text->release();
    }
    kvengine::CCString* mission = KVGameSetup::getInstance()->getMissionName();
    loadRows(KVGameParameters::getInstance()->getPowerups(),
             mission != nullptr ? mission->text : std::string());
}

void KVPowerupManager::cleanupBeforeDelete() {
    if (m_classNames != nullptr) m_classNames->release();
    m_classNames = nullptr;
    KVObject::cleanupBeforeDelete();
}

void KVPowerupManager::loadRows(kvdata::Dict* table, const std::string& mission) {
    for (int row = 0; row < kRows; ++row) {
        m_totals[row] = 0;
        for (int kind = 0; kind < kKinds; ++kind)
            m_weights[row][kind] = 0;
    }
    const std::string set = kvdata::textAt(kvdata::dictAt(table, "map_set_selection"), mission, "default");
    kvdata::Array* rows = kvdata::arrayAt(kvdata::dictAt(table, "ratio_sets"), set);
    const unsigned count = rows != nullptr ? rows->count() : 0u;
    if (count != static_cast<unsigned>(kRows))
        logDebugMessage("KVPowerupManager: the power-up set \"%s\" of \"%s\" has %u rows, not %d: %s",
                        set.c_str(), mission.c_str(), count, kRows,
                        count > static_cast<unsigned>(kRows) ? "the extra rows are ignored"
                                                             : "the missing rows give nothing");
    for (int row = 0; row < kRows && static_cast<unsigned>(row) < count; ++row) {
        kvdata::Dict* weights = kvdata::asDict(rows->objectAtIndex(static_cast<unsigned>(row)));
        for (int kind = 0; kind < kKinds; ++kind) {
            const std::string key = kindKey(kind);
            if (!kvdata::hasKey(weights, key)) {
                logDebugMessage("KVPowerupManager: row %d of the power-up set \"%s\" has no \"%s\": weight 0",
                                row + 1, set.c_str(), key.c_str());
                continue;
            }
            const int weight = std::max(0, kvdata::intAt(weights, key));
            m_weights[row][kind] = weight;
            m_totals[row] += weight;
        }
    }
}

std::string KVPowerupManager::kindKey(int kind) {
    kvengine::CCString* const keys[kKinds] = {ITEM_ENERGY_DRINK, ITEM_SUSHI, ITEM_SPIKY_SHELL, ITEM_NINJA_LOG,
                                              ITEM_SHURIKEN};
    return kind >= 0 && kind < kKinds ? keys[kind]->text : std::string();
}

int KVPowerupManager::weight(int row, int kind) const {
    if (kind < 0 || kind >= kKinds) return 0;
    return m_weights[clampRow(row) - 1][kind];
}

int KVPowerupManager::total(int row) const {
    return m_totals[clampRow(row) - 1];
}

std::string KVPowerupManager::classNameOf(int kind) const {
    return kind >= 0 && kind < kKinds ? kClassNames[kind] : "";
}

int KVPowerupManager::rowFor(KVPawn* pawn) const {
    if (KVGameSetup::getInstance()->solo) {
        KVPawnManager* manager = KVPawnManager::existingInstance();
        return clampRow((manager != nullptr ? manager->getDeadKelvoCount() : 0) + 1);
    }
    auto* player = pawn != nullptr ? dynamic_cast<KVPlayerHuddle*>(pawn->getOwnerPlayer()) : nullptr;
    return clampRow(player != nullptr ? player->placing : 1);
}

int KVPowerupManager::drawKind(int row, KVPawn* pawn) const {
    const int index = clampRow(row) - 1;
    const int sum = m_totals[index];
    if (sum <= 0) return -1;
    for (int attempt = 0; attempt <= kMaxRedraws; ++attempt) {
        const int r = kvengine::CCRandom::next() % sum;
        int kind = 0;
        for (int running = m_weights[index][0]; running <= r; running += m_weights[index][kind])
            ++kind;
        if (kind != kShurikenKind || pawn == nullptr || KVPowerupShuriken::throwShurikens(pawn, true))
            return kind;
    }
    return -1;
}

KVPowerup* KVPowerupManager::givePowerup(KVPawn* pawn) {
    if (pawn == nullptr) return nullptr;
    const int row = rowFor(pawn);
    const int kind = drawKind(row, pawn);
    if (kind < 0) {
        logDebugMessage("KVPowerupManager: row %d gives nothing to %s", row,
                        pawn->getTypeName() != nullptr ? pawn->getTypeName()->c_str() : "a pawn");
        return nullptr;
    }
    kvengine::CCObject* made = KVObjectFactory::create(kClassNames[kind]);
    auto* powerup = dynamic_cast<KVPowerup*>(made);
    if (powerup == nullptr) {
        if (made != nullptr) made->release();
        logDebugMessage("KVPowerupManager: no power-up class %s", kClassNames[kind]);
        return nullptr;
    }
    powerup->autorelease();
    pawn->addModifier(powerup);
    return powerup;
}
