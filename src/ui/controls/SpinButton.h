#pragma once
// The up/down button pair of the spin edit and its auto-repeating buttons.

#include <QAbstractButton>
#include <QImage>
#include <QPointer>
#include <QWidget>

class QTimer;

namespace kestrund {

// A flat push button that, while held down with the left mouse button, repeats its click:
// first 400 ms after the press, then every 100 ms. Shows one cell of a glyph strip (normal,
// disabled, down) and, when asked to, a focus rectangle.
class TMyTimerSpeedButton : public QAbstractButton {
    Q_OBJECT

public:
    enum TTimeBtnStateFlag {
        tbFocusRect = 0x1,
        tbAllowTimer = 0x2,
    };
    Q_DECLARE_FLAGS(TTimeBtnState, TTimeBtnStateFlag)

    static constexpr int InitRepeatPause = 400;
    static constexpr int RepeatPause = 100;

    explicit TMyTimerSpeedButton(QWidget* parent = nullptr);

    TTimeBtnState TimeBtnState() const { return timeBtnState_; }
    void SetTimeBtnState(TTimeBtnState state);

    // A strip of numGlyphs equal cells side by side: normal, disabled, down.
    QImage Glyph() const { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetGlyph(const QImage& glyph, int numGlyphs = 1);

    // The repeat timer; null until the first press that may repeat.
    QTimer* RepeatTimer() const { return repeatTimer_; }

    // Runs the click handlers once.
    void Click();

    // One tick of the repeat timer: from now on the ticks come every 100 ms, and the click runs
    // again if the button is still held down. When the click throws, the repeat stops and the
    // exception passes on to the caller.
    void TimerExpired();

    QSize sizeHint() const override;

signals:
    // The left mouse button went down on the button (after the button took the down state).
    void MousePressed();
    // A repeated click threw; the repeat has stopped. Clicks raised by the timer cannot hand
    // their error to a caller, so it comes here instead of escaping into the event loop.
    void RepeatFailed(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnRepeatTimer();
    void StopRepeat();

    TTimeBtnState timeBtnState_;
    QImage glyph_;
    int numGlyphs_ = 1;
    QTimer* repeatTimer_ = nullptr;
};

// The up/down pair: the up button fills the top half, the down button the rest. Up and Down
// keys click the matching button, Space the one that has the keyboard focus.
class TMySpinButton : public QWidget {
    Q_OBJECT

public:
    explicit TMySpinButton(QWidget* parent = nullptr);

    TMyTimerSpeedButton* UpButton() const { return upButton_; }
    TMyTimerSpeedButton* DownButton() const { return downButton_; }
    TMyTimerSpeedButton* FocusedButton() const { return focusedButton_; }

    // The control that takes the keyboard focus when a button is pressed.
    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* control) { focusControl_ = control; }

    // A null image picks the built-in arrow by the owning spin edit's SmallArrows and enabled
    // state (normal arrows when there is no owning spin edit).
    QImage UpGlyph() const { return upButton_->Glyph(); }
    void SetUpGlyph(const QImage& glyph);
    int UpNumGlyphs() const { return upButton_->NumGlyphs(); }
    void SetUpNumGlyphs(int count);
    QImage DownGlyph() const { return downButton_->Glyph(); }
    void SetDownGlyph(const QImage& glyph);
    int DownNumGlyphs() const { return downButton_->NumGlyphs(); }
    void SetDownNumGlyphs(int count);

    QSize sizeHint() const override;

signals:
    void UpClick();
    void DownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetFocusBtn(TMyTimerSpeedButton* button);
    void BtnMousePressed(TMyTimerSpeedButton* button);
    void LayoutButtons();
    QImage BuiltinGlyph(bool up) const;
    void SetGlyphOf(TMyTimerSpeedButton* button, bool up, const QImage& glyph);

    TMyTimerSpeedButton* upButton_;
    TMyTimerSpeedButton* downButton_;
    TMyTimerSpeedButton* focusedButton_;
    QPointer<QWidget> focusControl_;
    bool upBuiltin_ = true;
    bool downBuiltin_ = true;
};

} // namespace kestrund

Q_DECLARE_OPERATORS_FOR_FLAGS(kestrund::TMyTimerSpeedButton::TTimeBtnState)
