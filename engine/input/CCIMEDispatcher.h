#pragma once

namespace kvengine {

class CCIMEDelegate;

/// Routes typed text to the one registered delegate that holds the input focus.
class CCIMEDispatcher {
public:
    static CCIMEDispatcher* getInstance();

    /// Registers a delegate (done by its constructor); repeats are ignored.
    void addDelegate(CCIMEDelegate* delegate);
    /// Gives the focus to a registered delegate that accepts it, taking it from
    /// the current receiver only when that one allows it.
    bool attachDelegate(CCIMEDelegate* delegate);
    /// Takes the focus from the delegate when it is the receiver and allows it.
    bool detachDelegate(CCIMEDelegate* delegate);
    /// Unregisters a delegate; a receiver loses the focus without being told.
    void removeDelegate(CCIMEDelegate* delegate);

    /// Hands text to the receiver; nothing without one, for null text or length <= 0.
    void dispatchText(const char* text, int length);
    void dispatchBackspace();
    /// One typed character as the window reports it: backspace (8) deletes,
    /// carriage return (13) becomes "\n", printable characters are passed on as
    /// UTF-8, other control characters are dropped.
    void dispatchCharacter(char32_t character);

    CCIMEDelegate* getReceiver() const;
    bool isRegistered(CCIMEDelegate* delegate) const;

private:
    CCIMEDispatcher() = default;
};

} // namespace kvengine
