#pragma once
// The folder a benchmark writes its files in: made on first use, removed when the
// program ends.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace kestrund::bench {

// name: a word for the folder's name, taken at the first call (one folder per program).
inline const std::string& ScratchFolder(const char* name)
{
    struct TFolder {
        std::string Path;
        explicit TFolder(const char* name) : Path("/tmp/kestrund-" + std::string(name) + "-XXXXXX")
        {
            if (!::mkdtemp(Path.data()))
                throw std::runtime_error("no scratch folder like " + Path);
        }
        ~TFolder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(Path, ignored);
        }
    };
    static const TFolder folder(name);
    return folder.Path;
}

} // namespace kestrund::bench
