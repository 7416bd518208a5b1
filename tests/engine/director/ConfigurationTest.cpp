#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCCamera.h"
#include "engine/director/CCConfiguration.h"
#include "engine/director/CCDirector.h"

#include <gtest/gtest.h>

#include <cfloat>

using namespace kvengine;

TEST(Configuration, VersionCodesTestSubstringsInOrder) {
    struct Case {
        const char* version;
        int code;
    };
    const Case cases[] = {{"2.1.2", 0},
                          {"1.1.0", 1},
                          {"1.1 Build 7", 2},
                          {"2.0 Mesa", 3},
                          {"4.5 (Compatibility Profile) Mesa 22", 0},
                          {"", 0},
                          {nullptr, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(glVersionCodeFromString(c.version), c.code) << (c.version ? c.version : "null");
}

TEST(Configuration, ExtensionsAreSubstringTests) {
    CCConfiguration configuration;
    EXPECT_FALSE(configuration.checkForGLExtension("GL_EXT_a"));
    configuration.initWithExtensions("GL_EXT_abc GL_IMG_texture_compression_pvrtc", 2048);
    EXPECT_TRUE(configuration.checkForGLExtension("GL_EXT_ab")) << "a prefix of a longer name counts";
    EXPECT_TRUE(configuration.isSupportsPVRTC());
    EXPECT_FALSE(configuration.isSupportsNPOT());
    EXPECT_EQ(configuration.getMaxTextureSize(), 2048);
    EXPECT_TRUE(configuration.isInitialised());
}

TEST(Camera, StoresPixelsAndAnswersInPoints) {
    CCDirector::getInstance()->setContentScaleFactor(2.0f);
    CCCamera camera;
    EXPECT_FALSE(camera.isDirty()) << "a camera never moved is never applied";
    float x = 0, y = 0, z = 0;
    camera.getEyeXYZ(&x, &y, &z);
    EXPECT_FLOAT_EQ(z, FLT_EPSILON / 2.0f);
    camera.setEyeXYZ(10, 20, 30);
    EXPECT_TRUE(camera.isDirty());
    camera.getEyeXYZ(&x, &y, &z);
    EXPECT_FLOAT_EQ(x, 10.0f);
    EXPECT_FLOAT_EQ(z, 30.0f);
    camera.restore();
    EXPECT_FALSE(camera.isDirty());
    EXPECT_EQ(CCCamera::getZEye(), FLT_EPSILON);
    CCDirector::destroyInstance();
    CCAutoreleasePoolStack::getInstance().clearAllPools();
}
