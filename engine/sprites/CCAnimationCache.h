#pragma once
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"

#include <string>

namespace kvengine {

class CCAnimation;

/// A shared dictionary of animations by name, kept for the director's shutdown purge. Ownership: the cache
/// retains its animations; one shared cache (getInstance), made on first use, purged with the director.
class CCAnimationCache : public CCSingleton<CCAnimationCache, CCObject, kReleasedWithDirectorPurge> {
public:
    CC_DECLARE_CLASS_NAME(CCAnimationCache, CCObject)

    /// Releases the shared cache and clears the pointer.
    static void purgeSharedAnimationCache() { purgeInstance(); }

    CCAnimationCache();
    ~CCAnimationCache() override;

private:
    CCMutableDictionary<std::string, CCAnimation*>* m_animations;
};

} // namespace kvengine
