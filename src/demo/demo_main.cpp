// kestrund-demo FOLDER: writes the demo tile set into FOLDER as gtset555.til,
// gtset565.til and demo.src with its pictures in demo/.

#include "DemoSet.h"
#include "ScriptExport.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: kestrund-demo FOLDER\n";
        return 2;
    }
    try {
        namespace fs = std::filesystem;
        const fs::path folder(argv[1]);
        const auto set = kestrund::MakeDemoSet();
        fs::create_directories(folder);
        set->SaveToFile((folder / "gtset555.til").string(), kestrund::cmRGB555);
        set->SaveToFile((folder / "gtset565.til").string(), kestrund::cmRGB565);
        fs::remove_all(folder / "demo"); // no picture of an older demo stays behind
        fs::create_directory(folder / "demo");
        kestrund::ExportScript(*set, "demo", (folder / "demo.src").string());
    } catch (const std::exception& e) {
        std::cerr << "kestrund-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
