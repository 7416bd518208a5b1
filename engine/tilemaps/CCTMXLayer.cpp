#include "engine/tilemaps/CCTMXLayer.h"

#include <cstdlib>
#include <cstring>

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureAtlas.h"
#include "engine/textures/CCTextureCache.h"

namespace kvengine {

// ---------------------------------------------------------------------------------------------
// Value arrays

CCValueArrayData* createValueArrayData(std::uint32_t capacity) {
    if (capacity == 0) capacity = 1;
    auto* array = static_cast<CCValueArrayData*>(std::calloc(1, sizeof(CCValueArrayData)));
    if (array == nullptr) return nullptr;
    array->items = static_cast<std::uint32_t*>(std::malloc(sizeof(std::uint32_t) * capacity));
    if (array->items == nullptr) {
        std::free(array);
        return nullptr;
    }
    array->capacity = capacity;
    return array;
}

void freeValueArrayData(CCValueArrayData* array) {
    if (array == nullptr) return;
    array->count = 0;
    std::free(array->items);
    std::free(array);
}

bool doubleValueArrayCapacity(CCValueArrayData* array) {
    if (array == nullptr || array->capacity > 0x7FFFFFFFu / sizeof(std::uint32_t)) return false;
    auto* items =
        static_cast<std::uint32_t*>(std::realloc(array->items, sizeof(std::uint32_t) * array->capacity * 2));
    if (items == nullptr) return false;
    array->items = items;
    array->capacity *= 2;
    return true;
}

bool insertIntoValueArrayData(CCValueArrayData* array, std::uint32_t value, std::uint32_t index) {
    if (array == nullptr) return false;
    if (array->count + 1 >= array->capacity && !doubleValueArrayCapacity(array)) return false;
    if (index > array->count) index = array->count;
    std::memmove(array->items + index + 1, array->items + index,
                 sizeof(std::uint32_t) * (array->count - index));
    array->items[index] = value;
    ++array->count;
    return true;
}

void removeFromValueArrayData(CCValueArrayData* array, std::uint32_t index) {
    if (array == nullptr || index >= array->count) return;
    --array->count;
    std::memmove(array->items + index, array->items + index + 1,
                 sizeof(std::uint32_t) * (array->count - index));
}

// ---------------------------------------------------------------------------------------------
// Layer

CCTMXLayer::~CCTMXLayer() {
    if (m_tileset) m_tileset->release();
    if (m_stampSprite) m_stampSprite->release();
    if (m_properties) m_properties->release();
    freeValueArrayData(m_atlasIndexes);
    delete[] m_gids;
}

CCTMXLayer* CCTMXLayer::createWithTilesetLayerMapInfo(CCTMXTilesetInfo* tileset, CCTMXLayerInfo* layerInfo,
                                                      CCTMXMapInfo* mapInfo) {
    auto* layer = new CCTMXLayer();
    if (!layer->initWithTilesetLayerMapInfo(tileset, layerInfo, mapInfo)) {
        layer->release();
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

bool CCTMXLayer::initWithTilesetLayerMapInfo(CCTMXTilesetInfo* tileset, CCTMXLayerInfo* layerInfo,
                                             CCTMXMapInfo* mapInfo) {
    if (tileset == nullptr || layerInfo == nullptr || mapInfo == nullptr || layerInfo->gids == nullptr) {
        logDebugMessage("CCTMXLayer: a layer needs a tileset, a map and tile data");
        return false;
    }
    const CCSize size = layerInfo->layerSize;
    const float total = size.width * size.height;
    const auto capacity = static_cast<std::uint32_t>(static_cast<float>(total * 0.35 + 1));
    CCTexture2D* texture = CCTextureCache::getInstance()->addImage(tileset->imagePath.c_str());
    if (texture == nullptr) {
        logDebugMessage("CCTMXLayer: tileset picture '%s' of layer '%s' could not be loaded",
                        tileset->imagePath.c_str(), layerInfo->name.c_str());
        return false;
    }
    if (!initWithTexture(texture, capacity)) return false;

    m_layerName = layerInfo->name;
    m_layerSize = size;
    // The layer frees the cells from now on.
    m_gids = layerInfo->gids;
    m_cellCount = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    layerInfo->ownsGIDs = false;
    m_minGID = layerInfo->minGID;
    m_maxGID = layerInfo->maxGID;
    m_opacity = layerInfo->opacity;
    CCTMXProperties* properties =
        layerInfo->getProperties() ? layerInfo->getProperties()->duplicate() : new CCTMXProperties();
    setProperties(properties);
    properties->release();
    m_contentScale = CCDirector::sharedContentScaleFactor();
    setTileset(tileset);
    m_mapTileSize = mapInfo->tileSize;
    m_orientation = mapInfo->orientation;

    setPosition(layerOffset(layerInfo->offset));
    m_atlasIndexes = createValueArrayData(static_cast<std::uint32_t>(total));
    setContentSizeInPixels(CCSize(size.width * m_mapTileSize.width, size.height * m_mapTileSize.height));
    m_mapTileSize = CCSize(m_mapTileSize.width / m_contentScale, m_mapTileSize.height / m_contentScale);
    m_automaticVertexZ = false;
    m_vertexZValue = 0;
    m_alphaTestValue = 0;
    return m_atlasIndexes != nullptr;
}

void CCTMXLayer::setTileset(CCTMXTilesetInfo* tileset) {
    if (tileset) tileset->retain();
    if (m_tileset) m_tileset->release();
    m_tileset = tileset;
}

void CCTMXLayer::setProperties(CCTMXProperties* properties) {
    if (properties) properties->retain();
    if (m_properties) m_properties->release();
    m_properties = properties;
}

CCString* CCTMXLayer::findProperty(const char* name) const {
    if (name == nullptr || m_properties == nullptr) return nullptr;
    return m_properties->objectForKey(name);
}

void CCTMXLayer::readLayerProperties() {
    if (CCString* vertexZ = findProperty("cc_vertexz")) {
        if (vertexZ->text == "automatic")
            m_automaticVertexZ = true;
        else
            m_vertexZValue = vertexZ->toInt();
    }
    if (CCString* alpha = findProperty("cc_alpha_func")) m_alphaTestValue = alpha->toFloat();
}

void CCTMXLayer::setupTiles() {
    CCTexture2D* texture = getTexture();
    if (m_tileset == nullptr || texture == nullptr || m_gids == nullptr) return;
    m_tileset->imageSize = texture->getContentSizeInPixels();
    texture->setTexParameters(GL_LINEAR, GL_LINEAR);
    readLayerProperties();
    for (float y = 0; y < m_layerSize.height; ++y) {
        for (float x = 0; x < m_layerSize.width; ++x) {
            const auto index = static_cast<std::size_t>(x + y * m_layerSize.width);
            if (index >= m_cellCount) continue;
            const std::uint32_t gid = m_gids[index];
            if (gid == 0) continue;
            appendTile(gid, CCPoint(x, y));
            m_minGID = gid < m_minGID ? gid : m_minGID;
            m_maxGID = gid > m_maxGID ? gid : m_maxGID;
        }
    }
}

CCSprite* CCTMXLayer::appendTile(std::uint32_t gid, const CCPoint& cell) {
    if (m_tileset == nullptr || m_atlasIndexes == nullptr) return nullptr;
    CCRect rect = m_tileset->textureRectForGID(gid);
    rect = CCRect(rect.origin.x / m_contentScale, rect.origin.y / m_contentScale,
                  rect.size.width / m_contentScale, rect.size.height / m_contentScale);
    const auto z = static_cast<std::uint32_t>(cell.x + cell.y * m_layerSize.width);
    if (m_stampSprite == nullptr) m_stampSprite = new CCSprite();
    if (!m_stampSprite->initWithTextureRect(getTexture(), rect)) return nullptr; // no tileset image (logged)
    m_stampSprite->useBatchNode(this);
    m_stampSprite->setPosition(tilePosition(cell));
    m_stampSprite->setVertexZ(static_cast<float>(tileVertexZ(cell)));
    m_stampSprite->setAnchorPoint(CCPoint(0, 0));
    m_stampSprite->setOpacity(m_opacity);
    const std::uint32_t index = m_atlasIndexes->count;
    insertQuadFromSprite(m_stampSprite, index);
    insertIntoValueArrayData(m_atlasIndexes, z, index);
    return m_stampSprite;
}

CCPoint CCTMXLayer::tilePosition(const CCPoint& cell) const {
    const float W = m_layerSize.width, H = m_layerSize.height;
    const float w = m_mapTileSize.width, h = m_mapTileSize.height;
    switch (m_orientation) {
    case kCCTMXOrientationOrtho:
        return CCPoint(cell.x * w, (H - cell.y - 1) * h);
    case kCCTMXOrientationHex: {
        float y = (H - cell.y - 1) * h;
        if (static_cast<int>(cell.x) % 2 == 1) y -= h / 2;
        return CCPoint(cell.x * w * 3 * 0.25f, y);
    }
    case kCCTMXOrientationIso:
        return CCPoint(w / 2 * (W + cell.x - cell.y - 1), h / 2 * ((H * 2 - cell.x - cell.y) - 2));
    default:
        return CCPoint(0, 0);
    }
}

int CCTMXLayer::tileVertexZ(const CCPoint& cell) const {
    if (!m_automaticVertexZ) return m_vertexZValue;
    const float W = m_layerSize.width, H = m_layerSize.height;
    switch (m_orientation) {
    case kCCTMXOrientationOrtho:
        return static_cast<int>(-(H - cell.y));
    case kCCTMXOrientationIso: {
        const auto m = static_cast<std::uint32_t>(W + H);
        return static_cast<int>(-(static_cast<float>(m) - (cell.x + cell.y)));
    }
    default:
        return 0;
    }
}

CCPoint CCTMXLayer::layerOffset(const CCPoint& offset) const {
    const float w = m_mapTileSize.width, h = m_mapTileSize.height;
    switch (m_orientation) {
    case kCCTMXOrientationOrtho:
        return CCPoint(offset.x * w, -offset.y * h);
    case kCCTMXOrientationIso:
        return CCPoint(w / 2 * (offset.x - offset.y), h / 2 * (-offset.x - offset.y));
    default:
        return CCPoint(0, 0);
    }
}

void CCTMXLayer::addChildAtZWithTag(CCNode*, int, int) {
    logDebugMessage("CCTMXLayer: nodes cannot be added to a tile layer");
}

void CCTMXLayer::removeChild(CCNode* child, bool cleanup) {
    auto* sprite = dynamic_cast<CCSprite*>(child);
    if (sprite == nullptr || child->getParent() != this || m_atlasIndexes == nullptr) return;
    const std::uint32_t i = sprite->getAtlasIndex();
    if (i >= m_atlasIndexes->count) return;
    const std::uint32_t cell = m_atlasIndexes->items[i];
    if (cell < m_cellCount) m_gids[cell] = 0;
    removeFromValueArrayData(m_atlasIndexes, i);
    if (getTextureAtlas()) getTextureAtlas()->removeQuadAtIndex(i);
    CCNode::removeChild(child, cleanup);
}

void CCTMXLayer::draw() {
    if (m_automaticVertexZ) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, m_alphaTestValue);
    }
    CCSpriteBatchNode::draw();
    if (m_automaticVertexZ) glDisable(GL_ALPHA_TEST);
}

} // namespace kvengine
