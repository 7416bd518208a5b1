#pragma once

#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"

#include <string>

namespace kvengine {

class CCTexture2D;

/// The one place image files become textures: each file (by its full path, without any "-hd"
/// marker) is loaded once and shared by everything that asks for it.
///
/// Ownership: the cache retains every texture it holds; callers of `addImage` get a texture they
/// do not own and retain it to keep it past a removal. One shared cache (getInstance), made on
/// first use, released by the director's purge and when the content scale changes.
class CCTextureCache : public CCSingleton<CCTextureCache, CCObject,
                                          kReleasedWithDirectorPurge | kReleasedOnContentScaleChange> {
public:
    CC_DECLARE_CLASS_NAME(CCTextureCache, CCObject)

    CCTextureCache();
    ~CCTextureCache() override;

    /// Releases the shared cache (and with it every cached texture it alone holds).
    static void purgeSharedTextureCache() { purgeInstance(); }

    /// The cached texture of the file, loading it when absent: names containing ".pvr" as PVR
    /// files (also ".pvr.ccz" and ".pvr.gz"), ".jpg" or ".jpeg" as JPEG, anything else as PNG
    /// (letter case ignored). Null, with the cache unchanged, when the file cannot be read,
    /// decoded or uploaded.
    CCTexture2D* addImage(const char* path);
    /// The same for PVR files.
    CCTexture2D* addPVRImage(const char* path);

    /// Removes every entry holding this texture; null does nothing.
    void removeTexture(CCTexture2D* texture);
    /// Removes the entry stored under the full path of `path`; null does nothing.
    void removeTextureForKey(const char* path);
    /// Empties the cache; textures still retained elsewhere live on.
    void removeAllTextures();

    /// Number of cached entries.
    unsigned count() const { return m_textures->count(); }

private:
    CCMutableDictionary<std::string, CCTexture2D*>* m_textures;
};

} // namespace kvengine
