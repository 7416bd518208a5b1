#pragma once

// Internal to SVGParser: readers for the spellings a level drawing uses (numbers, path data,
// transforms) and the geometry shared by its bodies and animation paths. Plain text and values
// only: no Box2D, no reference-counted objects.

#include <functional>
#include <string>
#include <vector>

#include "engine/base/CCAffineTransform.h"
#include "engine/base/CCGeometry.h"

namespace svgsyntax {

/// Reads one number starting exactly at `cursor`: an optional sign, digits with an optional
/// decimal point ("10", "-.5", "3.") and an optional exponent ("1e-3"; an "e" without digits
/// after it is not part of the number). On success moves `cursor` past it. False, cursor
/// unchanged, when no number starts there or the number lies beyond the float range (a number
/// too small for a float reads as 0).
bool readNumber(const char*& cursor, const char* end, float& value);

/// The number at the start of `text` after blanks, what follows ignored (a unit such as "px").
/// False when the text does not start with a number.
bool readLeadingNumber(const char* text, float& value);

/// One absolute drawing command of a path. M and L use points[0]; C uses points[0..2] (the two
/// control points, then the end point); Z uses none.
struct PathCommand {
    char kind;
    kvengine::CCPoint points[3];
};

/// The drawing commands of a path's "d" text, and what was skipped while reading it.
struct PathData {
    std::vector<PathCommand> commands;
    /// The letters of the unsupported commands that were skipped with their numbers, each once,
    /// in the order met.
    std::string skippedCommands;
    /// Numbers that no command could take, a command with too few numbers, a character that is
    /// neither a number nor a command letter, or a drawing command before the first M.
    bool malformed = false;
};

/// Reads path data. Supported: absolute M, L and C, and Z or z; further coordinate pairs after
/// an M are lines, as after an L. Commands are separated from their numbers, and numbers from
/// each other, by any blanks and commas, or by nothing where the next number starts with a sign
/// or a point ("M10-5.5.5"). Every other command (relative ones, H, V, S, Q, T, A) is skipped
/// with its numbers.
PathData readPathData(const char* text);

enum class TransformReading {
    Read,     ///< the transform is set
    Unknown,  ///< the text does not start with a known function; the transform is the identity
    Malformed ///< a known function with missing, extra or unreadable values, or text after it
              ///< that is not another function
};

/// Reads a "transform" attribute: translate(tx [ty]), scale(sx [sy]), rotate(degrees [cx cy]),
/// matrix(a b c d e f), skewX(degrees), skewY(degrees), values separated by commas and/or
/// blanks; several functions in a row apply right to left. A blank text is the identity.
TransformReading readTransform(const char* text, kvengine::CCAffineTransform& transform);

/// Appends the samples B(i / n), i = 0 .. n - 1, of the cubic from p0 through p1 and p2 to p3,
/// computed by forward differencing in single precision. B(1) = p3 is not a sample.
void sampleCubic(const kvengine::CCPoint& p0, const kvengine::CCPoint& p1, const kvengine::CCPoint& p2,
                 const kvengine::CCPoint& p3, int n, std::vector<kvengine::CCPoint>& samples);

/// One point of a traced outline; `joined` when an edge leads to it from the point before.
struct OutlineStep {
    kvengine::CCPoint point;
    bool joined;
};

/// Walks the commands with every drawing point taken through `map`: M starts a sub-path (not
/// joined), L is joined, C gives its `samplesPerCubic` samples of the mapped control points, each
/// joined (the first sample is the current point itself), and Z joins the sub-path's start again.
std::vector<OutlineStep> traceOutline(const PathData& path,
                                      const std::function<kvengine::CCPoint(const kvengine::CCPoint&)>& map,
                                      int samplesPerCubic);

} // namespace svgsyntax
