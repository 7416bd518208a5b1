#pragma once

#include "engine/base/CCMutableArray.h"
#include "game/world/KVActor.h"

/// A short-lived actor standing for a piece of world geometry (a segment or a list of points),
/// made by the AI's line-of-sight tests when "DrawDebugAI" is set.
///
/// It joins the game by posting EVENT_NEW_ACTOR and leaves by posting EVENT_REMOVE_ACTOR about
/// itself when its lifetime runs out (a lifetime of 0 is permanent). Its view class
/// "KVDebugPrimitiveV" is not registered, so it is never drawn.
class KVDebugPrimitive : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVDebugPrimitive, KVActor)

    /// An autoreleased segment from (x1, y1) to (x2, y2), metres, living `lifetime` seconds.
    static KVDebugPrimitive* createLine(float lifetime, float x1, float y1, float x2, float y2);
    /// The same that never ends by itself.
    static KVDebugPrimitive* createPermanentLine(float x1, float y1, float x2, float y2);

    std::string viewClassName() override { return "KVDebugPrimitiveV"; }
    /// Counts the lifetime down; at 0 or less it becomes 0 and the removal is posted, once.
    void update(float dt) override;

    /// Segment form; posts EVENT_NEW_ACTOR.
    virtual void initSegment(float x1, float y1, float x2, float y2, float lifetime);
    /// Point-list form: `points` is stored as given (not retained, never read here); posts
    /// EVENT_NEW_ACTOR.
    virtual void initPoints(kvengine::CCMutableArray<kvengine::CCObject*>* points, int count, float value,
                            float lifetime);

    /// 0 point list, 1 segment.
    int kind = 0;
    /// Seconds left; 0 is permanent (or over).
    float lifetime = 0.0f;
    float pointListValue = 0.0f;
    kvengine::CCMutableArray<kvengine::CCObject*>* points = nullptr;
    int pointCount = 0;
    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
};
