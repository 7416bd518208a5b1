#pragma once

// Scripted plays of M01a for kelvos_driver under seed 1: the whole-program tests of the missions and
// of the screens that follow them run the same plays through this one place.
//
// A play's frames are counted from the first frame of play (kM01aPlayStart), so whatever comes
// before the first turn (loading, an opening dialogue tapped through with kM01aOpening) shifts every
// play at once: add the opening's taps to kM01aOpening and its length to kM01aPlayStart.
//
//     run(kvtest::m01aPlay(kvtest::kM01aVictory, 260) + " --trace trace.txt" +
//         shot(kvtest::m01aFrame(770), "puff.png"));

#include <string>
#include <vector>

namespace kvtest {

/// Driver events that lead from the mission's start to its first turn: the opening dialogue starts
/// on frame 154 (1.5 s into the mission); eight taps in the middle of the window, ten frames
/// apart, tap through it (its picture: finish the zoom, go on; each of its three text boxes: show
/// the text, go on), and it ends on frame 240.
inline const std::string kM01aOpening =
    " --event 170:down:480:300 --event 171:up:480:300 --event 180:down:480:300 --event 181:up:480:300"
    " --event 190:down:480:300 --event 191:up:480:300 --event 200:down:480:300 --event 201:up:480:300"
    " --event 210:down:480:300 --event 211:up:480:300 --event 220:down:480:300 --event 221:up:480:300"
    " --event 230:down:480:300 --event 231:up:480:300 --event 240:down:480:300 --event 241:up:480:300";
/// The first frame on which the first kelvo's turn takes input: after the dialogue's end and the
/// 0.3 s in which the mission still refuses touches.
constexpr int kM01aPlayStart = 260;

/// A driver event ("drag-pawn:-140:0", "skip-turn", ...) on a frame counted from the play's start.
struct PlayEvent {
    int frame;
    const char* event;
};
using Play = std::vector<PlayEvent>;

/// The driver frame of a play's frame.
inline int m01aFrame(int playFrame) {
    return kM01aPlayStart + playFrame;
}

/// Driver arguments that play `play` in M01a with seed 1: the opening, the play's events, and
/// `framesAfter` frames after its last event before the window closes.
inline std::string m01aPlay(const Play& play, int framesAfter) {
    std::string arguments = "--mission M01a --seed 1" + kM01aOpening;
    int last = 0;
    for (const PlayEvent& event : play) {
        arguments += " --event " + std::to_string(m01aFrame(event.frame)) + ":" + event.event;
        if (event.frame > last) last = event.frame;
    }
    return arguments + " --frames " + std::to_string(m01aFrame(last + framesAfter));
}

// Both crabs are given one hit point, so each falls to the first hit: the first kelvo waits, the
// second one crosses to the lower crab in five launches (the shorter third one brings the fifth in
// at speed) and knocks it out; the upper crab answers, hitting her; then the first kelvo waits
// again and she knocks the upper crab out from where she lies. Knock-outs: play frames 711 and
// 953; the victory with the second one's removal, near frame 1047.
inline const Play kM01aVictory = {
    {0, "set-life:enemy:0:1"}, {0, "set-life:enemy:1:1"}, {1, "drag-pawn:-140:0"},
    {101, "skip-turn"},        {201, "drag-pawn:-140:0"}, {321, "drag-pawn:-94:0"},
    {441, "drag-pawn:-140:0"}, {561, "drag-pawn:-140:0"}, {681, "drag-pawn:-140:0"},
    {801, "skip-turn"},        {921, "skip-turn"},        {941, "drag-pawn:46:131"}};

// Each kelvo in turn is flung at the whirlpool hole until it falls in: the first on its fourth
// launch, the second on her second. The defeat comes with the second one's removal, near frame 602.
inline const Play kM01aDefeat = {{1, "drag-pawn:-140:7"},    {101, "drag-pawn:-140:0"},
                                 {201, "drag-pawn:-140:0"},  {301, "drag-pawn:-140:0"},
                                 {401, "drag-pawn:-131:49"}, {501, "drag-pawn:-131:49"}};

} // namespace kvtest
