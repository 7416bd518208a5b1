// Feeds arbitrary rule files to the rule manager: the input is the text of a mission's rule file,
// read as the property-list reader reads it and loaded as loadRules loads it. The rules then run
// for a few frames (outside any mission: effects that need one log and do nothing; dialogues and
// the way back to the menus are disconnected) and are cleared. Whatever the input, nothing may
// crash or leak, and a refused file must leave no rule.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/files/CCPlistReader.h"
#include "game/data/KVDialogueService.h"
#include "game/rules/KVRuleEffects.h"
#include "game/rules/KVRuleManager.h"
#include "game_fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    kvfuzz::setUpGameFolders("rules");
    KVDialogueService::setSharedSource(nullptr);
    KVEffectGoToMenu::setMenuReturn(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    KVRuleManager* rules = KVRuleManager::getInstance();
    kvengine::CCMutableArray<kvengine::CCObject*>* array =
        kvengine::arrayWithContentsOfData(reinterpret_cast<const char*>(data), static_cast<unsigned>(size));
    if (!rules->loadRuleArray(array, "fuzz") && rules->getRules()->count() != 0) std::abort();
    for (int frame = 0; frame < 4; ++frame)
        rules->update(1.0f);
    rules->clearRules();
    kvfuzz::releaseSharedGameObjects(true);
    kvfuzz::clearUserData();
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
