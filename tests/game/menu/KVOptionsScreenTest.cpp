// The options screen: opening and tab switching, the sound sliders (values, knobs, what is applied,
// stored and saved, the test sound), the choice list (offsets, arrows, row selection, sliding past
// the rows), the language change through its pop-up, the help dialogues played over the screen and
// the pages the buttons open.
#include "MenuFixture.h"

#include <cmath>
#include <string>
#include <vector>

#include "engine/base/CCArray.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/input/CCTouchHandler.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/platform/CCDesktop.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPopUpItemScreenView.h"
#include "game/screens/KVOptionsScreenView.h"
#include "game/sound/KVSoundEvent.h"
#include "game/sound/KVSoundManager.h"
#include "game/sound/KVSoundSystem.h"

using namespace kvengine;
using View = KVOptionsScreenView;

namespace {

std::vector<std::string> g_pages;

bool recordPage(const std::string& address) {
    g_pages.push_back(address);
    return true;
}

std::string textOf(CCString* text) {
    if (text == nullptr) return "";
    if (const char16_t* wide = text->makeWideString()) return utf16ToUtf8(wide);
    return text->c_str();
}

std::string shownText(CCNode* node) {
    auto* label = static_cast<CCLabelTTF*>(node);
    if (const char16_t* wide = label->getWideString()) return utf16ToUtf8(wide);
    return label->getString();
}

bool isYellow(CCNode* row) {
    const ccColor3B c = static_cast<CCSprite*>(row)->getColor();
    return c.r == 255 && c.g == 255 && c.b == 0;
}

class OptionsTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        g_pages.clear();
        m_previousOpener = setWebPageOpener(recordPage);
        setDebugLogSink([this](const std::string& line) { logLines.push_back(line); });
    }
    void tearDownWithGL() override {
        setDebugLogSink(nullptr);
        setWebPageOpener(m_previousOpener);
        if (KVGameSetup* setup = KVGameSetup::existingInstance()) {
            setup->languageChoicePending = false;
            if (setup->getLanguageIndex() != 0) setup->setLanguage(0);
        }
        MenuFixture::tearDownWithGL();
    }
    /// The options screen through the menu manager, after its first frame.
    View* openOptions() {
        KVMenuManager::getInstance()->changeState(KVMenuManager::kOptionsState);
        frame();
        return runningView();
    }
    View* runningView() {
        CCScene* scene = director->getRunningScene();
        if (scene == nullptr || scene->getChildren() == nullptr) return nullptr;
        for (unsigned i = 0; i < scene->getChildren()->count(); ++i) {
            auto* child = static_cast<CCNode*>(scene->getChildren()->objectAtIndex(i));
            if (child->isKindOf("KVOptionsScreenView")) return static_cast<View*>(child);
        }
        return nullptr;
    }
    static CCNode* child(View* view, int tag) {
        CCNode* layer = view->getTabLayer();
        return layer != nullptr ? layer->getChildByTag(tag) : nullptr;
    }
    void tapNode(CCNode* node) {
        ASSERT_NE(node, nullptr);
        const CCPoint at = centreOf(node);
        tap(at.x, at.y);
    }
    /// The tab layer's first child of class `name` (the select and View buttons have no tag).
    static CCNode* firstOfKind(View* view, const char* name) {
        CCNode* layer = view->getTabLayer();
        if (layer == nullptr || layer->getChildren() == nullptr) return nullptr;
        for (unsigned i = 0; i < layer->getChildren()->count(); ++i) {
            auto* node = static_cast<CCNode*>(layer->getChildren()->objectAtIndex(i));
            if (node->isKindOf(name)) return node;
        }
        return nullptr;
    }
    /// The list as shown: every row's text and colour against the entries, the frame on the
    /// selected row, the arrows by the offset.
    static void expectListShows(View* view, int offset, int selected) {
        ASSERT_NE(view->getListEntries(), nullptr);
        const int count = static_cast<int>(view->getListEntries()->count());
        EXPECT_EQ(view->getListOffset(), offset);
        EXPECT_EQ(view->getSelectedIndex(), selected);
        for (int i = 0; i < View::kRowCount; ++i) {
            CCNode* row = child(view, View::kFirstRowTag + i);
            if (offset + i >= count) {
                EXPECT_EQ(row, nullptr) << "row " << i;
                continue;
            }
            ASSERT_NE(row, nullptr) << "row " << i;
            EXPECT_EQ(shownText(row), textOf(view->getListEntries()->objectAtIndex(offset + i)))
                << "row " << i;
            EXPECT_EQ(isYellow(row), offset + i == selected) << "row " << i;
            EXPECT_FLOAT_EQ(row->getPosition().y, View::rowCentre(i).y) << "row " << i;
        }
        EXPECT_EQ(child(view, View::kFadingRowTag), nullptr);
        CCNode* frameSprite = child(view, View::kSelectionFrameTag);
        ASSERT_NE(frameSprite, nullptr);
        EXPECT_FLOAT_EQ(frameSprite->getPosition().y, View::rowCentre(selected - offset).y);
        CCMenuItemSprite* up = view->arrowItem(View::kUpArrowTag);
        CCMenuItemSprite* down = view->arrowItem(View::kDownArrowTag);
        ASSERT_NE(up, nullptr);
        ASSERT_NE(down, nullptr);
        EXPECT_EQ(up->isEnabled(), offset > 0);
        EXPECT_EQ(up->getOpacity(), offset > 0 ? 255 : 0);
        EXPECT_EQ(down->isEnabled(), offset + View::kRowCount < count);
        EXPECT_EQ(down->getOpacity(), offset + View::kRowCount < count ? 255 : 0);
    }
    /// The profile as the saved-settings file holds it.
    static KVPlayerParameters* reloadFromDisk() {
        KVPlayerParameters::getInstance()->release();
        CCUserDefaults::getInstance()->release();
        return KVPlayerParameters::getInstance();
    }
    bool logged(const std::string& part) const {
        for (const std::string& line : logLines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    std::vector<std::string> logLines;

private:
    CCWebPageOpener m_previousOpener = nullptr;
};

// A fresh list in the view's tab layer (the old one's nodes removed).
void rebuildList(View* view, const std::vector<std::string>& texts, int selected,
                 CCString* foreign = nullptr) {
    CCNode* layer = view->getTabLayer();
    for (int tag = View::kUpArrowTag; tag <= View::kSelectionFrameTag; ++tag)
        while (layer->getChildByTag(tag) != nullptr)
            layer->removeChildByTag(tag, true);
    auto* entries = new CCMutableArray<CCString*>();
    for (const std::string& text : texts)
        entries->addObject(kvdata::newString(text));
    view->buildChoiceList(foreign != nullptr ? foreign
                          : selected >= 0    ? entries->objectAtIndex(selected)
                                             : nullptr,
                          entries);
    entries->release();
}

} // namespace

TEST_F(OptionsTest, OpensOnTheHelpTabAndEachTabButtonShowsItsTab) {
    menutest::Recorder recorder;
    recorder.observe(SCREEN_MENU_OPTION);
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(recorder.count("Menu - Option"), 1);
    EXPECT_EQ(KVMenuManager::getInstance()->getCurrentState(), KVMenuManager::kOptionsState);
    EXPECT_EQ(view->getMode(), View::kHelpMode);
    EXPECT_EQ(view->getDragState(), View::kIdle);
    EXPECT_EQ(view->getListEntries()->count(), 16u);
    EXPECT_EQ(textOf(view->getListEntries()->objectAtIndex(1)), textOf(getLocalizedString("Tutos_chatst")));
    expectListShows(view, 0, 1);
    for (int tag : {View::kBackgroundTag, View::kBackTag, View::kLowerPanelTag, View::kUpperPanelTag,
                    View::kHelpHighlightTag, View::kSoundHighlightTag, View::kLanguageHighlightTag})
        EXPECT_NE(view->getChildByTag(tag), nullptr) << "tag " << tag;

    const struct {
        int button;
        int mode;
        int layerZ;
    } cases[] = {{View::kSoundTabTag, View::kSoundMode, 3},
                 {View::kLanguageTabTag, View::kLanguageMode, 4},
                 {View::kHelpTabTag, View::kHelpMode, 4},
                 {View::kSoundTabTag, View::kSoundMode, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        tapNode(view->tabItem(c.button));
        frame();
        EXPECT_EQ(view->getMode(), c.mode);
        ASSERT_NE(view->getTabLayer(), nullptr);
        EXPECT_EQ(view->getTabLayer()->getZOrder(), c.layerZ);
        EXPECT_EQ(view->getDragState(), View::kIdle) << "a touch on a button never reaches the view";
        for (int tab : {View::kSoundTabTag, View::kLanguageTabTag, View::kHelpTabTag}) {
            auto* item = static_cast<CCMenuItemSprite*>(view->tabItem(tab));
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->isEnabled(), tab != c.button) << tab;
            EXPECT_EQ(item->getOpacity(), tab != c.button ? 255 : 0) << tab;
        }
        // The shown tab's button is disabled: pressing it again builds nothing.
        CCNode* layer = view->getTabLayer();
        tapNode(view->tabItem(c.button));
        frame();
        EXPECT_EQ(view->getTabLayer(), layer);
    }
    // The help tab from its button selects the second entry again.
    tapNode(view->tabItem(View::kHelpTabTag));
    frame();
    expectListShows(view, 0, 1);
    // The view takes touches after the menus.
    bool found = false;
    CCMutableArray<CCTouchHandler*>* handlers = CCTouchDispatcher::getInstance()->getTargetedHandlers();
    for (unsigned i = 0; i < handlers->count(); ++i) {
        if (handlers->objectAtIndex(i)->getDelegate() != static_cast<CCTouchDelegate*>(view)) continue;
        found = true;
        EXPECT_EQ(handlers->objectAtIndex(i)->getPriority(), View::kTouchPriority);
    }
    EXPECT_TRUE(found);

    tapNode(view->getChildByTag(View::kBackTag));
    frame();
    EXPECT_EQ(KVMenuManager::getInstance()->getCurrentState(), KVMenuManager::kMainMenuState);
}

TEST_F(OptionsTest, SlidersShowStoreApplyAndSaveTheirValues) {
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    view->showSoundTab();
    KVSoundManager* sound = KVSoundManager::getInstance();
    struct Slider {
        int track, knob;
    };
    const Slider effects{View::kEffectsTrackTag, View::kEffectsKnobTag};
    const Slider music{View::kMusicTrackTag, View::kMusicKnobTag};
    auto knobValue = [&](const Slider& s) {
        CCNode* track = child(view, s.track);
        CCNode* knob = child(view, s.knob);
        return View::sliderValue(knob->getPosition().x, track->getPosition().x,
                                 track->getContentSize().width);
    };
    auto pointAt = [&](const Slider& s, float value, float dyHeights = 0) {
        CCNode* track = child(view, s.track);
        const CCSize size = track->getContentSize();
        return CCPoint(View::knobX(value, track->getPosition().x, size.width),
                       track->getPosition().y + dyHeights * size.height);
    };
    ASSERT_NE(child(view, effects.track), nullptr);
    ASSERT_NE(child(view, music.track), nullptr);
    // A first visit: three quarters and the right end.
    EXPECT_NEAR(knobValue(effects), 0.75f, 1e-4f);
    EXPECT_NEAR(knobValue(music), 1.0f, 1e-4f);

    struct Case {
        const char* name;
        bool isMusic;
        float press, pressDy; // value under the finger, track heights above the centre line
        std::vector<float> moves;
        float lift;
        bool grabbed;
        float stored;
    };
    const Case cases[] = {
        {"effects lifted where pressed", false, 0.25f, 0, {}, 0.25f, true, 0.25f},
        {"effects dragged past the left end", false, 0.5f, 0, {0.3f, -0.4f}, -0.6f, true, 0.0f},
        {"effects dragged past the right end", false, 0.1f, 0, {1.5f}, 1.8f, true, 1.0f},
        // Above the right end, where the shown tab's disabled button lets touches through.
        {"effects grabbed from above the track", false, 0.98f, 2.5f, {}, 0.98f, true, 0.98f},
        {"too far above the track", false, 0.98f, 3.5f, {}, 0.98f, false, 0.98f},
        {"music pressed, dragged, lifted", true, 0.4f, 0, {0.3f, 0.2f}, 0.2f, true, 0.2f},
        {"music past the left end", true, 0.5f, 0, {-2.0f}, -2.0f, true, 0.0f},
        {"music past the right end", true, 0.2f, 0, {}, 1.4f, true, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Slider& s = c.isMusic ? music : effects;
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        const float savedBefore = c.isMusic ? profile->getMusicVolume() : profile->getSfxVolume();
        const float otherBefore = c.isMusic ? profile->getSfxVolume() : profile->getMusicVolume();
        sound->stopAllEvents();
        const CCPoint pressAt = pointAt(s, c.press, c.pressDy);
        press(pressAt.x, pressAt.y);
        if (!c.grabbed) {
            EXPECT_EQ(view->getDragState(), View::kIdle);
            lift(pressAt.x, pressAt.y);
            EXPECT_FLOAT_EQ(profile->getSfxVolume(), savedBefore);
            continue;
        }
        EXPECT_EQ(view->getDragState(), c.isMusic ? View::kDraggingMusic : View::kDraggingEffects);
        run(0.15f); // the knob's slide to the finger
        EXPECT_NEAR(knobValue(s), c.press, 1e-3f);
        if (c.isMusic) {
            // The music follows at once, unsaved.
            EXPECT_NEAR(sound->musicVolume, c.press * c.press, 1e-5f);
            EXPECT_NEAR(profile->getMusicVolume(), c.press, 1e-5f);
            EXPECT_NEAR(sound->getSoundSystem()->getCategoryVolume("music"), c.press * c.press, 1e-5f);
        } else {
            EXPECT_NEAR(profile->getSfxVolume(), savedBefore, 1e-5f) << "effects wait for the lift";
        }
        for (float value : c.moves) {
            const CCPoint at = pointAt(s, value);
            move(at.x, at.y);
            const float pinned = std::fmin(1.0f, std::fmax(0.0f, value));
            EXPECT_NEAR(knobValue(s), pinned, 1e-3f);
            if (c.isMusic) {
                EXPECT_NEAR(sound->musicVolume, pinned * pinned, 1e-5f);
            }
        }
        if (c.isMusic) {
            // Nothing of the drag is on disk yet.
            profile = reloadFromDisk();
            EXPECT_NEAR(profile->getMusicVolume(), savedBefore, 1e-5f);
            profile->setMusicVolume(c.moves.empty() ? c.press : c.moves.back());
        }
        const CCPoint liftAt = pointAt(s, c.lift);
        lift(liftAt.x, liftAt.y);
        EXPECT_EQ(view->getDragState(), View::kIdle);
        EXPECT_NEAR(knobValue(s), c.stored, 1e-3f);
        const float applied = c.isMusic ? sound->musicVolume : sound->effectsVolume;
        EXPECT_NEAR(applied, c.stored * c.stored, 1e-5f);
        EXPECT_NEAR(sound->getSoundSystem()->getCategoryVolume(c.isMusic ? "music" : "SFX"),
                    c.stored * c.stored, 1e-5f);
        KVSoundEvent* effect = sound->getEffectEvent();
        if (c.isMusic) {
            EXPECT_EQ(effect, nullptr) << "no test sound for the music";
        } else {
            EXPECT_TRUE(effect != nullptr && effect->getPath() == "kelvos/SFX/Pawn_hit_pawn");
        }
        // Saved: the profile on disk has the new value and the other slider's.
        profile = reloadFromDisk();
        EXPECT_NEAR(c.isMusic ? profile->getMusicVolume() : profile->getSfxVolume(), c.stored, 1e-5f);
        EXPECT_NEAR(c.isMusic ? profile->getSfxVolume() : profile->getMusicVolume(), otherBefore, 1e-5f);
    }
    // A new tab shows the knobs where they were left.
    view->showSoundTab();
    EXPECT_NEAR(knobValue(effects), 0.98f, 1e-3f);
    EXPECT_NEAR(knobValue(music), 1.0f, 1e-3f);
    // Away from both tracks the touch is left to others.
    press(100, 100);
    EXPECT_EQ(view->getDragState(), View::kIdle);
    lift(100, 100);
}

TEST_F(OptionsTest, TheChoiceListPlacesItsWindowFrameAndArrowsByTheSelection) {
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    const std::vector<std::string> five = {"a", "b", "c", "d", "e"};
    std::vector<std::string> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back("entry " + std::to_string(i));
    const struct {
        const char* name;
        const std::vector<std::string>& texts;
        int selected;
        int offset;
    } cases[] = {
        {"five, the fifth selected", five, 4, 1},  {"five, the first selected", five, 0, 0},
        {"five, the second selected", five, 1, 0}, {"sixteen, the eleventh", sixteen, 10, 9},
        {"sixteen, the last", sixteen, 15, 12},    {"sixteen, the third", sixteen, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rebuildList(view, c.texts, c.selected);
        expectListShows(view, c.offset, c.selected);
    }
    // Fewer entries than rows: as many rows, both arrows hidden.
    rebuildList(view, {"x", "y", "z"}, 2);
    expectListShows(view, 0, 2);
    // A selection that is none of the entries selects the first one, with a log line.
    logLines.clear();
    rebuildList(view, five, -1, kvdata::newString("b"));
    expectListShows(view, 0, 0);
    EXPECT_TRUE(logged("not in the list"));
    // No entries: no rows, no frame, nothing selected; a View press then plays nothing.
    rebuildList(view, {}, -1);
    EXPECT_EQ(view->getSelectedIndex(), -1);
    EXPECT_EQ(child(view, View::kFirstRowTag), nullptr);
    EXPECT_EQ(child(view, View::kSelectionFrameTag), nullptr);
    logLines.clear();
    view->playSelectedHelpDialogue(nullptr);
    EXPECT_TRUE(logged("no help dialogue at entry -1"));
    EXPECT_EQ(KVMenuManager::getInstance()->getCurrentState(), KVMenuManager::kOptionsState);
}

TEST_F(OptionsTest, ArrowsScrollTheEntriesUnderTheFrameOneAtATime) {
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    menutest::Recorder recorder;
    recorder.observe(EVENT_BUTTON_VALIDATED_LIGHT);
    // Down to the end and one more press, then back to the top and one more; each press waits for
    // the rows to settle, except a quick pair that must still end in place.
    struct Step {
        int arrow;
        int presses;
        bool settle;
        int offset;
        int sounds;
    };
    const Step steps[] = {
        {View::kDownArrowTag, 1, true, 1, 1},   {View::kDownArrowTag, 2, false, 3, 3},
        {View::kDownArrowTag, 9, true, 12, 12}, {View::kDownArrowTag, 1, true, 12, 12},
        {View::kUpArrowTag, 2, false, 10, 14},  {View::kUpArrowTag, 10, true, 0, 24},
        {View::kUpArrowTag, 1, true, 0, 24},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.offset);
        for (int i = 0; i < step.presses; ++i) {
            // A hidden arrow is not pressed through its menu: its action is called as a slide would.
            if (step.arrow == View::kDownArrowTag)
                view->scrollListForward(nullptr);
            else
                view->scrollListBack(nullptr);
            if (step.settle) run(0.25f);
        }
        run(0.25f);
        expectListShows(view, step.offset, step.offset + 1);
        EXPECT_EQ(recorder.count("EVENT_BUTTON_VALIDATED_LIGHT"), step.sounds);
    }
    // Through the arrow's own menu.
    tapNode(view->arrowItem(View::kDownArrowTag));
    run(0.25f);
    expectListShows(view, 1, 2);
}

TEST_F(OptionsTest, PressingAndSlidingOverTheRowsSelectsAndScrolls) {
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    const float x = View::listZoneCentre().x;
    const CCSize frameSize = child(view, View::kSelectionFrameTag)->getContentSize();
    // Presses: a row, between two rows (claimed, nothing selected), beside the list (not claimed).
    const struct {
        const char* name;
        CCPoint at;
        int dragState;
        int selected;
    } presses[] = {
        {"row 2", View::rowCentre(2), View::kTouchingList, 2},
        {"between rows 0 and 1", CCPoint(x, View::rowCentre(0).y - frameSize.height / 2), View::kTouchingList,
         2},
        {"row 0", CCPoint(x - 100, View::rowCentre(0).y + 5), View::kTouchingList, 0},
        {"beside the list", CCPoint(x + frameSize.width / 2 + 5, View::rowCentre(1).y), View::kIdle, 0},
        {"below the zone", CCPoint(x + 100, View::listZoneCentre().y - 76), View::kIdle, 0},
    };
    for (const auto& p : presses) {
        SCOPED_TRACE(p.name);
        press(p.at.x, p.at.y);
        EXPECT_EQ(view->getDragState(), p.dragState);
        EXPECT_EQ(view->getSelectedIndex(), p.selected);
        lift(p.at.x, p.at.y);
        EXPECT_EQ(view->getDragState(), View::kIdle);
        run(0.15f);
        expectListShows(view, 0, p.selected);
    }
    // Sliding down the rows selects each; resting on the up arrow drags the list forward one entry
    // every ten moves, and on the down arrow back.
    press(x, View::rowCentre(0).y);
    for (int r = 1; r < View::kRowCount; ++r) {
        move(x, View::rowCentre(r).y);
        EXPECT_EQ(view->getSelectedIndex(), r);
        EXPECT_EQ(view->getLastHoveredRow(), r);
    }
    const struct {
        const char* name;
        float y;
        int moves;
        int offset;
    } slides[] = {
        {"onto the up arrow", View::upArrowPosition().y, 1, 1},
        {"resting there", View::upArrowPosition().y, 9, 1},
        {"the tenth move after", View::upArrowPosition().y, 1, 2},
        {"twenty more", View::upArrowPosition().y, 20, 4},
        // The count goes on from the up arrow's (31 moves): scrolls at the 40th and 50th.
        {"onto the down arrow", View::downArrowPosition().y, 25, 2},
        {"until the top", View::downArrowPosition().y, 40, 0},
    };
    for (const auto& s : slides) {
        SCOPED_TRACE(s.name);
        for (int i = 0; i < s.moves; ++i)
            move(x, s.y);
        run(0.25f);
        EXPECT_EQ(view->getListOffset(), s.offset);
        EXPECT_EQ(view->getSelectedIndex(), s.offset + 3) << "the frame stays on the bottom row";
    }
    // Back over the rows the count starts again.
    move(x, View::rowCentre(1).y);
    EXPECT_EQ(view->getArrowRepeat(), 0);
    EXPECT_EQ(view->getSelectedIndex(), 1);
    lift(x, View::rowCentre(1).y);
    run(0.25f);
    expectListShows(view, 0, 1);
}

TEST_F(OptionsTest, TheLanguageTabAsksThroughThePopUpAndOkRebuildsTheScreenInTheNewLanguage) {
    const struct {
        const char* name;
        bool confirm;
        int language;
    } cases[] = {{"cancelled", false, 0}, {"confirmed", true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->languageChoicePending = false;
        View* view = openOptions();
        ASSERT_NE(view, nullptr);
        tapNode(view->tabItem(View::kLanguageTabTag));
        frame();
        ASSERT_EQ(view->getMode(), View::kLanguageMode);
        ASSERT_EQ(view->getListEntries()->count(), 5u);
        EXPECT_EQ(textOf(view->getListEntries()->objectAtIndex(1)),
                  textOf(getLocalizedString("Language_french")));
        expectListShows(view, 0, 0);
        tap(View::rowCentre(1).x, View::rowCentre(1).y);
        EXPECT_EQ(view->getSelectedIndex(), 1);
        tapNode(firstOfKind(view, "KVButton"));
        frame();
        KVMenuManager* menu = KVMenuManager::getInstance();
        EXPECT_TRUE(setup->languageChoicePending);
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kItemPopUpState);
        EXPECT_EQ(menu->popUpKind, static_cast<int>(KVPopUpKind::LanguageChange));
        EXPECT_EQ(textOf(menu->getPopUpText()), "1");
        CCNode* popUpScene = director->getRunningScene()->getChildByTag(1);
        ASSERT_NE(popUpScene, nullptr);
        KVPopUpItemScreenView* popUp = nullptr;
        for (unsigned i = 0; popUpScene->getChildren() != nullptr && i < popUpScene->getChildren()->count();
             ++i) {
            auto* node = static_cast<CCNode*>(popUpScene->getChildren()->objectAtIndex(i));
            if (node->isKindOf("KVPopUpItemScreenView")) popUp = static_cast<KVPopUpItemScreenView*>(node);
        }
        ASSERT_NE(popUp, nullptr);
        if (c.confirm)
            popUp->onValidate(nullptr);
        else
            popUp->onCancel(nullptr);
        frame();
        EXPECT_EQ(setup->getLanguageIndex(), c.language);
        View* now = runningView();
        ASSERT_NE(now, nullptr);
        EXPECT_EQ(now != view, c.confirm) << "OK builds a new screen, cancel keeps this one";
        EXPECT_EQ(now->getMode(), View::kLanguageMode);
        EXPECT_EQ(now->getSelectedIndex(), c.confirm ? 1 : 1);
        auto* back = static_cast<KVButton*>(now->getChildByTag(View::kBackTag));
        ASSERT_NE(back, nullptr);
        EXPECT_STREQ(back->getLabelString(), c.confirm ? "Retour" : "Back");
        // Every later visit opens on the language tab, with the language in force selected.
        tapNode(back);
        frame();
        View* again = openOptions();
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->getMode(), View::kLanguageMode);
        EXPECT_EQ(again->getSelectedIndex(), c.language);
        if (c.confirm) setup->setLanguage(0);
    }
}

TEST_F(OptionsTest, ViewPlaysTheHelpDialogueOverTheScreenAndItsEndBringsTheTabBack) {
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    KVChatterManager* chatter = KVChatterManager::getInstance();
    KVMenuManager* menu = KVMenuManager::getInstance();
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    // The fifth title: its dialogue over the screen, which keeps only its background.
    view->showHelpTab(4);
    expectListShows(view, 3, 4);
    tapNode(firstOfKind(view, "KVButton"));
    frame();
    EXPECT_TRUE(chatter->isChatterRunning());
    EXPECT_EQ(chatter->getLoadedChatterName(), "Tutos_chatda");
    EXPECT_EQ(chatter->getHostScene(), view);
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kDialogueState);
    EXPECT_NE(view->getChildByTag(View::kBackgroundTag), nullptr);
    for (int tag = View::kBackTag; tag <= View::kTabLayerTag; ++tag)
        EXPECT_EQ(view->getChildByTag(tag), nullptr) << "tag " << tag;
    EXPECT_TRUE(frames->hasSpriteFrame("VahineTalk01.png"));

    // View while another dialogue runs ends that one first.
    menutest::Recorder ends;
    ends.observe(EVENT_END_SPEECH);
    ASSERT_TRUE(view->playHelpDialogue("Tutos_chathe"));
    EXPECT_EQ(ends.count("EVENT_END_SPEECH"), 1);
    EXPECT_TRUE(chatter->isChatterRunning());
    EXPECT_EQ(chatter->getLoadedChatterName(), "Tutos_chathe");

    // The end: the frame and the help tab again, with the same entry; the portraits dropped.
    chatter->requestEnd();
    run(0.2f);
    EXPECT_FALSE(chatter->isChatterRunning());
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kOptionsState);
    EXPECT_EQ(chatter->getHostScene(), nullptr);
    EXPECT_EQ(view->getMode(), View::kHelpMode);
    for (int tag : {View::kBackTag, View::kLowerPanelTag, View::kUpperPanelTag, View::kHelpTabTag,
                    View::kSoundTabTag, View::kLanguageTabTag, View::kTabLayerTag})
        EXPECT_NE(view->getChildByTag(tag), nullptr) << "tag " << tag;
    expectListShows(view, 3, 4);
    EXPECT_FALSE(frames->hasSpriteFrame("steev_chatterLight.png"));
    EXPECT_FALSE(frames->hasSpriteFrame("VahineTalk01.png"));
    EXPECT_EQ(view->getPlayingDialogue(), "");
    // Later ends of other dialogues leave the screen alone.
    CCNode* layer = view->getTabLayer();
    CCNotificationCenter::getInstance()->postNotification(EVENT_END_SPEECH);
    EXPECT_EQ(view->getTabLayer(), layer);

    // A dialogue that names no talking portrait still brings the tab back (logged).
    logLines.clear();
    ASSERT_TRUE(view->playHelpDialogue("Tutos_chatot"));
    chatter->requestEnd();
    run(0.2f);
    EXPECT_TRUE(logged("names no talking portrait"));
    expectListShows(view, 3, 4);

    // A dialogue that does not start leaves the tab as it is.
    logLines.clear();
    layer = view->getTabLayer();
    EXPECT_FALSE(view->playHelpDialogue("Tutos_chatzz"));
    EXPECT_TRUE(logged("did not start"));
    EXPECT_FALSE(chatter->isChatterRunning());
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kOptionsState);
    EXPECT_EQ(view->getTabLayer(), layer);
    EXPECT_NE(view->getChildByTag(View::kBackTag), nullptr);
    expectListShows(view, 3, 4);
}

TEST_F(OptionsTest, TheCommunityAndSoundtrackButtonsOpenTheirPagesAndLeaveTheScreen) {
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    CCNode* social = nullptr;
    CCNode* layer = view->getTabLayer();
    for (unsigned i = 0; i < layer->getChildren()->count(); ++i) {
        auto* node = static_cast<CCNode*>(layer->getChildren()->objectAtIndex(i));
        if (node->isKindOf("CCMenu") && node->getChildByTag(1) != nullptr && node->getTag() == -1)
            social = node;
    }
    ASSERT_NE(social, nullptr);
    const struct {
        CCNode* item;
        const char* page; // null: none
    } presses[] = {{social->getChildByTag(0), View::kFacebookPage},
                   {social->getChildByTag(1), View::kTwitterPage},
                   {child(view, View::kWriteToUsTag)->getChildByTag(0), nullptr}};
    for (const auto& p : presses) {
        g_pages.clear();
        tapNode(p.item);
        frame();
        EXPECT_EQ(g_pages, p.page != nullptr ? std::vector<std::string>{p.page} : std::vector<std::string>{});
        EXPECT_EQ(view->getTabLayer(), layer);
        EXPECT_EQ(KVMenuManager::getInstance()->getCurrentState(), KVMenuManager::kOptionsState);
    }
    for (const char* page : {View::kFacebookPage, View::kTwitterPage, View::kSoundtrackPage})
        EXPECT_TRUE(isWebPageAddress(page)) << page;

    view->showSoundTab();
    auto* label = static_cast<CCSprite*>(child(view, View::kSoundtrackLabelTag));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getColor().g, 255);
    g_pages.clear();
    CCNode* soundtrack = child(view, View::kSoundtrackButtonTag);
    ASSERT_NE(soundtrack, nullptr);
    tapNode(static_cast<CCNode*>(soundtrack->getChildren()->objectAtIndex(0)));
    frame();
    EXPECT_EQ(g_pages, std::vector<std::string>{View::kSoundtrackPage});
    const ccColor3B orange = label->getColor();
    EXPECT_EQ(orange.r, 255);
    EXPECT_EQ(orange.g, 162);
    EXPECT_EQ(orange.b, 0);
    EXPECT_EQ(view->getMode(), View::kSoundMode);
    // A new tab: white again.
    view->showSoundTab();
    EXPECT_EQ(static_cast<CCSprite*>(child(view, View::kSoundtrackLabelTag))->getColor().g, 255);
}

TEST_F(OptionsTest, WithoutItsSheetEachTabIsBuiltWithWhatThereIsAndTouchesAreSafe) {
    View* view = openOptions();
    ASSERT_NE(view, nullptr);
    CCResourceIndex* index = CCResourceIndex::getInstance();
    CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
        index->pathForFileName("option_88_ss.plist").c_str());
    const struct {
        int tab;
        int mode;
    } tabs[] = {{View::kSoundTabTag, View::kSoundMode},
                {View::kLanguageTabTag, View::kLanguageMode},
                {View::kHelpTabTag, View::kHelpMode}};
    for (const auto& t : tabs) {
        SCOPED_TRACE(t.mode);
        logLines.clear();
        tapNode(view->tabItem(t.tab));
        frame();
        EXPECT_EQ(view->getMode(), t.mode);
        EXPECT_TRUE(logged("no frame named")) << "the missing pictures are named";
        // The sliders and the list without their pictures: nothing is grabbed, nothing breaks.
        for (const CCPoint& at : {View::rowCentre(1), View::listZoneCentre(), CCPoint(529.5f, 347)}) {
            press(at.x, at.y);
            move(at.x, at.y + 20);
            lift(at.x, at.y + 20);
        }
        view->scrollListForward(nullptr);
        view->scrollListBack(nullptr);
        view->selectListRow(2);
        run(0.3f);
        EXPECT_EQ(view->getDragState(), View::kIdle);
    }
    // The rows are still there to choose from (they need no picture), without the frame.
    EXPECT_NE(child(view, View::kFirstRowTag), nullptr);
    EXPECT_EQ(child(view, View::kSelectionFrameTag), nullptr);
}

TEST(OptionsGeometry, ListPlacesFollowTheWindow) {
    const int wide = CCDirector::wideScreen;
    const struct {
        int wide;
        CCPoint row0, row3, up, down, zone;
    } cases[] = {
        {1, {476, 313.5f}, {476, 223.5f}, {486, 359}, {486, 185}, {480, 274.5f}},
        {0, {412, 345.5f}, {412, 255.5f}, {422, 391}, {422, 217}, {416, 306.5f}},
    };
    for (const auto& c : cases) {
        CCDirector::wideScreen = c.wide;
        for (const auto& [got, want] :
             {std::pair{View::rowCentre(0), c.row0}, std::pair{View::rowCentre(3), c.row3},
              std::pair{View::upArrowPosition(), c.up}, std::pair{View::downArrowPosition(), c.down},
              std::pair{View::listZoneCentre(), c.zone}}) {
            EXPECT_FLOAT_EQ(got.x, want.x) << c.wide;
            EXPECT_FLOAT_EQ(got.y, want.y) << c.wide;
        }
    }
    CCDirector::wideScreen = wide;
    // Slider values and knob places are each other's inverse; the ends are the track's ends.
    EXPECT_FLOAT_EQ(View::sliderValue(100, 240, 280), 0.0f);
    EXPECT_FLOAT_EQ(View::sliderValue(380, 240, 280), 1.0f);
    EXPECT_FLOAT_EQ(View::knobX(0.75f, 240, 280), 310.0f);
    EXPECT_FLOAT_EQ(View::sliderValue(View::knobX(0.3f, 240, 280), 240, 280), 0.3f);
    EXPECT_FLOAT_EQ(View::sliderValue(5, 240, 0), 0.0f) << "a track without width";
}
