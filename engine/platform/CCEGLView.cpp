#include "engine/platform/CCEGLView.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCIMEDispatcher.h"
#include "engine/input/CCTouch.h"
#include "engine/input/EGLTouchDelegate.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCGL.h"
#include "engine/platform/CCKeyTable.h"

#include <algorithm>
#include <cstring>

namespace kvengine {

namespace {
CCEGLView* g_sharedView = nullptr;
}

CCEGLView::CCEGLView(std::unique_ptr<CCGLWindow> window) : m_window(std::move(window)) {
    if (!m_window) m_window = createPlatformWindow();
    m_touch = new CCTouch();
    m_touchSet = new CCSet();
}

CCEGLView::~CCEGLView() {
    if (m_touch) m_touch->release();
    if (m_touchSet) m_touchSet->release();
    m_touch = nullptr;
    m_touchSet = nullptr;
    if (m_window) m_window->destroy();
    if (g_sharedView == this) g_sharedView = nullptr;
}

CCEGLView* CCEGLView::getSharedView() {
    return g_sharedView;
}

bool CCEGLView::create(const char* title, int frameWidth, int frameHeight) {
    if (m_window->isOpen()) {
        logDebugMessage("CCEGLView::create: the window already exists");
        return false;
    }
    if (frameWidth <= 0 || frameHeight <= 0) {
        logDebugMessage("CCEGLView::create: bad frame size %d x %d", frameWidth, frameHeight);
        return false;
    }
    if (!m_window->create(title, m_fullScreen, frameWidth, frameHeight)) {
        logDebugMessage("CCEGLView::create: no window or OpenGL context; the program cannot draw");
        return false;
    }
    m_orientation = CCDirector::getInstance()->getOrientation();
    m_swapWanted =
        m_orientation == kCCOrientationPortrait || m_orientation == kCCOrientationPortraitUpsideDown;
    m_frameWidth = frameWidth;
    m_frameHeight = frameHeight;
    resize(frameWidth, frameHeight);

    if (m_window->hasGLContext()) {
        // Placeholder state until the director sets its own (CCDirector::setGLDefaultValues).
        int w = 0, h = 0;
        m_window->getClientSize(w, h);
        glClearColor(0.8f, 0.8f, 1.0f, 0.0f);
        glClearDepth(1.0);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, h > 0 ? static_cast<double>(w) / h : 1.0, 0.1, 20.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    g_sharedView = this;
    return true;
}

bool CCEGLView::pollEvent(CCPlatformEvent& out) {
    return m_window && m_window->isOpen() && m_window->poll(out);
}

void CCEGLView::show() {
    if (m_window) m_window->show();
}

// --- picture -----------------------------------------------------------------------------

void CCEGLView::resize(int width, int height) {
    if (!m_window || !m_window->isOpen()) return;
    int cw = 0, ch = 0;
    m_window->getClientSize(cw, ch);
    if (cw == width && ch == height) return;

    int dw = 0, dh = 0;
    m_window->getDesktopSize(dw, dh);
    if (m_fullScreen) {
        m_window->setClientSize(dw, dh);
        if (m_frameWidth > 0 && m_frameHeight > 0) {
            // The content scale enters both sides of the ratio and cancels.
            m_scaleX = static_cast<float>(dw) / static_cast<float>(m_frameHeight);
            m_scaleY = static_cast<float>(dh) / static_cast<float>(m_frameWidth);
        }
    } else {
        m_window->setClientSize(width, height);
    }
    m_window->getClientSize(cw, ch);
    computePictureRect(cw, ch);
}

void CCEGLView::computePictureRect(int availableWidth, int availableHeight) {
    int pw, ph;
    if (m_orientationSwapped) {
        pw = static_cast<int>(static_cast<float>(m_frameHeight) * m_scaleX);
        ph = static_cast<int>(static_cast<float>(m_frameWidth) * m_scaleY);
    } else {
        pw = static_cast<int>(static_cast<float>(m_frameWidth) * m_scaleX);
        ph = static_cast<int>(static_cast<float>(m_frameHeight) * m_scaleY);
    }
    m_pictureRect.left = (availableWidth - pw) / 2;
    m_pictureRect.top = (availableHeight - ph) / 2;
    m_pictureRect.right = m_pictureRect.left + pw;
    m_pictureRect.bottom = m_pictureRect.top + ph;
}

void CCEGLView::setFrameZoom(float factor) {
    m_scaleX = m_scaleY = factor;
    const int w = static_cast<int>(static_cast<float>(m_frameWidth) * factor);
    const int h = static_cast<int>(static_cast<float>(m_frameHeight) * factor);
    if (m_orientationSwapped) {
        resize(h, w);
    } else {
        resize(w, h);
    }
    centerWindow();
}

CCOrientation CCEGLView::syncOrientation() {
    if (m_swapWanted != m_orientationSwapped) {
        m_orientationSwapped = m_swapWanted;
        int cw = 0, ch = 0;
        if (m_window) m_window->getClientSize(cw, ch);
        resize(ch, cw);
    }
    return m_orientation;
}

void CCEGLView::setViewPortInPoints(float x, float y, float w, float h) {
    if (!hasGLContext()) return;
    const float factor = CCDirector::sharedContentScaleFactor();
    const float sx = m_scaleX / factor;
    const float sy = m_scaleY / factor;
    glViewport(static_cast<GLint>(x * sx + static_cast<float>(m_pictureRect.left)),
               static_cast<GLint>(y * sy + static_cast<float>(m_pictureRect.top)),
               static_cast<GLsizei>(w * sx), static_cast<GLsizei>(h * sy));
}

void CCEGLView::centerWindow() {
    // A full-screen window covers the desktop already; moving it to the work area would uncover
    // part of the desktop behind a task bar.
    if (!m_window || !m_window->isOpen() || m_fullScreen) return;
    int areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
    m_window->getWorkArea(areaX, areaY, areaWidth, areaHeight);
    int width = 0, height = 0;
    m_window->getFrameSize(width, height);
    // A window larger than the work area keeps its top-left corner (and title bar) in it.
    m_window->setPosition(areaX + std::max(0, (areaWidth - width) / 2),
                          areaY + std::max(0, (areaHeight - height) / 2));
}

void CCEGLView::bringToForeground() {
    if (m_window && m_window->isOpen()) m_window->raise();
}

void CCEGLView::setCaptured(bool captured) {
    m_captured = captured;
    if (m_window && m_window->isOpen()) m_window->setMouseCaptured(captured);
}

CCSize CCEGLView::getSize() const {
    if (m_orientationSwapped)
        return CCSize(static_cast<float>(m_frameHeight), static_cast<float>(m_frameWidth));
    return CCSize(static_cast<float>(m_frameWidth), static_cast<float>(m_frameHeight));
}

void CCEGLView::swapBuffers() {
    if (m_window && m_window->isOpen()) m_window->swapBuffers();
}

void CCEGLView::destroyWindowAndContext() {
    if (m_captured) setCaptured(false);
    m_buttonDown = false;
    if (m_window) m_window->destroy();
    if (g_sharedView == this) g_sharedView = nullptr;
    if (m_touch) m_touch->release();
    if (m_touchSet) m_touchSet->release();
    m_touch = nullptr;
    m_touchSet = nullptr;
    m_mouseEvents.clear();
    // The touch dispatcher is not ours: the director's shutdown releases it once.
    m_touchDelegate = nullptr;
    if (CCApplication* app = CCApplication::getSharedApplication()) app->postQuitMessage(0);
}

// --- events ------------------------------------------------------------------------------

void CCEGLView::handleEvent(const CCPlatformEvent& event) {
    CCDirector* director = CCDirector::getInstance();
    switch (event.type) {
    case CCEventType::FocusGained:
        m_altMode = false;
        director->resume();
        break;
    case CCEventType::FocusLost:
        if (m_pauseOnFocusLoss) director->pause();
        m_altMode = false;
        // The platform drops the capture with the focus, and the release then goes to another
        // window: end the touch where the pointer was last seen instead of leaving it down.
        if (m_captured) {
            handleMouseUp(CCPlatformEvent::mouse(CCEventType::MouseUp, m_pointerX, m_pointerY, 0));
        }
        break;
    case CCEventType::WindowClose:
        director->requestPurge();
        break;
    case CCEventType::WindowShown:
        bringToForeground();
        break;
    case CCEventType::KeyDown:
        handleKeyDown(event.key);
        break;
    case CCEventType::TextInput:
        handleText(event.text);
        break;
    case CCEventType::SysKeyDown:
        if (!m_buttonDown) m_altMode = true;
        break;
    case CCEventType::SysKeyUp:
        if (!m_buttonDown) m_altMode = false;
        break;
    case CCEventType::MouseMove:
        handleMouseMove(event);
        break;
    case CCEventType::MouseDown:
        handleMouseDown(event);
        break;
    case CCEventType::MouseUp:
        handleMouseUp(event);
        break;
    case CCEventType::MouseWheel:
        if (!m_altMode && !m_buttonDown && event.wheel != 0) {
            director->queueKeyCode(event.wheel > 0 ? kCCKeyCodeAdd : kCCKeyCodeSubtract);
        }
        break;
    case CCEventType::Quit:
    case CCEventType::None:
        break;
    }
}

void CCEGLView::handleKeyDown(CCKey key) {
    switch (key) {
    case CCKey::Backspace:
        CCIMEDispatcher::getInstance()->dispatchBackspace();
        return;
    case CCKey::Return:
        CCIMEDispatcher::getInstance()->dispatchText("\n", 1);
        return;
    case CCKey::Escape:
    case CCKey::Space:
        if (m_keysBlocked) return;
        break;
    default:
        break;
    }
    const int code = keyCodeForKey(key);
    if (code != kCCKeyCodeNone) CCDirector::getInstance()->queueKeyCode(static_cast<unsigned>(code));
}

void CCEGLView::handleText(const char* utf8) {
    // One character at a time, as typed: printable ASCII as its byte, others as their UTF-8
    // sequence; control characters arrive as key presses instead.
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p) {
        int length = 1;
        if (*p >= 0xF0) {
            length = 4;
        } else if (*p >= 0xE0) {
            length = 3;
        } else if (*p >= 0xC0) {
            length = 2;
        }
        int available = 0;
        while (available < length && p[available])
            ++available;
        if (available < length) return; // a cut sequence is dropped
        if (length > 1 || (*p >= 32 && *p <= 127)) {
            CCIMEDispatcher::getInstance()->dispatchText(reinterpret_cast<const char*>(p), length);
        }
        p += length;
    }
}

void CCEGLView::handleMouseMove(const CCPlatformEvent& event) {
    CCDirector* director = CCDirector::getInstance();
    if (m_altMode) {
        if (event.y < director->getMouseY()) {
            director->queueKeyCode(kCCKeyCodeAdd);
        } else if (event.y > director->getMouseY()) {
            director->queueKeyCode(kCCKeyCodeSubtract);
        }
    }
    director->setMousePosition(event.x, event.y);
    m_pointerX = event.x;
    m_pointerY = event.y;
    if (event.flags == kCCMouseLeft && m_captured && m_pendingReleases < kMaxPendingReleases) {
        m_mouseEvents.push_back({static_cast<float>(event.x), static_cast<float>(event.y), kMouseMove});
    }
}

void CCEGLView::handleMouseDown(const CCPlatformEvent& event) {
    if (m_altMode || !m_touchDelegate || !m_touch || event.flags != kCCMouseLeft) return;
    if (!m_pictureRect.contains(event.x, event.y) || m_pendingReleases >= kMaxPendingReleases) return;
    CCDirector* director = CCDirector::getInstance();
    m_pointerX = event.x;
    m_pointerY = event.y;
    m_buttonDown = true;
    if (!director->isSystemCursorShown()) director->setCursor(CCDirector::kCursorStateButtonPressed);
    // Captured while the button is down, so that a release outside the window still ends the touch.
    setCaptured(true);
    m_mouseEvents.push_back({static_cast<float>(event.x), static_cast<float>(event.y), kMousePress});
}

void CCEGLView::handleMouseUp(const CCPlatformEvent& event) {
    if (m_altMode || !m_captured) return;
    if (m_pendingReleases < kMaxPendingReleases) {
        m_buttonDown = false;
        CCDirector* director = CCDirector::getInstance();
        if (!director->isSystemCursorShown()) director->setCursor(CCDirector::kCursorStateButtonReleased);
        m_mouseEvents.push_back({static_cast<float>(event.x), static_cast<float>(event.y), kMouseRelease});
        ++m_pendingReleases;
    }
    setCaptured(false);
}

void CCEGLView::dispatchQueuedTouches() {
    while (!m_mouseEvents.empty()) {
        const MouseEvent event = m_mouseEvents.front();
        m_mouseEvents.erase(m_mouseEvents.begin());
        if (!m_touch || !m_touchSet) break;
        const float x = (event.x - static_cast<float>(m_pictureRect.left)) / m_scaleX;
        const float y = (event.y - static_cast<float>(m_pictureRect.top)) / m_scaleY;
        m_touch->setTouchInfo(0, x, y);
        // The delegate may drop the last reference to nothing of ours, but keep the touch alive
        // across the call all the same.
        m_touch->retain();
        CCTouch* touch = m_touch;
        switch (event.kind) {
        case kMousePress:
            m_touchSet->addObject(touch);
            if (m_touchDelegate) m_touchDelegate->touchesBegan(m_touchSet, nullptr);
            break;
        case kMouseMove:
            if (m_touchDelegate) m_touchDelegate->touchesMoved(m_touchSet, nullptr);
            break;
        default:
            if (m_touchDelegate) m_touchDelegate->touchesEnded(m_touchSet, nullptr);
            if (m_touchSet) m_touchSet->removeObject(touch);
            --m_pendingReleases;
            break;
        }
        touch->release();
        if (event.kind == kMouseRelease) break;
    }
}

} // namespace kvengine
