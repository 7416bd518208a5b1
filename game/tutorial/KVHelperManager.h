#pragma once

#include "engine/base/CCMutableArray.h"
#include "game/world/KVSingletonObject.h"

class KVHelpCase;

/// The in-game help service: the five help cases that watch the player for typical errors of play
/// (missed special attacks, taps in the enemies' turn, a dash never used, turns without a hit),
/// made once through the class-name factory and kept (retained) until shutdown.
class KVHelperManager : public KVSingletonObject<KVHelperManager> {
public:
    CC_DECLARE_CLASS_NAME(KVHelperManager, KVSingletonObject)

    /// The help cases' class names, in making order.
    static const char* const kCaseClasses[5];

    KVHelperManager();
    void cleanupBeforeDelete() override;

    kvengine::CCMutableArray<KVHelpCase*>* getCases() const { return m_cases; }
    /// The case of the class `className`, or null.
    KVHelpCase* findCase(const char* className) const;

private:
    kvengine::CCMutableArray<KVHelpCase*>* m_cases = nullptr;
};
