#pragma once

// The achievements that one notification decides: the five recruits, the three chapter stars, the
// four single-notification ones, and the boss, kraken and miracle-tentacle ones.

#include "game/achievements/KVAchievement.h"

class KVAchievementTheUntouchable : public KVAchievementRecruit {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementTheUntouchable, KVAchievementRecruit)
    std::string getIdentifier() override { return "1066542"; }
    std::string getKelvoName() override { return "sammo"; }
};

class KVAchievementTheUnforgiven : public KVAchievementRecruit {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementTheUnforgiven, KVAchievementRecruit)
    std::string getIdentifier() override { return "1066552"; }
    std::string getKelvoName() override { return "clint"; }
};

class KVAchievementTheWeird : public KVAchievementRecruit {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementTheWeird, KVAchievementRecruit)
    std::string getIdentifier() override { return "1066562"; }
    std::string getKelvoName() override { return "kapono"; }
};

class KVAchievementTheProud : public KVAchievementRecruit {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementTheProud, KVAchievementRecruit)
    std::string getIdentifier() override { return "1066572"; }
    std::string getKelvoName() override { return "vesper"; }
};

class KVAchievementTheKinky : public KVAchievementRecruit {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementTheKinky, KVAchievementRecruit)
    std::string getIdentifier() override { return "1066582"; }
    std::string getKelvoName() override { return "venus"; }
};

/// Every mission of a chapter has its hidden star.
class KVAchievementCallMeIndie : public KVAchievementStar {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementCallMeIndie, KVAchievementStar)
    std::string getIdentifier() override { return "1066602"; }
    kvengine::CCString* getEventName() override;
    int getStarType() override { return HiddenStar; }
};

/// Every mission of a chapter has its speed star.
class KVAchievementCallMeFlash : public KVAchievementStar {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementCallMeFlash, KVAchievementStar)
    std::string getIdentifier() override { return "1066612"; }
    kvengine::CCString* getEventName() override;
    int getStarType() override { return SpeedStar; }
};

/// Every mission of a chapter has its survival star.
class KVAchievementCallMeBarlok : public KVAchievementStar {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementCallMeBarlok, KVAchievementStar)
    std::string getIdentifier() override { return "1066622"; }
    kvengine::CCString* getEventName() override;
    int getStarType() override { return SurvivalStar; }
};

/// Watches the action events but counts nothing yet: it never completes.
class KVAchievementKissMyKelvo : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementKissMyKelvo, KVAchievement)
    std::string getIdentifier() override { return "1066692"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

protected:
    bool registerObservers() override;
};

/// The coconut-crab boss is dead.
class KVAchievementKrabbyPatty : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementKrabbyPatty, KVAchievement)
    std::string getIdentifier() override { return "1066632"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

protected:
    bool registerObservers() override;
};

/// The kraken was called.
class KVAchievementTolpeWasRight : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementTolpeWasRight, KVAchievement)
    std::string getIdentifier() override { return "1066642"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

protected:
    bool registerObservers() override;
};

/// The miracle tentacle was set off.
class KVAchievementHolyKelvo : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementHolyKelvo, KVAchievement)
    std::string getIdentifier() override { return "1066652"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

protected:
    bool registerObservers() override;
};

class KVAchievementSeafoodPorridge : public KVAchievementSimpleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementSeafoodPorridge, KVAchievementSimpleEvent)
    std::string getIdentifier() override { return "1066672"; }
    kvengine::CCString* getEventName() override;
};

class KVAchievementDontRunNearThePool : public KVAchievementSimpleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementDontRunNearThePool, KVAchievementSimpleEvent)
    std::string getIdentifier() override { return "1066682"; }
    kvengine::CCString* getEventName() override;
};

class KVAchievementKungFuKelvo : public KVAchievementSimpleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementKungFuKelvo, KVAchievementSimpleEvent)
    std::string getIdentifier() override { return "1066702"; }
    kvengine::CCString* getEventName() override;
};

/// Nothing in the game posts its notification.
class KVAchievementSocialKelvo : public KVAchievementSimpleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementSocialKelvo, KVAchievementSimpleEvent)
    std::string getIdentifier() override { return "1108312"; }
    kvengine::CCString* getEventName() override;
};
