#pragma once
// Keeps a second copy of the program from running for the same user.
#include <string>

namespace kvengine {

/// An exclusive advisory lock (flock) on a file. The operating system drops it when the process
/// ends, however it ends, so a crash never leaves a stale lock behind.
class CCInstanceLock {
public:
    CCInstanceLock() = default;
    ~CCInstanceLock();
    CCInstanceLock(const CCInstanceLock&) = delete;
    CCInstanceLock& operator=(const CCInstanceLock&) = delete;

    enum Result {
        kAcquired = 0,  ///< this process holds the lock
        kHeldElsewhere, ///< another process (or another lock object) holds it
        kFailed,        ///< the file cannot be made or locked (logged)
    };
    /// Creates the file's folder and the file when missing, then tries the lock without waiting.
    Result acquire(const std::string& path);
    bool isHeld() const { return m_fd >= 0; }
    void release();

    /// "<user data folder>/Kelvos/instance.lock": the folder of the saved settings, so every copy
    /// of the program run by one user, whatever its file name, meets the same lock.
    static std::string defaultPath();

private:
    int m_fd = -1;
};

} // namespace kvengine
