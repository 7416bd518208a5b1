#include "game/menu/KVScrollItem.h"

#include "engine/actions/CCCallFunc.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "game/menu/KVPlayScreenItem.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVStoryScreenView.h"

using namespace kvengine;

namespace {

// The touch view's frame and the scroll view's width, in points.
constexpr float kTouchViewWidth = 270.0f;
constexpr float kTouchViewHeight = 480.0f;

// A chapter's missions: a dictionary or an array, counted either way.
bool hasMissions(kvdata::Dict* entry) {
    if (kvdata::Dict* missions = kvdata::dictAt(entry, "mission_list")) return kvdata::countOf(missions) > 0;
    if (kvdata::Array* missions = kvdata::arrayAt(entry, "mission_list")) return missions->count() > 0;
    return false;
}

} // namespace

KVScrollItem* KVScrollItem::createWithChapters(kvdata::Dict* chapters) {
    auto* list = new KVScrollItem();
    if (!list->initWithChapters(chapters)) {
        list->release();
        return nullptr;
    }
    list->autorelease();
    return list;
}

bool KVScrollItem::initWithChapters(kvdata::Dict* chapters) {
    if (!init()) return false;
    if (chapters != nullptr) chapters->retain();
    if (m_chapters != nullptr) m_chapters->release();
    m_chapters = chapters;
    return true;
}

void KVScrollItem::cleanupBeforeDelete() {
    releaseOverlayViews(m_touchView, m_scrollView, false);
    if (m_chapters != nullptr) m_chapters->release();
    m_chapters = nullptr;
    KVMenuItem::cleanupBeforeDelete();
}

CCString* KVScrollItem::keyForItemNumber(int number) {
    return KVScrollScalableItem::keyForItemNumberIn(m_chapters, number);
}

KVScrollViewMenu* KVScrollItem::getMenu() const {
    CCNode* content = getChildByTag(kContentTag);
    CCNode* menu = content != nullptr ? content->getChildByTag(kMenuTag) : nullptr;
    return menu != nullptr && menu->isKindOf("KVScrollViewMenu") ? static_cast<KVScrollViewMenu*>(menu)
                                                                 : nullptr;
}

void KVScrollItem::onEnter() {
    if (m_chapters == nullptr) {
        KVMenuItem::onEnter();
        return;
    }
    // A second entry rebuilds the row from scratch.
    removeChildByTag(kContentTag, true);
    releaseOverlayViews(m_touchView, m_scrollView, false);
    CCLayer* content = CCLayer::create();
    KVScrollViewMenu* menu = KVScrollViewMenu::createWithItems(nullptr);
    float width = -1.0f;
    m_count = 0;
    for (int i = 1; i <= kScanCount; ++i) {
        CCString* key = keyForItemNumber(i);
        if (key == nullptr) continue;
        ++m_count;
        kvdata::Dict* entry = kvdata::dictAt(m_chapters, key->c_str());
        const std::string sprite = kvdata::textAt(entry, "sprite_name");
        const std::string title = kvdata::textAt(entry, "title_name");
        if (title.empty() || sprite.empty() || !hasMissions(entry)) {
            logDebugMessage("menu: chapter \"%s\" lacks its title, picture or missions: no card",
                            key->c_str());
            continue;
        }
        KVPlayScreenItem* card = nullptr;
        if (kvdata::intAt(entry, "status_locked") < 1) {
            card = KVPlayScreenItem::createWithCard(localizeString(kvdata::newString(title)), sprite, this,
                                                    menu_selector(KVScrollItem::onCardActivated), key);
        } else {
            card = KVPlayScreenItem::createWithCard(localizeString(kvdata::newString(title + "_ComingSoon")),
                                                    sprite, nullptr, nullptr, nullptr);
        }
        if (card == nullptr) continue;
        card->index = i - 1;
        card->setUserObject(key);
        menu->addChildAtZWithTag(card, 0, i - 1);
        // The first card sets the pitch of the row.
        if (width < 0.0f) width = card->getContentSize().width;
    }

    m_pitch = width + kPadding;
    menu->alignItemsHorizontallyWithPadding(kPadding);
    content->addChildAtZWithTag(menu, 0, kMenuTag);
    addChildAtZWithTag(content, 0, kContentTag);
    const CCPoint at = menu->getPosition();
    menu->setPosition(CCPoint(at.x + m_count * m_pitch / 2 - m_pitch / 2, at.y));

    m_touchView = new KVScrollTouchDelegatingView();
    (void)m_touchView->initWithFrame(CCRect(0, 0, kTouchViewWidth, kTouchViewHeight));
    m_scrollView = new KVScrollOverlayView();
    m_scrollView->setUp(CCRect(0, 0, kTouchViewWidth, m_pitch), m_count, m_pitch, content, this);
    m_touchView->setScrollView(m_scrollView);
    m_scrollView->jumpToContentOffset(CCPoint(0, 0));
    CCDirector::getInstance()->addOverlayView(m_touchView);
    CCDirector::getInstance()->addOverlayView(m_scrollView);
    KVMenuItem::onEnter();
}

void KVScrollItem::onExit() {
    releaseOverlayViews(m_touchView, m_scrollView, true);
    KVMenuItem::onExit();
}

void KVScrollItem::onCardActivated(CCObject* sender) {
    CCNode* owner = getParent();
    auto* card = static_cast<CCNode*>(sender);
    if (owner == nullptr || !owner->isKindOf("KVStoryScreenView") || card == nullptr) {
        logDebugMessage("menu: a chapter card was tapped with no chapter screen to tell");
        return;
    }
    runAction(CCCallFuncND::createWithTargetSelectorData(
        owner, callfuncND_selector(KVStoryScreenView::chapterChosen), card->getUserObject()));
}
