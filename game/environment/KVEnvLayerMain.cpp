#include "game/environment/KVEnvLayerMain.h"

#include "engine/nodes/CCNode.h"

using namespace kvengine;

bool KVEnvLayerMain::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kMain;
    m_fixed = true;
    CCObject* node = dictionary != nullptr ? dictionary->objectForKey("node") : nullptr;
    if (node == nullptr || !node->isKindOf("CCNode")) {
        logProblem("no gameplay layer to stand for");
        return false;
    }
    setNode(static_cast<CCNode*>(node));
    m_node->setAnchorPoint(CCPoint(0, 0));
    m_node->setPosition(CCPoint(0, 0));
    return true;
}

void KVEnvLayerMain::resizeToNode(CCNode* levelNode) {
    if (m_node != nullptr) m_node->setContentSize(levelSizeInPoints(levelNode));
}
