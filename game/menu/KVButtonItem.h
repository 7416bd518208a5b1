#pragma once

#include <string>

#include "engine/nodes/CCMenuItemSprite.h"

namespace kvengine {
class CCSprite;
class CCString;
} // namespace kvengine

/// The item of a `KVButton`: two pictures and a shadowed caption chosen by a button kind.
///
/// Kinds (the sprite frames must be in the loaded sheets):
/// | kind | normal picture   | pressed picture | caption                          |
/// | 23   | "Kv_BT_Down.png" | "Kv_BT_Up.png"  | centred, game font, 18 points     |
/// Kind 23 is the button of the pop-ups, the pause screen and the result screens. Other kinds are
/// refused (null from the factories, with a log line).
///
/// The caption is a `KVLabelWithShadow` child with tag 88 (z 1). Every release of a press posts
/// "EVENT_BUTTON_VALIDATED" with the item (the sound manager clicks), whether or not it activated
/// the item; after an activation the item of a `KVButton` is disabled for half a second so that a
/// double click cannot fire twice. The target is not retained and must outlive the item.
class KVButtonItem : public kvengine::CCMenuItemSprite {
public:
    CC_DECLARE_CLASS_NAME(KVButtonItem, kvengine::CCMenuItemSprite)

    /// Child tag of the caption.
    static constexpr int kLabelTag = 88;
    /// Child tag of the pearl beside a price (kind 8).
    static constexpr int kPearlTag = 89;
    /// Seconds an activated item stays disabled.
    static constexpr float kLockSeconds = 0.5f;

    /// An autoreleased item with `label` as caption (a wide `CCString` keeps its wide text); null for
    /// a kind without pictures.
    static KVButtonItem* createWithLabel(kvengine::CCString* label, int kind, kvengine::CCObject* target,
                                         kvengine::SEL_MenuHandler selector);
    static KVButtonItem* createWithText(const std::string& text, int kind, kvengine::CCObject* target,
                                        kvengine::SEL_MenuHandler selector);

    [[nodiscard]] bool initWithLabel(kvengine::CCString* label, int kind, kvengine::CCObject* target,
                                     kvengine::SEL_MenuHandler selector);
    [[nodiscard]] bool initWithText(const std::string& text, int kind, kvengine::CCObject* target,
                                    kvengine::SEL_MenuHandler selector);

    void cleanupBeforeDelete() override;
    void cleanup() override;
    void activate() override;
    void selected() override;
    void unselected() override;

    /// Re-texts the caption (nothing without one).
    virtual void setLabelString(const char* text);
    /// The caption's text, or null without a caption.
    virtual const char* getLabelString();

    int getKind() const { return m_kind; }
    bool isCleanedUp() const { return m_cleanedUp; }

private:
    [[nodiscard]] bool initWithCaption(kvengine::CCString* label, const std::string* text, int kind,
                                       kvengine::CCObject* target, kvengine::SEL_MenuHandler selector);
    void reenable(float dt);

    kvengine::CCSprite* m_normalSprite = nullptr;
    kvengine::CCSprite* m_selectedSprite = nullptr;
    int m_kind = 0;
    bool m_cleanedUp = false;
};
