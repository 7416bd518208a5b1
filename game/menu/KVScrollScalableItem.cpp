#include "game/menu/KVScrollScalableItem.h"

#include <cmath>
#include <cstdlib>

#include "engine/actions/CCCallFunc.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVCardCarouselOwner.h"
#include "game/menu/KVMissionItem.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/screens/KVAboutInteractivePictureItem.h"
#include "game/screens/KVAboutItem.h"
#include "game/screens/KVInteractivePictureItem.h"
#include "game/screens/KVSquadItem.h"

using namespace kvengine;

namespace {

constexpr float kMargin = 15.0f;
// An entry's centre lies this far left of its right-anchored position.
constexpr float kEntryCentreOffset = 60.0f;
constexpr float kSmallestScaleDrop = 0.8f;
constexpr float kSnapSpeedLimit = 300.0f;
constexpr float kSnapMaxSpeed = 250.0f;
constexpr float kSnapCloseRate = 10.0f;
constexpr float kSnapDone = 2.0f;
constexpr float kSnapTargetShift = 45.0f;

CCSize windowSize() {
    return CCDirector::getInstance()->getWinSize();
}

} // namespace

KVScrollScalableItem* KVScrollScalableItem::createWithItems(kvdata::Dict* items, int scanCount, int mode) {
    auto* item = new KVScrollScalableItem();
    if (!item->initWithItems(items, scanCount, mode)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

bool KVScrollScalableItem::initWithItems(kvdata::Dict* items, int scanCount, int mode) {
    if (!init()) return false;
    if (items != nullptr) items->retain();
    if (m_items != nullptr) m_items->release();
    m_items = items;
    m_scanCount = scanCount;
    m_mode = mode;
    return true;
}

void KVScrollScalableItem::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    releaseOverlayViews(m_touchView, m_scrollView, false);
    if (m_items != nullptr) m_items->release();
    if (m_cardsByName != nullptr) m_cardsByName->release();
    m_items = nullptr;
    m_cardsByName = nullptr;
    KVMenuItem::cleanupBeforeDelete();
}

CCString* KVScrollScalableItem::keyForItemNumber(int number) {
    return keyForItemNumberIn(m_items, number);
}

CCString* KVScrollScalableItem::keyForItemNumberIn(kvdata::Dict* items, int number) {
    for (const std::string& key : kvdata::keysOf(items)) {
        kvdata::Dict* entry = kvdata::dictAt(items, key);
        if (entry != nullptr && std::atoi(kvdata::textAt(entry, "item_number").c_str()) == number)
            return kvdata::newString(key);
    }
    return nullptr;
}

KVScrollViewMenu* KVScrollScalableItem::getMenu() const {
    CCNode* content = getChildByTag(kContentTag);
    CCNode* menu = content != nullptr ? content->getChildByTag(kMenuTag) : nullptr;
    return menu != nullptr && menu->isKindOf("KVScrollViewMenu") ? static_cast<KVScrollViewMenu*>(menu)
                                                                 : nullptr;
}

CCNode* KVScrollScalableItem::entryAt(int position) const {
    KVScrollViewMenu* menu = getMenu();
    return menu != nullptr ? menu->getChildByTag(position) : nullptr;
}

CCString* KVScrollScalableItem::keyAtPosition(int position) {
    CCNode* entry = entryAt(position);
    CCObject* key = entry != nullptr ? entry->getUserObject() : nullptr;
    return kvdata::asString(key);
}

void KVScrollScalableItem::layOutMissionBubbles(KVScrollViewMenu* menu, int& selected, float& firstWidth) {
    const std::string remembered = KVPlayerParameters::getInstance()->getLastPlayedMission();
    for (int i = 0; i < m_scanCount; ++i) {
        CCString* key = keyForItemNumber(i);
        if (key == nullptr) continue;
        kvdata::Dict* entry = kvdata::dictAt(m_items, key->c_str());
        const int status = kvdata::intAt(entry, "status_locked");
        // Hidden missions (1) get no bubble.
        if (status != 0 && status != 2) continue;
        const int stars = kvdata::intAt(entry, "max_star");
        KVMissionItem* bubble = KVMissionItem::createWithMission(status == 2, stars, key, this);
        if (bubble == nullptr) continue;
        ++m_count;
        bubble->starCount = stars;
        if (remembered == key->c_str()) selected = m_count - 1;
        bubble->setUserObject(key);
        bubble->setAnchorPoint(CCPoint(1, 0.5f));
        menu->addChildAtZWithTag(bubble, 1, m_count - 1);
        if (m_count - 1 == selected)
            firstWidth = bubble->getContentSize().width;
        else
            bubble->setEnabled(false);
    }
}

void KVScrollScalableItem::layOutAboutEntries(KVScrollViewMenu* menu, float& firstWidth) {
    for (int i = 0; i < m_scanCount; ++i) {
        CCString* key = keyForItemNumber(i);
        if (key == nullptr) continue;
        KVAboutItem* entry = KVAboutItem::createWithKey(key, this);
        if (entry == nullptr) continue;
        ++m_count;
        entry->index = i;
        entry->setUserObject(key);
        entry->setAnchorPoint(CCPoint(1, 0.5f));
        // The item number is the tag: the about data numbers its members from 0 without gaps.
        menu->addChildAtZWithTag(entry, 1, i);
        if (firstWidth == -1.0f) firstWidth = entry->getContentSize().width;
    }
}

void KVScrollScalableItem::layOutCreatureCards(KVScrollViewMenu* menu, int& selected, float& firstWidth) {
    if (m_cardsByName != nullptr) m_cardsByName->release();
    m_cardsByName = kvdata::newDict();
    m_cardsByName->retain();
    const std::string remembered = KVPlayerParameters::getInstance()->getLastVisitedKelvo();
    for (int i = 1; i <= m_scanCount; ++i) {
        CCString* key = keyForItemNumber(i);
        if (key == nullptr) continue;
        kvdata::Dict* entry = kvdata::dictAt(m_items, key->c_str());
        const int status = kvdata::intAt(entry, "status_locked");
        // Creatures locked for good get no card.
        if (status == 3) continue;
        const bool inTeam = kvdata::intAt(entry, "status_selected") != 0;
        CCString* sprite = kvdata::stringAt(entry, "sprite_name");
        // 0 owned, 1 locked (a hidden card), 2 offered in the shop (padlocked).
        const bool locked = status == 2;
        const bool active = status != 1;
        KVSquadItem* card = KVSquadItem::createWithCard(sprite, locked, status == 0 && inTeam, active, this);
        if (card == nullptr) continue;
        ++m_count;
        card->setUserObject(status == 1 ? kvdata::newString("...") : key);
        card->cardOrder = m_count - selected;
        card->setCardName(key);
        if (remembered == key->c_str()) selected = m_count - 1;
        m_cardsByName->setObject(card, key->c_str());
        menu->addChildAtZWithTag(card, 1, m_count - 1);
        if (firstWidth < 0) firstWidth = card->getContentSize().width;
    }
}

KVCardCarouselOwner* KVScrollScalableItem::cardOwner() const {
    CCNode* owner = getParent();
    if (m_mode != kCreatureCards || owner == nullptr || !owner->isKindOf("KVTroopsScreenView"))
        return nullptr;
    return dynamic_cast<KVCardCarouselOwner*>(owner);
}

CCNode* KVScrollScalableItem::cardForKelvo(const std::string& name) const {
    return m_cardsByName != nullptr ? dynamic_cast<CCNode*>(m_cardsByName->objectForKey(name)) : nullptr;
}

void KVScrollScalableItem::showEquipMarkForKelvo(CCString* name, bool shown) {
    if (name == nullptr) return;
    CCNode* card = cardForKelvo(name->c_str());
    if (card != nullptr && card->isKindOf("KVSquadItem"))
        static_cast<KVSquadItem*>(card)->showEquipMark(shown);
}

void KVScrollScalableItem::centerOnSelectedItem() {
    CCNode* content = getChildByTag(kContentTag);
    KVScrollViewMenu* menu = getMenu();
    CCNode* entry = entryAt(m_currentIndex);
    if (m_scrollView == nullptr || content == nullptr || menu == nullptr || entry == nullptr) return;
    CCDirector* director = CCDirector::getInstance();
    const CCPoint layer = content->getPosition();
    const CCPoint offset = director->convertToUI(CCPoint(-layer.x, -layer.y));
    // The offset goes back to where the row is drawn without telling anyone.
    CCScrollView* delegate = m_scrollView->getDelegate();
    m_scrollView->setDelegate(nullptr);
    m_scrollView->setContentOffset(offset);
    m_scrollView->setDelegate(delegate);
    const float x = entry->getPosition().x + offset.x - windowSize().width / 2 + layer.x +
                    menu->getPosition().x + getPosition().x;
    m_scrollView->jumpToContentOffset(CCPoint(x, offset.y));
}

void KVScrollScalableItem::onEnter() {
    if (m_items == nullptr) {
        KVMenuItem::onEnter();
        return;
    }
    // A second entry rebuilds the row from scratch.
    removeChildByTag(kContentTag, true);
    releaseOverlayViews(m_touchView, m_scrollView, false);
    CCLayer* content = CCLayer::create();
    KVScrollViewMenu* menu = KVScrollViewMenu::createWithItems(nullptr);
    float firstWidth = -1.0f;
    m_count = 0;
    int selected = 0;
    if (m_mode == kMissionBubbles) {
        layOutMissionBubbles(menu, selected, firstWidth);
    } else if (m_mode == kAboutEntries) {
        layOutAboutEntries(menu, firstWidth);
    } else if (m_mode == kCreatureCards) {
        // The cards answer presses (their looks and sounds) and the overlay relays the same touches.
        menu->setSharesTouches(true);
        layOutCreatureCards(menu, selected, firstWidth);
    } else {
        logDebugMessage("menu: carousel mode %d has no entries to lay out", m_mode);
    }

    const float margin = m_mode == kCreatureCards ? 0.0f : kMargin;
    m_pitch = firstWidth + 2 * margin;
    const float total = m_count * m_pitch;
    menu->alignItemsHorizontallyWithPadding(2 * margin);
    content->addChildAtZWithTag(menu, 1, kMenuTag);
    addChildAtZWithTag(content, 1, kContentTag);
    menu->setPosition(CCPoint(menu->getPosition().x + total / 2 - m_pitch / 2, menu->getPosition().y));

    const CCSize win = windowSize();
    CCNode* screen = m_mode == kCreatureCards ? getParent()
                                              : (getParent() != nullptr ? getParent()->getParent() : nullptr);
    CCNode* reference = screen != nullptr ? screen->getChildByTag(2) : nullptr;
    const CCPoint referenceAt = reference != nullptr ? reference->getPosition() : CCPoint(0, win.height);
    const CCSize referenceSize = reference != nullptr ? reference->getContentSize() : CCSize(0, 0);
    float backgroundHeight = 0.0f;
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    if (m_mode == kCreatureCards && frames->hasSpriteFrame("Bg_PopUpSquad.png"))
        backgroundHeight = frames->findSpriteFrameByName("Bg_PopUpSquad.png")->getRect().size.height;

    m_touchView = new KVScrollTouchDelegatingView();
    (void)m_touchView->initWithFrame(CCRect(0, 0, win.width, referenceAt.y - referenceSize.height / 2));
    if (m_mode != kCreatureCards) ++m_count;
    m_scrollView = new KVScrollOverlayView();
    m_scrollView->setUp(CCRect(0, 0, m_pitch, win.height - referenceSize.height - backgroundHeight), m_count,
                        m_pitch, content, this);
    if (m_mode != kCreatureCards) m_scrollView->setNoSnapAfterDrag(false);
    m_touchView->setScrollView(m_scrollView);
    m_currentIndex = -1;
    // On the world map the first jump moves the row and reports as a paged move would.
    if (screen != nullptr && screen->isKindOf("KVWorldMapScreenView")) m_scrollView->setJumpFlag(true);
    m_scrollView->jumpToContentOffset(CCPoint(m_pitch * selected, 0));
    CCDirector* director = CCDirector::getInstance();
    director->addOverlayView(m_touchView);
    director->addOverlayView(m_scrollView);
    m_lastReportedOffset = m_pitch * selected;
    m_currentIndex = -1;
    reportOffset(getParent() != nullptr && getParent()->isKindOf("KVTroopsScreenView") ? 0.0f
                                                                                       : m_pitch * selected);
    if (!m_observing) {
        CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(KVScrollScalableItem::onAppVipDidClose), APPVIP_DID_CLOSE);
        m_observing = true;
    }
    KVMenuItem::onEnter();
}

void KVScrollScalableItem::onExit() {
    releaseOverlayViews(m_touchView, m_scrollView, true);
    KVMenuItem::onExit();
}

void KVScrollScalableItem::reportOffset(float offset) {
    auto* boxed = new CCValue<float>(offset);
    runAction(CCCallFuncND::createWithTargetSelectorData(
        this, callfuncND_selector(KVScrollScalableItem::onScrollOffsetChanged), boxed));
    boxed->release();
}

bool KVScrollScalableItem::hasEntryOwner() const {
    CCNode* owner = getParent();
    return owner != nullptr &&
           (owner->isKindOf("KVInteractivePictureItem") || owner->isKindOf("KVAboutInteractivePictureItem"));
}

void KVScrollScalableItem::tellOwnerOfEntry(int position) {
    CCNode* owner = getParent();
    if (!hasEntryOwner()) return;
    const SEL_CallFuncND handler = owner->isKindOf("KVAboutInteractivePictureItem")
                                       ? callfuncND_selector(KVAboutInteractivePictureItem::showStaffMember)
                                       : callfuncND_selector(KVInteractivePictureItem::showMission);
    auto* boxed = new CCValue<int>(position);
    runAction(CCCallFuncND::createWithTargetSelectorData(owner, handler, boxed));
    boxed->release();
}

void KVScrollScalableItem::onScrollOffsetChanged(CCNode* node, void* data) {
    (void)node;
    if (data == nullptr) return;
    const float offset = static_cast<CCValue<float>*>(data)->value;
    const float halfW = windowSize().width / 2;
    if (m_scaleFactor == 0.0f) m_scaleFactor = -kSmallestScaleDrop / (halfW * halfW);
    KVScrollViewMenu* menu = getMenu();
    CCNode* content = getChildByTag(kContentTag);
    if (menu == nullptr || content == nullptr) return;
    const float base = menu->getPosition().x + content->getPosition().x + getPosition().x;
    if (m_mode != kCreatureCards) {
        for (int p = 0; p < m_count; ++p) {
            CCNode* entry = menu->getChildByTag(p);
            if (entry == nullptr) continue;
            float d = 2 * std::fabs(entry->getPosition().x + base - halfW - kEntryCentreOffset);
            const float limit = halfW - getPosition().x;
            if (d > limit) d = limit;
            if (d < 0) d = 0;
            entry->setScale(1 + m_scaleFactor * d * d);
        }
    }
    const float position = offset + (m_mode == kCreatureCards ? 30.0f : kEntryCentreOffset);
    const int m = m_pitch != 0.0f ? static_cast<int>(position / m_pitch) : 0;
    if (m != m_currentIndex) {
        if (m >= 0 && m < m_count - 1) {
            if (m_currentIndex != -1)
                CCNotificationCenter::getInstance()->postNotification(EVENT_MENU_SCROLL_STARTED, this);
            m_currentIndex = m;
            if (hasEntryOwner()) {
                tellOwnerOfEntry(m);
                CCNode* entry = menu->getChildByTag(m);
                kvdata::Dict* e = kvdata::dictAt(
                    m_items, kvdata::textOf(entry != nullptr ? entry->getUserObject() : nullptr));
                CCString* status = kvdata::stringAt(e, "status_locked");
                // Locked bubbles stay disabled; item 22 is the one locked mission that may be tapped.
                const bool open = status == nullptr || !status->toBool() ||
                                  (kvdata::intAt(e, "item_number") == 22 && status->toInt() == 2);
                if (entry != nullptr && open) static_cast<CCMenuItemSprite*>(entry)->setEnabled(true);
                // The neighbours cannot be tapped; a position may have no entry (mode 3 numbers its
                // entries itself), so each is looked up first.
                if (m > 0)
                    if (CCNode* left = menu->getChildByTag(m - 1))
                        static_cast<CCMenuItemSprite*>(left)->setEnabled(false);
                if (CCNode* right = menu->getChildByTag(m + 1))
                    static_cast<CCMenuItemSprite*>(right)->setEnabled(false);
            }
            if (KVCardCarouselOwner* troops = cardOwner()) tellCardOwner(troops, m);
        } else if (m == m_count - 1 && getParent() != nullptr &&
                   getParent()->isKindOf("KVTroopsScreenView")) {
            m_currentIndex = m;
            if (KVCardCarouselOwner* troops = cardOwner()) tellCardOwner(troops, m);
        }
    }
    m_lastReportedOffset = offset;
}

void KVScrollScalableItem::update(float dt) {
    if (m_scrollView == nullptr || dt <= 0.0f) return;
    const float current = m_scrollView->getContentOffset().x;
    const float speed = m_lastOffset == 0.0f ? 1000.0f : (m_lastOffset - current) / dt;
    m_lastOffset = current;
    if ((std::fabs(speed) < kSnapSpeedLimit && !m_settled) || m_snapping) {
        m_snapping = true;
        CCNode* entry = entryAt(m_currentIndex);
        KVScrollViewMenu* menu = getMenu();
        CCNode* content = getChildByTag(kContentTag);
        if (entry == nullptr || menu == nullptr || content == nullptr) {
            m_settled = true;
            m_snapping = false;
            return;
        }
        const float halfW = windowSize().width / 2;
        const float o = current;
        float target = o + entry->getPosition().x - halfW + content->getPosition().x + menu->getPosition().x +
                       getPosition().x - kSnapTargetShift;
        CCNode* next = entryAt(m_currentIndex + 1);
        if (speed < 0 && o > target && m_currentIndex < m_count - 1 && next != nullptr) {
            target += next->getPosition().x - entry->getPosition().x;
        } else if (speed > 0 && o < target && m_currentIndex > 0) {
            if (CCNode* previous = entryAt(m_currentIndex - 1))
                target += previous->getPosition().x - entry->getPosition().x;
        }
        const float diff = target - o;
        if (std::fabs(diff) > kSnapDone) {
            const float step = std::fabs(kSnapCloseRate * diff) > kSnapMaxSpeed
                                   ? diff * dt * kSnapMaxSpeed / std::fabs(diff)
                                   : diff * kSnapCloseRate * dt;
            m_scrollView->jumpToContentOffset(CCPoint(o + step, 0));
        } else {
            m_settled = true;
            m_snapping = false;
        }
    } else if (m_settled) {
        m_lastOffset = 0.0f;
        CCScheduler::getInstance()->unscheduleSelector(schedule_selector(KVScrollScalableItem::update), this);
    }
}

void KVScrollScalableItem::tellCardOwner(KVCardCarouselOwner* owner, int position) {
    CCNode* entry = entryAt(position);
    owner->onCardChanged(entry != nullptr ? kvdata::asString(entry->getUserObject()) : nullptr);
}

void KVScrollScalableItem::onItemActivated(CCObject* sender) {
    CCNode* owner = getParent();
    auto* entry = dynamic_cast<CCNode*>(sender);
    if (entry == nullptr) return;
    if (KVCardCarouselOwner* troops = cardOwner()) {
        troops->onCardActivated(entry, entry->getUserObject());
        return;
    }
    if (owner == nullptr || !owner->isKindOf("KVInteractivePictureItem")) return;
    runAction(CCCallFuncND::createWithTargetSelectorData(
        owner, callfuncND_selector(KVInteractivePictureItem::missionActivated), entry->getUserObject()));
}

void KVScrollScalableItem::relayTouchBeganOffItem(float x, float y) {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->onTouchBeganOffCard(x, y);
}

void KVScrollScalableItem::relayTouchBeganOnItem(float x, float y, CCString* name, int lockStatus) {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->onTouchBeganOnCard(x, y, name, lockStatus);
}

void KVScrollScalableItem::relayTouchEndedOffItem(float x, float y) {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->onTouchEndedOffCard(x, y);
}

void KVScrollScalableItem::relayTouchEndedOnItem(float x, float y, CCString* name, int lockStatus) {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->onTouchEndedOnCard(x, y, name, lockStatus);
}

void KVScrollScalableItem::relayOwnerCallA() {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->cancelDrag();
}

void KVScrollScalableItem::relayScrolled(float x, float y) {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->onCardsScrolled(x, y);
}

void KVScrollScalableItem::relayDecelerationChanged() {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->onPanFinished();
}

void KVScrollScalableItem::relayOwnerCallB() {
    if (KVCardCarouselOwner* owner = cardOwner()) owner->onDragAbandoned();
}
