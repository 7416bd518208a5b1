#pragma once

#include <string>

#include "game/data/KVDialogueService.h"
#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCScene;
}

/// The dialogue (chatter) service: loads a dialogue by name and shows it over a host scene.
///
/// While a dialogue is shown the running flag is set; when it ends the manager posts
/// EVENT_END_SPEECH with the dialogue's name. Tutorial steps that would start a dialogue while
/// another runs wait for that notification.
class KVChatterManager : public KVSingletonObject<KVChatterManager>, public KVDialogueService {
public:
    CC_DECLARE_CLASS_NAME(KVChatterManager, KVSingletonObject)

    /// The dialogue manager outlives the application's shutdown: nothing releases it.
    static constexpr bool kReleasedAtShutdown = false;

    void cleanupBeforeDelete() override;

    /// True while a dialogue is shown.
    bool isChatterRunning() const override { return m_running; }
    void setChatterRunning(bool running) { m_running = running; }

    /// Loads the dialogue's data and portraits and prepares its first step.
    void loadChatter(const std::string& chatterName) override;
    /// Shows the loaded dialogue over the host scene (posts EVENT_CHATTER_START) when it has steps.
    void startChatter() override;
    /// Ends the running dialogue (the running flag drops).
    void endChatter();
    /// Drops the portrait sprite sheets of the dialogues.
    void unloadPortraitSheets() override;
    /// Name of the dialogue last loaded ("" before).
    const std::string& getLoadedChatterName() const { return m_loadedChatter; }

    /// The scene over which the next dialogue is shown (retained): the running scene, or null
    /// when nothing runs.
    void setHostSceneToRunningScene() override;
    /// Retaining setter of the host scene; null releases it.
    void setHostScene(kvengine::CCScene* scene);
    kvengine::CCScene* getHostScene() const { return m_hostScene; }
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
    kvengine::CCScene* m_hostScene = nullptr;
    std::string m_loadedChatter;
    bool m_running = false;
    bool m_fromShop = false;
};
