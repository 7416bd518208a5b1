#pragma once
#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCOrientation.h"
#include "engine/base/CCSingleton.h"
#include "engine/platform/CCClock.h"

#include <string>
#include <vector>

namespace kvengine {

class CCEGLView;
class CCLabelTTF;
class CCNode;
class CCScene;
class CCString;
class CCTexture2D;
class CCView;
template <typename T> class CCMutableArray;

/// Engine notification and key names (made on first use, alive to the end of the process).
CCString* ccEventKeyPress();   ///< "EVENT_KEY_PRESS"; object and user info: the key's name
CCString* ccEventPauseGame();  ///< "EVENT_PAUSE_GAME"
CCString* ccEventResumeGame(); ///< "EVENT_RESUME_GAME"
/// The name of key code 0-7 ("TOUCH_ESCAPE", "TOUCH_RIGHT", "TOUCH_LEFT", "TOUCH_UP", "TOUCH_DOWN",
/// "TOUCH_ADD", "TOUCH_SUBSTRAC", "TOUCH_SPACE"); null for any other code.
CCString* ccKeyName(unsigned code);

/// The engine's conductor: owns the running scene and the scene stack, runs one frame when the
/// run loop asks (mainLoop), computes the time step, ticks the scheduler, turns queued input
/// into touches and key notifications, draws, and swaps buffers. Also owns the projection, the
/// content scale factor (points to pixels), pause and resume.
///
/// There is one director, made by getInstance() and destroyed by destroyInstance() at shutdown.
class CCDirector : public CCSingleton<CCDirector, CCObject, kReleasedWithEngine> {
public:
    /// The projection codes; setProjection stores any other code too, without applying it.
    enum Projection { kProjection2D = 0, kProjection3D = 1 };
    /// The software cursor pictures; kCursorNone draws no cursor.
    enum Cursor {
        kCursorNone = -1,
        kCursorOpen = 0,
        kCursorOpenGrab,
        kCursorPinch,
        kCursorPinchReleased,
        kCursorPoint,
        kCursorPointPressed,
        kCursorCount
    };

    /// 1 when the picture uses the wide design size (960 x 600); set by the application.
    static int wideScreen;

    /// Explicit engine shutdown: purges the director (when not already purged), releases what it
    /// still holds and deletes it, then releases every shared object of the engine's shutdown (and
    /// those of the director's purge that exist without a director). Safe to call twice.
    /// Afterwards getInstance makes a new director.
    static void destroyInstance();
    /// Purges the director (when not already purged), releases what it still holds and deletes it.
    static void purgeInstance();
    /// The content scale factor without making the director: 1 while none exists. Code that only
    /// converts points and pixels uses it, so it never creates the director (and its pool) as a
    /// side effect.
    static float sharedContentScaleFactor();

    virtual bool init();
    /// Stores the interval; when animating, restarts the animation so the run loop uses it.
    virtual void setAnimationInterval(double seconds) = 0;
    virtual void stopAnimation() = 0;
    virtual void startAnimation() = 0;
    /// One frame; called by the run loop.
    virtual void mainLoop() = 0;

    /// The frame's work: delta, tick, input, scene switch, visit, overlays, swap.
    void drawScene();

    void runWithScene(CCScene* scene);
    void pushScene(CCScene* scene);
    /// Replaces the top of the stack; refused (logged) when the stack is empty.
    void replaceScene(CCScene* scene);
    CCScene* getRunningScene() const { return m_runningScene; }
    CCScene* getNextScene() const { return m_nextScene; }
    bool isSendCleanupToScene() const { return m_sendCleanupToScene; }

    void pause();
    void resume();
    bool isPaused() const { return m_paused; }
    /// Requests the purge; the next frame performs it.
    void end() { m_purgeRequested = true; }
    void purgeDirector();
    bool isPurgeRequested() const { return m_purgeRequested; }
    bool isPurged() const { return m_purged; }

    double getAnimationInterval() const { return m_animationInterval; }
    bool isAnimationInvalid() const { return m_invalid; }
    /// Seconds of the current frame's step.
    float getFrameDelta() const { return m_frameDelta; }
    unsigned getTotalFrames() const { return m_totalFrames; }

    // --- view, projection and sizes ---------------------------------------------------------
    /// Takes ownership of `view` (the previous view is destroyed).
    void setOpenGLView(CCEGLView* view);
    CCEGLView* getOpenGLView() const { return m_openGLView; }
    void setGLDefaultValues();
    void setProjection(Projection kind);
    Projection getProjection() const { return m_projection; }
    void updateOrientation();
    CCOrientation getOrientation() const { return m_orientation; }
    /// Turns the current GL matrix for `orientation` about the centre of a window of
    /// `sizeInPixels` (nothing for portrait).
    static void applyOrientationTransform(int orientation, const CCSize& sizeInPixels);
    void setContentScaleFactor(float factor);
    float getContentScaleFactor() const { return m_contentScaleFactor; }
    /// Content scale 2; always true.
    bool enableDoubleContentScale();
    bool isDoubleScale() const { return m_doubleScale; }
    /// Window size in points (width and height exchanged for orientations 2 and 3).
    CCSize getWinSize() const;
    CCSize getWinSizeInPixels() const;
    /// Sets the window size in points directly (used when no view exists, e.g. headless tests).
    void setWinSizeInPoints(const CCSize& size);
    CCPoint convertToGL(const CCPoint& uiPoint) const;
    CCPoint convertToUI(const CCPoint& glPoint) const;
    CCPoint convertDeltaToGL(const CCPoint& delta) const;
    /// Window height in pixels / 1.1566.
    float getZEye() const;

    // --- overlay views -----------------------------------------------------------------------
    /// Shows a view above the scene (retained, then entered); drawn after the scene, in the
    /// order added, and hit-tested from the last added.
    void addOverlayView(CCView* view);
    /// Takes the first occurrence away (exited, then released); nothing when absent.
    void removeOverlayView(CCView* view);
    /// Id of the last-added running overlay view whose box contains the GL point (edges
    /// included); 0 when none.
    int overlayViewIdAtPoint(const CCPoint& glPoint) const;
    const std::vector<CCView*>& getOverlayViews() const { return m_overlayViews; }

    // --- input from the window ---------------------------------------------------------------
    /// Appends a key code (0-7) for the next frame.
    void queueKeyCode(unsigned code) { m_keyCodes.push_back(code); }
    const std::vector<unsigned>& getQueuedKeyCodes() const { return m_keyCodes; }
    void setMousePosition(int x, int y) {
        m_mouseX = x;
        m_mouseY = y;
    }
    int getMouseX() const { return m_mouseX; }
    int getMouseY() const { return m_mouseY; }
    void requestPurge() { m_purgeRequested = true; }

    // --- cursor ------------------------------------------------------------------------------
    /// The states of setCursor (stored and passed as numbers).
    enum CursorState {
        kCursorStateOpen = 0, ///< 0-4: that picture, and the system cursor hidden
        kCursorStateOpenGrab = 1,
        kCursorStatePinch = 2,
        kCursorStatePinchReleased = 3,
        kCursorStatePoint = 4,
        kCursorStateButtonReleased = 5, ///< the pointer, unless the system cursor is shown
        kCursorStateButtonPressed = 6,  ///< the pressed pointer, unless the system cursor is shown
        kCursorStateHidden = 7,         ///< no cursor at all
        kCursorStateSystem = 8,         ///< the system cursor
    };
    /// Goes to a CursorState; any other number does nothing. The platform cursor is shown or
    /// hidden when the system-cursor flag changes.
    void setCursor(int state);
    /// Makes `cursor` the software cursor (kCursorNone: no cursor at all) and, when the system
    /// cursor is shown, hides it and clears the flag.
    void setCursorImage(Cursor cursor);
    bool isSystemCursorShown() const { return m_systemCursorShown; }
    /// The current software cursor picture, or kCursorNone.
    Cursor getCurrentCursor() const { return m_currentCursor; }
    /// The loaded picture of a cursor (null when it could not be loaded or is out of range).
    CCTexture2D* getCursorPicture(int cursor) const;

    // --- frame rate --------------------------------------------------------------------------
    void setDisplayFPS(bool display) { m_displayFPS = display; }
    /// Off: the frames still tick the scheduler, take input, change scenes and count, but draw
    /// nothing (the window's swap still ends each one). For runs that look at a few frames only.
    void setDrawsScene(bool draws) { m_drawsScene = draws; }
    bool drawsScene() const { return m_drawsScene; }
    bool isDisplayFPS() const { return m_displayFPS; }
    float getFrameRate() const { return m_frameRate; }
    /// The last frame rate as shown ("%.1f").
    const std::string& getFrameRateText() const { return m_frameRateText; }
    /// The label that shows the frame rate (owned by the director; null before a view is set,
    /// after a purge, or when it could not be made).
    CCLabelTTF* getFrameRateLabel() const { return m_frameRateLabel; }

protected:
    friend CCSingleton;
    /// The director of the run loop (CCDisplayLinkDirector), initialised.
    static CCDirector* makeSharedInstance();

    CCDirector() = default;
    ~CCDirector() override;

    void setNextScene();
    void calculateDeltaTime();
    void dispatchQueuedInput();
    void applyOrientation();
    void applyViewport(float w, float h);
    void showFrameRate();
    void makeFrameRateLabel();
    void releaseFrameRateLabel();
    void releaseEverything();
    void loadCursorPictures();
    void releaseCursorPictures();
    void drawCursor();
    /// Stores the system-cursor flag; the platform cursor follows when the flag changes.
    void setSystemCursorShown(bool shown);

    std::vector<unsigned> m_keyCodes;
    bool m_systemCursorShown = false;
    CCTexture2D* m_cursorPictures[kCursorCount] = {};
    Cursor m_currentCursor = kCursorNone;
    int m_mouseX = 0;
    int m_mouseY = 0;
    bool m_purgeRequested = false;
    bool m_purged = false;
    CCEGLView* m_openGLView = nullptr;
    double m_animationInterval = 1.0 / 60.0;
    double m_oldAnimationInterval = 1.0 / 60.0;
    bool m_displayFPS = false;
    bool m_drawsScene = true;
    float m_accumDt = 0.0f;
    float m_frameRate = 0.0f;
    bool m_paused = false;
    unsigned m_totalFrames = 0;
    unsigned m_framesSinceRate = 0;
    CCScene* m_runningScene = nullptr;
    CCScene* m_nextScene = nullptr;
    bool m_sendCleanupToScene = false;
    CCMutableArray<CCScene*>* m_scenesStack = nullptr;
    std::vector<CCView*> m_overlayViews;
    CCTimeVal m_lastUpdate;
    float m_frameDelta = 0.0f;
    Projection m_projection = kProjection3D;
    CCSize m_winSizeInPoints;
    CCSize m_winSizeInPixels;
    float m_contentScaleFactor = 1.0f;
    std::string m_frameRateText;
    CCLabelTTF* m_frameRateLabel = nullptr;
    CCOrientation m_orientation = kCCOrientationPortrait;
    bool m_contentScaleApplied = false;
    bool m_doubleScale = false;
    bool m_invalid = false;
};

/// The director class that is instantiated: frames are driven by the application's run loop.
class CCDisplayLinkDirector : public CCDirector {
public:
    void setAnimationInterval(double seconds) override;
    void stopAnimation() override;
    void startAnimation() override;
    void mainLoop() override;
};

} // namespace kvengine
