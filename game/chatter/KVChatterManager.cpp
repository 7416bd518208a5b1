#include "game/chatter/KVChatterManager.h"

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCLayerColor.h"

namespace {

kvengine::CCScene* runningScene() {
    kvengine::CCDirector* director = kvengine::CCDirector::existingInstance();
    return director != nullptr ? director->getRunningScene() : nullptr;
}

} // namespace

void KVChatterManager::cleanupBeforeDelete() {
    if (m_hostScene != nullptr) m_hostScene->release();
    m_hostScene = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}

void KVChatterManager::loadChatter(const std::string& chatterName) {
    m_loadedChatter = chatterName;
    m_fromShop = false;
    kvengine::logDebugMessage("chatter: dialogue \"%s\" cannot be shown: dialogue screens are not available",
                              chatterName.c_str());
}

void KVChatterManager::startChatter() {
    // A dialogue without steps is not shown (nothing loads steps in this build).
}

void KVChatterManager::endChatter() {
    // Nothing is shown by this build: ending only clears the flag.
    m_running = false;
}

void KVChatterManager::unloadPortraitSheets() {}

void KVChatterManager::setHostSceneToRunningScene() {
    setHostScene(runningScene());
}

void KVChatterManager::setHostScene(kvengine::CCScene* scene) {
    if (scene != nullptr) scene->retain();
    if (m_hostScene != nullptr) m_hostScene->release();
    m_hostScene = scene;
}

void KVChatterManager::showDimmer() {
    kvengine::CCScene* scene = runningScene();
    if (scene == nullptr) return;
    scene->removeChildByTag(kDimmerTag, true);
    const kvengine::CCSize size = kvengine::CCDirector::getInstance()->getWinSize();
    kvengine::CCLayerColor* dimmer =
        kvengine::CCLayerColor::createWithColor(kvengine::ccColor4B{0, 0, 0, 150}, size.width, size.height);
    if (dimmer == nullptr) return;
    dimmer->setAnchorPoint(kvengine::CCPoint(0, 0));
    dimmer->setPosition(kvengine::CCPoint(0, 0));
    scene->addChildAtZWithTag(dimmer, kDimmerZOrder, kDimmerTag);
}

void KVChatterManager::hideDimmer() {
    if (kvengine::CCScene* scene = runningScene()) scene->removeChildByTag(kDimmerTag, true);
}
