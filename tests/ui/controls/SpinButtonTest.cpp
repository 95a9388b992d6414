#include "QtPrinters.h"
#include "SpinButton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace kestrund;

namespace {

bool HasFocusRect(const TMyTimerSpeedButton* button)
{
    return button->TimeBtnState().testFlag(TMyTimerSpeedButton::tbFocusRect);
}

} // namespace

TEST(TimerSpeedButton, RepeatsFirstAfter400ThenEvery100WhileHeld)
{
    TMyTimerSpeedButton button;
    button.resize(20, 10);
    button.SetTimeBtnState(TMyTimerSpeedButton::tbAllowTimer);
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    EXPECT_EQ(button.RepeatTimer(), nullptr);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_NE(button.RepeatTimer(), nullptr);
    EXPECT_TRUE(button.RepeatTimer()->isActive());
    EXPECT_EQ(button.RepeatTimer()->interval(), 400);
    EXPECT_EQ(clicks.count(), 0);

    button.TimerExpired();
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button.RepeatTimer()->interval(), 100);
    button.TimerExpired();
    EXPECT_EQ(clicks.count(), 2);

    // Dragged off the button: the timer goes on but the clicks pause.
    QTest::mouseMove(&button, QPoint(50, 50));
    button.TimerExpired();
    EXPECT_EQ(clicks.count(), 2);
    QTest::mouseMove(&button, QPoint(5, 5));
    button.TimerExpired();
    EXPECT_EQ(clicks.count(), 3);

    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(button.RepeatTimer()->isActive());
    EXPECT_EQ(clicks.count(), 4); // the release is a click of its own

    // The next press starts again with the long pause.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.RepeatTimer()->interval(), 400);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(TimerSpeedButton, RepeatsOnlyWhenAllowed)
{
    TMyTimerSpeedButton button;
    button.resize(20, 10);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.RepeatTimer(), nullptr);
}

TEST(TimerSpeedButton, ClickErrorStopsTheRepeatAndPassesOn)
{
    TMyTimerSpeedButton button;
    button.resize(20, 10);
    button.SetTimeBtnState(TMyTimerSpeedButton::tbAllowTimer);
    QObject::connect(&button, &QAbstractButton::clicked, [] { throw std::runtime_error("step failed"); });
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(button.RepeatTimer()->isActive());
    EXPECT_THROW(button.TimerExpired(), std::runtime_error);
    EXPECT_FALSE(button.RepeatTimer()->isActive());
    button.setDown(false);
}

TEST(TimerSpeedButton, ErrorFromATimedRepeatIsReportedNotThrownIntoTheEventLoop)
{
    TMyTimerSpeedButton button;
    button.resize(20, 10);
    button.SetTimeBtnState(TMyTimerSpeedButton::tbAllowTimer);
    QObject::connect(&button, &QAbstractButton::clicked, [] { throw std::runtime_error("step failed"); });
    QSignalSpy failures(&button, &TMyTimerSpeedButton::RepeatFailed);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(failures.wait(5000));
    EXPECT_EQ(failures.at(0).at(0).toString(), "step failed");
    EXPECT_FALSE(button.RepeatTimer()->isActive());
    button.setDown(false);
}

TEST(TimerSpeedButton, RealTimingKeepsTheMinimumPauses)
{
    TMyTimerSpeedButton button;
    button.resize(20, 10);
    button.SetTimeBtnState(TMyTimerSpeedButton::tbAllowTimer);
    QElapsedTimer clock;
    std::vector<qint64> clickTimes;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { clickTimes.push_back(clock.elapsed()); });
    clock.start();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QElapsedTimer deadline;
    deadline.start();
    while (clickTimes.size() < 4 && deadline.elapsed() < 10000)
        QTest::qWait(10);
    button.setDown(false);
    button.RepeatTimer()->stop();

    ASSERT_GE(clickTimes.size(), 4u);
    EXPECT_GE(clickTimes[0], 400);
    for (std::size_t i = 1; i < clickTimes.size(); ++i) {
        const qint64 gap = clickTimes[i] - clickTimes[i - 1];
        EXPECT_GE(gap, 98) << "repeat " << i;
        EXPECT_LT(gap, 2000) << "repeat " << i; // a loaded machine may be slow, never early
    }
}

TEST(SpinButton, SplitsItsHeightBetweenTheButtonsWithOnePixelOverlap)
{
    TMySpinButton spin;
    EXPECT_EQ(spin.size(), QSize(20, 25));
    spin.resize(15, 17);
    spin.show();
    EXPECT_EQ(spin.UpButton()->geometry(), QRect(0, 0, 15, 8));
    EXPECT_EQ(spin.DownButton()->geometry(), QRect(0, 7, 15, 10));
    spin.resize(10, 24);
    EXPECT_EQ(spin.width(), 15);
    EXPECT_EQ(spin.UpButton()->geometry(), QRect(0, 0, 15, 12));
    EXPECT_EQ(spin.DownButton()->geometry(), QRect(0, 11, 15, 13));
}

TEST(SpinButton, KeysClickTheButtonsAndMoveTheFocusMark)
{
    TMySpinButton spin;
    QSignalSpy up(&spin, &TMySpinButton::UpClick);
    QSignalSpy down(&spin, &TMySpinButton::DownClick);
    EXPECT_EQ(spin.FocusedButton(), spin.UpButton());

    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&spin, &focusIn);
    EXPECT_TRUE(HasFocusRect(spin.UpButton()));

    QTest::keyClick(&spin, Qt::Key_Space);
    EXPECT_EQ(up.count(), 1);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(spin.FocusedButton(), spin.DownButton());
    QTest::keyClick(&spin, Qt::Key_Space);
    EXPECT_EQ(down.count(), 2);
    EXPECT_EQ(up.count(), 1);
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(up.count(), 2);
    EXPECT_EQ(spin.FocusedButton(), spin.UpButton());

    // The mark exists only while the spin button has the focus.
    EXPECT_TRUE(HasFocusRect(spin.UpButton()));
    EXPECT_FALSE(HasFocusRect(spin.DownButton()));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&spin, &focusOut);
    EXPECT_FALSE(HasFocusRect(spin.UpButton()));
}

TEST(SpinButton, PressingAButtonFocusesTheFocusControl)
{
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* spin = new TMySpinButton(&window);
    spin->move(0, 40);
    spin->SetFocusControl(edit);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy down(spin, &TMySpinButton::DownClick);

    QTest::mouseClick(spin->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
    EXPECT_EQ(down.count(), 1);

    // A focus control that cannot take the focus leaves it to the spin button.
    edit->setEnabled(false);
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(spin->hasFocus());
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
}
