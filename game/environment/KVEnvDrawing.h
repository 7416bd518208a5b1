#pragma once
// Nodes of the environment layers that skip their faintest texels. Large layers (caustics over
// the whole level, weed covering the window) are mostly transparent or nearly so: dropping those
// texels with the alpha test, before blending, spares most of their fill on a software GL, and
// what they would have added is below what the eye sees.

#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"

/// Texels with alpha at or below this (0..1) are not drawn.
constexpr float kEnvDroppedAlpha = 0.05f;

/// A sprite drawn with the alpha test.
class KVAlphaTestedSprite : public kvengine::CCSprite {
public:
    CC_DECLARE_CLASS_NAME(KVAlphaTestedSprite, kvengine::CCSprite)

    /// Autoreleased, showing the frame; null when the frame is null.
    static KVAlphaTestedSprite* createWithSpriteFrame(kvengine::CCSpriteFrame* frame);
    void draw() override;
};

/// A sprite batch drawn with the alpha test.
class KVAlphaTestedBatchNode : public kvengine::CCSpriteBatchNode {
public:
    CC_DECLARE_CLASS_NAME(KVAlphaTestedBatchNode, kvengine::CCSpriteBatchNode)

    /// Autoreleased batch of the texture, dropping texels at or below `droppedAlpha`; null when
    /// the texture is null.
    static KVAlphaTestedBatchNode* createWithTexture(kvengine::CCTexture2D* texture,
                                                     float droppedAlpha = kEnvDroppedAlpha);
    void draw() override;

private:
    float m_droppedAlpha = kEnvDroppedAlpha;
};
