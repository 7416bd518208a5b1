#pragma once

#include "game/data/KVDataAccess.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCScene;
}
class KVScrollItem;

/// The chapter screen (state 7): the solo chapters as a row of chapter cards (KVScrollItem), the
/// pearl counter and a back button to the main menu. Choosing an open chapter makes it the menu
/// manager's chapter and opens the world map (state 9) on its missions.
///
/// Children: background "KV_Fond" (z 0, tag 1), pearl counter (z 1, tag 779), back button (z 1,
/// tag 2), chapter list (z 2, tag 4). Leaving the screen removes every child, so the list takes its
/// overlay views off the director then.
class KVStoryScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVStoryScreenView, KVScreenView)

    enum Tag { kBackgroundTag = 1, kBackTag = 2, kListTag = 4, kPearlsTag = 779 };

    /// A new autoreleased scene with a new chapter view at z 0.
    static kvengine::CCScene* createScene();

    KVStoryScreenView();
    void onExit() override;

    /// Chapter key -> entry for the chapter list (autoreleased): "status_locked" and
    /// "status_played" from the profile's chapter record, "sprite_name", "mission_list" and
    /// "item_number" from the chapter's definition (each only when there), and "title_name"
    /// "Story_Screen_<chapter>".
    static kvdata::Dict* buildChapterDictionary();

    /// The chapter list's activation target: clicks, stores the chapter (a CCString) in the menu
    /// manager and opens the world map. A missing name is refused (logged).
    void chapterChosen(kvengine::CCNode* node, void* chapterName);
    /// Back to the main menu (state 2).
    void backChosen(kvengine::CCObject* sender);

    KVScrollItem* getChapterList() const;
};
