#include "engine/effects/CCGrabber.h"

#include "engine/director/CCConfiguration.h"
#include "engine/platform/CCGL.h"

namespace kvengine {

CCGrabber::CCGrabber() : m_glVersionCode(kvengine::getGLVersionCode()) {
    (void)m_frameBuffer;
    (void)m_oldFrameBuffer;
}

void CCGrabber::beginCapture(CCTexture2D*) {
    if (m_glVersionCode <= 1) return;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
}

void CCGrabber::endCapture(CCTexture2D*) {
    if (m_glVersionCode <= 1) return;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

} // namespace kvengine
