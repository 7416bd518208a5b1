#include "tools/content/ContentFiles.h"

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace kvcontent {

namespace {
const uint8_t kKey[8] = {'M', 'o', 'r', 'v', 'i', 'k', '4', '2'};
const char* const kScrambledMarks[] = {".txt", ".png", ".ccz", ".plist", ".strings",
                                       ".TXT", ".PNG", ".CCZ", ".PLIST", ".STRINGS"};

void putBigEndian(Bytes& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
} // namespace

void logLine(const std::string& message) {
    std::cerr << "content: " << message << "\n";
}

bool isScrambledName(const std::string& path) {
    for (const char* mark : kScrambledMarks) {
        if (path.find(mark) != std::string::npos) return true;
    }
    return false;
}

void scrambleBytes(Bytes& data) {
    if (data.empty()) return;
    data[0] ^= kKey[0];
    for (size_t i = 1; i < data.size(); ++i)
        data[i] ^= data[i - 1] ^ kKey[i % 8];
}

void unscrambleBytes(Bytes& data) {
    if (data.empty()) return;
    // Downwards, so that data[i - 1] still holds its stored value when it is used.
    for (size_t i = data.size() - 1; i >= 1; --i)
        data[i] ^= data[i - 1] ^ kKey[i % 8];
    data[0] ^= kKey[0];
}

Bytes wrapCCZ(const Bytes& data) {
    uLongf packedSize = compressBound(static_cast<uLong>(data.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, data.data(), static_cast<uLong>(data.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        logLine("zlib could not compress a CCZ payload");
        return {};
    }
    Bytes out = {'C', 'C', 'Z', '!'};
    putBigEndian(out, 0, 2); // compression type: zlib
    putBigEndian(out, 2, 2); // version
    putBigEndian(out, 0, 4); // reserved
    putBigEndian(out, static_cast<uint32_t>(data.size()), 4);
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<long>(packedSize));
    return out;
}

bool writeResource(const std::string& path, const Bytes& data) {
    std::error_code error;
    std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    Bytes stored = data;
    if (isScrambledName(target.filename().string())) scrambleBytes(stored);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        logLine("cannot write " + path);
        return false;
    }
    file.write(reinterpret_cast<const char*>(stored.data()), static_cast<std::streamsize>(stored.size()));
    if (!file) {
        logLine("write failed for " + path);
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, Bytes& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        logLine("cannot read " + path);
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

std::string encodeBase64(const Bytes& data) {
    static const char* const kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < data.size(); i += 3) {
        const unsigned a = data[i];
        const unsigned b = i + 1 < data.size() ? data[i + 1] : 0;
        const unsigned c = i + 2 < data.size() ? data[i + 2] : 0;
        const unsigned n = (a << 16) | (b << 8) | c;
        text += kDigits[(n >> 18) & 63];
        text += kDigits[(n >> 12) & 63];
        text += i + 1 < data.size() ? kDigits[(n >> 6) & 63] : '=';
        text += i + 2 < data.size() ? kDigits[n & 63] : '=';
    }
    return text;
}

} // namespace kvcontent
