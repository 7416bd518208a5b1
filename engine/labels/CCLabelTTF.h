#pragma once
#include "engine/nodes/CCProtocols.h"
#include "engine/sprites/CCSprite.h"

#include <string>

namespace kvengine {

/// A text rendered with a TrueType face (a system face name or the path of a ".ttf" file) into
/// a texture, shown as a sprite of that whole texture.
///
/// Every text change renders a new texture; the previous one is released (label textures are
/// not cached). A label either fits its texture to the text, or lays the text out in a fixed box
/// with an alignment (0 left, 1 centre, other values right; always vertically centred). Units:
/// the box and font size are given in points and kept in pixels. Text that cannot be rendered
/// leaves the label empty (no texture, empty rectangle, log line). Reports the class name "CCNode".
class CCLabelTTF : public CCSprite, public CCLabelProtocol {
public:
    /// A label fitted to `text` (UTF-8); null when the init fails.
    static CCLabelTTF* createWithString(const char* text, const char* fontName, float fontSize);
    /// The same for UTF-16 text.
    static CCLabelTTF* createWithWideString(const char16_t* text, const char* fontName, float fontSize);
    /// A label of a fixed box (points) with an alignment.
    static CCLabelTTF* createWithStringDimensions(const char* text, int alignment, const char* fontName,
                                                  float fontSize, float boxWidth, float boxHeight);
    static CCLabelTTF* createWithWideStringDimensions(const char16_t* text, int alignment,
                                                      const char* fontName, float fontSize, float boxWidth,
                                                      float boxHeight);

    CCLabelTTF() = default;
    ~CCLabelTTF() override = default;

    [[nodiscard]] bool initWithString(const char* text, const char* fontName, float fontSize);
    [[nodiscard]] bool initWithWideString(const char16_t* text, const char* fontName, float fontSize);
    [[nodiscard]] bool initWithStringDimensions(const char* text, int alignment, const char* fontName,
                                                float fontSize, float boxWidth, float boxHeight);
    [[nodiscard]] bool initWithWideStringDimensions(const char16_t* text, int alignment, const char* fontName,
                                                    float fontSize, float boxWidth, float boxHeight);

    /// Replaces the narrow text (null: empty) and renders it; the wide text is left as it was.
    void setString(const char* text) override;
    /// Replaces the wide text (null: empty) and renders it; the narrow text becomes the low byte
    /// of each unit.
    void setWideString(const char16_t* text) override;
    const char* getString() override { return m_text.c_str(); }
    /// The last wide text set, or null when none was.
    const char16_t* getWideString() override { return m_hasWide ? m_wide.c_str() : nullptr; }
    CCLabelProtocol* asLabelProtocol() override { return this; }

    /// Box size in pixels; (0, 0) for a fitted label.
    const CCSize& getDimensions() const { return m_dimensions; }
    int getAlignment() const { return m_alignment; }
    const std::string& getFontName() const { return m_fontName; }
    /// In pixels.
    float getFontSize() const { return m_fontSize; }

private:
    void setUp(const char* fontName, float fontSize);
    /// Renders the text (wide when `wide`) into a new texture and shows it.
    void render(bool wide);

    CCSize m_dimensions;
    int m_alignment = 1;
    std::string m_fontName;
    float m_fontSize = 0.0f;
    std::string m_text;
    bool m_hasWide = false;
    std::u16string m_wide;
};

} // namespace kvengine
