#pragma once

#include "engine/base/CCNotification.h"
#include "engine/base/CCRetained.h"
#include "engine/nodes/CCNode.h"

#include <string>

namespace kvengine {
class CCAnimate;
}

class KVActor;
class KVActorV;

/// What a view needs of the layer that shows it (the gameplay layer): the layer keeps its views in
/// a list, and a view whose model ends leaves that list.
class KVActorViewHost {
public:
    /// The layer as an object; every view it shows retains it.
    virtual kvengine::CCObject* viewHostObject() = 0;
    /// Drops `view` from the view list, which releases it (possibly its last reference).
    virtual void removeActorView(KVActorV* view) = 0;
    /// The sprite-sheet node the layer loaded under `sheetName` ("top_sfx_51_ss", ...), which
    /// views add their sprites to; null when the layer has no such sheet.
    virtual kvengine::CCNode* viewSheet(const std::string& sheetName) {
        (void)sheetName;
        return nullptr;
    }
    /// True when a pawn that appears now flashes in (a solo mission whose player turns have
    /// started); pawn views ask it once, when they are made.
    virtual bool showsPawnSpawnEffect() { return false; }
    /// True while the player has zoomed the camera out by hand: the enemies' target markers show.
    virtual bool isCameraZoomedOutManually() { return false; }

protected:
    ~KVActorViewHost() = default;
};

/// The scene-graph view of an actor: a node that places its sprite where the model is.
///
/// Units: the model's metres x 32 give points; the sprite's rotation is the model's angle turned
/// into degrees with the opposite sign (models turn counter-clockwise, sprites clockwise). The
/// gameplay layer makes a view through the class-name factory from KVActor::viewClassName, binds
/// it with initWithActor and updates it every frame; subclasses make the sprite.
class KVActorV : public kvengine::CCNode {
public:
    CC_DECLARE_CLASS_NAME(KVActorV, kvengine::CCNode)

    /// Releases the sprite, the model and the layer, and stops observing.
    void cleanupBeforeDelete() override;

    /// Binds the view to `model` (retained; null refused, logged) and `host` (its layer object
    /// retained; may be null), drops any sprite and observes EVENT_REMOVE_ACTOR about the model.
    [[nodiscard]] virtual bool initWithActor(KVActor* model, KVActorViewHost* host);
    /// Observer of EVENT_REMOVE_ACTOR about the model: takes the sprite off the screen and leaves
    /// the layer's view list (which may release this view: nothing runs on it afterwards).
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    /// Places the sprite at the model's position and angle.
    void update(float dt) override;

    /// The displayed node (retained; null until a subclass makes one). Setting retains the new
    /// node and releases the previous one.
    kvengine::CCNode* getSprite() const { return m_sprite; }
    void setSprite(kvengine::CCNode* sprite);
    KVActor* getModel() const { return m_model; }
    /// True from initWithActor until the model is removed.
    bool isAttached() const { return m_attached; }

    /// An autoreleased animate action over the shared sprite-frame cache's frames named
    /// "<spriteName>_<animName>_<index>.png", index written with at least two digits, for index =
    /// first..last inclusive (first > last gives no frames). Missing frames are skipped (the cache
    /// logs each). `delay` is seconds per frame; the sprite keeps the last frame when the action
    /// ends. The names are used as given: no length limit, '%' is an ordinary character.
    static kvengine::CCAnimate* createFrameAnimation(const std::string& spriteName,
                                                     const std::string& animName, int first, int last,
                                                     float delay);

protected:
    kvengine::CCRetained<kvengine::CCNode> m_sprite;
    KVActorViewHost* m_host = nullptr;
    kvengine::CCRetained<kvengine::CCObject> m_hostObject;
    kvengine::CCRetained<KVActor> m_model;
    bool m_attached = false;
};
