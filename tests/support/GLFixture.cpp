#include "GLFixture.h"

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/labels/CCLabelBMFont.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureCache.h"

#include <vector>

namespace kvtest {

using namespace kvengine;

void GLFixture::SetUp() {
    if (!gl.open(m_width, m_height)) KVTEST_REQUIRED_MISSING("no OpenGL context");
    setUpWithGL();
}

void GLFixture::TearDown() {
    if (!gl.isOpen()) return;
    tearDownWithGL();
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    CCLabelBMFont::purgeCachedData();
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCTextureCache::purgeSharedTextureCache();
    for (CCTexture2D* texture : m_textures)
        texture->release();
    m_textures.clear();
    CCDirector::destroyInstance();
    gl.close();
}

void GLFixture::useFrameDrawingState() {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
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

void GLFixture::countPixels(const RGBA& colour, int x0, int y0, int x1, int y1, int* inside,
                            int* outside) const {
    const std::vector<uint8_t> all = gl.readAll();
    *inside = *outside = 0;
    for (int y = 0; y < gl.height(); ++y)
        for (int x = 0; x < gl.width(); ++x) {
            const uint8_t* p = &all[(static_cast<size_t>(y) * gl.width() + x) * 4];
            if (p[0] != colour.r || p[1] != colour.g || p[2] != colour.b) continue;
            const bool in = x >= x0 && x <= x1 && y >= y0 && y <= y1;
            ++(in ? *inside : *outside);
        }
}

} // namespace kvtest
