#pragma once
#include "engine/platform/CCPlatformEvent.h"

#include <memory>

namespace kvengine {

/// A window with an OpenGL 2.1 compatibility context, and the source of its events.
///
/// The engine's view (CCEGLView) owns one. The platform backend (SDL) is made by
/// createPlatformWindow(); CCHeadlessWindow stands in where no display exists and tests drive
/// the view through it.
class CCGLWindow : public CCEventSource {
public:
    ~CCGLWindow() override = default;

    /// Makes the window and its GL context and makes the context current. Full screen covers
    /// the whole desktop and ignores the size; windowed uses width x height client pixels.
    /// Returns false, with a log line, when the window or the context cannot be made; nothing
    /// is left open then.
    [[nodiscard]] virtual bool create(const char* title, bool fullScreen, int width, int height) = 0;
    /// Destroys the context and the window; harmless when nothing is open.
    virtual void destroy() = 0;
    virtual bool isOpen() const = 0;
    virtual bool hasGLContext() const = 0;

    /// Size of the desktop (the primary display) in pixels.
    virtual void getDesktopSize(int& width, int& height) const = 0;
    /// Size of the drawable client area in pixels; 0 x 0 when no window is open.
    virtual void getClientSize(int& width, int& height) const = 0;
    /// Resizes the client area; a full-screen window keeps covering the desktop.
    virtual void setClientSize(int width, int height) = 0;
    virtual void show() = 0;
    virtual void swapBuffers() = 0;
    virtual void setSystemCursorVisible(bool visible) = 0;
    /// The part of the desktop that windows may cover (without task bars and docks), in screen
    /// pixels; the whole desktop when the platform does not tell.
    virtual void getWorkArea(int& x, int& y, int& width, int& height) const = 0;
    /// The window's outer size, its frame included; 0 x 0 when no window is open.
    virtual void getFrameSize(int& width, int& height) const = 0;
    /// Moves the outer top-left corner of the window to (x, y) screen pixels; the size stays.
    virtual void setPosition(int x, int y) = 0;
    /// Puts the window above the others and gives it the input focus.
    virtual void raise() = 0;
    /// While captured, mouse events reach the window even when the pointer is outside it, so a
    /// button released outside is still seen.
    virtual void setMouseCaptured(bool captured) = 0;
    /// Moves the pointer to (x, y) client pixels of the window. Backends that cannot move it log
    /// that once and leave it.
    virtual void warpPointer(int x, int y);
    /// Asks for the window to be closed as if the user had closed it: a WindowClose event
    /// arrives through poll().
    virtual void postCloseRequest() = 0;
};

/// The window of the platform backend (SDL2). Never null.
std::unique_ptr<CCGLWindow> createPlatformWindow();

/// A window without a display or GL context: sizes are remembered, swaps are counted and events
/// are those pushed into it.
class CCHeadlessWindow : public CCGLWindow {
public:
    explicit CCHeadlessWindow(int desktopWidth = 1920, int desktopHeight = 1080)
        : m_desktopWidth(desktopWidth), m_desktopHeight(desktopHeight) {}

    bool create(const char* title, bool fullScreen, int width, int height) override;
    void destroy() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool hasGLContext() const override { return false; }
    void getDesktopSize(int& width, int& height) const override;
    void getClientSize(int& width, int& height) const override;
    void setClientSize(int width, int height) override;
    void show() override {}
    void swapBuffers() override { ++m_swaps; }
    void setSystemCursorVisible(bool visible) override { m_cursorVisible = visible; }
    void getWorkArea(int& x, int& y, int& width, int& height) const override;
    void getFrameSize(int& width, int& height) const override;
    void setPosition(int x, int y) override;
    void raise() override { ++m_raises; }
    void setMouseCaptured(bool captured) override { m_mouseCaptured = captured; }
    void warpPointer(int x, int y) override {
        m_warpX = x;
        m_warpY = y;
        ++m_warps;
    }
    void postCloseRequest() override { push(CCPlatformEvent::make(CCEventType::WindowClose)); }
    bool poll(CCPlatformEvent& out) override { return m_events.poll(out); }

    /// Queues an event for the next poll.
    void push(const CCPlatformEvent& event) { m_events.push(event); }
    int swapCount() const { return m_swaps; }
    bool isSystemCursorVisible() const { return m_cursorVisible; }
    /// The work area (the whole desktop until set).
    void setWorkArea(int x, int y, int width, int height);
    /// What the frame adds to the client size (title bar and borders; none until set).
    void setFrameMargins(int width, int height);
    int getPositionX() const { return m_x; }
    int getPositionY() const { return m_y; }
    int raiseCount() const { return m_raises; }
    bool isMouseCaptured() const { return m_mouseCaptured; }
    /// Where the pointer was last moved by warpPointer, and how many times it was.
    int getWarpX() const { return m_warpX; }
    int getWarpY() const { return m_warpY; }
    int warpCount() const { return m_warps; }

private:
    CCQueuedEventSource m_events;
    int m_desktopWidth;
    int m_desktopHeight;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    bool m_fullScreen = false;
    bool m_open = false;
    bool m_cursorVisible = true;
    int m_swaps = 0;
    bool m_workAreaSet = false;
    int m_workX = 0, m_workY = 0, m_workWidth = 0, m_workHeight = 0;
    int m_marginWidth = 0, m_marginHeight = 0;
    int m_x = 0, m_y = 0;
    int m_raises = 0;
    bool m_mouseCaptured = false;
    int m_warpX = 0, m_warpY = 0;
    int m_warps = 0;
};

} // namespace kvengine
