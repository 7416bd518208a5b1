#pragma once
#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"
#include "engine/base/CCString.h"

#include <string>
#include <vector>

namespace kvengine {

class CCSpriteFrame;
class CCTexture2D;

/// Every sprite-sheet frame by name, so sprites and animations can be made from frame names.
///
/// Sheets are property lists of formats 0 to 3 (see addSpriteFramesWithDictionary). The first
/// sheet to register a name keeps it. Aliases (format 3) map an extra name to a frame name, one
/// step only. Ownership: the cache retains its frames; findSpriteFrameByName hands out a frame
/// the caller does not own. One shared cache (getInstance), made on first use, purged with the
/// director.
class CCSpriteFrameCache : public CCSingleton<CCSpriteFrameCache, CCObject, kReleasedWithDirectorPurge> {
public:
    CC_DECLARE_CLASS_NAME(CCSpriteFrameCache, CCObject)

    /// Releases the shared cache and clears the pointer; the next getInstance makes a new one.
    static void purgeSharedSpriteFrameCache() { purgeInstance(); }

    CCSpriteFrameCache();
    ~CCSpriteFrameCache() override;

    /// Loads the sheet at `plistFile` (resolved through the file layer) and its texture: the
    /// sheet's "textureFileName" beside the sheet, else the sheet's name with ".png". A sheet or
    /// texture that cannot be loaded, or a sheet that is not whole, adds nothing (logged).
    void addSpriteFramesWithFile(const char* plistFile);
    /// Adds the frames of a parsed sheet, all on `texture`. Entries are visited in byte-wise key
    /// order; names already present are skipped. A sheet without "frames" or of an unknown
    /// format adds nothing (logged).
    void addSpriteFramesWithDictionary(CCMutableDictionary<std::string, CCObject*>* sheet,
                                       CCTexture2D* texture);
    /// The frame under `name`, else the frame its alias names, else null (logged).
    CCSpriteFrame* findSpriteFrameByName(const char* name);
    /// Whether a frame or an alias is registered under `name`, without logging.
    bool hasSpriteFrame(const char* name);
    /// Removes the frames named by the sheet at `plistFile`; aliases stay.
    void removeSpriteFramesFromFile(const char* plistFile);
    void removeSpriteFramesFromDictionary(CCMutableDictionary<std::string, CCObject*>* sheet);
    void removeAllSpriteFrames();
    /// Number of registered frames (aliases not counted).
    unsigned frameCount() const { return m_frames->count(); }

private:
    CCMutableDictionary<std::string, CCSpriteFrame*>* m_frames;
    CCMutableDictionary<std::string, CCString*>* m_aliases;
};

/// "{a,b}" as a point; zero for a malformed text (numbers read with atof).
CCPoint CCPointFromString(const char* text);
/// "{w,h}" as a size; zero for a malformed text.
CCSize CCSizeFromString(const char* text);
/// "{{x,y},{w,h}}" as a rectangle; zero for a malformed text.
CCRect CCRectFromString(const char* text);

/// The two pieces of a braced pair "{a,b}", or false when the text does not have that form: the
/// part between the first "{" and the first "}" must be non-empty, hold no "{", and split at
/// its commas into exactly two non-empty pieces.
bool splitBracedPair(const std::string& text, std::vector<std::string>* pieces);
/// The text cut at every comma (an empty text gives one empty piece).
std::vector<std::string> splitAtCommas(const std::string& text);

} // namespace kvengine
