// The element browser beside the view: picking, following the number fields and every
// change to the set, the thumbnail cache, the filter, the thumbnail size and its settings.

#include "ElementBrowser.h"
#include "ExtSpinEdit.h"
#include "MainFormFixture.h"
#include "ScriptExport.h"

using namespace kestrund;
using namespace kestrund::testing;

namespace {

class Browser : public MainForm {
protected:
    QListView* List(TMainForm& form) { return form.Browser->findChild<QListView*>("lvElements"); }
    // Shows the list as the screen would, so that the visible thumbnails are drawn.
    std::size_t Drawn(TMainForm& form)
    {
        List(form)->viewport()->grab();
        return form.Browser->Model().DrawnCount();
    }
    void Click(TMainForm& form, int row)
    {
        QListView* list = List(form);
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void Wheel(TMainForm& form, int steps)
    {
        QWidget* viewport = List(form)->viewport();
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, 120 * steps),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }
};

} // namespace

TEST_F(Browser, APickSetsTheNumberAndShowsTheKindAndTheNumberFieldsMoveTheSelection)
{
    auto form = OpenShown(Rich);
    for (int kind : {kBorders, kTiles, kRivers, kImprovements, kRules, kVariationRules}) {
        form->ShowBoxes[static_cast<std::size_t>(kind)]->setChecked(false);
        form->Browser->findChild<QComboBox*>("cbKind")->setCurrentIndex(kind);
        Click(*form, 1);
        EXPECT_EQ(form->Spins[static_cast<std::size_t>(kind)]->Value(), 1) << kind;
        EXPECT_TRUE(form->ShowBoxes[static_cast<std::size_t>(kind)]->isChecked()) << kind;
        EXPECT_EQ(form->ShowBoxes[kVariationRules]->isChecked(), kind == kVariationRules) << kind;
        form->Spins[static_cast<std::size_t>(kind)]->SetValue(2);
        EXPECT_EQ(form->Browser->Current(), 2u) << kind;
    }
    // Switching a kind on, or working in its number field, shows that kind.
    form->ShowBoxes[kRivers]->setChecked(false);
    form->ShowBoxes[kRivers]->click();
    EXPECT_EQ(form->Browser->Kind(), kRivers);
    form->Spins[kTiles]->setFocus();
    EXPECT_EQ(form->Browser->Kind(), kTiles);
}

TEST_F(Browser, FollowsEveryChangeToTheSetAndRedrawsOnlyWhatChanged)
{
    auto form = OpenShown(Rich);
    TElementListModel& model = form->Browser->Model();
    EXPECT_EQ(Drawn(*form), 5u);
    EXPECT_EQ(Drawn(*form), 5u); // kept
    form->Document.Replace(kTiles, 1, std::make_unique<TTile>(0x123456, 0));
    EXPECT_EQ(Drawn(*form), 6u);
    form->SetBackgroundColor(0x00FF00);
    form->RedrawView();
    EXPECT_EQ(Drawn(*form), 11u);
    form->Browser->SetKind(kRules); // only what is in sight is drawn
    const std::size_t shown = Drawn(*form) - 11;
    EXPECT_GT(shown, 0u);
    EXPECT_LT(shown, 4u);
    form->Document.Replace(kTiles, 0, std::make_unique<TTile>(0x654321, 0)); // the rules show tiles
    EXPECT_EQ(Drawn(*form), 11 + 2 * shown);

    form->Browser->SetKind(kTiles);
    const std::pair<std::function<void()>, int> steps[] = {
        {[&] { form->Document.Insert(kTiles, 5, std::make_unique<TTile>(0, 0)); }, 6},
        {[&] { form->Document.Take(kTiles, 0); }, 5},
        {[&] { Run(*form, &TMainForm::miAppendTileFileClick, {Rich}); }, 10},
        {[&] { form->Document.UndoStack().undo(); }, 5},
        {[&] { Run(*form, &TMainForm::miFileImportScriptClick, {Dir / "rich.src"}); }, 5},
        {[&] {
             Prompts.MessageAnswers = {mbNo}; // discard the changes
             form->miFileNewClick();
         },
         1}, // a new set's default tile
    };
    std::filesystem::create_directory(Dir.Path() / "rich");
    ExportScript(*MakeRichSet(3, false), "rich", Dir / "rich.src");
    for (const auto& [step, rows] : steps) {
        step();
        EXPECT_EQ(model.rowCount(), rows) << &step - &steps[0].first;
    }
}

TEST_F(Browser, FiltersByIdSizesWithCtrlWheelAndKeepsItsSettings)
{
    {
        auto form = OpenShown(Rich);
        const std::uint16_t ids[] = {10, 110, 22, 33, 1234};
        for (std::size_t i = 0; i < 5; ++i)
            form->TileFile.Tile(i).TileID = ids[i];
        form->Document.AnnounceSetReplaced();
        QListView* list = List(*form);
        auto* filter = form->Browser->findChild<QLineEdit*>("edFilter");
        QTest::keyClicks(list, "1"); // typing in the list types into the filter
        EXPECT_EQ(list->model()->rowCount(), 3);
        QTest::keyClicks(filter, "0");
        EXPECT_EQ(list->model()->rowCount(), 2);
        form->Spins[kTiles]->SetValue(2); // filtered out: nothing selected
        EXPECT_EQ(form->Browser->Current(), std::nullopt);
        form->miViewHex->trigger(); // 000A 006E 0016 0021 04D2
        filter->setText("e");
        EXPECT_EQ(list->model()->index(0, 0).data().toString(), "0001 006E");

        Wheel(*form, 1);
        EXPECT_EQ(form->Browser->Model().PictureSize(), QSize(2 * TileWidth, 2 * TileHeight));
        Wheel(*form, 5); // at most 4: one step back gives 3, which the next run shows
        QTest::keyClick(list, Qt::Key_Minus, Qt::ControlModifier);
        form->Browser->SetKind(kImprovements);
        form->miViewBrowser->trigger();
        EXPECT_TRUE(form->Browser->isHidden());
    }
    auto form = Open(); // the next run starts as this one ended
    EXPECT_EQ(form->Browser->Kind(), kImprovements);
    EXPECT_EQ(form->Browser->Zoom(), 3);
    EXPECT_TRUE(form->Browser->isHidden());
}
