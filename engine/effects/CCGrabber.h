#pragma once

#include <cstdint>

#include "engine/base/CCObject.h"

namespace kvengine {

class CCTexture2D;

/// Meant to send a node's drawing into a grid's texture. The graphics layer has no frame-buffer
/// objects, so capture only clears the window and masks alpha writes; the texture is untouched.
class CCGrabber : public CCObject {
public:
    /// Reads the GL version code once (0 without a current context).
    CCGrabber();

    const char* className() const override { return "CCGrabber"; }

    /// With a GL version code above 1: clears colour and depth to opaque black and stops alpha
    /// writes. Otherwise nothing.
    void beginCapture(CCTexture2D* texture);
    /// With a GL version code above 1: allows alpha writes again.
    void endCapture(CCTexture2D* texture);

    int getGLVersionCode() const { return m_glVersionCode; }
    /// Tests set the code that decides whether capture touches GL state.
    void setGLVersionCode(int code) { m_glVersionCode = code; }

private:
    std::uint32_t m_frameBuffer = 0;
    std::uint32_t m_oldFrameBuffer = 0;
    int m_glVersionCode = 0;
};

} // namespace kvengine
