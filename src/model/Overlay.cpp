#include "Overlay.h"

#include <algorithm>
#include <cstring>

namespace kestrund {

void TTileOverlay::Assign(const TTileOverlay& source)
{
    if (&source == this)
        return;
    Clear();
    FirstLine = source.FirstLine;
    LastLine = source.LastLine;
    DataSize = source.DataSize;
    Lines.resize(source.Lines.size());
    for (std::size_t row = 0; row < source.Lines.size(); ++row)
        if (source.Lines[row]) {
            Lines[row].emplace();
            Lines[row]->Assign(*source.Lines[row]);
        }
    SetColorMode(source.ColorMode);
}

void TTileOverlay::Clear()
{
    Lines.clear();
    FirstLine = NoLine;
    LastLine = NoLine;
}

void TTileOverlay::SetColorMode(std::uint8_t mode)
{
    for (auto& line : Lines)
        if (line)
            line->ColorMode = mode;
    ColorMode = mode;
}

std::size_t TTileOverlay::BlockWords() const
{
    if (Empty())
        return 2;
    std::size_t words = 2;
    for (std::size_t row = FirstLine; row <= LastLine; ++row) {
        ++words;
        if (const TLine* line = Line(row))
            words += line->WordCount();
    }
    return words;
}

int TTileOverlay::MaxWidth() const
{
    int width = 0;
    for (const auto& line : Lines)
        if (line)
            width = std::max<int>(width, line->Width);
    return width;
}

void TTileOverlay::Trim()
{
    auto blank = [&](std::size_t row) { return !Lines[row] || Lines[row]->IsBlank(); };
    std::size_t first = 0;
    while (first < Lines.size() && blank(first))
        ++first;
    if (first == Lines.size()) {
        Clear();
        return;
    }
    std::size_t last = Lines.size() - 1;
    while (blank(last))
        --last;
    Lines.resize(last + 1);
    for (std::size_t row = 0; row <= last; ++row)
        if (Lines[row] && Lines[row]->IsBlank())
            Lines[row].reset();
    FirstLine = static_cast<std::uint16_t>(first);
    LastLine = static_cast<std::uint16_t>(last);
}

void TTileOverlay::Draw(int x, int y, TSurface& surface, TColor shadowColor) const
{
    if (Empty())
        return;
    for (std::size_t row = FirstLine; row <= LastLine && row < Lines.size(); ++row)
        if (const TLine* line = Lines[row].get())
            line->Draw(surface, x, y + static_cast<int>(row), shadowColor);
}

void TTileOverlay::DrawToBuffer(int x, int y, bool shadowBlend, TColor shadowColor, TPictureBuffer& buffer) const
{
    if (Empty())
        return;
    for (std::size_t row = FirstLine; row <= LastLine && row < Lines.size(); ++row)
        if (const TLine* line = Lines[row].get())
            line->DrawToBuffer(buffer, x, y + static_cast<int>(row), shadowBlend, shadowColor);
}

void TTileOverlay::FromBuffer(const TPictureBuffer& buffer, TColor transparent, TColor shadow)
{
    Clear();
    const std::uint16_t t = ColorToPixel(transparent, ColorMode);
    const std::uint16_t s = ColorToPixel(shadow, ColorMode);
    const bool convert = ColorMode == cmRGB565;
    const std::size_t width = static_cast<std::size_t>(buffer.Width());
    const std::size_t height = static_cast<std::size_t>(buffer.Height());

    // Rows that hold anything but the transparent colour, found column by column as the
    // buffer is stored. Trim would drop the blank ones anyway, and most rows of a tile's
    // picture are blank. Words differing from t leave bits in their row's entry; four
    // rows are taken at once where no conversion is needed.
    std::vector<std::uint16_t> drawn(height, 0);
    if (convert) {
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint16_t* column = buffer.Column(static_cast<int>(x));
            for (std::size_t y = 0; y < height; ++y)
                drawn[y] |= ConvertPixel(column[y], cmRGB555, cmRGB565) ^ t;
        }
    } else {
        const std::size_t quads = height / 4;
        const std::uint64_t t4 = t * 0x0001000100010001ull;
        std::vector<std::uint64_t> drawn4(quads, 0);
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint16_t* column = buffer.Column(static_cast<int>(x));
            for (std::size_t q = 0; q < quads; ++q) {
                std::uint64_t four;
                std::memcpy(&four, column + 4 * q, sizeof four);
                drawn4[q] |= four ^ t4;
            }
            for (std::size_t y = 4 * quads; y < height; ++y)
                drawn[y] |= column[y] ^ t;
        }
        for (std::size_t q = 0; q < quads; ++q)
            std::memcpy(&drawn[4 * q], &drawn4[q], sizeof drawn4[q]);
    }

    std::vector<std::uint16_t> row(width);
    std::vector<TLineSlot> lines(height);
    for (std::size_t y = 0; y < height; ++y) {
        if (!drawn[y])
            continue;
        const std::uint16_t* p = width > 0 ? buffer.Column(0) + y : nullptr;
        for (std::size_t x = 0; x < width; ++x, p += height)
            row[x] = *p;
        if (convert)
            for (std::uint16_t& word : row)
                word = ConvertPixel(word, cmRGB555, cmRGB565);
        lines[y].emplace(ColorMode, row, t, s);
    }
    Lines = std::move(lines);
    Trim();
}

bool TTileOverlay::SamePicture(const TTileOverlay& other) const
{
    if (ColorMode != other.ColorMode || FirstLine != other.FirstLine || LastLine != other.LastLine)
        return false;
    if (Empty())
        return true;
    for (std::size_t row = FirstLine; row <= LastLine; ++row) {
        const TLine* a = Line(row);
        const TLine* b = other.Line(row);
        if (!a != !b || (a && !(*a == *b)))
            return false;
    }
    return true;
}

void TTileImprovement::Assign(const TTileOverlay& source)
{
    TTileOverlay::Assign(source);
    if (auto* improvement = dynamic_cast<const TTileImprovement*>(&source)) {
        ImprovementID = improvement->ImprovementID;
        AuxValue = improvement->AuxValue;
    }
}

bool TTileImprovement::SameAs(const TTileImprovement& other) const
{
    return ImprovementID == other.ImprovementID && AuxValue == other.AuxValue && SamePicture(other);
}

void TRiver::Assign(const TTileOverlay& source)
{
    TTileImprovement::Assign(source);
    if (auto* river = dynamic_cast<const TRiver*>(&source))
        Directions = river->Directions;
}

bool TRiver::SameAs(const TRiver& other) const
{
    return Directions == other.Directions && TTileImprovement::SameAs(other);
}

} // namespace kestrund
