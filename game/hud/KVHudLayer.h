#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/actions/CCCallFunc.h"
#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCNotification.h"
#include "game/menu/KVLayer.h"

namespace kvengine {
class CCAction;
class CCAnimate;
class CCMenu;
class CCMenuItemSprite;
class CCSprite;
class CCSpriteBatchNode;
} // namespace kvengine
class KVGameController;
class KVGameModel;
class KVHudComboSFX;
class KVHudPawnInfo;
class KVLabelWithShadow;
class KVPawn;

/// The heads-up display over a mission (z 1000, tag 8686 in the mission scene): the pause and
/// skip-turn buttons, the consumables bar, the out-of-screen bubble with its double-tap hint, the
/// turn, helmet and objective banners over their panel, and the pawn panel of solo missions.
///
/// Layout, in points of the design window (W x H):
///   pause button   (W/2 + 365, H/2 + 265), wide screen (W/2 + 439, H/2 + 265)
///   skip button    (W/2 + 320, H/2 + 265), wide screen (W/2 + 394, H/2 + 265), its hint below
///   bubble menu    (85, 50), tag 27; banners and their panel at the window's centre
///   consumables    toggle at (35.5, H/2 + 265), buttons flying out to the right of it
///
/// Members that were not built (the bubble with "HUDHideOOS", the bar without consumables, the
/// pawn panel with "HUDHideExceptOOS" or in multiplayer) are null, and every handler skips them.
///
/// The per-frame update alone shows and hides the skip button and the bar: they stay on screen
/// while the current pawn waits for the player (W: a human pawn, not selected, nothing busy, the
/// camera in manual mode, no dialogue) or is ready to be played (R: selected, not being pulled, no
/// dialogue and no combo shown). Node members are retained and let go of in cleanupBeforeDelete,
/// which also drops every observer.
class KVHudLayer : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVHudLayer, KVLayer)

    /// z and tag of the HUD in the mission scene.
    static constexpr int kZOrder = 1000;
    static constexpr int kTag = 8686;
    /// Tags of the out-of-screen menu and the skip-turn menu.
    static constexpr int kBubbleMenuTag = 27;
    static constexpr int kSkipMenuTag = 18;
    /// z of the pause screen over the HUD.
    static constexpr int kPauseZ = 2000;
    /// Seconds the pawn must wait off screen before the bubble shows.
    static constexpr float kBubbleDelay = 0.3f;
    /// The game font of the HUD's texts.
    static constexpr const char* kGameFont = "fonts/Kelvos-Kelvos.ttf";
    /// Number of consumables the bar knows.
    static constexpr int kConsumableCount = 6;
    /// The consumables in building order.
    static const char* const kConsumableNames[kConsumableCount];

    /// A new autoreleased HUD; null when it cannot be made.
    static KVHudLayer* create();
    /// The model the HUD follows (retained); a solo mission's first player pawn gets the pawn panel
    /// unless "HUDHideExceptOOS" is set.
    virtual void setGameModel(KVGameModel* model);
    KVGameModel* getGameModel() const { return m_model; }
    void cleanupBeforeDelete() override;
    /// Shows and hides the skip button, the bar and the bubble; refreshes the pawn panel.
    void update(float dt) override;

    /// Loads a sheet's frames once and adds its batch node at `z`; false (logged) when missing.
    bool addSpriteSheet(const std::string& sheetName, int z);

    // Observers (see KVHudLayerHandlers.cpp).
    virtual void onPawnUnselected(kvengine::CCNotification* notification);
    virtual void onPawnSelected(kvengine::CCNotification* notification);
    virtual void showTurnButtons();
    virtual void hideTurnButtons();
    virtual void onPowerupPickedUp(kvengine::CCNotification* notification);
    virtual void onMatchEnd(kvengine::CCNotification* notification);
    virtual void onInactivity(kvengine::CCNotification* notification);
    virtual void onActivity(kvengine::CCNotification* notification);
    virtual void onKelvoAttackModeAvailable(kvengine::CCNotification* notification);
    virtual void onKelvoAttackModeUnavailable(kvengine::CCNotification* notification);
    virtual void onAction(kvengine::CCNotification* notification);
    virtual void onPlayerMoveRemaining(kvengine::CCNotification* notification);
    virtual void onStartTurn(kvengine::CCNotification* notification);
    virtual void onTurnStartPlayerDisplay(kvengine::CCNotification* notification);
    virtual void onTurnStartEnemy(kvengine::CCNotification* notification);
    virtual void onTreasureChestHelmetReward(kvengine::CCNotification* notification);
    virtual void onMissionObjective(kvengine::CCNotification* notification);
    virtual void onChatterStart(kvengine::CCNotification* notification);
    virtual void onEndSpeech(kvengine::CCNotification* notification);
    virtual void onComboStart(kvengine::CCNotification* notification);
    virtual void onComboEnd(kvengine::CCNotification* notification);
    virtual void onConsumableStartHudFxMiracleTentacles(kvengine::CCNotification* notification);
    virtual void onConsumableStartHudFxTentacleGrip(kvengine::CCNotification* notification);
    virtual void onKeyPress(kvengine::CCNotification* notification);

    // Buttons.
    /// Opens the pause screen (z 2000) unless the game is paused or the match decided.
    void onPauseButton(kvengine::CCObject* sender);
    /// Asks the turn manager to end the turn ("EVENT_SKIP_TURN") unless the game is paused.
    void onSkipTurnButton(kvengine::CCObject* sender);
    void onOutOfScreenBubbleTapped(kvengine::CCObject* sender);

    // The out-of-screen bubble (nothing when it was not built).
    void showOutOfScreenBubble(KVPawn* pawn);
    void hideOutOfScreenBubble();
    void popOutOfScreenBubble(KVPawn* pawn);

    // The consumables bar (KVHudConsumables.cpp; nothing when it was not built).
    void toggleConsumablesBar(kvengine::CCObject* sender);
    void useMiracleTentacles(kvengine::CCObject* sender);
    void useTentacleGrip(kvengine::CCObject* sender);
    void useKraken(kvengine::CCObject* sender);
    void useCocktail(kvengine::CCObject* sender);
    void useSushi(kvengine::CCObject* sender);
    void useShuriken(kvengine::CCObject* sender);
    void endMiracleTentaclesEffect();
    void endTentacleGripEffect();
    void refreshConsumableButtons();
    void relayoutConsumableButtons();

    /// Where the bar's toggle stands.
    kvengine::CCPoint getBarOrigin() const;
    /// Where the open bar puts its k-th built button (slot order); `wrapHeight` is the third
    /// button's image height.
    kvengine::CCPoint barSlot(int k, float wrapHeight) const;

    // Read access for the scene and the tests.
    kvengine::CCMenuItemSprite* getPauseButton() const { return m_pauseButton; }
    kvengine::CCMenuItemSprite* getSkipButton() const { return m_skipButton; }
    KVLabelWithShadow* getSkipHint() const { return m_skipHint; }
    kvengine::CCSprite* getBubble() const { return m_bubble; }
    kvengine::CCSprite* getBubblePortrait() const { return m_bubblePortrait; }
    kvengine::CCMenu* getBubbleMenu() const { return m_bubbleMenu; }
    kvengine::CCSprite* getDoubleTapHint() const { return m_doubleTap; }
    KVLabelWithShadow* getTurnLabel() const { return m_turnLabel; }
    KVLabelWithShadow* getHelmetLabel() const { return m_helmetLabel; }
    KVLabelWithShadow* getObjectiveLabel() const { return m_objectiveLabel; }
    kvengine::CCSprite* getBannerPanel() const { return m_bannerPanel; }
    KVHudPawnInfo* getPawnInfo() const { return m_pawnInfo; }
    kvengine::CCNode* getConsumablesBar() const { return m_bar; }
    kvengine::CCMenuItemSprite* getConsumablesToggle() const { return m_barToggle; }
    KVLabelWithShadow* getInventoryLabel() const { return m_inventoryLabel; }
    /// The button of consumable `index` (kConsumableNames order), null when not built.
    kvengine::CCMenuItemSprite* getConsumableButton(int index) const { return m_consumableButtons[index]; }
    KVLabelWithShadow* getConsumableCount(int index) const { return m_consumableCounts[index]; }
    kvengine::CCSprite* getTentacleGripEffect() const { return m_gripEffect; }
    kvengine::CCSprite* getMiracleTentaclesEffect() const { return m_miracleEffect; }
    bool isConsumablesBarOpen() const { return m_barOpen; }
    bool isSkipRequested() const { return m_skipRequested; }
    bool isComboShowing() const { return m_comboShowing; }
    KVHudComboSFX* getComboDisplay() const { return m_comboDisplay; }

protected:
    KVHudLayer() = default;
    /// The build of the HUD; false when the engine layer cannot be made.
    bool build();

private:
    using SheetDict = kvengine::CCMutableDictionary<std::string, kvengine::CCSpriteBatchNode*>;

    void buildOutOfScreenBubble();
    void buildPauseButton(const kvengine::CCSize& window);
    void buildSkipButton(const kvengine::CCSize& window);
    void buildBanners(const kvengine::CCSize& window);
    void buildConsumablesBar(const kvengine::CCSize& window);
    void observe(kvengine::CCString* name, kvengine::SEL_Notification selector);

    /// The banner routine: the panel and `label` fade in, stay 2 s and fade out.
    void showBanner(KVLabelWithShadow* label);
    /// The game controller of the scene the HUD is in, or null.
    KVGameController* getGameController() const;
    bool isGamePaused() const;
    bool isMatchDecided() const;
    /// A dialogue is shown.
    static bool isChatterRunning();
    void popBubble(KVPawn* pawn, bool refocus);

    // The bar's button update after a use, and its buttons by kind (index into the arrays).
    void useConsumable(int index, bool tentacle);
    void updateConsumableButton(int index);
    void startTentacleEffect(kvengine::CCSprite* effect, kvengine::SEL_CallFunc end);
    void endTentacleEffect(kvengine::CCSprite* effect, int index, int otherIndex);
    void removeConsumableButton(kvengine::CCNode* sender);
    /// End of a fade-out: the node leaves its parent (without clean-up).
    void removeFaded(kvengine::CCNode* node);

    float m_bubbleTimer = 0.0f;
    kvengine::CCRetained<KVGameModel> m_model;
    kvengine::CCRetained<kvengine::CCMenuItemSprite> m_skipButton;
    kvengine::CCRetained<KVLabelWithShadow> m_skipHint;
    kvengine::CCRetained<kvengine::CCMenuItemSprite> m_pauseButton;
    kvengine::CCRetained<kvengine::CCMenuItemSprite> m_barToggle;
    kvengine::CCRetained<KVLabelWithShadow> m_inventoryLabel;
    kvengine::CCRetained<kvengine::CCMenuItemSprite> m_consumableButtons[kConsumableCount];
    kvengine::CCRetained<KVLabelWithShadow> m_consumableCounts[kConsumableCount];
    bool m_barOpen = false;
    kvengine::CCRetained<SheetDict> m_sheets;
    int m_nextSheetTag = 1000;
    kvengine::CCRetained<KVHudPawnInfo> m_pawnInfo;
    kvengine::CCRetained<KVHudComboSFX> m_comboDisplay;
    kvengine::CCRetained<kvengine::CCSprite> m_bubble;
    kvengine::CCRetained<kvengine::CCAnimate> m_bubblePop;
    kvengine::CCRetained<kvengine::CCSprite> m_bubblePortrait;
    kvengine::CCRetained<kvengine::CCMenu> m_bubbleMenu;
    kvengine::CCRetained<kvengine::CCSprite> m_doubleTap;
    kvengine::CCRetained<kvengine::CCAction> m_doubleTapAction;
    kvengine::CCRetained<KVLabelWithShadow> m_turnLabel;
    kvengine::CCRetained<KVLabelWithShadow> m_helmetLabel;
    kvengine::CCRetained<KVLabelWithShadow> m_objectiveLabel;
    kvengine::CCRetained<kvengine::CCSprite> m_bannerPanel;
    kvengine::CCRetained<kvengine::CCSprite> m_gripEffect;
    kvengine::CCRetained<kvengine::CCSprite> m_miracleEffect;
    kvengine::CCRetained<kvengine::CCSprite> m_krakenEffect;
    kvengine::CCRetained<kvengine::CCNode> m_bar;
    bool m_skipRequested = false;
    bool m_comboShowing = false;
};
