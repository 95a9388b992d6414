// The window commands beyond opening, saving and importing sets: Save Image, the element pictures, the
// log window and the Edit menu, driven through the menus with every dialog answered from a
// script.

#include "ErrorLogForm.h"
#include "ExtSpinEdit.h"
#include "MainFormFixture.h"

#include <QPlainTextEdit>


using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

namespace {

// What a shell command prints, or "failed".
std::string Shell(const std::string& command)
{
    const auto [status, out] = ShellCommand(command + " 2>&1");
    return status == 0 ? out : "failed";
}

class Commands : public MainForm {};

} // namespace

TEST_F(Commands, ElementPicturesArePresetByTheirIdsAndMoveTheirFolder)
{
    auto set = MakeRichSet(3, false);
    set->Tile(0).TileID = 0x1234;
    set->Border(0).Inside = 0x0105;
    set->Border(0).Outside = 0x0207;
    set->River(0).ImprovementID = 0xABCD;
    set->Improvement(1).ImprovementID = 0x00FE;
    set->Improvement(1).Clear(); // nothing to draw: no file
    set->SaveToFile(Dir / "ids.til", 0);
    auto form = Open(Dir / "ids.til");
    form->Spins[kImprovements]->SetValue(1);
    form->ShowBoxes[kBorders]->click();
    form->BorderButtons[1]->click(); // NW off: mask 13
    const std::string ref = Dir / "ref.tga";
    const std::function<void()> expected[4] = {
        [&] { set->Tile(0).ExportTGA(ref, 0xC0C0C0, 0x808080); }, [&] { set->Border(0).ExportTGA(ref, 13, 0xC0C0C0); },
        [&] { set->River(0).ExportTGA(ref, 0xC0C0C0, 0x808080); }, [] {}};
    using S = TMainSettings;
    // Answer: a file in Dir, "" cancels.
    const struct { int Kind; bool Divers, AlwaysDefault; const char *Answer, *Title, *Preset; std::string S::*Folder;
                   bool Writes, Moves; } cases[] = {
        {kTiles, true, false, "t/a.tga", "Save Tile Image", "TILE3412.tga", &S::TileImageDir, true, true},
        {kBorders, true, false, "b/a", "Save Border Image", "BORD0507.tga", &S::BorderImageDir, true, true},
        {kRivers, true, false, "r/a.tga", "Save River Image", "RIVECDAB.tga", &S::RiverImageDir, true, true},
        {kImprovements, true, false, "i/a.tga", "Save Tile Improvement Image", "TIMPFE00.tga", &S::TileImpImageDir,
         false, true},
        {kTiles, false, false, "o/a.tga", "Save Tile Image", "TILE3412.tga", &S::ImageDir, true, true},
        {kRivers, false, true, "p/a.tga", "Save River Image", "RIVECDAB.tga", &S::ImageDir, true, false},
        {kTiles, true, false, "", "Save Tile Image", "TILE3412.tga", &S::TileImageDir, false, false},
        {kBorders, true, false, "gone/a.tga", "Save Border Image", "BORD0507.tga", &S::BorderImageDir, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Preset) + " to " + c.Answer);
        const fs::path answer = Dir.Path() / c.Answer, written = answer.string() + (answer.has_extension() ? "" : ".tga");
        if (std::string(c.Answer) != "gone/a.tga")
            fs::create_directories(answer.parent_path());
        form->Settings.DiversImageDirs = c.Divers;
        form->Settings.AlwayUseDef = form->Settings.OverWriteWarning = c.AlwaysDefault;
        form->Settings.*c.Folder = Dir / "start";
        Prompts = TScriptedPrompts();
        Prompts.FileAnswers = {*c.Answer ? std::optional(answer.string()) : std::nullopt};
        form->SaveElementItems[static_cast<std::size_t>(c.Kind)]->trigger();
        ASSERT_EQ(Prompts.SaveRequests.size(), 1u);
        const TFileDialogRequest& r = Prompts.SaveRequests[0];
        EXPECT_EQ(r.Title + " " + r.FileName + " " + r.DefaultExt + " " + r.InitialDir,
                  std::string(c.Title) + " " + c.Preset + " *.tga " + Dir / "start");
        EXPECT_EQ(std::tuple(r.Filter, r.OverwritePrompt, fs::exists(written)),
                  std::tuple("Targa Image File (*.tga)|*.tga|All Files (*.*)|*.*", c.AlwaysDefault, c.Writes));
        if (c.Writes) {
            expected[c.Kind]();
            EXPECT_EQ(LoadBytes(written), LoadBytes(ref));
        }
        EXPECT_EQ(form->Settings.*c.Folder, c.Moves ? written.parent_path().string() : Dir / "start");
        EXPECT_EQ(Prompts.Messages.size(), std::string(c.Answer) == "gone/a.tga" ? 1u : 0u);
    }
}

TEST_F(Commands, SaveImageWritesTheViewByItsExtensionAsTheCommandLineRenders)
{
    auto set = MakeRichSet(3, false);
    set->Improvement(2).Clear();
    set->Improvement(2).Lines.resize(1);
    set->Improvement(2).Lines[0].emplace(cmRGB555).Encode(std::vector<std::uint16_t>(120, 0x1234), 0x7C1F, 1);
    set->Improvement(2).Trim();
    set->SaveToFile(Rich, 0);
    auto form = Open(Rich);
    form->ShowBoxes[kImprovements]->click();
    form->Spins[kImprovements]->SetValue(2);
    form->Settings.ImageDir = Dir / "start";
    const struct { const char *Answer, *Identified; bool Moves; } cases[] = {
        {"a/v.TGA", "TGA 124 76", true}, {"b/v.bmp", "BMP3 124 76", true}, {"c/v.jif", "JPEG 124 76", true},
        {"d/v", "TGA 124 76", true},     {"e/v.png", "failed", true},     {"gone/v.tga", "failed", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Answer);
        const fs::path answer = Dir.Path() / c.Answer;
        if (!std::string(c.Answer).starts_with("gone"))
            fs::create_directories(answer.parent_path());
        const std::string before = form->Settings.ImageDir;
        Prompts.FileAnswers = {answer.string()};
        Prompts.Messages.clear();
        form->miFileSaveImage->trigger();
        const TFileDialogRequest& r = Prompts.SaveRequests.back();
        EXPECT_EQ(r.Title + " " + r.FileName + " " + r.DefaultExt + " " + r.InitialDir, "Save Image *.tga *.tga " + before);
        // Format and size as ImageMagick reads the file.
        const std::string written = answer.string() + (answer.has_extension() ? "" : ".tga");
        EXPECT_EQ(Shell("identify -format '%m %w %h' '" + written + "'"), c.Identified);
        EXPECT_EQ(form->Settings.ImageDir, c.Moves ? answer.parent_path().string() : before);
        EXPECT_EQ(Prompts.Messages.size(), c.Moves ? 0u : 1u);
    }
    EXPECT_EQ(Prompts.SaveRequests[0].Filter, "Targa Image File (*.tga)|*.tga|Windows Bitmap (*.bmp)|*.bmp|JPEG JFIF "
                                              "Compliant (*.jpg,*.jif,*.jpeg)|*.jpg;*.jif;*.jpeg|All Files (*.*)|*.*");

    // The same view through the command line: the same bytes. Under a variation rule the Targa
    // picture also holds the checked elements, which the bitmap (the view) does not show.
    form->miView3x3->trigger();
    form->ShowBoxes[kBorders]->click();
    form->Spins[kBorders]->SetValue(1);
    form->Spins[kTiles]->SetValue(2);
    auto save = [&](const std::string& name) {
        Prompts.FileAnswers = {Dir / name};
        form->miFileSaveImage->trigger();
        return LoadBytes(Dir / name);
    };
    for (const std::string extension : {".tga", ".bmp"}) {
        ASSERT_NE(Shell("'" KESTRUND_CLI_PATH "' render '" + Rich + "' '" + Dir / ("cli" + extension) +
                        "' --view 3x3 --tile 2 --border 1 --improvement 2"),
                  "failed");
        EXPECT_EQ(save("editor" + extension), LoadBytes(Dir / ("cli" + extension))) << extension;
    }
    form->ShowBoxes[kVariationRules]->click();
    const auto ruleOver = std::pair(save("over.tga"), save("over.bmp"));
    for (int k : {kTiles, kBorders, kImprovements})
        form->ShowBoxes[static_cast<std::size_t>(k)]->click();
    EXPECT_NE(save("alone.tga"), ruleOver.first);
    EXPECT_EQ(save("alone.bmp"), ruleOver.second);
}

TEST(LogWindow, KeepsItsSettingsUnlessTheyAreTheDefaults)
{
    EXPECT_EQ(LogText("a\r\nb\rc\n\x80\xE9\x9F"), QString::fromUtf8("a\nb\nc\n\u20AC\u00E9\u0178"));
    TScratchDir dir;
    const std::string ini = dir / "k.ini";
    const struct { const char *Stored, *Written; bool Wrap, OnTop; } cases[] = {
        {"", "", true, false},
        {"[LogWindow]\r\nWordWrap=0\r\n", "[LogWindow]\r\nWordWrap=0\r\n", false, false},
        {"[LogWindow]\r\nStayOnTop=1\r\n", "[LogWindow]\r\nStayOnTop=1\r\n", true, true},
        {"[LogWindow]\r\nWordWrap=1\r\nStayOnTop=0\r\n", "[LogWindow]\r\n", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Stored);
        WriteText(ini, c.Stored);
        {
            TErrorLogForm form(ini);
            auto* text = form.findChild<QPlainTextEdit*>("mErrLog");
            EXPECT_EQ(form.findChild<QAction*>("aWordWrap")->isChecked(), c.Wrap);
            EXPECT_EQ(text->lineWrapMode() == QPlainTextEdit::WidgetWidth, c.Wrap);
            EXPECT_EQ(text->horizontalScrollBarPolicy(), c.Wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
            EXPECT_EQ(form.findChild<QAction*>("aStayOnTop")->isChecked(), c.OnTop);
            EXPECT_EQ(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.OnTop);
        }
        EXPECT_EQ(ReadText(ini), c.Written) << "an unmoved window writes no position";
    }
    // Ctrl+W and Ctrl+T are the window's own.
    TErrorLogForm form(ini);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(std::pair(form.findChild<QAction*>("aWordWrap")->isChecked(),
                        form.windowFlags().testFlag(Qt::WindowStaysOnTopHint)), std::pair(false, true));
    EXPECT_TRUE(form.isVisible()) << "shown again after the flag changed";
}

TEST_F(Commands, TheEditMenuChangesTheSetThroughThePropertyEditorAndUndoRestoresIt)
{
    auto form = OpenShown(Rich); // five tiles
    const auto original = form->TileFile.SaveToMemory(0);
    std::vector<std::uint16_t> ids; // the tile IDs the set should hold
    for (std::size_t i = 0; i < 5; ++i)
        ids.push_back(form->TileFile.Tile(i).TileID);
    enum { Add, Edit, Delete };
    // Answer: the new tile's ID, or the button for Delete.
    const struct { int Command, Number, Position; bool Replace, Last; int Answer; std::vector<std::uint16_t> Ids;
                   int NumberAfter; } cases[] = {
        {Add, 2, 2, false, false, 0xA1, {ids[0], ids[1], 0xA1, ids[2], ids[3], ids[4]}, 2},
        {Add, 2, 2, false, true, 0xA2, {ids[0], ids[1], 0xA1, ids[2], ids[3], ids[4], 0xA2}, 6},
        {Edit, 6, 6, true, false, 0xA3, {ids[0], ids[1], 0xA1, ids[2], ids[3], ids[4], 0xA3}, 6},
        {Edit, 1, 1, false, false, 0xA4, {ids[0], 0xA4, ids[1], 0xA1, ids[2], ids[3], ids[4], 0xA3}, 1},
        {Add, 7, 8, false, false, 0xA5, {ids[0], 0xA4, ids[1], 0xA1, ids[2], ids[3], ids[4], 0xA3, 0xA5}, 8},
        {Delete, 8, 0, false, false, mbCancel, {ids[0], 0xA4, ids[1], 0xA1, ids[2], ids[3], ids[4], 0xA3, 0xA5}, 8},
        {Delete, 8, 0, false, false, mbOK, {ids[0], 0xA4, ids[1], 0xA1, ids[2], ids[3], ids[4], 0xA3}, 7},
        {Delete, 3, 0, false, false, mbOK, {ids[0], 0xA4, ids[1], ids[2], ids[3], ids[4], 0xA3}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Answer);
        form->Spins[kTiles]->SetValue(c.Number);
        Prompts = TScriptedPrompts();
        Prompts.MessageAnswers = {c.Answer};
        if (c.Command != Delete)
            Prompts.EditAnswers.push_back([&, c](const TElementEditRequest& r) {
            TElementEditResult result;
            result.Tile = std::make_unique<TTile>(0x00FF00, r.Set->ColorMode);
            result.Tile->TileID = static_cast<std::uint16_t>(c.Answer);
            result.Position = c.Position, result.Replace = c.Replace, result.Last = c.Last;
            result.ImageDirectory = Dir / "pictures";
            return result;
        });
        form->Settings.TileImageDir = Dir / "start";
        (c.Command == Add ? form->AddItems : c.Command == Edit ? form->EditItems : form->DeleteItems)[kTiles]->trigger();
        if (c.Command == Delete) {
            ASSERT_EQ(Prompts.Messages.size(), 1u);
            EXPECT_EQ(Prompts.Messages[0].Text, "Do you want to delete Tile nr.: " + std::to_string(c.Number));
            EXPECT_EQ(Prompts.Messages[0].Buttons, mbOK | mbCancel);
        } else {
            ASSERT_EQ(Prompts.EditRequests.size(), 1u);
            const TElementEditRequest& r = Prompts.EditRequests[0];
            EXPECT_EQ(std::tuple(r.Kind, r.Add, r.Position, r.ImageDirectory),
                      std::tuple(pkTile, c.Command == Add, c.Number, Dir / "start"));
            EXPECT_EQ(form->Settings.TileImageDir, Dir / "pictures");
        }
        std::vector<std::uint16_t> now;
        for (std::size_t i = 0; i < form->TileFile.TileCount(); ++i)
            now.push_back(form->TileFile.Tile(i).TileID);
        EXPECT_EQ(std::tuple(now, form->Spins[kTiles]->Value(), form->CountLabels[kTiles]->text().toStdString()),
                  std::tuple(c.Ids, c.NumberAfter, std::to_string(c.Ids.size())));
    }
    // Every change was a command: undone, the set is the file again byte for byte.
    const auto edited = form->TileFile.SaveToMemory(0);
    while (form->Document.UndoStack().canUndo())
        form->Document.UndoStack().undo();
    EXPECT_EQ(form->TileFile.SaveToMemory(0), original);
    while (form->Document.UndoStack().canRedo())
        form->Document.UndoStack().redo();
    EXPECT_EQ(form->TileFile.SaveToMemory(0), edited);

    // The rules' own question; an empty kind can only be added to; Ctrl+V in a number field adds a
    // variation rule.
    Prompts.MessageAnswers = {mbOK};
    form->DeleteItems[kRules]->trigger();
    EXPECT_EQ(Prompts.Messages.back().Text, "Do you want to delete Rule nr.:" + std::to_string(form->Spins[kRules]->Value()));
    while (form->TileFile.RiverCount() > 0)
        form->Document.Take(kRivers, 0);
    Prompts.EditRequests.clear();
    form->EditItems[kRivers]->trigger();
    form->DeleteItems[kRivers]->trigger();
    EXPECT_TRUE(Prompts.EditRequests.empty());
    form->AddItems[kRivers]->trigger();
    EXPECT_EQ(Prompts.EditRequests.size(), 1u);
    form->Spins[kTiles]->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Prompts.EditRequests.back().Kind, pkVariationRule);
}
