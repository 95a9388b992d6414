#pragma once
// The scratch folder every file-touching test works in, whole-file helpers, and the
// message of an expected error.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>

namespace kestrund::testing {

// A fresh, empty folder, removed with everything in it when the test ends.
class TScratchDir {
public:
    TScratchDir()
    {
        std::string name = (std::filesystem::temp_directory_path() / "kestrund-test-XXXXXX").string();
        if (!::mkdtemp(name.data()))
            throw std::runtime_error("cannot make a scratch folder like " + name);
        FPath = name;
    }
    ~TScratchDir()
    {
        std::error_code ignored; // a test may have taken the folder's write permission away
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    std::string operator/(const std::string& name) const { return (FPath / name).string(); }
    const std::filesystem::path& Path() const { return FPath; }

    std::vector<std::string> Entries() const // names of everything in the folder, sorted
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(FPath))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path FPath;
};

// Returns the file's name.
inline std::string SaveBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(fileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << fileName;
    return fileName;
}

// The file's bytes; empty when it cannot be read.
inline std::vector<std::uint8_t> LoadBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& fileName)
{
    const auto bytes = LoadBytes(fileName);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteText(const std::string& fileName, const std::string& text)
{
    SaveBytes(fileName, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Log file text as messages (each message ends in CR LF).
inline std::vector<std::string> LogMessages(const std::string& text)
{
    std::vector<std::string> messages;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        messages.push_back(text.substr(start, end - start));
    }
    return messages;
}

// A shell command's exit status (-1 when it did not exit) and standard output.
inline std::pair<int, std::string> ShellCommand(const std::string& command)
{
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        out += static_cast<char>(c);
    const int status = pipe ? ::pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// The message of the E that f raises, or "no error".
template <class E, class F>
std::string Thrown(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

} // namespace kestrund::testing
