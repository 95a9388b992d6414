#pragma once
// Shared by the fuzz targets and the seed maker: small tile sets built with the
// project's own code, a private scratch folder, and byte helpers.

#include "FileUtil.h"
#include "Overlay.h"
#include "Pixel.h"
#include "TileFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

namespace kestrund::fuzz {

// Reports a broken promise of the code under test: the fuzzer sees a crash.
[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void Check(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}

// A folder of this process's own under the temporary folder (scripts/fuzz points
// TMPDIR at a folder it removes afterwards), removed again on normal exit.
class TScratchDir {
public:
    TScratchDir()
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "kestrund-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            Fail("cannot create a scratch folder");
        Path = pattern;
    }
    ~TScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    std::string operator/(const std::string& name) const { return (Path / name).string(); }
    std::filesystem::path Path;
};

inline void WriteBytes(const std::string& fileName, std::span<const std::uint8_t> bytes)
{
    WriteWholeFile(fileName, bytes);
}

inline std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A picture of width x height with transparent margins, a shadow run and literal
// pixels, made from a simple sequence so seeds and targets agree on it.
inline TPictureBuffer SamplePicture(int width, int height, TColor transparent, TColor shadow, unsigned salt)
{
    const std::uint16_t t = ColorToPixel(transparent, cmRGB555);
    const std::uint16_t s = ColorToPixel(shadow, cmRGB555);
    TPictureBuffer picture(width, height, t);
    std::uint32_t x32 = 0x9E3779B9u ^ salt;
    for (int y = 1; y < height; ++y) {
        if (y % 5 == 3) // a row without a line inside the overlay
            continue;
        const int left = y % 4;
        const int right = width - (y % 3);
        for (int x = left; x < right; ++x) {
            x32 ^= x32 << 13;
            x32 ^= x32 >> 17;
            x32 ^= x32 << 5;
            std::uint16_t p = static_cast<std::uint16_t>(x32);
            if (x < left + 2)
                p = s;
            else if (p == t || p == s)
                p = 0x1234;
            picture(x, y) = p;
        }
    }
    return picture;
}

// A small set with elements of every kind: rules, a border, tiles with and without
// overlay, a river and improvements (one without lines), variation rules with and
// without steps. The pictures are small so the seeds stay small.
inline std::unique_ptr<TTileFile> MakeSmallSet(std::uint8_t mode)
{
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    set->ColorMode = mode;
    const TColor t = set->TransparentColor, s = set->ShadowColor;
    for (int i = 0; i < 2; ++i) {
        auto rule = std::make_unique<TTileRule>();
        for (std::size_t k = 0; k < rule->Values.size(); ++k)
            rule->Values[k] = static_cast<std::uint16_t>(k % 4 == 3 ? 0xFFFF : 10 * i + k);
        set->AddTileRule(std::move(rule));
    }
    {
        auto border = std::make_unique<TTileBorder>(mode);
        border->Inside = 1;
        border->Outside = 2;
        for (auto& edge : border->Edges)
            for (std::size_t k = 0; k < edge.Pixels.size(); ++k)
                edge.Pixels[k] = static_cast<std::uint16_t>(0x0421 * (k % 31) + edge.Edge);
        set->AddBorder(std::move(border));
    }
    for (int i = 0; i < 2; ++i) {
        auto tile = std::make_unique<TTile>(0x00406080u + static_cast<TColor>(i), mode);
        tile->TileID = static_cast<std::uint16_t>(0x100 + i);
        tile->TileIndex = static_cast<std::uint8_t>(3 + i);
        tile->BorderEdges = static_cast<std::uint8_t>(i == 0 ? 0 : 5);
        if (i == 1) {
            auto overlay = std::make_unique<TTileOverlay>(mode);
            overlay->FromBuffer(SamplePicture(12, 9, t, s, 1), t, s);
            tile->Overlay = std::move(overlay);
        }
        set->AddTile(std::move(tile));
    }
    {
        auto river = std::make_unique<TRiver>(mode);
        river->ImprovementID = 7;
        for (std::size_t k = 0; k < river->Directions.size(); ++k)
            river->Directions[k] = static_cast<std::uint16_t>(k);
        river->FromBuffer(SamplePicture(10, 8, t, s, 2), t, s);
        set->AddRiver(std::move(river));
    }
    for (int i = 0; i < 2; ++i) {
        auto improvement = std::make_unique<TTileImprovement>(mode);
        improvement->ImprovementID = static_cast<std::uint16_t>(20 + i);
        improvement->AuxValue = static_cast<std::uint16_t>(i);
        if (i == 1)
            improvement->FromBuffer(SamplePicture(9, 7, t, s, 3), t, s);
        set->AddImprovement(std::move(improvement));
    }
    for (int i = 0; i < 2; ++i) {
        auto rule = std::make_unique<TVariationRule>();
        rule->SetStepCount(static_cast<std::uint16_t>(i * 3));
        for (std::size_t k = 0; k < rule->StepCount(); ++k)
            rule->SetStep(k, 0x01000000u * static_cast<std::uint32_t>(k) + 0x40u * static_cast<std::uint32_t>(k + 1) + 2);
        set->AddVariationRule(std::move(rule));
    }
    set->RebuildTileIndexList();
    return set;
}

} // namespace kestrund::fuzz
