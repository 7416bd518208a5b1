#pragma once
#include "engine/base/CCObject.h"

namespace kvengine {

/// A node's look-at camera. Stored in pixels; set and read in points (the director's content
/// scale factor converts). Applied by the node's transform only once it was moved (dirty).
class CCCamera : public CCObject {
public:
    CCCamera() { restore(); }

    /// Eye (0, 0, FLT_EPSILON), centre (0, 0, 0), up (0, 1, 0), not dirty.
    CCCamera* restore();
    /// Points; marks the camera dirty.
    void setEyeXYZ(float x, float y, float z);
    void getEyeXYZ(float* x, float* y, float* z) const;
    void setCenterXYZ(float x, float y, float z);
    void getCenterXYZ(float* x, float* y, float* z) const;
    void setUpXYZ(float x, float y, float z);
    void getUpXYZ(float* x, float* y, float* z) const;
    /// When dirty: gluLookAt(eye, centre, up) on the current matrix. Stays dirty.
    void locate();
    bool isDirty() const { return m_dirty; }
    /// FLT_EPSILON.
    static float getZEye();

private:
    float m_eye[3];
    float m_center[3];
    float m_up[3];
    bool m_dirty = false;
};

} // namespace kvengine
