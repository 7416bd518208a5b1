#pragma once

#include <string>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVObject.h"

class KVPawn;
class KVPowerup;

/// Decides which power-up a pawn gets from a power-up pick-up. The odds are four weight rows of
/// the five kinds (energy drink, sushi, spiky shell, ninja log, shuriken) read from the game
/// parameters' "powerups" table: "map_set_selection" names the ratio set of a mission ("default"
/// when it names none) and "ratio_sets" holds each set's rows. The worse the receiving side is
/// doing, the later the row: in solo missions one row more for each of the player's kelvos dead
/// (row 1 with none, row 4 from three on); in multiplayer the place of the pawn's player (1 =
/// leading; places outside 1-4 are taken as the nearest of them).
///
/// Broken data gives nothing rather than a wrong draw: rows past the fourth are ignored, missing
/// rows and weights count 0 (each logged when the rows are read), a row whose weights add up to 0
/// gives nothing, and a shuriken drawn while nobody is in sight is drawn again at most 32 times,
/// then nothing. Every draw comes from CCRandom. Made by the level builder, one per mission.
class KVPowerupManager : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupManager, KVObject)

    static constexpr int kRows = 4;
    static constexpr int kKinds = 5;
    static constexpr int kMaxRedraws = 32;

    /// The rows of the running mission (KVGameSetup's mission name).
    KVPowerupManager();
    void cleanupBeforeDelete() override;

    /// Reads the rows of `mission` from a "powerups" table (null: every row empty, logged).
    void loadRows(kvdata::Dict* table, const std::string& mission);
    /// The row, 1 to 4, that `pawn` draws from now.
    int rowFor(KVPawn* pawn) const;
    /// A kind drawn from row `row` (clamped to 1-4) for `pawn` (which may be null: no sight test);
    /// -1 when the row gives nothing.
    int drawKind(int row, KVPawn* pawn) const;
    /// Draws a kind for `pawn`, makes that power-up and adds it to the pawn. Returns the power-up
    /// given (owned by the pawn), or null (logged) when nothing was given.
    KVPowerup* givePowerup(KVPawn* pawn);

    int weight(int row, int kind) const;
    int total(int row) const;
    /// The class name of a kind (0-4); "" for others.
    std::string classNameOf(int kind) const;

    /// The weight key of a kind in a row ("energy_drink" ... "shuriken"); "" for others.
    static std::string kindKey(int kind);

private:
    int m_weights[kRows][kKinds] = {};
    int m_totals[kRows] = {};
    kvengine::CCMutableArray<kvengine::CCString*>* m_classNames = nullptr;
};
