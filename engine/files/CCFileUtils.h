#pragma once

// The file layer: where resources live, how names become full paths, whole-file reading and the
// XOR chain that protects the data files. Everything here is a free function; the only state is
// the resource root, fixed on first use.

#include <string>

namespace kvengine {

/// Fills the resource root (the current directory followed by '/') on its first call; later calls
/// do nothing, so a later change of the current directory does not move the root.
void getResourceRootPath();

/// The resource root text ("/some/dir/"), filled on first use.
const std::string& resourceRootPath();
/// Makes `folder` (absolute; a missing trailing '/' is added) the resource root. Meant for the
/// program's start, before anything is looked up: the shared resource index is built once and
/// keeps the root it was built from. False, with a log line, for an empty or relative path.
bool setResourceRootPath(const std::string& folder);

/// Where fullPathForFile and removeHdSuffix read the content scale factor. The director installs
/// its own reading when it is made (the file layer sits below it and never makes it); with no
/// source, or null, the factor is 1.
void setContentScaleFactorSource(float (*source)());

/// Full path of a resource named relative to the resource root; absolute paths pass through.
/// '\' is accepted as a separator and becomes '/'. When the content scale factor is not 1 and a
/// "-hd" variant exists beside the file, that variant's path is returned instead.
/// The text belongs to an autoreleased string: valid until the current pool drains (end of frame).
const char* fullPathForFile(const char* path);

/// The folder part of baseFile (up to and including its last '/' or '\') followed by fileName, or
/// fileName alone when baseFile has no separator. Same lifetime as fullPathForFile's result.
const char* fullPathRelativeToFile(const char* baseFile, const char* fileName);

/// Strips a "-hd" marker from the file-name part of path when the content scale factor is not 1
/// (logs when it does). Returns path itself.
std::string& removeHdSuffix(std::string& path);

/// Reads the whole file into a new buffer (free with delete[]); the buffer is not terminated.
/// Paths whose part below the resource root names a scrambled data-file type are unscrambled.
/// When the exact name does not exist, a match ignoring letter case is tried.
/// Only regular files are read (a folder, a FIFO or a device is refused without waiting on it), and
/// never more than the size the file has when it is opened.
/// On any failure: returns null, stores 0 in *sizeOut and logs the path. An empty file gives a
/// valid zero-length buffer. sizeOut may be null.
char* readFileData(unsigned* sizeOut, const char* path, const char* mode);

/// True when the path (its part below the resource root, when it lies there) contains one of
/// ".txt", ".png", ".ccz", ".plist", ".strings", or one of them written wholly in capitals.
bool isScrambledDataPath(const char* path);

/// Undoes the data-file scrambling in place.
void unscrambleDataBuffer(unsigned char* data, unsigned size);

/// Applies the data-file scrambling in place (the inverse of unscrambleDataBuffer).
void scrambleDataBuffer(unsigned char* data, unsigned size);

/// Holds one whole file read with readFileData; data is null and size 0 when it could not be read.
class CCFileBuffer {
public:
    CCFileBuffer(const char* path, const char* mode);
    ~CCFileBuffer();
    CCFileBuffer(const CCFileBuffer&) = delete;
    CCFileBuffer& operator=(const CCFileBuffer&) = delete;

    char* data = nullptr; ///< owned, delete[]
    unsigned size = 0;
};

namespace detail {

/// Path of a resource with an explicit content scale factor (the work behind fullPathForFile).
std::string fullPathForFileWithScale(const char* path, float contentScaleFactor);

/// removeHdSuffix with an explicit content scale factor.
std::string& removeHdSuffixWithScale(std::string& path, float contentScaleFactor);

/// '\' separators turned into '/'.
std::string normalizeSeparators(const char* path);

/// The existing path that matches path when letter case is ignored in every component (the
/// exact spelling wins; among several case variants the first by name), or "" when none.
std::string resolvePathIgnoringCase(const std::string& path);

} // namespace detail

} // namespace kvengine
