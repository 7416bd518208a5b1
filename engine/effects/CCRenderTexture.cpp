#include "engine/effects/CCRenderTexture.h"

#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCRetained.h"
#include "engine/director/CCConfiguration.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCEGLView.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePixels.h"

namespace kvengine {

namespace {

// Frame-buffer objects are core from OpenGL 3.0 and an extension of the 2.1 contexts the engine
// asks for; a context without either cannot render into a texture.
bool framebuffersAvailable() {
    CCConfiguration* configuration = CCConfiguration::getInstance();
    if (!configuration->isInitialised()) return false;
    if (configuration->checkForGLExtension("GL_ARB_framebuffer_object")) return true;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr && version[0] >= '3' && version[0] <= '9' && version[1] == '.';
}

} // namespace

CCRenderTexture::~CCRenderTexture() {
    if (m_framebuffer != 0) {
        const GLuint name = m_framebuffer;
        glDeleteFramebuffers(1, &name);
    }
    removeAllChildren(true);
}

CCRenderTexture* CCRenderTexture::createWithWidthHeight(int width, int height) {
    return ccCreate<CCRenderTexture>(
        [&](CCRenderTexture* made) { return made->initWithWidthHeight(width, height); });
}

bool CCRenderTexture::initWithWidthHeight(int width, int height) {
    const float scale = CCDirector::sharedContentScaleFactor();
    const int k = static_cast<int>(scale);
    if (width <= 0 || height <= 0 || k <= 0 || width > 65536 / k || height > 65536 / k) {
        logDebugMessage("CCRenderTexture: a %d x %d texture cannot be made", width, height);
        return false;
    }
    const auto w = static_cast<std::uint32_t>(width * k), h = static_cast<std::uint32_t>(height * k);
    const std::uint32_t wide = nextPowerOfTwo(w), high = nextPowerOfTwo(h);
    std::vector<unsigned char> zeros(static_cast<std::size_t>(wide) * high * 4, 0);
    m_pixelFormat = kCCPixelFormatRGBA8888;
    auto* texture = new CCTexture2D();
    if (!texture->initWithData(zeros.data(), kCCPixelFormatRGBA8888, wide, high,
                               CCSize(static_cast<float>(w), static_cast<float>(h)))) {
        logDebugMessage("CCRenderTexture: no %u x %u texture", wide, high);
        texture->release();
        return false;
    }
    glBindTexture(GL_TEXTURE_2D, texture->getName());
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    auto* sprite = new CCSprite();
    sprite->init();
    sprite->setTexture(texture);
    const CCSize content = texture->getContentSizeInPixels();
    sprite->setTextureRect(CCRect(0, 0, content.width / scale, content.height / scale));
    sprite->autorelease();
    // The sprite keeps the texture alive from here on.
    m_texture = texture;
    texture->release();

    m_sprite = sprite;
    sprite->setScaleY(-1);
    addChild(sprite);
    sprite->setBlendFunc(ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA});
    if (!makeFramebuffer())
        logDebugMessage(
            "CCRenderTexture: no frame buffer for a %d x %d texture; what is drawn into it is lost", width,
            height);
    return true;
}

bool CCRenderTexture::makeFramebuffer() {
    if (!framebuffersAvailable()) return false;
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    if (name == 0) return false;
    glBindFramebuffer(GL_FRAMEBUFFER, name);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_texture->getName(), 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        glDeleteFramebuffers(1, &name);
        return false;
    }
    m_framebuffer = name;
    return true;
}

void CCRenderTexture::begin() {
    glPushMatrix();
    if (m_texture == nullptr) return;
    const CCSize textureSize = m_texture->getContentSizeInPixels();
    const CCSize win = CCDirector::getInstance()->getWinSizeInPixels();
    const float rx = win.width / textureSize.width;
    const float ry = win.height / textureSize.height;
    glOrtho(-1.0 / rx, 1.0 / rx, -1.0 / ry, 1.0 / ry, -1, 1);
    glViewport(0, 0, static_cast<GLsizei>(textureSize.width), static_cast<GLsizei>(textureSize.height));
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
    if (m_framebuffer != 0) {
        // Render textures may be filled while another one is bound (a picture drawn inside a
        // picture): the binding found here is the one end() gives back.
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &m_previousFramebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    }
}

void CCRenderTexture::end() {
    glPopMatrix();
    if (m_framebuffer != 0) glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(m_previousFramebuffer));
    CCDirector* director = CCDirector::getInstance();
    const CCSize win = director->getWinSizeInPixels();
    if (CCEGLView* view = director->getOpenGLView())
        view->setViewPortInPoints(0, 0, win.width, win.height);
    else
        glViewport(0, 0, static_cast<GLsizei>(win.width), static_cast<GLsizei>(win.height));
}

} // namespace kvengine
