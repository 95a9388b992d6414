// File-type registration: the registry table, the freedesktop files in a scratch home, the
// default-application line among other lines, and a registration that fails half-way.

#include "FileTypeRegistration.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

namespace {

const std::string kLine = "application/x-ctp-tile-file=kestrund.desktop";

struct TRegistrationHome : ::testing::Test {
    TScratchDir Dir;
    TRegistrationPlaces Places{Dir / "data", Dir / "config"};
    std::vector<std::vector<std::string>> Ran;
    TToolRunner Runner = [this](const std::vector<std::string>& argv) { Ran.push_back(argv); };

    void Put(const std::string& name, const std::string& text) const
    {
        fs::create_directories(fs::path(Dir / name).parent_path());
        WriteText(Dir / name, text);
    }
    std::vector<std::string> Files() const // every file below the home, relative, sorted
    {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(Dir.Path()))
            if (e.is_regular_file())
                names.push_back(fs::relative(e.path(), Dir.Path()).string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

TEST(Registration, RegistryTableExecLineAndDefaultApplication)
{
    const std::string program = "C:\\Program Files\\Kestrund\\kestrund.exe";
    EXPECT_EQ(RegistryValues(TileFileType(), program, program + ",0"),
              (std::vector<TRegistryValue>{
                  {".til", "", false, "CTP.TileFile"},
                  {"CTP.TileFile", "", false, "CivCTP/CTP2 Tile-File"},
                  {"CTP.TileFile", "EditFlags", true, std::string("\0\0\1\0", 4)},
                  {"CTP.TileFile", "AlwaysShowExt", false, ""},
                  {"CTP.TileFile\\Shell\\Open\\command", "", false, "\"" + program + "\" \"%1\""},
                  {"CTP.TileFile\\DefaultIcon", "", false, program + ",0"},
              }));
    EXPECT_EQ(RegistryKeys(TileFileType()), (std::vector<std::string>{".til", "CTP.TileFile"}));

    // The desktop entry's Exec line quotes the program; a name with a line break cannot be written.
    struct { std::string program, exec; } rows[] = {{"/a/b$c`d\"e", "Exec=\"/a/b\\\\$c\\\\`d\\\\\"e\" %f"},
                                                     {"/a\\b/100%", "Exec=\"/a\\\\\\\\b/100%%\" %f"},
                                                     {"kestrund", "Exec=kestrund %f"}};
    for (const auto& r : rows) {
        const auto files = FreedesktopFiles(TileFileType(), r.program);
        ASSERT_EQ(files.size(), 3u);
        EXPECT_NE(files[1].Text.find("\n" + r.exec + "\n"), std::string::npos) << files[1].Text;
    }
    EXPECT_TRUE(FreedesktopFiles(TileFileType(), "/a\nb").empty());

    // The default-application line among other lines.
    const std::string d = "[Default Applications]\n", ours = kLine + "\n";
    struct { std::string before; bool set; std::string after; } lists[] = {
        {"", true, d + ours},
        {d + ours, false, ""},
        {"[Added Associations]\na=b;\n", true, "[Added Associations]\na=b;\n\n" + d + ours},
        {"[Added Associations]\na=b;\n\n" + d + ours, false, "[Added Associations]\na=b;\n"},
        {d + "x=y.desktop\n\n[Other]\nz=1\n", true, d + "x=y.desktop\n" + ours + "\n[Other]\nz=1\n"},
        {d + ours + "\n[Other]\nz=1\n", false, "\n[Other]\nz=1\n"},
        {d + "application/x-ctp-tile-file=a.desktop\n x=1\napplication/x-ctp-tile-file = b\n", true, d + ours + " x=1\n"},
        {d + "application/x-ctp-tile-file=other.desktop\n", false, d + "application/x-ctp-tile-file=other.desktop\n"},
        {d + "application/x-ctp-tile-file=kestrund.desktop;\nq=r\n", false, d + "q=r\n"},
        {"[Added Associations]\n" + ours, false, "[Added Associations]\n" + ours},
        {"[Default Applications]\n\n[B]", false, "[Default Applications]\n\n[B]"},
    };
    for (const auto& r : lists)
        EXPECT_EQ(WithDefaultApplication(r.before, TileFileType(), r.set), r.after) << r.before << r.set;
}

TEST_F(TRegistrationHome, RegisterTwiceThenUnregisterKeepsOnlyOtherFilesAndLines)
{
    const std::string others = "[Default Applications]\ntext/plain=editor.desktop\n"
                               "application/x-ctp-tile-file=old.desktop\n\n[Added Associations]\nimage/png=v.desktop;\n";
    Put("config/mimeapps.list", others);
    for (const char* other : {"data/applications/other.desktop", "data/mime/packages/other.xml", "config/x.conf"})
        Put(other, "other");
    const auto before = Files();

    const std::string program = "/opt/Kestrund 1.0/kestrund";
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(RegisterFileType(TileFileType(), program, program + ",0", Places, Runner),
                  ".til has been registered to kestrund");
    const std::string desktop = "\n" + ReadText(Dir / "data/applications/kestrund.desktop");
    for (const char* line : {"[Desktop Entry]", "Type=Application", "Name=Kestrund",
                             "Exec=\"/opt/Kestrund 1.0/kestrund\" %f", "Icon=kestrund",
                             "MimeType=application/x-ctp-tile-file;", "Categories=Graphics;2DGraphics;"})
        EXPECT_NE(desktop.find("\n" + std::string(line) + "\n"), std::string::npos) << line;
    const std::string mime = ReadText(Dir / "data/mime/packages/kestrund-til.xml");
    for (const char* part : {"<mime-type type=\"application/x-ctp-tile-file\">", "<glob pattern=\"*.til\"/>",
                             "<comment>CivCTP/CTP2 Tile-File</comment>"})
        EXPECT_NE(mime.find(part), std::string::npos) << part;
    EXPECT_NE(ReadText(Dir / "data/icons/hicolor/scalable/apps/kestrund.svg").find("<svg"), std::string::npos);
    EXPECT_EQ(ReadText(Dir / "config/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n" + kLine + "\n\n[Added Associations]\nimage/png=v.desktop;\n");
    const std::vector<std::string> refresh = {"update-mime-database", Dir / "data/mime"},
                                   desktops = {"update-desktop-database", Dir / "data/applications"};
    EXPECT_EQ(Ran, (std::vector<std::vector<std::string>>{refresh, desktops, refresh, desktops}));

    EXPECT_EQ(UnregisterFileType(TileFileType(), Places, Runner), ".til has been unregistered.");
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(ReadText(Dir / "config/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\nimage/png=v.desktop;\n");
    EXPECT_EQ(Ran.size(), 6u);

    // Registered into an empty home, nothing is left behind but folders.
    TRegistrationPlaces fresh{Dir / "fresh/data", Dir / "fresh/config"};
    ASSERT_TRUE(RegisterFileType(TileFileType(), "/usr/bin/kestrund", "", fresh, nullptr));
    EXPECT_EQ(ReadText(Dir / "fresh/config/mimeapps.list"), "[Default Applications]\n" + kLine + "\n");
    ASSERT_TRUE(UnregisterFileType(TileFileType(), fresh, nullptr));
    EXPECT_EQ(Files(), before);
}

TEST_F(TRegistrationHome, FailuresAreSilentAndUndone)
{
    EXPECT_EQ(RegisterFileType(TileFileType(), "/bin/k\x1fx", "", Places, Runner), std::nullopt);
    EXPECT_EQ(RegisterFileType(TileFileType(), "/bin/k", "", {"", Dir / "config"}, Runner), std::nullopt);
    EXPECT_EQ(Files(), std::vector<std::string>{});
    // The icon cannot be written: the mime package and desktop entry written before it go again.
    Put("data/icons", "a file where a folder should be");
    Put("config/mimeapps.list", "[Default Applications]\nt/x=a.desktop\n");
    EXPECT_EQ(RegisterFileType(TileFileType(), "/bin/k", "", Places, Runner), std::nullopt);
    EXPECT_EQ(Files(), (std::vector<std::string>{"config/mimeapps.list", "data/icons"}));
    EXPECT_EQ(ReadText(Dir / "config/mimeapps.list"), "[Default Applications]\nt/x=a.desktop\n");
}

TEST(Registration, PlacesAndTools)
{
    EXPECT_EQ(UserRegistrationPlaces("/d", "/c", "/home/u").DataHome, "/d");
    const auto fallback = UserRegistrationPlaces("relative", "", "/home/u");
    EXPECT_EQ((std::vector{fallback.DataHome, fallback.ConfigHome}),
              (std::vector<std::string>{"/home/u/.local/share", "/home/u/.config"}));

    // A tool found on PATH runs with its arguments as given, no shell in between; a missing one is skipped.
    TScratchDir dir;
    WriteText(dir / "tool", "#!/bin/sh\nprintf '%s|' \"$@\" > \"${0%/*}/ran\"\n");
    fs::permissions(dir / "tool", fs::perms::owner_all);
    std::filesystem::create_directories(dir / "first/tool"); // a folder of that name is no tool
    const std::string path = std::getenv("PATH");
    setenv("PATH", ("/nonexistent:" + dir / "first" + "::" + dir.Path().string()).c_str(), 1);
    RunToolIfInstalled({"tool", "a b", "$HOME;*"});
    RunToolIfInstalled({"no-such-tool-here", "x"});
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(ReadText(dir / "ran"), "a b|$HOME;*|");
}
