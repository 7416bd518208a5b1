#pragma once
// Shared data of the label tests: a bitmap font written to a temporary folder. The GL context
// comes from kvtest::GLFixture.
#include "support/GLFixture.h"
#include "support/TestFiles.h"

#include <string>

namespace labeltest {

/// Writes "<folder>/<name>.fnt" with the given text and a 64 x 64 opaque white atlas image
/// "<name>.png" beside it; returns the ".fnt" path.
std::string writeFont(const std::string& folder, const std::string& name, const std::string& fnt);

} // namespace labeltest
