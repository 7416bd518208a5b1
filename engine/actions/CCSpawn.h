#pragma once

#include <cstddef>

#include "engine/actions/CCAction.h"

namespace kvengine {

/// Runs two actions side by side. The shorter one is padded with a delay, so both children
/// last as long as the spawn (the longer of the two).
class CCSpawn : public CCActionInterval {
public:
    ~CCSpawn() override;

    /// Both actions are required; null (and a log line) when either is missing.
    static CCSpawn* createWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second);
    /// Folds left to right into nested spawns, up to the first null; first itself when alone,
    /// null when first is null.
    template <class... Rest>
    static CCFiniteTimeAction* createWithActions(CCFiniteTimeAction* first, Rest... rest) {
        CCFiniteTimeAction* list[] = {first, static_cast<CCFiniteTimeAction*>(rest)...};
        return createWithActionList(list, sizeof(list) / sizeof(list[0]));
    }
    static CCFiniteTimeAction* createWithActionList(CCFiniteTimeAction* const* actions, size_t count);

    bool initWithTwoActions(CCFiniteTimeAction* first, CCFiniteTimeAction* second);

    void startWithTarget(CCNode* target) override;
    void stop() override;
    void update(float t) override;
    /// The spawn of both reverses; null when either has none.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    CCFiniteTimeAction* m_first = nullptr;
    CCFiniteTimeAction* m_second = nullptr;
};

} // namespace kvengine
