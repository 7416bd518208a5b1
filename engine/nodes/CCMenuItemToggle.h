#pragma once
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCRetained.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCProtocols.h"

#include <climits>

namespace kvengine {

/// A menu item cycling through sub-items: activation shows the next one. The visible sub-item is
/// the child tagged kSelectedItemTag; the sub-items array is retained.
class CCMenuItemToggle : public CCMenuItem, public CCRGBAProtocol {
public:
    /// Tag of the visible sub-item (0xC0C05001 as a signed value).
    static constexpr int kSelectedItemTag = static_cast<int>(0xC0C05001u);

    /// An autoreleased toggle showing sub-item 0; null (logged) without sub-items.
    static CCMenuItemToggle* createWithItems(CCObject* target, SEL_MenuHandler selector,
                                             CCMutableArray<CCMenuItem*>* items);
    ~CCMenuItemToggle() override;

    unsigned getSelectedIndex() const { return m_selectedIndex; }
    /// Shows sub-item `index`; an index past the sub-items is refused with a log line.
    void setSelectedIndex(unsigned index);
    CCMutableArray<CCMenuItem*>* getSubItems() const { return m_subItems; }
    void setSubItems(CCMutableArray<CCMenuItem*>* items);
    CCMenuItem* selectedItem() const;

    void setEnabled(bool enabled) override;
    void activate() override;
    void selected() override;
    void unselected() override;
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override { return m_color; }
    uint8_t getOpacity() override { return m_opacity; }
    void setOpacity(uint8_t opacity) override;

private:
    uint8_t m_opacity = 255;
    ccColor3B m_color{255, 255, 255};
    unsigned m_selectedIndex = UINT_MAX;
    CCRetained<CCMutableArray<CCMenuItem*>> m_subItems;
};

} // namespace kvengine
