#include "game/hud/KVLabelWithStroke.h"

#include <cmath>

#include "engine/actions/CCActionManager.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCRenderTexture.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "game/hud/KVCompanionAction.h"

using namespace kvengine;

namespace {
// Render textures wider or taller than this many points (times the content scale) are not made.
constexpr float kLargestOutline = 1024.0f;
constexpr float kDefaultStrokeSize = 1.0f;
constexpr ccColor3B kDefaultStrokeColour{0, 0, 0};
// Twelve copies, 30 degrees apart, make a round outline for strokes of a few points.
constexpr int kCopyStepDegrees = 30;
constexpr float kRadiansPerDegree = 0.017453292f;
} // namespace

KVLabelWithStroke* KVLabelWithStroke::createWithStdString(const std::string& text, const char* fontName,
                                                          float fontSize, uint8_t red, uint8_t green,
                                                          uint8_t blue, float strokeSize) {
    auto* label = new KVLabelWithStroke();
    label->m_initialising = true;
    // The engine keeps a label whose text it cannot render; setString below reports it.
    (void)label->initWithString(text.c_str(), fontName, fontSize);
    label->m_initialising = false;
    label->m_strokeSize = strokeSize;
    label->m_strokeColor = ccColor3B{red, green, blue};
    label->setString(text.c_str());
    label->autorelease();
    return label;
}

void KVLabelWithStroke::cleanupBeforeDelete() {
    dropOutline();
    CCLabelTTF::cleanupBeforeDelete();
}

void KVLabelWithStroke::dropOutline() {
    if (m_outline == nullptr) return;
    m_outline->removeFromParent(true);
    m_outline.reset();
}

void KVLabelWithStroke::setString(const char* text) {
    // An empty label has no texture and so no height: keep one letter's worth of outline.
    const char* shown = (text == nullptr || text[0] == '\0') ? "a" : text;
    CCLabelTTF::setString(shown);
    rebuildOutline();
}

void KVLabelWithStroke::setWideString(const char16_t* text) {
    CCLabelTTF::setWideString(text);
    rebuildOutline();
}

void KVLabelWithStroke::rebuildOutline() {
    if (m_initialising) return;
    dropOutline();
    const float limit = kLargestOutline * CCDirector::sharedContentScaleFactor();
    const CCSize& box = getDimensions();
    if (box.width >= limit || box.height >= limit) {
        logDebugMessage(
            "labels: no outline for \"%s\": its %.0f x %.0f box is too large for a render texture",
            getString(), box.width, box.height);
        return;
    }
    if (m_strokeSize == 0.0f) {
        m_strokeSize = kDefaultStrokeSize;
        m_strokeColor = kDefaultStrokeColour;
    }
    buildOutline(m_strokeSize, m_strokeColor);
    updateStrokePosition();
}

void KVLabelWithStroke::buildOutline(float size, const ccColor3B& colour) {
    m_building = true;
    CCTexture2D* texture = getTexture();
    const CCSize text = texture != nullptr ? texture->getContentSize() : CCSizeZero;
    CCRenderTexture* outline = CCRenderTexture::createWithWidthHeight(
        static_cast<int>(text.width + 2 * size), static_cast<int>(text.height + 2 * size));
    if (outline == nullptr) {
        // Logged by the render texture; the label shows without an outline.
        m_building = false;
        return;
    }
    outline->setContentSize(CCSize(text.width + 2 * size, text.height + 2 * size));

    const CCPoint position = getPosition();
    const ccColor3B ownColour = getColor();
    const bool visible = isVisible();
    const ccBlendFunc ownBlend = getBlendFunc();
    CCLabelTTF::setColor(colour);
    setVisible(true);
    // Additive, so that the copies add up to a solid rim instead of darkening one another.
    setBlendFunc(ccBlendFunc{GL_SRC_ALPHA, GL_ONE});

    const CCPoint anchor = getAnchorPoint();
    const CCPoint centre(anchor.x * text.width + size, anchor.y * text.height + size);
    outline->begin();
    for (int degrees = 0; degrees < 360; degrees += kCopyStepDegrees) {
        const float radians = static_cast<float>(degrees) * kRadiansPerDegree;
        CCLabelTTF::setPosition(
            CCPoint(centre.x + std::sin(radians) * size, centre.y + std::cos(radians) * size));
        visit();
    }
    outline->end();

    CCLabelTTF::setPosition(position);
    CCLabelTTF::setColor(ownColour);
    setBlendFunc(ownBlend);
    setVisible(visible);

    dropOutline();
    m_outline = outline;
    m_outline->setAnchorPoint(anchor);
    m_strokeSize = size;
    m_strokeColor = colour;
    addChildAtZWithTag(m_outline, -1, kOutlineTag);
    m_building = false;
    updateStrokePosition();
}

void KVLabelWithStroke::updateStrokePosition() {
    if (m_building || m_outline == nullptr) return;
    // The render texture shows its picture centred on its own origin.
    const CCSize size = getContentSize();
    m_outline->setAnchorPoint(CCPoint(0, 0));
    m_outline->setPosition(CCPoint(size.width * 0.5f, size.height * 0.5f));
}

void KVLabelWithStroke::setPosition(const CCPoint& position) {
    CCLabelTTF::setPosition(position);
    updateStrokePosition();
}

void KVLabelWithStroke::setAnchorPoint(const CCPoint& point) {
    CCLabelTTF::setAnchorPoint(point);
    if (m_outline == nullptr) return;
    m_outline->setAnchorPoint(point);
    updateStrokePosition();
}

void KVLabelWithStroke::setColor(const ccColor3B& color) {
    // The text only: the outline keeps the stroke colour it was baked with.
    CCLabelTTF::setColor(color);
}

CCAction* KVLabelWithStroke::runActionWithOutline(CCAction* action) {
    // The render texture node has no colour of its own; its sprite carries the picture, so a fade
    // given to the outline reaches what is seen.
    CCNode* companion = m_outline != nullptr ? m_outline->getSprite() : nullptr;
    return kvhud::runActionWithCompanion(this, companion, action);
}

void KVLabelWithStroke::stopActionsWithOutline() {
    CCActionManager* manager = CCActionManager::getInstance();
    if (CCNode* outline = getChildByTag(kOutlineTag)) {
        manager->removeAllActionsFromTarget(outline);
        if (m_outline == outline && m_outline->getSprite() != nullptr)
            manager->removeAllActionsFromTarget(m_outline->getSprite());
    }
    manager->removeAllActionsFromTarget(this);
}
