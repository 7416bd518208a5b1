#include "engine/files/CCFileUtils.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace kvengine {

namespace {

std::string g_resourceRoot;

// The data-file key, also read as one little-endian word so that eight bytes are unscrambled at
// once (the key repeats every eight bytes, so aligned words always meet key[0] .. key[7]).
const unsigned char kKey[8] = {'M', 'o', 'r', 'v', 'i', 'k', '4', '2'};

uint64_t load64(const unsigned char* p) {
    uint64_t v;
    memcpy(&v, p, 8);
    return v;
}

void store64(unsigned char* p, uint64_t v) {
    memcpy(p, &v, 8);
}

bool isLittleEndian() {
    const uint16_t probe = 1;
    unsigned char first;
    memcpy(&first, &probe, 1);
    return first == 1;
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

} // namespace

void getResourceRootPath() {
    if (!g_resourceRoot.empty()) return;
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (ec) {
        logDebugMessage("engine: cannot read the current directory (%s); resources resolve from /",
                        ec.message().c_str());
        g_resourceRoot = "/";
        return;
    }
    g_resourceRoot = cwd.string();
    if (g_resourceRoot.empty() || g_resourceRoot.back() != '/') g_resourceRoot += '/';
}

const std::string& resourceRootPath() {
    getResourceRootPath();
    return g_resourceRoot;
}

bool setResourceRootPath(const std::string& folder) {
    if (folder.empty() || folder[0] != '/') {
        logDebugMessage("engine: resource root \"%s\" refused: not an absolute path", folder.c_str());
        return false;
    }
    g_resourceRoot = folder;
    if (g_resourceRoot.back() != '/') g_resourceRoot += '/';
    return true;
}

namespace {

float (*g_contentScaleSource)() = nullptr;

// The display's content scale factor decides whether "-hd" variants are looked for. The file layer
// sits below the director, so the director hands in where to read it.
float contentScaleFactor() {
    return g_contentScaleSource ? g_contentScaleSource() : 1.0f;
}

const char* autoreleasedText(const std::string& text) {
    auto* result = new CCString(text);
    result->autorelease();
    return result->c_str();
}

} // namespace

void setContentScaleFactorSource(float (*source)()) {
    g_contentScaleSource = source;
}

const char* fullPathForFile(const char* path) {
    return autoreleasedText(detail::fullPathForFileWithScale(path, contentScaleFactor()));
}

const char* fullPathRelativeToFile(const char* baseFile, const char* fileName) {
    std::string base = baseFile ? baseFile : "";
    size_t separator = base.find_last_of("/\\");
    std::string folder = separator == std::string::npos ? std::string() : base.substr(0, separator + 1);
    return autoreleasedText(folder + (fileName ? fileName : ""));
}

std::string& removeHdSuffix(std::string& path) {
    return detail::removeHdSuffixWithScale(path, contentScaleFactor());
}

bool isScrambledDataPath(const char* path) {
    if (!path) return false;
    std::string text = detail::normalizeSeparators(path);
    // Only the part below the resource root counts: a folder above it must not decide how the
    // files are read.
    const std::string& root = resourceRootPath();
    const char* below = text.c_str();
    if (text.compare(0, root.size(), root) == 0) below += root.size();
    static const char* const kMarkers[] = {".txt", ".png", ".ccz", ".plist", ".strings",
                                           ".TXT", ".PNG", ".CCZ", ".PLIST", ".STRINGS"};
    for (const char* marker : kMarkers) {
        if (strstr(below, marker)) return true;
    }
    return false;
}

void unscrambleDataBuffer(unsigned char* data, unsigned size) {
    if (!data || size == 0) return;
    // Each plain byte is stored[i] ^ stored[i-1] ^ key[i % 8]. Walking downwards, stored[i-1] has
    // not been touched yet when stored[i] is rewritten, so whole words can be done at once.
    if (size < 16) {
        for (size_t i = size; i-- > 1;)
            data[i] ^= data[i - 1] ^ kKey[i & 7];
        data[0] ^= kKey[0];
        return;
    }
    const size_t fullWords = size / 8;
    for (size_t i = size; i-- > fullWords * 8;)
        data[i] ^= data[i - 1] ^ kKey[i & 7];
    if (isLittleEndian()) {
        const uint64_t key = load64(kKey);
        for (size_t w = fullWords; w-- > 1;) {
            unsigned char* p = data + w * 8;
            store64(p, load64(p) ^ load64(p - 1) ^ key);
        }
    } else {
        for (size_t i = fullWords * 8; i-- > 8;)
            data[i] ^= data[i - 1] ^ kKey[i & 7];
    }
    for (size_t i = 8; i-- > 1;)
        data[i] ^= data[i - 1] ^ kKey[i & 7];
    data[0] ^= kKey[0];
}

void scrambleDataBuffer(unsigned char* data, unsigned size) {
    if (!data || size == 0) return;
    data[0] ^= kKey[0];
    for (unsigned i = 1; i < size; ++i)
        data[i] ^= data[i - 1] ^ kKey[i & 7];
}

namespace {

// Opens for reading without waiting: a FIFO would otherwise block until a writer comes, which
// for a save file named by the user's folder means start-up hangs for ever.
int openForReading(const std::string& name) {
    return ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

} // namespace

char* readFileData(unsigned* sizeOut, const char* path, const char* mode) {
    if (sizeOut) *sizeOut = 0;
    if (!path || !*path) {
        logDebugMessage("engine: readFileData: no path given");
        return nullptr;
    }
    // Only reading is offered; the mode is kept for the callers that name it ("rb").
    (void)mode;
    std::string name = detail::normalizeSeparators(path);
    int fd = openForReading(name);
    if (fd < 0 && errno == ENOENT) {
        std::string other = detail::resolvePathIgnoringCase(name);
        if (!other.empty()) fd = openForReading(other);
    }
    if (fd < 0) {
        logDebugMessage("engine: cannot open %s: %s", name.c_str(), strerror(errno));
        return nullptr;
    }

    // Only regular files are read: a folder, a FIFO or a device (a link to /dev/zero reads for
    // ever) is refused. The size fixed here bounds the read, so a file that grows while it is
    // read cannot make it run on.
    struct stat info;
    const char* refusal = nullptr;
    if (fstat(fd, &info) != 0)
        refusal = strerror(errno);
    else if (S_ISDIR(info.st_mode))
        refusal = "it is a folder";
    else if (!S_ISREG(info.st_mode))
        refusal = "not a regular file";
    else if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) >= UINT_MAX)
        refusal = "file too large";
    if (refusal) {
        ::close(fd);
        logDebugMessage("engine: cannot read %s: %s", name.c_str(), refusal);
        return nullptr;
    }
    const size_t expected = static_cast<size_t>(info.st_size);
    char* buffer = new (std::nothrow) char[expected > 0 ? expected : 1];
    size_t used = 0;
    int readErrno = 0;
    while (buffer && used < expected) {
        const ssize_t got = ::read(fd, buffer + used, expected - used);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            readErrno = errno;
            break;
        }
        if (got == 0) break; // the file shrank while it was read: what is there is the file
        used += static_cast<size_t>(got);
    }
    ::close(fd);
    if (!buffer || readErrno != 0) {
        delete[] buffer;
        logDebugMessage("engine: cannot read %s: %s", name.c_str(),
                        buffer ? strerror(readErrno) : "out of memory");
        return nullptr;
    }
    if (isScrambledDataPath(name.c_str())) {
        unscrambleDataBuffer(reinterpret_cast<unsigned char*>(buffer), static_cast<unsigned>(used));
    }
    if (sizeOut) *sizeOut = static_cast<unsigned>(used);
    return buffer;
}

CCFileBuffer::CCFileBuffer(const char* path, const char* mode) {
    data = readFileData(&size, path, mode);
}

CCFileBuffer::~CCFileBuffer() {
    delete[] data;
}

namespace detail {

std::string normalizeSeparators(const char* path) {
    std::string text = path ? path : "";
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string fullPathForFileWithScale(const char* path, float contentScaleFactor) {
    std::string name = normalizeSeparators(path);
    std::string result = (!name.empty() && name[0] == '/') ? name : resourceRootPath() + name;
    if (contentScaleFactor == 1.0f) return result;

    std::string candidate = result;
    size_t slash = candidate.rfind('/');
    size_t dot = candidate.rfind('.');
    if (dot != std::string::npos && slash != std::string::npos && dot > slash) {
        candidate.insert(dot, "-hd");
    } else {
        candidate += "-hd";
    }
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) return candidate;
    return result;
}

std::string& removeHdSuffixWithScale(std::string& path, float contentScaleFactor) {
    if (contentScaleFactor == 1.0f) return path;
    size_t slash = path.rfind('/');
    size_t marker = path.rfind("-hd");
    if (marker == std::string::npos) return path;
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (marker <= nameStart) return path;
    logDebugMessage("engine: FilePath(%s) contains suffix(%s), remove it.", path.c_str(), "-hd");
    path.erase(marker, 3);
    return path;
}

std::string resolvePathIgnoringCase(const std::string& path) {
    if (path.empty()) return "";
    std::string resolved = path[0] == '/' ? "/" : "";
    size_t pos = path[0] == '/' ? 1 : 0;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        std::string base = resolved.empty() ? "." : resolved;
        std::string exact = resolved + part;
        std::error_code ec;
        if (part == "." || part == ".." || fs::exists(fs::symlink_status(exact, ec))) {
            resolved = exact;
        } else {
            std::vector<std::string> matches;
            for (fs::directory_iterator it(base, ec), endIt; !ec && it != endIt; it.increment(ec)) {
                std::string entry = it->path().filename().string();
                if (equalsIgnoringCase(entry, part)) matches.push_back(entry);
            }
            if (matches.empty()) return "";
            resolved += *std::min_element(matches.begin(), matches.end());
        }
        if (end < path.size()) resolved += '/';
    }
    return resolved;
}

} // namespace detail

} // namespace kvengine
