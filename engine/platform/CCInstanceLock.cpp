#include "engine/platform/CCInstanceLock.h"

#include "engine/base/CCLog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace kvengine {

CCInstanceLock::~CCInstanceLock() {
    release();
}

CCInstanceLock::Result CCInstanceLock::acquire(const std::string& path) {
    if (m_fd >= 0) return kAcquired;
    if (path.empty()) {
        logDebugMessage("instance lock: no lock file path");
        return kFailed;
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        // When the folder could not be made, the open only says the file's folder is missing:
        // the folder's own failure is the cause worth reporting.
        if (ec)
            logDebugMessage("instance lock: cannot make the folder %s: %s", folder.string().c_str(),
                            ec.message().c_str());
        else
            logDebugMessage("instance lock: cannot open %s: %s", path.c_str(), strerror(errno));
        return kFailed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) return kHeldElsewhere;
        logDebugMessage("instance lock: cannot lock %s: %s", path.c_str(), strerror(error));
        return kFailed;
    }
    m_fd = fd;
    return kAcquired;
}

void CCInstanceLock::release() {
    if (m_fd < 0) return;
    flock(m_fd, LOCK_UN);
    close(m_fd);
    m_fd = -1;
}

std::string CCInstanceLock::defaultPath() {
    // The same folder rule as the saved settings: $XDG_DATA_HOME when absolute, else
    // $HOME/.local/share.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (xdg != nullptr && xdg[0] == '/') {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        folder = std::string(home) + "/.local/share";
    } else {
        return "";
    }
    return folder + "/Kelvos/instance.lock";
}

} // namespace kvengine
