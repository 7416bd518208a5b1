#include "EnvFixture.h"

#include <unistd.h>

#include <filesystem>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"
#include "game/app/KVGameServices.h"
#include "game/data/KVGameSetup.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/world/KVObjectFactory.h"
#include "support/Screenshot.h"

namespace envtest {

using namespace kvengine;

namespace {
class ResourceRoot : public ::testing::Environment {
public:
    void SetUp() override {
        setResourceRootPath(KELVOS_RESOURCES_DIR);
        // The text tables are found from the working folder, as in the game.
        if (chdir(KELVOS_RESOURCES_DIR) != 0) {
            // The tests then fail on the missing files by name.
        }
        KVObjectFactory::registerGameClasses();
    }
};
::testing::Environment* const g_root = ::testing::AddGlobalTestEnvironment(new ResourceRoot);
} // namespace

kvdata::Dict* layerDict(const std::vector<std::pair<std::string, std::string>>& entries) {
    kvdata::Dict* dict = kvdata::newDict();
    for (const auto& entry : entries) {
        const std::string& text = entry.second;
        if (!text.empty() && text.front() == '[' && text.back() == ']') {
            kvdata::Array* array = kvdata::newArray();
            size_t start = 1;
            while (start < text.size() - 1) {
                size_t end = text.find(' ', start);
                if (end == std::string::npos || end > text.size() - 1) end = text.size() - 1;
                if (end > start) array->addObject(kvdata::newString(text.substr(start, end - start)));
                start = end + 1;
            }
            dict->setObject(array, entry.first);
        } else {
            kvdata::setText(dict, entry.first, text);
        }
    }
    return dict;
}

kvdata::Dict* rootDict(const std::vector<std::pair<std::string, kvdata::Dict*>>& entries) {
    kvdata::Dict* root = kvdata::newDict();
    for (const auto& entry : entries)
        root->setObject(entry.second, entry.first);
    return root;
}

kvdata::Dict* backdrop(const std::string& parallax, const std::string& zoom) {
    return layerDict({{"disable", "0"},
                      {"type", "sprite"},
                      {"name", "env_deepwater.png"},
                      {"scale", "1"},
                      {"opacity", "1"},
                      {"parallax_factor", parallax},
                      {"zoom_factor", zoom}});
}

void EnvFixture::setUpWithGL() {
    CCClock::setShared(&m_clock);
    CCAutoreleasePoolStack::getInstance().push();
    if (!std::filesystem::exists(std::string(KELVOS_RESOURCES_DIR) + "/sheets/env_fish_ss.plist"))
        KVTEST_REQUIRED_MISSING("no built resource folder at " << KELVOS_RESOURCES_DIR);
    director = CCDirector::getInstance();
    director->setWinSizeInPoints(CCSize(kWidth, kHeight));
    if (m_contentScale == 2.0f) director->enableDoubleContentScale();
    CCDirector::wideScreen = 1;
    glViewport(0, 0, kWidth, kHeight);
    // The game's view turns blending on with the context; the test context starts without.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    kvConnectGameServices();
    KVGameSetup::getInstance();
    gameplay = new CCNode();
    gameplay->setContentSize(CCSize(kWidth, kHeight));
}

void EnvFixture::tearDownWithGL() {
    if (KVEnvLayerManager::existingInstance() != nullptr) KVEnvLayerManager::existingInstance()->release();
    if (gameplay != nullptr) gameplay->release();
    gameplay = nullptr;
    if (KVGameSetup::existingInstance() != nullptr) KVGameSetup::existingInstance()->release();
    CCDirector::destroyInstance();
    CCAutoreleasePoolStack::getInstance().pop();
    CCClock::setShared(nullptr);
}

void EnvFixture::frame() {
    m_clock.advanceMicroseconds(16667);
    director->mainLoop();
}

void EnvFixture::screenshot(const std::string& name) const {
    const std::string path = std::string(KELVOS_SCREENSHOT_DIR) + "/" + name;
    EXPECT_TRUE(kvtest::writeScreenshot(gl, path)) << path;
}

} // namespace envtest
