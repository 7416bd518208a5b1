#pragma once
#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

namespace kvengine {

class CCTexture2D;

/// A named picture of a sprite sheet: a rectangle of a texture, possibly stored turned by 90
/// degrees and trimmed of its transparent border.
///
/// Ownership: the frame retains its texture, so it keeps the texture alive independently of the
/// texture cache. Units: the rectangle is kept in texels and in points (texels / the director's
/// content scale factor); the offset and the untrimmed size are in texels.
class CCSpriteFrame : public CCObject {
public:
    /// A new autoreleased frame (see initWithTexture).
    static CCSpriteFrame* createWithTexture(CCTexture2D* texture, bool rotated, const CCRect& rectInPixels,
                                            const CCPoint& offsetInPixels,
                                            const CCSize& untrimmedSizeInPixels);

    CCSpriteFrame() = default;
    ~CCSpriteFrame() override;

    /// Retains the texture (null allowed) and stores the values; always true.
    bool initWithTexture(CCTexture2D* texture, const CCRect& rectInPixels, bool rotated,
                         const CCPoint& offsetInPixels, const CCSize& untrimmedSizeInPixels);

    /// A new frame (count 1, owned by the caller) with the same texture and values.
    CCObject* copyInto(CCCopyHolder* holder) override;

    const CCRect& getRectInPixels() const { return m_rectInPixels; }
    bool isRotated() const { return m_rotated; }
    const CCRect& getRect() const { return m_rect; }
    const CCPoint& getOffsetInPixels() const { return m_offsetInPixels; }
    const CCSize& getOriginalSizeInPixels() const { return m_originalSizeInPixels; }
    CCTexture2D* getTexture() const { return m_texture; }

private:
    CCRect m_rectInPixels;
    bool m_rotated = false;
    CCRect m_rect;
    CCPoint m_offsetInPixels;
    CCSize m_originalSizeInPixels;
    CCTexture2D* m_texture = nullptr;
};

} // namespace kvengine
