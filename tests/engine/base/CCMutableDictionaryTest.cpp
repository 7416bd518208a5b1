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
    EXPECT_FALSE(dict.begin());
    EXPECT_EQ(dict.next(), nullptr);
    EXPECT_TRUE(dict.allKeys().empty());
    for (const char* key : {"b", "a", "c", "\xC3\xA9", "B"})
        dict.setStringForKey(key, key);
    std::vector<std::string> seen;
    std::string key;
    ASSERT_TRUE(dict.begin());
    while (dict.next(&key) != nullptr)
        seen.push_back(key);
    EXPECT_EQ(seen, (std::vector<std::string>{"B", "a", "b", "c", "\xC3\xA9"}));
    EXPECT_EQ(dict.next(), nullptr);
    EXPECT_EQ(dict.allKeys(), seen);
}

TEST(CCMutableDictionaryTest, NestedIterationAndRemovalDuringIterationAreSafe) {
    Dict dict;
    for (const char* key : {"a", "b", "c"})
        dict.setStringForKey(key, key);
    std::vector<std::string> pairs;
    std::string outer, inner;
    ASSERT_TRUE(dict.begin());
    while (dict.next(&outer) != nullptr) {
        ASSERT_TRUE(dict.begin());
        while (dict.next(&inner) != nullptr)
            pairs.push_back(outer + inner);
        CCMutableDictionary<std::string, CCObject*>* copy = dict.duplicate();
        copy->release();
    }
    EXPECT_EQ(pairs.size(), 9u);
    EXPECT_EQ(pairs.front(), "aa");
    EXPECT_EQ(pairs.back(), "cc");

    // Removing the entry under the walk and a later one: the walk skips what is gone.
    std::vector<std::string> seen;
    ASSERT_TRUE(dict.begin());
    while (dict.next(&outer) != nullptr) {
        seen.push_back(outer);
        if (outer == "a") {
            dict.removeObjectForKey("a");
            dict.removeObjectForKey("b");
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "c"}));
}

TEST(CCMutableDictionaryTest, AnAbandonedWalkDoesNotDisturbTheNextOne) {
    Dict dict;
    for (const char* key : {"a", "b"})
        dict.setStringForKey(key, key);
    std::string key;
    ASSERT_TRUE(dict.begin());
    dict.next(&key); // left before its end, as a search that finds its entry does
    std::vector<std::string> seen;
    ASSERT_TRUE(dict.begin());
    while (dict.next(&key) != nullptr)
        seen.push_back(key);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
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
