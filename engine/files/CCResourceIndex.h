#pragma once

// Finds resources by bare file name: the tree below the resource root is walked once, and every
// file name is mapped to the folders that hold a file of that name.

#include <map>
#include <string>
#include <vector>

namespace kvengine {

class CCString;

/// The shared index is built on first use and never refreshed: files created, moved or deleted
/// afterwards are not seen. It lives until the process ends.
class CCResourceIndex {
public:
    /// The shared index of the resource root; the first call walks the whole tree.
    static CCResourceIndex* getInstance();

    /// Indexes the resource root.
    CCResourceIndex();
    /// Indexes the tree below rootFolder (with or without a trailing '/').
    explicit CCResourceIndex(const std::string& rootFolder);

    /// Adds every file below folder (which ends with '/'). Entries are taken in name order; names
    /// starting with '.' are skipped, files and folders alike; symbolic links to folders are not
    /// followed. A folder that cannot be read is skipped.
    void scanFolder(std::string folder);

    /// The full path of the first indexed copy of fileName (a file directly in the root beats
    /// those in sub-folders; between sibling folders the first by name wins, with its whole
    /// sub-tree). When no name matches exactly, a name differing only in letter case is used.
    /// Otherwise fileName unchanged. Returns an autoreleased string.
    CCString* fullPathForFileName(std::string fileName);
    /// fullPathForFileName of name + "." + extension.
    CCString* fullPathForNameAndExtension(std::string name, std::string extension);
    /// Whether fullPathForFileName would find fileName.
    bool containsFileName(const std::string& fileName) const;

    /// The plain-text form of fullPathForFileName.
    std::string pathForFileName(const std::string& fileName) const;

private:
    std::map<std::string, std::vector<std::string>> m_folders;
    // Lower-cased name -> the first name met in the walk that lowers to it.
    std::map<std::string, std::string> m_namesIgnoringCase;
};

} // namespace kvengine
