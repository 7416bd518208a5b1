#include "engine/base/CCWideFormat.h"

#include "engine/base/CCLog.h"

namespace kvengine {

namespace {

// Bounded output: units past the capacity are counted nowhere and dropped.
class WideWriter {
public:
    WideWriter(char16_t* out, std::size_t capacity) : m_out(out), m_limit(capacity - 1) {}
    void put(char16_t unit) {
        if (m_used < m_limit) m_out[m_used++] = unit;
    }
    void repeat(char16_t unit, std::size_t times) {
        for (std::size_t i = 0; i < times && m_used < m_limit; ++i)
            put(unit);
    }
    bool full() const { return m_used >= m_limit; }
    int finish() {
        m_out[m_used] = 0;
        return static_cast<int>(m_used);
    }

private:
    char16_t* m_out;
    std::size_t m_limit;
    std::size_t m_used = 0;
};

std::size_t wideLength(const char16_t* text) {
    std::size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

// Digits of `value` in `base` into `digits` (most significant first); returns the count.
std::size_t unsignedDigits(std::uint32_t value, unsigned base, bool upper, char16_t* digits) {
    const char* table = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char16_t reversed[12];
    std::size_t n = 0;
    do {
        reversed[n++] = static_cast<char16_t>(table[value % base]);
        value /= base;
    } while (value != 0);
    for (std::size_t i = 0; i < n; ++i)
        digits[i] = reversed[n - 1 - i];
    return n;
}

} // namespace

int formatWideStringArgs(char16_t* out, std::size_t capacity, const char16_t* format, const CCWideArg* args,
                         std::size_t argCount) {
    if (out == nullptr || capacity == 0) {
        logDebugMessage("formatWideString: no output buffer");
        return 0;
    }
    WideWriter writer(out, capacity);
    if (format == nullptr) return writer.finish();

    std::size_t nextArg = 0;
    bool reportedMismatch = false;
    auto takeArg = [&](bool wantText) -> const CCWideArg* {
        if (nextArg >= argCount || args[nextArg].isText() != wantText) {
            if (!reportedMismatch)
                logDebugMessage("formatWideString: argument %zu missing or of the wrong kind", nextArg);
            reportedMismatch = true;
            if (nextArg < argCount) ++nextArg;
            return nullptr;
        }
        return &args[nextArg++];
    };

    for (const char16_t* p = format; *p != 0 && !writer.full(); ++p) {
        if (*p != u'%') {
            writer.put(*p);
            continue;
        }
        ++p;
        if (*p == 0) break;
        if (*p == u'%') {
            writer.put(u'%');
            continue;
        }
        bool left = false;
        bool zero = false;
        std::size_t width = 0;
        if (*p == u'-') {
            left = true;
            ++p;
        }
        while (*p == u'0') {
            zero = true;
            ++p;
        }
        // No field can be wider than the buffer, so larger widths need not be kept exactly.
        while (*p >= u'0' && *p <= u'9') {
            if (width <= capacity) width = width * 10 + static_cast<std::size_t>(*p - u'0');
            ++p;
        }
        if (*p == 0) break;

        char16_t digits[12];
        const char16_t* field = digits;
        std::size_t length = 0;
        bool negative = false;
        bool emit = true;
        switch (*p) {
        case u'd':
        case u'i':
            if (const CCWideArg* arg = takeArg(false)) {
                auto value = static_cast<std::int32_t>(arg->integer());
                negative = value < 0;
                // Negate in unsigned arithmetic so the most negative value prints correctly.
                std::uint32_t magnitude = negative ? 0u - arg->integer() : arg->integer();
                length = unsignedDigits(magnitude, 10, false, digits);
            } else {
                emit = false;
            }
            break;
        case u'u':
        case u'x':
        case u'X':
            if (const CCWideArg* arg = takeArg(false))
                length = unsignedDigits(arg->integer(), *p == u'u' ? 10 : 16, *p == u'X', digits);
            else
                emit = false;
            break;
        case u'c':
            if (const CCWideArg* arg = takeArg(false)) {
                digits[0] = static_cast<char16_t>(arg->integer() & 0xFFFF);
                length = digits[0] != 0 ? 1 : 0;
            } else {
                emit = false;
            }
            break;
        case u's':
            if (const CCWideArg* arg = takeArg(true); arg != nullptr && arg->text() != nullptr) {
                field = arg->text();
                length = wideLength(field);
            } else {
                emit = false;
            }
            break;
        default:
            emit = false;
            break;
        }
        if (!emit) continue;

        char16_t pad = zero ? u'0' : u' ';
        std::size_t total = length + (negative ? 1 : 0);
        std::size_t padding = width > total ? width - total : 0;
        if (negative && zero) {
            // '-' first, then the zeros: "%05d" of -42 is "-0042".
            writer.put(u'-');
            if (!left) writer.repeat(pad, padding);
        } else {
            if (!left) writer.repeat(pad, padding);
            if (negative) writer.put(u'-');
        }
        for (std::size_t i = 0; i < length && !writer.full(); ++i)
            writer.put(field[i]);
        if (left) writer.repeat(pad, padding);
    }
    return writer.finish();
}

} // namespace kvengine
