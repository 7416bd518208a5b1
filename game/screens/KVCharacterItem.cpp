#include "game/screens/KVCharacterItem.h"

#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemFont.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVDoubleTapHint.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/menu/KVPortraitIcon.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/screens/KVEquipScreenView.h"
#include "game/screens/KVTroopsScreenView.h"

using namespace kvengine;

namespace {

const char* const kFontName = "fonts/Kelvos-Kelvos.ttf";
const char* const kKelvoSet = "kelvo";
constexpr int kTrainKind = 11;
constexpr int kMaxLevelKind = 12;
constexpr int kBrainwashKind = 13;
constexpr int kTransferKind = 24;
constexpr int kPearlCounterTag = 12;
constexpr int kHintZ = 1010;
constexpr float kFrameDelay = 0.083f;
constexpr float kRowStep = 0.3f;
constexpr int kPopUpKindBrainwash = 2;

CCPoint at(float x, float y) {
    return KVCharacterItem::layoutPoint(x, y);
}

CCPoint figurePoint() {
    return at(245.5f, 298);
}

const float kRowY[KVCharacterItem::kRowCount] = {332.5f, 314.5f, 296, 278.5f, 260};

std::string localisedText(const char* key) {
    CCString* text = getLocalizedString(key);
    return text != nullptr ? text->text : std::string(key);
}

/// The helmet table's row of the helmet, or null.
kvdata::Dict* helmetRow(const std::string& name) {
    return kvdata::dictAt(KVGameParameters::getInstance()->getHelmets(), name);
}

/// The count step of one row: calls the card's tickStat (or tickLastStat) with the node it runs on
/// and the amount, which the action owns: it lives as long as the action, however the action ends
/// (run, stopped, or its node destroyed first).
class KVStatTickAction : public CCCallFuncN {
public:
    static KVStatTickAction* create(KVCharacterItem* card, bool last, CCValue<int>* amount) {
        auto* action = new KVStatTickAction();
        (void)action->initWithTarget(card); // the card stays alive while the action exists
        action->m_card = card;
        action->m_last = last;
        action->m_amount = amount;
        amount->retain();
        action->autorelease();
        return action;
    }
    ~KVStatTickAction() override {
        if (m_amount != nullptr) m_amount->release();
    }
    void execute() override {
        if (m_last)
            m_card->tickLastStat(getTarget(), m_amount);
        else
            m_card->tickStat(getTarget(), m_amount);
    }

private:
    KVCharacterItem* m_card = nullptr;
    bool m_last = false;
    CCValue<int>* m_amount = nullptr;
};

} // namespace

// ---- names and keys ----

CCPoint KVCharacterItem::layoutPoint(float x, float y) {
    return CCDirector::wideScreen != 0 ? CCPoint(x + 64, y - 32) : CCPoint(x, y);
}

bool KVCharacterItem::isMysteryCreature(const std::string& name) {
    return name.find("quorrel") != std::string::npos;
}

std::string KVCharacterItem::valueKey(int row, const std::string& className) {
    switch (row) {
    case 1:
        return "HP";
    case 2:
        return "SP";
    case 3:
        return "DMG Melee";
    case 4:
        return "Defense";
    default:
        break;
    }
    if (className == "Frigate") return "DMG Target";
    if (className == "Destroyer") return "DMG AoE";
    if (className == "Zodiac") return "Heal";
    if (className == "Torpedo") return "Dash Per Turn";
    return "";
}

std::string KVCharacterItem::bonusKey(int row, const std::string& className) {
    if (row != kRowCount) return valueKey(row, className);
    if (className == "Frigate") return "Push Off Coef Target";
    if (className == "Destroyer") return "Push Off Coef AoE";
    return valueKey(row, className);
}

std::string KVCharacterItem::selectedName() const {
    return kvdata::textOf(KVMenuManager::getInstance()->getSelectedKelvoName());
}

std::string KVCharacterItem::creatureClass() const {
    const std::string own = kvdata::textAt(m_creatureStats, "Class");
    if (!own.empty()) return own;
    return kvdata::textAt(KVGameParameters::getInstance()->getKelvoStats(selectedName()), "Class");
}

int KVCharacterItem::recordLevel() const {
    return kvdata::intAt(KVPlayerParameters::getInstance()->getKelvoRecord(selectedName()), "level");
}

kvdata::Dict* KVCharacterItem::statsAtLevel(int level) const {
    kvdata::Dict* row = KVGameParameters::getInstance()->getKelvoStats(selectedName());
    if (row == nullptr) return kvdata::newDict();
    kvdata::Dict* copy = kvdata::asDict(kvdata::deepCopy(row));
    KVGameParameters::getInstance()->applyLevelUps(copy, level);
    return copy;
}

// ---- construction ----

KVCharacterItem* KVCharacterItem::createWithEntry(kvdata::Dict* creatureEntry) {
    auto* card = new KVCharacterItem();
    card->initWithEntry(creatureEntry);
    card->autorelease();
    return card;
}

void KVCharacterItem::initWithEntry(kvdata::Dict* creatureEntry) {
    (void)init();
    if (creatureEntry == nullptr) return;
    creatureEntry->retain();
    if (m_creatureStats != nullptr) m_creatureStats->release();
    m_creatureStats = creatureEntry;
    m_sheetsLoaded = kvdata::newDict();
    m_sheetsLoaded->retain();
    m_trainPreview = false;
    m_gainsFromTraining = false;
    setHelmetData(nullptr);
    m_shownValues = kvdata::newArray();
    m_shownValues->retain();

    if (CCString* sheet = kvdata::stringAt(creatureEntry, "spritesheet_name");
        sheet != nullptr && !sheet->text.empty())
        loadSpriteSheet(sheet);
    showFigure(kvdata::newString(kvdata::textAt(creatureEntry, "sprite_name")), kCreatureFigureTag, true);

    CCMenuItemFont::setFontName(kFontName);
    CCMenuItemFont::setFontSize(14);
    const std::string className = kvdata::textAt(creatureEntry, "Class");
    CCMenu* names = CCMenu::createWithItems(nullptr);
    const char* const keys[] = {"HP", "SP", "Attack", "Defense"};
    for (int row = 1; row <= kRowCount; ++row) {
        std::string key;
        if (row < kRowCount) {
            key = keys[row - 1];
        } else if (className == "Frigate") {
            key = "Kelvo stats: Push of coef target";
        } else if (className == "Destroyer") {
            key = "Kelvo stats: Push of coef AOE";
        } else if (className == "Zodiac") {
            key = "Kelvo stats: heal";
        } else if (className == "Torpedo") {
            key = "Kelvo stats: dash";
        }
        // A class without a fifth stat shows an empty fifth row.
        const std::string text = key.empty() ? std::string() : localisedText(key.c_str());
        if (CCMenuItemFont* item = CCMenuItemFont::createWithString(kvdata::newString(text))) {
            item->setAnchorPoint(CCPoint(0, 0.5f));
            item->setPosition(at(301, kRowY[row - 1]));
            names->addChildAtZWithTag(item, 0, row);
        }
    }
    names->setAnchorPoint(CCPointZero);
    names->setPosition(CCPointZero);
    addChildAtZWithTag(names, 2, kNameMenuTag);
    CCMenu* values = CCMenu::createWithItems(nullptr);
    values->setAnchorPoint(CCPointZero);
    values->setPosition(CCPointZero);
    addChildAtZWithTag(values, 2, kValueMenuTag);

    refreshStats();

    KVLabelWithShadow* name =
        KVLabelWithShadow::createWithStdString(KVTroopsScreenView::kelvoTitle(selectedName()), kFontName, 24);
    addChildAtZWithTag(name, 1, -1);
    name->setPosition(at(294, 391.5f));
    name->setAnchorPoint(CCPoint(0.5f, 0.5f));

    if (CCSprite* highlight = CCSprite::createWithSpriteFrameName("KV_hilightLevel.png")) {
        addChildAtZWithTag(highlight, 0, kLevelHighlightTag);
        highlight->setAnchorPoint(CCPoint(0.5f, 0.5f));
        highlight->setPosition(at(294, 391.5f - highlight->getContentSize().height));
    }
    addTrainButton();
    refreshLevelRow();

    // The consumable manager registers at its creation; made first, it handles the brainwash
    // before the card refreshes its level row.
    KVConsumableManager::ensureInstance();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVCharacterItem::onCharacterItemUpdateNeeded),
                        EVENT_CHARACTER_ITEM_UPDATE_NEEDED);
    centre->addObserver(this, notification_selector(KVCharacterItem::refreshLevelRow),
                        EVENT_BRAIN_WASH_TRIGGERED);
    centre->addObserver(this, notification_selector(KVCharacterItem::onTrainConfirmed),
                        SCREEN_MENU_TRAIN_KELVO_CONFIRM);
}

void KVCharacterItem::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_creatureStats != nullptr) unloadAllSpriteSheets();
    if (m_sheetsLoaded != nullptr) m_sheetsLoaded->release();
    if (m_creatureStats != nullptr) m_creatureStats->release();
    if (m_shownValues != nullptr) m_shownValues->release();
    m_sheetsLoaded = nullptr;
    m_creatureStats = nullptr;
    m_shownValues = nullptr;
    setHelmetData(nullptr);
    setChosenHelmetIcon(nullptr);
    KVMenuItem::cleanupBeforeDelete();
}

void KVCharacterItem::setHelmetData(kvdata::Dict* entry) {
    if (entry != nullptr) entry->retain();
    if (m_helmetData != nullptr) m_helmetData->release();
    m_helmetData = entry;
}

void KVCharacterItem::setChosenHelmetIcon(KVPortraitIcon* icon) {
    if (icon != nullptr) icon->retain();
    if (m_chosenHelmetIcon != nullptr) m_chosenHelmetIcon->release();
    m_chosenHelmetIcon = icon;
}

// ---- sprite sheets ----

void KVCharacterItem::loadSpriteSheet(CCString* sheetName) {
    if (sheetName == nullptr || sheetName->text.empty() || m_sheetsLoaded == nullptr) return;
    if (kvdata::hasKey(m_sheetsLoaded, sheetName->text)) return;
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string plist = sheetName->text + ".plist";
    if (!index->containsFileName(plist)) {
        logDebugMessage("character card: no sprite sheet \"%s\"", sheetName->c_str());
        return;
    }
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(plist).c_str());
    kvdata::setText(m_sheetsLoaded, sheetName->text, "");
}

void KVCharacterItem::unloadSpriteSheet(CCString* sheetName) {
    if (sheetName == nullptr || m_sheetsLoaded == nullptr || !kvdata::hasKey(m_sheetsLoaded, sheetName->text))
        return;
    CCResourceIndex* index = CCResourceIndex::getInstance();
    CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
        index->pathForFileName(sheetName->text + ".plist").c_str());
    const std::string texture = sheetName->text + ".pvr.ccz";
    if (index->containsFileName(texture))
        CCTextureCache::getInstance()->removeTextureForKey(index->pathForFileName(texture).c_str());
    m_sheetsLoaded->removeObjectForKey(sheetName->text);
}

CCString* KVCharacterItem::helmetSheet() const {
    CCString* sheet = kvdata::stringAt(m_helmetData, "spritesheet_name");
    if (sheet == nullptr) return nullptr;
    CCString* full = sheet->replaceOccurrences("_frontend_ss", "_ss");
    if (full == sheet) return sheet;
    // A replaced copy is ours: hand it to the pool.
    full->autorelease();
    return full;
}

void KVCharacterItem::unloadAllSpriteSheets() {
    const bool helmetShown = getChildByTag(kHelmetFigureTag) != nullptr;
    removeAllChildren(true);
    unloadSpriteSheet(kvdata::stringAt(m_creatureStats, "spritesheet_name"));
    if (helmetShown) unloadSpriteSheet(helmetSheet());
}

// ---- figures ----

CCSprite* KVCharacterItem::showFigure(CCString* spriteName, int figureTag, bool scaled) {
    if (spriteName == nullptr || spriteName->text.empty()) return nullptr;
    const int count = KVGameParameters::getInstance()->getAnimSettingInt(kKelvoSet, "idle");
    const std::string idle = spriteName->text + "_idle_%.2d.png";
    CCAnimation* animation = CCAnimation::createWithFrameNamePattern(idle.c_str(), 1, count, kFrameDelay);
    removeChildByTag(figureTag, true);
    const std::string first = spriteName->text + "_idle_01.png";
    CCSpriteFrame* frame = CCSpriteFrameCache::getInstance()->findSpriteFrameByName(first.c_str());
    if (frame == nullptr) return nullptr;
    CCSprite* sprite = CCSprite::createWithSpriteFrame(frame);
    if (figureTag == kCreatureFigureTag)
        addChildAtZWithTag(sprite, 2, kCreatureFigureTag);
    else if (figureTag == kHelmetFigureTag)
        addChildAtZWithTag(sprite, 3, kHelmetFigureTag);
    sprite->setScale(scaled ? KVGameParameters::getInstance()->getAnimScaleFactor(kKelvoSet) : 1.0f);
    sprite->setPosition(figurePoint());
    sprite->stopAllActions();
    sprite->runAction(
        CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(animation, false)));
    if (getChildByTag(kBackdropTag) == nullptr) {
        if (CCSprite* backdrop = CCSprite::createWithSpriteFrameName("KV_MotifPerso.png")) {
            addChildAtZWithTag(backdrop, 1, kBackdropTag);
            backdrop->setPosition(figurePoint());
            backdrop->runAction(
                CCRepeatForever::createWithAction(CCRotateBy::createWithDurationAngle(10, 360)));
        }
    }
    return sprite;
}

CCAction* KVCharacterItem::victoryAnimation(CCString* spriteName) {
    if (spriteName == nullptr || spriteName->text.empty()) return nullptr;
    const int count = KVGameParameters::getInstance()->getAnimSettingInt(kKelvoSet, "victory");
    const std::string pattern = spriteName->text + "_victory_%.2d.png";
    CCAnimation* animation = CCAnimation::createWithFrameNamePattern(pattern.c_str(), 1, count, kFrameDelay);
    return CCSequence::createWithTwoActions(CCAnimate::createWithAnimationRestore(animation, false),
                                            CCDelayTime::createWithDuration(0));
}

// ---- level row and buttons ----

void KVCharacterItem::addTrainButton() {
    const std::string name = selectedName();
    const bool belowMax = KVPlayerParameters::getInstance()->getKelvoLevel(name) <
                          KVGameParameters::getInstance()->getMaxKelvoLevel(kvdata::newString(name));
    KVButton* button = belowMax
                           ? KVButton::createWithText("Train", 0, 0, kTrainKind, this,
                                                      menu_selector(KVCharacterItem::trainPressed))
                           : KVButton::createWithText("Max Level", 0, 0, kMaxLevelKind, nullptr, nullptr);
    if (button == nullptr) return; // logged by the button
    m_gainsFromTraining = false;
    m_trainPreview = false;
    addChildAtZWithTag(button, 1, kTrainButtonTag);
    button->setPosition(at(297, 201));
}

void KVCharacterItem::refreshLevelRow(CCNotification* notification) {
    (void)notification;
    if (m_creatureStats == nullptr) return;
    const std::string name = selectedName();
    const int level = KVPlayerParameters::getInstance()->getKelvoLevel(name);
    const int max = KVGameParameters::getInstance()->getMaxKelvoLevel(kvdata::newString(name));
    if (getChildByTag(kLevelLabelTag) != nullptr) {
        removeChildByTag(kLevelLabelTag, true);
        removeChildByTag(kLevelValueTag, true);
    }
    KVLabelWithShadow* value = nullptr;
    if (isMysteryCreature(name)) {
        value = KVLabelWithShadow::createWithStdString(" ??", kFontName, 14);
    } else {
        char text[40];
        std::snprintf(text, sizeof text, " %d/%d", level, max);
        value = KVLabelWithShadow::createWithStdString(text, HUD_FONT->c_str(), 14);
    }
    KVLabelWithShadow* label = KVLabelWithShadow::createWithStdString(localisedText("Level"), kFontName, 18);
    addChildAtZWithTag(value, 1, kLevelValueTag);
    addChildAtZWithTag(label, 1, kLevelLabelTag);
    for (KVLabelWithShadow* each : {value, label}) {
        each->setColor(ccColor3B{255, 255, 255});
        each->setAnchorPoint(CCPoint(0.5f, 0.5f));
    }
    CCPoint highlight = at(294, 391.5f);
    if (CCNode* node = getChildByTag(kLevelHighlightTag)) highlight = node->getPosition();
    value->setPosition(CCPoint(highlight.x + label->getContentSize().width / 2, highlight.y - 2));
    label->setPosition(CCPoint(highlight.x - value->getContentSize().width / 2, highlight.y - 2));

    if (CCNode* train = getChildByTag(kTrainButtonTag)) {
        removeChild(train, true);
        addTrainButton();
    }
    updateBrainwashButton();
}

void KVCharacterItem::updateBrainwashButton() {
    const int level = recordLevel();
    const bool mystery = isMysteryCreature(selectedName());
    if (CCNode* button = getChildByTag(kBrainwashButtonTag)) {
        if (mystery || level == 1) removeChild(button, true);
        return;
    }
    if (!hasConsumableInStock(KV_BRAINWASH_CONSUMABLE) || mystery || level < 2) return;
    if (KVButton* button =
            KVButton::createWithLabel(localizeString(kvdata::newString("Brainwash")), 0, 0, kBrainwashKind,
                                      this, menu_selector(KVCharacterItem::brainwashPressed))) {
        addChildAtZWithTag(button, 1, kBrainwashButtonTag);
        button->setPosition(at(447, 201));
    }
}

// ---- stats ----

CCNode* KVCharacterItem::valueItem(int row) const {
    CCNode* menu = getChildByTag(kValueMenuTag);
    return menu != nullptr ? menu->getChildByTag(row) : nullptr;
}

std::string KVCharacterItem::valueText(int row) const {
    auto* item = dynamic_cast<CCMenuItemLabel*>(valueItem(row));
    auto* label = item != nullptr ? dynamic_cast<CCLabelTTF*>(item->getLabel()) : nullptr;
    return label != nullptr ? label->getString() : std::string();
}

void KVCharacterItem::placeValue(int row, const std::string& text) {
    CCNode* menu = getChildByTag(kValueMenuTag);
    if (menu == nullptr) return;
    menu->removeChildByTag(row, true);
    CCMenuItemFont* item = CCMenuItemFont::createWithString(kvdata::newString(text));
    if (item == nullptr) return;
    item->setAnchorPoint(CCPoint(0, 0.5f));
    float y = at(0, kRowY[row - 1]).y;
    if (CCNode* names = getChildByTag(kNameMenuTag))
        if (CCNode* name = names->getChildByTag(row)) y = name->getPosition().y;
    item->setPosition(CCPoint(at(388, 0).x, y));
    menu->addChildAtZWithTag(item, 1, row);
}

void KVCharacterItem::refreshStats() {
    if (m_creatureStats == nullptr) return;
    const std::string className = creatureClass();
    kvdata::Dict* stats = statsAtLevel(recordLevel());
    stats->retain();
    m_creatureStats->release();
    m_creatureStats = stats;
    m_shownValues->removeAllObjects();
    for (int row = 1; row <= kRowCount; ++row)
        m_shownValues->addObject(kvdata::newString(kvdata::textAt(stats, valueKey(row, className))));
    CCMenuItemFont::setFontName(HUD_FONT->c_str());
    CCMenuItemFont::setFontSize(12);
    const bool mystery = isMysteryCreature(selectedName());
    for (int row = 1; row <= kRowCount; ++row) {
        const std::string key = valueKey(row, className);
        char text[48];
        std::snprintf(text, sizeof text, "%.0f", kvdata::floatAt(stats, key));
        placeValue(row, mystery ? "??" : key.empty() ? "" : text);
    }
    setupWithEntry(nullptr);
}

void KVCharacterItem::removeGainLabels() {
    for (int row = 1; row <= kRowCount; ++row)
        removeChildByTag(kFirstGainLabelTag + row - 1, true);
}

void KVCharacterItem::addTransferButton() {
    KVButton* button =
        KVButton::createWithLabel(localizeString(kvdata::newString("Equip_screen Transfer button")), 0, 0,
                                  kTransferKind, this, menu_selector(KVCharacterItem::transferPressed));
    if (button == nullptr) return;
    addChildAtZWithTag(button, 1, kTransferButtonTag);
    button->setPosition(at(546, 392));
    if (KVButtonItem* item = button->getItem()) {
        if (CCSprite* hint = createDoubleTapHint()) {
            const CCSize size = item->getContentSize();
            hint->setPosition(CCPoint(size.width / 2, 3 * size.height / 4));
            item->addChildAtZWithTag(hint, kHintZ, -1);
        }
    }
}

void KVCharacterItem::setupWithEntry(kvdata::Dict* helmetEntry) {
    if (m_creatureStats == nullptr) return;
    if (m_helmetData != nullptr) unloadSpriteSheet(helmetSheet());
    if (helmetEntry != nullptr) setHelmetData(helmetEntry);
    const std::string creature = selectedName();
    const bool mystery = isMysteryCreature(creature);
    if (m_helmetData != nullptr) {
        if (CCString* sheet = helmetSheet(); sheet != nullptr && !sheet->text.empty()) loadSpriteSheet(sheet);
        showFigure(kvdata::stringAt(m_creatureStats, "sprite_name"), kCreatureFigureTag, true);
        showFigure(kvdata::stringAt(m_helmetData, "sprite_name"), kHelmetFigureTag, false);
        if (mystery) return;
        const std::string helmet = kvdata::textAt(m_helmetData, "sprite_name");
        if (KVPlayerParameters::getInstance()->isHelmetTransferred(helmet, creature)) {
            removeChildByTag(kTransferButtonTag, true);
        } else if (!m_trainPreview) {
            removeGainLabels();
            const std::string className = creatureClass();
            kvdata::Dict* row = helmetRow(helmet);
            for (int r = 1; r <= kRowCount; ++r) {
                const float bonus = kvdata::floatAt(row, bonusKey(r, className));
                if (bonus > 0) showStatBonus(bonus, r);
            }
            if (getChildByTag(kTransferButtonTag) == nullptr) addTransferButton();
        }
    }
    if (mystery) return;
    const std::string className = creatureClass();
    kvdata::Array* transferred = KVPlayerParameters::getInstance()->getTransferredHelmets(creature);
    for (int r = 1; r <= kRowCount; ++r) {
        const std::string key = bonusKey(r, className);
        if (key.empty()) continue;
        const float base = kvdata::floatAt(m_creatureStats, key);
        float total = base;
        if (m_helmetData != nullptr) {
            total += kvdata::floatAt(m_helmetData, key);
        } else if (transferred != nullptr) {
            for (unsigned i = 0; i < transferred->count(); ++i)
                total += kvdata::floatAt(helmetRow(kvdata::textOf(transferred, i)), key);
        }
        if (total <= base) continue;
        char text[48];
        std::snprintf(text, sizeof text, "%f", total);
        if (static_cast<unsigned>(r - 1) < m_shownValues->count())
            m_shownValues->replaceObjectAtIndex(kvdata::newString(text), static_cast<unsigned>(r - 1));
        std::snprintf(text, sizeof text, "%.0f", total);
        placeValue(r, text);
    }
}

void KVCharacterItem::showStatBonus(float value, int row) {
    CCNode* item = valueItem(row);
    char text[48];
    std::snprintf(text, sizeof text, "+%2.0f", value);
    CCMenuItemFont* label = CCMenuItemFont::createWithString(kvdata::newString(text));
    if (label == nullptr) return;
    label->setColor(ccColor3B{0, 216, 255});
    label->setOpacity(0);
    addChildAtZWithTag(label, 1, kFirstGainLabelTag + row - 1);
    label->runAction(CCFadeTo::createWithDurationOpacity(0.2f, 255));
    const CCPoint from = item != nullptr ? item->getPosition() : at(388, kRowY[row - 1]);
    label->setPosition(CCPoint(from.x + 2 * label->getContentSize().width, from.y));
}

void KVCharacterItem::showNextLevelGains() {
    if (m_creatureStats == nullptr) return;
    removeGainLabels();
    const int level = recordLevel();
    kvdata::Dict* now = statsAtLevel(level);
    kvdata::Dict* next = statsAtLevel(level + 1);
    const std::string className = creatureClass();
    for (int r = 1; r <= kRowCount; ++r) {
        const std::string key = valueKey(r, className);
        if (key.empty()) continue;
        const int a = kvdata::intAt(now, key);
        const int b = kvdata::intAt(next, key);
        if (a < b) showStatBonus(static_cast<float>(b - a), r);
    }
}

void KVCharacterItem::playStatGains() {
    if (m_creatureStats == nullptr) return;
    int level = recordLevel();
    if (m_gainsFromTraining) level -= 1;
    const std::string className = creatureClass();
    kvdata::Dict* from = statsAtLevel(level);
    kvdata::Dict* to = m_gainsFromTraining ? statsAtLevel(level + 1) : nullptr;
    kvdata::Dict* helmet =
        m_gainsFromTraining ? nullptr : helmetRow(kvdata::textAt(m_helmetData, "sprite_name"));
    int last = 1;
    for (int r = 1; r <= kRowCount; ++r)
        if (getChildByTag(kFirstGainLabelTag + r - 1) != nullptr) last = r;
    float delay = 0.01f;
    for (int r = 1; r <= kRowCount; ++r) {
        CCNode* gain = getChildByTag(kFirstGainLabelTag + r - 1);
        if (gain == nullptr) continue;
        const std::string key = valueKey(r, className);
        const int start = kvdata::intAt(from, key);
        const int target = m_gainsFromTraining
                               ? kvdata::intAt(to, key)
                               : static_cast<int>(static_cast<float>(start) + kvdata::floatAt(helmet, key));
        gain->runAction(CCSequence::createWithActions(
            CCDelayTime::createWithDuration(delay), CCScaleTo::createWithDurationScale(kRowStep, 0.1f),
            CCCallFuncN::createWithTargetSelector(this, callfuncN_selector(KVCharacterItem::removeNode))));
        auto* amount = new CCValue<int>(target - start);
        KVStatTickAction* tick = KVStatTickAction::create(this, r == last, amount);
        amount->release(); // the tick holds it
        if (CCNode* item = valueItem(r)) {
            item->runAction(CCSequence::createWithActions(
                CCDelayTime::createWithDuration(delay), CCScaleTo::createWithDurationScale(kRowStep, 1.5f),
                tick, CCScaleTo::createWithDurationScale(kRowStep, 1.0f)));
        }
        delay += kRowStep;
    }
    runAction(CCSequence::createWithTwoActions(
        CCDelayTime::createWithDuration(delay + kRowStep),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVCharacterItem::refreshStats))));
}

void KVCharacterItem::removeNode(CCNode* node) {
    if (node != nullptr) node->removeFromParent(true);
}

void KVCharacterItem::tickStat(CCNode* valueItem, CCValue<int>* amount) {
    if (valueItem == nullptr || amount == nullptr) return;
    const int row = valueItem->getTag();
    CCString* shownText = m_shownValues != nullptr && row >= 1
                              ? kvdata::asString(m_shownValues->objectAtIndex(static_cast<unsigned>(row - 1)))
                              : nullptr;
    const int shown = shownText != nullptr ? shownText->toInt() : 0;
    auto* item = dynamic_cast<CCMenuItemLabel*>(valueItem);
    if (auto* label = item != nullptr ? dynamic_cast<CCLabelTTF*>(item->getLabel()) : nullptr)
        label->setString(std::to_string(shown + amount->value).c_str());
    CCNotificationCenter::getInstance()->postNotification(EVENT_UPDATE_STAT_NUMBER);
}

void KVCharacterItem::tickLastStat(CCNode* valueItem, CCValue<int>* amount) {
    tickStat(valueItem, amount);
    CCString* voice =
        kvdata::stringAt(KVGameParameters::getInstance()->getKelvoStats(selectedName()), "Voice");
    CCNotificationCenter::getInstance()->postNotification(EVENT_HIDDEN_STAR_FOUND, voice);
}

// ---- actions ----

void KVCharacterItem::trainPressed(CCObject* sender) {
    (void)sender;
    auto* button = dynamic_cast<KVButton*>(getChildByTag(kTrainButtonTag));
    KVButtonItem* item = button != nullptr ? button->getItem() : nullptr;
    auto* image = item != nullptr ? dynamic_cast<CCSprite*>(item->getNormalImage()) : nullptr;
    if (!m_trainPreview) {
        m_trainPreview = true;
        if (image != nullptr) {
            CCAnimation* animation =
                CCAnimation::createWithFrameNamePattern("Kv_BT_Levelup%.2d.png", 2, 12, 0.02f);
            image->runAction(CCAnimate::createWithAnimationRestore(animation, false));
        }
        const int cost = KVPlayerParameters::getInstance()->getNextLevelUpCost(selectedName());
        KVLabelWithShadow* price =
            KVLabelWithShadow::createWithStdString(std::to_string(cost), kFontName, 24);
        price->setColor(ccColor3B{247, 181, 5});
        CCSprite* pearl = CCSprite::createWithSpriteFrameName("KV_Perl3.png");
        if (item != nullptr) {
            const CCSize size = item->getContentSize();
            const float pearlWidth = pearl != nullptr ? pearl->getContentSize().width : 0;
            const float x0 = (size.width - (price->getContentSize().width + pearlWidth + 5)) / 2;
            price->setAnchorPoint(CCPoint(0, 0.5f));
            price->setPosition(CCPoint(x0, size.height / 2));
            item->removeChildByTag(kTrainCaptionTag, true);
            if (pearl != nullptr) {
                pearl->setAnchorPoint(CCPoint(1, 0.5f));
                pearl->setPosition(CCPoint(size.width - x0, size.height / 2));
                item->addChildAtZWithTag(pearl, 1, kTrainPearlTag);
            }
            item->addChildAtZWithTag(price, 1, kTrainCaptionTag);
        }
        removeChildByTag(kTransferButtonTag, true);
        showNextLevelGains();
        return;
    }
    m_trainPreview = false;
    if (image != nullptr) {
        image->stopAllActions();
        if (CCSpriteFrame* frame =
                CCSpriteFrameCache::getInstance()->findSpriteFrameByName("Kv_BT_Levelup01.png"))
            image->setDisplayFrame(frame);
    }
    // The pearl-lack pop-up closes with OK (closed) or by its dismissal (cancelled): either brings
    // the card back to idle.
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVCharacterItem::onTrainPopUpCancelled),
                        EVENT_POP_UP_CANCELLED);
    centre->addObserver(this, notification_selector(KVCharacterItem::onTrainPopUpCancelled),
                        EVENT_POP_UP_CLOSED);
    centre->postNotification(EVENT_KELVO_TRAIN_OK);
}

void KVCharacterItem::unregisterPopUpClosing() {
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->removeObserver(this, EVENT_POP_UP_CANCELLED);
    centre->removeObserver(this, EVENT_POP_UP_CLOSED);
}

void KVCharacterItem::onTrainConfirmed(CCNotification* notification) {
    (void)notification;
    unregisterPopUpClosing();
    if (m_creatureStats == nullptr) return;
    if (CCNode* figure = getChildByTag(kCreatureFigureTag))
        if (CCAction* cheer = victoryAnimation(kvdata::newString(selectedName()))) figure->runAction(cheer);
    m_gainsFromTraining = true;
    if (m_helmetData != nullptr) {
        if (CCNode* figure = getChildByTag(kHelmetFigureTag))
            if (CCAction* cheer = victoryAnimation(kvdata::stringAt(m_helmetData, "sprite_name")))
                figure->runAction(cheer);
    }
    playStatGains();
    CCNotificationCenter::getInstance()->postNotification(EVENT_VICTORY_STAR_GAINED);
}

void KVCharacterItem::onTrainPopUpCancelled(CCNotification* notification) {
    (void)notification;
    removeGainLabels();
    refreshStats();
    refreshLevelRow();
    unregisterPopUpClosing();
}

void KVCharacterItem::onCharacterItemUpdateNeeded(CCNotification* notification) {
    (void)notification;
    refreshStats();
    if (CCNode* parent = getParent())
        if (auto* counter = dynamic_cast<KVPearlCountItem*>(parent->getChildByTag(kPearlCounterTag)))
            counter->startCountUp();
}

void KVCharacterItem::transferPressed(CCObject* sender) {
    (void)sender;
    if (m_helmetData == nullptr) return;
    const std::string creature = selectedName();
    CCString* helmet = kvdata::stringAt(m_helmetData, "sprite_name");
    if (helmet == nullptr || helmet->text.empty()) return;
    helmet->retain();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addTransferredHelmet(helmet->text, creature);
    profile->saveProfile();
    if (m_chosenHelmetIcon != nullptr) m_chosenHelmetIcon->removeChildByTag(kHelmetIconBadgeTag, true);
    if (CCNode* figure = getChildByTag(kCreatureFigureTag))
        if (CCAction* cheer = victoryAnimation(kvdata::newString(creature))) figure->runAction(cheer);
    if (CCNode* figure = getChildByTag(kHelmetFigureTag))
        if (CCAction* cheer = victoryAnimation(helmet)) figure->runAction(cheer);
    setHelmetData(KVEquipScreenView::helmetEntry(helmet));
    helmet->release();
    removeChildByTag(kTransferButtonTag, true);
    m_gainsFromTraining = false;
    playStatGains();
}

void KVCharacterItem::removeHelmet() {
    removeGainLabels();
    removeChildByTag(kHelmetFigureTag, true);
    if (m_helmetData != nullptr) {
        unloadSpriteSheet(helmetSheet());
        setHelmetData(nullptr);
    }
    removeChildByTag(kTransferButtonTag, true);
    refreshLevelRow();
    refreshStats();
}

void KVCharacterItem::brainwashPressed(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_USE_BRAINWASH,
                                                          kvdata::newString(selectedName()));
    KVMenuManager* menu = KVMenuManager::getInstance();
    menu->popUpKind = kPopUpKindBrainwash;
    menu->changeState(KVMenuManager::kItemPopUpState);
}
