// The HUD's consumables bar: a toggle in the top-left corner under which the player's consumables
// sit shrunk; opened, they fly out into one or two rows. Each button uses its consumable, shows how
// many are left, greys out while it cannot be used and goes when the last one is spent.
#include <string>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVConsumableUse.h"
#include "game/hud/KVHudLayer.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/results/KVResultScreens.h"

using namespace kvengine;

namespace {

// Indices into the HUD's consumable arrays (KVHudLayer::kConsumableNames order).
constexpr int kMiracle = 0;
constexpr int kKraken = 1;
constexpr int kGrip = 2;
constexpr int kCocktail = 3;
constexpr int kSushi = 4;
constexpr int kShuriken = 5;
// The open bar's slot order.
constexpr int kSlotOrder[KVHudLayer::kConsumableCount] = {kGrip,     kMiracle, kKraken,
                                                          kCocktail, kSushi,   kShuriken};

constexpr float kMove = 0.2f;
constexpr float kClosedScale = 0.1f;
constexpr int kBarChildZ = 1000;
constexpr int kCountZ = 1001;
constexpr const char* kCountFont = "Junction 02";

const SEL_MenuHandler kHandlers[KVHudLayer::kConsumableCount] = {
    menu_selector(KVHudLayer::useMiracleTentacles),
    menu_selector(KVHudLayer::useKraken),
    menu_selector(KVHudLayer::useTentacleGrip),
    menu_selector(KVHudLayer::useCocktail),
    menu_selector(KVHudLayer::useSushi),
    menu_selector(KVHudLayer::useShuriken)};

CCSprite* barSprite(const std::string& frame) {
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame.c_str());
    if (sprite == nullptr) logDebugMessage("hud: no frame \"%s\" for the consumables bar", frame.c_str());
    return sprite;
}

CCFiniteTimeAction* moveAndScale(const CCPoint& to, float scale) {
    return CCSpawn::createWithTwoActions(CCMoveTo::createWithDurationPosition(kMove, to),
                                         CCScaleTo::createWithDurationScale(kMove, scale));
}

float imageHeight(CCMenuItemSprite* button) {
    CCNode* image = button != nullptr ? button->getNormalImage() : nullptr;
    return image != nullptr ? image->getContentSize().height : 0.0f;
}

int amountOf(int index) {
    return KVPlayerParameters::getInstance()->getConsumableAmount(KVHudLayer::kConsumableNames[index]);
}

} // namespace

CCPoint KVHudLayer::getBarOrigin() const {
    return CCPoint(35.5f, CCDirector::getInstance()->getWinSize().height / 2 + 265.0f);
}

CCPoint KVHudLayer::barSlot(int k, float wrapHeight) const {
    const CCPoint origin = getBarOrigin();
    if (k < 3) return CCPoint(origin.x + 60.0f + 60.0f * k, origin.y);
    return CCPoint(origin.x + 90.0f + 60.0f * (k - 3), origin.y - wrapHeight);
}

void KVHudLayer::buildConsumablesBar(const CCSize&) {
    if (!kvconsumables::hasAnyInStock()) return;
    m_barOpen = false;
    const CCPoint origin = getBarOrigin();
    CCSprite* up = barSprite("KV_Bt_consumablesUP.png");
    CCSprite* down = barSprite("KV_Bt_consumablesDown.png");
    if (up == nullptr || down == nullptr) return;
    CCMenuItemSprite* toggle = CCMenuItemSprite::createWithSpritesAndTarget(
        up, down, this, menu_selector(KVHudLayer::toggleConsumablesBar));
    if (toggle == nullptr) return;
    // The toggle answers on twice its picture in both directions, the picture centred in it.
    const CCSize image = up->getContentSize();
    const CCSize item(image.width * 2, image.height * 2);
    toggle->setContentSize(item);
    for (CCSprite* picture : {up, down}) {
        picture->setAnchorPoint(CCPoint(0.5f, 0.5f));
        picture->setPosition(CCPoint(item.width / 2, item.height / 2));
    }
    toggle->setEnabled(true);
    toggle->setPosition(CCPointZero);
    CCMenu* toggleMenu = CCMenu::createWithItems(toggle, nullptr);
    CCNode* bar = CCNode::create();
    if (toggleMenu == nullptr || bar == nullptr) return;
    toggleMenu->setPosition(origin);
    toggleMenu->setTouchEnabled(true);
    toggleMenu->setTouchSize(CCSize(0.01f, 0.01f));
    bar->setTouchSize(CCSize(0.01f, 0.01f));
    m_bar = bar;
    addChildAtZ(m_bar, 1001);
    m_bar->addChildAtZ(toggleMenu, 1001);
    m_barToggle = toggle;

    m_inventoryLabel =
        KVLabelWithShadow::createWithString(kvresults::localised("Hud Inventory label"), kGameFont, 16.0f);
    m_inventoryLabel->setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_inventoryLabel->setPosition(origin);
    m_inventoryLabel->setScale(kClosedScale);
    m_bar->addChildAtZ(m_inventoryLabel, kBarChildZ);

    for (int i = 0; i < kConsumableCount; ++i) {
        const std::string name = kConsumableNames[i];
        if (kvconsumables::inStock(name)) {
            CCSprite* normal = barSprite(name + "_game.png");
            CCSprite* selected = barSprite(name + "_game.png");
            CCSprite* disabled = barSprite(name + "_game_disabled.png");
            CCMenuItemSprite* button = normal != nullptr && selected != nullptr && disabled != nullptr
                                           ? CCMenuItemSprite::createWithSpritesDisabledAndTarget(
                                                 normal, selected, disabled, this, kHandlers[i])
                                           : nullptr;
            CCMenu* menu = button != nullptr ? CCMenu::createWithItems(button, nullptr) : nullptr;
            if (menu != nullptr) {
                button->setEnabled(false);
                button->setScale(kClosedScale);
                button->setPosition(origin);
                menu->setPosition(CCPointZero);
                menu->setTouchEnabled(true);
                menu->setTouchSize(CCSize(0.01f, 0.01f));
                m_bar->addChildAtZ(menu, kBarChildZ);
                m_consumableButtons[i] = button;
                if (amountOf(i) > 1) {
                    KVLabelWithShadow* count = KVLabelWithShadow::createWithStdString(
                        std::to_string(amountOf(i)), kCountFont, 16.0f);
                    count->setAnchorPoint(CCPoint(0.5f, 0.5f));
                    count->setScale(kClosedScale);
                    count->setPosition(origin);
                    m_bar->addChildAtZ(count, kCountZ);
                    m_consumableCounts[i] = count;
                }
            }
        }
        if (i == kGrip) {
            // The full-window effect pictures of the tentacles (the kraken's is never shown).
            const CCSize window = CCDirector::getInstance()->getWinSize();
            kvengine::CCRetained<CCSprite>* effects[] = {&m_krakenEffect, &m_miracleEffect, &m_gripEffect};
            const char* frames[] = {"mighty_kraken_game.png", "miracle_tentacle_final_game.png",
                                    "tentacle_grip_game.png"};
            for (int e = 0; e < 3; ++e) {
                CCSprite* effect = barSprite(frames[e]);
                if (effect == nullptr) continue;
                effect->setAnchorPoint(CCPointZero);
                effect->setPosition(CCPoint(window.width / 2, window.height / 2));
                effect->setVisible(false);
                *effects[e] = effect;
                addChildAtZ(effect, 1000);
            }
        }
    }
}

void KVHudLayer::toggleConsumablesBar(CCObject*) {
    if (m_bar == nullptr || isGamePaused()) return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT);
    const CCPoint origin = getBarOrigin();
    if (!m_barOpen) {
        int k = 0;
        float wrapHeight = 0.0f;
        for (int index : kSlotOrder) {
            CCMenuItemSprite* button = m_consumableButtons[index];
            if (button == nullptr) continue;
            if (k == 2) wrapHeight = imageHeight(button);
            const CCPoint slot = barSlot(k, wrapHeight);
            const CCPoint shift(slot.x - button->getPosition().x, slot.y - button->getPosition().y);
            button->stopAllActions();
            button->runAction(moveAndScale(slot, 1.0f));
            if (KVLabelWithShadow* count = m_consumableCounts[index]) {
                // The count's top-right corner on the button's top-right corner.
                const CCSize b = button->getContentSize();
                const CCSize c = count->getContentSize();
                const CCPoint to(count->getPosition().x + shift.x + (b.width - c.width) / 2,
                                 count->getPosition().y + shift.y + (b.height - c.height) / 2);
                count->stopActionsWithOutline();
                count->runActionWithOutline(moveAndScale(to, 1.0f));
            }
            ++k;
        }
        if (m_inventoryLabel != nullptr) {
            CCSprite* fresh = CCSprite::createWithSpriteFrameName("KV_Bt_consumablesUP.png");
            const float toggleHeight = fresh != nullptr ? fresh->getContentSize().height : 0.0f;
            const CCPoint under(origin.x,
                                origin.y - toggleHeight / 2 - m_inventoryLabel->getContentSize().height / 2);
            m_inventoryLabel->runActionWithOutline(moveAndScale(under, 1.0f));
        }
        m_barOpen = true;
        return;
    }
    for (int i = 0; i < kConsumableCount; ++i) {
        if (CCMenuItemSprite* button = m_consumableButtons[i]) {
            button->stopAllActions();
            button->runAction(moveAndScale(origin, kClosedScale));
        }
        if (KVLabelWithShadow* count = m_consumableCounts[i])
            count->runActionWithOutline(moveAndScale(origin, kClosedScale));
    }
    if (m_inventoryLabel != nullptr)
        m_inventoryLabel->runActionWithOutline(moveAndScale(origin, kClosedScale));
    m_barOpen = false;
}

void KVHudLayer::useConsumable(int index, bool tentacle) {
    if (tentacle && isGamePaused()) return;
    kvconsumables::use(kConsumableNames[index]);
    // A tentacle's button changes at the end of its effect.
    if (!tentacle) updateConsumableButton(index);
}

void KVHudLayer::useMiracleTentacles(CCObject*) {
    useConsumable(kMiracle, true);
}
void KVHudLayer::useTentacleGrip(CCObject*) {
    useConsumable(kGrip, true);
}
void KVHudLayer::useKraken(CCObject*) {
    useConsumable(kKraken, false);
}
void KVHudLayer::useCocktail(CCObject*) {
    useConsumable(kCocktail, false);
}
void KVHudLayer::useSushi(CCObject*) {
    useConsumable(kSushi, false);
}
void KVHudLayer::useShuriken(CCObject*) {
    useConsumable(kShuriken, false);
}

void KVHudLayer::updateConsumableButton(int index) {
    CCMenuItemSprite* button = m_consumableButtons[index];
    if (button == nullptr) return;
    const std::string name = kConsumableNames[index];
    if (kvconsumables::inStock(name)) {
        if (!kvconsumables::canUse(name)) button->setEnabled(false);
        const int amount = amountOf(index);
        kvengine::CCRetained<KVLabelWithShadow>& count = m_consumableCounts[index];
        if (amount > 1 && count != nullptr) {
            count->setString(std::to_string(amount).c_str());
        } else if (amount == 1 && count != nullptr) {
            count->removeFromParent(true);
            count.reset();
        }
        return;
    }
    button->setEnabled(false);
    button->runAction(CCSequence::createWithActions(
        CCFadeOut::createWithDuration(kMove),
        CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVHudLayer::removeConsumableButton))));
    m_consumableButtons[index].reset();
}

void KVHudLayer::removeConsumableButton(CCNode* sender) {
    // The button sits in a menu of its own: the menu goes with it.
    CCNode* menu = sender != nullptr ? sender->getParent() : nullptr;
    if (menu != nullptr) menu->removeFromParent(false);
    relayoutConsumableButtons();
}

void KVHudLayer::startTentacleEffect(CCSprite* effect, SEL_CallFunc end) {
    if (effect == nullptr) {
        (this->*end)();
        return;
    }
    effect->setScale(kClosedScale);
    effect->setVisible(true);
    effect->runAction(CCSequence::createWithActions(CCScaleTo::createWithDurationScale(0.8f, 4.0f),
                                                    CCCallFunc::createWithTargetSelector(this, end)));
}

void KVHudLayer::onConsumableStartHudFxMiracleTentacles(CCNotification*) {
    startTentacleEffect(m_miracleEffect, callfunc_selector(KVHudLayer::endMiracleTentaclesEffect));
}

void KVHudLayer::onConsumableStartHudFxTentacleGrip(CCNotification*) {
    startTentacleEffect(m_gripEffect, callfunc_selector(KVHudLayer::endTentacleGripEffect));
}

void KVHudLayer::endTentacleEffect(CCSprite* effect, int index, int otherIndex) {
    if (effect != nullptr) {
        effect->setVisible(false);
        effect->stopAllActions();
    }
    kvconsumables::triggerPendingTentacle();
    updateConsumableButton(index);
    CCMenuItemSprite* other = m_consumableButtons[otherIndex];
    if (other != nullptr && !kvconsumables::canUse(kConsumableNames[otherIndex])) other->setEnabled(false);
}

void KVHudLayer::endMiracleTentaclesEffect() {
    endTentacleEffect(m_miracleEffect, kMiracle, kGrip);
}

void KVHudLayer::endTentacleGripEffect() {
    endTentacleEffect(m_gripEffect, kGrip, kMiracle);
}

void KVHudLayer::relayoutConsumableButtons() {
    const CCPoint origin = getBarOrigin();
    CCPoint offset(60.0f, 0.0f);
    int count = 0;
    if (m_consumableButtons[kGrip] != nullptr) {
        offset = CCPoint(120.0f, 0.0f);
        count = 1;
    }
    for (int index : {kMiracle, kKraken, kCocktail, kSushi, kShuriken}) {
        CCMenuItemSprite* button = m_consumableButtons[index];
        if (button == nullptr) continue;
        const CCPoint to(origin.x + offset.x, origin.y + offset.y);
        const CCPoint shift(to.x - button->getPosition().x, to.y - button->getPosition().y);
        button->runAction(CCMoveTo::createWithDurationPosition(kMove, to));
        if (KVLabelWithShadow* label = m_consumableCounts[index])
            label->runActionWithOutline(CCMoveBy::createWithDurationPosition(kMove, shift));
        ++count;
        offset.x += 60.0f;
        if (count == 3) offset = CCPoint(90.0f, -imageHeight(button));
    }
    if (count > 0) return;
    for (CCNode* node : {static_cast<CCNode*>(m_barToggle), static_cast<CCNode*>(m_inventoryLabel)}) {
        if (node == nullptr) continue;
        CCFiniteTimeAction* fade = CCSequence::createWithActions(
            CCFadeOut::createWithDuration(kMove),
            CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVHudLayer::removeFaded)));
        if (node == m_inventoryLabel) {
            m_inventoryLabel->runActionWithOutline(fade);
        } else {
            node->runAction(fade);
        }
    }
}

void KVHudLayer::removeFaded(CCNode* node) {
    if (node != nullptr) node->removeFromParent(false);
}

void KVHudLayer::refreshConsumableButtons() {
    for (int index : kSlotOrder) {
        CCMenuItemSprite* button = m_consumableButtons[index];
        if (button != nullptr && kvconsumables::inStock(kConsumableNames[index]))
            button->setEnabled(kvconsumables::canUse(kConsumableNames[index]));
    }
}
