#include "game/menu/KVPortraitSimpleIcon.h"

#include <string>

#include "engine/base/CCString.h"
#include "engine/sprites/CCSprite.h"

using namespace kvengine;

namespace {

constexpr int kMarkZ = 1;
constexpr int kPictureZ = 0;

// A corner mark of the frame: its centre a quarter of its unscaled size in from the lower right.
void addCornerMark(CCNode* icon, const char* frameName, float scale) {
    CCSprite* mark = CCSprite::createWithSpriteFrameName(frameName);
    if (mark == nullptr) return; // logged by the frame cache
    const CCSize size = mark->getContentSize();
    mark->setScale(scale);
    mark->setPosition(CCPoint(icon->getContentSize().width - size.width * 0.25f, size.height * 0.25f));
    icon->addChildAtZWithTag(mark, kMarkZ, mark->getTag());
}

} // namespace

KVPortraitSimpleIcon* KVPortraitSimpleIcon::createWithName(CCString* baseName, bool lockMark, bool checkMark,
                                                           bool framed, CCObject* target,
                                                           SEL_MenuHandler selector) {
    auto* icon = new KVPortraitSimpleIcon();
    if (!icon->initWithName(baseName, lockMark, checkMark, framed, target, selector)) {
        icon->release();
        return nullptr;
    }
    icon->autorelease();
    return icon;
}

bool KVPortraitSimpleIcon::initWithName(CCString* baseName, bool lockMark, bool checkMark, bool framed,
                                        CCObject* target, SEL_MenuHandler selector) {
    initWithTarget(target, selector);
    if (!takeFrames("KV_CadreLargeNormal.png", "KV_CadreLargeSelect.png")) return false;
    const std::string pictureName =
        "KV_" + std::string(baseName != nullptr ? baseName->c_str() : "") + "Large.png";
    CCSprite* picture = pictureOrHidden(pictureName.c_str());
    getNormalFrame()->setAnchorPoint(CCPointZero);
    getSelectedFrame()->setAnchorPoint(CCPointZero);
    setNormalImage(getNormalFrame());
    setSelectedImage(getSelectedFrame());
    setContentSize(getNormalFrame()->getContentSize());
    setInvalidTap(false);
    if (framed) {
        if (checkMark) addCornerMark(this, "Pic_Check.png", 0.5f);
        if (lockMark) addCornerMark(this, "Pic_Lock.png", 1.5f);
    } else {
        setInvalidTap(true);
    }
    if (picture != nullptr) {
        picture->setAnchorPoint(CCPoint(0.5f, 0.5f));
        picture->setPosition(CCPoint(getContentSize().width / 2, getContentSize().height / 2));
        addChildAtZWithTag(picture, kPictureZ, picture->getTag());
    }
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setCleanedUp(false);
    return true;
}
