#pragma once

#include "engine/nodes/CCLayer.h"

namespace kvengine {
class CCScene;
}

/// The first screen: the picture "splash.png" in the middle of the window fades in (1.5 s),
/// holds (2 s), fades out (1.5 s) and is removed, and the menu manager then takes the screen
/// (state 22).
///
/// Its first update creates the game-wide shared objects the front end needs, so that their
/// loading happens while the picture is shown. Reports the class name "CCLayer".
class KVSplashScreen : public kvengine::CCLayer {
public:
    static constexpr int kPictureTag = 205;
    static constexpr int kPictureZOrder = 2000;
    static constexpr float kFadeInSeconds = 1.5f;
    static constexpr float kHoldSeconds = 2.0f;
    /// Time from the start of the scene to the start of the fade-out.
    static constexpr float kShowSeconds = 3.5f;
    static constexpr float kFadeOutSeconds = 1.5f;
    /// The menu state asked for at the end: the introduction video, or the main menu.
    static constexpr int kNextMenuState = 22;

    /// A new autoreleased splash layer; null when it cannot be made.
    static KVSplashScreen* create();
    /// A new autoreleased scene holding a new splash layer at z order 0; null on failure.
    static kvengine::CCScene* scene();

    KVSplashScreen();

    /// The per-frame step (`dt` in seconds): see the class comment.
    void update(float dt) override;
    /// Removes the picture (with cleanup) and the layer's touch registration.
    void onExit() override;

    float getElapsed() const { return m_elapsed; }
    bool isFadingOut() const { return m_fadingOut; }

    /// Makes each missing game-wide shared object, in the order the front end needs them.
    static void ensureSharedObjects();

private:
    float m_elapsed = 0.0f;
    bool m_fadingOut = false;
};
