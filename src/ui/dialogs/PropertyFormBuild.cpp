// The property editor's widgets and layout, its settings, and the Add/Edit protocol its
// callers use.

#include "PropertyForm.h"

#include "ColorMenu.h"
#include "ElementStrip.h"
#include "ExtSpinEdit.h"
#include "Help.h"
#include "IniFile.h"
#include "MainSettings.h"
#include "Prompts.h"
#include "VariationRuleEditor.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrund {

namespace {

const char* const kWindowSection = "PropertyWindow";
const char* const kPrefsSection = "Preferences";
const char* const kColorsSection = "Colors";
// The size the default position centres; the dialog itself fits its kind's controls.
constexpr int kDesignWidth = 620, kDesignHeight = 440;

long long StoredColor(TColor c)
{
    return static_cast<std::int32_t>(c);
}

// Direction names by slot (0 W .. 8 E), and the keypad digit of each.
constexpr const char* directionNames[9] = {"W", "NW", "N", "SW", "Center", "NE", "S", "SE", "E"};
constexpr int directionDigits[9] = {4, 7, 8, 1, 5, 9, 2, 3, 6};
// Grid cell (row, column) of each slot in the keypad layout.
constexpr int slotRow[9] = {1, 0, 0, 2, 1, 0, 2, 2, 1};
constexpr int slotColumn[9] = {0, 0, 1, 0, 1, 2, 1, 2, 2};

// Help contexts of the fields whose meaning changes with the kind, by kind (0: not shown in it).
struct TKindHelp {
    const char* Name;
    int Context[PropertyKindCount];
};
constexpr TKindHelp kindHelp[] = {
    {"seID", {4101, 4201, 4301, 4401, 4501, 0}}, {"seAlt1", {4102, 4202, 4302, 0, 0, 0}},
    {"seAlt2", {4103, 0, 0, 0, 0, 0}},           {"seAlt3", {4104, 0, 0, 0, 0, 0}},
    {"seAlt4", {4105, 0, 0, 0, 0, 0}},           {"seAlt5", {4106, 0, 0, 0, 0, 0}},
    {"seN", {4107, 0, 0, 0, 0, 0}},              {"seNW", {4108, 0, 0, 0, 0, 0}},
    {"seNE", {4109, 0, 0, 0, 0, 0}},             {"seW", {4110, 0, 0, 0, 0, 0}},
    {"seCenter", {4111, 0, 0, 0, 0, 0}},         {"seE", {4112, 0, 0, 0, 0, 0}},
    {"seSW", {4113, 0, 0, 0, 0, 0}},             {"seSE", {4114, 0, 0, 0, 0, 0}},
    {"seS", {4115, 0, 0, 0, 0, 0}},              {"cbN", {0, 0, 0, 4407, 0, 0}},
    {"cbNW", {0, 4208, 4308, 4408, 0, 0}},       {"cbNE", {0, 4209, 4309, 4409, 0, 0}},
    {"cbW", {0, 0, 0, 4410, 0, 0}},              {"cbE", {0, 0, 0, 4412, 0, 0}},
    {"cbSW", {0, 4213, 4313, 4413, 0, 0}},       {"cbSE", {0, 4214, 4314, 4414, 0, 0}},
    {"cbS", {0, 0, 0, 4415, 0, 0}},              {"cbLand", {0, 0, 0, 4425, 0, 0}},
    // The river strip has a context of its own, not the text switch's 4605.
    {"dgTiles", {0, 4250, 4350, 4450, 4550, 4650}},
};

// The paint box: shows the picture and hands mouse presses to the dialog.
class TPaintBox final : public QWidget {
public:
    TPaintBox(const QImage& picture, std::function<void(QMouseEvent*)> pressed, QWidget* parent)
        : QWidget(parent), FPicture(picture), FPressed(std::move(pressed))
    {
        setFixedSize(PreviewWidth, PreviewHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, FPicture);
    }
    void mousePressEvent(QMouseEvent* event) override { FPressed(event); }

private:
    const QImage& FPicture;
    std::function<void(QMouseEvent*)> FPressed;
};

TExtSpinEdit* NewSpin(const QString& name, QWidget* parent)
{
    auto* edit = new TExtSpinEdit(parent);
    edit->setObjectName(name);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("-000000") + 28);
    return edit;
}

QLabel* NewLabel(const QString& name, const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

void TPropertyForm::BuildWidgets()
{
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(BuildFields(), 0, Qt::AlignTop);
    top->addWidget(BuildPreviewColumn(), 0, Qt::AlignTop);
    layout->addLayout(top);

    dgTiles = new TElementStrip(this);
    dgTiles->setObjectName("dgTiles");
    dgTiles->SetCellPicture([this](int index, bool highlighted) { return StripPicture(index, highlighted); });
    connect(dgTiles, &TElementStrip::CellChosen, this, &TPropertyForm::StripChosen);
    layout->addWidget(dgTiles);

    auto* bottom = new QHBoxLayout;
    cbHex = new QCheckBox("&Hex", this);
    cbHex->setObjectName("cbHex");
    connect(cbHex, &QCheckBox::clicked, this, [this](bool on) { SetHexDisplay(on); });
    bottom->addWidget(cbHex);
    bottom->addStretch(1);
    auto* buttons = new QDialogButtonBox(this);
    btnOk = new QPushButton("&OK", this);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    btnCancel = new QPushButton("&Cancel", this);
    btnCancel->setObjectName("btnCancel");
    buttons->addButton(btnOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(btnCancel, QDialogButtonBox::RejectRole);
    btnHelp = new QPushButton("&Help", this);
    btnHelp->setObjectName("btnHelp");
    btnHelp->setAutoDefault(false);
    buttons->addButton(btnHelp, QDialogButtonBox::HelpRole);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpContext(HelpContextOf(this)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    FColorMenu = new ColorMenu(this);
    FColorMenu->setObjectName("ColorMenu");
    FColorMenu->SetColorChooser([this](TColor initial, QWidget*) { return FPrompts.ChooseColor(initial); });
    connect(FColorMenu, &ColorMenu::ColorChosen, this, [this](TColor color) { SetPreviewBackground(color); });

    const std::pair<QWidget*, int> fixedHelp[] = {
        {this, 4000},      {sePos, 4001},      {cbReplace, 4002},      {cbHex, 4003}, {btnLoad, 4004},
        {btnOk, 4005},     {btnCancel, 4006},  {btnHelp, 4007},        {pResource, 4008}, {cbLast, 4009},
        {mVariationRule, 4601}, {cbHexEd, 4605}};
    for (const auto& [widget, context] : fixedHelp)
        widget->setProperty("HelpContext", context);
    for (QWidget* combo : pVariationRule->findChildren<QWidget*>()) {
        const QString name = combo->objectName();
        const int context = name.endsWith("Index") ? 4602 : name.endsWith("Dir") ? 4603 : name.endsWith("TileID") ? 4604 : 0;
        if (context)
            combo->setProperty("HelpContext", context);
    }
    InstallHelpKeys(this);

    // Every widget's keys pass the dialog first (Ctrl+digit, Enter).
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    const std::vector<QWidget*> picture{btnLoad, lPreViewBGColor, sbPreViewBG, pResource, pbResource, dgTiles};
    std::vector<QWidget*> corners{pDirections};
    for (int slot : {1, 3, 5, 7})
        corners.push_back(cbDirection[static_cast<std::size_t>(slot)]);
    auto& rule = FKindWidgets[pkTileRule];
    rule = {lID, seID, pNeighbours};
    for (int i = 0; i < 5; ++i)
        rule.insert(rule.end(), {lAlt[static_cast<std::size_t>(i)], seAlt[static_cast<std::size_t>(i)]});
    for (TPropertyKind kind : {pkBorder, pkTile}) {
        FKindWidgets[kind] = {lID, seID, lAlt[0], seAlt[0]};
        FKindWidgets[kind].insert(FKindWidgets[kind].end(), corners.begin(), corners.end());
        FKindWidgets[kind].insert(FKindWidgets[kind].end(), picture.begin(), picture.end());
    }
    auto& river = FKindWidgets[pkRiver];
    river = {lID, seID, pDirections, lLand, cbLand};
    for (QCheckBox* box : cbDirection)
        if (box)
            river.push_back(box);
    river.insert(river.end(), picture.begin(), picture.end());
    FKindWidgets[pkImprovement] = {lID, seID};
    FKindWidgets[pkImprovement].insert(FKindWidgets[pkImprovement].end(), picture.begin(), picture.end());
    FKindWidgets[pkVariationRule] = {pVariationRule, cbHexEd, btnUpdate, lPreViewBGColor, sbPreViewBG,
                                     pResource, pbResource, dgTiles};
}

void TPropertyForm::SetKindHelp(int kind)
{
    setProperty("HelpContext", 4100 + 100 * kind);
    for (const TKindHelp& field : kindHelp)
        if (auto* widget = findChild<QWidget*>(field.Name))
            widget->setProperty("HelpContext", field.Context[kind]);
}

QWidget* TPropertyForm::BuildFields()
{
    auto* fields = new QWidget(this);
    auto* column = new QVBoxLayout(fields);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto* position = new QGridLayout;
    sePos = NewSpin("sePos", fields);
    lPos = NewLabel("lPos", "&Possition", sePos, fields);
    cbReplace = new QCheckBox("R&eplace", fields);
    cbReplace->setObjectName("cbReplace");
    cbReplace->setToolTip("Replace resource");
    cbReplace->setStatusTip("If checked the resource at Pos will be replaced");
    cbLast = new QCheckBox("Insert &Last", fields);
    cbLast->setObjectName("cbLast");
    cbLast->setToolTip("New Resource will be placed after last of its kind");
    connect(cbReplace, &QCheckBox::clicked, this, &TPropertyForm::ReplaceClicked);
    connect(cbLast, &QCheckBox::clicked, this, &TPropertyForm::LastClicked);
    connect(sePos, &TExtSpinEdit::Changed, this, &TPropertyForm::PositionChanged);
    position->addWidget(lPos, 0, 0);
    position->addWidget(sePos, 0, 1);
    position->addWidget(cbReplace, 0, 2);
    position->addWidget(cbLast, 1, 2);
    position->setColumnMinimumWidth(2, 110);
    position->setHorizontalSpacing(8);
    column->addLayout(position);

    auto* values = new QGridLayout;
    values->setHorizontalSpacing(8);
    seID = NewSpin("seID", fields);
    lID = NewLabel("lID", "", seID, fields);
    values->addWidget(lID, 0, 0);
    values->addWidget(seID, 0, 1);
    for (int i = 0; i < 5; ++i) {
        const auto k = static_cast<std::size_t>(i);
        seAlt[k] = NewSpin(QString("seAlt%1").arg(i + 1), fields);
        lAlt[k] = NewLabel(QString("lAlt%1").arg(i + 1), QString("Alt&%1").arg(i + 1), seAlt[k], fields);
        values->addWidget(lAlt[k], i + 1, 0);
        values->addWidget(seAlt[k], i + 1, 1);
    }
    values->setColumnStretch(2, 1);
    column->addLayout(values);

    pNeighbours = new QWidget(fields);
    auto* neighbours = new QGridLayout(pNeighbours);
    neighbours->setContentsMargins(0, 0, 0, 0);
    neighbours->setHorizontalSpacing(6);
    pDirections = new QWidget(fields);
    auto* directions = new QGridLayout(pDirections);
    directions->setContentsMargins(0, 0, 0, 0);
    directions->setHorizontalSpacing(12);
    for (int slot = 0; slot < 9; ++slot) {
        const auto k = static_cast<std::size_t>(slot);
        const QString name = directionNames[slot];
        seNeighbour[k] = NewSpin("se" + name, pNeighbours);
        lNeighbour[k] = NewLabel("l" + name, name == "Center" ? "C" : name, seNeighbour[k], pNeighbours);
        lNeighbour[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        neighbours->addWidget(lNeighbour[k], slotRow[slot], 2 * slotColumn[slot]);
        neighbours->addWidget(seNeighbour[k], slotRow[slot], 2 * slotColumn[slot] + 1);
        if (slot == 4)
            continue;
        auto* box = new QCheckBox(name, pDirections);
        box->setObjectName("cb" + name);
        box->setToolTip(QString("Ctrl+%1").arg(directionDigits[slot]));
        connect(box, &QCheckBox::clicked, this, [this, box] { CornerClicked(box); });
        cbDirection[k] = box;
        directions->addWidget(box, slotRow[slot], slotColumn[slot]);
    }
    column->addWidget(pNeighbours);
    column->addWidget(pDirections);

    auto* land = new QHBoxLayout;
    cbLand = new QComboBox(fields);
    cbLand->setObjectName("cbLand");
    cbLand->addItems({"Land", "Beach"});
    lLand = NewLabel("lLand", "River &Type", cbLand, fields);
    land->addWidget(lLand);
    land->addWidget(cbLand);
    land->addStretch(1);
    column->addLayout(land);

    mVariationRule = new QPlainTextEdit(this);
    mVariationRule->setObjectName("mVariationRule");
    mVariationRule->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mVariationRule->setLineWrapMode(QPlainTextEdit::NoWrap);
    pVariationRule = new TVariationRuleEditor(mVariationRule, fields);
    connect(pVariationRule, &TVariationRuleEditor::Changed, this, [this] {
        if (!IsTextEdit())
            UpdatePreview();
    });
    column->addWidget(pVariationRule);
    auto* text = new QHBoxLayout;
    cbHexEd = new QCheckBox("Te&xt Edit", fields);
    cbHexEd->setObjectName("cbHexEd");
    connect(cbHexEd, &QCheckBox::clicked, this, &TPropertyForm::TextEditSwitch);
    btnUpdate = new QPushButton("&Update", fields);
    btnUpdate->setObjectName("btnUpdate");
    btnUpdate->setAutoDefault(false);
    connect(btnUpdate, &QPushButton::clicked, pVariationRule, &TVariationRuleEditor::UpdateFromText);
    text->addWidget(cbHexEd);
    text->addStretch(1);
    text->addWidget(btnUpdate);
    column->addLayout(text);
    column->addStretch(1);
    return fields;
}

QWidget* TPropertyForm::BuildPreviewColumn()
{
    auto* preview = new QWidget(this);
    auto* column = new QVBoxLayout(preview);
    column->setContentsMargins(0, 0, 0, 0);

    FPreview = QImage(PreviewWidth, PreviewHeight, QImage::Format_RGB32);
    FPreview.fill(Resolved(FPreviewBackground));
    pResource = new QFrame(preview);
    pResource->setObjectName("pResource");
    pResource->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* frame = new QVBoxLayout(pResource);
    frame->setContentsMargins(2, 2, 2, 2);
    pbResource = new TPaintBox(FPreview, [this](QMouseEvent* event) { PreviewMouse(event); }, pResource);
    pbResource->setObjectName("pbResource");
    pbResource->setToolTip("Ctrl+left click: transparent colour, Ctrl+right click: shadow colour");
    frame->addWidget(pbResource);
    column->addWidget(pResource);
    mVariationRule->setParent(preview);
    mVariationRule->setFixedSize(PreviewWidth + 4, PreviewHeight + 4);
    column->addWidget(mVariationRule);

    auto* row = new QHBoxLayout;
    sbPreViewBG = new QToolButton(preview);
    sbPreViewBG->setObjectName("sbPreViewBG");
    sbPreViewBG->setIconSize(QSize(24, 15));
    sbPreViewBG->setFocusPolicy(Qt::StrongFocus);
    connect(sbPreViewBG, &QToolButton::clicked, this,
            [this] { FColorMenu->popup(sbPreViewBG->mapToGlobal(QPoint(0, sbPreViewBG->height()))); });
    lPreViewBGColor = NewLabel("lPreViewBGColor", "Preview &BG Color:", sbPreViewBG, preview);
    btnLoad = new QPushButton("&Load", preview);
    btnLoad->setObjectName("btnLoad");
    btnLoad->setAutoDefault(false);
    connect(btnLoad, &QPushButton::clicked, this, &TPropertyForm::LoadClicked);
    row->addWidget(lPreViewBGColor);
    row->addWidget(sbPreViewBG);
    row->addStretch(1);
    row->addWidget(btnLoad);
    column->addLayout(row);
    return preview;
}

TImportSettings ReadImportSettings(const TIniFile& ini)
{
    return {static_cast<TColor>(ini.ReadInteger(kColorsSection, "ImportTransparant", 0xC0C0C0)),
            static_cast<TColor>(ini.ReadInteger(kColorsSection, "ImportShadow", 0x808080)),
            static_cast<TColor>(ini.ReadInteger(kColorsSection, "ImportBackGround", StoredColor(clBtnFace))),
            ini.ReadBool(kColorsSection, "PersistentColors", false),
            ini.ReadBool(kColorsSection, "AlwaysUseDefault", false)};
}

void TPropertyForm::ReadSettings()
{
    const TIniFile ini(FIniPath);
    const TWindowPlacement def = CentredOnPrimaryScreen(kDesignWidth, kDesignHeight);
    ApplyPlacement(*this, {ini.ReadInteger(kWindowSection, "Left", def.Left),
                           ini.ReadInteger(kWindowSection, "Top", def.Top), def.Width, def.Height, 0});
    cbHexEd->setChecked(ini.ReadBool(kPrefsSection, "EditVariationRuleASText", false));
    const TImportSettings import = ReadImportSettings(ini);
    FImportTransparent = import.Transparent;
    FImportShadow = import.Shadow;
    FPersistentColors = import.PersistentColors;
    FAlwaysUseDefault = import.AlwaysUseDefault;
    SetPreviewBackground(import.PreviewBackground);
}

void TPropertyForm::WriteSettings()
{
    TExtIniFile ini(FIniPath);
    const TWindowPlacement def = CentredOnPrimaryScreen(kDesignWidth, kDesignHeight);
    const TWindowPlacement now = CurrentPlacement(*this);
    ini.WriteIntegerDef(kWindowSection, "Left", def.Left, now.Left);
    ini.WriteIntegerDef(kWindowSection, "Top", def.Top, now.Top);
    ini.WriteBoolDef(kPrefsSection, "EditVariationRuleASText", false, IsTextEdit());
    ini.WriteBoolDef(kColorsSection, "PersistentColors", false, FPersistentColors);
    ini.WriteBoolDef(kColorsSection, "AlwaysUseDefault", false, FAlwaysUseDefault);
    if (!FPersistentColors)
        SaveImportColors();
}

void TPropertyForm::SaveImportColors()
{
    TExtIniFile ini(FIniPath);
    ini.WriteIntegerDef(kColorsSection, "ImportTransparant", StoredColor(0xC0C0C0), StoredColor(FImportTransparent));
    ini.WriteIntegerDef(kColorsSection, "ImportShadow", StoredColor(0x808080), StoredColor(FImportShadow));
    ini.WriteIntegerDef(kColorsSection, "ImportBackGround", StoredColor(clBtnFace), StoredColor(FPreviewBackground));
}

namespace {

// The element the dialog starts from: a fresh one for Add, a copy of the set's for Edit.
void MakeBase(const TElementEditRequest& r, TElementEditResult& e)
{
    const TTileFile& set = *r.Set;
    const auto i = static_cast<std::size_t>(r.Position);
    switch (r.Kind) {
    case pkTileRule:
        e.TileRule = std::make_unique<TTileRule>(&set);
        if (!r.Add)
            e.TileRule->Values = set.TileRule(i).Values;
        break;
    case pkBorder:
        e.Border = std::make_unique<TTileBorder>(set.ColorMode);
        if (!r.Add)
            e.Border->Assign(set.Border(i));
        break;
    case pkTile:
        e.Tile = std::make_unique<TTile>(0, set.ColorMode);
        if (!r.Add) {
            e.Tile->Assign(set.Tile(i));
            e.Tile->ImageSize = set.Tile(i).ImageSize;
        }
        break;
    case pkRiver:
        e.River = std::make_unique<TRiver>(set.ColorMode);
        if (!r.Add)
            e.River->Assign(set.River(i));
        break;
    case pkImprovement:
        e.Improvement = std::make_unique<TTileImprovement>(set.ColorMode);
        if (!r.Add)
            e.Improvement->Assign(set.Improvement(i));
        break;
    case pkVariationRule:
        e.VariationRule = std::make_unique<TVariationRule>();
        if (!r.Add)
            e.VariationRule->Assign(set.VariationRule(i));
        break;
    }
}

void ShowBase(TPropertyForm& form, const TElementEditResult& e)
{
    if (e.TileRule)
        form.SetTileRule(*e.TileRule);
    if (e.Border)
        form.SetBorder(*e.Border);
    if (e.Tile)
        form.SetTile(*e.Tile);
    if (e.River)
        form.SetRiver(*e.River);
    if (e.Improvement)
        form.SetImprovement(*e.Improvement);
    if (e.VariationRule)
        form.SetVariationRule(*e.VariationRule);
}

void ApplyToBase(TPropertyForm& form, TElementEditResult& e)
{
    if (e.TileRule)
        form.ApplyTileRule(*e.TileRule);
    if (e.Border)
        form.ApplyBorder(*e.Border);
    if (e.Tile)
        form.ApplyTile(*e.Tile);
    if (e.River)
        form.ApplyRiver(*e.River);
    if (e.Improvement)
        form.ApplyImprovement(*e.Improvement);
    if (e.VariationRule)
        form.ApplyVariationRule(*e.VariationRule);
}

} // namespace

std::optional<TElementEditResult> RunPropertyForm(TPropertyForm& form, const TElementEditRequest& request)
{
    if (!request.Set || request.Kind < 0 || request.Kind >= PropertyKindCount)
        return std::nullopt;
    const std::size_t count = ElementCount(*request.Set, request.Kind);
    if (!request.Add && (request.Position < 0 || static_cast<std::size_t>(request.Position) >= count))
        return std::nullopt;

    TElementEditResult result;
    MakeBase(request, result);
    form.SetTileSet(request.Set);
    form.SetKind(request.Kind);
    form.setWindowTitle(QString::fromStdString(PropertyCaption(request.Kind, request.Add)));
    form.SetHexDisplay(request.Hex);
    ShowBase(form, result);
    if (request.Add)
        form.SetAddMode(true);
    else
        form.SetReplace(true);
    form.SetPosition(request.Position);
    if (KindHasPicture(request.Kind))
        form.SetImageDirectory(request.ImageDirectory);

    const bool confirmed = form.exec() == QDialog::Accepted;
    if (confirmed) {
        ApplyToBase(form, result);
        result.Replace = form.Replace();
        result.Last = form.InsertLast();
        // Edit replaces the element it opened, whatever the position field says.
        result.Position = !request.Add && result.Replace ? request.Position : form.Position();
        result.ImageDirectory = KindHasPicture(request.Kind) ? form.ImageDirectory() : request.ImageDirectory;
    }
    form.HideAllKinds();
    form.SetTileSet(nullptr);
    if (!confirmed)
        return std::nullopt;
    return result;
}

} // namespace kestrund
