// Settings that the program cannot take as they stand: numbers beyond 32 bits, and a window
// stored where no screen is any more.

#include "MainSettings.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kestrund;

TEST(SettingsLimits, NumbersBeyond32BitsAreMalformed)
{
    kestrund::testing::TScratchDir dir;
    auto Path = [&] { return dir / "k.ini"; };
    struct TCase {
        const char* Text;
        long long Read; // with the default -7
    };
    static const TCase cases[] = {
        {"99999999999999999999", -7}, {"4294967295", -7},  {"2147483648", -7},         {"-2147483649", -7},
        {"2147483647", 2147483647},   {"-2147483648", -2147483648LL}, {"$FFFFFFFF", -1}, {"$100000000", -7},
    };
    for (const TCase& c : cases) {
        kestrund::testing::WriteText(Path(), std::string("[S]\r\nk=") + c.Text + "\r\n");
        EXPECT_EQ(TIniFile(Path()).ReadInteger("S", "k", -7), c.Read) << c.Text;
    }
    kestrund::testing::WriteText(Path(), "[Preferences]\r\nZoomFactor=99999999999999999999\r\n"
                                         "[Colors]\r\nBackGroundColor=4294967295\r\n");
    const TMainSettings s = ReadMainSettings(TIniFile(Path()), {"/opt/k", 1920, 1080});
    EXPECT_EQ(s.ZoomFactor, 1);
    EXPECT_EQ(s.BackGroundColor, 0xC0C0C0u);
}

TEST(WindowPlacement, AWindowOffEveryScreenComesBackOntoThePrimary)
{
    const std::vector<TScreenArea> twoScreens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const std::vector<TScreenArea> leftOfPrimary = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
    struct TCase {
        const char* Name;
        const std::vector<TScreenArea>& Screens;
        TWindowPlacement Stored, Placed;
    };
    const TCase cases[] = {
        {"on the primary", twoScreens, {100, 100, 800, 609, 0}, {100, 100, 800, 609, 0}},
        {"on the second", twoScreens, {2000, 100, 800, 609, 2}, {2000, 100, 800, 609, 2}},
        {"left of the primary", leftOfPrimary, {-1000, 50, 800, 609, 0}, {-1000, 50, 800, 609, 0}},
        {"monitor removed", twoScreens, {3500, 100, 800, 609, 2}, {560, 235, 800, 609, 2}},
        {"a sliver left", twoScreens, {-790, 100, 800, 609, 0}, {560, 235, 800, 609, 0}},
        {"too big as well", twoScreens, {5000, 5000, 2500, 1500, 0}, {0, 0, 1920, 1080, 0}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PlacedOnScreens(c.Stored, c.Screens), c.Placed) << c.Name;
}
