#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/files/CCFileUtils.h"
#include "game/app/KVGlobalNames.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;

namespace {
class Counter : public CCObject {
public:
    void onEvent(CCNotification* n) {
        ++calls;
        lastName = n->getName()->text;
    }
    int calls = 0;
    std::string lastName;
};
} // namespace

// Two notifications with one text would reach each other's observers.
TEST(KVGlobalNamesTest, EveryNotificationNameIsDistinct) {
    std::set<std::string> texts;
    for (unsigned i = 0; i < ALL_NOTIFICATION_NAME_COUNT; ++i) {
        ASSERT_NE(ALL_NOTIFICATION_NAMES[i], nullptr);
        EXPECT_TRUE(texts.insert(ALL_NOTIFICATION_NAMES[i]->text).second) << ALL_NOTIFICATION_NAMES[i]->text;
    }
}

// The names that stand for files and text keys find them in the built content: a slip in one would
// leave the screens without their font or the language choice without its names.
TEST(KVGlobalNamesTest, FontsAndLanguageNamesFindTheirContent) {
    for (const CCString* font : {PRODUCT_FONT, HUD_FONT}) {
        const char* path = kvengine::fullPathForFile(font->c_str());
        EXPECT_TRUE(path != nullptr && std::filesystem::is_regular_file(path)) << font->text;
    }
    std::vector<std::string> keys;
    std::stringstream list(LANGUAGE_KEY_LIST->text);
    for (std::string key; std::getline(list, key, ',');)
        keys.push_back(key);
    const char* const folders[] = {"English", "fr", "es", "de", "it"};
    EXPECT_EQ(keys.size(), std::size(folders)) << "one name per language the game offers";
    for (const char* folder : folders) {
        auto* table = new kvengine::CCLocalizationManager();
        ASSERT_TRUE(table->loadStringsFile(std::string(folder) + ".lproj/localizable.strings")) << folder;
        for (const std::string& key : keys)
            EXPECT_NE(table->stringForKey(key), nullptr) << folder << ": " << key;
        table->release();
    }
}

TEST(KVGlobalNamesTest, AFreshStringWithAConstantsTextReachesItsObservers) {
    auto* counter = new Counter();
    CCNotificationCenter* center = CCNotificationCenter::getInstance();
    center->addObserver(counter, notification_selector(Counter::onEvent), EVENT_START_TURN, nullptr);
    auto* fresh = new CCString("EVENT_START_TURN");
    center->postNotification(fresh);
    center->postNotification(EVENT_START_TURN);
    center->postNotification(EVENT_END_TURN);
    EXPECT_EQ(counter->calls, 2);
    // Posting retains and releases the constant: it stays alive with its one reference.
    EXPECT_EQ(EVENT_START_TURN->retainCount(), 1u);
    fresh->release();
    center->removeObserver(counter);
    counter->release();
    CCNotificationCenter::purgeInstance();
}
