// Feeds arbitrary PVR files to the loader's reading and unpacking (everything but the GL upload).
// The first input byte picks how the rest is stored: 0 plain ".pvr", 1 ".pvr.ccz" (scrambled on
// disk like every CCZ file), 2 ".pvr.gz". The file goes through the real file readers.
#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePVR.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::string g_folder;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kvengine::setDebugLogSink([](const std::string&) {});
    kvengine::CCTexture2D::setMaxTextureSizeOverride(2048);
    char pattern[] = "/tmp/kelvos-fuzz-pvr-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) return 0;
    g_folder = made;
    std::atexit([] { rmdir(g_folder.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || g_folder.empty()) return 0;
    static const char* const kNames[] = {"/in.pvr", "/in.pvr.ccz", "/in.pvr.gz"};
    const int mode = data[0] % 3;
    std::vector<unsigned char> bytes(data + 1, data + size);
    if (mode == 1) kvengine::scrambleDataBuffer(bytes.data(), unsigned(bytes.size()));
    const std::string path = g_folder + kNames[mode];
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);

    kvengine::CCTexturePVR::FileBytes contents;
    if (kvengine::CCTexturePVR::readPVRFile(path.c_str(), &contents)) {
        kvengine::CCTexturePVR* pvr = new kvengine::CCTexturePVR();
        if (pvr->unpackPVRData(contents.data.get(), contents.size)) {
            // Every level must lie inside the file.
            const unsigned char* start = contents.data.get();
            const unsigned char* end = start + contents.size;
            for (int i = 0; i < pvr->getLevelCount(); ++i) {
                const auto& level = pvr->getLevel(i);
                if (level.data < start || level.length > size_t(end - level.data)) std::abort();
            }
            if (pvr->getLevelCount() < 1 || pvr->getLevelCount() > kvengine::CCTexturePVR::kMaxLevels)
                std::abort();
        }
        pvr->release();
    }
    std::remove(path.c_str());
    return 0;
}
