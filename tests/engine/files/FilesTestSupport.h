#pragma once

// Small helpers shared by the file-layer tests: a temporary folder removed at the end of the test,
// and whole-file reading and writing without going through the code under test.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kvtest {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvfiles-XXXXXX").string();
        char* made = mkdtemp(&pattern[0]);
        path_ = made ? made : "";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder, without a trailing '/'.
    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace kvtest

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"

#include <vector>

namespace kvtest {

/// Collects the engine's log lines while it lives.
class LogCapture {
public:
    LogCapture() {
        kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { kvengine::setDebugLogSink(nullptr); }
    bool contains(const std::string& part) const {
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> lines;
};

/// A pool of its own for one test: autoreleased results die when it ends.
class PoolScope {
public:
    PoolScope() { kvengine::CCAutoreleasePoolStack::getInstance().push(); }
    ~PoolScope() { kvengine::CCAutoreleasePoolStack::getInstance().pop(); }
};

} // namespace kvtest
