#include "QtPrinters.h"
#include "ColorComboBox.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace kestrund;

TEST(ColorComboBox, HasTheEighteenItemsInOrderAndStartsWithoutSelection)
{
    TColorComboBox combo;
    QStringList names;
    for (int i = 0; i < combo.count(); ++i)
        names << combo.itemText(i);
    EXPECT_EQ(names.join(','), "Black,Maroon,Green,Olive,Navy,Purple,Teal,Gray,Silver,Red,Lime,Yellow,"
                               "Blue,Fuchsia,Aqua,White,Custom,System");
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.CustomColor(), 0x808080u);
    EXPECT_EQ(combo.SelColor(), 0x808080u); // no selection reads the custom colour
    combo.SetCustomColor(0x123456);
    EXPECT_EQ(combo.SelColor(), 0x123456u);
}

struct SelCase {
    TColor written;
    int index;
    TColor customAfter;
};

class ColorComboSelColor : public ::testing::TestWithParam<SelCase> {};

TEST_P(ColorComboSelColor, MapsColoursToItems)
{
    const SelCase& c = GetParam();
    TColorComboBox combo;
    combo.SetSelColor(c.written);
    EXPECT_EQ(combo.currentIndex(), c.index);
    EXPECT_EQ(combo.SelColor(), c.written);
    EXPECT_EQ(combo.CustomColor(), c.customAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorComboSelColor, ::testing::Values(
    SelCase{0x000000, 0, 0x808080},
    SelCase{0x008080, 3, 0x808080},
    SelCase{0x808080, 7, 0x808080},    // Gray, even though Custom holds the same value
    SelCase{0xC0C0C0, 8, 0x808080},
    SelCase{0xFF0000, 12, 0x808080},
    SelCase{0xFFFFFF, 15, 0x808080},
    SelCase{0x8000000F, 17, 0x808080},
    SelCase{0x404040, 16, 0x404040},
    SelCase{0x80000005, 16, 0x80000005}, // another system colour is a custom one
    SelCase{0x01C0C0C0, 16, 0x01C0C0C0}));

struct CustomTextCase {
    TColor custom;
    TColor text;
};

class ColorComboCustomText : public ::testing::TestWithParam<CustomTextCase> {};

TEST_P(ColorComboCustomText, IsTheInverseUnlessThatWouldVanish)
{
    TColorComboBox combo;
    QPalette palette = combo.palette();
    palette.setColor(QPalette::Base, QColor(0x10, 0x20, 0x30));
    combo.setPalette(palette);
    combo.SetCustomColor(GetParam().custom);
    EXPECT_EQ(combo.ItemTextColor(TColorComboBox::CustomItem), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorComboCustomText, ::testing::Values(
    CustomTextCase{0x404040, 0xBFBFBF},
    CustomTextCase{0x00FF80, 0xFF007F},   // one far channel is enough
    CustomTextCase{0x808080, 0x000000},   // the default: grey on grey otherwise
    CustomTextCase{0x7F7F7F, 0xFFFFFF},
    CustomTextCase{0x9F7070, 0xFFFFFF},
    CustomTextCase{0x80000005, 0xCFDFEF})); // a system colour inverts as it is shown

namespace {

QImage DrawnItem(const TColorComboBox& combo, int index, bool selected)
{
    QImage image(120, combo.ItemHeight(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    combo.DrawItem(painter, index, image.rect(), selected);
    return image;
}

bool ContainsColor(const QImage& image, const QRect& area, const QColor& color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

} // namespace

TEST(ColorComboBox, DrawsAnOutlinedFilledBoxWithTheName)
{
    TColorComboBox combo;
    QPalette palette = combo.palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Highlight, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    combo.setPalette(palette);

    const QImage navy = DrawnItem(combo, 4, false);
    const int bottom = navy.height() - 1;
    EXPECT_EQ(navy.pixelColor(0, 0), QColor(1, 2, 3));          // background ring
    EXPECT_EQ(navy.pixelColor(119, bottom), QColor(1, 2, 3));
    EXPECT_EQ(navy.pixelColor(1, 1), QColor(Qt::black));        // outline
    EXPECT_EQ(navy.pixelColor(118, bottom - 1), QColor(Qt::black));
    EXPECT_EQ(navy.pixelColor(110, bottom / 2), QColor(0, 0, 0x80)); // fill beyond the name
    EXPECT_TRUE(ContainsColor(navy, QRect(4, 2, 60, bottom - 3), Qt::white));
    EXPECT_FALSE(ContainsColor(navy, QRect(0, 0, 4, navy.height()), Qt::white)); // text starts at 4

    const QImage selected = DrawnItem(combo, 4, true);
    EXPECT_EQ(selected.pixelColor(0, 0), QColor(4, 5, 6));

    const QImage system = DrawnItem(combo, TColorComboBox::SystemItem, false);
    EXPECT_EQ(system.pixelColor(110, bottom / 2), QColor(7, 8, 9));
}

TEST(ColorComboBox, DisabledBoxDrawsEveryItemSilverWithGreyText)
{
    TColorComboBox combo;
    combo.setEnabled(false);
    for (int index : {0, 9, 16, 17}) {
        const QImage image = DrawnItem(combo, index, false);
        const int bottom = image.height() - 1;
        EXPECT_EQ(image.pixelColor(110, bottom / 2), QColor(0xC0, 0xC0, 0xC0)) << index;
        EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::black)) << index;
        EXPECT_TRUE(ContainsColor(image, QRect(4, 2, 60, bottom - 3), QColor(0x80, 0x80, 0x80))) << index;
    }
}
