#pragma once
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCProtocols.h"

namespace kvengine {

/// A menu item showing a label node (a child of the item, with a colour interface). Disabled,
/// the label takes the disabled colour; released after a press, the item scales back to its rest
/// scale over 0.1 seconds (an action tagged kZoomActionTag). Colour and opacity pass straight to
/// the label.
class CCMenuItemLabel : public CCMenuItem, public CCRGBAProtocol {
public:
    /// Tag of the zoom action (0xC0C05002 as a signed value).
    static constexpr int kZoomActionTag = static_cast<int>(0xC0C05002u);

    /// An autoreleased item; null (logged) without a label.
    static CCMenuItemLabel* createWithLabel(CCNode* label, CCObject* target, SEL_MenuHandler selector);

    /// False (logged) without a label.
    [[nodiscard]] bool initWithLabel(CCNode* label, CCObject* target, SEL_MenuHandler selector);

    const ccColor3B& getDisabledColor() const { return m_disabledColor; }
    void setDisabledColor(const ccColor3B& color) { m_disabledColor = color; }
    CCNode* getLabel() const { return m_label; }
    /// Adds the label as a child at anchor (0, 0); the item takes its content size.
    void setLabel(CCNode* label);

    void setEnabled(bool enabled) override;
    void activate() override;
    void selected() override;
    void unselected() override;
    CCRGBAProtocol* asRGBAProtocol() override { return this; }

    void setColor(const ccColor3B& color) override;
    ccColor3B getColor() override;
    uint8_t getOpacity() override;
    void setOpacity(uint8_t opacity) override;

protected:
    CCRGBAProtocol* labelColour() const { return m_label ? m_label->asRGBAProtocol() : nullptr; }

    ccColor3B m_disabledColor{126, 126, 126};
    CCNode* m_label = nullptr;
    ccColor3B m_colorBackup{255, 255, 255};
    float m_originalScale = 1.0f;
};

} // namespace kvengine
