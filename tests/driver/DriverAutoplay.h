#pragma once

// kelvos_driver --autoplay: the computer plays the player's side of a mission.
//
// The player's kelvos keep their human-driven flags (the turns and the score treat them as the
// player's), but each is moved by the computer controller and brain the enemies use. When that
// brain finds nothing to do (no hurt team mate, no attack, no opponent in sight within its search
// distance), the autoplay brain walks the kelvo toward the mission's goal instead of skipping:
// the victory trigger of a reach mission, else the nearest opponent that can be hurt. It launches
// straight when the way is clear, around an obstacle with the brain's two-leg path, or else along
// the clear leg that ends nearest to the goal; only with no stamina or no goal does it skip.

#include <string>

#include "engine/base/CCGeometry.h"

namespace kvdriver {

/// From now on, the player kelvos that missions create are driven by the autoplay brain.
void startAutoplay();
/// Player kelvos get the player's own controller again.
void stopAutoplay();

/// Whether a dialogue is shown and takes a tap now (not in the moment of refused touches after
/// one).
bool isDialogueWaitingForTap();

/// Where a tap advances the shown dialogue, in world points: the middle of its text box (a light
/// dialogue takes taps on its box only, and its box need not cover the window's middle). False
/// when no box is shown.
bool dialogueTapPoint(kvengine::CCPoint& world);

/// What the player's hand does for a stalled turn, once a frame while autoplaying: when it is a
/// player kelvo's turn but the kelvo is not selected (the camera does not find it playable, so
/// the brain waits) while everything is at rest and no dialogue runs, it taps the out-of-screen bubble
/// ("EVENT_AUTO_FOCUS_REQUEST") after kRefocusFrames such frames and the skip button
/// ("EVENT_SKIP_TURN") after kSkipFrames. Returns the notification posted, or "".
class AutoplayHand {
public:
    static constexpr int kRefocusFrames = 30;
    static constexpr int kSkipFrames = 240;

    std::string update();

private:
    int m_stalledFrames = 0;
};

/// The end of a mission as the autoplay reports it: "won", "lost" or "unfinished" (no verdict
/// before the last frame), the player turns begun (as the score manager counts them: one per
/// "EVENT_TURN_START_PLAYER") and the frame "EVENT_GAME_WINNER" was posted on (0 before).
struct AutoplayOutcome {
    std::string result = "unfinished";
    int playerTurns = 0;
    int winnerFrame = 0;
};

/// Follows the posts of a mission: the player turns, the verdict ("EVENT_VICTORY_DANCE" /
/// "EVENT_LOOSE_DANCE", the first one counts) and "EVENT_GAME_WINNER", posted while frame `frame`
/// is prepared.
void noteAutoplayPost(const std::string& name, int frame, AutoplayOutcome& outcome);

/// The machine-readable line printed at exit:
///   autoplay: result=won mission=M01a seed=1 turns=4 frame=2412
/// with the frame of "EVENT_GAME_WINNER", or of the last frame drawn when unfinished (seed "-"
/// when the run was not seeded).
std::string autoplayReport(const AutoplayOutcome& outcome, const std::string& mission, bool seeded,
                           unsigned seed, int framesDrawn);

} // namespace kvdriver
