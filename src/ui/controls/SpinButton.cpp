#include "SpinButton.h"

#include "ExtSpinEdit.h"
#include "SpinArrows.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace kestrund {

// ---------------------------------------------------------------------------------------------
// TMyTimerSpeedButton

TMyTimerSpeedButton::TMyTimerSpeedButton(QWidget* parent)
    : QAbstractButton(parent)
{
    // Speed buttons never take the keyboard focus; their owner handles the keys.
    setFocusPolicy(Qt::NoFocus);
}

void TMyTimerSpeedButton::SetTimeBtnState(TTimeBtnState state)
{
    if (state == timeBtnState_)
        return;
    timeBtnState_ = state;
    if (!(state & tbAllowTimer))
        StopRepeat();
    update();
}

void TMyTimerSpeedButton::SetGlyph(const QImage& glyph, int numGlyphs)
{
    glyph_ = glyph;
    numGlyphs_ = std::clamp(numGlyphs, 1, 4);
    updateGeometry();
    update();
}

void TMyTimerSpeedButton::Click()
{
    emit clicked(isChecked());
}

void TMyTimerSpeedButton::TimerExpired()
{
    if (repeatTimer_)
        repeatTimer_->setInterval(RepeatPause);
    if (!isDown())
        return;
    try {
        Click();
    } catch (...) {
        StopRepeat();
        throw;
    }
}

void TMyTimerSpeedButton::OnRepeatTimer()
{
    try {
        TimerExpired();
    } catch (const std::exception& error) {
        emit RepeatFailed(QString::fromUtf8(error.what()));
    } catch (...) {
        emit RepeatFailed(QString());
    }
}

void TMyTimerSpeedButton::StopRepeat()
{
    if (repeatTimer_)
        repeatTimer_->stop();
}

QSize TMyTimerSpeedButton::sizeHint() const
{
    const int cellWidth = glyph_.isNull() ? 7 : glyph_.width() / numGlyphs_;
    const int cellHeight = glyph_.isNull() ? 5 : glyph_.height();
    return {cellWidth + 8, cellHeight + 4};
}

void TMyTimerSpeedButton::mousePressEvent(QMouseEvent* event)
{
    QAbstractButton::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !isDown())
        return;
    emit MousePressed();
    if (timeBtnState_ & tbAllowTimer) {
        if (!repeatTimer_) {
            repeatTimer_ = new QTimer(this);
            // A precise timer never fires early, so the first repeat cannot come before 400 ms.
            repeatTimer_->setTimerType(Qt::PreciseTimer);
            connect(repeatTimer_, &QTimer::timeout, this, &TMyTimerSpeedButton::OnRepeatTimer);
        }
        repeatTimer_->start(InitRepeatPause);
    }
}

void TMyTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    // Stop first: the release click may open a window and return much later.
    if (event->button() == Qt::LeftButton)
        StopRepeat();
    QAbstractButton::mouseReleaseEvent(event);
}

void TMyTimerSpeedButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        StopRepeat();
    QAbstractButton::changeEvent(event);
}

void TMyTimerSpeedButton::hideEvent(QHideEvent* event)
{
    StopRepeat();
    QAbstractButton::hideEvent(event);
}

void TMyTimerSpeedButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    painter.drawPrimitive(QStyle::PE_PanelButtonCommand, option);

    const int shift = isDown() ? 1 : 0;
    if (!glyph_.isNull()) {
        int cell = 0;
        if (!isEnabled() && numGlyphs_ >= 2)
            cell = 1;
        else if (isDown() && numGlyphs_ >= 3)
            cell = 2;
        const int cellWidth = glyph_.width() / numGlyphs_;
        const QRect source(cell * cellWidth, 0, cellWidth, glyph_.height());
        // Whole-pixel placement keeps the small arrows sharp.
        const QPoint at((width() - cellWidth) / 2 + shift, (height() - glyph_.height()) / 2 + shift);
        painter.drawImage(at, glyph_, source);
    }

    if (timeBtnState_ & tbFocusRect) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3).translated(shift, shift);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

// ---------------------------------------------------------------------------------------------
// TMySpinButton

namespace {
void ShowFocusRect(TMyTimerSpeedButton* button, bool show)
{
    TMyTimerSpeedButton::TTimeBtnState state = button->TimeBtnState();
    state.setFlag(TMyTimerSpeedButton::tbFocusRect, show);
    button->SetTimeBtnState(state);
}
} // namespace

TMySpinButton::TMySpinButton(QWidget* parent)
    : QWidget(parent)
    , upButton_(new TMyTimerSpeedButton(this))
    , downButton_(new TMyTimerSpeedButton(this))
    , focusedButton_(upButton_)
{
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMinimumWidth(15);
    setCursor(Qt::ArrowCursor);
    for (TMyTimerSpeedButton* button : {upButton_, downButton_}) {
        button->SetTimeBtnState(TMyTimerSpeedButton::tbAllowTimer);
        connect(button, &TMyTimerSpeedButton::MousePressed, this,
                [this, button] { BtnMousePressed(button); });
    }
    connect(upButton_, &QAbstractButton::clicked, this, &TMySpinButton::UpClick);
    connect(downButton_, &QAbstractButton::clicked, this, &TMySpinButton::DownClick);
    SetUpGlyph({});
    SetDownGlyph({});
    resize(20, 25);
}

QSize TMySpinButton::sizeHint() const
{
    return {20, 25};
}

QImage TMySpinButton::BuiltinGlyph(bool up) const
{
    bool small = false;
    bool enabled = isEnabled();
    if (const auto* owner = qobject_cast<const TExtSpinEdit*>(parentWidget())) {
        small = owner->SmallArrows();
        enabled = owner->isEnabled();
    }
    return SpinArrowImage(SpinArrowName(up, small, enabled), palette());
}

void TMySpinButton::SetGlyphOf(TMyTimerSpeedButton* button, bool up, const QImage& glyph)
{
    const bool builtin = glyph.isNull();
    (up ? upBuiltin_ : downBuiltin_) = builtin;
    if (builtin)
        button->SetGlyph(BuiltinGlyph(up), 1);
    else
        button->SetGlyph(glyph, button->NumGlyphs());
}

void TMySpinButton::SetUpGlyph(const QImage& glyph)
{
    SetGlyphOf(upButton_, true, glyph);
}

void TMySpinButton::SetDownGlyph(const QImage& glyph)
{
    SetGlyphOf(downButton_, false, glyph);
}

void TMySpinButton::SetUpNumGlyphs(int count)
{
    upButton_->SetGlyph(upButton_->Glyph(), count);
}

void TMySpinButton::SetDownNumGlyphs(int count)
{
    downButton_->SetGlyph(downButton_->Glyph(), count);
}

void TMySpinButton::LayoutButtons()
{
    const int w = width();
    const int h = height();
    upButton_->setGeometry(0, 0, w, h / 2);
    // The down button overlaps the up button by one pixel so that they share a border line.
    downButton_->setGeometry(0, h / 2 - 1, w, h - h / 2 + 1);
}

void TMySpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutButtons();
}

void TMySpinButton::SetFocusBtn(TMyTimerSpeedButton* button)
{
    if (button == focusedButton_)
        return;
    if (hasFocus()) {
        ShowFocusRect(focusedButton_, false);
        ShowFocusRect(button, true);
    }
    focusedButton_ = button;
}

void TMySpinButton::BtnMousePressed(TMyTimerSpeedButton* button)
{
    SetFocusBtn(button);
    QWidget* control = focusControl_;
    if (control && control->isEnabled() && control->isVisible() && (control->focusPolicy() & Qt::TabFocus)) {
        if (!control->hasFocus())
            control->setFocus(Qt::OtherFocusReason);
    } else if ((focusPolicy() & Qt::TabFocus) && !hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
}

void TMySpinButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        SetFocusBtn(upButton_);
        upButton_->Click();
        break;
    case Qt::Key_Down:
        SetFocusBtn(downButton_);
        downButton_->Click();
        break;
    case Qt::Key_Space:
        focusedButton_->Click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TMySpinButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    ShowFocusRect(focusedButton_, true);
}

void TMySpinButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    ShowFocusRect(focusedButton_, false);
}

void TMySpinButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange) {
        if (upBuiltin_)
            SetUpGlyph({});
        if (downBuiltin_)
            SetDownGlyph({});
    }
}

} // namespace kestrund
