#pragma once
// Every element of one kind in one picture, as kestrund-cli's sheet verb writes it: the
// element browser's grid, each label drawn in the sheet's own font.

#include "ElementSheet.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kestrund {

// The names the sheet verb takes for the kinds, in TSheetKind order.
constexpr std::array<std::string_view, SheetKindCount> SheetKindNames{"tiles",        "borders", "rivers",
                                                                      "improvements", "rules",   "variations"};

constexpr int ContactSheetGap = 4;
constexpr int LabelPadding = 2; // above and below the text

// Largest sheet composed: 2^28 pixels is a gigabyte in memory.
constexpr long long MaxContactSheetPixels = 1LL << 28;

struct TContactSheetOptions {
    TSheetKind Kind = TSheetKind::Tiles;
    int Zoom = 1;
    int Columns = 0; // 0: as many as fit in FitWidth; never more than there are elements
    int FitWidth = 1600;
    bool Labels = false;
    bool Hex = false; // the labels' numbers
    TSheetColors Colors = {};
};

// Labels grow with the pictures at half their pace: scale 1 at zoom 1 and 2, 4 at zoom 8.
int ContactLabelScale(int zoom);

// Black on a light background, white on a dark one.
TColor LabelColor(TColor background);

// Raises EKestrundError when the set has no element of the kind.
TSheetLayout ContactSheetLayout(const TTileFile& set, const TContactSheetOptions& options);

// Each cell holds DrawElementPicture of its element and, when asked, its ElementLabel centred
// under it (cut at the cell's edge when wider). Raises EKestrundError for an empty kind
// and for a sheet of more than MaxContactSheetPixels.
TRgbSurface ComposeContactSheet(const TTileFile& set, const TContactSheetOptions& options);

} // namespace kestrund
