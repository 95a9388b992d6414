#include "ImportTGARules.h"

#include "Targa.h"

#include <filesystem>
#include <system_error>

namespace kestrund {

namespace fs = std::filesystem;

namespace {
// Without a trailing separator, except for a root.
fs::path Normalised(const fs::path& folder)
{
    fs::path path = folder.lexically_normal();
    if (!path.has_filename() && path != path.root_path())
        path = path.parent_path();
    return path;
}
} // namespace

void TImportColors::SetTransparent(TColor color, const TColorResolver& resolve)
{
    Transparent = color;
    const TColor real = resolve(color);
    if (real == resolve(Shadow))
        SetShadow(real ^ 0xFFFFFF, resolve);
    MoveBackgroundFrom(real, resolve);
}

void TImportColors::SetShadow(TColor color, const TColorResolver& resolve)
{
    Shadow = color;
    const TColor real = resolve(color);
    if (real == resolve(Transparent))
        SetTransparent(real ^ 0xFFFFFF, resolve);
    MoveBackgroundFrom(real, resolve);
}

void TImportColors::MoveBackgroundFrom(TColor real, const TColorResolver& resolve)
{
    if (real == resolve(PreviewBackground))
        PreviewBackground = real == clSilver ? clFuchsia : clSilver;
}

bool IsTargaFileName(const std::string& fileName)
{
    // The extension begins at the last dot of the name, not of a folder above it.
    const std::string name = fs::path(fileName).filename().string();
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot, std::string::npos, ".tga") == 0;
}

std::string TgaPreviewError(int code)
{
    switch (code) {
    case tgaUnsupportedType:
        return "usupported type";
    case tgaInvalidFile:
        return "Not valid TGA";
    case tgaUnsupportedInterleave:
        return "Interleave error";
    case tgaUnsupportedPixelSize:
        return "Unknown Pixel size";
    case tgaLoadError:
        return "error reading file";
    default:
        return "unknown error";
    }
}

TTgaPreview LoadTgaPreview(const std::string& fileName)
{
    TTgaPreview preview;
    if (!IsTargaFileName(fileName)) {
        preview.Status = "Not a TrueVision Targa file";
        return preview;
    }
    const int code = ReadTGA(fileName, preview.Picture);
    if (code != tgaOK) {
        preview.Picture = TPictureBuffer();
        preview.Status = TgaPreviewError(code);
        return preview;
    }
    preview.Status = std::to_string(preview.Picture.Width()) + "x" + std::to_string(preview.Picture.Height());
    return preview;
}

QImage PreviewImage(const TPictureBuffer& picture, TColor transparent)
{
    QImage image(picture.Width(), picture.Height(), QImage::Format_ARGB32);
    // Compared as the import compares: the 5-5-5 word, without the attribute bit.
    const std::uint16_t key = ColorToPixel(transparent, cmRGB555);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint16_t word = picture(x, y);
            const TColor c = PixelToColor(word, cmRGB555);
            line[x] = (word & 0x7FFF) == key ? qRgba(0, 0, 0, 0) : qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    return image;
}

TPreviewOffset CentredOffset(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight)
{
    return {(boxWidth - pictureWidth) / 2, (boxHeight - pictureHeight) / 2};
}

std::optional<TColor> PickedColor(const TPictureBuffer& picture, TPreviewOffset offset, int x, int y)
{
    x -= offset.X;
    y -= offset.Y;
    if (x <= 0 || y <= 0 || x >= picture.Width() || y >= picture.Height())
        return std::nullopt;
    return PixelToColor(picture(x, y), cmRGB555);
}

std::string ExistingFolder(const std::string& folder, const std::string& home)
{
    if (folder.empty())
        return home;
    std::error_code error;
    fs::path path = Normalised(fs::absolute(fs::path(folder), error));
    if (error)
        return home;
    for (;;) {
        if (fs::is_directory(path, error))
            return path.string();
        const fs::path parent = path.parent_path();
        if (parent == path || parent.empty())
            return home;
        path = parent;
    }
}

std::string ParentFolder(const std::string& folder)
{
    const fs::path path = Normalised(fs::path(folder));
    if (path == path.root_path() || !path.has_parent_path())
        return path.string();
    return path.parent_path().string();
}

std::vector<std::string> MaskPatterns(const std::string& mask)
{
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= mask.size()) {
        const std::size_t end = std::min(mask.find(';', start), mask.size());
        std::string pattern = mask.substr(start, end - start);
        while (!pattern.empty() && pattern.front() == ' ')
            pattern.erase(0, 1);
        while (!pattern.empty() && pattern.back() == ' ')
            pattern.pop_back();
        // Names without a dot are files too.
        if (pattern == "*.*")
            pattern = "*";
        if (!pattern.empty())
            patterns.push_back(pattern);
        start = end + 1;
    }
    if (patterns.empty())
        patterns.push_back("*");
    return patterns;
}

bool HasWildcards(const std::string& text)
{
    return text.find_first_of("*?") != std::string::npos;
}

} // namespace kestrund
