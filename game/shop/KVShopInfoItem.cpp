#include "game/shop/KVShopInfoItem.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemFont.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVDoubleTapHint.h"
#include "game/menu/KVLocalizedFormat.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/shop/KVShopInfoItemLayout.h"

using namespace kvengine;
using kvdata::Dict;
using namespace kvshoplayout;

namespace {

constexpr float kIdleFrameSeconds = 0.083f;

struct ClassStat {
    const char* className;
    const char* helmetStat;
    const char* creatureStat;
    const char* labelKey;
};
constexpr ClassStat kClassStats[] = {
    {"Frigate", "Push Off Coef Target", "DMG Target", "Kelvo stats: Push of coef target"},
    {"Destroyer", "Push Off Coef AoE", "DMG AoE", "Kelvo stats: Push of coef AOE"},
    {"Zodiac", "Heal", "Heal", "Kelvo stats: heal"},
    {"Torpedo", "Dash Per Turn", "Dash Per Turn", "Kelvo stats: dash"},
};

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A localised text, or the key itself (a label never gets a null text).
CCString* textOrKey(const std::string& key) {
    CCString* text = getLocalizedString(key);
    return text != nullptr ? text : kvdata::newString(key);
}

// The localised text of `key` filled with one integer when it takes one, else as it is; null
// without a key.
CCString* withQuantity(CCString* key, int quantity) {
    if (key == nullptr) return nullptr;
    CCString* message = localizeString(key);
    if (const char16_t* wide = message->makeWideString();
        wide != nullptr && kvformat::formatTakes(wide, {quantity}))
        return kvformat::formatLocalized(key->c_str(), {quantity});
    return message;
}

} // namespace

KVShopInfoItem* KVShopInfoItem::createWithEntry(Dict* entry, int mode, int category) {
    auto* panel = new KVShopInfoItem();
    panel->initWithEntry(entry, mode, category);
    panel->autorelease();
    return panel;
}

KVShopInfoItem::KVShopInfoItem() = default;

void KVShopInfoItem::initWithEntry(Dict* entry, int mode, int category) {
    (void)init();
    if (entry != nullptr) entry->retain();
    if (m_entry != nullptr) m_entry->release();
    m_entry = entry;
    setContentSize(CCSize(480, 320));
    m_confirm = false;
    m_category = category;
    if (entry == nullptr || mode != 1) return;
    if (m_loadedSheets == nullptr) {
        m_loadedSheets = kvdata::newDict();
        m_loadedSheets->retain();
    }
    switch (category) {
    case kConsumable:
        buildConsumable();
        break;
    case kHelmet:
        buildHelmet();
        break;
    case kCreature:
        buildCreature();
        break;
    default:
        logDebugMessage("shop panel: no category %d", category);
        break;
    }
}

void KVShopInfoItem::cleanupBeforeDelete() {
    // Every sheet this panel loaded, whether or not the catalogue knows the item.
    for (const std::string& name : kvdata::keysOf(m_loadedSheets))
        unloadSheet(kvdata::newString(name));
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_loadedSheets != nullptr) m_loadedSheets->release();
    if (m_entry != nullptr) m_entry->release();
    if (m_catalogueItem != nullptr) m_catalogueItem->release();
    m_loadedSheets = nullptr;
    m_entry = nullptr;
    m_catalogueItem = nullptr;
    KVMenuItem::cleanupBeforeDelete();
}

void KVShopInfoItem::setCatalogueItem(Dict* item) {
    if (item != nullptr) item->retain();
    if (m_catalogueItem != nullptr) m_catalogueItem->release();
    m_catalogueItem = item;
}

bool KVShopInfoItem::paidWithMoney() const {
    return m_catalogueItem != nullptr && kvdata::textAt(m_catalogueItem, "currency_identifier") != "pearl";
}

// ---- names ----

std::string KVShopInfoItem::menuSheetName(const std::string& sheetName) {
    if (endsWith(sheetName, "_frontend_ss")) return sheetName;
    std::string name = sheetName;
    replaceAll(name, "_ss", "_frontend_ss");
    return name;
}

std::string KVShopInfoItem::sheetFolder(const std::string& sheetName) {
    std::string folder = sheetName;
    replaceAll(folder, "_ss", "");
    replaceAll(folder, "_frontend", "");
    return folder;
}

std::string KVShopInfoItem::statText(float value) {
    char text[64];
    if (value > 0 && value < 1)
        std::snprintf(text, sizeof text, "  %2.0f%%", static_cast<double>(value * 100));
    else
        std::snprintf(text, sizeof text, "  %2.0f", static_cast<double>(value));
    return text;
}

// ---- sheets ----

std::string KVShopInfoItem::framesFile(const std::string& sheetName, const char* extension) const {
    if (KVGameSetup::getInstance()->getConfigBool("IgnoreOFXForPlists")) return sheetName + extension;
    return sheetFolder(sheetName) + "/" + sheetName + extension;
}

void KVShopInfoItem::loadSheet(CCString* sheetName) {
    const std::string name = sheetName != nullptr ? sheetName->c_str() : "";
    if (name.empty() || m_loadedSheets == nullptr || kvdata::hasKey(m_loadedSheets, name)) return;
    const std::string path = CCResourceIndex::getInstance()->pathForFileName(framesFile(name, ".plist"));
    std::error_code error;
    if (!std::filesystem::exists(fullPathForFile(path.c_str()), error)) {
        logDebugMessage("shop panel: no sprite sheet %s", path.c_str());
        return;
    }
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(path.c_str());
    kvdata::setText(m_loadedSheets, name, "");
}

void KVShopInfoItem::unloadSheet(CCString* sheetName) {
    const std::string name = sheetName != nullptr ? sheetName->c_str() : "";
    if (m_loadedSheets == nullptr || !kvdata::hasKey(m_loadedSheets, name)) return;
    CCResourceIndex* index = CCResourceIndex::getInstance();
    CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
        index->pathForFileName(framesFile(name, ".plist")).c_str());
    CCTextureCache::getInstance()->removeTextureForKey(
        index->pathForFileName(framesFile(name, ".pvr.ccz")).c_str());
    m_loadedSheets->removeObjectForKey(name);
}

// ---- pictures and labels ----

CCSprite* KVShopInfoItem::playIdleAnimation(CCString* spriteName, CCNode* parent) {
    const std::string name = spriteName != nullptr ? spriteName->c_str() : "";
    if (name.empty() || parent == nullptr) return nullptr;
    const int frames = KVGameParameters::getInstance()->getAnimSettingInt("kelvo", "idle");
    parent->removeChildByTag(kIdleTag, true);
    CCSprite* sprite = CCSprite::createWithSpriteFrameName((name + "_idle_01.png").c_str());
    if (sprite == nullptr) return nullptr;
    parent->addChildAtZWithTag(sprite, 2, kIdleTag);
    std::string pattern = name;
    replaceAll(pattern, "%", "%%");
    CCAnimation* animation = CCAnimation::createWithFrameNamePattern((pattern + "_idle_%.2d.png").c_str(), 1,
                                                                     frames, kIdleFrameSeconds);
    sprite->stopAllActions();
    sprite->runAction(
        CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(animation, false)));
    return sprite;
}

void KVShopInfoItem::addBackdrop() {
    if (CCSprite* motif = CCSprite::createWithSpriteFrameName("KV_MotifPerso.png")) {
        motif->setPosition(at(248, 293));
        addChildAtZWithTag(motif, 2, motif->getTag());
        motif->runAction(CCRepeatForever::createWithAction(CCRotateBy::createWithDurationAngle(10, 360)));
    }
}

void KVShopInfoItem::addTitle(CCString* title) {
    KVLabelWithShadow* label = title != nullptr
                                   ? KVLabelWithShadow::createWithString(title, kProductFont, 25)
                                   : KVLabelWithShadow::createWithStdString("", kProductFont, 25);
    label->setAnchorPoint(CCPoint(0.5f, 0.5f));
    label->setPosition(at(303.5f, 352));
    addChildAtZWithTag(label, 1, label->getTag());
}

void KVShopInfoItem::addUnavailableButton() {
    KVButton* button = KVButton::createWithText(textOf(textOrKey("Shop_Screen_Unavailable")), 0, 0,
                                                kUnavailableKind, nullptr, nullptr);
    if (button == nullptr) return;
    button->setPosition(at(307, 201));
    addChildAtZWithTag(button, 1, kButtonTag);
    if (KVButtonItem* item = button->getItem()) {
        item->setEnabled(false);
        item->setColor(kDimmed);
        item->setOpacity(kDimmedOpacity);
    }
    // The button takes no press; a touch on it only gets the refusal sound.
    setTouchEnabled(true);
}

void KVShopInfoItem::registerWithTouchDispatcher() {
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, CCMenu::kDefaultTouchPriority, true);
}

bool KVShopInfoItem::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    CCNode* button = getChildByTag(kButtonTag);
    if (!paidWithMoney() || button == nullptr || !button->isKindOf("KVButton")) return false;
    KVButtonItem* item = static_cast<KVButton*>(button)->getItem();
    if (item == nullptr) return false;
    const CCPoint point =
        item->convertToNodeSpace(CCDirector::getInstance()->convertToGL(touch->getLocationInView()));
    const CCSize size = item->getContentSize();
    if (point.x < 0 || point.y < 0 || point.x > size.width || point.y > size.height) return false;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_INVALIDATED, item);
    return true;
}

// ---- consumables ----

void KVShopInfoItem::buildConsumable() {
    const std::string name = kvdata::textAt(m_entry, "name");
    setCatalogueItem(KVKelvosOFXDelegate::getInstance()->findConsumableItem(name));
    if (m_catalogueItem == nullptr)
        logDebugMessage("shop panel: \"%s\" is not in the catalogue", name.c_str());
    const bool money = paidWithMoney();
    const std::string sprite = kvdata::textAt(m_entry, "sprite_name");
    if (CCSprite* picture = CCSprite::createWithSpriteFrameName((sprite + "_full.png").c_str())) {
        picture->setPosition(at(307, 287));
        addChildAtZWithTag(picture, 2, kPictureTag);
    }
    CCString* textName = kvdata::stringAt(m_entry, "text_name");
    const int quantity = kvdata::intAt(m_catalogueItem, "quantity");
    CCString* title = nullptr;
    CCString* description = nullptr;
    if (money) {
        description = withQuantity(textName, quantity);
        title = name == "Pearl Fish" || name == "pearlfish" ? getLocalizedString("pearlfish_name")
                                                            : localizeString(kvdata::newString(name));
    } else {
        title = getLocalizedString(name + "_name");
        if (title == nullptr) title = kvdata::newString("Unknow item");
        description = kvdata::textAt(m_entry, "Class") == "powerUpPack"
                          ? withQuantity(textName, quantity)
                          : (textName != nullptr ? localizeString(textName) : nullptr);
    }
    KVLabelWithShadow* titleLabel = title != nullptr
                                        ? KVLabelWithShadow::createWithString(title, kProductFont, 26)
                                        : KVLabelWithShadow::createWithStdString("", kProductFont, 26);
    titleLabel->setAnchorPoint(CCPoint(0.5f, 1));
    titleLabel->setPosition(at(306, 413.5f));
    titleLabel->setColor(ccColor3B{255, 255, 0});
    addChildAtZWithTag(titleLabel, 2, titleLabel->getTag());
    KVLabelWithShadow* text =
        description != nullptr
            ? KVLabelWithShadow::createWithStringInBox(description, kProductFont, 14, 240, 320.0f / 3)
            : KVLabelWithShadow::createWithStdStringInBox("", kProductFont, 14, 240, 320.0f / 3);
    text->setAnchorPoint(CCPoint(0.5f, 1));
    text->setPosition(at(306, 418));
    addChildAtZWithTag(text, 2, kDescriptionTag);

    if (m_catalogueItem == nullptr) return;
    if (money) {
        addUnavailableButton();
        return;
    }
    const int maximum = kvdata::intAt(m_entry, "max_amount");
    const int owned = KVPlayerParameters::getInstance()->getConsumableAmount(name);
    if (owned + quantity > maximum) return;
    if (KVButton* button =
            KVButton::createWithText(kvdata::textAt(m_catalogueItem, "cost"), 0, 0, kPriceKind, this,
                                     menu_selector(KVShopInfoItem::onBuyConsumablePressed))) {
        button->setPosition(at(307, 201));
        addChildAtZWithTag(button, 1, kButtonTag);
    }
}

// ---- helmets and creatures ----

void KVShopInfoItem::buildStats(bool helmet) {
    const std::string className = kvdata::textAt(m_entry, "Class");
    std::vector<std::pair<const char*, const char*>> rows = {
        {"HP", "HP"}, {"SP", "SP"}, {"DMG Melee", "Attack"}, {"Defense", "Defense"}};
    const ClassStat* classStat = nullptr;
    for (const ClassStat& row : kClassStats)
        if (className == row.className) classStat = &row;
    if (classStat != nullptr)
        rows.emplace_back(helmet ? classStat->helmetStat : classStat->creatureStat, classStat->labelKey);
    else
        logDebugMessage("shop panel: no class stat for the class \"%s\"", className.c_str());

    const float valueYs[] = {325, 308, 289, 271, 253};
    CCMenu* values = CCMenu::createWithItems(nullptr);
    CCMenuItemFont::setFontName(kPriceFont);
    CCMenuItemFont::setFontSize(15);
    for (size_t i = 0; i < rows.size(); ++i) {
        const float value = kvdata::floatAt(m_entry, rows[i].first);
        CCMenuItemFont* item = CCMenuItemFont::createWithString(kvdata::newString(statText(value)));
        item->setPosition(at(408.5f, valueYs[i]));
        if (value > 0 && value < 1) item->setContentSize(CCSize(item->getContentSize().width, 30));
        values->addChildAtZWithTag(item, 1, static_cast<int>(i) + 1);
    }
    CCMenu* labels = CCMenu::createWithItems(nullptr);
    CCMenuItemFont::setFontName(kProductFont);
    CCMenuItemFont::setFontSize(15);
    for (size_t i = 0; i < rows.size(); ++i) {
        CCMenuItemFont* item = CCMenuItemFont::createWithString(textOrKey(rows[i].second));
        item->setColor(ccColor3B{255, 255, 255});
        item->setAnchorPoint(CCPoint(0, 0.5f));
        item->setPosition(at(313, valueYs[i] + 0.5f));
        labels->addChild(item);
    }
    values->setPosition(CCPoint(0, 0));
    labels->setPosition(CCPoint(0, 0));
    addChildAtZWithTag(labels, 2, kPictureTag);
    addChildAtZWithTag(values, 2, kStatsValuesTag);
}

void KVShopInfoItem::buildHelmet() {
    const std::string sprite = kvdata::textAt(m_entry, "sprite_name");
    setCatalogueItem(KVKelvosOFXDelegate::getInstance()->findHelmetItem(sprite));
    const std::string sheet = menuSheetName(kvdata::textAt(m_entry, "spritesheet_name"));
    if (!sheet.empty()) loadSheet(kvdata::newString(sheet));
    addBackdrop();
    if (CCSprite* picture = CCSprite::createWithSpriteFrameName((sprite + "_idle_01.png").c_str())) {
        picture->setPosition(at(248, 293));
        addChildAtZWithTag(picture, 2, kHelmetPictureTag);
    }
    if (CCSprite* highlight = CCSprite::createWithSpriteFrameName("KV_hilightLongStats.png")) {
        highlight->setPosition(at(367.5f, 291));
        addChildAtZWithTag(highlight, 2, highlight->getTag());
    }
    buildStats(true);
    const std::string identifier =
        m_catalogueItem != nullptr ? kvdata::textAt(m_catalogueItem, "deliverable_identifier") : sprite;
    addTitle(KVKelvosOFXDelegate::getInstance()->itemTitle(identifier));
    if (paidWithMoney()) {
        addUnavailableButton();
        return;
    }
    const bool bypass = KVGameSetup::getInstance()->getConfigBool("IgnoreOFXForPlists");
    char price[32];
    std::snprintf(price, sizeof price, "%i", kvdata::intAt(m_entry, "cost"));
    const std::string text =
        m_catalogueItem != nullptr && !bypass ? kvdata::textAt(m_catalogueItem, "cost") : price;
    if (KVButton* button = KVButton::createWithText(text, 0, 0, kPriceKind, this,
                                                    menu_selector(KVShopInfoItem::onBuyHelmetPressed))) {
        button->setPosition(at(297, 201));
        addChildAtZWithTag(button, 1, kButtonTag);
    }
}

void KVShopInfoItem::buildCreature() {
    CCString* sprite = kvdata::stringAt(m_entry, "sprite_name");
    const std::string name = sprite != nullptr ? sprite->c_str() : "";
    setCatalogueItem(KVKelvosOFXDelegate::getInstance()->findKelvoItem(name));
    CCString* sheet = kvdata::stringAt(m_entry, "spritesheet_name");
    if (sheet != nullptr && !textOf(sheet).empty()) loadSheet(sheet);
    addBackdrop();
    if (CCSprite* idle = playIdleAnimation(sprite, this)) idle->setPosition(at(248, 293));
    if (CCSprite* highlight = CCSprite::createWithSpriteFrameName("KV_hilightLongStats.png")) {
        highlight->setPosition(at(367.5f, 291));
        addChildAtZWithTag(highlight, 2, highlight->getTag());
    }
    buildStats(false);
    const bool bypass = KVGameSetup::getInstance()->getConfigBool("IgnoreOFXForPlists");
    CCString* title = nullptr;
    if (m_catalogueItem == nullptr)
        title = kvdata::newString(name + " (not on OFX)");
    else if (!bypass)
        title = kvdata::stringAt(m_catalogueItem, "title");
    else
        title = KVKelvosOFXDelegate::getInstance()->itemTitle(
            kvdata::textAt(m_catalogueItem, "deliverable_identifier"));
    addTitle(title);
    if (paidWithMoney()) {
        addUnavailableButton();
    } else {
        std::string price;
        if (m_catalogueItem != nullptr && !bypass)
            price = kvdata::textAt(m_catalogueItem, "cost");
        else
            price = kvdata::hasKey(m_entry, "cost") ? kvdata::textAt(m_entry, "cost") : "Cost : todo";
        if (KVButton* button = KVButton::createWithText(
                price, 0, 0, kPriceKind, this, menu_selector(KVShopInfoItem::onRecruitKelvoPressed))) {
            button->setPosition(at(297, 201));
            addChildAtZWithTag(button, 1, kButtonTag);
        }
    }
    const std::vector<std::string> keys = KVPlayerParameters::getInstance()->getForcedStepConditionKeys();
    if (!name.empty() && std::find(keys.begin(), keys.end(), name) != keys.end())
        if (CCSprite* hint = createDoubleTapHint()) {
            hint->setPosition(at(297, 221));
            addChildAtZWithTag(hint, kHintZ, kHintTag);
        }
}
