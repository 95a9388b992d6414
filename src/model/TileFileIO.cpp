// Tile file reading and writing: the six sections, the element records and the overlay
// block. Reading checks every size against the bytes that are really there and fills a
// scratch set, so a damaged file never touches the set it was meant for.

#include "TileFileIO.h"

#include "FileUtil.h"
#include "TileFile.h"

#include <bit>
#include <cstring>
#include <vector>

namespace kestrund {

namespace {

constexpr std::size_t MaxElements = 0xFFFF;
constexpr std::size_t MaxSteps = 0xFFFF;

int NormalMode(int mode) { return mode == cmRGB565 ? cmRGB565 : cmRGB555; }

void CopyWordsFromBytes(std::uint16_t* dest, const std::uint8_t* src, std::size_t count)
{
    if constexpr (std::endian::native == std::endian::little) {
        if (count > 0)
            std::memcpy(dest, src, 2 * count);
    } else {
        for (std::size_t i = 0; i < count; ++i)
            dest[i] = static_cast<std::uint16_t>(src[2 * i] | src[2 * i + 1] << 8);
    }
}

std::string RowText(std::size_t row) { return " at row " + std::to_string(row); }

enum class TLineShape { Ok, LiteralPastWords, BadEnd };

// A line is a run sequence with an end run among its words. Checks a line's words and
// measures its width on the way, as ComputeWidth would.
TLineShape CheckLineWords(const std::uint8_t* bytes, std::size_t count, std::uint16_t& width)
{
    unsigned total = 0;
    std::size_t i = 0;
    while (i < count) {
        const std::uint8_t op = bytes[2 * i + 1];
        const std::size_t n = bytes[2 * i];
        ++i;
        if (IsLiteralOp(op)) {
            if (n > count - i)
                return TLineShape::LiteralPastWords;
            i += n;
        }
        if (op == opTransparent || op == opSolidShadow || op == opLiteral || op == opShadow || IsEndOp(op))
            total += static_cast<unsigned>(n);
        // Words after the end run (padding, or the rest of the block after the last line)
        // belong to the line: they are kept and written back, never drawn.
        if (IsEndOp(op)) {
            width = static_cast<std::uint16_t>(total);
            return TLineShape::Ok;
        }
    }
    return TLineShape::BadEnd;
}

void CheckBlockSize(std::size_t words)
{
    if (2 * words > MaxBlockBytes)
        throw ERecordTooLargeError("has an overlay block of " + std::to_string(2 * words) +
                                   " bytes, more than the 65535 a tile file can hold");
}

} // namespace

void ConvertPixelWords(std::uint16_t* words, std::size_t count, int fromMode, int toMode)
{
    fromMode = NormalMode(fromMode);
    toMode = NormalMode(toMode);
    // Four words at a time in a 64-bit integer: the shifts never carry a kept bit into
    // the neighbouring word.
    constexpr std::uint64_t blue = 0x001F001F001F001Full;
    constexpr std::uint64_t redGreen = 0x7FE07FE07FE07FE0ull;
    if (fromMode == cmRGB555 && toMode == cmRGB565) {
        std::size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            std::uint64_t x;
            std::memcpy(&x, words + i, 8);
            x = (x & redGreen) << 1 | (x & blue);
            std::memcpy(words + i, &x, 8);
        }
        for (; i < count; ++i) {
            const unsigned p = words[i];
            words[i] = static_cast<std::uint16_t>((p & 0x7FE0u) << 1 | (p & 0x1Fu));
        }
    } else if (fromMode == cmRGB565 && toMode == cmRGB555) {
        std::size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            std::uint64_t x;
            std::memcpy(&x, words + i, 8);
            x = (x >> 1 & redGreen) | (x & blue);
            std::memcpy(words + i, &x, 8);
        }
        for (; i < count; ++i) {
            const unsigned p = words[i];
            words[i] = static_cast<std::uint16_t>((p >> 1 & 0x7FE0u) | (p & 0x1Fu));
        }
    } else {
        for (std::size_t i = 0; i < count; ++i)
            words[i] = ConvertPixel(words[i], fromMode, toMode);
    }
}

void ReadPixelWords(TByteReader& reader, std::uint16_t* dest, std::size_t count)
{
    CopyWordsFromBytes(dest, reader.Bytes(2 * count).data(), count);
}

void WritePixelWords(TByteWriter& writer, const std::uint16_t* src, std::size_t count, int fromMode, int toMode)
{
    auto writeRaw = [&](const std::uint16_t* words, std::size_t n) {
        if constexpr (std::endian::native == std::endian::little)
            writer.Bytes(std::span(reinterpret_cast<const std::uint8_t*>(words), 2 * n));
        else
            writer.Words(words, n);
    };
    fromMode = NormalMode(fromMode);
    toMode = NormalMode(toMode);
    if (fromMode == toMode) {
        writeRaw(src, count);
        return;
    }
    std::uint16_t chunk[512];
    while (count > 0) {
        const std::size_t n = count < 512 ? count : 512;
        std::memcpy(chunk, src, 2 * n);
        ConvertPixelWords(chunk, n, fromMode, toMode);
        writeRaw(chunk, n);
        src += n;
        count -= n;
    }
}

// ---- Tile rules ---------------------------------------------------------------------

void TTileRule::LoadFromStream(TByteReader& reader)
{
    ReadPixelWords(reader, Values.data(), Values.size());
}

void TTileRule::SaveToStream(TByteWriter& writer) const
{
    writer.Words(Values.data(), Values.size());
}

// ---- Borders ------------------------------------------------------------------------

void TTileBorder::LoadFromStream(TByteReader& reader)
{
    Inside = reader.U16();
    Outside = reader.U16();
    for (auto& edge : Edges)
        ReadPixelWords(reader, edge.Pixels.data(), edge.Pixels.size());
}

void TTileBorder::SaveToStream(TByteWriter& writer, int mode) const
{
    writer.U16(Inside);
    writer.U16(Outside);
    for (const auto& edge : Edges)
        WritePixelWords(writer, edge.Pixels.data(), edge.Pixels.size(), edge.ColorMode, mode);
}

// ---- Overlay blocks -----------------------------------------------------------------

void TTileOverlay::LoadBlock(TByteReader& reader, std::uint16_t byteSize)
{
    const std::size_t start = reader.Position();
    auto sizeError = [&] {
        return ERecordFormatError("has an overlay block size (" + std::to_string(byteSize) +
                                      " bytes) that disagrees with its contents",
                                  start);
    };
    if (byteSize < 4 || byteSize % 2 != 0)
        throw sizeError();
    const std::span<const std::uint8_t> block = reader.Bytes(byteSize);
    auto word = [&](std::size_t i) { return static_cast<std::uint16_t>(block[2 * i] | block[2 * i + 1] << 8); };

    const std::uint16_t first = word(0);
    const std::uint16_t last = word(1);
    if (first == NoLine) {
        if (byteSize != 4)
            throw sizeError();
        Clear();
        LastLine = last; // kept as stored, so the block is written back unchanged
        return;
    }
    if (last < first || last == NoLine)
        throw ERecordFormatError("has an overlay whose LastLine (" + std::to_string(last) +
                                     ") is not a row at or after its FirstLine (" + std::to_string(first) + ")",
                                 start);
    const std::size_t rows = static_cast<std::size_t>(last) - first + 1;
    const std::size_t words = byteSize / 2;
    if (words < 2 + rows)
        throw sizeError();
    const std::size_t dataWords = words - 2 - rows;
    const std::size_t dataStart = start + 4 + 2 * rows;

    // The offsets only give the lengths: line data must follow in row order, without gaps.
    struct TPresent {
        std::size_t Row;
        std::size_t Offset;
    };
    std::vector<TPresent> present;
    present.reserve(rows);
    for (std::size_t j = 0; j < rows; ++j) {
        const std::uint16_t off = word(2 + j);
        if (off == NoLine)
            continue;
        const std::size_t row = first + j;
        const std::size_t entry = start + 4 + 2 * j;
        if (present.empty()) {
            if (off != 0)
                throw ERecordFormatError("has a first overlay offset other than 0" + RowText(row), entry);
        } else if (off == present.back().Offset) {
            throw ERecordFormatError("has an overlay line of zero words" + RowText(present.back().Row),
                                     dataStart + 2 * off);
        } else if (off < present.back().Offset) {
            throw ERecordFormatError("has overlay offsets that are not ascending" + RowText(row), entry);
        }
        if (off >= dataWords)
            throw ERecordFormatError("has an overlay offset outside its block" + RowText(row), entry);
        present.push_back({row, off});
    }
    if (present.empty() && dataWords != 0)
        throw sizeError();

    std::vector<TLineSlot> lines(static_cast<std::size_t>(last) + 1);
    const std::uint8_t* data = block.data() + 2 * (2 + rows);
    for (std::size_t k = 0; k < present.size(); ++k) {
        const std::size_t off = present[k].Offset;
        const bool lastLine = k + 1 == present.size();
        const std::size_t length = (lastLine ? dataWords : present[k + 1].Offset) - off;
        const std::uint8_t* bytes = data + 2 * off;
        std::uint16_t width = 0;
        switch (CheckLineWords(bytes, length, width)) {
        case TLineShape::Ok:
            break;
        case TLineShape::LiteralPastWords:
            throw ERecordFormatError("has an overlay line whose literal pixels run past its words" +
                                         RowText(present[k].Row),
                                     dataStart + 2 * off);
        case TLineShape::BadEnd:
            throw ERecordFormatError("has an overlay line that does not end with its end run" +
                                         RowText(present[k].Row),
                                     dataStart + 2 * off);
        }
        std::vector<std::uint16_t> words(length);
        CopyWordsFromBytes(words.data(), bytes, length);
        lines[present[k].Row].emplace(ColorMode, std::move(words), width);
    }
    Clear();
    Lines = std::move(lines);
    FirstLine = first;
    LastLine = last;
}

void TTileOverlay::SaveBlock(TByteWriter& writer, int mode) const
{
    CheckBlockSize(BlockWords());
    writer.U16(FirstLine);
    writer.U16(LastLine);
    if (Empty())
        return;
    // A line without words cannot be told from a missing one in the file: it goes as one.
    std::size_t total = 0;
    for (std::size_t row = FirstLine; row <= LastLine; ++row) {
        const TLine* line = Line(row);
        if (line && line->WordCount() > 0) {
            writer.U16(static_cast<std::uint16_t>(total));
            total += line->WordCount();
        } else {
            writer.U16(NoLine);
        }
    }
    for (std::size_t row = FirstLine; row <= LastLine; ++row)
        if (const TLine* line = Line(row))
            line->SaveToStream(writer, mode);
}

void TTileOverlay::SaveToStream(TByteWriter& writer, int mode) const
{
    SaveBlock(writer, mode);
}

// ---- Improvements and rivers --------------------------------------------------------

void TTileImprovement::LoadFromStream(TByteReader& reader)
{
    FilePosition = static_cast<std::uint32_t>(reader.Position());
    ImprovementID = reader.U16();
    const std::uint16_t byteSize = reader.U16();
    AuxValue = reader.U16();
    LoadBlock(reader, byteSize);
    DataSize = byteSize;
}

void TTileImprovement::SaveToStream(TByteWriter& writer, int mode) const
{
    const std::size_t words = BlockWords();
    CheckBlockSize(words);
    writer.U16(ImprovementID);
    writer.U16(static_cast<std::uint16_t>(2 * words));
    writer.U16(AuxValue);
    SaveBlock(writer, mode);
}

void TRiver::LoadFromStream(TByteReader& reader)
{
    ReadPixelWords(reader, Directions.data(), Directions.size());
    TTileImprovement::LoadFromStream(reader);
}

void TRiver::SaveToStream(TByteWriter& writer, int mode) const
{
    CheckBlockSize(BlockWords());
    writer.Words(Directions.data(), Directions.size());
    TTileImprovement::SaveToStream(writer, mode);
}

// ---- Tiles --------------------------------------------------------------------------

void TTile::LoadFromStream(TByteReader& reader)
{
    TileID = reader.U16();
    TileIndex = reader.U8();
    BorderEdges = reader.U8();
    ImageSize = reader.U16();
    ReadPixelWords(reader, Pixels.data(), Pixels.size());
    const std::uint16_t byteSize = reader.U16();
    if (byteSize == 0) {
        Overlay.reset();
        return;
    }
    auto overlay = std::make_unique<TTileOverlay>(ColorMode);
    overlay->FilePosition = static_cast<std::uint32_t>(reader.Position());
    overlay->LoadBlock(reader, byteSize);
    overlay->DataSize = byteSize;
    Overlay = std::move(overlay);
}

void TTile::SaveToStream(TByteWriter& writer, int mode) const
{
    const std::size_t overlayWords = OverlayWords();
    CheckBlockSize(overlayWords);
    writer.U16(TileID);
    writer.U8(TileIndex);
    writer.U8(BorderEdges);
    writer.U16(ImageSize);
    WritePixelWords(writer, Pixels.data(), Pixels.size(), ColorMode, mode);
    writer.U16(static_cast<std::uint16_t>(2 * overlayWords));
    if (Overlay)
        Overlay->SaveBlock(writer, mode);
}

// ---- Variation rules ----------------------------------------------------------------

void TVariationRule::LoadFromStream(TByteReader& reader)
{
    const std::uint16_t count = reader.U16();
    const std::span<const std::uint8_t> bytes = reader.Bytes(4 * static_cast<std::size_t>(count));
    Steps.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        Steps[i] = static_cast<std::uint32_t>(bytes[4 * i]) | static_cast<std::uint32_t>(bytes[4 * i + 1]) << 8 |
                   static_cast<std::uint32_t>(bytes[4 * i + 2]) << 16 |
                   static_cast<std::uint32_t>(bytes[4 * i + 3]) << 24;
}

void TVariationRule::SaveToStream(TByteWriter& writer) const
{
    if (Steps.size() > MaxSteps)
        throw ERecordTooLargeError("has " + std::to_string(Steps.size()) + " steps, more than 65535");
    writer.U16(static_cast<std::uint16_t>(Steps.size()));
    for (const std::uint32_t step : Steps)
        writer.U32(step);
}

// ---- The whole file -----------------------------------------------------------------

namespace {

[[noreturn]] void SectionError(int section, const std::string& what, std::size_t offset)
{
    throw EFileFormatError(std::string(TileFileSectionNames[section]) + ": " + what + " (offset " +
                           std::to_string(offset) + ")");
}

// Reads one section: the count, the header words (readHeader), then the records. Errors
// name the section, the element number within the file and where it went wrong.
// Returns false for a section the file stopped before: older sets end cleanly after a
// complete section, and the sections after it are empty.
template <class ReadHeader, class ReadElement>
bool ReadSection(TByteReader& reader, int section, std::size_t existing, std::size_t headerBytes,
                 std::size_t minRecord, ReadHeader&& readHeader, ReadElement&& readElement)
{
    const std::size_t start = reader.Position();
    if (section > 0 && reader.Remaining() == 0)
        return false;
    if (reader.Remaining() < 2 + headerBytes)
        SectionError(section, "the section header ends past the end of the file", start);
    const std::size_t count = reader.U16();
    readHeader(reader);
    if (count * minRecord > reader.Remaining())
        SectionError(section, "count " + std::to_string(count) + " is larger than the data", start);
    if (existing + count > MaxElements)
        throw EInvalidArgument(std::string(TileFileSectionNames[section]) + ": appending would give the set " +
                               std::to_string(existing + count) + " elements, more than 65535");
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t elementStart = reader.Position();
        try {
            readElement(reader);
        } catch (const ERecordFormatError& e) {
            SectionError(section, "element " + std::to_string(i) + " " + e.Detail, e.Offset);
        } catch (const EStreamReadError&) {
            SectionError(section, "element " + std::to_string(i) + " ends past the end of the file", elementStart);
        }
    }
    return true;
}

template <class T, class WriteElement>
void WriteSection(int section, const std::vector<std::unique_ptr<T>>& list, WriteElement&& writeElement)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        try {
            writeElement(*list[i]);
        } catch (const ERecordTooLargeError& e) {
            throw EInvalidArgument(std::string(TileFileSectionNames[section]) + ": element " + std::to_string(i) +
                                   " " + e.Detail);
        }
    }
}

void CheckCount(int section, std::size_t count)
{
    if (count > MaxElements)
        throw EInvalidArgument(std::string(TileFileSectionNames[section]) + ": " + std::to_string(count) +
                               " elements do not fit a tile file, which holds at most 65535");
}

} // namespace

TTileFileLoadInfo TTileFile::LoadFromMemory(std::span<const std::uint8_t> data, bool append)
{
    TTileFile scratch;
    scratch.Clear();
    scratch.ColorMode = ColorMode;
    const std::uint8_t mode = ColorMode;
    auto existing = [&](std::size_t count) { return append ? count : 0; };
    // An overlay keeps a slot for every row up to LastLine, rows above FirstLine included,
    // which no byte of the file pays for: bound them, so a small hostile file cannot
    // claim gigabytes. Real sets use a few hundred slots per overlay. The share per byte
    // of file is counted in memory (64 bytes of slots), as a slot holds its line in place.
    const std::size_t rowBudget = (std::size_t{1} << 20) + 64 * data.size() / sizeof(TLineSlot);
    std::size_t rowSlots = 0;
    auto countRows = [&](const TTileOverlay& overlay, std::size_t offset) {
        rowSlots += overlay.Lines.size();
        if (rowSlots > rowBudget)
            throw ERecordFormatError("has overlay rows out of all proportion to the size of the file", offset);
    };
    auto noHeader = [](TByteReader&) {};
    TByteReader reader(data);
    bool sectionRead[6] = {};

    sectionRead[0] =
        ReadSection(reader, 0, existing(TileRuleCount()), 0, TileRuleRecordSize, noHeader, [&](TByteReader& r) {
            auto rule = std::make_unique<TTileRule>();
            rule->LoadFromStream(r);
            scratch.AddTileRule(std::move(rule));
        });
    sectionRead[1] = ReadSection(
        reader, 1, existing(BorderCount()), 6, BorderRecordSize,
        [&](TByteReader& r) { ReadPixelWords(r, scratch.BorderHeader.data(), scratch.BorderHeader.size()); },
        [&](TByteReader& r) {
            auto border = std::make_unique<TTileBorder>(mode);
            border->LoadFromStream(r);
            border->SetColorMode(mode);
            scratch.AddBorder(std::move(border));
        });
    sectionRead[2] = ReadSection(
        reader, 2, existing(TileCount()), 2, TileRecordSize, [&](TByteReader& r) { scratch.TileHeader = r.U16(); },
        [&](TByteReader& r) {
            auto tile = std::make_unique<TTile>();
            tile->ColorMode = mode;
            const std::size_t at = r.Position();
            tile->LoadFromStream(r);
            if (tile->Overlay)
                countRows(*tile->Overlay, at);
            tile->SetColorMode(mode);
            scratch.AddTile(std::move(tile));
        });
    sectionRead[3] =
        ReadSection(reader, 3, existing(RiverCount()), 0, RiverRecordMin, noHeader, [&](TByteReader& r) {
            auto river = std::make_unique<TRiver>(mode);
            const std::size_t at = r.Position();
            river->LoadFromStream(r);
            countRows(*river, at);
            river->SetColorMode(mode);
            scratch.AddRiver(std::move(river));
        });
    sectionRead[4] =
        ReadSection(reader, 4, existing(ImprovementCount()), 0, ImprovementRecordMin, noHeader, [&](TByteReader& r) {
            auto improvement = std::make_unique<TTileImprovement>(mode);
            const std::size_t at = r.Position();
            improvement->LoadFromStream(r);
            countRows(*improvement, at);
            improvement->SetColorMode(mode);
            scratch.AddImprovement(std::move(improvement));
        });
    sectionRead[5] = ReadSection(reader, 5, existing(VariationRuleCount()), 0, VariationRuleRecordMin, noHeader,
                                 [&](TByteReader& r) {
                                     auto rule = std::make_unique<TVariationRule>();
                                     rule->LoadFromStream(r);
                                     scratch.AddVariationRule(std::move(rule));
                                 });

    // Everything was read: only now does the set change.
    TTileFileLoadInfo info{data.size(), reader.Remaining()};
    for (bool read : sectionRead)
        info.MissingSections += read ? 0 : 1;
    if (!append)
        Clear();
    AppendElementsFrom(scratch);
    // A missing section's header leaves an appended-to set's own.
    if (sectionRead[1] || !append)
        BorderHeader = scratch.BorderHeader;
    if (sectionRead[2] || !append)
        TileHeader = scratch.TileHeader;
    return info;
}

TTileFileLoadInfo TTileFile::LoadFromFile(const std::string& fileName, bool append)
{
    const std::vector<std::uint8_t> data = ReadWholeFile(fileName);
    return LoadFromMemory(data, append);
}

std::vector<std::uint8_t> TTileFile::SaveToMemory(int colorMode) const
{
    const int mode = NormalMode(colorMode);
    CheckCount(0, FTileRules.size());
    CheckCount(1, FBorders.size());
    CheckCount(2, FTiles.size());
    CheckCount(3, FRivers.size());
    CheckCount(4, FImprovements.size());
    CheckCount(5, FVariationRules.size());

    // One allocation for the whole file.
    std::size_t size = 2 + TileRuleRecordSize * FTileRules.size() + 8 + BorderRecordSize * FBorders.size() + 4 +
                       TileRecordSize * FTiles.size() + 2 + 2 + 2;
    for (const auto& tile : FTiles)
        size += 2 * tile->OverlayWords();
    for (const auto& river : FRivers)
        size += RiverRecordMin - 4 + 2 * river->BlockWords();
    for (const auto& improvement : FImprovements)
        size += ImprovementRecordMin - 4 + 2 * improvement->BlockWords();
    for (const auto& rule : FVariationRules)
        size += 2 + 4 * rule->Steps.size();

    TByteWriter writer;
    writer.Reserve(size);
    writer.U16(static_cast<std::uint16_t>(FTileRules.size()));
    WriteSection(0, FTileRules, [&](const TTileRule& rule) { rule.SaveToStream(writer); });
    writer.U16(static_cast<std::uint16_t>(FBorders.size()));
    writer.Words(BorderHeader.data(), BorderHeader.size());
    WriteSection(1, FBorders, [&](const TTileBorder& border) { border.SaveToStream(writer, mode); });
    writer.U16(static_cast<std::uint16_t>(FTiles.size()));
    writer.U16(TileHeader);
    WriteSection(2, FTiles, [&](const TTile& tile) { tile.SaveToStream(writer, mode); });
    writer.U16(static_cast<std::uint16_t>(FRivers.size()));
    WriteSection(3, FRivers, [&](const TRiver& river) { river.SaveToStream(writer, mode); });
    writer.U16(static_cast<std::uint16_t>(FImprovements.size()));
    WriteSection(4, FImprovements,
                 [&](const TTileImprovement& improvement) { improvement.SaveToStream(writer, mode); });
    writer.U16(static_cast<std::uint16_t>(FVariationRules.size()));
    WriteSection(5, FVariationRules, [&](const TVariationRule& rule) { rule.SaveToStream(writer); });
    return writer.Take();
}

void TTileFile::SaveToFile(const std::string& fileName, int colorMode) const
{
    const std::vector<std::uint8_t> data = SaveToMemory(colorMode);
    WriteWholeFile(fileName, data, TWriteSync::Disk);
}

} // namespace kestrund
