#include "game/screens/KVAboutScreenView.h"

#include <cstdlib>
#include <map>

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVCarouselSteps.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVAboutInteractivePictureItem.h"

using namespace kvengine;

namespace {

constexpr int kBackButtonKind = 17;
constexpr int kArrowZ = 4;
constexpr int kDisplayZ = 2;

} // namespace

CCScene* KVAboutScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVAboutScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVAboutScreenView::KVAboutScreenView() : KVAboutScreenView(loadStaffList()) {}

KVAboutScreenView::KVAboutScreenView(kvdata::Dict* staff) {
    (void)init();
    CCNotificationCenter::getInstance()->postNotification(SCREEN_MENU_ABOUT);
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float W = win.width;
    const float H = win.height;
    const bool wide = CCDirector::wideScreen != 0;

    addBackground(kBackgroundTag);
    if (KVButton* back =
            KVButton::createWithLabel(localizeString(kvdata::newString("WorldMap_Screen_Back")), W / 6,
                                      wide ? W / 2 + W / 12 : W / 2 + W / 5, kBackButtonKind, this,
                                      menu_selector(KVAboutScreenView::onBackButton)))
        addChildAtZWithTag(back, 1, kBackTag);

    m_lastMemberIndex = static_cast<int>(kvdata::countOf(staff)) - 1;
    m_currentMember = 0;
    if (m_lastMemberIndex >= 0) {
        m_staffDisplay = KVAboutInteractivePictureItem::createWithStaff(staff);
        if (m_staffDisplay != nullptr) {
            const CCSize size = m_staffDisplay->getContentSize();
            m_staffDisplay->setAnchorPoint(CCPoint(0, 0));
            m_staffDisplay->setPosition(CCPoint((W - size.width) / 2.2f, H / 2 - size.height / 2));
            addChildAtZWithTag(m_staffDisplay, kDisplayZ, m_staffDisplay->getTag());
        }
    }

    m_leftArrow = addArrow("KV_Bt_FlecheGauche_Normal.png", "KV_Bt_FlecheGauche_Down.png",
                           menu_selector(KVAboutScreenView::showPreviousMember), W / 6, H / 3, kArrowZ);
    m_rightArrow = addArrow("KV_Bt_FlecheDroite_Normal.png", "KV_Bt_FlecheDroite_Down.png",
                            menu_selector(KVAboutScreenView::showNextMember), W - W / 6, H / 3, kArrowZ);
    if (m_staffDisplay == nullptr) {
        // Nobody to show: the arrows would lead nowhere.
        logDebugMessage("about: no staff to show");
        m_lastMemberIndex = -1;
        if (m_leftArrow != nullptr) m_leftArrow->setVisible(false);
        if (m_rightArrow != nullptr) m_rightArrow->setVisible(false);
    } else if (m_currentMember == 0) {
        if (m_leftArrow != nullptr) m_leftArrow->setVisible(false);
    } else if (m_currentMember == m_lastMemberIndex) {
        if (m_rightArrow != nullptr) m_rightArrow->setVisible(false);
    }
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVAboutScreenView::onKeyPress), ccEventKeyPress());
}

void KVAboutScreenView::cleanupBeforeDelete() {
    KVScreenView::cleanupBeforeDelete();
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_leftArrow = nullptr;
    m_rightArrow = nullptr;
    m_staffDisplay = nullptr;
}

kvdata::Dict* KVAboutScreenView::loadStaffList() {
    CCString* path = CCResourceIndex::getInstance()->fullPathForNameAndExtension("staffList", "plist");
    return loadStaffListFromFile(kvdata::textOf(path));
}

kvdata::Dict* KVAboutScreenView::loadStaffListFromFile(const std::string& path) {
    kvdata::Dict* result = kvdata::newDict();
    bool wellFormed = false;
    kvdata::Dict* file = dictionaryWithContentsOfFile(path.c_str(), &wellFormed);
    if (file == nullptr || !wellFormed) {
        logDebugMessage("about: the staff list \"%s\" is missing or unreadable", path.c_str());
        return result;
    }
    std::map<int, std::string> byPosition;
    for (const std::string& key : kvdata::keysOf(file)) {
        kvdata::Dict* member = kvdata::dictAt(file, key);
        if (member == nullptr) {
            logDebugMessage("about: staff entry \"%s\" is not a dictionary; left out", key.c_str());
            continue;
        }
        const int position = std::atoi(kvdata::textAt(member, "position").c_str());
        kvdata::Dict* entry = kvdata::newDict();
        kvdata::setInt(entry, "item_number", position);
        if (CCString* name = kvdata::stringAt(member, "name")) entry->setObject(name, "name");
        if (CCObject* size = member->objectForKey("fontSize")) entry->setObject(size, "fontSize");
        result->setObject(entry, key);
        auto [at, added] = byPosition.emplace(position, key);
        if (!added)
            logDebugMessage("about: \"%s\" repeats the position %d of \"%s\"", key.c_str(), position,
                            at->second.c_str());
    }
    // The row numbers its bubbles by position: a gap leaves the members after it out of reach.
    int expected = 0;
    for (const auto& [position, key] : byPosition) {
        if (position != expected)
            logDebugMessage("about: \"%s\" has the position %d where %d was due", key.c_str(), position,
                            expected);
        expected = position + 1;
    }
    if (kvdata::countOf(result) == 0)
        logDebugMessage("about: the staff list \"%s\" has nobody", path.c_str());
    return result;
}

void KVAboutScreenView::showNextMember(CCObject* sender) {
    (void)sender;
    kvmenu::stepCarousel(carousel(), 1, kArrowStep, m_currentMember, m_lastMemberIndex, m_leftArrow,
                         m_rightArrow);
}

void KVAboutScreenView::showPreviousMember(CCObject* sender) {
    (void)sender;
    kvmenu::stepCarousel(carousel(), -1, kArrowStep, m_currentMember, m_lastMemberIndex, m_leftArrow,
                         m_rightArrow);
}

void KVAboutScreenView::onKeyPress(CCNotification* notification) {
    const int direction = kvmenu::arrowKeyDirection(notification);
    if (direction > 0)
        showNextMember(nullptr);
    else if (direction < 0)
        showPreviousMember(nullptr);
}

KVScrollScalableItem* KVAboutScreenView::carousel() const {
    return m_staffDisplay != nullptr ? m_staffDisplay->getCarousel() : nullptr;
}

void KVAboutScreenView::onBackButton(CCObject* sender) {
    (void)sender;
    KVMenuManager::getInstance()->changeState(KVMenuManager::kMainMenuFromGameState);
}
