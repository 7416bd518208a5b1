#pragma once

namespace kvengine {

/// The keypad interface that layers carry. The game mostly reads its keys as
/// "EVENT_KEY_PRESS" notifications from the director; layers that enabled keypad
/// input also get each key through keyPressed.
class CCKeypadDelegate {
public:
    virtual ~CCKeypadDelegate() = default;
    /// Release and retain the object that carries this interface.
    virtual void releaseOwner() {}
    virtual void retainOwner() {}
    /// A key of the window's key queue (0 Escape, 1 right, 2 left, 3 up, 4 down,
    /// 5 zoom in, 6 zoom out, 7 space), delivered after its "EVENT_KEY_PRESS"
    /// notification. The base ignores it.
    virtual void keyPressed(int /*keyCode*/) {}
    virtual void reservedKeyHook1() {}
    virtual void reservedKeyHook2() {}
};

} // namespace kvengine
