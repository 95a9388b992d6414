#include "QtPrinters.h"
#include "SystemColors.h"

#include <gtest/gtest.h>

using namespace kestrund;

TEST(SystemColors, PlainColoursHaveRedInTheLowByte)
{
    EXPECT_EQ(ColorToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ColorToQColor(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(QColorToColor(QColor(0x40, 0x80, 0xFF)), 0x00FF8040u);
    EXPECT_EQ(QColorToColor(QColor(0x12, 0x34, 0x56, 0x00)), 0x00563412u);
}

struct SystemCase {
    TColor color;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

class SystemColorRoles : public ::testing::TestWithParam<SystemCase> {};

TEST_P(SystemColorRoles, FollowThePalette)
{
    const SystemCase& c = GetParam();
    QPalette palette;
    const QColor marker(0x12, 0x34, 0x56);
    palette.setColor(c.group, c.role, marker);
    EXPECT_EQ(ColorToQColor(c.color, palette), marker);
}

INSTANTIATE_TEST_SUITE_P(Cases, SystemColorRoles, ::testing::Values(
    SystemCase{0x8000000F, QPalette::Active, QPalette::Button},
    SystemCase{0x80000012, QPalette::Active, QPalette::ButtonText},
    SystemCase{0x8000000D, QPalette::Active, QPalette::Highlight},
    SystemCase{0x8000000E, QPalette::Active, QPalette::HighlightedText},
    SystemCase{0x80000005, QPalette::Active, QPalette::Base},
    SystemCase{0x80000008, QPalette::Active, QPalette::Text},
    SystemCase{0x80000011, QPalette::Disabled, QPalette::Text},
    SystemCase{0x80000018, QPalette::Active, QPalette::ToolTipBase}));

TEST(SystemColors, UnknownSystemColoursAreBlack)
{
    QPalette palette(Qt::white);
    EXPECT_EQ(ColorToQColor(0x80000019, palette), QColor(Qt::black)); // unused number
    EXPECT_EQ(ColorToQColor(0x800000FF, palette), QColor(Qt::black));
    // Only the low byte names the colour.
    EXPECT_EQ(ColorToQColor(0x80FFFF0F, palette), palette.color(QPalette::Button));
}
