#pragma once

#include "engine/base/CCRetained.h"
#include "game/world/KVActorV.h"

namespace kvengine {
class CCSprite;
}

/// The view of an area attack: the aiming ring ("AE_Area_BGR.png", turning slowly) around the
/// attacker and, for the player's side, a hand ticking at its centre ("AE_Area_CHR.png"); when
/// the attack triggers, the blast ("AoE_melee_NN.png", or "AoE_enemy_NN.png" for an enemy, frames
/// 01 to 09 at 0.08 s) plays at the centre while the ring widens, turns and fades; then the
/// view posts "EVENT_REMOVE_ACTOR" for the attack. Frames come from the sheet "top_sfx_51_ss".
///
/// The sprites go into the host's sheet "top_sfx_51_ss" at z 50 (ring) and 51 (centre); without
/// that sheet they are made but shown nowhere (logged).
class KVAOEAttackV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVAOEAttackV, KVActorV)

    /// Ring scale for a Range AoE of 89.6 pixels; it grows in proportion.
    static constexpr float kRingScaleAtReference = 0.9f;
    static constexpr float kReferenceRange = 89.6f;

    /// The model must be a KVAOEAttack with an attacker (else logged, false).
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void update(float dt) override;
    /// Takes both sprites off the screen, then leaves the host's list.
    void onRemoveActor(kvengine::CCNotification* notification) override;
    void cleanupBeforeDelete() override;

    kvengine::CCSprite* getCentreSprite() const { return m_centre; }
    bool isEnemy() const { return m_enemy; }
    bool isFading() const { return m_fading; }
    float getRingScale() const { return m_scale; }
    /// Frames found for the blast.
    unsigned getBlastFrameCount() const;

private:
    void onBlastEnd();
    void setCentre(kvengine::CCSprite* sprite);
    void addToHost(kvengine::CCNode* node, int z);

    kvengine::CCRetained<kvengine::CCSprite> m_centre;
    kvengine::CCRetained<kvengine::CCAnimate> m_blast;
    bool m_enemy = false;
    float m_scale = 0.0f;
    bool m_fading = false;
    float m_tickTimer = 0.0f;
};
