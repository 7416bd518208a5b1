#include "engine/platform/CCGLWindow.h"

namespace kvengine {

bool CCHeadlessWindow::create(const char* /*title*/, bool fullScreen, int width, int height) {
    if (m_open) return false;
    m_fullScreen = fullScreen;
    m_open = true;
    setClientSize(width, height);
    return true;
}

void CCHeadlessWindow::getDesktopSize(int& width, int& height) const {
    width = m_desktopWidth;
    height = m_desktopHeight;
}

void CCHeadlessWindow::getClientSize(int& width, int& height) const {
    width = m_open ? m_clientWidth : 0;
    height = m_open ? m_clientHeight : 0;
}

void CCHeadlessWindow::setClientSize(int width, int height) {
    if (!m_open) return;
    if (m_fullScreen) {
        m_clientWidth = m_desktopWidth;
        m_clientHeight = m_desktopHeight;
    } else {
        m_clientWidth = width > 0 ? width : 0;
        m_clientHeight = height > 0 ? height : 0;
    }
}

} // namespace kvengine
