#include "engine/nodes/CCMenuItemToggle.h"

#include "engine/base/CCLog.h"

namespace kvengine {

CCMenuItemToggle* CCMenuItemToggle::createWithItems(CCObject* target, SEL_MenuHandler selector,
                                                    CCMutableArray<CCMenuItem*>* items) {
    if (!items || items->count() == 0) {
        logDebugMessage("CCMenuItemToggle: no sub-items");
        return nullptr;
    }
    auto* toggle = new CCMenuItemToggle();
    toggle->initWithTarget(target, selector);
    toggle->setSubItems(items);
    toggle->setSelectedIndex(0);
    toggle->autorelease();
    return toggle;
}

CCMenuItemToggle::~CCMenuItemToggle() {}

CCMenuItem* CCMenuItemToggle::selectedItem() const {
    return m_subItems ? m_subItems->objectAtIndex(m_selectedIndex) : nullptr;
}

void CCMenuItemToggle::setSubItems(CCMutableArray<CCMenuItem*>* items) {
    m_subItems = items;
}

void CCMenuItemToggle::setSelectedIndex(unsigned index) {
    if (index == m_selectedIndex) return;
    if (!m_subItems || index >= m_subItems->count()) {
        logDebugMessage("CCMenuItemToggle: sub-item %u does not exist", index);
        return;
    }
    m_selectedIndex = index;
    removeChildByTag(kSelectedItemTag, false);
    CCMenuItem* item = m_subItems->objectAtIndex(index);
    addChildAtZWithTag(item, 0, kSelectedItemTag);
    const CCSize size = item->getContentSize();
    setContentSize(size);
    item->setPosition(CCPoint(size.width / 2, size.height / 2));
}

void CCMenuItemToggle::activate() {
    if (m_enabled && m_subItems && m_subItems->count() > 0)
        setSelectedIndex((m_selectedIndex + 1) % m_subItems->count());
    CCMenuItem::activate();
}

void CCMenuItemToggle::selected() {
    CCMenuItem::selected();
    if (CCMenuItem* item = selectedItem()) item->selected();
}

void CCMenuItemToggle::unselected() {
    CCMenuItem::unselected();
    if (CCMenuItem* item = selectedItem()) item->unselected();
}

void CCMenuItemToggle::setEnabled(bool enabled) {
    CCMenuItem::setEnabled(enabled);
    if (!m_subItems) return;
    for (unsigned i = 0; i < m_subItems->count(); ++i)
        m_subItems->objectAtIndex(i)->setEnabled(enabled);
}

void CCMenuItemToggle::setColor(const ccColor3B& color) {
    m_color = color;
    if (!m_subItems) return;
    for (unsigned i = 0; i < m_subItems->count(); ++i)
        if (CCRGBAProtocol* rgba = m_subItems->objectAtIndex(i)->asRGBAProtocol()) rgba->setColor(color);
}

void CCMenuItemToggle::setOpacity(uint8_t opacity) {
    m_opacity = opacity;
    if (!m_subItems) return;
    for (unsigned i = 0; i < m_subItems->count(); ++i)
        if (CCRGBAProtocol* rgba = m_subItems->objectAtIndex(i)->asRGBAProtocol()) rgba->setOpacity(opacity);
}

} // namespace kvengine
