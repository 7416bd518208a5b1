#include "game/menu/KVPearlCountItem.h"

#include <cmath>
#include <string>

#include "engine/base/CCLog.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/sound/KVSoundManager.h"

using namespace kvengine;

namespace {
constexpr float kLargeFontSize = 20.0f;
constexpr float kSmallFontSize = 18.0f;
constexpr ccColor3B kLargeColour{255, 162, 0};
constexpr ccColor3B kSmallColour{255, 255, 0};
constexpr float kStepSeconds = 0.012f;
constexpr float kTickSeconds = 0.09f;
// A gain of this many pearls is counted in one second; fewer take less (logarithmically).
constexpr float kPearlsPerSecond = 300.0f;
} // namespace

KVPearlCountItem* KVPearlCountItem::createLarge() {
    auto* item = new KVPearlCountItem();
    item->autorelease();
    item->initLarge();
    return item;
}

KVPearlCountItem* KVPearlCountItem::createSmall() {
    auto* item = new KVPearlCountItem();
    item->autorelease();
    item->initSmall();
    return item;
}

KVPearlCountItem::KVPearlCountItem() {
    init();
}

void KVPearlCountItem::initLarge() {
    build(kLargeFontSize, kLargeColour);
}

void KVPearlCountItem::initSmall() {
    build(kSmallFontSize, kSmallColour);
}

void KVPearlCountItem::build(float fontSize, const ccColor3B& colour) {
    m_shownAmount = KVPlayerParameters::getInstance()->getPearlAmount();
    m_remaining = 0;
    KVLabelWithShadow* label =
        KVLabelWithShadow::createWithStdString(std::to_string(m_shownAmount), HUD_FONT->c_str(), fontSize);
    label->setColor(colour);
    CCSprite* icon = CCSprite::createWithSpriteFrameName("KV_Perl2.png");
    const CCSize iconSize = icon != nullptr ? icon->getContentSize() : CCSizeZero;
    const float width = label->getContentSize().width + 10 + iconSize.width * 0.5f;
    setContentSize(CCSize(width, iconSize.height));
    addChildAtZWithTag(label, 2, kLabelTag);
    // The text ends 20 points left of the item's right edge, the icon overlapping its end.
    label->setPosition(CCPoint(width - 20, 7.5f));
    label->setAnchorPoint(CCPoint(1, 0.5f));
    if (icon == nullptr) return; // logged by the frame cache
    addChildAtZ(icon, 1);
    icon->setPosition(CCPoint(width - 6, 8.5f));
    icon->setAnchorPoint(CCPoint(0.5f, 0.5f));
}

void KVPearlCountItem::startCountUp() {
    const int target = KVPlayerParameters::getInstance()->getPearlAmount();
    const bool counting = m_remaining != 0;
    m_remaining = target - m_shownAmount;
    if (!counting) schedule(schedule_selector(KVPearlCountItem::update), kStepSeconds);
    // Not a number for a loss, minus infinity for no change: update then takes what is left at once.
    m_countBudget = std::log(static_cast<float>(m_remaining)) / std::log(kPearlsPerSecond);
}

void KVPearlCountItem::update(float dt) {
    m_elapsed += dt;
    if (dt == 0.0f) return;
    if (m_countBudget < dt) m_countBudget = dt;
    if (m_remaining == 0) {
        unscheduleAllSelectors();
        return;
    }
    int step = m_remaining < 0 ? m_remaining
                               : static_cast<int>(dt * static_cast<float>(m_remaining) / m_countBudget);
    if (m_remaining > 0 && step > m_remaining) step = m_remaining;
    m_shownAmount += step;
    m_remaining -= step;
    showAmount();
    m_countBudget -= dt;
    if (m_lastTickTime == 0.0f || m_elapsed - m_lastTickTime > kTickSeconds) {
        m_lastTickTime = m_elapsed;
        KVSoundManager::getInstance()->playPearlPickup();
    }
}

void KVPearlCountItem::showAmount() {
    CCNode* label = getChildByTag(kLabelTag);
    if (label != nullptr && label->asLabelProtocol() != nullptr)
        label->asLabelProtocol()->setString(std::to_string(m_shownAmount).c_str());
}
