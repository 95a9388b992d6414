// Undo and redo of every change to the set, the question before unsaved changes are lost, the
// title, the recent files and dropped files, driven through the menus with every dialog answered
// from a script.

#include "ExtSpinEdit.h"
#include "FileUtil.h"
#include "MainFormFixture.h"
#include "ScriptExport.h"

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

namespace {

const std::string kGuardText = "The tile set has unsaved changes.\nSave them first?";

class UndoGuard : public MainForm {
protected:
    // The set as both saved files hold it.
    static auto Saved(const TMainForm& form)
    {
        return std::pair(form.TileFile.SaveToMemory(cmRGB555), form.TileFile.SaveToMemory(cmRGB565));
    }
    // Edits the current element of the kind: the property editor answers with element.
    void Edit(TMainForm& form, int kind, bool replace, std::function<void(TElementEditResult&, std::uint8_t)> element)
    {
        Prompts.EditAnswers.push_back([=](const TElementEditRequest& r) {
            TElementEditResult result;
            element(result, r.Set->ColorMode);
            result.Position = 1, result.Replace = replace;
            return result;
        });
        (replace ? form.EditItems : form.AddItems)[static_cast<std::size_t>(kind)]->trigger();
    }
    void Drop(TMainForm& form, const std::string& file, bool accepted)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        enter.setAccepted(!accepted);
        QApplication::sendEvent(&form, &enter);
        EXPECT_EQ(enter.isAccepted(), accepted) << file;
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &drop);
        QCoreApplication::processEvents();
    }
    std::vector<std::string> RecentMenu(TMainForm& form)
    {
        std::vector<std::string> files;
        for (QAction* a : form.miFileRecent->actions())
            files.push_back(a->data().toString().toStdString());
        return files;
    }
};

} // namespace

TEST_F(UndoGuard, EveryChangeIsUndoneAndRedoneByteForByte)
{
    fs::create_directory(Dir.Path() / "more");
    ExportScript(*MakeRichSet(5, false), "more", Dir / "more.src");
    const struct { const char* Caption; int Kind; std::function<void(TMainForm&)> Change; } cases[] = {
        {"Add Tile", kTiles, [this](TMainForm& f) { Edit(f, kTiles, false, [](auto& r, auto mode) {
             r.Tile = std::make_unique<TTile>(0x00FF00, mode); }); }},
        {"Edit Border", kBorders, [this](TMainForm& f) { Edit(f, kBorders, true, [](auto& r, auto mode) {
             r.Border = std::make_unique<TTileBorder>(mode, 0x0000FF); }); }},
        {"Add Tile Rule", kRules, [this](TMainForm& f) { Edit(f, kRules, false, [](auto& r, auto) {
             r.TileRule = std::make_unique<TTileRule>(); }); }},
        {"Edit Variation Rule", kVariationRules, [this](TMainForm& f) {
             Edit(f, kVariationRules, true, [](auto& r, auto) { r.VariationRule = std::make_unique<TVariationRule>(); }); }},
        {"Delete River", kRivers, [this](TMainForm& f) { Prompts.MessageAnswers = {mbOK};
             f.DeleteItems[kRivers]->trigger(); }},
        {"Delete Tile Improvement", kImprovements, [this](TMainForm& f) { Prompts.MessageAnswers = {mbOK};
             f.DeleteItems[kImprovements]->trigger(); }},
        {"Append Tile File", kTiles, [this](TMainForm& f) { Run(f, &TMainForm::miAppendTileFileClick, {Rich}); }},
        {"Append Script File", kTiles, [this](TMainForm& f) {
             Run(f, &TMainForm::miAppendScriptClick, {Dir / "more.src"}); }},
        {"In-Game Color mode", kTiles, [](TMainForm& f) { f.miInGameColorMode->trigger(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Caption);
        auto form = Open(Rich);
        for (QCheckBox* show : form->ShowBoxes)
            if (!show->isChecked())
                show->click();
        form->Spins[c.Kind]->SetValue(1);
        // The set as saved, and what the window shows of it: count, number limit, check mark, view.
        const auto shown = [&] {
            return std::tuple(form->CountLabels[c.Kind]->text(), form->Spins[c.Kind]->MaxValue(),
                              form->miInGameColorMode->isChecked(), form->ViewPicture);
        };
        const auto before = Saved(*form);
        const auto shownBefore = shown();
        EXPECT_EQ(std::pair(form->miEditUndo->text(), form->miEditUndo->isEnabled()),
                  std::pair(QString("&Undo"), false));
        c.Change(*form);
        const auto after = Saved(*form);
        const auto shownAfter = shown();
        ASSERT_NE(after, before);
        EXPECT_EQ(form->miEditUndo->text(), QString("&Undo ") + c.Caption);
        form->miEditUndo->trigger();
        EXPECT_EQ(Saved(*form), before);
        EXPECT_TRUE(shown() == shownBefore);
        EXPECT_EQ(std::tuple(form->miEditRedo->text(), form->miEditRedo->isEnabled(), form->windowTitle()),
                  std::tuple(QString("&Redo ") + c.Caption, true, QString("Kestrund - rich.til")));
        form->miEditRedo->trigger();
        EXPECT_EQ(Saved(*form), after);
        EXPECT_TRUE(shown() == shownAfter);
        EXPECT_EQ(form->windowTitle(), QString("Kestrund - rich.til *"));
    }
}

TEST_F(UndoGuard, UnsavedChangesAreAskedAboutAndEachAnswerDoesWhatItSays)
{
    TTileFile().SaveToFile(Dir / "small.til", 0); // one tile
    enum { New, OpenFile, Close };
    // Yes saves to the two files given (none: the save is cancelled); goes on: the command ran.
    // The question is one function: not asking is checked once.
    const struct { int Command; bool Modified; int Answer; bool SaveGiven, GoesOn; } cases[] = {
        {Close, false, mbCancel, false, true},   {New, true, mbNo, false, true},
        {OpenFile, true, mbNo, false, true},     {Close, true, mbNo, false, true},
        {New, true, mbCancel, false, false},     {OpenFile, true, mbCancel, false, false},
        {Close, true, mbCancel, false, false},   {New, true, mbYes, true, true},
        {OpenFile, true, mbYes, true, true},     {Close, true, mbYes, true, true},
        {OpenFile, true, mbYes, false, false},   {Close, true, mbYes, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Command << c.Modified << c.Answer << c.SaveGiven);
        auto form = Open(Rich);
        if (c.Modified)
            form->miInGameColorMode->trigger();
        const auto edited = Saved(*form);
        fs::remove(Dir.Path() / "s555.til");
        Prompts = TScriptedPrompts();
        Prompts.MessageAnswers = {c.Answer};
        if (c.SaveGiven)
            Prompts.FileAnswers = {Dir / "s555.til", Dir / "s565.til"};
        if (c.Command == OpenFile)
            Prompts.FileAnswers.push_back(Dir / "small.til");
        if (c.Command != Close)
            (c.Command == New ? form->miFileNew : form->miFileOpen)->trigger();
        const bool wentOn = c.Command == Close ? form->close() : form->TileFile.TileCount() == 1;
        ASSERT_EQ(Prompts.Messages.size(), c.Modified ? 1u : 0u);
        for (const TAskedMessage& m : Prompts.Messages)
            EXPECT_EQ(std::pair(m.Text, m.Buttons), std::pair(kGuardText, mbYes | mbNo | mbCancel));
        EXPECT_EQ(wentOn, c.GoesOn);
        if (!c.GoesOn) {
            EXPECT_EQ(std::pair(Saved(*form), form->Document.Modified()), std::pair(edited, c.Modified));
        }
        EXPECT_EQ(fs::exists(Dir.Path() / "s555.til"), c.SaveGiven);
        if (c.SaveGiven) {
            EXPECT_EQ(std::pair(ReadWholeFile(Dir / "s555.til"), ReadWholeFile(Dir / "s565.til")), edited);
        }
    }
}

TEST_F(UndoGuard, TheTitleShowsTheFileAndWhetherItChanged)
{
    auto form = OpenShown();
    // The keys work from a number field, which has the focus most of the time.
    const auto keys = [&](const char* key) {
        form->Spins[kTiles]->setFocus();
        QTest::keySequence(form->Spins[kTiles], QKeySequence(key));
    };
    const struct { std::function<void()> Step; const char* Title; } steps[] = {
        {[] {}, "Kestrund"},
        {[&] { Run(*form, &TMainForm::miFileOpenClick, {Rich}); }, "Kestrund - rich.til"},
        {[&] { form->miInGameColorMode->trigger(); }, "Kestrund - rich.til *"},
        {[&] { keys("Ctrl+Z"); }, "Kestrund - rich.til"},
        {[&] { keys("Ctrl+Shift+Z"); }, "Kestrund - rich.til *"},
        {[&] { Run(*form, &TMainForm::miFileSaveTileFileClick, {Dir / "gtset555.til", Dir / "gtset565.til"}); },
         "Kestrund - gtset555.til"},
        {[&] { keys("Ctrl+Z"); }, "Kestrund - gtset555.til *"},
        {[&] { keys("Ctrl+Y"); }, "Kestrund - gtset555.til"},
        {[&] { keys("Ctrl+Z"); }, "Kestrund - gtset555.til *"},
        {[&] { Prompts.MessageAnswers = {mbNo}; form->miFileNew->trigger(); }, "Kestrund - (new)"},
    };
    for (const auto& s : steps) {
        s.Step();
        EXPECT_EQ(form->windowTitle(), QString(s.Title));
    }
}

TEST_F(UndoGuard, RecentFilesSurviveARestartKeepEightAndForgetMissingOnes)
{
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i) {
        files.push_back(Dir / ("f" + std::to_string(i) + ".til"));
        fs::copy_file(Rich, files.back());
    }
    const std::vector<std::string> expected = {files[5], files[9], files[8], files[7], files[6], files[4], files[3], files[2]};
    {
        auto form = Open();
        for (const auto& file : files)
            Run(*form, &TMainForm::miFileOpenClick, {file});
        Run(*form, &TMainForm::miFileOpenClick, {files[5]}); // to the top, once
        EXPECT_EQ(RecentMenu(*form), expected);
    }
    auto form = Open();
    EXPECT_EQ(RecentMenu(*form), expected);
    EXPECT_EQ(form->miFileRecent->actions()[0]->text().toStdString(), "&1 " + files[5]);
    // Chosen while the set has unsaved changes: asked first; Cancel keeps the set.
    form->miInGameColorMode->trigger();
    Prompts.MessageAnswers = {mbCancel};
    form->miFileRecent->actions()[1]->trigger();
    EXPECT_EQ(std::pair(Prompts.Messages.back().Text, form->TileFile.TileCount()), std::pair(kGuardText, std::size_t(1)));
    Prompts.MessageAnswers = {mbNo};
    form->miFileRecent->actions()[1]->trigger();
    EXPECT_EQ(std::pair(form->windowTitle(), form->TileFile.TileCount()), std::pair(QString("Kestrund - f9.til"), std::size_t(5)));
    // A file gone since: said, and taken off the list.
    fs::remove(files[8]);
    Prompts.Messages.clear();
    form->miFileRecent->actions()[2]->trigger();
    ASSERT_EQ(Prompts.Messages.size(), 1u);
    EXPECT_EQ(Prompts.Messages[0].Text, files[8] + " not found");
    EXPECT_EQ(RecentMenu(*form), (std::vector{files[9], files[5], files[7], files[6], files[4], files[3], files[2]}));
}

TEST_F(UndoGuard, ADroppedTileFileOpensAndADroppedScriptImports)
{
    auto form = Open();
    const auto rich = MakeRichSet(7, false);
    fs::create_directory(Dir.Path() / "dropped");
    ExportScript(*rich, "dropped", Dir / "dropped.src");
    WriteText(Dir / "notes.txt", "hello");
    const struct { std::string File; bool Accepted; std::size_t Tiles; const char* Title; } cases[] = {
        {Dir / "notes.txt", false, 1, "Kestrund"},
        {Rich, true, 5, "Kestrund - rich.til"},
        {Dir / "dropped.src", true, rich->TileCount(), "Kestrund - dropped.src"},
    };
    for (const auto& c : cases) {
        Drop(*form, c.File, c.Accepted);
        EXPECT_EQ(std::pair(form->TileFile.TileCount(), form->windowTitle()), std::pair(c.Tiles, QString(c.Title))) << c.File;
    }
    EXPECT_TRUE(Prompts.Messages.empty()) << Prompts.Messages[0].Text;
    // Through the question: Cancel keeps the changed set.
    form->miInGameColorMode->trigger();
    Prompts.MessageAnswers = {mbCancel};
    Drop(*form, Rich, true);
    EXPECT_EQ(std::pair(Prompts.Messages.back().Text, form->TileFile.TileCount()), std::pair(kGuardText, rich->TileCount()));
}
