#pragma once
// Saving what a test drew, for a person to look at.
#include <string>

namespace kvtest {

class GLTestContext;

/// Writes the context's back buffer, opaque, as a PNG at `path` (its folder is made); false when
/// the file cannot be written.
bool writeScreenshot(const GLTestContext& gl, const std::string& path);

} // namespace kvtest
