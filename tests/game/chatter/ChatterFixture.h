#pragma once
// The dialogue tests run over the menu tests' fixture (built resources, a plain base scene, a
// director driven by a fake clock), with the fixture dialogues of tests/data/chatter added to the
// resource index, scrambled as the game's data files are.
#include <string>
#include <vector>

#include "game/menu/MenuFixture.h"

class KVChatterManager;

namespace chattertest {

/// Keeps the identifier carried by every "EVENT_END_SPEECH".
class SpeechEnds : public kvengine::CCObject {
public:
    SpeechEnds();
    ~SpeechEnds() override;
    void onEnd(kvengine::CCNotification* notification);
    std::vector<std::string> identifiers;
};

class ChatterFixture : public menutest::MenuFixture {
protected:
    void setUpWithGL() override;
    void tearDownWithGL() override;

    /// Loads and starts a dialogue over the base scene.
    void play(const std::string& identifier);
    /// The step view in the dialogue scene under `tag`, or null.
    kvengine::CCNode* stepView(int tag) const;

    KVChatterManager* chatter = nullptr;
    menutest::Recorder* recorder = nullptr;
    SpeechEnds* ends = nullptr;
};

} // namespace chattertest
