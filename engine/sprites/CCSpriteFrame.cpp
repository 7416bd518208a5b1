#include "engine/sprites/CCSpriteFrame.h"

#include "engine/director/CCDirector.h"
#include "engine/textures/CCTexture2D.h"

namespace kvengine {

CCSpriteFrame* CCSpriteFrame::createWithTexture(CCTexture2D* texture, bool rotated,
                                                const CCRect& rectInPixels, const CCPoint& offsetInPixels,
                                                const CCSize& untrimmedSizeInPixels) {
    auto* frame = new CCSpriteFrame();
    frame->initWithTexture(texture, rectInPixels, rotated, offsetInPixels, untrimmedSizeInPixels);
    frame->autorelease();
    return frame;
}

CCSpriteFrame::~CCSpriteFrame() {
    if (m_texture) m_texture->release();
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rectInPixels, bool rotated,
                                    const CCPoint& offsetInPixels, const CCSize& untrimmedSizeInPixels) {
    if (texture) texture->retain();
    if (m_texture) m_texture->release();
    m_texture = texture;
    m_rectInPixels = rectInPixels;
    const float f = CCDirector::sharedContentScaleFactor();
    m_rect = CCRect(rectInPixels.origin.x / f, rectInPixels.origin.y / f, rectInPixels.size.width / f,
                    rectInPixels.size.height / f);
    m_rotated = rotated;
    m_offsetInPixels = offsetInPixels;
    m_originalSizeInPixels = untrimmedSizeInPixels;
    return true;
}

CCObject* CCSpriteFrame::copyInto(CCCopyHolder* holder) {
    (void)holder; // a frame is always copied into a new object
    auto* copy = new CCSpriteFrame();
    copy->initWithTexture(m_texture, m_rectInPixels, m_rotated, m_offsetInPixels, m_originalSizeInPixels);
    return copy;
}

} // namespace kvengine
