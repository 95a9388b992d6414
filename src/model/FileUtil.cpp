#include "FileUtil.h"

#include "Errors.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace kestrund {

namespace {
struct TCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
} // namespace

namespace {
// The system's own words for why a file failed; a failure without an error number is
// taken for an input/output error.
std::string Reason(int error) { return std::strerror(error ? error : EIO); }

[[noreturn]] void OpenFailed(const std::string& fileName, int error)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(fileName, ignored))
        error = EISDIR;
    throw EFileOpenError(fileName, Reason(error));
}

// Where a write to fileName really lands: through symbolic links to the file they name,
// so a link stays a link.
std::filesystem::path LinkTarget(std::filesystem::path path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        const fs::path next = fs::read_symlink(path, error);
        if (error)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}
} // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName)
{
    // Plain stdio and no look-up by name besides the opening: an import reads hundreds
    // of small pictures, and each look-up costs about as much as reading one of them.
    errno = 0;
    const std::unique_ptr<std::FILE, TCloser> in(std::fopen(fileName.c_str(), "rb"));
    if (!in || std::fseek(in.get(), 0, SEEK_END) != 0)
        OpenFailed(fileName, errno);
    const long size = std::ftell(in.get());
    if (size < 0 || std::fseek(in.get(), 0, SEEK_SET) != 0)
        OpenFailed(fileName, errno);
    // A folder opens as a stream on some systems and may claim any size, but fails to
    // read: the size is believed only once its first part has been read.
    constexpr std::size_t FirstPart = 1 << 16;
    const std::size_t total = static_cast<std::size_t>(size);
    std::vector<std::uint8_t> data(std::min(total, FirstPart));
    if (total == 0) {
        if (std::fgetc(in.get()) == EOF && std::ferror(in.get()))
            OpenFailed(fileName, errno);
        return data;
    }
    if (std::fread(data.data(), 1, data.size(), in.get()) != data.size())
        OpenFailed(fileName, errno);
    if (total > FirstPart) {
        data.resize(total);
        if (std::fread(data.data() + FirstPart, 1, total - FirstPart, in.get()) != total - FirstPart)
            OpenFailed(fileName, errno);
    }
    return data;
}

void WriteWholeFile(const std::string& fileName, std::span<const std::uint8_t> data)
{
    namespace fs = std::filesystem;
    const fs::path target = LinkTarget(fileName);
    // A unique name in the same folder, so the final rename stays on one file system: a
    // random start per process and a running number (a random device per file costs
    // more than writing a small picture). A folder as target fails at the rename.
    static const unsigned start = std::random_device()();
    static std::atomic<unsigned> number{0};
    const fs::path temp = target.parent_path() /
                          (target.filename().string() + ".tmp" + std::to_string((start + number++) % 1000000));
    {
        std::FILE* out = std::fopen(temp.string().c_str(), "wb");
        if (!out)
            throw EFileCreateError(fileName, Reason(errno));
        errno = 0;
        const bool written = data.empty() || std::fwrite(data.data(), 1, data.size(), out) == data.size();
        const int writeError = errno;
        const bool closed = std::fclose(out) == 0;
        if (!written || !closed) {
            const int error = written ? errno : writeError;
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw EFileCreateError(fileName, Reason(error));
        }
    }
    std::error_code error;
    // The new file keeps the old one's permissions (a read-only or shared set stays so).
    const fs::file_status old = fs::status(target, error);
    if (!error && fs::is_regular_file(old))
        fs::permissions(temp, old.permissions(), error);
    error.clear();
    fs::rename(temp, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw EFileCreateError(fileName, error.message());
    }
}

} // namespace kestrund
