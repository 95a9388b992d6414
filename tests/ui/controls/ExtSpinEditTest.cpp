#include "QtPrinters.h"
#include "ControlBeep.h"
#include "ExtSpinEdit.h"
#include "SpinArrows.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <optional>

using namespace kestrund;

namespace {

// Counts the beeps of the controls while alive.
class BeepCounter {
public:
    BeepCounter() { previous_ = SetBeepHandler([this] { ++count; }); }
    ~BeepCounter() { SetBeepHandler(previous_); }
    int count = 0;

private:
    BeepHandler previous_;
};

void SendFocus(QWidget* widget, QEvent::Type type, Qt::FocusReason reason)
{
    QFocusEvent event(type, reason);
    QApplication::sendEvent(widget, &event);
}

} // namespace

// --- Writing a value: range check and text form ---------------------------------------------

struct WriteCase {
    int min, max;
    bool hex;
    int hexWidth;
    int value;
    const char* text;
};

class ExtSpinEditWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ExtSpinEditWrite, WritesTheRangeCheckedNumberAsText)
{
    const WriteCase& c = GetParam();
    TExtSpinEdit edit;
    edit.SetMinValue(c.min);
    edit.SetMaxValue(c.max);
    edit.SetHexWidth(c.hexWidth);
    edit.SetHex(c.hex);
    edit.SetValue(c.value);
    EXPECT_EQ(edit.text(), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtSpinEditWrite, ::testing::Values(
    WriteCase{0, 0, false, 2, 123456789, "123456789"},  // equal limits: no range at all
    WriteCase{0, 10, false, 2, 11, "10"},
    WriteCase{-5, 5, false, 2, -6, "-5"},
    WriteCase{10, 0, false, 2, 5, "10"},                // crossed limits: below min wins
    WriteCase{0, 0, true, 2, 10, "0A"},
    WriteCase{0, 0, true, 2, 300, "12C"},               // width is a minimum, never cuts
    WriteCase{0, 0, true, 0, 0, "0"},
    WriteCase{0, 0, true, 2, -1, "FFFFFFFF"},
    WriteCase{0, 0, true, 10, INT_MIN, "0080000000"},
    WriteCase{0, 0x7FFF, true, 2, 0x12345, "7FFF"}));

// --- Reading the text --------------------------------------------------------------------------

struct ParseCase {
    const char* text;
    bool hex;
    std::optional<int> value;
};

class ExtSpinEditParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ExtSpinEditParse, ReadsOnlyWholeNumbers)
{
    const ParseCase& c = GetParam();
    EXPECT_EQ(TExtSpinEdit::ParseValue(QString::fromLatin1(c.text), c.hex), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtSpinEditParse, ::testing::Values(
    ParseCase{"42", false, 42},
    ParseCase{"  42", false, 42},
    ParseCase{"-7", false, -7},
    ParseCase{"42 ", false, std::nullopt},
    ParseCase{"abc", false, std::nullopt},
    ParseCase{"1.5", false, std::nullopt},
    ParseCase{"-", false, std::nullopt},
    ParseCase{"2147483647", false, INT_MAX},
    ParseCase{"2147483648", false, std::nullopt},
    ParseCase{"-2147483648", false, INT_MIN},
    ParseCase{"99999999999999999999", false, std::nullopt},
    ParseCase{"12c", true, 300},
    ParseCase{"FFFFFFFF", true, -1},
    ParseCase{"000000001", true, 1},
    ParseCase{"100000000", true, std::nullopt},
    ParseCase{"-A", true, std::nullopt},
    ParseCase{" A", true, std::nullopt},
    ParseCase{"$A", true, std::nullopt},
    ParseCase{"", true, std::nullopt}));

TEST(ExtSpinEdit, UnreadableTextReadsAsMinValueAndReadingDoesNotRangeCheck)
{
    TExtSpinEdit edit;
    edit.setText("abc");
    EXPECT_EQ(edit.Value(), 0);
    edit.SetMinValue(3);
    edit.SetMaxValue(9);
    EXPECT_EQ(edit.Value(), 3);
    edit.setText("");
    EXPECT_EQ(edit.Value(), 3);
    edit.setText("50");
    EXPECT_EQ(edit.Value(), 50);
}

TEST(ExtSpinEdit, SwitchingHexOrWidthKeepsTheNumber)
{
    TExtSpinEdit edit;
    edit.SetHex(true);
    edit.SetValue(300);
    EXPECT_EQ(edit.text(), "12C");
    edit.SetHex(false);
    EXPECT_EQ(edit.text(), "300");
    edit.SetHex(true);
    edit.SetHexWidth(4);
    EXPECT_EQ(edit.text(), "012C");
    EXPECT_EQ(edit.Value(), 300);
    edit.SetValue(10);
    EXPECT_EQ(edit.text(), "000A");
}

// --- Stepping ------------------------------------------------------------------------------------

struct StepCase {
    int min, max;
    bool loop;
    int increment;
    int start;
    bool up;
    int expected;
};

class ExtSpinEditStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(ExtSpinEditStep, StepsAndWraps)
{
    const StepCase& c = GetParam();
    TExtSpinEdit edit;
    edit.SetMinValue(c.min);
    edit.SetMaxValue(c.max);
    edit.SetLoop(c.loop);
    edit.SetIncrement(c.increment);
    edit.SetValue(c.start);
    if (c.up)
        edit.UpClick();
    else
        edit.DownClick();
    EXPECT_EQ(edit.Value(), c.expected);
    EXPECT_EQ(edit.text(), QString::number(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtSpinEditStep, ::testing::Values(
    StepCase{0, 10, true, 1, 10, true, 0},
    StepCase{0, 10, true, 1, 0, false, 10},
    StepCase{5, 15, true, 1, 15, true, 5},
    StepCase{0, 10, true, 5, 9, true, 3},     // wraps by the overshoot
    StepCase{0, 10, true, 5, 1, false, 7},
    StepCase{0, 10, false, 1, 10, true, 10},
    StepCase{0, 100, false, 10, 95, true, 100},
    StepCase{0, 0, false, 1, 5, true, 6},
    StepCase{0, 0, true, 1, 5, true, 6},      // no range: nothing to wrap around
    StepCase{0, 0, true, 1, 0, false, -1},
    StepCase{0, 0, false, 1, INT_MAX, true, INT_MAX},
    StepCase{INT_MIN, INT_MAX, true, 1, INT_MAX, true, INT_MIN},
    StepCase{INT_MIN, INT_MAX, true, 1, INT_MIN, false, INT_MAX}));

TEST(ExtSpinEdit, UpAndDownKeysStepInTheTextForm)
{
    TExtSpinEdit edit;
    EXPECT_EQ(edit.text(), "0");
    edit.SetHex(true);
    edit.SetIncrement(16);
    QSignalSpy changed(&edit, &TExtSpinEdit::Changed);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "10");
    QTest::keyClick(&edit, Qt::Key_Down);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), "FFFFFFF0");
    EXPECT_EQ(changed.count(), 3);
}

TEST(ExtSpinEdit, ReadOnlyFieldBeepsOnEveryStepAndKeepsItsValue)
{
    BeepCounter beeps;
    TExtSpinEdit edit;
    edit.SetValue(5);
    edit.setReadOnly(true);
    QSignalSpy changed(&edit, &TExtSpinEdit::Changed);
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Down);
    edit.Button()->UpButton()->Click();
    edit.Button()->DownButton()->Click();
    EXPECT_EQ(beeps.count, 4);
    EXPECT_EQ(edit.text(), "5");
    EXPECT_EQ(changed.count(), 0);
}

// --- Typing filter ---------------------------------------------------------------------------

struct TypingCase {
    bool hex;
    bool editorEnabled;
    const char* typed;
    const char* text;
    int beeps;
};

class ExtSpinEditTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(ExtSpinEditTyping, LetsOnlyNumberCharactersThrough)
{
    const TypingCase& c = GetParam();
    BeepCounter beeps;
    TExtSpinEdit edit;
    edit.setLocale(QLocale::c());
    edit.SetHex(c.hex);
    edit.setText("");
    edit.SetEditorEnabled(c.editorEnabled);
    QTest::keyClicks(&edit, QString::fromLatin1(c.typed));
    EXPECT_EQ(edit.text(), QString::fromLatin1(c.text));
    EXPECT_EQ(beeps.count, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtSpinEditTyping, ::testing::Values(
    TypingCase{false, true, "12a3 ", "123", 2},
    TypingCase{false, true, "-5+", "-5+", 0},       // any sign is let through; reading judges
    TypingCase{false, true, "1.5", "1.5", 0},       // the locale's decimal separator
    TypingCase{false, true, "1,5", "15", 1},
    TypingCase{true, true, "1aFg", "1aF", 1},
    TypingCase{false, false, "12", "", 2}));

TEST(ExtSpinEdit, DecimalSeparatorComesFromTheLocale)
{
    BeepCounter beeps;
    TExtSpinEdit edit;
    edit.setLocale(QLocale(QLocale::German, QLocale::Germany));
    edit.setText("");
    QTest::keyClicks(&edit, "1,5.");
    EXPECT_EQ(edit.text(), "1,5");
    EXPECT_EQ(beeps.count, 1);
}

TEST(ExtSpinEdit, EnterIsRefusedWithABeepOtherControlKeysPass)
{
    BeepCounter beeps;
    TExtSpinEdit edit;
    edit.setText("123");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Enter);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "2");
    EXPECT_EQ(beeps.count, 2);
}

TEST(ExtSpinEdit, WithoutEditorTheTextOnlyChangesByStepping)
{
    BeepCounter beeps;
    TExtSpinEdit edit;
    edit.SetValue(12);
    edit.SetEditorEnabled(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(beeps.count, 1);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QApplication::clipboard()->setText("77");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    edit.paste();
    edit.selectAll();
    edit.cut();
    edit.insert("9");
    EXPECT_EQ(edit.text(), "12");
    QTest::keyClick(&edit, Qt::Key_Up);
    edit.undo();
    EXPECT_EQ(edit.text(), "13");

    edit.SetEditorEnabled(true);
    QApplication::clipboard()->setText("77"); // the refused cut above still copied
    edit.selectAll();
    edit.paste();
    EXPECT_EQ(edit.text(), "77");
}

// --- Leaving and entering the field --------------------------------------------------------------

struct ExitCase {
    const char* typed;
    Qt::FocusReason reason;
    const char* afterExit;
};

class ExtSpinEditExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExtSpinEditExit, CorrectsOutOfRangeNumbersOnLeaving)
{
    const ExitCase& c = GetParam();
    TExtSpinEdit edit;
    edit.SetMinValue(1);
    edit.SetMaxValue(10);
    edit.setText(QString::fromLatin1(c.typed));
    SendFocus(&edit, QEvent::FocusOut, c.reason);
    EXPECT_EQ(edit.text(), QString::fromLatin1(c.afterExit));
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtSpinEditExit, ::testing::Values(
    ExitCase{"50", Qt::TabFocusReason, "10"},
    ExitCase{"-3", Qt::MouseFocusReason, "1"},
    ExitCase{"007", Qt::TabFocusReason, "007"},          // in range: left as typed
    ExitCase{"abc", Qt::TabFocusReason, "abc"},          // reads as MinValue, which is in range
    ExitCase{"50", Qt::PopupFocusReason, "50"},          // a context menu is not leaving
    ExitCase{"50", Qt::ActiveWindowFocusReason, "50"})); // nor is another window

TEST(ExtSpinEdit, RealFocusChangeCorrectsTheValue)
{
    QWidget window;
    auto* edit = new TExtSpinEdit(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    edit->SetMaxValue(10);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, "99");
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit->text(), "10");
}

TEST(ExtSpinEdit, KeyboardEntrySelectsAllMouseEntryDoesNot)
{
    TExtSpinEdit edit;
    edit.SetValue(1234);
    auto enter = [&edit](Qt::FocusReason reason) {
        SendFocus(&edit, QEvent::FocusOut, Qt::TabFocusReason);
        edit.deselect();
        SendFocus(&edit, QEvent::FocusIn, reason);
        return edit.selectedText();
    };
    EXPECT_EQ(enter(Qt::TabFocusReason), "1234");
    EXPECT_EQ(enter(Qt::OtherFocusReason), "1234");
    EXPECT_EQ(enter(Qt::MouseFocusReason), "");
    edit.SetAutoSelect(false);
    EXPECT_EQ(enter(Qt::TabFocusReason), "");
}

// --- Layout and arrows ---------------------------------------------------------------------------

TEST(ExtSpinEdit, HeightNeverFallsBelowTheFontMinimum)
{
    TExtSpinEdit edit;
    QFont big = edit.font();
    big.setPointSize(big.pointSize() * 3);
    edit.setFont(big);
    const int bigHeight = QFontMetrics(big).height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    EXPECT_EQ(edit.MinHeight(), bigHeight + std::min(bigHeight, systemHeight) / 4 + 6);
    edit.resize(100, 3);
    EXPECT_EQ(edit.height(), edit.MinHeight());
}

TEST(ExtSpinEdit, ButtonSitsAtTheRightEdgeBesideTheText)
{
    TExtSpinEdit edit;
    edit.resize(80, 30);
    edit.show(); // a hidden widget gets its resize events only when shown
    const QRect button = edit.Button()->geometry();
    EXPECT_EQ(button.width(), 15);
    EXPECT_TRUE(edit.rect().contains(button));
    EXPECT_LE(edit.width() - 1 - button.right(), 4);
    EXPECT_EQ(edit.textMargins().right(), 17);

    edit.setFrame(false);
    edit.resize(81, 30);
    EXPECT_EQ(edit.Button()->geometry(), QRect(81 - 15, 1, 15, 30 - 3));
}

TEST(ExtSpinEdit, ArrowImagesFollowSmallArrowsAndEnabledState)
{
    TExtSpinEdit edit;
    const QPalette palette = edit.Button()->palette();
    auto expectArrows = [&](QStringView up, QStringView down, QSize size) {
        EXPECT_EQ(edit.Button()->UpGlyph(), SpinArrowImage(up, palette)) << up.toString().toStdString();
        EXPECT_EQ(edit.Button()->DownGlyph(), SpinArrowImage(down, palette)) << down.toString().toStdString();
        EXPECT_EQ(edit.Button()->UpGlyph().size(), size);
    };
    expectArrows(u"SmallSpinUp", u"SmallSpinDown", {7, 5});
    edit.SetSmallArrows(false);
    expectArrows(u"SpinUp", u"SpinDown", {9, 6});
    edit.setEnabled(false);
    expectArrows(u"InActiveSpinUp", u"InActiveSpinDown", {9, 6});
    edit.SetSmallArrows(true);
    expectArrows(u"InActiveSmallSpinUp", u"InActiveSmallSpinDown", {7, 5});

    // Enabling reloads the built-in images even over ones set by hand.
    QImage own(5, 5, QImage::Format_ARGB32);
    own.fill(Qt::red);
    edit.Button()->SetUpGlyph(own);
    edit.setEnabled(true);
    expectArrows(u"SmallSpinUp", u"SmallSpinDown", {7, 5});
}

TEST(SpinArrows, ArrowsPointTheirWayOnTransparentGround)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    const QImage up = SpinArrowImage(u"SpinUp", palette);
    EXPECT_EQ(up.pixelColor(4, 0), QColor(Qt::black)); // tip on top, full width below
    EXPECT_EQ(up.pixelColor(0, 4), QColor(Qt::black));
    EXPECT_EQ(up.pixelColor(0, 0).alpha(), 0);
    const QImage down = SpinArrowImage(u"SmallSpinDown", palette);
    EXPECT_EQ(down.pixelColor(3, 4), QColor(Qt::black)); // tip at the bottom
    EXPECT_EQ(down.pixelColor(0, 4).alpha(), 0);
    EXPECT_TRUE(SpinArrowImage(u"NoSuchArrow", palette).isNull());
}
