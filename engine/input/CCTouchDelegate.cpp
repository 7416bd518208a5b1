#include "engine/input/CCTouchDelegate.h"

#include <vector>

#include "engine/base/CCMutableArray.h"
#include "engine/input/CCGestureRecognizer.h"

namespace kvengine {

namespace {

enum Phase { kBegan, kMoved, kEnded, kCancelled };

const std::string& emptyName() {
    static const std::string empty;
    return empty;
}

} // namespace

CCTouchDelegate::CCTouchDelegate() : recognizers_(new CCMutableArray<CCGestureRecognizer*>()) {}

CCTouchDelegate::~CCTouchDelegate() {
    if (recognizers_ != nullptr) {
        recognizers_->release();
        recognizers_ = nullptr;
    }
}

void CCTouchDelegate::addGestureRecognizer(CCGestureRecognizer* recognizer) {
    if (recognizer == nullptr || recognizers_->containsObject(recognizer)) {
        return;
    }
    recognizers_->addObject(recognizer);
    recognizer->setDelegate(this);
}

void CCTouchDelegate::removeGestureRecognizer(CCGestureRecognizer* recognizer) {
    if (recognizer == nullptr || !recognizers_->containsObject(recognizer)) {
        return;
    }
    if (recognizer->getDelegate() == this) {
        recognizer->setDelegate(nullptr);
    }
    recognizers_->removeObject(recognizer);
}

void CCTouchDelegate::forwardTouchesBeganToRecognizers(CCSet* touches, CCEvent* event) {
    forwardToRecognizers(kBegan, touches, event);
}

void CCTouchDelegate::forwardTouchesMovedToRecognizers(CCSet* touches, CCEvent* event) {
    forwardToRecognizers(kMoved, touches, event);
}

void CCTouchDelegate::forwardTouchesEndedToRecognizers(CCSet* touches, CCEvent* event) {
    forwardToRecognizers(kEnded, touches, event);
}

void CCTouchDelegate::forwardTouchesCancelledToRecognizers(CCSet* touches, CCEvent* event) {
    forwardToRecognizers(kCancelled, touches, event);
}

void CCTouchDelegate::forwardToRecognizers(int phase, CCSet* touches, CCEvent* event) {
    // A recognizer callback may attach or detach recognizers, or even unregister
    // this delegate: walk a retained snapshot so nothing is freed under the walk.
    std::vector<CCGestureRecognizer*> snapshot;
    for (unsigned i = 0, count = recognizers_->count(); i < count; ++i) {
        CCGestureRecognizer* recognizer = recognizers_->objectAtIndex(i);
        recognizer->retain();
        snapshot.push_back(recognizer);
    }
    for (CCGestureRecognizer* recognizer : snapshot) {
        // One detached earlier in this walk no longer listens.
        if (recognizers_->containsObject(recognizer)) {
            switch (phase) {
            case kBegan:
                recognizer->touchesBegan(touches, event);
                break;
            case kMoved:
                recognizer->touchesMoved(touches, event);
                break;
            case kEnded:
                recognizer->touchesEnded(touches, event);
                break;
            default:
                recognizer->touchesCancelled(touches, event);
                break;
            }
        }
    }
    for (CCGestureRecognizer* recognizer : snapshot) {
        recognizer->release();
    }
}

void CCTouchDelegate::registerScriptHandler(int eventKind, const std::string& name) {
    scriptHandlers_[eventKind] = name;
}

const std::string& CCTouchDelegate::getScriptHandler(int eventKind) const {
    auto found = scriptHandlers_.find(eventKind);
    return found != scriptHandlers_.end() ? found->second : emptyName();
}

bool CCTouchDelegate::executeScriptHandler(int /*eventKind*/, CCSet* /*touches*/) {
    return false;
}

} // namespace kvengine
