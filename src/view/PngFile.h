#pragma once
// Pictures written as PNG: 8-bit RGB, no transparency, through libpng.

#include "Pixel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrund {

// Raises EKestrundError for an empty picture or when the library fails.
std::vector<std::uint8_t> EncodePng(const TRgbSurface& picture);

// Writes whole or not at all; EFileCreateError names the file.
void WritePng(const TRgbSurface& picture, const std::string& fileName);

} // namespace kestrund
