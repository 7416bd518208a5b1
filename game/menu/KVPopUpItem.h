#pragma once

#include <string>

#include "engine/director/CCScene.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCLabelTTF;
class CCNode;
struct CCPoint;
} // namespace kvengine
class KVButton;

/// The frame the squad, mission-info and shop pop-ups build on: a grey dimmer over the window, a
/// frame picture chosen by the kind and, for every kind but 3, a cancel button in the middle that
/// the subclass moves where it wants (and may give a handler of its own).
///
/// Frames by kind: 1 "Bg_PopUpHelmetInfo.png", 2 "Bg_PopUpLevelInfo.png", 3 and 4
/// "Bg_PopUpSquad.png", any other "Bg_PopUp.png". Children: dimmer (z 0, tag 1), frame (z 1, tag 2,
/// centred), cancel button (`KVButton` kind 1, z 2, tag 3).
///
/// A subclass that wants the touches turns them on with setTouchEnabled(true): it then claims every
/// touch at priority -999, swallowing it, except those that start on the cancel button or on the
/// action button (tag 4), which go on to the buttons.
/// Whether the button child `tag` of `parent` (a `KVButton`, centred on its position with its content size)
/// holds a point of the scene; false without such a child. The pop-ups let touches there through.
bool popUpButtonHolds(const kvengine::CCNode* parent, int tag, const kvengine::CCPoint& point);

class KVPopUpItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVPopUpItem, KVMenuItem)

    enum Tag { kDimmerTag = 1, kFrameTag = 2, kCancelTag = 3, kActionTag = 4 };
    static constexpr int kTouchPriority = -999;

    /// Builds the dimmer, the frame and the cancel button over the whole window.
    void initWithKind(int kind);
    int getKind() const { return m_kind; }

    /// Cancel: closes the pop-up (menu state 19).
    virtual void onCancel(kvengine::CCObject* sender);

    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    void touchEnded(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    /// The localised text of `key`; the key itself (logged) when the table has none.
    static std::string localisedText(const char* key);

protected:
    /// The button row of the question pop-ups (buy, train, level info), below the middle of the
    /// window: the cancel button moves to (w/2 - its width, h/2 - its height / 0.7) and `action`
    /// (null allowed: logged, no button) goes to (w/2 + its width, h/2 - its height / 0.7), at z 1
    /// with tag 4.
    void placeCancelAndAction(KVButton* action);
    /// A boxed message in "Thonburi" 20, blue, centred in its box at (x, y), added at z 2; null
    /// (logged) when the text cannot be drawn.
    kvengine::CCLabelTTF* addMessage(const char* text, float boxWidth, float boxHeight, float x, float y);

private:
    int m_kind = 0;
};

/// A new autoreleased scene holding a new autoreleased `View` at z 0: the scene factory of the
/// pop-up views.
template <class View> kvengine::CCScene* createPopUpScene() {
    kvengine::CCScene* scene = kvengine::CCScene::create();
    auto* view = new View();
    view->autorelease();
    scene->addChildAtZ(view, 0);
    return scene;
}
