// kestrund-desktop-files FOLDER: writes the files an installed editor ships for the desktop
// (desktop entry, shared-mime-info package, scalable icon) below FOLDER, which stands for
// <prefix>/share. They are the ones Options → Register writes for one user, with the
// program named by its bare name, as the installed entry finds it on PATH.

#include "FileTypeRegistration.h"
#include "FileUtil.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: kestrund-desktop-files FOLDER\n";
        return 2;
    }
    try {
        namespace fs = std::filesystem;
        for (const auto& file : kestrund::FreedesktopFiles(kestrund::TileFileType(), "kestrund")) {
            const fs::path target = fs::path(argv[1]) / file.Path;
            fs::create_directories(target.parent_path());
            kestrund::WriteWholeFile(target.string(), {reinterpret_cast<const std::uint8_t*>(file.Text.data()),
                                                       file.Text.size()});
        }
    } catch (const std::exception& e) {
        std::cerr << "kestrund-desktop-files: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
