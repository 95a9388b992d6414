#pragma once
// The composed view written as a Windows bitmap or a JPEG/JFIF file.

#include "Pixel.h"
#include "TileView.h"

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

// ".JPG" gives ".jpg"; empty when the name has none.
std::string LowerCaseExtension(const std::string& fileName);

enum class TViewImageFormat { None, Targa, Bitmap, Jpeg };
// The format a file name's extension asks for, in any letter case: .tga, .bmp, .jpg/.jpeg/.jif.
TViewImageFormat ViewImageFormatOf(const std::string& fileName);

// The view saved under fileName in the format its extension names: the bitmap and the JPEG
// hold the view picture as composed, the Targa the 16-bit composition drawn in the given
// transparent and shadow colours. Any other extension writes nothing and returns false.
bool SaveViewImage(const TTileFile& set, const TViewState& view, const TTileRule* rule, TColor transparent,
                   TColor shadow, const std::string& fileName);

} // namespace kestrund
