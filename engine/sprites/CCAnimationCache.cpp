#include "engine/sprites/CCAnimationCache.h"

#include "engine/sprites/CCAnimation.h"

namespace kvengine {

CCAnimationCache::CCAnimationCache() : m_animations(new CCMutableDictionary<std::string, CCAnimation*>()) {}

CCAnimationCache::~CCAnimationCache() {
    m_animations->release();
}

} // namespace kvengine
