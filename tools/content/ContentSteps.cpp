#include "tools/content/ContentSteps.h"

#include <filesystem>
#include <map>
#include <set>

#include "tools/content/BitmapFont.h"
#include "tools/content/ContentFiles.h"
#include "tools/content/DataFiles.h"
#include "tools/content/Image.h"
#include "tools/content/StringsTable.h"

namespace kvcontent {

namespace fs = std::filesystem;

bool buildData(const BuildPaths& paths) {
    int count = 0;
    const bool ok = buildDataFolder(paths.source + "/data", paths.target + "/data", count);
    logLine("data: " + std::to_string(count) + " property lists");
    return ok;
}

bool buildTexts(const BuildPaths& paths) {
    bool ok = true;
    std::vector<StringsTable> tables;
    for (const Language& language : languages()) {
        Bytes source;
        StringsTable table;
        const std::string name = std::string(language.source) + ".txt";
        if (!readWholeFile(paths.source + "/text/" + name, source)) {
            ok = false;
            tables.push_back(table);
            continue;
        }
        if (!table.parse(std::string(source.begin(), source.end()), name)) ok = false;
        ok = writeResource(paths.target + "/" + language.folder + ".lproj/localizable.strings",
                           table.encode()) &&
             ok;
        tables.push_back(table);
    }
    // Every table carries every key of the English one, with the same placeholders.
    const StringsTable& english = tables.front();
    for (size_t i = 1; i < tables.size(); ++i) {
        const std::string name = languages()[i].source;
        for (const auto& entry : english.entries) {
            const std::string* text = tables[i].find(entry.first);
            if (!text) {
                logLine(name + ": missing key " + entry.first);
                ok = false;
            } else if (placeholders(*text) != placeholders(entry.second)) {
                logLine(name + ": placeholders of " + entry.first + " differ from the English text");
                ok = false;
            }
        }
        for (const auto& entry : tables[i].entries) {
            if (!english.find(entry.first)) {
                logLine(name + ": key " + entry.first + " is not in the English table");
                ok = false;
            }
        }
    }
    logLine("texts: " + std::to_string(english.entries.size()) + " keys in " + std::to_string(tables.size()) +
            " languages");
    return ok;
}

namespace {
struct PictureSpec {
    const char* source; ///< below content/art
    const char* target; ///< below the resource folder
    int width, height;  ///< texels
};

// The splash is drawn at 960 x 600 texels; the game shows it scaled by 2 at content
// scale 2, so one texel is one point of the wide design size. Cursors are drawn at
// twice their screen size in texels, as every picture at content scale 2.
const PictureSpec kPictures[] = {
    {"splash.svg", "images/splash.png", 960, 600},
    {"cursors/open.svg", "images/cursors/open.png", 64, 64},
    {"cursors/open_grab.svg", "images/cursors/open_grab.png", 64, 64},
    {"cursors/pinch.svg", "images/cursors/pinch.png", 64, 64},
    {"cursors/pinch_released.svg", "images/cursors/pinch_released.png", 64, 64},
    {"cursors/point.svg", "images/cursors/point.png", 64, 64},
    {"cursors/point_pressed.svg", "images/cursors/point_pressed.png", 64, 64},
    {"plankton.svg", "images/plankton.png", 32, 32},
};
} // namespace

bool buildImages(const BuildPaths& paths) {
    bool ok = true;
    for (const PictureSpec& spec : kPictures) {
        const Image image = rasteriseSvg(paths.source + "/art/" + spec.source, spec.width, spec.height);
        const Bytes png = encodePng(image);
        if (png.empty() || !writeResource(paths.target + "/" + spec.target, png)) ok = false;
    }
    return ok;
}

bool buildFonts(const BuildPaths& paths) {
    bool ok = true;
    // TrueType fonts under the names the game asks for; the HUD font is also asked for
    // without its folder, which resolves against the resource folder itself.
    const std::pair<const char*, const char*> copies[] = {
        {"DejaVuSans-Bold.ttf", "fonts/Kelvos-Kelvos.ttf"},
        {"DejaVuSans.ttf", "fonts/Junction 02.ttf"},
        {"DejaVuSans.ttf", "Junction 02.ttf"},
    };
    for (const auto& copy : copies) {
        Bytes data;
        if (!readWholeFile(paths.fonts + "/" + copy.first, data) ||
            !writeResource(paths.target + "/" + copy.second, data)) {
            ok = false;
        }
    }
    Bytes licence;
    if (!readWholeFile(paths.fontLicence, licence) ||
        !writeResource(paths.target + "/fonts/LICENSE-DejaVu", licence)) {
        ok = false;
    }
    // Bitmap fonts, each with its "-hd" twin that the game prefers at content scale 2.
    const BitmapFontSpec bitmapFonts[] = {
        {paths.fonts + "/DejaVuSerif.ttf", "times32.fnt", 32},
        {paths.fonts + "/DejaVuSerif.ttf", "times32-hd.fnt", 64},
        {paths.fonts + "/DejaVuSans.ttf", "junction12.fnt", 12},
        {paths.fonts + "/DejaVuSans.ttf", "junction12-hd.fnt", 24},
        {paths.fonts + "/DejaVuSans.ttf", "junction16.fnt", 16},
        {paths.fonts + "/DejaVuSans.ttf", "junction16-hd.fnt", 32},
    };
    for (const BitmapFontSpec& spec : bitmapFonts)
        ok = writeBitmapFont(spec, paths.target + "/fonts") && ok;
    return ok;
}

} // namespace kvcontent
