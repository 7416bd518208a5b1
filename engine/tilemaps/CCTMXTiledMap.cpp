#include "engine/tilemaps/CCTMXTiledMap.h"

#include <algorithm>

#include "engine/tilemaps/CCTMXLayer.h"

namespace kvengine {

CCTMXTiledMap::~CCTMXTiledMap() {
    if (m_objectGroups) m_objectGroups->release();
    if (m_properties) m_properties->release();
    if (m_tileProperties) m_tileProperties->release();
    if (m_layersByName) m_layersByName->release();
}

CCTMXTiledMap* CCTMXTiledMap::createWithFile(const char* tmxFile) {
    auto* map = new CCTMXTiledMap();
    if (!map->initWithFile(tmxFile)) {
        map->release();
        return nullptr;
    }
    map->autorelease();
    return map;
}

bool CCTMXTiledMap::initWithFile(const char* tmxFile) {
    setContentSize(CCSize());
    CCTMXMapInfo* info = CCTMXMapInfo::createWithFile(tmxFile);
    if (info == nullptr) return false;
    return initWithMapInfo(info);
}

bool CCTMXTiledMap::initWithMapInfo(CCTMXMapInfo* info) {
    if (info == nullptr) return false;
    setContentSize(CCSize());
    m_mapSize = info->mapSize;
    m_tileSize = info->tileSize;
    m_orientation = info->orientation;
    setObjectGroups(info->getObjectGroups());
    setProperties(info->getProperties());
    CCTMXTileProperties* tileProperties = info->getTileProperties();
    if (tileProperties) tileProperties->retain();
    if (m_tileProperties) m_tileProperties->release();
    m_tileProperties = tileProperties;

    CCMutableArray<CCTMXLayerInfo*>* layers = info->getLayers();
    if (layers == nullptr || layers->count() == 0) return true;
    if (m_layersByName == nullptr) m_layersByName = new CCMutableDictionary<std::string, CCTMXLayer*>();
    int index = 0;
    for (CCTMXLayerInfo* layerInfo : *layers) {
        if (layerInfo == nullptr || !layerInfo->visible) continue;
        CCTMXLayer* layer = buildLayer(layerInfo, info);
        if (layer == nullptr) continue;
        addChildAtZWithTag(layer, index, index);
        m_layersByName->setObject(layer, layer->getLayerName());
        CCSize own = getContentSize(), its = layer->getContentSize();
        setContentSize(CCSize(std::max(own.width, its.width), std::max(own.height, its.height)));
        ++index;
    }
    return true;
}

CCTMXLayer* CCTMXTiledMap::buildLayer(CCTMXLayerInfo* layerInfo, CCTMXMapInfo* info) {
    CCTMXTilesetInfo* tileset = findTilesetForLayer(layerInfo, info);
    if (tileset == nullptr) return nullptr;
    CCTMXLayer* layer = CCTMXLayer::createWithTilesetLayerMapInfo(tileset, layerInfo, info);
    if (layer == nullptr) return nullptr;
    layer->setupTiles();
    return layer;
}

CCTMXTilesetInfo* CCTMXTiledMap::findTilesetForLayer(CCTMXLayerInfo* layer, CCTMXMapInfo* map) const {
    // A layer without cells (its data was missing or malformed) has nothing to draw.
    if (layer == nullptr || map == nullptr || layer->gids == nullptr) return nullptr;
    CCMutableArray<CCTMXTilesetInfo*>* tilesets = map->getTilesets();
    if (tilesets == nullptr || tilesets->count() == 0) return nullptr;
    const CCSize size = layer->layerSize;
    const std::size_t cells = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    for (unsigned t = tilesets->count(); t-- > 0;) {
        CCTMXTilesetInfo* tileset = tilesets->objectAtIndex(t);
        if (tileset == nullptr) continue;
        for (float y = 0; y < size.height; ++y) {
            for (float x = 0; x < size.width; ++x) {
                const auto index = static_cast<std::size_t>(x + y * size.width);
                if (index >= cells) continue;
                const std::uint32_t gid = layer->gids[index];
                if (gid != 0 && gid >= tileset->firstGID) return tileset;
            }
        }
    }
    return nullptr;
}

void CCTMXTiledMap::setObjectGroups(CCMutableArray<CCTMXObjectGroup*>* groups) {
    if (groups) groups->retain();
    if (m_objectGroups) m_objectGroups->release();
    m_objectGroups = groups;
}

void CCTMXTiledMap::setProperties(CCTMXProperties* properties) {
    if (properties) properties->retain();
    if (m_properties) m_properties->release();
    m_properties = properties;
}

CCTMXObjectGroup* CCTMXTiledMap::findObjectGroupByName(const char* name) const {
    if (name == nullptr || m_objectGroups == nullptr) return nullptr;
    for (CCTMXObjectGroup* group : *m_objectGroups)
        if (group->name == name) return group;
    return nullptr;
}

CCTMXLayer* CCTMXTiledMap::layerNamed(const char* name) const {
    if (name == nullptr || m_layersByName == nullptr) return nullptr;
    return m_layersByName->objectForKey(name);
}

} // namespace kvengine
