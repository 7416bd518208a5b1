#pragma once

#include <map>
#include <string>

#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCNotification;
}

/// The shared service that carries out the use of a consumable: during a mission, and on the
/// creature screens for the brainwash. Created on first use (ensureInstance or getInstance);
/// released at shutdown.
///
/// Its constructor registers its notification handlers at once, so a screen that makes the manager
/// before registering its own handler of the same name is served after the manager.
class KVConsumableManager : public KVSingletonObject<KVConsumableManager> {
public:
    CC_DECLARE_CLASS_NAME(KVConsumableManager, KVSingletonObject)

    KVConsumableManager();
    void cleanupBeforeDelete() override;

    /// EVENT_BRAIN_WASH_TRIGGERED (object: the creature's name): takes one "brainwash_medusa",
    /// puts the creature back to level 1 and refunds what its levels cost, posts
    /// EVENT_CHARACTER_ITEM_UPDATE_NEEDED and saves the profile. Nothing happens for a creature
    /// that cost nothing, nor (with a log line) when no medusa is in stock.
    virtual void onBrainWashTriggered(kvengine::CCNotification* notification);

    /// The usage record: units of each consumable used in the running mission, by name. A mission
    /// starts with it empty; a use adds one.
    void clearUsage() { m_usage.clear(); }
    void recordUsage(const std::string& name);
    /// Gives every unit of the record back to the profile's stock (not saved), then empties it.
    void flushUsage();
    const std::map<std::string, int>& getUsage() const { return m_usage; }

private:
    std::map<std::string, int> m_usage;
};

/// The consumable name of the brainwash.
extern const char* const KV_BRAINWASH_CONSUMABLE;

/// True when the profile holds at least one unit of the consumable.
bool hasConsumableInStock(const std::string& name);

/// Whether the candidate class takes the place of the current one as the first class of a list:
/// "Frigate" ranks before "Destroyer", which ranks before "Torpedo", which ranks before any other
/// class. A higher-ranked candidate wins, and so does one of the same rank, except against a
/// "Frigate" (a later item wins a tie).
bool isClassOutranked(const std::string& currentClass, const std::string& candidateClass);
