#include "game/menu/KVScrollOverlayView.h"

#include <cstdarg>

#include "engine/actions/CCCallFunc.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCSet.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVCardCarouselOwner.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVSquadItem.h"

using namespace kvengine;

namespace {

constexpr float kViewHeight = 320.0f;

KVScrollScalableItem* asCarousel(CCNode* owner) {
    return owner != nullptr && owner->isKindOf("KVScrollScalableItem")
               ? static_cast<KVScrollScalableItem*>(owner)
               : nullptr;
}

// The card under a GL point. Disabled cards count: the card menu sees a touch's end first and
// disables the card it activates, before the overlay relays that end.
KVSquadItem* cardAt(CCNode* menu, const CCPoint& at) {
    CCArray* children = menu != nullptr ? menu->getChildren() : nullptr;
    if (children == nullptr) return nullptr;
    for (unsigned i = 0; i < children->count(); ++i) {
        auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
        if (!child->isVisible() || !child->isKindOf("KVSquadItem")) continue;
        const CCPoint local = child->convertToNodeSpace(at);
        const CCSize size = child->getContentSize();
        if (local.x >= 0 && local.y >= 0 && local.x <= size.width && local.y <= size.height)
            return static_cast<KVSquadItem*>(child);
    }
    return nullptr;
}

} // namespace

void KVScrollOverlayView::setUp(const CCRect& frame, int count, float pitch, CCNode* content,
                                KVMenuItem* owner) {
    (void)initWithFrame(frame);
    float buttonHeight = 0.0f;
    if (CCSpriteFrame* button = CCSpriteFrameCache::getInstance()->findSpriteFrameByName("Bt_Mid_Up.png"))
        buttonHeight = button->getRect().size.height;
    setContentSize(CCSize(count * pitch, kViewHeight - buttonHeight));
    setDelegate(this);
    m_noSnapAfterDrag = true;
    if (content != nullptr) content->retain();
    if (m_contentLayer != nullptr) m_contentLayer->release();
    m_contentLayer = content;
    if (owner != nullptr) owner->retain();
    if (m_owner != nullptr) m_owner->release();
    m_owner = owner;
}

void KVScrollOverlayView::cleanupBeforeDelete() {
    if (m_owner != nullptr) m_owner->release();
    if (m_contentLayer != nullptr) m_contentLayer->release();
    m_owner = nullptr;
    m_contentLayer = nullptr;
    CCScrollView::cleanupBeforeDelete();
}

void KVScrollOverlayView::didScroll(CCScrollView* view, bool moving) {
    (void)view;
    const CCPoint gl = CCDirector::getInstance()->convertDeltaToGL(getContentOffset());
    const CCPoint p(-gl.x, -gl.y);
    KVScrollScalableItem* carousel = asCarousel(m_owner);
    if (carousel != nullptr) carousel->relayScrolled(p.x, p.y);
    // While a creature is dragged out of the card row, the row stays where it is.
    KVCardCarouselOwner* troops = carousel != nullptr ? carousel->cardOwner() : nullptr;
    if (troops != nullptr && troops->isDragInProgress()) return;
    if (!moving) return;
    const float x = -p.x;
    if (x < 0.0f || x >= getContentSize().width) return;
    if (m_contentLayer != nullptr) m_contentLayer->setPosition(CCPoint(p.x, 0));
    if (carousel == nullptr) return;
    // Reported through an instant action on the owner, which runs it at once.
    auto* offset = new CCValue<float>(getContentOffset().x);
    carousel->runAction(CCCallFuncND::createWithTargetSelectorData(
        carousel, callfuncND_selector(KVScrollScalableItem::onScrollOffsetChanged), offset));
    offset->release();
}

void KVScrollOverlayView::didEndDragging(CCScrollView* view, bool willDecelerate) {
    (void)view;
    (void)willDecelerate;
    KVScrollScalableItem* carousel = asCarousel(m_owner);
    if (m_noSnapAfterDrag || carousel == nullptr) return;
    carousel->setSettled(false);
    CCScheduler::getInstance()->scheduleSelector(schedule_selector(KVScrollScalableItem::update), carousel, 0,
                                                 !carousel->isRunning());
}

void KVScrollOverlayView::willBeginDecelerating(CCScrollView* view) {
    (void)view;
    if (KVScrollScalableItem* carousel = asCarousel(m_owner)) carousel->relayDecelerationChanged();
}

void KVScrollOverlayView::didEndDecelerating(CCScrollView* view) {
    (void)view;
    if (KVScrollScalableItem* carousel = asCarousel(m_owner)) carousel->relayDecelerationChanged();
}

void KVScrollOverlayView::touchesBegan(CCSet* touches, CCEvent* event) {
    (void)touches;
    (void)event;
    KVScrollScalableItem* carousel = asCarousel(m_owner);
    if (!m_noSnapAfterDrag && carousel != nullptr) {
        carousel->setSettled(false);
        carousel->setSnapping(false);
    }
    relayCardTouch(touches, true);
}

void KVScrollOverlayView::touchesEnded(CCSet* touches, CCEvent* event) {
    (void)event;
    relayCardTouch(touches, false);
}

void KVScrollOverlayView::relayCardTouch(CCSet* touches, bool began) {
    KVScrollScalableItem* carousel = asCarousel(m_owner);
    if (carousel == nullptr || carousel->getMode() != KVScrollScalableItem::kCreatureCards) return;
    if (isDragging() || isDecelerating() || touches == nullptr || touches->count() == 0) return;
    auto* touch = static_cast<CCTouch*>(touches->anyObject());
    const CCPoint at = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    KVSquadItem* card = cardAt(carousel->getMenu(), at);
    if (card == nullptr || card->isInactive()) {
        if (began)
            carousel->relayTouchBeganOffItem(at.x, at.y);
        else
            carousel->relayTouchEndedOffItem(at.x, at.y);
        return;
    }
    CCString* name = card->getCardName();
    const int status =
        name != nullptr ? KVPlayerParameters::getInstance()->getKelvoLockStatus(name->c_str()) : 1;
    if (began)
        carousel->relayTouchBeganOnItem(at.x, at.y, name, status);
    else
        carousel->relayTouchEndedOnItem(at.x, at.y, name, status);
}

void KVScrollTouchDelegatingView::cleanupBeforeDelete() {
    setScrollView(nullptr);
    CCView::cleanupBeforeDelete();
}

void KVScrollTouchDelegatingView::setScrollView(KVScrollOverlayView* view) {
    if (view != nullptr) view->retain();
    if (m_scrollView != nullptr) m_scrollView->release();
    m_scrollView = view;
}

void KVScrollViewMenu::registerWithTouchDispatcher() {
    if (!m_sharesTouches) {
        CCMenu::registerWithTouchDispatcher();
        return;
    }
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, getTouchPriority(), false);
}

KVScrollViewMenu* KVScrollViewMenu::createWithItems(CCMenuItem* first, ...) {
    va_list rest;
    va_start(rest, first);
    auto* menu = new KVScrollViewMenu();
    const bool ok = menu->initWithItems(first, rest);
    va_end(rest);
    if (!ok) {
        menu->release();
        return nullptr;
    }
    menu->autorelease();
    return menu;
}

void releaseOverlayViews(KVScrollTouchDelegatingView*& touchView, KVScrollOverlayView*& scrollView,
                         bool offDirector) {
    if (offDirector && touchView != nullptr) touchView->removeFromDirector();
    if (offDirector && scrollView != nullptr) scrollView->removeFromDirector();
    if (scrollView != nullptr) scrollView->release();
    if (touchView != nullptr) touchView->release();
    scrollView = nullptr;
    touchView = nullptr;
}
