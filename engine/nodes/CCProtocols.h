#pragma once
#include <cstdint>

namespace kvengine {

/// An RGB colour, one byte per channel.
struct ccColor3B {
    uint8_t r = 0, g = 0, b = 0;
};

/// An RGBA colour, one byte per channel.
struct ccColor4B {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

inline bool operator==(const ccColor3B& x, const ccColor3B& y) {
    return x.r == y.r && x.g == y.g && x.b == y.b;
}
inline bool operator==(const ccColor4B& x, const ccColor4B& y) {
    return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}

/// A GL blend pair (source factor, destination factor), the GL enum values.
struct ccBlendFunc {
    uint32_t src = 1;   // GL_ONE
    uint32_t dst = 771; // GL_ONE_MINUS_SRC_ALPHA
};

inline bool operator==(const ccBlendFunc& x, const ccBlendFunc& y) {
    return x.src == y.src && x.dst == y.dst;
}
inline bool operator!=(const ccBlendFunc& x, const ccBlendFunc& y) {
    return !(x == y);
}

/// Whether a quad whose fragments are a texel (or white) times the vertex colour `color`, drawn
/// with `blend`, leaves the picture as it was: alpha 0 under (GL_SRC_ALPHA,
/// GL_ONE_MINUS_SRC_ALPHA), or every channel 0 (a premultiplied colour of opacity 0) under (GL_ONE,
/// GL_ONE_MINUS_SRC_ALPHA). Other pairs may still add light or darken: false for them.
inline bool blendShowsNothing(const ccBlendFunc& blend, const ccColor4B& color) {
    if (blend.dst != 771 || color.a != 0) return false; // GL_ONE_MINUS_SRC_ALPHA
    if (blend.src == 770) return true;                  // GL_SRC_ALPHA
    return blend.src == 1 && color.r == 0 && color.g == 0 && color.b == 0;
}

/// Whether blending with `blend` gives back the source fragment unchanged, so that it may be
/// switched off: one of the two usual pairs above with a source alpha of 1 (vertex alpha 255 over
/// texels without transparency).
inline bool blendIsReplace(const ccBlendFunc& blend, uint8_t alpha, bool opaqueTexels) {
    return opaqueTexels && alpha == 255 && blend.dst == 771 && (blend.src == 770 || blend.src == 1);
}

/// Colour and opacity of a node; containers pass them on to children through
/// CCNode::asRGBAProtocol.
class CCRGBAProtocol {
public:
    virtual void setColor(const ccColor3B& color) = 0;
    virtual ccColor3B getColor() = 0;
    virtual uint8_t getOpacity() = 0;
    virtual void setOpacity(uint8_t opacity) = 0;
    /// Whether opacity is multiplied into the colour channels; the default does nothing.
    virtual void setOpacityModifyRGB(bool value) { (void)value; }
    virtual bool isOpacityModifyRGB() { return false; }

protected:
    ~CCRGBAProtocol() = default;
};

/// A node drawn with a configurable GL blend pair.
class CCBlendProtocol {
public:
    virtual void setBlendFunc(const ccBlendFunc& blendFunc) = 0;
    virtual ccBlendFunc getBlendFunc() = 0;

protected:
    ~CCBlendProtocol() = default;
};

class CCTexture2D;

/// A node drawn from one texture with a blend pair (sprites, batch nodes, atlas nodes, particles).
class CCTextureProtocol : public CCBlendProtocol {
public:
    /// The texture, not retained for the caller; may be null.
    virtual CCTexture2D* getTexture() = 0;
    /// The node retains the new texture and releases the old one.
    virtual void setTexture(CCTexture2D* texture) = 0;

protected:
    ~CCTextureProtocol() = default;
};

/// A node that shows text.
class CCLabelProtocol {
public:
    /// UTF-16 text, NUL-terminated; null clears it.
    virtual void setWideString(const char16_t* text) = 0;
    virtual void setString(const char* text) = 0;
    virtual const char* getString() = 0;
    /// The wide text, or null when none was set.
    virtual const char16_t* getWideString() = 0;

protected:
    ~CCLabelProtocol() = default;
};

} // namespace kvengine
