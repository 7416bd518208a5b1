#include "engine/effects/CCGridBase.h"

#include <cstdint>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/director/CCCamera.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCGrabber.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePixels.h"

namespace kvengine {

namespace {

// Each cell needs at most four vertices addressed by 16-bit indices.
constexpr long long kMaxGridCells = 65536 / 4;

} // namespace

CCGridBase::~CCGridBase() {
    setActive(false);
    if (m_texture) m_texture->release();
    if (m_grabber) m_grabber->release();
}

bool CCGridBase::initWithSize(const ccGridSize& size) {
    CCSize win = CCDirector::getInstance()->getWinSizeInPixels();
    std::uint32_t w = win.width > 0 ? static_cast<std::uint32_t>(win.width) : 0;
    std::uint32_t h = win.height > 0 ? static_cast<std::uint32_t>(win.height) : 0;
    std::uint32_t wide = nextPowerOfTwo(w), high = nextPowerOfTwo(h);
    std::vector<unsigned char> zeros;
    if (wide > 0 && high > 0) zeros.assign(static_cast<std::size_t>(wide) * high * 4, 0);
    auto* texture = new CCTexture2D();
    if (zeros.empty() || !texture->initWithData(zeros.data(), kCCPixelFormatRGBA8888, wide, high,
                                                CCSize(static_cast<float>(w), static_cast<float>(h)))) {
        logDebugMessage("CCGridBase: no texture for a %u x %u window", w, h);
        texture->release();
        return false;
    }
    bool built = initWithSizeTexture(size, texture);
    texture->release();
    return built;
}

bool CCGridBase::initWithSizeTexture(const ccGridSize& size, CCTexture2D* texture) {
    if (texture == nullptr || size.x <= 0 || size.y <= 0 ||
        static_cast<long long>(size.x) * size.y > kMaxGridCells) {
        logDebugMessage("CCGridBase: a %d x %d grid cannot be built", size.x, size.y);
        return false;
    }
    m_active = false;
    m_reuseGrid = 0;
    m_gridSize = size;
    texture->retain();
    if (m_texture) m_texture->release();
    m_texture = texture;
    m_isTextureFlipped = false;
    const CCSize& content = texture->getContentSizeInPixels();
    m_step = CCPoint(content.width / static_cast<float>(size.x), content.height / static_cast<float>(size.y));
    if (m_grabber) m_grabber->release();
    m_grabber = new CCGrabber();
    buildVertices();
    return true;
}

void CCGridBase::setActive(bool active) {
    m_active = active;
    if (!active) restoreDirectorProjection();
}

void CCGridBase::restoreDirectorProjection() {
    if (CCDirector* director = CCDirector::existingInstance())
        director->setProjection(director->getProjection());
}

float CCGridBase::textureWidth() const {
    return m_texture ? static_cast<float>(m_texture->getPixelsWide()) : 1.0f;
}

float CCGridBase::textureHeight() const {
    return m_texture ? static_cast<float>(m_texture->getPixelsHigh()) : 1.0f;
}

void CCGridBase::applyFlatProjection() {
    CCSize win = CCDirector::getInstance()->getWinSizeInPixels();
    glLoadIdentity();
    glViewport(0, 0, static_cast<GLsizei>(win.width), static_cast<GLsizei>(win.height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, win.width, 0, win.height, -1024, 1024);
    glMatrixMode(GL_MODELVIEW);
}

void CCGridBase::applyPerspectiveProjection() {
    CCSize win = CCDirector::getInstance()->getWinSizeInPixels();
    const double w = win.width, h = win.height;
    glViewport(0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, h > 0 ? w / h : 1.0, 0.5, 1500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(w / 2, h / 2, h / 1.1566, w / 2, h / 2, 0, 0, 1, 0);
}

void CCGridBase::applyWindowOrientation(int orientation) {
    CCDirector::applyOrientationTransform(orientation, CCDirector::getInstance()->getWinSizeInPixels());
}

void CCGridBase::beforeDraw() {
    applyFlatProjection();
    if (m_grabber && m_grabber->getGLVersionCode() > 1) m_grabber->beginCapture(m_texture);
}

void CCGridBase::afterDraw(CCNode* target) {
    if (m_grabber && m_grabber->getGLVersionCode() > 1) m_grabber->endCapture(m_texture);
    applyPerspectiveProjection();
    CCDirector* director = CCDirector::getInstance();
    applyWindowOrientation(director->getOrientation());
    if (target != nullptr) {
        CCCamera* camera = target->getCamera();
        if (camera != nullptr && camera->isDirty()) {
            CCPoint anchor = target->getAnchorPointInPixels();
            glTranslatef(anchor.x, anchor.y, 0);
            camera->locate();
            glTranslatef(-anchor.x, -anchor.y, 0);
        }
    }
    glBindTexture(GL_TEXTURE_2D, m_texture ? m_texture->getName() : 0);
    director->setProjection(director->getProjection());
    applyWindowOrientation(director->getOrientation());
    drawGrid();
}

} // namespace kvengine
