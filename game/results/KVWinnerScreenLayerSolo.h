#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCRetained.h"
#include "engine/base/CCString.h"
#include "engine/input/CCGestureRecognizer.h"
#include "engine/nodes/CCLayerColor.h"

namespace kvengine {
class CCNotification;
class CCSprite;
class CCTapGestureRecognizer;
class CCView;
} // namespace kvengine
class KVGameModel;
class KVPearlCountItem;

/// The screen laid over a won solo mission.
///
/// Made, it records the win in the profile (KVMissionProgress), then presents the result: the
/// totem with its three star places slides in for 0.5 s, then every 1.5 s a row appears: secret
/// star, survival star, speed star, pearl loot. Each row brings a bubble, a description and a
/// reward; a star is stamped on the totem (a new one pays 500 pearls there and then), the pearl row
/// pays the match's loot (doubled with a "pearlfish"), and the pearl counter counts up after each
/// row. A tap skips to the final layout and pays what is left. Then the items the win unlocked or
/// locked and the mission's victory messages open one by one as item pop-ups (kinds 6, 7, 8); the
/// next tap clears the rows and shows Continue, Restart, Team and Shop, each leaving through a
/// loading screen (kinds 2, 3, 4, 5).
///
/// Children (tag): totem 2; per row i (0 secret, 1 survival, 2 speed, 3 pearls) bubble 4 + i,
/// description 8 + i, star 12 + i (not for the pearls), reward 15 + i; pearl counter 779. Taps
/// come through a full-window overlay view, taken away while pop-ups are open and once the buttons
/// show. The layer itself swallows every touch, so nothing reaches the finished game beneath.
class KVWinnerScreenLayerSolo : public kvengine::CCLayerColor {
public:
    CC_DECLARE_CLASS_NAME(KVWinnerScreenLayerSolo, kvengine::CCLayerColor)

    enum Tag {
        kTotemTag = 2,
        kBubbleTag = 4,
        kDescriptionTag = 8,
        kStarTag = 12,
        kRewardTag = 15,
        kPearlCounterTag = 779,
        kContinueTag = 30,
        kRestartTag = 31,
        kTeamTag = 32,
        kShopTag = 33,
    };
    static constexpr int kRows = 4;
    static constexpr int kPearlRow = 3;
    static constexpr int kStarReward = 500;
    /// Seconds of the totem's slide and of one row.
    static constexpr float kTotemSeconds = 0.5f;
    static constexpr float kRowSeconds = 1.5f;

    /// The gameplay scene passes (0, 0, 0, 150), the window size and the finished match.
    KVWinnerScreenLayerSolo(const kvengine::ccColor4B& color, float width, float height, KVGameModel* model);
    /// The same, autoreleased.
    static KVWinnerScreenLayerSolo* create(const kvengine::ccColor4B& color, float width, float height,
                                           KVGameModel* model);
    void cleanupBeforeDelete() override;

    /// Opens the next pop-up of the chain; observer of "EVENT_POP_UP_CLOSED".
    virtual void showNextRewardPopUp(kvengine::CCNotification* notification = nullptr);
    /// The overlay's tap: skips the presentation, or closes it once it is over.
    virtual void onTap(kvengine::CCGestureRecognizer* recognizer, kvengine::CCNode* node);

    void onExit() override;
    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    /// The next row, or the end of the presentation after the fourth.
    void showNextRow();
    /// Everything at its final place at once, the rest of the loot paid.
    void skipPresentation();
    /// Fades the rows out, then shows the buttons.
    void close();
    void showButtons();

    void onContinue(kvengine::CCObject* sender);
    void onRestart(kvengine::CCObject* sender);
    void onTeam(kvengine::CCObject* sender);
    void onShop(kvengine::CCObject* sender);

    bool isDone() const { return m_done; }
    bool isClosing() const { return m_closing; }
    int getRowsShown() const { return m_rowsShown; }
    /// Pearls announced and not yet paid.
    int getLoot() const { return m_loot; }
    kvengine::CCView* getOverlay() const { return m_overlay; }
    kvengine::CCMutableArray<kvengine::CCString*>* getUnlockedItems() const { return m_unlockedItems; }
    kvengine::CCMutableArray<kvengine::CCString*>* getLockedItems() const { return m_lockedItems; }
    kvengine::CCMutableArray<kvengine::CCString*>* getVictoryMessages() const { return m_victoryMessages; }
    /// Where row i lies, against the totem where it is now.
    float rowY(int row) const;
    /// The star results of the rows (0 not earned, 1 new, 2 earned before).
    int starResult(int row) const { return row >= 0 && row < kPearlRow ? m_starResults[row] : 0; }

private:
    void buildPearlRow();
    void buildStarRow(int row);
    void placeStar(int row);
    void stampStar(int row);
    void startPopUps();
    void payLoot(int amount);
    kvengine::CCSprite* totem() const;

    bool m_closing = false;
    kvengine::CCTapGestureRecognizer* m_tapRecognizer = nullptr;
    kvengine::CCRetained<KVGameModel> m_gameModel;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCString*>> m_unlockedItems;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCString*>> m_lockedItems;
    kvengine::CCRetained<kvengine::CCMutableArray<kvengine::CCString*>> m_victoryMessages;
    kvengine::CCRetained<kvengine::CCView> m_overlay;
    kvengine::CCRetained<KVPearlCountItem> m_pearlCounter;
    int m_rowsShown = 0;
    int m_loot = 0;
    bool m_done = false;
    bool m_observingPopUps = false;
    bool m_buttonsShown = false;
    int m_pearlAmount = 0;
    int m_starResults[3] = {0, 0, 0};
    float m_width = 0.0f;
    float m_height = 0.0f;
};
