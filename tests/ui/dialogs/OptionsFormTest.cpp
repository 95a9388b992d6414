#include "ColorComboBox.h"
#include "ExtSpinEdit.h"
#include "Help.h"
#include "IniFile.h"
#include "OptionsForm.h"
#include "Scratch.h"
#include "SelectDirForm.h"
#include "WindowPlacement.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

auto Tie(const TOptionsValues& v)
{
    return std::tie(v.TileDir, v.SrcDir, v.ImageDir, v.TileImageDir, v.BorderImageDir, v.RiverImageDir,
                    v.TileImpImageDir, v.PersistentDirs, v.AlwayUseDef, v.DiversImageDirs, v.LogLevel,
                    v.OverWriteWarning, v.ImgBorderWidth, v.DefaultColorMode, v.BgColor, v.ShadowColor,
                    v.ImportTransparent, v.ImportShadow, v.ImportPreviewBG, v.PersistentColors, v.AlwaysUseDefault);
}

// Every value away from its default.
const TOptionsValues kChanged{"/t", "/s", "/i", "/ti", "/b", "/r", "/ip", true, true, false, 2, false, 255, 1,
                              0x123456, clBtnFace, 0x000080, 0xFF00FF, 0x010203, true, true};

struct OptionsFormTest : ::testing::Test {
    TScratchDir dir;
    std::string ini = dir / "Kestrund.ini";
    std::unique_ptr<TOptionsForm> form = std::make_unique<TOptionsForm>(ini);
    template <class W = QWidget>
    W* Get(const char* name) { return form->findChild<W*>(name); }
    // Runs the dialog with the request, pressing the buttons one after the other.
    std::optional<TOptionsValues> Run(const TOptionsRequest& request, std::vector<const char*> buttons)
    {
        QTimer::singleShot(0, [this, buttons] {
            for (const char* b : buttons)
                Get<QAbstractButton>(b)->click();
            if (form->isVisible())
                form->reject();
        });
        return RunOptionsForm(*form, request);
    }
};

TEST_F(OptionsFormTest, ValuesReadBackAsTheyAreShownAndBoxesEnableTheirDependants)
{
    form->SetValues(kChanged);
    EXPECT_EQ(Tie(form->Values()), Tie(kChanged));
    // Shown over kChanged, so that each row starts from values it does not expect.
    struct Row { int log, mode, width; bool dirs, defDirs, defColors; int readLog, readMode, readWidth; bool readDefDirs; };
    const Row rows[] = {
        {7, 7, 300, false, true, true, 0, 0, 44, false}, {1, 2, -1, true, true, false, 1, 2, 255, true},
        {-1, 3, 256, true, false, true, 0, 0, 0, false}, {0, 0, 2, false, false, false, 0, 0, 2, false},
    };
    for (const Row& row : rows) {
        form->SetValues(kChanged);
        TOptionsValues in;
        in.LogLevel = row.log, in.DefaultColorMode = row.mode, in.ImgBorderWidth = row.width;
        in.PersistentDirs = row.dirs, in.AlwayUseDef = row.defDirs, in.AlwaysUseDefault = row.defColors;
        form->SetValues(in);
        const TOptionsValues v = form->Values(); // the colours' box read whether enabled or not
        EXPECT_EQ(std::tuple(v.LogLevel, v.DefaultColorMode, v.ImgBorderWidth, v.AlwayUseDef, v.AlwaysUseDefault),
                  std::tuple(row.readLog, row.readMode, row.readWidth, row.readDefDirs, row.defColors));
    }
    Get<TExtSpinEdit>("seImgBorderWidth")->setText("999"); // typed past the limit
    EXPECT_EQ(form->Values().ImgBorderWidth, 255);

    // The boxes enable their dependants.
    const char* const watched[] = {"cbAlwayUseDef", "lTileImgDir", "eBorderImgDir", "pRiverImgDir", "sbTileImpDir",
                                   "eImgDir", "cbAlwayUseDefColors"};
    struct TBoxes { bool persistent, divers, colors, clickAll; std::vector<bool> enabled; };
    const TBoxes boxes[] = {
        {false, true, false, false, {0, 1, 1, 1, 1, 1, 0}}, {true, false, true, false, {1, 0, 0, 0, 0, 1, 1}},
        {false, false, false, true, {1, 1, 1, 1, 1, 1, 1}}, {true, true, true, true, {0, 0, 0, 0, 0, 1, 0}},
    };
    for (const TBoxes& row : boxes) {
        TOptionsValues v;
        v.PersistentDirs = row.persistent, v.DiversImageDirs = row.divers, v.PersistentColors = row.colors;
        form->SetValues(v);
        for (const char* box : {"cbPersistentDirs", "cbDiverseImageDirs", "cbPersistentColors"})
            if (row.clickAll)
                Get<QCheckBox>(box)->click();
        std::vector<bool> enabled;
        for (const char* name : watched)
            enabled.push_back(Get(name)->isEnabled());
        EXPECT_EQ(enabled, row.enabled) << row.persistent << row.divers << row.colors << row.clickAll;
    }
}

TEST_F(OptionsFormTest, ImmediateActionsResetColorsAndIni)
{
    std::vector<std::string> called;
    const TOptionsRequest request{kChanged, [&] { called.push_back("register"); },
                                  [&] { called.push_back("unregister"); },
                                  [&] { called.push_back("reset"), TIniFile(ini).EraseSection("OptionsWindow"); }};
    EXPECT_FALSE(Run(request, {"btnResetColors", "btnCancel"})); // nothing to apply
    const auto reset = Run(request, {"btnResetColors", "btnOk"}).value();
    EXPECT_EQ((std::array{reset.BgColor, reset.ShadowColor, reset.ImportTransparent, reset.ImportShadow,
                          reset.ImportPreviewBG, TColor(reset.LogLevel)}),
              (std::array<TColor, 6>{0xC0C0C0, 0x808080, 0xC0C0C0, 0x808080, clBtnFace, 2}));
    TIniFile(ini).WriteInteger("Preferences", "LogLevel", 1), TIniFile(ini).WriteInteger("OptionsWindow", "Left", 5);
    const auto chosen = Run(request, {"btnRegisterSPR", "btnUnregister", "btnReset", "btnOk"}).value();
    EXPECT_EQ(called, (std::vector<std::string>{"register", "unregister", "reset"}));
    // Shown from the file after the reset: the log level it still holds, defaults elsewhere.
    const std::string home = QCoreApplication::applicationDirPath().toStdString();
    TOptionsValues expected{home, home, home, home, home, home, home};
    expected.LogLevel = 1;
    EXPECT_EQ(Tie(chosen), Tie(expected));
    EXPECT_EQ(form->geometry().x(), CentredOnPrimaryScreen(form->width(), form->height()).Left);
    // Without actions their buttons are off.
    EXPECT_FALSE(Get("btnRegisterSPR")->isEnabled() || Get("btnUnregister")->isEnabled() || Get("btnReset")->isEnabled());
}

TEST_F(OptionsFormTest, CaptionsHelpAndBrowsing)
{
    struct Row { const char* name; QString text; int help; };
    const Row rows[] = {
        {"OptionsForm", "Options", 500}, {"cbPersistentDirs", "&Persistent Directories", 501},
        {"lTileDir", "Tile&File Directory:", 502}, {"sbSrcDir", "...", 503}, {"eImgDir", "", 504},
        {"aSetDiversImgDirs", "&Diverse Image Directories", 505}, {"lTileImgDir", "&Tile Image Dir.:", 506},
        {"lBorderImgDir", "&Border Image Dir.:", 507}, {"lRiverImgDir", "&River Image Dir.:", 508},
        {"lTileImpImgDir", "Tile&Imp. Image Dir.:", 509}, {"cbAlwayUseDef", "&Always use Default Directories", 510},
        {"cbLogLevel", "Simple|Extensive (slow)|Total (verry slow)", 511},
        {"cbOverWritePrompt", "&Prompt when Over Writing files", 512}, {"btnOk", "&OK", 513},
        {"btnCancel", "&Cancel", 514}, {"btnHelp", "&Help", 515}, {"seImgBorderWidth", "2", 516},
        {"btnRegisterSPR", "&Register      ", 517}, {"btnUnregister", "&Un Register", 518},
        {"btnReset", "Reset &Ini     ", 519},
        {"cbDefColorMode", "Windows Color mode (555)|In-game Color mode   (565)|Remember Color Mode", 520},
        {"cbPersistentColors", "&Persistent Colors", 521}, {"cbAlwayUseDefColors", "&Always use Default Colors", 522},
        {"ccbMainWindowBGColor", "", 523}, {"ccbMainWindowSHColor", "", 524}, {"ccbTGAImportWindowTranspColor", "", 525},
        {"ccbTGAImportSHColor", "", 526}, {"ccbTGAImportWindowBGColor", "", 527}, {"btnResetColors", "&Reset", 528},
        {"lReset", "Clear the ini-file and load default values.\nThis is the same as deleting the ini-file.", 0},
        {"lResetColors", "&Reset colors to program default.\nThis is the same as deleting the Colors section in the ini-file", 0},
        {"gbMainWindowColors", "Main Window Colors ", 0}, {"gbImportWindowColors", "Import Window Colors ", 0},
    };
    form->SetValues({});
    for (const Row& row : rows) {
        QObject* o = row.name == std::string("OptionsForm") ? form.get() : form->findChild<QObject*>(row.name);
        ASSERT_TRUE(o) << row.name;
        QStringList items;
        if (auto* combo = qobject_cast<QComboBox*>(o); combo && !qobject_cast<TColorComboBox*>(o))
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
        const char* property = o == form.get() ? "windowTitle" : qobject_cast<QGroupBox*>(o) ? "title" : "text";
        const QString text = items.isEmpty() ? o->property(property).toString() : items.join('|');
        EXPECT_EQ(text, row.text) << row.name;
        EXPECT_EQ(o->property("HelpContext").toInt(), row.help) << row.name;
    }
    struct THelpAsked : THelpHandler {
        std::vector<int> Contexts;
        void ShowContext(int context) override { Contexts.push_back(context); }
    } help;
    Get<QPushButton>("btnHelp")->click();
    EXPECT_EQ(help.Contexts, std::vector<int>{500});
    const auto* tabs = Get<QTabWidget>("pcOptions");
    EXPECT_EQ(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2), "Directorie&sPr&eferencesCo&lors");

    // Browsing asks with the row's folder.
    std::vector<std::string> asked;
    std::optional<std::string> answer;
    form->SetDirectoryChooser([&](const std::string& start) { return asked.push_back(start), answer; });
    form->SetValues(kChanged); // the image rows switched off
    struct TBrowse { const char* target; std::optional<std::string> answer; std::vector<std::string> asked; const char* edit, *text; };
    const TBrowse browses[] = {
        {"sbSrcDir", "/chosen", {"/s"}, "eSrcDir", "/chosen"}, {"eTileDir", "/other", {"/t"}, "eTileDir", "/other"},
        {"sbImgDir", std::nullopt, {"/i"}, "eImgDir", "/i"}, {"sbTileImpDir", "/x", {}, "eTileImpImgDir", "/ip"},
        {"eRiverImgDir", "/x", {}, "eRiverImgDir", "/r"},
    };
    for (const TBrowse& row : browses) {
        answer = row.answer, asked.clear();
        if (row.target[0] == 'e') // a double-click on the edit
            QTest::mouseDClick(Get(row.target), Qt::LeftButton);
        else
            Get<QAbstractButton>(row.target)->click();
        EXPECT_EQ(asked, row.asked) << row.target;
        EXPECT_EQ(Get<QLineEdit>(row.edit)->text().toStdString(), row.text) << row.target;
    }
}

TEST_F(OptionsFormTest, DirectoryDialogFollowsClicksAndArrows)
{
    for (const char* sub : {"a/b", "a/c", "d"})
        std::filesystem::create_directories(dir.Path() / sub);
    const std::string root = dir.Path().string();
    TSelectDirForm select(ini);
    auto* list = select.findChild<QListWidget*>("dlbSelect");
    auto pick = [&](const char* name) { list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0)); };
    struct Row { std::function<void()> act; std::string expected; };
    const Row rows[] = {
        {[&] { select.SetDirectory(root + "/a"); }, root + "/a"},
        {[&] { pick("c"); }, root + "/a/c"},
        {[&] { QTest::keyClick(list, Qt::Key_Left); }, root + "/a"}, // a subfolder: back onto the open folder
        {[&] { QTest::keyClick(list, Qt::Key_Left); }, root},
        {[&] { pick("d"), QTest::keyClick(list, Qt::Key_Right); }, root + "/d"},
        {[&] { select.SetDirectory(root + "/gone/deeper"); }, root},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        rows[i].act();
        EXPECT_EQ(select.GetDirectory(), rows[i].expected) << "row " << i;
    }
    auto help = [&](const char* name) { return select.findChild<QWidget*>(name)->property("HelpContext").toInt(); };
    EXPECT_EQ((std::vector{select.property("HelpContext").toInt(), help("dlbSelect"), help("dcbSelect"), help("btnOK"),
                           help("btnCancel")}),
              (std::vector{600, 601, 602, 603, 604}));
    EXPECT_EQ(select.windowTitle() + " " + select.focusWidget()->objectName(), "Select a Directory dlbSelect");
    QTimer::singleShot(0, [&] { pick("a"), select.findChild<QPushButton*>("btnOK")->click(); });
    EXPECT_EQ(RunSelectDir(select, root), root + "/a");
}

TEST_F(OptionsFormTest, PlacementsRoundTrip)
{
    form.reset();
    { TSelectDirForm select(ini); }
    EXPECT_EQ(ReadText(ini), "");
    form = std::make_unique<TOptionsForm>(ini);
    form->move(30, 40);
    form.reset();
    auto select = std::make_unique<TSelectDirForm>(ini);
    EXPECT_EQ(select->size(), QSize(267, 292));
    select->setGeometry(20, 10, 300, 320);
    select.reset();
    EXPECT_EQ(ReadText(ini), "[OptionsWindow]\r\nLeft=30\r\nTop=40\r\n\r\n"
                             "[SelDirWindow]\r\nLeft=20\r\nWidth=300\r\nTop=10\r\nHeight=320\r\n");
    form = std::make_unique<TOptionsForm>(ini);
    EXPECT_EQ(form->geometry().topLeft(), QPoint(30, 40));
    EXPECT_EQ(TSelectDirForm(ini).geometry(), QRect(20, 10, 300, 320));
}

} // namespace
