#include "engine/input/CCTapGestureRecognizer.h"

#include <cmath>

#include "engine/base/CCSet.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDelegate.h"

namespace kvengine {

std::vector<CCTapGestureRecognizer::TapRecord>::iterator CCTapGestureRecognizer::openRecord(CCTouch* touch) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if (it->touch == touch && it->end < 0.0f) {
            return it;
        }
    }
    return records_.end();
}

void CCTapGestureRecognizer::touchesBegan(CCSet* touches, CCEvent* /*event*/) {
    if (touches == nullptr) {
        return;
    }
    if (delegate_ != nullptr && !delegate_->shouldRecognizerHandleTouches(this)) {
        return;
    }
    for (CCObject* object : *touches) {
        CCTouch* touch = static_cast<CCTouch*>(object);
        if (shouldReceiveTouch(touch)) {
            const CCPoint location = touch->getLocationInView();
            records_.push_back(TapRecord{getClock(), -1.0f, location.x, location.y, touch});
        }
    }
}

void CCTapGestureRecognizer::touchesMoved(CCSet* touches, CCEvent* /*event*/) {
    if (touches == nullptr) {
        return;
    }
    for (CCObject* object : *touches) {
        CCTouch* touch = static_cast<CCTouch*>(object);
        auto record = openRecord(touch);
        if (record == records_.end()) {
            continue;
        }
        const CCPoint location = touch->getLocationInView();
        if (std::fabs(record->x - location.x) > kMaxMovement ||
            std::fabs(record->y - location.y) > kMaxMovement) {
            records_.erase(record);
        }
    }
}

void CCTapGestureRecognizer::touchesEnded(CCSet* touches, CCEvent* /*event*/) {
    if (touches == nullptr) {
        return;
    }
    for (CCObject* object : *touches) {
        auto record = openRecord(static_cast<CCTouch*>(object));
        if (record == records_.end()) {
            continue;
        }
        record->end = getClock();
        if (record->end - record->start > kMaxPressSeconds) {
            records_.erase(record);
        }
    }
    evaluateTaps();
}

void CCTapGestureRecognizer::touchesCancelled(CCSet* touches, CCEvent* /*event*/) {
    if (touches == nullptr) {
        return;
    }
    for (CCObject* object : *touches) {
        auto record = openRecord(static_cast<CCTouch*>(object));
        if (record != records_.end()) {
            records_.erase(record);
        }
    }
}

void CCTapGestureRecognizer::evaluateTaps() {
    const float now = getClock();
    const float lifetime = static_cast<float>(tapsRequired_) * kRecordLifetimePerTap;
    for (auto it = records_.begin(); it != records_.end();) {
        it = (now - it->end > lifetime) ? records_.erase(it) : it + 1;
    }
    if (records_.size() != tapsRequired_) {
        return;
    }
    if (tapsRequired_ == 1) {
        location_ = CCPoint(records_[0].x, records_[0].y);
        records_.clear();
        fireCallback();
        return;
    }
    if (tapsRequired_ != 2) {
        return;
    }
    const TapRecord c = records_[0];
    const TapRecord d = records_[1];
    if (std::fabs(c.x - d.x) <= kMaxMovement && std::fabs(c.y - d.y) <= kMaxMovement) {
        const TapRecord* recognized = nullptr;
        if (d.start > c.end && d.start - c.end < kMaxGapSeconds) {
            recognized = &d;
        } else if (c.start > d.end && c.start - d.end < kMaxGapSeconds) {
            recognized = &c;
        }
        if (recognized != nullptr) {
            location_ = CCPoint(recognized->x, recognized->y);
            records_.clear();
            fireCallback();
            return;
        }
    }
    // The later tap may still be the first half of the next double tap.
    records_.erase(records_.begin() + (d.end < c.end ? 1 : 0));
}

} // namespace kvengine
