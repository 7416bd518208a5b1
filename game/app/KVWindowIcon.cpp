#include "game/app/KVWindowIcon.h"

#include <vector>

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/platform/CCDesktop.h"
#include "engine/textures/CCDecodedImage.h"

namespace {
// The square of the 960 x 600 splash picture that holds the orange kelvo, in texels.
constexpr int kIconLeft = 366;
constexpr int kIconTop = 291;
constexpr int kIconSide = 128;
} // namespace

bool kvWindowIconFromSplash() {
    const std::string path = kvengine::CCResourceIndex::getInstance()->pathForFileName("splash.png");
    kvengine::CCFileBuffer file(path.c_str(), "rb");
    kvengine::CCDecodedImage image;
    if (file.data == nullptr || !image.initWithPngData(file.data, file.size)) {
        kvengine::logDebugMessage("app: no window icon: \"%s\" cannot be read", path.c_str());
        return false;
    }
    const size_t bpp = image.bytesPerPixel();
    if (image.width < static_cast<uint32_t>(kIconLeft + kIconSide) ||
        image.height < static_cast<uint32_t>(kIconTop + kIconSide) || bpp < 3) {
        kvengine::logDebugMessage("app: no window icon: the splash picture is %ux%u", image.width,
                                  image.height);
        return false;
    }
    std::vector<unsigned char> rgba(static_cast<size_t>(kIconSide) * kIconSide * 4);
    for (int y = 0; y < kIconSide; ++y) {
        for (int x = 0; x < kIconSide; ++x) {
            const unsigned char* in =
                &image.pixels[((static_cast<size_t>(kIconTop + y) * image.width) + kIconLeft + x) * bpp];
            unsigned char* out = &rgba[(static_cast<size_t>(y) * kIconSide + x) * 4];
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = bpp == 4 ? in[3] : 255;
        }
    }
    return kvengine::setCurrentWindowIcon(rgba.data(), kIconSide, kIconSide);
}
