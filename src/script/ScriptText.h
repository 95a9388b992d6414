#pragma once
// Text pieces of the script format: splitting lines and items, and the number
// conversions the reader uses.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrund {

// Lines split at CR LF, a lone CR or a lone LF; a NUL ends the text. A final line
// break does not start another line.
std::vector<std::string> SplitScriptLines(std::string_view text);

// Items separated by blanks (codes 1..32) and/or commas; "quoted" items may hold
// blanks, with "" standing for one quote.
std::vector<std::string> SplitCommaText(std::string_view text);

// Optional leading blanks, then a signed decimal that fits 32 bits, or hex after
// $, x, X, 0x or 0X (up to 8 digits). Nothing may follow. Raises EConvertError
// "'%s' is not a valid integer value".
std::int32_t StrToIntStrict(const std::string& text);
std::int32_t StrToIntDef(const std::string& text, std::int32_t def);

// Blank: empty or only characters with codes up to 32.
bool IsBlankText(std::string_view text);
std::string TrimText(std::string_view text);

} // namespace kestrund
