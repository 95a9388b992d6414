#pragma once
// Overlay pictures: a sparse stack of coded rows. Used over a tile's ground and as the
// whole picture of a river or tile improvement.

#include "ByteStream.h"
#include "Line.h"
#include "Pixel.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrund {

constexpr std::uint16_t NoLine = 0xFFFF;

// One row of an overlay: a line or nothing. The line is held in place rather than on
// the heap, since a set holds tens of thousands of rows and reading them was mostly
// spent allocating; the interface is that of the owning pointer it replaces.
class TLineSlot {
public:
    TLineSlot() = default;
    TLineSlot(std::nullptr_t) {}
    TLineSlot(std::unique_ptr<TLine> line)
    {
        if (line)
            FLine.emplace(std::move(*line));
    }
    TLineSlot& operator=(std::unique_ptr<TLine> line)
    {
        if (line)
            FLine = std::move(*line);
        else
            FLine.reset();
        return *this;
    }
    TLineSlot& operator=(std::nullptr_t)
    {
        FLine.reset();
        return *this;
    }
    template <class... Args>
    TLine& emplace(Args&&... args)
    {
        return FLine.emplace(std::forward<Args>(args)...);
    }
    void reset() { FLine.reset(); }
    explicit operator bool() const { return FLine.has_value(); }
    TLine* get() { return FLine ? &*FLine : nullptr; }
    const TLine* get() const { return FLine ? &*FLine : nullptr; }
    TLine* operator->() { return &*FLine; }
    const TLine* operator->() const { return &*FLine; }
    TLine& operator*() { return *FLine; }
    const TLine& operator*() const { return *FLine; }

private:
    std::optional<TLine> FLine;
};

class TTileOverlay {
public:
    TTileOverlay() = default;
    explicit TTileOverlay(std::uint8_t colorMode) : ColorMode(colorMode) {}
    virtual ~TTileOverlay() = default;
    TTileOverlay(const TTileOverlay&) = delete;
    TTileOverlay& operator=(const TTileOverlay&) = delete;

    std::uint8_t ColorMode = cmRGB555;
    std::uint32_t FilePosition = 0;
    std::uint16_t DataSize = 0;
    std::uint16_t FirstLine = NoLine;
    std::uint16_t LastLine = NoLine;
    std::vector<TLineSlot> Lines; // indexed by row; empty = nothing drawn

    virtual void Assign(const TTileOverlay& source);

    void Clear();
    bool Empty() const { return FirstLine == NoLine; }
    TLine* Line(std::size_t row) { return row < Lines.size() ? Lines[row].get() : nullptr; }
    const TLine* Line(std::size_t row) const { return row < Lines.size() ? Lines[row].get() : nullptr; }
    void SetColorMode(std::uint8_t mode);
    // Size of the stored overlay block in 16-bit words.
    std::size_t BlockWords() const;
    int MaxWidth() const;
    // Drops fully transparent rows and sets FirstLine/LastLine to the rows left.
    void Trim();

    void Draw(int x, int y, TSurface& surface, TColor shadowColor = clDefaultShadow) const;
    void DrawToBuffer(int x, int y, bool shadowBlend, TColor shadowColor, TPictureBuffer& buffer) const;
    // Rebuilds the lines from a mode-0 picture, one line per row, then trims.
    void FromBuffer(const TPictureBuffer& buffer, TColor transparent, TColor shadow);

    // The overlay block as stored in a tile file, pixels converted to mode.
    virtual void SaveToStream(TByteWriter& writer, int mode) const;
    void SaveBlock(TByteWriter& writer, int mode) const;
    // Reads a block of byteSize bytes.
    void LoadBlock(TByteReader& reader, std::uint16_t byteSize);

    void ImportTGA(const std::string& fileName, TColor transparent, TColor shadow);
    void ExportTGA(const std::string& fileName, TColor background, TColor shadow) const;

    // Same pictures (mode, rows and their words); file bookkeeping is not compared.
    bool SamePicture(const TTileOverlay& other) const;
};

class TTileImprovement : public TTileOverlay {
public:
    using TTileOverlay::TTileOverlay;

    std::uint16_t ImprovementID = 0;
    std::uint16_t AuxValue = 0;

    void Assign(const TTileOverlay& source) override;
    // The improvement record: ID, block size, aux value, block.
    void SaveToStream(TByteWriter& writer, int mode) const override;
    virtual void LoadFromStream(TByteReader& reader);

    bool SameAs(const TTileImprovement& other) const;
};

class TRiver : public TTileImprovement {
public:
    using TTileImprovement::TTileImprovement;

    // W, NW, N, SW, centre (river type), NE, S, SE, E.
    std::array<std::uint16_t, 9> Directions{};

    void Assign(const TTileOverlay& source) override;
    void SaveToStream(TByteWriter& writer, int mode) const override;
    void LoadFromStream(TByteReader& reader) override;

    bool SameAs(const TRiver& other) const;
};

} // namespace kestrund
