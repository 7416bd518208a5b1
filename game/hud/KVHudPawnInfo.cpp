#include "game/hud/KVHudPawnInfo.h"

#include <string>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/pawns/KVPawn.h"

using namespace kvengine;

namespace {

constexpr int kBackgroundZ = 1;
constexpr int kIconZ = 2;
constexpr const char* kCounterFont = "Junction 02.ttf";
constexpr float kCounterSize = 16.0f;
// Where the dash button (and the background it replaces while the kelvo moves) stands.
const CCPoint kDashButtonPosition(40.0f, 37.0f);

// One ability group of the panel: its flag, its picture, its tags and what its counter shows.
struct Ability {
    bool (KVPawn::*has)() const;
    const char* icon;
    int backgroundTag;
    bool counted;
    bool dashes; ///< the counter shows the dashes left (else the attack charges)
};

const Ability kAbilities[] = {
    {&KVPawn::hasDashAbility, "KV_IconeTorpedo.png", KVHudPawnInfo::kDashBackground, true, true},
    {&KVPawn::hasAOEAttack, "KV_IconeDestroyer.png", KVHudPawnInfo::kAreaBackground, true, false},
    {&KVPawn::hasDistanceAttack, "KV_IconeFrigate.png", KVHudPawnInfo::kDistanceBackground, true, false},
    {&KVPawn::hasHealingPower, "KV_IconeZodiac.png", KVHudPawnInfo::kHealBackground, false, false},
};

CCSprite* panelSprite(const char* frame) {
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame);
    if (sprite == nullptr) logDebugMessage("hud: no frame \"%s\" for the pawn panel", frame);
    return sprite;
}

CCLabelTTF* counterLabel(int value) {
    return CCLabelTTF::createWithString(std::to_string(value).c_str(), kCounterFont, kCounterSize);
}

} // namespace

KVHudPawnInfo::KVHudPawnInfo(KVPawn* pawn, float x, float y) {
    (void)x;
    (void)y;
    if (init()) setupForPawn(pawn);
    m_dashButtonShown = false;
}

void KVHudPawnInfo::cleanupBeforeDelete() {
    removeAllChildren(true);
    m_pawn.reset();
    KVLayer::cleanupBeforeDelete();
}

void KVHudPawnInfo::setupForPawn(KVPawn* pawn) {
    m_pawn = pawn;
    if (pawn == nullptr) return;
    // The old icons fade out; for a player's pawn they first give their tags up to the new ones.
    for (int tag = kDashBackground; tag <= kHealIcon; ++tag) {
        CCNode* child = getChildByTag(tag);
        if (child == nullptr) continue;
        if (!pawn->isAIDriven()) child->setTag(tag + kFadingTagShift);
        child->stopAllActions();
        child->runAction(CCSequence::createWithActions(
            CCFadeOut::createWithDuration(kFade),
            CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVHudPawnInfo::removeFaded))));
    }
    m_dashButtonShown = false;
    if (pawn->isAIDriven()) return;
    CCPoint p(35.0f, 35.0f);
    for (const Ability& ability : kAbilities) {
        if (!(pawn->*ability.has)()) continue;
        CCSprite* background = panelSprite("KV_FondIconeHud.png");
        CCSprite* icon = panelSprite(ability.icon);
        CCNode* counter = nullptr;
        if (ability.counted) {
            counter = counterLabel(ability.dashes ? pawn->getDashesLeft() : pawn->getAttackCharges());
            if (counter != nullptr) counter->setPosition(CCPoint(p.x + 16.0f, p.y + 10.0f));
        }
        if (background != nullptr) {
            background->setPosition(CCPoint(p.x + 5.0f, p.y + 2.0f));
            addChildAtZWithTag(background, kBackgroundZ, ability.backgroundTag);
        }
        if (icon != nullptr) {
            icon->setPosition(p);
            addChildAtZWithTag(icon, kIconZ, ability.backgroundTag + 1);
        }
        if (counter != nullptr) addChildAtZWithTag(counter, kIconZ, ability.backgroundTag + 2);
        for (CCNode* node : {static_cast<CCNode*>(background), static_cast<CCNode*>(icon), counter}) {
            if (node == nullptr) continue;
            if (CCRGBAProtocol* rgba = node->asRGBAProtocol()) rgba->setOpacity(0);
            node->runAction(CCFadeIn::createWithDuration(kFade));
        }
        if (ability.backgroundTag != kHealBackground) p.x += 50.0f;
    }
}

void KVHudPawnInfo::removeFaded(CCNode* node) {
    if (node != nullptr) node->removeFromParent(false);
}

void KVHudPawnInfo::setCounter(int tag, int value) {
    CCNode* child = getChildByTag(tag);
    if (child == nullptr) return;
    if (CCLabelProtocol* label = child->asLabelProtocol()) label->setString(std::to_string(value).c_str());
}

void KVHudPawnInfo::refreshCounters() {
    if (m_pawn == nullptr) return;
    if (m_pawn->hasDashAbility()) {
        setCounter(kDashCounter, m_pawn->getDashesLeft());
        CCNode* icon = getChildByTag(kDashIcon);
        if (m_pawn->getDashesLeft() > 0 && m_pawn->getBodySpeed() > 0.0f) {
            if (!m_dashButtonShown) {
                CCSprite* up = panelSprite("KV_BTDashUp.png");
                CCSprite* down = panelSprite("KV_BTDashDown.png");
                CCMenuItemSprite* item = up != nullptr && down != nullptr
                                             ? CCMenuItemSprite::createWithSprites(up, down)
                                             : nullptr;
                CCMenu* menu = item != nullptr ? CCMenu::createWithItems(item, nullptr) : nullptr;
                if (menu != nullptr) {
                    m_dashButtonShown = true;
                    removeChildByTag(kDashBackground, true);
                    if (icon != nullptr) icon->setVisible(false);
                    menu->setTouchEnabled(true);
                    menu->setTouchSize(CCSize(0.01f, 0.01f));
                    menu->setPosition(kDashButtonPosition);
                    addChildAtZWithTag(menu, kBackgroundZ, kDashBackground);
                }
            }
        } else if (m_dashButtonShown) {
            m_dashButtonShown = false;
            if (icon != nullptr) icon->setVisible(true);
            removeChildByTag(kDashBackground, true);
            if (CCSprite* background = panelSprite("KV_FondIconeHud.png")) {
                background->setPosition(kDashButtonPosition);
                addChildAtZWithTag(background, kBackgroundZ, kDashBackground);
            }
        }
    }
    if (m_pawn->hasAOEAttack()) setCounter(kAreaCounter, m_pawn->getAttackCharges());
    if (m_pawn->hasDistanceAttack()) setCounter(kDistanceCounter, m_pawn->getAttackCharges());
}
