#pragma once
// What the property editor decides without its widgets: the element kinds and their texts, the
// position limits, how controls map to element fields, the corner rebuilds of borders and tiles,
// the preview composition and the text form of variation-rule entries.

#include "TileFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrund {

enum TPropertyKind : int {
    pkTileRule = 0,
    pkBorder = 1,
    pkTile = 2,
    pkRiver = 3,
    pkImprovement = 4,
    pkVariationRule = 5
};
constexpr int PropertyKindCount = 6;

struct TKindTexts {
    const char* Element;     // "Tile Rule", used in the captions
    const char* IDCaption;   // caption of lID; empty when hidden
    const char* Alt1Caption; // caption of lAlt1; empty when hidden
};
const TKindTexts& KindTexts(TPropertyKind kind);
// Kinds whose elements carry pictures: borders, tiles, rivers, improvements.
bool KindHasPicture(TPropertyKind kind);
// "Add Tile Rule", "Edit Border", ...
std::string PropertyCaption(TPropertyKind kind, bool add);

// Elements of the kind in the set, and the elements the strip lists for it (tiles for
// variation rules, nothing for tile rules).
std::size_t ElementCount(const TTileFile& set, TPropertyKind kind);
std::size_t StripCount(const TTileFile& set, TPropertyKind kind);

// Where a new element may go: 0..count when inserting, 0..count-1 when replacing (an empty
// kind has nothing to replace and only appends).
struct TPositionRange {
    int Min = 0, Max = 0;
    bool operator==(const TPositionRange&) const = default;
};
TPositionRange PositionRange(std::size_t count, bool replace);

// A tile-rule slot as its field shows it: signed in decimal (0xFFFF is -1), unsigned in hex.
int RuleFieldValue(std::uint16_t slot, bool hex);

// A river neighbour slot after OK: kept as stored unless its box was changed, so values other
// than 0 and 1 survive an edit that leaves the box alone.
std::uint16_t RiverSlotValue(std::uint16_t stored, bool checked);
// The river type item of a centre slot (1 land, 2 beach), -1 for any other value, and back.
int RiverTypeItem(std::uint16_t stored);
std::uint16_t RiverTypeValue(std::uint16_t stored, int item);
// A tile's BorderEdges from the four corner boxes; bits 4-7 stay as stored.
std::uint8_t TileBorderEdges(std::uint8_t stored, int cornerFlags);

// Border corner boxes: every edge of working becomes the source's edge `corner` (0 SW, 1 NW,
// 2 NE, 3 SE) turned to its own orientation; -1 copies each edge from its own.
void RebuildBorder(const TTileBorder& source, int corner, TTileBorder& working);

// The tile corner boxes: working becomes source re-encoded with the flags' marker border, or
// source itself when the flags are those its pixels already carry (no needless re-encoding).
void RebuildTileCorners(const TTile& source, int sourceFlags, int cornerFlags, TColor transparent, TColor shadow,
                        TTile& working);

// The preview picture and where an element sits in it.
constexpr int PreviewWidth = 286, PreviewHeight = 168;
constexpr int PreviewElementX = 96, PreviewElementY = 48;
// The tile between its four one-colour neighbours (lime NW, blue NE, red SW, fuchsia SE).
void DrawTilePreview(const TTile& tile, TSurface& surface);
// A Ctrl-click picks a colour only inside the picture, off its first column and row.
bool PickablePreviewPoint(int x, int y);

// The picture of one element for the strip: its own size for an improvement (limited, so a
// damaged one cannot ask for a huge bitmap), else the tile size; empty for an improvement
// without lines. background is a real colour.
struct TStripPicture {
    int Width = 0, Height = 0;
};
TStripPicture StripPictureSize(const TTileFile& set, TPropertyKind kind, std::size_t index);
void DrawStripElement(const TTileFile& set, TPropertyKind kind, std::size_t index, TSurface& surface);
constexpr int MaxStripPictureSide = 256;

// ---- Variation-rule entries as text ----

// "03,1,0012": index (two digits), direction, tile ID (four digits); longer numbers are kept.
std::string StepLine(std::uint32_t step);
// Items of a comma text: separated by commas or blanks, a double-quoted item may hold them.
std::vector<std::string> CommaItems(std::string_view line);
// A 32-bit integer in decimal or, after "$", hexadecimal; nothing for anything else.
std::optional<long long> ParseInteger(std::string_view text);
// Fields truncated to their widths: index 8 bits, direction 5, tile ID 16.
std::uint32_t PackStep(long long index, long long dir, long long tileID);
// A text line as an entry; a missing or unreadable item gives 0 in its field.
std::uint32_t ParseStepLine(std::string_view line);
// An entry from the three texts of a row: an empty or unreadable text counts as -1.
std::uint32_t RowStep(std::string_view indexText, std::string_view dirText, std::string_view tileIDText);
// The lines of a multi-line text: none for an empty text, no extra line after a final break.
std::vector<std::string> TextLines(std::string_view text);
std::string JoinLines(const std::vector<std::string>& lines);
// The entries of text lines (at most 65535). A line still reading as the loaded entry of its
// place keeps that entry, bits the text does not show included.
std::vector<std::uint32_t> StepsFromLines(const std::vector<std::string>& lines,
                                          const std::vector<std::uint32_t>& loaded);
// The tile IDs (four digits) of the set's tiles of a tile index, in set order.
std::vector<std::string> TileIDsOfIndex(const TTileFile& set, int index);

} // namespace kestrund
