#include "MiscFunc.h"

#include "Errors.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace kestrund {

std::string IntToStrPad(long long value, int width, char padChar)
{
    const bool digitPad = padChar >= '0' && padChar <= '9';
    if (value < 0 && digitPad) {
        // Pad the magnitude, then put the sign in front, so -5 at width 4 reads -005.
        const unsigned long long magnitude = 0ULL - static_cast<unsigned long long>(value);
        std::string digits = std::to_string(magnitude);
        if (static_cast<int>(digits.size()) < width - 1)
            digits.insert(0, static_cast<std::size_t>(width - 1) - digits.size(), padChar);
        return "-" + digits;
    }
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), padChar);
    return text;
}

std::string IntToHexTrim(long long value, int minDigits)
{
    static const char digits[] = "0123456789ABCDEF";
    const unsigned v = static_cast<unsigned>(value) & 0xFFFFu;
    std::string text(4, '0');
    for (int i = 0; i < 4; ++i)
        text[3 - i] = digits[(v >> (4 * i)) & 0xF];
    while (static_cast<int>(text.size()) > minDigits && text.front() == '0')
        text.erase(0, 1);
    return text;
}

std::string IntToBin(long long value, int minDigits)
{
    const unsigned v = static_cast<unsigned>(value) & 0xFFFFu;
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i)
        if (v & (1u << i))
            text[15 - i] = '1';
    while (static_cast<int>(text.size()) > minDigits && text.front() == '0')
        text.erase(0, 1);
    return text;
}

long long BinToInt(std::string_view text)
{
    unsigned long long result = 0;
    for (char ch : text) {
        if (ch != '0' && ch != '1')
            throw EConvertError("'" + std::string(text) + "' is not a valid binary value");
        result = (result << 1) | static_cast<unsigned>(ch - '0');
    }
    return static_cast<long long>(result);
}

std::string Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
        out.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return out;
}

} // namespace kestrund
