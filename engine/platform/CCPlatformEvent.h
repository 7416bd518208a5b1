#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>

namespace kvengine {

/// Keys the engine reacts to. The platform backend translates its own key symbols into these
/// (see CCKeyTable); every other key arrives as Unknown.
enum class CCKey : int {
    Unknown = 0,
    Escape,
    Right,
    Left,
    Up,
    Down,
    A,
    D,
    Q,
    S,
    W,
    Z,
    KeypadPlus,
    KeypadMinus,
    Space,
    Backspace,
    Return,
    Alt,
    Count
};

/// Mouse button and modifier bits carried by mouse events (the state while the event happened).
enum CCMouseFlags : unsigned {
    kCCMouseLeft = 1u,
    kCCMouseRight = 2u,
    kCCMouseShift = 4u,
    kCCMouseControl = 8u,
    kCCMouseMiddle = 16u,
};

enum class CCEventType : int {
    None = 0,
    Quit,        ///< the platform asks the program to end now
    WindowClose, ///< the user closed the window: the director purges in its next frame
    FocusGained,
    FocusLost,
    WindowShown,
    KeyDown,    ///< `key`; auto-repeat sends one KeyDown per repeat
    SysKeyDown, ///< a key pressed while Alt is held, or Alt itself
    SysKeyUp,
    TextInput,  ///< `text`: UTF-8, NUL-terminated
    MouseMove,  ///< `x`, `y`, `flags`
    MouseDown,  ///< left button pressed at `x`, `y`; `flags` include kCCMouseLeft
    MouseUp,    ///< left button released at `x`, `y`
    MouseWheel, ///< `wheel`: > 0 forward, < 0 backward
};

/// One input or window event, free of any platform type. Positions are window client pixels
/// with the origin at the top left; they may be negative (a drag past the left or top edge).
struct CCPlatformEvent {
    CCEventType type = CCEventType::None;
    CCKey key = CCKey::Unknown;
    int x = 0;
    int y = 0;
    unsigned flags = 0;
    int wheel = 0;
    char text[32] = {};

    static CCPlatformEvent make(CCEventType type) {
        CCPlatformEvent e;
        e.type = type;
        return e;
    }
    static CCPlatformEvent keyDown(CCKey key) {
        CCPlatformEvent e = make(CCEventType::KeyDown);
        e.key = key;
        return e;
    }
    static CCPlatformEvent mouse(CCEventType type, int x, int y, unsigned flags) {
        CCPlatformEvent e = make(type);
        e.x = x;
        e.y = y;
        e.flags = flags;
        return e;
    }
    /// Text longer than the buffer is cut at a character boundary.
    static CCPlatformEvent textInput(const char* utf8);
};

/// Where the run loop takes its events from.
class CCEventSource {
public:
    virtual ~CCEventSource() = default;
    /// Takes the next waiting event into `out`; false when none is waiting (never blocks).
    virtual bool poll(CCPlatformEvent& out) = 0;
};

/// Events pushed by code: the headless backend and tests.
class CCQueuedEventSource : public CCEventSource {
public:
    bool poll(CCPlatformEvent& out) override;
    void push(const CCPlatformEvent& event) { m_events.push_back(event); }
    size_t pending() const { return m_events.size(); }
    void clear() { m_events.clear(); }

private:
    std::deque<CCPlatformEvent> m_events;
};

} // namespace kvengine
