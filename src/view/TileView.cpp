#include "TileView.h"

#include "MiscFunc.h"

#include <algorithm>

namespace kestrund {

namespace {
// The rule's resolved neighbours with their cells' corners, in drawing order.
template <class Draw>
void ForEachNeighbour(const TTileRule& rule, int ibw, Draw draw)
{
    const auto preview = rule.Preview();
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 7u, 8u})
        if (const TTile* tile = preview[i])
            draw(*tile, ibw + SquareCells[i][0], ibw + SquareCells[i][1]);
}

template <class T>
T* Pick(std::size_t count, std::size_t i, T& (TTileFile::*get)(std::size_t) const, const TTileFile& set)
{
    return i < count ? &(set.*get)(i) : nullptr;
}
} // namespace

const TTile* ShownTile(const TTileFile& set, const TViewState& view)
{
    return Pick(set.TileCount(), view.TileNum, &TTileFile::Tile, set);
}
const TTileBorder* ShownBorder(const TTileFile& set, const TViewState& view)
{
    return Pick(set.BorderCount(), view.BorderNum, &TTileFile::Border, set);
}
const TRiver* ShownRiver(const TTileFile& set, const TViewState& view)
{
    return Pick(set.RiverCount(), view.RiverNum, &TTileFile::River, set);
}
const TTileImprovement* ShownImprovement(const TTileFile& set, const TViewState& view)
{
    return Pick(set.ImprovementCount(), view.ImprovementNum, &TTileFile::Improvement, set);
}
const TTileRule* ShownRule(const TTileFile& set, const TViewState& view)
{
    return Pick(set.TileRuleCount(), view.RuleNum, &TTileFile::TileRule, set);
}
TVariationRule* ShownVariationRule(const TTileFile& set, const TViewState& view)
{
    return Pick(set.VariationRuleCount(), view.VariationNum, &TTileFile::VariationRule, set);
}

TViewGeometry ViewGeometry(const TTileFile& set, const TViewState& view)
{
    const int ibw = view.ImgBorderWidth;
    if (view.ShowVariationRule)
        return {286 + 2 * ibw, 168 + 2 * ibw, ibw, ibw};
    if (view.Square)
        return {286 + 4 * ibw, 168 + 4 * ibw, ibw + 96, ibw + 48};
    int width = TileWidth;
    if (view.ShowImprovements)
        if (const TTileImprovement* improvement = ShownImprovement(set, view))
            width = std::max(width, improvement->MaxWidth());
    return {2 * ibw + width, 2 * ibw + TileHeight, ibw, ibw};
}

const TTileRule* ChooseCurrentRule(const TTileFile& set, const TViewState& view, const TTileRule* previous)
{
    if (view.ShowVariationRule)
        return set.IndexOfTileRule(previous) >= 0 ? previous : nullptr;
    if (view.ShowTileRules)
        return ShownRule(set, view);
    if (view.ShowTiles)
        if (const TTile* tile = ShownTile(set, view))
            return set.FindTileRuleForTile(tile->TileID);
    return nullptr;
}

void ComposeView(const TTileFile& set, const TViewState& view, const TTileRule* currentRule, TSurface& surface)
{
    const TViewGeometry g = ViewGeometry(set, view);
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            surface.SetPixel(x, y, view.BgColor);
    const int ibw = view.ImgBorderWidth;
    if (view.ShowVariationRule) {
        if (TVariationRule* rule = ShownVariationRule(set, view))
            rule->Draw(set, ibw, ibw, view.SetShadowColor, surface);
        return;
    }
    if (view.ShowTiles) {
        if (view.Square && currentRule)
            ForEachNeighbour(*currentRule, ibw,
                             [&](const TTile& tile, int x, int y) { tile.Draw(x, y, surface, view.ShadowColor); });
        if (const TTile* tile = ShownTile(set, view))
            tile->Draw(g.OriginX, g.OriginY, surface, view.ShadowColor);
    }
    if (view.ShowBorders)
        if (const TTileBorder* border = ShownBorder(set, view))
            border->DrawEdges(view.BorderMask, g.OriginX, g.OriginY, surface);
    if (view.ShowRivers)
        if (const TRiver* river = ShownRiver(set, view))
            river->Draw(g.OriginX, g.OriginY, surface, view.SetShadowColor);
    if (view.ShowImprovements)
        if (const TTileImprovement* improvement = ShownImprovement(set, view))
            improvement->Draw(g.OriginX, g.OriginY, surface, view.ShadowColor);
}

TRgbSurface ComposeView(const TTileFile& set, const TViewState& view, const TTileRule* currentRule)
{
    const TViewGeometry g = ViewGeometry(set, view);
    TRgbSurface surface(g.Width, g.Height);
    ComposeView(set, view, currentRule, surface);
    return surface;
}

TPictureBuffer ComposeTargaView(const TTileFile& set, const TViewState& view, const TTileRule* currentRule,
                                TColor background, TColor shadow)
{
    const TViewGeometry g = ViewGeometry(set, view);
    TPictureBuffer buffer = MakeBuffer(g.Width, g.Height, background);
    const int ibw = view.ImgBorderWidth;
    // The origin follows the 3x3 choice even while the variation rule is shown.
    const int ox = view.Square ? ibw + 96 : ibw;
    const int oy = view.Square ? ibw + 48 : ibw;
    if (view.ShowTiles) {
        if (view.Square && currentRule)
            ForEachNeighbour(*currentRule, ibw, [&](const TTile& tile, int x, int y) {
                tile.DrawToBuffer(x, y, false, shadow, buffer);
            });
        if (const TTile* tile = ShownTile(set, view))
            tile->DrawToBuffer(ox, oy, false, shadow, buffer);
    }
    if (view.ShowBorders)
        if (const TTileBorder* border = ShownBorder(set, view))
            border->DrawEdgesToBuffer(view.BorderMask, ox, oy, buffer);
    if (view.ShowRivers)
        if (const TRiver* river = ShownRiver(set, view))
            river->DrawToBuffer(ox, oy, true, shadow, buffer);
    if (view.ShowImprovements)
        if (const TTileImprovement* improvement = ShownImprovement(set, view))
            improvement->DrawToBuffer(ox, oy, true, shadow, buffer);
    if (view.ShowVariationRule)
        if (TVariationRule* rule = ShownVariationRule(set, view))
            rule->DrawToBuffer(set, ibw, ibw, true, shadow, buffer);
    return buffer;
}

namespace {
std::string Number(unsigned v, bool hex, int hexDigits)
{
    return hex ? Format("%0*X", hexDigits, v) : std::to_string(v);
}
std::string Trimmed(unsigned v, bool hex)
{
    return hex ? IntToHexTrim(v, 2) : std::to_string(v);
}
} // namespace

TViewLabels ViewLabels(const TTileFile& set, const TViewState& view, bool hex)
{
    TViewLabels labels;
    if (const TTile* tile = ShownTile(set, view)) {
        labels.TileID = Number(tile->TileID, hex, 4);
        labels.TileIndex = Trimmed(tile->TileIndex, hex);
        labels.BorderEdges = Trimmed(tile->BorderEdges, hex);
    }
    if (const TTileBorder* border = ShownBorder(set, view)) {
        labels.Inside = Number(border->Inside, hex, 2);
        labels.Outside = Number(border->Outside, hex, 2);
    }
    if (const TRiver* river = ShownRiver(set, view))
        labels.RiverID = Number(river->ImprovementID, hex, 2);
    if (const TTileImprovement* improvement = ShownImprovement(set, view))
        labels.ImprovementID = Number(improvement->ImprovementID, hex, 2);
    if (const TVariationRule* rule = ShownVariationRule(set, view); rule && rule->StepCount() > 0)
        labels.VariationTileIndex = Trimmed(static_cast<unsigned>(rule->StepTileIndex(0)) & 0xFF, hex);
    return labels;
}

std::array<std::string, 15> RuleDiagramTexts(const TTileRule* rule, bool hex)
{
    static constexpr int index[15] = {nbN, nbNW, nbNE, nbW, nbCentre, nbE, nbSW, nbS, nbSE,
                                      rvGraphics, rvAlt1, rvAlt2, rvAlt3, rvAlt4, rvAlt5};
    static const char* const names[9] = {"N", "NW", "NE", "W", "C", "E", "SW", "S", "SE"};
    std::array<std::string, 15> texts;
    for (int i = 0; i < 15; ++i) {
        if (rule) {
            const std::uint16_t v = rule->Values[static_cast<std::size_t>(index[i])];
            texts[static_cast<std::size_t>(i)] = hex ? IntToHexTrim(v, 4) : std::to_string(static_cast<std::int16_t>(v));
        } else {
            texts[static_cast<std::size_t>(i)] = i < 9 ? names[i] : (hex ? "0000" : "0");
        }
    }
    return texts;
}

std::string CountText(std::size_t count, bool hex)
{
    return hex ? Format("%04X", static_cast<unsigned>(count)) : std::to_string(count);
}

} // namespace kestrund
