#include "ColorComboBox.h"
#include "ColorMenu.h"
#include "ControlBeep.h"
#include "ExtSpinEdit.h"
#include "SpinArrows.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

// Readable failure messages for the Qt values compared here.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QColor& color, std::ostream* out) { *out << color.name(QColor::HexArgb).toStdString(); }
void PrintTo(const QRect& rect, std::ostream* out) { *out << std::unique_ptr<char[]>(QTest::toString(rect)).get(); }

using namespace kestrund;

namespace {
// Counts the beeps of the controls while alive.
struct BeepCounter {
    int count = 0;
    BeepHandler previous = SetBeepHandler([this] { ++count; });
    ~BeepCounter() { SetBeepHandler(previous); }
};

void Send(QWidget* widget, QEvent::Type type, Qt::FocusReason reason)
{
    QFocusEvent event(type, reason);
    QApplication::sendEvent(widget, &event);
}

bool Contains(const QImage& image, const QRect& area, const QColor& color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

const QString kNamedColors = "Black,Maroon,Green,Olive,Navy,Purple,Teal,Gray,Silver,Red,Lime,Yellow,Blue,Fuchsia,"
                              "Aqua,White";
} // namespace

TEST(TimerSpeedButton, RepeatsFirstAfter400ThenEvery100WhileHeldAndStopsOnErrors)
{
    TMyTimerSpeedButton button;
    button.resize(20, 10);
    QSignalSpy clicks(&button, &QAbstractButton::clicked), failures(&button, &TMyTimerSpeedButton::RepeatFailed);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.RepeatTimer(), nullptr) << "repeats only when allowed";
    button.SetTimeBtnState(TMyTimerSpeedButton::tbAllowTimer);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_NE(button.RepeatTimer(), nullptr);
    QTimer& timer = *button.RepeatTimer();
    EXPECT_TRUE(timer.isActive() && timer.interval() == 400 && clicks.count() == 1);
    EXPECT_EQ(timer.timerType(), Qt::PreciseTimer) << "never early";
    QMetaObject::invokeMethod(&timer, "timeout");
    EXPECT_TRUE(timer.interval() == 100 && clicks.count() == 2);
    for (QPoint at : {QPoint(50, 50), QPoint(5, 5)}) // dragged off, the timer goes on but the clicks pause
        QTest::mouseMove(&button, at), button.TimerExpired();
    EXPECT_EQ(clicks.count(), 3);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(!timer.isActive() && clicks.count() == 4) << "the release stops the timer and is a click of its own";
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(timer.interval(), 400) << "every press starts with the long pause";

    // A click that throws stops the repeat: a timed one reports the error, a direct one passes it on.
    QObject::connect(&button, &QAbstractButton::clicked, [] { throw std::runtime_error("step failed"); });
    QMetaObject::invokeMethod(&timer, "timeout");
    EXPECT_TRUE(!timer.isActive() && failures.value(0).value(0).toString() == "step failed");
    timer.start();
    EXPECT_THROW(button.TimerExpired(), std::runtime_error);
    EXPECT_FALSE(timer.isActive());
}

TEST(SpinButton, SplitsItsHeightClicksByKeyAndHandsTheFocusOn)
{
    TMySpinButton spin;
    EXPECT_EQ(spin.size(), QSize(20, 25));
    EXPECT_TRUE(spin.UpGlyph() == SpinArrowImage(u"SpinUp", spin.palette()) &&
                spin.DownGlyph() == SpinArrowImage(u"SpinDown", spin.palette())) << "the built-in arrows";
    spin.resize(10, 17);
    spin.show();
    EXPECT_EQ((std::array{spin.UpButton()->geometry(), spin.DownButton()->geometry()}),
              (std::array{QRect(0, 0, 15, 8), QRect(0, 7, 15, 10)})) << "one pixel overlap, at least 15 wide";
    // Space clicks the focused button, the arrow keys their own, which then has the focus; the
    // focused button is marked while the spin button has the focus.
    QString clicks;
    QObject::connect(&spin, &TMySpinButton::UpClick, [&clicks] { clicks += 'U'; });
    QObject::connect(&spin, &TMySpinButton::DownClick, [&clicks] { clicks += 'D'; });
    auto marked = [](TMyTimerSpeedButton* b) { return b->TimeBtnState().testFlag(TMyTimerSpeedButton::tbFocusRect); };
    Send(&spin, QEvent::FocusIn, Qt::TabFocusReason);
    EXPECT_TRUE(marked(spin.UpButton()) && !marked(spin.DownButton()));
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Up, Qt::Key_Space})
        QTest::keyClick(&spin, key);
    EXPECT_EQ(clicks, "UDDUU");
    Send(&spin, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_FALSE(marked(spin.UpButton()) || marked(spin.DownButton()));

    // A press gives the focus to the focus control, or to the spin button when the control cannot take it.
    QWidget window;
    auto *edit = new QLineEdit(&window), *other = new QLineEdit(&window);
    auto* pair = new TMySpinButton(&window);
    pair->move(0, 40), pair->SetFocusControl(edit);
    window.show(), window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(pair->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(edit->hasFocus() && pair->FocusedButton() == pair->DownButton());
    edit->setEnabled(false);
    other->setFocus();
    QTest::mouseClick(pair->UpButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(pair->hasFocus() && pair->FocusedButton() == pair->UpButton());
}

TEST(ExtSpinEdit, ReadsOnlyWholeNumbersAndWritesInTheTextsForm)
{
    const std::tuple<const char*, bool, std::optional<int>> reads[] = {
        {"42", false, 42}, {"  42", false, 42}, {"-7", false, -7}, {"+7", false, 7}, {"42 ", false, {}},
        {"abc", false, {}}, {"1.5", false, {}}, {"-", false, {}}, {"2147483647", false, INT_MAX},
        {"2147483648", false, {}}, {"-2147483648", false, INT_MIN}, {"99999999999999999999", false, {}},
        {"12c", true, 300}, {"9f", true, 159}, {"FFFFFFFF", true, -1}, {"000000001", true, 1},
        {"100000000", true, {}}, {"-A", true, {}},
        {" A", true, {}}, {"$A", true, {}}, {"G", true, {}}, {"", true, {}}};
    for (const auto& [text, hex, value] : reads)
        EXPECT_EQ(TExtSpinEdit::ParseValue(text, hex), value) << text;

    // Unreadable text reads as MinValue, reading does not range-check; hex and width keep the number.
    TExtSpinEdit edit;
    edit.SetMinValue(3), edit.SetMaxValue(300), edit.setText("abc");
    const int unreadable = edit.Value();
    edit.setText("500");
    EXPECT_EQ(std::pair(unreadable, edit.Value()), std::pair(3, 500));
    edit.SetValue(300), edit.SetHex(true), edit.SetHexWidth(4);
    const QString hex = edit.text();
    edit.SetHex(false);
    EXPECT_EQ(hex + ' ' + edit.text(), "012C 300");
}

TEST(ExtSpinEdit, StepsWrapAndBeepWhenReadOnly)
{
    struct { int min, max; bool loop; int increment, start; bool up; int expected; } steps[] = {
        {0, 10, true, 1, 10, true, 0}, {0, 10, true, 1, 0, false, 10}, {5, 15, true, 1, 15, true, 5},
        {0, 10, true, 5, 9, true, 3}, {0, 10, true, 5, 1, false, 7}, {0, 10, false, 1, 10, true, 10},
        {0, 100, false, 10, 95, true, 100}, {0, 0, false, 1, 5, true, 6}, {0, 0, true, 1, 5, true, 6},
        {0, 0, true, 1, 0, false, -1}, {0, 0, false, 1, INT_MAX, true, INT_MAX},
        {INT_MIN, INT_MAX, true, 1, INT_MAX, true, INT_MIN}, {INT_MIN, INT_MAX, true, 1, INT_MIN, false, INT_MAX}};
    for (const auto& s : steps) { // wrapping by the overshoot, only where there is a range
        TExtSpinEdit edit;
        edit.SetMinValue(s.min), edit.SetMaxValue(s.max), edit.SetLoop(s.loop), edit.SetIncrement(s.increment);
        edit.SetValue(s.start);
        s.up ? edit.UpClick() : edit.DownClick();
        EXPECT_EQ(edit.text(), QString::number(s.expected)) << s.start << (s.up ? " up" : " down");
    }
    // The arrow keys step in the text's form; read-only, every step beeps instead.
    BeepCounter beeps;
    TExtSpinEdit edit;
    edit.SetHex(true), edit.SetIncrement(16);
    QSignalSpy changed(&edit, &TExtSpinEdit::Changed);
    for (auto [key, text] : {std::pair{Qt::Key_Up, "10"}, {Qt::Key_Down, "00"}, {Qt::Key_Down, "FFFFFFF0"}}) {
        QTest::keyClick(&edit, key);
        EXPECT_EQ(edit.text(), text);
    }
    edit.setReadOnly(true);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(&edit, key);
    edit.Button()->UpButton()->Click(), edit.Button()->DownButton()->Click();
    EXPECT_TRUE(beeps.count == 4 && changed.count() == 3) << beeps.count << ' ' << changed.count();
}

TEST(ExtSpinEdit, LetsOnlyNumberCharactersThrough)
{
    struct { bool hex, editor; QLocale locale; const char *typed, *text; int beeps; } cases[] = {
        {false, true, QLocale::c(), "12a3 ", "123", 2}, {false, true, QLocale::c(), "-5+", "-5+", 0},
        {false, true, QLocale::c(), "1.5", "1.5", 0}, {false, true, QLocale::c(), "1,5", "15", 1},
        {false, true, QLocale(QLocale::German), "1,5.", "1,5", 1}, {true, true, QLocale::c(), "1aFg", "1aF", 1},
        {false, false, QLocale::c(), "12", "", 2}};
    for (const auto& c : cases) {
        BeepCounter beeps;
        TExtSpinEdit edit;
        edit.setLocale(c.locale), edit.SetHex(c.hex), edit.setText(""), edit.SetEditorEnabled(c.editor);
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(std::pair(edit.text(), beeps.count), std::pair(QString(c.text), c.beeps)) << c.typed;
    }
    // Enter is refused with a beep, other control keys pass.
    BeepCounter beeps;
    TExtSpinEdit edit;
    edit.setText("123");
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete})
        QTest::keyClick(&edit, key);
    EXPECT_EQ(std::pair(edit.text(), beeps.count), std::pair(QString("2"), 2));
    // Without the editor only stepping changes the text: no typing, deleting, pasting or undoing.
    edit.SetValue(12), edit.SetEditorEnabled(false);
    QApplication::clipboard()->setText("77");
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Up})
        QTest::keyClick(&edit, key);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    edit.paste(), edit.undo();
    EXPECT_EQ(std::pair(edit.text(), beeps.count), std::pair(QString("13"), 3));
}

TEST(ExtSpinEdit, LeavingCorrectsOutOfRangeNumbersEnteringSelects)
{
    // A context menu or another window taking the focus is not leaving.
    const std::tuple<const char*, Qt::FocusReason, const char*> exits[] = {
        {"50", Qt::TabFocusReason, "10"}, {"-3", Qt::MouseFocusReason, "1"}, {"007", Qt::TabFocusReason, "007"},
        {"abc", Qt::TabFocusReason, "abc"}, {"50", Qt::PopupFocusReason, "50"},
        {"50", Qt::ActiveWindowFocusReason, "50"}};
    for (const auto& [typed, reason, after] : exits) {
        TExtSpinEdit edit;
        edit.SetMinValue(1), edit.SetMaxValue(10), edit.setText(typed);
        Send(&edit, QEvent::FocusOut, reason);
        EXPECT_EQ(edit.text(), after) << typed << ' ' << reason;
    }
    TExtSpinEdit edit;
    edit.SetValue(1234);
    auto enter = [&edit](Qt::FocusReason reason) {
        Send(&edit, QEvent::FocusOut, Qt::TabFocusReason), edit.deselect(), Send(&edit, QEvent::FocusIn, reason);
        return edit.selectedText() + '|';
    };
    EXPECT_EQ(enter(Qt::TabFocusReason) + enter(Qt::OtherFocusReason) + enter(Qt::MouseFocusReason), "1234|1234||");
    edit.SetAutoSelect(false);
    EXPECT_EQ(enter(Qt::TabFocusReason), "|");
}

TEST(ExtSpinEdit, LayoutAndArrows)
{
    TExtSpinEdit edit;
    QFont big = edit.font();
    big.setPointSize(big.pointSize() * 3);
    edit.setFont(big);
    const int bigHeight = QFontMetrics(big).height();
    EXPECT_EQ(edit.MinHeight(), bigHeight + std::min(bigHeight, QFontMetrics(QApplication::font()).height()) / 4 + 6);
    edit.resize(80, 3), edit.show(); // a hidden widget gets its resize events only when shown
    EXPECT_EQ(edit.height(), edit.MinHeight());
    const QRect button = edit.Button()->geometry();
    EXPECT_TRUE(button.width() == 15 && edit.rect().contains(button) && edit.width() - 1 - button.right() <= 4);
    EXPECT_EQ(edit.textMargins(), QMargins(0, 0, 17, 0));
    edit.setFrame(false), edit.resize(81, 30);
    EXPECT_EQ(edit.Button()->geometry(), QRect(81 - 15, 1, 15, edit.height() - 3));

    // The arrows follow SmallArrows and the enabled state; enabling reloads them over ones set by hand.
    auto arrows = [&edit, palette = edit.Button()->palette()](const char* kind) {
        return edit.Button()->UpGlyph() == SpinArrowImage(QString(kind) + "SpinUp", palette)
            && edit.Button()->DownGlyph() == SpinArrowImage(QString(kind) + "SpinDown", palette);
    };
    edit.SetSmallArrows(false);
    EXPECT_TRUE(arrows(""));
    edit.setEnabled(false), edit.SetSmallArrows(true);
    EXPECT_TRUE(arrows("InActiveSmall"));
    edit.Button()->SetUpGlyph(QImage(5, 5, QImage::Format_ARGB32));
    edit.setEnabled(true);
    EXPECT_TRUE(arrows("Small"));
    // Triangles on transparent ground: the up arrow's tip on top, the down arrow's at the bottom.
    QPalette black;
    black.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    const QImage up = SpinArrowImage(u"SpinUp", black), down = SpinArrowImage(u"SmallSpinDown", black);
    EXPECT_EQ((std::array{up.size(), down.size()}), (std::array{QSize(9, 6), QSize(7, 5)}));
    EXPECT_EQ((std::array{up.pixelColor(4, 0), up.pixelColor(0, 4), up.pixelColor(0, 0), down.pixelColor(3, 4),
                          down.pixelColor(0, 4)}),
              (std::array<QColor, 5>{Qt::black, Qt::black, Qt::transparent, Qt::black, Qt::transparent}));
}

TEST(SystemColors, PlainColoursHaveRedInTheLowByteSystemColoursFollowThePalette)
{
    EXPECT_EQ(ColorToQColor(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(QColorToColor(QColor(0x40, 0x80, 0xFF, 0x00)), 0x00FF8040u);
    using P = QPalette;
    const std::tuple<TColor, P::ColorGroup, P::ColorRole> roles[] = {
        {0x8000000F, P::Active, P::Button}, {0x80000012, P::Active, P::ButtonText},
        {0x8000000D, P::Active, P::Highlight},
        {0x8000000E, P::Active, P::HighlightedText}, {0x80000005, P::Active, P::Base}, {0x80000008, P::Active, P::Text},
        {0x80000011, P::Disabled, P::Text}, {0x80000018, P::Active, P::ToolTipBase},
        {0x80FFFF0F, P::Active, P::Button}}; // only the low byte names the colour
    for (const auto& [color, group, role] : roles) {
        QPalette palette;
        palette.setColor(group, role, QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(ColorToQColor(color, palette), QColor(0x12, 0x34, 0x56)) << std::hex << color;
    }
    for (TColor unknown : {0x80000019u, 0x800000FFu}) // an unused number, one past the table
        EXPECT_EQ(ColorToQColor(unknown, QPalette(Qt::white)), QColor(Qt::black)) << std::hex << unknown;
}

TEST(ColorComboBox, MapsColoursToItemsAndDrawsThem)
{
    TColorComboBox combo;
    QStringList names;
    for (int i = 0; i < combo.count(); ++i)
        names << combo.itemText(i);
    EXPECT_EQ(names.join(','), kNamedColors + ",Custom,System");
    EXPECT_EQ(combo.SelColor(), 0x808080u) << "no selection reads the custom colour";
    // Gray is item 7 even though Custom holds the same value; any other colour is a custom one.
    const std::tuple<TColor, int, TColor> selections[] = {
        {0x000000, 0, 0x808080}, {0x008080, 3, 0x808080}, {0x808080, 7, 0x808080}, {0xC0C0C0, 8, 0x808080},
        {0xFF0000, 12, 0x808080}, {0xFFFFFF, 15, 0x808080}, {0x8000000F, 17, 0x808080}, {0x404040, 16, 0x404040},
        {0x80000005, 16, 0x80000005}, {0x01C0C0C0, 16, 0x01C0C0C0}};
    for (const auto& [color, index, custom] : selections) {
        TColorComboBox box;
        box.SetSelColor(color);
        EXPECT_TRUE(box.currentIndex() == index && box.SelColor() == color && box.CustomColor() == custom)
            << std::hex << color;
    }
    // The custom item's text is the inverse colour unless that would vanish on it.
    QPalette palette = combo.palette();
    palette.setColor(QPalette::Base, QColor(0x10, 0x20, 0x30));
    combo.setPalette(palette);
    const std::pair<TColor, TColor> texts[] = {{0x404040, 0xBFBFBF}, {0x00FF80, 0xFF007F}, {0x808080, 0x000000},
                                               {0x7F7F7F, 0xFFFFFF}, {0x9F7070, 0xFFFFFF}, {0x80000005, 0xCFDFEF}};
    for (const auto& [custom, text] : texts) {
        combo.SetCustomColor(custom);
        EXPECT_EQ(combo.ItemTextColor(TColorComboBox::CustomItem), text) << std::hex << custom;
    }

    // Background (highlighted when selected), black outline, the fill beyond the bold name.
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Highlight, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    combo.setPalette(palette);
    auto draw = [&combo](int index, bool selected) {
        QImage image(120, combo.ItemHeight(), QImage::Format_RGB32);
        QPainter painter(&image);
        combo.DrawItem(painter, index, image.rect(), selected);
        return image;
    };
    const QImage navy = draw(4, false);
    const int bottom = navy.height() - 1;
    EXPECT_EQ((std::array{navy.pixelColor(0, 0), navy.pixelColor(119, bottom), navy.pixelColor(1, 1),
                          navy.pixelColor(118, bottom - 1), navy.pixelColor(110, bottom / 2),
                          draw(4, true).pixelColor(0, 0), draw(TColorComboBox::SystemItem, false).pixelColor(110, 3)}),
              (std::array<QColor, 7>{QColor(1, 2, 3), QColor(1, 2, 3), Qt::black, Qt::black, QColor(0, 0, 0x80),
                                     QColor(4, 5, 6), QColor(7, 8, 9)}));
    EXPECT_TRUE(Contains(navy, QRect(4, 2, 60, bottom - 3), Qt::white));
    combo.setEnabled(false);
    for (int index : {0, 9, 16, 17}) { // disabled, every item is silver with grey text
        const QImage image = draw(index, false);
        EXPECT_EQ(image.pixelColor(110, bottom / 2), QColor(0xC0, 0xC0, 0xC0)) << index;
        EXPECT_TRUE(Contains(image, QRect(4, 2, 60, bottom - 3), QColor(0x80, 0x80, 0x80))) << index;
    }
}

TEST(ColorMenu, HoldsTheColourItemsAppliesTheChosenOneAndDrawsSwatches)
{
    ColorMenu menu;
    QStringList captions;
    for (const QAction* action : menu.actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions.join(','), kNamedColors + ",-,Custom,System");
    const TColorComboBox box; // the same colours as the drop-down list
    for (int i = 0; i < ColorMenu::ColorItemCount; ++i)
        EXPECT_EQ(ColorMenu::ItemColor(menu.ColorItem(i)), box.ItemColor(i)) << i;

    // Custom asks the chooser and keeps a confirmed colour; cancelled, nothing is applied.
    std::vector<TColor> asked, applied;
    std::optional<TColor> answer = 0x123456;
    menu.SetColorChooser([&](TColor initial, QWidget*) { return asked.push_back(initial), answer; });
    QObject::connect(&menu, &ColorMenu::ColorChosen, [&applied](TColor color) { applied.push_back(color); });
    for (int item : {0, ColorMenu::CustomItem, -1, ColorMenu::CustomItem, ColorMenu::SystemItem}) // -1: cancel now on
        item < 0 ? answer.reset() : menu.ColorItem(item)->trigger();
    EXPECT_EQ(applied, (std::vector<TColor>{0x000000, 0x123456, 0x8000000F}));
    EXPECT_EQ(asked, (std::vector<TColor>{0x808080, 0x123456}));

    // Items are wider by room for the swatch; the highlight covers the active one.
    QMenu plain;
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
    const QRect red = menu.actionGeometry(menu.ColorItem(9)), gray = menu.actionGeometry(menu.ColorItem(7));
    const int y = red.center().y(), grayY = gray.center().y();
    EXPECT_EQ((std::array{image.pixelColor(red.left() + 2, y), image.pixelColor(red.left() + 34, y),
                          image.pixelColor(red.left() + 18, y), image.pixelColor(red.left() + 36, y),
                          image.pixelColor(red.right() - 2, red.top() + 1), image.pixelColor(gray.left() + 18, grayY),
                          image.pixelColor(gray.right() - 2, grayY)}),
              (std::array<QColor, 7>{Qt::black, Qt::black, QColor(255, 0, 0), QColor(4, 5, 6), QColor(4, 5, 6),
                                     QColor(0x80, 0x80, 0x80), QColor(7, 8, 9)}));
}

TEST(ColorSwatch, ClearsTheOutsideAndFillsTheColourRectangle)
{
    // A black frame on white: the ring outside it is connected to (0, 0), the inside is not. Its left
    // side is cut off at the top, so the fill reaches it only the long way round, leftwards and upwards.
    QImage glyph(24, 16, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    QPainter(&glyph).drawRect(1, 1, 21, 13);
    glyph.setPixelColor(0, 1, Qt::black);
    const QColor ground(Qt::transparent); // no ring of a key colour round the square
    for (const TColor color : {0x0000FFu, 0x008080u}) { // olive was the old key
        const QImage s = ColorSwatchGlyph(glyph, color, QPalette());
        EXPECT_EQ((std::array{s.pixelColor(0, 0), s.pixelColor(23, 15), s.pixelColor(0, 5), s.pixelColor(1, 1),
                              s.pixelColor(2, 2), s.pixelColor(21, 12), s.pixelColor(2, 13), s.pixelColor(22, 5)}),
                  (std::array{ground, ground, ground, QColor(Qt::black), ColorToQColor(color), ColorToQColor(color),
                              QColor(Qt::white), QColor(Qt::black)}));
    }
    glyph = glyph.copy(0, 0, 8, 8); // clipped
    const QImage small = ColorSwatchGlyph(glyph, 0xFF0000, QPalette());
    EXPECT_EQ((std::array{small.pixelColor(0, 0), small.pixelColor(7, 7)}),
              (std::array{ground, QColor(0, 0, 255)}));
}
