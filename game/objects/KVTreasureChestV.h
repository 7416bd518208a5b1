#pragma once

#include "engine/base/CCNotification.h"
#include "game/world/KVActorV.h"

/// The view of a treasure chest: "<image>_closed.png", or "<image>_opened.png" for a chest
/// already open, in the sheet "global_ss" at the chest's place (scale: radius x 32 / 24); the
/// chest's "EVENT_TREASURE_CHEST_OPENED" switches it to the open picture.
class KVTreasureChestV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVTreasureChestV, KVActorV)

    /// False for a model that is no chest (logged) or without its picture (the frame cache logs).
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void cleanupBeforeDelete() override;
    /// The chest never moves.
    void update(float dt) override { (void)dt; }

    virtual void onTreasureChestOpened(kvengine::CCNotification* notification);
};
