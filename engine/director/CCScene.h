#pragma once
#include "engine/nodes/CCNode.h"

namespace kvengine {

/// The root node that the director runs. Covers the window; its anchor is the centre but its
/// position is its lower-left corner (relative anchor point off).
class CCScene : public CCNode {
public:
    enum Kind { kPlain = 1, kTransition = 2 };

    /// A new autoreleased scene covering the window; null when init fails.
    static CCScene* create();

    CCScene();
    /// Content size := the director's window size in points. Always true.
    virtual bool init();

    /// 1 for a plain scene; transitions set 2. The director tests the bit of value 2.
    int getSceneKind() const { return m_sceneKind; }
    bool isTransition() const { return (m_sceneKind & kTransition) != 0; }

protected:
    int m_sceneKind = kPlain;
};

} // namespace kvengine
