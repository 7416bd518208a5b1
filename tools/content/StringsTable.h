#pragma once
// Localisation tables. The source of a table is UTF-8 text, one entry a line
// ("key = text", "#" starts a comment line, "\n" in a text is a line break); the game
// reads ".strings" files: UTF-16 little-endian with a byte-order mark, entries
// written "key" = "text"; (no escapes, a text ends at a quote directly followed by ';').
#include <map>
#include <string>
#include <vector>

#include "tools/content/ContentFiles.h"

namespace kvcontent {

/// The five languages: source file stem and the game's folder name ("<folder>.lproj").
struct Language {
    const char* source;
    const char* folder;
};
const std::vector<Language>& languages();

struct StringsTable {
    std::vector<std::pair<std::string, std::string>> entries; ///< in source order

    /// Parses a source text; false with a log line per fault (line without "=", empty key,
    /// a key twice ignoring letter case, a key with a quote, a text holding "\";" or longer
    /// than the game's 2047 UTF-16 units, text that is not UTF-8).
    bool parse(const std::string& source, const std::string& name);

    /// The ".strings" bytes.
    Bytes encode() const;

    /// The value of a key, compared ignoring letter case as the game does; null if none.
    const std::string* find(const std::string& key) const;
};

/// UTF-8 to UTF-16; false when the text is not valid UTF-8.
bool utf8ToUtf16(const std::string& text, std::u16string& out);

/// Every printf-style placeholder of a text ("%d", "%s", "%i", "%.2d", "%@"...), in order;
/// "%%" is not one.
std::vector<std::string> placeholders(const std::string& text);

} // namespace kvcontent
