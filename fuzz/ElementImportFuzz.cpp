// The three element imports from a Targa file: tile, border and overlay (the kind
// rivers and improvements are). The first byte picks the element, its colour mode
// and the import's arguments; the rest is the picture file. An import that fails
// must leave the element as it was.

#include "Border.h"
#include "ByteStream.h"
#include "Errors.h"
#include "FuzzSupport.h"
#include "Overlay.h"
#include "Tile.h"

#include <cstddef>
#include <cstdint>

using namespace kestrund;
using kestrund::fuzz::Check;

namespace {

constexpr TColor KeyColors[4][2] = {
    {0x00007C1F, 0x000083E0}, // the set's defaults
    {0x00FF00FF, 0x00000000},
    {0x00000000, 0x00080808},
    {0x00F8F8F8, 0x00F8F8F8}, // transparent and shadow the same colour
};

template <class Element>
std::vector<std::uint8_t> Record(const Element& element, int mode)
{
    TByteWriter writer;
    try {
        element.SaveToStream(writer, mode);
    } catch (const EInvalidArgument&) {
        return {0xFF}; // too large for a record: compare by this marker alone
    }
    return writer.Take();
}

template <class Element, class Import>
void Run(Element& element, int mode, Import&& import)
{
    const auto before = Record(element, mode);
    try {
        import();
    } catch (const EInvalidImageFormat&) {
        Check(Record(element, mode) == before, "a refused picture leaves the element as it was");
    } catch (const EInvalidImageSize&) {
        Check(Record(element, mode) == before, "a picture of the wrong size leaves the element as it was");
    } catch (const EInvalidArgument&) {
        Check(Record(element, mode) == before, "a bad argument leaves the element as it was");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::TScratchDir scratch;
    static const std::string picture = scratch / "picture.tga";
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    fuzz::WriteBytes(picture, std::span<const std::uint8_t>(data + 1, size - 1));

    const std::uint8_t mode = selector & 0x04 ? cmRGB565 : cmRGB555;
    const TColor transparent = KeyColors[selector >> 3 & 3][0];
    const TColor shadow = KeyColors[selector >> 3 & 3][1];
    switch (selector & 0x03) {
    case 0: {
        TTile tile(0x00406080u, mode);
        Run(tile, mode, [&] { tile.ImportTGA(picture, transparent, shadow, selector >> 4); });
        break;
    }
    case 1: {
        TTileBorder border(mode, 0x00102030u);
        const int which = (selector >> 3) % 6; // 5 is out of range on purpose
        Run(border, mode, [&] {
            if (selector & 0x80)
                border.ImportTGA(picture);
            else
                border.ImportTGA(picture, which);
        });
        break;
    }
    default: {
        TTileImprovement improvement(mode);
        improvement.FromBuffer(fuzz::SamplePicture(6, 5, transparent, shadow, selector), transparent, shadow);
        Run(improvement, mode, [&] { improvement.ImportTGA(picture, transparent, shadow); });
        if ((selector & 0x03) == 3) {
            // An overlay that was read must survive a tile file record.
            TByteWriter writer;
            try {
                improvement.SaveToStream(writer, mode);
            } catch (const EInvalidArgument&) {
                break; // larger than a record can hold: refused, not cut
            }
            const std::vector<std::uint8_t> record = writer.Take();
            TByteReader reader(record);
            TTileImprovement back(mode);
            back.LoadFromStream(reader);
            Check(reader.AtEnd() && back.SamePicture(improvement), "an imported overlay reads back from its record");
        }
        break;
    }
    }
    return 0;
}
