#include "engine/files/CCFileWriter.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kvengine {

namespace {

CCFileWriteFunction g_write = nullptr;

ssize_t systemWrite(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}

bool writeAll(int fd, const unsigned char* data, size_t size) {
    CCFileWriteFunction write = g_write ? g_write : systemWrite;
    while (size > 0) {
        ssize_t done = write(fd, data, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) {
            if (done == 0) errno = ENOSPC;
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Makes the rename itself durable; failure here is not fatal (the data is already safe in the
// renamed file on most file systems), so it is not reported.
void syncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// The temporaries are named "<file>.tmp-XXXXXX", the six letters and digits chosen by mkstemp. The
// marker keeps them apart from the player's own copies ("<file>.backup" is six letters as well).
const char kTemporaryMarker[] = ".tmp-";
constexpr size_t kTemporaryMarkerLength = sizeof(kTemporaryMarker) - 1;
constexpr size_t kTemporarySuffixLength = 6;

std::string temporaryPattern(const std::string& target) {
    return target + kTemporaryMarker + std::string(kTemporarySuffixLength, 'X');
}

bool isTemporaryOf(const std::string& entry, const std::string& fileName) {
    const size_t start = fileName.size() + kTemporaryMarkerLength;
    if (entry.size() != start + kTemporarySuffixLength) return false;
    if (entry.compare(0, fileName.size(), fileName) != 0 ||
        entry.compare(fileName.size(), kTemporaryMarkerLength, kTemporaryMarker) != 0)
        return false;
    for (size_t i = start; i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
    return true;
}

} // namespace

int removeStaleTemporaryFiles(const char* path) {
    if (!path || !*path) return 0;
    const std::string target = detail::normalizeSeparators(path);
    const std::string folder = folderOf(target);
    const size_t slash = target.rfind('/');
    const std::string fileName = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* listing = opendir(folder.c_str());
    if (!listing) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(listing)) {
        if (!isTemporaryOf(entry->d_name, fileName)) continue;
        const std::string stale = (folder == "/" ? "" : folder) + "/" + entry->d_name;
        struct stat info;
        if (lstat(stale.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        if (unlink(stale.c_str()) == 0) {
            ++removed;
            logDebugMessage("engine: removed %s, left by an interrupted save", stale.c_str());
        } else {
            logDebugMessage("engine: cannot remove %s, left by an interrupted save: %s", stale.c_str(),
                            strerror(errno));
        }
    }
    closedir(listing);
    return removed;
}

CCFileWriteFunction setFileWriteFunction(CCFileWriteFunction function) {
    CCFileWriteFunction previous = g_write ? g_write : systemWrite;
    g_write = function;
    return previous;
}

bool writeFileAtomically(const char* path, const void* data, size_t size) {
    if (!path || !*path || (!data && size > 0)) {
        logDebugMessage("engine: cannot save: no path or no data");
        return false;
    }
    std::string target = detail::normalizeSeparators(path);
    mode_t mode = 0644;
    struct stat info;
    if (lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char* real = realpath(target.c_str(), nullptr);
        if (real) {
            target = real;
            free(real);
        }
    }
    if (stat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            logDebugMessage("engine: cannot save %s: not a regular file", target.c_str());
            return false;
        }
        mode = info.st_mode & 07777;
    }

    std::string temporary = temporaryPattern(target);
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        logDebugMessage("engine: cannot save %s: %s", target.c_str(), strerror(errno));
        return false;
    }
    const char* step = nullptr;
    if (fchmod(fd, mode) != 0)
        step = "chmod";
    else if (!writeAll(fd, static_cast<const unsigned char*>(data), size))
        step = "write";
    else if (fsync(fd) != 0)
        step = "fsync";
    int savedErrno = errno;
    if (close(fd) != 0 && !step) {
        step = "close";
        savedErrno = errno;
    }
    if (!step && rename(temporary.c_str(), target.c_str()) != 0) {
        step = "rename";
        savedErrno = errno;
    }
    if (step) {
        unlink(temporary.c_str());
        logDebugMessage("engine: cannot save %s (%s failed: %s); the old file is kept", target.c_str(), step,
                        strerror(savedErrno));
        return false;
    }
    syncFolder(folderOf(target));
    return true;
}

} // namespace kvengine
