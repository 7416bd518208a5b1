#pragma once

#include "engine/base/CCObject.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kvengine {

/// Loader of PVR version-2 files: checks the 52-byte header, cuts the data into mipmap levels
/// and uploads them as one GL texture in the file's own pixel format, without conversion.
///
/// Accepted pixel types: RGBA4444 (0x10), RGBA5551 (0x11), RGBA8888 (0x12), RGB565 (0x13),
/// A8 (0x1B), I8 (0x16) and AI88 (0x17). Compressed PVRTC and BGRA8888 files are refused.
/// Sides must be powers of two no larger than the maximum texture size.
///
/// A loader lives for one `CCTexture2D::initWithPVRFile`, which takes over the GL texture by
/// setting retain name. The caller owns the loader whether or not a load succeeds.
class CCTexturePVR : public CCObject {
public:
    static constexpr size_t kHeaderSize = 52;
    static constexpr int kMaxLevels = 16;

    struct Level {
        const unsigned char* data = nullptr;
        size_t length = 0;
    };

    CCTexturePVR() = default;
    ~CCTexturePVR() override;

    /// Reads the file (a path containing ".ccz" through the CCZ reader, else ".gz" through gzip,
    /// else as it is), unpacks it and uploads it. False, with a log line, on any failure.
    [[nodiscard]] bool initWithContentsOfFile(const char* path);

    /// Checks the header and cuts the levels out of `data` (the whole file). Levels are bounded
    /// by the bytes really present and by the header's data length; cutting stops at the first
    /// level too short for its texels and after `kMaxLevels`. No GL call. `data` must outlive the
    /// upload.
    bool unpackPVRData(const unsigned char* data, size_t size);
    /// Uploads the unpacked levels as a new GL texture; false on a GL error.
    bool createGLTexture();

    /// A file's bytes as the reader or the inflater handed them over, freed with the object
    /// (textures run to megabytes: they are not copied again).
    struct FileBytes {
        std::unique_ptr<unsigned char, void (*)(unsigned char*)> data{nullptr, nullptr};
        size_t size = 0;
    };
    /// The decompressed bytes of a PVR file, chosen by its name as `initWithContentsOfFile` does.
    static bool readPVRFile(const char* path, FileBytes* out);

    uint32_t getName() const { return m_name; }
    uint32_t getWidth() const { return m_width; }
    uint32_t getHeight() const { return m_height; }
    int getFormat() const { return m_format; }
    bool hasAlpha() const { return m_hasAlpha; }
    bool getRetainName() const { return m_retainName; }
    /// When set, destruction leaves the GL texture to its new owner.
    void setRetainName(bool retain) { m_retainName = retain; }

    int getLevelCount() const { return m_levelCount; }
    const Level& getLevel(int index) const { return m_levels[index]; }

private:
    void deleteName();

    uint32_t m_name = 0;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    int m_format = 0;
    bool m_hasAlpha = false;
    bool m_retainName = false;
    int m_tableIndex = 0;
    int m_levelCount = 0;
    Level m_levels[kMaxLevels];
};

} // namespace kvengine
