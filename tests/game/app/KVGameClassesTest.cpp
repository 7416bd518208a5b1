#include <gtest/gtest.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/world/KVObjectFactory.h"

using kvengine::CCObject;

namespace {

class KVGameClassesTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        KVObjectFactory::registerGameClasses();
    }
    void TearDown() override { kvengine::CCAutoreleasePoolStack::getInstance().pop(); }
};

TEST_F(KVGameClassesTest, EveryTableRowCreatesItsOwnClassOwnedByTheCaller) {
    for (const char* name : {"KVCrab", "KVActorV", "KVKelvoPlayer", "KVKelvoAI", "KVPawnAI", "KVAOEAttack",
                             "KVDash", "KVAOEAttackV", "KVDashV"}) {
        CCObject* object = KVObjectFactory::create(name);
        ASSERT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->className(), name);
        EXPECT_EQ(object->retainCount(), 1u);
        EXPECT_FALSE(object->isManaged());
        object->release();
    }
    CCObject* crab = KVObjectFactory::create("KVCrab");
    ASSERT_NE(crab, nullptr);
    EXPECT_TRUE(crab->isKindOf("KVPawn"));
    EXPECT_TRUE(crab->isKindOf("KVActor"));
    EXPECT_TRUE(crab->isKindOf("KVPawnAI"));
    crab->release();
}

TEST_F(KVGameClassesTest, BaseClassesThatDataNeverNamesStayUnregistered) {
    for (const char* name : {"KVPawn", "KVActor", "KVObject", "KVKelvo", "KVPawnController"})
        EXPECT_FALSE(KVObjectFactory::isRegistered(name)) << name;
}

} // namespace
