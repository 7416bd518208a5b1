#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "IncludeRules.h"

using kvlayering::Include;
using kvlayering::Rules;
using kvlayering::Tree;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST(IncludeRules, TheTreeObeysTheWrittenRules) {
    Rules rules;
    std::vector<std::string> errors;
    const std::string text = readFile(KELVOS_SOURCE_DIR "/tests/layering/include-rules.txt");
    ASSERT_FALSE(text.empty()) << "tests/layering/include-rules.txt cannot be read";
    ASSERT_TRUE(kvlayering::parseRules(text, rules, errors)) << errors.front();

    const Tree tree =
        kvlayering::scanTree(KELVOS_SOURCE_DIR, {"engine", "game", "tests", "bench", "fuzz", "tools"});
    ASSERT_GT(tree.count("engine/director/CCDirector.cpp"), 0u) << "the tree was not found";
    std::string report;
    for (const std::string& message : kvlayering::checkTree(rules, tree))
        report += message + "\n";
    EXPECT_TRUE(report.empty()) << "broken include rules (see tests/layering/include-rules.txt):\n" << report;
}

// A small tree of the same shape as the real one, for the checker's own cases.
const char* const kSmallRules = R"(
layer low engine/base
layer high engine/nodes   # comment
layer names game/app/Names.h
layer world game/world
layer app game/app
layered engine game
allow engine/base/Special.cpp engine/nodes
library box2d/ reach game/world
library GL/ direct engine/base/GL.h
private engine/base/sdl engine/base
forbid tests/engine game
)";

Tree treeOf(const std::vector<std::pair<std::string, std::string>>& files) {
    Tree tree;
    for (const auto& [path, text] : files)
        tree[path] = kvlayering::readIncludes(text);
    return tree;
}

std::vector<std::string> check(const std::vector<std::pair<std::string, std::string>>& files) {
    Rules rules;
    std::vector<std::string> errors;
    EXPECT_TRUE(kvlayering::parseRules(kSmallRules, rules, errors));
    return kvlayering::checkTree(rules, treeOf(files));
}

TEST(IncludeRules, EachKindOfBrokenRuleIsReportedWithItsLine) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;
        std::string expected; // "" when the tree obeys
    };
    const Case cases[] = {
        {"downwards and sideways",
         {{"engine/base/A.h", ""}, {"engine/nodes/B.cpp", "#include \"engine/base/A.h\"\n"}},
         ""},
        {"upwards",
         {{"engine/base/A.cpp", "\n#include \"engine/nodes/B.h\"\n"}, {"engine/nodes/B.h", ""}},
         "engine/base/A.cpp:2: includes engine/nodes/B.h: layer high lies above low"},
        {"an allowed exception",
         {{"engine/base/Special.cpp", "#include \"engine/nodes/B.h\"\n"}, {"engine/nodes/B.h", ""}},
         ""},
        {"the names file is below the foundation",
         {{"game/world/W.cpp", "#include \"game/app/Names.h\""}, {"game/app/Names.h", ""}},
         ""},
        {"the rest of the application is not",
         {{"game/world/W.cpp", "#include \"game/app/Start.h\""}, {"game/app/Start.h", ""}},
         "game/world/W.cpp:1: includes game/app/Start.h: layer app lies above world"},
        {"a folder in no layer",
         {{"game/newfolder/N.cpp", ""}},
         "game/newfolder/N.cpp:1: belongs to no layer: place its folder in a layer of "
         "tests/layering/include-rules.txt"},
        {"a library outside its folders",
         {{"game/app/Start.cpp", "#include <box2d/box2d.h>"}},
         "game/app/Start.cpp:1: includes <box2d/box2d.h>, which only game/world may see"},
        {"a library reached through a header",
         {{"game/app/Start.cpp", "#include \"game/world/W.h\""},
          {"game/world/W.h", "#include <box2d/box2d.h>"}},
         "game/app/Start.cpp:1: sees <box2d/box2d.h> through game/world/W.h, which only game/world may see "
         "(forward-declare instead)"},
        {"a direct-only library may be reached",
         {{"engine/nodes/B.cpp", "#include \"engine/base/GL.h\""},
          {"engine/base/GL.h", "#include <GL/gl.h>"}},
         ""},
        {"but not included directly",
         {{"engine/nodes/B.cpp", "#include <GL/gl.h>"}},
         "engine/nodes/B.cpp:1: includes <GL/gl.h>, which only engine/base/GL.h may see"},
        {"a private folder",
         {{"engine/nodes/B.cpp", "#include \"engine/base/sdl/S.h\""}, {"engine/base/sdl/S.h", ""}},
         "engine/nodes/B.cpp:1: includes engine/base/sdl/S.h: engine/base/sdl is private to its users"},
        {"a forbidden pair",
         {{"tests/engine/base/T.cpp", "#include \"game/world/W.h\""}, {"game/world/W.h", ""}},
         "tests/engine/base/T.cpp:1: includes game/world/W.h: tests/engine never includes game"},
        {"includes relative to their file, and commented out",
         {{"engine/base/A.cpp",
           "#include \"../nodes/B.h\"\n// #include <box2d/box2d.h>\n/*\n#include <GL/gl.h>\n*/"},
          {"engine/nodes/B.h", ""}},
         "engine/base/A.cpp:1: includes engine/nodes/B.h: layer high lies above low"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> messages = check(c.files);
        if (c.expected.empty()) {
            EXPECT_TRUE(messages.empty()) << c.what << ": " << (messages.empty() ? "" : messages.front());
        } else {
            ASSERT_EQ(messages.size(), 1u) << c.what;
            EXPECT_EQ(messages.front(), c.expected) << c.what;
        }
    }
}

TEST(IncludeRules, MalformedRuleLinesAreRefusedByLine) {
    Rules rules;
    std::vector<std::string> errors;
    EXPECT_FALSE(kvlayering::parseRules("layer only-a-name\nlibrary box2d/ sometimes game\nforbid a\n", rules,
                                        errors));
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[1].rfind("rules line 2 not understood", 0), 0u) << errors[1];
}

TEST(IncludeRules, PathsMatchWholeFoldersOrAStarredPrefix) {
    EXPECT_TRUE(kvlayering::pathMatches("game/world", "game/world/KVActor.h"));
    EXPECT_TRUE(kvlayering::pathMatches("game/world/KVActor.h", "game/world/KVActor.h"));
    EXPECT_FALSE(kvlayering::pathMatches("game/world", "game/worldmap/A.h"));
    EXPECT_TRUE(
        kvlayering::pathMatches("engine/director/CCTransition*", "engine/director/CCTransitionFade.cpp"));
    EXPECT_FALSE(kvlayering::pathMatches("", "game/world/A.h"));
}

} // namespace
