#pragma once

#include "game/world/KVActorV.h"

/// The view of an anchor: a still sprite of the sheet "global_ss" at the anchor's place, drawn for
/// a radius of 15 pixels, on the host's node of that sheet.
class KVAnchorV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVAnchorV, KVActorV)

    static constexpr const char* kSheetName = "global_ss";

    /// The anchor never moves: nothing to follow.
    void update(float dt) override { (void)dt; }
    /// False for a model that is not an anchor (logged) or when the frame is missing.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    virtual const char* getFrameName();
};
