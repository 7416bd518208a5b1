#include "game/chatter/KVChatterImageItem.h"

#include <cmath>
#include <vector>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTextureCache.h"
#include "game/chatter/KVChatterImageView.h"
#include "game/chatter/KVChatterLayout.h"

using namespace kvengine;

namespace {

constexpr int kPictureTag = 1;

uint8_t opacityOf(float value) {
    return static_cast<uint8_t>(std::lround(std::fmin(255.0f, std::fmax(0.0f, value))));
}

} // namespace

KVChatterImageItem::KVChatterImageItem(CCString* name) {
    init();
    m_stepActions = new CCMutableDictionary<std::string, CCObject*>();
    setPicture(name != nullptr ? name->c_str() : "");
}

void KVChatterImageItem::cleanupBeforeDelete() {
    m_view = nullptr;
    stopAllActions();
    if (m_picture != nullptr) {
        m_picture->stopAllActions();
        m_picture->release();
        m_picture = nullptr;
        removeAllChildren(true);
        if (!m_texturePath.empty()) CCTextureCache::getInstance()->removeTextureForKey(m_texturePath.c_str());
    }
    if (m_stepActions != nullptr) m_stepActions->release();
    m_stepActions = nullptr;
    KVMenuItem::cleanupBeforeDelete();
}

float KVChatterImageItem::baseFactor() const {
    if (kvchatter::isWide()) return m_widePicture ? 1.0f : 0.9375f;
    return m_widePicture ? 1.2f : 1.0f;
}

CCPoint KVChatterImageItem::restPosition() const {
    const float k = baseFactor();
    const float x = kvchatter::winSize().width * 0.5f + (m_widePicture ? 16 * k : 0);
    const float y = (m_widePicture ? 64 * k : 128 * k) - (kvchatter::isWide() ? 40 : 0);
    return CCPoint(x, y);
}

void KVChatterImageItem::setPicture(const std::string& name) {
    removeChildByTag(kPictureTag, true);
    if (m_picture != nullptr) {
        m_picture->release();
        m_picture = nullptr;
        if (!m_texturePath.empty()) CCTextureCache::getInstance()->removeTextureForKey(m_texturePath.c_str());
        m_texturePath.clear();
    }
    if (name.empty()) return;
    const std::string file = name + ".pvr.ccz";
    CCResourceIndex* index = CCResourceIndex::getInstance();
    if (!index->containsFileName(file)) {
        logDebugMessage("chatter: no picture %s", file.c_str());
        return;
    }
    m_texturePath = index->pathForFileName(file);
    m_picture = CCSprite::createWithFile(m_texturePath.c_str());
    if (m_picture == nullptr) {
        logDebugMessage("chatter: the picture %s cannot be read", file.c_str());
        m_texturePath.clear();
        return;
    }
    m_picture->retain();
    m_widePicture = name.find("960") != std::string::npos;
    m_picture->setOpacity(255);
    m_picture->setPosition(restPosition());
    addChildAtZWithTag(m_picture, 1, kPictureTag);
}

void KVChatterImageItem::placePicture(float scale, float opacity, float offsetX, float offsetY) {
    if (m_picture == nullptr) return;
    m_picture->setScale(scale);
    m_picture->setOpacity(opacityOf(opacity));
    const CCPoint rest = restPosition();
    m_picture->setPosition(CCPoint(rest.x + offsetX, rest.y - offsetY));
}

void KVChatterImageItem::setAnimation(float duration, float scaleStart, float scaleEnd, float moveStartX,
                                      float moveStartY, float moveEndX, float moveEndY, float fadeStart,
                                      float fadeEnd) {
    m_duration = duration;
    m_scaleStart = scaleStart;
    m_scaleEnd = scaleEnd;
    m_moveStartX = moveStartX;
    m_moveStartY = moveStartY;
    m_moveEndX = moveEndX;
    m_moveEndY = moveEndY;
    m_fadeStart = fadeStart;
    m_fadeEnd = fadeEnd;
}

void KVChatterImageItem::buildKind(Kind kind, int firstKey, int keyStep) {
    m_mode = 1;
    if (m_picture == nullptr) return;
    const CCPoint rest = restPosition();
    switch (kind) {
    case kScale:
        m_picture->setScale(m_scaleStart);
        break;
    case kMove:
        m_picture->setPosition(CCPoint(rest.x + m_moveStartX, rest.y - m_moveStartY));
        break;
    case kFade:
        m_picture->setOpacity(opacityOf(m_fadeStart));
        break;
    }
    if (m_duration <= 0) {
        tellView();
        return;
    }
    const int count = static_cast<int>(std::floor(m_duration / kStepSeconds));
    for (int i = 1; i <= count; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(count);
        CCFiniteTimeAction* action = nullptr;
        switch (kind) {
        case kScale:
            action = CCScaleTo::createWithDurationScale(kStepSeconds,
                                                        m_scaleStart + (m_scaleEnd - m_scaleStart) * t);
            break;
        case kMove: {
            const float x = m_moveStartX + (m_moveEndX - m_moveStartX) * t;
            const float y = m_moveStartY + (m_moveEndY - m_moveStartY) * t;
            action = CCMoveTo::createWithDurationPosition(kStepSeconds, CCPoint(rest.x + x, rest.y - y));
            break;
        }
        case kFade:
            action = CCFadeTo::createWithDurationOpacity(
                kStepSeconds, opacityOf(m_fadeStart + (m_fadeEnd - m_fadeStart) * t));
            break;
        }
        if (action != nullptr) m_stepActions->setObject(action, std::to_string(firstKey + (i - 1) * keyStep));
    }
}

unsigned KVChatterImageItem::getStepActionCount() const {
    return m_stepActions != nullptr ? m_stepActions->count() : 0;
}

void KVChatterImageItem::runStepActions() {
    if (m_picture == nullptr) return;
    m_mode = 1;
    std::vector<CCFiniteTimeAction*> actions;
    const unsigned stored = m_stepActions->count();
    // Keys run 1, 2, 3 ...; a key that no kind used is passed over.
    for (unsigned key = 1; actions.size() < stored && key <= 3 * stored + 3; ++key) {
        if (CCObject* action = m_stepActions->objectForKey(std::to_string(key)))
            actions.push_back(static_cast<CCFiniteTimeAction*>(action));
    }
    actions.push_back(
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVChatterImageItem::onStepActionsDone)));
    if (CCFiniteTimeAction* sequence = CCSequence::createWithActionList(actions.data(), actions.size()))
        m_picture->runAction(sequence);
}

void KVChatterImageItem::onStepActionsDone() {
    m_animating = false;
    tellView();
}

void KVChatterImageItem::tellView() {
    if (m_view != nullptr) m_view->onItemFinished(this, m_mode);
}

void KVChatterImageItem::shake(float duration, float radius) {
    m_mode = 0;
    if (duration <= 0) {
        tellView();
        return;
    }
    m_shakeRadius = radius;
    m_shakeCycles = static_cast<int>(std::floor(duration / kShakeCycleSeconds));
    m_cyclesDone = 0;
    m_shakeHome = getPosition();
    if (m_picture != nullptr) m_picture->setScale(1.1f * baseFactor());
    startShakeCycle();
}

void KVChatterImageItem::startShakeCycle() {
    if (m_cyclesDone >= m_shakeCycles) {
        if (m_picture != nullptr) m_picture->setScale(baseFactor());
        m_animating = false;
        tellView();
        return;
    }
    ++m_cyclesDone;
    const CCPoint at = getPosition();
    const float r = m_shakeRadius;
    runAction(CCSequence::createWithActions(
        CCMoveTo::createWithDurationPosition(kShakeMoveSeconds, CCPoint(at.x + r, at.y - r)),
        CCMoveTo::createWithDurationPosition(kShakeMoveSeconds, CCPoint(at.x + r, at.y + r)),
        CCMoveTo::createWithDurationPosition(kShakeMoveSeconds, at),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVChatterImageItem::startShakeCycle))));
}

bool KVChatterImageItem::finishNow() {
    m_animating = false;
    if (m_mode == 0) {
        // The shake runs on the item: it stops where it started, the picture at its end state.
        stopAllActions();
        setPosition(m_shakeHome);
        if (m_picture != nullptr) m_picture->setScale(baseFactor());
        return false;
    }
    if (m_picture != nullptr) m_picture->stopAllActions();
    const bool changes = m_scaleStart != m_scaleEnd || m_moveStartX != m_moveEndX ||
                         m_moveStartY != m_moveEndY || m_fadeStart != m_fadeEnd;
    placePicture(m_scaleEnd, m_fadeEnd, m_moveEndX, m_moveEndY);
    return !changes;
}
