#pragma once
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"

#include <string>

namespace kvengine {

/// Limits and extensions of the GL implementation, read once after a GL context exists.
///
/// The shared record is released at the engine's shutdown.
class CCConfiguration : public CCSingleton<CCConfiguration, CCObject, kReleasedWithEngine> {
public:
    /// The shared record; reads GL on the first call made while a context is current.
    static CCConfiguration* getInstance();
    /// Forgets what was read (the next getInstance with a context reads again).
    static void purge() { purgeInstance(); }

    int getMaxTextureSize() const { return m_maxTextureSize; }
    int getMaxModelviewStackDepth() const { return m_maxModelviewStackDepth; }
    bool isSupportsPVRTC() const { return m_supportsPVRTC; }
    bool isSupportsNPOT() const { return m_supportsNPOT; }
    bool isSupportsBGRA8888() const { return m_supportsBGRA8888; }
    bool isSupportsDiscardFramebuffer() const { return m_supportsDiscardFramebuffer; }
    bool isInitialised() const { return m_initialised; }

    /// Plain substring test on the whole extension string; false without one.
    bool checkForGLExtension(const std::string& name) const;

    /// Reads the values from the current GL context.
    void init();
    /// For tests: takes the values from an extension string instead of GL.
    void initWithExtensions(const char* extensions, int maxTextureSize);

private:
    int m_maxTextureSize = 0;
    int m_maxModelviewStackDepth = 0;
    bool m_supportsPVRTC = false;
    bool m_supportsNPOT = false;
    bool m_supportsBGRA8888 = false;
    bool m_supportsDiscardFramebuffer = false;
    bool m_initialised = false;
    std::string m_extensions;
};

/// 1 when the version text contains "1.0", else 2 for "1.1", else 3 for "2.0", else 0.
int glVersionCodeFromString(const char* version);
/// The code of the current context's GL_VERSION.
int getGLVersionCode();

} // namespace kvengine
