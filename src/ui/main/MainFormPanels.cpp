// The main window's menus and left panel.

#include "MainForm.h"
#include "MainFormPanels.h"

#include "ExtSpinEdit.h"
#include "SystemColors.h"
#include "ViewPicture.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrund {

namespace {

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

QLabel* MonoLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance("00000"));
    return label;
}


void SetTag(QObject* label, int tag)
{
    label->setProperty("Tag", tag);
}

} // namespace

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

void SetHelp(QObject* widget, int context)
{
    widget->setProperty("HelpContext", context);
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

} // namespace kestrund
