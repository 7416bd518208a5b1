#include "engine/nodes/CCLayerColor.h"

#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"

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

CCLayerColor* CCLayerColor::createWithColor(const ccColor4B& color, float width, float height) {
    auto* layer = new CCLayerColor();
    return finish(layer, layer->initWithColorAndSize(color, width, height));
}

CCLayerColor* CCLayerColor::createCoveringWindow(const ccColor4B& color) {
    auto* layer = new CCLayerColor();
    return finish(layer, layer->initWithColor(color));
}

bool CCLayerColor::initWithColorAndSize(const ccColor4B& color, float width, float height) {
    m_color = ccColor3B{color.r, color.g, color.b};
    m_opacity = color.a;
    m_blendFunc = ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
    for (float& v : m_vertices) v = 0.0f;
    updateColor();
    setContentSize(CCSize(width, height));
    return true;
}

bool CCLayerColor::initWithColor(const ccColor4B& color) {
    const CCSize size = CCDirector::getInstance()->getWinSize();
    return initWithColorAndSize(color, size.width, size.height);
}

void CCLayerColor::updateColor() {
    for (int corner = 0; corner < 4; ++corner) {
        m_cornerColors[corner * 4 + 0] = m_color.r;
        m_cornerColors[corner * 4 + 1] = m_color.g;
        m_cornerColors[corner * 4 + 2] = m_color.b;
        m_cornerColors[corner * 4 + 3] = m_opacity;
    }
}

void CCLayerColor::setContentSize(const CCSize& size) {
    const float f = CCDirector::getInstance()->getContentScaleFactor();
    const float w = size.width * f;
    const float h = size.height * f;
    m_vertices[2] = w; // bottom-right
    m_vertices[3] = 0.0f;
    m_vertices[4] = 0.0f; // top-left
    m_vertices[5] = h;
    m_vertices[6] = w; // top-right
    m_vertices[7] = h;
    CCLayer::setContentSize(size);
}

void CCLayerColor::setColor(const ccColor3B& color) {
    m_color = color;
    updateColor();
}

void CCLayerColor::setOpacity(uint8_t opacity) {
    m_opacity = opacity;
    updateColor();
}

void CCLayerColor::draw() {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glVertexPointer(2, GL_FLOAT, 0, m_vertices);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, m_cornerColors);

    bool blendChanged = false;
    if (m_blendFunc.src != GL_ONE || m_blendFunc.dst != GL_ONE_MINUS_SRC_ALPHA) {
        glBlendFunc(m_blendFunc.src, m_blendFunc.dst);
        blendChanged = true;
    } else if (m_opacity != 255) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        blendChanged = true;
    }
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    if (blendChanged) glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);

    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
}

// --- gradient ----------------------------------------------------------------------------

CCLayerGradient* CCLayerGradient::createWithColors(const ccColor4B& start, const ccColor4B& end) {
    auto* layer = new CCLayerGradient();
    return finish(layer, layer->initWithColors(start, end));
}

CCLayerGradient* CCLayerGradient::createWithColorsAndVector(const ccColor4B& start, const ccColor4B& end,
                                                            const CCPoint& vector) {
    auto* layer = new CCLayerGradient();
    return finish(layer, layer->initWithColorsAndVector(start, end, vector));
}

bool CCLayerGradient::initWithColorsAndVector(const ccColor4B& start, const ccColor4B& end, const CCPoint& vector) {
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
