#include "VariationRuleEditor.h"

#include "MiscFunc.h"
#include "PropertyLogic.h"
#include "TileFile.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace kestrund {

namespace {

const char* const kNon = "Non";

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

TVariationRuleEditor::TVariationRuleEditor(QPlainTextEdit* text, QWidget* parent)
    : QWidget(parent)
    , FText(text)
{
    setObjectName("pVariationRule");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const char* headings[] = {"Tile Index", "Dir.", "Tile ID"};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(new QLabel(headings[c], this), 0, c);

    for (int r = 0; r < RowCount; ++r) {
        TRow& row = FRows[static_cast<std::size_t>(r)];
        const QString prefix = QString("cbVR%1").arg(r);
        row.Index = new QComboBox(this);
        row.Index->setObjectName(prefix + "Index");
        row.Dir = new QComboBox(this);
        row.Dir->setObjectName(prefix + "Dir");
        if (r == 0)
            row.Dir->addItem("0");
        else
            row.Dir->addItems({"1", "2", "3", "4"});
        row.TileID = new QComboBox(this);
        row.TileID->setObjectName(prefix + "TileID");
        row.TileID->setEditable(true);
        row.TileID->setInsertPolicy(QComboBox::NoInsert);
        row.Index->setMinimumContentsLength(4);
        row.TileID->setMinimumContentsLength(5);
        grid->addWidget(row.Index, r + 1, 0);
        grid->addWidget(row.Dir, r + 1, 1);
        grid->addWidget(row.TileID, r + 1, 2);

        for (QWidget* w : {static_cast<QWidget*>(row.Index), static_cast<QWidget*>(row.Dir),
                           static_cast<QWidget*>(row.TileID), static_cast<QWidget*>(row.TileID->lineEdit())})
            w->installEventFilter(this);
        connect(row.Index, &QComboBox::activated, this, [this, r] {
            IndexBehaviour(r, ShownIndex(r));
            RowChange(r, true);
        });
        connect(row.Dir, &QComboBox::activated, this, [this, r] { RowChange(r, false); });
        connect(row.TileID, &QComboBox::activated, this, [this, r] { RowChange(r, false); });
        connect(row.TileID->lineEdit(), &QLineEdit::textEdited, this, [this, r] { RowChange(r, false); });
    }
    grid->setColumnStretch(2, 1);
}

bool TVariationRuleEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        for (int r = 0; r < RowCount; ++r) {
            const TRow& row = FRows[static_cast<std::size_t>(r)];
            if (watched == row.Index || watched == row.Dir || watched == row.TileID ||
                watched == row.TileID->lineEdit())
                FFocusedRow = r;
        }
    return QWidget::eventFilter(watched, event);
}

void TVariationRuleEditor::Load(const TVariationRule& rule, bool reload)
{
    FFocusedRow = -1;
    FWorking.Assign(rule);
    if (!reload)
        return;
    FLoadedSteps = rule.Steps;
    QStringList indices{kNon};
    if (FSet)
        for (const std::string& index : FSet->TileIndexList())
            indices << Text(index);
    for (int r = 0; r < RowCount; ++r) {
        TRow& row = FRows[static_cast<std::size_t>(r)];
        const QSignalBlocker b1(row.Index), b2(row.Dir), b3(row.TileID);
        row.Index->clear();
        row.Index->addItems(indices);
        row.Index->setCurrentIndex(0);
        row.Index->setEnabled(r == 0);
        row.Dir->setCurrentIndex(-1);
        row.Dir->setEnabled(false);
        row.TileID->clear();
        row.TileID->clearEditText();
        row.TileID->setEnabled(false);
    }
    RefreshRows();
    std::vector<std::string> lines;
    for (std::uint32_t step : rule.Steps)
        lines.push_back(StepLine(step));
    SetLines(lines);
}

void TVariationRuleEditor::Apply(TVariationRule& target) const
{
    target.Steps = StepsFromLines(Lines(), FLoadedSteps);
}

void TVariationRuleEditor::UpdateFromText()
{
    std::vector<std::string> lines = Lines();
    std::erase_if(lines, [](const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; });
    SetLines(lines);
    FWorking.Steps = StepsFromLines(lines, FLoadedSteps);
    RefreshRows();
}

void TVariationRuleEditor::PickTile(std::uint16_t tileID)
{
    if (FFocusedRow < 0 || FFocusedRow >= RowCount)
        return;
    FRows[static_cast<std::size_t>(FFocusedRow)].TileID->setEditText(Text(IntToStrPad(tileID, 4, '0')));
    RowChange(FFocusedRow, false);
}

void TVariationRuleEditor::RefreshRows()
{
    for (TRow& row : FRows) {
        const QSignalBlocker blocker(row.Index);
        row.Index->setCurrentIndex(0);
    }
    // Rows below an entry that fills them stay unusable.
    IndexBehaviour(0, -1);
    FRows[0].Index->setEnabled(true);
    const std::size_t shown = std::min<std::size_t>(FWorking.StepCount(), RowCount);
    for (std::size_t e = 0; e < shown; ++e) {
        TRow& row = FRows[e];
        const QSignalBlocker b1(row.Index), b2(row.Dir), b3(row.TileID);
        const int item = row.Index->findText(Text(IntToStrPad(FWorking.StepTileIndex(e), 2, '0')));
        row.Index->setCurrentIndex(item > 0 ? item : 0);
        if (item > 0)
            IndexBehaviour(static_cast<int>(e), FWorking.StepTileIndex(e));
        row.Dir->setCurrentIndex(row.Dir->findText(QString::number(FWorking.StepDir(e))));
        row.TileID->setEditText(Text(IntToStrPad(FWorking.StepTileID(e), 4, '0')));
    }
    emit Changed();
}

int TVariationRuleEditor::ShownIndex(int row) const
{
    const QComboBox* combo = FRows[static_cast<std::size_t>(row)].Index;
    if (combo->currentIndex() <= 0)
        return -1;
    return static_cast<int>(ParseInteger(combo->currentText().toStdString()).value_or(-1));
}

void TVariationRuleEditor::IndexBehaviour(int r, int index)
{
    TRow& row = FRows[static_cast<std::size_t>(r)];
    const QSignalBlocker b1(row.Dir), b2(row.TileID);
    if (r + 1 < RowCount) {
        FRows[static_cast<std::size_t>(r + 1)].Index->setEnabled(index >= 0);
        IndexBehaviour(r + 1, index >= 0 ? ShownIndex(r + 1) : -1);
    }
    row.Dir->setEnabled(index >= 0);
    row.TileID->setEnabled(index >= 0);
    if (index < 0)
        return;
    row.Dir->setCurrentIndex(r < 2 ? 0 : FRows[static_cast<std::size_t>(r - 1)].Dir->currentIndex());
    row.TileID->clear();
    row.TileID->clearEditText();
    if (FSet)
        for (const std::string& id : TileIDsOfIndex(*FSet, index))
            row.TileID->addItem(Text(id));
    if (row.TileID->count() > 0)
        row.TileID->setCurrentIndex(0);
}

void TVariationRuleEditor::RowChange(int r, bool ownIndexChoice)
{
    const TRow& row = FRows[static_cast<std::size_t>(r)];
    const auto k = static_cast<std::size_t>(r);
    if (row.Index->currentIndex() > 0) {
        const std::string index = row.Index->currentText().toStdString();
        const std::string dir = row.Dir->currentText().toStdString();
        const std::string tileID = row.TileID->currentText().toStdString();
        std::vector<std::string> lines = Lines();
        const std::string line = index + "," + dir + "," + tileID;
        if (lines.size() > k)
            lines[k] = line;
        else
            lines.push_back(line);
        SetLines(lines);
        if (FWorking.StepCount() < k + 1)
            FWorking.SetStepCount(static_cast<std::uint16_t>(k + 1));
        FWorking.Steps[k] = RowStep(index, dir, tileID);
        if (r + 1 < RowCount) {
            RowChange(r + 1, false);
            return;
        }
    } else if (ownIndexChoice) {
        std::vector<std::string> lines = Lines();
        if (lines.size() > k)
            lines.resize(k);
        SetLines(lines);
        if (FWorking.StepCount() > k)
            FWorking.SetStepCount(static_cast<std::uint16_t>(k));
    }
    emit Changed();
}

std::vector<std::string> TVariationRuleEditor::Lines() const
{
    return TextLines(FText->toPlainText().toStdString());
}

void TVariationRuleEditor::SetLines(const std::vector<std::string>& lines)
{
    FText->setPlainText(Text(JoinLines(lines)));
}

} // namespace kestrund
