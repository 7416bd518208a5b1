#include <gtest/gtest.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/pawns/KVCrab.h"
#include "game/pawns/KVPawnManager.h"
#include "game/powerups/KVConsumableManager.h"

namespace {

class VoicedPawn : public KVPawn {
public:
    void speak(kvengine::CCString* voice) { setVoice(voice); }
};

TEST(KVPawnTest, TheVoiceIsHeldOnceAndCrabsAreEnemyPawns) {
    auto* pawn = new VoicedPawn();
    auto* voice = new kvengine::CCString("Female");
    pawn->speak(voice);
    pawn->speak(voice); // the same voice again must not free it nor hold it twice
    EXPECT_EQ(voice->retainCount(), 2u);
    pawn->release();
    EXPECT_EQ(voice->retainCount(), 1u);
    voice->release();

    auto* crab = new KVCrab();
    EXPECT_TRUE(crab->isKindOf("KVPawn"));
    EXPECT_TRUE(crab->isEnemy());
    crab->release();
}

TEST(KVPawnTest, SharedManagersAreMadeOnceAndForgottenWhenReleased) {
    EXPECT_EQ(KVPawnManager::existingInstance(), nullptr);
    KVPawnManager* pawns = KVPawnManager::getInstance();
    EXPECT_EQ(KVPawnManager::getInstance(), pawns);
    EXPECT_TRUE(pawns->isPersistent());
    pawns->release();
    EXPECT_EQ(KVPawnManager::existingInstance(), nullptr);

    EXPECT_EQ(KVConsumableManager::existingInstance(), nullptr);
    KVConsumableManager::ensureInstance();
    KVConsumableManager* consumables = KVConsumableManager::existingInstance();
    ASSERT_NE(consumables, nullptr);
    KVConsumableManager::ensureInstance();
    EXPECT_EQ(KVConsumableManager::getInstance(), consumables);
    consumables->release();
    EXPECT_EQ(KVConsumableManager::existingInstance(), nullptr);
}

} // namespace
