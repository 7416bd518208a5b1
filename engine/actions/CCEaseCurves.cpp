#include "engine/actions/CCEaseCurves.h"

#include <cmath>

namespace kvengine {
namespace ease {

float rateIn(float t, float rate) {
    return std::pow(t, rate);
}

float rateOut(float t, float rate) {
    return std::pow(t, 1.0f / rate);
}

float rateInOut(float t, float rate) {
    float u = t * 2.0f;
    if (u < 1.0f) return 0.5f * std::pow(u, rate);
    float whole = std::trunc(rate);
    if (whole != rate || !std::isfinite(rate)) {
        // A negative base to a fractional power has no real value: use the mirror of the
        // first half, which is what the integer formula reduces to.
        return 1.0f - 0.5f * std::pow(2.0f - u, rate);
    }
    // Parity of the integer rate decides the sign of (u - 2)^rate.
    float sign = (static_cast<long long>(whole) % 2 == 0) ? -1.0f : 1.0f;
    return sign * 0.5f * (std::pow(u - 2.0f, rate) + sign * 2.0f);
}

float exponentialIn(float t) {
    if (t == 0.0f) return 0.0f;
    return std::pow(2.0f, 10.0f * (t - 1.0f)) - 0.001f;
}

float exponentialOut(float t) {
    if (t == 1.0f) return 1.0f;
    return 1.0f - std::pow(2.0f, -10.0f * t);
}

float exponentialInOut(float t) {
    float u = t * 2.0f;
    if (u < 1.0f) return 0.5f * std::pow(2.0f, 10.0f * (u - 1.0f));
    return 0.5f * (2.0f - std::pow(2.0f, -10.0f * (u - 1.0f)));
}

float sineIn(float t) {
    return 1.0f - std::cos(t * kPi / 2.0f);
}

float sineOut(float t) {
    return std::sin(t * kPi / 2.0f);
}

float sineInOut(float t) {
    return -0.5f * (std::cos(kPi * t) - 1.0f);
}

bool isUsableElasticPeriod(float period) {
    return period != 0.0f && std::isfinite(period);
}

float elasticIn(float t, float period) {
    if (t == 0.0f || t == 1.0f) return t;
    float p = isUsableElasticPeriod(period) ? period : kElasticDefaultPeriod;
    float s = p / 4.0f;
    float u = t - 1.0f;
    return -std::pow(2.0f, 10.0f * u) * std::sin((u - s) * kPi * 2.0f / p);
}

float elasticOut(float t, float period) {
    if (t == 0.0f || t == 1.0f) return t;
    float p = isUsableElasticPeriod(period) ? period : kElasticDefaultPeriod;
    float s = p / 4.0f;
    return std::pow(2.0f, -10.0f * t) * std::sin((t - s) * kPi * 2.0f / p) + 1.0f;
}

float elasticInOut(float t, float period) {
    if (t == 0.0f || t == 1.0f) return t;
    float p = isUsableElasticPeriod(period) ? period : kElasticInOutDefaultPeriod;
    float s = p / 4.0f;
    float u = t * 2.0f - 1.0f;
    if (u < 0.0f) return -0.5f * std::pow(2.0f, 10.0f * u) * std::sin((u - s) * kPi * 2.0f / p);
    return 0.5f * std::pow(2.0f, -10.0f * u) * std::sin((u - s) * kPi * 2.0f / p) + 1.0f;
}

float bounce(float x) {
    // Breakpoints compared in double, offsets taken in single precision.
    if (x < 1.0 / 2.75) return 7.5625f * x * x;
    if (x < 2.0 / 2.75) {
        x -= 1.5f / 2.75f;
        return 7.5625f * x * x + 0.75f;
    }
    if (x < 2.5 / 2.75) {
        x -= 2.25f / 2.75f;
        return 7.5625f * x * x + 0.9375f;
    }
    x -= 2.625f / 2.75f;
    return 7.5625f * x * x + 0.984375f;
}

float bounceIn(float t) {
    return 1.0f - bounce(1.0f - t);
}

float bounceOut(float t) {
    return bounce(t);
}

float bounceInOut(float t) {
    if (t < 0.5f) return 0.5f * (1.0f - bounce(1.0f - t * 2.0f));
    return 0.5f * bounce(t * 2.0f - 1.0f) + 0.5f;
}

float backIn(float t) {
    const float s = kBackOvershoot;
    return t * t * ((s + 1.0f) * t - s);
}

float backOut(float t) {
    const float s = kBackOvershoot;
    float u = t - 1.0f;
    return u * u * ((s + 1.0f) * u + s) + 1.0f;
}

float backInOut(float t) {
    const float s = kBackOvershoot * 1.525f;
    float u = t * 2.0f;
    if (u < 1.0f) return 0.5f * u * u * ((s + 1.0f) * u - s);
    float v = u - 2.0f;
    return 0.5f * v * v * ((s + 1.0f) * v + s) + 1.0f;
}

} // namespace ease
} // namespace kvengine
