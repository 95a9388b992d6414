#include "ContactSheet.h"

#include "Errors.h"
#include "MiscFunc.h"
#include "SheetFont.h"

#include <algorithm>

namespace kestrund {

namespace {

constexpr std::array<const char*, SheetKindCount> KindWords{"tiles",        "borders",    "rivers",
                                                            "improvements", "tile rules", "variation rules"};

// A rectangle of another surface with its own origin, so a label cannot spill into the
// next cell.
class TClip : public TSurface {
public:
    TClip(TSurface& target, const TSheetRect& rect) : FTarget(target), FRect(rect) {}
    int Width() const override { return FRect.Width; }
    int Height() const override { return FRect.Height; }

protected:
    TColor DoGetPixel(int x, int y) const override { return FTarget.Pixel(FRect.X + x, FRect.Y + y); }
    void DoSetPixel(int x, int y, TColor c) override { FTarget.SetPixel(FRect.X + x, FRect.Y + y, c); }

private:
    TSurface& FTarget;
    TSheetRect FRect;
};

} // namespace

int ContactLabelScale(int zoom)
{
    return std::max(1, (zoom + 1) / 2);
}

TColor LabelColor(TColor background)
{
    const unsigned r = background & 0xFF, g = (background >> 8) & 0xFF, b = (background >> 16) & 0xFF;
    return r * 299 + g * 587 + b * 114 >= 128 * 1000 ? 0x000000 : 0xFFFFFF;
}

TSheetLayout ContactSheetLayout(const TTileFile& set, const TContactSheetOptions& options)
{
    const std::size_t count = SheetCount(set, options.Kind);
    if (count == 0)
        throw EKestrundError(std::string("The set has no ") + KindWords[static_cast<std::size_t>(options.Kind)] +
                             " to put on a sheet");
    const int labelHeight =
        options.Labels ? GlyphHeight * ContactLabelScale(options.Zoom) + 2 * LabelPadding : 0;
    TSheetLayout layout = SheetLayout(PictureSize(set, options.Kind), count, options.Zoom, labelHeight,
                                      ContactSheetGap, options.Columns, options.FitWidth);
    if (static_cast<std::size_t>(layout.Columns) > count)
        layout = SheetLayout(PictureSize(set, options.Kind), count, options.Zoom, labelHeight, ContactSheetGap,
                             static_cast<int>(count));
    return layout;
}

TRgbSurface ComposeContactSheet(const TTileFile& set, const TContactSheetOptions& options)
{
    const TSheetLayout layout = ContactSheetLayout(set, options);
    if (static_cast<long long>(layout.Width()) * layout.Height() > MaxContactSheetPixels)
        throw EKestrundError(Format("A sheet of %d x %d pixels is too large to draw (at most %lld pixels)",
                                    layout.Width(), layout.Height(), MaxContactSheetPixels));
    TRgbSurface sheet(layout.Width(), layout.Height(), options.Colors.Background);
    const TColor ink = LabelColor(options.Colors.Background);
    const int scale = ContactLabelScale(options.Zoom);
    for (std::size_t i = 0; i < layout.Count; ++i) {
        const TSheetRect picture = layout.Picture(i);
        DrawElementPicture(set, options.Kind, i, options.Colors, options.Zoom, sheet, picture.X, picture.Y);
        if (!options.Labels)
            continue;
        const std::string text = ElementLabel(set, options.Kind, i, options.Hex);
        TClip label(sheet, layout.Label(i));
        DrawSheetText(label, std::max(0, (label.Width() - SheetTextWidth(text, scale)) / 2), LabelPadding, text, ink,
                      scale);
    }
    return sheet;
}

} // namespace kestrund
