#include "game/chatter/KVChatterImageView.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCMenu.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterImageItem.h"
#include "game/chatter/KVChatterLayout.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVDataAccess.h"

using namespace kvengine;

namespace {

constexpr float kTouchDelay = 0.01f;

using Dict = KVChatterImageView::Dict;

// A (start, end) pair from the dictionary form {"start_value", "end_value"}; false when absent.
bool pairAt(Dict* step, const char* key, float& start, float& end) {
    Dict* pair = kvdata::dictAt(step, key);
    if (pair == nullptr || !kvdata::hasKey(pair, "start_value") || !kvdata::hasKey(pair, "end_value"))
        return false;
    start = kvdata::floatAt(pair, "start_value");
    end = kvdata::floatAt(pair, "end_value");
    return true;
}

// The flat form: both keys are needed.
bool flatAt(Dict* step, const char* startKey, const char* endKey, float& start, float& end) {
    if (!kvdata::hasKey(step, startKey) || !kvdata::hasKey(step, endKey)) return false;
    start = kvdata::floatAt(step, startKey);
    end = kvdata::floatAt(step, endKey);
    return true;
}

bool moveAt(Dict* step, float& sx, float& sy, float& ex, float& ey) {
    if (Dict* move = kvdata::dictAt(step, "move")) {
        Dict* from = kvdata::dictAt(move, "start_value");
        Dict* to = kvdata::dictAt(move, "end_value");
        if (from != nullptr && to != nullptr) {
            sx = kvdata::floatAt(from, "x");
            sy = kvdata::floatAt(from, "y");
            ex = kvdata::floatAt(to, "x");
            ey = kvdata::floatAt(to, "y");
            return true;
        }
    }
    for (const char* key : {"move_start_x", "move_start_y", "move_end_x", "move_end_y"})
        if (!kvdata::hasKey(step, key)) return false;
    sx = kvdata::floatAt(step, "move_start_x");
    sy = kvdata::floatAt(step, "move_start_y");
    ex = kvdata::floatAt(step, "move_end_x");
    ey = kvdata::floatAt(step, "move_end_y");
    return true;
}

} // namespace

std::string KVChatterImageView::pictureName(const std::string& background) {
    if (background.empty()) return "";
    if (CCResourceIndex::getInstance()->containsFileName(background + ".pvr.ccz")) return background;
    return background + "_960";
}

KVChatterImageView::KVChatterImageView(Dict* step) {
    init();
    if (step == nullptr) return;
    const std::string name = pictureName(kvdata::textAt(step, "background"));
    if (name.empty() || !CCResourceIndex::getInstance()->containsFileName(name + ".pvr.ccz")) {
        // Nothing to show or touch would wait for ever: the step ends at the next update.
        logDebugMessage("chatter: an image step has no usable background (\"%s\")",
                        kvdata::textAt(step, "background").c_str());
        m_finished = true;
        scheduleUpdate();
        return;
    }
    const CCSize win = kvchatter::winSize();
    const bool wide = kvchatter::isWide();
    if (CCMenu* skip = kvchatter::makeSkipButton("Kv_Bt_SkipBigChatterUp.png", "Kv_Bt_SkipBigChatterDown.png",
                                                 0.81f, CCPoint(0, 0))) {
        skip->setAnchorPoint(CCPoint(0.5f, 0.5f));
        skip->setPosition(CCPoint(win.width * 0.5f + 455 - (wide ? 20 : 95), win.height * 0.5f + 295 - 40));
        addChildAtZWithTag(skip, 1000, kSkipTag);
    }
    auto* pictureFile = new CCString(name);
    m_item = new KVChatterImageItem(pictureFile);
    pictureFile->release();
    m_item->setView(this);
    m_item->setAnchorPoint(CCPoint(0, 0));
    m_item->setPosition(wide ? CCPoint(32, 8) : CCPoint(32, -40));
    addChildAtZWithTag(m_item, 1, kItemTag);
    m_touchDelay = kTouchDelay;
    if (kvdata::hasKey(step, "during_number")) startAnimation(step);
    scheduleUpdate();
}

void KVChatterImageView::startAnimation(Dict* step) {
    const float duration = kvdata::floatAt(step, "during_number");
    const float k = m_item->baseFactor();
    float scaleStart = 1, scaleEnd = 1, fadeStart = 255, fadeEnd = 255, sx = 0, sy = 0, ex = 0, ey = 0;
    const bool scale = pairAt(step, "scale", scaleStart, scaleEnd) ||
                       flatAt(step, "scale_start", "scale_end", scaleStart, scaleEnd);
    const bool fade = pairAt(step, "fade", fadeStart, fadeEnd) ||
                      flatAt(step, "fade_start", "fade_end", fadeStart, fadeEnd);
    const bool move = moveAt(step, sx, sy, ex, ey);
    if (!scale) scaleStart = scaleEnd = 1;
    scaleStart *= k;
    scaleEnd *= k;
    m_item->setAnimation(duration, scaleStart, scaleEnd, sx, sy, ex, ey, fadeStart, fadeEnd);

    const int kinds = (scale ? 1 : 0) + (move ? 1 : 0) + (fade ? 1 : 0);
    // The kinds' keys interleave: with all three, scale 1, 4, 7 ..., move 2, 5, 8 ..., fade 3, 6, 9 ...
    int used = 0;
    if (scale) m_item->buildKind(KVChatterImageItem::kScale, ++used, kinds);
    if (move) m_item->buildKind(KVChatterImageItem::kMove, ++used, kinds);
    if (fade) m_item->buildKind(KVChatterImageItem::kFade, ++used, kinds);
    if (kinds == 0 || m_finished) return;
    m_item->setAnimating(true);
    if (kvdata::hasKey(step, "radius_value")) {
        m_item->placePicture(scaleEnd, fadeEnd, ex, ey);
        m_item->shake(duration, kvdata::floatAt(step, "radius_value"));
    } else {
        m_item->runStepActions();
    }
}

void KVChatterImageView::cleanupBeforeDelete() {
    if (m_item != nullptr) {
        m_item->setView(nullptr);
        m_item->release();
    }
    m_item = nullptr;
    removeAllChildren(true);
    KVLayer::cleanupBeforeDelete();
}

void KVChatterImageView::update(float dt) {
    if (m_finished) {
        if (!m_proceeded) {
            m_proceeded = true;
            KVChatterManager::getInstance()->nextStep();
        }
        return;
    }
    if (m_touchDelay > 0) {
        m_touchDelay -= dt;
        if (m_touchDelay <= 0) {
            m_touchDelay = 0;
            setTouchEnabled(true);
        }
    }
}

void KVChatterImageView::onExit() {
    setTouchEnabled(false);
    KVLayer::onExit();
}

void KVChatterImageView::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

void KVChatterImageView::onItemFinished(CCObject* item, int mode) {
    (void)item;
    (void)mode;
    m_finished = true;
}

bool KVChatterImageView::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    // Once its step is over the view is only a background: the skip button of the text box above it
    // lies on its own, and one press must not ask twice.
    if (m_proceeded) return false;
    if (kvchatter::holds(getChildByTag(kSkipTag), kvchatter::glLocation(touch))) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_CHATTER_NEXT, this);
        KVChatterManager::getInstance()->requestEnd();
        return false;
    }
    if (m_item != nullptr && m_item->isAnimating()) {
        if (m_item->finishNow()) onItemFinished(m_item, m_item->getMode());
        return true;
    }
    onItemFinished(m_item, m_item != nullptr ? m_item->getMode() : 1);
    return true;
}
