#include "Screenshot.h"

#include <png.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#include "GLTestContext.h"

namespace kvtest {

bool writeScreenshot(const GLTestContext& gl, const std::string& path) {
    std::vector<uint8_t> pixels = gl.readAll();
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(gl.width());
    image.height = static_cast<png_uint_32>(gl.height());
    image.format = PNG_FORMAT_RGBA;
    // The back buffer's rows run from the bottom: a negative stride writes them top first.
    return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), -gl.width() * 4, nullptr) != 0;
}

} // namespace kvtest
