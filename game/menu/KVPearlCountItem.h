#pragma once

#include "engine/sprites/CCSprite.h"

/// The pearl counter: the player's pearl amount in a shadowed label (tag 10, z 2) beside the pearl
/// icon ("KV_Perl2.png", z 1), counting up with a ticking sound when the amount grows.
///
///     KVPearlCountItem* pearls = KVPearlCountItem::createSmall();
///     pearls->setPosition(...);                    // screens place it themselves
///     ...                                          // the profile's amount changes
///     pearls->startCountUp();                      // counts towards the new amount
///
/// A gain of g pearls takes log(g) / log(300) seconds (300 pearls a second, 3 pearls a fifth of
/// that), in steps proportional to the frame time; a loss shows at once. The sheet holding
/// "KV_Perl2.png" must be loaded before init (the counter then has no icon, logged).
class KVPearlCountItem : public kvengine::CCSprite {
public:
    CC_DECLARE_CLASS_NAME(KVPearlCountItem, kvengine::CCSprite)

    /// Child tag of the amount label.
    static constexpr int kLabelTag = 10;

    static KVPearlCountItem* createLarge();
    static KVPearlCountItem* createSmall();

    KVPearlCountItem();
    /// Builds the counter showing the profile's amount: 20-point orange text.
    void initLarge();
    /// The same with 18-point yellow text.
    void initSmall();

    /// Starts counting towards the profile's current amount, or retargets a running count.
    void startCountUp();
    /// The scheduled count step (every 0.012 s while counting).
    void update(float dt) override;

    int getShownAmount() const { return m_shownAmount; }
    int getRemaining() const { return m_remaining; }
    /// Seconds of counting when the last tick sound played (0: none yet).
    float getLastTickTime() const { return m_lastTickTime; }

private:
    void build(float fontSize, const kvengine::ccColor3B& colour);
    void showAmount();

    float m_elapsed = 0.0f;
    float m_lastTickTime = 0.0f;
    int m_shownAmount = 0;
    int m_remaining = 0;
    float m_countBudget = 0.0f;
};
