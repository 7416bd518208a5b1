#pragma once

#include <map>
#include <string>

#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCNotification;
}
class KVPawn;

/// The shared service that carries out the use of a consumable: during a mission, and on the
/// creature screens for the brainwash. Created on first use (ensureInstance or getInstance);
/// released at shutdown.
///
/// A use in a mission: useConsumable checks the board (the current pawn is human-driven, nothing
/// is busy), announces the manager busy ("EVENT_NOTIFY_IN_ACTION") and, once the camera shows the
/// current pawn, starts the consumable's effect:
/// - "tentacle_grip" / "miracle_tentacle_final": the HUD plays its effect, then calls
///   triggerPendingTentacle, which brings back the last fallen / dead player creature next to the
///   current pawn;
/// - "mighty_kraken": a KVKraken, whose animation's end makes the manager idle again;
/// - "cocktail", "sushi", "shuriken": the power-up goes to the current pawn at once.
/// A unit leaves the profile's stock only when the effect happens, and every unit taken is written
/// in the usage record, which flushUsage gives back (a restarted, quit or lost mission).
///
/// Its constructor registers its notification handlers at once, so a screen that makes the manager
/// before registering its own handler of the same name is served after the manager.
class KVConsumableManager : public KVSingletonObject<KVConsumableManager> {
public:
    CC_DECLARE_CLASS_NAME(KVConsumableManager, KVSingletonObject)

    /// Consumable kinds; kNone while idle.
    enum Kind : int {
        kTentacleGrip = 0,
        kMiracleTentacle = 1,
        kKraken = 2,
        kCocktail = 3,
        kSushi = 4,
        kShuriken = 5,
        kNone = 6,
    };
    /// Steps of a use: waiting for the camera, the HUD's tentacle effect playing, the kraken
    /// playing, idle.
    enum Step : int { kWaitingForCamera = 0, kTentacleEffect = 1, kKrakenRunning = 2, kIdle = 3 };

    KVConsumableManager();
    void cleanupBeforeDelete() override;

    /// Starts the use of the consumable `name` in the running mission. False, with nothing posted,
    /// for a name that is not a mission consumable (logged), when none is in stock (logged), when
    /// no mission runs or its current pawn is missing or AI-driven, while something is busy, or
    /// while another use is under way.
    bool useConsumable(const std::string& name);
    /// Whether the consumable would do something now: a dead / fallen player creature to bring
    /// back, an enemy for the kraken, a target in sight for the shuriken, room for the sushi or
    /// the drink on the current pawn. True for other names.
    bool canUseConsumable(const std::string& name);
    /// Called by the HUD once a tentacle effect has played: posts the tentacle's trigger, then
    /// returns to idle. Nothing for other kinds.
    void triggerPendingTentacle();
    /// Back to idle: posts "EVENT_NOTIFY_IDLE" with the manager.
    void resetPendingConsumable();

    /// Notification handlers.
    virtual void onMiracleTentacleTriggered(kvengine::CCNotification* notification);
    virtual void onTentacleGripTriggered(kvengine::CCNotification* notification);
    virtual void onKrakenTriggered(kvengine::CCNotification* notification);
    virtual void onKrakenAnimFinished(kvengine::CCNotification* notification);
    /// EVENT_BRAIN_WASH_TRIGGERED (object: the creature's name): takes one "brainwash_medusa",
    /// puts the creature back to level 1 and refunds what its levels cost, posts
    /// EVENT_CHARACTER_ITEM_UPDATE_NEEDED and saves the profile. Nothing happens for a creature
    /// that cost nothing, nor (with a log line) when no medusa is in stock.
    virtual void onBrainWashTriggered(kvengine::CCNotification* notification);
    /// The camera has brought the current pawn back: a use waiting for it starts.
    virtual void onPawnSelected(kvengine::CCNotification* notification);
    /// "cocktail", "sushi" or "shuriken" (a CCString): the power-up goes to the current pawn.
    virtual void onPowerUpTriggered(kvengine::CCNotification* notification);
    /// A use cut short by the mission's end is forgotten (nothing posted).
    virtual void onGameShutdown(kvengine::CCNotification* notification);

    /// The usage record: units of each consumable used in the running mission, by name. A mission
    /// starts with it empty; a use adds one.
    void clearUsage() { m_usage.clear(); }
    void recordUsage(const std::string& name);
    /// Gives every unit of the record back to the profile's stock (not saved), then empties it.
    void flushUsage();
    const std::map<std::string, int>& getUsage() const { return m_usage; }

    int getPendingKind() const { return m_pendingKind; }
    int getStep() const { return m_step; }
    /// The kind of a mission consumable's name; kNone for any other name.
    static int kindOfName(const std::string& name);
    /// The name of a kind; "" for kNone and out-of-range kinds.
    static const char* nameOfKind(int kind);

private:
    void startConsumable(int kind);
    /// Takes one unit of `name` from the profile and records it; false when none was left.
    bool spendUnit(const std::string& name);
    /// Brings back the last fallen (`fallen`) or dead player creature near the current pawn.
    bool reviveKelvo(bool fallen);

    int m_pendingKind = kNone;
    int m_step = kIdle;
    std::map<std::string, int> m_usage;
};

/// The consumable name of the brainwash.
extern const char* const KV_BRAINWASH_CONSUMABLE;

/// True when the profile holds at least one unit of the consumable.
bool hasConsumableInStock(const std::string& name);
/// True when one of the six mission consumables is in stock.
bool hasAnyConsumableInStock();

/// Whether the candidate class takes the place of the current one as the first class of a list:
/// "Frigate" ranks before "Destroyer", which ranks before "Torpedo", which ranks before any other
/// class. A higher-ranked candidate wins, and so does one of the same rank, except against a
/// "Frigate" (a later item wins a tie).
bool isClassOutranked(const std::string& currentClass, const std::string& candidateClass);
