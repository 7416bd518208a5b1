#pragma once

// The localisation table: every text the game shows, read from the ".strings" file of the
// current language into a dictionary from lower-cased key to text.

#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"

#include <string>

namespace kvengine {

class CCString;

/// The ".strings" format: UTF-16 little-endian (a byte-order mark is skipped like any other
/// character outside quotes); entries are "key" = "value"; and // or /* */ comments may stand
/// between entries and between a key and its value. A value ends at the first double quote that
/// is directly followed by a semicolon; there are no escape sequences.
///
/// The shared table (getInstance) is created empty on first use. Releasing it (at a language change,
/// or at the application's shutdown) destroys it, and the next getInstance makes a new, empty one.
class CCLocalizationManager : public CCSingleton<CCLocalizationManager> {
public:
    /// The longest value kept, in UTF-16 units; longer values are cut there.
    static constexpr unsigned kMaxValueUnits = 2047;

    CCLocalizationManager();
    ~CCLocalizationManager() override;

    CC_DECLARE_CLASS_NAME(CCLocalizationManager, CCObject)

    /// Remembers path and loads its entries (added to those already loaded; a key read again
    /// replaces its text). False for an empty path or an unreadable file.
    [[nodiscard]] virtual bool loadStringsFile(const std::string& path);
    /// Loads the entries of one file, read (and unscrambled) through the file layer. A file that
    /// is empty, is not UTF-16 text with a byte-order mark (damaged, or not scrambled) or holds no
    /// entry still loads (nothing), but says so with the path.
    bool parseStringsFile(const char* path);
    /// Loads the entries of a file image already in memory. Entries before a truncated last one
    /// are kept (and the truncation logged). Returns false only for missing data. entryCount, when
    /// given, receives the number of entries read.
    bool parseStringsData(const unsigned char* data, unsigned size, unsigned* entryCount = nullptr);

    /// The text stored under key, compared lower-cased, or null. comment plays no part: callers
    /// pass it for the translators' benefit.
    CCString* stringForKey(const std::string& key, const char* comment = nullptr) const;

    /// The file last given to loadStringsFile.
    const std::string& path() const { return m_path; }

private:
    // The next entry from position on: its text (autoreleased) with its key, or null when the
    // data ends first. position moves past the entry.
    CCString* parseNextStringsEntry(const unsigned char* data, unsigned size, unsigned& position,
                                    std::string& key);

    std::string m_path;
    CCMutableDictionary<std::string, CCString*>* m_table;
};

/// The localised text for the key text, or text itself when the table has none (not retained).
CCString* localizeString(CCString* text);

/// The localised text for key, or null when there is none.
CCString* getLocalizedString(const std::string& key);

} // namespace kvengine
