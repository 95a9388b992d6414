// The main window's menus and left panel.

#include "MainForm.h"
#include "MainFormPanels.h"

#include "ExtSpinEdit.h"
#include "Help.h"
#include "SystemColors.h"
#include "ViewPicture.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <vector>

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

// The panel's font: a point below the desktop's, so that the six groups fit the panel's
// 203-pixel design width and the default window height.
QFont PanelFont(QFont font)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(std::max(6.0, font.pointSizeF() - 1));
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(8, font.pixelSize() - 1));
    return font;
}

// A right-aligned number in a monospaced font of the parent's size, wide enough for digits
// characters so that the numbers of a row keep their places.
QLabel* MonoLabel(QWidget* parent, int digits = 0)
{
    auto* label = new QLabel(parent);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (parent->font().pointSizeF() > 0)
        mono.setPointSizeF(parent->font().pointSizeF());
    else
        mono.setPixelSize(parent->font().pixelSize());
    label->setFont(mono);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString(digits, u'0')));
    return label;
}

// A group box with its check box on its top edge, in the place of a caption. The check box
// stays outside the group, so that disabling the group leaves the check box usable.
class TCaptionedGroup : public QWidget {
public:
    TCaptionedGroup(QCheckBox* check, QGroupBox* group, QWidget* parent)
        : QWidget(parent), FCheck(check), FGroup(group)
    {
        group->setParent(this);
        check->setParent(this);
        check->setAutoFillBackground(true); // hides the frame line behind its text
        check->raise();
    }
    // How far the check box reaches below the group's top edge.
    int CaptionBelowEdge() const { return FCheck->sizeHint().height() - EdgeY(); }
    QSize sizeHint() const override { return Around(FGroup->sizeHint()); }
    QSize minimumSizeHint() const override { return Around(FGroup->minimumSizeHint()); }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        FGroup->setGeometry(0, EdgeY(), width(), height() - EdgeY());
        FCheck->setGeometry(kIndent, 0, std::min(FCheck->sizeHint().width(), width() - 2 * kIndent),
                            FCheck->sizeHint().height());
    }
    bool event(QEvent* event) override
    {
        // The group's layout asks its parent for room; pass that on to the panel.
        if (event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QWidget::event(event);
    }

private:
    static constexpr int kIndent = 6;
    int EdgeY() const { return FCheck->sizeHint().height() / 2; }
    QSize Around(QSize group) const
    {
        return {std::max(group.width(), FCheck->sizeHint().width() + 2 * kIndent), group.height() + EdgeY()};
    }
    QCheckBox* FCheck;
    QGroupBox* FGroup;
};


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
    // The menu bar shows the hint of the menu's own item, not the menu's.
    file->menuAction()->setStatusTip("Open, save, import, export, etc.");
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
    miFileRecent = file->addMenu("&Recent Files");
    miFileRecent->setObjectName("miFileRecent");
    QMenu* save = file->addMenu("&Save ...");
    save->menuAction()->setStatusTip("Save Image of...");
    const char* const saveItems[4][3] = {{"&Tile ...", "Ctrl+Shift+E", "Save image of tile."},
                                         {"&Borders ...", "Ctrl+Shift+D", "Save image of borders."},
                                         {"&River ...", "Ctrl+Shift+I", "Save image of river."},
                                         {"&Improvement ...", "Ctrl+Shift+P", "Save image of tile improvement."}};
    for (int kind = 0; kind < 4; ++kind) {
        QAction* item = save->addAction(saveItems[kind][0]);
        item->setShortcut(QKeySequence(saveItems[kind][1]));
        item->setStatusTip(saveItems[kind][2]);
        connect(item, &QAction::triggered, this, [this, kind] { SaveElementImage(kind); });
        SaveElementItems[static_cast<std::size_t>(kind)] = item;
    }
    miFileSaveImage = add(file, "Save &Image ...", QKeySequence("Ctrl+S"), "Save image curent display image.",
                          &TMainForm::miFileSaveImageClick);
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
    miFileOptions = add(file, "O&ptions...", QKeySequence("Shift+F2"), nullptr, &TMainForm::miFileOptionsClick);
    file->addSeparator();
    miFileExit = file->addAction("E&xit");
    miFileExit->setShortcut(QKeySequence("Ctrl+X"));
    miFileExit->setStatusTip("Exit program.");
    connect(miFileExit, &QAction::triggered, this, &QWidget::close);

    // Edit: one submenu per command, the kinds in the same order in each.
    QMenu* edit = menuBar()->addMenu("&Edit");
    BuildHistoryItems(edit);
    const struct {
        TKind Kind;
        const char *Caption, *Letter;
        bool Dots; // "..." also on the Delete item
    } editItems[] = {
        {kRules, "Tile R&ule", "U", true},        {kBorders, "&Borders", "B", false},
        {kTiles, "&Tile", "T", false},            {kRivers, "&River", "R", false},
        {kImprovements, "&Improvement", "M", false}, {kVariationRules, "&VariationRule", "V", false},
    };
    QMenu* addMenu = edit->addMenu("&Add");
    QMenu* deleteMenu = edit->addMenu("&Delete");
    QMenu* editMenu = edit->addMenu("&Edit");
    for (const auto& item : editItems) {
        const bool rules = item.Kind == kVariationRules;
        const QString caption = QString(item.Caption) + (rules ? "" : " ...");
        const int k = item.Kind;
        QAction* a = addMenu->addAction(caption);
        a->setShortcut(QKeySequence(QString("Ctrl+") + item.Letter));
        connect(a, &QAction::triggered, this, [this, k] { EditElement(k, true); });
        AddItems[static_cast<std::size_t>(k)] = a;
        a = deleteMenu->addAction(item.Dots ? caption : QString(item.Caption));
        a->setShortcut(QKeySequence(QString("Ctrl+Alt+") + item.Letter));
        connect(a, &QAction::triggered, this, [this, k] { DeleteElement(k); });
        DeleteItems[static_cast<std::size_t>(k)] = a;
        a = editMenu->addAction(caption);
        a->setShortcut(QKeySequence(QString("Ctrl+Shift+") + item.Letter));
        connect(a, &QAction::triggered, this, [this, k] { EditElement(k, false); });
        EditItems[static_cast<std::size_t>(k)] = a;
    }

    QMenu* colors = menuBar()->addMenu("&Colors");
    BackgroundMenu = colors->addMenu("&Background");
    BackgroundMenu->menuAction()->setStatusTip("Set background color");
    BuildColorMenu(BackgroundMenu, false);
    ShadowMenu = colors->addMenu("&Shadow");
    BuildColorMenu(ShadowMenu, true);
    miInGameColorMode = colors->addAction("&In-Game Color mode");
    miInGameColorMode->setShortcut(QKeySequence("Ctrl+C"));
    miInGameColorMode->setCheckable(true);
    connect(miInGameColorMode, &QAction::triggered, this, &TMainForm::ChangeColorMode);

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

    view->addSeparator();
    miViewScriptLog = add(view, "Script Import &Log", QKeySequence("Ctrl+W"), nullptr, &TMainForm::miViewScriptLogClick);
    miViewScriptLog->setEnabled(false);
    BuildBrowser(view);

    QMenu* help = menuBar()->addMenu("&Help");
    miHelpIndex = help->addAction("&Index ...");
    miHelpIndex->setShortcut(QKeySequence("F1"));
    connect(miHelpIndex, &QAction::triggered, this, [] { ShowHelpContents(); });
    miHelpAbout = help->addAction("&About ...");
    miHelpAbout->setShortcut(QKeySequence("Shift+F1"));
    connect(miHelpAbout, &QAction::triggered, this, &TMainForm::miHelpAboutClick);
}

void TMainForm::BuildColorMenu(QMenu* menu, bool shadow)
{
    // One check mark among the colours; none while Invert is on.
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
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
        // A toggle: on, the set's shadow is the background's complement; off, the chosen colour again.
        connect(miShadowInvert, &QAction::triggered, this, [this, group](bool on) {
            if (on) {
                if (QAction* checked = group->checkedAction())
                    checked->setChecked(false);
                TileFile.ShadowColor = ~TileFile.TransparentColor;
            } else {
                SetShadowColor(ShadowColor);
            }
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
    panel->setFont(PanelFont(panel->font()));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(3, 3, 3, 3);
    column->setSpacing(2);
    const QFontMetrics metrics(panel->font());
    // Room for a five-digit number beside the spin buttons.
    const int numberWidth = metrics.horizontalAdvance("00000") + 28;

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
        auto* check = new QCheckBox(texts[k].Check);
        check->setObjectName(checkNames[k]);
        SetHelp(check, texts[k].CheckHelp);
        auto* group = new QGroupBox;
        group->setObjectName(texts[k].Group);
        if (k == kVariationRules)
            group->setAccessibleName("Variation Rule"); // its check box stands in the caption's place
        auto* block = new TCaptionedGroup(check, group, panel);
        auto* grid = new QGridLayout(group);
        // The group's frame takes some room of its own; the rows start just below the check box.
        const QMargins frame = group->contentsMargins();
        grid->setContentsMargins(std::max(0, 4 - frame.left()), std::max(0, block->CaptionBelowEdge() + 1 - frame.top()),
                                 std::max(0, 4 - frame.right()), std::max(0, 3 - frame.bottom()));
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(1);
        grid->setColumnStretch(0, 1);
        grid->setColumnMinimumWidth(1, numberWidth);

        auto* spinLabel = new QLabel(texts[k].Spin, group);
        auto* spin = new TExtSpinEdit(group);
        spin->setObjectName(spinNames[k]);
        spin->SetSmallArrows(true);
        spin->SetMinValue(0);
        spin->SetMaxValue(1);
        spin->SetValue(0);
        spin->setFixedWidth(numberWidth);
        SetHelp(spin, texts[k].SpinHelp);
        spinLabel->setBuddy(spin);
        grid->addWidget(spinLabel, 0, 0);
        grid->addWidget(spin, 0, 1);
        auto* count = MonoLabel(group);
        SetTag(count, texts[k].CountTag);
        // Every value sits at the right edge, under the spin edit.
        auto valueRow = [&](QLabel* caption, std::initializer_list<QLabel*> values) {
            auto* row = new QHBoxLayout;
            row->setSpacing(4);
            row->addWidget(caption);
            row->addStretch();
            for (QLabel* value : values)
                row->addWidget(value);
            grid->addLayout(row, grid->rowCount(), 0, 1, 2);
            return caption;
        };
        QLabel* countCaption = valueRow(new QLabel(texts[k].Count, group), {count});
        ShowBoxes[static_cast<std::size_t>(k)] = check;
        Groups[static_cast<std::size_t>(k)] = group;
        Spins[static_cast<std::size_t>(k)] = spin;
        CountLabels[static_cast<std::size_t>(k)] = count;
        // The widgets that "Show Tile Rules" and "Show Variation Rule" switch.
        for (QWidget* w : std::initializer_list<QWidget*>{spin, spinLabel, countCaption, count})
            w->setProperty("NumberWidget", true);
        column->addWidget(block);
        connect(spin, &TExtSpinEdit::Changed, this, [this, k] { SpinChanged(k); });
        connect(check, &QCheckBox::clicked, this, [this, k] { ShowBoxClicked(k); });

        auto idRow = [&](const char* caption, std::initializer_list<std::tuple<QLabel**, int, int>> labels) {
            std::vector<QLabel*> values;
            for (auto [label, tag, digits] : labels) {
                *label = MonoLabel(group, digits);
                SetTag(*label, tag);
                values.push_back(*label);
            }
            auto* row = new QHBoxLayout;
            row->setSpacing(4);
            QLabel* captionLabel = new QLabel(caption, group);
            row->addWidget(captionLabel);
            row->addStretch();
            for (QLabel* value : values)
                row->addWidget(value);
            grid->addLayout(row, grid->rowCount(), 0, 1, 2);
            return std::pair(captionLabel, values);
        };
        switch (k) {
        case kTiles:
            idRow("Tile ID", {{&lTileIDHex, 1012, 5}, {&lTileTSIHex, 1013, 3}, {&lTileCutoutHex, 1014, 3}});
            break;
        case kBorders: {
            idRow("Border ID", {{&lBorderFromHex, 1022, 5}, {&lBorderToHEx, 1023, 5}});
            auto* bar = new QToolBar(group);
            bar->setObjectName("tbShowBorders");
            bar->setIconSize(QSize(26, 16));
            bar->setContentsMargins(0, 0, 0, 0);
            bar->layout()->setContentsMargins(0, 0, 0, 0);
            bar->layout()->setSpacing(2);
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
                button->setFixedSize(32, 20);
                bar->addWidget(button);
                BorderButtons[static_cast<std::size_t>(e)] = button;
                connect(button, &QToolButton::toggled, this, &TMainForm::RedrawView);
            }
            grid->addWidget(bar, grid->rowCount(), 0, 1, 2);
            break;
        }
        case kRivers: idRow("River ID", {{&lRiverIDHex, 1032, 0}}); break;
        case kImprovements: idRow("TI ID", {{&lTIIDHex, 1042, 0}}); break;
        case kRules: {
            // The rule diagram: the neighbourhood as a diamond, then the tile IDs.
            auto* diagram = new QWidget(group);
            const int rowHeight = metrics.height();
            const int pitch = std::max(rowHeight - 2, 8); // rows of one column stay apart
            diagram->setFixedSize(140, 4 * pitch + rowHeight);
            static const int at[9][2] = {{50, 0}, {27, 1}, {72, 1}, {5, 2}, {50, 2}, {94, 2}, {27, 3}, {50, 4}, {72, 3}};
            static const int tags[9] = {4107, 4108, 4109, 4110, 4111, 4112, 4113, 4115, 4114};
            static const char* const names[9] = {"lN", "lNW", "lNE", "lW", "lC", "lE", "lSW", "lS", "lSE"};
            for (int i = 0; i < 9; ++i) {
                auto* label = MonoLabel(diagram);
                label->setObjectName(names[i]);
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                label->setGeometry(at[i][0], at[i][1] * pitch, 44, rowHeight);
                SetTag(label, tags[i]);
                RuleLabels[static_cast<std::size_t>(i)] = label;
            }
            grid->addWidget(diagram, grid->rowCount(), 0, 1, 2, Qt::AlignHCenter);
            // Graph., Alt1 / Alt2, Alt3 / Alt4, Alt5: caption and number pairs.
            auto* numbers = new QGridLayout;
            numbers->setHorizontalSpacing(4);
            numbers->setVerticalSpacing(0);
            numbers->setColumnStretch(2, 1);
            static const char* const captions[6] = {"Graph.", "Alt1", "Alt2", "Alt3", "Alt4", "Alt5"};
            for (int i = 0; i < 6; ++i) {
                numbers->addWidget(new QLabel(captions[i], group), i / 2, (i % 2) * 3);
                auto* label = MonoLabel(group, 6);
                SetTag(label, 4101 + i);
                RuleLabels[static_cast<std::size_t>(9 + i)] = label;
                numbers->addWidget(label, i / 2, (i % 2) * 3 + 1);
            }
            grid->addLayout(numbers, grid->rowCount(), 0, 1, 2);
            break;
        }
        case kVariationRules: {
            auto [caption, values] = idRow("Tile Set Index: (of first tile)", {{&lVRTileSetIndex, 1062, 0}});
            caption->setProperty("NumberWidget", true);
            values.front()->setProperty("NumberWidget", true);
            break;
        }
        default: break;
        }
    }
    column->addStretch();

    ShowBoxes[kTiles]->setChecked(true);
    for (int k : {kBorders, kRivers, kImprovements})
        Groups[static_cast<std::size_t>(k)]->setEnabled(false);
    for (int k : {kRules, kVariationRules})
        SetNumberWidgetsEnabled(k, false);
    // The border buttons wait for their box.
    for (QToolButton* b : BorderButtons)
        b->setEnabled(false);
    return panel;
}

void TMainForm::SetNumberWidgetsEnabled(int kind, bool on)
{
    for (QWidget* w : Groups[static_cast<std::size_t>(kind)]->findChildren<QWidget*>())
        if (w->property("NumberWidget").toBool())
            w->setEnabled(on);
}

} // namespace kestrund
