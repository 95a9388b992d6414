#include "PropertyForm.h"

#include "ColorMenu.h"
#include "ElementStrip.h"
#include "Errors.h"
#include "ExtSpinEdit.h"
#include "MiscFunc.h"
#include "Prompts.h"
#include "SystemColors.h"
#include "VariationRuleEditor.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

namespace kestrund {

namespace {

// A drawing surface over a 32-bit image.
class TImageSurface final : public TSurface {
public:
    explicit TImageSurface(QImage& image) : FImage(image) {}
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }

protected:
    TColor DoGetPixel(int x, int y) const override { return QColorToColor(QColor(FImage.pixel(x, y))); }
    void DoSetPixel(int x, int y, TColor c) override
    {
        FImage.setPixel(x, y, qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    }

private:
    QImage& FImage;
};

// Keypad digit to direction slot (0 W .. 8 E); 5 and 0 are no direction.
constexpr int digitSlots[10] = {-1, 3, 6, 7, 0, -1, 8, 1, 2, 5};
// Tile-rule fields: slot of each neighbour spin, and of seID and seAlt1..5.
constexpr int rvID = rvGraphics;

int FieldValue(const TExtSpinEdit* edit)
{
    const int value = edit->Value();
    if (edit->MinValue() == edit->MaxValue())
        return value;
    return std::clamp(value, edit->MinValue(), edit->MaxValue());
}

std::uint16_t Field16(const TExtSpinEdit* edit)
{
    return static_cast<std::uint16_t>(FieldValue(edit));
}

} // namespace

TPropertyForm::TPropertyForm(TPrompts& prompts, const std::string& iniPath, QWidget* parent)
    : QDialog(parent)
    , FPrompts(prompts)
    , FIniPath(iniPath)
{
    setObjectName("PropertyForm");
    setWindowTitle("Property");
    BuildWidgets();
    // A rule's slots, shown signed or unsigned; every other field's range comes with its kind.
    for (TExtSpinEdit* edit : seNeighbour)
        SetFieldRange(edit, -32768, 65535, 4);
    for (std::size_t i = 1; i < seAlt.size(); ++i)
        SetFieldRange(seAlt[i], -32768, 65535, 4);
    HideAllKinds();
    ReadSettings();
}

TPropertyForm::~TPropertyForm()
{
    WriteSettingsOnClose([this] { WriteSettings(); });
}

TColor TPropertyForm::Resolved(TColor color) const
{
    return IsSystemColor(color) ? QColorToColor(ColorToQColor(color, palette())) : color;
}

void TPropertyForm::SetTileSet(const TTileFile* set)
{
    FSet = set;
    pVariationRule->SetTileSet(set);
    if (FKind >= 0 && FKind < PropertyKindCount)
        dgTiles->SetCount(set ? static_cast<int>(StripCount(*set, static_cast<TPropertyKind>(FKind))) : 0);
    UpdatePositionRange();
}

// ---- Kinds ----

void TPropertyForm::HideAllKinds()
{
    for (const auto& widgets : FKindWidgets)
        for (QWidget* w : widgets) {
            w->hide();
            w->setEnabled(false);
        }
    mVariationRule->hide();
    mVariationRule->setEnabled(false);
    for (QCheckBox* box : cbDirection)
        if (box) {
            const QSignalBlocker blocker(box);
            box->setChecked(false);
        }
}

void TPropertyForm::SetKind(int kind)
{
    if (kind < 0 || kind >= PropertyKindCount) {
        FKind = kind;
        return;
    }
    HideAllKinds();
    FKind = kind;
    FAccepted = false;
    const auto k = static_cast<TPropertyKind>(kind);
    for (QWidget* w : FKindWidgets[k]) {
        w->show();
        w->setEnabled(true);
    }
    SetKindHelp(k);
    lID->setText(KindTexts(k).IDCaption);
    if (k != pkTileRule)
        lAlt[0]->setText(KindTexts(k).Alt1Caption);
    else
        lAlt[0]->setText("Alt&1");
    // Field ranges are the element fields' own: the rule's slots show signed or unsigned.
    const bool rule = k == pkTileRule;
    SetFieldRange(seID, rule ? -32768 : 0, 65535, 4);
    SetFieldRange(seAlt[0], rule ? -32768 : 0, k == pkTile ? 255 : 65535, k == pkTile ? 2 : 4);
    dgTiles->SetCount(FSet ? static_cast<int>(StripCount(*FSet, k)) : 0);
    dgTiles->SetSelected(k == pkVariationRule ? -1 : Position());
    UpdateStripMark();
    if (k == pkVariationRule)
        TextEditSwitch();
    UpdatePositionRange();
    UpdatePreview();
    // A variation rule's rows take the strip's tiles once one of them has the focus, so they
    // are not given it unasked.
    if (k != pkVariationRule)
        seID->setFocus();
    adjustSize();
}

void TPropertyForm::SetFieldRange(TExtSpinEdit* edit, int min, int max, int hexWidth)
{
    edit->SetMinValue(min);
    edit->SetMaxValue(max);
    edit->SetHexWidth(hexWidth);
}

void TPropertyForm::SetHexDisplay(bool hex)
{
    std::vector<TExtSpinEdit*> edits{sePos, seID};
    edits.insert(edits.end(), seAlt.begin(), seAlt.end());
    edits.insert(edits.end(), seNeighbour.begin(), seNeighbour.end());
    for (TExtSpinEdit* edit : edits) {
        const int value = edit->Value();
        edit->SetHex(hex);
        // A rule's slot reads -1 in decimal and FFFF in hex, not FFFFFFFF.
        if (FKind == pkTileRule && edit != sePos)
            edit->SetValue(RuleFieldValue(static_cast<std::uint16_t>(value), hex));
    }
    FHexDisplay = hex;
    const QSignalBlocker blocker(cbHex);
    cbHex->setChecked(hex);
}

void TPropertyForm::SetAddMode(bool add)
{
    FAddMode = add;
    cbReplace->setChecked(!add);
    cbLast->setEnabled(add);
    cbLast->setChecked(add);
    sePos->setEnabled(!add);
    UpdatePositionRange();
    LastClicked();
}

// ---- Position, Replace, Insert Last ----

int TPropertyForm::Position() const
{
    const int value = sePos->Value();
    return FPosLimited ? std::clamp(value, FPosRange.Min, FPosRange.Max) : std::max(value, 0);
}

void TPropertyForm::SetPosition(int position)
{
    sePos->SetValue(FPosLimited ? std::clamp(position, FPosRange.Min, FPosRange.Max) : std::max(position, 0));
}

bool TPropertyForm::Replace() const
{
    return cbReplace->isChecked();
}

void TPropertyForm::SetReplace(bool replace)
{
    cbReplace->setChecked(replace);
    ReplaceClicked();
}

bool TPropertyForm::InsertLast() const
{
    return cbLast->isChecked();
}

void TPropertyForm::SetInsertLast(bool last)
{
    cbLast->setChecked(last);
    LastClicked();
}

void TPropertyForm::UpdatePositionRange()
{
    const bool kind = FKind >= 0 && FKind < PropertyKindCount;
    FPosLimited = FSet && kind;
    if (!FPosLimited)
        return;
    const std::size_t count = ElementCount(*FSet, static_cast<TPropertyKind>(FKind));
    FPosRange = PositionRange(count, cbReplace->isChecked());
    // An empty kind has nothing to replace.
    cbReplace->setEnabled(count > 0);
    sePos->SetMinValue(FPosRange.Min);
    sePos->SetMaxValue(FPosRange.Max);
    if (sePos->Value() != Position())
        sePos->SetValue(Position());
}

void TPropertyForm::ReplaceClicked()
{
    const bool replace = cbReplace->isChecked();
    cbLast->setEnabled(!replace);
    sePos->setEnabled(!replace && !cbLast->isChecked());
    UpdatePositionRange();
    LastClicked();
}

void TPropertyForm::LastClicked()
{
    if (cbLast->isEnabled())
        sePos->setEnabled(!cbLast->isChecked());
    UpdateStripMark();
}

void TPropertyForm::UpdateStripMark()
{
    // The cell shown marked is the one the element will replace or go before.
    dgTiles->SetShowSelection(FKind != pkVariationRule && (Replace() || !InsertLast()));
}

void TPropertyForm::PositionChanged()
{
    if (FKind >= pkBorder && FKind <= pkImprovement)
        dgTiles->SetSelected(Position());
}

void TPropertyForm::StripChosen(int column)
{
    if (!FSet || column < 0)
        return;
    if (FKind == pkVariationRule) {
        if (static_cast<std::size_t>(column) < FSet->TileCount())
            pVariationRule->PickTile(FSet->Tile(static_cast<std::size_t>(column)).TileID);
        return;
    }
    // A position the user cannot change is not changed by the strip either.
    if (sePos->isEnabled())
        SetPosition(column);
    else
        dgTiles->SetSelected(Position());
}

// ---- Elements in ----

void TPropertyForm::SetTileRule(const TTileRule& rule)
{
    if (FAccepted)
        return;
    for (int slot = 0; slot < 9; ++slot)
        seNeighbour[static_cast<std::size_t>(slot)]->SetValue(RuleFieldValue(rule.Values[slot], FHexDisplay));
    seID->SetValue(RuleFieldValue(rule.Values[rvID], FHexDisplay));
    for (int i = 0; i < 5; ++i)
        seAlt[static_cast<std::size_t>(i)]->SetValue(RuleFieldValue(rule.Values[rvAlt1 + i], FHexDisplay));
}

void TPropertyForm::SetBorder(const TTileBorder& border)
{
    if (FAccepted)
        return;
    seID->SetValue(border.Inside);
    seAlt[0]->SetValue(border.Outside);
    FBorderSource.Assign(border);
    FBorderWorking.Assign(border);
    UpdatePreview();
}

void TPropertyForm::SetTile(const TTile& tile)
{
    if (FAccepted)
        return;
    seID->SetValue(tile.TileID);
    seAlt[0]->SetValue(tile.TileIndex);
    FTileSource.Assign(tile);
    FTileWorking.Assign(tile);
    FTileSourceFlags = tile.BorderEdges & 0x0F;
    // The boxes show the tile's corners; the tile already carries them, so nothing is re-encoded.
    for (int slot : {1, 3, 5, 7}) {
        QCheckBox* box = cbDirection[static_cast<std::size_t>(slot)];
        const int bit = slot == 3 ? 1 : slot == 1 ? 2 : slot == 5 ? 4 : 8;
        const QSignalBlocker blocker(box);
        box->setChecked(FTileSourceFlags & bit);
    }
    UpdatePreview();
}

void TPropertyForm::SetRiver(const TRiver& river)
{
    if (FAccepted)
        return;
    FRiver.Assign(river);
    seID->SetValue(river.ImprovementID);
    for (int slot = 0; slot < 9; ++slot)
        if (QCheckBox* box = cbDirection[static_cast<std::size_t>(slot)]) {
            const QSignalBlocker blocker(box);
            box->setChecked(river.Directions[static_cast<std::size_t>(slot)] == 1);
        }
    cbLand->setCurrentIndex(RiverTypeItem(river.Directions[nbCentre]));
    UpdatePreview();
}

void TPropertyForm::SetImprovement(const TTileImprovement& improvement)
{
    if (FAccepted)
        return;
    FImprovement.Assign(improvement);
    seID->SetValue(improvement.ImprovementID);
    UpdatePreview();
}

void TPropertyForm::SetVariationRule(const TVariationRule& rule)
{
    pVariationRule->Load(rule, !FAccepted);
    if (!IsTextEdit())
        UpdatePreview();
}

// ---- Elements out ----

void TPropertyForm::ApplyTileRule(TTileRule& target)
{
    for (int slot = 0; slot < 9; ++slot)
        target.Values[static_cast<std::size_t>(slot)] = Field16(seNeighbour[static_cast<std::size_t>(slot)]);
    target.Values[rvID] = Field16(seID);
    for (int i = 0; i < 5; ++i)
        target.Values[static_cast<std::size_t>(rvAlt1 + i)] = Field16(seAlt[static_cast<std::size_t>(i)]);
    FAccepted = false;
}

void TPropertyForm::ApplyBorder(TTileBorder& target)
{
    RebuildBorder(FBorderSource, BorderCorner(), FBorderWorking);
    target.Assign(FBorderWorking);
    target.Inside = Field16(seID);
    target.Outside = Field16(seAlt[0]);
    FAccepted = false;
}

void TPropertyForm::ApplyTile(TTile& target)
{
    target.Assign(FTileWorking);
    target.TileID = Field16(seID);
    target.TileIndex = static_cast<std::uint8_t>(FieldValue(seAlt[0]));
    target.BorderEdges = TileBorderEdges(FTileWorking.BorderEdges, CornerFlags());
    FAccepted = false;
}

void TPropertyForm::ApplyRiver(TRiver& target)
{
    target.Assign(FRiver);
    target.ImprovementID = Field16(seID);
    for (int slot = 0; slot < 9; ++slot)
        if (const QCheckBox* box = cbDirection[static_cast<std::size_t>(slot)])
            target.Directions[static_cast<std::size_t>(slot)] =
                RiverSlotValue(FRiver.Directions[static_cast<std::size_t>(slot)], box->isChecked());
    target.Directions[nbCentre] = RiverTypeValue(FRiver.Directions[nbCentre], cbLand->currentIndex());
    FAccepted = false;
}

void TPropertyForm::ApplyImprovement(TTileImprovement& target)
{
    target.Assign(FImprovement);
    target.ImprovementID = Field16(seID);
    FAccepted = false;
}

void TPropertyForm::ApplyVariationRule(TVariationRule& target)
{
    pVariationRule->Apply(target);
    FAccepted = false;
}

void TPropertyForm::done(int result)
{
    // Every way of pressing OK (button, Enter, Alt+O) ends here.
    if (result == QDialog::Accepted)
        FAccepted = true;
    QDialog::done(result);
}

// ---- Corner and direction boxes ----

int TPropertyForm::CornerFlags() const
{
    auto on = [this](int slot) { return cbDirection[static_cast<std::size_t>(slot)]->isChecked(); };
    return (on(nbSW) ? 1 : 0) | (on(nbNW) ? 2 : 0) | (on(nbNE) ? 4 : 0) | (on(nbSE) ? 8 : 0);
}

int TPropertyForm::BorderCorner() const
{
    const int flags = CornerFlags();
    for (int corner = 0; corner < 4; ++corner)
        if (flags == 1 << corner)
            return corner;
    return -1;
}

void TPropertyForm::CornerClicked(QCheckBox* box)
{
    if (FKind == pkBorder) {
        // One corner at most: its picture goes to all four edges.
        if (box->isChecked())
            for (int slot : {nbSW, nbNW, nbNE, nbSE})
                if (QCheckBox* other = cbDirection[static_cast<std::size_t>(slot)]; other != box)
                    other->setChecked(false);
        UpdatePreview();
    } else if (FKind == pkTile) {
        TileCornersChanged();
    }
}

void TPropertyForm::TileCornersChanged()
{
    RebuildTileCorners(FTileSource, FTileSourceFlags, CornerFlags(), Resolved(FImportTransparent),
                       Resolved(FImportShadow), FTileWorking);
    UpdatePreview();
}

// ---- Variation-rule text ----

bool TPropertyForm::IsTextEdit() const
{
    return cbHexEd->isChecked();
}

void TPropertyForm::TextEditSwitch()
{
    if (FKind != pkVariationRule)
        return;
    const bool text = IsTextEdit();
    mVariationRule->setVisible(text);
    mVariationRule->setEnabled(text);
    pResource->setVisible(!text);
    pbResource->setVisible(!text);
    if (text)
        mVariationRule->setFocus();
    else
        UpdatePreview();
}

// ---- Pictures ----

void TPropertyForm::LoadClicked()
{
    if (!FImportTGAChooser || FKind < pkBorder || FKind > pkImprovement)
        return;
    const std::optional<TImportTGAResult> chosen =
        FImportTGAChooser({FImageDirectory, FPreviewBackground, FImportShadow, FImportTransparent});
    if (chosen) {
        FImageDirectory = chosen->Directory;
        const TColor transparent = Resolved(chosen->Transparent);
        const TColor shadow = Resolved(chosen->Shadow);
        try {
            // Read into copies, taken over only when the whole picture has been read.
            if (FKind == pkBorder) {
                TTileBorder loaded;
                loaded.Assign(FBorderSource);
                loaded.ImportTGA(chosen->FileName);
                FBorderSource.Assign(loaded);
            } else if (FKind == pkTile) {
                // The source keeps the picture without the corners' marker border.
                TTile working, source;
                working.Assign(FTileWorking);
                source.Assign(FTileWorking);
                working.ImportTGA(chosen->FileName, transparent, shadow, CornerFlags());
                source.ImportTGA(chosen->FileName, transparent, shadow, 0);
                FTileWorking.Assign(working);
                FTileSource.Assign(source);
                FTileSourceFlags = 0;
            } else if (FKind == pkRiver) {
                TRiver loaded;
                loaded.Assign(FRiver);
                loaded.ImportTGA(chosen->FileName, transparent, shadow);
                FRiver.Assign(loaded);
            } else {
                TTileImprovement loaded;
                loaded.Assign(FImprovement);
                loaded.ImportTGA(chosen->FileName, transparent, shadow);
                FImprovement.Assign(loaded);
            }
        } catch (const EInvalidImageSize& e) {
            FPrompts.Message(std::string(e.what()) + "\n\r" +
                                 Format("Selected image size was %ux%u", e.ActualWidth, e.ActualHeight),
                             TMsgType::Warning, mbOK);
        } catch (const EKestrundError& e) {
            FPrompts.Message(e.what(), TMsgType::Warning, mbOK);
        }
        if (!FAlwaysUseDefault) {
            SetPreviewBackground(chosen->PreviewBackground);
            FImportTransparent = chosen->Transparent;
            FImportShadow = chosen->Shadow;
        }
    }
    UpdatePreview();
}

void TPropertyForm::SetPreviewBackground(TColor color)
{
    FPreviewBackground = color;
    UpdateSwatch();
    UpdatePreview();
}

void TPropertyForm::UpdateSwatch()
{
    static const QImage base = BlankSwatchGlyph();
    sbPreViewBG->setIcon(QPixmap::fromImage(ColorSwatchGlyph(base, FPreviewBackground, palette())));
}

void TPropertyForm::UpdatePreview()
{
    FPreview.fill(ColorToQColor(FPreviewBackground, palette()));
    TImageSurface surface(FPreview);
    switch (FKind) {
    case pkBorder:
        RebuildBorder(FBorderSource, BorderCorner(), FBorderWorking);
        FBorderWorking.Draw(PreviewElementX, PreviewElementY, surface);
        break;
    case pkTile: DrawTilePreview(FTileWorking, surface); break;
    case pkRiver: FRiver.Draw(PreviewElementX, PreviewElementY, surface); break;
    case pkImprovement: FImprovement.Draw(PreviewElementX, PreviewElementY, surface); break;
    case pkVariationRule:
        if (FSet)
            pVariationRule->WorkingRule().Draw(*FSet, 0, 0, surface);
        break;
    default: break;
    }
    pbResource->update();
}

void TPropertyForm::PreviewMouse(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!(event->modifiers() & Qt::ControlModifier) || !PickablePreviewPoint(p.x(), p.y()))
        return;
    const TColor color = QColorToColor(QColor(FPreview.pixel(p)));
    if (event->button() == Qt::LeftButton)
        FImportTransparent = color;
    else if (event->button() == Qt::RightButton)
        FImportShadow = color;
}

QImage TPropertyForm::StripPicture(int index, bool highlighted) const
{
    if (!FSet || FKind < pkBorder || FKind >= PropertyKindCount || index < 0)
        return {};
    const auto kind = static_cast<TPropertyKind>(FKind);
    const TStripPicture size = StripPictureSize(*FSet, kind, static_cast<std::size_t>(index));
    if (size.Width <= 0 || size.Height <= 0)
        return {};
    QImage picture(size.Width, size.Height, QImage::Format_RGB32);
    picture.fill(highlighted ? palette().color(QPalette::Highlight) : palette().color(QPalette::Base));
    TImageSurface surface(picture);
    DrawStripElement(*FSet, kind, static_cast<std::size_t>(index), surface);
    return picture;
}

// ---- Keys ----

bool TPropertyForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && PreviewKey(widget, static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TPropertyForm::PreviewKey(QWidget* target, QKeyEvent* event)
{
    const int key = event->key();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl && key >= Qt::Key_1 && key <= Qt::Key_9) {
        const int slot = digitSlots[key - Qt::Key_0];
        if (slot < 0)
            return true;
        QCheckBox* box = cbDirection[static_cast<std::size_t>(slot)];
        // Only a box the kind shows; checking an unchecked box is a click on it.
        if (box->isVisibleTo(this) && box->isEnabled() && !box->isChecked())
            box->click();
        return true;
    }
    if (!ctrl && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        // The text area takes Enter as a line break, a focused button as its own click.
        if (target == mVariationRule || target->parentWidget() == mVariationRule ||
            qobject_cast<QPushButton*>(target) || qobject_cast<QToolButton*>(target))
            return false;
        btnOk->click();
        return true;
    }
    return false;
}

} // namespace kestrund
