#include "game/menu/KVPortraitRadioIcon.h"

#include "engine/base/CCString.h"
#include "engine/sprites/CCSprite.h"

using namespace kvengine;

namespace {

constexpr int kPictureInNormalFrameZ = 3;
constexpr int kPictureInSelectedFrameZ = 4;
constexpr int kMarkZ = 1;
// The picture's centre in both frames, and the centre of a plain picture or lock mark on the icon.
const CCPoint kFramedPicture(KVPortraitIcon::kWidth / 2, 31);
const CCPoint kPlainPicture(KVPortraitIcon::kWidth / 2, KVPortraitIcon::kHeight / 2 - 3);

} // namespace

KVPortraitRadioIcon* KVPortraitRadioIcon::createWithName(CCString* pictureName, bool lockMark, bool selected,
                                                         bool framed, CCObject* target,
                                                         SEL_MenuHandler selector) {
    auto* icon = new KVPortraitRadioIcon();
    if (!icon->initWithName(pictureName, lockMark, selected, framed, target, selector)) {
        icon->release();
        return nullptr;
    }
    icon->autorelease();
    return icon;
}

bool KVPortraitRadioIcon::initWithName(CCString* pictureName, bool lockMark, bool selected, bool framed,
                                       CCObject* target, SEL_MenuHandler selector) {
    initWithTarget(target, selector);
    if (!takeFrames("KV_CadreStuffNormal.png", "KV_CadreStuffSelect.png")) return false;
    setContentSize(CCSize(kWidth, kHeight));
    setInvalidTap(false);
    const char* name = pictureName != nullptr ? pictureName->c_str() : nullptr;
    if (framed) {
        // One copy of the picture in each frame, so either frame shows it.
        const std::pair<CCSprite*, int> frames[] = {{getNormalFrame(), kPictureInNormalFrameZ},
                                                    {getSelectedFrame(), kPictureInSelectedFrameZ}};
        for (const auto& [frame, z] : frames) {
            if (CCSprite* picture = pictureOrHidden(name)) {
                picture->setAnchorPoint(CCPoint(0.5f, 0.5f));
                picture->setPosition(kFramedPicture);
                frame->addChildAtZWithTag(picture, z, picture->getTag());
            }
        }
        if (lockMark) {
            if (CCSprite* lock = pictureOrHidden("KV_Iconelocked.png")) {
                lock->setPosition(kPlainPicture);
                addChildAtZWithTag(lock, kMarkZ, lock->getTag());
            }
        }
    } else {
        if (CCSprite* picture = pictureOrHidden(name)) {
            picture->setPosition(kPlainPicture);
            addChildAtZWithTag(picture, kMarkZ, picture->getTag());
        }
        setInvalidTap(true);
    }
    if (selected)
        showSelectedFrame();
    else
        showNormalFrame();
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setCleanedUp(false);
    return true;
}
