#include "engine/files/CCPlistWriter.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCFileWriter.h"
#include "engine/files/CCPlistReader.h"

#include "FilesTestSupport.h"
#include "PlistTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

using namespace kvengine;
using kvtest::dumpPlist;
using kvtest::TempDir;

namespace {

using Dictionary = CCMutableDictionary<std::string, CCObject*>;
using Array = CCMutableArray<CCObject*>;

template <typename T> T* autoreleased(T* object) {
    object->autorelease();
    return object;
}

void put(Dictionary* dictionary, const std::string& key, CCObject* value) {
    dictionary->setObject(value, key);
}

CCString* text(const std::string& value) {
    return autoreleased(new CCString(value));
}

// {"a & b": {"list": [ "<x>", {"deep": ["é", ""]}, "3" ]}, "count": "12", "name": "Zoë > Ann"}
Dictionary* sampleTree() {
    auto* root = autoreleased(new Dictionary());
    auto* inner = autoreleased(new Dictionary());
    auto* list = autoreleased(new Array());
    auto* deepest = autoreleased(new Dictionary());
    auto* deepList = autoreleased(new Array());
    deepList->addObject(text("\xc3\xa9t\xc3\xa9"));
    deepList->addObject(text("line\r\nbreak"));
    put(deepest, "deep", deepList);
    list->addObject(text("<x>"));
    list->addObject(deepest);
    list->addObject(text("3"));
    put(inner, "list", list);
    put(root, "a & b", inner);
    root->setIntForKey("count", 12);
    put(root, "name", text("Zo\xc3\xab > Ann &amp;"));
    return root;
}

ssize_t failingWrite(int, const void*, size_t) {
    errno = EIO;
    return -1;
}

struct RestoreWriter {
    ~RestoreWriter() { setFileWriteFunction(nullptr); }
};

} // namespace

TEST(PlistWriter, WritesKeysInOrderAndEscapesText) {
    kvtest::PoolScope pool;
    auto* dictionary = autoreleased(new Dictionary());
    put(dictionary, "b", text("2"));
    put(dictionary, "a", text("x<y & z>"));
    put(dictionary, "c", autoreleased(new CCMutableArray<CCString*>()));
    std::string out;
    appendPlistDictionary(out, dictionary);
    EXPECT_EQ(out,
              "<dict>\n<key>a</key>\n<string>x&lt;y &amp; z&gt;</string>\n<key>b</key>\n<string>2</string>\n"
              "<key>c</key>\n<array>\n</array>\n</dict>\n");
}

TEST(PlistWriter, LeavesOutValuesItCannotWriteWithTheirKeys) {
    kvtest::PoolScope pool;
    kvtest::LogCapture log;
    auto* dictionary = autoreleased(new Dictionary());
    put(dictionary, "boxed", autoreleased(new CCValue<int>(3)));
    put(dictionary, "kept", text("v"));
    std::string out;
    appendPlistDictionary(out, dictionary);
    EXPECT_EQ(out, "<dict>\n<key>kept</key>\n<string>v</string>\n</dict>\n");
    EXPECT_TRUE(log.contains("\"boxed\""));
}

TEST(PlistWriter, BytesXmlCannotCarryDoNotBreakTheDocument) {
    kvtest::PoolScope pool;
    auto* dictionary = autoreleased(new Dictionary());
    put(dictionary, "latin1", text("caf\xe9")); // a Latin-1 byte, not UTF-8
    put(dictionary, "control",
        text("a\x01"
             "b"));
    std::string document = plistDocumentForDictionary(dictionary);
    EXPECT_EQ(
        dumpPlist(dictionaryWithContentsOfData(document.data(), static_cast<unsigned>(document.size()))),
        "{control:\"ab\",latin1:\"caf\xc3\xa9\"}");
}

TEST(PlistSave, ANestedTreeSavesScrambledAndReloadsEqual) {
    TempDir dir;
    kvtest::PoolScope pool;
    Dictionary* tree = sampleTree();
    std::string path = dir.file("SavedSettings.plist");
    ASSERT_TRUE(saveDictionaryToPlistFile(tree, path.c_str()));

    std::string stored = kvtest::readBytes(path);
    std::string expected = plistDocumentForDictionary(tree);
    EXPECT_EQ(expected.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist", 0), 0u);
    scrambleDataBuffer(reinterpret_cast<unsigned char*>(&expected[0]),
                       static_cast<unsigned>(expected.size()));
    EXPECT_EQ(stored, expected); // on disk only in scrambled form

    bool wellFormed = false;
    auto* reloaded = dictionaryWithContentsOfFile(path.c_str(), &wellFormed);
    EXPECT_TRUE(wellFormed);
    EXPECT_EQ(dumpPlist(reloaded), dumpPlist(tree));
    EXPECT_NE(dumpPlist(reloaded).find("\"line\r\nbreak\""), std::string::npos);

    // A type that is not scrambled is written as plain text.
    ASSERT_TRUE(saveDictionaryToPlistFile(tree, dir.file("plain.xml").c_str()));
    EXPECT_EQ(kvtest::readBytes(dir.file("plain.xml")), plistDocumentForDictionary(tree));
}

TEST(PlistSave, FailuresReturnFalseAndKeepTheOldFile) {
    TempDir dir;
    kvtest::PoolScope pool;
    RestoreWriter restore;
    kvtest::LogCapture log;
    std::string path = dir.file("SavedSettings.plist");
    ASSERT_TRUE(saveDictionaryToPlistFile(sampleTree(), path.c_str()));
    const std::string before = kvtest::readBytes(path);

    EXPECT_FALSE(saveDictionaryToPlistFile(nullptr, path.c_str()));
    EXPECT_FALSE(saveDictionaryToPlistFile(sampleTree(), "/dev/full"));
    EXPECT_FALSE(saveDictionaryToPlistFile(sampleTree(), dir.file("missing/folder/x.plist").c_str()));
    setFileWriteFunction(failingWrite);
    auto* changed = sampleTree();
    changed->setIntForKey("count", 13);
    EXPECT_FALSE(saveDictionaryToPlistFile(changed, path.c_str()));
    EXPECT_EQ(kvtest::readBytes(path), before);
    EXPECT_GE(log.lines.size(), 4u);
}
