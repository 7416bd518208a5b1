// Feeds arbitrary TMX maps to the map reader. The first input byte picks the form of the rest:
//   0: a whole TMX document;
//   1, 2, 3: layer width, layer height, then the layer's data bytes, which the fuzzer wraps into a
//      map as base64 (1), base64 of a zlib stream (2) or base64 of a gzip stream (3), so that the
//      decoders see arbitrary bytes and not only what survives mutation of base64 text.
// Maps are read from a scratch folder holding an external tileset and one that includes itself.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/tilemaps/CCTMXMapInfo.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace kvengine;

namespace {

std::string g_folder;

void writeFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

std::string base64(const uint8_t* bytes, size_t size) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < size; i += 3) {
        unsigned v = bytes[i] << 16;
        if (i + 1 < size) v |= bytes[i + 1] << 8;
        if (i + 2 < size) v |= bytes[i + 2];
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += i + 1 < size ? alphabet[(v >> 6) & 63] : '=';
        out += i + 2 < size ? alphabet[v & 63] : '=';
    }
    return out;
}

std::string wrapLayer(const uint8_t* data, size_t size, int form) {
    if (size < 2) return {};
    static const char* const kCompression[] = {"", " compression=\"zlib\"", " compression=\"gzip\""};
    std::string width = std::to_string(data[0] % 64), height = std::to_string(data[1] % 64);
    return "<map orientation=\"isometric\" width=\"" + width + "\" height=\"" + height +
           "\" tilewidth=\"32\" tileheight=\"16\">"
           "<tileset firstgid=\"1\" source=\"ext.tsx\"/><tileset firstgid=\"9\" source=\"self.tsx\"/>"
           "<layer name=\"l\" width=\"" +
           width + "\" height=\"" + height + "\"><data encoding=\"base64\"" + kCompression[form - 1] + ">\n" +
           base64(data + 2, size - 2) +
           "\n</data></layer>"
           "<objectgroup name=\"g\" x=\"1\"><object name=\"o\" x=\"3\" y=\"4\"/></objectgroup></map>";
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {}); // bad input is expected here; keep the output quiet
    char pattern[] = "/tmp/kelvos-fuzz-tmx-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) return 0;
    g_folder = made;
    writeFile(g_folder + "/ext.tsx",
              "<tileset name=\"ext\" firstgid=\"1\" tilewidth=\"32\" tileheight=\"16\">"
              "<image source=\"ext.png\"/><tile id=\"2\"><property name=\"p\" value=\"v\"/>"
              "</tile></tileset>");
    writeFile(g_folder + "/self.tsx", "<tileset source=\"self.tsx\"/>");
    std::atexit([] {
        std::remove((g_folder + "/ext.tsx").c_str());
        std::remove((g_folder + "/self.tsx").c_str());
        rmdir(g_folder.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1u << 20) || g_folder.empty()) return 0;
    int form = data[0] % 4;
    std::string document = form == 0 ? std::string(reinterpret_cast<const char*>(data + 1), size - 1)
                                     : wrapLayer(data + 1, size - 1, form);
    CCAutoreleasePoolStack::getInstance().push();
    auto* info = new CCTMXMapInfo();
    std::string mapPath = g_folder + "/map.tmx";
    if (info->initWithData(document.data(), static_cast<unsigned>(document.size()), mapPath.c_str())) {
        for (CCTMXLayerInfo* layer : *info->getLayers()) {
            if (layer->gids == nullptr) continue;
            // A layer with data holds exactly width x height cells, none with flip bits.
            size_t cells =
                static_cast<size_t>(layer->layerSize.width) * static_cast<size_t>(layer->layerSize.height);
            for (size_t i = 0; i < cells; ++i)
                if (layer->gids[i] & kCCTMXFlipMask) std::abort();
        }
        for (CCTMXTilesetInfo* tileset : *info->getTilesets()) {
            tileset->imageSize = CCSize(static_cast<float>(size % 300), 64.0f);
            tileset->textureRectForGID(static_cast<std::uint32_t>(size * 7));
        }
    }
    info->release();
    CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
