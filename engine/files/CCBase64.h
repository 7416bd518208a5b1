#pragma once

// Base64 decoding (standard alphabet, '=' padding) for tile-map layer data.

namespace kvengine {

/// Decodes inLength bytes into out, which must hold at least inLength * 3 / 4 + 1 bytes.
/// Bytes outside the alphabet (line breaks, blanks) are skipped; the first '=' ends the input.
/// Returns 0 on success, 1 (with a log line) when the last group is incomplete. *outLength is the
/// number of bytes written in both cases.
int base64Decode(const unsigned char* in, unsigned inLength, unsigned char* out, unsigned* outLength);

/// Decodes into a new buffer (free with delete[]). Returns its length, or 0 with *out null when
/// the input is not complete base64 (or decodes to nothing).
int base64DecodeToBuffer(unsigned char** out, unsigned inLength, const unsigned char* in);

} // namespace kvengine
