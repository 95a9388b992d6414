// kestrund-cli sheet: every element of one kind of a set in one picture.

#include "CliCommands.h"

#include "ContactSheet.h"
#include "Errors.h"
#include "ImageFiles.h"
#include "MiscFunc.h"
#include "PngFile.h"
#include "Targa.h"

#include <algorithm>

namespace kestrund::cli {

namespace {

enum class TSheetFormat { Png, Bitmap, Targa, Jpeg };

TSheetFormat SheetFormatOf(const std::string& fileName)
{
    if (LowerCaseExtension(fileName) == ".png")
        return TSheetFormat::Png;
    switch (ViewImageFormatOf(fileName)) {
    case TViewImageFormat::Bitmap: return TSheetFormat::Bitmap;
    case TViewImageFormat::Targa: return TSheetFormat::Targa;
    case TViewImageFormat::Jpeg: return TSheetFormat::Jpeg;
    case TViewImageFormat::None: break;
    }
    throw ECliUsageError("the picture must be .png, .bmp, .tga or .jpg, not '" + fileName + "'");
}

TSheetKind KindOption(const TCliArgs& args)
{
    const std::string name = args.Value("--kind").value_or("tiles");
    const auto found = std::find(SheetKindNames.begin(), SheetKindNames.end(), name);
    if (found == SheetKindNames.end())
        throw ECliUsageError("--kind must be tiles, borders, rivers, improvements, rules or variations, not '" + name +
                             "'");
    return static_cast<TSheetKind>(found - SheetKindNames.begin());
}

// The editor's Targa form: 16-bit 5-5-5 words.
TPictureBuffer TargaPicture(const TRgbSurface& sheet)
{
    TPictureBuffer buffer(sheet.Width(), sheet.Height());
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x)
            buffer(x, y) = ColorToPixel(sheet.Pixel(x, y), cmRGB555);
    return buffer;
}

} // namespace

int RunSheet(const TCliArgs& args, std::ostream& out, std::ostream& err)
{
    args.ExpectPositionals({"IN.til", "OUT.png|.bmp|.tga|.jpg"});
    const std::string target = args.Positionals()[1];
    const TSheetFormat format = SheetFormatOf(target);
    TContactSheetOptions options;
    options.Kind = KindOption(args);
    options.Columns = static_cast<int>(Number(args, "--columns", 0, 1, 1000));
    options.Zoom = static_cast<int>(Number(args, "--zoom", 1, 1, 8));
    options.Labels = args.Has("--labels");
    options.Hex = args.Has("--hex");
    options.Colors.Background = static_cast<TColor>(Number(args, "--background", 0xC0C0C0, 0, 0xFFFFFF));
    options.Colors.Shadow = options.Colors.SetShadow =
        static_cast<TColor>(Number(args, "--shadow", 0x808080, 0, 0xFFFFFF));

    TTileFile set;
    set.ColorMode = ReadingMode(args, args.Positionals()[0], err);
    LoadNamed(set, args.Positionals()[0], false);
    const TSheetLayout layout = ContactSheetLayout(set, options);
    // Checked before drawing: a sheet that large takes a while to compose.
    if (format == TSheetFormat::Targa && std::max(layout.Width(), layout.Height()) > MaxTGASide)
        throw EKestrundError(Format("A Targa picture is at most %d pixels wide and high, and this sheet would be %d x "
                                    "%d; give other --columns, a smaller --zoom or write .png",
                                    MaxTGASide, layout.Width(), layout.Height()));
    const TRgbSurface sheet = ComposeContactSheet(set, options);
    switch (format) {
    case TSheetFormat::Png: WritePng(sheet, target); break;
    case TSheetFormat::Bitmap: WriteBmp(sheet, target); break;
    case TSheetFormat::Targa: WriteTGA(TargaPicture(sheet), target); break;
    case TSheetFormat::Jpeg: WriteJpeg(sheet, target); break;
    }
    out << "Size: " << layout.Width() << ' ' << layout.Height() << '\n'
        << "Cells: " << layout.Count << " in " << layout.Columns << (layout.Columns == 1 ? " column" : " columns")
        << '\n';
    return ExitSuccess;
}

} // namespace kestrund::cli
