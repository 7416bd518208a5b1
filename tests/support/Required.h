#pragma once
// What a test needs from the machine (an OpenGL context, the built resource folder) and may
// miss on a developer's box. Without it the test is skipped there; under continuous
// integration (the CI variable set) it fails instead, because CTest counts a skip as a pass and
// a run without the need would go green having tested nothing.
//
//   if (!gl.open(64, 64)) KVTEST_REQUIRED_MISSING("no OpenGL context");
#include <gtest/gtest.h>

namespace kvtest {

/// True when the CI environment variable is set to anything but "", "0" or "false".
bool runningUnderCI();

} // namespace kvtest

/// Skips the running test (fails it under CI) with the given message. Returns from the calling
/// function, like GTEST_SKIP.
#define KVTEST_REQUIRED_MISSING(message)                                                                     \
    do {                                                                                                     \
        if (::kvtest::runningUnderCI()) {                                                                    \
            GTEST_FAIL() << message << " (required: the CI variable is set)";                                \
        } else {                                                                                             \
            GTEST_SKIP() << message;                                                                         \
        }                                                                                                    \
    } while (false)
