#pragma once

#include <memory>

#include "engine/platform/CCApplication.h"

namespace kvengine {
class CCGLWindow;
}

/// The game's application: opens the full-screen window with the design size that suits the
/// screen's proportions, sets up the director, shows the splash scene, and at the end releases
/// the game-wide shared objects, newest first.
///
/// There is one per process, kept by the program's entry for as long as the run loop lasts.
class AppDelegate : public kvengine::CCApplication {
public:
    AppDelegate() = default;
    /// Releases the shared objects that exist (none is made just to be released).
    ~AppDelegate() override;

    /// Registers the creatable classes, connects the game services (kvConnectGameServices) and
    /// opens the window and its GL context. False when the window or the context cannot be made
    /// (the reason is written on standard error).
    [[nodiscard]] bool initInstance() override;
    /// Hands the window to the director, sets the frame interval to 1/60 s, makes sure the game
    /// settings exist and runs the splash scene. Always true.
    bool finishLaunching() override;
    void pauseApplication() override;
    void resumeApplication() override;

    /// Whether a screen of this physical size gets the wide design size (960 x 600 points):
    /// three times its width over its height exceeds 4.5, i.e. it is wider than 3:2. A size that
    /// is not positive is not wide.
    static bool isWideScreen(float widthMillimetres, float heightMillimetres);

    /// Releases every shared object of the application's shutdown that exists, newest first (see
    /// KVSingletonObject). Safe to call more than once.
    static void releaseSharedObjects();

    /// The window title.
    static constexpr const char* kTitle = "Kelvos";

protected:
    /// The window the view is made on; null means the platform's own window.
    virtual std::unique_ptr<kvengine::CCGLWindow> makeWindow();
    /// The screen's physical size in millimetres; false when it cannot be known (the screen is
    /// then taken to have square pixels and the desktop's pixel proportions).
    virtual bool screenSize(float& widthMillimetres, float& heightMillimetres);
};
