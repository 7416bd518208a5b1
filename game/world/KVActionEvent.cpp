#include "game/world/KVActionEvent.h"

KVActionEvent* KVActionEvent::create(int type, int value, float ratio, KVActor* actor, KVActor* target) {
    auto* event = new KVActionEvent();
    event->type = type;
    event->value = value;
    event->ratio = ratio;
    event->actor = actor;
    event->target = target;
    event->autorelease();
    return event;
}

void KVActionEvent::cleanupBeforeDelete() {
    setText(nullptr);
    actor = nullptr;
    target = nullptr;
}

void KVActionEvent::setText(kvengine::CCString* text) {
    // Retain first: setting the text it already holds must not free it.
    if (text != nullptr) text->retain();
    if (m_text != nullptr) m_text->release();
    m_text = text;
}
