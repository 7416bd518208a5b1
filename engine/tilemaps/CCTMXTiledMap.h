#pragma once

#include <string>

#include "engine/nodes/CCNode.h"
#include "engine/tilemaps/CCTMXMapInfo.h"

namespace kvengine {

class CCTMXLayer;

/// The node a TMX map is loaded into: one CCTMXLayer child per visible layer that has tiles,
/// plus the map's properties, tile properties and object groups.
class CCTMXTiledMap : public CCNode {
public:
    CCTMXTiledMap() = default;
    ~CCTMXTiledMap() override;

    const char* className() const override { return "CCTMXTiledMap"; }

    /// Autoreleased map, or null when the file cannot be read or parsed.
    static CCTMXTiledMap* createWithFile(const char* tmxFile);
    [[nodiscard]] bool initWithFile(const char* tmxFile);
    /// Builds the map from an already parsed description.
    [[nodiscard]] bool initWithMapInfo(CCTMXMapInfo* mapInfo);

    virtual CCMutableArray<CCTMXObjectGroup*>* getObjectGroups() const { return m_objectGroups; }
    virtual void setObjectGroups(CCMutableArray<CCTMXObjectGroup*>* groups);
    virtual CCTMXProperties* getProperties() const { return m_properties; }
    virtual void setProperties(CCTMXProperties* properties);
    CCTMXTileProperties* getTileProperties() const { return m_tileProperties; }

    /// First group in file order with exactly that name, or null.
    CCTMXObjectGroup* findObjectGroupByName(const char* name) const;
    /// The layer stored under that name (the last one built with it), or null.
    CCTMXLayer* layerNamed(const char* name) const;
    /// The last tileset in the file that some GID of the layer reaches, or null.
    CCTMXTilesetInfo* findTilesetForLayer(CCTMXLayerInfo* layer, CCTMXMapInfo* map) const;
    /// Finds the tileset and builds the layer with its tiles; null when either fails.
    CCTMXLayer* buildLayer(CCTMXLayerInfo* layer, CCTMXMapInfo* map);

    CCSize getMapSize() const { return m_mapSize; }
    CCSize getTileSize() const { return m_tileSize; }
    int getMapOrientation() const { return m_orientation; }

private:
    CCSize m_mapSize;
    CCSize m_tileSize;
    int m_orientation = kCCTMXOrientationOrtho;
    CCMutableArray<CCTMXObjectGroup*>* m_objectGroups = nullptr;
    CCTMXProperties* m_properties = nullptr;
    CCTMXTileProperties* m_tileProperties = nullptr;
    CCMutableDictionary<std::string, CCTMXLayer*>* m_layersByName = nullptr;
};

} // namespace kvengine
