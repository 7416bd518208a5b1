#pragma once

class b2Body;

namespace kvengine {
class CCString;
struct CCPoint;
template <typename T> class CCMutableArray;
template <typename T> class CCValue;
} // namespace kvengine

/// The points of one animation path, in order (see SVGParser).
using SVGPointList = kvengine::CCMutableArray<kvengine::CCValue<kvengine::CCPoint>*>;

/// What an SVGParser hands over while it reads a drawing. Both operations do nothing here: the
/// level builder overrides the first, the animation-path environment layer the second.
///
/// Both are called from inside the parser's constructor, in document order, once per shape that
/// carries a "game_data" attribute. The arguments belong to the parser: retain what you keep.
class SVGParserDelegate {
public:
    virtual ~SVGParserDelegate() = default;

    /// A shape of a physics group became `body` (in the parser's world; the world owns it).
    /// `description` is the shape's "game_data" text, unchanged (an object description).
    virtual void createObjectFromDescription(kvengine::CCString* description, b2Body* body) {
        (void)description;
        (void)body;
    }

    /// A path of an animation-path group became `points` (at least one point; `CCValue<CCPoint>`
    /// entries in drawing units over the parser's pixels per unit, y upwards). `gameData` is the
    /// path's "game_data" text, unchanged. The list is autoreleased.
    virtual void addAnimationPath(kvengine::CCString* gameData, SVGPointList* points) {
        (void)gameData;
        (void)points;
    }
};
