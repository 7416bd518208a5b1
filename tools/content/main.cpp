// kelvos_content SOURCE TARGET: builds the resource folder TARGET from the content
// sources in SOURCE. Exits non-zero when any source is faulty; every fault is logged.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"

// Fontconfig (used by librsvg to lay out the splash title) keeps caches for the life of
// the process; the leak checker of sanitizer builds should judge only our own memory.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

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

  // A fresh folder each time, so that nothing removed from the sources lingers.
  std::error_code error;
  std::filesystem::remove_all(paths.target, error);
  std::filesystem::create_directories(paths.target, error);

  bool ok = true;
  ok = kvcontent::buildData(paths) && ok;
  ok = kvcontent::buildTexts(paths) && ok;
  ok = kvcontent::buildImages(paths) && ok;
  ok = kvcontent::buildFonts(paths) && ok;
  ok = kvcontent::buildSheets(paths) && ok;
  ok = kvcontent::buildFrontEnd(paths) && ok;
  ok = kvcontent::buildSounds(paths) && ok;
  if (!ok) {
    kvcontent::logLine("the resource folder is incomplete: fix the faults above");
    return 1;
  }
  return 0;
}
