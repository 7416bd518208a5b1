#include "engine/director/CCConfiguration.h"

#include "engine/platform/CCGL.h"

#include <cstring>

namespace kvengine {

CCConfiguration* CCConfiguration::getInstance() {
    CCConfiguration* configuration = CCSingleton::getInstance();
    // Read once, and only when a context can answer (glGetString is null without one).
    if (!configuration->m_initialised && glGetString(GL_VERSION) != nullptr) configuration->init();
    return configuration;
}

void CCConfiguration::init() {
    GLint value = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
    m_maxTextureSize = value;
    value = 0;
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &value);
    m_maxModelviewStackDepth = value;
    const GLubyte* extensions = glGetString(GL_EXTENSIONS);
    initWithExtensions(extensions ? reinterpret_cast<const char*>(extensions) : "", m_maxTextureSize);
}

void CCConfiguration::initWithExtensions(const char* extensions, int maxTextureSize) {
    m_extensions = extensions ? extensions : "";
    m_maxTextureSize = maxTextureSize;
    m_supportsPVRTC = checkForGLExtension("GL_IMG_texture_compression_pvrtc");
    m_supportsNPOT = checkForGLExtension("GL_APPLE_texture_2D_limited_npot");
    m_supportsBGRA8888 = checkForGLExtension("GL_IMG_texture_format_BGRA888");
    m_supportsDiscardFramebuffer = checkForGLExtension("GL_EXT_discard_framebuffer");
    m_initialised = true;
}

bool CCConfiguration::checkForGLExtension(const std::string& name) const {
    return !m_extensions.empty() && m_extensions.find(name) != std::string::npos;
}

int glVersionCodeFromString(const char* version) {
    if (!version) return 0;
    if (std::strstr(version, "1.0")) return 1;
    if (std::strstr(version, "1.1")) return 2;
    if (std::strstr(version, "2.0")) return 3;
    return 0;
}

int getGLVersionCode() {
    return glVersionCodeFromString(reinterpret_cast<const char*>(glGetString(GL_VERSION)));
}

} // namespace kvengine
