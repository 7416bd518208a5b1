#pragma once

#include <vector>

#include "engine/base/CCGeometry.h"
#include "game/world/KVActorV.h"

namespace kvengine {
class CCSprite;
}
class KVPearl;

/// The view of a pearl reward: a small cloud of glowing pearl sprites ("pearl.png" over an additive
/// "pearl_glow.png", sheet "global_ss") on the gameplay layer.
///
/// Timeline (seconds of update): the pearls pop out and grow (0 to 0.3), bob (to 0.4), then the
/// view collects them: "EVENT_PEARL_PICKED" with the flight's target (the pawn whose turn it is,
/// else the pearl's own place), the pearl's acquired events, two rising value labels ("+%i %s"
/// with the word for pearl), and a 0.4 s flight while the pearls shrink and fade, after which it
/// posts "EVENT_REMOVE_ACTOR" for the model. A pearl not collected fades out at the eighth turn
/// start; "EVENT_VICTORY_DANCE" collects it at once. A pearl of value 0 shows no sprite and waits
/// for one of those two.
///
/// Sprite count for a value v: v up to 3, 3 up to 10, 6 up to 25, 12 above.
class KVPearlV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVPearlV, KVActorV)

    static constexpr float kPopOutTime = 0.3f;
    static constexpr float kRestTime = 0.4f;
    static constexpr float kFlightTime = 0.4f;
    static constexpr int kTurnsBeforeFading = 8;
    static constexpr int kSpriteZ = 5;
    static constexpr int kGlowZ = 4;

    /// Removes the sprites from the screen, releases them and stops observing.
    void cleanupBeforeDelete() override;
    /// False for a model that is no pearl (logged). Makes and places the sprites, posts
    /// "EVENT_PEARL_SPWANED" with the view.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void update(float dt) override;
    /// Every pearl sprite; hiding also makes them transparent.
    void setVisible(bool visible) override;
    /// Takes every sprite off the screen and leaves the layer's view list.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    virtual void onSingleTap(kvengine::CCNotification* notification);
    virtual void onStartTurn(kvengine::CCNotification* notification);
    virtual void onVictoryDance(kvengine::CCNotification* notification);
    virtual void setPearlsOpacity(unsigned char opacity);
    virtual void stopAllPearlActions();
    virtual void removePearlsFromParent(bool cleanup);

    static int spriteCountForValue(int value);

    int getPearlCount() const { return static_cast<int>(m_pearls.size()); }
    kvengine::CCSprite* getPearlSprite(int index) const;
    kvengine::CCSprite* getGlowSprite(int index) const;
    bool isSettled() const { return m_settled; }
    bool isCollecting() const { return m_collecting; }
    int getTurnsLeft() const { return m_turnsLeft; }
    /// Points.
    kvengine::CCPoint getTarget() const { return m_target; }

private:
    struct Pearl {
        kvengine::CCSprite* sprite = nullptr; // retained
        kvengine::CCSprite* glow = nullptr;   // retained
        kvengine::CCPoint rest;
        float phase = 0.0f;
    };

    KVPearl* pearl() const;
    kvengine::CCPoint modelPoint() const;
    void placeSprites();
    void pickUp();
    void showValueLabels();
    void fadeOutPearls();
    void postRemoval();
    void removeLabel(kvengine::CCNode* label);
    void releasePearls();

    std::vector<Pearl> m_pearls;
    float m_elapsed = 0.0f;
    bool m_settled = false;
    bool m_collecting = false;
    bool m_fading = false;
    kvengine::CCPoint m_target;
    int m_turnsLeft = kTurnsBeforeFading;
};
