#pragma once
// What the Targa import dialog decides without its widgets: how its three colours keep apart,
// what the preview of a file shows and where, which pixel a click picks, and which folders and
// masks it browses.

#include "Pixel.h"

#include <QImage>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrund {

// Real colour (0x00BBGGRR) of any colour value; system colours are looked up.
using TColorResolver = std::function<TColor(TColor)>;

// The two import colours and the preview's background. Setting the transparent or the shadow
// colour moves whichever of the others looks the same, so the preview always tells them apart.
struct TImportColors {
    TColor Transparent = 0;
    TColor Shadow = 0;
    TColor PreviewBackground = clBtnFace;

    // A colour equal to the shadow makes the shadow its complement (XOR 0xFFFFFF); one equal
    // to the preview background moves that to fuchsia (for silver) or silver.
    void SetTransparent(TColor color, const TColorResolver& resolve);
    // Same rule with the roles of transparent and shadow exchanged.
    void SetShadow(TColor color, const TColorResolver& resolve);

private:
    void MoveBackgroundFrom(TColor real, const TColorResolver& resolve);
};

// The preview of a file: the text of the second status panel and the picture (empty when
// there is nothing to show).
struct TTgaPreview {
    std::string Status;
    TPictureBuffer Picture;
};

// Only names ending in ".tga", in those letters, are read.
bool IsTargaFileName(const std::string& fileName);
// The status text of a ReadTGA result code that is not success.
std::string TgaPreviewError(int code);
TTgaPreview LoadTgaPreview(const std::string& fileName);

// The picture's colours; pixels the import will take as transparent are left clear.
QImage PreviewImage(const TPictureBuffer& picture, TColor transparent);

struct TPreviewOffset {
    int X = 0, Y = 0;
    bool operator==(const TPreviewOffset&) const = default;
};
// Top-left of a picture centred in a box; a picture larger than the box overhangs it evenly.
TPreviewOffset CentredOffset(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

// The colour of the picture pixel under (x, y) in the box; nothing outside the picture, on
// its first column or on its first row.
std::optional<TColor> PickedColor(const TPictureBuffer& picture, TPreviewOffset offset, int x, int y);

// The folder itself when it exists, else its nearest existing parent, else home.
std::string ExistingFolder(const std::string& folder, const std::string& home);
// The folder above; a root is its own parent.
std::string ParentFolder(const std::string& folder);

// The name patterns of a mask such as "*.tga;*.bmp"; "*.*" means every file.
std::vector<std::string> MaskPatterns(const std::string& mask);
bool HasWildcards(const std::string& text);

} // namespace kestrund
