#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/nodes/CCMenuItem.h"
#include "game/data/KVDataAccess.h"
#include "game/menu/KVCardCarouselOwner.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCAction;
class CCMenu;
class CCNotification;
class CCScene;
class CCSprite;
class CCString;
} // namespace kvengine
class KVScrollScalableItem;

/// The troops screen (states 11 and 13): the team row of four slots, each with its creature idling
/// in its helmet and its class icon, above a carousel of creature cards (owned creatures, creatures
/// offered in the shop with a padlock, locked creatures as hidden cards) with the current card's
/// name and two page arrows (and the left and right keys).
///
/// The player drags a creature from a card into a slot (taking the place of its occupant), drags
/// team members between slots (they swap) or out of the row (unless it is the last one), taps a
/// card or a slot to open the creature's equipment screen (the shop for a creature not owned yet),
/// and leaves by Back (world map) or Shop. The team lives in the profile: a member's "status_selected"
/// is 1 and its "turnSpeed" its slot, 1 to 4 from the left (5: a member without a slot). Every
/// change of the team is saved, and so is the slot order when the screen is left.
///
/// Touches reach the view through the carousel (KVCardCarouselOwner). `touchState`: 1 idle, 2 an
/// owned creature's card pressed, 3 a shop creature's card pressed, 4 a filled slot pressed, 5 a
/// creature taken from a card dragged, 6 a team member dragged, 7 a drop's animations run, 9 idle
/// while a slide of the row still runs.
///
/// Tutorial: with a pending step on the team ("placeInTeam", "placeInTeamLastPosition") a hand
/// drags from the card (or slot) to the slot to fill (tag 9); a step that leads to the shop puts a
/// double-tap hint on the Shop button (tag 10, or 5001 after a validated step).
///
/// The view loads the sheets of the creatures and helmets it shows and unloads them on the ways out
/// (releaseTeamFigures).
class KVTroopsScreenView : public KVScreenView, public KVCardCarouselOwner {
public:
    CC_DECLARE_CLASS_NAME(KVTroopsScreenView, KVScreenView)

    enum Tag {
        kNoTag = -1,
        kBackTag = 2,
        kTitleTag = 3,
        kPanelTag = 5,
        kCarouselTag = 6,
        kNameTag = 7,
        kShopTag = 8,
        kHandTag = 9,
        kShopHintTag = 10,
        kFadingFigureTag = 90,
        kFadingHelmetTag = 91,
        kFadingIconTag = 92,
        kDragFigureTag = 250,
        kDragHelmetTag = 251,
        kShopStepHintTag = 5001,
    };
    static constexpr int kFigureTag = 20;
    static constexpr int kHelmetTag = 30;
    static constexpr int kIconTag = 130;
    static constexpr int kSlotCount = 4;
    /// Added around the shown frame's height in the slot hit test.
    static constexpr float kSlotMargin = 50.0f;
    static constexpr float kSlotPitch = 90.0f;
    /// The page arrows move the cards by one card.
    static constexpr float kPageStep = 66.0f;
    static constexpr float kFrameSeconds = 0.083f;

    enum TouchState {
        kIdle = 1,
        kOwnedCardPressed = 2,
        kShopCardPressed = 3,
        kSlotPressed = 4,
        kDraggingFromCard = 5,
        kDraggingMember = 6,
        kDropAnimating = 7,
        kIdleWhileSliding = 9,
    };

    /// A new autoreleased scene holding a new troops screen at z 0.
    static kvengine::CCScene* createScene();
    /// Builds the whole screen (background, buttons, cards, name, arrows, panel, title, team row).
    KVTroopsScreenView();
    void cleanupBeforeDelete() override;
    void onEnterTransitionDidFinish() override;
    /// Writes the slot order to the profile and saves it.
    void onExit() override;

    // ---- lookups (autoreleased, built from the game data and the profile each time) ----
    /// Creature name -> "status_locked", "item_number", "sprite_name", "status_selected".
    static kvdata::Dict* buildCardEntries();
    /// Creature name -> "sprite_name", "spritesheet_name", "selected" and, with a helmet worn,
    /// "helmet_spritesheet_name" and "helmet_sprite_name".
    static kvdata::Dict* buildRoster();
    /// The sheet of a roster entry's helmet at full size ("_frontend_ss" -> "_ss"); "" without one.
    static std::string helmetSheetOf(kvdata::Dict* rosterEntry);
    /// Every character after a space upper-cased.
    static std::string titleCaseWords(const std::string& text);
    /// The title a creature goes by: its catalogue title, else its localised name, else the name,
    /// every word capitalised.
    static std::string kelvoTitle(const std::string& name);
    /// Centre of a slot's figure and of its class icon, for the current window width.
    static kvengine::CCPoint slotPosition(int slot);
    static kvengine::CCPoint iconPosition(int slot);

    bool isSelectedInTeam() const;
    int teamIndexOf(const std::string& name) const;
    /// The creature name of a slot ("" for an empty slot or a bad index).
    std::string teamName(int slot) const;

    // ---- sprite sheets ----
    void loadSpriteSheet(const std::string& sheetName);
    void unloadSpriteSheet(const std::string& sheetName);
    bool isSheetLoaded(const std::string& sheetName) const;
    /// Removes the slot figures and helmets and unloads their sheets.
    void releaseTeamFigures();

    // ---- buttons, arrows and keys ----
    void backPressed(kvengine::CCObject* sender);
    void shopPressed(kvengine::CCObject* sender);
    void previousPage(kvengine::CCObject* sender);
    void nextPage(kvengine::CCObject* sender);

    // ---- the view's operations, in slot order ----
    virtual void showPlacementHintIfNeeded(kvengine::CCNotification* notification);
    void onTouchBeganOffCard(float x, float y) override;
    void onTouchBeganOnCard(float x, float y, kvengine::CCString* name, int lockStatus) override;
    void onTouchEndedOffCard(float x, float y) override;
    void onTouchEndedOnCard(float x, float y, kvengine::CCString* name, int lockStatus) override;
    void cancelDrag() override;
    void onCardsScrolled(float x, float y) override;
    void onPanFinished() override;
    void onDragAbandoned() override;
    /// Taps are handled by the touch relays: nothing.
    void onCardActivated(kvengine::CCNode* node, void* name) override;
    void onCardChanged(kvengine::CCString* name) override;
    virtual void showShopHintOnStep(kvengine::CCNotification* notification);
    virtual void onKeyPress(kvengine::CCNotification* notification);
    bool isDragInProgress() const override { return dragInProgress; }

    // ---- figures and animations of the team row ----
    kvengine::CCAction* createIdleAnimation(const std::string& spriteName);
    kvengine::CCAction* createHitAnimation(const std::string& spriteName);
    kvengine::CCAction* createVictoryAnimation(const std::string& spriteName);
    kvengine::CCSprite* createIdleFigure(const std::string& spriteName, int tag);
    kvengine::CCSprite* createHitFigure(const std::string& spriteName);
    /// The first slot's creature whose idle frame exists, or "".
    std::string firstShownTeamMember() const;
    /// The slot whose hit area holds the point, or -1 (nothing shown in the row).
    int teamSlotAtPoint(const kvengine::CCPoint& p) const;
    /// The slot hit test for a shown frame size: within (height + 100) / 2 of the row and
    /// (width + 90) / 2 of a slot's centre; the nearer slot where two areas overlap.
    static int slotAtPoint(const kvengine::CCPoint& p, const kvengine::CCSize& frame);
    bool isHelmetWornInTeam(const std::string& helmetSpriteName) const;
    void createDragFigures(const std::string& name);
    void snapDragToTargetSlot();
    void playVictoryOnTargetSlot();
    void playTeamIdle();
    void fadeOutDragFigures();
    void fadeOutSlot(int slot);
    void moveOccupantToSlot(int slot);
    void showClassIcon();
    void fadeOutClassIcon(int slot);
    void slideClassIcon(int fromSlot);
    void onSlideFinished();

    // ---- tutorial ----
    void showPlacementHint();

    // ---- state, read by tests ----
    int getTouchState() const { return touchState; }
    int getTargetSlot() const { return targetSlot; }
    int getPageIndex() const { return pageIndex; }
    int getLastPageIndex() const { return lastPageIndex; }
    bool isInputBlocked() const { return inputBlocked; }
    bool isAnimating() const { return animating; }
    kvengine::CCString* getSelectedName() const { return selectedName; }
    kvengine::CCPoint getDragPosition() const { return dragPosition; }
    kvengine::CCSprite* getDragFigure() const { return dragFigure; }
    kvengine::CCSprite* getDragHelmet() const { return dragHelmet; }
    kvengine::CCMenu* getPreviousArrowMenu() const { return previousArrowMenu; }
    kvengine::CCMenu* getNextArrowMenu() const { return nextArrowMenu; }
    KVScrollScalableItem* getCardCarousel() const { return cardCarousel; }

    void setHelmetSprite(kvengine::CCSprite* helmet);
    void setSelectedName(kvengine::CCString* name);

    /// The "sprite_name" and the "Class" of a creature in the game data ("" when missing).
    static std::string spriteOf(const std::string& creature);
    static std::string classOf(const std::string& creature);
    /// The double-tap hint over a button's item (an autoreleased sprite, not added), or null.
    static kvengine::CCSprite* makeShopHint(kvengine::CCNode* item);

private:
    void setDragFigure(kvengine::CCSprite* figure);
    void buildTeamRow();
    void fillSlot(int slot, const std::string& name, kvdata::Dict* roster);
    void stopGlidingOnFirstStep();
    /// Leaves for another state: input blocked, team figures released, profile saved by onExit.
    void leaveFor(int stateId);
    /// The placement hint again in half a second, when the tutorial's step is on this screen.
    void scheduleHintIfStepPending();
    void setCursor(bool grab);
    /// What the card carousel's scroll view reports for where it is now (its offset, negated).
    kvengine::CCPoint scrollPointNow() const;
    /// The card of a creature in the carousel, or null.
    kvengine::CCNode* cardOf(const std::string& name) const;
    kvengine::CCPoint cardPosition(kvengine::CCNode* card) const;
    /// Removes a node that has finished its way out (a call action's target).
    void discardNode(kvengine::CCNode* node);
    void setTeamName(int slot, const std::string& name);
    /// Stores the creature as the one to show next ("last_visited_kelvo" and the menu manager).
    void rememberSelected(kvengine::CCString* name);

    bool inputBlocked = false;
    int lastPageIndex = 0;
    int pageIndex = 0;
    kvengine::CCMenu* previousArrowMenu = nullptr;
    kvengine::CCMenu* nextArrowMenu = nullptr;
    bool arrowsUntouched = true;
    kvengine::CCSprite* dragFigure = nullptr;
    kvengine::CCSprite* dragHelmet = nullptr;
    kvengine::CCPoint dragPosition;
    kvdata::Dict* sheetsLoaded = nullptr;
    kvdata::Array* teamNames = nullptr;
    int targetSlot = 0;
    kvengine::CCPoint lastScrollPoint;
    bool dragInProgress = false;
    int touchState = kIdle;
    kvengine::CCString* selectedName = nullptr;
    bool animating = false;
    KVScrollScalableItem* cardCarousel = nullptr;
};
