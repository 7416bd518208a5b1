#pragma once

/// Easing curves used by the ease actions, as plain functions of the progress t (0 to 1).
/// They are kept apart from the action classes so that each curve can be checked on its own.
/// Every function returns the eased progress; the in-out rate and elastic curves take their
/// parameter explicitly and never produce NaN for a finite t.
namespace kvengine {
namespace ease {

/// pi as the curves use it: the single-precision value.
constexpr float kPi = 3.1415927f;
/// Overshoot of the back curves.
constexpr float kBackOvershoot = 1.70158f;
/// Period an elastic curve falls back to when it is given 0 (or a value that is not finite).
constexpr float kElasticDefaultPeriod = 0.3f;
/// Period the in-out elastic curve uses when it is given 0: 0.3 x 1.5 in single precision.
constexpr float kElasticInOutDefaultPeriod = 0.3f * 1.5f;

float rateIn(float t, float rate);
float rateOut(float t, float rate);
/// The power curve mirrored about (0.5, 0.5). Integer rates follow the even/odd rule of the
/// classic formula; a fractional rate uses the mirror form, which is the same curve and stays real.
float rateInOut(float t, float rate);

float exponentialIn(float t);
float exponentialOut(float t);
float exponentialInOut(float t);

float sineIn(float t);
float sineOut(float t);
float sineInOut(float t);

/// True when the period can be divided by: finite and not 0.
bool isUsableElasticPeriod(float period);
/// The elastic curves pass t = 0 and t = 1 through unchanged. A period that is 0 or not finite
/// is replaced by kElasticDefaultPeriod (kElasticInOutDefaultPeriod for the in-out curve).
float elasticIn(float t, float period);
float elasticOut(float t, float period);
float elasticInOut(float t, float period);

/// The bounce-out shape for x in [0, 1].
float bounce(float x);
float bounceIn(float t);
float bounceOut(float t);
float bounceInOut(float t);

float backIn(float t);
float backOut(float t);
float backInOut(float t);

} // namespace ease
} // namespace kvengine
