#include "game/scene/KVLoadingGameLayer.h"

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/scene/KVGameplayScene.h"

using namespace kvengine;

namespace {

const char* const kSheets[] = {"loading_screen_pvrtc2_ss", "loading_screen_pvrtc4_ss"};

// The full path of a resource, or "" (logged) when the index has no such file.
std::string resourcePath(const std::string& fileName) {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    if (!index->containsFileName(fileName)) {
        logDebugMessage("KVLoadingGameLayer: no resource %s", fileName.c_str());
        return "";
    }
    return index->pathForFileName(fileName);
}

CCSprite* frameSprite(const char* frame) {
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame);
    if (sprite == nullptr) {
        logDebugMessage("KVLoadingGameLayer: no frame %s", frame);
        return nullptr;
    }
    return sprite;
}

} // namespace

KVLoadingGameLayer* KVLoadingGameLayer::create(const ccColor4B& color, float width, float height) {
    return ccCreate<KVLoadingGameLayer>([&](KVLoadingGameLayer* layer) {
        return layer->initWithColorAndSize(color, width, height) && layer->buildArtwork();
    });
}

bool KVLoadingGameLayer::buildArtwork() {
    m_centre = CCPoint(getContentSize().width / 2.0f, getContentSize().height / 2.0f);
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    for (const char* sheet : kSheets) {
        const std::string plist = resourcePath(std::string(sheet) + ".plist");
        if (!plist.empty()) frames->addSpriteFramesWithFile(plist.c_str());
    }
    m_background = frameSprite("Loading_layer_background.png");
    m_middle = frameSprite("Loading_layer_middle.png");
    m_foreground = frameSprite("Loading_layer_foreground.png");
    m_banner = frameSprite("KV_Loading_Banner.png");
    if (m_background == nullptr || m_middle == nullptr || m_foreground == nullptr || m_banner == nullptr)
        return false;

    const bool wide = CCDirector::wideScreen != 0;
    const CCPoint offset = wide ? CCPoint(240.0f, 140.0f) : CCPoint(176.0f, 172.0f);
    int z = 0;
    for (CCSprite* picture : {m_background.get(), m_middle.get(), m_foreground.get()}) {
        picture->setScale(1.0f);
        picture->setAnchorPoint(CCPoint(0.5f, 0.5f));
        picture->setPosition(CCPoint(m_centre.x + offset.x, m_centre.y + offset.y));
        addChildAtZ(picture, z++);
    }
    m_banner->setAnchorPoint(CCPoint(0.5f, 0.0f));
    m_banner->setScaleX(wide ? 1.0f : 1.07f);
    m_banner->setPosition(CCPoint(m_centre.x, 0.0f));
    addChildAtZ(m_banner, 78);

    CCString* prepping = getLocalizedString("Prepping");
    const char16_t* text = prepping != nullptr ? prepping->makeWideString() : nullptr;
    m_caption = text != nullptr ? CCLabelTTF::createWithWideString(text, PRODUCT_FONT_NAME, kCaptionSize)
                                : CCLabelTTF::createWithString("Prepping", PRODUCT_FONT_NAME, kCaptionSize);
    if (m_caption == nullptr) {
        logDebugMessage("KVLoadingGameLayer: the caption cannot be made");
        return false;
    }
    m_caption->setPosition(CCPoint(m_centre.x, 37.0f));
    addChildAtZWithTag(m_caption, kCaptionTag, kCaptionTag);

    tapToStart = false;
    schedule(schedule_selector(KVLoadingGameLayer::tick), 0.0f);
    return true;
}

void KVLoadingGameLayer::tick(float) {
    for (CCSprite* picture : {m_background.get(), m_middle.get(), m_foreground.get()})
        if (picture != nullptr) picture->setPosition(m_centre);
}

void KVLoadingGameLayer::setCaptionWide(const char16_t* text) {
    if (m_caption != nullptr && text != nullptr) m_caption->setWideString(text);
}

void KVLoadingGameLayer::setCaption(const char* text) {
    if (m_caption != nullptr && text != nullptr) m_caption->setString(text);
}

void KVLoadingGameLayer::onEnter() {
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, 0, true);
    CCLayerColor::onEnter();
}

void KVLoadingGameLayer::onExit() {
    CCTouchDispatcher::getInstance()->removeDelegate(this);
    CCLayerColor::onExit();
}

bool KVLoadingGameLayer::touchBegan(CCTouch*, CCEvent*) {
    return true;
}

void KVLoadingGameLayer::touchEnded(CCTouch*, CCEvent*) {
    if (!tapToStart) return;
    if (auto* scene = dynamic_cast<KVGameplayScene*>(getParent())) scene->startGame();
}

void KVLoadingGameLayer::cleanupBeforeDelete() {
    m_caption.reset();
    m_background.reset();
    m_middle.reset();
    m_foreground.reset();
    m_banner.reset();
    CCResourceIndex* index = CCResourceIndex::getInstance();
    for (const char* sheet : kSheets) {
        const std::string plist = std::string(sheet) + ".plist";
        if (index->containsFileName(plist))
            CCSpriteFrameCache::getInstance()->removeSpriteFramesFromFile(
                index->pathForFileName(plist).c_str());
        const std::string texture = std::string(sheet) + ".pvr.ccz";
        if (index->containsFileName(texture))
            CCTextureCache::getInstance()->removeTextureForKey(index->pathForFileName(texture).c_str());
    }
    CCLayerColor::cleanupBeforeDelete();
}
