#include "engine/effects/CCRenderTexture.h"

#include <vector>

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCEGLView.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePixels.h"

namespace kvengine {

CCRenderTexture::~CCRenderTexture() {
    removeAllChildren(true);
}

CCRenderTexture* CCRenderTexture::createWithWidthHeight(int width, int height) {
    auto* render = new CCRenderTexture();
    if (!render->initWithWidthHeight(width, height)) {
        render->release();
        return nullptr;
    }
    render->autorelease();
    return render;
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
}

void CCRenderTexture::end() {
    glPopMatrix();
    CCDirector* director = CCDirector::getInstance();
    const CCSize win = director->getWinSizeInPixels();
    if (CCEGLView* view = director->getOpenGLView())
        view->setViewPortInPoints(0, 0, win.width, win.height);
    else
        glViewport(0, 0, static_cast<GLsizei>(win.width), static_cast<GLsizei>(win.height));
}

} // namespace kvengine
