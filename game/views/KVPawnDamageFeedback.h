#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCRetained.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {
class CCLabelTTF;
class CCSprite;
} // namespace kvengine

class KVActionEvent;
class KVPawn;

/// One floating figure over a pawn: a red damage figure on a white splash that swells with the
/// size of the blow (text "Injured pawn"), or a green heal figure on a green panel ("Healed
/// pawn"). Busy for 2.6 s after each show (2 s shown, 0.4 s fading, 0.2 s more), then free for
/// the next figure.
class KVDamageFeedback : public kvengine::CCNode {
public:
    CC_DECLARE_CLASS_NAME(KVDamageFeedback, kvengine::CCNode)

    /// Builds the label and both bubbles (hidden), then shows `event`. Always true.
    virtual bool initWithAction(KVActionEvent* event);
    /// Shows a damage (types 1-3, 10-15) or heal (4) figure; other types leave the bubbles and the
    /// text as they are but still run the label's display. Resets the position, sets busy.
    virtual void show(KVActionEvent* event);
    /// End of the display: free again.
    virtual void releaseFigure();
    void cleanupBeforeDelete() override;

    bool isBusy() const { return m_busy; }
    /// The vertical step, points, by which the older figures are pushed up.
    float getStepHeight() const { return m_height; }
    kvengine::CCLabelTTF* getLabel() const { return m_label; }
    kvengine::CCSprite* getFrontBubble() const { return m_front; }
    kvengine::CCSprite* getBackBubble() const { return m_back; }

private:
    kvengine::CCRetained<kvengine::CCLabelTTF> m_label;
    kvengine::CCRetained<kvengine::CCSprite> m_front;
    kvengine::CCRetained<kvengine::CCSprite> m_back;
    bool m_busy = false;
    float m_height = 0.0f;
};

/// The figures over one pawn: a node that the pawn view keeps at the pawn's body. Every damage or
/// heal aimed at the pawn ("EVENT_ACTION") shows in the first free figure (a new one when all are
/// busy) at the base height, Radius + 10 points over the pawn, and pushes the figures still
/// showing up by two steps of its height.
class KVPawnDamageFeedback : public kvengine::CCNode {
public:
    CC_DECLARE_CLASS_NAME(KVPawnDamageFeedback, kvengine::CCNode)

    /// Keeps the pawn (retained; null refused, logged) and observes "EVENT_ACTION".
    virtual bool initWithPawn(KVPawn* pawn);
    virtual void onAction(kvengine::CCNotification* notification);
    void cleanupBeforeDelete() override;

    kvengine::CCMutableArray<KVDamageFeedback*>* getFigures() const { return m_figures; }

private:
    kvengine::CCRetained<kvengine::CCMutableArray<KVDamageFeedback*>> m_figures;
    kvengine::CCRetained<KVPawn> m_pawn;
};
