#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace kvengine {

/// One argument of the wide formatter: a 32-bit integer or a UTF-16 string. Arguments are typed,
/// so a format text read from a data file can never make the formatter read the wrong kind of
/// value: a conversion that meets an argument of the other kind, or no argument, writes nothing.
class CCWideArg {
public:
    template <typename Int, typename = std::enable_if_t<std::is_integral_v<Int>>>
    CCWideArg(Int value) : m_isText(false), m_integer(static_cast<std::uint32_t>(value)) {}
    CCWideArg(const char16_t* text) : m_isText(true), m_text(text) {}
    CCWideArg(const std::u16string& text) : m_isText(true), m_text(text.c_str()) {}

    bool isText() const { return m_isText; }
    std::uint32_t integer() const { return m_integer; }
    const char16_t* text() const { return m_text; }

private:
    bool m_isText;
    std::uint32_t m_integer = 0;
    const char16_t* m_text = nullptr;
};

/// A small wide printf. Conversions: %d %i (signed), %u, %x, %X, %c (low 16 bits of an integer),
/// %s (UTF-16 string; null writes nothing, not even padding), %%. Flags: one '-' (left-justify),
/// then '0's (pad with zeros, on either side); then a decimal width. Other conversions write
/// nothing and take no argument; a '%' at the end of the format is dropped.
///
/// Writes at most capacity - 1 units and a terminating 0 unit into `out` (truncating the rest)
/// and returns the number of units written before the terminator. A null `out` or a capacity of
/// 0 writes nothing and returns 0 (logged); a null format gives the empty text.
int formatWideStringArgs(char16_t* out, std::size_t capacity, const char16_t* format, const CCWideArg* args,
                         std::size_t argCount);

template <typename... Args>
int formatWideString(char16_t* out, std::size_t capacity, const char16_t* format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return formatWideStringArgs(out, capacity, format, nullptr, 0);
    } else {
        const CCWideArg list[] = {CCWideArg(args)...};
        return formatWideStringArgs(out, capacity, format, list, sizeof...(Args));
    }
}

} // namespace kvengine
