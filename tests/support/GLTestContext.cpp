#include "GLTestContext.h"

#include "engine/platform/CCGL.h"

namespace kvtest {

bool GLTestContext::open(int width, int height) {
    close();
    if (width <= 0 || height <= 0) return false;
    m_window = kvengine::createPlatformWindow();
    if (!m_window->create("kelvos-test", false, width, height)) {
        m_window.reset();
        return false;
    }
    m_window->show();
    m_window->getClientSize(m_width, m_height);
    if (m_width <= 0 || m_height <= 0) {
        m_width = width;
        m_height = height;
    }
    glViewport(0, 0, m_width, m_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, m_width, 0, m_height, -1024, 1024);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    return true;
}

void GLTestContext::close() {
    if (m_window) m_window->destroy();
    m_window.reset();
    m_width = m_height = 0;
}

unsigned GLTestContext::samplesPassed(const std::function<void()>& draw) const {
    if (!isOpen()) return 0;
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    draw();
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
    glDeleteQueries(1, &query);
    return samples;
}

RGBA GLTestContext::pixel(int x, int y) const {
    RGBA out;
    if (!isOpen() || x < 0 || y < 0 || x >= m_width || y >= m_height) return out;
    glFinish();
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    out.r = p[0];
    out.g = p[1];
    out.b = p[2];
    out.a = p[3];
    return out;
}

std::vector<uint8_t> GLTestContext::readAll() const {
    std::vector<uint8_t> out;
    if (!isOpen()) return out;
    out.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 4u);
    glFinish();
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
}

} // namespace kvtest
