#include "game/hud/KVLabelWithShadow.h"

#include "engine/actions/CCActionManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "game/hud/KVCompanionAction.h"

using namespace kvengine;

namespace {
// Boxed labels are always centred horizontally.
constexpr int kCentred = 1;
constexpr ccColor3B kShadowColour{0, 0, 0};
} // namespace

KVLabelWithShadow* KVLabelWithShadow::createWithString(CCString* text, const char* fontName, float fontSize) {
    const char16_t* wide = text != nullptr ? text->wideString() : nullptr;
    return create(text != nullptr ? text->c_str() : "", wide, fontName, fontSize, false, 0, 0);
}

KVLabelWithShadow* KVLabelWithShadow::createWithStdString(const std::string& text, const char* fontName,
                                                          float fontSize) {
    return create(text.c_str(), nullptr, fontName, fontSize, false, 0, 0);
}

KVLabelWithShadow* KVLabelWithShadow::createWithStringInBox(CCString* text, const char* fontName,
                                                            float fontSize, float width, float height) {
    const char16_t* wide = text != nullptr ? text->wideString() : nullptr;
    return create(text != nullptr ? text->c_str() : "", wide, fontName, fontSize, true, width, height);
}

KVLabelWithShadow* KVLabelWithShadow::createWithStdStringInBox(const std::string& text, const char* fontName,
                                                               float fontSize, float width, float height) {
    return create(text.c_str(), nullptr, fontName, fontSize, true, width, height);
}

KVLabelWithShadow* KVLabelWithShadow::create(const char* narrow, const char16_t* wide, const char* fontName,
                                             float fontSize, bool boxed, float width, float height) {
    auto* label = new KVLabelWithShadow();
    if (!label->initWithText(narrow, wide, fontName, fontSize, boxed, width, height)) {
        // Callers place and colour what they get back without testing it: keep the object.
        label->m_failed = true;
        logDebugMessage("labels: \"%s\" in \"%s\" cannot be shown", narrow,
                        fontName != nullptr ? fontName : "");
    }
    label->autorelease();
    return label;
}

bool KVLabelWithShadow::initWithText(const char* narrow, const char16_t* wide, const char* fontName,
                                     float fontSize, bool boxed, float width, float height) {
    bool ok = false;
    if (boxed) {
        ok = wide != nullptr ? initWithWideStringDimensions(wide, kCentred, fontName, fontSize, width, height)
                             : initWithStringDimensions(narrow, kCentred, fontName, fontSize, width, height);
    } else {
        ok = wide != nullptr ? initWithWideString(wide, fontName, fontSize)
                             : initWithString(narrow, fontName, fontSize);
    }
    // The engine's init keeps a label whose text it could not render (empty, no texture); an empty
    // text legitimately has no texture, any other text must have one.
    const bool emptyText = wide != nullptr ? wide[0] == u'\0' : (narrow == nullptr || narrow[0] == '\0');
    if (!ok || (getTexture() == nullptr && !emptyText)) return false;

    if (boxed) {
        m_shadow = wide != nullptr ? CCLabelTTF::createWithWideStringDimensions(wide, kCentred, fontName,
                                                                                fontSize, width, height)
                                   : CCLabelTTF::createWithStringDimensions(narrow, kCentred, fontName,
                                                                            fontSize, width, height);
    } else {
        m_shadow = wide != nullptr ? CCLabelTTF::createWithWideString(wide, fontName, fontSize)
                                   : CCLabelTTF::createWithString(narrow, fontName, fontSize);
    }
    if (m_shadow == nullptr) return true; // the label itself shows; it just has no shadow
    addChildAtZ(m_shadow, -1);
    m_shadow->setOpacity(255);
    m_shadow->setAnchorPoint(CCPoint(0.5f, 0.5f));
    placeShadow();
    m_shadow->setColor(kShadowColour);
    return true;
}

void KVLabelWithShadow::cleanupBeforeDelete() {
    m_shadow.reset();
    CCLabelTTF::cleanupBeforeDelete();
}

void KVLabelWithShadow::placeShadow() {
    const CCSize size = getContentSize();
    const CCPoint anchor = getAnchorPoint();
    m_shadow->setPosition(
        CCPoint(size.width * anchor.x + kShadowOffsetX, size.height * anchor.y + kShadowOffsetY));
}

bool KVLabelWithShadow::refuseWhenFailed(const char* operation) {
    if (!m_failed) return false;
    if (!m_failureLogged) {
        m_failureLogged = true;
        logDebugMessage("labels: %s ignored on a label whose text could not be shown (\"%s\")", operation,
                        getString());
    }
    return true;
}

void KVLabelWithShadow::setPosition(const CCPoint& position) {
    // The shadow is a child: it moves with the label.
    CCLabelTTF::setPosition(position);
}

void KVLabelWithShadow::setAnchorPoint(const CCPoint& point) {
    if (refuseWhenFailed("setAnchorPoint")) return;
    CCLabelTTF::setAnchorPoint(point);
    if (m_shadow == nullptr) return; // still being initialised
    m_shadow->setAnchorPoint(point);
    placeShadow();
}

void KVLabelWithShadow::setOpacity(uint8_t opacity) {
    if (refuseWhenFailed("setOpacity")) return;
    CCLabelTTF::setOpacity(opacity);
    if (m_shadow != nullptr) m_shadow->setOpacity(opacity);
}

void KVLabelWithShadow::setString(const char* text) {
    refuseWhenFailed("setString");
    CCLabelTTF::setString(text);
    if (m_shadow == nullptr) return;
    m_shadow->setString(text);
    placeShadow();
}

void KVLabelWithShadow::setWideString(const char16_t* text) {
    refuseWhenFailed("setWideString");
    CCLabelTTF::setWideString(text);
    if (m_shadow == nullptr) return;
    m_shadow->setWideString(text);
    placeShadow();
}

CCAction* KVLabelWithShadow::runActionWithOutline(CCAction* action) {
    return kvhud::runActionWithCompanion(this, m_shadow, action);
}

void KVLabelWithShadow::stopActionsWithOutline() {
    CCActionManager* manager = CCActionManager::getInstance();
    if (m_shadow != nullptr) manager->removeAllActionsFromTarget(m_shadow);
    manager->removeAllActionsFromTarget(this);
}
