#pragma once

#include <string>

#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/objects/KVObjectBodies.h"
#include "game/world/KVActor.h"

/// A circular sensor zone of the level (tile-map object "Trigger"). When a living player kelvo
/// enters it while it is enabled, it posts "EVENT_TRIGGER_TRIGGERED" (a KVTriggerEvent with its
/// name, the kelvo and its reach-point flag) and disables itself; "EVENT_TRIGGER_ENABLE" /
/// "EVENT_TRIGGER_DISABLE" naming it switch it on and off. Only reach points are seen (KVTriggerV).
/// A trigger whose image is "HiddenChar" is a mission's hidden character: touching it records
/// the creature (its name, lower case) and its locked helmet for unlocking, when the profile holds
/// them locked.
///
/// Properties: "x", "y", "width", "height" (pixels), "Name", "Enabled" (absent: true), "image"
/// (absent: "reachpoint"), "isReachPoint" (absent: false; true makes the radius 1.5625 m, else
/// it is half the width).
class KVTrigger : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVTrigger, KVActor)

    static constexpr float kReachPointRadius = 1.5625f;
    static constexpr const char* kHiddenCharacterImage = "HiddenChar";
    static constexpr const char* kDefaultImage = "reachpoint";

    void cleanupBeforeDelete() override;
    /// False (logged) without properties, a physics world or a "Name".
    bool initWithDictionary(kvobjects::Dict* properties) override;
    std::string viewClassName() override;
    bool beginContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }

    virtual void onTriggerEnable(kvengine::CCNotification* notification);
    virtual void onTriggerDisable(kvengine::CCNotification* notification);

    bool isEnabled() const { return m_enabled; }
    float getRadius() const { return m_radius; }
    bool isReachPoint() const { return m_reachPoint; }
    kvengine::CCString* getName() const { return m_name; }
    /// The view's frame stem: "image", or "reachpoint" when absent.
    std::string getImageStem() const;

private:
    void recordHiddenCharacter();

    b2Body* m_body = nullptr;
    float m_radius = 0.0f;
    bool m_enabled = true;
    kvengine::CCString* m_name = nullptr;
    kvengine::CCString* m_image = nullptr;
    bool m_reachPoint = false;
};
