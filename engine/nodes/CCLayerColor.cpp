#include "engine/nodes/CCLayerColor.h"

#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"

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
    for (float& v : m_vertices)
        v = 0.0f;
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
    const float f = CCDirector::sharedContentScaleFactor();
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

// The pair actually used: the default pair draws a translucent colour with straight alpha.
ccBlendFunc CCLayerColor::effectiveBlendFunc() const {
    if (m_blendFunc.src == GL_ONE && m_blendFunc.dst == GL_ONE_MINUS_SRC_ALPHA && m_opacity != 255)
        return ccBlendFunc{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    return m_blendFunc;
}

void CCLayerColor::draw() {
    // A layer faded out (every corner leaves the picture unchanged) costs nothing; an opaque one
    // is drawn without reading the pixels under it.
    const ccBlendFunc blend = effectiveBlendFunc();
    bool nothing = true;
    bool opaque = true;
    for (int corner = 0; corner < 4; ++corner) {
        const uint8_t* c = m_cornerColors + corner * 4;
        const ccColor4B color{c[0], c[1], c[2], c[3]};
        nothing = nothing && blendShowsNothing(blend, color);
        opaque = opaque && blendIsReplace(blend, color.a, true);
    }
    if (nothing) return;
    const bool blendOff = opaque && glIsEnabled(GL_BLEND);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glVertexPointer(2, GL_FLOAT, 0, m_vertices);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, m_cornerColors);

    const bool blendChanged = !blendOff && (blend.src != GL_ONE || blend.dst != GL_ONE_MINUS_SRC_ALPHA);
    if (blendOff) glDisable(GL_BLEND);
    if (blendChanged) glBlendFunc(blend.src, blend.dst);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    if (blendChanged) glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    if (blendOff) glEnable(GL_BLEND);

    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
}

} // namespace kvengine
