#include "EditorCommandLine.h"

#include <gtest/gtest.h>

#include <map>

using namespace kestrund;

TEST(EditorCommandLine, HelpVersionUsageErrorsAndTheDisplay)
{
    const std::map<std::string, std::string> desktop = {{"DISPLAY", ":0"}, {"KESTRUND_INI", "/env.ini"}};
    const std::map<std::string, std::string> headless = {{"KESTRUND_INI", "/env.ini"}};
    const std::map<std::string, std::string> offscreen = {{"QT_QPA_PLATFORM", "offscreen"}};
    struct TCase {
        std::vector<std::string> Args;
        const std::map<std::string, std::string>& Env;
        int Exit;         // -1: the editor runs
        const char* Says; // the start of what it prints (stdout for exit 0, else stderr)
        const char* Ini;
        const char* File;
    };
    const TCase cases[] = {
        {{"--help"}, headless, 0, "Usage: kestrund [--ini PATH] [FILE.til]\n", "", ""},
        {{"a.til", "-h"}, desktop, 0, "Usage: kestrund", "", ""},
        {{"--version"}, headless, 0, "kestrund 0.", "", ""},
        {{"--bogus"}, desktop, 2, "kestrund: unknown option '--bogus'\nUsage: kestrund", "", ""},
        {{"-x", "a.til"}, headless, 2, "kestrund: unknown option '-x'\n", "", ""},
        {{"--ini"}, desktop, 2, "kestrund: --ini needs a path\n", "", ""},
        {{"a.til", "b.til"}, desktop, 2, "kestrund: one file at a time, not 2\n", "", ""},
        {{"a.til"}, headless, 1,
         "kestrund: no display to open the window on: set DISPLAY, or QT_QPA_PLATFORM=offscreen for headless use\n",
         "", ""},
        {{"a.til"}, desktop, -1, "", "/env.ini", "a.til"},
        {{"--ini", "/k.ini", "--", "-odd.til"}, desktop, -1, "", "/k.ini", "-odd.til"},
        {{"--ini=/k.ini", "-style", "fusion", "a.til"}, offscreen, -1, "", "/k.ini", "a.til"},
        {{"-platform", "offscreen", "--reverse"}, headless, -1, "", "/env.ini", ""},
    };
    for (const TCase& c : cases) {
        const auto env = [&c](const char* name) -> const char* {
            const auto found = c.Env.find(name);
            return found == c.Env.end() ? nullptr : found->second.c_str();
        };
        const TEditorCommandLine line = ParseEditorCommandLine(c.Args, env, true);
        const std::string trace = c.Args.front();
        EXPECT_EQ(line.Run ? -1 : line.ExitCode, c.Exit) << trace;
        EXPECT_EQ((line.ExitCode == 0 ? line.Out : line.Err).rfind(c.Says, 0), 0u) << trace;
        if (line.Run) {
            EXPECT_EQ(line.IniPath, c.Ini) << trace;
            EXPECT_EQ(line.FileToOpen, c.File) << trace;
        }
    }
}
