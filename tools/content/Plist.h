#pragma once
// A small property-list tree for the files the content build generates (sprite-sheet
// frame lists, sound event tables) and its XML writer. Scalars are text, as the game
// reads every scalar as a string.
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kvcontent {

struct PlistNode {
    enum class Kind { String, Dict, Array, True, False };
    Kind kind = Kind::String;
    std::string text;
    std::map<std::string, PlistNode> dict; ///< kept in byte order, as the game iterates
    std::vector<PlistNode> array;

    static PlistNode str(const std::string& value);
    static PlistNode flag(bool value);
    static PlistNode makeDict();
    static PlistNode makeArray();
    PlistNode& set(const std::string& key, PlistNode value);
};

/// True when the game's reader keeps the text whole: the XML reader may cut character
/// data at entity references, so '&' and '<' (and '>') must not appear.
bool isPlainPlistText(const std::string& text);

/// The complete XML property-list document. False (with a log line naming the text)
/// when a key or value is not plain text.
bool writePlistDocument(const PlistNode& root, std::string& out);

} // namespace kvcontent
