#include "game/environment/KVEnvLayerTmx.h"

#include "engine/tilemaps/CCTMXTiledMap.h"

using namespace kvengine;

bool KVEnvLayerTmx::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kTmx;
    useLayerPixelFormat();
    CCTMXTiledMap* map =
        m_name != nullptr ? CCTMXTiledMap::createWithFile(resourcePath(m_name->c_str()).c_str()) : nullptr;
    applySetupTexturePixelFormat();
    if (map == nullptr) {
        logProblem("the tile map cannot be read");
        return false;
    }
    placeAtOrigin(map);
    setNode(map);
    return true;
}
