#include "Required.h"

#include <cstdlib>
#include <cstring>

namespace kvtest {

bool runningUnderCI() {
    const char* value = std::getenv("CI");
    return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0 &&
           std::strcmp(value, "false") != 0;
}

} // namespace kvtest
