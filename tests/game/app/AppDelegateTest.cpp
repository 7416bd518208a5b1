#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>

#include "AppTestSupport.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/platform/CCInstanceLock.h"
#include "game/app/AppDelegate.h"
#include "game/app/KVStartup.h"
#include "game/app/KVWindowIcon.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"
#include "game/sound/KVSoundManager.h"
#include "game/tutorial/KVHelperManager.h"
#include "support/GLTestContext.h"
#include "support/Required.h"

namespace {

class StartUpTest : public ::testing::Test {
protected:
    void TearDown() override { kvapptest::releaseEverything(); }
};

// A service of the test's own, named in no list: made after the game settings, it must go before
// them and before the notification centre they observe.
class KVLateTestService : public KVSingletonObject<KVLateTestService> {
public:
    CC_DECLARE_CLASS_NAME(KVLateTestService, KVSingletonObject)
    void cleanupBeforeDelete() override {
        released = true;
        settingsAlive = KVGameSetup::existingInstance() != nullptr;
        centreAlive = kvengine::CCNotificationCenter::existingInstance() != nullptr;
        KVSingletonObject::cleanupBeforeDelete();
    }
    static inline bool released = false;
    static inline bool settingsAlive = false;
    static inline bool centreAlive = false;
};

} // namespace

TEST(WideScreen, ThreeTimesWidthOverHeightAboveFourAndAHalf) {
    struct Case {
        float width, height;
        bool wide;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {400, 300, false}, // 4:3, ratio 4.0
        {480, 270, true},  // 16:9, ratio 5.33
        {450, 300, false}, // 3:2, ratio exactly 4.5
        {451, 300, true},  // just wider than 3:2
        {518, 324, true},  // 16:10
        {0, 300, false},   // unknown sizes are never wide
        {480, 0, false},   {-480, -270, false}, {nan, 300, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AppDelegate::isWideScreen(c.width, c.height), c.wide) << c.width << " x " << c.height;
}

TEST_F(StartUpTest, ShutdownReleasesOnlyWhatExists) {
    // Closing before the splash made anything: nothing is built just to be released, so no
    // profile is written and no sound output is started.
    const std::string profile = kvapptest::dataHome() + "/Kelvos/SavedSettings.plist";
    std::filesystem::remove(profile);
    AppDelegate::releaseSharedObjects();
    EXPECT_EQ(KVPlayerParameters::existingInstance(), nullptr);
    EXPECT_EQ(KVSoundManager::existingInstance(), nullptr);
    EXPECT_EQ(KVGameSetup::existingInstance(), nullptr);
    EXPECT_EQ(kvengine::CCUserDefaults::existingInstance(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(profile));

    // Made ones go, the dialogue manager excepted.
    KVChatterManager* chatter = KVChatterManager::getInstance();
    KVGameSetup::getInstance();
    KVGameParameters::getInstance();
    KVMenuManager::getInstance();
    KVHelperManager::getInstance();
    ASSERT_NE(kvengine::CCLocalizationManager::existingInstance(), nullptr);
    AppDelegate::releaseSharedObjects();
    EXPECT_EQ(KVGameSetup::existingInstance(), nullptr);
    EXPECT_EQ(KVGameParameters::existingInstance(), nullptr);
    EXPECT_EQ(KVMenuManager::existingInstance(), nullptr);
    EXPECT_EQ(KVHelperManager::existingInstance(), nullptr);
    EXPECT_EQ(kvengine::CCLocalizationManager::existingInstance(), nullptr);
    EXPECT_EQ(kvengine::CCUserDefaults::existingInstance(), nullptr) << "not made again by a later release";
    EXPECT_EQ(KVChatterManager::existingInstance(), chatter);
    AppDelegate::releaseSharedObjects(); // a second shutdown finds nothing to release
}

TEST_F(StartUpTest, ShutdownReleasesEveryServiceNewestFirstWithoutAList) {
    KVGameSetup::getInstance();
    KVLateTestService::getInstance();
    AppDelegate::releaseSharedObjects();
    EXPECT_TRUE(KVLateTestService::released);
    EXPECT_TRUE(KVLateTestService::settingsAlive) << "the older settings go after it";
    EXPECT_TRUE(KVLateTestService::centreAlive);
    EXPECT_EQ(KVGameSetup::existingInstance(), nullptr);
    EXPECT_EQ(kvengine::CCNotificationCenter::existingInstance(), nullptr);
}

TEST(InstanceLock, OneHolderPerFileAndBadPathsFailWithALogLine) {
    const std::string path = kvapptest::dataHome() + "/locks/instance.lock";
    kvengine::CCInstanceLock first;
    kvengine::CCInstanceLock second;
    EXPECT_EQ(first.acquire(path), kvengine::CCInstanceLock::kAcquired);
    EXPECT_EQ(second.acquire(path), kvengine::CCInstanceLock::kHeldElsewhere);
    first.release();
    EXPECT_EQ(second.acquire(path), kvengine::CCInstanceLock::kAcquired);

    kvapptest::LogCapture log;
    kvengine::CCInstanceLock bad;
    EXPECT_EQ(bad.acquire(""), kvengine::CCInstanceLock::kFailed);
    EXPECT_EQ(bad.acquire("/proc/kelvos/instance.lock"), kvengine::CCInstanceLock::kFailed);
    EXPECT_FALSE(bad.isHeld());
    EXPECT_EQ(log.lines.size(), 2u);

    // A data folder that cannot be made: the message gives that cause, not the missing file that
    // follows from it. (The superuser may write anywhere but into sysfs.)
    std::string unwritable = kvapptest::dataHome() + "/readonly";
    if (geteuid() == 0) {
        unwritable = "/sys/kelvos-lock-test";
    } else {
        std::filesystem::create_directories(unwritable);
        std::filesystem::permissions(unwritable,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    log.lines.clear();
    EXPECT_EQ(bad.acquire(unwritable + "/Kelvos/instance.lock"), kvengine::CCInstanceLock::kFailed);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find(unwritable + "/Kelvos"), std::string::npos) << log.lines[0];
    EXPECT_EQ(log.lines[0].find("No such file"), std::string::npos) << log.lines[0];
}

TEST(InstanceLock, TheDefaultFileLiesInTheUsersDataFolder) {
    EXPECT_EQ(kvengine::CCInstanceLock::defaultPath(), kvapptest::dataHome() + "/Kelvos/instance.lock");
}

TEST(RunProgram, ASecondInstanceEndsAtOnceWithStatusZero) {
    const std::string path = kvapptest::dataHome() + "/second/instance.lock";
    kvengine::CCInstanceLock running;
    ASSERT_EQ(running.acquire(path), kvengine::CCInstanceLock::kAcquired);
    bool made = false;
    const int status = kvRunProgram(
        "",
        [&made] {
            made = true;
            return std::make_unique<AppDelegate>();
        },
        path);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(made) << "no application, window or message for a second instance";
}

TEST(RunProgram, ALockThatCannotBeTakenEndsWithStatusOne) {
    bool made = false;
    const int status = kvRunProgram(
        "",
        [&made] {
            made = true;
            return std::make_unique<AppDelegate>();
        },
        "/proc/kelvos/instance.lock");
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(made);
}

TEST(WindowIcon, CutFromTheSplashPictureOnlyWhenAWindowIsOpen) {
    EXPECT_FALSE(kvWindowIconFromSplash()) << "no window: nothing to give a picture to";
    kvtest::GLTestContext gl;
    if (!gl.open(32, 32)) KVTEST_REQUIRED_MISSING("no window");
    EXPECT_TRUE(kvWindowIconFromSplash());
}
