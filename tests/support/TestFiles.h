#pragma once
// Small file helpers for tests that load pictures, sheets and fonts from disk, and a capture of
// the engine's log lines.
#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

/// A fresh empty folder under the system's temporary folder (no trailing '/').
std::string makeTempFolder(const char* tag);
/// Writes the text to a file, scrambled when its name is of a scrambled data-file type (as the
/// file layer expects); true on success.
bool writeTextFile(const std::string& path, const std::string& text);
/// Writes (scrambled, see writeTextFile) an 8-bit RGBA PNG of `rgba` (width x height x 4 bytes, top row
/// first).
bool writeRgbaPng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba);
/// The same with every pixel one colour.
bool writeSolidPng(const std::string& path, uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b,
                   uint8_t a = 255);

/// Collects the engine's log lines while it lives (and keeps them off standard error).
class LogLines {
public:
    LogLines();
    ~LogLines();
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;
    std::vector<std::string> lines;
    /// Whether any line contains `text`.
    bool contains(const std::string& text) const;
};

} // namespace kvtest
