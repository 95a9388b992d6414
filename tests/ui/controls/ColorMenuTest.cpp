#include "QtPrinters.h"
#include "ColorMenu.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <vector>

using namespace kestrund;

TEST(ColorMenu, HoldsTheColourItemsAroundOneSeparator)
{
    ColorMenu menu;
    QStringList captions;
    for (const QAction* action : menu.actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions.join(','), "Black,Maroon,Green,Olive,Navy,Purple,Teal,Gray,Silver,Red,Lime,Yellow,"
                                  "Blue,Fuchsia,Aqua,White,-,Custom,System");
    const TColor colors[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                             0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                             0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF, 0x808080, 0x8000000F};
    for (int i = 0; i < ColorMenu::ColorItemCount; ++i)
        EXPECT_EQ(ColorMenu::ItemColor(menu.ColorItem(i)), colors[i]) << i;
}

TEST(ColorMenu, ChoosingAnItemAppliesItsColour)
{
    ColorMenu menu;
    QSignalSpy chosen(&menu, &ColorMenu::ColorChosen);
    menu.ColorItem(9)->trigger();
    menu.ColorItem(ColorMenu::SystemItem)->trigger();
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(0).at(0).value<TColor>(), 0x0000FFu);
    EXPECT_EQ(chosen.at(1).at(0).value<TColor>(), 0x8000000Fu);
}

TEST(ColorMenu, CustomAsksTheChooserAndKeepsAConfirmedColour)
{
    ColorMenu menu;
    std::vector<TColor> asked;
    std::optional<TColor> answer = 0x123456;
    menu.SetColorChooser([&](TColor initial, QWidget*) {
        asked.push_back(initial);
        return answer;
    });
    QSignalSpy chosen(&menu, &ColorMenu::ColorChosen);
    QAction* custom = menu.ColorItem(ColorMenu::CustomItem);

    custom->trigger();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<TColor>(), 0x123456u);
    EXPECT_EQ(ColorMenu::ItemColor(custom), 0x123456u);

    answer.reset(); // cancelled: nothing applied, the colour stays
    custom->trigger();
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(ColorMenu::ItemColor(custom), 0x123456u);
    EXPECT_EQ(asked, (std::vector<TColor>{0x808080, 0x123456}));
}

TEST(ColorMenu, ItemsAreDrawnWiderWithASwatchAndTheHighlight)
{
    QMenu plain;
    ColorMenu menu;
    for (QAction* action : menu.actions())
        action->isSeparator() ? (void)plain.addSeparator() : (void)plain.addAction(action->text());
    EXPECT_EQ(menu.actionGeometry(menu.ColorItem(0)).width(),
              plain.actionGeometry(plain.actions().at(0)).width() + ColorMenu::ExtraItemWidth);

    QPalette palette = menu.palette();
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    palette.setColor(QPalette::Highlight, QColor(4, 5, 6));
    menu.setPalette(palette);
    menu.setActiveAction(menu.ColorItem(9)); // Red
    const QImage image = menu.grab().toImage();

    const QRect red = menu.actionGeometry(menu.ColorItem(9));
    const int middle = red.center().y();
    EXPECT_EQ(image.pixelColor(red.left() + 2, middle), QColor(Qt::black));      // swatch outline
    EXPECT_EQ(image.pixelColor(red.left() + 34, middle), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(red.left() + 18, middle), QColor(255, 0, 0));     // swatch fill
    EXPECT_EQ(image.pixelColor(red.left() + 36, middle), QColor(4, 5, 6));       // highlighted
    EXPECT_EQ(image.pixelColor(red.right() - 2, red.top() + 1), QColor(4, 5, 6));

    const QRect gray = menu.actionGeometry(menu.ColorItem(7));
    EXPECT_EQ(image.pixelColor(gray.left() + 18, gray.center().y()), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(image.pixelColor(gray.right() - 2, gray.center().y()), QColor(7, 8, 9)); // button face
}

class ColorSwatch : public ::testing::TestWithParam<TColor> {};

TEST_P(ColorSwatch, ClearsTheOutsideAndFillsTheColourRectangle)
{
    const TColor swatchColor = GetParam();
    // White glyph with a black frame: the ring outside the frame is connected to (0, 0), the
    // inside is not.
    QImage glyph(24, 16, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    for (int x = 1; x <= 22; ++x)
        glyph.setPixelColor(x, 1, Qt::black), glyph.setPixelColor(x, 14, Qt::black);
    for (int y = 1; y <= 14; ++y)
        glyph.setPixelColor(1, y, Qt::black), glyph.setPixelColor(22, y, Qt::black);

    const QImage swatch = ColorSwatchGlyph(glyph, swatchColor, QPalette());
    const QColor color = ColorToQColor(swatchColor);
    EXPECT_EQ(swatch.pixelColor(0, 0), QColor(Qt::transparent)); // no ring of a key colour
    EXPECT_EQ(swatch.pixelColor(23, 15), QColor(Qt::transparent));
    EXPECT_EQ(swatch.pixelColor(1, 1), QColor(Qt::black));
    EXPECT_EQ(swatch.pixelColor(2, 2), color);
    EXPECT_EQ(swatch.pixelColor(21, 12), color);
    EXPECT_EQ(swatch.pixelColor(2, 13), QColor(Qt::white));   // below the rectangle, inside the frame
    EXPECT_EQ(swatch.pixelColor(22, 5), QColor(Qt::black));   // right of the rectangle
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorSwatch, ::testing::Values(0x0000FFu, 0x008080u)); // olive: the old key

TEST(ColorSwatch, SmallGlyphsAreClipped)
{
    QImage glyph(8, 8, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    const QImage swatch = ColorSwatchGlyph(glyph, 0xFF0000, QPalette());
    EXPECT_EQ(swatch.size(), QSize(8, 8));
    EXPECT_EQ(swatch.pixelColor(0, 0), QColor(Qt::transparent));
    EXPECT_EQ(swatch.pixelColor(7, 7), QColor(0, 0, 255));
    EXPECT_TRUE(ColorSwatchGlyph(QImage(), 0, QPalette()).isNull());
}
