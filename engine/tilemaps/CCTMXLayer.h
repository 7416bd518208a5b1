#pragma once

#include <cstdint>
#include <string>

#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/tilemaps/CCTMXMapInfo.h"

namespace kvengine {

class CCSprite;

/// A plain growable array of 32-bit values (not reference-counted).
struct CCValueArrayData {
    std::uint32_t count = 0;
    std::uint32_t capacity = 0;
    std::uint32_t* items = nullptr; ///< malloc'd
};

/// New array with room for capacity values (0 becomes 1); null when memory runs out.
CCValueArrayData* createValueArrayData(std::uint32_t capacity);
void freeValueArrayData(CCValueArrayData* array);
/// False when the capacity cannot grow (the array is unchanged).
bool doubleValueArrayCapacity(CCValueArrayData* array);
/// Inserts value before index (an index past the count is clamped to it); false when full and
/// unable to grow.
bool insertIntoValueArrayData(CCValueArrayData* array, std::uint32_t value, std::uint32_t index);
/// Removes the value at index; an index not below the count is ignored.
void removeFromValueArrayData(CCValueArrayData* array, std::uint32_t index);

/// One tile layer of a TMX map: a sprite batch node whose atlas holds one quad per non-empty
/// cell, in row order from the top row. The cells are not nodes; one stamp sprite produces every
/// quad. No node can be added to a layer.
class CCTMXLayer : public CCSpriteBatchNode {
public:
    CCTMXLayer() = default;
    ~CCTMXLayer() override;

    const char* className() const override { return "CCTMXLayer"; }

    /// Autoreleased layer, or null when the tileset picture cannot be loaded or the atlas cannot
    /// be made. Takes over the layer info's GIDs only when the caller clears its ownsGIDs.
    static CCTMXLayer* createWithTilesetLayerMapInfo(CCTMXTilesetInfo* tileset, CCTMXLayerInfo* layerInfo,
                                                     CCTMXMapInfo* mapInfo);
    [[nodiscard]] bool initWithTilesetLayerMapInfo(CCTMXTilesetInfo* tileset, CCTMXLayerInfo* layerInfo,
                                                   CCTMXMapInfo* mapInfo);

    virtual CCTMXTilesetInfo* getTileset() const { return m_tileset; }
    virtual void setTileset(CCTMXTilesetInfo* tileset);
    virtual CCTMXProperties* getProperties() const { return m_properties; }
    virtual void setProperties(CCTMXProperties* properties);

    /// Writes the quads; called once after creation.
    void setupTiles();
    /// The layer property of that name, or null.
    CCString* findProperty(const char* name) const;

    /// Bottom-left corner of the cell's quad, in points.
    CCPoint tilePosition(const CCPoint& cell) const;
    int tileVertexZ(const CCPoint& cell) const;
    /// Node position of a layer offset given in tiles (uses the tile size in pixels).
    CCPoint layerOffset(const CCPoint& offsetInTiles) const;
    CCSprite* appendTile(std::uint32_t gid, const CCPoint& cell);
    void readLayerProperties();

    void addChildAtZWithTag(CCNode* child, int z, int tag) override;
    void addChildAtZ(CCNode* child, int z) override { addChildAtZWithTag(child, z, 0); }
    void addChild(CCNode* child) override { addChildAtZWithTag(child, 0, 0); }
    void removeChild(CCNode* child, bool cleanup) override;
    void draw() override;

    const std::string& getLayerName() const { return m_layerName; }
    CCSize getLayerSize() const { return m_layerSize; }
    CCSize getMapTileSize() const { return m_mapTileSize; }
    /// GIDs of the cells, layer width x layer height, top row first; 0 is empty.
    const std::uint32_t* getGIDs() const { return m_gids; }
    std::uint32_t getMinGID() const { return m_minGID; }
    std::uint32_t getMaxGID() const { return m_maxGID; }
    std::uint8_t getLayerOpacity() const { return m_opacity; }
    int getLayerOrientation() const { return m_orientation; }
    bool isAutomaticVertexZ() const { return m_automaticVertexZ; }
    int getVertexZValue() const { return m_vertexZValue; }
    float getAlphaTestValue() const { return m_alphaTestValue; }
    /// For atlas quad i, the cell index x + y x layer width.
    const CCValueArrayData* getAtlasIndexes() const { return m_atlasIndexes; }

private:
    CCSize m_layerSize;
    CCSize m_mapTileSize;
    std::uint32_t* m_gids = nullptr;
    std::size_t m_cellCount = 0;
    CCTMXTilesetInfo* m_tileset = nullptr;
    int m_orientation = kCCTMXOrientationOrtho;
    CCTMXProperties* m_properties = nullptr;
    std::string m_layerName;
    std::uint8_t m_opacity = 255;
    std::uint32_t m_minGID = 100000;
    std::uint32_t m_maxGID = 0;
    int m_vertexZValue = 0;
    bool m_automaticVertexZ = false;
    float m_alphaTestValue = 0;
    CCSprite* m_stampSprite = nullptr;
    CCValueArrayData* m_atlasIndexes = nullptr;
    float m_contentScale = 1.0f;
};

} // namespace kvengine
