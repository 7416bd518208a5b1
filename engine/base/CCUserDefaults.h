#pragma once

// The program's one persistent store: a dictionary kept in the saved-settings file
// "Kelvos/SavedSettings.plist" under the user's data folder ($XDG_DATA_HOME, else
// ~/.local/share), stored as a scrambled property list. Loaded once, written on save() only.

#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCSingleton.h"

#include <string>

namespace kvengine {

/// Entries are read and written through the dictionary interface. Values are CCString texts,
/// nested dictionaries and arrays, as the property-list reader makes them.
///
/// The shared instance (getInstance) is built, and its file loaded, on first use, and released at
/// the application's shutdown. Releasing it frees it without saving; the next getInstance builds a
/// new one from the file.
class CCUserDefaults : public CCSingleton<CCUserDefaults, CCMutableDictionary<std::string, CCObject*>> {
public:
    /// Finds the saved-settings file, creates its folder when needed and loads the file. A file
    /// that cannot be parsed is moved aside to "SavedSettings.plist.bad" (so that the next save does
    /// not destroy it) and the defaults start empty. Temporary files of saves that a crash cut
    /// short are removed first.
    CCUserDefaults();
    ~CCUserDefaults() override;

    /// Writes the whole dictionary to the file. The old file is replaced only once the new one is
    /// completely on disk; false (with a log line) on any failure, the old file then unchanged.
    bool save();

    /// The full path of the saved-settings file.
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace kvengine
