#pragma once
#include "engine/base/CCRetained.h"
#include "engine/nodes/CCProtocols.h"
#include "engine/sprites/CCSpriteBatchNode.h"

#include <string>

namespace kvengine {

class CCBMFontConfiguration;

/// A text drawn with a bitmap font (".fnt" description plus atlas image): a sprite batch node
/// with one character sprite per byte of the text, all drawn in one call.
///
/// Character sprites are children tagged by their position in the text; they are made on
/// demand and reused, never removed: a shorter text leaves the extra ones invisible. Only byte
/// values (0 to 255) reach the font's glyphs; a character without a glyph takes no room.
/// Ownership: the label retains its configuration, which is shared by every label of the same
/// file. Units: layout in pixels. Reports the class name "CCNode".
class CCLabelBMFont : public CCSpriteBatchNode, public CCLabelProtocol, public CCRGBAProtocol {
public:
    /// Null (logged) when the font's atlas image cannot be loaded (also for a missing ".fnt").
    static CCLabelBMFont* createWithString(const char* text, const char* fntFile);
    /// Releases the shared font configurations.
    static void purgeCachedData();

    CCLabelBMFont() = default;
    ~CCLabelBMFont() override;

    [[nodiscard]] bool initWithString(const char* text, const char* fntFile);

    /// Replaces the text (null: empty) and lays the characters out again.
    void setString(const char* text) override;
    const char* getString() override { return m_text.c_str(); }
    /// Wide text is not supported by bitmap fonts: ignored.
    void setWideString(const char16_t* text) override { (void)text; }
    const char16_t* getWideString() override { return nullptr; }
    virtual void setCString(const char* text) { setString(text); }
    /// Lays the characters out again when the point changes.
    void setAnchorPoint(const CCPoint& point) override;
    /// The kerning between two character codes, 0 when none.
    int kerningAmountForFirst(uint32_t first, uint32_t second) const;
    CCBMFontConfiguration* getConfiguration() const { return m_configuration; }

    // --- colour, passed on to every character ------------------------------------------------
    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override { return m_color; }
    uint8_t getOpacity() override { return m_opacity; }
    void setOpacity(uint8_t opacity) override;
    void setOpacityModifyRGB(bool value) override;
    bool isOpacityModifyRGB() override { return m_opacityModifyRGB; }
    CCRGBAProtocol* asRGBAProtocol() override { return this; }
    CCLabelProtocol* asLabelProtocol() override { return this; }

private:
    void buildCharacterSprites();

    uint8_t m_opacity = 255;
    ccColor3B m_color{255, 255, 255};
    bool m_opacityModifyRGB = false;
    std::string m_text;
    CCRetained<CCBMFontConfiguration> m_configuration;
};

} // namespace kvengine
