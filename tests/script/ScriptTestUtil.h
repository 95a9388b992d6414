#pragma once
// Shared pieces of the script tests: a scratch folder and sets with pictures.

#include "FileUtil.h"
#include "TileFile.h"

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace kestrund::testing {

class TScratchDir {
public:
    TScratchDir()
    {
        std::random_device seed;
        Path = std::filesystem::temp_directory_path() / ("kestrund-script-" + std::to_string(seed()));
        std::filesystem::create_directories(Path);
    }
    ~TScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }
    std::filesystem::path Path;
};

inline std::string ReadText(const std::string& fileName)
{
    const auto bytes = ReadWholeFile(fileName);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteText(const std::string& fileName, const std::string& text)
{
    WriteWholeFile(fileName, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// Log file text as messages (each message ends in CR LF).
inline std::vector<std::string> LogMessages(const std::string& text)
{
    std::vector<std::string> messages;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            messages.push_back(text.substr(start));
            break;
        }
        messages.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return messages;
}

// A picture of random literal pixels, transparent and shadow runs. Where keepClear
// says so, the picture holds the transparent word.
template <class KeepClear>
TPictureBuffer RandomPicture(std::mt19937& rng, int width, int height, std::uint16_t transparent,
                             std::uint16_t shadow, KeepClear keepClear)
{
    TPictureBuffer picture(width, height, transparent);
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            const int run = 1 + static_cast<int>(rng() % 12);
            const unsigned kind = rng() % 3;
            for (int k = 0; k < run && x < width; ++k, ++x) {
                if (keepClear(x, y))
                    continue;
                std::uint16_t p = transparent;
                if (kind == 1)
                    p = shadow;
                else if (kind == 2)
                    p = static_cast<std::uint16_t>(rng() & 0xFFFF);
                picture(x, y) = p;
            }
        }
    }
    return picture;
}

// A set with several elements of every kind, every picture made of random runs,
// overlays kept off the tiles' ground (which a tile picture cannot keep apart).
// With literalKeyColors, some pictures hold the set's transparent and shadow words
// as ordinary pixels.
std::unique_ptr<TTileFile> MakeRichSet(unsigned seed, bool literalKeyColors);

} // namespace kestrund::testing
