#pragma once

#include "engine/base/CCMutableArray.h"
#include "game/world/KVActor.h"

/// A static rectangle that stops whatever bounces off it: every actor whose contact with the wall
/// ended is stopped dead (velocity zero) in the next update, so things stay where they struck it.
///
/// Its box is in collision group 3. Ownership: the list of actors to stop is retained and holds
/// them (retained) until the next update or their removal.
class KVStickyWall : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVStickyWall, KVActor)

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    bool beginContact(KVContactInfo* contact) override {
        (void)contact;
        return false;
    }
    bool endContact(KVContactInfo* contact) override;
    /// Observer of EVENT_REMOVE_ACTOR from anyone: drops the removed actor from the list.
    void onRemoveActor(kvengine::CCNotification* notification) override;
    b2Body* getBody() override { return m_body; }

    /// (x, y) the lower-left corner, all in metres. False (logged) without a physics world or for
    /// a size that is not positive.
    [[nodiscard]] virtual bool initWithRect(float x, float y, float width, float height);

    /// Actors waiting to be stopped at the next update.
    unsigned int pendingCount() const { return m_actors != nullptr ? m_actors->count() : 0; }

private:
    kvengine::CCMutableArray<KVActor*>* m_actors = nullptr;
    b2Body* m_body = nullptr;
};
