#pragma once
// Property-list data sources (game settings, game parameters, missions, the store
// catalogue): checked and written scrambled into the resource folder.
#include <string>

#include "tools/content/ContentFiles.h"

namespace kvcontent {

/// Checks a property-list source the way the game will read it: well-formed XML, a
/// dictionary at the root (an array for a mission's rule file, "*_RULE.plist"), no empty string or key (the
/// game's writer drops them), no text the reader would cut at an entity ('&', '<', '>' written as entities).
/// Logs each fault with the file name; true when there is none.
bool checkPlistSource(const Bytes& data, const std::string& name);

/// Checks and writes every "*.plist" below sourceFolder into targetFolder, keeping
/// the relative paths. False when any file fails its check or cannot be written.
bool buildDataFolder(const std::string& sourceFolder, const std::string& targetFolder, int& fileCount);

} // namespace kvcontent
