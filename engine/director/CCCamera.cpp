#include "engine/director/CCCamera.h"

#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"

#include <cfloat>

namespace kvengine {

namespace {
float scale() {
    return CCDirector::sharedContentScaleFactor();
}

void setScaled(float* out, float x, float y, float z) {
    const float f = scale();
    out[0] = x * f;
    out[1] = y * f;
    out[2] = z * f;
}

void getScaled(const float* in, float* x, float* y, float* z) {
    const float f = scale();
    if (x) *x = in[0] / f;
    if (y) *y = in[1] / f;
    if (z) *z = in[2] / f;
}
} // namespace

CCCamera* CCCamera::restore() {
    m_eye[0] = 0.0f;
    m_eye[1] = 0.0f;
    m_eye[2] = FLT_EPSILON;
    m_center[0] = m_center[1] = m_center[2] = 0.0f;
    m_up[0] = 0.0f;
    m_up[1] = 1.0f;
    m_up[2] = 0.0f;
    m_dirty = false;
    return this;
}

void CCCamera::setEyeXYZ(float x, float y, float z) {
    setScaled(m_eye, x, y, z);
    m_dirty = true;
}

void CCCamera::getEyeXYZ(float* x, float* y, float* z) const {
    getScaled(m_eye, x, y, z);
}

void CCCamera::setCenterXYZ(float x, float y, float z) {
    setScaled(m_center, x, y, z);
    m_dirty = true;
}

void CCCamera::getCenterXYZ(float* x, float* y, float* z) const {
    getScaled(m_center, x, y, z);
}

void CCCamera::setUpXYZ(float x, float y, float z) {
    m_up[0] = x;
    m_up[1] = y;
    m_up[2] = z;
    m_dirty = true;
}

void CCCamera::getUpXYZ(float* x, float* y, float* z) const {
    if (x) *x = m_up[0];
    if (y) *y = m_up[1];
    if (z) *z = m_up[2];
}

void CCCamera::locate() {
    if (!m_dirty) return;
    gluLookAt(m_eye[0], m_eye[1], m_eye[2], m_center[0], m_center[1], m_center[2], m_up[0], m_up[1], m_up[2]);
}

float CCCamera::getZEye() {
    return FLT_EPSILON;
}

} // namespace kvengine
