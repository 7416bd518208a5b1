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
    m_text = text;
}
