// The SDL2 backend of CCGLWindow: window, OpenGL 2.1 compatibility context and event translation.
#include "engine/platform/CCGL.h"
#include "engine/platform/CCGLWindow.h"
#include "engine/platform/CCKeyTable.h"
#include "engine/platform/CCPlatformLog.h"

#include <SDL2/SDL.h>

namespace kvengine {

namespace {

unsigned modifierFlags() {
    const SDL_Keymod mods = SDL_GetModState();
    unsigned flags = 0;
    if (mods & KMOD_SHIFT) flags |= kCCMouseShift;
    if (mods & KMOD_CTRL) flags |= kCCMouseControl;
    return flags;
}

unsigned buttonFlags(Uint32 state) {
    unsigned flags = 0;
    if (state & SDL_BUTTON_LMASK) flags |= kCCMouseLeft;
    if (state & SDL_BUTTON_RMASK) flags |= kCCMouseRight;
    if (state & SDL_BUTTON_MMASK) flags |= kCCMouseMiddle;
    return flags;
}

// The video subsystem and the GL library are started once and kept to the end of the process.
// Unloading the GL driver, whose own start-up allocations then look like leaks to the sanitizers, and
// starting it again for every window costs a driver load each time.
bool startVideo() {
    static bool started = false;
    if (started) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        platformLog("window: video start-up failed: %s", SDL_GetError());
        return false;
    }
    // Holding one extra reference to the GL library keeps it loaded when the last window goes.
    if (SDL_GL_LoadLibrary(nullptr) != 0) {
        platformLog("window: cannot load the OpenGL library: %s", SDL_GetError());
        return false;
    }
    started = true;
    return true;
}

class CCSDLWindow final : public CCGLWindow {
public:
    ~CCSDLWindow() override { destroy(); }

    bool create(const char* title, bool fullScreen, int width, int height) override;
    void destroy() override;
    bool isOpen() const override { return m_window != nullptr; }
    bool hasGLContext() const override { return m_context != nullptr; }
    void getDesktopSize(int& width, int& height) const override;
    void getClientSize(int& width, int& height) const override;
    void setClientSize(int width, int height) override;
    void show() override {
        if (m_window) SDL_ShowWindow(m_window);
    }
    void swapBuffers() override {
        if (m_window && m_context) SDL_GL_SwapWindow(m_window);
    }
    void setSystemCursorVisible(bool visible) override {
        if (m_videoStarted) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
    void getWorkArea(int& x, int& y, int& width, int& height) const override;
    void getFrameSize(int& width, int& height) const override;
    void setPosition(int x, int y) override;
    void raise() override {
        if (m_window) SDL_RaiseWindow(m_window);
    }
    void setMouseCaptured(bool captured) override;
    void warpPointer(int x, int y) override {
        if (m_window) SDL_WarpMouseInWindow(m_window, x, y);
    }
    bool poll(CCPlatformEvent& out) override;
    void postCloseRequest() override {
        if (!m_videoStarted) return;
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_QUIT;
        SDL_PushEvent(&event);
    }

private:
    bool translate(const SDL_Event& in, CCPlatformEvent& out) const;

    SDL_Window* m_window = nullptr;
    SDL_GLContext m_context = nullptr;
    bool m_videoStarted = false;
    bool m_fullScreen = false;
    bool m_captureRefusalLogged = false;
};

bool CCSDLWindow::create(const char* title, bool fullScreen, int width, int height) {
    if (m_window) {
        platformLog("window: a window is already open");
        return false;
    }
    if (!startVideo()) return false;
    m_videoStarted = true;
    m_fullScreen = fullScreen;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    int w = width > 0 ? width : 1;
    int h = height > 0 ? height : 1;
    if (fullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        getDesktopSize(w, h);
    }
    m_window =
        SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!m_window) {
        platformLog("window: cannot create the window: %s", SDL_GetError());
        destroy();
        return false;
    }
    m_context = SDL_GL_CreateContext(m_window);
    if (!m_context) {
        platformLog("window: cannot create an OpenGL 2.1 context: %s", SDL_GetError());
        destroy();
        return false;
    }
    if (SDL_GL_MakeCurrent(m_window, m_context) != 0) {
        platformLog("window: cannot make the OpenGL context current: %s", SDL_GetError());
        destroy();
        return false;
    }
    // Waiting for the vertical blank is a wish, not a need: virtual displays refuse it.
    if (fullScreen) SDL_GL_SetSwapInterval(1);
    return true;
}

void CCSDLWindow::destroy() {
    if (m_window) SDL_CaptureMouse(SDL_FALSE);
    if (m_context) {
        SDL_GL_DeleteContext(m_context);
        m_context = nullptr;
    }
    if (m_window) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
    m_videoStarted = false;
}

void CCSDLWindow::getDesktopSize(int& width, int& height) const {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    } else {
        width = 0;
        height = 0;
    }
}

void CCSDLWindow::getClientSize(int& width, int& height) const {
    width = 0;
    height = 0;
    if (m_window) SDL_GL_GetDrawableSize(m_window, &width, &height);
}

void CCSDLWindow::setClientSize(int width, int height) {
    if (!m_window || m_fullScreen || width <= 0 || height <= 0) return;
    SDL_SetWindowSize(m_window, width, height);
}

void CCSDLWindow::getWorkArea(int& x, int& y, int& width, int& height) const {
    const int display = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
    SDL_Rect area;
    if (SDL_GetDisplayUsableBounds(display >= 0 ? display : 0, &area) == 0) {
        x = area.x;
        y = area.y;
        width = area.w;
        height = area.h;
        return;
    }
    x = y = 0;
    getDesktopSize(width, height);
}

void CCSDLWindow::getFrameSize(int& width, int& height) const {
    width = height = 0;
    if (!m_window) return;
    SDL_GetWindowSize(m_window, &width, &height);
    int top = 0, left = 0, bottom = 0, right = 0;
    // Platforms that cannot tell the borders leave them at 0: the client size is the best guess.
    if (SDL_GetWindowBordersSize(m_window, &top, &left, &bottom, &right) == 0) {
        width += left + right;
        height += top + bottom;
    }
}

void CCSDLWindow::setPosition(int x, int y) {
    if (!m_window) return;
    // SDL places the client area; the corner asked for is the frame's.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(m_window, &top, &left, &bottom, &right) != 0) top = left = 0;
    SDL_SetWindowPosition(m_window, x + left, y + top);
}

void CCSDLWindow::setMouseCaptured(bool captured) {
    if (!m_window) return;
    if (SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE) != 0 && captured && !m_captureRefusalLogged) {
        // Drivers without a pointer of their own (offscreen) refuse; say so once per window.
        platformLog("window: the mouse cannot be captured: %s", SDL_GetError());
        m_captureRefusalLogged = true;
    }
}

bool CCSDLWindow::poll(CCPlatformEvent& out) {
    if (!m_videoStarted) return false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (translate(event, out)) return true;
    }
    return false;
}

bool CCSDLWindow::translate(const SDL_Event& in, CCPlatformEvent& out) const {
    switch (in.type) {
    case SDL_QUIT:
        out = CCPlatformEvent::make(CCEventType::WindowClose);
        return true;
    case SDL_WINDOWEVENT:
        switch (in.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out = CCPlatformEvent::make(CCEventType::FocusGained);
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out = CCPlatformEvent::make(CCEventType::FocusLost);
            return true;
        case SDL_WINDOWEVENT_CLOSE:
            out = CCPlatformEvent::make(CCEventType::WindowClose);
            return true;
        case SDL_WINDOWEVENT_SHOWN:
            out = CCPlatformEvent::make(CCEventType::WindowShown);
            return true;
        default:
            return false;
        }
    case SDL_KEYDOWN: {
        const CCKey key = keyFromPlatformSymbol(in.key.keysym.sym);
        const bool altHeld = (in.key.keysym.mod & KMOD_ALT) != 0;
        if (key == CCKey::Alt || altHeld) {
            out = CCPlatformEvent::make(CCEventType::SysKeyDown);
            out.key = key;
            return true;
        }
        if (key == CCKey::Unknown) return false;
        out = CCPlatformEvent::keyDown(key);
        return true;
    }
    case SDL_KEYUP:
        if (keyFromPlatformSymbol(in.key.keysym.sym) != CCKey::Alt) return false;
        out = CCPlatformEvent::make(CCEventType::SysKeyUp);
        out.key = CCKey::Alt;
        return true;
    case SDL_TEXTINPUT:
        out = CCPlatformEvent::textInput(in.text.text);
        return true;
    case SDL_MOUSEMOTION:
        out = CCPlatformEvent::mouse(CCEventType::MouseMove, in.motion.x, in.motion.y,
                                     buttonFlags(in.motion.state) | modifierFlags());
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (in.button.button != SDL_BUTTON_LEFT) return false;
        const bool down = in.type == SDL_MOUSEBUTTONDOWN;
        const unsigned flags = buttonFlags(SDL_GetMouseState(nullptr, nullptr)) | modifierFlags();
        out = CCPlatformEvent::mouse(down ? CCEventType::MouseDown : CCEventType::MouseUp, in.button.x,
                                     in.button.y, down ? (flags | kCCMouseLeft) : (flags & ~kCCMouseLeft));
        return true;
    }
    case SDL_MOUSEWHEEL: {
        int y = in.wheel.y;
        if (in.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
        if (y == 0) return false;
        out = CCPlatformEvent::make(CCEventType::MouseWheel);
        out.wheel = y;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

std::unique_ptr<CCGLWindow> createPlatformWindow() {
    return std::make_unique<CCSDLWindow>();
}

} // namespace kvengine
