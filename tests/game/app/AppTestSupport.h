#pragma once

// Shared set-up of the start-up tests: the built resource folder as resource root, a temporary
// user-data folder (so no test touches the user's own profile), and a clean slate of shared
// objects after each test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvapptest {

/// The temporary data folder ($XDG_DATA_HOME) of this test program.
const std::string& dataHome();

/// Releases every shared object the start-up makes (the dialogue manager included), the
/// director and the pools.
void releaseEverything();

/// Collects log lines while alive.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    bool contains(const std::string& part) const;
    std::vector<std::string> lines;
};

/// Runs a shell command; returns its exit status (-1 when it did not end normally).
int runCommand(const std::string& command);

/// The whole file, or "" when it cannot be read.
std::string readFile(const std::string& path);

} // namespace kvapptest
