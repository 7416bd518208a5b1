#pragma once
#include "engine/nodes/CCLayerColor.h"

namespace kvengine {

/// A colour layer whose corners blend from a start colour to an end colour along a vector.
class CCLayerGradient : public CCLayerColor {
public:
    /// Autoreleased, covering the window; null when init fails.
    static CCLayerGradient* createWithColors(const ccColor4B& start, const ccColor4B& end);
    static CCLayerGradient* createWithColorsAndVector(const ccColor4B& start, const ccColor4B& end,
                                                      const CCPoint& vector);

    [[nodiscard]] virtual bool initWithColorsAndVector(const ccColor4B& start, const ccColor4B& end,
                                                       const CCPoint& vector);
    /// Vector (0, -1): start colour at the top, end colour at the bottom.
    [[nodiscard]] virtual bool initWithColors(const ccColor4B& start, const ccColor4B& end);
    void updateColor() override;

    void setStartColor(const ccColor3B& color) { setColor(color); }
    ccColor3B getStartColor() { return m_color; }
    void setEndColor(const ccColor3B& color);
    ccColor3B getEndColor() const { return m_endColor; }
    void setStartOpacity(uint8_t opacity);
    uint8_t getStartOpacity() const { return m_startOpacity; }
    void setEndOpacity(uint8_t opacity);
    uint8_t getEndOpacity() const { return m_endOpacity; }
    void setVector(const CCPoint& vector);
    CCPoint getVector() const { return m_vector; }
    void setCompressedInterpolation(bool compressed);
    bool isCompressedInterpolation() const { return m_compressedInterpolation; }

private:
    ccColor3B m_endColor;
    uint8_t m_startOpacity = 255;
    uint8_t m_endOpacity = 255;
    CCPoint m_vector{0.0f, -1.0f};
    bool m_compressedInterpolation = true;
};

} // namespace kvengine
