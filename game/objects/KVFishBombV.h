#pragma once

#include "game/objects/KVCoconutV.h"

/// The view of a fish bomb: the puffer fish of "global_ss" at scale 1, turning with its orbit.
/// An untouched fish shows its normal picture for 2 s and puffs up ("GPE_Fugu_angry.png") for
/// 0.8 s, in turn; a struck fish puffs up at once and stays so for at least 0.8 s and until its
/// anger is over.
class KVFishBombV : public KVCoconutV {
public:
    CC_DECLARE_CLASS_NAME(KVFishBombV, KVCoconutV)

    static constexpr float kPuffedSeconds = 0.8f;
    static constexpr float kCalmSeconds = 2.0f;

    bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void update(float dt) override;
    const char* getFrameName() override { return "GPE_Fugu.png"; }
    bool acceptsModel(KVActor* model) override;

    bool isPuffed() const { return m_puffed; }

private:
    void showFrame(const char* frameName);

    float m_viewTimer = 0.0f;
    bool m_puffed = false;
};
