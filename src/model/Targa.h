#pragma once
// Reading and writing the Targa pictures that element graphics travel in. Only the
// uncompressed true-colour form is read (16, 24 or 32 bits, rows stored bottom-up);
// pictures are always written as 16-bit 5-5-5 words.

#include "Pixel.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kestrund {

// Result codes of ReadTGA.
enum : int {
    tgaOK = 0,
    tgaUnsupportedType = 1,      // image type other than 2
    tgaInvalidFile = 2,          // descriptor bit 6 or 7 set
    tgaUnsupportedInterleave = 3, // descriptor bit 5 set (top-left origin)
    tgaUnsupportedPixelSize = 4, // pixel bits other than 16, 24, 32
    tgaReadError = 5,            // the data ends before the pixels do
    tgaTooLarge = 6,             // width or height of 32768 or more
    tgaLoadError = 15,           // the file cannot be opened or read
    tgaUnknownError = 16,
};

// Largest width and height read or written; larger fields are negative as signed 16-bit.
constexpr int MaxTGASide = 32767;

constexpr std::size_t TGAHeaderSize = 18;

// The 18-byte header as stored (little-endian).
struct TTGAHeader {
    std::uint8_t IDLength = 0;
    std::uint8_t ColorMapType = 0;
    std::uint8_t ImageType = 0;
    std::uint16_t ColorMapStart = 0;
    std::uint16_t ColorMapLength = 0;
    std::uint8_t ColorMapEntryBits = 0;
    std::uint16_t XOrigin = 0;
    std::uint16_t YOrigin = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t PixelBits = 0;
    std::uint8_t Descriptor = 0;
};

// Reads a picture into a mode-0 buffer [x][y]. A width or height of 0 gives a 1 x 1
// picture. Returns one of the codes above and raises nothing; on failure the picture
// is left empty. No buffer is made before the data is known to hold all its pixels.
// header, when given, receives the header whenever the data holds its 18 bytes.
int ReadTGA(const std::string& fileName, TPictureBuffer& picture, TTGAHeader* header = nullptr);
int ReadTGA(std::span<const std::uint8_t> bytes, TPictureBuffer& picture, TTGAHeader* header = nullptr);

// The user-facing message for a result code; codes without their own message
// (including tgaReadError) get the "Unknown error" one.
std::string TGAErrorMessage(int code, const std::string& fileName);
// The code an exception carries for a result code: unlisted codes become tgaUnknownError.
std::uint32_t TGAReportedCode(int code);
// Raises EInvalidImageFormat with the message and reported code of a failed read.
[[noreturn]] void RaiseTGAError(int code, const std::string& fileName);

// The picture as a 16-bit Targa file. Raises EInvalidArgument for a picture wider or
// higher than MaxTGASide.
std::vector<std::uint8_t> WriteTGA(const TPictureBuffer& picture);
// Writes the file whole or not at all; raises EFileCreateError with the file name.
void WriteTGA(const TPictureBuffer& picture, const std::string& fileName);

} // namespace kestrund
