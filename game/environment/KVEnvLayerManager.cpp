#include "game/environment/KVEnvLayerManager.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/environment/KVEnvLayer.h"
#include "game/world/KVObjectFactory.h"

using namespace kvengine;

namespace {

struct KindRow {
    const char* type;
    const char* className;
};
const KindRow kKinds[] = {
    {"main", "KVEnvLayerMain"},
    {"tmx", "KVEnvLayerTmx"},
    {"sprite", "KVEnvLayerSprite"},
    {"sprite_anim", "KVEnvLayerSpriteAnim"},
    {"caustics", "KVEnvLayerCaustics"},
    {"particles", "KVEnvLayerParticles"},
    {"animation_tmx", "KVEnvLayerAnimationTmx"},
    {"animation_svg", "KVEnvLayerAnimationSvg"},
};

const char* classForType(const std::string& type) {
    for (const KindRow& row : kKinds)
        if (type == row.type) return row.className;
    return nullptr;
}

CCNode* findTileMap(CCNode* gameplayLayer) {
    CCArray* children = gameplayLayer != nullptr ? gameplayLayer->getChildren() : nullptr;
    for (unsigned i = 0; children != nullptr && i < children->count(); ++i) {
        if (auto* map = dynamic_cast<CCTMXTiledMap*>(children->objectAtIndex(i))) return map;
    }
    return gameplayLayer;
}

} // namespace

KVEnvLayerManager::KVEnvLayerManager() {
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVEnvLayerManager::onGameShutdown), EVENT_GAME_SHUTDOWN);
}

void KVEnvLayerManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    releaseLayers();
    KVSingletonObject::cleanupBeforeDelete();
}

void KVEnvLayerManager::onGameShutdown(CCNotification* notification) {
    (void)notification;
    releaseLayers();
}

void KVEnvLayerManager::releaseLayers() {
    if (m_layers != nullptr) m_layers->release();
    m_layers = nullptr;
}

void KVEnvLayerManager::loadLayers(CCNode* gameplayLayer, CCNode* levelMap) {
    loadLayersNamed(KVGameSetup::getInstance()->getEnvironmentName(), "default_ENV", gameplayLayer,
                    levelMap != nullptr ? levelMap : findTileMap(gameplayLayer));
}

void KVEnvLayerManager::loadLayersNamed(const std::string& fileName, const std::string& fallbackName,
                                        CCNode* gameplayLayer, CCNode* levelMap) {
    kvdata::Dict* root = kvdata::loadDataTable(fileName);
    if (root == nullptr) root = kvdata::loadDataTable(fallbackName);
    if (root == nullptr)
        logDebugMessage("environment: neither %s nor %s can be read; the level gets the gameplay layer alone",
                        fileName.c_str(), fallbackName.c_str());
    loadLayersFromDictionary(root, gameplayLayer, levelMap);
}

kvdata::Dict* KVEnvLayerManager::mainLayerDictionary(CCNode* gameplayLayer) {
    kvdata::Dict* main = kvdata::newDict();
    if (gameplayLayer != nullptr) main->setObject(gameplayLayer, "node");
    kvdata::setText(main, "scale", "1");
    kvdata::setText(main, "opacity", "1");
    kvdata::setText(main, "parallax_factor", "1");
    kvdata::setText(main, "zoom_factor", "1");
    kvdata::setText(main, "name", "main layer");
    kvdata::setText(main, "type", "main");
    kvdata::setText(main, "disable", "0");
    return main;
}

void KVEnvLayerManager::loadLayersFromDictionary(kvdata::Dict* root, CCNode* gameplayLayer,
                                                 CCNode* levelMap) {
    kvdata::Dict* main = mainLayerDictionary(gameplayLayer);
    if (root == nullptr) {
        // The level still needs its gameplay layer in the stack.
        root = kvdata::newDict();
        root->setObject(main, "main");
    }
    releaseLayers();
    m_layers = new CCMutableArray<KVEnvLayer*>();
    for (const std::string& key : kvdata::keysOf(root)) {
        kvdata::Dict* entry = kvdata::dictAt(root, key);
        if (entry == nullptr || !kvdata::hasKey(entry, "disable") || !kvdata::hasKey(entry, "type")) {
            logDebugMessage("environment: entry '%s' needs \"disable\" and \"type\"; skipped", key.c_str());
            continue;
        }
        if (kvdata::intAt(entry, "disable") >= 1) continue;
        const std::string type = kvdata::textAt(entry, "type");
        const char* className = classForType(type);
        if (className == nullptr) {
            logDebugMessage("environment: entry '%s' has an unknown type '%s'; skipped", key.c_str(),
                            type.c_str());
            continue;
        }
        CCObject* made = KVObjectFactory::create(className);
        if (made == nullptr) continue; // the factory logs the name
        if (!made->isKindOf("KVEnvLayer")) {
            logDebugMessage("environment: %s is not a layer", className);
            made->release();
            continue;
        }
        auto* layer = static_cast<KVEnvLayer*>(made);
        const bool ready = layer->initWithDictionary(type == "main" ? main : entry);
        layer->autorelease();
        if (!ready || layer->getNode() == nullptr) {
            logDebugMessage("environment: entry '%s' makes no layer; skipped", key.c_str());
            continue;
        }
        m_layers->addObject(layer);
    }

    for (unsigned i = 0; i < m_layers->count(); ++i) {
        KVEnvLayer* layer = m_layers->objectAtIndex(i);
        if (layer->getKind() == KVEnvLayer::kParticles) continue;
        layer->resizeToNode(levelMap);
        CCNode* node = layer->getNode();
        const CCSize size = node->getContentSize();
        centreNodePointOnScreen(node, size.width * 0.5f, size.height * 0.5f);
        layer->setHomePosition(node->getPosition());
        if (!layer->isFixed()) node->setContentSize(CCSize(0, 0));
    }
}

void KVEnvLayerManager::addLayersToNode(CCNode* parent) {
    if (parent == nullptr || m_layers == nullptr) return;
    for (unsigned i = 0; i < m_layers->count(); ++i)
        parent->addChildAtZ(m_layers->objectAtIndex(i)->getNode(), kFrontZOrder - static_cast<int>(i));
}

void KVEnvLayerManager::scrollLayers(const CCPoint& delta) {
    for (unsigned i = 0; m_layers != nullptr && i < m_layers->count(); ++i) {
        KVEnvLayer* layer = m_layers->objectAtIndex(i);
        if (layer->isFixed()) continue;
        CCNode* node = layer->getNode();
        const CCPoint position = node->getPosition();
        node->setPosition(CCPoint(position.x + delta.x * layer->getParallaxFactor(),
                                  position.y + delta.y * layer->getParallaxFactor()));
    }
}

void KVEnvLayerManager::zoomLayers(float step) {
    const CCSize window = CCDirector::getInstance()->getWinSize();
    const CCPoint centre(window.width * 0.5f, window.height * 0.5f);
    for (unsigned i = 0; m_layers != nullptr && i < m_layers->count(); ++i) {
        KVEnvLayer* layer = m_layers->objectAtIndex(i);
        if (layer->isFixed()) continue;
        if (layer->getKind() == KVEnvLayer::kParticles) {
            layer->updateLayer(step);
            continue;
        }
        if (layer->getZoomFactor() == 0.0f) continue;
        CCNode* node = layer->getNode();
        // The point under the window centre stays there.
        const CCPoint pinned = node->convertToNodeSpace(centre);
        const float change = layer->getZoomFactor() * layer->getScale() * step;
        node->setScaleX(node->getScaleX() + change);
        node->setScaleY(node->getScaleY() + change);
        const CCPoint moved = node->convertToWorldSpace(pinned);
        const CCPoint position = node->getPosition();
        node->setPosition(CCPoint(position.x + centre.x - moved.x, position.y + centre.y - moved.y));
        layer->setHomePosition(node->getPosition());
    }
}

void KVEnvLayerManager::updateLayers(float dt) {
    for (unsigned i = 0; m_layers != nullptr && i < m_layers->count(); ++i)
        m_layers->objectAtIndex(i)->update(dt);
}

void centreNodePointOnScreen(CCNode* node, float x, float y) {
    if (node == nullptr) return;
    const CCSize window = CCDirector::getInstance()->getWinSize();
    const CCPoint world = node->convertToWorldSpace(CCPoint(x, y));
    const CCPoint position = node->getPosition();
    node->setPosition(
        CCPoint(position.x + window.width * 0.5f - world.x, position.y + window.height * 0.5f - world.y));
}
