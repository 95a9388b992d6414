#include "ImageFiles.h"

#include "Errors.h"
#include "FileUtil.h"
#include "Targa.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace kestrund {

namespace {
void Put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, unsigned v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
} // namespace

std::vector<std::uint8_t> EncodeBmp(const TRgbSurface& picture)
{
    const unsigned w = static_cast<unsigned>(picture.Width()), h = static_cast<unsigned>(picture.Height());
    const unsigned stride = (w * 3 + 3) & ~3u;
    const unsigned dataSize = stride * h;
    std::vector<std::uint8_t> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + dataSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40); // BITMAPINFOHEADER
    Put32(out, w);
    Put32(out, h);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // no compression
    Put32(out, dataSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (unsigned y = h; y-- > 0;) {
        for (unsigned x = 0; x < w; ++x) {
            const TColor c = picture.Pixel(static_cast<int>(x), static_cast<int>(y));
            out.push_back(static_cast<std::uint8_t>(c >> 16)); // B
            out.push_back(static_cast<std::uint8_t>(c >> 8));  // G
            out.push_back(static_cast<std::uint8_t>(c));       // R
        }
        for (unsigned pad = w * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

namespace {
struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Text[JMSG_LENGTH_MAX];
};

// The library's default error exit ends the process; jump back instead.
void JpegErrorExit(j_common_ptr info)
{
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    (*info->err->format_message)(info, error->Text);
    std::longjmp(error->Jump, 1);
}
} // namespace

std::vector<std::uint8_t> EncodeJpeg(const TRgbSurface& picture)
{
    if (picture.Width() <= 0 || picture.Height() <= 0)
        throw EKestrundError("An empty picture cannot be written as JPEG");
    // Everything the jump may skip over lives outside the protected part.
    std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.Width()) * 3);
    jpeg_compress_struct cinfo{};
    TJpegError error{};
    cinfo.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = JpegErrorExit;
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    if (setjmp(error.Jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(memory);
        throw EKestrundError(std::string("JPEG error: ") + error.Text);
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &memory, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.Width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor c = picture.Pixel(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<JSAMPLE>(c & 0xFF);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<JSAMPLE>((c >> 8) & 0xFF);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<JSAMPLE>((c >> 16) & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> out(memory, memory + size);
    jpeg_destroy_compress(&cinfo);
    std::free(memory);
    return out;
}

void WriteBmp(const TRgbSurface& picture, const std::string& fileName)
{
    WriteWholeFile(fileName, EncodeBmp(picture));
}

void WriteJpeg(const TRgbSurface& picture, const std::string& fileName)
{
    WriteWholeFile(fileName, EncodeJpeg(picture));
}

std::string LowerCaseExtension(const std::string& fileName)
{
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

TViewImageFormat ViewImageFormatOf(const std::string& fileName)
{
    const std::string extension = LowerCaseExtension(fileName);
    if (extension == ".tga")
        return TViewImageFormat::Targa;
    if (extension == ".bmp")
        return TViewImageFormat::Bitmap;
    if (extension == ".jpg" || extension == ".jpeg" || extension == ".jif")
        return TViewImageFormat::Jpeg;
    return TViewImageFormat::None;
}

bool SaveViewImage(const TTileFile& set, const TViewState& view, const TTileRule* rule, TColor transparent,
                   TColor shadow, const std::string& fileName)
{
    switch (ViewImageFormatOf(fileName)) {
    case TViewImageFormat::Targa:
        WriteTGA(ComposeTargaView(set, view, rule, transparent, shadow), fileName);
        return true;
    case TViewImageFormat::Bitmap:
        WriteBmp(ComposeView(set, view, rule), fileName);
        return true;
    case TViewImageFormat::Jpeg:
        WriteJpeg(ComposeView(set, view, rule), fileName);
        return true;
    case TViewImageFormat::None:
        break;
    }
    return false;
}

} // namespace kestrund
