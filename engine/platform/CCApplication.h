#pragma once
#include "engine/base/CCOrientation.h"

#include <cstdint>

namespace kvengine {

/// The application object: owns the run loop, which drains window events and runs one director
/// frame each time the frame interval has passed, measured on the shared monotonic clock.
///
/// The game derives its delegate from it. There is one shared application: the constructor
/// registers it, the destructor clears the registration.
class CCApplication {
public:
    CCApplication();
    virtual ~CCApplication();
    CCApplication(const CCApplication&) = delete;
    CCApplication& operator=(const CCApplication&) = delete;

    /// Creates the window (a CCEGLView); false stops the program.
    [[nodiscard]] virtual bool initInstance() = 0;
    /// Sets up the director and runs the first scene; false stops the program.
    virtual bool finishLaunching() = 0;
    virtual void pauseApplication() = 0;
    virtual void resumeApplication() = 0;

    /// The run loop. Returns the exit code of the quit request, or 1 (with a log line) when
    /// start-up fails.
    int run();
    /// The frame interval, in seconds.
    void setAnimationInterval(double seconds);
    /// The frame interval in ticks of the shared clock.
    int64_t getAnimationIntervalTicks() const { return m_intervalTicks; }
    /// The view's orientation (after a pending exchange), or the director's without a view.
    CCOrientation syncOrientationWithView();
    /// Ends the run loop before it takes its next event.
    void postQuitMessage(int exitCode);
    bool isQuitPosted() const { return m_quitPosted; }

    static CCApplication* getSharedApplication();

private:
    int64_t m_intervalTicks = 0;
    bool m_quitPosted = false;
    int m_exitCode = 0;
};

} // namespace kvengine
