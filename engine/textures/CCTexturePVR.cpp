#include "engine/textures/CCTexturePVR.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCZipUtils.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePixels.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace kvengine {

namespace {

struct PixelType {
    uint32_t type;
    GLenum format; // internal format and format
    GLenum glType;
    uint32_t bitsPerPixel;
    int engineFormat;
};

// Searched in this order. PVRTC (0x18, 0x19) and BGRA8888 (0x1A) are absent: the GL we run on
// offers neither.
const PixelType kPixelTypes[] = {
    {0x10, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, 16, kCCPixelFormatRGBA4444},
    {0x11, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, 16, kCCPixelFormatRGB5A1},
    {0x12, GL_RGBA, GL_UNSIGNED_BYTE, 32, kCCPixelFormatRGBA8888},
    {0x13, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 16, kCCPixelFormatRGB565},
    {0x1B, GL_ALPHA, GL_UNSIGNED_BYTE, 8, kCCPixelFormatA8},
    {0x16, GL_LUMINANCE, GL_UNSIGNED_BYTE, 8, kCCPixelFormatI8},
    {0x17, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 16, kCCPixelFormatAI88},
};

uint32_t readLe32(const unsigned char* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

} // namespace

CCTexturePVR::~CCTexturePVR() {
    deleteName();
}

void CCTexturePVR::deleteName() {
    if (m_name != 0 && !m_retainName) {
        GLuint name = m_name;
        glDeleteTextures(1, &name);
    }
    m_name = 0;
}

bool CCTexturePVR::readPVRFile(const char* path, FileBytes* out) {
    *out = FileBytes();
    if (path == nullptr) return false;
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (lower.find(".ccz") != std::string::npos || lower.find(".gz") != std::string::npos) {
        unsigned char* inflated = nullptr;
        const int length = lower.find(".ccz") != std::string::npos ? inflateCCZFile(path, &inflated)
                                                                   : inflateGZipFile(path, &inflated);
        // The inflaters hand over malloc'd memory.
        out->data = {inflated, [](unsigned char* bytes) { std::free(bytes); }};
        if (length < 0 || inflated == nullptr) {
            *out = FileBytes();
            return false;
        }
        out->size = size_t(length);
        return true;
    }
    unsigned size = 0;
    char* data = readFileData(&size, path, "rb");
    if (data == nullptr) return false;
    out->data = {reinterpret_cast<unsigned char*>(data), [](unsigned char* bytes) { delete[] bytes; }};
    out->size = size;
    return true;
}

bool CCTexturePVR::initWithContentsOfFile(const char* path) {
    FileBytes file;
    if (!readPVRFile(path, &file)) {
        logDebugMessage("pvr: %s cannot be read", path != nullptr ? path : "(null)");
        return false;
    }
    deleteName();
    m_width = m_height = 0;
    m_hasAlpha = false;
    m_retainName = false;
    m_levelCount = 0;
    bool ok = unpackPVRData(file.data.get(), file.size);
    if (!ok) logDebugMessage("pvr: %s is not a usable PVR file", path);
    ok = ok && createGLTexture();
    // The levels point into the file, which goes now.
    for (Level& level : m_levels)
        level = Level();
    m_levelCount = 0;
    return ok;
}

bool CCTexturePVR::unpackPVRData(const unsigned char* data, size_t size) {
    m_levelCount = 0;
    if (data == nullptr || size < kHeaderSize) {
        logDebugMessage("pvr: %zu bytes are too few for a header", size);
        return false;
    }
    if (data[44] != 'P' || data[45] != 'V' || data[46] != 'R' || data[47] != '!') {
        logDebugMessage("pvr: the tag is not PVR!");
        return false;
    }
    const uint32_t height = readLe32(data + 4);
    const uint32_t width = readLe32(data + 8);
    const uint32_t flags = readLe32(data + 16);
    const uint32_t headerDataLength = readLe32(data + 20);
    const uint32_t alphaMask = readLe32(data + 40);
    const int maxSize = CCTexture2D::getMaxTextureSize();
    if (width == 0 || height == 0 || nextPowerOfTwo(width) != width || nextPowerOfTwo(height) != height ||
        maxSize <= 0 || width > uint32_t(maxSize) || height > uint32_t(maxSize)) {
        logDebugMessage("pvr: %u x %u is not a power-of-two size up to %d", width, height, maxSize);
        return false;
    }
    const uint32_t pixelType = flags & 0xFF;
    int index = -1;
    for (size_t i = 0; i < std::size(kPixelTypes); ++i) {
        if (kPixelTypes[i].type == pixelType) {
            index = int(i);
            break;
        }
    }
    if (index < 0) {
        logDebugMessage("pvr: pixel type 0x%02x is not supported", pixelType);
        return false;
    }
    const PixelType& row = kPixelTypes[index];
    m_tableIndex = index;
    m_width = width;
    m_height = height;
    m_hasAlpha = alphaMask != 0;
    m_format = row.engineFormat;

    // The header's length is trusted only as far as the file really goes.
    const size_t dataLength = std::min<size_t>(headerDataLength, size - kHeaderSize);
    const unsigned char* start = data + kHeaderSize;
    size_t offset = 0;
    size_t w = width, h = height;
    while (offset < dataLength && m_levelCount < kMaxLevels) {
        // Levels are counted at 2 x 2 texels or more, as the format's writers lay them out.
        const size_t counted = std::max<size_t>(w, 2) * std::max<size_t>(h, 2) * row.bitsPerPixel / 8;
        const size_t length = std::min(counted, dataLength - offset);
        // GL reads w x h texels from the level; a level with fewer bytes would make it read past
        // the file.
        const size_t needed = std::max<size_t>(w * h * row.bitsPerPixel / 8, 1);
        if (length < needed) break;
        m_levels[m_levelCount++] = {start + offset, length};
        offset += length;
        w = std::max<size_t>(w >> 1, 1);
        h = std::max<size_t>(h >> 1, 1);
    }
    if (m_levelCount == 0) {
        logDebugMessage("pvr: the file holds no complete level");
        return false;
    }
    return true;
}

bool CCTexturePVR::createGLTexture() {
    if (m_levelCount <= 0) return false;
    deleteName();
    m_retainName = false;
    GLuint name = 0;
    glGenTextures(1, &name);
    m_name = name;
    glBindTexture(GL_TEXTURE_2D, name);
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
        // Errors left by earlier code must not be taken for ours.
    }
    // Rows of small levels are not padded to 4 bytes in the file.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const PixelType& row = kPixelTypes[m_tableIndex];
    GLsizei w = GLsizei(m_width), h = GLsizei(m_height);
    for (int i = 0; i < m_levelCount; ++i) {
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, i, GLint(row.format), w, h, 0, row.format, row.glType, m_levels[i].data);
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            logDebugMessage("pvr: upload of level %d failed (GL error 0x%x)", i, unsigned(error));
            deleteName();
            return false;
        }
        w = std::max(w >> 1, 1);
        h = std::max(h >> 1, 1);
    }
    return true;
}

} // namespace kvengine
