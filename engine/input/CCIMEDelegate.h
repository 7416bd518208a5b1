#pragma once

namespace kvengine {

/// A receiver of typed text. A delegate registers itself with the text-input
/// dispatcher when constructed and leaves it when destroyed; it receives text only
/// while it holds the input focus.
class CCIMEDelegate {
public:
    virtual ~CCIMEDelegate();
    CCIMEDelegate(const CCIMEDelegate&) = delete;
    CCIMEDelegate& operator=(const CCIMEDelegate&) = delete;

    /// Asks to become the receiver of typed text.
    virtual bool requestInputFocus();
    /// Gives the focus up, when this delegate holds it and allows losing it.
    virtual bool releaseInputFocus();

    virtual bool acceptsInputFocus() { return false; }
    virtual void onInputFocusGained() {}
    virtual bool allowsInputFocusLoss() { return false; }
    virtual void onInputFocusLost() {}
    /// UTF-8 text of length bytes (not terminated).
    virtual void receiveText(const char* /*text*/, int /*length*/) {}
    virtual void receiveBackspace() {}
    virtual const char* currentText() { return nullptr; }

    virtual void reservedInputHook1(void* /*argument*/) {}
    virtual void reservedInputHook2(void* /*argument*/) {}
    virtual void reservedInputHook3(void* /*argument*/) {}
    virtual void reservedInputHook4(void* /*argument*/) {}

protected:
    CCIMEDelegate();
};

} // namespace kvengine
