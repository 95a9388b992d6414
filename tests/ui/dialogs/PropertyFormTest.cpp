#include "../ScriptedPrompts.h"
#include "ColorMenu.h"
#include "ElementStrip.h"
#include "ExtSpinEdit.h"
#include "IniFile.h"
#include "MiscFunc.h"
#include "PropertyForm.h"
#include "Scratch.h"
#include "SetBuilders.h"
#include "SystemColors.h"
#include "Targa.h"
#include "TgaBuilder.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <functional>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

// Whether the dialog's element equals the set's element of its kind at i.
::testing::AssertionResult Same(const TElementEditResult& r, const TTileFile& s, std::size_t i)
{
    const bool same = r.TileRule        ? *r.TileRule == s.TileRule(i)
                      : r.Border        ? *r.Border == s.Border(i) && r.Border->ColorMode() == s.Border(i).ColorMode()
                      : r.Tile          ? r.Tile->SameAs(s.Tile(i))
                      : r.River         ? r.River->SameAs(s.River(i))
                      : r.Improvement   ? r.Improvement->SameAs(s.Improvement(i))
                      : r.VariationRule ? *r.VariationRule == s.VariationRule(i)
                                        : false;
    return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "element " << i << " changed";
}

TElementEditRequest Req(TPropertyKind kind, bool add, int position = 0, const TTileFile* set = {}, bool hex = false)
{
    return {.Kind = kind, .Add = add, .Hex = hex, .Set = set, .Position = position, .ImageDirectory = {}};
}

struct PropertyFormTest : ::testing::Test {
    TScratchDir dir;
    std::string ini = dir / "Kestrund.ini";
    TScriptedPrompts prompts;
    std::unique_ptr<TPropertyForm> form = std::make_unique<TPropertyForm>(prompts, ini);
    std::unique_ptr<TTileFile> set = MakeRichSet(7, true);

    template <class T = QWidget>
    T* W(const QString& name)
    {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    TExtSpinEdit* Spin(const QString& name) { return W<TExtSpinEdit>(name); }
    QComboBox* Combo(const QString& name) { return W<QComboBox>(name); }
    void Click(const QString& box) { W<QCheckBox>(box)->click(); }
    QString Text() { return W<QPlainTextEdit>("mVariationRule")->toPlainText(); }
    // A choice from a list, as the user makes it.
    void Pick(const QString& combo, int item)
    {
        Combo(combo)->setCurrentIndex(item);
        emit Combo(combo)->activated(item);
    }
    // Runs the dialog: act inside it, then OK or Cancel.
    std::optional<TElementEditResult> Run(TElementEditRequest r, const std::function<void()>& act = {}, bool ok = true)
    {
        if (!r.Set)
            r.Set = set.get();
        QTimer::singleShot(0, form.get(), [this, act, ok] {
            if (act)
                act();
            if (form->isVisible())
                W<QPushButton>(ok ? "btnOk" : "btnCancel")->click();
        });
        return RunPropertyForm(*form, r);
    }
    std::optional<TElementEditResult> Edit(TPropertyKind kind, int i, const std::function<void()>& act = {})
    {
        return Run(Req(kind, false, i), act);
    }
};

TEST_F(PropertyFormTest, OpeningAndOkGivesBackEveryElementUnchanged)
{
    for (std::uint8_t mode : {cmRGB555, cmRGB565})
        for (bool hex : {false, true}) {
            set = MakeRichSet(11, true);
            set->SetColorMode(mode);
            // Values the controls cannot show stay as stored.
            set->River(0).Directions = {2, 0, 1, 7, 3, 1, 0, 65535, 1};
            set->Tile(0).BorderEdges = 0xA5;
            set->VariationRule(0).Steps = {0xFFFFFFFF, 0x0000C020, 0};
            set->TileRule(0).Values[rvAlt3] = 0x8000;
            for (int kind = 0; kind < PropertyKindCount; ++kind)
                for (std::size_t i = 0; i < ElementCount(*set, TPropertyKind(kind)); ++i) {
                    const auto r = Run(Req(TPropertyKind(kind), false, int(i), nullptr, hex));
                    ASSERT_TRUE(r && r->Replace && r->Position == int(i)) << kind;
                    EXPECT_TRUE(Same(*r, *set, i)) << "kind " << kind << " mode " << int(mode) << " hex " << hex;
                }
        }
}

TEST_F(PropertyFormTest, CancelImpossibleEditsAndAFreshTileRule)
{
    EXPECT_FALSE(Run(Req(pkTile, false, 0), {}, false));
    EXPECT_FALSE(Run(Req(pkTile, false, int(set->TileCount()))));
    EXPECT_FALSE(Run(Req(pkTile, false, -1)));
    TTileFile empty;
    empty.Clear();
    EXPECT_FALSE(Run(Req(pkBorder, false, 0, &empty)));
    bool replaceEnabled = true;
    const auto added = Run(Req(pkBorder, true, 3, &empty), [&] { replaceEnabled = W("cbReplace")->isEnabled(); });
    ASSERT_TRUE(added && added->Border);
    // Added first, and Replace is off: there is nothing to replace.
    EXPECT_EQ(std::tuple(added->Replace, added->Position, replaceEnabled), std::tuple(false, 0, false));
    EXPECT_EQ((std::array{PositionRange(0, false), PositionRange(0, true), PositionRange(5, false),
                          PositionRange(5, true)}), (std::array<TPositionRange, 4>{{{0, 0}, {0, 0}, {0, 5}, {0, 4}}}));

    // A fresh tile rule shows -1 (FFFF in hex) in every field and stores FFFF.
    const QStringList fields{"seID", "seAlt1", "seAlt2", "seAlt3", "seAlt4", "seAlt5", "seN",  "seNE",
                             "seE",  "seSE",   "seS",    "seSW",   "seW",    "seNW",   "seCenter"};
    for (const auto& [hex, shown] : {std::pair{false, "-1"}, std::pair{true, "FFFF"}}) {
        QStringList texts;
        const auto r = Run(Req(pkTileRule, true, 0, nullptr, hex), [&] {
            for (const QString& f : fields)
                texts << Spin(f)->text();
        });
        EXPECT_EQ(texts, QStringList(fields.size(), shown));
        ASSERT_TRUE(r && r->TileRule);
        EXPECT_EQ(r->TileRule->Values, TTileRule().Values);
        EXPECT_EQ(form->windowTitle(), "Add Tile Rule");
    }
}

TEST_F(PropertyFormTest, WhereTheResultGoes)
{
    const int count = int(set->BorderCount());
    using F = PropertyFormTest;
    struct Row { bool add; std::function<void(F&)> act; bool replace, last; int position; };
    const Row rows[] = {
        {false, [](F& t) { t.Click("cbReplace"); }, false, false, 1},
        {false, [](F& t) { t.Spin("sePos")->SetValue(99); }, true, false, 1}, // Edit replaces what it opened
        {true, [](F& t) { t.Click("cbReplace"); }, true, true, 1},
        {true, [count](F& t) { t.Click("cbLast"), t.Spin("sePos")->SetValue(count); }, false, false, count},
        {true, [](F& t) { t.Click("cbLast"), t.Spin("sePos")->setText("99"); }, false, false, count},
        {true, [](F& t) { t.Click("cbLast"), t.Spin("sePos")->setText("-3"); }, false, false, 0},
        {true, [](F& t) { t.Click("cbLast"), t.Spin("sePos")->SetValue(99), t.Click("cbReplace"); }, true, false,
         count - 1},
    };
    for (const Row& row : rows) {
        const auto r = Run(Req(pkBorder, row.add, 1), [&] { row.act(*this); });
        ASSERT_TRUE(r && r->Border);
        EXPECT_EQ(std::tuple(r->Replace, r->Last, r->Position), std::tuple(row.replace, row.last, row.position))
            << row.add;
    }
    // Edit with Replace unchecked: the edited values as a copy; the set is never touched.
    const TTileBorder before = [&] { TTileBorder b; b.Assign(set->Border(1)); return b; }();
    const auto r = Edit(pkBorder, 1, [&] { Click("cbReplace"), Spin("seID")->SetValue(77); });
    EXPECT_EQ(std::tuple(r->Border->Inside, r->Border->Edges == before.Edges, set->Border(1) == before),
              std::tuple(77, true, true));
}

TEST_F(PropertyFormTest, TheCornerAndDirectionBoxes)
{
    const TTileBorder& b = set->Border(0);
    const std::pair<QStringList, int> corners[] = {{{"cbSW"}, 0}, {{"cbNW"}, 1}, {{"cbSW", "cbNE"}, 2},
                                                   {{"cbSE"}, 3}, {{"cbSE", "cbSE"}, -1}};
    for (const auto& [clicks, corner] : corners) {
        const auto r = Edit(pkBorder, 0, [&] {
            for (const QString& box : clicks)
                Click(box);
        });
        for (int e = 0; e < 4; ++e) {
            TCBorder expected = b.Edges[e];
            expected.CopyOriented(b.Edges[corner < 0 ? e : corner]);
            EXPECT_EQ(r->Border->Edges[e], expected) << clicks.join(",").toStdString() << " edge " << e;
        }
    }

    // A tile's corners mark its ground. The oracle: the tile's picture file read back with the corner's
    // marker border.
    set->Tile(1).BorderEdges = 0;
    set->Tile(1).ExportTGA(dir / "t.tga", 0xC0C0C0, 0x808080);
    SaveBytes(dir / "red.tga", TTgaFile{.Width = TileWidth, .Height = TileHeight,
                                        .Pixels = Words({0x7C00}, TileWidth * TileHeight)}.Bytes());
    form->SetImportTGAChooser([&](const TImportTGARequest&) {
        return TImportTGAResult{dir / "red.tga", dir.Path().string(), clLime, clBlue, clTeal};
    });
    struct Row { bool load; QStringList clicks; std::string file; TColor transparent, shadow; int mask; };
    const Row rows[] = {
        {false, {"cbSW"}, "t.tga", 0xC0C0C0, 0x808080, 1}, {false, {"cbSW", "cbNE"}, "t.tga", 0xC0C0C0, 0x808080, 5},
        {true, {"cbSE"}, "red.tga", clLime, clBlue, 8}, {true, {"cbSE", "cbSE"}, "red.tga", clLime, clBlue, 0}};
    for (const Row& row : rows) {
        form->SetImportTransparent(0xC0C0C0), form->SetImportShadow(0x808080);
        const auto r = Edit(pkTile, 1, [&] {
            if (row.load)
                W<QPushButton>("btnLoad")->click();
            for (const QString& box : row.clicks)
                Click(box);
        });
        TTile expected;
        expected.Assign(set->Tile(1));
        expected.ImportTGA(dir / row.file, row.transparent, row.shadow, row.mask);
        expected.BorderEdges = std::uint8_t(row.mask);
        EXPECT_TRUE(r->Tile->SameAs(expected)) << row.clicks.join(",").toStdString();
    }
    form->SetImportTGAChooser({});
    const auto undone = Edit(pkTile, 1, [&] { Click("cbSW"), Click("cbSW"); });
    EXPECT_TRUE(Same(*undone, *set, 1));

    // A river's boxes and type write only what changed.
    set->River(0).Directions = {2, 0, 1, 7, 3, 1, 0, 65535, 1};
    const auto r = Edit(pkRiver, 0, [&] {
        Click("cbW"); // 2 shows unchecked: checking stores 1
        Click("cbN"); // 1 unchecked: 0
        QTest::keyClick(Spin("seID"), Qt::Key_3, Qt::ControlModifier); // cbSE (65535) checked: 1
        Pick("cbLand", 1);
    });
    EXPECT_EQ(r->River->Directions, (std::array<std::uint16_t, 9>{1, 0, 0, 7, 2, 1, 0, 1, 1}));
}

TEST_F(PropertyFormTest, ThePreviewShowsTheElementAndGivesColours)
{
    const TTile& tile = set->Tile(0);
    const TColor ground = PixelToColor(tile.Pixels[std::size_t(DiamondRow(48).Start + 47)], tile.ColorMode);
    TTileBorder corner;
    corner.Assign(set->Border(0));
    for (TCBorder& edge : corner.Edges)
        edge.CopyOriented(set->Border(0).Edges[2]);
    const TTile lime(clLime, 0), blue(clBlue, 0), red(clRed, 0), fuchsia(clFuchsia, 0);
    struct Row { TPropertyKind kind; QString click; std::function<void(TSurface&)> draw; };
    const Row rows[] = {
        {pkBorder, "", [&](TSurface& s) { set->Border(0).Draw(96, 48, s); }},
        {pkBorder, "cbNE", [&](TSurface& s) { corner.Draw(96, 48, s); }},
        {pkRiver, "", [&](TSurface& s) { set->River(0).Draw(96, 48, s); }},
        {pkImprovement, "", [&](TSurface& s) { set->Improvement(0).Draw(96, 48, s); }},
        {pkTile, "",
         [&](TSurface& s) {
             lime.Draw(48, 24, s), blue.Draw(144, 24, s), red.Draw(48, 72, s), fuchsia.Draw(144, 72, s);
             set->Tile(0).Draw(96, 48, s);
         }},
    };
    form->SetPreviewBackground(clTeal);
    for (const Row& row : rows) {
        QImage shot;
        Edit(row.kind, 0, [&] {
            if (!row.click.isEmpty())
                Click(row.click);
            shot = W("pbResource")->grab().toImage();
        });
        TRgbSurface expected(PreviewWidth, PreviewHeight, clTeal);
        row.draw(expected);
        int differ = 0;
        for (int y = 0; y < PreviewHeight; ++y)
            for (int x = 0; x < PreviewWidth; ++x)
                differ += QColorToColor(shot.pixelColor(x, y)) != expected.Pixel(x, y);
        EXPECT_EQ(differ, 0) << row.kind;
    }

    // Ctrl+click: the left button picks the transparent colour, the right one the shadow.
    struct TClick { QPoint at; Qt::MouseButton button; Qt::KeyboardModifiers mods; TColor transparent, shadow; };
    const auto ctrl = Qt::ControlModifier;
    const TClick clicks[] = {
        {{143, 96}, Qt::LeftButton, ctrl, ground, 2},   {{143, 96}, Qt::RightButton, ctrl, 1, ground},
        {{143, 96}, Qt::LeftButton, Qt::NoModifier, 1, 2}, {{0, 96}, Qt::LeftButton, ctrl, 1, 2},
        {{143, 0}, Qt::RightButton, ctrl, 1, 2},        {{1, 1}, Qt::RightButton, ctrl, 1, clTeal},
        {{PreviewWidth - 1, PreviewHeight - 1}, Qt::LeftButton, ctrl, clTeal, 2},
    };
    for (const TClick& row : clicks) {
        form->SetImportTransparent(1), form->SetImportShadow(2);
        Edit(pkTile, 0, [&] { QTest::mouseClick(W("pbResource"), row.button, row.mods, row.at); });
        EXPECT_EQ(std::pair(form->ImportTransparent(), form->ImportShadow()), std::pair(row.transparent, row.shadow))
            << row.at.x() << "," << row.at.y();
    }

    // A variation rule: its chain of tiles.
    auto& rule = set->AddVariationRule(std::make_unique<TVariationRule>());
    rule.Steps.assign(5, PackStep(0, 3, tile.TileID));
    rule.Steps[0] = PackStep(0, 0, tile.TileID);
    QImage shot;
    Run(Req(pkVariationRule, false, int(set->VariationRuleCount()) - 1),
        [&] { shot = W("pbResource")->grab().toImage(); });
    for (const QPoint cell : {QPoint(0, 0), QPoint(48, 24), QPoint(96, 48), QPoint(144, 72), QPoint(192, 96)})
        EXPECT_EQ(shot.pixelColor(cell + QPoint(47, 48)), ColorToQColor(ground)) << cell.x();
    EXPECT_NE(shot.pixelColor(QPoint(192 + 47, 48)), ColorToQColor(ground)); // (0, 2) is not on the chain

    // The background from the colour menu.
    const std::pair<int, QColor> items[] = {{ColorMenu::CustomItem, QColor(0, 255, 255)}, {9, QColor(255, 0, 0)},
                                            {ColorMenu::SystemItem, form->palette().color(QPalette::Button)}};
    for (const auto& [item, shown] : items) {
        prompts.ColorAnswer = clAqua;
        W<ColorMenu>("ColorMenu")->ColorItem(item)->trigger();
        Edit(pkTile, 0, [&] { shot = W("pbResource")->grab().toImage(); });
        EXPECT_EQ(shot.pixelColor(1, 1), shown) << item;
    }
    EXPECT_EQ(form->PreviewBackground(), clBtnFace); // stored as the system colour
}

TEST_F(PropertyFormTest, AddModeReplaceAndTheStrip)
{
    form->SetTileSet(set.get());
    form->SetKind(pkBorder);
    const std::pair<bool, std::array<bool, 4>> modes[] = {{true, {false, true, true, false}},
                                                          {false, {true, false, false, true}}};
    for (const auto& [add, states] : modes) {
        form->SetAddMode(add);
        EXPECT_EQ((std::array{form->Replace(), W("cbLast")->isEnabled(), form->InsertLast(), W("sePos")->isEnabled()}),
                  states) << add;
    }
    form->SetAddMode(true);
    form->SetInsertLast(false);
    EXPECT_TRUE(W("sePos")->isEnabled());
    auto* strip = W<TElementStrip>("dgTiles");
    const auto cellColor = [&](int column) { return strip->viewport()->grab().toImage().pixelColor(47 * column, 0); };
    const auto clickCell = [&](int column) {
        QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, QPoint(47 * column + 20, 10));
    };
    const QColor highlight = form->palette().color(QPalette::Highlight), base = form->palette().color(QPalette::Base);
    Run(Req(pkBorder, true, 0), [&] {
        EXPECT_EQ(strip->Count(), int(set->BorderCount()));
        EXPECT_EQ(cellColor(0), base); // appended last: no cell marked
        Click("cbLast");
        Spin("sePos")->SetValue(2);
        EXPECT_EQ(strip->Selected(), 2);
        clickCell(1);
        EXPECT_EQ(std::tuple(Spin("sePos")->Value(), cellColor(1), cellColor(2)), std::tuple(1, highlight, base));
    });
    Edit(pkBorder, 1, [&] {
        EXPECT_EQ(form->focusWidget(), W("seID"));
        EXPECT_EQ(cellColor(1), highlight); // the element Replace changes
        clickCell(0);
        EXPECT_EQ(std::pair(Spin("sePos")->Value(), strip->Selected()), std::pair(1, 1));
    });
    EXPECT_FALSE(W("seID")->isEnabled()); // every kind's controls are put away after use
}

TEST_F(PropertyFormTest, KeysOfTheDialog)
{
    set->River(0).Directions = {0, 0, 0, 0, 1, 0, 0, 0, 0};
    set->Tile(0).BorderEdges = 0;
    struct Row { TPropertyKind kind; QString target; Qt::Key key; Qt::KeyboardModifiers mods; QString checked;
                 bool closed; };
    const auto ctrl = Qt::ControlModifier;
    const Row rows[] = {
        {pkRiver, "seID", Qt::Key_5, ctrl, "", false}, {pkRiver, "seID", Qt::Key_8, ctrl, "cbN", false},
        {pkRiver, "seID", Qt::Key_4, ctrl, "cbW", false},
        {pkRiver, "cbLand", Qt::Key_1, ctrl | Qt::KeypadModifier, "cbSW", false},
        {pkTile, "seID", Qt::Key_8, ctrl, "", false}, // a tile has no north box
        {pkTile, "seID", Qt::Key_9, ctrl, "cbNE", false}, {pkTile, "seAlt1", Qt::Key_Return, Qt::NoModifier, "", true},
        {pkVariationRule, "cbVR0Dir", Qt::Key_Enter, Qt::KeypadModifier, "", true},
        {pkVariationRule, "mVariationRule", Qt::Key_Return, Qt::NoModifier, "", false},
    };
    for (const Row& row : rows) {
        QStringList checked;
        bool closed = true;
        qsizetype added = 0;
        W<QCheckBox>("cbHexEd")->setChecked(row.target == "mVariationRule");
        Run(Req(row.kind, false, 0), [&] {
            const qsizetype before = Text().count('\n');
            QTest::keyClick(W(row.target), row.key, row.mods);
            added = Text().count('\n') - before;
            closed = !form->isVisible();
            for (QCheckBox* box : form->findChildren<QCheckBox*>(QRegularExpression("^cb(N|S|E|W|NE|NW|SE|SW)$")))
                if (box->isChecked())
                    checked << box->objectName();
        });
        EXPECT_EQ(checked.join(""), row.checked)
            << row.target.toStdString() << " " << row.key;
        EXPECT_EQ(std::tuple(closed, added), std::tuple(row.closed, row.target == "mVariationRule" ? 1 : 0)) << row.key;
    }

    // Accepted: set by every OK, cleared by each use.
    Run(Req(pkTile, false, 0), [&] { QTest::keyClick(Spin("seID"), Qt::Key_Return); }, false);
    EXPECT_FALSE(form->Accepted()); // applied
    form->SetKind(pkTile);
    QTimer::singleShot(0, [&] { QTest::keyClick(W("btnOk"), Qt::Key_O, Qt::AltModifier); });
    form->exec();
    EXPECT_TRUE(form->Accepted());
    form->SetKind(pkBorder);
    EXPECT_FALSE(form->Accepted());
}

TEST_F(PropertyFormTest, LoadingAPicture)
{
    SaveBytes(dir / "good.tga", TTgaFile{.Width = TileWidth, .Height = TileHeight,
                                         .Pixels = Words({0x7C00}, TileWidth * TileHeight)}.Bytes());
    SaveBytes(dir / "small.tga", TTgaFile{.Width = 10, .Height = 10, .Pixels = Words({0x7C00}, 100)}.Bytes());
    SaveBytes(dir / "mapped.tga", TTgaFile{.ImageType = 1, .Width = 1, .Height = 1, .Pixels = Words({0})}.Bytes());
    struct Row { TPropertyKind kind; std::string file; bool alwaysDefault; std::string message; }; // message "": loaded
    const Row rows[] = {
        {pkTile, "good.tga", false, ""}, {pkBorder, "good.tga", true, ""},
        {pkRiver, "good.tga", false, ""}, {pkImprovement, "good.tga", false, ""},
        {pkTile, "small.tga", false, "Image must be of size 94x72\n\rSelected image size was 10x10"},
        {pkBorder, "mapped.tga", false, TGAErrorMessage(tgaUnsupportedType, dir / "mapped.tga")},
        {pkRiver, "missing.tga", true, TGAErrorMessage(tgaLoadError, dir / "missing.tga")},
    };
    for (const Row& row : rows) {
        TImportTGARequest asked;
        form->SetImportTGAChooser([&](const TImportTGARequest& request) {
            asked = request;
            return TImportTGAResult{dir / row.file, "/elsewhere", clRed, clBlue, clLime};
        });
        form->SetAlwaysUseDefault(row.alwaysDefault);
        form->SetImportTransparent(clWhite), form->SetImportShadow(clBlack), form->SetPreviewBackground(clNavy);
        prompts.Messages.clear();
        const auto r = Run([&] { auto r = Req(row.kind, false, 0); r.ImageDirectory = "/pictures"; return r; }(),
                           [&] { W<QPushButton>("btnLoad")->click(); });
        EXPECT_EQ(std::tuple(asked.Directory, r->ImageDirectory, asked.Transparent, asked.Shadow,
                             asked.PreviewBackground), std::tuple("/pictures", "/elsewhere", clWhite, clBlack, clNavy));
        EXPECT_EQ(prompts.Messages.size(), row.message.empty() ? 0u : 1u);
        EXPECT_EQ(prompts.Messages.empty() ? "" : prompts.Messages[0].Text, row.message);
        EXPECT_EQ(Same(*r, *set, 0), !row.message.empty()) << row.file << " kind " << row.kind;
        EXPECT_EQ(std::tuple(form->ImportTransparent(), form->ImportShadow(), form->PreviewBackground()),
                  !row.alwaysDefault ? std::tuple(clRed, clBlue, clLime) : std::tuple(clWhite, clBlack, clNavy));
    }
    form->SetImportTGAChooser({});
    EXPECT_TRUE(Same(*Edit(pkTile, 0, [&] { W<QPushButton>("btnLoad")->click(); }), *set, 0));
}

TEST_F(PropertyFormTest, SettingsRoundTrip)
{
    form.reset();
    EXPECT_FALSE(std::filesystem::exists(ini) && TIniFile(ini).SectionExists("Colors")) << "defaults write nothing";
    form = std::make_unique<TPropertyForm>(prompts, ini);
    W<QCheckBox>("cbHexEd")->setChecked(true);
    form->SetImportTransparent(0x123456), form->SetImportShadow(clBtnText), form->SetPreviewBackground(clLime);
    form->SetAlwaysUseDefault(true);
    form->move(form->pos() + QPoint(7, 9));
    const QPoint moved = form->pos();
    form.reset();
    const TIniFile file(ini);
    EXPECT_EQ(std::tuple(file.ReadString("Colors", "ImportShadow", ""),
                         file.ReadString("Preferences", "EditVariationRuleASText", "")), std::tuple("-2147483630", "1"));
    form = std::make_unique<TPropertyForm>(prompts, ini);
    EXPECT_EQ(std::tuple(form->ImportTransparent(), form->ImportShadow(), form->PreviewBackground()),
              std::tuple(TColor(0x123456), clBtnText, clLime));
    EXPECT_EQ(std::tuple(form->IsTextEdit(), form->AlwaysUseDefault(), form->pos()), std::tuple(true, true, moved));
    // Persistent colours are the options dialog's: the last used ones are not written over them.
    form->SetPersistentColors(true);
    form->SetImportTransparent(clRed);
    form.reset();
    EXPECT_EQ(TIniFile(ini).ReadInteger("Colors", "ImportTransparant", 0), 0x123456);
}

// ---- Variation rules ----

TEST(PropertyLogic, VariationRuleTextAndStripPictureSizes)
{
    const std::pair<std::uint32_t, std::string> written[] = {
        {PackStep(3, 1, 12), "03,1,0012"}, {PackStep(255, 31, 65535), "255,31,65535"}, {0, "00,0,0000"}};
    for (const auto& [step, line] : written)
        EXPECT_EQ(StepLine(step), line);
    const std::pair<std::string, std::uint32_t> read[] = {
        {"7,,12", PackStep(7, 0, 12)}, {"x", 0}, {"03 1 0012", PackStep(3, 1, 12)}, {",2", PackStep(0, 2, 0)},
        {" 3 , 2 ,\"7\" extra", PackStep(3, 2, 7)}, {"$1F,$3,$FFFF", PackStep(31, 3, 65535)},
        {"300,33,70000", PackStep(44, 1, 4464)}, {"-1,4,5", PackStep(255, 4, 5)}, {"1,2,$", PackStep(1, 2, 0)},
        {"1,2,99999999999", PackStep(1, 2, 0)}, {"1A,$b,$ff", PackStep(0, 11, 255)},
        {"1,2,2147483647", PackStep(1, 2, 0xFFFF)}, {"1,2,-2147483648", PackStep(1, 2, 0)},
        {"1,2,$FFFFFFFF", PackStep(1, 2, 0xFFFF)},
    };
    for (const auto& [line, step] : read)
        EXPECT_EQ(ParseStepLine(line), step) << line;
    EXPECT_EQ(CommaItems("a,\"b,\"\"c\"\" d\",,"), (std::vector<std::string>{"a", "b,\"c\" d", "", ""}));
    EXPECT_EQ(TextLines("a\r\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(TextLines("").empty());
    EXPECT_EQ(RowStep("05", "", ""), PackStep(5, 31, 65535));
    EXPECT_EQ(StepsFromLines(std::vector<std::string>(70000, "1,1,1"), {}).size(), 65535u);

    // An improvement without lines draws nothing in the strip.
    TTileFile set; // its improvement has no lines
    EXPECT_EQ((std::array{StripPictureSize(set, pkImprovement, 0).Width, StripPictureSize(set, pkTile, 0).Width,
                          StripPictureSize(set, pkTileRule, 0).Width}), (std::array{0, TileWidth, 0}));
    PutLines(set.Improvement(0), {{3, {0x0C02, 1, 2, 0xFA05}}}); // 7 pixels wide, rows 0..3
    EXPECT_EQ(std::pair(StripPictureSize(set, pkImprovement, 0).Width, StripPictureSize(set, pkImprovement, 0).Height),
              std::pair(7, 4));
}

TEST_F(PropertyFormTest, RowsAndTextOfAVariationRule)
{
    // Tile 0's index, made stale in the index list: that index now has no tile.
    const std::string stale = set->TileIndexList().front();
    for (std::size_t i = 0; i < set->TileCount(); ++i)
        if (IntToStrPad(set->Tile(i).TileIndex, 2, '0') == stale)
            set->Tile(i).TileIndex = 250;
    const std::string index = set->TileIndexList().back();
    ASSERT_NE(index, stale);
    TVariationRule seven;
    seven.Steps.assign(7, PackStep(std::stoi(index), 3, 5));
    seven.Steps[0] = PackStep(std::stoi(index), 0, 5);
    set->AddVariationRule(std::make_unique<TVariationRule>()).Assign(seven);
    const int last = int(set->VariationRuleCount()) - 1;
    const QString item = QString::fromStdString(index);

    // "Non" in row 0 empties the rule and the rows below.
    auto r = Run(Req(pkVariationRule, false, last), [&] {
        EXPECT_EQ(Text().count('\n'), 6);
        Pick("cbVR0Index", 0);
        EXPECT_EQ(Text(), "");
        EXPECT_FALSE(W("cbVR1Index")->isEnabled() || W("cbVR1Dir")->isEnabled() || W("cbVR1TileID")->isEnabled());
    });
    EXPECT_TRUE(r->VariationRule->Steps.empty());

    // A row change rewrites its own line and those below it; entries beyond row 4 stay.
    r = Run(Req(pkVariationRule, false, last), [&] { Pick("cbVR1Dir", 1); });
    const TVariationRule& changed = *r->VariationRule;
    EXPECT_EQ(std::tuple(changed.Steps.size(), changed.StepDir(1), changed.StepTileID(1), changed.Steps[6]),
              std::tuple(7u, 2, 5, seven.Steps[6]));

    // An index without tiles: the tile ID stays empty, stored as 0; the working rule holds 65535.
    const int staleItem = Combo("cbVR0Index")->findText(QString::fromStdString(stale));
    r = Run(Req(pkVariationRule, true, 0), [&] {
        Pick("cbVR0Index", staleItem);
        EXPECT_EQ(std::pair(Combo("cbVR0TileID")->currentText(), Text()),
                  std::pair(QString(), QString::fromStdString(stale + ",0,")));
        Pick("cbVR1Index", Combo("cbVR1Index")->findText(item));
        Pick("cbVR1Dir", 2);
        Pick("cbVR2Index", Combo("cbVR2Index")->findText(item));
        EXPECT_EQ(Combo("cbVR2Dir")->currentIndex(), 2) << "row 2 follows row 1's direction";
    });
    EXPECT_EQ(std::tuple(r->VariationRule->StepTileID(0), r->VariationRule->Steps.size()), std::tuple(0, 3u));

    // The strip lists the tiles and gives one to the row that had the focus, and only then.
    r = Run(Req(pkVariationRule, false, last), [&] {
        EXPECT_EQ(W<TElementStrip>("dgTiles")->Count(), int(set->TileCount()));
        QTest::mouseClick(W<TElementStrip>("dgTiles")->viewport(), Qt::LeftButton, {}, QPoint(60, 10));
        QFocusEvent focusIn(QEvent::FocusIn);
        QApplication::sendEvent(W("cbVR2TileID"), &focusIn);
        QTest::mouseClick(W<TElementStrip>("dgTiles")->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    });
    EXPECT_EQ(std::tuple(r->VariationRule->StepTileID(1), r->VariationRule->StepTileID(2)),
              std::tuple(5, set->Tile(0).TileID));

    // Update takes the text: blank lines go, the rows follow.
    r = Run(Req(pkVariationRule, true, 0), [&] {
        W<QPlainTextEdit>("mVariationRule")->setPlainText("\n" + item + ",0,0042\n   \n");
        W<QPushButton>("btnUpdate")->click();
        EXPECT_EQ((QStringList{Text(), Combo("cbVR0Index")->currentText(), Combo("cbVR0TileID")->currentText()}),
                  (QStringList{item + ",0,0042", item, "0042"}));
    });
    EXPECT_EQ(r->VariationRule->Steps, (std::vector{PackStep(std::stoi(index), 0, 42)}));

    // An index opens its row and the next.
    set->Tile(0).TileIndex = 0; // 00 is an index like any other
    set->RebuildTileIndexList();
    const auto& list = set->TileIndexList();
    int absent = 1;
    while (std::find(list.begin(), list.end(), IntToStrPad(absent, 2, '0')) != list.end())
        ++absent;
    set->VariationRule(0).Steps = {PackStep(absent, 0, 1)};
    Run(Req(pkVariationRule, false, 0), [&] {
        EXPECT_EQ(Combo("cbVR0Index")->currentText(), "Non"); // the rule's index is not in the list
        Pick("cbVR0Index", 1);
        EXPECT_EQ(Combo("cbVR0Index")->currentText(), "00");
        EXPECT_EQ((std::array{W("cbVR0Dir")->isEnabled(), W("cbVR0TileID")->isEnabled(), W("cbVR1Index")->isEnabled(),
                               W("cbVR1Dir")->isEnabled(), W("cbVR2Index")->isEnabled()}),
                  (std::array{true, true, true, false, false}));
        EXPECT_EQ(Combo("cbVR0TileID")->currentText().toStdString(), IntToStrPad(set->Tile(0).TileID, 4, '0'));
        Pick("cbVR0Index", 2); // another index: its own tiles only
        EXPECT_EQ(Combo("cbVR0TileID")->count(),
                  int(TileIDsOfIndex(*set, Combo("cbVR0Index")->currentText().toInt()).size()));
    });
}

} // namespace
