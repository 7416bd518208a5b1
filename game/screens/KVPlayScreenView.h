#pragma once

#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCScene;
}

/// The play-mode screen (states 5 and 6): the story card, the greyed multiplayer picture, the
/// pearl counter, a replay button (the introduction video, state 23) and a back button to the main
/// menu (state 2). The story card is a plain card, so it is shown disabled: only the two buttons
/// react.
///
/// Children: background "Bg_Tiki" (z 0, tag 1), pearl counter (z 1, tag 779), back (z 1, tag 2),
/// replay (z 1, tag 3), story card menu (z 2, tag 4), multiplayer picture (z 2, tag 5).
class KVPlayScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVPlayScreenView, KVScreenView)

    enum Tag {
        kBackgroundTag = 1,
        kBackTag = 2,
        kReplayTag = 3,
        kStoryCardTag = 4,
        kMultiplayerTag = 5,
        kPearlsTag = 779
    };

    /// A new autoreleased scene with a new play-mode view at z 0.
    static kvengine::CCScene* createScene();

    KVPlayScreenView();

    /// The backdrop of the play-mode and multiplayer set-up screens: "Bg_Tiki" from the bottom-left
    /// corner (z 0, kBackgroundTag) and the pearl counter, large or small, its bottom-right corner
    /// at (656, 172), or (720, 140) in a wide window (z 1, kPearlsTag).
    static void addTikiBackdrop(kvengine::CCNode* view, bool largePearls);

    /// The story card's selector: clicks, then the chapter screen (state 7).
    void storyChosen(kvengine::CCObject* sender);
    /// The introduction video (state 23).
    void replayChosen(kvengine::CCObject* sender);
    /// The main menu (state 2).
    void backChosen(kvengine::CCObject* sender);
};
