#include <gtest/gtest.h>

#include "WorldTestSupport.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/pawns/KVCrab.h"
#include "game/world/KVActorV.h"
#include "game/world/KVObjectFactory.h"

using kvengine::CCObject;
using worldtest::LogCapture;

namespace {

class KVObjectFactoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        KVObjectFactory::registerCreator("KVCrab", &KVObjectFactory::creatorOf<KVCrab>);
    }
    void TearDown() override { kvengine::CCAutoreleasePoolStack::getInstance().pop(); }
};

TEST_F(KVObjectFactoryTest, UnknownNamesGiveNullAndALogLine) {
    for (const char* name :
         {"", "kvcrab", "KVCRAB", "KVCrab ", "KVPawn", "KVDebugPrimitiveV", "KVNoSuchThing"}) {
        LogCapture log;
        EXPECT_EQ(KVObjectFactory::create(name), nullptr) << name;
        EXPECT_EQ(log.lines.size(), 1u) << name;
        EXPECT_FALSE(KVObjectFactory::isRegistered(name));
    }
    LogCapture log;
    KVObjectFactory::registerCreator(nullptr, &KVObjectFactory::creatorOf<KVCrab>);
    KVObjectFactory::registerCreator("KVTestNull", nullptr);
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_FALSE(KVObjectFactory::isRegistered("KVTestNull"));
}

TEST_F(KVObjectFactoryTest, RegisteringANameAgainReplacesItsCreator) {
    KVObjectFactory::registerCreator("KVTestThing", &KVObjectFactory::creatorOf<KVCrab>);
    CCObject* first = KVObjectFactory::create("KVTestThing");
    EXPECT_STREQ(first->className(), "KVCrab");
    KVObjectFactory::registerCreator("KVTestThing", &KVObjectFactory::creatorOf<KVActorV>);
    CCObject* second = KVObjectFactory::create("KVTestThing");
    EXPECT_STREQ(second->className(), "KVActorV");
    first->release();
    second->release();
}

} // namespace
