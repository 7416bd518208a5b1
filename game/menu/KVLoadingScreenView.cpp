#include "game/menu/KVLoadingScreenView.h"

#include <string>

#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/platform/CCEGLView.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/menu/KVMenuManager.h"

using namespace kvengine;

namespace {

constexpr int kLaunchKind = 2;
constexpr int kWorldMapKind = 3;
constexpr int kTroopsKind = 4;
constexpr int kShopKind = 5;
constexpr float kLabelFontSize = 32.0f;
constexpr int kLabelZ = 3;

// Space and Escape are not turned into key presses while the screen changes.
void blockKeys(bool blocked) {
    CCDirector* director = CCDirector::existingInstance();
    if (CCEGLView* view = director != nullptr ? director->getOpenGLView() : nullptr)
        view->setKeysBlocked(blocked);
}

// The director shows or hides the platform cursor when its flag changes.
void showSystemCursor(bool shown) {
    CCDirector* director = CCDirector::getInstance();
    if (shown)
        director->setCursor(CCDirector::kCursorStateSystem);
    else
        director->setCursorImage(CCDirector::kCursorPoint);
}

int destinationOf(int kind) {
    switch (kind) {
    case kWorldMapKind:
        return KVMenuManager::kWorldMapAfterMissionState;
    case kTroopsKind:
        return KVMenuManager::kTroopsAfterMissionState;
    case kShopKind:
        return KVMenuManager::kShopAfterMissionState;
    default:
        return 0;
    }
}

} // namespace

KVLoadingScreenView* KVLoadingScreenView::createWithKind(int kind) {
    auto* scene = new KVLoadingScreenView(kind);
    scene->autorelease();
    return scene;
}

KVLoadingScreenView::KVLoadingScreenView(int kind) : m_kind(kind), m_ready(true) {
    (void)init();
    blockKeys(true);
    const CCSize win = CCDirector::getInstance()->getWinSize();
    if (kind != kLaunchKind) {
        if (CCLabelTTF* label =
                CCLabelTTF::createWithString("Loading ...", PRODUCT_FONT_NAME, kLabelFontSize)) {
            label->setPosition(CCPoint(win.width / 2, win.height / 2));
            addChildAtZWithTag(label, kLabelZ, kLabelTag);
        }
    }
    m_step = 0;
    CCScheduler::getInstance()->scheduleSelector(schedule_selector(KVLoadingScreenView::update), this, 0,
                                                 !isRunning());
    showSystemCursor(true);
}

void KVLoadingScreenView::cleanupBeforeDelete() {
    blockKeys(false);
    // Into a mission the cursor is the mission's business; back in the menus the pointer shows.
    if (m_kind != kLaunchKind && CCDirector::existingInstance() != nullptr) showSystemCursor(false);
    CCScene::cleanupBeforeDelete();
}

void KVLoadingScreenView::update(float seconds) {
    (void)seconds;
    if (m_kind < kLaunchKind || m_kind > kShopKind || !m_ready) return;
    if (CCNode* label = getChildByTag(kLabelTag)) {
        const std::string text = "Loading " + std::string(static_cast<size_t>(m_step) + 1, '.');
        label->asLabelProtocol()->setString(text.c_str());
    }
    KVMenuManager* menu = KVMenuManager::getInstance();
    if (m_kind == kLaunchKind) {
        // The menu screen is closed before its pictures go.
        menu->leaveMenusForGame();
        CCSpriteFrameCache::getInstance()->removeAllSpriteFrames();
        CCTextureCache::getInstance()->removeAllTextures();
        CCScheduler::getInstance()->unscheduleAllSelectorsForTarget(this);
        m_ready = false;
        menu->changeState(KVMenuManager::kLaunchMissionState);
        return;
    }
    switch (m_step) {
    case 1:
        CCSpriteFrameCache::getInstance()->removeAllSpriteFrames();
        break;
    case 2:
        CCTextureCache::getInstance()->removeAllTextures();
        break;
    case 3:
        CCScheduler::getInstance()->unscheduleAllSelectorsForTarget(this);
        m_ready = false;
        menu->changeState(destinationOf(m_kind));
        break;
    default:
        break;
    }
    ++m_step;
}
