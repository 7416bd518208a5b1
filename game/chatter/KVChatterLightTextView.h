#pragma once

#include <string>

#include "engine/base/CCMutableDictionary.h"
#include "game/menu/KVLayer.h"

class KVChatterLightTextItem;

/// The light dialogue box of a "Dialog" step: a small text box with the speaking kelvo's portrait,
/// an optional animated portrait, the text shown a page at a time and a blinking arrow button.
///
/// Touches (priority -999, or -1001 when raised; all swallowed): a touch on the box, a portrait or
/// the button shows the next page ("EVENT_CHATTER_NEXT" posted); after the last page the box asks
/// the dialogue manager for the next step. Touches elsewhere do nothing.
///
/// The animated portrait's sheet ("<animation name in lower case>_ss") is loaded by the box and
/// unloaded when the box goes.
///
/// Children by tag: 2 text box, 3 portrait, 6 text item, 7 animated portrait, 8 button, 9 arrow.
class KVChatterLightTextView : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVChatterLightTextView, KVLayer)

    using Dict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;
    enum Tag { kBoxTag = 2, kPortraitTag = 3, kTextTag = 6, kAnimatedTag = 7, kSkipTag = 8, kArrowTag = 9 };
    static constexpr int kTouchPriority = -999;
    static constexpr int kRaisedTouchPriority = -1001;

    /// Builds the box for a step; a null step gives an empty layer.
    explicit KVChatterLightTextView(Dict* step);

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    /// Asks the dialogue manager for the next step.
    void proceed(kvengine::CCObject* sender, int count) override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    /// Registers the touches above the menus of the shop screen (takes effect at registration).
    void setRaisedTouchPriority(bool raised) { m_raisedPriority = raised; }
    bool hasRaisedTouchPriority() const { return m_raisedPriority; }
    KVChatterLightTextItem* getTextItem() const { return m_textItem; }
    bool isAnimatedPortraitShown() const { return m_animatedShown; }

private:
    void showAnimatedPortrait(const std::string& animation, int opacity);
    void unloadSheets();

    bool m_raisedPriority = false;
    KVChatterLightTextItem* m_textItem = nullptr;
    bool m_animatedShown = false;
    kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* m_loadedSheets = nullptr;
    float m_touchDelay = 0.0f;
};
