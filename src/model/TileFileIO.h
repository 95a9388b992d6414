#pragma once
// Helpers shared by the tile file's record readers and writers.

#include "ByteStream.h"
#include "Errors.h"

#include <cstdint>
#include <span>
#include <string>

namespace kestrund {

// Section names as they appear in messages and in `kestrund-cli info`.
inline constexpr const char* TileFileSectionNames[6] = {"TileRules", "Borders",      "Tiles",
                                                        "Rivers",    "Improvements", "VariationRules"};

// Bytes of a record without its overlay block; also the least a record can take.
constexpr std::size_t TileRuleRecordSize = 30;
constexpr std::size_t BorderRecordSize = 2820;
constexpr std::size_t TileRecordSize = 4616;
constexpr std::size_t ImprovementRecordMin = 6 + 4;
constexpr std::size_t RiverRecordMin = 18 + ImprovementRecordMin;
constexpr std::size_t VariationRuleRecordMin = 2;

// The largest overlay block a u16 size field can describe.
constexpr std::size_t MaxBlockBytes = 0xFFFF;

// A record that contradicts itself. Detail reads after "element N", e.g. "has an
// overlay line of zero words (row 3)"; Offset is the byte offset of the offending data.
class ERecordFormatError : public EFileFormatError {
public:
    ERecordFormatError(const std::string& detail, std::size_t offset)
        : EFileFormatError("The record " + detail + " (offset " + std::to_string(offset) + ")"),
          Detail(detail), Offset(offset) {}
    std::string Detail;
    std::size_t Offset;
};

// A record that does not fit the file's 16-bit fields; nothing is written.
class ERecordTooLargeError : public EInvalidArgument {
public:
    explicit ERecordTooLargeError(const std::string& detail)
        : EInvalidArgument("The record " + detail), Detail(detail) {}
    std::string Detail;
};

// ConvertPixel over many words in place, written so the compiler can vectorise it.
void ConvertPixelWords(std::uint16_t* words, std::size_t count, int fromMode, int toMode);

// Pixel words as stored (little-endian), without per-word work on little-endian hosts.
void ReadPixelWords(TByteReader& reader, std::uint16_t* dest, std::size_t count);
// Writes count words, converted from fromMode to toMode when the modes differ.
void WritePixelWords(TByteWriter& writer, const std::uint16_t* src, std::size_t count, int fromMode, int toMode);

} // namespace kestrund
