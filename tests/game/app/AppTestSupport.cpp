#include "AppTestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "game/app/AppDelegate.h"
#include "game/app/KVGameServices.h"
#include "game/chatter/KVChatterManager.h"
#include "support/ChildProcess.h"

namespace kvapptest {

namespace {
// Before the first test (not at static initialisation, whose order between files is not fixed):
// the built resource folder becomes the resource root, and the saved settings must never land in
// the real data folder.
class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/kelvos-app-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        home = made != nullptr ? std::string(made) + "/xdg" : std::string("/tmp/kelvos-app-test/xdg");
        std::filesystem::create_directories(home);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        kvengine::setResourceRootPath(KELVOS_RESOURCES_DIR);
        // As the application does first thing, for the tests that start parts of it by hand.
        kvConnectGameServices();
        if (chdir(KELVOS_RESOURCES_DIR) != 0) {
            // The tests that need the content then fail on the missing files by name.
        }
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(std::filesystem::path(home).parent_path(), ec);
    }
    std::string home;
};

AppEnvironment* const g_environment =
    static_cast<AppEnvironment*>(::testing::AddGlobalTestEnvironment(new AppEnvironment));
} // namespace

const std::string& dataHome() {
    return g_environment->home;
}

void releaseEverything() {
    AppDelegate::releaseSharedObjects();
    if (KVChatterManager* chatter = KVChatterManager::existingInstance()) chatter->release();
    kvengine::CCDirector::destroyInstance();
    kvengine::CCAutoreleasePoolStack::getInstance().clearAllPools();
}

LogCapture::LogCapture() {
    kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
}

LogCapture::~LogCapture() {
    kvengine::setDebugLogSink(nullptr);
}

bool LogCapture::contains(const std::string& part) const {
    for (const std::string& line : lines)
        if (line.find(part) != std::string::npos) return true;
    return false;
}

int runCommand(const std::string& command) {
    return kvtest::runChildCommand(command);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace kvapptest
