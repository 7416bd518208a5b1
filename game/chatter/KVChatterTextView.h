#pragma once

#include <string>

#include "engine/base/CCMutableDictionary.h"
#include "game/menu/KVLayer.h"

class KVChatterTextItem;

/// The full dialogue box of a "Dialog" step: a large text box along the bottom of the window, the
/// speaking kelvo's portrait (left, or mirrored on the right), its name on a banner, the typed-out
/// text and a skip button that ends the whole dialogue.
///
/// Touches (priority -999, swallowed): on the skip button the dialogue manager is asked to end the
/// dialogue at the next frame ("EVENT_CHATTER_NEXT" is posted and the touch goes on to the button);
/// anywhere else the text advances. After the last page the box asks the manager for the next step,
/// once. Touches are taken from the first update on (a touch delay of 0.01 s).
///
/// Children by tag: 1 grey layer, 2 text box, 3 portrait, 4 name banner, 6 text item, 7 skip button.
class KVChatterTextView : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVChatterTextView, KVLayer)

    using Dict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;
    enum Tag { kGreyTag = 1, kBoxTag = 2, kPortraitTag = 3, kNameTag = 4, kTextTag = 6, kSkipTag = 7 };
    static constexpr int kTouchPriority = -999;

    /// Builds the box for a step; a null step gives an empty layer.
    explicit KVChatterTextView(Dict* step);

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    /// Asks the dialogue manager for the next step, the first time only.
    void proceed(kvengine::CCObject* sender, int count) override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    KVChatterTextItem* getTextItem() const { return m_textItem; }
    bool hasProceeded() const { return m_proceeded; }

private:
    float m_touchDelay = 0.0f;
    bool m_proceeded = false;
    KVChatterTextItem* m_textItem = nullptr;
};
