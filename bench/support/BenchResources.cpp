#include "BenchResources.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace kvbench {

std::string resourceFolder() {
    if (const char* named = std::getenv("KELVOS_RESOURCES")) return named;
    char self[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string(".");
    folder = folder.substr(0, folder.find_last_of('/'));
    return folder + "/../Resources";
}

} // namespace kvbench
