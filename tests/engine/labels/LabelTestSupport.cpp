#include "LabelTestSupport.h"

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/labels/CCLabelBMFont.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTextureCache.h"

namespace labeltest {

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
    CCLabelBMFont::purgeCachedData();
    CCTextureCache::purgeSharedTextureCache();
    CCDirector::destroyInstance();
    gl.close();
}

void GLFixture::clear() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void GLFixture::countPixels(const kvtest::RGBA& colour, int x0, int y0, int x1, int y1, int* inside,
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

std::string writeFont(const std::string& folder, const std::string& name, const std::string& fnt) {
    kvtest::writeSolidPng(folder + "/" + name + ".png", 64, 64, 255, 255, 255);
    const std::string path = folder + "/" + name + ".fnt";
    kvtest::writeTextFile(path, fnt);
    return path;
}

} // namespace labeltest
