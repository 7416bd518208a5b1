#pragma once

// The achievements that the training of a creature decides ("Menu - Train Kelvo - Confirm", object:
// the trained creature's name). They read the player profile as it is after the training.

#include "game/achievements/KVAchievement.h"

/// The trained creature has passed level 10.
class KVAchievementYodaIsMyFather : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementYodaIsMyFather, KVAchievement)
    std::string getIdentifier() override { return "1066712"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

    static constexpr int kLevelAbove = 10;

protected:
    bool registerObservers() override;
};

/// Seven creatures have been trained to level 11 or more from a start level of 10 or less.
class KVAchievementLegendaryArmy : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementLegendaryArmy, KVAchievement)
    std::string getIdentifier() override { return "1066722"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

    static constexpr int kLegendaryLevel = 11;
    static constexpr int kArmySize = 7;

protected:
    bool registerObservers() override;
};
