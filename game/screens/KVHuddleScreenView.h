#pragma once

#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCScene;
}

/// The multiplayer set-up screen (state 8): the title, the pearl counter, three player-count
/// buttons (2, 3 and 4 players) that set the game setup's player count and open the world map on
/// the multiplayer maps (state 9), and a back button to the play-mode screen (state 6). The
/// buttons are centred at a quarter, a half and three quarters of the window's width, half-way up.
///
/// Children: background "Bg_Tiki" (z 0, tag 1), pearl counter (z 1, tag 779), back (z 1, tag 2),
/// title (z 1, tag 3), player-count buttons (z 2, tags 5, 6, 7).
class KVHuddleScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVHuddleScreenView, KVScreenView)

    enum Tag {
        kBackgroundTag = 1,
        kBackTag = 2,
        kTitleTag = 3,
        kTwoPlayersTag = 5,
        kThreePlayersTag = 6,
        kFourPlayersTag = 7,
        kPearlsTag = 779
    };

    /// A new autoreleased scene with a new set-up view at z 0.
    static kvengine::CCScene* createScene();

    KVHuddleScreenView();

    void twoPlayersChosen(kvengine::CCObject* sender);
    void threePlayersChosen(kvengine::CCObject* sender);
    void fourPlayersChosen(kvengine::CCObject* sender);
    /// The play-mode screen (state 6).
    void backChosen(kvengine::CCObject* sender);

private:
    /// The game setup's player count := players, then the world map.
    void playersChosen(int players);
};
