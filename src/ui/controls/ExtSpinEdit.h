#pragma once
// The integer entry field of the program: a one-line edit with an up/down button pair at its
// right edge, decimal or hexadecimal text, optional wrap-around at the limits.

#include "SpinButton.h"

#include <QLineEdit>

#include <cstdint>
#include <optional>

namespace kestrund {

class TExtSpinEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue NOTIFY Changed USER true)
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
    Q_PROPERTY(bool Loop READ Loop WRITE SetLoop)
    Q_PROPERTY(bool Hex READ Hex WRITE SetHex)
    Q_PROPERTY(int HexWidth READ HexWidth WRITE SetHexWidth)
    Q_PROPERTY(bool SmallArrows READ SmallArrows WRITE SetSmallArrows)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)

public:
    explicit TExtSpinEdit(QWidget* parent = nullptr);

    // The number in the text; text that is not a number reads as MinValue. Not range-checked,
    // so a number typed out of range reads as typed until the field is left.
    int Value() const;
    // Writes the range-checked number as text.
    void SetValue(int value);

    // Equal limits mean no range at all.
    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }

    int Increment() const { return increment_; }
    void SetIncrement(int value) { increment_ = value; }

    // When off, the text can only be changed by stepping: typing, cutting and pasting are refused.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool enabled) { editorEnabled_ = enabled; }

    // Stepping past one limit continues from the other.
    bool Loop() const { return loop_; }
    void SetLoop(bool loop) { loop_ = loop; }

    // Hexadecimal text (upper case, no prefix) of at least HexWidth digits. Changing either
    // keeps the number and rewrites the text.
    bool Hex() const { return hex_; }
    void SetHex(bool hex);
    int HexWidth() const { return hexWidth_; }
    void SetHexWidth(int width);

    // Small (7 x 5) instead of normal (9 x 6) arrows.
    bool SmallArrows() const { return smallArrows_; }
    void SetSmallArrows(bool small);

    // Select the whole text when the field is entered other than by a mouse press.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }

    TMySpinButton* Button() const { return button_; }

    // n limited to MinValue..MaxValue, or only to the 32-bit range when the limits are equal.
    int CheckValue(long long n) const;

    // The lowest height at which the text still fits: depends on the font.
    int MinHeight() const;

    // Text of a number: decimal, or upper-case hexadecimal of at least hexWidth digits (negative
    // numbers as their 32-bit pattern).
    static QString FormatValue(int value, bool hex, int hexWidth);
    // Number of a text: decimal with optional leading spaces and sign, or hexadecimal digits
    // only (up to 32 bits, read as the bit pattern); nothing when the text is not such a number.
    static std::optional<int> ParseValue(const QString& text, bool hex);

    // Whether a typed character gets into the text.
    bool IsValidChar(QChar ch) const;

    // Sets the text as the program's own change, which the editor lock lets through.
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void UpClick();
    void DownClick();

signals:
    // The text changed, by typing or by the program.
    void Changed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class EditLock;

    void WriteValue(long long n);
    void ReloadArrows();
    void PlaceButton();
    bool AcceptsEdit(const QString& candidate) const;
    bool IsWindowShortcut(const QKeyEvent* event) const;

    TMySpinButton* button_ = nullptr;
    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
    bool loop_ = false;
    bool hex_ = false;
    std::uint16_t hexWidth_ = 2;
    bool smallArrows_ = true;
    bool autoSelect_ = true;
    bool writing_ = false;
    QString committedText_;
};

} // namespace kestrund
