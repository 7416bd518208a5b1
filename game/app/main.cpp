// The program's entry: the game reads no command line; its content lies in the "Resources"
// folder beside the executable.
#include <memory>

#include "engine/platform/CCDesktop.h"
#include "game/app/AppDelegate.h"
#include "game/app/KVStartup.h"

int main() {
    const std::string folder = kvengine::programFolder();
    return kvRunProgram(folder.empty() ? std::string() : folder + "Resources/",
                        [] { return std::make_unique<AppDelegate>(); });
}
