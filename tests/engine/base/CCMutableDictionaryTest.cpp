#include <gtest/gtest.h>

#include "Probe.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCString.h"

using namespace kvengine;

namespace {
using Dict = CCMutableDictionary<std::string, CCObject*>;

std::string textAt(Dict& dict, const std::string& key) {
    auto* value = static_cast<CCString*>(dict.objectForKey(key));
    return value != nullptr ? value->text : "<absent>";
}
} // namespace

TEST(CCMutableDictionaryTest, SetReplaceAndRemoveKeepTheCountsRight) {
    auto* first = new CCString("first");
    auto* second = new CCString("second");
    {
        Dict dict;
        EXPECT_TRUE(dict.setObject(first, "k"));
        EXPECT_TRUE(dict.setObject(first, "k")); // the same value again: count unchanged
        EXPECT_EQ(first->retainCount(), 2u);
        dict.setObject(second, "k");
        EXPECT_EQ(first->retainCount(), 1u);
        EXPECT_EQ(second->retainCount(), 2u);
        dict.removeObjectForKey("absent");
        EXPECT_EQ(dict.count(), 1u);
        dict.setObject(first, "other");
        EXPECT_EQ(dict.allKeysForObject(first), std::vector<std::string>{"other"});
        LogCapture log;
        EXPECT_FALSE(dict.setObject(nullptr, "k"));
        EXPECT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(textAt(dict, "k"), "second");
    }
    EXPECT_EQ(first->retainCount(), 1u);
    EXPECT_EQ(second->retainCount(), 1u);
    first->release();
    second->release();
}

TEST(CCMutableDictionaryTest, TypedSettersStoreTexts) {
    Dict dict;
    dict.setIntForKey("int", -5);
    dict.setFloatForKey("float", 0.5f);
    dict.setBoolForKey("yes", true);
    dict.setBoolForKey("no", false);
    dict.setStringForKey("text", "hello");
    EXPECT_EQ(textAt(dict, "int"), "-5");
    EXPECT_EQ(textAt(dict, "float"), "0.500000");
    EXPECT_EQ(textAt(dict, "yes"), "YES");
    EXPECT_EQ(textAt(dict, "no"), "NO");
    EXPECT_EQ(textAt(dict, "text"), "hello");
    EXPECT_EQ(dict.objectForKey("int")->retainCount(), 1u); // the dictionary is the only owner
    EXPECT_FALSE(dict.setStringForKey("null", nullptr));
}

TEST(CCMutableDictionaryTest, IterationWalksKeysInByteOrder) {
    Dict dict;
    {
        Dict::Walk empty = dict.begin();
        EXPECT_FALSE(empty);
        EXPECT_EQ(empty.next(), nullptr);
    }
    EXPECT_TRUE(dict.allKeys().empty());
    for (const char* key : {"b", "a", "c", "\xC3\xA9", "B"})
        dict.setStringForKey(key, key);
    std::vector<std::string> seen;
    std::string key;
    Dict::Walk walk = dict.begin();
    ASSERT_TRUE(walk);
    while (walk.next(&key) != nullptr)
        seen.push_back(key);
    EXPECT_EQ(seen, (std::vector<std::string>{"B", "a", "b", "c", "\xC3\xA9"}));
    EXPECT_EQ(walk.next(), nullptr);
    EXPECT_FALSE(walk) << "an ended walk holds nothing";
    EXPECT_EQ(dict.allKeys(), seen);
}

// Keys of every walk in the order met, as "<walk><key>".
TEST(CCMutableDictionaryTest, WalksAreIndependentWhenNestedOrLeftEarly) {
    Dict dict;
    for (const char* key : {"a", "b", "c"})
        dict.setStringForKey(key, key);
    std::vector<std::string> pairs;
    std::string outer, inner;
    Dict::Walk outerWalk = dict.begin();
    while (outerWalk.next(&outer) != nullptr) {
        // A full inner walk, then one left at its first entry, as a search that finds it does.
        Dict::Walk innerWalk = dict.begin();
        while (innerWalk.next(&inner) != nullptr)
            pairs.push_back(outer + inner);
        Dict::Walk search = dict.begin();
        while (search.next(&inner) != nullptr)
            if (inner == "a") break;
        CCMutableDictionary<std::string, CCObject*>* copy = dict.duplicate();
        copy->release();
    }
    EXPECT_EQ(pairs, (std::vector<std::string>{"aa", "ab", "ac", "ba", "bb", "bc", "ca", "cb", "cc"}));

    // Many walks left early (more than any fixed table of walks would hold) between the steps of
    // a live one: the live one still sees every key once.
    std::vector<std::string> seen;
    Dict::Walk live = dict.begin();
    while (live.next(&outer) != nullptr) {
        seen.push_back(outer);
        for (int i = 0; i < 20; ++i) {
            Dict::Walk abandoned = dict.begin();
            abandoned.next(&inner);
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));

    // Walks kept alive side by side advance on their own.
    Dict::Walk first = dict.begin(), second = dict.begin();
    first.next(&outer);
    first.next(&outer);
    second.next(&inner);
    EXPECT_EQ(outer, "b");
    EXPECT_EQ(inner, "a");
    Dict::Walk moved = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(first.next(), nullptr);
    moved.next(&outer);
    EXPECT_EQ(outer, "c");
}

TEST(CCMutableDictionaryTest, RemovalDuringAWalkIsSkippedAndAdditionsWaitForTheNextWalk) {
    Dict dict;
    for (const char* key : {"a", "b", "c"})
        dict.setStringForKey(key, key);
    std::vector<std::string> seen;
    std::string key;
    Dict::Walk walk = dict.begin();
    while (walk.next(&key) != nullptr) {
        seen.push_back(key);
        if (key == "a") {
            dict.removeObjectForKey("a");
            dict.removeObjectForKey("b");
            dict.setStringForKey("bb", "added");
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(dict.allKeys(), (std::vector<std::string>{"bb", "c"}));
}

TEST(CCMutableDictionaryTest, AWalkKeepsItsDictionaryAliveUntilItEnds) {
    std::vector<std::string> journal;
    auto* dict = new Dict();
    auto* value = new Probe(&journal, "value");
    dict->setObject(value, "a");
    dict->setObject(value, "b");
    value->release();
    Dict::Walk walk = dict->begin();
    EXPECT_EQ(dict->retainCount(), 2u);
    std::string key;
    ASSERT_EQ(walk.next(&key), value);
    dict->release(); // the loop body drops the owner's reference
    EXPECT_TRUE(journal.empty());
    ASSERT_EQ(walk.next(&key), value);
    EXPECT_EQ(key, "b");
    EXPECT_EQ(walk.next(), nullptr); // the end of the walk frees the dictionary and its values
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup value", "~value"}));
}

TEST(CCMutableDictionaryTest, DuplicateSharesValues) {
    Dict dict;
    dict.setStringForKey("k", "v");
    CCObject* value = dict.objectForKey("k");
    Dict* copy = dict.duplicate();
    EXPECT_EQ(copy->retainCount(), 1u);
    EXPECT_EQ(copy->objectForKey("k"), value);
    EXPECT_EQ(value->retainCount(), 2u);
    copy->release();
    EXPECT_EQ(value->retainCount(), 1u);
    EXPECT_EQ(dict.copy(), nullptr);
    EXPECT_TRUE(dict.isKindOf("CCMutableDictionary"));
}

TEST(CCMutableDictionaryTest, IntegerKeysSortNumerically) {
    CCMutableDictionary<int, CCString*> dict;
    for (int key : {10, -1, 2}) {
        auto* s = new CCString(std::to_string(key));
        dict.setObject(s, key);
        s->release();
    }
    EXPECT_EQ(dict.allKeys(), (std::vector<int>{-1, 2, 10}));
}

// Keys added in ascending order take a shortcut to the end of the map; replacing the last key,
// a prefix of it, or a key below it must still find the existing entries.
TEST(CCMutableDictionaryTest, AscendingInsertsThenReplacementsKeepOrderAndCounts) {
    auto* value = new CCString("v");
    {
        Dict dict;
        for (const char* key : {"a", "ab", "b", "b\xFF"})
            dict.setObject(value, key);
        EXPECT_EQ(value->retainCount(), 5u);
        dict.setObject(value, "b\xFF"); // the last key again
        dict.setObject(value, "ab");    // one in the middle
        dict.setStringForKey("a", "replaced");
        dict.setStringForKey("", "lowest");
        EXPECT_EQ(value->retainCount(), 4u);
        EXPECT_EQ(dict.count(), 5u);
        EXPECT_EQ(textAt(dict, "a"), "replaced");
        EXPECT_EQ(dict.allKeys(), (std::vector<std::string>{"", "a", "ab", "b", "b\xFF"}));
    }
    EXPECT_EQ(value->retainCount(), 1u);
    value->release();
}
