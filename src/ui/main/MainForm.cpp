#include "MainForm.h"

#include "Errors.h"
#include "ExtSpinEdit.h"
#include "FileUtil.h"
#include "IniFile.h"
#include "MiscFunc.h"
#include "ScriptExport.h"
#include "ScriptImport.h"
#include "ScriptPaths.h"
#include "SystemColors.h"
#include "Version.h"
#include "ViewPicture.h"

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
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

namespace kestrund {

namespace {

const char* const kTileFilter = "CTP1/CTP2 Tile File (*.til)|*.til|All Files (*.*)|*.*";
const char* const kScriptFilter = "Vellomar Script File (*.src)|*.src|All Files (*.*)|*.*";

struct TNamedColor {
    const char* Caption;
    TColor Value;
};
// Menu order: the left column of the colour table, then the right one.
constexpr TNamedColor NamedColors[16] = {
    {"&Black", 0x000000}, {"&Maroon", 0x000080}, {"Gr&een", 0x008000}, {"&Olive", 0x008080},
    {"&Navy", 0x800000},  {"&Purple", 0x800080}, {"&Teal", 0x808000},  {"&Gray", 0x808080},
    {"&Silver", 0xC0C0C0}, {"&Red", 0x0000FF},   {"&Lime", 0x00FF00},  {"&Yellow", 0x00FFFF},
    {"Bl&ue", 0xFF0000},  {"&Fuchsia", 0xFF00FF}, {"&Aqua", 0xFFFF00}, {"&White", 0xFFFFFF},
};

// 18 x 14 menu image: a black-outlined bar of the colour in rows 3 to 11.
QIcon Swatch(TColor color)
{
    QPixmap pixmap(18, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(ColorToQColor(color));
    painter.drawRect(0, 3, 17, 8);
    return QIcon(pixmap);
}

// A border toolbar image: the tile diamond with one edge drawn thick.
QIcon BorderIcon(int edge)
{
    QPixmap pixmap(26, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF n(13, 1), e(25, 8), s(13, 15), w(1, 8);
    painter.setPen(QPen(QColor(128, 128, 128), 1));
    painter.drawPolygon(QPolygonF({n, e, s, w}));
    static const QColor colours[4] = {Qt::red, Qt::green, Qt::blue, Qt::magenta};
    painter.setPen(QPen(colours[edge], 3));
    const QPointF ends[4][2] = {{w, s}, {w, n}, {n, e}, {e, s}};
    painter.drawLine(ends[edge][0], ends[edge][1]);
    return QIcon(pixmap);
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string FolderOf(const std::string& fileName)
{
    return std::filesystem::path(fileName).parent_path().string();
}

QLabel* MonoLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance("00000"));
    return label;
}

void SetHelp(QObject* widget, int context)
{
    widget->setProperty("HelpContext", context);
}

void SetTag(QObject* label, int tag)
{
    label->setProperty("Tag", tag);
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
    auto* leftScroll = new QScrollArea(central);
    leftScroll->setWidget(leftPanel);
    leftScroll->setWidgetResizable(true);
    leftScroll->setFixedWidth(leftPanel->sizeHint().width() + leftScroll->verticalScrollBar()->sizeHint().width() + 4);
    leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(leftScroll);
    layout->addWidget(ScrollBox, 1);
    setCentralWidget(central);
    statusBar();

    ImgBorderWidth = 2;
    ViewPicture = QImage(2 * ImgBorderWidth + TileWidth, 2 * ImgBorderWidth + TileHeight, QImage::Format_RGB32);
    ViewPicture.fill(QColor(128, 128, 128));
    pbTile->SetPicture(&ViewPicture);

    ReadSettings();
    if (!fileToOpen.empty())
        LoadTileFile(fileToOpen, false);
    UpdateCounters();
    RedrawView();
}

TMainForm::~TMainForm()
{
    try {
        WriteSettings(false);
    } catch (const std::exception&) {
        // A settings file that cannot be written must not stop the program from closing.
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The import keeps the window painted while it runs; it cannot be left half-way.
    if (FImporting)
        event->ignore();
    else
        event->accept();
}

TSettingsContext TMainForm::Context() const
{
    TSettingsContext context;
    context.ProgramDir = QCoreApplication::applicationDirPath().toStdString();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        context.ScreenWidth = screen->geometry().width();
        context.ScreenHeight = screen->geometry().height();
    }
    return context;
}

void TMainForm::BuildMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->setStatusTip("Open, save, import, export, etc.");
    auto add = [this](QMenu* menu, const char* caption, const QKeySequence& key, const char* hint,
                      void (TMainForm::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(key);
        if (hint)
            action->setStatusTip(hint);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    miFileOpen = add(file, "&Open ...", QKeySequence("Ctrl+O"), "Open a TileFile", &TMainForm::miFileOpenClick);
    miFileNew = add(file, "&New", QKeySequence("Ctrl+N"), "New TileFile", &TMainForm::miFileNewClick);
    miFileSaveTileFile = add(file, "Save &Tile File ...", QKeySequence("Ctrl+Shift+S"), "Save the TileFile.",
                             &TMainForm::miFileSaveTileFileClick);
    file->addSeparator();
    miFileImportScript = add(file, "Im&port Script ..", QKeySequence("Ctrl+I"), "Import a script into a new TileFile",
                             &TMainForm::miFileImportScriptClick);
    miFileExportScript = add(file, "&Export Script ...", QKeySequence("Ctrl+E"),
                             "Export current TileFile as a script.", &TMainForm::miFileExportScriptClick);
    QMenu* append = file->addMenu("&Append");
    miAppendTileFile = add(append, "&Tile-File ...", QKeySequence("Ctrl+A"), nullptr, &TMainForm::miAppendTileFileClick);
    miAppendScript = add(append, "&Script-File ...", QKeySequence("Ctrl+Shift+A"), nullptr,
                         &TMainForm::miAppendScriptClick);
    file->addSeparator();
    miFileExit = file->addAction("E&xit");
    miFileExit->setShortcut(QKeySequence("Ctrl+X"));
    miFileExit->setStatusTip("Exit program.");
    connect(miFileExit, &QAction::triggered, this, &QWidget::close);

    QMenu* colors = menuBar()->addMenu("&Colors");
    BackgroundMenu = colors->addMenu("&Background");
    BackgroundMenu->menuAction()->setStatusTip("Set background color");
    BuildColorMenu(BackgroundMenu, false);
    ShadowMenu = colors->addMenu("&Shadow");
    BuildColorMenu(ShadowMenu, true);
    miInGameColorMode = colors->addAction("&In-Game Color mode");
    miInGameColorMode->setShortcut(QKeySequence("Ctrl+C"));
    miInGameColorMode->setCheckable(true);
    connect(miInGameColorMode, &QAction::triggered, this, [this](bool checked) {
        TileFile.SetColorMode(checked ? cmRGB565 : cmRGB555);
        RedrawView();
    });

    QMenu* zoom = menuBar()->addMenu("&Zoom");
    for (int z = 1; z <= 8; ++z) {
        QAction* item = zoom->addAction(z == 1 ? QString("Zoom &1x  ") : QString("Zoom &%1x").arg(z));
        item->setShortcut(QKeySequence(QString("Ctrl+%1").arg(z)));
        item->setData(z);
        connect(item, &QAction::triggered, this, [this, z] { SetZoom(z); });
        ZoomItems[static_cast<std::size_t>(z - 1)] = item;
    }

    QMenu* view = menuBar()->addMenu("&View");
    auto* viewGroup = new QActionGroup(this);
    miViewSingle = view->addAction("&Single");
    miViewSingle->setShortcut(QKeySequence("Ctrl+Shift+1"));
    miView3x3 = view->addAction("&3x3 Square");
    miView3x3->setShortcut(QKeySequence("Ctrl+Shift+3"));
    for (QAction* item : {miViewSingle, miView3x3}) {
        item->setCheckable(true);
        viewGroup->addAction(item);
        connect(item, &QAction::triggered, this, &TMainForm::RedrawView);
    }
    miViewSingle->setChecked(true);
    miViewHex = view->addAction("&Hex Numbers");
    miViewHex->setShortcut(QKeySequence("Ctrl+H"));
    miViewHex->setCheckable(true);
    connect(miViewHex, &QAction::triggered, this, [this] {
        UpdateCounters();
        RedrawView();
    });

    QMenu* help = menuBar()->addMenu("&Help");
    miHelpAbout = help->addAction("&About ...");
    miHelpAbout->setShortcut(QKeySequence("Shift+F1"));
    connect(miHelpAbout, &QAction::triggered, this, &TMainForm::miHelpAboutClick);
}

void TMainForm::BuildColorMenu(QMenu* menu, bool shadow)
{
    auto* group = new QActionGroup(menu);
    auto addItem = [&](const QString& caption, TColor value, const QIcon& icon) {
        QAction* item = menu->addAction(icon, caption);
        item->setCheckable(true);
        item->setData(static_cast<qulonglong>(value));
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, menu, item, shadow] { ColorItemClicked(menu, item, shadow); });
        return item;
    };
    if (shadow) {
        miShadowInvert = menu->addAction("&Invert");
        miShadowInvert->setCheckable(true);
        group->addAction(miShadowInvert);
        connect(miShadowInvert, &QAction::triggered, this, [this] {
            TileFile.ShadowColor = ~TileFile.TransparentColor;
            RedrawView();
        });
    }
    for (const TNamedColor& c : NamedColors) {
        QAction* item = addItem(c.Caption, c.Value, Swatch(c.Value));
        item->setProperty("Named", true);
        if (c.Value == (shadow ? 0x808080u : 0xC0C0C0u))
            item->setChecked(true);
    }
    menu->addSeparator();
    QAction* custom = addItem("&Custom", 0x808080, Swatch(0x808080));
    custom->setProperty("Custom", true);
    addItem("S&ystem", clBtnFace, Swatch(clBtnFace));
}

void TMainForm::ColorItemClicked(QMenu* menu, QAction* item, bool shadow)
{
    TColor value = static_cast<TColor>(item->data().toULongLong());
    if (item->property("Custom").toBool()) {
        const auto chosen = FPrompts.ChooseColor(value);
        if (!chosen) {
            // Cancelled: the check marks go back to what they were.
            const TColor current = shadow ? ShadowColor : BgColor;
            for (QAction* other : menu->actions())
                if (other->isCheckable() && other != miShadowInvert &&
                    static_cast<TColor>(other->data().toULongLong()) == current) {
                    other->setChecked(true);
                    break;
                }
            return;
        }
        value = *chosen;
        item->setData(static_cast<qulonglong>(value));
        item->setIcon(Swatch(value));
    }
    if (shadow)
        SetShadowColor(value);
    else
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

QWidget* TMainForm::BuildLeftPanel()
{
    auto* panel = new QWidget;
    panel->setObjectName("pLeft");
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(5, 5, 5, 5);

    struct TGroupText {
        const char* Check;
        const char* Group;
        const char* Spin;
        const char* Count;
        int CheckHelp, SpinHelp, CountTag;
    };
    static const TGroupText texts[KindCount] = {
        {"Show &Tiles", "gbTiles", "Tile &Number", "Number of Tiles", 101, 102, 1011},
        {"Show Tile &Borders", "gbTileBorders", "Border N&umber", "Number of Borders", 103, 104, 1021},
        {"Show &Rivers", "gbRivers", "River Nu&mber", "Number of Rivers", 106, 107, 1031},
        {"Show Tile &Improvements", "gbTI", "TI Num&ber", "Number of Tile Impovements:", 108, 109, 1041},
        {"Show Tile R&ules", "gbTileRules", "Rule Numb&er", "Number of Rules:", 110, 111, 1051},
        {"Show Variation Rule", "gbVariationRule", "&VariationRule Number", "Number of VariationRules:", 115, 112,
         1061},
    };
    static const char* const checkNames[KindCount] = {"cbTiles", "cbTileBorders", "cbRivers",
                                                      "cbTI", "cbTileRules", "cbVariationRule"};
    static const char* const spinNames[KindCount] = {"seTileNum", "seBorderNum", "seRiverNum",
                                                     "seTINum", "seTileRules", "seVariationRule"};
    for (int k = 0; k < KindCount; ++k) {
        auto* check = new QCheckBox(texts[k].Check, panel);
        check->setObjectName(checkNames[k]);
        SetHelp(check, texts[k].CheckHelp);
        auto* group = new QGroupBox(k == kVariationRules ? "Variation Rule" : "", panel);
        group->setObjectName(texts[k].Group);
        auto* grid = new QGridLayout(group);
        grid->setContentsMargins(6, 4, 6, 4);
        auto* spinLabel = new QLabel(texts[k].Spin, group);
        auto* spin = new TExtSpinEdit(group);
        spin->setObjectName(spinNames[k]);
        spin->SetSmallArrows(true);
        spin->SetMinValue(0);
        spin->SetMaxValue(1);
        spin->SetValue(0);
        spin->setFixedWidth(80);
        SetHelp(spin, texts[k].SpinHelp);
        spinLabel->setBuddy(spin);
        auto* countCaption = new QLabel(texts[k].Count, group);
        auto* count = MonoLabel(group);
        SetTag(count, texts[k].CountTag);
        grid->addWidget(spinLabel, 0, 0);
        grid->addWidget(spin, 0, 1);
        grid->addWidget(countCaption, 1, 0);
        grid->addWidget(count, 1, 1);
        ShowBoxes[static_cast<std::size_t>(k)] = check;
        Groups[static_cast<std::size_t>(k)] = group;
        Spins[static_cast<std::size_t>(k)] = spin;
        CountLabels[static_cast<std::size_t>(k)] = count;
        // The number widgets of rules and variation rules, switched by their boxes.
        spin->setProperty("NumberWidgets", true);
        spinLabel->setProperty("NumberWidget", true);
        countCaption->setProperty("NumberWidget", true);
        count->setProperty("NumberWidget", true);
        column->addWidget(check);
        column->addWidget(group);
        connect(spin, &TExtSpinEdit::Changed, this, [this, k] { SpinChanged(k); });
        connect(check, &QCheckBox::clicked, this, [this, k] { ShowBoxClicked(k); });

        auto idRow = [&](const char* caption, std::initializer_list<std::pair<QLabel**, int>> labels) {
            const int row = grid->rowCount();
            grid->addWidget(new QLabel(caption, group), row, 0);
            auto* box = new QHBoxLayout;
            for (auto [label, tag] : labels) {
                *label = MonoLabel(group);
                SetTag(*label, tag);
                box->addWidget(*label);
            }
            box->addStretch();
            grid->addLayout(box, row, 1);
        };
        switch (k) {
        case kTiles:
            idRow("Tile ID", {{&lTileIDHex, 1012}, {&lTileTSIHex, 1013}, {&lTileCutoutHex, 1014}});
            break;
        case kBorders: {
            idRow("Border ID", {{&lBorderFromHex, 1022}, {&lBorderToHEx, 1023}});
            auto* bar = new QToolBar(group);
            bar->setObjectName("tbShowBorders");
            bar->setIconSize(QSize(26, 16));
            SetHelp(bar, 105);
            static const char* const names[4] = {"tbBorderSW", "tbBorderNW", "tbBorderNE", "tbBorderSE"};
            static const char* const tips[4] = {"South-west", "North-west", "North-east", "South-east"};
            for (int e = 0; e < 4; ++e) {
                auto* button = new QToolButton(bar);
                button->setObjectName(names[e]);
                button->setIcon(BorderIcon(e));
                button->setCheckable(true);
                button->setChecked(true);
                button->setToolTip(tips[e]);
                button->setAutoRaise(true);
                bar->addWidget(button);
                BorderButtons[static_cast<std::size_t>(e)] = button;
                connect(button, &QToolButton::toggled, this, &TMainForm::RedrawView);
            }
            grid->addWidget(bar, grid->rowCount(), 0, 1, 2);
            break;
        }
        case kRivers: idRow("River ID", {{&lRiverIDHex, 1032}}); break;
        case kImprovements: idRow("TI ID", {{&lTIIDHex, 1042}}); break;
        case kRules: {
            // The rule diagram: the neighbourhood as a diamond, then the tile IDs.
            auto* diagram = new QWidget(group);
            diagram->setFixedSize(140, 64);
            static const int at[9][2] = {{50, 42}, {27, 53}, {72, 53}, {5, 64}, {50, 64},
                                         {94, 64}, {27, 75}, {50, 86}, {72, 75}};
            static const int tags[9] = {4107, 4108, 4109, 4110, 4111, 4112, 4113, 4115, 4114};
            static const char* const names[9] = {"lN", "lNW", "lNE", "lW", "lC", "lE", "lSW", "lS", "lSE"};
            for (int i = 0; i < 9; ++i) {
                auto* label = MonoLabel(diagram);
                label->setObjectName(names[i]);
                label->setMinimumWidth(0);
                label->move(at[i][0], at[i][1] - 40);
                label->resize(40, 14);
                SetTag(label, tags[i]);
                RuleLabels[static_cast<std::size_t>(i)] = label;
            }
            grid->addWidget(diagram, grid->rowCount(), 0, 1, 2);
            auto* numbers = new QGridLayout;
            static const char* const captions[6] = {"Graph.", "Alt1", "Alt2", "Alt3", "Alt4", "Alt5"};
            for (int i = 0; i < 6; ++i) {
                numbers->addWidget(new QLabel(captions[i], group), (i / 3) * 2, i % 3);
                auto* label = MonoLabel(group);
                SetTag(label, 4101 + i);
                RuleLabels[static_cast<std::size_t>(9 + i)] = label;
                numbers->addWidget(label, (i / 3) * 2 + 1, i % 3);
            }
            grid->addLayout(numbers, grid->rowCount(), 0, 1, 2);
            break;
        }
        case kVariationRules: idRow("Tile Set Index: (of first tile)", {{&lVRTileSetIndex, 1062}}); break;
        default: break;
        }
    }
    column->addStretch();

    ShowBoxes[kTiles]->setChecked(true);
    for (int k : {kBorders, kRivers, kImprovements})
        Groups[static_cast<std::size_t>(k)]->setEnabled(false);
    for (int k : {kRules, kVariationRules})
        for (QWidget* w : Groups[static_cast<std::size_t>(k)]->findChildren<QWidget*>())
            if (w->property("NumberWidget").toBool() || w->property("NumberWidgets").toBool())
                w->setEnabled(false);
    // The border buttons wait for their box.
    for (QToolButton* b : BorderButtons)
        b->setEnabled(false);
    return panel;
}

int TMainForm::BorderMask() const
{
    int mask = 0;
    for (int e = 0; e < 4; ++e)
        if (BorderButtons[static_cast<std::size_t>(e)]->isChecked())
            mask |= 1 << e;
    return mask;
}

std::size_t TMainForm::Count(int kind) const
{
    switch (kind) {
    case kTiles: return TileFile.TileCount();
    case kBorders: return TileFile.BorderCount();
    case kRivers: return TileFile.RiverCount();
    case kImprovements: return TileFile.ImprovementCount();
    case kRules: return TileFile.TileRuleCount();
    default: return TileFile.VariationRuleCount();
    }
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
        for (QWidget* w : group->findChildren<QWidget*>())
            if (w->property("NumberWidget").toBool() || w->property("NumberWidgets").toBool())
                w->setEnabled(on);
    } else {
        group->setEnabled(on);
        if (kind == kBorders)
            for (QToolButton* b : BorderButtons)
                b->setEnabled(on);
    }
    RedrawView();
}

void TMainForm::SetZoom(int zoom)
{
    ZoomFactor = std::clamp(zoom, 1, 8);
    pbTile->SetZoom(ZoomFactor);
}

void TMainForm::LoadTileFile(const std::string& name, bool append)
{
    try {
        TileFile.LoadFromFile(name, append);
    } catch (const EFileOpenError&) {
        FPrompts.Message(Format("%s not found", name.c_str()), TMsgType::Error, mbOK);
        return;
    } catch (const EKestrundError& e) {
        // The file is there but damaged: say what is wrong instead of "not found".
        FPrompts.Message(name + " could not be read:\n\r" + e.what(), TMsgType::Error, mbOK);
        return;
    }
    SetSpinLimits();
    UpdateCounters();
    RedrawView();
}

void TMainForm::OpenTileFile(bool append)
{
    TFileDialogRequest request;
    request.Title = append ? "Append Tile File" : "Open Tile File";
    request.Filter = kTileFilter;
    request.FilterIndex = 1;
    request.DefaultExt = "*.til";
    request.FileName = "*.til";
    request.InitialDir = Settings.TileDir;
    const auto name = FPrompts.OpenFile(request);
    if (!name)
        return;
    LoadTileFile(*name, append);
    if (!Settings.AlwayUseDef)
        Settings.TileDir = FolderOf(*name);
}

void TMainForm::miFileNewClick()
{
    for (TExtSpinEdit* spin : Spins)
        spin->SetValue(0);
    TileFile.New();
    CurrentRule = nullptr;
    RedrawView();
    UpdateCounters();
}

void TMainForm::miFileSaveTileFileClick()
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
        return;
    try {
        TileFile.SaveToFile(WithDefaultExtension(*first, request.DefaultExt), cmRGB555);
    } catch (const EKestrundError& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
        return;
    }
    request.Title = "Save CTP1/CTP2 Tile File - InGame version";
    request.FileName = TileFile.FileName565;
    const auto second = FPrompts.SaveFile(request);
    if (!second)
        return;
    try {
        TileFile.SaveToFile(WithDefaultExtension(*second, request.DefaultExt), cmRGB565);
    } catch (const EKestrundError& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
        return;
    }
    if (!Settings.AlwayUseDef)
        Settings.TileDir = FolderOf(*second);
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
    const fs::path folder = fs::path(script).parent_path() / ScriptBaseName(script);
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
    if (on)
        repaint();
}

void TMainForm::ImportScriptFile(bool append)
{
    TFileDialogRequest request;
    request.Title = append ? "Append Script File" : "Import Script File";
    request.Filter = kScriptFilter;
    request.FilterIndex = 1;
    request.DefaultExt = "*.src";
    request.FileName = "*.src";
    request.InitialDir = Settings.SrcDir;
    const auto name = FPrompts.OpenFile(request);
    if (name) {
        if (!Settings.AlwayUseDef)
            Settings.SrcDir = FolderOf(*name);
        ShowLoading(true);
        LogFileName = LogFileNameFor(*name);
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
        FImporting = true;
        try {
            result = ImportScriptInto(TileFile, *name, LogFileName, append, Settings.LogLevel, progress);
        } catch (const std::exception&) {
            failed = true;
        }
        FImporting = false;
        CurrentRule = nullptr; // the rules may have been replaced
        ShowLoading(false);
        if (failed || (result >= 1 && result <= 16))
            FPrompts.Message(Format("Import Failed\n\rSe logfile: \"%s\" for details", LogFileName.c_str()),
                             TMsgType::Error, mbOK);
        else if (result > 16)
            FPrompts.Message(Format("There were errors importing %s\n\rSome elements might not have been properly "
                                    "created\n\rSe logfile: \"%s\" for details",
                                    name->c_str(), LogFileName.c_str()),
                             TMsgType::Warning, mbOK);
    }
    UpdateCounters();
    SetSpinLimits();
    RedrawView();
}

void TMainForm::miHelpAboutClick()
{
    FPrompts.About("About Kestrund", std::string(kProductName) + "\nVersion " + kProductVersion + "\n" +
                                         kCopyright + "\n\n" + kComments);
}

void TMainForm::ReadWindowPlacement()
{
    const TWindowPlacement& p = Settings.MainWindow;
    setGeometry(static_cast<int>(p.Left), static_cast<int>(p.Top), static_cast<int>(p.Width),
                static_cast<int>(p.Height));
    if (p.State == 2)
        setWindowState(Qt::WindowMaximized);
    else if (p.State == 1)
        setWindowState(Qt::WindowMinimized);
}

void TMainForm::ReadSettings()
{
    TIniFile ini(FIniPath);
    Settings = ReadMainSettings(ini, Context());
    ReadWindowPlacement();
    ImgBorderWidth = Settings.ImgBorderWidth;
    ZoomFactor = Settings.ZoomFactor;
    SetBackgroundColor(Settings.BackGroundColor);
    SetShadowColor(Settings.ShadowColor);
    TileFile.SetColorMode(static_cast<std::uint8_t>(Settings.ColorMode));
    miInGameColorMode->setChecked(TileFile.ColorMode == cmRGB565);
    pbTile->SetZoom(ZoomFactor);
}

void TMainForm::WriteSettings(bool force)
{
    Settings.ImgBorderWidth = ImgBorderWidth;
    Settings.ZoomFactor = ZoomFactor;
    Settings.BackGroundColor = BgColor;
    Settings.ShadowColor = ShadowColor;
    Settings.ColorMode = TileFile.ColorMode;
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    Settings.MainWindow = {normal.left(), normal.top(), normal.width(), normal.height(),
                           isMinimized() ? 1 : isMaximized() ? 2 : 0};
    TExtIniFile ini(FIniPath);
    WriteMainSettings(ini, Settings, Context(), force);
}

} // namespace kestrund
