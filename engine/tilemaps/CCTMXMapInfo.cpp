#include "engine/tilemaps/CCTMXMapInfo.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCBase64.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCZipUtils.h"

namespace kvengine {

namespace {

// atoi without its undefined behaviour on overflow: leading blanks, sign, decimal digits; 0 when
// there are none; clamped to the int range.
int attributeInt(const char* text) {
    long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

float attributeFloat(const char* text) {
    return static_cast<float>(std::atof(text));
}

// Float to int, truncating toward zero, with out-of-range and NaN values pinned instead of
// undefined.
int truncToInt(double value) {
    if (!(value == value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

std::string decimalText(long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld", value);
    return text;
}

// Far beyond any level (2048 x 2048 cells); bounds what a hostile map can make us allocate.
constexpr double kMaxLayerCells = 4.0 * 1024.0 * 1024.0;

// A whole, non-negative cell count small enough that count x 4 bytes fits comfortably.
bool isWholeCellCount(float value) {
    return value >= 0.0f && value <= 1.0e8f && std::floor(value) == value;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Tileset and layer records

CCRect CCTMXTilesetInfo::textureRectForGID(std::uint32_t gid) {
    CCRect rect(0.0f, 0.0f, tileSize.width, tileSize.height);
    std::uint32_t local = gid - firstGID;
    double stepX = static_cast<double>(tileSize.width) + spacing;
    double stepY = static_cast<double>(tileSize.height) + spacing;
    double columnsExact = stepX > 0.0 ? (imageSize.width - 2.0 * margin + spacing) / stepX : 0.0;
    std::uint32_t columns =
        columnsExact >= 1.0 && columnsExact < 4294967295.0 ? static_cast<std::uint32_t>(columnsExact) : 0u;
    if (columns == 0) {
        // A picture narrower than one tile (or a tile of no width) has no whole column; every
        // tile then sits in a single column instead of dividing by zero.
        if (!m_reportedNoColumns) {
            logDebugMessage("CCTMXTilesetInfo: tileset '%s' picture is narrower than one tile", name.c_str());
            m_reportedNoColumns = true;
        }
        columns = 1;
    }
    rect.origin.x = static_cast<float>((local % columns) * stepX + margin);
    rect.origin.y = static_cast<float>((local / columns) * stepY + margin);
    return rect;
}

CCTMXLayerInfo::CCTMXLayerInfo() : m_properties(new CCTMXProperties()) {}

CCTMXLayerInfo::~CCTMXLayerInfo() {
    if (m_properties) m_properties->release();
    if (ownsGIDs) delete[] gids;
}

void CCTMXLayerInfo::setProperties(CCTMXProperties* properties) {
    if (properties) properties->retain();
    if (m_properties) m_properties->release();
    m_properties = properties;
}

// ---------------------------------------------------------------------------------------------
// Map info

/// The attributes of one start tag; the first of a repeated name counts, absent ones read "".
struct CCTMXMapInfo::Attributes {
    explicit Attributes(const char** list) {
        if (list == nullptr) return;
        for (int i = 0; list[i] != nullptr && list[i + 1] != nullptr; i += 2)
            values.emplace(list[i], list[i + 1]);
    }
    const char* operator[](const char* name) const {
        auto it = values.find(name);
        return it == values.end() ? "" : it->second;
    }
    std::map<std::string, const char*> values;
};

CCTMXMapInfo::~CCTMXMapInfo() {
    if (m_tilesets) m_tilesets->release();
    if (m_layers) m_layers->release();
    if (m_objectGroups) m_objectGroups->release();
    if (m_properties) m_properties->release();
    if (m_tileProperties) m_tileProperties->release();
}

CCTMXMapInfo* CCTMXMapInfo::createWithFile(const char* tmxFile) {
    auto* info = new CCTMXMapInfo();
    if (!info->initWithFile(tmxFile)) {
        info->release();
        return nullptr;
    }
    info->autorelease();
    return info;
}

void CCTMXMapInfo::resetContents() {
    setTilesets(nullptr);
    setLayers(nullptr);
    setObjectGroups(nullptr);
    setProperties(nullptr);
    m_tilesets = new CCMutableArray<CCTMXTilesetInfo*>();
    m_layers = new CCMutableArray<CCTMXLayerInfo*>();
    m_objectGroups = new CCMutableArray<CCTMXObjectGroup*>();
    m_properties = new CCTMXProperties();
    if (m_tileProperties) m_tileProperties->release();
    m_tileProperties = new CCTMXTileProperties();
    collectedText.clear();
    collectingText = false;
    dataFormatFlags = kDataStart;
    currentParent = kParentNone;
    m_tilesetDepth = 0;
}

bool CCTMXMapInfo::initWithFile(const char* tmxFile) {
    if (tmxFile == nullptr) {
        logDebugMessage("CCTMXMapInfo: no map file named");
        return false;
    }
    resetContents();
    mapFilePath = fullPathForFile(tmxFile);
    return parseXMLFile(mapFilePath.c_str(), this);
}

bool CCTMXMapInfo::initWithData(const char* data, unsigned size, const char* mapPath) {
    if (data == nullptr) {
        logDebugMessage("CCTMXMapInfo: no map data");
        return false;
    }
    resetContents();
    mapFilePath = mapPath != nullptr ? mapPath : "";
    return parseXMLData(data, size, this, mapFilePath.c_str());
}

bool CCTMXMapInfo::parseFile(const char* path) {
    if (path == nullptr) return false;
    if (m_tilesetDepth >= kMaxTilesetDepth) {
        // A tileset that names itself (directly or through others) would never end.
        logDebugMessage("CCTMXMapInfo: tileset files nested deeper than %d levels at '%s'; not read",
                        kMaxTilesetDepth, path);
        return false;
    }
    ++m_tilesetDepth;
    bool parsed = parseXMLFile(path, this);
    --m_tilesetDepth;
    return parsed;
}

void CCTMXMapInfo::setLayers(CCMutableArray<CCTMXLayerInfo*>* layers) {
    if (layers) layers->retain();
    if (m_layers) m_layers->release();
    m_layers = layers;
}

void CCTMXMapInfo::setTilesets(CCMutableArray<CCTMXTilesetInfo*>* tilesets) {
    if (tilesets) tilesets->retain();
    if (m_tilesets) m_tilesets->release();
    m_tilesets = tilesets;
}

void CCTMXMapInfo::setObjectGroups(CCMutableArray<CCTMXObjectGroup*>* groups) {
    if (groups) groups->retain();
    if (m_objectGroups) m_objectGroups->release();
    m_objectGroups = groups;
}

void CCTMXMapInfo::setProperties(CCTMXProperties* properties) {
    if (properties) properties->retain();
    if (m_properties) m_properties->release();
    m_properties = properties;
}

void CCTMXMapInfo::startElement(void*, const char* name, const char** attributeList) {
    if (name == nullptr || m_tilesets == nullptr) return;
    Attributes attributes(attributeList);

    if (std::strcmp(name, "map") == 0) {
        const char* orientationText = attributes["orientation"];
        if (std::strcmp(orientationText, "orthogonal") == 0)
            orientation = kCCTMXOrientationOrtho;
        else if (std::strcmp(orientationText, "isometric") == 0)
            orientation = kCCTMXOrientationIso;
        else if (std::strcmp(orientationText, "hexagonal") == 0)
            orientation = kCCTMXOrientationHex;
        mapSize = CCSize(attributeFloat(attributes["width"]), attributeFloat(attributes["height"]));
        tileSize = CCSize(attributeFloat(attributes["tilewidth"]), attributeFloat(attributes["tileheight"]));
        currentParent = kParentMap;
    } else if (std::strcmp(name, "tileset") == 0) {
        startTileset(attributes);
    } else if (std::strcmp(name, "tile") == 0) {
        CCTMXTilesetInfo* tileset = m_tilesets->lastObject();
        if (tileset == nullptr) {
            logDebugMessage("CCTMXMapInfo: tile element outside any tileset in '%s' ignored",
                            mapFilePath.c_str());
            return;
        }
        currentTileGID = static_cast<std::uint32_t>(attributeInt(attributes["id"])) + tileset->firstGID;
        auto* properties = new CCTMXProperties();
        m_tileProperties->setObject(properties, static_cast<int>(currentTileGID));
        properties->release();
        currentParent = kParentTile;
    } else if (std::strcmp(name, "layer") == 0) {
        auto* layer = new CCTMXLayerInfo();
        layer->name = attributes["name"];
        layer->layerSize = CCSize(attributeFloat(attributes["width"]), attributeFloat(attributes["height"]));
        layer->visible = std::strcmp(attributes["visible"], "0") != 0;
        const char* opacityText = attributes["opacity"];
        layer->opacity =
            *opacityText != '\0'
                ? static_cast<std::uint8_t>(truncToInt(255.0 * attributeFloat(opacityText)) & 0xFF)
                : 255;
        layer->offset = CCPoint(attributeFloat(attributes["x"]), attributeFloat(attributes["y"]));
        m_layers->addObject(layer);
        layer->release();
        currentParent = kParentLayer;
    } else if (std::strcmp(name, "objectgroup") == 0) {
        auto* group = new CCTMXObjectGroup();
        group->name = attributes["name"];
        group->pixelOffset = CCPoint(attributeFloat(attributes["x"]) * tileSize.width,
                                     attributeFloat(attributes["y"]) * tileSize.height);
        m_objectGroups->addObject(group);
        group->release();
        currentParent = kParentObjectGroup;
    } else if (std::strcmp(name, "image") == 0) {
        CCTMXTilesetInfo* tileset = m_tilesets->lastObject();
        if (tileset == nullptr) {
            logDebugMessage("CCTMXMapInfo: image element outside any tileset in '%s' ignored",
                            mapFilePath.c_str());
            return;
        }
        tileset->imagePath = fullPathRelativeToFile(mapFilePath.c_str(), attributes["source"]);
    } else if (std::strcmp(name, "data") == 0) {
        // Each data element names its own encoding: the flags start over for every layer.
        dataFormatFlags = kDataStart;
        collectingText = false;
        collectedText.clear();
        if (m_layers->lastObject() == nullptr) {
            logDebugMessage("CCTMXMapInfo: data element outside any layer in '%s' ignored",
                            mapFilePath.c_str());
            return;
        }
        if (std::strcmp(attributes["encoding"], "base64") == 0) {
            dataFormatFlags |= kDataBase64;
            collectingText = true;
            const char* compression = attributes["compression"];
            if (std::strcmp(compression, "gzip") == 0)
                dataFormatFlags |= kDataGzip;
            else if (std::strcmp(compression, "zlib") == 0)
                dataFormatFlags |= kDataZlib;
        } else {
            logDebugMessage("CCTMXMapInfo: layer data encoding '%s' in '%s' is not supported",
                            attributes["encoding"], mapFilePath.c_str());
        }
    } else if (std::strcmp(name, "object") == 0) {
        startObject(attributes);
    } else if (std::strcmp(name, "property") == 0) {
        storeProperty(attributes);
    }
}

void CCTMXMapInfo::startTileset(const Attributes& attributes) {
    const char* source = attributes["source"];
    if (*source != '\0') {
        // The external file's own tileset element makes the tileset; a failed read only loses it.
        std::string path = fullPathRelativeToFile(mapFilePath.c_str(), source);
        parseFile(path.c_str());
        return;
    }
    auto* tileset = new CCTMXTilesetInfo();
    tileset->name = attributes["name"];
    tileset->firstGID = static_cast<std::uint32_t>(attributeInt(attributes["firstgid"]));
    tileset->spacing = static_cast<std::uint32_t>(attributeInt(attributes["spacing"]));
    tileset->margin = static_cast<std::uint32_t>(attributeInt(attributes["margin"]));
    tileset->tileSize =
        CCSize(attributeFloat(attributes["tilewidth"]), attributeFloat(attributes["tileheight"]));
    m_tilesets->addObject(tileset);
    tileset->release();
}

void CCTMXMapInfo::startObject(const Attributes& attributes) {
    CCTMXObjectGroup* group = m_objectGroups->lastObject();
    if (group == nullptr) {
        logDebugMessage("CCTMXMapInfo: object element outside any object group in '%s' ignored",
                        mapFilePath.c_str());
        return;
    }
    // TMX counts y down from the map's top edge; the engine counts up from the bottom, to the
    // object's lower edge. The map height is in points, with at most double content scale.
    float scale = CCDirector::getInstance()->getContentScaleFactor();
    if (!(scale <= 2.0f)) scale = 2.0f;
    if (!(scale > 0.0f)) scale = 1.0f;
    long long mapHeight = truncToInt(static_cast<double>(mapSize.height) * tileSize.height / scale);
    long long x = static_cast<long long>(attributeInt(attributes["x"])) + truncToInt(group->pixelOffset.x);
    long long y = mapHeight -
                  (static_cast<long long>(attributeInt(attributes["y"])) + truncToInt(group->pixelOffset.y)) -
                  attributeInt(attributes["height"]);

    auto* object = new CCTMXObject();
    object->setStringForKey("name", attributes["name"]);
    object->setStringForKey("type", attributes["type"]);
    object->setStringForKey("x", decimalText(x).c_str());
    object->setStringForKey("y", decimalText(y).c_str());
    object->setStringForKey("width", attributes["width"]);
    object->setStringForKey("height", attributes["height"]);
    group->getObjects()->addObject(object);
    object->release();
    currentParent = kParentObject;
}

void CCTMXMapInfo::storeProperty(const Attributes& attributes) {
    const char* key = attributes["name"];
    const char* value = attributes["value"];
    CCTMXProperties* target = nullptr;
    switch (currentParent) {
    case kParentMap:
        target = m_properties;
        break;
    case kParentLayer:
        if (CCTMXLayerInfo* layer = m_layers->lastObject()) target = layer->getProperties();
        break;
    case kParentObjectGroup:
        if (CCTMXObjectGroup* group = m_objectGroups->lastObject()) target = group->getProperties();
        break;
    case kParentObject:
        if (CCTMXObjectGroup* group = m_objectGroups->lastObject())
            if (group->getObjects()) target = group->getObjects()->lastObject();
        break;
    case kParentTile:
        target = m_tileProperties->objectForKey(static_cast<int>(currentTileGID));
        break;
    default:
        break;
    }
    if (target != nullptr) target->setStringForKey(key, value);
}

void CCTMXMapInfo::endElement(void*, const char* name) {
    if (name == nullptr) return;
    if (std::strcmp(name, "data") == 0) {
        if (dataFormatFlags & kDataBase64) finishLayerData();
    } else if (std::strcmp(name, "map") == 0 || std::strcmp(name, "layer") == 0 ||
               std::strcmp(name, "objectgroup") == 0 || std::strcmp(name, "object") == 0) {
        currentParent = kParentNone;
    }
}

void CCTMXMapInfo::finishLayerData() {
    collectingText = false;
    CCTMXLayerInfo* layer = m_layers ? m_layers->lastObject() : nullptr;
    if (layer == nullptr) return;
    // Every following data element names its own encoding.
    int flags = dataFormatFlags;
    dataFormatFlags = kDataStart;

    const CCSize& size = layer->layerSize;
    if (!isWholeCellCount(size.width) || !isWholeCellCount(size.height) ||
        static_cast<double>(size.width) * size.height > kMaxLayerCells) {
        logDebugMessage("CCTMXMapInfo: layer '%s' in '%s' has an unusable size %g x %g", layer->name.c_str(),
                        mapFilePath.c_str(), static_cast<double>(size.width),
                        static_cast<double>(size.height));
        return;
    }
    std::size_t cells = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    std::size_t expectedBytes = cells * 4;

    unsigned char* decoded = nullptr;
    int decodedLength = base64DecodeToBuffer(&decoded, static_cast<unsigned>(collectedText.size()),
                                             reinterpret_cast<const unsigned char*>(collectedText.data()));
    if (decoded == nullptr) {
        logDebugMessage("CCTMXMapInfo: layer '%s' in '%s' has no base64 data", layer->name.c_str(),
                        mapFilePath.c_str());
        return;
    }
    unsigned char* bytes = decoded;
    std::size_t length = static_cast<std::size_t>(decodedLength);
    if (flags & (kDataGzip | kDataZlib)) {
        unsigned char* inflated = nullptr;
        int inflatedLength = inflateMemoryWithHint(decoded, static_cast<unsigned>(decodedLength), &inflated,
                                                   static_cast<unsigned>(expectedBytes));
        delete[] decoded;
        if (inflated == nullptr) {
            logDebugMessage("CCTMXMapInfo: layer '%s' in '%s' could not be inflated", layer->name.c_str(),
                            mapFilePath.c_str());
            return;
        }
        bytes = inflated;
        length = static_cast<std::size_t>(inflatedLength);
    }
    if (length != expectedBytes) {
        // The layer builder reads width x height cells: a shorter buffer would be read past its end.
        logDebugMessage("CCTMXMapInfo: layer '%s' in '%s' holds %zu bytes of tile data, %zu expected",
                        layer->name.c_str(), mapFilePath.c_str(), length, expectedBytes);
        delete[] bytes;
        return;
    }
    auto* gids = new std::uint32_t[cells > 0 ? cells : 1];
    for (std::size_t i = 0; i < cells; ++i) {
        const unsigned char* b = bytes + i * 4;
        std::uint32_t gid = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                            (static_cast<std::uint32_t>(b[2]) << 16) |
                            (static_cast<std::uint32_t>(b[3]) << 24);
        gids[i] = gid & ~kCCTMXFlipMask;
    }
    delete[] bytes;
    if (layer->ownsGIDs) delete[] layer->gids;
    layer->gids = gids;
    layer->ownsGIDs = true;
    collectedText.clear();
}

void CCTMXMapInfo::textHandler(void*, const char* text, int length) {
    if (!collectingText || text == nullptr || length <= 0) return;
    collectedText.append(text, static_cast<std::size_t>(length));
}

} // namespace kvengine
