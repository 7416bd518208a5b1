#pragma once

#include "game/world/KVActorV.h"

/// The view of a coconut: one sprite of the sheet "global_ss", drawn for a radius of 1 m and scaled
/// by the model's radius. When its coconut falls (EVENT_COCONUT_FALL) the sprite shrinks and fades
/// out, and then the view posts EVENT_REMOVE_ACTOR with the coconut.
class KVCoconutV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutV, KVActorV)

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    /// False for a model that acceptsModel refuses (logged) or when the frame is missing (the frame
    /// cache logs it).
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;

    /// Observer of EVENT_COCONUT_FALL from anyone; reacts only to its own model.
    virtual void onCoconutFall(kvengine::CCNotification* notification);
    virtual const char* getFrameName();
    /// Whether the view can show `model`: a coconut here (the fish bomb's view takes its fish).
    virtual bool acceptsModel(KVActor* model);

    /// Name of the sheet the sprite belongs to.
    static constexpr const char* kSheetName = "global_ss";

private:
    void postRemoval();
};
