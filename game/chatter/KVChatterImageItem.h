#pragma once

#include <string>

#include "engine/base/CCMutableDictionary.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCSprite;
class CCString;
} // namespace kvengine
class KVChatterImageView;

/// The picture of a dialogue image step and its animation.
///
/// The picture is the file "<name>.pvr.ccz" (found through the resource index), placed at a rest
/// position that depends on the screen and on whether it is a wide ("960") picture. It can zoom,
/// move and fade in steps of 0.03 s (mode 1: the kinds play one after another, so n kinds last
/// about n times the duration), or shake (mode 0: the item moves right-down, right-up and back in
/// cycles of 0.15 s while the picture shows at its end values, enlarged by 1.1).
///
/// Timing notes: a kind of duration d is floor(d / 0.03) steps; a shake of d is floor(d / 0.15)
/// cycles. Both are whole steps so the picture always ends on its end values.
class KVChatterImageItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVChatterImageItem, KVMenuItem)

    static constexpr float kStepSeconds = 0.03f;
    static constexpr float kShakeMoveSeconds = 0.05f;
    static constexpr float kShakeCycleSeconds = 0.15f;

    enum Kind { kScale, kMove, kFade };

    explicit KVChatterImageItem(kvengine::CCString* name);

    void cleanupBeforeDelete() override;

    /// Loads the picture (the previous one is removed); an empty name loads nothing.
    void setPicture(const std::string& name);
    /// Sets the picture's scale and opacity and puts it at the rest position plus the offsets (x to
    /// the right, y downwards).
    void placePicture(float scale, float opacity, float offsetX, float offsetY);
    /// The base factor of the picture on this screen.
    float baseFactor() const;
    kvengine::CCPoint restPosition() const;

    void setView(KVChatterImageView* view) { m_view = view; }
    /// Sets the animation's parameters; values of the kinds not present stay at their defaults.
    void setAnimation(float duration, float scaleStart, float scaleEnd, float moveStartX, float moveStartY,
                      float moveEndX, float moveEndY, float fadeStart, float fadeEnd);
    /// Builds the 0.03 s actions of one kind, stored under firstKey, firstKey + keyStep ... Sets the
    /// picture to the kind's start value. A duration of 0 or less tells the view at once instead.
    void buildKind(Kind kind, int firstKey, int keyStep);
    /// Runs every stored action in key order, then tells the view (mode 1).
    void runStepActions();
    /// Shakes the item for `duration` seconds by `radius` points, then tells the view (mode 0).
    void shake(float duration, float radius);
    /// A touch during the animation: shows its end state. Returns true when the step is over (nothing
    /// changes on screen), false when the end state waits for another touch.
    bool finishNow();

    bool isAnimating() const { return m_animating; }
    void setAnimating(bool animating) { m_animating = animating; }
    int getMode() const { return m_mode; }
    int getShakeCycles() const { return m_shakeCycles; }
    int getCyclesDone() const { return m_cyclesDone; }
    unsigned getStepActionCount() const;
    kvengine::CCSprite* getPicture() const { return m_picture; }
    bool isWidePicture() const { return m_widePicture; }

private:
    void onStepActionsDone();
    void startShakeCycle();
    void tellView();

    KVChatterImageView* m_view = nullptr;
    kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* m_stepActions = nullptr;
    kvengine::CCSprite* m_picture = nullptr;
    std::string m_texturePath;
    bool m_animating = false;
    bool m_widePicture = false;
    int m_mode = 1;
    float m_shakeRadius = 0;
    int m_shakeCycles = 0;
    int m_cyclesDone = 0;
    kvengine::CCPoint m_shakeHome;
    float m_duration = 0;
    float m_scaleStart = 1, m_scaleEnd = 1;
    float m_moveStartX = 0, m_moveStartY = 0, m_moveEndX = 0, m_moveEndY = 0;
    float m_fadeStart = 255, m_fadeEnd = 255;
};
