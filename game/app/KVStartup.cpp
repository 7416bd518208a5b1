#include "game/app/KVStartup.h"

#include <cstdio>

#include <unistd.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "engine/platform/CCInstanceLock.h"
#include "game/app/AppDelegate.h"

int kvRunProgram(const std::string& resourceRoot,
                 const std::function<std::unique_ptr<AppDelegate>()>& makeDelegate,
                 const std::string& lockPath) {
    kvengine::CCInstanceLock lock;
    const std::string path = lockPath.empty() ? kvengine::CCInstanceLock::defaultPath() : lockPath;
    switch (lock.acquire(path)) {
    case kvengine::CCInstanceLock::kAcquired:
        break;
    case kvengine::CCInstanceLock::kHeldElsewhere:
        return 0;
    case kvengine::CCInstanceLock::kFailed:
        std::fprintf(stderr, "Kelvos: cannot take the single-instance lock \"%s\"; the game ends.\n",
                     path.c_str());
        return 1;
    }
    // Some content is named relative to the current directory (the language tables, font files):
    // the resource folder is made both the root and the current directory.
    if (!resourceRoot.empty() && kvengine::setResourceRootPath(resourceRoot) &&
        chdir(resourceRoot.c_str()) != 0)
        std::fprintf(stderr, "Kelvos: the resource folder \"%s\" cannot be entered.\n", resourceRoot.c_str());

    int exitCode = 1;
    {
        std::unique_ptr<AppDelegate> delegate = makeDelegate ? makeDelegate() : nullptr;
        if (delegate == nullptr) {
            std::fprintf(stderr, "Kelvos: the application cannot be made; the game ends.\n");
            return 1;
        }
        exitCode = delegate->run();
    }
    kvengine::CCDirector::destroyInstance();
    kvengine::CCAutoreleasePoolStack::getInstance().clearAllPools();
    return exitCode;
}
