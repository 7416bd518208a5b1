#include "engine/nodes/CCLayerGradient.h"

#include <cmath>

namespace kvengine {

namespace {
template <class T> T* finish(T* layer, bool ok) {
    if (!ok) {
        delete layer;
        return nullptr;
    }
    layer->autorelease();
    return layer;
}
} // namespace

CCLayerGradient* CCLayerGradient::createWithColors(const ccColor4B& start, const ccColor4B& end) {
    auto* layer = new CCLayerGradient();
    return finish(layer, layer->initWithColors(start, end));
}

CCLayerGradient* CCLayerGradient::createWithColorsAndVector(const ccColor4B& start, const ccColor4B& end,
                                                            const CCPoint& vector) {
    auto* layer = new CCLayerGradient();
    return finish(layer, layer->initWithColorsAndVector(start, end, vector));
}

bool CCLayerGradient::initWithColorsAndVector(const ccColor4B& start, const ccColor4B& end,
                                              const CCPoint& vector) {
    m_endColor = ccColor3B{end.r, end.g, end.b};
    m_endOpacity = end.a;
    m_startOpacity = start.a;
    m_vector = vector;
    m_compressedInterpolation = true;
    return CCLayerColor::initWithColor(ccColor4B{start.r, start.g, start.b, 255});
}

bool CCLayerGradient::initWithColors(const ccColor4B& start, const ccColor4B& end) {
    return initWithColorsAndVector(start, end, CCPoint(0.0f, -1.0f));
}

void CCLayerGradient::updateColor() {
    CCLayerColor::updateColor();
    const float h = pointLength(m_vector);
    if (h == 0.0f) return;
    const float c = std::sqrt(2.0f);
    CCPoint u(m_vector.x / h, m_vector.y / h);
    if (m_compressedInterpolation) {
        const float k = c / (std::fabs(u.x) + std::fabs(u.y));
        u = CCPoint(u.x * k, u.y * k);
    }
    const float f = static_cast<float>(m_opacity) / 255.0f;
    auto fl = [](uint8_t v) { return static_cast<float>(v); };
    const float s[4] = {fl(m_color.r), fl(m_color.g), fl(m_color.b),
                        static_cast<float>(static_cast<uint8_t>(static_cast<float>(m_startOpacity) * f))};
    const float e[4] = {fl(m_endColor.r), fl(m_endColor.g), fl(m_endColor.b),
                        static_cast<float>(static_cast<uint8_t>(static_cast<float>(m_endOpacity) * f))};
    const float weights[4] = {(c + u.x + u.y) / (2.0f * c), (c - u.x + u.y) / (2.0f * c),
                              (c + u.x - u.y) / (2.0f * c), (c - u.x - u.y) / (2.0f * c)};
    for (int corner = 0; corner < 4; ++corner) {
        for (int k = 0; k < 4; ++k) {
            const float v = e[k] + (s[k] - e[k]) * weights[corner];
            m_cornerColors[corner * 4 + k] = static_cast<uint8_t>(static_cast<int>(v));
        }
    }
}

void CCLayerGradient::setEndColor(const ccColor3B& color) {
    m_endColor = color;
    updateColor();
}

void CCLayerGradient::setStartOpacity(uint8_t opacity) {
    m_startOpacity = opacity;
    updateColor();
}

void CCLayerGradient::setEndOpacity(uint8_t opacity) {
    m_endOpacity = opacity;
    updateColor();
}

void CCLayerGradient::setVector(const CCPoint& vector) {
    m_vector = vector;
    updateColor();
}

void CCLayerGradient::setCompressedInterpolation(bool compressed) {
    m_compressedInterpolation = compressed;
    updateColor();
}

} // namespace kvengine
