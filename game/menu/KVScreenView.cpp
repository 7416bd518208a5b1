#include "game/menu/KVScreenView.h"

#include "engine/base/CCLog.h"
#include "engine/director/CCScene.h"
#include "game/environment/KVEnvLayerCaustics.h"
#include "game/environment/KVEnvLayerParticles.h"

using namespace kvengine;

namespace {

// The plankton of every menu: 25 specks drifting up and sideways, each living about 70 s.
struct Setting {
    const char* key;
    const char* value;
};
const Setting kPlankton[] = {
    {"angle", "45"},
    {"blending_mode", "additive"},
    {"lifetime", "70"},
    {"lifetime_variance", "1"},
    {"name", "plankton.png"},
    {"parallax_factor", "0"},
    {"size", "10"},
    {"size_variance", "5"},
    {"speed", "30"},
    {"speed_variance", "20"},
    {"total_particles", "25"},
    {"zoom_factor", "1"},
};

} // namespace

KVScreenView::KVScreenView() {
    m_causticsLayer = KVEnvLayerCaustics::createMenuCausticsLayer();
    if (m_causticsLayer != nullptr) {
        m_causticsLayer->retain();
        CCNode* node = m_causticsLayer->getNode();
        addChildAtZWithTag(node, kBackdropZ, node->getTag());
    }
    kvdata::Dict* description = kvdata::newDict();
    for (const Setting& setting : kPlankton)
        kvdata::setText(description, setting.key, setting.value);
    auto* particles = new KVEnvLayerParticles();
    if (particles->initWithDictionary(description)) {
        m_particlesLayer = particles;
        CCNode* node = particles->getNode();
        addChildAtZWithTag(node, kBackdropZ, node->getTag());
    } else {
        particles->release();
    }
}

void KVScreenView::cleanupBeforeDelete() {
    if (m_causticsLayer != nullptr) m_causticsLayer->release();
    if (m_particlesLayer != nullptr) m_particlesLayer->release();
    m_causticsLayer = nullptr;
    m_particlesLayer = nullptr;
    KVLayer::cleanupBeforeDelete();
}

CCScene* createPlaceholderScene(const char* screenName) {
    logDebugMessage("menu: the %s screen is not built yet; showing a bare screen", screenName);
    CCScene* scene = CCScene::create();
    auto* view = new KVScreenView();
    (void)view->init();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}
