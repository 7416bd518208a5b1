#include "game/rules/KVRuleCombo.h"

#include <algorithm>

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVPearl.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;

namespace {

// Points and pearls by the number of counted actions, capped at 5.
constexpr int kAreaTable[6] = {0, 0, 0, 30, 60, 100};
constexpr int kMeleeTable[6] = {0, 0, 10, 10, 10, 10};
constexpr int kHealTable[6] = {0, 0, 20, 20, 20, 20};

int capped(int counter) {
    return std::max(0, std::min(counter, 5));
}

// The chain's total so far: what each counted action added (the table's last entry beyond it),
// so a sticker of a melee or heal chain shows 10, 20, 30 ... while each pearl stays the table's.
int runningSum(const int (&table)[6], int counter) {
    int sum = 0;
    for (int i = 0; i <= counter; ++i)
        sum += i <= 5 ? table[i] : table[5];
    return sum != 0 ? sum : table[capped(counter)];
}

} // namespace

// ---- KVRuleCombo

KVRuleCombo::KVRuleCombo(int type) : m_type(type) {
    m_name = new kvengine::CCString("Undefined");
    m_pawns = new kvengine::CCMutableArray<KVPawn*>();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVRuleCombo::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVRuleCombo::onMoveOver), EVENT_MOVE_OVER);
    centre->addObserver(this, notification_selector(KVRuleCombo::onStartTurn), EVENT_START_TURN);
}

void KVRuleCombo::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    setComboPawn(nullptr);
    if (m_name != nullptr) m_name->release();
    m_name = nullptr;
    if (m_pawns != nullptr) m_pawns->release();
    m_pawns = nullptr;
    KVRule::cleanupBeforeDelete();
}

void KVRuleCombo::setComboPawn(KVPawn* pawn) {
    if (pawn != nullptr) pawn->retain();
    if (m_comboPawn != nullptr) m_comboPawn->release();
    m_comboPawn = pawn;
}

void KVRuleCombo::addPawn(KVPawn* pawn, bool unique) {
    if (pawn == nullptr || m_pawns == nullptr) return;
    if (unique && m_pawns->containsObject(pawn)) return;
    m_pawns->addObject(pawn);
}

void KVRuleCombo::onFired() {
    kvengine::CCMutableArray<KVRuleCondition*>* conditions = getConditions();
    if (conditions == nullptr) return;
    for (unsigned i = 0; i < conditions->count(); ++i) {
        KVRuleCondition* condition = conditions->objectAtIndex(i);
        if (condition->isKindOf("KVRuleConditionCombo"))
            static_cast<KVRuleConditionCombo*>(condition)->onComboFired();
    }
}

void KVRuleCombo::onRemoveActor(CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object != nullptr && object == m_comboPawn) setComboPawn(nullptr);
}

void KVRuleCombo::onMoveOver(CCNotification* notification) {
    (void)notification;
    kvengine::CCMutableArray<KVRuleCondition*>* conditions = getConditions();
    if (conditions != nullptr)
        for (unsigned i = 0; i < conditions->count(); ++i) {
            KVRuleCondition* condition = conditions->objectAtIndex(i);
            if (condition->isKindOf("KVRuleConditionCombo"))
                static_cast<KVRuleConditionCombo*>(condition)->reset();
        }
    if (m_pawns != nullptr) m_pawns->removeAllObjects();
    counter = 0;
}

void KVRuleCombo::onStartTurn(CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    setComboPawn(object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr);
}

// ---- KVRuleConditionCombo

void KVRuleConditionCombo::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_combo = nullptr;
    KVRuleCondition::cleanupBeforeDelete();
}

void KVRuleConditionCombo::observeActions() {
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVRuleConditionCombo::onAction), EVENT_ACTION);
}

// ---- KVRuleEffectCombo

void KVRuleEffectCombo::cleanupBeforeDelete() {
    m_combo = nullptr;
    KVRuleEffect::cleanupBeforeDelete();
}

KVEffectComboPearl::Reward KVEffectComboPearl::rewardFor(int type, int counter) {
    const int n = capped(counter);
    switch (type) {
    case kComboAreaAttack:
        return {"quake_shot.png", kAreaTable[n], kAreaTable[n]};
    case kComboMelee: {
        const char* sticker = counter <= 2   ? "double_bounce.png"
                              : counter == 3 ? "triple_bounce.png"
                                             : "super_bounce.png";
        return {sticker, runningSum(kMeleeTable, counter), kMeleeTable[n]};
    }
    case kComboHeal:
        return {"double_kiss.png", runningSum(kHealTable, counter), kHealTable[n]};
    case kComboNinjaLog:
        return {"big_bluff.png", 50, 50};
    case kComboDistanceAttack:
        return {"eagle_shot.png", 20, 20};
    case kComboSpikyShell:
        return {"team_trick.png", 20, 20};
    case kComboBounceKick:
        return {"bounce_kick.png", 5, 5};
    default:
        return {"Undefined", 0, 0};
    }
}

void KVEffectComboPearl::update(float dt) {
    (void)dt;
    done = true;
    if (m_combo == nullptr) return;
    const Reward reward = rewardFor(m_combo->getType(), m_combo->counter);
    KVActionEvent* event =
        KVActionEvent::create(KVActionEvent::Combo, reward.points, 0.0f, m_combo->getComboPawn(), nullptr);
    auto* text = new kvengine::CCString(reward.sticker);
    event->setText(text);
    text->release();
    // Held through the post: an observer may end the combo's mission.
    m_combo->retain();
    CCNotificationCenter::getInstance()->postNotification(EVENT_ACTION, event);
    kvengine::CCMutableArray<KVPawn*>* pawns = m_combo->getPawns();
    KVPawn* source =
        pawns != nullptr && pawns->count() > 0 ? pawns->objectAtIndex(pawns->count() - 1) : nullptr;
    auto* pearl = new KVPearl(source, reward.pearl, KVActionEvent::ComboPearls);
    pearl->autorelease();
    m_combo->release();
}
