#include "game/menu/KVScreenView.h"

#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
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

CCNode* KVScreenView::addBackground(int tag) {
    CCSprite* background = CCSprite::createWithSpriteFrameName("KV_Fond.png");
    if (background == nullptr) return nullptr;
    const CCSize win = CCDirector::getInstance()->getWinSize();
    background->setAnchorPoint(CCPoint(0.5f, 0.5f));
    background->setPosition(CCPoint(win.width / 2, win.height / 2));
    addChildAtZWithTag(background, 0, tag);
    return background;
}

CCMenu* KVScreenView::addArrow(const char* normalFrame, const char* pressedFrame, SEL_MenuHandler handler,
                               float x, float y, int z) {
    CCSprite* normal = CCSprite::createWithSpriteFrameName(normalFrame);
    CCSprite* pressed = CCSprite::createWithSpriteFrameName(pressedFrame);
    if (normal == nullptr || pressed == nullptr) return nullptr;
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSpritesAndTarget(normal, pressed, this, handler);
    if (item == nullptr) return nullptr;
    // Three times the picture: an easy target for a finger or a quick click.
    const CCSize size = normal->getContentSize();
    const CCSize area(size.width * 3, size.height * 3);
    item->setContentSize(area);
    for (CCSprite* image : {normal, pressed}) {
        image->setAnchorPoint(CCPoint(0.5f, 0.5f));
        image->setPosition(CCPoint(area.width / 2, area.height / 2));
    }
    CCMenu* menu = CCMenu::createWithItems(item, nullptr);
    addChildAtZWithTag(menu, z, menu->getTag());
    menu->setPosition(CCPoint(x, y));
    menu->setAnchorPoint(CCPoint(0, 0));
    return menu;
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
