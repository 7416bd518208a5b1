#include "engine/input/CCIMEDispatcher.h"

#include <algorithm>
#include <vector>

#include "engine/input/CCIMEDelegate.h"

namespace kvengine {

namespace {

struct IMEState {
    std::vector<CCIMEDelegate*> delegates;
    CCIMEDelegate* receiver = nullptr;
};

// Delegates destroyed during static destruction may outlive the state; the
// holder clears the pointer so that they find no state instead of a freed one.
IMEState* imeState = nullptr;

struct IMEStateHolder {
    IMEStateHolder() { imeState = new IMEState(); }
    ~IMEStateHolder() {
        delete imeState;
        imeState = nullptr;
    }
};

IMEState* state() {
    static IMEStateHolder holder;
    return imeState;
}

int encodeUtf8(char32_t c, char* out) {
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

} // namespace

CCIMEDispatcher* CCIMEDispatcher::getInstance() {
    static CCIMEDispatcher dispatcher;
    state();
    return &dispatcher;
}

void CCIMEDispatcher::addDelegate(CCIMEDelegate* delegate) {
    IMEState* s = state();
    if (s == nullptr || delegate == nullptr || isRegistered(delegate)) {
        return;
    }
    s->delegates.push_back(delegate);
}

bool CCIMEDispatcher::isRegistered(CCIMEDelegate* delegate) const {
    IMEState* s = imeState;
    return s != nullptr &&
           std::find(s->delegates.begin(), s->delegates.end(), delegate) != s->delegates.end();
}

CCIMEDelegate* CCIMEDispatcher::getReceiver() const {
    return imeState != nullptr ? imeState->receiver : nullptr;
}

bool CCIMEDispatcher::attachDelegate(CCIMEDelegate* delegate) {
    IMEState* s = imeState;
    if (s == nullptr || delegate == nullptr || !isRegistered(delegate)) {
        return false;
    }
    if (s->receiver != nullptr) {
        CCIMEDelegate* previous = s->receiver;
        if (!previous->allowsInputFocusLoss() || !delegate->acceptsInputFocus()) {
            return false;
        }
        s->receiver = nullptr;
        previous->onInputFocusLost();
    } else if (!delegate->acceptsInputFocus()) {
        return false;
    }
    s->receiver = delegate;
    delegate->onInputFocusGained();
    return true;
}

bool CCIMEDispatcher::detachDelegate(CCIMEDelegate* delegate) {
    IMEState* s = imeState;
    if (s == nullptr || delegate == nullptr || s->receiver != delegate || !delegate->allowsInputFocusLoss()) {
        return false;
    }
    s->receiver = nullptr;
    delegate->onInputFocusLost();
    return true;
}

void CCIMEDispatcher::removeDelegate(CCIMEDelegate* delegate) {
    IMEState* s = imeState;
    if (s == nullptr || delegate == nullptr) {
        return;
    }
    auto found = std::find(s->delegates.begin(), s->delegates.end(), delegate);
    if (found == s->delegates.end()) {
        return;
    }
    if (s->receiver == delegate) {
        s->receiver = nullptr;
    }
    s->delegates.erase(found);
}

void CCIMEDispatcher::dispatchText(const char* text, int length) {
    CCIMEDelegate* receiver = getReceiver();
    if (receiver != nullptr && text != nullptr && length > 0) {
        receiver->receiveText(text, length);
    }
}

void CCIMEDispatcher::dispatchBackspace() {
    if (CCIMEDelegate* receiver = getReceiver()) {
        receiver->receiveBackspace();
    }
}

void CCIMEDispatcher::dispatchCharacter(char32_t character) {
    if (character == 8) {
        dispatchBackspace();
    } else if (character == 13) {
        dispatchText("\n", 1);
    } else if (character >= 32 && character != 127 && character <= 0x10FFFF &&
               (character < 0xD800 || character > 0xDFFF)) {
        char buffer[8];
        dispatchText(buffer, encodeUtf8(character, buffer));
    }
}

CCIMEDelegate::CCIMEDelegate() {
    CCIMEDispatcher::getInstance()->addDelegate(this);
}

CCIMEDelegate::~CCIMEDelegate() {
    CCIMEDispatcher::getInstance()->removeDelegate(this);
}

bool CCIMEDelegate::requestInputFocus() {
    return CCIMEDispatcher::getInstance()->attachDelegate(this);
}

bool CCIMEDelegate::releaseInputFocus() {
    return CCIMEDispatcher::getInstance()->detachDelegate(this);
}

} // namespace kvengine
