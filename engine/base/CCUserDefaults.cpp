#include "engine/base/CCUserDefaults.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileWriter.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCPlistWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kvengine {

namespace {

// The XDG data folder: $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share;
// "" when neither is known.
std::string dataFolder() {
    const char* xdg = getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.local/share";
    return "";
}

} // namespace

CCUserDefaults::CCUserDefaults() {
    std::string folder = dataFolder();
    if (!folder.empty()) {
        folder += "/Kelvos/";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) logDebugMessage("engine: cannot create %s: %s", folder.c_str(), ec.message().c_str());
    } else {
        logDebugMessage("engine: no data folder known; settings are kept in the current directory");
    }
    m_path = folder + "SavedSettings.plist";
    // Saves cut short by a crash leave their temporary file beside the settings.
    removeStaleTemporaryFiles(m_path.c_str());

    std::error_code ec;
    if (!std::filesystem::exists(m_path, ec)) return; // first run: start empty

    bool wellFormed = false;
    CCMutableDictionary<std::string, CCObject*>* loaded =
        dictionaryWithContentsOfFile(m_path.c_str(), &wellFormed);
    if (loaded && wellFormed) {
        for (const std::string& key : loaded->allKeys())
            setObject(loaded->objectForKey(key), key);
        return;
    }
    // Starting empty means the next save overwrites the file: keep the unreadable one aside.
    std::string aside = m_path + ".bad";
    if (rename(m_path.c_str(), aside.c_str()) == 0) {
        logDebugMessage("engine: saved settings %s could not be read; moved to %s", m_path.c_str(),
                        aside.c_str());
    } else {
        logDebugMessage("engine: saved settings %s could not be read nor moved aside: %s", m_path.c_str(),
                        strerror(errno));
    }
}

CCUserDefaults::~CCUserDefaults() = default;

bool CCUserDefaults::save() {
    return saveDictionaryToPlistFile(this, m_path.c_str());
}

} // namespace kvengine
