#include "game/screens/KVPopUpLevelInfoScreenView.h"

#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVTitleItem.h"

using namespace kvengine;

namespace {

constexpr int kButtonKind = 1;
constexpr const char* kFont = "TrebuchetMS-Bold";
constexpr int kTitleSize = 20;
constexpr int kSmallSize = 14;
// Mission lock status in the profile.
constexpr int kMissionOpen = 0;
constexpr int kMissionShownLocked = 2;

std::string textOf(CCString* text) {
    return text != nullptr ? text->text : "";
}

struct StarRow {
    const char* titleKey;
    int tag;
    const char* lockKey;
    const char* value;
};

} // namespace

CCScene* KVPopUpLevelInfoScreenView::createScene() {
    return createPopUpScene<KVPopUpLevelInfoScreenView>();
}

KVTitleItem* KVPopUpLevelInfoScreenView::addTitle(const std::string& text, int fontSize, unsigned char red,
                                                  int tag) {
    KVTitleItem* item = KVTitleItem::createWithTitle(kvdata::newString(text), kFont, fontSize);
    // The title's one child is its label: the colour is the label's.
    CCArray* children = item->getChildren();
    if (children != nullptr && children->count() > 0)
        static_cast<CCLabelTTF*>(children->objectAtIndex(0))->setColor(ccColor3B{red, 0, 0});
    addChildAtZWithTag(item, 1, tag);
    return item;
}

KVPopUpLevelInfoScreenView::KVPopUpLevelInfoScreenView() {
    initWithKind(2);
    const CCSize size = getContentSize();
    KVMenuManager* menu = KVMenuManager::getInstance();
    const std::string mission = textOf(menu->getMissionName());
    const std::string chapter = textOf(menu->getChapterName());
    kvdata::Dict* record = KVPlayerParameters::getInstance()->getMissionRecord(mission, chapter);
    if (record != nullptr) m_playable = kvdata::intAt(record, "status_played") == 0;

    placeCancelAndAction(
        KVButton::createWithText(m_playable ? "Play" : "RePlay", 0, 0, kButtonKind, this,
                                 static_cast<SEL_MenuHandler>(&KVPopUpLevelInfoScreenView::onPlay)));

    // Every status but open shows the padlock, so the texts placed against the picture always
    // have one (a missing record reads as not open).
    const int status = record != nullptr ? kvdata::intAt(record, "status_locked", -1) : -1;
    if (status != kMissionOpen && status != kMissionShownLocked)
        logDebugMessage("level info: mission \"%s\" of \"%s\" has the status %d; shown locked",
                        mission.c_str(), chapter.c_str(), status);
    CCPoint picture(size.width / 2, size.height / 2);
    if (CCSprite* sprite =
            CCSprite::createWithSpriteFrameName(status == kMissionOpen ? "Pic_Check.png" : "Pic_Lock.png")) {
        const CCSize own = sprite->getContentSize();
        picture = CCPoint(size.width / 2 - own.width / 0.33f, size.height / 2 + own.height / 0.55f);
        sprite->setPosition(picture);
        addChildAtZWithTag(sprite, 1, kStatusTag);
    }

    KVTitleItem* title = addTitle("Mission " + mission, kTitleSize, 0, kTitleTag);
    title->setPosition(
        CCPoint(picture.x + title->getContentSize().width, picture.y + title->getContentSize().height / 2));
    KVTitleItem* chapterLine = addTitle(chapter, kSmallSize, 255, kChapterTag);
    chapterLine->setPosition(CCPoint(picture.x, picture.y - chapterLine->getContentSize().height / 2));

    const StarRow rows[] = {
        {"Hidden Star:", kHiddenRowTag, "hidden_locked", "3"},
        {"Tactical Star:", kTacticalRowTag, "surviva_locked", "3 kelvos alive"},
        {"Speed Star:", kSpeedRowTag, "speed_locked", "<3 turns"},
    };
    for (const StarRow& row : rows) {
        KVTitleItem* rowTitle = addTitle(localisedText(row.titleKey), kTitleSize, 0, row.tag);
        const CCSize own = rowTitle->getContentSize();
        float y = size.height / 2 + own.height;
        if (row.tag == kTacticalRowTag) y = size.height / 2 - own.height / 3.5f;
        if (row.tag == kSpeedRowTag) y = size.height / 2 - own.height / 0.7f;
        rowTitle->setPosition(CCPoint(picture.x + own.width / 2, y));

        CCSprite* star = CCSprite::createWithSpriteFrameName("KV_StarNotFound.png");
        if (star == nullptr) continue;
        const CCSize starSize = star->getContentSize();
        star->setPosition(CCPoint(size.width / 2 + starSize.width / 2, y));
        addChildAtZ(star, 1);
        // A missing record or value reads as not earned.
        if (kvdata::intAt(record, row.lockKey, 1) == 0) {
            if (CCSprite* found = CCSprite::createWithSpriteFrameName("KV_StarFound.png")) {
                found->setPosition(CCPoint(0, 0));
                star->addChild(found);
            }
        }
        KVTitleItem* value = addTitle(row.value, kSmallSize, 0, -1);
        value->setPosition(CCPoint(star->getPosition().x + starSize.width / 0.3f, y));
    }
    setTouchEnabled(true);
}

void KVPopUpLevelInfoScreenView::onPlay(CCObject* sender) {
    (void)sender;
    if (!m_playable) return;
    // The pop-up is closed first, so the launch leaves the screen under it as it leaves any
    // screen. Closing it may free this view: nothing of it is used afterwards.
    KVMenuManager* menu = KVMenuManager::getInstance();
    menu->changeState(KVMenuManager::kCloseOverlayState);
    menu->changeState(KVMenuManager::kLaunchMissionState);
}
