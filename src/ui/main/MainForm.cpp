#include "MainForm.h"
#include "MainFormPanels.h"

#include "AutoRecovery.h"
#include "ElementBrowser.h"
#include "ErrorLogForm.h"
#include "Errors.h"
#include "ExtSpinEdit.h"
#include "FileUtil.h"
#include "Help.h"
#include "ImportLog.h"
#include "IniFile.h"
#include "MiscFunc.h"
#include "ScriptExport.h"
#include "ScriptImport.h"
#include "ScriptPaths.h"
#include "SetSnapshotCommand.h"
#include "SystemColors.h"
#include "Version.h"
#include "ViewPicture.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>
#include <utility>

namespace kestrund {

namespace {

const char* const kTileFilter = "CTP1/CTP2 Tile File (*.til)|*.til|All Files (*.*)|*.*";
const char* const kScriptFilter = "Vellomar Script File (*.src)|*.src|All Files (*.*)|*.*";

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The open dialogs preset the name to the pattern of their files.
TFileDialogRequest OpenRequest(const char* title, const char* filter, const char* pattern, const std::string& folder)
{
    TFileDialogRequest request;
    request.Title = title;
    request.Filter = filter;
    request.FilterIndex = 1;
    request.DefaultExt = pattern;
    request.FileName = pattern;
    request.InitialDir = folder;
    return request;
}

// Drops the user's input while it lives: handling the window system's events must not start
// another command in the middle of this one.
class TInputBlocker : public QObject {
public:
    TInputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~TInputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
        }
    }
};

std::string FolderOf(const std::string& fileName)
{
    return std::filesystem::path(fileName).parent_path().string();
}

} // namespace

TMainForm::TMainForm(TPrompts& prompts, const std::string& iniPath, const std::string& fileToOpen, QWidget* parent)
    : QMainWindow(parent), FPrompts(prompts), FIniPath(iniPath)
{
    setWindowTitle("Kestrund");
    setMinimumSize(362, 130);
    resize(800, 623);
    SetHelp(this, 100);

    // The set's colours follow the view's.
    TileFile.TransparentColor = 0xC0C0C0;
    TileFile.ShadowColor = 0x808080;

    BuildMenus();
    QWidget* leftPanel = BuildLeftPanel();

    ScrollBox = new QScrollArea(this);
    SetHelp(ScrollBox, 113);
    auto* viewArea = new QWidget;
    auto* viewLayout = new QVBoxLayout(viewArea);
    viewLayout->setContentsMargins(3, 3, 3, 3);
    pbTile = new TTileViewWidget(viewArea);
    lLoadingLabel = new QLabel("Importing script file ...", viewArea);
    QFont loadingFont = lLoadingLabel->font();
    loadingFont.setPixelSize(16);
    lLoadingLabel->setFont(loadingFont);
    // Wide enough for the longest progress text from the start, so it never grows mid-import.
    lLoadingLabel->setMinimumWidth(
        lLoadingLabel->fontMetrics().horizontalAdvance("Importing script file ... VariationRules 65535 of 65535"));
    lLoadingLabel->hide();
    Animate1 = new QProgressBar(viewArea);
    Animate1->setRange(0, 0); // busy
    Animate1->setTextVisible(false);
    Animate1->setMaximumWidth(240);
    Animate1->hide();
    viewLayout->addWidget(pbTile);
    viewLayout->addWidget(lLoadingLabel);
    viewLayout->addWidget(Animate1);
    viewLayout->addStretch();
    ScrollBox->setWidget(viewArea);
    ScrollBox->setWidgetResizable(true);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    // The panel scrolls only in a window smaller than the default.
    auto* leftScroll = new QScrollArea(central);
    leftScroll->setObjectName("sbLeft");
    leftScroll->setFrameShape(QFrame::NoFrame);
    leftScroll->setWidget(leftPanel);
    leftScroll->setWidgetResizable(true);
    leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int panelWidth = leftPanel->minimumSizeHint().width();
    leftScroll->setFixedWidth(panelWidth);
    // The vertical scroll bar, when there is one, comes beside the panel, not over it.
    QScrollBar* bar = leftScroll->verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, leftScroll, [leftScroll, bar, panelWidth](int, int max) {
        leftScroll->setFixedWidth(panelWidth + (max > 0 ? bar->sizeHint().width() : 0));
    });
    layout->addWidget(leftScroll);
    layout->addWidget(ScrollBox, 1);
    setCentralWidget(central);
    statusBar();
    BuildHelp(leftPanel);

    ImgBorderWidth = 2;
    ViewPicture = QImage(2 * ImgBorderWidth + TileWidth, 2 * ImgBorderWidth + TileHeight, QImage::Format_RGB32);
    ViewPicture.fill(QColor(128, 128, 128));
    pbTile->SetPicture(&ViewPicture);

    ReadSettings();
    ReadRecentFiles();
    FErrorLog = new TErrorLogForm(FIniPath, this);
    connect(&Document, &TTileSetDocument::ElementsMoved, this, &TMainForm::ElementsChanged);
    connect(&Document, &TTileSetDocument::ElementChanged, this, [this](int kind) { ElementsChanged(kind); });
    connect(&Document, &TTileSetDocument::SetReplaced, this, &TMainForm::SetReplacedHandler);
    connect(&Document.UndoStack(), &QUndoStack::cleanChanged, this, &TMainForm::UpdateTitle);
    FRecovery = new TAutoRecovery(
        Document, [this] { return TRecoveryInfo{FDocumentName, TileFile.FileName555, TileFile.FileName565, 0, 0}; }, this);
    connect(FRecovery, &TAutoRecovery::WriteFailed, this, [this](const QString& error) {
        statusBar()->showMessage("The recovery copy could not be written: " + error);
    });
    setAcceptDrops(true);
    if (!fileToOpen.empty())
        LoadTileFile(fileToOpen, false);
    UpdateCounters();
    RedrawView();
}

TMainForm::~TMainForm()
{
    // The document is destroyed after the window's other members, and its undo stack says
    // "clean" as it empties then: the window's handlers must not run on what is gone.
    Document.UndoStack().disconnect(this);
    Document.disconnect(this);
    delete std::exchange(FRecovery, nullptr); // a clean end: removes the recovery copy while the document is still there
    WriteSettingsOnClose([this] { WriteSettings(false); });
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The import keeps the window painted while it runs; it cannot be left half-way.
    if (FImporting || !ConfirmDiscard())
        event->ignore();
    else
        event->accept();
}

TSettingsContext TMainForm::Context() const
{
    TSettingsContext context;
    context.ProgramDir = QCoreApplication::applicationDirPath().toStdString();
    PrimaryScreenSize(context.ScreenWidth, context.ScreenHeight);
    return context;
}

void TMainForm::ColorItemClicked(QMenu* menu, QAction* item, bool shadow)
{
    TColor value = static_cast<TColor>(item->data().toULongLong());
    if (item->property("Custom").toBool()) {
        const auto chosen = FPrompts.ChooseColor(value);
        if (!chosen) {
            // Cancelled: the check marks go back to what they were.
            item->setChecked(false);
            if (!(shadow && miShadowInvert->isChecked())) {
                const TColor current = shadow ? ShadowColor : BgColor;
                for (QAction* other : menu->actions())
                    if (other->isCheckable() && other != miShadowInvert &&
                        static_cast<TColor>(other->data().toULongLong()) == current) {
                        other->setChecked(true);
                        break;
                    }
            }
            return;
        }
        value = *chosen;
        item->setData(static_cast<qulonglong>(value));
        item->setIcon(Swatch(value));
    }
    if (shadow) {
        miShadowInvert->setChecked(false);
        SetShadowColor(value);
    } else
        SetBackgroundColor(value);
    item->setChecked(true);
    RedrawView();
}

void TMainForm::SetBackgroundColor(TColor c)
{
    BgColor = c;
    TileFile.TransparentColor = c;
    for (QAction* item : BackgroundMenu->actions())
        if (item->isCheckable() && static_cast<TColor>(item->data().toULongLong()) == c) {
            item->setChecked(true);
            break;
        }
}

void TMainForm::SetShadowColor(TColor c)
{
    ShadowColor = c;
    TileFile.ShadowColor = c;
    for (QAction* item : ShadowMenu->actions())
        if (item->isCheckable() && item != miShadowInvert && static_cast<TColor>(item->data().toULongLong()) == c) {
            item->setChecked(true);
            break;
        }
}

int TMainForm::BorderMask() const
{
    int mask = 0;
    for (int e = 0; e < 4; ++e)
        if (BorderButtons[static_cast<std::size_t>(e)]->isChecked())
            mask |= 1 << e;
    return mask;
}

TViewState TMainForm::ViewState() const
{
    TViewState v;
    v.ShowTiles = ShowBoxes[kTiles]->isChecked();
    v.ShowBorders = ShowBoxes[kBorders]->isChecked();
    v.ShowRivers = ShowBoxes[kRivers]->isChecked();
    v.ShowImprovements = ShowBoxes[kImprovements]->isChecked();
    v.ShowTileRules = ShowBoxes[kRules]->isChecked();
    v.ShowVariationRule = ShowBoxes[kVariationRules]->isChecked();
    v.Square = miView3x3->isChecked();
    auto number = [this](int k) { return static_cast<std::size_t>(std::max(0, Spins[static_cast<std::size_t>(k)]->Value())); };
    v.TileNum = number(kTiles);
    v.BorderNum = number(kBorders);
    v.RiverNum = number(kRivers);
    v.ImprovementNum = number(kImprovements);
    v.RuleNum = number(kRules);
    v.VariationNum = number(kVariationRules);
    v.BorderMask = BorderMask();
    v.ImgBorderWidth = ImgBorderWidth;
    // System colours are drawn in the desktop's current colours.
    v.BgColor = QColorToColor(ColorToQColor(BgColor));
    v.ShadowColor = QColorToColor(ColorToQColor(ShadowColor));
    v.SetShadowColor = QColorToColor(ColorToQColor(TileFile.ShadowColor));
    return v;
}

void TMainForm::RedrawView()
{
    const TViewState view = ViewState();
    CurrentRule = ChooseCurrentRule(TileFile, view, CurrentRule);
    const TViewGeometry g = ViewGeometry(TileFile, view);
    if (ViewPicture.width() != g.Width || ViewPicture.height() != g.Height)
        ViewPicture = QImage(g.Width, g.Height, QImage::Format_RGB32);
    TQImageSurface surface(ViewPicture);
    ComposeView(TileFile, view, CurrentRule, surface);
    pbTile->SetPicture(&ViewPicture);

    ShowTileRule(view.ShowTiles || view.ShowTileRules ? CurrentRule : nullptr);

    const TViewLabels labels = ViewLabels(TileFile, view, miViewHex->isChecked());
    lTileIDHex->setText(Q(labels.TileID));
    lTileTSIHex->setText(Q(labels.TileIndex));
    lTileCutoutHex->setText(Q(labels.BorderEdges));
    lBorderFromHex->setText(Q(labels.Inside));
    lBorderToHEx->setText(Q(labels.Outside));
    lRiverIDHex->setText(Q(labels.RiverID));
    lTIIDHex->setText(Q(labels.ImprovementID));
    lVRTileSetIndex->setText(Q(labels.VariationTileIndex));
    FollowBrowser();
}

void TMainForm::ShowTileRule(const TTileRule* rule)
{
    const auto texts = RuleDiagramTexts(rule, miViewHex->isChecked());
    for (std::size_t i = 0; i < texts.size(); ++i)
        RuleLabels[i]->setText(Q(texts[i]));
    // The rule number follows the shown tile (its change handler redraws once more).
    if (rule && !ShowBoxes[kRules]->isChecked()) {
        const long index = TileFile.IndexOfTileRule(rule);
        if (index >= 0 && Spins[kRules]->Value() != index)
            Spins[kRules]->SetValue(static_cast<int>(index));
    }
}

void TMainForm::UpdateCounters()
{
    for (int k = 0; k < KindCount; ++k)
        CountLabels[static_cast<std::size_t>(k)]->setText(Q(CountText(Count(k), miViewHex->isChecked())));
}

void TMainForm::ElementsChanged(int kind)
{
    // The rule the view follows may be the one that went.
    if (kind == kRules)
        CurrentRule = nullptr;
    UpdateCounters();
    SetSpinLimits();
    RedrawView();
}

void TMainForm::SetSpinLimits()
{
    for (int k = 0; k < KindCount; ++k) {
        const std::size_t count = Count(k);
        Spins[static_cast<std::size_t>(k)]->SetMaxValue(count > 0 ? static_cast<int>(count - 1) : 0);
    }
    ClampSpins();
}

void TMainForm::ClampSpins()
{
    // A number beyond its kind's new count comes back into range.
    for (int k = 0; k < KindCount; ++k) {
        TExtSpinEdit* spin = Spins[static_cast<std::size_t>(k)];
        const int last = std::max(0, static_cast<int>(Count(k)) - 1);
        if (spin->Value() > last || spin->Value() < 0)
            spin->SetValue(last);
    }
}

void TMainForm::SpinChanged(int kind)
{
    TExtSpinEdit* spin = Spins[static_cast<std::size_t>(kind)];
    // With at most one element the spin's limits meet, which leaves it unbounded.
    if (Count(kind) <= 1) {
        if (spin->Value() != 0)
            spin->SetValue(0);
        return;
    }
    if (FRedrawing)
        return;
    FRedrawing = true;
    try {
        RedrawView();
    } catch (const std::exception&) {
        // Navigation never reports a failed redraw.
    }
    FRedrawing = false;
}

void TMainForm::ShowBoxClicked(int kind)
{
    const bool on = ShowBoxes[static_cast<std::size_t>(kind)]->isChecked();
    QGroupBox* group = Groups[static_cast<std::size_t>(kind)];
    if (kind == kRules || kind == kVariationRules) {
        SetNumberWidgetsEnabled(kind, on);
    } else {
        group->setEnabled(on);
        if (kind == kBorders)
            for (QToolButton* b : BorderButtons)
                b->setEnabled(on);
    }
    if (on) // the kind switched on is the one worked on
        Browser->SetKind(kind);
    RedrawView();
}

void TMainForm::SetZoom(int zoom)
{
    ZoomFactor = std::clamp(zoom, 1, 8);
    pbTile->SetZoom(ZoomFactor);
}

bool TMainForm::LoadTileFile(const std::string& name, bool append)
{
    std::unique_ptr<TTileFile> before = append ? Document.Set().Copy() : nullptr;
    try {
        TileFile.LoadFromFile(name, append);
    } catch (const EFileOpenError&) {
        FPrompts.Message(Format("%s not found", name.c_str()), TMsgType::Error, mbOK);
        return false;
    } catch (const EKestrundError& e) {
        // The file is there but damaged: say what is wrong instead of "not found".
        FPrompts.Message(name + " could not be read:\n\r" + e.what(), TMsgType::Error, mbOK);
        return false;
    }
    if (append)
        Document.UndoStack().push(new TSetSnapshotCommand(Document, std::move(before), "Append Tile File"));
    else {
        Document.StartHistory();
        SetDocumentName(name);
        AddRecentFile(name);
    }
    Document.AnnounceSetReplaced();
    return true;
}

void TMainForm::OpenTileFile(bool append)
{
    if (!append && !ConfirmDiscard())
        return;
    const auto name = FPrompts.OpenFile(
        OpenRequest(append ? "Append Tile File" : "Open Tile File", kTileFilter, "*.til", Settings.TileDir));
    if (name)
        OpenTileFileNamed(*name, append);
}

void TMainForm::OpenTileFileNamed(const std::string& name, bool append)
{
    OfferColorModeOfName(name);
    LoadTileFile(name, append);
    miViewScriptLog->setEnabled(false);
    if (!Settings.AlwayUseDef)
        Settings.TileDir = FolderOf(name);
}

void TMainForm::OfferColorModeOfName(const std::string& fileName)
{
    // Reading never converts: a "gtset565.til" read in the Normal mode is tagged 555 and shows
    // false colours. A name that says which layout it holds is worth a question.
    const bool says565 = TileFileNameSays(fileName, "565");
    if (says565 == TileFileNameSays(fileName, "555"))
        return;
    const std::string name = std::filesystem::path(fileName).filename().string();
    if ((TileFile.ColorMode == cmRGB565) == says565)
        return;
    const std::string text =
        says565 ? Format("%s is named like an In-Game (565) tile file, but the color mode is Normal (555).\n\r"
                         "Switch to In-Game Color mode first?",
                         name.c_str())
                : Format("%s is named like a Normal (555) tile file, but the color mode is In-Game (565).\n\r"
                         "Switch to Normal colors first?",
                         name.c_str());
    if (FPrompts.Message(text, TMsgType::Confirmation, mbYes | mbNo) == mbYes)
        miInGameColorMode->trigger();
}

void TMainForm::miFileNewClick()
{
    if (!ConfirmDiscard())
        return;
    for (TExtSpinEdit* spin : Spins)
        spin->SetValue(0);
    TileFile.New();
    Document.StartHistory();
    SetDocumentName("(new)");
    Document.AnnounceSetReplaced();
}

bool TMainForm::SaveTileFile()
{
    TFileDialogRequest request;
    request.Filter = kTileFilter;
    request.DefaultExt = "*.til";
    request.InitialDir = Settings.TileDir;
    request.OverwritePrompt = Settings.OverWriteWarning;
    request.Title = "Save CTP1/CTP2 Tile File - Normal colors";
    request.FileName = TileFile.FileName555;
    const auto first = FPrompts.SaveFile(request);
    if (!first)
        return false;
    try {
        TileFile.SaveToFile(WithDefaultExtension(*first, request.DefaultExt), cmRGB555);
    } catch (const EKestrundError& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
        return false;
    }
    request.Title = "Save CTP1/CTP2 Tile File - InGame version";
    request.FileName = TileFile.FileName565;
    const auto second = FPrompts.SaveFile(request);
    if (!second)
        return false;
    try {
        TileFile.SaveToFile(WithDefaultExtension(*second, request.DefaultExt), cmRGB565);
    } catch (const EKestrundError& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
        return false;
    }
    if (!Settings.AlwayUseDef)
        Settings.TileDir = FolderOf(*second);
    Document.UndoStack().setClean();
    const std::string normal = WithDefaultExtension(*first, request.DefaultExt);
    AddRecentFile(WithDefaultExtension(*second, request.DefaultExt));
    AddRecentFile(normal);
    SetDocumentName(normal);
    return true;
}

void TMainForm::miFileExportScriptClick()
{
    TFileDialogRequest request;
    request.Title = "Export to Script File and Graphics";
    request.Filter = kScriptFilter;
    request.DefaultExt = "*.src";
    request.InitialDir = Settings.SrcDir;
    request.FileName = "test.src";
    request.OverwritePrompt = Settings.OverWriteWarning;
    const auto chosen = FPrompts.SaveFile(request);
    if (!chosen)
        return;
    const std::string script = WithDefaultExtension(*chosen, request.DefaultExt);
    if (!Settings.AlwayUseDef)
        Settings.SrcDir = FolderOf(script);
    namespace fs = std::filesystem;
    fs::path folder;
    try {
        folder = ScriptGraphicsFolder(script); // as the writer will see it, '\' and all
    } catch (const EScriptNameError& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
        return;
    }
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        if (FPrompts.Message(Format("The directory '%s' already exists\rUsing this may overwrite existing files",
                                    folder.string().c_str()),
                             TMsgType::Warning, mbOK | mbCancel) != mbOK)
            return;
    } else if (fs::exists(folder, error)) {
        FPrompts.Message(Format("A file named '%s' already exists\rCould not create Directory", folder.string().c_str()),
                         TMsgType::Warning, mbYes | mbCancel);
        return;
    } else if (!fs::create_directory(folder, error)) {
        FPrompts.Message(Format("Cannot create directory '%s': %s", folder.string().c_str(), error.message().c_str()),
                         TMsgType::Error, mbOK);
        return;
    }
    try {
        ExportScript(TileFile, folder.filename().string(), script);
    } catch (const EKestrundError& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
    }
}

void TMainForm::ShowLoading(bool on)
{
    pbTile->setVisible(!on);
    lLoadingLabel->setText("Importing script file ...");
    lLoadingLabel->setVisible(on);
    Animate1->setVisible(on);
    if (!on)
        return;
    // The import blocks the thread. Painting at once left the area of the file dialog, which
    // the window system takes away only afterwards, unpainted until the first progress step:
    // let it take the dialog away and hand back its area first, then paint the window whole
    // and send the picture out.
    TInputBlocker blocker;
    QGuiApplication::sync();
    repaint();
    QGuiApplication::sync();
}

void TMainForm::ImportScriptFile(bool append)
{
    if (!append && !ConfirmDiscard())
        return;
    const auto name = FPrompts.OpenFile(
        OpenRequest(append ? "Append Script File" : "Import Script File", kScriptFilter, "*.src", Settings.SrcDir));
    if (name)
        ImportScriptNamed(*name, append);
    else {
        UpdateCounters();
        SetSpinLimits();
        RedrawView();
    }
}

void TMainForm::ImportScriptNamed(const std::string& name, bool append)
{
    // Appending only adds elements: the counts tell whether anything changed.
    std::unique_ptr<TTileFile> before = append ? Document.Set().Copy() : nullptr;
    std::array<std::size_t, KindCount> counts{};
    for (int k = 0; k < KindCount; ++k)
        counts[static_cast<std::size_t>(k)] = Count(k);
    if (!Settings.AlwayUseDef)
        Settings.SrcDir = FolderOf(name);
    ShowLoading(true);
    LogFileName = LogFileNameFor(name);
    static const char* const sections[6] = {"TileRules", "TileBorders", "Tiles", "Rivers", "Improvements",
                                            "VariationRules"};
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    // The import runs on this thread; show where it is and keep the window painted.
    auto progress = [&](const TImportProgress& p) {
        if (sinceUpdate.elapsed() < 50)
            return;
        sinceUpdate.restart();
        lLoadingLabel->setText(QString("Importing script file ... %1 %2 of %3")
                                   .arg(sections[p.Section])
                                   .arg(p.Element + 1)
                                   .arg(p.Count));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    int result = srSuccess;
    bool failed = false;
    std::string refused; // a script or log name that cannot work: there is no log to point to
    FImporting = true;
    try {
        result = ImportScriptInto(TileFile, name, LogFileName, append, Settings.LogLevel, progress);
    } catch (const EScriptNameError& e) {
        refused = e.what();
    } catch (const ELogWriteError& e) {
        refused = e.what();
    } catch (const std::exception&) {
        failed = true;
    }
    FImporting = false;
    CurrentRule = nullptr; // the rules may have been replaced
    if (refused.empty() && !failed) {
        if (append) {
            bool changed = false;
            for (int k = 0; k < KindCount; ++k)
                changed = changed || counts[static_cast<std::size_t>(k)] != Count(k);
            if (changed)
                Document.UndoStack().push(
                    new TSetSnapshotCommand(Document, std::move(before), "Append Script File"));
        } else if (result != srNotAScript && result != srReadError) {
            Document.StartHistory();
            SetDocumentName(name);
        }
    }
    if (refused.empty())
        LoadImportLog();
    else {
        FErrorLog->Clear(); // no log was written for this script
        miViewScriptLog->setEnabled(false);
    }
    ShowLoading(false);
    if (!refused.empty())
        FPrompts.Message(refused, TMsgType::Error, mbOK);
    else if (failed || (result >= 1 && result <= 16))
        FPrompts.Message(Format("Import Failed\n\rSe logfile: \"%s\" for details", LogFileName.c_str()),
                         TMsgType::Error, mbOK);
    else if (result > 16)
        FPrompts.Message(Format("There were errors importing %s\n\rSome elements might not have been properly "
                                "created\n\rSe logfile: \"%s\" for details",
                                name.c_str(), LogFileName.c_str()),
                         TMsgType::Warning, mbOK);
    Document.AnnounceSetReplaced();
}

void TMainForm::miHelpAboutClick()
{
    FPrompts.About("About Kestrund", std::string(kProductName) + "\nVersion " + kProductVersion + "\n" +
                                         kCopyright + "\n\n" + kComments);
}

void TMainForm::ReadSettings(bool colorMode)
{
    TIniFile ini(FIniPath);
    Settings = ReadMainSettings(ini, Context());
    SetHelpFile(QString::fromStdString(Settings.HelpFile));
    ApplyPlacement(*this, Settings.MainWindow);
    ImgBorderWidth = Settings.ImgBorderWidth;
    ZoomFactor = Settings.ZoomFactor;
    SetBackgroundColor(Settings.BackGroundColor);
    SetShadowColor(Settings.ShadowColor);
    if (colorMode) {
        TileFile.SetColorMode(static_cast<std::uint8_t>(Settings.ColorMode));
        miInGameColorMode->setChecked(TileFile.ColorMode == cmRGB565);
    }
    pbTile->SetZoom(ZoomFactor);
    Browser->ReadSettings(FIniPath);
}

void TMainForm::WriteSettings(bool force)
{
    Settings.ImgBorderWidth = ImgBorderWidth;
    Settings.ZoomFactor = ZoomFactor;
    Settings.BackGroundColor = BgColor;
    Settings.ShadowColor = ShadowColor;
    Settings.ColorMode = TileFile.ColorMode;
    Settings.MainWindow = CurrentPlacement(*this);
    TExtIniFile ini(FIniPath);
    WriteMainSettings(ini, Settings, Context(), force);
    Browser->WriteSettings(FIniPath);
}

} // namespace kestrund
