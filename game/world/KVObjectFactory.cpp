#include "game/world/KVObjectFactory.h"

#include <map>

#include "engine/base/CCLog.h"

using kvengine::CCObject;
using kvengine::logDebugMessage;

namespace {

// Made on first use, so registration from any static initialiser finds it ready; destroyed at
// exit.
std::map<std::string, KVObjectFactory::Creator>& registry() {
    static std::map<std::string, KVObjectFactory::Creator> creators;
    return creators;
}

} // namespace

void KVObjectFactory::registerCreator(const char* className, Creator creator) {
    if (className == nullptr || creator == nullptr) {
        logDebugMessage("KVObjectFactory::registerCreator: null class name or creator");
        return;
    }
    registry()[className] = creator;
}

CCObject* KVObjectFactory::create(const std::string& className) {
    auto it = registry().find(className);
    if (it == registry().end()) {
        logDebugMessage("KVObjectFactory::create: no class named \"%s\"", className.c_str());
        return nullptr;
    }
    return it->second();
}

bool KVObjectFactory::isRegistered(const std::string& className) {
    return registry().count(className) != 0;
}
