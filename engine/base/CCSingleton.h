#pragma once

#include "engine/base/CCObject.h"
#include "engine/base/CCSharedRegistry.h"

namespace kvengine {

/// The one way a shared object is made, found and released.
///
///     class CCTextureCache : public CCSingleton<CCTextureCache, CCObject, kReleasedWithDirectorPurge> {...};
///     CCTextureCache::getInstance()->addImage("a.png");   // made on first use
///     CCTextureCache::purgeInstance();                    // or left to the stage that releases it
///
/// getInstance() makes the object on first use (T::makeSharedInstance(), `new T()` unless T hides it
/// with its own) and registers it with CCSharedRegistry for the stages `Stages`; existingInstance()
/// never makes it; purgeInstance() releases it and forgets it, and the next getInstance() makes a
/// new one. Releasing the shared object directly (release() down to zero) forgets it as well.
///
/// Customisation, by hiding the static member in T: makeSharedInstance() (how it is made),
/// purgeInstance() (what happens before the release; call CCSingleton::purgeInstance() at its end),
/// and `static constexpr bool kReleasedAtShutdown = false` for an object that no stage releases.
/// A T that overrides cleanupBeforeDelete() calls the base's at its end.
///
/// Ownership: the shared pointer holds the object's first reference; nobody else releases it.
template <class T, class Base = CCObject, unsigned Stages = kReleasedWithApplication>
class CCSingleton : public Base {
public:
    /// The shared object, made (and registered) on first use.
    static T* getInstance() {
        if (s_instance == nullptr) {
            T* made = T::makeSharedInstance();
            if (made == nullptr) return nullptr;
            // A constructor may have published itself already (see publishInstance).
            if (s_instance == nullptr) s_instance = made;
            if (s_instance == made) registerForRelease();
        }
        return existingInstance();
    }
    /// The shared object, or null; never makes it.
    static T* existingInstance() { return static_cast<T*>(s_instance); }
    /// Releases the shared object and forgets it; nothing when none exists.
    static void purgeInstance() {
        CCSingleton* instance = s_instance;
        if (instance == nullptr) return;
        // Forgotten first: releasing it may reach code that asks for it.
        s_instance = nullptr;
        CCSharedRegistry::remove(&T::purgeInstance);
        instance->release();
    }

    static constexpr bool kReleasedAtShutdown = true;

protected:
    CCSingleton() = default;
    ~CCSingleton() override { forget(); }

    static T* makeSharedInstance() { return new T(); }

    /// Makes this object the shared one when none exists yet, from its constructor, so that code
    /// run by the constructor finds it instead of making a second one.
    void publishInstance() {
        if (s_instance != nullptr) return;
        s_instance = this;
        registerForRelease();
    }

    void cleanupBeforeDelete() override {
        forget();
        Base::cleanupBeforeDelete();
    }

private:
    static void registerForRelease() {
        if constexpr (T::kReleasedAtShutdown) CCSharedRegistry::add(&T::purgeInstance, Stages);
    }
    void forget() {
        if (s_instance != this) return;
        s_instance = nullptr;
        CCSharedRegistry::remove(&T::purgeInstance);
    }

    inline static CCSingleton* s_instance = nullptr;
};

} // namespace kvengine
