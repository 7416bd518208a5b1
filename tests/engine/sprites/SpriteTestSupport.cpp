#include "SpriteTestSupport.h"

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "engine/textures/CCTexturePixels.h"

#include <vector>

namespace spritetest {

using namespace kvengine;

void GLFixture::SetUp() {
    if (!gl.open(128, 128)) GTEST_SKIP() << "no OpenGL context";
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

void GLFixture::TearDown() {
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCTextureCache::purgeSharedTextureCache();
    for (CCTexture2D* texture : m_textures)
        texture->release();
    m_textures.clear();
    CCDirector::destroyInstance();
    gl.close();
}

CCTexture2D* GLFixture::makeTexture(uint32_t pixelsWide, uint32_t pixelsHigh, float contentWide,
                                    float contentHigh, ccColor4B colour) {
    std::vector<uint8_t> texels;
    texels.reserve(static_cast<size_t>(pixelsWide) * pixelsHigh * 4);
    for (uint32_t i = 0; i < pixelsWide * pixelsHigh; ++i)
        texels.insert(texels.end(), {colour.r, colour.g, colour.b, colour.a});
    auto* texture = new CCTexture2D();
    EXPECT_TRUE(texture->initWithData(texels.data(), kCCPixelFormatRGBA8888, pixelsWide, pixelsHigh,
                                      CCSize(contentWide, contentHigh)));
    m_textures.push_back(texture);
    return texture;
}

void GLFixture::clear() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace spritetest
