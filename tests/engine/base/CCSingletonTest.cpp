#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCSharedRegistry.h"
#include "engine/base/CCSingleton.h"

using namespace kvengine;

namespace {

std::vector<std::string> g_released;

// Shared objects of the tests' own: each records its name when it goes. The stage bit of 1u << 8
// and above belongs to no real stage, so the engine's own objects are never touched.
constexpr unsigned kTestStage = 1u << 8;
constexpr unsigned kOtherTestStage = 1u << 9;

template <class T, unsigned Stages = kTestStage> class Recorded : public CCSingleton<T, CCObject, Stages> {
public:
    void cleanupBeforeDelete() override {
        g_released.push_back(T::kName);
        CCSingleton<T, CCObject, Stages>::cleanupBeforeDelete();
    }
};

struct Base final : Recorded<Base> {
    static constexpr const char* kName = "base";
};

// Built on Base: asks for it while being made, so Base must outlive it.
struct User final : Recorded<User> {
    static constexpr const char* kName = "user";
    User() { Base::getInstance(); }
};

struct Plain final : Recorded<Plain> {
    static constexpr const char* kName = "plain";
};

struct OtherStage final : Recorded<OtherStage, kOtherTestStage> {
    static constexpr const char* kName = "other";
};

// Asks for Base while it goes: a destructor that reaches a service already released.
struct LateUser final : Recorded<LateUser> {
    static constexpr const char* kName = "late";
    void cleanupBeforeDelete() override {
        Base::getInstance();
        Recorded::cleanupBeforeDelete();
    }
};

struct Kept final : Recorded<Kept> {
    static constexpr const char* kName = "kept";
    static constexpr bool kReleasedAtShutdown = false;
};

// Refuses to go while `busy` is set, as the notification centre does during a post.
struct Refusing final : Recorded<Refusing> {
    static constexpr const char* kName = "refusing";
    static void purgeInstance() {
        if (busy) return;
        CCSingleton::purgeInstance();
    }
    static inline bool busy = false;
};

class SharedObjectTest : public ::testing::Test {
protected:
    void SetUp() override { g_released.clear(); }
    void TearDown() override {
        Kept::purgeInstance();
        Refusing::busy = false;
        Refusing::purgeInstance();
        CCSharedRegistry::releaseAll(kTestStage | kOtherTestStage);
        EXPECT_EQ(CCSharedRegistry::count(kTestStage | kOtherTestStage), 0u);
    }
};

} // namespace

TEST_F(SharedObjectTest, MadeOnceFoundWithoutMakingAndForgottenWhenReleased) {
    EXPECT_EQ(Plain::existingInstance(), nullptr) << "existingInstance never makes one";
    Plain* made = Plain::getInstance();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(Plain::getInstance(), made);
    EXPECT_EQ(Plain::existingInstance(), made);
    EXPECT_EQ(made->retainCount(), 1u);
    EXPECT_TRUE(CCSharedRegistry::contains(&Plain::purgeInstance));

    Plain::purgeInstance();
    EXPECT_EQ(g_released, std::vector<std::string>{"plain"});
    EXPECT_EQ(Plain::existingInstance(), nullptr);
    EXPECT_FALSE(CCSharedRegistry::contains(&Plain::purgeInstance));
    Plain::purgeInstance(); // nothing left: nothing happens

    // Released directly, the shared object is forgotten and unregistered all the same.
    Plain::getInstance()->release();
    EXPECT_EQ(Plain::existingInstance(), nullptr);
    EXPECT_FALSE(CCSharedRegistry::contains(&Plain::purgeInstance));
    EXPECT_EQ(g_released.size(), 2u);
}

TEST_F(SharedObjectTest, AStageReleasesNewestFirstAndOnlyItsOwnObjects) {
    Plain::getInstance();
    OtherStage::getInstance();
    User::getInstance(); // makes Base while it is built
    EXPECT_EQ(CCSharedRegistry::count(kTestStage), 3u);

    CCSharedRegistry::releaseAll(kTestStage);
    EXPECT_EQ(g_released, (std::vector<std::string>{"user", "base", "plain"}))
        << "a service made while another was built outlives it";
    EXPECT_NE(OtherStage::existingInstance(), nullptr) << "another stage's object stays";
    EXPECT_EQ(CCSharedRegistry::count(kTestStage), 0u);
    CCSharedRegistry::releaseAll(kTestStage); // a second shutdown finds nothing

    CCSharedRegistry::releaseAll(kOtherTestStage);
    EXPECT_EQ(OtherStage::existingInstance(), nullptr);
}

TEST_F(SharedObjectTest, AServiceMadeAgainDuringTheShutdownGoesWithIt) {
    Base::getInstance();
    LateUser::getInstance();
    // Make Base newer than its late user, so that it goes first and is asked for again.
    Base::purgeInstance();
    Base::getInstance();
    g_released.clear();

    CCSharedRegistry::releaseAll(kTestStage);
    EXPECT_EQ(g_released, (std::vector<std::string>{"base", "late", "base"}));
    EXPECT_EQ(Base::existingInstance(), nullptr) << "nothing is left behind";
    EXPECT_EQ(LateUser::existingInstance(), nullptr);
}

TEST_F(SharedObjectTest, AnObjectMayStayOrRefuseWithoutStoppingTheShutdown) {
    Kept* kept = Kept::getInstance();
    Refusing* refusing = Refusing::getInstance();
    Plain::getInstance();
    EXPECT_FALSE(CCSharedRegistry::contains(&Kept::purgeInstance))
        << "an object that stays is not registered";
    Refusing::busy = true;

    CCSharedRegistry::releaseAll(kTestStage);
    EXPECT_EQ(g_released, std::vector<std::string>{"plain"});
    EXPECT_EQ(Kept::existingInstance(), kept);
    EXPECT_EQ(Refusing::existingInstance(), refusing) << "a refused release keeps the object";
    EXPECT_EQ(CCSharedRegistry::count(kTestStage), 0u) << "and the stage ends";
}

TEST(SharedRegistryTest, RegisteringAgainMovesAnEntryToTheNewestPlace) {
    static std::vector<int> order;
    order.clear();
    const CCSharedRegistry::ReleaseFunction first = [] { order.push_back(1); };
    const CCSharedRegistry::ReleaseFunction second = [] { order.push_back(2); };
    CCSharedRegistry::add(first, kTestStage);
    CCSharedRegistry::add(second, kTestStage);
    CCSharedRegistry::add(first, kTestStage);
    CCSharedRegistry::add(nullptr, kTestStage);
    EXPECT_EQ(CCSharedRegistry::count(kTestStage), 2u);
    CCSharedRegistry::releaseAll(kTestStage);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(SharedRegistryTest, AReleaseThatKeepsRegisteringStopsWithALogLine) {
    std::vector<std::string> lines;
    setDebugLogSink([&lines](const std::string& line) { lines.push_back(line); });
    static unsigned calls = 0;
    calls = 0;
    struct Again {
        static void release() {
            ++calls;
            CCSharedRegistry::add(&Again::release, kTestStage);
        }
    };
    CCSharedRegistry::add(&Again::release, kTestStage);
    CCSharedRegistry::releaseAll(kTestStage);
    setDebugLogSink(nullptr);
    EXPECT_EQ(calls, 10000u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("keep coming back"), std::string::npos);
    CCSharedRegistry::remove(&Again::release);
}
