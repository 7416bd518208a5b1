#pragma once

#include "engine/nodes/CCMenuItemSprite.h"

namespace kvengine {
class CCSprite;
class CCString;
} // namespace kvengine

/// The large card of one creature in the troops screen's carousel: the creature's portrait
/// ("KV_<sprite>Large", or its padlocked twin "KV_<sprite>LargeLock" for a creature offered in the
/// shop) inside the frame "KV_CadreLargeNormal" ("KV_CadreLargeSelect" while pressed), with an equip
/// mark at its centre for a team member (tag 50) and a padlock for a creature in the shop.
///
/// A card built as not active is a hidden card ("KV_hiddenLarge"): it is `inactive`, refuses to be
/// selected and plays the refusal sound instead. A sprite without a padlocked portrait is shown
/// hidden too. After an activation the card stays disabled for half a second. Its target is the
/// carousel (KVScrollScalableItem::onItemActivated).
class KVSquadItem : public kvengine::CCMenuItemSprite {
public:
    CC_DECLARE_CLASS_NAME(KVSquadItem, kvengine::CCMenuItemSprite)

    static constexpr int kEquipMarkTag = 50;
    /// A mark fading out is retagged so that a new mark is the one tag 50 finds.
    static constexpr int kFadingMarkTag = 51;
    /// Seconds a card stays disabled after an activation.
    static constexpr float kReenableSeconds = 0.5f;
    /// Seconds the equip mark takes to fade in or out.
    static constexpr float kEquipFadeSeconds = 0.3f;

    /// An autoreleased card; null (logged) when its frame pictures are missing.
    static KVSquadItem* createWithCard(kvengine::CCString* spriteName, bool locked, bool selected,
                                       bool active, kvengine::CCObject* target);
    bool initWithCard(kvengine::CCString* spriteName, bool locked, bool selected, bool active,
                      kvengine::CCObject* target);
    void cleanupBeforeDelete() override;

    /// Fades the equip mark in (a new mark) or out (then removed).
    void showEquipMark(bool shown);

    void activate() override;
    void selected() override;
    void unselected() override;
    void cleanup() override;
    /// The one-shot timer after an activation: enabled again.
    void reenable(float dt);

    bool isInactive() const { return inactive; }
    kvengine::CCString* getCardName() const { return m_cardName; }
    /// Retaining setter (the carousel names the card after its creature).
    void setCardName(kvengine::CCString* name);

    /// Written by the carousel; the card does not use it.
    int cardOrder = 0;
    bool inactive = false;

private:
    void discardMark(kvengine::CCNode* mark);

    kvengine::CCSprite* m_normalFrame = nullptr;
    kvengine::CCSprite* m_selectedFrame = nullptr;
    kvengine::CCString* m_cardName = nullptr;
    bool m_cleanedUp = false;
};
