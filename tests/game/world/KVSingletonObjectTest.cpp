#include <gtest/gtest.h>

#include "engine/base/CCSharedRegistry.h"
#include "game/world/KVSingletonObject.h"

namespace {

// A service whose construction runs code that asks for the service itself (as the game parameters
// do through the store catalogue).
class KVSelfAskingService : public KVSingletonObject<KVSelfAskingService> {
public:
    CC_DECLARE_CLASS_NAME(KVSelfAskingService, KVSingletonObject)
    KVSelfAskingService() { seenWhileBuilding = getInstance(); }
    KVSelfAskingService* seenWhileBuilding = nullptr;
};

class KVPlainService : public KVSingletonObject<KVPlainService> {
public:
    CC_DECLARE_CLASS_NAME(KVPlainService, KVSingletonObject)
};

} // namespace

TEST(KVSingletonObjectTest, CodeRunByTheConstructorFindsTheServiceBeingBuilt) {
    KVSelfAskingService* service = KVSelfAskingService::getInstance();
    EXPECT_EQ(service->seenWhileBuilding, service) << "no second service is made";
    EXPECT_EQ(service->retainCount(), 1u);
    EXPECT_TRUE(service->isPersistent());
    EXPECT_TRUE(service->isKindOf("KVSingletonObject"));
    EXPECT_TRUE(service->isKindOf("KVObject"));
    EXPECT_TRUE(kvengine::CCSharedRegistry::contains(&KVSelfAskingService::purgeInstance));
    KVSelfAskingService::purgeInstance();
    EXPECT_EQ(KVSelfAskingService::existingInstance(), nullptr);
}

TEST(KVSingletonObjectTest, AServiceMadeWithNewIsTheSharedOneOnlyWhenNoneExists) {
    auto* first = new KVPlainService();
    EXPECT_EQ(KVPlainService::existingInstance(), first);
    EXPECT_EQ(KVPlainService::getInstance(), first);
    auto* second = new KVPlainService();
    EXPECT_EQ(KVPlainService::existingInstance(), first) << "a second one does not take the place";
    second->release();
    EXPECT_EQ(KVPlainService::existingInstance(), first);

    // Registered for the application's shutdown like one made by getInstance.
    kvengine::CCSharedRegistry::releaseAll(kvengine::kReleasedWithApplication);
    EXPECT_EQ(KVPlainService::existingInstance(), nullptr);
    KVPlainService::ensureInstance();
    EXPECT_NE(KVPlainService::existingInstance(), nullptr);
    KVPlainService::purgeInstance();
}
