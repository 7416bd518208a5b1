#pragma once

// Builds small TMX documents for the tile-map tests: GID grids encoded as base64, optionally
// zlib- or gzip-compressed, written with zlib itself so the reader is checked against an
// independent encoder.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

enum class TmxData { Base64, Zlib, Gzip };

inline std::string base64Encode(const std::string& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                     (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                     static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += alphabet[v & 63];
    }
    std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += rest == 2 ? alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

/// zlib stream (windowBits 15) or gzip member (windowBits 31) of the bytes.
inline std::string deflateBytes(const std::string& bytes, bool gzip) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, gzip ? 31 : 15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

inline std::string gidBytes(const std::vector<std::uint32_t>& gids) {
    std::string bytes;
    for (std::uint32_t gid : gids)
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>((gid >> shift) & 0xFF);
    return bytes;
}

/// A whole <data> element holding the GIDs in the given form, wrapped in lines as Tiled does.
inline std::string dataElement(const std::vector<std::uint32_t>& gids, TmxData form) {
    std::string bytes = gidBytes(gids);
    std::string compression;
    if (form == TmxData::Zlib) {
        bytes = deflateBytes(bytes, false);
        compression = " compression=\"zlib\"";
    } else if (form == TmxData::Gzip) {
        bytes = deflateBytes(bytes, true);
        compression = " compression=\"gzip\"";
    }
    return "<data encoding=\"base64\"" + compression + ">\n   " + base64Encode(bytes) + "\n  </data>";
}

} // namespace kvtest
