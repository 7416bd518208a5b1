#include "game/objects/KVTrigger.h"

#include <box2d/box2d.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/KVRunningMission.h"
#include "game/world/KVTriggerEvent.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCString;

namespace {

constexpr std::uint16_t kTriggerCategory = 2;
constexpr std::uint16_t kTriggerMask = 0;
// The group of the pawns' probe fixtures: the only fixtures the sensor meets.
constexpr std::int16_t kTriggerGroup = 1;

CCString* textProperty(kvobjects::Dict* properties, const char* key) {
    kvengine::CCObject* value = properties != nullptr ? properties->objectForKey(key) : nullptr;
    return dynamic_cast<CCString*>(value);
}

bool boolProperty(kvobjects::Dict* properties, const char* key, bool fallback) {
    CCString* value = textProperty(properties, key);
    return value != nullptr ? value->toBool() : fallback;
}

void hold(CCString*& field, CCString* value) {
    if (value != nullptr) value->retain();
    if (field != nullptr) field->release();
    field = value;
}

// The event's name equals `name` (both present).
bool namesMatch(CCNotification* notification, CCString* name) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    auto* event = dynamic_cast<KVTriggerEvent*>(object);
    return event != nullptr && event->name != nullptr && name != nullptr && event->name->text == name->text;
}

} // namespace

void KVTrigger::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    hold(m_name, nullptr);
    hold(m_image, nullptr);
    KVActor::cleanupBeforeDelete();
}

bool KVTrigger::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    CCString* name = textProperty(properties, "Name");
    if (properties == nullptr || world == nullptr || name == nullptr || name->text.empty()) {
        kvengine::logDebugMessage("KVTrigger: %s", properties == nullptr ? "no object dictionary"
                                                   : world == nullptr
                                                       ? "no physics world"
                                                       : "no \"Name\": a trigger nobody can name");
        return false;
    }
    const int width = kvobjects::intProperty(properties, "width");
    kvobjects::placeAtTileCentre(properties, this);
    m_enabled = boolProperty(properties, "Enabled", true);
    m_reachPoint = boolProperty(properties, "isReachPoint", false);
    hold(m_name, name);
    hold(m_image, textProperty(properties, "image"));
    m_radius =
        m_reachPoint ? kReachPointRadius : static_cast<float>(width) * 0.5f / kvobjects::kPixelsPerMetre;

    kvobjects::CircleFixture sensor;
    sensor.radius = m_radius;
    sensor.sensor = true;
    sensor.categoryBits = kTriggerCategory;
    sensor.maskBits = kTriggerMask;
    sensor.groupIndex = kTriggerGroup;
    m_body = kvobjects::createCircleBody(this, false, positionX, positionY, {sensor}, "KVTrigger");

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVTrigger::onTriggerEnable), EVENT_TRIGGER_ENABLE);
    centre->addObserver(this, notification_selector(KVTrigger::onTriggerDisable), EVENT_TRIGGER_DISABLE);
    centre->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

std::string KVTrigger::getImageStem() const {
    return m_image != nullptr ? m_image->text : std::string(kDefaultImage);
}

std::string KVTrigger::viewClassName() {
    return m_reachPoint ? "KVTriggerV" : "";
}

void KVTrigger::onTriggerEnable(CCNotification* notification) {
    if (namesMatch(notification, m_name)) m_enabled = true;
}

void KVTrigger::onTriggerDisable(CCNotification* notification) {
    if (namesMatch(notification, m_name)) m_enabled = false;
}

bool KVTrigger::beginContact(KVContactInfo* contact) {
    if (!m_enabled || contact == nullptr) return false;
    KVActor* other = contact->other;
    if (other == nullptr || !other->isKindOf("KVKelvoPlayer") || static_cast<KVPawn*>(other)->isDead())
        return false;
    auto* event = new KVTriggerEvent(m_name, other, m_reachPoint);
    kvobjects::post(EVENT_TRIGGER_TRIGGERED, event);
    event->release();
    if (getImageStem() == kHiddenCharacterImage) recordHiddenCharacter();
    m_enabled = false;
    return true;
}

void KVTrigger::recordHiddenCharacter() {
    std::string kelvo = m_name->text;
    std::transform(kelvo.begin(), kelvo.end(), kelvo.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Dict* record = profile->getKelvoRecord(kelvo);
    if (record == nullptr || std::atoi(kvdata::textAt(record, "status_locked").c_str()) != 1) return;
    std::string helmet = kvdata::textAt(record, "helmet_name");
    kvdata::Dict* helmetRecord = helmet.empty() ? nullptr : profile->getHelmetRecord(helmet);
    if (helmetRecord == nullptr || std::atoi(kvdata::textAt(helmetRecord, "status_locked").c_str()) != 1)
        helmet.clear();
    auto* mission = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
    if (mission == nullptr || !mission->recordHiddenCharacter(kelvo, helmet))
        kvengine::logDebugMessage("KVTrigger: hidden character \"%s\" found where no mission records it",
                                  kelvo.c_str());
}
