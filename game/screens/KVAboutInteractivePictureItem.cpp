#include "game/screens/KVAboutInteractivePictureItem.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/labels/CCLabelTTF.h"
#include "game/app/KVGlobalNames.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVScrollScalableItem.h"

using namespace kvengine;

namespace {

constexpr float kCarouselTop = 335.0f;
// The description box: nine tenths of the window wide, four lines of its text high.
constexpr float kBoxWidthShare = 0.9f;
constexpr float kBoxLines = 4.0f;

KVLabelWithShadow* descriptionLabel(CCString* text, float size, const CCSize& box) {
    KVLabelWithShadow* label =
        text != nullptr
            ? KVLabelWithShadow::createWithStringInBox(text, PRODUCT_FONT_NAME, size, box.width, box.height)
            : KVLabelWithShadow::createWithStdStringInBox("", PRODUCT_FONT_NAME, size, box.width, box.height);
    label->setColor(ccColor3B{255, 255, 255});
    label->setOpacity(255);
    return label;
}

} // namespace

KVAboutInteractivePictureItem* KVAboutInteractivePictureItem::createWithStaff(kvdata::Dict* staff) {
    auto* display = new KVAboutInteractivePictureItem();
    if (!display->initWithStaff(staff)) {
        display->release();
        return nullptr;
    }
    display->autorelease();
    return display;
}

bool KVAboutInteractivePictureItem::initWithStaff(kvdata::Dict* staff) {
    if (!init()) return false;
    const CCSize win = CCDirector::getInstance()->getWinSize();
    kvdata::Dict* byNumber = kvdata::newDict();
    for (const std::string& key : kvdata::keysOf(staff)) {
        kvdata::Dict* entry = kvdata::dictAt(staff, key);
        if (entry == nullptr) continue;
        entry->setObject(kvdata::newString(key), "key");
        byNumber->setObject(entry, kvdata::textAt(entry, "item_number"));
    }
    byNumber->retain();
    if (m_memberByNumber != nullptr) m_memberByNumber->release();
    m_memberByNumber = byNumber;

    m_carousel =
        KVScrollScalableItem::createWithItems(staff, kScanCount, KVScrollScalableItem::kAboutEntries);
    if (m_carousel != nullptr) {
        const float y = kCarouselTop - m_carousel->getAnchorPoint().y * m_carousel->getContentSize().height;
        m_carousel->setPosition(CCPoint(getContentSize().width * 0.0625f, y));
        addChildAtZWithTag(m_carousel, 1, m_carousel->getTag());
    }

    KVLabelWithShadow* description =
        descriptionLabel(nullptr, kDescriptionSize, CCSize(kBoxWidthShare * win.width, win.height / 3));
    description->setAnchorPoint(CCPoint(0.5f, 0.5f));
    description->setPosition(CCPoint(win.width / 2, win.height / 5.8f));
    addChildAtZWithTag(description, 2, kDescriptionTag);

    KVLabelWithShadow* name = KVLabelWithShadow::createWithStdString("", PRODUCT_FONT_NAME, kNameSize);
    name->setAnchorPoint(CCPoint(0.5f, 0.5f));
    name->setColor(ccColor3B{255, 255, 255});
    name->setOpacity(255);
    name->setPosition(CCPoint(win.width / 2, win.height / 3));
    addChildAtZWithTag(name, 2, kNameTag);
    return true;
}

void KVAboutInteractivePictureItem::cleanupBeforeDelete() {
    if (m_memberByNumber != nullptr) m_memberByNumber->release();
    m_memberByNumber = nullptr;
    m_carousel = nullptr;
    KVMenuItem::cleanupBeforeDelete();
}

CCString* KVAboutInteractivePictureItem::findMemberKey(int number) {
    for (const std::string& numberText : kvdata::keysOf(m_memberByNumber)) {
        kvdata::Dict* entry = kvdata::dictAt(m_memberByNumber, numberText);
        if (entry != nullptr && std::atoi(kvdata::textAt(entry, "item_number").c_str()) == number)
            return kvdata::stringAt(entry, "key");
    }
    return nullptr;
}

std::string KVAboutInteractivePictureItem::descriptionKey(const std::string& staffKey) {
    std::string key = "about_screen_" + staffKey;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // Only the first space: the staff keys hold at most one.
    const size_t space = key.find(' ');
    if (space != std::string::npos) key[space] = '_';
    return key;
}

void KVAboutInteractivePictureItem::showStaffMember(CCNode* node, void* data) {
    (void)node;
    if (data == nullptr) return;
    const int number = static_cast<CCValue<int>*>(data)->value;
    const CCSize win = CCDirector::getInstance()->getWinSize();
    CCString* key = findMemberKey(number);
    float size = kDescriptionSize;
    CCString* title = nullptr;
    CCString* description = nullptr;
    if (key != nullptr) {
        kvdata::Dict* entry = kvdata::dictAt(m_memberByNumber, std::to_string(number));
        description = getLocalizedString(descriptionKey(key->c_str()));
        // Localised texts carry their wide copy; a plain key or name does not.
        title = localizeString(key);
        if (title->wideString() == nullptr) {
            CCString* name = kvdata::stringAt(entry, "name");
            title = name != nullptr ? localizeString(name) : nullptr;
        }
        if (kvdata::hasKey(entry, "fontSize")) {
            const std::string text = kvdata::textAt(entry, "fontSize");
            size = static_cast<float>(std::atof(text.c_str()));
            if (!(size > 0.0f)) {
                logDebugMessage("about: \"%s\" has the font size \"%s\"; using %g", key->c_str(),
                                text.c_str(), kDescriptionSize);
                size = kDescriptionSize;
            }
        }
    }
    auto* nameLabel = static_cast<KVLabelWithShadow*>(getChildByTag(kNameTag));
    if (nameLabel == nullptr) return;
    // Always through the wide text, so a name in UTF-8 shows its accents and the label never keeps
    // the wide text of the member before.
    if (title != nullptr && title->wideString() != nullptr) {
        nameLabel->setWideString(title->wideString());
    } else {
        auto* plain = new CCString(title != nullptr ? title->c_str() : "");
        nameLabel->setWideString(plain->makeWideString());
        plain->release();
    }

    // The box holds four lines of the member's text.
    CCLabelTTF* probe = CCLabelTTF::createWithString("a", PRODUCT_FONT_NAME, size);
    const float line = probe != nullptr ? probe->getContentSize().height : size;
    removeChildByTag(kDescriptionTag, true);
    KVLabelWithShadow* label =
        descriptionLabel(description, size, CCSize(kBoxWidthShare * win.width, kBoxLines * line));
    const float nameBottom = nameLabel->getPosition().y - nameLabel->getContentSize().height / 2;
    label->setPosition(CCPoint(win.width / 2, nameBottom));
    label->setAnchorPoint(CCPoint(0.5f, 1.0f));
    addChildAtZWithTag(label, 2, kDescriptionTag);
}
