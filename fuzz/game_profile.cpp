// Feeds arbitrary saved-settings files to the game's start-up as it reads its save: unscrambled
// and parsed by the user defaults, then kept, completed or replaced by the player profile. Every
// input must give a profile with all its parts, which the reads of the menus survive and which
// saves; and once the game has saved a profile, the next start must read it back unchanged.
//
// Inputs are the plain text of the file; the target scrambles it before writing, as the game
// does. Every stored file is the scramble of some text, so the unscrambling is still fed every
// possible file, while the seeds stay readable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCString.h"
#include "game_fuzz_support.h"

using kvdata::Array;
using kvdata::Dict;
using kvengine::CCObject;
using kvengine::CCString;

namespace {

bool sameTree(CCObject* a, CCObject* b) {
    if (a == nullptr || b == nullptr) return a == b;
    if (CCString* textA = kvdata::asString(a)) {
        CCString* textB = kvdata::asString(b);
        return textB != nullptr && textA->text == textB->text;
    }
    if (Array* listA = kvdata::asArray(a)) {
        Array* listB = kvdata::asArray(b);
        if (listB == nullptr || listA->count() != listB->count()) return false;
        for (unsigned i = 0; i < listA->count(); ++i)
            if (!sameTree(listA->objectAtIndex(i), listB->objectAtIndex(i))) return false;
        return true;
    }
    Dict* dictA = kvdata::asDict(a);
    Dict* dictB = kvdata::asDict(b);
    if (dictA == nullptr || dictB == nullptr || dictA->allKeys() != dictB->allKeys()) return false;
    for (const std::string& key : dictA->allKeys())
        if (!sameTree(dictA->objectForKey(key), dictB->objectForKey(key))) return false;
    return true;
}

// What the menus read of a profile, over whatever records it holds.
void readLikeTheMenus(KVPlayerParameters* profile) {
    Dict* root = profile->getProfile();
    for (const char* part : {"ChapiterSolo", "MissionSolo", "Kelvo", "Helmet", "Variable", "Treasure",
                             "Powerup", "UnseenItems", "HelpCase"})
        if (kvdata::dictAt(root, part) == nullptr) std::abort();
    (void)profile->getPearlAmount();
    (void)profile->getMusicVolume();
    (void)profile->getSfxVolume();
    (void)profile->getLastPlayedMission();
    (void)profile->getLastVisitedKelvo();
    for (const std::string& name : kvdata::keysOf(kvdata::dictAt(root, "Kelvo"))) {
        (void)profile->getKelvoLevel(name);
        (void)profile->getKelvoTurnSpeed(name);
        (void)profile->getKelvoLockStatus(name);
        (void)profile->getNextLevelUpCost(name);
        (void)profile->getTotalLevelUpCost(name);
        (void)profile->getTransferredHelmets(name);
    }
    for (const std::string& name : kvdata::keysOf(kvdata::dictAt(root, "Helmet")))
        (void)profile->getHelmetLockStatus(name);
    for (const std::string& name : kvdata::keysOf(kvdata::dictAt(root, "Variable")))
        (void)profile->getConsumableAmount(name);
    Dict* missions = kvdata::dictAt(root, "MissionSolo");
    for (const std::string& chapter : kvdata::keysOf(kvdata::dictAt(root, "ChapiterSolo"))) {
        (void)profile->getChapterStarsText(kvdata::newString(chapter));
        (void)profile->getChapterMissionList(chapter);
        for (const std::string& mission : kvdata::keysOf(kvdata::dictAt(missions, chapter))) {
            (void)profile->getMissionLockStatus(mission, chapter);
            (void)profile->getMissionSpeedLock(mission, chapter);
            (void)profile->getMissionHiddenLock(mission, chapter);
        }
    }
    (void)profile->getSelectedKelvos();
    (void)profile->hasUnseenKelvos();
    (void)profile->hasUnseenHelmets();
    (void)profile->getForcedStepConditionType();
    (void)profile->processForcedSteps("shop", false);
    profile->mergeCatalogueItems();
}

// Saves the profile and gives a retained copy of what was saved.
Dict* saveAndCopy(KVPlayerParameters* profile) {
    if (!profile->saveProfile()) std::abort(); // the folder is writable: a save must succeed
    auto* copy = kvdata::asDict(kvdata::deepCopy(profile->getProfile()));
    if (copy == nullptr) std::abort();
    copy->retain();
    return copy;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kvfuzz::setUpGameFolders("profile");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    kvfuzz::releaseSharedGameObjects(true);
    kvfuzz::clearUserData();
    std::error_code error;
    std::filesystem::create_directories(kvfuzz::dataHome() + "/Kelvos", error);
    if (!kvfuzz::writeScrambled(kvfuzz::savedSettingsPath(),
                                std::string(reinterpret_cast<const char*>(data), size)))
        std::abort();

    readLikeTheMenus(KVPlayerParameters::getInstance());
    Dict* first = saveAndCopy(KVPlayerParameters::getInstance());
    first->release();
    // The next start may still complete what the first one saved (the language it records); from
    // then on a saved profile comes back as it was.
    kvfuzz::releaseSharedGameObjects(true);
    Dict* saved = saveAndCopy(KVPlayerParameters::getInstance());
    kvfuzz::releaseSharedGameObjects(true);
    if (!sameTree(saved, KVPlayerParameters::getInstance()->getProfile())) std::abort();
    saved->release();

    kvfuzz::releaseSharedGameObjects(true);
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    return 0;
}
