// Targa reading from memory. A picture that reads must survive our own writer and
// reader unchanged; the messages must be made for every code.

#include "FuzzSupport.h"
#include "Targa.h"

#include <cstddef>
#include <cstdint>

using namespace kestrund;
using kestrund::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TPictureBuffer picture;
    TTGAHeader header;
    const int code = ReadTGA(std::span<const std::uint8_t>(data, size), picture, &header);
    Check(!TGAErrorMessage(code, "x.tga").empty() || code == tgaOK, "every failure has a message");
    if (code != tgaOK) {
        Check(picture.Width() == 0 && picture.Height() == 0, "a failed read leaves the picture empty");
        return 0;
    }
    const bool blank = header.Width == 0 || header.Height == 0;
    Check(picture.Width() == (blank ? 1 : header.Width) && picture.Height() == (blank ? 1 : header.Height),
          "the picture has the header's size");

    const std::vector<std::uint8_t> written = WriteTGA(picture);
    TPictureBuffer again;
    Check(ReadTGA(written, again) == tgaOK, "our own file reads");
    Check(again == picture, "our own file gives back the picture");
    return 0;
}
