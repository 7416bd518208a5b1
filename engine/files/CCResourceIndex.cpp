#include "engine/files/CCResourceIndex.h"

#include "engine/base/CCString.h"
#include "engine/files/CCFileUtils.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace kvengine {

namespace {

std::string lowerCased(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

} // namespace

CCResourceIndex* CCResourceIndex::getInstance() {
    static CCResourceIndex* shared = new CCResourceIndex();
    return shared;
}

CCResourceIndex::CCResourceIndex() {
    scanFolder(resourceRootPath());
}

CCResourceIndex::CCResourceIndex(const std::string& rootFolder) {
    std::string folder = detail::normalizeSeparators(rootFolder.c_str());
    if (folder.empty() || folder.back() != '/') folder += '/';
    scanFolder(folder);
}

void CCResourceIndex::scanFolder(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    // Directory order is arbitrary on Linux; name order makes "which copy wins" stable.
    std::sort(names.begin(), names.end());

    std::vector<std::string> subFolders;
    for (const std::string& name : names) {
        if (name.empty() || name[0] == '.') continue;
        std::string path = folder + name;
        fs::file_status own = fs::symlink_status(path, ec);
        if (ec) continue;
        if (fs::is_directory(own)) {
            subFolders.push_back(path + "/");
            continue;
        }
        if (fs::is_symlink(own)) {
            fs::file_status target = fs::status(path, ec);
            if (ec || !fs::exists(target) || fs::is_directory(target)) continue;
        }
        std::vector<std::string>& folders = m_folders[name];
        folders.push_back(folder);
        m_namesIgnoringCase.emplace(lowerCased(name), name);
    }
    for (const std::string& sub : subFolders)
        scanFolder(sub);
}

std::string CCResourceIndex::pathForFileName(const std::string& fileName) const {
    auto found = m_folders.find(fileName);
    if (found != m_folders.end()) return found->second.front() + fileName;
    auto other = m_namesIgnoringCase.find(lowerCased(fileName));
    if (other != m_namesIgnoringCase.end()) return m_folders.at(other->second).front() + other->second;
    return fileName;
}

bool CCResourceIndex::containsFileName(const std::string& fileName) const {
    return m_folders.count(fileName) > 0 || m_namesIgnoringCase.count(lowerCased(fileName)) > 0;
}

CCString* CCResourceIndex::fullPathForFileName(std::string fileName) {
    auto* result = new CCString(pathForFileName(fileName));
    result->autorelease();
    return result;
}

CCString* CCResourceIndex::fullPathForNameAndExtension(std::string name, std::string extension) {
    return fullPathForFileName(name + "." + extension);
}

} // namespace kvengine
