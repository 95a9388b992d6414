#pragma once
// The composed view written as a Windows bitmap or a JPEG/JFIF file.

#include "Pixel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrund {

// 24-bit bottom-up bitmap.
std::vector<std::uint8_t> EncodeBmp(const TRgbSurface& picture);
// Baseline JPEG with the library's default settings.
std::vector<std::uint8_t> EncodeJpeg(const TRgbSurface& picture);

// Write whole or not at all; EFileCreateError names the file.
void WriteBmp(const TRgbSurface& picture, const std::string& fileName);
void WriteJpeg(const TRgbSurface& picture, const std::string& fileName);

} // namespace kestrund
