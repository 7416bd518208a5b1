#pragma once
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCObject.h"

#include <string>

namespace kvengine {

class CCSpriteFrame;

/// A list of sprite frames shown one after the other, `delay` seconds each (played by the
/// frame-animation action). Ownership: the animation owns its frame array, which retains the
/// frames.
class CCAnimation : public CCObject {
public:
    /// An autoreleased empty animation with delay 0.
    static CCAnimation* create();
    /// An autoreleased animation holding the frames of `frames` (null: none) at that time.
    static CCAnimation* createWithFramesDelay(CCMutableArray<CCSpriteFrame*>* frames, float delay);
    /// Frames registered in the shared frame cache under printf(pattern, first..last), e.g.
    /// "walk_%.2d.png"; missing names are skipped (the cache logs them). An autoreleased
    /// animation; empty when no name was found.
    static CCAnimation* createWithFrameNamePattern(const char* pattern, int first, int last, float delay);

    CCAnimation();
    ~CCAnimation() override;

    /// Delay stored; the frames become a new array holding the same frames. True.
    bool initWithFrames(CCMutableArray<CCSpriteFrame*>* frames, float delay);
    /// Appends (retains) the frame; null is ignored with a log line.
    void addFrame(CCSpriteFrame* frame);
    /// Appends the shared frame cache's frame of that name; false (logged) when there is none.
    bool addFrameWithName(const char* name);

    CCMutableArray<CCSpriteFrame*>* getFrames() const { return m_frames; }
    float getDelay() const { return m_delay; }
    void setDelay(float delay) { m_delay = delay; }
    const std::string& getName() const { return m_name; }

private:
    std::string m_name;
    float m_delay = 0.0f;
    CCMutableArray<CCSpriteFrame*>* m_frames;
};

} // namespace kvengine
