#include "engine/platform/CCApplication.h"

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCEGLView.h"

namespace kvengine {

namespace {
CCApplication* g_sharedApplication = nullptr;
}

CCApplication::CCApplication() {
    g_sharedApplication = this;
    setAnimationInterval(1.0 / 60.0);
}

CCApplication::~CCApplication() {
    if (g_sharedApplication == this) g_sharedApplication = nullptr;
}

CCApplication* CCApplication::getSharedApplication() {
    return g_sharedApplication;
}

void CCApplication::setAnimationInterval(double seconds) {
    m_intervalTicks = static_cast<int64_t>(seconds * static_cast<double>(CCClock::getShared()->frequency()));
}

CCOrientation CCApplication::syncOrientationWithView() {
    CCDirector* director = CCDirector::getInstance();
    if (CCEGLView* view = director->getOpenGLView()) return view->syncOrientation();
    return director->getOrientation();
}

void CCApplication::postQuitMessage(int exitCode) {
    m_quitPosted = true;
    m_exitCode = exitCode;
}

int CCApplication::run() {
    m_quitPosted = false;
    CCClock* clock = CCClock::getShared();
    int64_t last = clock->counter();
    if (!initInstance() || !finishLaunching()) {
        logDebugMessage("CCApplication::run: start-up failed; the program ends");
        return 1;
    }
    if (CCEGLView* view = CCEGLView::getSharedView()) {
        view->centerWindow();
        view->show();
    }
    for (;;) {
        if (m_quitPosted) return m_exitCode;
        CCEGLView* view = CCEGLView::getSharedView();
        CCPlatformEvent event;
        if (view && view->pollEvent(event)) {
            if (event.type == CCEventType::Quit) return 0;
            view->handleEvent(event);
            continue;
        }
        // Frames are paced from the start of each frame; a late frame is not made up.
        const int64_t now = clock->counter();
        if (now - last > m_intervalTicks) {
            last = now;
            CCDirector::getInstance()->mainLoop();
        } else {
            clock->yield();
        }
    }
}

} // namespace kvengine
