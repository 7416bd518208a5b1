#pragma once
// A headless OpenGL context for tests that draw and read pixels back. Tests get one through
// kvtest::GLFixture (GLFixture.h), which opens it and fails under CI when it cannot.
//
//   ... draw ...
//   kvtest::RGBA p = gl.pixel(10, 20);                   // origin bottom left
//
// open() makes a 2.1 compatibility context through the engine's platform window (SDL; the
// `offscreen` video driver needs no display), sets the viewport to the whole window and an
// orthographic projection of one unit per pixel with the origin at the bottom left, clears to
// opaque black and leaves the fixed-function state at GL defaults. close() (or the destructor)
// releases everything; only one context may be open at a time.
#include "engine/platform/CCGLWindow.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kvtest {

struct RGBA {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const RGBA& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

class GLTestContext {
public:
    GLTestContext() = default;
    ~GLTestContext() { close(); }
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    /// Opens a width x height window with a current GL context; false (and a log line) on failure.
    bool open(int width = 128, int height = 128);
    void close();
    bool isOpen() const { return m_window && m_window->hasGLContext(); }
    int width() const { return m_width; }
    int height() const { return m_height; }

    /// The colour at (x, y) of the back buffer (what has been drawn since the last swap), with the
    /// origin at the bottom left. Out-of-range coordinates give all zeros.
    RGBA pixel(int x, int y) const;
    /// The whole back buffer, rows from the bottom, RGBA bytes.
    std::vector<uint8_t> readAll() const;
    /// The fragments that `draw` sends past the depth test (a GL_SAMPLES_PASSED query); 0 when
    /// the context is not open.
    unsigned samplesPassed(const std::function<void()>& draw) const;

private:
    std::unique_ptr<kvengine::CCGLWindow> m_window;
    int m_width = 0;
    int m_height = 0;
};

} // namespace kvtest
