#pragma once

#include <string>

namespace kvtest {

/// Runs a shell command (a whole program under test) and answers its exit status, or -1 when it did
/// not exit by itself.
///
/// In a sanitizer build the leak checker of the child skips thread-local storage: on this
/// platform's C library the checker's scan of another module's dynamic thread-local block can read
/// a garbage range and crash at exit (seen after the world map is shown twice in one run). Without
/// that scan, blocks that the C library, glib and SDL keep only in thread-local storage look
/// leaked; a suppression file lists them, so our own leaks are still reported. A caller that sets
/// LSAN_OPTIONS itself keeps its own.
int runChildCommand(const std::string& command);

} // namespace kvtest
