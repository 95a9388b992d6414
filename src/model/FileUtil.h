#pragma once
// Whole-file reading and writing. Writing goes to a temporary file beside the target
// that replaces the target only when complete, so a failed write never damages it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrund {

// Raises EFileOpenError when the file cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName);

// Raises EFileCreateError when the file cannot be written; the target is then untouched.
void WriteWholeFile(const std::string& fileName, std::span<const std::uint8_t> data);

} // namespace kestrund
