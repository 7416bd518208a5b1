#pragma once
// Writing the files of the resource folder: the scrambled data-file format, the CCZ
// container and plain byte files. The game's file layer reads them back.
#include <cstdint>
#include <string>
#include <vector>

namespace kvcontent {

using Bytes = std::vector<uint8_t>;

/// Logs one line of the content build on standard error ("content: ...").
void logLine(const std::string& message);

/// True when the game reads a file of this name unscrambled on loading: the name holds
/// ".txt", ".png", ".ccz", ".plist" or ".strings", all in lower case or all in capitals.
bool isScrambledName(const std::string& path);

/// Scrambles in place with the 8-byte XOR chain of the data files (each stored byte
/// chains to the stored byte before it).
void scrambleBytes(Bytes& data);
/// The inverse of scrambleBytes, in place.
void unscrambleBytes(Bytes& data);

/// Wraps data into a CCZ container: 16-byte big-endian header then a zlib stream.
/// Returns an empty buffer when zlib fails.
Bytes wrapCCZ(const Bytes& data);

/// Writes a file of the resource folder, creating its folders; scrambles the bytes
/// first when the name says the game reads it unscrambled. False (and a log line)
/// when the file cannot be written.
bool writeResource(const std::string& path, const Bytes& data);

/// The standard base64 text of data, '=' padded (tile-map layer data).
std::string encodeBase64(const Bytes& data);

/// Reads a whole file; false and a log line when it cannot be read.
bool readWholeFile(const std::string& path, Bytes& out);

} // namespace kvcontent
