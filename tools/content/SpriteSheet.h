#pragma once
// Packs named frames into one sprite sheet: a power-of-two PVR texture in a CCZ
// container ("<sheet>.pvr.ccz") and the frame list ("<sheet>.plist", format 2: frame
// rectangle, offset of the trimmed picture, untrimmed size, never rotated).
#include <string>
#include <vector>

#include "tools/content/Image.h"
#include "tools/content/PvrWriter.h"

namespace kvcontent {

struct SheetFrame {
    std::string name; ///< frame name as the game asks for it, e.g. "steev_idle_01.png"
    Image picture;    ///< untrimmed picture in texels
    /// More names for the same picture: written as frames of their own sharing its
    /// rectangle, so that a long animation can show one picture several frames running.
    std::vector<std::string> sameAs = {};
};

struct PackedFrame {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;     ///< trimmed rectangle in the texture
    int sourceW = 0, sourceH = 0;       ///< untrimmed size
    float offsetX = 0.f, offsetY = 0.f; ///< trimmed centre minus untrimmed centre, y up
};

class SpriteSheet {
public:
    /// Trims and places every frame; false (with a log line) when two frames share a
    /// name or they do not fit a 4096 x 4096 texture.
    /// With trim false, pictures keep their transparent borders (tiles that must line up).
    bool pack(std::vector<SheetFrame> frames, bool trim = true);

    const Image& texture() const { return m_texture; }
    const std::vector<PackedFrame>& frames() const { return m_frames; }

    /// Writes "<folder>/<sheetName>.plist" and "<folder>/<sheetName>.pvr.ccz"; the pixel
    /// format follows the sheet name (see pvrFormatForSheet) unless one is given.
    bool write(const std::string& folder, const std::string& sheetName) const;
    bool write(const std::string& folder, const std::string& sheetName, PvrFormat format) const;

private:
    Image m_texture;
    std::vector<PackedFrame> m_frames;
};

} // namespace kvcontent
