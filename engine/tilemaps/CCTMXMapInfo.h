#pragma once

// The plain description of a TMX map read by CCTMXMapInfo: tilesets, tile layers with their
// grids of global tile ids (GIDs), object groups and tile properties. Only a subset of TMX is
// understood (orthogonal, isometric and odd-column hexagonal maps; layer data as base64,
// optionally gzip or zlib compressed; tilesets cut from one picture). A map that needs more to be
// drawn right (another orientation, another layer encoding, an infinite map) is refused with a log
// line; what only adds to a map (tile collision shapes, image layers, class properties) is passed
// over with one log line per kind.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCString.h"
#include "engine/files/CCSAXParser.h"
#include "engine/tilemaps/CCTMXObjectGroup.h"

namespace kvengine {

using CCTMXProperties = CCMutableDictionary<std::string, CCString*>;
using CCTMXTileProperties = CCMutableDictionary<int, CCTMXProperties*>;

enum CCTMXOrientation { kCCTMXOrientationOrtho = 0, kCCTMXOrientationHex = 1, kCCTMXOrientationIso = 2 };

/// Bits of a stored GID that Tiled uses for flipping; the parser clears them (and says so), so
/// every GID in a layer is a plain tile index.
constexpr std::uint32_t kCCTMXFlipMask = 0xE0000000u;

/// One tileset: where its picture is and how tiles are cut from it.
class CCTMXTilesetInfo : public CCObject {
public:
    CC_DECLARE_CLASS_NAME(CCTMXTilesetInfo, CCObject)

    /// Rectangle of the tile in the tileset picture, in pixels, origin at the picture's top-left.
    /// A picture narrower than one tile is treated as one column (logged once per tileset).
    CCRect textureRectForGID(std::uint32_t gid);

    std::string name;
    std::uint32_t firstGID = 0;
    CCSize tileSize;           ///< pixels
    std::uint32_t spacing = 0; ///< pixels between tiles
    std::uint32_t margin = 0;  ///< pixels around the tiles
    std::string imagePath;     ///< full path of the picture
    CCSize imageSize;          ///< pixels; filled in when a layer loads the picture

private:
    bool m_reportedNoColumns = false;
};

/// One tile layer as read from the file.
class CCTMXLayerInfo : public CCObject {
public:
    CCTMXLayerInfo();
    ~CCTMXLayerInfo() override;

    CC_DECLARE_CLASS_NAME(CCTMXLayerInfo, CCObject)

    virtual CCTMXProperties* getProperties() const { return m_properties; }
    virtual void setProperties(CCTMXProperties* properties);

    std::string name;
    CCSize layerSize; ///< tiles
    /// layerSize.width x layerSize.height GIDs, top row first; 0 is an empty cell. Null when the
    /// layer had no usable data. Allocated with new[]; freed here while ownsGIDs is set.
    std::uint32_t* gids = nullptr;
    bool visible = true;
    std::uint8_t opacity = 255;
    bool ownsGIDs = true;
    std::uint32_t minGID = 100000;
    std::uint32_t maxGID = 0;
    CCPoint offset; ///< tiles

private:
    CCTMXProperties* m_properties;
};

/// Reads a TMX file through the SAX reader and keeps what it found. Lives only while a tiled map
/// is built; the map retains the parts it keeps.
class CCTMXMapInfo : public CCObject, public CCSAXDelegator {
public:
    /// What a property element attaches to.
    enum Parent { kParentNone = 0, kParentMap, kParentLayer, kParentObjectGroup, kParentObject, kParentTile };
    /// Bits of dataFormatFlags.
    enum { kDataStart = 1, kDataBase64 = 2, kDataGzip = 4, kDataZlib = 8 };
    /// How many tilesets may be nested through "source" before the reader refuses to follow.
    static constexpr int kMaxTilesetDepth = 4;

    CCTMXMapInfo() = default;
    ~CCTMXMapInfo() override;

    CC_DECLARE_CLASS_NAME(CCTMXMapInfo, CCObject)

    /// Autoreleased map info of the file (a name the resource layer resolves), or null when the
    /// file cannot be read, is not well-formed XML or is refused (logged).
    static CCTMXMapInfo* createWithFile(const char* tmxFile);
    [[nodiscard]] bool initWithFile(const char* tmxFile);
    /// Reads a document held in memory; mapPath is where relative tileset and picture paths are
    /// resolved from (it need not exist).
    [[nodiscard]] bool initWithData(const char* data, unsigned size, const char* mapPath);
    /// Parses another XML file into this map info (as an external tileset is read).
    bool parseFile(const char* path);

    virtual CCMutableArray<CCTMXLayerInfo*>* getLayers() const { return m_layers; }
    virtual void setLayers(CCMutableArray<CCTMXLayerInfo*>* layers);
    virtual CCMutableArray<CCTMXTilesetInfo*>* getTilesets() const { return m_tilesets; }
    virtual void setTilesets(CCMutableArray<CCTMXTilesetInfo*>* tilesets);
    virtual CCMutableArray<CCTMXObjectGroup*>* getObjectGroups() const { return m_objectGroups; }
    virtual void setObjectGroups(CCMutableArray<CCTMXObjectGroup*>* groups);
    virtual CCTMXProperties* getProperties() const { return m_properties; }
    virtual void setProperties(CCTMXProperties* properties);
    CCTMXTileProperties* getTileProperties() const { return m_tileProperties; }

    void startElement(void* context, const char* name, const char** attributes) override;
    void endElement(void* context, const char* name) override;
    void textHandler(void* context, const char* text, int length) override;

    int orientation = kCCTMXOrientationOrtho;
    CCSize mapSize;  ///< tiles
    CCSize tileSize; ///< pixels
    int currentParent = kParentNone;
    std::uint32_t currentTileGID = 0;
    int dataFormatFlags = kDataStart;
    bool collectingText = false;
    std::string mapFilePath;
    std::string collectedText;

    /// Whether the map was refused (logged when it happened).
    bool isRefused() const { return m_refused; }

private:
    struct Attributes;
    /// One open element and what it made: where a <property> inside it is stored, and the
    /// tileset, layer or object group it opened.
    struct OpenElement {
        std::string name;
        CCTMXProperties* properties = nullptr;
        CCTMXTilesetInfo* tileset = nullptr;
        CCTMXLayerInfo* layer = nullptr;
        CCTMXObjectGroup* group = nullptr;
    };
    /// A <property> without a "value" attribute: its value is the element's text.
    struct PendingProperty {
        CCTMXProperties* target = nullptr;
        std::string key;
        std::string text;
        bool hasChildren = false;
        std::size_t depth = 0; ///< m_open's size while it is open
    };

    void resetContents();
    bool finishParse(bool parsed);
    const OpenElement* parentElement() const;
    void startMap(const Attributes& attributes);
    void startTileset(const Attributes& attributes, OpenElement& element);
    void startTile(const Attributes& attributes, OpenElement& element);
    void startLayer(const Attributes& attributes, OpenElement& element);
    void startObjectGroup(const Attributes& attributes, OpenElement& element);
    void startImage(const Attributes& attributes);
    void startData(const Attributes& attributes);
    void startObject(const Attributes& attributes, OpenElement& element);
    void startProperty(const Attributes& attributes);
    void finishLayerData();
    void refuse(const std::string& why);
    void reportOnce(const std::string& what);

    CCMutableArray<CCTMXLayerInfo*>* m_layers = nullptr;
    CCMutableArray<CCTMXTilesetInfo*>* m_tilesets = nullptr;
    CCMutableArray<CCTMXObjectGroup*>* m_objectGroups = nullptr;
    CCTMXProperties* m_properties = nullptr;
    CCTMXTileProperties* m_tileProperties = nullptr;
    int m_tilesetDepth = 0;
    std::vector<OpenElement> m_open;
    PendingProperty m_pendingProperty;
    bool m_hasPendingProperty = false;
    /// The file being read: the map, or an external tileset file while it is read.
    std::string m_currentFile;
    /// The first GID the map gives the external tileset file being read (its own is not used).
    std::uint32_t m_externalFirstGID = 0;
    bool m_hasExternalFirstGID = false;
    bool m_refused = false;
    std::set<std::string> m_reported;
};

} // namespace kvengine
