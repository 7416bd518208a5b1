#pragma once

#include <string>

#include "game/data/KVDataAccess.h"
#include "game/menu/KVPopUpItem.h"

namespace kvengine {
class CCScene;
class CCSprite;
class CCString;
} // namespace kvengine

/// The squad pop-up (menu state 16, laid over the running screen): the team members side by side
/// on the "Squad" frame, each idling in its helmet, at one to four fifths of the frame's width in
/// ascending name order. A tap on a member puts the menu manager's selected creature in the team
/// in its place (the newcomer takes the member's squad position), saves the profile and closes the
/// pop-up (state 19). A tap anywhere else does nothing: the pop-up keeps every touch (priority
/// -999) and has no cancel button. Nothing changes, and the pop-up closes, when there is no
/// selected creature, when it has no profile record or when it is in the team already.
///
/// Children: the dimmer (tag 1) and frame (tag 2) of pop-up kind 3, one empty sprite batch per
/// sheet used (z 100); on the frame, member k's figure (z 1, tag 20 + k) and helmet (tag 30 + k).
/// The view loads the creature and helmet sheets it needs and, on clean-up, unloads those that
/// were not loaded before it came.
class KVPopUpSquadScreenView : public KVPopUpItem {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpSquadScreenView, KVPopUpItem)

    static constexpr int kFigureTag = 20;
    static constexpr int kHelmetTag = 30;
    static constexpr int kBatchZ = 100;

    /// A new autoreleased scene holding a new view at z 0.
    static kvengine::CCScene* createScene();
    KVPopUpSquadScreenView();
    void cleanupBeforeDelete() override;

    /// A new autoreleased dictionary, creature name -> "sprite_name", "spritesheet_name" and, with
    /// a helmet worn, "helmet_spritesheet_name" and "helmet_sprite_name", for every team member
    /// of the game data.
    static kvdata::Dict* collectTeamDisplayData();
    /// The folder of a sheet: its name without "_ss", then without "_frontend".
    static std::string sheetFolderOf(const std::string& sheet);
    /// Loads a sheet's frames and adds an empty batch of its texture, once per view; a missing
    /// sheet is logged.
    void ensureSheetBatch(const std::string& sheet);
    bool hasSheetBatch(const std::string& sheet) const;
    /// A sprite playing the idle loop of `spriteName` for ever; null without its first frame.
    static kvengine::CCSprite* createIdleSprite(const std::string& spriteName);
    /// The team member whose "sprite_name" is `spriteName` (autoreleased), or null.
    static kvengine::CCString* findTeamMemberBySpriteName(const std::string& spriteName);

    void registerWithTouchDispatcher() override;
    /// Always claims the touch; a tap on a member makes the change.
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

private:
    /// The member index whose figure holds the scene point, or -1.
    int memberAt(const kvengine::CCPoint& point) const;
    void replaceMember(const std::string& member);

    kvdata::Dict* m_sheetBatches = nullptr;
    /// The sheets this view added to the frame cache.
    kvdata::Dict* m_ownSheets = nullptr;
};
