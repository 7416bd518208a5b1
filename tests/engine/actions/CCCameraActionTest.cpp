#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "ActionTestSupport.h"
#include "engine/actions/CCActionCamera.h"
#include "engine/actions/CCReverseTime.h"
#include "engine/director/CCCamera.h"

using namespace kvengine;
using namespace actiontest;

namespace {

struct Eye {
    float x, y, z;
};

Eye eyeOf(CCNode* n) {
    Eye eye{};
    n->getCamera()->getEyeXYZ(&eye.x, &eye.y, &eye.z);
    return eye;
}

} // namespace

using CameraActionTest = ActionTest;

TEST_F(CameraActionTest, HalfTurnOrbitSeesTheNodeFromBehind) {
    const float r0 = 2.0f;
    const float zEye = CCCamera::getZEye();
    run(CCOrbitCamera::createWithDurationRadiusAngles(1, r0, 0, 0, 180, 0, 0));
    frame(0.5f);
    Eye start = eyeOf(node);
    EXPECT_NEAR(start.x, 0.0f, 1e-12);
    EXPECT_NEAR(start.z, r0 * zEye, 1e-12);
    frame(0.5f);
    Eye side = eyeOf(node);
    EXPECT_NEAR(side.x, r0 * zEye, 1e-12); // over the x side
    EXPECT_NEAR(side.z, 0.0f, 1e-12);
    frame(0.5f);
    Eye end = eyeOf(node);
    EXPECT_NEAR(end.x, 0.0f, 1e-12);
    EXPECT_NEAR(end.y, 0.0f, 1e-12);
    EXPECT_NEAR(end.z, -r0 * zEye, 1e-12);
    EXPECT_TRUE(node->getCamera()->isDirty());
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(CameraActionTest, NanParametersAreMeasuredFromTheCameraAtTheFirstStartAndKept) {
    const float zEye = CCCamera::getZEye();
    node->getCamera()->setEyeXYZ(0, 3 * zEye, 0); // on the y axis: zenith 90, azimuth 90
    CCOrbitCamera* orbit = CCOrbitCamera::createWithDurationRadiusAngles(1, NAN, 0, NAN, 0, NAN, 0);
    orbit->startWithTarget(node);
    EXPECT_NEAR(orbit->getRadius(), 3.0f, 1e-4);
    EXPECT_NEAR(orbit->getAngleZ(), 90.0f, 1e-3);
    EXPECT_NEAR(orbit->getAngleX(), 90.0f, 1e-3);
    orbit->update(0.5f);
    Eye eye = eyeOf(node);
    EXPECT_NEAR(eye.y, 3 * zEye, 1e-10);

    CCOrbitCamera* copy = static_cast<CCOrbitCamera*>(orbit->copy()->autorelease());
    EXPECT_NEAR(copy->getRadius(), 3.0f, 1e-4);
    orbit->stop();
}

TEST_F(CameraActionTest, EyeOnTheCentreMeasuresWithoutDividingByZero) {
    node->getCamera()->setEyeXYZ(0, 0, 0);
    CCOrbitCamera* orbit = CCOrbitCamera::createWithDurationRadiusAngles(1, NAN, 1, NAN, 10, NAN, 10);
    orbit->startWithTarget(node);
    float radius = 0, zenith = 0, azimuth = 0;
    orbit->measureSpherical(&radius, &zenith, &azimuth);
    EXPECT_TRUE(std::isfinite(radius) && std::isfinite(zenith) && std::isfinite(azimuth));
    orbit->update(1.0f);
    Eye eye = eyeOf(node);
    EXPECT_TRUE(std::isfinite(eye.x) && std::isfinite(eye.y) && std::isfinite(eye.z));
    orbit->stop();
}

TEST_F(CameraActionTest, ReverseIsATimeReversalOfTheSameAction) {
    CCOrbitCamera* orbit = CCOrbitCamera::createWithDurationRadiusAngles(1, 1, 0, 0, 90, 0, 0);
    CCFiniteTimeAction* reversed = orbit->reverse();
    ASSERT_NE(dynamic_cast<CCReverseTime*>(reversed), nullptr);
    CCFiniteTimeAction* back = reversed->reverse();
    ASSERT_NE(dynamic_cast<CCOrbitCamera*>(back), nullptr);
    EXPECT_FLOAT_EQ(reversed->getDuration(), 1.0f);
    run(reversed);
    frame(0.5f);
    EXPECT_NEAR(eyeOf(node).x, CCCamera::getZEye(), 1e-12); // starts at the orbit's end
}
