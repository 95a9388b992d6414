#pragma once
// A settings file of the test's own in a scratch folder.

#include "FileUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace kestrund::testing {

class TScratchIni : public ::testing::Test {
protected:
    TScratchIni()
    {
        std::random_device seed;
        Dir = std::filesystem::temp_directory_path() / ("kestrund-ini-" + std::to_string(seed()));
        std::filesystem::create_directories(Dir);
    }
    ~TScratchIni() override { std::filesystem::remove_all(Dir); }
    std::string Path() const { return (Dir / "k.ini").string(); }
    // The file's text; empty when there is no file.
    std::string Text() const
    {
        if (!std::filesystem::exists(Path()))
            return "";
        const auto bytes = ReadWholeFile(Path());
        return std::string(bytes.begin(), bytes.end());
    }
    std::filesystem::path Dir;
};

} // namespace kestrund::testing
