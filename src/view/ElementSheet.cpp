#include "ElementSheet.h"

#include "MiscFunc.h"

#include <algorithm>

namespace kestrund {

std::size_t SheetCount(const TTileFile& set, TSheetKind kind)
{
    switch (kind) {
    case TSheetKind::Tiles: return set.TileCount();
    case TSheetKind::Borders: return set.BorderCount();
    case TSheetKind::Rivers: return set.RiverCount();
    case TSheetKind::Improvements: return set.ImprovementCount();
    case TSheetKind::Rules: return set.TileRuleCount();
    case TSheetKind::Variations: return set.VariationRuleCount();
    }
    return 0;
}

TSheetSize PictureSize(const TTileFile& set, TSheetKind kind)
{
    switch (kind) {
    case TSheetKind::Improvements: {
        int width = TileWidth;
        for (std::size_t i = 0; i < set.ImprovementCount(); ++i)
            width = std::max(width, set.Improvement(i).MaxWidth());
        return {width, TileHeight};
    }
    case TSheetKind::Rules:
    case TSheetKind::Variations: return {286, 168};
    default: return {TileWidth, TileHeight};
    }
}

namespace {
// Draws at zoom 1 onto a surface already holding the background.
void DrawElement(const TTileFile& set, TSheetKind kind, std::size_t i, const TSheetColors& colors, TSurface& surface,
                 int x, int y)
{
    switch (kind) {
    case TSheetKind::Tiles: set.Tile(i).Draw(x, y, surface, colors.Shadow); break;
    case TSheetKind::Borders: set.Border(i).DrawEdges(15, x, y, surface); break;
    case TSheetKind::Rivers: set.River(i).Draw(x, y, surface, colors.SetShadow); break;
    case TSheetKind::Improvements: set.Improvement(i).Draw(x, y, surface, colors.Shadow); break;
    case TSheetKind::Rules: {
        // As the 3x3 view of the rule: the neighbours, then the centre over them.
        const auto preview = set.TileRule(i).Preview();
        for (std::size_t k : {0u, 1u, 2u, 3u, 5u, 6u, 7u, 8u, 4u})
            if (const TTile* tile = preview[k])
                tile->Draw(x + SquareCells[k][0], y + SquareCells[k][1], surface, colors.Shadow);
        break;
    }
    case TSheetKind::Variations: set.VariationRule(i).Draw(set, x, y, colors.SetShadow, surface); break;
    }
}
} // namespace

void DrawElementPicture(const TTileFile& set, TSheetKind kind, std::size_t i, const TSheetColors& colors, int zoom,
                        TSurface& surface, int x, int y)
{
    const TSheetSize size = PictureSize(set, kind);
    TRgbSurface plain(size.Width, size.Height, colors.Background);
    DrawElement(set, kind, i, colors, plain, 0, 0);
    const std::vector<TColor>& pixels = plain.Data();
    for (int py = 0; py < size.Height; ++py)
        for (int px = 0; px < size.Width; ++px) {
            const TColor c = pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(size.Width) +
                                    static_cast<std::size_t>(px)];
            for (int dy = 0; dy < zoom; ++dy)
                for (int dx = 0; dx < zoom; ++dx)
                    surface.SetPixel(x + px * zoom + dx, y + py * zoom + dy, c);
        }
}

std::string ElementIdText(const TTileFile& set, TSheetKind kind, std::size_t i, bool hex)
{
    // In the form the left panel's labels show them.
    TViewState view;
    view.TileNum = view.BorderNum = view.RiverNum = view.ImprovementNum = view.VariationNum = i;
    const TViewLabels labels = ViewLabels(set, view, hex);
    switch (kind) {
    case TSheetKind::Tiles: return labels.TileID;
    case TSheetKind::Borders: return labels.Inside + ' ' + labels.Outside;
    case TSheetKind::Rivers: return labels.RiverID;
    case TSheetKind::Improvements: return labels.ImprovementID;
    case TSheetKind::Rules: {
        const unsigned id = set.TileRule(i).Values[rvGraphics];
        return hex ? Format("%04X", id) : std::to_string(id);
    }
    case TSheetKind::Variations: return labels.VariationTileIndex;
    }
    return {};
}

std::string ElementLabel(const TTileFile& set, TSheetKind kind, std::size_t i, bool hex)
{
    const std::string id = ElementIdText(set, kind, i, hex);
    return id.empty() ? CountText(i, hex) : CountText(i, hex) + ' ' + id;
}

TSheetRect TSheetLayout::Picture(std::size_t i) const
{
    const int column = static_cast<int>(i % static_cast<std::size_t>(Columns));
    const int row = static_cast<int>(i / static_cast<std::size_t>(Columns));
    return {Gap + column * PitchX(), Gap + row * PitchY(), PictureWidth, PictureHeight};
}

TSheetRect TSheetLayout::Label(std::size_t i) const
{
    const TSheetRect picture = Picture(i);
    return {picture.X, picture.Y + PictureHeight, PictureWidth, LabelHeight};
}

TSheetLayout SheetLayout(TSheetSize picture, std::size_t count, int zoom, int labelHeight, int gap, int columns,
                         int fitWidth)
{
    TSheetLayout layout;
    layout.Count = count;
    layout.PictureWidth = picture.Width * zoom;
    layout.PictureHeight = picture.Height * zoom;
    layout.LabelHeight = labelHeight;
    layout.Gap = gap;
    layout.Columns = columns > 0 ? columns : std::max(1, (fitWidth - gap) / layout.PitchX());
    const std::size_t perRow = static_cast<std::size_t>(layout.Columns);
    layout.Rows = static_cast<int>((count + perRow - 1) / perRow);
    return layout;
}

} // namespace kestrund
