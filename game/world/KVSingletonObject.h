#pragma once

#include "engine/base/CCSingleton.h"
#include "game/world/KVObject.h"

/// The base of the game's shared services: made on first use, released at the application's
/// shutdown, newest first (AppDelegate::releaseSharedObjects), with no list to keep anywhere.
///
///     class KVRuleManager : public KVSingletonObject<KVRuleManager> { ... };   // nothing else to write
///     KVRuleManager::getInstance()->update(dt);        // made on first use
///     if (auto* rules = KVRuleManager::existingInstance()) rules->clear();   // never makes it
///
/// What the template gives (see kvengine::CCSingleton): getInstance(), existingInstance(),
/// ensureInstance(), purgeInstance(). The constructor publishes the object at once, so code run by
/// the constructor that asks for the service finds it instead of making a second one, and an object
/// made with `new` is the shared one when none exists. A service made while another is built
/// outlives it at shutdown. Override cleanupBeforeDelete() to drop what the service holds and call
/// KVSingletonObject::cleanupBeforeDelete() at its end. A service that must outlive the shutdown
/// declares `static constexpr bool kReleasedAtShutdown = false;`.
template <class T>
class KVSingletonObject : public kvengine::CCSingleton<T, KVObject, kvengine::kReleasedWithApplication> {
public:
    CC_DECLARE_CLASS_NAME(KVSingletonObject, KVObject)

    /// Makes the shared object when it does not exist yet.
    static void ensureInstance() { KVSingletonObject::getInstance(); }

    bool isPersistent() override { return true; }

protected:
    KVSingletonObject() { this->publishInstance(); }
};
