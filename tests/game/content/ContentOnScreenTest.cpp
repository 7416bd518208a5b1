// The content as the engine draws it: the splash picture and frames of the creature sheets,
// loaded through the texture cache (PNG and CCZ-wrapped PVR) and drawn as quads of a texture
// atlas in a real GL context. The pictures are checked at a few places and kept as screenshots
// (build/screenshots) for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ContentTestSupport.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureAtlas.h"
#include "engine/textures/CCTextureCache.h"
#include "support/GLFixture.h"
#include "tools/content/Image.h"

using namespace kvcontenttest;

namespace {
kvengine::ccV3F_C4B_T2F_Quad quadFor(float x, float y, float w, float h, float u0, float v0, float u1,
                                     float v1) {
    kvengine::ccV3F_C4B_T2F_Quad q;
    const kvengine::ccColor4B white{255, 255, 255, 255};
    q.tl = {{x, y + h, 0}, white, {u0, v0}};
    q.bl = {{x, y, 0}, white, {u0, v1}};
    q.tr = {{x + w, y + h, 0}, white, {u1, v0}};
    q.br = {{x + w, y, 0}, white, {u1, v1}};
    return q;
}

// Parses "{{x,y},{w,h}}" into four numbers; false when it does not have that form.
bool parseRect(const std::string& text, float out[4]) {
    return std::sscanf(text.c_str(), "{{%f,%f},{%f,%f}}", &out[0], &out[1], &out[2], &out[3]) == 4;
}

void drawAtlas(kvengine::CCTexture2D* texture, const std::vector<kvengine::ccV3F_C4B_T2F_Quad>& quads) {
    kvengine::CCTextureAtlas* atlas = new kvengine::CCTextureAtlas();
    ASSERT_TRUE(atlas->initWithTexture(texture, static_cast<uint32_t>(quads.size())));
    for (size_t i = 0; i < quads.size(); ++i)
        atlas->updateQuad(quads[i], static_cast<uint32_t>(i));
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    if (texture->hasPremultipliedAlpha())
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    else
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    atlas->drawAllQuads();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    atlas->release();
}

// A window of the game's wide design size, and a strip for rows of small pictures.
class ContentOnScreen : public kvtest::GLFixture {
protected:
    ContentOnScreen() : GLFixture(960, 600) {}
    PoolScope pool;
};

class ContentOnAStrip : public kvtest::GLFixture {
protected:
    ContentOnAStrip() : GLFixture(480, 160) {}
    PoolScope pool;
};

void saveScreenshot(const kvtest::GLTestContext& gl, const std::string& name) {
    const std::vector<uint8_t> pixels = gl.readAll();
    kvcontent::Image image;
    image.width = gl.width();
    image.height = gl.height();
    image.rgba.resize(pixels.size());
    for (int y = 0; y < image.height; ++y) { // the back buffer's rows run from the bottom
        std::copy(pixels.begin() + static_cast<long>(y) * image.width * 4,
                  pixels.begin() + static_cast<long>(y + 1) * image.width * 4,
                  image.rgba.begin() + static_cast<long>(image.height - 1 - y) * image.width * 4);
    }
    for (size_t i = 3; i < image.rgba.size(); i += 4)
        image.rgba[i] = 255;
    std::filesystem::create_directories(KELVOS_SCREENSHOT_DIR);
    const kvcontent::Bytes png = kvcontent::encodePng(image);
    FILE* file = std::fopen((std::string(KELVOS_SCREENSHOT_DIR) + "/" + name).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(png.data(), 1, png.size(), file);
    std::fclose(file);
}
} // namespace

// A frame of a sheet, placed like a sprite: by its untrimmed centre, at `scale` times its size
// in points (texels / 2 at content scale 2), on a window measured in points.
struct SheetFrameQuad {
    kvengine::CCTexture2D* texture = nullptr;
    kvengine::ccV3F_C4B_T2F_Quad quad;
};

SheetFrameQuad frameQuad(const std::string& sheetName, const std::string& frameName, float cx, float cy,
                         float sx, float sy) {
    SheetFrameQuad out;
    Dict* sheet = loadPlist(sheetName + ".plist");
    Dict* frame = dictAt(dictAt(sheet, "frames"), frameName);
    float rect[4], offset[2] = {0, 0};
    if (!frame || !parseRect(textAt(frame, "frame"), rect)) return out;
    std::sscanf(textAt(frame, "offset").c_str(), "{%f,%f}", &offset[0], &offset[1]);
    out.texture = kvengine::CCTextureCache::getInstance()->addImage(
        resourcePath(textAt(dictAt(sheet, "metadata"), "textureFileName")).c_str());
    if (!out.texture) return out;
    const float tw = static_cast<float>(out.texture->getPixelsWide()),
                th = static_cast<float>(out.texture->getPixelsHigh());
    const float w = rect[2] / 2 * sx, h = rect[3] / 2 * sy;
    out.quad = quadFor(cx + offset[0] / 2 * sx - w / 2, cy + offset[1] / 2 * sy - h / 2, w, h, rect[0] / tw,
                       rect[1] / th, (rect[0] + rect[2]) / tw, (rect[1] + rect[3]) / th);
    return out;
}

TEST_F(ContentOnScreen, MainMenuPiecesFitTheWideWindow) {
    glClearColor(1, 0, 1, 1); // magenta shows any gap the background leaves
    glClear(GL_COLOR_BUFFER_BIT);
    // The main menu's layout on the 960 x 600 window: background scaled 1.9 x 2.1 at the
    // centre, logo hanging from three quarters of the height, Play at the bottom right, the
    // round buttons at the left.
    const std::vector<SheetFrameQuad> pieces = {
        frameQuad("bgr_main_anim_A_ss", "bgr_main_anim_00.png", 480, 300, 1.9f, 2.1f),
        frameQuad("menu_88_ss", "KV_Logo.png", 480, 450 - 75, 1, 1),
        frameQuad("menu_88_ss", "KV_Bt_PlayUp.png", 780 + 85, 3 + 55.5f, 1, 1),
        frameQuad("menu_88_ss", "KV_Bt_ReglageUp.png", 51, 113, 1, 1),
        frameQuad("menu_88_ss", "KV_Bt_CreditUp.png", 51, 54, 1, 1),
        frameQuad("menu_88_ss", "KV_BT_Quit2_UP_PC.png", 51, 600 - 41 + 16, 1, 1),
    };
    for (const SheetFrameQuad& piece : pieces) {
        ASSERT_NE(piece.texture, nullptr);
        drawAtlas(piece.texture, {piece.quad});
    }
    // The Play label, rendered from the game font by the engine's text renderer.
    kvengine::CCTexture2D* label = new kvengine::CCTexture2D();
    ASSERT_TRUE(label->initWithString("Play", "fonts/Kelvos-Kelvos.ttf", 29));
    const kvengine::CCSize size = label->getContentSizeInPixels();
    drawAtlas(label, {quadFor(865 - size.width / 2, 58.5f - size.height / 2, size.width, size.height, 0, 0,
                              label->getMaxS(), label->getMaxT())});
    label->release();
    // The background reaches every edge of the wide window.
    for (const auto& corner :
         std::vector<std::pair<int, int>>{{0, 0}, {959, 0}, {0, 599}, {959, 599}, {480, 599}}) {
        const kvtest::RGBA p = gl.pixel(corner.first, corner.second);
        EXPECT_FALSE(p.r > 200 && p.g < 60 && p.b > 200) << corner.first << "," << corner.second;
    }
    saveScreenshot(gl, "main-menu.png");
    kvengine::CCTextureCache::purgeSharedTextureCache();
}

TEST_F(ContentOnScreen, SplashPictureFillsTheWideWindow) {
    kvengine::CCTexture2D* splash =
        kvengine::CCTextureCache::getInstance()->addImage(resourcePath("splash.png").c_str());
    ASSERT_NE(splash, nullptr);
    const float maxS = splash->getMaxS(), maxT = splash->getMaxT();
    drawAtlas(splash, {quadFor(0, 0, 960, 600, 0, 0, maxS, maxT)});
    // Sea at the top, sand at the bottom, the golden title in the middle.
    const kvtest::RGBA sea = gl.pixel(480, 590), sand = gl.pixel(480, 10), title = gl.pixel(245, 450);
    EXPECT_GT(sea.b, sea.r);
    EXPECT_GT(sand.r, sand.b);
    EXPECT_GT(title.r, 200);
    EXPECT_GT(title.g, 120);
    saveScreenshot(gl, "splash.png");
    kvengine::CCTextureCache::purgeSharedTextureCache();
}

TEST_F(ContentOnScreen, CreatureFramesDrawFromTheirSheets) {
    glClearColor(0.08f, 0.47f, 0.66f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    struct Row {
        const char* sheet;
        std::vector<const char*> frames;
    };
    const std::vector<Row> rows = {
        {"steev_ss",
         {"steev_idle_01.png", "steev_stretch_08.png", "steev_launched_02.png", "steev_victory_03.png",
          "steev_ko_06.png"}},
        {"vahine_ss",
         {"vahine_idle_01.png", "vahine_hit_healed_02.png", "vahine_wait_07.png", "vahine_hit_01.png",
          "vahine_victory_05.png"}},
        {"crab_ss",
         {"crab_idle_01.png", "crab_throw_02.png", "crab_hit_01.png", "crab_victory_03.png",
          "crab_ko_06.png"}},
    };
    std::vector<std::pair<float, float>> centres;
    for (size_t r = 0; r < rows.size(); ++r) {
        Dict* sheet = loadPlist(std::string(rows[r].sheet) + ".plist");
        ASSERT_NE(sheet, nullptr) << rows[r].sheet;
        const std::string texturePath = resourcePath(textAt(dictAt(sheet, "metadata"), "textureFileName"));
        kvengine::CCTexture2D* texture =
            kvengine::CCTextureCache::getInstance()->addImage(texturePath.c_str());
        ASSERT_NE(texture, nullptr) << texturePath;
        EXPECT_TRUE(texture->hasPremultipliedAlpha());
        const float tw = static_cast<float>(texture->getPixelsWide()),
                    th = static_cast<float>(texture->getPixelsHigh());
        std::vector<kvengine::ccV3F_C4B_T2F_Quad> quads;
        for (size_t c = 0; c < rows[r].frames.size(); ++c) {
            Dict* frame = dictAt(dictAt(sheet, "frames"), rows[r].frames[c]);
            float rect[4];
            ASSERT_TRUE(parseRect(textAt(frame, "frame"), rect)) << rows[r].frames[c];
            float offset[2] = {0, 0};
            std::sscanf(textAt(frame, "offset").c_str(), "{%f,%f}", &offset[0], &offset[1]);
            // Frames are placed by their untrimmed centre, as sprites place them.
            const float cx = 110.0f + 185.0f * c, cy = 500.0f - 190.0f * r;
            centres.emplace_back(cx, cy);
            quads.push_back(quadFor(cx + offset[0] - rect[2] / 2, cy + offset[1] - rect[3] / 2, rect[2],
                                    rect[3], rect[0] / tw, rect[1] / th, (rect[0] + rect[2]) / tw,
                                    (rect[1] + rect[3]) / th));
        }
        drawAtlas(texture, quads);
    }
    // Every creature covers the middle of its place with its own colours, not the water.
    for (const auto& centre : centres) {
        const kvtest::RGBA p = gl.pixel(static_cast<int>(centre.first), static_cast<int>(centre.second) - 20);
        EXPECT_FALSE(p.r < 40 && p.g > 100 && p.b > 150) << centre.first << "," << centre.second;
    }
    saveScreenshot(gl, "creature-frames.png");
    kvengine::CCTextureCache::purgeSharedTextureCache();
}

TEST_F(ContentOnAStrip, KelvosWearTheirHelmets) {
    glClearColor(0.08f, 0.47f, 0.66f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // As the creature view draws them: the helmet takes the body's position, at scale 0.85.
    const std::vector<std::pair<const char*, const char*>> pairs = {{"steev", "straw_hat"},
                                                                    {"vahine", "pearl_tiara"},
                                                                    {"kiwa", "snorkel"},
                                                                    {"clint", "pirate_hat"},
                                                                    {"sammo", "coral_crown"}};
    for (size_t i = 0; i < pairs.size(); ++i) {
        const float cx = 48.0f + 96.0f * i, cy = 70.0f;
        const std::string kelvo = pairs[i].first, helmet = pairs[i].second;
        const SheetFrameQuad body = frameQuad(kelvo + "_ss", kelvo + "_victory_03.png", cx, cy, 1, 1);
        const SheetFrameQuad hat =
            frameQuad(helmet + "_ss", helmet + "_victory_03.png", cx, cy, 0.85f, 0.85f);
        ASSERT_NE(body.texture, nullptr) << kelvo;
        ASSERT_NE(hat.texture, nullptr) << helmet;
        drawAtlas(body.texture, {body.quad});
        drawAtlas(hat.texture, {hat.quad});
        // Above the body's middle, where the head is, the helmet or the creature shows: not water.
        const kvtest::RGBA p = gl.pixel(static_cast<int>(cx), static_cast<int>(cy) + 30);
        EXPECT_FALSE(p.r < 40 && p.g > 100 && p.b > 150) << helmet;
    }
    saveScreenshot(gl, "helmets.png");
    kvengine::CCTextureCache::purgeSharedTextureCache();
}
