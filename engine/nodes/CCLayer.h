#pragma once
#include "engine/base/CCRetained.h"
#include "engine/input/CCKeypadDelegate.h"
#include "engine/input/CCTouchDelegate.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

/// The accelerometer interface of layers; no accelerometer exists on this platform.
class CCAccelerometerDelegate {
public:
    virtual ~CCAccelerometerDelegate() = default;
    virtual void handleAcceleration() {}
    virtual void releaseOwner() {}
    virtual void retainOwner() {}
};

/// The node that receives input. While it is running and touch (keypad) input is enabled it is
/// registered with the shared touch (keypad) dispatcher, which keeps it alive meanwhile, and it
/// hands the touches it receives to its gesture recognizers. Its position is its lower-left
/// corner (relative anchor point off) and it covers the window.
class CCLayer : public CCNode,
                public CCTouchDelegate,
                public CCAccelerometerDelegate,
                public CCKeypadDelegate {
public:
    /// A new autoreleased layer covering the window; null when init fails.
    static CCLayer* create();

    CCLayer();
    ~CCLayer() override;
    /// Content size := the director's window size. Always true.
    virtual bool init();

    const char* className() const override { return "CCLayer"; }
    bool isKindOf(const char* name) const override;

    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;

    /// Registers as a standard touch delegate (menus override it).
    virtual void registerWithTouchDispatcher();
    virtual bool isTouchEnabled() const { return m_touchEnabled; }
    virtual void setTouchEnabled(bool enabled);
    virtual bool isAccelerometerEnabled() const { return m_accelerometerEnabled; }
    /// Stored only: no accelerometer input exists.
    virtual void setAccelerometerEnabled(bool enabled) { m_accelerometerEnabled = enabled; }
    virtual bool isKeypadEnabled() const { return m_keypadEnabled; }
    virtual void setKeypadEnabled(bool enabled);
    bool isRegisteredForTouches() const { return m_registered; }

    // The owner operations of every interface keep the layer itself alive.
    void releaseOwner() override { release(); }
    void retainOwner() override { retain(); }

    /// Claims every touch offered to it as a targeted delegate.
    bool touchBegan(CCTouch* touch, CCEvent* event) override;
    void touchesBegan(CCSet* touches, CCEvent* event) override;
    void touchesMoved(CCSet* touches, CCEvent* event) override;
    void touchesEnded(CCSet* touches, CCEvent* event) override;
    void touchesCancelled(CCSet* touches, CCEvent* event) override;

protected:
    bool m_registered = false;
    bool m_touchEnabled = false;
    bool m_accelerometerEnabled = false;
    bool m_keypadEnabled = false;

private:
    void runScriptHandler(int kind, CCSet* touches);
};

/// A layer holding a collection of layers (retained); choosing which one shows is the owner's.
class CCLayerMultiplex : public CCLayer {
public:
    ~CCLayerMultiplex() override;
    /// Retains the new collection, releases the old one.
    void setLayers(CCObject* layers);
    CCObject* getLayers() const { return m_layers; }

private:
    CCRetained<CCObject> m_layers;
};

} // namespace kvengine
