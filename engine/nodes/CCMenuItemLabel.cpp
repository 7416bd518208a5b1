#include "engine/nodes/CCMenuItemLabel.h"

#include "engine/actions/CCAction.h"
#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/base/CCLog.h"

namespace kvengine {

CCMenuItemLabel* CCMenuItemLabel::createWithLabel(CCNode* label, CCObject* target, SEL_MenuHandler selector) {
    auto* item = new CCMenuItemLabel();
    if (!item->initWithLabel(label, target, selector)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

bool CCMenuItemLabel::initWithLabel(CCNode* label, CCObject* target, SEL_MenuHandler selector) {
    if (!label) {
        logDebugMessage("CCMenuItemLabel: no label");
        return false;
    }
    initWithTarget(target, selector);
    m_originalScale = 1.0f;
    m_colorBackup = ccColor3B{255, 255, 255};
    m_disabledColor = ccColor3B{126, 126, 126};
    setLabel(label);
    return m_label == label;
}

void CCMenuItemLabel::setLabel(CCNode* label) {
    if (!label || label == m_label) return;
    addChild(label);
    if (label->getParent() != this) return; // refused (it belongs to another node)
    label->setAnchorPoint(CCPointZero);
    setContentSize(label->getContentSize());
    if (m_label) removeChild(m_label, true);
    m_label = label;
}

void CCMenuItemLabel::activate() {
    if (!m_enabled) return;
    stopAllActions();
    setScale(m_originalScale);
    CCMenuItem::activate();
}

void CCMenuItemLabel::selected() {
    if (!m_enabled) return;
    CCMenuItem::selected();
    if (CCAction* zoom = getActionByTag(kZoomActionTag))
        stopAction(zoom);
    else
        m_originalScale = getScaleX();
}

void CCMenuItemLabel::unselected() {
    if (!m_enabled) return;
    CCMenuItem::unselected();
    stopActionByTag(kZoomActionTag);
    CCAction* zoom = CCScaleTo::createWithDurationScale(0.1f, m_originalScale);
    zoom->setTag(kZoomActionTag);
    runAction(zoom);
}

void CCMenuItemLabel::setEnabled(bool enabled) {
    if (m_enabled != enabled) {
        if (CCRGBAProtocol* rgba = labelColour()) {
            if (!enabled) {
                m_colorBackup = rgba->getColor();
                rgba->setColor(m_disabledColor);
            } else {
                rgba->setColor(m_colorBackup);
            }
        }
    }
    CCMenuItem::setEnabled(enabled);
}

void CCMenuItemLabel::setColor(const ccColor3B& color) {
    if (CCRGBAProtocol* rgba = labelColour()) rgba->setColor(color);
}

ccColor3B CCMenuItemLabel::getColor() {
    CCRGBAProtocol* rgba = labelColour();
    return rgba ? rgba->getColor() : ccColor3B{255, 255, 255};
}

uint8_t CCMenuItemLabel::getOpacity() {
    CCRGBAProtocol* rgba = labelColour();
    return rgba ? rgba->getOpacity() : 255;
}

void CCMenuItemLabel::setOpacity(uint8_t opacity) {
    if (CCRGBAProtocol* rgba = labelColour()) rgba->setOpacity(opacity);
}

} // namespace kvengine
