#pragma once

// Crash-safe replacement of a file: the new content goes to a temporary file in the same folder,
// is flushed to the disk and then renamed over the old file, so that a crash or a full disk at any
// moment leaves either the old file or the new one, never a mix.

#include <cstddef>
#include <sys/types.h>

namespace kvengine {

/// Replaces the file at path with size bytes of data. Returns false (and logs why) on any failure;
/// the old file is then left exactly as it was. A path that names something other than a regular
/// file (a folder, a device) is refused. A symbolic link is followed: its target is replaced.
bool writeFileAtomically(const char* path, const void* data, size_t size);

/// Removes the temporary files that interrupted replacements of path left behind (a crash
/// between creating the temporary and renaming it): regular files in path's folder named as
/// writeFileAtomically names its temporaries. Returns how many were removed; each is logged. Only
/// call this while no other writer of path can be at work (the program holds its instance lock).
int removeStaleTemporaryFiles(const char* path);

/// The low-level write that writeFileAtomically uses, same contract as POSIX write().
using CCFileWriteFunction = ssize_t (*)(int fd, const void* data, size_t size);

/// Swaps the low-level write (null restores the system's); returns the previous one. Tests use it
/// to make writes fail part-way.
CCFileWriteFunction setFileWriteFunction(CCFileWriteFunction function);

} // namespace kvengine
