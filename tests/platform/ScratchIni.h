#pragma once
// A settings file of the test's own in the scratch folder.

#include "Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kestrund::testing {

class TScratchIni : public ::testing::Test {
protected:
    std::string Path() const { return Scratch.File("k.ini"); }
    // The file's text; empty when there is no file.
    std::string Text() const { return ReadText(Path()); }
    TScratchDir Scratch;
    const std::filesystem::path& Dir = Scratch.Path();
};

} // namespace kestrund::testing
