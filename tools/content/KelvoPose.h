#pragma once
// The poses of a kelvo through its animations, shared by the creature and helmet
// drawing programs so that a helmet moves in step with the creature wearing it.
#include <string>

namespace kvcontent {

enum class Eyes { Open, Blink, Squint, Cross, Happy, Wide, Dizzy };
enum class Mouth { Smile, Open, Frown, Ooh, Grin, Grit };

/// One frame's pose. Scales and angles apply to the body; the extras are drawn around it.
struct Pose {
    double sx = 1, sy = 1;         // squash and stretch
    double angle = 0;              // radians, body tilt
    double dx = 0, dy = 0;         // texels, y down
    double finLift = 0;            // -1 down .. 1 up
    double pupilX = 0, pupilY = 0; // -1 .. 1
    double scale = 1;              // overall size (falling into a hole shrinks)
    double alpha = 1;
    Eyes eyes = Eyes::Open;
    Mouth mouth = Mouth::Smile;
    int sparkles = 0; // heal sparkles
    int stars = 0;    // dizzy stars
    int speedLines = 0;
    double ring = 0;   // area-attack shock ring, 0 none .. 1 largest
    double charge = 0; // distance-attack glow, 0 .. 1
};

/// The pose of frame `index` (from 0) of `count` frames of an animation word.
Pose kelvoPose(const std::string& word, int index, int count);

} // namespace kvcontent
