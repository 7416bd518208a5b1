#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "engine/textures/CCTexturePixels.h"

#include <cstdint>

namespace kvengine {

class CCDecodedImage;

/// One OpenGL texture with its pixel format, its size in texels, the size of the picture inside
/// it and whether its colours are premultiplied by alpha.
///
/// Lifetime: construct with `new`, call exactly one init; a failed init leaves the texture empty
/// (no GL name) and still owned by the caller, who releases it. Sprites, atlases, frames and the
/// texture cache share a texture by retaining it; the GL texture is deleted when the last
/// reference goes. Every operation needs the GL context current on this thread.
class CCTexture2D : public CCObject {
public:
    CCTexture2D() = default;
    ~CCTexture2D() override;

    /// Uploads `data` (may be null: texels left undefined) as a `pixelsWide` x `pixelsHigh`
    /// texture of `format`; `contentSizeInPixels` is the part holding the picture. Fails (false,
    /// log line) for an unknown format, a zero or oversized size, or a GL error.
    [[nodiscard]] bool initWithData(const void* data, int format, uint32_t pixelsWide, uint32_t pixelsHigh,
                                    const CCSize& contentSizeInPixels);
    /// Pads the picture to power-of-two sizes and converts it: pictures with alpha to the default
    /// alpha pixel format, others to RGB888 (RGB565 below 8 bits per component). Fails, before
    /// any GL call, when a padded side exceeds the maximum texture size, and when the default
    /// alpha format cannot hold a picture (I8, AI88).
    [[nodiscard]] bool initWithImage(const CCDecodedImage* image);
    /// Renders text into a texture. `alignment`: 0 left, 1 centre, other values right (all
    /// vertically centred); `dimensions` in pixels, a side of 0 fits the text.
    [[nodiscard]] bool initWithString(const char* text, const char* fontName, float fontSize,
                                      const CCSize& dimensions, int alignment);
    /// The text fitted exactly, centred.
    [[nodiscard]] bool initWithString(const char* text, const char* fontName, float fontSize);
    [[nodiscard]] bool initWithWideString(const char16_t* text, const char* fontName, float fontSize,
                                          const CCSize& dimensions, int alignment);
    [[nodiscard]] bool initWithWideString(const char16_t* text, const char* fontName, float fontSize);
    /// Loads a PVR file (plain, ".ccz" or ".gz") at its full path in the file's own format.
    [[nodiscard]] bool initWithPVRFile(const char* fullPath);

    int getPixelFormat() const { return m_pixelFormat; }
    uint32_t getPixelsWide() const { return m_pixelsWide; }
    uint32_t getPixelsHigh() const { return m_pixelsHigh; }
    /// GL texture name; 0 when none.
    uint32_t getName() const { return m_name; }
    const CCSize& getContentSizeInPixels() const { return m_contentSizeInPixels; }
    /// The picture's size in points: pixels divided by the director's content scale factor.
    CCSize getContentSize() const;
    float getMaxS() const { return m_maxS; }
    void setMaxS(float maxS) { m_maxS = maxS; }
    float getMaxT() const { return m_maxT; }
    void setMaxT(float maxT) { m_maxT = maxT; }
    /// Premultiplied textures are drawn with (GL_ONE, GL_ONE_MINUS_SRC_ALPHA).
    bool hasPremultipliedAlpha() const { return m_premultipliedAlpha; }
    /// Whether every texel is fully opaque: a pixel format without alpha, or texels found (a
    /// picture whose alpha is 255 everywhere) or marked opaque. Nodes showing an opaque texture at
    /// full opacity draw with blending off.
    bool isOpaque() const;
    /// Marks the texels opaque (or not); a new init clears the mark.
    void setOpaque(bool opaque) { m_markedOpaque = opaque; }

    /// Binds the texture and sets its minification and magnification filters.
    void setTexParameters(int minFilter, int magFilter);
    /// GL_LINEAR both ways.
    void setAntiAliasTexParameters();
    /// GL_NEAREST for minification, GL_LINEAR for magnification.
    void setAliasTexParameters();

    /// Pixel format of textures made from pictures with alpha; starts as RGBA8888.
    static void setDefaultAlphaPixelFormat(int format);
    static int defaultAlphaPixelFormat();

    /// Largest texture side: the GL implementation's limit, or the override when one is set.
    static int getMaxTextureSize();
    /// Replaces the GL limit (tests); 0 or less returns to the GL limit.
    static void setMaxTextureSizeOverride(int size);

private:
    void deleteName();

    int m_pixelFormat = 0;
    uint32_t m_pixelsWide = 0;
    uint32_t m_pixelsHigh = 0;
    uint32_t m_name = 0;
    CCSize m_contentSizeInPixels;
    float m_maxS = 0;
    float m_maxT = 0;
    bool m_premultipliedAlpha = false;
    bool m_markedOpaque = false;
    /// Textures loaded from PVR files take this as their premultiplied flag.
    bool m_pvrPremultiplied = true;
};

} // namespace kvengine
