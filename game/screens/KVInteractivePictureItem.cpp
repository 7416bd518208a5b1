#include "game/screens/KVInteractivePictureItem.h"

#include <cstdlib>
#include <string>

#include "engine/actions/CCCallFunc.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/base/CCWideFormat.h"
#include "engine/director/CCDirector.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVWorldMapScreenView.h"

using namespace kvengine;

namespace {

constexpr float kTitleSize = 20.0f;
constexpr float kCaptionSize = 16.0f;
constexpr float kCarouselTop = 335.0f;

CCString* localised(const char* key) {
    CCString* text = CCLocalizationManager::getInstance()->stringForKey(key);
    return text != nullptr ? text : kvdata::newString(key);
}

KVLabelWithShadow* caption(const char* key) {
    KVLabelWithShadow* label =
        KVLabelWithShadow::createWithString(localised(key), PRODUCT_FONT_NAME, kCaptionSize);
    label->setAnchorPoint(CCPoint(0.5f, 0.5f));
    label->setColor(ccColor3B{255, 255, 255});
    return label;
}

} // namespace

KVInteractivePictureItem* KVInteractivePictureItem::createWithMissions(kvdata::Dict* missions) {
    auto* panel = new KVInteractivePictureItem();
    if (!panel->initWithMissions(missions)) {
        panel->release();
        return nullptr;
    }
    panel->autorelease();
    return panel;
}

bool KVInteractivePictureItem::initWithMissions(kvdata::Dict* missions) {
    if (!init()) return false;
    if (missions != nullptr) missions->retain();
    if (m_missions != nullptr) m_missions->release();
    m_missions = missions;
    const CCSize win = CCDirector::getInstance()->getWinSize();

    m_carousel =
        KVScrollScalableItem::createWithItems(missions, kScanCount, KVScrollScalableItem::kMissionBubbles);
    if (m_carousel != nullptr) {
        const float y = kCarouselTop - m_carousel->getAnchorPoint().y * m_carousel->getContentSize().height;
        m_carousel->setPosition(CCPoint(getContentSize().width * 0.0625f, y));
        addChildAtZWithTag(m_carousel, 1, m_carousel->getTag());
    }

    KVLabelWithShadow* title = KVLabelWithShadow::createWithStdString("", PRODUCT_FONT_NAME, kTitleSize);
    title->setAnchorPoint(CCPoint(0.5f, 0.5f));
    title->setColor(ccColor3B{255, 255, 255});
    title->setOpacity(255);
    title->setPosition(CCPoint(win.width / 2, win.height / 3 + 10));
    addChildAtZWithTag(title, 2, kTitleTag);

    CCSprite* zone = CCSprite::createWithSpriteFrameName("KV_ZoneStarFound.png");
    if (zone == nullptr) return true; // logged by the frame cache; the panel shows no stars
    zone->setAnchorPoint(CCPoint(0.5f, 0.5f));
    const CCPoint zoneAt(win.width / 2, win.height / 3 - 60);
    zone->setPosition(zoneAt);
    addChildAtZWithTag(zone, 0, kZoneTag);
    const float quarter = zone->getContentSize().width / 4;
    const CCPoint starAt[3] = {CCPoint(zoneAt.x - quarter, zoneAt.y + 10),
                               CCPoint(win.width / 2, zoneAt.y + 10),
                               CCPoint(zoneAt.x + quarter, zoneAt.y + 10)};
    const int firstTag[3] = {kSecretMissingTag, kSurvivalMissingTag, kSpeedMissingTag};
    const char* const captions[3] = {"WorldMap_Screen_Secret_label", "WorldMap_Screen_Survival_label",
                                     "WorldMap_Screen_Speed_label"};
    for (int i = 0; i < 3; ++i) {
        if (CCSprite* missing = CCSprite::createWithSpriteFrameName("KV_StarNotFound.png")) {
            missing->setPosition(starAt[i]);
            addChildAtZWithTag(missing, 1, firstTag[i]);
        }
        if (CCSprite* earned = CCSprite::createWithSpriteFrameName("KV_StarFound.png")) {
            earned->setPosition(starAt[i]);
            addChildAtZWithTag(earned, 2, firstTag[i] + 1);
        }
        KVLabelWithShadow* label = caption(captions[i]);
        label->setPosition(CCPoint(starAt[i].x, starAt[i].y - 23));
        addChildAtZWithTag(label, 2, firstTag[i] + 2);
    }
    return true;
}

void KVInteractivePictureItem::cleanupBeforeDelete() {
    if (m_missions != nullptr) m_missions->release();
    m_missions = nullptr;
    m_carousel = nullptr;
    KVMenuItem::cleanupBeforeDelete();
}

CCString* KVInteractivePictureItem::keyForItemNumber(int number) {
    for (const std::string& key : kvdata::keysOf(m_missions)) {
        kvdata::Dict* entry = kvdata::dictAt(m_missions, key);
        if (entry != nullptr && std::atoi(kvdata::textAt(entry, "item_number").c_str()) == number)
            return kvdata::newString(key);
    }
    return nullptr;
}

void KVInteractivePictureItem::showMission(CCNode* node, void* data) {
    (void)node;
    if (data == nullptr) return;
    const int index = static_cast<CCValue<int>*>(data)->value;
    // The bubble at that display position names its mission: positions skip the hidden missions,
    // so they are not item numbers.
    CCString* key = m_carousel != nullptr ? m_carousel->keyAtPosition(index) : nullptr;
    kvdata::Dict* entry = key != nullptr ? kvdata::dictAt(m_missions, key->c_str()) : nullptr;
    std::string title;
    bool secret = false, survival = false, speed = false, hide = false;
    int speedFigure = 0;
    if (entry != nullptr) {
        CCString* text = CCLocalizationManager::getInstance()->stringForKey(key->c_str());
        title = text != nullptr ? text->c_str() : key->c_str();
        secret = kvdata::intAt(entry, "hidden_locked", 1) == 0;
        survival = kvdata::intAt(entry, "surviva_locked", 1) == 0;
        speed = kvdata::intAt(entry, "speed_locked", 1) == 0;
        speedFigure = kvdata::intAt(entry, "speed_number");
        KVPlayerParameters::getInstance()->setLastPlayedMission(key);
        hide = kvdata::boolAt(entry, "hideStarPanel", false);
    }
    if (CCNode* label = getChildByTag(kTitleTag))
        static_cast<KVLabelWithShadow*>(label)->setString(title.c_str());
    const bool earned[3] = {secret, survival, speed};
    const int firstTag[3] = {kSecretMissingTag, kSurvivalMissingTag, kSpeedMissingTag};
    for (int i = 0; i < 3; ++i) {
        if (CCNode* missing = getChildByTag(firstTag[i])) missing->setVisible(!earned[i]);
        if (CCNode* got = getChildByTag(firstTag[i] + 1)) got->setVisible(earned[i]);
    }
    if (CCNode* label = getChildByTag(kSpeedCaptionTag)) {
        CCString* speedCaption = localised("WorldMap_Screen_Speed_label");
        char16_t buffer[256];
        formatWideString(buffer, sizeof buffer / sizeof buffer[0], u"%s (%i)", speedCaption->makeWideString(),
                         speedFigure);
        static_cast<KVLabelWithShadow*>(label)->setWideString(buffer);
    }
    if (hide) {
        for (int tag : {12, 13, 15, 16, 18, 19, 20, 14, 17, 1})
            if (CCNode* child = getChildByTag(tag)) child->setVisible(false);
    } else {
        for (int tag : {20, 14, 17, 1})
            if (CCNode* child = getChildByTag(tag)) child->setVisible(true);
    }
}

void KVInteractivePictureItem::missionActivated(CCNode* node, void* missionName) {
    (void)node;
    CCNode* map = getParent();
    if (map == nullptr || !map->isKindOf("KVWorldMapScreenView")) return;
    runAction(CCCallFuncND::createWithTargetSelectorData(
        map, callfuncND_selector(KVWorldMapScreenView::missionChosen), missionName));
}
