#include "tools/content/SpriteSheet.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "tools/content/Plist.h"
#include "tools/content/PvrWriter.h"

namespace kvcontent {

namespace {
// Transparent texels between frames keep linear filtering from bleeding neighbours in.
const int kSpacing = 2;

struct Trimmed {
    size_t index;
    Image picture;
    int trimX, trimY;
};

// Shelf packing into a width x height box; false when something does not fit.
bool placeAll(std::vector<Trimmed>& items, int width, int height, std::vector<std::pair<int, int>>& places) {
    places.assign(items.size(), {0, 0});
    int x = 0, y = 0, shelf = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int w = items[i].picture.width, h = items[i].picture.height;
        if (w > width) return false;
        if (x + w > width) {
            x = 0;
            y += shelf + kSpacing;
            shelf = 0;
        }
        if (y + h > height) return false;
        places[i] = {x, y};
        x += w + kSpacing;
        shelf = std::max(shelf, h);
    }
    return true;
}

std::string fmt(const char* pattern, double a, double b) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, a, b);
    return buffer;
}
} // namespace

bool SpriteSheet::pack(std::vector<SheetFrame> frames, bool trim) {
    std::set<std::string> names;
    std::vector<Trimmed> items;
    for (size_t i = 0; i < frames.size(); ++i) {
        bool unique = names.insert(frames[i].name).second;
        for (const std::string& other : frames[i].sameAs)
            unique = names.insert(other).second && unique;
        if (!unique) {
            logLine("two frames named alike near " + frames[i].name);
            return false;
        }
        int x = 0, y = 0, w = frames[i].picture.width, h = frames[i].picture.height;
        if (trim) opaqueBounds(frames[i].picture, x, y, w, h);
        items.push_back({i, crop(frames[i].picture, x, y, w, h), x, y});
    }
    // Tallest first keeps the shelves full.
    std::stable_sort(items.begin(), items.end(),
                     [](const Trimmed& a, const Trimmed& b) { return a.picture.height > b.picture.height; });
    std::vector<std::pair<int, int>> places;
    int width = 64, height = 64;
    while (!placeAll(items, width, height, places)) {
        if (width <= height)
            width *= 2;
        else
            height *= 2;
        if (width > 4096 || height > 4096) {
            logLine("frames do not fit a 4096 x 4096 sheet");
            return false;
        }
    }
    m_texture = Image();
    m_texture.width = width;
    m_texture.height = height;
    m_texture.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    m_frames.clear();
    for (size_t i = 0; i < items.size(); ++i) {
        const Trimmed& item = items[i];
        const Image& source = frames[item.index].picture;
        for (int j = 0; j < item.picture.height; ++j) {
            std::memcpy(m_texture.pixel(places[i].first, places[i].second + j), item.picture.pixel(0, j),
                        static_cast<size_t>(item.picture.width) * 4);
        }
        PackedFrame packed;
        packed.name = frames[item.index].name;
        packed.x = places[i].first;
        packed.y = places[i].second;
        packed.w = item.picture.width;
        packed.h = item.picture.height;
        packed.sourceW = source.width;
        packed.sourceH = source.height;
        packed.offsetX = (item.trimX + packed.w / 2.f) - source.width / 2.f;
        packed.offsetY = source.height / 2.f - (item.trimY + packed.h / 2.f);
        m_frames.push_back(packed);
        for (const std::string& other : frames[item.index].sameAs) {
            packed.name = other;
            m_frames.push_back(packed);
        }
    }
    return true;
}

bool SpriteSheet::write(const std::string& folder, const std::string& sheetName) const {
    return write(folder, sheetName, pvrFormatForSheet(sheetName));
}

bool SpriteSheet::write(const std::string& folder, const std::string& sheetName, PvrFormat format) const {
    PlistNode root = PlistNode::makeDict();
    PlistNode& frameDict = root.set("frames", PlistNode::makeDict());
    for (const PackedFrame& f : m_frames) {
        PlistNode entry = PlistNode::makeDict();
        entry.set("frame",
                  PlistNode::str("{" + fmt("{%g,%g}", f.x, f.y) + "," + fmt("{%g,%g}", f.w, f.h) + "}"));
        entry.set("offset", PlistNode::str(fmt("{%g,%g}", f.offsetX, f.offsetY)));
        entry.set("rotated", PlistNode::flag(false));
        entry.set("sourceSize", PlistNode::str(fmt("{%g,%g}", f.sourceW, f.sourceH)));
        frameDict.set(f.name, entry);
    }
    PlistNode& meta = root.set("metadata", PlistNode::makeDict());
    meta.set("format", PlistNode::str("2"));
    meta.set("textureFileName", PlistNode::str(sheetName + ".pvr.ccz"));
    meta.set("size", PlistNode::str(fmt("{%g,%g}", m_texture.width, m_texture.height)));
    std::string text;
    if (!writePlistDocument(root, text)) return false;
    // A plain PNG of the sheet for reviewing the drawings, when asked for (the odd
    // capitals keep the preview out of the scrambled names).
    if (const char* preview = std::getenv("KELVOS_CONTENT_PREVIEW")) {
        writeResource(std::string(preview) + "/" + sheetName + "-preview.PnG", encodePng(m_texture));
    }
    const Bytes pvr = encodePvr(m_texture, format);
    if (pvr.empty()) return false;
    const Bytes ccz = wrapCCZ(pvr);
    if (ccz.empty()) return false;
    return writeResource(folder + "/" + sheetName + ".plist", Bytes(text.begin(), text.end())) &&
           writeResource(folder + "/" + sheetName + ".pvr.ccz", ccz);
}

} // namespace kvcontent
