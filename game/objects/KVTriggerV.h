#pragma once

#include <string>

#include "game/world/KVActorV.h"

/// The view of a reach point: the looping marker "reachpoint_NN.png" (sheet "low_sfx_88_ss",
/// scaled by the trigger's radius; the artwork is drawn for a radius of 1 m), or the hidden
/// character "HiddenChar_NN.png" (sheet "hidden_char1_TC2_ss", unscaled), which plays once and
/// then waits 30 s before playing again. Any other image is not shown. The sprite hides when its
/// trigger fires and shows again, animated, when "EVENT_TRIGGER_ENABLE" names it.
class KVTriggerV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVTriggerV, KVActorV)

    static constexpr float kFrameDelay = 0.1f;
    static constexpr float kHiddenCharacterPause = 30.0f;
    static constexpr int kSpriteZ = -2000;

    /// Stops the sprite's actions and observing.
    void cleanupBeforeDelete() override;
    /// False for a model that is no trigger (logged) or when its first frame is missing.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// The trigger never moves: nothing to follow.
    void update(float dt) override { (void)dt; }

    virtual void onTriggerEnable(kvengine::CCNotification* notification);
    virtual void onTriggerTriggered(kvengine::CCNotification* notification);
    /// Loops the frames "<stem>_01.png", "<stem>_02.png", ... (until the first missing number) at
    /// 0.1 s each, with the hidden character's pause, and shows the sprite.
    void startAnimation();

    /// The sheet the sprite went to; "" when it is not shown.
    const std::string& getSheetName() const { return m_sheetName; }

private:
    bool matchesModel(kvengine::CCNotification* notification) const;

    std::string m_stem;
    std::string m_sheetName;
};
