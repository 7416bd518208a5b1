#include "game/hud/KVHudLayer.h"

#include "game/model/KVGameModel.h"

KVHudLayer* KVHudLayer::create() {
    auto* hud = new KVHudLayer();
    if (!hud->init()) {
        hud->release();
        return nullptr;
    }
    hud->autorelease();
    return hud;
}

void KVHudLayer::setGameModel(KVGameModel* model) {
    if (model != nullptr) model->retain();
    if (m_model != nullptr) m_model->release();
    m_model = model;
}

void KVHudLayer::cleanupBeforeDelete() {
    setGameModel(nullptr);
    KVLayer::cleanupBeforeDelete();
}
