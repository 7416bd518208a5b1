#pragma once

#include <initializer_list>
#include <string>

#include "engine/base/CCWideFormat.h"
#include "engine/input/CCGestureRecognizer.h"
#include "engine/nodes/CCMenuItem.h"

namespace kvengine {
class CCNode;
class CCString;
class CCView;
} // namespace kvengine
class KVButton;

/// What the three result screens share: their texts, buttons, overlay view and the way back from a
/// finished mission to the menus.
namespace kvresults {

/// The localised text of `key`, or the key itself (logged) when no table has it; autoreleased.
kvengine::CCString* localised(const std::string& key);
/// The localised format of `key` filled with `args`; the key itself (logged) when no table has a
/// text that takes these arguments. Autoreleased, with its wide copy.
kvengine::CCString* localisedFormat(const std::string& key, std::initializer_list<kvengine::CCWideArg> args);

/// A button of kind 23 labelled with the localised `key`, centred at (x, y), added to `parent`
/// at `z`; null (logged) when the button pictures are not loaded.
KVButton* addButton(kvengine::CCNode* parent, const std::string& key, float x, float y, int z,
                    kvengine::CCObject* target, kvengine::SEL_MenuHandler selector);
/// Greys a button out (opacity 80 for the item and its label) and disables it.
void disableButton(KVButton* button);
/// The "new" mark on the button's item when the profile holds unseen creatures or helmets.
void markNewItems(KVButton* button);
/// The height of a button, or 0 for none.
float buttonHeight(KVButton* button);

/// A full-window view for the director's overlay views whose one-tap recognizer calls `handler`
/// of `target` (new, owned by the caller). k = 2 on normal screens and 1 on wide ones.
kvengine::CCView* makeTapOverlay(kvengine::CCObject* target, kvengine::SEL_GestureHandler handler);
/// Adds or takes away the overlay view (nothing for null; adding twice adds once).
void showOverlay(kvengine::CCView* overlay, bool shown);

/// Leaves the finished mission through the loading screen of `kind` (2 the mission to launch
/// again, 3 world map, 4 troops, 5 shop). The dialogue manager lets go of the mission's scene
/// first; for the ways back into the menus (backToMenus) the game setup's chapter and second
/// names become empty and Escape works again.
void leaveMission(int kind, bool backToMenus);
/// The mission that the next launch starts (the menu manager's mission name).
void setMissionToLaunch(kvengine::CCString* mission);
/// Opens the item pop-up of `kind` about `subject` over the running scene.
void openPopUp(int kind, kvengine::CCString* subject);
/// The menus' frames (buttons, pop-ups, pearl counter) back into the frame cache.
void reloadMenuFrames();

} // namespace kvresults
