#pragma once
// A reference drawer for speed comparisons: SDL2's own 2-D renderer (OpenGL back end, batching
// on) drawing textured rectangles in a window of its own. Benchmarks measure the engine's sprite
// batch against it; nothing in the engine or the game draws through it.
#include <cstdint>
#include <memory>

namespace kvengine {

class CCRendererReference {
public:
    CCRendererReference();
    ~CCRendererReference();
    CCRendererReference(const CCRendererReference&) = delete;
    CCRendererReference& operator=(const CCRendererReference&) = delete;

    /// Opens a hidden `width` x `height` window with an OpenGL-backed, batching SDL renderer and
    /// uploads `rgba` (texWidth x texHeight, top row first) as its texture. The GL context current
    /// before the call is current again afterwards. False (logged) on failure.
    bool open(int width, int height, const uint8_t* rgba, int texWidth, int texHeight);
    void close();
    bool isOpen() const;
    /// The renderer back end's name ("opengl"), or "" when closed.
    const char* rendererName() const;

    /// One frame: clears to black, copies for each of the `count` sprites the sw x sh rectangle of
    /// the texture at `sourceXY` (top-left corners, texels) to its position `xy` (lower-left
    /// corner, y up, as in GL), then reads one pixel back so the frame is finished on return.
    /// Restores the caller's GL context.
    void drawFrame(const float* xy, const int* sourceXY, int count, int sw, int sh);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace kvengine
