// The game's own sound projects, as the build makes them, through the sound layer and the real
// SDL2_mixer backend on the "dummy" driver: every event loads, decodes and starts.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/platform/CCSDLAudioBackend.h"
#include "game/data/KVDataAccess.h"
#include "game/sound/KVSoundEvent.h"
#include "game/sound/KVSoundSystem.h"
#include "support/Required.h"
#include "tests/engine/platform/AudioTestSupport.h"

namespace {

namespace fs = std::filesystem;

// The build writes the resource folder beside the tests' folder.
std::string builtResources() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : (exe.parent_path().parent_path() / "Resources").string();
}

TEST(KVBuiltSoundProjectsTest, EveryEventOfBothProjectsDecodesAndStarts) {
    const std::string root = builtResources();
    if (root.empty() || !fs::exists(root + "/sounds"))
        KVTEST_REQUIRED_MISSING("no built resource folder at " << root);
    kvtest::AudioDriverScope driver("dummy");
    std::vector<std::string> logLines;
    kvengine::setDebugLogSink([&logLines](const std::string& line) { logLines.push_back(line); });
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    {
        auto backend = std::make_unique<kvengine::CCSDLAudioBackend>(3);
        ASSERT_TRUE(backend->isOpen());
        auto* system = new KVSoundSystem(std::move(backend));
        kvengine::CCResourceIndex index(root);
        unsigned events = 0;
        for (const char* project : {"kelvos.fev", "kelvos_music.fev"}) {
            SCOPED_TRACE(project);
            ASSERT_TRUE(index.containsFileName(project));
            const std::string path = index.pathForFileName(project);
            ASSERT_TRUE(system->loadProject(path));
            kvdata::Dict* table =
                kvdata::dictAt(kvengine::dictionaryWithContentsOfFile(path.c_str()), "events");
            for (const std::string& name : kvdata::keysOf(table)) {
                KVSoundEvent* event = system->getEvent(name);
                ASSERT_NE(event, nullptr) << name;
                EXPECT_TRUE(event->start()) << name;
                EXPECT_TRUE(event->getCategory() == "SFX" || event->getCategory() == "music") << name;
                event->stop(true);
                ++events;
            }
        }
        EXPECT_GT(events, 50u);
        system->release();
    }
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    kvengine::setDebugLogSink(nullptr);
    for (const std::string& line : logLines)
        ADD_FAILURE() << line;
}

} // namespace
