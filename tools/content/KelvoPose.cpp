#include "tools/content/KelvoPose.h"

#include <cmath>

namespace kvcontent {

namespace {
const double kPi = 3.14159265358979;
double wave(double t, double cycles = 1) {
    return std::sin(t * 2 * kPi * cycles);
}

} // namespace

Pose kelvoPose(const std::string& word, int index, int count) {
    const double t = count > 1 ? static_cast<double>(index) / count : 0.0;       // 0 .. <1
    const double u = count > 1 ? static_cast<double>(index) / (count - 1) : 1.0; // 0 .. 1
    Pose p;
    if (word == "idle") {
        p.sy = 1 + 0.04 * wave(t);
        p.sx = 1 - 0.04 * wave(t);
        p.dy = -3 * wave(t);
        p.finLift = 0.3 * wave(t);
        if (index == count - 2) p.eyes = Eyes::Blink;
    } else if (word == "stretch") {
        // Pulled back: taller and thinner the further the pull goes.
        p.sx = 1 - 0.22 * u;
        p.sy = 1 + 0.3 * u;
        p.eyes = u > 0.5 ? Eyes::Squint : Eyes::Open;
        p.mouth = u > 0.5 ? Mouth::Grit : Mouth::Ooh;
        p.finLift = -0.8 * u;
        p.dy = 6 * u;
    } else if (word == "stretch_idle") {
        p.sx = 0.8 + 0.03 * wave(t);
        p.sy = 1.28 - 0.03 * wave(t);
        p.eyes = Eyes::Squint;
        p.mouth = Mouth::Grit;
        p.finLift = -0.8;
        p.dy = 6;
        p.dx = 2 * wave(t, 2);
    } else if (word == "stretch_release") {
        const double k = std::cos(u * kPi * 1.5) * (1 - u);
        p.sx = 1 - 0.22 * k;
        p.sy = 1 + 0.3 * k;
        p.eyes = Eyes::Wide;
        p.mouth = Mouth::Open;
        p.finLift = 0.8 * u;
    } else if (word == "launched") {
        p.sx = 0.86 + 0.03 * wave(t);
        p.sy = 1.2 - 0.03 * wave(t);
        p.eyes = Eyes::Wide;
        p.mouth = Mouth::Open;
        p.finLift = 1;
        p.speedLines = 3;
        p.dy = -4;
    } else if (word == "hit") {
        p.sx = 1.18 - 0.12 * u;
        p.sy = 0.82 + 0.12 * u;
        p.dx = 5 * wave(t, 2);
        p.eyes = Eyes::Cross;
        p.mouth = Mouth::Ooh;
        p.finLift = 0.6;
    } else if (word == "hit_healed") {
        p.sy = 1 + 0.05 * wave(t);
        p.eyes = Eyes::Happy;
        p.mouth = Mouth::Grin;
        p.sparkles = 3 + index % 2;
        p.finLift = 0.5;
    } else if (word == "wait") {
        // Looks left, then right, then yawns.
        p.pupilX = u < 0.35 ? -1 : (u < 0.7 ? 1 : 0);
        p.pupilY = u < 0.7 ? 0.3 : -0.5;
        p.eyes = u >= 0.7 ? Eyes::Squint : Eyes::Open;
        p.mouth = u >= 0.7 ? Mouth::Ooh : Mouth::Smile;
        p.sy = u >= 0.7 ? 1.06 : 1.0;
    } else if (word == "victory") {
        const double jump = std::fabs(wave(t * 0.5 + 0.0001, 2));
        p.dy = -18 * jump;
        p.sy = 1 + 0.08 * jump;
        p.sx = 1 - 0.05 * jump;
        p.eyes = Eyes::Happy;
        p.mouth = Mouth::Grin;
        p.finLift = 1;
        p.angle = 0.12 * wave(t);
    } else if (word == "ko") {
        p.sx = 1 + 0.15 * u;
        p.sy = 1 - 0.3 * u;
        p.dy = 12 * u;
        p.angle = 0.5 * u;
        p.eyes = Eyes::Dizzy;
        p.mouth = Mouth::Frown;
        p.stars = 3;
        p.finLift = -1;
    } else if (word == "fall") {
        p.scale = 1 - 0.85 * u;
        p.angle = 2 * kPi * u;
        p.alpha = 1 - 0.6 * u;
        p.eyes = Eyes::Wide;
        p.mouth = Mouth::Ooh;
        p.finLift = 1;
    } else if (word == "anchor") {
        p.sx = 1 + 0.1 * u;
        p.sy = 1 - 0.1 * u;
        p.dy = 5 * u;
        p.eyes = Eyes::Squint;
        p.mouth = Mouth::Grit;
        p.finLift = -1;
    } else if (word == "attack") {
        // Area attack: wind up, then a shock ring.
        if (u < 0.5) {
            p.sx = 1 + 0.2 * u;
            p.sy = 1 - 0.2 * u;
            p.eyes = Eyes::Squint;
            p.mouth = Mouth::Grit;
            p.finLift = -1;
        } else {
            p.ring = (u - 0.5) * 2;
            p.eyes = Eyes::Wide;
            p.mouth = Mouth::Open;
            p.finLift = 1;
        }
    } else if (word == "attack_distant") {
        p.charge = u < 0.6 ? u / 0.6 : 1 - (u - 0.6) / 0.4;
        p.eyes = Eyes::Squint;
        p.mouth = u < 0.6 ? Mouth::Grit : Mouth::Open;
        p.pupilY = -0.6;
    }
    return p;
}

} // namespace kvcontent
