#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCValue.h"
#include "game/data/KVDataAccess.h"
#include "game/menu/KVMenuItem.h"
#include "game/menu/KVPortraitListOwner.h"

namespace kvengine {
class CCAction;
class CCNode;
class CCNotification;
class CCSprite;
class CCString;
} // namespace kvengine

/// The character card of the equipment screen: one creature of the roster with its animated figure
/// and helmet over a turning backdrop, its name, its level out of the maximum, five stats with the
/// bonuses of its helmets, and the train, transfer and brainwash buttons.
///
/// The card keeps no creature name of its own: every operation works on the menu manager's selected
/// creature, which the equipment screen keeps in step with the card. The screen adds the card at
/// (0, 0) with tag 9, so the card's child positions are screen positions.
///
///     KVCharacterItem* card = KVCharacterItem::createWithEntry(KVEquipScreenView::creatureEntry(name));
///     view->addChildAtZWithTag(card, 3, 9);
///     card->setupWithEntry(KVEquipScreenView::helmetEntry(wornHelmet));
///
/// Training takes two presses of the train button: the first shows the price and the next level's
/// gains, the second posts EVENT_KELVO_TRAIN_OK, which the screen answers by paying and posting
/// "Menu - Train Kelvo - Confirm" (the card then counts the rows up), or with the pearl-lack pop-up
/// (the card goes back to idle when the pop-up closes).
class KVCharacterItem : public KVMenuItem, public KVChosenHelmetIconHolder {
public:
    CC_DECLARE_CLASS_NAME(KVCharacterItem, KVMenuItem)

    /// Child tags.
    enum Tag {
        kCreatureFigureTag = 0,
        kHelmetFigureTag = 1,
        kNameMenuTag = 2,
        kValueMenuTag = 3,
        kLevelLabelTag = 6,
        kLevelValueTag = 7,
        kBrainwashButtonTag = 9,
        kFirstGainLabelTag = 51, ///< 51..55: the +N labels of rows 1..5
        kTrainButtonTag = 56,
        kLevelHighlightTag = 57,
        kTransferButtonTag = 58,
        kBackdropTag = 71,
    };
    /// Children of the train button's item.
    static constexpr int kTrainCaptionTag = 88;
    static constexpr int kTrainPearlTag = 89;
    /// The "new helmet" mark of a helmet icon.
    static constexpr int kHelmetIconBadgeTag = 28;
    static constexpr int kRowCount = 5;

    /// An autoreleased card of the creature entry (a row of the creature-stats table with "level"
    /// and "status_selected"); an empty card for null.
    static KVCharacterItem* createWithEntry(kvdata::Dict* creatureEntry);

    KVCharacterItem() = default;
    /// Builds the whole card; a null entry leaves it empty, with nothing registered.
    void initWithEntry(kvdata::Dict* creatureEntry);
    void cleanupBeforeDelete() override;

    // ---- sheets and figures ----
    /// Loads a sheet once and records it; only recorded sheets are unloaded.
    void loadSpriteSheet(kvengine::CCString* sheetName);
    void unloadSpriteSheet(kvengine::CCString* sheetName);
    /// Removes every child, then unloads the creature's sheet and, when it was shown, the helmet's.
    void unloadAllSpriteSheets();
    /// The idle figure of `spriteName` as child `figureTag` (0 the creature, scaled by the "kelvo"
    /// set's scale factor; 1 the helmet), with the turning backdrop once. Null (the old figure of the
    /// tag removed) when the first idle frame is missing; null for an empty name.
    kvengine::CCSprite* showFigure(kvengine::CCString* spriteName, int figureTag, bool scaled);

    // ---- level row and buttons ----
    /// Rebuilds the level labels, the train button (when there is one) and the brainwash button.
    /// Also the handler of EVENT_BRAIN_WASH_TRIGGERED (the argument is not used).
    virtual void refreshLevelRow(kvengine::CCNotification* notification = nullptr);
    /// The brainwash button stays while the level is above 1; it comes with a medusa in stock.
    void updateBrainwashButton();

    // ---- stats ----
    /// The five values at the creature's level, then the helmet applied again.
    void refreshStats();
    /// Makes `helmetEntry` the helmet shown (null keeps the current one): figures, bonus preview and
    /// transfer button for a helmet not transferred yet, and the helmet totals in the panel.
    void setupWithEntry(kvdata::Dict* helmetEntry);
    /// A "+N" label fading in beside the row's value.
    void showStatBonus(float value, int row);
    /// The +N labels of what the next level adds.
    void showNextLevelGains();
    /// The rows carrying a +N label pop and count up one after another, 0.3 s apart; then the panel
    /// is computed afresh.
    void playStatGains();
    /// One row's count step: the value shown becomes the row's value plus `amount`. The last row's
    /// step also plays the creature's voice.
    virtual void tickStat(kvengine::CCNode* valueItem, kvengine::CCValue<int>* amount);
    virtual void tickLastStat(kvengine::CCNode* valueItem, kvengine::CCValue<int>* amount);
    /// Removes a node from its parent (the end of a gain label's animation).
    void removeNode(kvengine::CCNode* node);

    // ---- actions ----
    void trainPressed(kvengine::CCObject* sender);
    virtual void onTrainConfirmed(kvengine::CCNotification* notification);
    /// Back to idle after the pop-up of a training that was not paid (cancelled or closed).
    virtual void onTrainPopUpCancelled(kvengine::CCNotification* notification);
    virtual void onCharacterItemUpdateNeeded(kvengine::CCNotification* notification);
    void transferPressed(kvengine::CCObject* sender);
    void removeHelmet();
    void brainwashPressed(kvengine::CCObject* sender);
    /// The cheering frames of `spriteName` as an action; null for an empty name.
    kvengine::CCAction* victoryAnimation(kvengine::CCString* spriteName);

    void setChosenHelmetIcon(KVPortraitIcon* icon) override;
    KVPortraitIcon* getChosenHelmetIcon() const { return m_chosenHelmetIcon; }

    kvdata::Dict* getCreatureStats() const { return m_creatureStats; }
    kvdata::Dict* getHelmetData() const { return m_helmetData; }
    kvdata::Array* getShownValues() const { return m_shownValues; }
    kvdata::Dict* getSheetsLoaded() const { return m_sheetsLoaded; }
    bool isTrainPreview() const { return m_trainPreview; }
    bool isGainsFromTraining() const { return m_gainsFromTraining; }
    /// The value item of a row (1..5), or null.
    kvengine::CCNode* valueItem(int row) const;
    /// The text a row's value item shows ("" without one).
    std::string valueText(int row) const;

    /// A point of the 800-wide layout on the current window: the wide window moves it by (64, -32).
    static kvengine::CCPoint layoutPoint(float x, float y);
    /// Whether the name is that of the mystery creature, whose numbers stay hidden.
    static bool isMysteryCreature(const std::string& name);
    /// Row 5's stat shown by the panel, and the stat that helmets raise, for a creature class.
    static std::string valueKey(int row, const std::string& className);
    static std::string bonusKey(int row, const std::string& className);

private:
    std::string selectedName() const;
    std::string creatureClass() const;
    /// A copy of the creature's stats at `level` (autoreleased; null without a row).
    kvdata::Dict* statsAtLevel(int level) const;
    int recordLevel() const;
    void setHelmetData(kvdata::Dict* entry);
    kvengine::CCString* helmetSheet() const;
    void removeGainLabels();
    void addTrainButton();
    void addTransferButton();
    void placeValue(int row, const std::string& text);
    void unregisterPopUpClosing();

    kvdata::Dict* m_sheetsLoaded = nullptr;
    kvdata::Dict* m_creatureStats = nullptr;
    kvdata::Dict* m_helmetData = nullptr;
    kvdata::Array* m_shownValues = nullptr;
    KVPortraitIcon* m_chosenHelmetIcon = nullptr;
    bool m_trainPreview = false;
    bool m_gainsFromTraining = false;
};
