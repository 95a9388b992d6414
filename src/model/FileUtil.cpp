#include "FileUtil.h"

#include "Errors.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#ifdef _WIN32
#define NOMINMAX
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

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

namespace {
// "<target>.kestrund-<pid>-<n>.tmp": the writer's process id in the name lets a later
// save tell a killed writer's leftover from a file another writer is still filling.
const std::string TempMark = ".kestrund-";
const std::string TempEnd = ".tmp";

long CurrentProcess()
{
#ifdef _WIN32
    return static_cast<long>(::GetCurrentProcessId());
#else
    return static_cast<long>(::getpid());
#endif
}

bool ProcessRuns(long pid)
{
#ifdef _WIN32
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return ::GetLastError() != ERROR_INVALID_PARAMETER; // no such process
    const bool runs = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return runs;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

// The file's data on the disk, not only in the system's cache.
bool FlushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)))) != 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

// Replaces target by temp; with sync, the new entry is on the disk when this returns.
void Replace(const std::filesystem::path& temp, const std::filesystem::path& target, TWriteSync sync,
             std::error_code& error)
{
#ifdef _WIN32
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (sync == TWriteSync::Disk ? MOVEFILE_WRITE_THROUGH : 0);
    if (!::MoveFileExW(temp.c_str(), target.c_str(), flags))
        error = std::error_code(static_cast<int>(::GetLastError()), std::system_category());
#else
    std::filesystem::rename(temp, target, error);
    if (error || sync != TWriteSync::Disk)
        return;
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // Some file systems cannot sync a folder (EINVAL): there the rename is as durable as it gets.
    if (fd < 0 || (::fsync(fd) != 0 && errno != EINVAL))
        error = std::error_code(errno, std::generic_category());
    if (fd >= 0)
        ::close(fd);
#endif
}
} // namespace

long TemporaryFileWriter(const std::string& fileName)
{
    const std::size_t mark = fileName.rfind(TempMark);
    if (mark == std::string::npos || mark == 0 || !fileName.ends_with(TempEnd))
        return 0;
    const std::string numbers = fileName.substr(mark + TempMark.size(),
                                                fileName.size() - TempEnd.size() - mark - TempMark.size());
    const std::size_t dash = numbers.find('-');
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.size() <= 9 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string::npos || !digits(numbers.substr(0, dash)) || !digits(numbers.substr(dash + 1)))
        return 0;
    return std::stol(numbers.substr(0, dash));
}

void RemoveStaleTemporaryFiles(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const std::string listed = folder.empty() ? "." : folder;
    for (fs::directory_iterator it(listed, error), end; !error && it != end; it.increment(error)) {
        const long pid = TemporaryFileWriter(it->path().filename().string());
        std::error_code ignored;
        if (pid > 0 && pid != CurrentProcess() && !ProcessRuns(pid) && it->is_regular_file(ignored))
            fs::remove(it->path(), ignored);
    }
}

void WriteWholeFile(const std::string& fileName, std::span<const std::uint8_t> data, TWriteSync sync)
{
    namespace fs = std::filesystem;
    const fs::path target = LinkTarget(fileName);
    // Leftovers are looked for only here: a folder listing per picture would slow an export.
    if (sync == TWriteSync::Disk)
        RemoveStaleTemporaryFiles(target.parent_path().string());
    // A unique name in the same folder, so the final rename stays on one file system. A
    // folder as target fails at the rename.
    static std::atomic<unsigned> number{0};
    const fs::path temp = target.parent_path() / (target.filename().string() + TempMark +
                                                  std::to_string(CurrentProcess()) + "-" +
                                                  std::to_string(number++ % 1000000000) + TempEnd);
    {
        std::FILE* out = std::fopen(temp.string().c_str(), "wb");
        if (!out)
            throw EFileCreateError(fileName, Reason(errno));
        errno = 0;
        const bool written = (data.empty() || std::fwrite(data.data(), 1, data.size(), out) == data.size()) &&
                             (sync != TWriteSync::Disk || FlushToDisk(out));
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
    Replace(temp, target, sync, error);
    if (error) {
        std::error_code ignored;
        if (fs::exists(temp, ignored))
            fs::remove(temp, ignored);
        throw EFileCreateError(fileName, error.message());
    }
}

void SyncFolder(const std::string& folder)
{
#ifdef __linux__
    // One sync of the folder's file system: far cheaper than one per file, which would
    // each wait for the disk.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::syncfs(fd) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        throw EFileCreateError(folder, Reason(error));
#else
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (!it->is_regular_file(ignored))
            continue;
        std::FILE* file = std::fopen(it->path().string().c_str(), "r+b");
        const bool flushed = file && FlushToDisk(file);
        if (file)
            std::fclose(file);
        if (!flushed)
            throw EFileCreateError(it->path().string(), Reason(errno));
    }
    if (error)
        throw EFileCreateError(folder, error.message());
#endif
}

} // namespace kestrund
