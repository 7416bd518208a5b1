#include "engine/textures/CCTexturePVR.h"

#include "engine/files/CCFileUtils.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"

#include "TextureFixtures.h"
#include "support/GLFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kvengine;
using fixtures::Bytes;

namespace {

// Bytes of a complete mipmap chain of a w x h texture, each level laid out at least 2 x 2.
size_t chainBytes(uint32_t w, uint32_t h, uint32_t bpp) {
    size_t total = 0;
    while (true) {
        total += size_t(std::max(w, 2u)) * std::max(h, 2u) * bpp / 8;
        if (w == 1 && h == 1) break;
        w = std::max(w >> 1, 1u);
        h = std::max(h >> 1, 1u);
    }
    return total;
}

class CCTexturePVRUnpack : public testing::Test {
protected:
    void SetUp() override { CCTexture2D::setMaxTextureSizeOverride(2048); }
    void TearDown() override { CCTexture2D::setMaxTextureSizeOverride(0); }
};

TEST_F(CCTexturePVRUnpack, CutsLevelsByTheDataTheFileHolds) {
    // The real texels of a 256 x 128 RGBA4444 chain, down to 1 x 1.
    size_t exact = 0;
    for (uint32_t w = 256, h = 128;; w = std::max(w >> 1, 1u), h = std::max(h >> 1, 1u)) {
        exact += size_t(w) * h * 2;
        if (w == 1 && h == 1) break;
    }
    struct Case {
        const char* name;
        uint32_t width, height, type;
        size_t dataBytes;
        int64_t headerLength; // -1: the data size
        int levels;
        size_t lastLength;
    } const cases[] = {
        // The 2 x 1 level is counted as 2 x 2 and takes the 6 bytes left: 8 levels, not 9.
        {"complete chain", 256, 128, 0x10, exact, -1, 8, 6},
        {"level 0 only", 64, 32, 0x12, 64 * 32 * 4, -1, 1, 64 * 32 * 4},
        {"2 x 1 RGBA8888 counted as 2 x 2", 2, 1, 0x12, 12, -1, 1, 12},
        {"2 x 1 RGBA8888 with a full 2 x 2 block", 2, 1, 0x12, 32, -1, 2, 16},
        {"header longer than the file", 8, 8, 0x13, 8 * 8 * 2 + 10, 100000, 1, 8 * 8 * 2},
        {"header shorter than the file", 8, 8, 0x13, 8 * 8 * 2 + 4 * 4 * 2, 8 * 8 * 2, 1, 8 * 8 * 2},
        {"short second level is dropped", 8, 8, 0x1B, 64 + 10, -1, 1, 64},
        {"never more than 16 levels", 1, 1, 0x12, 40 * 16, -1, 16, 16},
        {"A8", 4, 4, 0x1B, chainBytes(4, 4, 8), -1, 3, 4},
        {"I8", 4, 2, 0x16, 8, -1, 1, 8},
        {"AI88", 2, 2, 0x17, 8, -1, 1, 8},
        {"RGBA5551", 2, 2, 0x11, 8, -1, 1, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file =
            fixtures::makePvr(c.width, c.height, c.type, 0xF, Bytes(c.dataBytes, 0x5A), c.headerLength);
        CCTexturePVR* pvr = new CCTexturePVR();
        ASSERT_TRUE(pvr->unpackPVRData(file.data(), file.size()));
        EXPECT_EQ(pvr->getWidth(), c.width);
        EXPECT_EQ(pvr->getHeight(), c.height);
        EXPECT_TRUE(pvr->hasAlpha());
        ASSERT_EQ(pvr->getLevelCount(), c.levels);
        EXPECT_EQ(pvr->getLevel(0).data, file.data() + 52);
        EXPECT_EQ(pvr->getLevel(c.levels - 1).length, c.lastLength);
        const uint8_t* end = pvr->getLevel(c.levels - 1).data + pvr->getLevel(c.levels - 1).length;
        EXPECT_LE(end, file.data() + file.size());
        pvr->release();
    }
}

TEST_F(CCTexturePVRUnpack, ReportsTheEnginePixelFormatOfEachType) {
    const std::pair<uint32_t, int> types[] = {
        {0x10, kCCPixelFormatRGBA4444}, {0x11, kCCPixelFormatRGB5A1}, {0x12, kCCPixelFormatRGBA8888},
        {0x13, kCCPixelFormatRGB565},   {0x1B, kCCPixelFormatA8},     {0x16, kCCPixelFormatI8},
        {0x17, kCCPixelFormatAI88},
    };
    for (auto [type, format] : types) {
        // The flags' upper bytes are ignored.
        const Bytes file = fixtures::makePvr(4, 4, type | 0x8000, 0, Bytes(4 * 4 * 4, 0));
        CCTexturePVR pvr;
        ASSERT_TRUE(pvr.unpackPVRData(file.data(), file.size())) << type;
        EXPECT_EQ(pvr.getFormat(), format);
        EXPECT_FALSE(pvr.hasAlpha());
    }
}

TEST_F(CCTexturePVRUnpack, RefusesBadFilesWithALogLine) {
    fixtures::LogCapture log;
    Bytes badTag = fixtures::makePvr(4, 4, 0x12, 0, Bytes(64, 0));
    Bytes headerOnly = fixtures::makePvr(4, 4, 0x12, 0, {});
    headerOnly.pop_back();
    badTag[47] = '?';
    struct Case {
        const char* name;
        Bytes file;
    } const cases[] = {
        {"51 bytes", headerOnly},
        {"wrong tag", badTag},
        {"100 x 64", fixtures::makePvr(100, 64, 0x12, 0, Bytes(100 * 64 * 4, 0))},
        {"zero width", fixtures::makePvr(0, 4, 0x12, 0, Bytes(64, 0))},
        {"above the maximum size", fixtures::makePvr(4096, 1, 0x1B, 0, Bytes(4096, 0))},
        {"PVRTC 4 bits", fixtures::makePvr(8, 8, 0x19, 0, Bytes(32, 0))},
        {"PVRTC 2 bits", fixtures::makePvr(8, 8, 0x18, 0, Bytes(32, 0))},
        {"BGRA8888", fixtures::makePvr(4, 4, 0x1A, 0, Bytes(64, 0))},
        {"no data", fixtures::makePvr(4, 4, 0x12, 0, {})},
        {"level 0 cut short", fixtures::makePvr(4, 4, 0x12, 0, Bytes(63, 0))},
        {"header says no data", fixtures::makePvr(4, 4, 0x12, 0, Bytes(64, 0), 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCTexturePVR pvr;
        EXPECT_FALSE(pvr.unpackPVRData(c.file.data(), c.file.size()));
        EXPECT_EQ(log.takeCount(), 1u);
    }
    CCTexturePVR pvr;
    EXPECT_FALSE(pvr.unpackPVRData(nullptr, 100));
}

class CCTexturePVRLoad : public kvtest::GLFixture {
protected:
    CCTexturePVRLoad() : GLFixture(16, 16) {}
    void setUpWithGL() override { dir = fixtures::makeTempDir("pvr"); }
    void tearDownWithGL() override {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
    std::string write(const std::string& name, Bytes bytes, bool scramble = false) {
        if (scramble) scrambleDataBuffer(bytes.data(), unsigned(bytes.size()));
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(fixtures::writeFile(path, bytes));
        return path;
    }

    std::string dir;
};

TEST_F(CCTexturePVRLoad, PlainCczAndGzipFilesBecomeTextures) {
    // 4 x 2 RGBA4444 with its chain: 4 x 2, 2 x 1 (counted 2 x 2), 1 x 1 (counted 2 x 2).
    Bytes data;
    for (int i = 0; i < 8; ++i)
        data.insert(data.end(), {uint8_t(i), 0xF0}); // texel 0xF0ii
    data.insert(data.end(), 16, 0x11);
    const Bytes pvr = fixtures::makePvr(4, 2, 0x10, 0xF, data);
    const std::string paths[] = {
        write("plain.pvr", pvr),
        write("packed.PVR.CCZ", fixtures::makeCcz(pvr), true),
        write("zipped.pvr.gz", fixtures::makeGzip(pvr)),
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        CCTexture2D* texture = new CCTexture2D();
        ASSERT_TRUE(texture->initWithPVRFile(path.c_str()));
        EXPECT_NE(texture->getName(), 0u);
        EXPECT_EQ(texture->getPixelFormat(), kCCPixelFormatRGBA4444);
        EXPECT_EQ(texture->getPixelsWide(), 4u);
        EXPECT_EQ(texture->getPixelsHigh(), 2u);
        EXPECT_FLOAT_EQ(texture->getContentSizeInPixels().width, 4);
        EXPECT_FLOAT_EQ(texture->getMaxS(), 1);
        EXPECT_FLOAT_EQ(texture->getMaxT(), 1);
        EXPECT_TRUE(texture->hasPremultipliedAlpha());
        uint16_t texels[8] = {};
        glBindTexture(GL_TEXTURE_2D, texture->getName());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, texels);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(texels[i], 0xF000 + i);
        GLint levelWidth = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &levelWidth);
        EXPECT_EQ(levelWidth, 1); // the 1 x 1 level was uploaded too
        texture->release();
    }
}

TEST_F(CCTexturePVRLoad, FailedLoadsLeaveTheTextureEmptyAndOwnedByTheCaller) {
    fixtures::LogCapture log;
    const std::string paths[] = {
        dir + "/missing.pvr",
        write("pvrtc.pvr", fixtures::makePvr(8, 8, 0x19, 0, Bytes(32, 0))),
        write("short.pvr", Bytes(30, 0)),
        write("broken.pvr.ccz", Bytes(40, 1), true),
        write("broken.pvr.gz", Bytes(40, 1)),
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        CCTexture2D* texture = new CCTexture2D();
        EXPECT_FALSE(texture->initWithPVRFile(path.c_str()));
        EXPECT_EQ(texture->getName(), 0u);
        EXPECT_EQ(texture->retainCount(), 1u);
        EXPECT_GE(log.takeCount(), 1u);
        texture->release();
    }
}

TEST_F(CCTexturePVRLoad, ALoaderDeletesItsTextureUnlessItHandsItOver) {
    const std::string path = write("a.pvr", fixtures::makePvr(2, 2, 0x12, 0xFF, Bytes(16, 0xFF)));
    CCTexturePVR* kept = new CCTexturePVR();
    ASSERT_TRUE(kept->initWithContentsOfFile(path.c_str()));
    const GLuint keptName = kept->getName();
    kept->setRetainName(true);
    kept->release();
    EXPECT_TRUE(glIsTexture(keptName));
    glDeleteTextures(1, &keptName);

    CCTexturePVR* dropped = new CCTexturePVR();
    ASSERT_TRUE(dropped->initWithContentsOfFile(path.c_str()));
    const GLuint droppedName = dropped->getName();
    EXPECT_EQ(dropped->getLevelCount(), 0); // levels pointed into the file, which is gone
    dropped->release();
    EXPECT_FALSE(glIsTexture(droppedName));
}

} // namespace
