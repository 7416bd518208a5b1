#pragma once

#include <string>

#include "engine/base/CCMutableDictionary.h"
#include "game/data/KVDialogueService.h"
#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCNode;
class CCScene;
} // namespace kvengine

/// The dialogue (chatter) service: loads a dialogue by name from its "<file>_CHAT.plist" file and
/// plays it step by step in a dialogue scene laid over a host node.
///
/// A dialogue identifier is the file part ending in "_CHAT" (any case) followed by two characters:
/// "Tutos_chatot" is the entry "Tutos_chatot" of "Tutos_CHAT.plist". An entry holds "light_mode"
/// and numbered steps "DialogN" (a text box) and "EffectN" (a picture, full dialogues only).
///
/// While a dialogue is shown the running flag is set. Starting posts EVENT_CHATTER_START; the end
/// posts EVENT_END_SPEECH with the identifier and turns on a 0.3 s input cooldown during which the
/// mission refuses gestures, so the touch that closed a dialogue does not reach the game.
///
/// Ownership: the manager retains the file, the current entry, the dialogue scene (while running)
/// and the host node. Step views are children of the dialogue scene: image views at z 1000 tagged
/// 0, 1, 2..., the text box at z 2000 with tag 1000.
class KVChatterManager : public KVSingletonObject<KVChatterManager>, public KVDialogueService {
public:
    CC_DECLARE_CLASS_NAME(KVChatterManager, KVSingletonObject)

    using Dict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;

    /// The dialogue manager outlives the application's shutdown: nothing releases it.
    static constexpr bool kReleasedAtShutdown = false;

    static constexpr int kDialogueSceneZ = 2000;
    static constexpr int kImageViewZ = 1000;
    static constexpr int kTextViewZ = 2000;
    static constexpr int kTextViewTag = 1000;
    /// Seconds after an end during which the mission refuses gestures.
    static constexpr float kInputCooldown = 0.3f;

    /// How the end of a dialogue outside a mission reaches the front end's dialogue state (whose
    /// exit ends the dialogue and clears the host). Installed by the application; without it the
    /// manager ends the dialogue itself.
    using FrontEndExit = void (*)();
    static void setFrontEndExit(FrontEndExit exit) { s_frontEndExit = exit; }

    void cleanupBeforeDelete() override;

    /// True while a dialogue is shown.
    bool isChatterRunning() const override { return m_running; }
    void setChatterRunning(bool running) { m_running = running; }

    /// Loads the named dialogue (and the portrait and background sheets) without starting it. A name
    /// that loads nothing leaves a step count of 0, logged once.
    void loadChatter(const std::string& chatterName) override;
    /// Shows the loaded dialogue over the host node (posts EVENT_CHATTER_START) when it has steps.
    /// A dialogue that is running is ended first (its EVENT_END_SPEECH is posted).
    void startChatter() override;
    /// Shows the current step when one is due, or ends the dialogue after its last step.
    void showCurrentStep();
    /// Removes the current text box and goes on to the next step (called by the step views).
    void nextStep();
    /// Ends the running dialogue: removes the dialogue scene, posts EVENT_END_SPEECH.
    void endChatter() override;
    /// Per-frame update: counts the input cooldown down, then shows the current step.
    void update(float dt) override;
    /// A dialogue runs and the running scene is a mission scene.
    bool isRunningInGameplay() const override;
    /// Drops the portrait sprite sheets of the dialogues from the caches.
    void unloadPortraitSheets() override;

    /// Name of the dialogue last loaded ("" before).
    const std::string& getLoadedChatterName() const { return m_loadedChatter; }
    int getStepCount() const { return m_stepCount; }
    int getStep() const { return m_step; }
    /// -1 no "light_mode" key, 0 full, 1 light, 2 light with (skipped) picture steps.
    int getLightMode() const { return m_lightMode; }
    int getImageCount() const { return m_imageCount; }
    bool isInputCooldown() const override { return m_inputCooldown; }
    void updateInMission(float dt) override { update(dt); }
    bool isEndRequested() const { return m_endRequested; }
    /// Asks for the end of the whole dialogue at the next showing (the skip buttons).
    void requestEnd() { m_endRequested = true; }
    /// The scene holding the step views while a dialogue runs, else null.
    kvengine::CCScene* getDialogueScene() const { return m_dialogueScene; }
    /// The step dictionary of number `step` of the current dialogue (stores its "item_type"), or null.
    Dict* findStep(int step);

    /// The scene over which the next dialogue is shown (retained): the running scene, or null
    /// when nothing runs.
    void setHostSceneToRunningScene() override;
    /// Retaining setter of the host node; null releases it.
    void setHostScene(kvengine::CCNode* node);
    kvengine::CCNode* getHostScene() const { return m_hostScene; }
    /// Marks the dialogue as started from the shop screen.
    void setShopFlag(bool fromShop) override { m_fromShop = fromShop; }
    bool getShopFlag() const { return m_fromShop; }
    /// Dims the running scene under a tutorial dialogue (a black layer at opacity 150, z order 1201,
    /// tag 724), and removes the dimmer again. Nothing happens while no scene runs.
    void showDimmer() override;
    void hideDimmer() override;

    static constexpr int kDimmerTag = 724;
    static constexpr int kDimmerZOrder = 1201;

private:
    void setDialogueFile(Dict* file);
    void setCurrentDialogue(Dict* dialogue);
    void removeImageViews();
    void showStep(Dict* step);

    inline static FrontEndExit s_frontEndExit = nullptr;

    Dict* m_dialogueFile = nullptr;
    Dict* m_currentDialogue = nullptr;
    kvengine::CCScene* m_dialogueScene = nullptr;
    kvengine::CCNode* m_hostScene = nullptr;
    int m_step = 1;
    bool m_running = false;
    bool m_inputCooldown = false;
    float m_cooldownTime = 0.0f;
    int m_stepCount = 0;
    bool m_ready = false;
    int m_imageCount = 0;
    int m_lightMode = 0;
    bool m_endRequested = false;
    std::string m_loadedChatter;
    bool m_fromShop = false;
};
