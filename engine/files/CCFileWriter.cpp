#include "engine/files/CCFileWriter.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
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

} // namespace

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

    std::string temporary = target + ".XXXXXX";
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
