#include "engine/actions/CCEaseCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

struct CurveCase {
    std::string name;
    std::function<float(float)> curve;
    // Expected values at t = 0.1, 0.25, 0.5, 0.75, 0.9, worked out in double precision from
    // the published equations.
    std::vector<float> expected;
    float atZero;
    float atOne;
};

const float kSamples[] = {0.1f, 0.25f, 0.5f, 0.75f, 0.9f};

std::vector<CurveCase> curveCases() {
    using namespace ease;
    return {
        {"rateIn2", [](float t) { return rateIn(t, 2); }, {0.01f, 0.0625f, 0.25f, 0.5625f, 0.81f}, 0, 1},
        {"rateOut2",
         [](float t) { return rateOut(t, 2); },
         {0.3162278f, 0.5f, 0.7071068f, 0.8660254f, 0.9486833f},
         0,
         1},
        {"rateInOut2", [](float t) { return rateInOut(t, 2); }, {0.02f, 0.125f, 0.5f, 0.875f, 0.98f}, 0, 1},
        {"rateInOut3",
         [](float t) { return rateInOut(t, 3); },
         {0.004f, 0.0625f, 0.5f, 0.9375f, 0.996f},
         0,
         1},
        {"rateInOut2.5",
         [](float t) { return rateInOut(t, 2.5f); },
         {0.0089443f, 0.0883883f, 0.5f, 0.9116117f, 0.9910557f},
         0,
         1},
        {"exponentialIn", exponentialIn, {0.0009531f, 0.0045243f, 0.03025f, 0.1757767f, 0.499f}, 0, 0.999f},
        {"exponentialOut", exponentialOut, {0.5f, 0.8232233f, 0.96875f, 0.9944757f, 0.9980469f}, 0, 1},
        {"exponentialInOut",
         exponentialInOut,
         {0.0019531f, 0.015625f, 0.5f, 0.984375f, 0.9980469f},
         1.0f / 2048.0f,
         1.0f - 1.0f / 2048.0f},
        {"sineIn", sineIn, {0.0123117f, 0.0761205f, 0.2928932f, 0.6173166f, 0.8435655f}, 0, 1},
        {"sineOut", sineOut, {0.1564345f, 0.3826834f, 0.7071068f, 0.9238795f, 0.9876883f}, 0, 1},
        {"sineInOut", sineInOut, {0.0244717f, 0.1464466f, 0.5f, 0.8535534f, 0.9755283f}, 0, 1},
        {"elasticIn0.3",
         [](float t) { return elasticIn(t, 0.3f); },
         {0.0019531f, -0.0055243f, -0.015625f, 0.0883883f, -0.25f},
         0,
         1},
        {"elasticOut0.3",
         [](float t) { return elasticOut(t, 0.3f); },
         {1.25f, 0.9116117f, 1.015625f, 1.0055243f, 0.9980469f},
         0,
         1},
        {"elasticInOut0.45",
         [](float t) { return elasticInOut(t, 0.45f); },
         {0.0003392f, 0.0119694f, 0.5f, 0.9880306f, 0.9996608f},
         0,
         1},
        {"bounceIn", bounceIn, {0.011875f, 0.0273438f, 0.234375f, 0.5273438f, 0.924375f}, 0, 1},
        {"bounceOut", bounceOut, {0.075625f, 0.4726562f, 0.765625f, 0.9726562f, 0.988125f}, 0, 1},
        {"bounceInOut", bounceInOut, {0.03f, 0.1171875f, 0.5f, 0.8828125f, 0.97f}, 0, 1},
        {"backIn", backIn, {-0.0143142f, -0.0641366f, -0.0876975f, 0.1825903f, 0.591172f}, 0, 1},
        {"backOut", backOut, {0.408828f, 0.8174097f, 1.0876975f, 1.0641366f, 1.0143142f}, 0, 1},
        {"backInOut", backInOut, {-0.0375186f, -0.0996818f, 0.5f, 1.0996818f, 1.0375186f}, 0, 1},
    };
}

} // namespace

TEST(EaseCurves, EachCurveMatchesItsFormulaAtTablePoints) {
    for (const CurveCase& c : curveCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.expected.size(), std::size(kSamples));
        for (size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_NEAR(c.curve(kSamples[i]), c.expected[i], 2e-5) << "t = " << kSamples[i];
        }
        EXPECT_NEAR(c.curve(0.0f), c.atZero, 1e-6);
        EXPECT_NEAR(c.curve(1.0f), c.atOne, 1e-6);
    }
}

TEST(EaseCurves, BounceOutHitsItsBreakpointPlateaus) {
    EXPECT_NEAR(ease::bounceOut(1.5f / 2.75f), 0.75f, 1e-6);
    EXPECT_NEAR(ease::bounceOut(2.25f / 2.75f), 0.9375f, 1e-6);
    EXPECT_NEAR(ease::bounceOut(2.625f / 2.75f), 0.984375f, 1e-6);
}

TEST(EaseCurves, ExponentialInDipsBelowZeroJustAfterStart) {
    EXPECT_LT(ease::exponentialIn(1e-6f), 0.0f);
    EXPECT_NEAR(ease::exponentialIn(1e-6f), std::pow(2.0f, -10.0f) - 0.001f, 1e-6);
}

TEST(EaseCurves, RateInOutIsSymmetricAndRealForEveryRate) {
    for (float rate : {1.0f, 2.0f, 3.0f, 4.0f, 0.5f, 2.5f, 3.7f}) {
        SCOPED_TRACE(rate);
        EXPECT_NEAR(ease::rateInOut(0.5f, rate), 0.5f, 1e-6);
        for (float t : {0.05f, 0.2f, 0.35f, 0.45f}) {
            float low = ease::rateInOut(t, rate);
            float high = ease::rateInOut(1.0f - t, rate);
            ASSERT_TRUE(std::isfinite(low) && std::isfinite(high)) << "t = " << t;
            EXPECT_NEAR(low + high, 1.0f, 1e-5) << "t = " << t;
        }
        EXPECT_NEAR(ease::rateInOut(1.0f, rate), 1.0f, 1e-6);
    }
}

TEST(EaseCurves, ElasticWithUnusablePeriodUsesTheDefaultInsteadOfDividingByZero) {
    const float bad[] = {0.0f, NAN, INFINITY};
    for (float period : bad) {
        SCOPED_TRACE(period);
        for (float t : kSamples) {
            EXPECT_FLOAT_EQ(ease::elasticIn(t, period), ease::elasticIn(t, ease::kElasticDefaultPeriod));
            EXPECT_FLOAT_EQ(ease::elasticOut(t, period), ease::elasticOut(t, ease::kElasticDefaultPeriod));
            EXPECT_FLOAT_EQ(ease::elasticInOut(t, period),
                            ease::elasticInOut(t, ease::kElasticInOutDefaultPeriod));
        }
        EXPECT_EQ(ease::elasticIn(1.0f, period), 1.0f);
        EXPECT_EQ(ease::elasticOut(1.0f, period), 1.0f);
    }
}

TEST(EaseCurves, ElasticAndBackCurvesOvershoot) {
    EXPECT_GT(ease::elasticOut(0.1f, 0.3f), 1.0f);
    EXPECT_LT(ease::elasticIn(0.9f, 0.3f), 0.0f);
    EXPECT_LT(ease::backIn(0.5f), -0.08f);
    EXPECT_GT(ease::backOut(0.5f), 1.08f);
}
