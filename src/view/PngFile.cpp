#include "PngFile.h"

#include "Errors.h"
#include "FileUtil.h"

#include <cstring>
#include <new>
#include <png.h>
#include <zlib.h>

namespace kestrund {

namespace {

struct TPngSink {
    std::vector<std::uint8_t> Bytes;
    char Error[256] = "";
};

// The library's default error handler ends the process; keep the text and jump back.
void PngError(png_structp png, png_const_charp message)
{
    auto* sink = static_cast<TPngSink*>(png_get_error_ptr(png));
    std::strncpy(sink->Error, message, sizeof sink->Error - 1);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* sink = static_cast<TPngSink*>(png_get_io_ptr(png));
    try {
        sink->Bytes.insert(sink->Bytes.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory"); // no exception may cross the library's C frames
    }
}

void PngFlush(png_structp) {}

} // namespace

std::vector<std::uint8_t> EncodePng(const TRgbSurface& picture)
{
    if (picture.Width() <= 0 || picture.Height() <= 0)
        throw EKestrundError("An empty picture cannot be written as PNG");
    // Everything the jump may skip over lives outside the protected part.
    const std::vector<TColor>& pixels = picture.Data();
    std::vector<png_byte> row(static_cast<std::size_t>(picture.Width()) * 3);
    TPngSink sink;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::bad_alloc();
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw EKestrundError(std::string("PNG error: ") + sink.Error);
    }
    png_set_write_fn(png, &sink, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()), static_cast<png_uint_32>(picture.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // A sheet is flat background and blocks of zoomed pixels: the SUB filter turns flat runs
    // of any colour into zeros, which run-length deflate finds in a third of the default's time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    const std::size_t width = static_cast<std::size_t>(picture.Width());
    for (std::size_t y = 0; y < static_cast<std::size_t>(picture.Height()); ++y) {
        const TColor* source = pixels.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            row[x * 3] = static_cast<png_byte>(source[x] & 0xFF);
            row[x * 3 + 1] = static_cast<png_byte>((source[x] >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<png_byte>((source[x] >> 16) & 0xFF);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::move(sink.Bytes);
}

void WritePng(const TRgbSurface& picture, const std::string& fileName)
{
    WriteWholeFile(fileName, EncodePng(picture));
}

} // namespace kestrund
