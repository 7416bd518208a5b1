#pragma once

#include "engine/base/CCRetained.h"
#include "engine/nodes/CCLayerColor.h"

class KVGameModel;

/// The screen laid over a finished multiplayer match, whoever won: "Final Score", one line per
/// player-side kelvo with its player's points ("Player %d: %d", at y 220 - 40 x owner index, in
/// size 35 for the 3 points of a winner, else 25) and two text buttons, Restart (the same match
/// through a loading screen of kind 2) and Quit (the world map, kind 3). Positions are in points,
/// fixed, not scaled to the window. It changes nothing in the profile.
///
/// The layer claims every touch, so nothing reaches the finished game beneath; its buttons come
/// first.
class KVWinnerScreenLayer : public kvengine::CCLayerColor {
public:
    CC_DECLARE_CLASS_NAME(KVWinnerScreenLayer, kvengine::CCLayerColor)

    /// Tags of the title, the score lines (kFirstLineTag + owner index) and the button menu.
    enum Tag { kTitleTag = 1, kMenuTag = 2, kFirstLineTag = 10 };
    /// The points of a winner, which show in the large size.
    static constexpr int kWinningPoints = 3;

    /// The gameplay scene passes (0, 0, 0, 150), the window size and the finished match.
    KVWinnerScreenLayer(const kvengine::ccColor4B& color, float width, float height, KVGameModel* model);
    /// The same, autoreleased.
    static KVWinnerScreenLayer* create(const kvengine::ccColor4B& color, float width, float height,
                                       KVGameModel* model);
    void cleanupBeforeDelete() override;

    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    void onRestart(kvengine::CCObject* sender);
    void onQuit(kvengine::CCObject* sender);

private:
    kvengine::CCRetained<KVGameModel> m_gameModel;
};
