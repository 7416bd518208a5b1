#pragma once

#include "engine/nodes/CCMenuItemSprite.h"

namespace kvengine {
class CCSprite;
}

/// What the three portrait icons share: one tappable picture of a portrait list (`KVPortraitItem`)
/// with two frame sprites, a normal and a selected one, of which one is shown as the item's normal
/// image. The picture sits on or in front of the frame; marks (lock, "new", amount, owned, tutorial
/// hint) are children of the icon under fixed tags.
///
/// The user object of an icon is a `CCString` holding the key of the entry it stands for (set by
/// the list). A tap calls the handler with the icon, then disables the icon for half a second so
/// that a double click calls it once. Every release posts "EVENT_BUTTON_VALIDATED_LIGHT" (the
/// sound manager clicks), or "EVENT_BUTTON_INVALIDATED" for an icon that shows a plain picture in
/// place of a framed one (a locked item). The target is not retained and must outlive the icon.
class KVPortraitIcon : public kvengine::CCMenuItemSprite {
public:
    CC_DECLARE_CLASS_NAME(KVPortraitIcon, kvengine::CCMenuItemSprite)

    /// Child tags of the marks.
    static constexpr int kNewMarkTag = 25;       ///< "KV_IconeNew.png" of an unseen shop item
    static constexpr int kBadgeTag = 26;         ///< amount badge or owned mark of a consumable
    static constexpr int kAmountTag = 27;        ///< the amount label on the badge
    static constexpr int kNewHelmetMarkTag = 28; ///< "KV_IconeNew_Helmets.png" of the equipment list
    static constexpr int kHintTag = 365;         ///< tutorial double-tap hint
    static constexpr int kHintZ = 1010;
    /// Seconds an activated icon stays disabled.
    static constexpr float kLockSeconds = 0.5f;
    /// Size of every portrait icon, in points.
    static constexpr float kWidth = 66;
    static constexpr float kHeight = 71;

    /// The normal image becomes the normal frame / the selected frame.
    void showNormalFrame();
    void showSelectedFrame();
    /// The selected frame is the shown image.
    bool isShowingSelectedFrame() const;

    kvengine::CCSprite* getNormalFrame() const { return m_normalFrame; }
    kvengine::CCSprite* getSelectedFrame() const { return m_selectedFrame; }
    /// The icon shows a plain picture (locked or hidden item): its release sounds invalid.
    bool isInvalidTap() const { return m_invalidTap; }
    bool isCleanedUp() const { return m_cleanedUp; }

    void cleanupBeforeDelete() override;
    void cleanup() override;
    void activate() override;
    void unselected() override;

protected:
    /// Sprites of the two frames, retained; false (logged) when a frame is not loaded.
    [[nodiscard]] bool takeFrames(const char* normalFrame, const char* selectedFrame);
    void setInvalidTap(bool invalid) { m_invalidTap = invalid; }
    void setCleanedUp(bool cleanedUp) { m_cleanedUp = cleanedUp; }

    /// A sprite of `frameName`; when the frame is not loaded, "KV_hiddenLarge.png" stands in for it
    /// (logged); null when neither is loaded.
    static kvengine::CCSprite* pictureOrHidden(const char* frameName);

private:
    void reenable(float dt);

    kvengine::CCSprite* m_normalFrame = nullptr;
    kvengine::CCSprite* m_selectedFrame = nullptr;
    bool m_invalidTap = false;
    bool m_cleanedUp = false;
};
