#include "ChatterFixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <vector>

#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCResourceIndex.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"

namespace chattertest {

using namespace kvengine;

namespace {
// The fixture dialogues, scrambled into a folder of this run that the resource index then holds;
// the folder goes when the test program ends.
struct FixtureFolder {
    std::string path;
    ~FixtureFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& fixtureFolder() {
    static const FixtureFolder folder{[] {
        namespace fs = std::filesystem;
        const fs::path target = fs::temp_directory_path() / ("kelvos-chatter-" + std::to_string(::getpid()));
        fs::create_directories(target);
        for (const auto& entry : fs::directory_iterator(std::string(KELVOS_TEST_DATA_DIR) + "/chatter")) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                             std::istreambuf_iterator<char>());
            scrambleDataBuffer(bytes.data(), static_cast<unsigned>(bytes.size()));
            std::ofstream out(target / entry.path().filename(), std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
        CCResourceIndex::getInstance()->scanFolder(target.string() + "/");
        return target.string();
    }()};
    return folder.path;
}
} // namespace

SpeechEnds::SpeechEnds() {
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(SpeechEnds::onEnd),
                                                     EVENT_END_SPEECH);
}

SpeechEnds::~SpeechEnds() {
    CCNotificationCenter::getInstance()->removeObserver(this);
}

void SpeechEnds::onEnd(CCNotification* notification) {
    auto* name = dynamic_cast<CCString*>(notification->getObject());
    identifiers.push_back(name != nullptr ? name->c_str() : "(none)");
}

void ChatterFixture::setUpWithGL() {
    MenuFixture::setUpWithGL();
    (void)fixtureFolder();
    chatter = KVChatterManager::getInstance();
    recorder = new menutest::Recorder();
    recorder->observe(EVENT_CHATTER_START);
    recorder->observe(EVENT_END_SPEECH);
    recorder->observe(EVENT_CHATTER_NEXT);
    ends = new SpeechEnds();
}

void ChatterFixture::tearDownWithGL() {
    if (recorder != nullptr) recorder->release();
    recorder = nullptr;
    if (ends != nullptr) ends->release();
    ends = nullptr;
    MenuFixture::tearDownWithGL();
}

void ChatterFixture::play(const std::string& identifier) {
    chatter->setHostScene(base);
    chatter->loadChatter(identifier);
    chatter->startChatter();
}

CCNode* ChatterFixture::stepView(int tag) const {
    CCScene* scene = chatter->getDialogueScene();
    return scene != nullptr ? scene->getChildByTag(tag) : nullptr;
}

} // namespace chattertest
