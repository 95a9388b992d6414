#pragma once
// Number-to-text helpers shared by the model, the script exchange and the windows.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrund {

// Decimal text padded on the left with padChar to at least width characters (never cut).
// With a digit as padChar and a negative value, the magnitude is padded to width-1 and
// the minus sign put in front.
std::string IntToStrPad(long long value, int width, char padChar = ' ');

// The low 16 bits as upper-case hex, leading zeros dropped while longer than minDigits.
std::string IntToHexTrim(long long value, int minDigits);

// The low 16 bits as binary digits, leading zeros dropped while longer than minDigits.
std::string IntToBin(long long value, int minDigits);

// Binary text to number; anything but '0' and '1' raises EConvertError.
long long BinToInt(std::string_view text);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

} // namespace kestrund
