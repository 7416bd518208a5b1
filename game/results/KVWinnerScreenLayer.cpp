#include "game/results/KVWinnerScreenLayer.h"

#include <string>

#include "engine/base/CCLog.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemFont.h"
#include "game/app/KVGlobalNames.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVPlayerHuddle.h"
#include "game/results/KVResultScreens.h"

using namespace kvengine;

namespace {

constexpr float kCentreX = 240.0f;
constexpr float kTitleY = 270.0f;
constexpr float kTitleSize = 40.0f;
constexpr float kFirstLineY = 220.0f;
constexpr float kLinePitch = 40.0f;
constexpr float kWinnerSize = 35.0f;
constexpr float kLineSize = 25.0f;
constexpr const char* kButtonFont = "fonts/Junction 02.ttf";
constexpr int kButtonSize = 35;
constexpr float kMenuY = 50.0f;
constexpr float kButtonPadding = 50.0f;

CCLabelTTF* label(CCString* text, float size) {
    return text->wideString() != nullptr
               ? CCLabelTTF::createWithWideString(text->wideString(), PRODUCT_FONT_NAME, size)
               : CCLabelTTF::createWithString(text->c_str(), PRODUCT_FONT_NAME, size);
}

int pointsOf(KVPawn* pawn) {
    auto* player = dynamic_cast<KVPlayerHuddle*>(pawn->getOwnerPlayer());
    if (player != nullptr) return player->points;
    logDebugMessage("multiplayer result: %s has no multiplayer owner; it shows 0 points", pawn->className());
    return 0;
}

} // namespace

KVWinnerScreenLayer* KVWinnerScreenLayer::create(const ccColor4B& color, float width, float height,
                                                 KVGameModel* model) {
    auto* screen = new KVWinnerScreenLayer(color, width, height, model);
    screen->autorelease();
    return screen;
}

KVWinnerScreenLayer::KVWinnerScreenLayer(const ccColor4B& color, float width, float height,
                                         KVGameModel* model) {
    (void)initWithColorAndSize(color, width, height);
    m_gameModel = model;

    if (CCLabelTTF* title = label(kvresults::localised("Final Score"), kTitleSize)) {
        title->setPosition(CCPoint(kCentreX, kTitleY));
        addChildAtZWithTag(title, 0, kTitleTag);
    }

    KVPawnManager* pawns = KVPawnManager::existingInstance();
    CCMutableArray<KVPawn*>* players = pawns != nullptr ? pawns->getPlayerPawns() : nullptr;
    if (players == nullptr) logDebugMessage("multiplayer result: no pawn manager; no score lines");
    for (unsigned i = 0; players != nullptr && i < players->count(); ++i) {
        KVPawn* pawn = players->objectAtIndex(i);
        const int owner = pawn->getOwnerIndex();
        const int points = pointsOf(pawn);
        auto* text = new CCString("Player " + std::to_string(owner + 1) + ": " + std::to_string(points));
        text->autorelease();
        CCLabelTTF* line = label(text, points == kWinningPoints ? kWinnerSize : kLineSize);
        if (line == nullptr) continue;
        line->setPosition(CCPoint(kCentreX, kFirstLineY - kLinePitch * owner));
        addChildAtZWithTag(line, 0, kFirstLineTag + owner);
    }

    // A class-wide setting: text items made later keep this font until someone sets another.
    CCMenuItemFont::setFontName(kButtonFont);
    CCMenuItemFont::setFontSize(kButtonSize);
    CCMenuItem* items[] = {
        CCMenuItemFont::createWithStringAndTarget(kvresults::localised("Restart"), this,
                                                  menu_selector(KVWinnerScreenLayer::onRestart)),
        CCMenuItemFont::createWithStringAndTarget(kvresults::localised("Quit"), this,
                                                  menu_selector(KVWinnerScreenLayer::onQuit))};
    auto* menu = new CCMenu();
    if (items[0] != nullptr && items[1] != nullptr && menu->initWithItemList(items, 2)) {
        menu->setPosition(CCPoint(kCentreX, kMenuY));
        menu->alignItemsHorizontallyWithPadding(kButtonPadding);
        addChildAtZWithTag(menu, 1, kMenuTag);
    } else {
        logDebugMessage("multiplayer result: the buttons cannot be made");
    }
    menu->release();
    setTouchEnabled(true);
}

void KVWinnerScreenLayer::cleanupBeforeDelete() {
    m_gameModel.reset();
    CCLayerColor::cleanupBeforeDelete();
}

void KVWinnerScreenLayer::registerWithTouchDispatcher() {
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, 0, true);
}

bool KVWinnerScreenLayer::touchBegan(CCTouch*, CCEvent*) {
    return true;
}

void KVWinnerScreenLayer::onRestart(CCObject*) {
    kvresults::leaveMission(2, false);
}

void KVWinnerScreenLayer::onQuit(CCObject*) {
    kvresults::leaveMission(3, true);
}
