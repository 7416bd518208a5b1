#pragma once
#include "engine/base/CCGeometry.h"
#include "engine/base/CCOrientation.h"
#include "engine/platform/CCGLWindow.h"
#include "engine/platform/CCPlatformEvent.h"

#include <memory>
#include <vector>

namespace kvengine {

class CCSet;
class CCTouch;
class EGLTouchDelegate;

/// Where the picture lies in the window's client area, in pixels (right and bottom exclusive).
struct CCPictureRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    /// Left and top edges inclusive, right and bottom exclusive.
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

/// The window and its GL context, the mapping of the design frame onto the screen, and the
/// translation of window events into the engine's input: a queue of mouse events that becomes
/// one touch per frame, key codes for the director, and typed text for the text-input
/// dispatcher.
///
/// The design frame is given portrait (600 x 800 or 600 x 960) and shown exchanged once the
/// director syncs the orientation. In full screen the picture covers the whole desktop,
/// stretched independently in x and y.
///
/// Ownership: the view owns its window; the director owns the view once it is handed over
/// (CCDirector::setOpenGLView). The touch delegate is not owned.
class CCEGLView {
public:
    enum MouseKind { kMousePress = 0, kMouseMove = 1, kMouseRelease = 2 };
    struct MouseEvent {
        float x, y; ///< client pixels, signed (a drag past the left or top edge is negative)
        int kind;
    };
    /// Releases that may wait in the queue; further mouse input is dropped meanwhile.
    static constexpr int kMaxPendingReleases = 4;

    /// `window` null: the platform window (SDL). Tests pass a CCHeadlessWindow.
    explicit CCEGLView(std::unique_ptr<CCGLWindow> window = nullptr);
    virtual ~CCEGLView();
    CCEGLView(const CCEGLView&) = delete;
    CCEGLView& operator=(const CCEGLView&) = delete;

    /// Opens the window and its GL context for the design frame (portrait: width < height) and
    /// becomes the shared view. False, with a log line, when a window exists already or the
    /// window or context cannot be made.
    [[nodiscard]] virtual bool create(const char* title, int frameWidth, int frameHeight);
    /// Applies one window event (see the class comment).
    void handleEvent(const CCPlatformEvent& event);
    /// Takes the next waiting window event; false when none waits or no window is open.
    bool pollEvent(CCPlatformEvent& out);

    void resize(int width, int height);
    void setFrameZoom(float factor);
    /// Applies a pending width/height exchange; returns the orientation code.
    CCOrientation syncOrientation();
    /// glViewport for a rectangle in the director's pixels, mapped into the picture.
    void setViewPortInPoints(float x, float y, float w, float h);
    /// Centres a windowed window (frame included) in the desktop's work area; a window larger
    /// than the work area goes to its top-left corner. Full screen: nothing to do.
    void centerWindow();
    /// Raises the window and gives it the input focus.
    void bringToForeground();
    void show();
    /// Delivers the queued mouse events as touches, up to and including the first release.
    void dispatchQueuedTouches();
    /// The frame size (exchanged when the orientation is swapped).
    CCSize getSize() const;
    void swapBuffers();
    /// Closes the window and context and releases the touch; the view is not usable afterwards.
    /// Posts the quit request to the application.
    void destroyWindowAndContext();

    static CCEGLView* getSharedView();
    void setTouchDelegate(EGLTouchDelegate* delegate) { m_touchDelegate = delegate; }
    EGLTouchDelegate* getTouchDelegate() const { return m_touchDelegate; }
    bool canSetContentScaleFactor() const { return true; }
    CCGLWindow* getWindow() const { return m_window.get(); }
    bool hasGLContext() const { return m_window && m_window->hasGLContext(); }

    /// Full screen must be chosen before create (the program always uses it).
    void setFullScreen(bool fullScreen) { m_fullScreen = fullScreen; }
    bool isFullScreen() const { return m_fullScreen; }
    void setKeysBlocked(bool blocked) { m_keysBlocked = blocked; }
    bool areKeysBlocked() const { return m_keysBlocked; }
    void setPauseOnFocusLoss(bool pause) { m_pauseOnFocusLoss = pause; }
    bool isPauseOnFocusLoss() const { return m_pauseOnFocusLoss; }
    bool isOrientationSwapped() const { return m_orientationSwapped; }
    float getScaleX() const { return m_scaleX; }
    float getScaleY() const { return m_scaleY; }
    const CCPictureRect& getPictureRect() const { return m_pictureRect; }
    const std::vector<MouseEvent>& getQueuedMouseEvents() const { return m_mouseEvents; }
    int getPendingReleases() const { return m_pendingReleases; }
    bool isButtonDown() const { return m_buttonDown; }
    bool isAltMode() const { return m_altMode; }
    bool isCaptured() const { return m_captured; }
    CCTouch* getTouch() const { return m_touch; }

private:
    void handleKeyDown(CCKey key);
    void handleText(const char* utf8);
    void handleMouseMove(const CCPlatformEvent& event);
    void handleMouseDown(const CCPlatformEvent& event);
    void handleMouseUp(const CCPlatformEvent& event);
    void computePictureRect(int availableWidth, int availableHeight);
    void setCaptured(bool captured);

    std::vector<MouseEvent> m_mouseEvents;
    int m_pendingReleases = 0;
    bool m_keysBlocked = false;
    bool m_pauseOnFocusLoss = false;
    bool m_buttonDown = false;
    bool m_altMode = false;
    bool m_captured = false;
    int m_pointerX = 0; ///< where the last press or move was, client pixels
    int m_pointerY = 0;
    bool m_orientationSwapped = false;
    bool m_swapWanted = false;
    CCSet* m_touchSet = nullptr;
    CCTouch* m_touch = nullptr;
    EGLTouchDelegate* m_touchDelegate = nullptr;
    std::unique_ptr<CCGLWindow> m_window;
    CCOrientation m_orientation = kCCOrientationPortrait;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    CCPictureRect m_pictureRect;
    bool m_fullScreen = false;
};

} // namespace kvengine
