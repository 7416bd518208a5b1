#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/labels/CCLabelTTF.h"

namespace kvengine {
class CCAction;
class CCString;
} // namespace kvengine

/// A TrueType label with a black copy of itself one point right and one point down, for text that
/// must stay readable over busy pictures (HUD, result screens, buttons, menu items).
///
/// The shadow is a plain `CCLabelTTF` child at z -1 (retained by the label, released in
/// cleanupBeforeDelete) with the same text, font, size and box. Callers use the label as any
/// `CCLabelTTF`: setString/setWideString re-text both, setAnchorPoint and setOpacity keep the
/// shadow in step, setColor colours the label only (the shadow stays black), and a position change
/// needs nothing since the shadow is a child.
///
///     KVLabelWithShadow* label = KVLabelWithShadow::createWithStdString("3 turns",
///     "fonts/Kelvos-Kelvos.ttf", 18); label->setColor(ccColor3B{255, 255, 0});
///     label->runActionWithOutline(CCFadeIn::createWithDuration(0.3f)); // fades the shadow too
///
/// The factories return an autoreleased label even when its text cannot be rendered (a missing
/// font, a box larger than a texture): such a label has no shadow, shows nothing, ignores
/// setOpacity and setAnchorPoint, and says so in one log line the first time it is used.
class KVLabelWithShadow : public kvengine::CCLabelTTF {
public:
    CC_DECLARE_CLASS_NAME(KVLabelWithShadow, kvengine::CCLabelTTF)

    /// A `CCString` that carries a wide copy is rendered through the wide label operations.
    static KVLabelWithShadow* createWithString(kvengine::CCString* text, const char* fontName,
                                               float fontSize);
    static KVLabelWithShadow* createWithStdString(const std::string& text, const char* fontName,
                                                  float fontSize);
    /// A label laid out in a fixed box of width x height points, always centred horizontally.
    static KVLabelWithShadow* createWithStringInBox(kvengine::CCString* text, const char* fontName,
                                                    float fontSize, float width, float height);
    static KVLabelWithShadow* createWithStdStringInBox(const std::string& text, const char* fontName,
                                                       float fontSize, float width, float height);

    /// The shadow's displacement from the label, in points (y grows upwards).
    static constexpr float kShadowOffsetX = 1.0f;
    static constexpr float kShadowOffsetY = -1.0f;

    void cleanupBeforeDelete() override;
    void setPosition(const kvengine::CCPoint& position) override;
    void setAnchorPoint(const kvengine::CCPoint& point) override;
    void setOpacity(uint8_t opacity) override;
    void setString(const char* text) override;
    void setWideString(const char16_t* text) override;

    /// Runs `action` on the label and a matching action on the shadow: a fade-in becomes a fade to
    /// 255 of the same duration, a move none (the shadow follows as a child), a sequence none
    /// (sequences run on the label alone), anything else a copy. Returns `action`; null does nothing.
    virtual kvengine::CCAction* runActionWithOutline(kvengine::CCAction* action);
    /// Stops every action of the shadow, then every action of the label.
    virtual void stopActionsWithOutline();

    /// The shadow label, or null when the text failed to initialise.
    kvengine::CCLabelTTF* getShadow() const { return m_shadow; }
    /// False for a label whose own text could not be initialised.
    bool hasText() const { return !m_failed; }

private:
    static KVLabelWithShadow* create(const char* narrow, const char16_t* wide, const char* fontName,
                                     float fontSize, bool boxed, float width, float height);
    [[nodiscard]] bool initWithText(const char* narrow, const char16_t* wide, const char* fontName,
                                    float fontSize, bool boxed, float width, float height);
    void placeShadow();
    /// True (after one log line for the whole life of the label) when the label failed to initialise.
    bool refuseWhenFailed(const char* operation);

    kvengine::CCRetained<kvengine::CCLabelTTF> m_shadow;
    bool m_failed = false;
    bool m_failureLogged = false;
};
