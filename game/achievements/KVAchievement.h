#pragma once

#include <string>

#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/world/KVObject.h"

/// One achievement: it watches notifications and completes itself once its condition is met.
///
/// Lifetime: made by KVAchievementManager, whose list holds the only reference. complete() drops
/// that reference, so a completed achievement stops observing and is destroyed before complete()
/// returns: a handler returns at once after calling it and touches no member afterwards. An
/// achievement registers its observers in init() (not in its constructor, so that the kinds'
/// virtual event names are the subclass's own).
///
/// Nothing is shown or saved: every run starts with all of them pending.
class KVAchievement : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVAchievement, KVObject)

    /// The identifier under which an online achievement service would know it ("" in the base).
    virtual std::string getIdentifier() { return ""; }

    bool isPersistent() override { return true; }
    /// Removes every notification registration of the achievement.
    void cleanupBeforeDelete() override;

    /// Registers the observers. False (with a log line) when the kind names no notification.
    [[nodiscard]] bool init();

    /// Marks the achievement completed and removes it from the manager's list, which destroys it
    /// when the list held the last reference.
    void complete();

    bool isCompleted() const { return completed; }

    /// False at creation.
    bool completed = false;

protected:
    /// Registers this achievement's handlers; called once by init().
    virtual bool registerObservers() = 0;
    /// addObserver on the shared centre; false for a null or empty name.
    bool observe(kvengine::CCString* name, kvengine::SEL_Notification selector);
};

/// Completes when a given creature is recruited ("EVENT_KELVO_RECRUITED", object: its name).
class KVAchievementRecruit : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementRecruit, KVAchievement)

    virtual void handleEvent(kvengine::CCNotification* notification);
    /// The creature whose recruitment completes the achievement ("" in this kind).
    virtual std::string getKelvoName() { return ""; }

protected:
    bool registerObservers() override;
};

/// Completes when every mission of a chapter has earned one kind of star. Observes the
/// notification named by getEventName (object: the chapter name).
class KVAchievementStar : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementStar, KVAchievement)

    /// Hidden, survival and speed stars; any other value reads the speed star.
    enum StarType : int { HiddenStar = 0, SurvivalStar = 1, SpeedStar = 2 };

    virtual void handleEvent(kvengine::CCNotification* notification);
    /// The notification to observe (null in this kind).
    virtual kvengine::CCString* getEventName() { return nullptr; }
    /// 3 in this kind, which reads as the speed star.
    virtual int getStarType() { return 3; }

protected:
    bool registerObservers() override;
};

/// Completes at the first delivery of the notification named by getEventName.
class KVAchievementSimpleEvent : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementSimpleEvent, KVAchievement)

    virtual void handleEvent(kvengine::CCNotification* notification);
    /// The notification to observe (null in this kind).
    virtual kvengine::CCString* getEventName() { return nullptr; }

protected:
    bool registerObservers() override;
};
