#pragma once

#include "engine/nodes/CCMenuItemSprite.h"

namespace kvengine {
class CCSprite;
class CCString;
} // namespace kvengine

/// One staff bubble of the about screen's carousel: the member's picture ("KV_bubbleAbout_<key>",
/// or "KV_bubbleAboutDefault" when the member has none) at scale 1.2 inside the frame
/// "KV_CadreBulle". Its target is the carousel (KVScrollScalableItem::onItemActivated), which does
/// nothing more with a tap on this screen.
class KVAboutItem : public kvengine::CCMenuItemSprite {
public:
    CC_DECLARE_CLASS_NAME(KVAboutItem, kvengine::CCMenuItemSprite)

    static constexpr float kBubbleScale = 1.2f;

    /// An autoreleased bubble for the staff key; null (logged) when even the default picture or the
    /// frame is missing.
    static KVAboutItem* createWithKey(kvengine::CCString* staffKey, kvengine::CCObject* target);
    bool initWithKey(kvengine::CCString* staffKey, kvengine::CCObject* target);
    void cleanupBeforeDelete() override;

    /// The member's item number, set by the carousel.
    int index = 0;

private:
    kvengine::CCSprite* m_normal = nullptr;
    kvengine::CCSprite* m_selected = nullptr;
};
