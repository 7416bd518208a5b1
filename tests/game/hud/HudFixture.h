#pragma once
// The HUD over a real mission (M01a of the Prologue) or on its own, on the menus' GL fixture.
#include <string>

#include "../results/ResultsFixture.h"
#include "engine/director/CCDirector.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/hud/KVHudLayer.h"
#include "game/scene/KVGameplayScene.h"

namespace hudtest {

class HudFixture : public resultstest::ResultsFixture {
protected:
    /// The settings key `key` of "gameSetup" set to "YES" or "NO" for this test.
    static void setConfig(const char* key, bool value) {
        kvdata::setText(KVGameSetup::getInstance()->getConfiguration(), key, value ? "YES" : "NO");
    }
    /// The design window of `width` x 600 points, wide (960) or not.
    void useWindow(float width) {
        director->setWinSizeInPoints(kvengine::CCSize(width, 600));
        kvengine::CCDirector::wideScreen = width > 900 ? 1 : 0;
    }
    static KVHudLayer* hudOf(KVGameplayScene* scene) { return scene != nullptr ? scene->getHud() : nullptr; }
};

} // namespace hudtest
