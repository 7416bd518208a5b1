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
    bool has(const char* name) const { return values.count(name) != 0; }
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
    m_open.clear();
    m_pendingProperty = PendingProperty();
    m_hasPendingProperty = false;
    m_hasExternalFirstGID = false;
    m_refused = false;
    m_reported.clear();
}

bool CCTMXMapInfo::finishParse(bool parsed) {
    m_open.clear();
    m_hasPendingProperty = false;
    return parsed && !m_refused;
}

bool CCTMXMapInfo::initWithFile(const char* tmxFile) {
    if (tmxFile == nullptr) {
        logDebugMessage("CCTMXMapInfo: no map file named");
        return false;
    }
    resetContents();
    mapFilePath = fullPathForFile(tmxFile);
    m_currentFile = mapFilePath;
    return finishParse(parseXMLFile(mapFilePath.c_str(), this));
}

bool CCTMXMapInfo::initWithData(const char* data, unsigned size, const char* mapPath) {
    if (data == nullptr) {
        logDebugMessage("CCTMXMapInfo: no map data");
        return false;
    }
    resetContents();
    mapFilePath = mapPath != nullptr ? mapPath : "";
    m_currentFile = mapFilePath;
    return finishParse(parseXMLData(data, size, this, mapFilePath.c_str()));
}

bool CCTMXMapInfo::parseFile(const char* path) {
    if (path == nullptr) return false;
    if (m_tilesetDepth >= kMaxTilesetDepth) {
        // A tileset that names itself (directly or through others) would never end.
        logDebugMessage("CCTMXMapInfo: tileset files nested deeper than %d levels at '%s'; not read",
                        kMaxTilesetDepth, path);
        return false;
    }
    // A broken file stops without closing its elements: what it opened is dropped afterwards.
    const std::size_t open = m_open.size();
    const std::string outerFile = m_currentFile;
    m_currentFile = path;
    ++m_tilesetDepth;
    bool parsed = parseXMLFile(path, this);
    --m_tilesetDepth;
    m_currentFile = outerFile;
    if (m_open.size() > open) m_open.resize(open);
    return parsed;
}

void CCTMXMapInfo::refuse(const std::string& why) {
    logDebugMessage("CCTMXMapInfo: map '%s' refused: %s", mapFilePath.c_str(), why.c_str());
    m_refused = true;
}

void CCTMXMapInfo::reportOnce(const std::string& what) {
    if (!m_reported.insert(what).second) return;
    logDebugMessage("CCTMXMapInfo: map '%s': %s", mapFilePath.c_str(), what.c_str());
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

const CCTMXMapInfo::OpenElement* CCTMXMapInfo::parentElement() const {
    return m_open.size() >= 2 ? &m_open[m_open.size() - 2] : nullptr;
}

// Each element is pushed with what it made; a <property> is stored in the properties of the
// element it stands in (through a <properties> element or directly), never in whatever was
// opened last, so tileset, terrain and class properties do not end up on the map.
void CCTMXMapInfo::startElement(void*, const char* name, const char** attributeList) {
    if (name == nullptr || m_tilesets == nullptr) return;
    Attributes attributes(attributeList);
    if (m_hasPendingProperty) m_pendingProperty.hasChildren = true;
    m_open.push_back(OpenElement{name});
    const OpenElement* parent = parentElement();
    const std::string parentName = parent != nullptr ? parent->name : std::string();

    if (std::strcmp(name, "map") == 0) {
        startMap(attributes);
        m_open.back().properties = m_properties;
    } else if (std::strcmp(name, "tileset") == 0) {
        startTileset(attributes, m_open.back());
    } else if (std::strcmp(name, "tile") == 0) {
        startTile(attributes, m_open.back());
    } else if (std::strcmp(name, "layer") == 0) {
        startLayer(attributes, m_open.back());
    } else if (std::strcmp(name, "objectgroup") == 0) {
        startObjectGroup(attributes, m_open.back());
    } else if (std::strcmp(name, "image") == 0) {
        startImage(attributes);
    } else if (std::strcmp(name, "data") == 0) {
        startData(attributes);
    } else if (std::strcmp(name, "chunk") == 0) {
        if (parentName == "data") refuse("layer data in chunks (an infinite map) is not supported");
    } else if (std::strcmp(name, "object") == 0) {
        startObject(attributes, m_open.back());
    } else if (std::strcmp(name, "properties") == 0) {
        if (parent != nullptr) m_open.back().properties = parent->properties;
    } else if (std::strcmp(name, "property") == 0) {
        startProperty(attributes);
    } else if (std::strcmp(name, "group") == 0) {
        reportOnce("layer groups are read as their layers; the groups' own offset, opacity and "
                   "visibility are not applied");
    } else if (std::strcmp(name, "imagelayer") == 0) {
        reportOnce("image layers are not read");
    }
}

void CCTMXMapInfo::startMap(const Attributes& attributes) {
    const char* orientationText = attributes["orientation"];
    if (std::strcmp(orientationText, "orthogonal") == 0) {
        orientation = kCCTMXOrientationOrtho;
    } else if (std::strcmp(orientationText, "isometric") == 0) {
        orientation = kCCTMXOrientationIso;
    } else if (std::strcmp(orientationText, "hexagonal") == 0) {
        orientation = kCCTMXOrientationHex;
        // The hexagonal layout drawn here staggers odd columns down by half a tile, with sides of
        // half the tile width; other kinds of hexagonal map would come out scrambled.
        const char* axis = attributes["staggeraxis"];
        const char* index = attributes["staggerindex"];
        const char* side = attributes["hexsidelength"];
        if ((*axis != '\0' && std::strcmp(axis, "x") != 0) ||
            (*index != '\0' && std::strcmp(index, "odd") != 0))
            refuse(std::string("hexagonal maps staggered along '") + (*axis ? axis : "x") + "' with index '" +
                   (*index ? index : "odd") + "' are not supported (only x and odd)");
        else if (*side != '\0' && attributeInt(side) * 2 != attributeInt(attributes["tilewidth"]))
            refuse(std::string("hexagonal side length ") + side +
                   " is not supported (only half the tile width)");
    } else if (*orientationText != '\0') {
        refuse(std::string("orientation '") + orientationText + "' is not supported");
    }
    if (attributeInt(attributes["infinite"]) != 0) refuse("infinite maps are not supported");
    mapSize = CCSize(attributeFloat(attributes["width"]), attributeFloat(attributes["height"]));
    tileSize = CCSize(attributeFloat(attributes["tilewidth"]), attributeFloat(attributes["tileheight"]));
    currentParent = kParentMap;
}

void CCTMXMapInfo::startTileset(const Attributes& attributes, OpenElement& element) {
    const char* source = attributes["source"];
    if (*source != '\0') {
        // The external file's own tileset element makes the tileset, with the first GID this map
        // gives it (the file's own, usually absent, would cut every tile one tile off); its
        // picture is found beside the tileset file. A failed read only loses the tileset.
        std::string path = fullPathRelativeToFile(m_currentFile.c_str(), source);
        const std::uint32_t outerFirstGID = m_externalFirstGID;
        const bool outerHasFirstGID = m_hasExternalFirstGID;
        m_externalFirstGID = static_cast<std::uint32_t>(attributeInt(attributes["firstgid"]));
        m_hasExternalFirstGID = true;
        parseFile(path.c_str());
        m_externalFirstGID = outerFirstGID;
        m_hasExternalFirstGID = outerHasFirstGID;
        return;
    }
    auto* tileset = new CCTMXTilesetInfo();
    tileset->name = attributes["name"];
    if (m_hasExternalFirstGID) {
        tileset->firstGID = m_externalFirstGID;
        m_hasExternalFirstGID = false; // only the file's top tileset element takes it
    } else {
        tileset->firstGID = static_cast<std::uint32_t>(attributeInt(attributes["firstgid"]));
    }
    tileset->spacing = static_cast<std::uint32_t>(attributeInt(attributes["spacing"]));
    tileset->margin = static_cast<std::uint32_t>(attributeInt(attributes["margin"]));
    tileset->tileSize =
        CCSize(attributeFloat(attributes["tilewidth"]), attributeFloat(attributes["tileheight"]));
    m_tilesets->addObject(tileset);
    tileset->release();
    element.tileset = tileset;
}

void CCTMXMapInfo::startTile(const Attributes& attributes, OpenElement& element) {
    const OpenElement* parent = parentElement();
    if (parent == nullptr || parent->tileset == nullptr) {
        // A <tile gid> of a layer written as XML (refused with its data element), or a stray one:
        // it must not reset the properties of some tile of the last tileset.
        if (parent == nullptr || parent->name != "data")
            logDebugMessage("CCTMXMapInfo: tile element outside any tileset in '%s' ignored",
                            m_currentFile.c_str());
        return;
    }
    currentTileGID = static_cast<std::uint32_t>(attributeInt(attributes["id"])) + parent->tileset->firstGID;
    // A tile listed again starts over with no properties. Its dictionary is emptied rather than
    // replaced: an element still open (a tile of the same GID around a nested tileset) may be
    // filling it, and must not be left writing into a freed one.
    const int key = static_cast<int>(currentTileGID);
    CCTMXProperties* properties = m_tileProperties->objectForKey(key);
    if (properties != nullptr) {
        properties->removeAllObjects();
    } else {
        properties = new CCTMXProperties();
        m_tileProperties->setObject(properties, key);
        properties->release();
    }
    element.properties = properties;
    currentParent = kParentTile;
}

void CCTMXMapInfo::startLayer(const Attributes& attributes, OpenElement& element) {
    auto* layer = new CCTMXLayerInfo();
    layer->name = attributes["name"];
    layer->layerSize = CCSize(attributeFloat(attributes["width"]), attributeFloat(attributes["height"]));
    layer->visible = std::strcmp(attributes["visible"], "0") != 0;
    const char* opacityText = attributes["opacity"];
    layer->opacity = *opacityText != '\0'
                         ? static_cast<std::uint8_t>(truncToInt(255.0 * attributeFloat(opacityText)) & 0xFF)
                         : 255;
    layer->offset = CCPoint(attributeFloat(attributes["x"]), attributeFloat(attributes["y"]));
    m_layers->addObject(layer);
    layer->release();
    element.layer = layer;
    element.properties = layer->getProperties();
    currentParent = kParentLayer;
}

void CCTMXMapInfo::startObjectGroup(const Attributes& attributes, OpenElement& element) {
    const OpenElement* parent = parentElement();
    if (parent != nullptr && parent->name == "tile") {
        reportOnce("tile collision shapes are not read");
        return;
    }
    auto* group = new CCTMXObjectGroup();
    group->name = attributes["name"];
    group->pixelOffset = CCPoint(attributeFloat(attributes["x"]) * tileSize.width,
                                 attributeFloat(attributes["y"]) * tileSize.height);
    m_objectGroups->addObject(group);
    group->release();
    element.group = group;
    element.properties = group->getProperties();
    currentParent = kParentObjectGroup;
}

void CCTMXMapInfo::startImage(const Attributes& attributes) {
    const OpenElement* parent = parentElement();
    if (parent != nullptr && parent->tileset != nullptr) {
        // Relative to the file that names it: the map, or the external tileset file.
        parent->tileset->imagePath = fullPathRelativeToFile(m_currentFile.c_str(), attributes["source"]);
    } else if (parent != nullptr && parent->name == "tile") {
        // An image-collection tileset: one picture per tile, which a tile layer cannot draw from.
        reportOnce("tilesets of separate tile pictures (image collections) are not supported");
    } else if (parent == nullptr || parent->name != "imagelayer") {
        logDebugMessage("CCTMXMapInfo: image element outside any tileset in '%s' ignored",
                        m_currentFile.c_str());
    }
}

void CCTMXMapInfo::startData(const Attributes& attributes) {
    // Each data element names its own encoding: the flags start over for every layer.
    dataFormatFlags = kDataStart;
    collectingText = false;
    collectedText.clear();
    const OpenElement* parent = parentElement();
    if (parent == nullptr || parent->layer == nullptr) {
        logDebugMessage("CCTMXMapInfo: data element outside any layer in '%s' ignored", mapFilePath.c_str());
        return;
    }
    const char* encoding = attributes["encoding"];
    const char* compression = attributes["compression"];
    if (std::strcmp(encoding, "base64") != 0) {
        // The layer would load empty, and the map with a hole where it was.
        refuse(*encoding == '\0' ? std::string("layer '") + parent->layer->name +
                                       "' is written as one XML element per tile; only base64 data is read"
                                 : std::string("layer '") + parent->layer->name + "' data encoding '" +
                                       encoding + "' is not supported; only base64 is read");
        return;
    }
    dataFormatFlags |= kDataBase64;
    if (std::strcmp(compression, "gzip") == 0) {
        dataFormatFlags |= kDataGzip;
    } else if (std::strcmp(compression, "zlib") == 0) {
        dataFormatFlags |= kDataZlib;
    } else if (*compression != '\0') {
        refuse(std::string("layer '") + parent->layer->name + "' data compression '" + compression +
               "' is not supported; only gzip and zlib are read");
        return;
    }
    collectingText = true;
}

void CCTMXMapInfo::startObject(const Attributes& attributes, OpenElement& element) {
    const OpenElement* parent = parentElement();
    CCTMXObjectGroup* group = parent != nullptr ? parent->group : nullptr;
    if (group == nullptr) {
        // Objects of a tile's collision shapes have been reported with their group.
        if (parent == nullptr || parent->name != "objectgroup")
            logDebugMessage("CCTMXMapInfo: object element outside any object group in '%s' ignored",
                            mapFilePath.c_str());
        return;
    }
    if (*attributes["template"] != '\0') reportOnce("object templates are not read");
    // TMX counts y down from the map's top edge; the engine counts up from the bottom, to the
    // object's lower edge. The map height is in points, with at most double content scale. A tile
    // object (one with a gid) is stored by its lower edge already.
    float scale = CCDirector::sharedContentScaleFactor();
    if (!(scale <= 2.0f)) scale = 2.0f;
    if (!(scale > 0.0f)) scale = 1.0f;
    long long mapHeight = truncToInt(static_cast<double>(mapSize.height) * tileSize.height / scale);
    long long x = static_cast<long long>(attributeInt(attributes["x"])) + truncToInt(group->pixelOffset.x);
    long long y = mapHeight -
                  (static_cast<long long>(attributeInt(attributes["y"])) + truncToInt(group->pixelOffset.y));
    if (!attributes.has("gid")) y -= attributeInt(attributes["height"]);

    auto* object = new CCTMXObject();
    object->setStringForKey("name", attributes["name"]);
    object->setStringForKey("type", attributes["type"]);
    object->setStringForKey("x", decimalText(x).c_str());
    object->setStringForKey("y", decimalText(y).c_str());
    object->setStringForKey("width", attributes["width"]);
    object->setStringForKey("height", attributes["height"]);
    group->getObjects()->addObject(object);
    object->release();
    element.properties = object;
    currentParent = kParentObject;
}

void CCTMXMapInfo::startProperty(const Attributes& attributes) {
    const OpenElement* parent = parentElement();
    CCTMXProperties* target = parent != nullptr ? parent->properties : nullptr;
    if (target == nullptr) {
        // Properties of tilesets, terrains, wang sets, image layers, and the members of a class
        // property: nothing here keeps them.
        if (parent != nullptr) {
            const OpenElement* owner =
                parent->name == "properties" && m_open.size() >= 3 ? &m_open[m_open.size() - 3] : parent;
            // Members of a class property are reported with it.
            if (owner->name != "property")
                reportOnce("properties of <" + owner->name + "> elements are not read");
        }
        return;
    }
    const char* key = attributes["name"];
    if (attributes.has("value")) {
        target->setStringForKey(key, attributes["value"]);
        return;
    }
    // Multi-line values are written as the element's text instead of a value attribute.
    m_pendingProperty = PendingProperty();
    m_pendingProperty.target = target;
    m_pendingProperty.key = key;
    m_pendingProperty.depth = m_open.size();
    m_hasPendingProperty = true;
}

void CCTMXMapInfo::endElement(void*, const char* name) {
    if (name == nullptr) return;
    if (std::strcmp(name, "data") == 0) {
        if (dataFormatFlags & kDataBase64) finishLayerData();
    } else if (std::strcmp(name, "property") == 0) {
        // Only the pending property's own end: the members of a class property end before it.
        if (m_hasPendingProperty && m_open.size() == m_pendingProperty.depth) {
            m_hasPendingProperty = false;
            if (m_pendingProperty.hasChildren)
                reportOnce("class-type properties are not read");
            else
                m_pendingProperty.target->setStringForKey(m_pendingProperty.key,
                                                          m_pendingProperty.text.c_str());
        }
    } else if (std::strcmp(name, "map") == 0 || std::strcmp(name, "layer") == 0 ||
               std::strcmp(name, "objectgroup") == 0 || std::strcmp(name, "object") == 0) {
        currentParent = kParentNone;
    }
    if (!m_open.empty()) m_open.pop_back();
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
    std::size_t flipped = 0;
    for (std::size_t i = 0; i < cells; ++i) {
        const unsigned char* b = bytes + i * 4;
        std::uint32_t gid = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                            (static_cast<std::uint32_t>(b[2]) << 16) |
                            (static_cast<std::uint32_t>(b[3]) << 24);
        if (gid & kCCTMXFlipMask) ++flipped;
        gids[i] = gid & ~kCCTMXFlipMask;
    }
    delete[] bytes;
    if (flipped > 0) {
        logDebugMessage("CCTMXMapInfo: layer '%s' in '%s' has %zu flipped or rotated tiles; they are drawn "
                        "unflipped",
                        layer->name.c_str(), mapFilePath.c_str(), flipped);
    }
    if (layer->ownsGIDs) delete[] layer->gids;
    layer->gids = gids;
    layer->ownsGIDs = true;
    collectedText.clear();
}

void CCTMXMapInfo::textHandler(void*, const char* text, int length) {
    if (text == nullptr || length <= 0) return;
    if (m_hasPendingProperty) m_pendingProperty.text.append(text, static_cast<std::size_t>(length));
    if (collectingText) collectedText.append(text, static_cast<std::size_t>(length));
}

} // namespace kvengine
