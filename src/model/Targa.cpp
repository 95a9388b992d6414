#include "Targa.h"

#include "ByteStream.h"
#include "Errors.h"
#include "FileUtil.h"
#include "MiscFunc.h"

#include <new>

namespace kestrund {

namespace {

TTGAHeader ParseHeader(std::span<const std::uint8_t> bytes)
{
    TByteReader reader(bytes);
    TTGAHeader h;
    h.IDLength = reader.U8();
    h.ColorMapType = reader.U8();
    h.ImageType = reader.U8();
    h.ColorMapStart = reader.U16();
    h.ColorMapLength = reader.U16();
    h.ColorMapEntryBits = reader.U8();
    h.XOrigin = reader.U16();
    h.YOrigin = reader.U16();
    h.Width = reader.U16();
    h.Height = reader.U16();
    h.PixelBits = reader.U8();
    h.Descriptor = reader.U8();
    return h;
}

// The checks in their fixed order: descriptor, image type, pixel size, then our own size limit.
int CheckHeader(const TTGAHeader& h)
{
    if (h.Descriptor & 0x20)
        return tgaUnsupportedInterleave;
    if (h.Descriptor & 0xC0)
        return tgaInvalidFile;
    if (h.ImageType != 2)
        return tgaUnsupportedType;
    if (h.PixelBits != 16 && h.PixelBits != 24 && h.PixelBits != 32)
        return tgaUnsupportedPixelSize;
    if (h.Width > MaxTGASide || h.Height > MaxTGASide)
        return tgaTooLarge;
    return tgaOK;
}

std::uint16_t ReadPixel(const std::uint8_t* p, int bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 2:
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    case 3:
        return Rgb24ToPixel(static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0]);
    default:
        return Bgra32ToPixel(static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
                             static_cast<std::uint32_t>(p[1]) << 8 | p[0]);
    }
}

int Decode(std::span<const std::uint8_t> bytes, TPictureBuffer& picture, TTGAHeader* headerOut)
{
    if (bytes.size() < TGAHeaderSize)
        return tgaReadError;
    const TTGAHeader h = ParseHeader(bytes);
    if (headerOut)
        *headerOut = h;
    if (const int code = CheckHeader(h); code != tgaOK)
        return code;

    std::size_t offset = TGAHeaderSize + h.IDLength;
    if (h.ColorMapType == 1)
        offset += static_cast<std::size_t>(h.ColorMapLength) * ((h.ColorMapEntryBits + 7u) / 8u);
    const int bytesPerPixel = h.PixelBits / 8;
    const std::size_t needed = static_cast<std::size_t>(h.Width) * h.Height * static_cast<std::size_t>(bytesPerPixel);
    // The header's sizes are only believed once the bytes are there.
    if (offset > bytes.size() || needed > bytes.size() - offset)
        return tgaReadError;

    if (h.Width == 0 || h.Height == 0) {
        picture = TPictureBuffer(1, 1);
        return tgaOK;
    }
    TPictureBuffer result(h.Width, h.Height);
    const std::uint8_t* p = bytes.data() + offset;
    if (bytesPerPixel == 2) {
        // The form every exported picture has: worth a loop without the per-pixel switch.
        // The buffer is stored column by column: four rows at a time, each column gets
        // four neighbouring words per step instead of one.
        const std::size_t columnStep = h.Height;
        const std::size_t rowBytes = 2 * static_cast<std::size_t>(h.Width);
        auto word = [](const std::uint8_t* q) { return static_cast<std::uint16_t>(q[0] | q[1] << 8); };
        int y = h.Height - 1;
        for (; y >= 3; y -= 4, p += 4 * rowBytes) {
            std::uint16_t* out = result.Column(0) + (y - 3);
            const std::uint8_t* q = p;
            for (int x = 0; x < h.Width; ++x, q += 2, out += columnStep) {
                out[3] = word(q);
                out[2] = word(q + rowBytes);
                out[1] = word(q + 2 * rowBytes);
                out[0] = word(q + 3 * rowBytes);
            }
        }
        for (; y >= 0; --y) {
            std::uint16_t* out = result.Column(0) + y;
            for (int x = 0; x < h.Width; ++x, p += 2, out += columnStep)
                *out = word(p);
        }
    } else {
        for (int y = h.Height - 1; y >= 0; --y)
            for (int x = 0; x < h.Width; ++x, p += bytesPerPixel)
                result(x, y) = ReadPixel(p, bytesPerPixel);
    }
    picture = std::move(result);
    return tgaOK;
}

} // namespace

int ReadTGA(std::span<const std::uint8_t> bytes, TPictureBuffer& picture, TTGAHeader* header)
{
    picture = TPictureBuffer();
    try {
        return Decode(bytes, picture, header);
    } catch (const std::bad_alloc&) {
        return tgaUnknownError;
    } catch (const EKestrundError&) {
        return tgaReadError;
    }
}

int ReadTGA(const std::string& fileName, TPictureBuffer& picture, TTGAHeader* header)
{
    picture = TPictureBuffer();
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(fileName); // refuses folders too
    } catch (const std::exception&) {
        return tgaLoadError;
    }
    return ReadTGA(bytes, picture, header);
}

std::string TGAErrorMessage(int code, const std::string& fileName)
{
    const char* name = fileName.c_str();
    switch (code) {
    case tgaOK: return std::string();
    case tgaUnsupportedType: return Format("\"%s\" is not a supported TGA-type", name);
    case tgaInvalidFile: return Format("\"%s\" is not a valid TGA-file", name);
    case tgaUnsupportedInterleave: return Format("\"%s\" uses an unsupported or invalid Interleave format", name);
    case tgaUnsupportedPixelSize: return Format("\"%s\" uses an unsupported or invalid Pixel size", name);
    case tgaTooLarge:
        return Format("\"%s\" is too large: width and height must be below %d pixels", name, MaxTGASide + 1);
    case tgaLoadError: return Format("Error loading \"%s\"", name);
    default: return Format("Unknown error processing \"%s\"", name);
    }
}

std::uint32_t TGAReportedCode(int code)
{
    switch (code) {
    case tgaOK:
    case tgaUnsupportedType:
    case tgaInvalidFile:
    case tgaUnsupportedInterleave:
    case tgaUnsupportedPixelSize:
    case tgaTooLarge:
    case tgaLoadError:
        return static_cast<std::uint32_t>(code);
    default:
        return tgaUnknownError;
    }
}

void RaiseTGAError(int code, const std::string& fileName)
{
    throw EInvalidImageFormat(TGAErrorMessage(code, fileName), TGAReportedCode(code));
}

std::vector<std::uint8_t> WriteTGA(const TPictureBuffer& picture)
{
    const int width = picture.Width(), height = picture.Height();
    if (width > MaxTGASide || height > MaxTGASide)
        throw EInvalidArgument(Format("A picture of %dx%d pixels is too large for a TGA file", width, height));
    TByteWriter writer;
    writer.Reserve(TGAHeaderSize + 2 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    writer.U8(0);  // ID length
    writer.U8(0);  // no colour map
    writer.U8(2);  // uncompressed true colour
    writer.U16(0); // colour-map first index
    writer.U16(0); // colour-map length
    writer.U8(0);  // colour-map entry bits
    writer.U16(0); // x origin
    writer.U16(0); // y origin
    writer.U16(static_cast<std::uint16_t>(width));
    writer.U16(static_cast<std::uint16_t>(height));
    writer.U8(16);
    writer.U8(0x01); // one attribute bit, rows bottom-up
    std::vector<std::uint8_t> bytes = writer.Take();
    bytes.resize(TGAHeaderSize + 2 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    // Bottom row first; the buffer is stored column by column, so four rows are taken
    // at a time, four neighbouring words of each column per step.
    std::uint8_t* out = bytes.data() + TGAHeaderSize;
    const std::size_t rowBytes = 2 * static_cast<std::size_t>(width);
    auto put = [](std::uint8_t* q, std::uint16_t p) {
        q[0] = static_cast<std::uint8_t>(p);
        q[1] = static_cast<std::uint8_t>(p >> 8);
    };
    int y = height - 1;
    for (; y >= 3; y -= 4, out += 4 * rowBytes) {
        std::uint8_t* q = out;
        for (int x = 0; x < width; ++x, q += 2) {
            const std::uint16_t* column = picture.Column(x) + (y - 3);
            put(q, column[3]);
            put(q + rowBytes, column[2]);
            put(q + 2 * rowBytes, column[1]);
            put(q + 3 * rowBytes, column[0]);
        }
    }
    for (; y >= 0; --y)
        for (int x = 0; x < width; ++x, out += 2)
            put(out, picture(x, y));
    return bytes;
}

void WriteTGA(const TPictureBuffer& picture, const std::string& fileName)
{
    const std::vector<std::uint8_t> bytes = WriteTGA(picture);
    WriteWholeFile(fileName, bytes);
}

} // namespace kestrund
