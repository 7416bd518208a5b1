#pragma once

#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCEvent;
class CCLayer;
class CCMenuItemSprite;
class CCNotification;
class CCScene;
class CCString;
class CCTouch;
} // namespace kvengine

/// The options screen (state 4): three tabs in one frame.
///
/// - Sound (mode 1): two sliders, effects and music. A slider value v (0..1) is kept in the
///   profile ("SFX_Volume", "Music_Volume"); the sound manager plays at v * v. The music follows
///   the finger; the effects are applied when it lifts, with a test sound. A button opens the
///   soundtrack page in the web browser.
/// - Help (mode 3): the sixteen help dialogues by title in the choice list; View plays the selected
///   one over the screen (the menu manager's dialogue state) and the tab comes back with the same
///   entry when it ends. Write-to-us does nothing here; two buttons open the community pages.
/// - Language (mode 4): the five languages in the choice list; Select asks the language question
///   (item pop-up kind 15), whose OK switches the language and builds the screen anew.
///
/// The screen opens on the help tab with the second entry selected, or on the language tab once
/// a language change has been asked for in this run.
///
/// The choice list shows four rows of a longer list under a highlight frame that stays on its
/// row: the arrows (and a finger slid past the rows) scroll the entries under it, so scrolling
/// moves the selection with it.
///
/// Children of the view: background (z 0, tag 1), back button (z 2, tag 2), lower panel (z 1,
/// tag 3), upper panel (z 3, tag 4), tab buttons (menus at z 2, tags 5 help, 9 sound, 11
/// language, each holding its item with tag 1) over their highlights (z 1, tags 6, 10, 12), and
/// the tab layer (tag 13; z 3 sound, z 4 help and language). The view takes touches as a targeted
/// delegate at priority 0, after the menus.
class KVOptionsScreenView : public KVScreenView {
public:
    CC_DECLARE_CLASS_NAME(KVOptionsScreenView, KVScreenView)

    enum Mode { kSoundMode = 1, kHelpMode = 3, kLanguageMode = 4 };
    enum DragState { kIdle = 1, kDraggingEffects = 2, kDraggingMusic = 3, kTouchingList = 4 };
    enum Tag {
        kBackgroundTag = 1,
        kBackTag = 2,
        kLowerPanelTag = 3,
        kUpperPanelTag = 4,
        kHelpTabTag = 5,
        kHelpHighlightTag = 6,
        kSoundTabTag = 9,
        kSoundHighlightTag = 10,
        kLanguageTabTag = 11,
        kLanguageHighlightTag = 12,
        kTabLayerTag = 13,
        // In the tab layer.
        kEffectsTrackTag = 14,
        kMusicTrackTag = 15,
        kUpArrowTag = 16,
        kDownArrowTag = 17,
        kFirstRowTag = 18, // rows 0..3: 18..21
        kWriteToUsTag = 22,
        kWriteToUsLabelTag = 24,
        kSelectionFrameTag = 27,
        kSoundtrackButtonTag = 28,
        kSoundtrackLabelTag = 29,
        kEffectsKnobTag = 50,
        kMusicKnobTag = 51,
        kFadingRowTag = 100,
    };
    /// Tag of the item inside a tab button's menu.
    static constexpr int kTabItemTag = 1;
    static constexpr int kTouchPriority = 0;
    static constexpr int kRowCount = 4;
    /// A finger resting on an arrow scrolls one entry every this many move events.
    static constexpr int kArrowRepeatPeriod = 10;
    /// Entry selected when the help tab is opened from its button or on entry.
    static constexpr int kDefaultHelpEntry = 1;

    /// The help dialogues, in list order (TUTORIAL_CHATTER_LIST_SHORT): entry i plays dialogue i
    /// and shows the text of its key as its title.
    static const std::vector<std::string>& helpKeys();
    /// The language keys in the game's language order, 0 English .. 4 Italian (LANGUAGE_KEY_LIST).
    static const std::vector<std::string>& languageKeys();
    /// The pages the buttons open.
    static const char* const kSoundtrackPage;
    static const char* const kFacebookPage;
    static const char* const kTwitterPage;

    /// A new autoreleased scene holding a new options view at z 0.
    static kvengine::CCScene* createScene();

    KVOptionsScreenView();
    void cleanupBeforeDelete() override;

    /// Back button, panels, tab buttons and their highlights; the background when missing.
    void buildFrame();
    void showSoundTab();
    void showHelpTab(int selectedIndex);
    void showLanguageTab();

    // Buttons.
    void onBackButton(kvengine::CCObject* sender);
    void onSoundTabButton(kvengine::CCObject* sender);
    void onHelpTabButton(kvengine::CCObject* sender);
    void onLanguageTabButton(kvengine::CCObject* sender);
    /// Asks the language question for the selected entry (the item pop-up of kind 15).
    void onLanguageSelectButton(kvengine::CCObject* sender);
    void openSoundtrackPage(kvengine::CCObject* sender);
    void openFacebookPage(kvengine::CCObject* sender);
    void openTwitterPage(kvengine::CCObject* sender);
    /// Does nothing on this platform.
    void writeToUs(kvengine::CCObject* sender);
    /// Plays the selected help dialogue over the screen. When it cannot start (missing or empty)
    /// the tab stays as it is (logged).
    void playSelectedHelpDialogue(kvengine::CCObject* sender);
    /// Plays the help dialogue `key` over the screen: false (logged, the tab left as it is) when it
    /// does not start.
    bool playHelpDialogue(const std::string& key);
    /// The help dialogue shown over the screen, "" when none.
    const std::string& getPlayingDialogue() const { return m_playingDialogue; }
    /// Observer of EVENT_END_SPEECH while a help dialogue plays: drops its portrait sheets and
    /// builds the frame and the help tab again with the same entry.
    virtual void onHelpDialogueEnded(kvengine::CCNotification* notification);

    // The choice list.
    /// Builds the list in the tab layer with `entries`, selecting the entry that is `selectedEntry`
    /// (the first entry when it is none of them).
    void buildChoiceList(kvengine::CCString* selectedEntry,
                         kvengine::CCMutableArray<kvengine::CCString*>* entries);
    void selectListRow(int row);
    /// Down arrow: the next entry comes in at the bottom.
    void scrollListForward(kvengine::CCObject* sender);
    /// Up arrow: the previous entry comes in at the top.
    void scrollListBack(kvengine::CCObject* sender);

    // Touches (window coordinates, converted to the scene's).
    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchMoved(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchEnded(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchCancelled(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    // Geometry of the window in use (wide 960 x 600, else 800 x 600).
    static bool isWideWindow();
    /// A point given for the wide window; on the narrow one it lies 64 points left and 32 up.
    static kvengine::CCPoint placeFor(float wideX, float wideY);
    static kvengine::CCPoint rowCentre(int row);
    static kvengine::CCPoint upArrowPosition();
    static kvengine::CCPoint downArrowPosition();
    static kvengine::CCPoint listZoneCentre();
    /// Slider value of x on a track centred at trackX, trackWidth wide (not clamped).
    static float sliderValue(float x, float trackX, float trackWidth);
    /// x of the knob of value v on that track.
    static float knobX(float value, float trackX, float trackWidth);

    int getMode() const { return m_mode; }
    int getDragState() const { return m_dragState; }
    kvengine::CCMutableArray<kvengine::CCString*>* getListEntries() const { return m_listEntries; }
    int getListOffset() const { return m_listOffset; }
    int getSelectedIndex() const { return m_selectedIndex; }
    int getArrowRepeat() const { return m_arrowRepeat; }
    int getLastHoveredRow() const { return m_lastHoveredRow; }
    /// The tab layer, or null.
    kvengine::CCNode* getTabLayer() const { return getChildByTag(kTabLayerTag); }
    /// The item of a tab button (tag 5, 9 or 11), or null.
    kvengine::CCMenuItem* tabItem(int tabTag) const;
    /// The item of a list arrow (tag 16 or 17), or null.
    kvengine::CCMenuItemSprite* arrowItem(int arrowTag) const;

private:
    void switchTab(int mode);
    /// A new tab layer over the whole window (autoreleased; the caller adds it), or null.
    static kvengine::CCLayer* newTabLayer();
    void removeFrame();
    void addTabButton(const char* labelKey, int kind, kvengine::SEL_MenuHandler action, const char* highlight,
                      kvengine::CCPoint position, int tag, int highlightTag);
    kvengine::CCMenuItemSprite* addArrowMenu(const char* normal, const char* pressed,
                                             kvengine::SEL_MenuHandler action, kvengine::CCPoint position,
                                             int tag);
    void setArrowShown(int arrowTag, bool shown);
    kvengine::CCNode* makeRow(int entry, kvengine::CCPoint at);
    void setRowColour(kvengine::CCNode* row, bool selected);
    void fadeOutRow(kvengine::CCNode* row);
    void removeFadedRow(kvengine::CCNode* row);
    kvengine::CCSize selectionFrameSize() const;

    bool sliderTouchBegan(const kvengine::CCPoint& point);
    void sliderTouchMoved(const kvengine::CCPoint& point);
    void sliderTouchEnded(const kvengine::CCPoint& point);
    /// The value of the point on the track (clamped), with its knob put there; -1 without them.
    float placeKnob(int trackTag, int knobTag, const kvengine::CCPoint& point);
    void applyMusicValue(float value);
    bool listTouchBegan(const kvengine::CCPoint& point);
    void listTouchMoved(const kvengine::CCPoint& point);
    void openPage(const char* address);

    int m_mode = 0;
    int m_dragState = 0;
    kvengine::CCMutableArray<kvengine::CCString*>* m_listEntries = nullptr;
    int m_listOffset = 0;
    int m_selectedIndex = 0;
    int m_arrowRepeat = 0;
    int m_lastHoveredRow = 0;
    bool m_observingSpeech = false;
    std::string m_playingDialogue;
};
