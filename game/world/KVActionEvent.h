#pragma once

#include "engine/base/CCObject.h"
#include "engine/base/CCString.h"

class KVActor;

/// The payload of "EVENT_ACTION": what happened (a type code shared by pawns, attacks, rules,
/// scores and achievements), how much, and between whom. Created, filled, autoreleased and
/// posted at once; a receiver that needs it after the post retains it.
class KVActionEvent : public kvengine::CCObject {
public:
    /// A new event: type 0, value 0, ratio 0, no text, no actors.
    KVActionEvent() = default;
    /// Autoreleased event with the given fields.
    static KVActionEvent* create(int type, int value, float ratio, KVActor* actor, KVActor* target);

    CC_DECLARE_CLASS_NAME(KVActionEvent, kvengine::CCObject)

    /// Releases the text and forgets both actors.
    void cleanupBeforeDelete() override;

    /// Only for combos: the sticker's image name. Retained; may be null.
    kvengine::CCString* getText() const { return m_text; }
    void setText(kvengine::CCString* text);

    int type = 0;
    /// Damage dealt, hit points restored, points or pearls, by type.
    int value = 0;
    /// Damage divided by the target's maximum hit points for hits; 0 otherwise.
    float ratio = 0.0f;
    /// Who acted; not retained, may be null.
    KVActor* actor = nullptr;
    /// Who was affected; not retained, may be null.
    KVActor* target = nullptr;

private:
    kvengine::CCString* m_text = nullptr;
};
