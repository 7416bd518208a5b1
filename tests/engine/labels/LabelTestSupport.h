#pragma once
// Shared set-up of the label tests: a headless GL context with the drawing state the director
// keeps during a frame, and a bitmap font written to a temporary folder.
#include "support/GLTestContext.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace labeltest {

class GLFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void clear();
    /// Counts the pixels of exactly this colour inside and outside the rectangle (x0..x1, y0..y1,
    /// window pixels, edges included).
    void countPixels(const kvtest::RGBA& colour, int x0, int y0, int x1, int y1, int* inside,
                     int* outside) const;

    kvtest::GLTestContext gl;
};

/// Writes "<folder>/<name>.fnt" with the given text and a 64 x 64 opaque white atlas image
/// "<name>.png" beside it; returns the ".fnt" path.
std::string writeFont(const std::string& folder, const std::string& name, const std::string& fnt);

} // namespace labeltest
