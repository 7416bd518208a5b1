// Sheets drawn as SVG files: every folder content/art/sheets/<sheet>/ becomes the sprite sheet
// <sheet>, and every <frame>.svg in it the frame "<frame>.png". A drawing's width and height are
// in points; the frame gets two texels a point (content scale 2). Screens that share a sheet each
// add their drawings to its folder, so one frame has one source.
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/SpriteSheet.h"

namespace kvcontent {

namespace {
namespace fs = std::filesystem;

constexpr double kTexelsPerPoint = 2.0;

// The drawing's own size in points, from its width and height; false when it declares none.
bool drawingSize(const std::string& path, double& width, double& height) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
    if (!handle) {
        logLine("cannot read SVG " + path + ": " + (error ? error->message : "unknown error"));
        if (error) g_error_free(error);
        return false;
    }
    const bool ok =
        rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) && width > 0 && height > 0;
    g_object_unref(handle);
    if (!ok) logLine("SVG " + path + " gives no width and height in points");
    return ok;
}

// The drawings of a folder as frames: `scale` times their size in points (two texels a point),
// each named after its file with `from` in the name replaced by `to`.
bool drawFrames(const fs::path& folder, double scale, const std::string& from, const std::string& to,
                std::vector<SheetFrame>& frames) {
    std::vector<fs::path> drawings;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".svg") drawings.push_back(entry.path());
    std::sort(drawings.begin(), drawings.end());
    bool ok = true;
    for (const fs::path& drawing : drawings) {
        double width = 0, height = 0;
        if (!drawingSize(drawing.string(), width, height)) {
            ok = false;
            continue;
        }
        Image picture =
            rasteriseSvg(drawing.string(), static_cast<int>(std::lround(width * scale * kTexelsPerPoint)),
                         static_cast<int>(std::lround(height * scale * kTexelsPerPoint)));
        if (picture.empty()) {
            ok = false;
            continue;
        }
        std::string name = drawing.stem().string();
        if (const size_t at = name.rfind(from); !from.empty() && at != std::string::npos)
            name.replace(at, from.size(), to);
        frames.push_back({name + ".png", std::move(picture)});
    }
    return ok;
}

bool buildSheet(const fs::path& folder, const std::string& target) {
    std::vector<SheetFrame> frames;
    const bool ok = drawFrames(folder, 1.0, "", "", frames);
    SpriteSheet sheet;
    return ok && sheet.pack(std::move(frames)) && sheet.write(target + "/sheets", folder.filename().string());
}

// The shop panel's consumable pictures "<sprite>_full.png" (sheet "consumables_TC4_ss"): the
// list icons "<sprite>_shop.png" drawn half as large again, so each picture has one drawing.
bool buildFullConsumablePictures(const fs::path& root, const std::string& target) {
    const fs::path icons = root / "consumables_51_ss";
    std::error_code error;
    if (!fs::is_directory(icons, error)) return true;
    std::vector<SheetFrame> frames;
    const bool ok = drawFrames(icons, 1.5, "_shop", "_full", frames);
    SpriteSheet sheet;
    return ok && sheet.pack(std::move(frames)) && sheet.write(target + "/sheets", "consumables_TC4_ss");
}

// Sheets the gameplay layer loads for every mission: made empty until drawings join their folder.
// (global_ss comes with the levels.)
const char* const kMissionSheets[] = {"top_sfx_51_ss",       "low_sfx_51_ss",     "top_sfx_88_ss",
                                      "low_sfx_88_ss",       "low_sfx_PVRTC4_ss", "low_sfx_PVRTC4_2_ss",
                                      "hidden_char1_TC2_ss", "frontend_helmet_ss"};

bool writeEmptySheetsMissing(const std::string& target) {
    bool ok = true;
    for (const char* name : kMissionSheets) {
        if (fs::exists(fs::path(target) / "sheets" / (std::string(name) + ".plist"))) continue;
        SpriteSheet sheet;
        ok = sheet.pack({}) && sheet.write(target + "/sheets", name) && ok;
        logLine(std::string("sheet ") + name + ": no drawings yet, written empty");
    }
    return ok;
}

} // namespace

bool drawSvgFrames(const std::string& folder, double scale, const std::string& from, const std::string& to,
                   std::vector<SheetFrame>& frames) {
    return drawFrames(fs::path(folder), scale, from, to, frames);
}

bool buildSvgSheets(const BuildPaths& paths) {
    const fs::path root = fs::path(paths.source) / "art" / "sheets";
    std::error_code error;
    if (!fs::is_directory(root, error)) return true;
    std::vector<fs::path> folders;
    for (const fs::directory_entry& entry : fs::directory_iterator(root))
        if (entry.is_directory()) folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    bool ok = true;
    for (const fs::path& folder : folders)
        ok = buildSheet(folder, paths.target) && ok;
    ok = buildFullConsumablePictures(root, paths.target) && ok;
    logLine("drawn sheets: " + std::to_string(folders.size()));
    return writeEmptySheetsMissing(paths.target) && ok;
}

} // namespace kvcontent
