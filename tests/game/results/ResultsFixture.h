#pragma once
// The result screens over a real mission: the menus' GL fixture (built resource folder, fake
// clock, touches, fresh shared objects) with the mission classes registered, the wide window,
// and helpers that play M01a of the Prologue to its end.
#include <string>
#include <vector>

#include "../menu/MenuFixture.h"

class KVGameplayScene;
class KVScoreManagerSolo;

namespace resultstest {

class ResultsFixture : public menutest::MenuFixture {
protected:
    void setUpWithGL() override;
    void tearDownWithGL() override;

    /// M01a of the Prologue loaded and started; null (test failed) when it does not start.
    KVGameplayScene* startMission(const char* mission = "M01a");
    /// The running mission's solo score manager.
    KVScoreManagerSolo* soloScore(KVGameplayScene* scene) const;
    /// Scores `pearls`, asks for the verdict and runs the frames until the scene lays its result
    /// screen (at most 5 s); the screen, or null.
    kvengine::CCNode* finish(KVGameplayScene* scene, bool victory, int pearls);
    /// Presses OK on the open item pop-up; its kind, or 0 when none is open.
    int confirmPopUp();
    /// Removes the saved settings file: the next profile made is a new player's.
    static void forgetSavedProfile();
    /// Lines logged since the test began that hold `part`.
    bool logged(const std::string& part) const;

    std::vector<std::string> logLines;
};

} // namespace resultstest
