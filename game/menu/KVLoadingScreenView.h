#pragma once

#include "engine/director/CCScene.h"

/// The scene between the menus and a mission. Make it with the kind of the way to go and hand it to
/// CCDirector::replaceScene; over its first frames it empties the sprite-frame and texture caches
/// and asks the menu manager for the destination:
/// | kind | label       | frames | then asks for                                               |
/// | 2    | none        | 1      | 17: leave the menus and launch the mission the manager holds |
/// | 3    | "Loading ." | 4      | 10: the world map after a mission                            |
/// | 4    | "Loading ." | 4      | 13: the troops screen                                        |
/// | 5    | "Loading ." | 4      | 14: the shop                                                 |
/// The caller stores what the destination needs first (for kind 2 the manager's mission name).
///
/// While it exists, Space and Escape do nothing (the window's key block) and the system mouse
/// cursor shows; when kinds 3 to 5 are released the software pointer takes over again. A kind
/// outside 2..5 shows the label and never moves on.
class KVLoadingScreenView : public kvengine::CCScene {
public:
    CC_DECLARE_CLASS_NAME(KVLoadingScreenView, kvengine::CCScene)

    /// Child tag of the label.
    static constexpr int kLabelTag = 100;

    /// A new autoreleased loading screen of `kind`.
    static KVLoadingScreenView* createWithKind(int kind);

    explicit KVLoadingScreenView(int kind);
    void cleanupBeforeDelete() override;

    /// One step a frame (the time is not used), from the frame after the scene starts running.
    void update(float seconds) override;

    int getKind() const { return m_kind; }
    int getStep() const { return m_step; }
    /// True until the frame that asks for the destination.
    bool isReady() const { return m_ready; }

private:
    int m_kind = 0;
    int m_step = 0;
    bool m_ready = false;
};
