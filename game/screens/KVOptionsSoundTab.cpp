// The sound tab of the options screen: the effects and music sliders and the soundtrack button.
#include <algorithm>
#include <cmath>

#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/screens/KVOptionsScreenView.h"
#include "game/sound/KVSoundManager.h"

using namespace kvengine;

namespace {

constexpr const char* kFont = "fonts/Kelvos-Kelvos.ttf";
constexpr float kFontSize = 24;
constexpr float kKnobMoveSeconds = 0.1f;
constexpr ccColor3B kPressedLinkColour{255, 162, 0};

CCSprite* frameSprite(const char* name, CCPoint at) {
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(name);
    if (sprite == nullptr) return nullptr;
    sprite->setAnchorPoint(CCPoint(0.5f, 0.5f));
    sprite->setPosition(at);
    return sprite;
}

KVLabelWithShadow* label(const char* key, CCPoint anchor, CCPoint at) {
    KVLabelWithShadow* text =
        KVLabelWithShadow::createWithString(localizeString(kvdata::newString(key)), kFont, kFontSize);
    if (text == nullptr) return nullptr;
    text->setAnchorPoint(anchor);
    text->setPosition(at);
    return text;
}

} // namespace

float KVOptionsScreenView::sliderValue(float x, float trackX, float trackWidth) {
    if (trackWidth <= 0) return 0;
    return (x - trackX + trackWidth / 2) / trackWidth;
}

float KVOptionsScreenView::knobX(float value, float trackX, float trackWidth) {
    return trackX + (value - 0.5f) * trackWidth;
}

void KVOptionsScreenView::showSoundTab() {
    switchTab(kSoundMode);
    CCLayer* layer = newTabLayer();
    if (layer == nullptr) return;

    const bool wide = isWideWindow();
    // The rows hang from the upper panel: 367 on the wide window, 399 on the narrow one.
    const float m = wide ? 367 : 399;
    const float trackX = wide ? 529.5f : 465.5f;
    const float labelX = wide ? 336.5f : 272.5f;
    const float effectsY = wide ? m - 160 + 140 : m - 180 + 32 + 140;
    const float musicY = wide ? m - 180 - 40 + 140 : m - 180 - 60 + 32 + 140;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    struct Row {
        const char* track;
        int trackTag;
        int knobTag;
        const char* key;
        float y;
        float value;
    };
    for (const Row& row : {Row{"KV_Track_SFX.png", kEffectsTrackTag, kEffectsKnobTag, "OPTION SOUND SFX",
                               effectsY, profile->getSfxVolume()},
                           Row{"KV_Track_Music.png", kMusicTrackTag, kMusicKnobTag, "OPTION SOUND MUSIC",
                               musicY, profile->getMusicVolume()}}) {
        if (CCSprite* track = frameSprite(row.track, CCPoint(trackX, row.y))) {
            layer->addChildAtZWithTag(track, 2, row.trackTag);
            const float value = std::clamp(row.value, 0.0f, 1.0f);
            const float x = knobX(value, trackX, track->getContentSize().width);
            if (CCSprite* knob = frameSprite("KV_BT_Slider_UP.png", CCPoint(x, row.y)))
                layer->addChildAtZWithTag(knob, 3, row.knobTag);
        }
        if (KVLabelWithShadow* text = label(row.key, CCPoint(0.5f, 0.5f), CCPoint(labelX, row.y)))
            layer->addChildAtZ(text, 0);
    }

    CCSprite* normal = CCSprite::createWithSpriteFrameName("Bt_OST.png");
    CCSprite* pressed = CCSprite::createWithSpriteFrameName("Bt_OST.png");
    CCMenuItemSprite* item =
        normal != nullptr && pressed != nullptr
            ? CCMenuItemSprite::createWithSpritesAndTarget(
                  normal, pressed, this, menu_selector(KVOptionsScreenView::openSoundtrackPage))
            : nullptr;
    CCMenu* menu = item != nullptr ? CCMenu::createWithItems(item, nullptr) : nullptr;
    if (menu != nullptr) {
        item->setAnchorPoint(CCPoint(0.5f, 0.5f));
        menu->setPosition(CCPoint(labelX, wide ? 225 : 257));
        layer->addChildAtZWithTag(menu, 3, kSoundtrackButtonTag);
    }
    KVLabelWithShadow* link =
        label("DOWNLOAD_SOUNDTRACK", CCPoint(0, 0.5f), wide ? CCPoint(395, 225) : CCPoint(331, 257));
    if (link != nullptr) layer->addChildAtZWithTag(link, 3, kSoundtrackLabelTag);
    if (menu != nullptr && link != nullptr) {
        // The button also covers its label.
        const CCSize image = normal->getContentSize();
        const float labelWidth = link->getContentSize().width;
        item->setContentSize(CCSize(image.width + labelWidth + 59, image.height));
        menu->setPosition(CCPoint(link->getPosition().x + labelWidth / 2 - 29, link->getPosition().y));
    }
    addChildAtZWithTag(layer, 3, kTabLayerTag);
    m_mode = kSoundMode;
}

void KVOptionsScreenView::openSoundtrackPage(CCObject* sender) {
    (void)sender;
    if (CCNode* layer = getTabLayer()) {
        if (auto* link = static_cast<KVLabelWithShadow*>(layer->getChildByTag(kSoundtrackLabelTag)))
            link->setColor(kPressedLinkColour);
    }
    openPage(kSoundtrackPage);
}

bool KVOptionsScreenView::sliderTouchBegan(const CCPoint& point) {
    CCNode* layer = getTabLayer();
    const struct {
        int trackTag;
        int knobTag;
        int dragState;
    } sliders[] = {{kEffectsTrackTag, kEffectsKnobTag, kDraggingEffects},
                   {kMusicTrackTag, kMusicKnobTag, kDraggingMusic}};
    for (const auto& slider : sliders) {
        CCNode* track = layer != nullptr ? layer->getChildByTag(slider.trackTag) : nullptr;
        if (track == nullptr) continue;
        const CCSize size = track->getContentSize();
        const CCPoint at = track->getPosition();
        if (std::abs(point.x - at.x) >= size.width / 2 || std::abs(point.y - at.y) >= 3 * size.height)
            continue;
        m_dragState = slider.dragState;
        if (CCNode* knob = layer->getChildByTag(slider.knobTag))
            knob->runAction(CCMoveBy::createWithDurationPosition(
                kKnobMoveSeconds, CCPoint(point.x - knob->getPosition().x, 0)));
        if (slider.dragState == kDraggingMusic)
            applyMusicValue(std::clamp(sliderValue(point.x, at.x, size.width), 0.0f, 1.0f));
        return true;
    }
    m_dragState = kIdle;
    return false;
}

float KVOptionsScreenView::placeKnob(int trackTag, int knobTag, const CCPoint& point) {
    CCNode* layer = getTabLayer();
    CCNode* track = layer != nullptr ? layer->getChildByTag(trackTag) : nullptr;
    if (track == nullptr) return -1;
    const float width = track->getContentSize().width;
    const float value = std::clamp(sliderValue(point.x, track->getPosition().x, width), 0.0f, 1.0f);
    if (CCNode* knob = layer->getChildByTag(knobTag)) {
        knob->stopAllActions();
        knob->setPosition(CCPoint(knobX(value, track->getPosition().x, width), knob->getPosition().y));
    }
    return value;
}

void KVOptionsScreenView::applyMusicValue(float value) {
    KVSoundManager* sound = KVSoundManager::getInstance();
    sound->musicVolume = value * value;
    KVPlayerParameters::getInstance()->setMusicVolume(value);
    sound->applyCategoryVolumes();
}

void KVOptionsScreenView::sliderTouchMoved(const CCPoint& point) {
    if (m_dragState == kDraggingEffects) {
        (void)placeKnob(kEffectsTrackTag, kEffectsKnobTag, point);
        return;
    }
    const float value = placeKnob(kMusicTrackTag, kMusicKnobTag, point);
    if (value >= 0) applyMusicValue(value);
}

void KVOptionsScreenView::sliderTouchEnded(const CCPoint& point) {
    KVSoundManager* sound = KVSoundManager::getInstance();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (m_dragState == kDraggingEffects) {
        const float value = placeKnob(kEffectsTrackTag, kEffectsKnobTag, point);
        if (value < 0) return;
        sound->effectsVolume = value * value;
        profile->setSfxVolume(value);
        profile->saveProfile();
        sound->applyCategoryVolumes();
        sound->playPawnHitPawn();
        return;
    }
    const float value = placeKnob(kMusicTrackTag, kMusicKnobTag, point);
    if (value < 0) return;
    sound->musicVolume = value * value;
    profile->setMusicVolume(value);
    profile->saveProfile();
    sound->applyCategoryVolumes();
}
