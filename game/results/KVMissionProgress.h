#pragma once

#include <string>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"

class KVScoreManager;

/// What a won solo mission writes into the player profile, in one place.
///
/// recordWin runs when the victory screen is made, before it shows anything:
/// 1. the turn score of the mission;
/// 2. on the first win only (the mission record's "status_completed" reads 0), what the mission
///    definition names: "unlockable_items" (name -> "kelvo", "helmet" or "consumable"; a locked
///    creature or helmet goes to the shop, a consumable below its "max_amount" gains a unit),
///    "lockable_items" (name -> "kelvo" or "helmet": withdrawn for good), "victory_messages", and
///    the next mission of the chapter: opened and made the last played one, unless the definition
///    has "stepsToDoBeforeNextMission", whose tutorial steps then start and open it later;
/// 3. on every win: the helmets and creatures found in the match go to the shop when still
///    locked, the opened chests are recorded, the chapter and the mission are marked played and the
///    mission completed, the chapter completed after its last mission; the profile is saved and
///    "EVENT_GAME_PLAYER_WIN" posted.
/// Each item that became available joins the unlocked list (definition first, then found helmets,
/// then found creatures; an item is announced once, since a second test finds it in the shop), each
/// item that the player could use or buy and lost joins the locked list.
///
/// A name the profile or the game data does not know (a creature, helmet or consumable without a
/// record or definition, an unknown type) is skipped with a log line.
///
/// The pearls of the win are paid by the screen while it shows the result: 500 for each star
/// earned for the first time, and the match's score as loot (pearlLoot).
class KVMissionProgress {
public:
    /// The match that was won.
    struct Win {
        std::string mission;
        std::string chapter;
        int turnsUsed = 0;
        /// Names found during the match (null for none): helmets, creatures (lower case), chests.
        kvengine::CCMutableArray<kvengine::CCString*>* helmetsFound = nullptr;
        kvengine::CCMutableArray<kvengine::CCString*>* kelvosFound = nullptr;
        kvengine::CCMutableArray<kvengine::CCString*>* chestsFound = nullptr;
    };

    /// What the victory screen announces afterwards, appended to the three lists.
    struct Announcements {
        kvengine::CCMutableArray<kvengine::CCString*>* unlocked = nullptr;
        kvengine::CCMutableArray<kvengine::CCString*>* locked = nullptr;
        kvengine::CCMutableArray<kvengine::CCString*>* messages = nullptr;
    };

    /// The current mission of the game setup and the found lists of a solo score manager; turns
    /// and lists stay empty for another kind of manager or none.
    static Win currentWin(KVScoreManager* scoreManager);

    /// Records the win as above; `announcer` is the object of "EVENT_GAME_PLAYER_WIN". False (with
    /// a log line, nothing written) when the mission has no record in the profile.
    static bool recordWin(const Win& win, const Announcements& out, kvengine::CCObject* announcer);

    /// The pearls a match's score pays: doubled while the profile holds a "pearlfish".
    static int pearlLoot(int scoreTotal);

    /// The consumable that doubles the pearls of a match.
    static constexpr const char* kPearlDoubler = "pearlfish";
};
