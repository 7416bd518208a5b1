// The options screen's choice list: four rows over a longer list of entries, two arrows and a
// selection frame that stays on its row while the entries scroll under it.
#include <algorithm>
#include <cmath>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/screens/KVOptionsScreenView.h"

using namespace kvengine;

namespace {

constexpr const char* kFont = "fonts/Kelvos-Kelvos.ttf";
constexpr float kFontSize = 24;
constexpr const char* kFrame = "KV_OptionSelectionFrame.png";
constexpr float kFrameMoveSeconds = 0.1f;
constexpr float kScrollSeconds = 0.2f;
/// Half the height of the list's touch zone.
constexpr float kZoneHalfHeight = 75;
constexpr ccColor3B kSelectedColour{255, 255, 0};
constexpr ccColor3B kOtherColour{255, 255, 255};

} // namespace

CCMenuItemSprite* KVOptionsScreenView::arrowItem(int arrowTag) const {
    CCNode* layer = getTabLayer();
    CCNode* menu = layer != nullptr ? layer->getChildByTag(arrowTag) : nullptr;
    return menu != nullptr ? static_cast<CCMenuItemSprite*>(menu->getChildByTag(0)) : nullptr;
}

CCMenuItemSprite* KVOptionsScreenView::addArrowMenu(const char* normalName, const char* pressedName,
                                                    SEL_MenuHandler action, CCPoint position, int tag) {
    CCNode* layer = getTabLayer();
    CCSprite* normal = CCSprite::createWithSpriteFrameName(normalName);
    CCSprite* pressed = CCSprite::createWithSpriteFrameName(pressedName);
    if (layer == nullptr || normal == nullptr || pressed == nullptr) return nullptr;
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSpritesAndTarget(normal, pressed, this, action);
    if (item == nullptr) return nullptr;
    const CCSize size = normal->getContentSize();
    item->setContentSize(size);
    for (CCSprite* image : {normal, pressed}) {
        image->setAnchorPoint(CCPoint(0.75f, 0.5f));
        image->setPosition(CCPoint(size.width / 2, size.height / 2));
    }
    item->setTag(0);
    CCMenu* menu = CCMenu::createWithItems(item, nullptr);
    if (menu == nullptr) return nullptr;
    menu->setContentSize(size);
    menu->setPosition(position);
    layer->addChildAtZWithTag(menu, 4, tag);
    return item;
}

void KVOptionsScreenView::setArrowShown(int arrowTag, bool shown) {
    if (CCMenuItemSprite* item = arrowItem(arrowTag)) {
        item->setEnabled(shown);
        item->setOpacity(shown ? 255 : 0);
    }
}

CCNode* KVOptionsScreenView::makeRow(int entry, CCPoint at) {
    CCString* text =
        m_listEntries != nullptr ? m_listEntries->objectAtIndex(static_cast<unsigned>(entry)) : nullptr;
    if (text == nullptr) return nullptr;
    KVLabelWithShadow* row = KVLabelWithShadow::createWithString(text, kFont, kFontSize);
    if (row == nullptr) return nullptr;
    row->setAnchorPoint(CCPoint(0.5f, 0.5f));
    row->setPosition(at);
    return row;
}

void KVOptionsScreenView::setRowColour(CCNode* row, bool selected) {
    if (row == nullptr) return;
    static_cast<KVLabelWithShadow*>(row)->setColor(selected ? kSelectedColour : kOtherColour);
}

void KVOptionsScreenView::fadeOutRow(CCNode* row) {
    row->setTag(kFadingRowTag);
    row->stopAllActions();
    // The shadow fades with the text; the row leaves once both are gone.
    static_cast<KVLabelWithShadow*>(row)->runActionWithOutline(CCFadeOut::createWithDuration(kScrollSeconds));
    row->runAction(
        CCSequence::createWithTwoActions(CCDelayTime::createWithDuration(kScrollSeconds),
                                         CCCallFuncN::createWithTargetSelector(
                                             this, callfuncN_selector(KVOptionsScreenView::removeFadedRow))));
}

void KVOptionsScreenView::removeFadedRow(CCNode* row) {
    if (row != nullptr && row->getParent() != nullptr) row->removeFromParent(true);
}

CCSize KVOptionsScreenView::selectionFrameSize() const {
    // Measured on a frame sprite that is never shown.
    CCSprite* frame = CCSprite::createWithSpriteFrameName(kFrame);
    return frame != nullptr ? frame->getContentSize() : CCSize(0, 0);
}

void KVOptionsScreenView::buildChoiceList(CCString* selectedEntry, CCMutableArray<CCString*>* entries) {
    auto* copy = new CCMutableArray<CCString*>();
    const int count = entries != nullptr ? static_cast<int>(entries->count()) : 0;
    for (int i = 0; i < count; ++i)
        copy->addObject(entries->objectAtIndex(static_cast<unsigned>(i)));
    if (m_listEntries != nullptr) m_listEntries->release();
    m_listEntries = copy;

    m_selectedIndex = -1;
    for (int i = 0; i < count; ++i) {
        if (m_listEntries->objectAtIndex(static_cast<unsigned>(i)) == selectedEntry) {
            m_selectedIndex = i;
            break;
        }
    }
    if (m_selectedIndex < 0 && count > 0) {
        // The frame would land on no row (and the colouring on an arrow's tag): the first entry.
        logDebugMessage("options: the selected entry is not in the list; the first one is selected");
        m_selectedIndex = 0;
    }

    CCNode* layer = getTabLayer();
    if (layer == nullptr) return;
    addArrowMenu("KV_BT_FlecheHaut_UP.png", "KV_BT_FlecheHaut_Down.png",
                 menu_selector(KVOptionsScreenView::scrollListBack), upArrowPosition(), kUpArrowTag);
    addArrowMenu("KV_BT_FlecheBas_UP.png", "KV_BT_FlecheBas_Down.png",
                 menu_selector(KVOptionsScreenView::scrollListForward), downArrowPosition(), kDownArrowTag);

    const int smaller = std::min(m_selectedIndex - 1, count - kRowCount);
    m_listOffset = smaller < 1 ? 0 : smaller;
    setArrowShown(kUpArrowTag, m_listOffset > 0);
    setArrowShown(kDownArrowTag, m_listOffset + kRowCount < count);

    for (int i = 0; i < kRowCount && m_listOffset + i < count; ++i) {
        if (CCNode* row = makeRow(m_listOffset + i, rowCentre(i)))
            layer->addChildAtZWithTag(row, 4, kFirstRowTag + i);
    }
    if (m_selectedIndex < 0) return;
    const int selectedRow = m_selectedIndex - m_listOffset;
    setRowColour(layer->getChildByTag(kFirstRowTag + selectedRow), true);
    if (CCSprite* frame = CCSprite::createWithSpriteFrameName(kFrame)) {
        frame->setPosition(rowCentre(selectedRow));
        layer->addChildAtZWithTag(frame, 3, kSelectionFrameTag);
    }
}

void KVOptionsScreenView::selectListRow(int row) {
    CCNode* layer = getTabLayer();
    const int count = m_listEntries != nullptr ? static_cast<int>(m_listEntries->count()) : 0;
    if (layer == nullptr || row < 0 || row >= kRowCount || m_listOffset + row >= count) return;
    const CCPoint target = rowCentre(row);
    if (auto* frame = static_cast<CCSprite*>(layer->getChildByTag(kSelectionFrameTag))) {
        frame->setOpacity(255);
        if (m_listOffset + row == m_selectedIndex) return;
        frame->stopAllActions();
        frame->runAction(CCMoveBy::createWithDurationPosition(
            kFrameMoveSeconds,
            CCPoint(target.x - frame->getPosition().x, target.y - frame->getPosition().y)));
        setRowColour(layer->getChildByTag(m_selectedIndex - m_listOffset + kFirstRowTag), false);
    } else if (CCSprite* made = CCSprite::createWithSpriteFrameName(kFrame)) {
        made->setPosition(target);
        made->setOpacity(0);
        made->runAction(CCFadeIn::createWithDuration(kFrameMoveSeconds));
        layer->addChildAtZWithTag(made, 2, kSelectionFrameTag);
    }
    setRowColour(layer->getChildByTag(row + kFirstRowTag), true);
    m_selectedIndex = m_listOffset + row;
}

void KVOptionsScreenView::scrollListForward(CCObject* sender) {
    (void)sender;
    CCNode* layer = getTabLayer();
    CCMenuItemSprite* down = arrowItem(kDownArrowTag);
    if (layer == nullptr || down == nullptr || !down->isEnabled()) return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT);
    if (CCMenuItemSprite* up = arrowItem(kUpArrowTag); up != nullptr && !up->isEnabled())
        setArrowShown(kUpArrowTag, true);
    if (CCNode* top = layer->getChildByTag(kFirstRowTag)) {
        fadeOutRow(top);
    }
    const int selectedRow = m_selectedIndex - m_listOffset;
    for (int i = 0; i < kRowCount - 1; ++i) {
        CCNode* row = layer->getChildByTag(kFirstRowTag + i + 1);
        if (row == nullptr) continue;
        row->setTag(kFirstRowTag + i);
        // A row still moving from an earlier press goes straight on to its new place.
        row->stopAllActions();
        row->runAction(CCMoveTo::createWithDurationPosition(kScrollSeconds, rowCentre(i)));
        setRowColour(row, i == selectedRow);
    }
    ++m_listOffset;
    ++m_selectedIndex;
    const int count = static_cast<int>(m_listEntries->count());
    if (m_listOffset + kRowCount - 1 < count) {
        if (CCNode* row = makeRow(m_listOffset + kRowCount - 1, rowCentre(kRowCount - 1))) {
            static_cast<KVLabelWithShadow*>(row)->setOpacity(0);
            static_cast<KVLabelWithShadow*>(row)->runActionWithOutline(
                CCFadeIn::createWithDuration(kScrollSeconds));
            layer->addChildAtZWithTag(row, 4, kFirstRowTag + kRowCount - 1);
            setRowColour(row, selectedRow == kRowCount - 1);
        }
    }
    if (m_listOffset + kRowCount >= count) setArrowShown(kDownArrowTag, false);
}

void KVOptionsScreenView::scrollListBack(CCObject* sender) {
    (void)sender;
    CCNode* layer = getTabLayer();
    CCMenuItemSprite* up = arrowItem(kUpArrowTag);
    if (layer == nullptr || up == nullptr || !up->isEnabled()) return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED_LIGHT);
    if (CCMenuItemSprite* down = arrowItem(kDownArrowTag); down != nullptr && !down->isEnabled())
        setArrowShown(kDownArrowTag, true);
    if (CCNode* bottom = layer->getChildByTag(kFirstRowTag + kRowCount - 1)) {
        fadeOutRow(bottom);
    }
    const int selectedRow = m_selectedIndex - m_listOffset;
    for (int i = kRowCount - 2; i >= 0; --i) {
        CCNode* row = layer->getChildByTag(kFirstRowTag + i);
        if (row == nullptr) continue;
        row->setTag(kFirstRowTag + i + 1);
        row->stopAllActions();
        row->runAction(CCMoveTo::createWithDurationPosition(kScrollSeconds, rowCentre(i + 1)));
        setRowColour(row, i + 1 == selectedRow);
    }
    --m_listOffset;
    --m_selectedIndex;
    if (m_listOffset >= 0) {
        if (CCNode* row = makeRow(m_listOffset, rowCentre(0))) {
            static_cast<KVLabelWithShadow*>(row)->setOpacity(0);
            static_cast<KVLabelWithShadow*>(row)->runActionWithOutline(
                CCFadeIn::createWithDuration(kScrollSeconds));
            layer->addChildAtZWithTag(row, 4, kFirstRowTag);
            setRowColour(row, m_selectedIndex == m_listOffset);
        }
    }
    if (m_listOffset <= 0) setArrowShown(kUpArrowTag, false);
}

bool KVOptionsScreenView::listTouchBegan(const CCPoint& point) {
    const CCSize frame = selectionFrameSize();
    const CCPoint zone = listZoneCentre();
    if (std::fabs(point.x - zone.x) >= frame.width / 2 || std::fabs(point.y - zone.y) >= kZoneHalfHeight)
        return false;
    m_arrowRepeat = 0;
    m_dragState = kTouchingList;
    for (int r = 0; r < kRowCount; ++r) {
        if (std::fabs(point.y - rowCentre(r).y) < frame.height / 2) {
            selectListRow(r);
            m_lastHoveredRow = r;
            break;
        }
    }
    return true;
}

void KVOptionsScreenView::listTouchMoved(const CCPoint& point) {
    const CCSize frame = selectionFrameSize();
    const CCPoint zone = listZoneCentre();
    if (std::fabs(point.x - zone.x) >= frame.width / 2) return;
    if (std::fabs(point.y - zone.y) < kZoneHalfHeight) {
        m_arrowRepeat = 0;
        for (int r = 0; r < kRowCount; ++r) {
            if (r != m_lastHoveredRow && std::fabs(point.y - rowCentre(r).y) < frame.height / 2) {
                selectListRow(r);
                m_lastHoveredRow = r;
                break;
            }
        }
        return;
    }
    // Past the rows: a finger resting on an arrow drags the list one entry every tenth move, the
    // way it slides (up shows later entries).
    CCNode* layer = getTabLayer();
    CCNode* upMenu = layer != nullptr ? layer->getChildByTag(kUpArrowTag) : nullptr;
    CCNode* downMenu = layer != nullptr ? layer->getChildByTag(kDownArrowTag) : nullptr;
    if (upMenu != nullptr &&
        std::fabs(point.y - upMenu->getPosition().y) < upMenu->getContentSize().height / 2) {
        if (m_arrowRepeat == 0) scrollListForward(nullptr);
    } else if (downMenu != nullptr &&
               std::fabs(point.y - downMenu->getPosition().y) < downMenu->getContentSize().height / 2) {
        if (m_arrowRepeat == 0) scrollListBack(nullptr);
    }
    m_arrowRepeat = (m_arrowRepeat + 1) % kArrowRepeatPeriod;
}
