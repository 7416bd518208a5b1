#pragma once
#include "engine/nodes/CCNode.h"

#include <string>

namespace kvengine {

class CCMenuItem;

/// A menu item's callback: a member operation of the target receiving the item.
using SEL_MenuHandler = void (CCObject::*)(CCObject*);
#define menu_selector(method) static_cast<kvengine::SEL_MenuHandler>(&method)

/// The base of menu items: a node with selected and enabled flags and a callback run on
/// activation. Ownership: the target is not retained (it must outlive the item). Items keep the
/// node's class name ("CCNode").
class CCMenuItem : public CCNode {
public:
    CCMenuItem() = default;
    ~CCMenuItem() override = default;

    /// Anchor point (0.5, 0.5), target and selector stored, enabled; true.
    bool initWithTarget(CCObject* target, SEL_MenuHandler selector);

    virtual bool isSelected() const { return m_selected; }
    virtual bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled) { m_enabled = enabled; }
    /// When enabled, calls the selector on the target with this item.
    virtual void activate();
    virtual void selected() { m_selected = true; }
    virtual void unselected() { m_selected = false; }
    /// Stores a script handler name (null clears it); no script engine runs in this program.
    virtual void registerScriptHandler(const char* name) { m_scriptHandler = name ? name : ""; }
    const std::string& getScriptHandler() const { return m_scriptHandler; }
    /// (position - content size x anchor point, content size), in points.
    CCRect rect() const;

protected:
    bool m_selected = false;
    bool m_enabled = false;
    CCObject* m_target = nullptr;
    SEL_MenuHandler m_selector = nullptr;
    std::string m_scriptHandler;
};

} // namespace kvengine
