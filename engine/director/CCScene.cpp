#include "engine/director/CCScene.h"

#include "engine/director/CCDirector.h"

namespace kvengine {

CCScene* CCScene::create() {
    CCScene* scene = new CCScene();
    if (!scene->init()) {
        delete scene;
        return nullptr;
    }
    scene->autorelease();
    return scene;
}

CCScene::CCScene() {
    m_relativeAnchorPoint = false;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

bool CCScene::init() {
    setContentSize(CCDirector::getInstance()->getWinSize());
    return true;
}

} // namespace kvengine
