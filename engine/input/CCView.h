#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCProtocols.h"

namespace kvengine {

/// A layer with a rectangular frame that the director can show above the running
/// scene as an overlay (CCDirector::addOverlayView). Every view has a process-wide
/// unique id, starting at 1, which the touch dispatcher stamps into the touches
/// that land on it; 0 means "on no overlay view".
class CCView : public CCLayer {
public:
    CCView();

    CC_DECLARE_CLASS_NAME(CCView, CCLayer)

    /// Frame := rect, bounds := (0, 0, rect size), centre := the frame's middle,
    /// content size := rect size, position := (0, 0).
    virtual bool initWithFrame(const CCRect& rect);
    /// Takes the view off the director's overlays.
    virtual void removeFromDirector();

    int getViewId() const { return viewId_; }

    // The setters below only store; setting the frame changes nothing else.
    virtual CCRect getFrame() const { return frame_; }
    virtual void setFrame(const CCRect& frame) { frame_ = frame; }
    virtual CCRect getBounds() const { return bounds_; }
    virtual void setBounds(const CCRect& bounds) { bounds_ = bounds; }
    virtual CCPoint getCenter() const { return center_; }
    virtual void setCenter(const CCPoint& center) { center_ = center; }
    virtual float getFloatValue() const { return floatValue_; }
    virtual void setFloatValue(float value) { floatValue_ = value; }
    virtual ccColor3B getColorValue() const { return colorValue_; }
    virtual void setColorValue(const ccColor3B& color) { colorValue_ = color; }
    virtual CCRect getExtraRect() const { return extraRect_; }
    virtual void setExtraRect(const CCRect& rect) { extraRect_ = rect; }

protected:
    CCRect frame_;
    CCRect bounds_;
    CCPoint center_;

private:
    float floatValue_ = 0.0f;
    ccColor3B colorValue_; ///< kept for the owner; the engine does not use it
    CCRect extraRect_;
    int viewId_ = 0;
};

} // namespace kvengine
