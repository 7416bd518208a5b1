#pragma once

#include "engine/base/CCObject.h"

#include <functional>
#include <utility>

namespace kvengine {

/// A member that owns one reference to an object: assigning retains the new object, then releases
/// the old one (so assigning the object already held is safe), and the destructor releases what is
/// held. It reads as a plain pointer.
///
///     CCRetained<CCTexture2D> m_texture;
///     void setTexture(CCTexture2D* texture) { m_texture = texture; }
///
/// T needs to be complete only where an object is assigned (usually the .cpp): the release at the
/// end goes through a function recorded then, so a header may hold a merely declared class.
template <typename T> class CCRetained {
public:
    CCRetained() = default;
    ~CCRetained() {
        if (m_object) m_release(m_object);
    }
    CCRetained(const CCRetained&) = delete;
    CCRetained& operator=(const CCRetained&) = delete;

    /// Holds `object` (retained; null holds nothing) instead of the object held so far.
    void reset(T* object = nullptr) {
        if (object) object->retain();
        adopt(object);
    }
    CCRetained& operator=(T* object) {
        reset(object);
        return *this;
    }
    /// Takes over the caller's reference to `object` (a new object with count 1) without retaining
    /// it again; the object held so far is released.
    void adopt(T* object) {
        T* old = m_object;
        void (*releaseOld)(T*) = m_release;
        m_object = object;
        m_release = &releaseObject;
        if (old) releaseOld(old);
    }

    /// Gives up the object held without releasing it: the caller owns that reference (and
    /// releases it when done); null when nothing is held.
    [[nodiscard]] T* take() {
        T* object = m_object;
        m_object = nullptr;
        return object;
    }

    T* get() const { return m_object; }
    operator T*() const { return m_object; }
    T* operator->() const { return m_object; }

private:
    static void releaseObject(T* object) { object->release(); }

    T* m_object = nullptr;
    void (*m_release)(T*) = nullptr;
};

/// Makes a T, runs `init` on it (a member function of T with `args`, or any callable taking the
/// new T* and `args`) and hands the object back autoreleased; when init answers false the object
/// is released and null comes back.
///
///     return ccCreate<CCRenderTexture>(&CCRenderTexture::initWithWidthHeight, width, height);
template <typename T, typename Init, typename... Args> T* ccCreate(Init&& init, Args&&... args) {
    T* object = new T();
    if (!std::invoke(std::forward<Init>(init), object, std::forward<Args>(args)...)) {
        object->release();
        return nullptr;
    }
    object->autorelease();
    return object;
}

} // namespace kvengine
