#pragma once

#include "game/data/KVDataAccess.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCNotification;
class CCScene;
class CCString;
} // namespace kvengine

/// The equipment screen (menu state 15): one creature of the roster at a time on a character card
/// (child 9), the helmets of its class in a portrait list (child 8), arrows that step through the
/// unlocked creatures, the pearl counter (child 12) and the way back to the troops screen.
///
/// The creature shown is the menu manager's selected creature; the arrows change that selection
/// and rebuild the card and the list. The screen pays for trainings (EVENT_KELVO_TRAIN_OK from the
/// card) and saves the profile whenever the worn helmet changes.
class KVEquipScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVEquipScreenView, KVScreenView)

    /// The view's tag in its scene.
    static constexpr int kViewTag = 9;
    /// Child tags.
    static constexpr int kHelmetListTag = 8;
    static constexpr int kCardTag = 9;
    static constexpr int kPearlCounterTag = 12;
    static constexpr int kBackButtonTag = 13;
    static constexpr int kPreviousArrowTag = 14;
    static constexpr int kNextArrowTag = 15;

    /// A new autoreleased scene with a new view at z 0, tag 9.
    static kvengine::CCScene* createScene();

    KVEquipScreenView();
    void onExit() override;

    /// Pays for a training the card asked for, or opens the pearl-lack pop-up.
    virtual void onKelvoTrainOk(kvengine::CCNotification* notification);

    /// The card and the helmet list of the selected creature.
    void buildCards();
    void removeCards();
    /// Moves the selection to the previous / next unlocked creature in name order, wrapping round.
    void selectPreviousKelvo();
    void selectNextKelvo();

    /// The card lets go of its figures and unloads the sheets it loaded (the screen is being left).
    void releaseCardSheets();

    void backPressed(kvengine::CCObject* sender);
    void previousPressed(kvengine::CCObject* sender);
    void nextPressed(kvengine::CCObject* sender);
    /// A helmet icon of the list was tapped (its user object is the helmet's name).
    void helmetChosen(kvengine::CCObject* icon);
    void helmetRemoved(kvengine::CCObject* sender);

    /// The creature's row of the creature-stats table with "level" and "status_selected" of its
    /// profile record (autoreleased); empty without a row.
    static kvdata::Dict* creatureEntry(kvengine::CCString* kelvoName);
    /// The sums of the stats of the helmets transferred to the selected creature (unlocked ones
    /// only), with "sprite_name" and "spritesheet_name" of the helmet (autoreleased); empty when the
    /// helmet has no row.
    static kvdata::Dict* helmetEntry(kvengine::CCString* helmetName);
    /// The helmet list's entries for the selected creature's class (helmets withdrawn for good left
    /// out); empty without a stats row or for a creature not in the lists.
    static kvdata::Dict* buildHelmetEntries();

private:
    /// True when the selected creature has a stats row and a profile record (logged otherwise).
    static bool selectedCreatureIsKnown();
    /// The selection after (step 1) or before (step -1) the selected creature.
    void stepSelection(int step);
    void refreshHelmetList();
};
