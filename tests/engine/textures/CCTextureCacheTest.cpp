#include "engine/textures/CCTextureCache.h"

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/files/CCFileUtils.h"
#include "engine/textures/CCTexture2D.h"

#include "TextureFixtures.h"
#include "support/GLFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kvengine;
using fixtures::Bytes;

namespace {

class CCTextureCacheTest : public kvtest::GLFixture {
protected:
    CCTextureCacheTest() : GLFixture(16, 16) {}
    void setUpWithGL() override {
        // A folder below the resource root, so that files can be named relative to it.
        std::string pattern = resourceRootPath() + "kelvos-texture-cache-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        relativeDir = dir.substr(resourceRootPath().size());
        cache = new CCTextureCache();
    }
    void tearDownWithGL() override {
        if (cache != nullptr) cache->release();
        drain();
        CCTexture2D::setMaxTextureSizeOverride(0);
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
    static void drain() { CCAutoreleasePoolStack::getInstance().pop(); }

    // Writes a file; names whose type the file layer unscrambles are stored scrambled.
    std::string write(const std::string& name, Bytes bytes) {
        const std::string path = dir + "/" + name;
        if (isScrambledDataPath(path.c_str())) scrambleDataBuffer(bytes.data(), unsigned(bytes.size()));
        EXPECT_TRUE(fixtures::writeFile(path, bytes));
        return path;
    }
    static Bytes png(uint32_t w, uint32_t h) {
        return fixtures::makeRgbaPng(w, h, Bytes(size_t(w) * h * 4, 0x80));
    }
    static Bytes jpeg() { return fixtures::makeJpeg(8, 8, 3, Bytes(8 * 8 * 3, 200)); }

    std::string dir, relativeDir;
    CCTextureCache* cache = nullptr;
};

TEST_F(CCTextureCacheTest, ReturnsOneTexturePerFileAndLoadsItOnce) {
    const std::string full = write("hero.png", png(3, 5));
    CCTexture2D* first = cache->addImage((relativeDir + "/hero.png").c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getPixelsWide(), 4u);
    EXPECT_EQ(first->getPixelsHigh(), 8u);
    EXPECT_FLOAT_EQ(first->getContentSizeInPixels().width, 3);
    EXPECT_FLOAT_EQ(first->getContentSizeInPixels().height, 5);
    EXPECT_FLOAT_EQ(first->getMaxS(), 0.75f);
    EXPECT_FLOAT_EQ(first->getMaxT(), 0.625f);
    EXPECT_TRUE(first->hasPremultipliedAlpha());
    // The file is not read again: a damaged copy on disk does not matter to the cached texture.
    write("hero.png", Bytes(10, 0));
    EXPECT_EQ(cache->addImage(full.c_str()), first);
    EXPECT_EQ(cache->count(), 1u);
    // The cache holds the only lasting reference.
    drain();
    EXPECT_EQ(first->retainCount(), 1u);
}

TEST_F(CCTextureCacheTest, PicksTheDecoderByTheNameIgnoringCase) {
    const std::string files[] = {
        write("Tiles.JPEG", jpeg()),
        write("photo.jpg", jpeg()),
        write("x.PNG.jpg", jpeg()), // a JPEG by the plain substring test
        write("sheet.png", png(2, 2)),
        write("sheet.pvr.ccz", fixtures::makeCcz(fixtures::makePvr(4, 4, 0x12, 0xFF, Bytes(64, 7)))),
        write("sheet.pvr.gz", fixtures::makeGzip(fixtures::makePvr(2, 2, 0x13, 0, Bytes(8, 7)))),
        write("sheet.pvr", fixtures::makePvr(2, 2, 0x1B, 0xFF, Bytes(4, 7))),
    };
    const int formats[] = {kCCPixelFormatRGB888,   kCCPixelFormatRGB888,   kCCPixelFormatRGB888,
                           kCCPixelFormatRGBA8888, kCCPixelFormatRGBA8888, kCCPixelFormatRGB565,
                           kCCPixelFormatA8};
    for (size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(files[i]);
        CCTexture2D* texture = cache->addImage(files[i].c_str());
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->getPixelFormat(), formats[i]);
        EXPECT_EQ(texture->hasPremultipliedAlpha(), i >= 3); // PNG and PVR are, JPEG is not
    }
    EXPECT_EQ(cache->count(), std::size(files));
    EXPECT_EQ(cache->addPVRImage(files[4].c_str()), cache->addImage(files[4].c_str()));
}

TEST_F(CCTextureCacheTest, BadFilesGiveNullAndLeaveTheCacheUnchanged) {
    fixtures::LogCapture log;
    CCTexture2D::setMaxTextureSizeOverride(64);
    const std::string files[] = {
        dir + "/missing.png",
        write("empty.png", {}),
        write("garbage.png", Bytes(100, 'x')),
        write("garbage.jpg", Bytes(100, 'x')),
        write("too-wide.png", png(65, 1)),
        write("pvrtc.pvr", fixtures::makePvr(8, 8, 0x19, 0, Bytes(32, 0))),
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        EXPECT_EQ(cache->addImage(file.c_str()), nullptr);
        EXPECT_GE(log.takeCount(), 1u);
    }
    EXPECT_EQ(cache->count(), 0u);
    EXPECT_EQ(cache->addImage(nullptr), nullptr);
    EXPECT_EQ(cache->addPVRImage(nullptr), nullptr);
}

TEST_F(CCTextureCacheTest, RemovesByKeyByObjectOrAll) {
    const std::string a = write("a.png", png(1, 1));
    const std::string b = write("b.png", png(1, 1));
    CCTexture2D* textureA = cache->addImage(a.c_str());
    CCTexture2D* textureB = cache->addImage((relativeDir + "/b.png").c_str());
    ASSERT_NE(textureA, nullptr);
    ASSERT_NE(textureB, nullptr);
    textureA->retain(); // a sprite still showing it
    drain();

    cache->removeTextureForKey((relativeDir + "/a.png").c_str());
    EXPECT_EQ(cache->count(), 1u);
    EXPECT_EQ(textureA->retainCount(), 1u); // alive through the sprite
    CCTexture2D* reloaded = cache->addImage(a.c_str());
    EXPECT_NE(reloaded, textureA);

    cache->removeTexture(textureB);
    EXPECT_EQ(cache->count(), 1u);
    cache->removeTexture(nullptr);
    cache->removeTextureForKey(nullptr);
    cache->removeTexture(textureA); // not cached any more: nothing happens
    EXPECT_EQ(cache->count(), 1u);

    cache->removeAllTextures();
    EXPECT_EQ(cache->count(), 0u);
    EXPECT_NE(textureA->getName(), 0u);
    textureA->release();
}

TEST(CCTextureCacheShared, IsMadeOnFirstUseAndPurged) {
    CCTextureCache* shared = CCTextureCache::getInstance();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(CCTextureCache::getInstance(), shared);
    EXPECT_STREQ(shared->className(), "CCTextureCache");
    CCTextureCache::purgeSharedTextureCache();
    CCTextureCache::purgeSharedTextureCache(); // a second purge is harmless
    EXPECT_NE(CCTextureCache::getInstance(), nullptr);
    CCTextureCache::purgeSharedTextureCache();
}

} // namespace
