// Writes the seed corpora of the fuzz targets into the folder given (normally
// fuzz/corpus): tile files, pictures and scripts made by the project's own writers,
// with a few variants of their headers that the writers never produce.
//
//   fuzz_seeds OUTDIR

#include "FuzzSupport.h"
#include "ScriptExport.h"
#include "MiscFunc.h"
#include "Targa.h"
#include "Tile.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace kestrund;
namespace fs = std::filesystem;

namespace {

fs::path gOut;

void Put(const std::string& target, const std::string& name, std::span<const std::uint8_t> bytes)
{
    fs::create_directories(gOut / target);
    fuzz::WriteBytes((gOut / target / name).string(), bytes);
}

std::vector<std::uint8_t> Prefixed(std::uint8_t selector, std::span<const std::uint8_t> bytes)
{
    std::vector<std::uint8_t> out{selector};
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

// The picture as 24- or 32-bit pixels, optionally with an ID field and a colour map.
std::vector<std::uint8_t> TrueColour(const TPictureBuffer& picture, int bits, bool extras)
{
    std::vector<std::uint8_t> out = WriteTGA(picture);
    out.resize(TGAHeaderSize);
    out[16] = static_cast<std::uint8_t>(bits);
    out[17] = bits == 32 ? 0x08 : 0x00;
    if (extras) {
        out[0] = 3;                     // ID length
        out[1] = 1;                     // colour map present (skipped)
        out[5] = 2, out[6] = 0;         // two entries
        out[7] = 15;                    // of 15 bits, stored in 2 bytes
        out.insert(out.end(), {'K', 'S', 'T', 1, 2, 3, 4});
    }
    for (int y = picture.Height() - 1; y >= 0; --y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor c = PixelToColor(picture(x, y), cmRGB555);
            out.push_back(static_cast<std::uint8_t>(c >> 16)); // B
            out.push_back(static_cast<std::uint8_t>(c >> 8));  // G
            out.push_back(static_cast<std::uint8_t>(c));       // R
            if (bits == 32)
                out.push_back(0xFF);
        }
    return out;
}

void TileFiles()
{
    TTileFile empty;
    empty.Clear();
    Put("tile_file", "empty.til", empty.SaveToMemory(cmRGB555));
    TTileFile defaults; // one default element of each kind
    Put("tile_file", "defaults.til", defaults.SaveToMemory(cmRGB555));
    const auto set = fuzz::MakeSmallSet(cmRGB555);
    Put("tile_file", "small555.til", set->SaveToMemory(cmRGB555));
    Put("tile_file", "small565.til", set->SaveToMemory(cmRGB565));
    // Overlays alone, without the large fixed-size records: rivers and improvements.
    TTileFile overlays;
    overlays.Clear();
    const TColor t = overlays.TransparentColor, s = overlays.ShadowColor;
    for (unsigned i = 0; i < 3; ++i) {
        auto river = std::make_unique<TRiver>(cmRGB555);
        river->ImprovementID = static_cast<std::uint16_t>(i);
        river->FromBuffer(fuzz::SamplePicture(4 + 3 * static_cast<int>(i), 3 + 2 * static_cast<int>(i), t, s, i), t, s);
        overlays.AddRiver(std::move(river));
        auto improvement = std::make_unique<TTileImprovement>(cmRGB555);
        improvement->FromBuffer(fuzz::SamplePicture(3 + static_cast<int>(i), 9, t, s, 10 + i), t, s);
        overlays.AddImprovement(std::move(improvement));
    }
    Put("tile_file", "overlays.til", overlays.SaveToMemory(cmRGB555));
}

void Pictures()
{
    const TColor t = 0x00007C1F, s = 0x000083E0;
    const TPictureBuffer small = fuzz::SamplePicture(7, 5, t, s, 1);
    Put("targa", "16bit.tga", WriteTGA(small));
    Put("targa", "24bit.tga", TrueColour(small, 24, false));
    Put("targa", "32bit-id-colourmap.tga", TrueColour(fuzz::SamplePicture(3, 4, t, s, 2), 32, true));
    Put("targa", "empty.tga", WriteTGA(TPictureBuffer(0, 0)));

    // Element imports: selector byte (element, mode, arguments), then the picture.
    const auto set = fuzz::MakeSmallSet(cmRGB555);
    {
        const fuzz::TScratchDir dir;
        set->Tile(1).ExportTGA(dir / "tile.tga", t, s);
        set->Border(0).ExportTGA(dir / "border.tga", 15, t);
        set->River(0).ExportTGA(dir / "river.tga", t, s);
        const auto tile = ReadWholeFile(dir / "tile.tga");
        const auto border = ReadWholeFile(dir / "border.tga");
        const auto river = ReadWholeFile(dir / "river.tga");
        Put("element_import", "tile.bin", Prefixed(0x00, tile));
        Put("element_import", "tile-565-mask5.bin", Prefixed(0x54, tile));
        Put("element_import", "border.bin", Prefixed(0x01, border));
        Put("element_import", "border-which2-565.bin", Prefixed(0x15, border));
        Put("element_import", "overlay.bin", Prefixed(0x02, river));
        Put("element_import", "overlay-record-565.bin", Prefixed(0x07, river));
        Put("element_import", "overlay-24bit.bin", Prefixed(0x03, TrueColour(small, 24, false)));
    }
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

void Scripts()
{
    const auto set = fuzz::MakeSmallSet(cmRGB555);
    const std::string text = ScriptText(*set);
    auto put = [&](const std::string& name, std::uint8_t selector, const std::string& script) {
        Put("script_import", name, Prefixed(selector, fuzz::AsBytes(script)));
    };
    put("simple.src", 0x00, text);
    put("extensive.src", 0x01, text);
    put("total-append.src", 0x06, text);
    put("editor-total.src", 0x0A, text);
    put("editor-append-565.src", 0x1C, text);
    // The other forms of the colours line, and pictures the export never writes.
    put("colours-own-line.src", 0x02,
        Replaced(text, "$00007C1F $000083E0", "set\\\r\n$00007C1F $000083E0"));
    put("colours-three-items.src", 0x01,
        Replaced(Replaced(text, "$00007C1F $000083E0", "set/ $7C1F $83E0"), "TIMP0014.tga", "SMALL.tga"));
    put("pictures-odd.src", 0x02,
        Replaced(Replaced(text, "TILE0100.tga", "FULL.tga 0 $1F"), "TIMP0015.tga", "SHORT.tga"));
    // The older header with one-line variation rules.
    std::string old = Replaced(text, "Kestrund Script v.1.1", "Kestrund Script v.1.0");
    old.erase(old.find("// VariationRule"));
    old += "// VariationRule\r\n\r\n" + std::to_string(set->VariationRuleCount()) + "\r\n";
    for (std::size_t i = 0; i < set->VariationRuleCount(); ++i) {
        const TVariationRule& rule = set->VariationRule(i);
        std::string line = std::to_string(rule.StepCount());
        for (std::size_t k = 0; k < rule.StepCount(); ++k)
            line += Format(" %08X", rule.Step(k));
        old += line + "\r\n";
    }
    put("version10.src", 0x00, old);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    gOut = argv[1];
    TileFiles();
    Pictures();
    Scripts();
    return 0;
}
