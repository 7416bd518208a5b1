#include "MenuFixture.h"

#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "engine/actions/CCActionManager.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCSet.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCFileUtils.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCGL.h"
#include "game/app/KVGameServices.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/sound/KVSoundManager.h"

namespace menutest {

using namespace kvengine;

namespace {

// Before the first test: the built resource folder is the resource root, the profile goes to a
// folder of this run, and the texts are English.
class MenuEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/kelvos-menu-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        home = made != nullptr ? made : "/tmp/kelvos-menu-test";
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        setenv("LANG", "en_GB.UTF-8", 1);
        unsetenv("LC_ALL");
        unsetenv("LANGUAGE");
        unsetenv("LC_MESSAGES");
        setResourceRootPath(KELVOS_RESOURCES_DIR);
        if (chdir(KELVOS_RESOURCES_DIR) != 0) {
            // The tests then fail on the missing sheets and texts by name.
        }
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }
    std::string home;
};
::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new MenuEnvironment);

template <typename T> void releaseIfMade(T* shared) {
    if (shared != nullptr) shared->release();
}

void releaseSharedGameObjects() {
    releaseIfMade(KVMenuManager::existingInstance());
    releaseIfMade(KVPlayerParameters::existingInstance());
    releaseIfMade(KVSoundManager::existingInstance());
    releaseIfMade(KVKelvosOFXDelegate::existingInstance());
    releaseIfMade(KVGameParameters::existingInstance());
    releaseIfMade(KVGameSetup::existingInstance());
    releaseIfMade(KVChatterManager::existingInstance());
    releaseIfMade(CCUserDefaults::existingInstance());
    releaseIfMade(CCLocalizationManager::existingInstance());
}

} // namespace

Recorder::~Recorder() {
    CCNotificationCenter::getInstance()->removeObserver(this);
}

void Recorder::observe(CCString* name) {
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(Recorder::onNotification),
                                                     name);
}

void Recorder::onNotification(CCNotification* notification) {
    names.push_back(notification->getName() != nullptr ? notification->getName()->c_str() : "");
}

int Recorder::count(const std::string& name) const {
    int found = 0;
    for (const std::string& seen : names)
        if (seen == name) ++found;
    return found;
}

void MenuFixture::setUpWithGL() {
    CCClock::setShared(&m_clock);
    CCAutoreleasePoolStack::getInstance().push();
    if (!std::filesystem::exists(std::string(KELVOS_RESOURCES_DIR) + "/sheets/menu_TC2_ss.plist"))
        KVTEST_REQUIRED_MISSING("no built resource folder at " << KELVOS_RESOURCES_DIR);
    director = CCDirector::getInstance();
    director->setWinSizeInPoints(CCSize(kWidth, kHeight));
    // Two pixels a point, as the game draws; the window shows the points one to one, as the
    // game's view does with its frame zoom.
    director->enableDoubleContentScale();
    glViewport(0, 0, kWidth, kHeight);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    kvConnectGameServices();
    // English texts and the menu sheets, as after the splash screen.
    KVGameSetup::getInstance();
    KVMenuManager::getInstance();
    base = CCScene::create();
    base->addChild(CCLayerColor::createCoveringWindow(ccColor4B{40, 120, 90, 255}));
    director->runWithScene(base);
    frame();
    m_touch = new CCTouch();
    m_touches = new CCSet();
    m_touches->addObject(m_touch);
}

void MenuFixture::tearDownWithGL() {
    if (m_touches != nullptr) m_touches->release();
    if (m_touch != nullptr) m_touch->release();
    m_touches = nullptr;
    m_touch = nullptr;
    CCTouchDispatcher::getInstance()->setRecognizersSuspended(false);
    releaseSharedGameObjects();
    CCDirector::destroyInstance();
    CCAutoreleasePoolStack::getInstance().pop();
    CCTouchDispatcher::purgeSharedDispatcher();
    CCClock::setShared(nullptr);
}

void MenuFixture::frame() {
    m_clock.advanceMicroseconds(16667);
    director->mainLoop();
}

void MenuFixture::run(float seconds) {
    for (float elapsed = 0; elapsed < seconds; elapsed += 1.0f / 60)
        frame();
}

CCSet* MenuFixture::at(float x, float y) {
    // Touch locations run from the top left of the picture.
    m_touch->setTouchInfo(0, x, static_cast<float>(kHeight) - y);
    return m_touches;
}

void MenuFixture::press(float x, float y) {
    CCTouchDispatcher::getInstance()->touchesBegan(at(x, y), nullptr);
}

void MenuFixture::lift(float x, float y) {
    CCTouchDispatcher::getInstance()->touchesEnded(at(x, y), nullptr);
}

void MenuFixture::move(float x, float y) {
    CCTouchDispatcher::getInstance()->touchesMoved(at(x, y), nullptr);
}

void MenuFixture::tap(float x, float y) {
    press(x, y);
    lift(x, y);
}

CCPoint MenuFixture::centreOf(CCNode* node) {
    // A button's item is centred on the button's own origin.
    if (node->isKindOf("KVButton")) return node->convertToWorldSpace(CCPointZero);
    const CCSize size = node->getContentSize();
    return node->convertToWorldSpace(CCPoint(size.width / 2, size.height / 2));
}

CCNode* MenuFixture::runningChild(const char* className) const {
    CCScene* scene = director != nullptr ? director->getRunningScene() : nullptr;
    CCArray* children = scene != nullptr ? scene->getChildren() : nullptr;
    if (children == nullptr) return nullptr;
    for (unsigned i = 0; i < children->count(); ++i) {
        auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
        if (child->isKindOf(className)) return child;
    }
    return nullptr;
}

void MenuFixture::screenshot(const std::string& name) const {
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

} // namespace menutest
