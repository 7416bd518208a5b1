#include "engine/nodes/CCMenuItemSprite.h"

#include "engine/base/CCLog.h"

namespace kvengine {

namespace {

void showNode(CCNode* node, bool visible) {
    if (node) node->setVisible(visible);
}

} // namespace

CCMenuItemSprite* CCMenuItemSprite::createWithSpritesDisabledAndTarget(CCNode* normal, CCNode* selected,
                                                                       CCNode* disabled, CCObject* target,
                                                                       SEL_MenuHandler selector) {
    auto* item = new CCMenuItemSprite();
    if (!item->initWithSprites(normal, selected, disabled, target, selector)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

CCMenuItemSprite* CCMenuItemSprite::createWithSpritesAndTarget(CCNode* normal, CCNode* selected,
                                                               CCObject* target, SEL_MenuHandler selector) {
    return createWithSpritesDisabledAndTarget(normal, selected, nullptr, target, selector);
}

CCMenuItemSprite* CCMenuItemSprite::createWithSprites(CCNode* normal, CCNode* selected) {
    return createWithSpritesDisabledAndTarget(normal, selected, nullptr, nullptr, nullptr);
}

bool CCMenuItemSprite::initWithSprites(CCNode* normal, CCNode* selected, CCNode* disabled, CCObject* target,
                                       SEL_MenuHandler selector) {
    if (!normal) {
        logDebugMessage("CCMenuItemSprite: a normal image is required");
        return false;
    }
    initWithTarget(target, selector);
    setNormalImage(normal);
    setSelectedImage(selected);
    setDisabledImage(disabled);
    setContentSize(m_normalImage->getContentSize());
    return true;
}

void CCMenuItemSprite::replaceImage(CCNode*& slot, CCNode* image, bool visible) {
    if (image == slot) {
        if (image) {
            image->setAnchorPoint(CCPointZero);
            image->setVisible(visible);
        }
        return;
    }
    if (image) {
        addChildAtZWithTag(image, image->getZOrder(), image->getTag());
        if (image->getParent() != this) return; // refused (it belongs to another node)
        image->setAnchorPoint(CCPointZero);
        image->setVisible(visible);
    }
    if (slot) removeChild(slot, true);
    slot = image;
}

void CCMenuItemSprite::setNormalImage(CCNode* image) {
    if (!image && m_normalImage) {
        logDebugMessage("CCMenuItemSprite: the normal image cannot be removed");
        return;
    }
    replaceImage(m_normalImage, image, true);
}

void CCMenuItemSprite::setSelectedImage(CCNode* image) {
    if (image) replaceImage(m_selectedImage, image, false);
}

void CCMenuItemSprite::setDisabledImage(CCNode* image) {
    if (image) replaceImage(m_disabledImage, image, false);
}

void CCMenuItemSprite::selected() {
    CCMenuItem::selected();
    showNode(m_disabledImage, false);
    if (m_selectedImage) {
        showNode(m_normalImage, false);
        showNode(m_selectedImage, true);
    } else {
        showNode(m_normalImage, true);
    }
}

void CCMenuItemSprite::unselected() {
    CCMenuItem::unselected();
    showNode(m_normalImage, true);
    showNode(m_selectedImage, false);
    showNode(m_disabledImage, false);
}

void CCMenuItemSprite::setEnabled(bool enabled) {
    CCMenuItem::setEnabled(enabled);
    showNode(m_selectedImage, false);
    if (enabled || !m_disabledImage) {
        showNode(m_normalImage, true);
        showNode(m_disabledImage, false);
    } else {
        showNode(m_disabledImage, true);
        showNode(m_normalImage, false);
    }
}

void CCMenuItemSprite::setColor(const ccColor3B& color) {
    for (CCNode* image : {m_normalImage, m_selectedImage, m_disabledImage})
        if (CCRGBAProtocol* rgba = image ? image->asRGBAProtocol() : nullptr) rgba->setColor(color);
}

ccColor3B CCMenuItemSprite::getColor() {
    CCRGBAProtocol* rgba = m_normalImage ? m_normalImage->asRGBAProtocol() : nullptr;
    return rgba ? rgba->getColor() : ccColor3B{255, 255, 255};
}

uint8_t CCMenuItemSprite::getOpacity() {
    CCRGBAProtocol* rgba = m_normalImage ? m_normalImage->asRGBAProtocol() : nullptr;
    return rgba ? rgba->getOpacity() : 255;
}

void CCMenuItemSprite::setOpacity(uint8_t opacity) {
    for (CCNode* image : {m_normalImage, m_selectedImage, m_disabledImage})
        if (CCRGBAProtocol* rgba = image ? image->asRGBAProtocol() : nullptr) rgba->setOpacity(opacity);
}

} // namespace kvengine
