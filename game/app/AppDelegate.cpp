#include "game/app/AppDelegate.h"

#include <cstdio>

#include "engine/base/CCLog.h"
#include "engine/base/CCSharedRegistry.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/platform/CCDesktop.h"
#include "engine/platform/CCEGLView.h"
#include "engine/platform/CCGLWindow.h"
#include "engine/textures/CCTexture2D.h"
#include "game/app/KVGameServices.h"
#include "game/app/KVSplashScreen.h"
#include "game/app/KVWindowIcon.h"
#include "game/data/KVGameSetup.h"
#include "game/world/KVObjectFactory.h"

using namespace kvengine;

namespace {

// The design frame is given portrait; the view shows it exchanged.
constexpr int kFrameWidth = 600;
constexpr int kFrameHeight = 800;
constexpr int kWideFrameHeight = 960;

} // namespace

AppDelegate::~AppDelegate() {
    releaseSharedObjects();
}

bool AppDelegate::isWideScreen(float widthMillimetres, float heightMillimetres) {
    if (!(widthMillimetres > 0.0f) || !(heightMillimetres > 0.0f)) return false;
    const float ratio = static_cast<float>(3.0 * widthMillimetres / heightMillimetres);
    return ratio > 4.5f;
}

std::unique_ptr<CCGLWindow> AppDelegate::makeWindow() {
    return nullptr;
}

bool AppDelegate::screenSize(float& widthMillimetres, float& heightMillimetres) {
    return screenPhysicalSize(widthMillimetres, heightMillimetres);
}

bool AppDelegate::initInstance() {
    KVObjectFactory::registerGameClasses();
    kvConnectGameServices();

    std::unique_ptr<CCGLWindow> window = makeWindow();
    if (window == nullptr) window = createPlatformWindow();

    // The director exists first, so that its initialisation does not clear the flag later.
    CCDirector* director = CCDirector::getInstance();
    float width = 0.0f;
    float height = 0.0f;
    if (!screenSize(width, height)) {
        int pixelsWide = 0;
        int pixelsHigh = 0;
        window->getDesktopSize(pixelsWide, pixelsHigh);
        width = static_cast<float>(pixelsWide);
        height = static_cast<float>(pixelsHigh);
    }
    CCDirector::wideScreen = isWideScreen(width, height) ? 1 : 0;

    CCEGLView* view = new CCEGLView(std::move(window));
    view->setFullScreen(true);
    const int frameHeight = CCDirector::wideScreen ? kWideFrameHeight : kFrameHeight;
    if (!view->create(kTitle, kFrameWidth, frameHeight)) {
        std::fprintf(stderr,
                     "Kelvos: cannot open the game window with an OpenGL 2.1 context; the game ends.\n");
        delete view;
        return false;
    }
    kvWindowIconFromSplash();
    director->enableDoubleContentScale();
    return true;
}

bool AppDelegate::finishLaunching() {
    CCDirector* director = CCDirector::getInstance();
    CCEGLView* view = CCEGLView::getSharedView();
    director->setOpenGLView(view);
    if (view != nullptr) view->bringToForeground();
    director->updateOrientation();
    director->setAnimationInterval(1.0 / 60.0);

    KVGameSetup* setup = KVGameSetup::getInstance();
    CCTexture2D::setDefaultAlphaPixelFormat(setup->texturePixelFormat);

    CCScene* scene = CCScene::create();
    KVSplashScreen* splash = KVSplashScreen::create();
    if (scene != nullptr && splash != nullptr) scene->addChildAtZ(splash, 0);
    if (scene != nullptr) director->runWithScene(scene);
    return true;
}

void AppDelegate::pauseApplication() {
    CCDirector::getInstance()->pause();
}

void AppDelegate::resumeApplication() {
    CCDirector::getInstance()->resume();
}

void AppDelegate::releaseSharedObjects() {
    // Every shared service registered itself when it was made; they go newest first, so a service
    // outlives those that were built on it (the notification centre, made by the first observer,
    // goes after its observers). Only what exists is released: nothing is built just to be thrown
    // away (closing during the splash, for one). The dialogue manager opts out and stays.
    CCSharedRegistry::releaseAll(kReleasedWithApplication);
}
