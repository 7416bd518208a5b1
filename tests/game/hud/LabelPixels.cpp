#include "LabelPixels.h"

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "engine/actions/CCActionManager.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCGL.h"

namespace labelpixels {

using namespace kvengine;

namespace {
// Before the first test: the built resource folder (its fonts) becomes the resource root.
class ResourceRoot : public ::testing::Environment {
public:
    void SetUp() override {
        setResourceRootPath(KELVOS_RESOURCES_DIR);
        if (chdir(KELVOS_RESOURCES_DIR) != 0) {
            // The labels then fall back to the default face; the checks still hold.
        }
    }
};
::testing::Environment* const g_root = ::testing::AddGlobalTestEnvironment(new ResourceRoot);
} // namespace

int Mask::count() const {
    return static_cast<int>(std::count(set.begin(), set.end(), true));
}

int Mask::left() const {
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (at(x, y)) return x;
    return width;
}

int Mask::bottom() const {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (at(x, y)) return y;
    return height;
}

int Mask::top() const {
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            if (at(x, y)) return y;
    return -1;
}

int Mask::right() const {
    for (int x = width - 1; x >= 0; --x)
        for (int y = 0; y < height; ++y)
            if (at(x, y)) return x;
    return -1;
}

void LabelFixture::setUpWithGL() {
    CCAutoreleasePoolStack::getInstance().push();
    // Render textures size themselves against the director's window.
    CCDirector::getInstance()->setWinSizeInPoints(
        CCSize(static_cast<float>(gl.width()), static_cast<float>(gl.height())));
    useFrameDrawingState();
}

void LabelFixture::enter(CCNode* node) {
    node->retain();
    node->onEnter();
    m_entered.push_back(node);
}

void LabelFixture::tearDownWithGL() {
    for (CCNode* node : m_entered) {
        node->onExit();
        node->release();
    }
    m_entered.clear();
    CCActionManager::getInstance()->removeAllActions();
    CCAutoreleasePoolStack::getInstance().pop();
}

void LabelFixture::draw(CCNode* node) {
    glClearColor(0, 0, kBackgroundBlue / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    node->visit();
}

namespace {
template <class Test> Mask maskOf(const kvtest::GLTestContext& gl, Test test) {
    Mask mask;
    mask.width = gl.width();
    mask.height = gl.height();
    const std::vector<uint8_t> all = gl.readAll();
    mask.set.resize(static_cast<size_t>(mask.width) * mask.height);
    for (size_t i = 0; i < mask.set.size(); ++i)
        mask.set[i] = test(&all[i * 4]);
    return mask;
}
} // namespace

Mask LabelFixture::ink() const {
    return maskOf(gl, [](const uint8_t* p) { return p[0] > 96; });
}

Mask LabelFixture::touched() const {
    return maskOf(
        gl, [](const uint8_t* p) { return p[0] > 8 || p[1] > 8 || std::abs(p[2] - kBackgroundBlue) > 8; });
}

Mask LabelFixture::dark() const {
    return maskOf(gl, [](const uint8_t* p) { return p[0] < 64 && p[1] < 64 && p[2] < kBackgroundBlue / 2; });
}

Mask LabelFixture::near(int r, int g, int b, int tolerance) const {
    return maskOf(gl, [=](const uint8_t* p) {
        return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
               std::abs(p[2] - b) <= tolerance;
    });
}

void LabelFixture::screenshot(const std::string& name) const {
    std::vector<uint8_t> pixels = gl.readAll();
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
    std::filesystem::create_directories(KELVOS_SCREENSHOT_DIR);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(gl.width());
    image.height = static_cast<png_uint_32>(gl.height());
    image.format = PNG_FORMAT_RGBA;
    // The back buffer's rows run from the bottom: a negative stride writes them top first.
    const std::string path = std::string(KELVOS_SCREENSHOT_DIR) + "/" + name;
    EXPECT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), -gl.width() * 4, nullptr))
        << path;
}

int LabelFixture::farthest(const Mask& mask, const Mask& reference) {
    double worst = 0;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            if (!mask.at(x, y)) continue;
            double nearest = 1e9;
            for (int ry = std::max(0, y - 8); ry < std::min(mask.height, y + 9); ++ry)
                for (int rx = std::max(0, x - 8); rx < std::min(mask.width, x + 9); ++rx)
                    if (reference.at(rx, ry)) nearest = std::min(nearest, std::hypot(rx - x, ry - y));
            worst = std::max(worst, nearest);
        }
    return static_cast<int>(std::ceil(worst - 1e-6));
}

} // namespace labelpixels
