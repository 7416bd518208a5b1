#pragma once

#include "game/pawns/KVPawn.h"

class KVCoconutCrabEye;

/// The coconut-crab boss: a pawn that cannot be damaged, anchored in the level by a static body
/// without fixtures, with two weak points (eyes) on its head and, once both are gone, a mouth.
///
/// It counts its losses and announces them with a null object: "EVENT_COCONUT_CRAB_KO_LEFT_EYE" or
/// "..._KO_RIGHT_EYE" for the first eye, "..._KO_BOTH_EYES" for the second; 1.4375 s of game time
/// after that the mouth appears ("EVENT_COCONUT_CRAB_ACTIVATE_MOUTH"), and its removal posts
/// "EVENT_COCONUT_CRAB_DEAD", which decides the mission.
///
/// It owns a second body, the slab that its swipe and its first quake drop in front of it (a heavy
/// dynamic box of 12.5 x 1 m, group -1, created disabled); while the slab is in use getBody answers
/// it, so the busy tracking follows the slab, while the boss's position stays on the main body.
/// Its controller (KVCoconutCrabController, retained) plays its turns.
///
/// Made by the level builder from an AI spawn point whose "engine_class" is "KVCoconutCrab"; the
/// eyes and the mouth read the AI stats entries "CoconutCrabEye" and "CoconutCrabMouth".
class KVCoconutCrab : public KVPawn {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrab, KVPawn)

    /// Seconds between the loss of the second eye and the mouth's appearance.
    static constexpr float kMouthDelay = 1.4375f;
    /// Half extents of the slab, metres.
    static constexpr float kSlabHalfWidth = 6.25f;
    static constexpr float kSlabHalfHeight = 0.5f;

    KVCoconutCrab() { m_enemy = true; }

    /// Destroys the slab (while the world exists), releases the eyes and the mouth, then the pawn's
    /// clean-up.
    void cleanupBeforeDelete() override;
    /// The pawn's update, then the mouth's delay.
    void update(float dt) override;
    std::string viewClassName() override { return "KVCoconutCrabV"; }
    /// The slab while it is in use, else the main body.
    b2Body* getBody() override;
    /// Any removed actor: counts the loss of an eye or the mouth.
    void onRemoveActor(kvengine::CCNotification* notification) override;
    /// False (logged) when the boss, its stats, its bodies or an eye cannot be made.
    [[nodiscard]] bool initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) override;
    /// The static main body without fixtures and the disabled slab.
    [[nodiscard]] bool createBody() override;
    /// The pawn's observers and "EVENT_REMOVE_ACTOR" from anyone.
    void registerObservers() override;
    bool isDamageable() override { return false; }
    bool isBoss() override { return true; }

    b2Body* getMainBody() const { return m_body; }
    b2Body* getAttackBody() const { return m_attackBody; }
    bool isAttackBodyInUse() const { return m_attackBodyInUse; }
    void setAttackBodyInUse(bool inUse) { m_attackBodyInUse = inUse; }
    bool isBossDead() const { return m_bossDead; }
    bool isMouthPending() const { return m_mouthPending; }
    float getMouthTimer() const { return m_mouthTimer; }
    KVCoconutCrabEye* getLeftEye() const { return m_leftEye; }
    KVCoconutCrabEye* getRightEye() const { return m_rightEye; }
    KVCoconutCrabEye* getMouth() const { return m_mouth; }

private:
    /// A new part of `kind` at (x, y) with the stats `typeName`; null (logged) when it fails.
    KVCoconutCrabEye* makePart(KVCoconutCrabEye* part, float x, float y, const char* typeName);
    void dropPart(KVCoconutCrabEye*& part);
    /// The loss of one eye: the other still there, or both gone.
    void loseEye(KVCoconutCrabEye*& eye, kvengine::CCString* oneEyeEvent);

    KVGameModel* m_gameModel = nullptr;
    float m_mouthTimer = 0.0f;
    b2Body* m_attackBody = nullptr;
    bool m_attackBodyInUse = false;
    bool m_bossDead = false;
    KVCoconutCrabEye* m_leftEye = nullptr;
    KVCoconutCrabEye* m_rightEye = nullptr;
    KVCoconutCrabEye* m_mouth = nullptr;
    bool m_mouthPending = false;
};
