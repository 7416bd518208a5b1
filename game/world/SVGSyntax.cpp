#include "game/world/SVGSyntax.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

using kvengine::CCAffineTransform;
using kvengine::CCPoint;

namespace svgsyntax {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool startsNumber(char c) {
    return isDigit(c) || c == '-' || c == '+' || c == '.';
}

void skipBlanks(const char*& cursor, const char* end) {
    while (cursor < end && isBlank(*cursor))
        ++cursor;
}

// Moves past what looks like a number, readable or not: at least one character.
void skipNumberLike(const char*& cursor, const char* end) {
    const char* start = cursor;
    if (cursor < end && (*cursor == '+' || *cursor == '-')) ++cursor;
    while (cursor < end && (isDigit(*cursor) || *cursor == '.'))
        ++cursor;
    if (cursor < end && (*cursor == 'e' || *cursor == 'E')) {
        const char* q = cursor + 1;
        if (q < end && (*q == '+' || *q == '-')) ++q;
        if (q < end && isDigit(*q)) {
            while (q < end && isDigit(*q))
                ++q;
            cursor = q;
        }
    }
    if (cursor == start) ++cursor;
}

// How many numbers one use of a drawing command takes; 0 for commands that take none.
int numbersPerUse(char command) {
    switch (command) {
    case 'M':
    case 'L':
        return 2;
    case 'C':
        return 6;
    default:
        return 0;
    }
}

} // namespace

bool readNumber(const char*& cursor, const char* end, float& value) {
    const char* p = cursor;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* mantissa = p;
    int digits = 0;
    for (; p < end && isDigit(*p); ++p)
        ++digits;
    if (p < end && *p == '.') {
        for (++p; p < end && isDigit(*p); ++p)
            ++digits;
    }
    if (digits == 0) return false;
    const char* numberEnd = p;
    bool negativeExponent = false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool minus = false;
        if (q < end && (*q == '+' || *q == '-')) {
            minus = *q == '-';
            ++q;
        }
        if (q < end && isDigit(*q)) {
            while (q < end && isDigit(*q))
                ++q;
            numberEnd = q;
            negativeExponent = minus;
        }
    }
    // from_chars, unlike atof, ignores the locale, and it is handed exactly the digits found above.
    double parsed = 0.0;
    std::from_chars_result result = std::from_chars(mantissa, numberEnd, parsed);
    if (result.ec == std::errc::result_out_of_range && negativeExponent) {
        parsed = 0.0;
    } else if (result.ec != std::errc() || result.ptr != numberEnd || !(std::fabs(parsed) <= FLT_MAX)) {
        return false;
    }
    value = static_cast<float>(negative ? -parsed : parsed);
    cursor = numberEnd;
    return true;
}

bool readLeadingNumber(const char* text, float& value) {
    if (text == nullptr) return false;
    const char* end = text + std::strlen(text);
    skipBlanks(text, end);
    return readNumber(text, end, value);
}

PathData readPathData(const char* text) {
    PathData data;
    if (text == nullptr) return data;
    const char* p = text;
    const char* end = text + std::strlen(text);
    // The command that takes the numbers read next: 0 before any, '?' for a skipped one.
    char command = 0;
    float numbers[6];
    int count = 0;      // numbers gathered for the current use of the command
    int uses = 0;       // complete uses since the command letter
    bool moved = false; // an M has been read: drawing commands have a current point

    auto emit = [&](char kind) {
        if (kind != 'M' && !moved) {
            data.malformed = true;
            return;
        }
        moved = true;
        PathCommand out{kind, {}};
        for (int i = 0; i < numbersPerUse(kind) / 2; ++i)
            out.points[i] = CCPoint(numbers[2 * i], numbers[2 * i + 1]);
        data.commands.push_back(out);
    };
    // A command letter, a stray character or the end closes the previous command's numbers.
    auto closeCommand = [&]() {
        if (numbersPerUse(command) > 0 && (count != 0 || uses == 0)) data.malformed = true;
        count = 0;
        uses = 0;
    };

    while (true) {
        while (p < end && (isBlank(*p) || *p == ',')) {
            ++p;
        }
        if (p >= end) break;
        char c = *p;
        if (startsNumber(c)) {
            float value = 0.0f;
            if (!readNumber(p, end, value)) {
                // A lone sign or point, or a number beyond the float range: drop it whole, and
                // the rest of its command's numbers with it, rather than pair them up wrongly.
                skipNumberLike(p, end);
                data.malformed = true;
                command = '?';
                count = 0;
                continue;
            }
            if (command == '?') continue; // a number of a skipped command
            int needed = numbersPerUse(command);
            if (needed == 0) {
                data.malformed = true; // before any command, or after a Z
                continue;
            }
            numbers[count++] = value;
            if (count == needed) {
                emit(command);
                count = 0;
                ++uses;
                if (command == 'M') command = 'L';
            }
            continue;
        }
        closeCommand();
        ++p;
        if (c == 'M' || c == 'L' || c == 'C') {
            command = c;
        } else if (c == 'Z' || c == 'z') {
            command = 'Z';
            emit('Z');
        } else {
            command = '?';
            if (isLetter(c)) {
                if (data.skippedCommands.find(c) == std::string::npos) data.skippedCommands += c;
            } else {
                data.malformed = true;
            }
        }
    }
    closeCommand();
    return data;
}

TransformReading readTransform(const char* text, CCAffineTransform& transform) {
    transform = kvengine::identityAffineTransform();
    if (text == nullptr) return TransformReading::Read;
    const char* p = text;
    const char* end = text + std::strlen(text);
    CCAffineTransform total = kvengine::identityAffineTransform();
    bool first = true;
    while (true) {
        skipBlanks(p, end);
        if (!first && p < end && *p == ',') {
            ++p;
            skipBlanks(p, end);
        }
        if (p >= end) break;
        const char* word = p;
        while (p < end && isLetter(*p))
            ++p;
        std::string keyword(word, p);
        static const char* const kKeywords[] = {"translate", "scale", "rotate", "matrix", "skewX", "skewY"};
        int kind = -1;
        for (int i = 0; i < 6; ++i) {
            if (keyword == kKeywords[i]) kind = i;
        }
        if (kind < 0) return first ? TransformReading::Unknown : TransformReading::Malformed;
        skipBlanks(p, end);
        if (p >= end || *p != '(') return TransformReading::Malformed;
        ++p;
        float v[6];
        int count = 0;
        while (true) {
            skipBlanks(p, end);
            if (p < end && *p == ')') {
                ++p;
                break;
            }
            if (count > 0 && p < end && *p == ',') {
                ++p;
                skipBlanks(p, end);
            }
            if (count == 6 || !readNumber(p, end, v[count])) return TransformReading::Malformed;
            ++count;
        }
        CCAffineTransform step;
        const float kRadiansPerDegree = 0.017453292f;
        switch (kind) {
        case 0: // translate(tx [ty]): ty defaults to 0
            if (count != 1 && count != 2) return TransformReading::Malformed;
            step = kvengine::makeAffineTransform(1, 0, 0, 1, v[0], count == 2 ? v[1] : 0.0f);
            break;
        case 1: // scale(sx [sy]): sy defaults to sx
            if (count != 1 && count != 2) return TransformReading::Malformed;
            step = kvengine::makeAffineTransform(v[0], 0, 0, count == 2 ? v[1] : v[0], 0, 0);
            break;
        case 2: { // rotate(angle [cx cy]): about the origin, or about (cx, cy)
            if (count != 1 && count != 3) return TransformReading::Malformed;
            float theta = v[0] * kRadiansPerDegree;
            float cosine = std::cos(theta), sine = std::sin(theta);
            step = kvengine::makeAffineTransform(cosine, sine, -sine, cosine, 0, 0);
            if (count == 3) {
                step = kvengine::concatAffineTransform(
                    kvengine::makeAffineTransform(1, 0, 0, 1, -v[1], -v[2]), step);
                step = kvengine::concatAffineTransform(step,
                                                       kvengine::makeAffineTransform(1, 0, 0, 1, v[1], v[2]));
            }
            break;
        }
        case 3:
            if (count != 6) return TransformReading::Malformed;
            step = kvengine::makeAffineTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
            break;
        case 4:
            if (count != 1) return TransformReading::Malformed;
            step = kvengine::makeAffineTransform(1, 0, std::tan(v[0] * kRadiansPerDegree), 1, 0, 0);
            break;
        default:
            if (count != 1) return TransformReading::Malformed;
            step = kvengine::makeAffineTransform(1, std::tan(v[0] * kRadiansPerDegree), 0, 1, 0, 0);
            break;
        }
        // In a list the rightmost function acts on a point first.
        total = kvengine::concatAffineTransform(step, total);
        first = false;
    }
    transform = total;
    return TransformReading::Read;
}

void sampleCubic(const CCPoint& p0, const CCPoint& p1, const CCPoint& p2, const CCPoint& p3, int n,
                 std::vector<CCPoint>& samples) {
    if (n < 1) return;
    const float h = 1.0f / static_cast<float>(n);
    const float h2 = h * h, h3 = h2 * h;
    // B(t) = a t^3 + b t^2 + c t + p0.
    const float ax = -p0.x + 3.0f * p1.x - 3.0f * p2.x + p3.x;
    const float ay = -p0.y + 3.0f * p1.y - 3.0f * p2.y + p3.y;
    const float bx = 3.0f * p0.x - 6.0f * p1.x + 3.0f * p2.x;
    const float by = 3.0f * p0.y - 6.0f * p1.y + 3.0f * p2.y;
    const float cx = 3.0f * (p1.x - p0.x);
    const float cy = 3.0f * (p1.y - p0.y);
    float x = p0.x, y = p0.y;
    float dx = ax * h3 + bx * h2 + cx * h, dy = ay * h3 + by * h2 + cy * h;
    float ddx = 6.0f * ax * h3 + 2.0f * bx * h2, ddy = 6.0f * ay * h3 + 2.0f * by * h2;
    const float dddx = 6.0f * ax * h3, dddy = 6.0f * ay * h3;
    samples.reserve(samples.size() + static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        samples.emplace_back(x, y);
        x += dx;
        y += dy;
        dx += ddx;
        dy += ddy;
        ddx += dddx;
        ddy += dddy;
    }
}

std::vector<OutlineStep> traceOutline(const PathData& path, const std::function<CCPoint(const CCPoint&)>& map,
                                      int samplesPerCubic) {
    std::vector<OutlineStep> steps;
    CCPoint current, start;
    std::vector<CCPoint> samples;
    for (const PathCommand& command : path.commands) {
        switch (command.kind) {
        case 'M':
            current = start = map(command.points[0]);
            steps.push_back({current, false});
            break;
        case 'L':
            current = map(command.points[0]);
            steps.push_back({current, true});
            break;
        case 'C':
            samples.clear();
            sampleCubic(current, map(command.points[0]), map(command.points[1]), map(command.points[2]),
                        samplesPerCubic, samples);
            for (const CCPoint& sample : samples)
                steps.push_back({sample, true});
            // The end point itself is never reached: the next command starts from the last sample.
            if (!samples.empty()) current = samples.back();
            break;
        default: // Z
            current = start;
            steps.push_back({current, true});
            break;
        }
    }
    return steps;
}

} // namespace svgsyntax
