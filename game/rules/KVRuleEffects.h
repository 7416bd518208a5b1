#pragma once

#include "game/rules/KVRuleEffect.h"

/// The effects a rule file can name ("EffectType"). Each does its work in its first update and
/// sets done; none keeps state between applications, so a rule that fires again applies them again.
/// Boolean parameters are read with CCString::toBool ("YES" or a non-zero number), numbers with atoi.

/// "mission_failed": the current mission's score manager declares the defeat.
class KVEffectMissionFailed : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectMissionFailed, KVRuleEffect)
    void update(float dt) override;
};

/// "trigger_enable" (trigger name, enable): posts "EVENT_TRIGGER_ENABLE" or "EVENT_TRIGGER_DISABLE"
/// with a KVTriggerEvent naming the trigger.
class KVEffectTriggerEnable : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectTriggerEnable, KVRuleEffect)

    KVEffectTriggerEnable() { m_parameterCount = 2; }
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    void update(float dt) override;

private:
    kvengine::CCString* m_triggerName = nullptr;
    bool m_enable = false;
};

/// "spawn_pawn" (spawner name, enemy, pawn name): posts "EVENT_SPAWN_PAWN" with a KVSpawnEvent; the
/// spawner of that name brings the pawn.
class KVEffectSpawnPawn : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectSpawnPawn, KVRuleEffect)

    KVEffectSpawnPawn() { m_parameterCount = 3; }
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    void update(float dt) override;

    /// The pawn it brings (null before initialisation) and whether it comes for the enemy side.
    kvengine::CCString* getPawnName() const { return m_pawnName; }
    bool isEnemy() const { return m_enemy; }

private:
    kvengine::CCString* m_spawnerName = nullptr;
    bool m_enemy = false;
    kvengine::CCString* m_pawnName = nullptr;
};

/// "start_chatter" (dialogue identifier): ends a running dialogue, then loads and starts the named
/// one through the dialogue service.
class KVEffectStartChatter : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectStartChatter, KVRuleEffect)

    KVEffectStartChatter() { m_parameterCount = 1; }
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    void update(float dt) override;

private:
    kvengine::CCString* m_chatterIdentifier = nullptr;
};

/// "victory_enable" (enable): switches the victory test of the current mission's score manager.
class KVEffectVictoryModeEnable : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectVictoryModeEnable, KVRuleEffect)

    KVEffectVictoryModeEnable() { m_parameterCount = 1; }
    bool initWithParameters(Parameters* parameters) override;
    void update(float dt) override;

private:
    bool m_enable = false;
};

/// "rule_enable" (rule index, enable): enables or disables the rule at that index of the running
/// mission's rules; an index outside the list is ignored (logged). With enable true the rule also
/// starts disabled when the file is loaded.
class KVEffectRuleEnable : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectRuleEnable, KVRuleEffect)

    KVEffectRuleEnable() { m_parameterCount = 2; }
    bool initWithParameters(Parameters* parameters) override;
    void update(float dt) override;

    bool isEnable() const { return m_enable; }
    int getRuleIndex() const { return m_ruleIndex; }

private:
    bool m_enable = false;
    int m_ruleIndex = 0;
};

/// "mission_objective" (text key): the game setup's mission objective becomes the localised text,
/// looked up when the rule file is loaded.
class KVEffectMissionObjective : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectMissionObjective, KVRuleEffect)

    KVEffectMissionObjective() { m_parameterCount = 1; }
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    void update(float dt) override;

    kvengine::CCString* getObjective() const { return m_objective; }

private:
    kvengine::CCString* m_objective = nullptr;
};

/// "play_music" (music event name): plays the game music.
class KVEffectPlayMusic : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectPlayMusic, KVRuleEffect)

    KVEffectPlayMusic() { m_parameterCount = 1; }
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    void update(float dt) override;

private:
    kvengine::CCString* m_musicName = nullptr;
};

/// "stop_music": stops the game music.
class KVEffectStopMusic : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectStopMusic, KVRuleEffect)
    void update(float dt) override;
};

/// "go_to_menu": leaves the mission for the world map, recording the mission and its chapter as
/// played and unlocking the chapter's next mission (none after the last), then saving the profile.
/// The game setup's chapter name and spare name become empty. No result screen, no pearls banked.
/// The way back to the menus (releasing the dialogues' host, the loading screen) lives above this
/// floor: the application installs it with setMenuReturn.
class KVEffectGoToMenu : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVEffectGoToMenu, KVRuleEffect)

    using MenuReturn = void (*)();
    static void setMenuReturn(MenuReturn menuReturn) { s_menuReturn = menuReturn; }

    void update(float dt) override;

private:
    inline static MenuReturn s_menuReturn = nullptr;
};
