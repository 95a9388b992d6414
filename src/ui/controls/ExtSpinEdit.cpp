#include "ExtSpinEdit.h"

#include "ControlBeep.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QStyle>
#include <QValidator>

#include <algorithm>
#include <limits>
#include <utility>

namespace kestrund {

// Keeps user edits out of the text while the editor is disabled. A validator sees every change
// the user makes (keys, context menu, middle-click paste, drops, input methods) and Qt undoes
// the ones it calls invalid, so one check covers all of them.
class EditLock final : public QValidator {
public:
    explicit EditLock(TExtSpinEdit* edit)
        : QValidator(edit)
        , edit_(edit)
    {
    }

    State validate(QString& input, int&) const override
    {
        return edit_->AcceptsEdit(input) ? Acceptable : Invalid;
    }

private:
    const TExtSpinEdit* edit_;
};

TExtSpinEdit::TExtSpinEdit(QWidget* parent)
    : QLineEdit(parent)
{
    // Made here, not in the initialiser list: the button reads this edit's arrow settings.
    button_ = new TMySpinButton(this);
    button_->resize(15, 17);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->SetFocusControl(this);
    connect(button_, &TMySpinButton::UpClick, this, &TExtSpinEdit::UpClick);
    connect(button_, &TMySpinButton::DownClick, this, &TExtSpinEdit::DownClick);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        committedText_ = text;
        emit Changed();
    });
    setValidator(new EditLock(this));
    setText(QStringLiteral("0"));
    ReloadArrows();
    setMinimumHeight(MinHeight());
    PlaceButton();
}

void TExtSpinEdit::setText(const QString& text)
{
    const bool wasWriting = std::exchange(writing_, true);
    QLineEdit::setText(text);
    writing_ = wasWriting;
}

bool TExtSpinEdit::AcceptsEdit(const QString& candidate) const
{
    return editorEnabled_ || writing_ || candidate == committedText_;
}

QString TExtSpinEdit::FormatValue(int value, bool hex, int hexWidth)
{
    if (!hex)
        return QString::number(value);
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper().rightJustified(hexWidth, u'0');
}

std::optional<int> TExtSpinEdit::ParseValue(const QString& text, bool hex)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    if (hex) {
        if (size == 0)
            return std::nullopt;
        std::uint64_t n = 0;
        for (; i < size; ++i) {
            const char16_t c = text[i].unicode();
            int digit = 0;
            if (c >= u'0' && c <= u'9')
                digit = c - u'0';
            else if (c >= u'A' && c <= u'F')
                digit = c - u'A' + 10;
            else if (c >= u'a' && c <= u'f')
                digit = c - u'a' + 10;
            else
                return std::nullopt;
            n = n * 16 + std::uint64_t(digit);
            if (n > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<int>(static_cast<std::uint32_t>(n));
    }

    while (i < size && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < size && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == size)
        return std::nullopt;
    long long n = 0;
    constexpr long long limit = -static_cast<long long>(std::numeric_limits<int>::min());
    for (; i < size; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
        n = n * 10 + (text[i].unicode() - u'0');
        if (n > limit)
            return std::nullopt;
    }
    if (negative)
        n = -n;
    if (n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(n);
}

int TExtSpinEdit::CheckValue(long long n) const
{
    if (minValue_ != maxValue_) {
        if (n < minValue_)
            n = minValue_;
        else if (n > maxValue_)
            n = maxValue_;
    }
    // Without limits a step past the 32-bit range stops at its end instead of jumping to the
    // other sign.
    return static_cast<int>(std::clamp<long long>(n, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

int TExtSpinEdit::Value() const
{
    return ParseValue(text(), hex_).value_or(minValue_);
}

void TExtSpinEdit::SetValue(int value)
{
    WriteValue(value);
}

void TExtSpinEdit::WriteValue(long long n)
{
    setText(FormatValue(CheckValue(n), hex_, hexWidth_));
}

void TExtSpinEdit::SetHex(bool hex)
{
    if (hex == hex_)
        return;
    const int value = Value();
    hex_ = hex;
    SetValue(value);
}

void TExtSpinEdit::SetHexWidth(int width)
{
    const auto newWidth = static_cast<std::uint16_t>(std::clamp(width, 0, 0xFFFF));
    if (newWidth == hexWidth_)
        return;
    const int value = Value();
    hexWidth_ = newWidth;
    SetValue(value);
}

void TExtSpinEdit::SetSmallArrows(bool small)
{
    if (small == smallArrows_)
        return;
    smallArrows_ = small;
    ReloadArrows();
}

void TExtSpinEdit::ReloadArrows()
{
    button_->SetUpGlyph({});
    button_->SetDownGlyph({});
}

void TExtSpinEdit::UpClick()
{
    if (isReadOnly()) {
        ControlBeep();
        return;
    }
    long long n = static_cast<long long>(Value()) + increment_;
    // Wrapping needs a range; without one a step simply goes on.
    if (loop_ && minValue_ != maxValue_ && n > maxValue_)
        n = n - maxValue_ + minValue_ - 1;
    WriteValue(n);
}

void TExtSpinEdit::DownClick()
{
    if (isReadOnly()) {
        ControlBeep();
        return;
    }
    long long n = static_cast<long long>(Value()) - increment_;
    if (loop_ && minValue_ != maxValue_ && n < minValue_)
        n = static_cast<long long>(maxValue_) - (minValue_ - n - 1);
    WriteValue(n);
}

bool TExtSpinEdit::IsValidChar(QChar ch) const
{
    const char16_t c = ch.unicode();
    const QString decimalPoint = locale().decimalPoint();
    bool valid = c == u'+' || c == u'-' || (c >= u'0' && c <= u'9')
        || (!decimalPoint.isEmpty() && ch == decimalPoint.front())
        || (hex_ && ((c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f')))
        || (c < 0x20 && c != u'\r');
    if (valid && !editorEnabled_ && (c >= 0x20 || c == u'\b'))
        valid = false;
    return valid;
}

namespace {

// The characters a key press would type: Enter and Backspace count as their control codes,
// other control keys (arrows, Delete, Home ...) type nothing.
QString TypedCharacters(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    default:
        break;
    }
    // Control combinations are shortcuts (copy, paste, undo ...), not typing.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return {};
    const QString text = event->text();
    if (text.isEmpty())
        return {};
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); }))
        return text;
    if (text.size() == 1 && text.front().unicode() < 0x20)
        return text;
    return {};
}

} // namespace

bool TExtSpinEdit::IsWindowShortcut(const QKeyEvent* event) const
{
    const QKeySequence key(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    const QList<QAction*> actions = window()->findChildren<QAction*>() + window()->actions();
    return std::any_of(actions.begin(), actions.end(), [&key](const QAction* action) {
        return action->isEnabled() && action->shortcuts().contains(key);
    });
}

bool TExtSpinEdit::event(QEvent* event)
{
    // The line edit claims Ctrl+X, Ctrl+C, Ctrl+A, Ctrl+E ... for its own editing; a key that
    // an action of the window owns goes to the action instead, so that the menu's shortcuts
    // act the same whichever field has the focus.
    if (event->type() == QEvent::ShortcutOverride && IsWindowShortcut(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void TExtSpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up) {
        UpClick();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Down) {
        DownClick();
        event->accept();
        return;
    }
    const QString typed = TypedCharacters(event);
    if (!std::all_of(typed.begin(), typed.end(), [this](QChar c) { return IsValidChar(c); })) {
        ControlBeep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TExtSpinEdit::focusInEvent(QFocusEvent* event)
{
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool keyboardEntry = reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason
        && reason != Qt::ActiveWindowFocusReason;
    if (keyboardEntry && autoSelect_)
        selectAll();
    else if (keyboardEntry && !hadSelection)
        deselect(); // the line edit selects on Tab by itself
}

void TExtSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or another window taking the focus does not leave the field.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    const int value = Value();
    if (CheckValue(value) != value)
        SetValue(value);
}

int TExtSpinEdit::MinHeight() const
{
    const int fontHeight = QFontMetrics(font()).height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    constexpr int borderHeight = 1;
    return fontHeight + std::min(systemHeight, fontHeight) / 4 + borderHeight * 4 + 2;
}

QSize TExtSpinEdit::sizeHint() const
{
    QSize size = QLineEdit::sizeHint();
    size.setHeight(std::max(size.height(), MinHeight()));
    return size;
}

QSize TExtSpinEdit::minimumSizeHint() const
{
    QSize size = QLineEdit::minimumSizeHint();
    size.setHeight(std::max(size.height(), MinHeight()));
    return size;
}

void TExtSpinEdit::PlaceButton()
{
    const int buttonWidth = button_->width();
    if (hasFrame()) {
        const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        button_->setGeometry(width() - frame - buttonWidth - 1, frame, buttonWidth, height() - 2 * frame - 1);
    } else {
        button_->setGeometry(width() - buttonWidth, 1, buttonWidth, height() - 3);
    }
    setTextMargins(0, 0, buttonWidth + 2, 0);
}

void TExtSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    PlaceButton();
}

void TExtSpinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        ReloadArrows();
        break;
    case QEvent::FontChange:
        setMinimumHeight(MinHeight());
        updateGeometry();
        break;
    case QEvent::StyleChange:
        PlaceButton();
        break;
    default:
        break;
    }
}

} // namespace kestrund
