#include "game/environment/KVEnvDrawing.h"

#include "engine/platform/CCGL.h"

using namespace kvengine;

namespace {
class AlphaTest {
public:
    explicit AlphaTest(float dropped) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, dropped);
    }
    ~AlphaTest() { glDisable(GL_ALPHA_TEST); }
    AlphaTest(const AlphaTest&) = delete;
    AlphaTest& operator=(const AlphaTest&) = delete;
};
} // namespace

KVAlphaTestedSprite* KVAlphaTestedSprite::createWithSpriteFrame(CCSpriteFrame* frame) {
    if (frame == nullptr) return nullptr;
    auto* sprite = new KVAlphaTestedSprite();
    sprite->autorelease();
    return sprite->initWithSpriteFrame(frame) ? sprite : nullptr;
}

void KVAlphaTestedSprite::draw() {
    AlphaTest test(kEnvDroppedAlpha);
    CCSprite::draw();
}

KVAlphaTestedBatchNode* KVAlphaTestedBatchNode::createWithTexture(CCTexture2D* texture, float droppedAlpha) {
    if (texture == nullptr) return nullptr;
    auto* batch = new KVAlphaTestedBatchNode();
    batch->m_droppedAlpha = droppedAlpha;
    batch->autorelease();
    return batch->initWithTexture(texture, kDefaultCapacity) ? batch : nullptr;
}

void KVAlphaTestedBatchNode::draw() {
    AlphaTest test(m_droppedAlpha);
    CCSpriteBatchNode::draw();
}
