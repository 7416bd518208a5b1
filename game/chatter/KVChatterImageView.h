#pragma once

#include <string>

#include "engine/base/CCMutableDictionary.h"
#include "game/menu/KVLayer.h"

class KVChatterImageItem;

/// The view of a dialogue image ("Effect") step: one picture, animated or still, and a skip button
/// that ends the whole dialogue.
///
/// An animated step goes on by itself when its animation ends; a still picture waits for a touch. A
/// touch during an animation shows its end state first. Touches (priority -999) are swallowed
/// except on the skip button. The view stays in the dialogue scene behind the next text boxes until
/// the dialogue manager removes it.
///
/// Once its step is over the view stays as a background and no longer answers touches.
///
/// A step without a usable picture has nothing to show or touch: it ends at the next update.
///
/// Children by tag: 1 skip button, 2 image item.
class KVChatterImageView : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVChatterImageView, KVLayer)

    using Dict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;
    enum Tag { kSkipTag = 1, kItemTag = 2 };
    static constexpr int kTouchPriority = -999;

    /// Builds the view for a step; a null step gives an empty layer.
    explicit KVChatterImageView(Dict* step);

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;
    /// The item's animation (or a touch) ended the step; the next update moves on.
    virtual void onItemFinished(kvengine::CCObject* item, int mode);

    KVChatterImageItem* getItem() const { return m_item; }
    bool isFinished() const { return m_finished; }
    bool hasProceeded() const { return m_proceeded; }

    /// The picture file's name for a "background" value: the value itself when "<value>.pvr.ccz"
    /// exists, else "<value>_960".
    static std::string pictureName(const std::string& background);

private:
    void startAnimation(Dict* step);

    KVChatterImageItem* m_item = nullptr;
    float m_touchDelay = 0.0f;
    bool m_finished = false;
    bool m_proceeded = false;
};
