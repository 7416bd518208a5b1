#include "engine/platform/CCGLWindow.h"

#include "engine/platform/CCPlatformLog.h"

namespace kvengine {

void CCGLWindow::warpPointer(int x, int y) {
    static bool logged = false;
    if (!logged) platformLog("window: moving the pointer to (%d, %d) is not available here", x, y);
    logged = true;
}

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

void CCHeadlessWindow::getWorkArea(int& x, int& y, int& width, int& height) const {
    if (m_workAreaSet) {
        x = m_workX;
        y = m_workY;
        width = m_workWidth;
        height = m_workHeight;
        return;
    }
    x = y = 0;
    getDesktopSize(width, height);
}

void CCHeadlessWindow::setWorkArea(int x, int y, int width, int height) {
    m_workAreaSet = true;
    m_workX = x;
    m_workY = y;
    m_workWidth = width;
    m_workHeight = height;
}

void CCHeadlessWindow::getFrameSize(int& width, int& height) const {
    getClientSize(width, height);
    if (!m_open) return;
    width += m_marginWidth;
    height += m_marginHeight;
}

void CCHeadlessWindow::setFrameMargins(int width, int height) {
    m_marginWidth = width;
    m_marginHeight = height;
}

void CCHeadlessWindow::setPosition(int x, int y) {
    if (!m_open) return;
    m_x = x;
    m_y = y;
}

} // namespace kvengine
