#pragma once

#include <cstddef>

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Runs two actions one after the other. Longer chains are nested pairs: (((a, b), c), d).
///
/// Each child is started when its half begins and always gets a final update of exactly 1
/// before it is stopped, even when a frame jumps over it, so an instant child (a call-back)
/// fires exactly once per run.
class CCSequence : public CCActionInterval {
public:
    ~CCSequence() override;

    /// Both actions are required; null (and a log line) when either is missing.
    static CCSequence* createWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second);
    /// Folds the actions left to right into nested pairs, up to the first null (a trailing
    /// nullptr, as in createWithActions(a, b, c, nullptr), is accepted). Returns first itself
    /// when it is the only one and null when first is null.
    template <class... Rest>
    static CCFiniteTimeAction* createWithActions(CCFiniteTimeAction* first, Rest... rest) {
        CCFiniteTimeAction* list[] = {first, static_cast<CCFiniteTimeAction*>(rest)...};
        return createWithActionList(list, sizeof(list) / sizeof(list[0]));
    }
    /// The same fold over an array of count actions (stops at the first null).
    static CCFiniteTimeAction* createWithActionList(CCFiniteTimeAction* const* actions, size_t count);

    bool initWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second);

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;
    /// The sequence (second's reverse, first's reverse); null when either has no reverse.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
    CC_DECLARE_CLASS_NAME(CCSequence, CCAction)

    CCFiniteTimeAction* getFirstAction() const { return m_actions[0]; }
    CCFiniteTimeAction* getSecondAction() const { return m_actions[1]; }

private:
    /// False for a sequence that was made but never initialised.
    bool hasActions() const { return m_actions[0] != nullptr && m_actions[1] != nullptr; }

    CCFiniteTimeAction* m_actions[2] = {nullptr, nullptr};
    float m_split = 0.0f;
    int m_lastHalf = -1;
};

} // namespace kvengine
