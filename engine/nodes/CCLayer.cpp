#include "engine/nodes/CCLayer.h"

#include "engine/director/CCDirector.h"
#include "engine/input/CCKeypadDispatcher.h"
#include "engine/input/CCTouchDispatcher.h"

#include <cstring>

namespace kvengine {

CCLayer* CCLayer::create() {
    CCLayer* layer = new CCLayer();
    if (!layer->init()) {
        delete layer;
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

CCLayer::CCLayer() {
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_relativeAnchorPoint = false;
}

CCLayer::~CCLayer() = default;

bool CCLayer::init() {
    setContentSize(CCDirector::getInstance()->getWinSize());
    m_touchEnabled = false;
    m_accelerometerEnabled = false;
    return true;
}

bool CCLayer::isKindOf(const char* name) const {
    return (name != nullptr && std::strcmp(name, "CCLayer") == 0) || CCNode::isKindOf(name);
}

void CCLayer::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addStandardDelegate(this);
}

void CCLayer::onEnter() {
    if (m_touchEnabled) registerWithTouchDispatcher();
    CCNode::onEnter();
    if (m_keypadEnabled) CCKeypadDispatcher::getInstance()->addDelegate(this);
}

void CCLayer::onEnterTransitionDidFinish() {
    CCNode::onEnterTransitionDidFinish();
}

void CCLayer::onExit() {
    if (m_touchEnabled) {
        CCTouchDispatcher::getInstance()->removeDelegate(this);
        m_registered = false;
    }
    if (m_registered) {
        CCTouchDispatcher::getInstance()->removeDelegate(this);
        m_registered = false;
    }
    if (m_keypadEnabled) CCKeypadDispatcher::getInstance()->removeDelegate(this);
    CCNode::onExit();
}

void CCLayer::setTouchEnabled(bool enabled) {
    if (m_touchEnabled == enabled) return;
    m_touchEnabled = enabled;
    if (!m_running) return;
    if (enabled) {
        if (!m_registered) registerWithTouchDispatcher();
    } else {
        CCTouchDispatcher::getInstance()->removeDelegate(this);
        m_registered = false;
    }
}

void CCLayer::setKeypadEnabled(bool enabled) {
    if (m_keypadEnabled == enabled) return;
    m_keypadEnabled = enabled;
    if (!m_running) return;
    if (enabled) {
        CCKeypadDispatcher::getInstance()->addDelegate(this);
    } else {
        CCKeypadDispatcher::getInstance()->removeDelegate(this);
    }
}

bool CCLayer::touchBegan(CCTouch*, CCEvent*) {
    return true;
}

void CCLayer::runScriptHandler(int kind, CCSet* touches) {
    if (hasScriptHandlers() && !getScriptHandler(kind).empty()) executeScriptHandler(kind, touches);
}

void CCLayer::touchesBegan(CCSet* touches, CCEvent*) {
    runScriptHandler(0, touches);
}
void CCLayer::touchesMoved(CCSet* touches, CCEvent*) {
    runScriptHandler(1, touches);
}
void CCLayer::touchesEnded(CCSet* touches, CCEvent*) {
    runScriptHandler(2, touches);
}
void CCLayer::touchesCancelled(CCSet* touches, CCEvent*) {
    runScriptHandler(3, touches);
}

CCLayerMultiplex::~CCLayerMultiplex() {}

void CCLayerMultiplex::setLayers(CCObject* layers) {
    m_layers = layers;
}

} // namespace kvengine
