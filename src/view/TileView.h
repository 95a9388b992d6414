#pragma once
// Composition of the tile view: the selected elements drawn into one picture, alone,
// as a 3x3 patch of neighbours or as a variation rule's arrangement. Shared by the
// editor's window and the command-line renderer.

#include "TileFile.h"

#include <array>
#include <cstddef>
#include <string>

namespace kestrund {

struct TViewState {
    bool ShowTiles = true;
    bool ShowBorders = false;
    bool ShowRivers = false;
    bool ShowImprovements = false;
    bool ShowTileRules = false;
    bool ShowVariationRule = false;
    bool Square = false; // 3x3 patch instead of the single view
    std::size_t TileNum = 0;
    std::size_t BorderNum = 0;
    std::size_t RiverNum = 0;
    std::size_t ImprovementNum = 0;
    std::size_t RuleNum = 0;
    std::size_t VariationNum = 0;
    int BorderMask = 15; // SW 1, NW 2, NE 4, SE 8
    int ImgBorderWidth = 2;
    // Display colours (system colours already resolved by the caller).
    TColor BgColor = 0xC0C0C0;
    TColor ShadowColor = 0x808080;    // the window's: tiles and improvements
    TColor SetShadowColor = 0x808080; // the set's: rivers and variation rules
};

struct TViewGeometry {
    int Width;
    int Height;
    int OriginX;
    int OriginY;
};

// Top-left corners of the 3x3 cells in the preview order N, NW, NE, W, centre, E, SW, SE, S.
constexpr std::array<std::array<int, 2>, 9> SquareCells = {{
    {96, 0}, {48, 24}, {144, 24}, {0, 48}, {96, 48}, {192, 48}, {48, 72}, {144, 72}, {96, 96},
}};

// The shown elements, or null where the kind is empty or the number lies beyond it.
const TTile* ShownTile(const TTileFile& set, const TViewState& view);
const TTileBorder* ShownBorder(const TTileFile& set, const TViewState& view);
const TRiver* ShownRiver(const TTileFile& set, const TViewState& view);
const TTileImprovement* ShownImprovement(const TTileFile& set, const TViewState& view);
const TTileRule* ShownRule(const TTileFile& set, const TViewState& view);
TVariationRule* ShownVariationRule(const TTileFile& set, const TViewState& view);

TViewGeometry ViewGeometry(const TTileFile& set, const TViewState& view);

// The rule the view follows: the numbered rule when rules are shown, else the one found
// for the shown tile; previous stays while the variation rule is shown.
const TTileRule* ChooseCurrentRule(const TTileFile& set, const TViewState& view, const TTileRule* previous);

// Draws the view onto a surface of ViewGeometry's size, filling it with the background.
void ComposeView(const TTileFile& set, const TViewState& view, const TTileRule* currentRule, TSurface& surface);
TRgbSurface ComposeView(const TTileFile& set, const TViewState& view, const TTileRule* currentRule);

// The 16-bit picture that Save Image writes as Targa: like the view, but every checked
// kind is drawn, the variation rule over the others. background and shadow are the
// set's transparent and shadow colours.
TPictureBuffer ComposeTargaView(const TTileFile& set, const TViewState& view, const TTileRule* currentRule,
                                TColor background, TColor shadow);

// Texts of the number labels beside the view.
struct TViewLabels {
    std::string TileID, TileIndex, BorderEdges, Inside, Outside, RiverID, ImprovementID, VariationTileIndex;
};
TViewLabels ViewLabels(const TTileFile& set, const TViewState& view, bool hex);

// The rule diagram: N, NW, NE, W, C, E, SW, S, SE, then Graph., Alt1..Alt5.
std::array<std::string, 15> RuleDiagramTexts(const TTileRule* rule, bool hex);

// A count in the labels' form: four hex digits or decimal.
std::string CountText(std::size_t count, bool hex);

} // namespace kestrund
