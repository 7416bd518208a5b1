#include "game/environment/KVEnvLayerSpriteAnim.h"

#include <algorithm>
#include <cstdio>

#include "engine/director/CCDirector.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/environment/KVEnvDrawing.h"

using namespace kvengine;

bool KVEnvLayerSpriteAnim::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kSpriteAnim;
    if (m_name == nullptr || !kvdata::hasKey(dictionary, "anim_delay")) {
        logProblem(m_name == nullptr ? "no \"name\"" : "no \"anim_delay\"");
        return false;
    }
    kvdata::Array* sheets = kvdata::arrayAt(dictionary, "spritesheets_array");
    for (unsigned i = 0; sheets != nullptr && i < sheets->count(); ++i) {
        const std::string sheet = kvdata::textOf(sheets, i);
        if (!sheet.empty()) loadSheetFrames(sheet);
    }
    float delay = kvdata::floatAt(dictionary, "anim_delay");
    if (delay == 0.0f) delay = 0.2f;
    CCAnimation* animation = numberedFrames(m_name->c_str(), kvdata::intAt(dictionary, "frame_index_start"),
                                            kvdata::intAt(dictionary, "frame_index_end"), delay);
    char firstName[16];
    std::snprintf(firstName, sizeof firstName, "%.2d.png", kvdata::intAt(dictionary, "frame_index_start"));
    CCSpriteFrame* first =
        animation != nullptr
            ? CCSpriteFrameCache::getInstance()->findSpriteFrameByName((m_name->text + firstName).c_str())
            : nullptr;
    // A picture over the whole window is mostly clear water: its clear texels are not drawn.
    CCSprite* sprite = KVAlphaTestedSprite::createWithSpriteFrame(first);
    const CCSize size = sprite != nullptr ? sprite->getContentSize() : CCSize(0, 0);
    if (sprite == nullptr || size.width <= 0 || size.height <= 0) {
        logProblem("the first frame is missing");
        return false;
    }
    runForever(sprite, animation);
    // On the 4:3 design size the picture covers the window whatever its shape; the wide
    // design keeps the scale the data gives.
    if (CCDirector::wideScreen == 0) {
        const CCSize window = CCDirector::getInstance()->getWinSize();
        m_scale = std::max(window.width / size.width, window.height / size.height);
    }
    placeAtOrigin(sprite);
    sprite->setOpacity(static_cast<uint8_t>(m_opacity));
    applyBlending(sprite);
    sprite->setVisible(m_opacity > 0);
    setNode(sprite);
    return true;
}
