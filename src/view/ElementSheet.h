#pragma once
// Every element of one kind as a grid of pictures with a label under each: the editor's
// element browser and kestrund-cli's contact sheet, laid out and drawn by the same code.

#include "TileView.h"

#include <cstddef>
#include <string>

namespace kestrund {

// In the order of the editor's left panel.
enum class TSheetKind { Tiles, Borders, Rivers, Improvements, Rules, Variations };
constexpr int SheetKindCount = 6;

std::size_t SheetCount(const TTileFile& set, TSheetKind kind);

struct TSheetColors {
    TColor Background = 0xC0C0C0;
    TColor Shadow = 0x808080;    // tiles and improvements
    TColor SetShadow = 0x808080; // rivers and variation rules
    bool operator==(const TSheetColors&) const = default;
};

struct TSheetSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TSheetSize&) const = default;
};

// The size at zoom 1 that holds the picture of every element of the kind: a tile for
// tiles, borders and rivers, the widest improvement, the 3x3 patch for tile rules and
// the arrangement for variation rules.
TSheetSize PictureSize(const TTileFile& set, TSheetKind kind);

// Element i as the view shows it alone without a frame (a tile rule as its 3x3 patch, a
// variation rule as its arrangement), on the background in a picture of PictureSize,
// every pixel a zoom x zoom block, drawn with its top-left corner at x, y.
void DrawElementPicture(const TTileFile& set, TSheetKind kind, std::size_t i, const TSheetColors& colors, int zoom,
                        TSurface& surface, int x, int y);

// What identifies element i to a modder, in decimal or as the view's hex labels show it:
// a tile's ID, a border's inside and outside IDs, a river's or improvement's ID, the
// graphics tile ID of a tile rule, the tile index of a variation rule's first step.
std::string ElementIdText(const TTileFile& set, TSheetKind kind, std::size_t i, bool hex);
// The label under a picture: the element's number (as the counts show it) and its ID.
std::string ElementLabel(const TTileFile& set, TSheetKind kind, std::size_t i, bool hex);

struct TSheetRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TSheetRect&) const = default;
};

// A grid of Count cells, Columns wide, each a picture with its label under it, cells and
// the sheet's edge Gap pixels apart.
struct TSheetLayout {
    std::size_t Count = 0;
    int Columns = 1;
    int Rows = 0;
    int PictureWidth = 0; // zoomed
    int PictureHeight = 0;
    int LabelHeight = 0; // 0: no labels
    int Gap = 0;

    int PitchX() const { return PictureWidth + Gap; }
    int PitchY() const { return PictureHeight + LabelHeight + Gap; }
    int Width() const { return Gap + Columns * PitchX(); }
    int Height() const { return Gap + Rows * PitchY(); }
    TSheetRect Picture(std::size_t i) const;
    TSheetRect Label(std::size_t i) const;
};

// picture: PictureSize at zoom 1. columns 0 fits the grid into fitWidth pixels (at
// least one column).
TSheetLayout SheetLayout(TSheetSize picture, std::size_t count, int zoom, int labelHeight, int gap, int columns,
                         int fitWidth = 0);

} // namespace kestrund
