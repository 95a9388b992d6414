#include "OptionsForm.h"

#include "ColorComboBox.h"
#include "ExtSpinEdit.h"
#include "Help.h"
#include "IniFile.h"
#include "MainSettings.h"
#include "PropertyForm.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrund {

namespace {

const char* const kSection = "OptionsWindow";

struct TDirRowSpec {
    const char* Caption;
    const char* Name; // the edit's name without its "e"
    const char* Button;
    int Help;
    std::string TOptionsValues::*Field;
};
const TDirRowSpec kDirRows[] = {
    {"Tile&File Directory:", "TileDir", "sbTileDir", 502, &TOptionsValues::TileDir},
    {"&ScriptFile Directory:", "SrcDir", "sbSrcDir", 503, &TOptionsValues::SrcDir},
    {"I&mage Directory:", "ImgDir", "sbImgDir", 504, &TOptionsValues::ImageDir},
    {"&Tile Image Dir.:", "TileImgDir", "sbTileImgDir", 506, &TOptionsValues::TileImageDir},
    {"&Border Image Dir.:", "BorderImgDir", "sbBorderImgDir", 507, &TOptionsValues::BorderImageDir},
    {"&River Image Dir.:", "RiverImgDir", "sbRiverImgDir", 508, &TOptionsValues::RiverImageDir},
    {"Tile&Imp. Image Dir.:", "TileImpImgDir", "sbTileImpDir", 509, &TOptionsValues::TileImpImageDir},
};

#ifdef Q_OS_WIN
const char* const kRegisterText = "Register Civ:CTP/CTP2 Tile-file in the Windows registry. This will enable "
                                  "double-clicking a tile-file to open it in Kestrund.";
#else
const char* const kRegisterText = "Register Civ:CTP/CTP2 Tile-file with the desktop. This will enable "
                                  "double-clicking a tile-file to open it in Kestrund.";
#endif

template <class W>
W* Named(W* widget, const char* name, int help = 0)
{
    widget->setObjectName(name);
    if (help)
        widget->setProperty("HelpContext", help);
    return widget;
}

QCheckBox* CheckBox(const char* caption, const char* name, int help)
{
    return Named(new QCheckBox(caption), name, help);
}

// Item 1 for 1, item 2 for 2, the first item for anything else.
int ItemOf(int value)
{
    return value == 1 || value == 2 ? value : 0;
}

QLabel* Buddy(const char* caption, QWidget* buddy)
{
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TOptionsForm::TOptionsForm(const std::string& iniPath, QWidget* parent)
    : QDialog(parent), FIniPath(iniPath)
{
    setObjectName("OptionsForm");
    setWindowTitle("Options");
    setProperty("HelpContext", 500);

    pcOptions = Named(new QTabWidget, "pcOptions");
    pcOptions->addTab(BuildDirectories(), "Directorie&s");
    pcOptions->addTab(BuildPreferences(), "Pr&eferences");
    pcOptions->addTab(BuildColors(), "Co&lors");

    btnOk = Named(new QPushButton("&OK"), "btnOk", 513);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = Named(new QPushButton("&Cancel"), "btnCancel", 514);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    btnHelp = Named(new QPushButton("&Help"), "btnHelp", 515);
    connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelpContext(500); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcOptions);
    layout->addLayout(buttons);

    SetActions({}, {}, {});
    pcOptions->setCurrentIndex(0);
    // The window has the size its contents need; its stored place is its top-left corner.
    const QSize design = sizeHint().expandedTo(QSize(420, 0));
    FDesignWidth = design.width();
    FDesignHeight = design.height();
    setFixedSize(design);
    InstallHelpKeys(this);
    ReadSettings();
}

TOptionsForm::~TOptionsForm()
{
    WriteSettingsOnClose([this] { WriteSettings(); });
}

QWidget* TOptionsForm::BuildDirectories()
{
    auto* page = Named(new QWidget, "tsDir");
    aSetPersistent = Named(new QAction("&Persistent Directories", this), "aSetPersistent", 501);
    aSetPersistent->setCheckable(true);
    aSetDiversImgDirs = Named(new QAction("&Diverse Image Directories", this), "aSetDiversImgDirs", 505);
    aSetDiversImgDirs->setCheckable(true);
    cbPersistentDirs = CheckBox("&Persistent Directories", "cbPersistentDirs", 501);
    cbAlwayUseDef = CheckBox("&Always use Default Directories", "cbAlwayUseDef", 510);
    cbDiverseImageDirs = CheckBox("&Diverse Image Directories", "cbDiverseImageDirs", 505);
    // Each box shows its action's state; the action carries the enabling.
    for (auto [box, action] : {std::pair{cbPersistentDirs, aSetPersistent}, {cbDiverseImageDirs, aSetDiversImgDirs}}) {
        connect(box, &QCheckBox::toggled, action, &QAction::setChecked);
        connect(action, &QAction::toggled, box, &QCheckBox::setChecked);
    }
    connect(aSetPersistent, &QAction::toggled, cbAlwayUseDef, &QWidget::setEnabled);
    connect(aSetDiversImgDirs, &QAction::toggled, this, [this](bool on) {
        for (int i = FirstImageRow; i < DirRowCount; ++i)
            for (QWidget* w : {static_cast<QWidget*>(FDirRows[i].Label), static_cast<QWidget*>(FDirRows[i].Panel),
                               static_cast<QWidget*>(FDirRows[i].Browse)})
                w->setEnabled(on);
    });

    auto* grid = new QGridLayout(page);
    grid->addWidget(cbPersistentDirs, 0, 0, 1, 3);
    grid->addWidget(cbAlwayUseDef, 1, 0, 1, 3);
    for (int i = 0; i < DirRowCount; ++i) {
        const TDirRowSpec& spec = kDirRows[i];
        TDirRow& row = FDirRows[i];
        row.Panel = Named(new QFrame, qPrintable(QString("p") + spec.Name), spec.Help);
        row.Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        row.Edit = Named(new QLineEdit, qPrintable(QString("e") + spec.Name), spec.Help);
        row.Edit->setFrame(false);
        row.Edit->setMinimumWidth(220);
        row.Edit->installEventFilter(this);
        auto* inside = new QHBoxLayout(row.Panel);
        inside->setContentsMargins(1, 1, 1, 1);
        inside->addWidget(row.Edit);
        row.Label = Named(Buddy(spec.Caption, row.Edit), qPrintable(QString("l") + spec.Name), spec.Help);
        row.Browse = Named(new QToolButton, spec.Button, spec.Help);
        row.Browse->setText("...");
        row.Browse->setToolTip("Browse for the folder");
        connect(row.Browse, &QToolButton::clicked, this, [this, i] { Browse(i); });
        const int gridRow = i < FirstImageRow ? i + 2 : i + 3;
        grid->addWidget(row.Label, gridRow, 0);
        grid->addWidget(row.Panel, gridRow, 1);
        grid->addWidget(row.Browse, gridRow, 2);
    }
    grid->addWidget(cbDiverseImageDirs, FirstImageRow + 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);

    aSetPersistent->setChecked(false);
    cbAlwayUseDef->setEnabled(false);
    aSetDiversImgDirs->setChecked(true);
    cbDiverseImageDirs->setChecked(true);
    return page;
}

QWidget* TOptionsForm::BuildPreferences()
{
    auto* page = Named(new QWidget, "tsPreferences");
    cbLogLevel = Named(new QComboBox, "cbLogLevel", 511);
    cbLogLevel->addItems({"Simple", "Extensive (slow)", "Total (verry slow)"});
    cbOverWritePrompt = CheckBox("&Prompt when Over Writing files", "cbOverWritePrompt", 512);
    seImgBorderWidth = Named(new TExtSpinEdit, "seImgBorderWidth", 516);
    seImgBorderWidth->SetMinValue(0);
    seImgBorderWidth->SetMaxValue(255);
    seImgBorderWidth->setMaxLength(3);
    seImgBorderWidth->setFixedWidth(60);
    cbDefColorMode = Named(new QComboBox, "cbDefColorMode", 520);
    cbDefColorMode->addItems({"Windows Color mode (555)", "In-game Color mode   (565)", "Remember Color Mode"});

    auto* form = new QFormLayout;
    form->addRow(Buddy("Script &Log Level:", cbLogLevel), cbLogLevel);
    form->addRow(cbOverWritePrompt);
    form->addRow(Buddy("Image Border &Width", seImgBorderWidth), seImgBorderWidth);
    form->addRow(Buddy("Default Color &Mode", cbDefColorMode), cbDefColorMode);

    auto* lRegister = Named(new QLabel(kRegisterText), "lRegister");
    lRegister->setWordWrap(true);
    btnRegisterSPR = Named(new QPushButton("&Register      "), "btnRegisterSPR", 517);
    connect(btnRegisterSPR, &QPushButton::clicked, this, [this] { FRegisterFileType(); });
    btnUnregister = Named(new QPushButton("&Un Register"), "btnUnregister", 518);
    connect(btnUnregister, &QPushButton::clicked, this, [this] { FUnregisterFileType(); });
    lReset = Named(new QLabel("Clear the ini-file and load default values.\nThis is the same as deleting the ini-file."),
                   "lReset");
    btnReset = Named(new QPushButton("Reset &Ini     "), "btnReset", 519);
    connect(btnReset, &QPushButton::clicked, this, &TOptionsForm::ResetIniClicked);

    auto* actions = new QGridLayout;
    actions->addWidget(lRegister, 0, 0, 2, 1);
    actions->addWidget(btnRegisterSPR, 0, 1);
    actions->addWidget(btnUnregister, 1, 1);
    actions->addWidget(lReset, 2, 0);
    actions->addWidget(btnReset, 2, 1);
    actions->setColumnStretch(0, 1);
    actions->setVerticalSpacing(8);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addSpacing(12);
    layout->addLayout(actions);
    layout->addStretch(1);
    return page;
}

QWidget* TOptionsForm::BuildColors()
{
    auto* page = Named(new QWidget, "tsColors");
    cbPersistentColors = CheckBox("&Persistent Colors", "cbPersistentColors", 521);
    cbAlwayUseDefColors = CheckBox("&Always use Default Colors", "cbAlwayUseDefColors", 522);
    cbAlwayUseDefColors->setEnabled(false);
    connect(cbPersistentColors, &QCheckBox::toggled, cbAlwayUseDefColors, &QWidget::setEnabled);

    auto combo = [](const char* name, int help) { return Named(new TColorComboBox, name, help); };
    ccbMainWindowBGColor = combo("ccbMainWindowBGColor", 523);
    ccbMainWindowSHColor = combo("ccbMainWindowSHColor", 524);
    ccbTGAImportWindowTranspColor = combo("ccbTGAImportWindowTranspColor", 525);
    ccbTGAImportSHColor = combo("ccbTGAImportSHColor", 526);
    ccbTGAImportWindowBGColor = combo("ccbTGAImportWindowBGColor", 527);

    QLabel* const labels[] = {Buddy("Default &Background color:", ccbMainWindowBGColor),
                              Buddy("Default &Shadow color:", ccbMainWindowSHColor),
                              Buddy("Default &Transparent color:", ccbTGAImportWindowTranspColor),
                              Buddy("Default S&hadow color:", ccbTGAImportSHColor),
                              Buddy("&Default P&review Background Color", ccbTGAImportWindowBGColor)};
    auto* mainGroup = Named(new QGroupBox("Main Window Colors "), "gbMainWindowColors");
    auto* mainForm = new QFormLayout(mainGroup);
    auto* importGroup = Named(new QGroupBox("Import Window Colors "), "gbImportWindowColors");
    auto* importForm = new QFormLayout(importGroup);
    // One column of combos through both groups.
    int labelWidth = 0;
    for (QLabel* label : labels)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (int i = 0; i < 5; ++i) {
        labels[i]->setMinimumWidth(labelWidth);
        (i < 2 ? mainForm : importForm)->addRow(labels[i], labels[i]->buddy());
    }
    for (QFormLayout* form : {mainForm, importForm})
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    btnResetColors = Named(new QPushButton("&Reset"), "btnResetColors", 528);
    connect(btnResetColors, &QPushButton::clicked, this, &TOptionsForm::ResetColors);
    lResetColors = Named(Buddy("&Reset colors to program default.\nThis is the same as deleting the Colors section "
                               "in the ini-file",
                               btnResetColors),
                         "lResetColors");
    lResetColors->setWordWrap(true);

    auto* reset = new QHBoxLayout;
    reset->addWidget(lResetColors, 1);
    reset->addWidget(btnResetColors, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(cbPersistentColors);
    layout->addWidget(cbAlwayUseDefColors);
    layout->addWidget(mainGroup);
    layout->addWidget(importGroup);
    layout->addLayout(reset);
    layout->addStretch(1);
    return page;
}

void TOptionsForm::SetValues(const TOptionsValues& v)
{
    for (int i = 0; i < DirRowCount; ++i)
        FDirRows[i].Edit->setText(QString::fromStdString(v.*kDirRows[i].Field));
    aSetPersistent->setChecked(v.PersistentDirs);
    cbAlwayUseDef->setChecked(v.AlwayUseDef);
    aSetDiversImgDirs->setChecked(v.DiversImageDirs);
    cbLogLevel->setCurrentIndex(ItemOf(v.LogLevel));
    cbOverWritePrompt->setChecked(v.OverWriteWarning);
    seImgBorderWidth->SetValue(v.ImgBorderWidth & 0xFF);
    cbDefColorMode->setCurrentIndex(ItemOf(v.DefaultColorMode));
    ccbMainWindowBGColor->SetSelColor(v.BgColor);
    ccbMainWindowSHColor->SetSelColor(v.ShadowColor);
    ccbTGAImportWindowTranspColor->SetSelColor(v.ImportTransparent);
    ccbTGAImportSHColor->SetSelColor(v.ImportShadow);
    ccbTGAImportWindowBGColor->SetSelColor(v.ImportPreviewBG);
    cbPersistentColors->setChecked(v.PersistentColors);
    cbAlwayUseDefColors->setChecked(v.AlwaysUseDefault);
}

TOptionsValues TOptionsForm::Values() const
{
    TOptionsValues v;
    for (int i = 0; i < DirRowCount; ++i)
        v.*kDirRows[i].Field = FDirRows[i].Edit->text().toStdString();
    v.PersistentDirs = aSetPersistent->isChecked();
    v.AlwayUseDef = aSetPersistent->isChecked() && cbAlwayUseDef->isChecked();
    v.DiversImageDirs = aSetDiversImgDirs->isChecked();
    v.LogLevel = ItemOf(cbLogLevel->currentIndex());
    v.OverWriteWarning = cbOverWritePrompt->isChecked();
    // A number typed past the limits counts as the nearest limit.
    v.ImgBorderWidth = seImgBorderWidth->CheckValue(seImgBorderWidth->Value());
    v.DefaultColorMode = ItemOf(cbDefColorMode->currentIndex());
    v.BgColor = ccbMainWindowBGColor->SelColor();
    v.ShadowColor = ccbMainWindowSHColor->SelColor();
    v.ImportTransparent = ccbTGAImportWindowTranspColor->SelColor();
    v.ImportShadow = ccbTGAImportSHColor->SelColor();
    v.ImportPreviewBG = ccbTGAImportWindowBGColor->SelColor();
    v.PersistentColors = cbPersistentColors->isChecked();
    v.AlwaysUseDefault = cbAlwayUseDefColors->isChecked();
    return v;
}

void TOptionsForm::SetActions(std::function<void()> registerFileType, std::function<void()> unregisterFileType,
                              std::function<void()> resetIni)
{
    FRegisterFileType = std::move(registerFileType);
    FUnregisterFileType = std::move(unregisterFileType);
    FResetIni = std::move(resetIni);
    btnRegisterSPR->setEnabled(bool(FRegisterFileType));
    btnUnregister->setEnabled(bool(FUnregisterFileType));
    btnReset->setEnabled(bool(FResetIni));
}

void TOptionsForm::ResetColors()
{
    const TOptionsValues defaults;
    ccbMainWindowSHColor->SetSelColor(defaults.ShadowColor);
    ccbMainWindowBGColor->SetSelColor(defaults.BgColor);
    ccbTGAImportSHColor->SetSelColor(defaults.ImportShadow);
    ccbTGAImportWindowTranspColor->SetSelColor(defaults.ImportTransparent);
    ccbTGAImportWindowBGColor->SetSelColor(defaults.ImportPreviewBG);
}

void TOptionsForm::ResetIniClicked()
{
    FResetIni();
    // The file now holds only defaults: show them, so that OK cannot write the old values back,
    // and take the dialog's own place from it again.
    SetValues(StoredOptionsValues(FIniPath, QCoreApplication::applicationDirPath().toStdString()));
    ReadSettings();
}

void TOptionsForm::Browse(int row)
{
    QLineEdit* edit = FDirRows[row].Edit;
    if (!FChooseDirectory || !edit->isEnabled()) // a switched-off row ignores double-clicks too
        return;
    if (const std::optional<std::string> chosen = FChooseDirectory(edit->text().toStdString()))
        edit->setText(QString::fromStdString(*chosen));
}

bool TOptionsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick)
        for (int i = 0; i < DirRowCount; ++i)
            if (watched == FDirRows[i].Edit) {
                Browse(i);
                return true;
            }
    return QDialog::eventFilter(watched, event);
}

void TOptionsForm::ReadSettings()
{
    const TIniFile ini(FIniPath);
    const TWindowPlacement def = CentredOnPrimaryScreen(FDesignWidth, FDesignHeight);
    ApplyPlacement(*this, {ini.ReadInteger(kSection, "Left", def.Left), ini.ReadInteger(kSection, "Top", def.Top),
                           FDesignWidth, FDesignHeight, 0});
}

void TOptionsForm::WriteSettings()
{
    TExtIniFile ini(FIniPath);
    const TWindowPlacement def = CentredOnPrimaryScreen(FDesignWidth, FDesignHeight);
    const TWindowPlacement now = CurrentPlacement(*this);
    ini.WriteIntegerDef(kSection, "Left", def.Left, now.Left);
    ini.WriteIntegerDef(kSection, "Top", def.Top, now.Top);
}

std::optional<TOptionsValues> RunOptionsForm(TOptionsForm& form, const TOptionsRequest& request)
{
    form.SetActions(request.RegisterFileType, request.UnregisterFileType, request.ResetIni);
    form.SetValues(request.Values);
    const bool accepted = form.exec() == QDialog::Accepted;
    form.SetActions({}, {}, {});
    if (!accepted)
        return std::nullopt;
    return form.Values();
}

TOptionsValues OptionsValuesOf(const TMainSettings& s)
{
    TOptionsValues v;
    v.TileDir = s.TileDir;
    v.SrcDir = s.SrcDir;
    v.ImageDir = s.ImageDir;
    v.TileImageDir = s.TileImageDir;
    v.BorderImageDir = s.BorderImageDir;
    v.RiverImageDir = s.RiverImageDir;
    v.TileImpImageDir = s.TileImpImageDir;
    v.PersistentDirs = s.PersistentDirs;
    v.AlwayUseDef = s.AlwayUseDef;
    v.DiversImageDirs = s.DiversImageDirs;
    v.LogLevel = s.LogLevel;
    v.OverWriteWarning = s.OverWriteWarning;
    v.ImgBorderWidth = s.ImgBorderWidth;
    v.DefaultColorMode = s.DefaultColorMode;
    v.BgColor = s.BackGroundColor;
    v.ShadowColor = s.ShadowColor;
    v.PersistentColors = s.PersistentColors;
    return v;
}

void TakeOptionsValues(const TOptionsValues& v, TMainSettings& s)
{
    s.TileDir = v.TileDir;
    s.SrcDir = v.SrcDir;
    s.ImageDir = v.ImageDir;
    s.TileImageDir = v.TileImageDir;
    s.BorderImageDir = v.BorderImageDir;
    s.RiverImageDir = v.RiverImageDir;
    s.TileImpImageDir = v.TileImpImageDir;
    s.PersistentDirs = v.PersistentDirs;
    s.AlwayUseDef = v.AlwayUseDef;
    s.DiversImageDirs = v.DiversImageDirs;
    s.LogLevel = v.LogLevel;
    s.OverWriteWarning = v.OverWriteWarning;
    s.ImgBorderWidth = v.ImgBorderWidth;
    s.DefaultColorMode = v.DefaultColorMode;
    s.BackGroundColor = v.BgColor;
    s.ShadowColor = v.ShadowColor;
    s.PersistentColors = v.PersistentColors;
}

TOptionsValues StoredOptionsValues(const std::string& iniPath, const std::string& programDir)
{
    const TIniFile ini(iniPath);
    TSettingsContext context;
    context.ProgramDir = programDir;
    TOptionsValues v = OptionsValuesOf(ReadMainSettings(ini, context));
    const TImportSettings import = ReadImportSettings(ini); // the property editor's keys
    v.ImportTransparent = import.Transparent;
    v.ImportShadow = import.Shadow;
    v.ImportPreviewBG = import.PreviewBackground;
    v.AlwaysUseDefault = import.AlwaysUseDefault;
    return v;
}

} // namespace kestrund
