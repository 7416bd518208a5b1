#include "engine/files/CCSAXParser.h"
#include "engine/files/CCFileUtils.h"

#include "FilesTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvengine;
using kvtest::TempDir;

namespace {

// Writes every event as one line, joining adjacent text pieces so that the result does not depend
// on where the library splits text.
class Recorder : public CCSAXDelegator {
public:
    std::vector<std::string> events;
    std::string nestedPath;                          // parsed from inside the first "include" element
    CCSAXDelegator* firstContextDelegator = nullptr; // read while its parse is alive

    void startElement(void* context, const char* name, const char** attributes) override {
        if (!firstContextDelegator) firstContextDelegator = static_cast<CCSAXContext*>(context)->delegator();
        std::string line = std::string("start ") + name;
        for (int i = 0; attributes && attributes[i]; i += 2)
            line += std::string(" ") + attributes[i] + "=" + attributes[i + 1];
        events.push_back(line);
        if (std::string(name) == "include" && !nestedPath.empty()) {
            std::string path = nestedPath;
            nestedPath.clear();
            events.push_back(parseXMLFile(path.c_str(), this) ? "nested ok" : "nested failed");
        }
    }
    void endElement(void*, const char* name) override { events.push_back(std::string("end ") + name); }
    void textHandler(void*, const char* text, int length) override {
        std::string piece(text, static_cast<size_t>(length));
        if (!events.empty() && events.back().rfind("text ", 0) == 0)
            events.back() += piece;
        else
            events.push_back("text " + piece);
    }
};

bool parse(const std::string& xml, Recorder& recorder) {
    return parseXMLData(xml.data(), static_cast<unsigned>(xml.size()), &recorder, "test");
}

} // namespace

TEST(SAXParser, DeliversElementsAttributesAndText) {
    Recorder r;
    ASSERT_TRUE(parse("<?xml version=\"1.0\"?><map w=\"3\" h='4'><a>x &amp; &lt;y&gt;</a><b/></map>", r));
    std::vector<std::string> expected = {"start map w=3 h=4", "start a", "text x & <y>", "end a",
                                         "start b",           "end b",   "end map"};
    EXPECT_EQ(r.events, expected);
}

TEST(SAXParser, ReportsMalformedDocumentsAfterTheEventsBeforeTheError) {
    struct Case {
        const char* what;
        std::string xml;
    } cases[] = {
        {"unclosed", "<a><b>text</b>"},        {"mismatched", "<a><b></a>"}, {"empty", ""},
        {"undefined entity", "<a>&nope;</a>"}, {"garbage", "\x01\x02\x03"},
    };
    for (const Case& c : cases) {
        Recorder r;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(parse(c.xml, r)) << c.what;
        std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("engine: XML test"), std::string::npos) << c.what;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1)
            << c.what << ": " << log; // one line, not the library's spew
    }
    Recorder r;
    testing::internal::CaptureStderr();
    parse("<a><b>text</b>", r);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.events.front(), "start a");
}

TEST(SAXParser, NeverExpandsDeclaredOrExternalEntities) {
    TempDir dir;
    kvtest::writeBytes(dir.file("secret.txt"), "SECRET");
    std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY e SYSTEM \"file://" +
                      dir.file("secret.txt") +
                      "\"><!ENTITY l \"lol\"><!ENTITY l2 \"&l;&l;&l;&l;&l;&l;&l;&l;\">]><a>&e;&l2;</a>";
    Recorder r;
    testing::internal::CaptureStderr();
    parse(xml, r);
    testing::internal::GetCapturedStderr();
    for (const std::string& e : r.events) {
        EXPECT_EQ(e.find("SECRET"), std::string::npos) << e;
        EXPECT_EQ(e.find("lol"), std::string::npos) << e;
    }
}

TEST(SAXParser, ParsesFilesAndAllowsAParseFromInsideACallback) {
    TempDir dir;
    std::string plain = "<tileset name=\"t\"/>";
    std::string stored = plain;
    scrambleDataBuffer(reinterpret_cast<unsigned char*>(&stored[0]), static_cast<unsigned>(stored.size()));
    kvtest::writeBytes(dir.file("tiles.plist"), stored); // scrambled type: unscrambled on the way in
    kvtest::writeBytes(dir.file("map.tmx"), "<map><include/><layer/></map>");
    Recorder r;
    r.nestedPath = dir.file("tiles.plist");
    ASSERT_TRUE(parseXMLFile(dir.file("map.tmx").c_str(), &r));
    std::vector<std::string> expected = {"start map",   "start include", "start tileset name=t",
                                         "end tileset", "nested ok",     "end include",
                                         "start layer", "end layer",     "end map"};
    EXPECT_EQ(r.events, expected);
    EXPECT_EQ(r.firstContextDelegator, &r);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(parseXMLFile(dir.file("missing.tmx").c_str(), &r));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST(SAXParser, KeepsPrefixedNamesAsWritten) {
    Recorder r;
    ASSERT_TRUE(parse("<svg xmlns=\"u1\" xmlns:xlink=\"u2\"><xlink:use xlink:href=\"#a\"/></svg>", r));
    std::vector<std::string> expected = {"start svg xmlns=u1 xmlns:xlink=u2", "start xlink:use xlink:href=#a",
                                         "end xlink:use", "end svg"};
    EXPECT_EQ(r.events, expected);
}
