#pragma once

#include "game/menu/KVLayer.h"

class KVGameModel;

/// The heads-up display over a mission (z 1000, tag 8686 in the mission scene). It holds the
/// mission's game model for what it shows; its panels join it in place.
class KVHudLayer : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVHudLayer, KVLayer)

    /// z and tag of the HUD in the mission scene.
    static constexpr int kZOrder = 1000;
    static constexpr int kTag = 8686;

    /// A new autoreleased HUD; null when it cannot be made.
    static KVHudLayer* create();
    /// The model the HUD follows (retained).
    virtual void setGameModel(KVGameModel* model);
    KVGameModel* getGameModel() const { return m_model; }
    void cleanupBeforeDelete() override;

private:
    KVGameModel* m_model = nullptr;
};
