// kelvos_content SOURCE TARGET: builds the resource folder TARGET from the content
// sources in SOURCE. Exits non-zero when any source is faulty; every fault is logged.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"

// Fontconfig (used by librsvg to lay out the splash title) keeps caches for the life of
// the process; the leak checker of sanitizer builds should judge only our own memory.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    if (argc != 3) {
        kvcontent::logLine("usage: kelvos_content CONTENT_FOLDER RESOURCE_FOLDER");
        return 2;
    }
    kvcontent::BuildPaths paths;
    paths.source = argv[1];
    paths.target = argv[2];
    const char* fonts = std::getenv("KELVOS_FONT_DIR");
    paths.fonts = fonts ? fonts : "/usr/share/fonts/truetype/dejavu";
    paths.fontLicence = "/usr/share/doc/fonts-dejavu-core/copyright";

    // A fresh folder each time, so that nothing removed from the sources lingers. Only a
    // folder this tool made (it carries the marker) or an empty one is ever cleared: a wrong
    // argument must not wipe anything else.
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path marker = fs::path(paths.target) / ".kelvos-resources";
    if (fs::exists(paths.target, error)) {
        // Folders built before the marker existed are known by their settings file.
        const bool ours = fs::exists(marker, error) ||
                          fs::exists(fs::path(paths.target) / "data" / "gameSetup.plist", error);
        if (!ours && !fs::is_empty(paths.target, error)) {
            kvcontent::logLine("refusing to clear " + paths.target +
                               ": not a resource folder made by this tool");
            return 1;
        }
        fs::remove_all(paths.target, error);
    }
    fs::create_directories(paths.target, error);
    if (!kvcontent::writeResource(marker.string(), kvcontent::Bytes())) return 1;

    bool ok = true;
    ok = kvcontent::buildData(paths) && ok;
    ok = kvcontent::buildTexts(paths) && ok;
    ok = kvcontent::buildImages(paths) && ok;
    ok = kvcontent::buildFonts(paths) && ok;
    ok = kvcontent::buildSheets(paths) && ok;
    ok = kvcontent::buildFrontEnd(paths) && ok;
    ok = kvcontent::buildSvgSheets(paths) && ok;
    ok = kvcontent::buildEnvironment(paths) && ok;
    ok = kvcontent::buildChatter(paths) && ok;
    ok = kvcontent::buildLevels(paths) && ok;
    ok = kvcontent::buildKrakenSheets(paths) && ok;
    ok = kvcontent::buildSounds(paths) && ok;
    if (!ok) {
        kvcontent::logLine("the resource folder is incomplete: fix the faults above");
        return 1;
    }
    return 0;
}
