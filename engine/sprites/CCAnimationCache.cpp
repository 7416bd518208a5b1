#include "engine/sprites/CCAnimationCache.h"

#include "engine/director/CCDirector.h"
#include "engine/sprites/CCAnimation.h"

namespace kvengine {

namespace {
CCAnimationCache* g_sharedCache = nullptr;
}

CCAnimationCache* CCAnimationCache::getInstance() {
    if (!g_sharedCache) {
        g_sharedCache = new CCAnimationCache();
        CCDirector::setSharedCachePurge(CCDirector::kAnimationCache,
                                        &CCAnimationCache::purgeSharedAnimationCache);
    }
    return g_sharedCache;
}

void CCAnimationCache::purgeSharedAnimationCache() {
    CCAnimationCache* cache = g_sharedCache;
    g_sharedCache = nullptr;
    if (cache) cache->release();
}

CCAnimationCache::CCAnimationCache() : m_animations(new CCMutableDictionary<std::string, CCAnimation*>()) {}

CCAnimationCache::~CCAnimationCache() {
    m_animations->release();
}

} // namespace kvengine
