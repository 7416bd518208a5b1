#include "support/ChildProcess.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/TestFiles.h"

#if defined(__SANITIZE_ADDRESS__)
#define KV_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_TEST_ASAN 1
#endif
#endif

namespace kvtest {

namespace {

#ifdef KV_TEST_ASAN
// Blocks held only through thread-local storage by the libraries the game runs on.
const char* const kThreadLocalBlocks = "leak:libglib-2.0.so\n"
                                       "leak:libSDL2-2.0.so\n"
                                       "leak:_dl_map_object_deps\n"
                                       "leak:add_to_global_resize\n"
                                       "leak:_dlerror_run\n"
                                       "leak:_dl_exception_create\n";

std::string leakCheckEnvironment() {
    if (std::getenv("LSAN_OPTIONS") != nullptr) return "";
    static const std::string file = [] {
        const std::string path = makeTempFolder("lsan") + "/thread-local.supp";
        return writeTextFile(path, kThreadLocalBlocks) ? path : std::string();
    }();
    if (file.empty()) return "";
    return "export LSAN_OPTIONS='use_tls=0:print_suppressions=0:suppressions=" + file + "'; ";
}
#else
std::string leakCheckEnvironment() {
    return "";
}
#endif

} // namespace

int runChildCommand(const std::string& command) {
    const int status = std::system((leakCheckEnvironment() + command).c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace kvtest
