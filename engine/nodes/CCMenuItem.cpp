#include "engine/nodes/CCMenuItem.h"

namespace kvengine {

bool CCMenuItem::initWithTarget(CCObject* target, SEL_MenuHandler selector) {
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_target = target;
    m_selector = selector;
    m_enabled = true;
    m_selected = false;
    return true;
}

void CCMenuItem::activate() {
    if (!m_enabled) return;
    if (m_target && m_selector) (m_target->*m_selector)(this);
}

CCRect CCMenuItem::rect() const {
    return CCRect(m_position.x - m_contentSize.width * m_anchorPoint.x,
                  m_position.y - m_contentSize.height * m_anchorPoint.y, m_contentSize.width,
                  m_contentSize.height);
}

} // namespace kvengine
