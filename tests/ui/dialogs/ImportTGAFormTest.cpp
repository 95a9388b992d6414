#include "ColorMenu.h"
#include "ImportTGAForm.h"
#include "Scratch.h"
#include "TgaBuilder.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <functional>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

constexpr std::uint16_t kRed = 0x7C00, kGreen = 0x03E0, kBlue = 0x001F, kSilver = 0x6318; // 5-5-5 words

// A 16-bit picture whose pixel (x, y) is word(x, y).
std::vector<std::uint8_t> Picture(int width, int height, const std::function<std::uint16_t(int, int)>& word)
{
    TTgaFile file{.Width = std::uint16_t(width), .Height = std::uint16_t(height)};
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            file.Pixels.insert(file.Pixels.end(), {std::uint8_t(word(x, y)), std::uint8_t(word(x, y) >> 8)});
    return file.Bytes();
}

// A folder of pictures and the dialog's own settings file.
struct ImportTGAFormTest : ::testing::Test {
    TScratchDir dir;
    std::string ini = dir / "Kestrund.ini";
    std::unique_ptr<TImportTGAForm> form = std::make_unique<TImportTGAForm>(ini);
    QString Text(const char* name) { return form->findChild<QLabel*>(name)->text(); }
    void Select(const QString& name)
    {
        auto* list = form->findChild<QListWidget*>("FileListBox");
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
    }
    void SetUp() override
    {
        std::filesystem::create_directory(dir / "sub");
        // Red, a silver (transparent) pixel at (50, 50), green column 1, blue column 0.
        SaveBytes(dir / "big.tga", Picture(100, 100, [](int x, int y) {
                      return x == 0 ? kBlue : x == 1 ? kGreen : x == 50 && y == 50 ? kSilver : kRed;
                  }));
        form->SetImportDirectory(dir.Path().string());
    }
};

TEST(ImportRules, CollidingColoursMoveAwayAndFolders)
{
    // Button face resolves to silver here.
    const TColorResolver resolve = [](TColor c) { return c == clBtnFace ? clSilver : c; };
    struct Row { TImportColors start; bool shadow; TColor color; TImportColors expected; };
    const Row rows[] = {
        {{0xC0C0C0, 0x808080, 0xFFFFFF}, true, 0xC0C0C0, {0x3F3F3F, 0xC0C0C0, 0xFFFFFF}},
        {{0x000000, 0x808080, 0xC0C0C0}, false, 0xC0C0C0, {0xC0C0C0, 0x808080, 0xFF00FF}},
        {{0x000000, 0x808080, 0x123456}, false, 0x123456, {0x123456, 0x808080, 0xC0C0C0}},
        {{0x000000, 0x808080, 0x123456}, true, 0x123456, {0x000000, 0x123456, 0xC0C0C0}},
        {{0x000000, 0x808080, 0x7F7F7F}, false, 0x808080, {0x808080, 0x7F7F7F, 0xC0C0C0}}, // moved shadow moves on
        {{0x000000, 0x808080, clBtnFace}, false, 0xC0C0C0, {0xC0C0C0, 0x808080, 0xFF00FF}},
        {{0x000000, 0xC0C0C0, 0x123456}, false, clBtnFace, {clBtnFace, 0x3F3F3F, 0x123456}},
        {{0x000000, 0x808080, 0x123456}, false, 0x808081, {0x808081, 0x808080, 0x123456}},
    };
    for (const Row& row : rows) {
        TImportColors colors = row.start;
        row.shadow ? colors.SetShadow(row.color, resolve) : colors.SetTransparent(row.color, resolve);
        EXPECT_EQ((std::array{colors.Transparent, colors.Shadow, colors.PreviewBackground}),
                  (std::array{row.expected.Transparent, row.expected.Shadow, row.expected.PreviewBackground}))
            << std::hex << row.color;
    }

    // Folders: parents, a fallback for one that is gone, and the masks.
    TScratchDir dir;
    const std::pair<std::string, std::string> parents[] = {{"/", "/"}, {"/home", "/"}, {"/a/b/", "/a"}};
    for (const auto& [folder, parent] : parents)
        EXPECT_EQ(ParentFolder(folder), parent) << folder;
    EXPECT_EQ(ExistingFolder(dir / "gone/deeper/", "~"), dir.Path().string());
    EXPECT_EQ(ExistingFolder("", "~"), "~");
    EXPECT_EQ(MaskPatterns(" *.a ; *.* ;"), (std::vector<std::string>{"*.a", "*"}));
}

TEST_F(ImportTGAFormTest, PlacementTitleAndStatusTextsForEachFile)
{
    form.reset();
    EXPECT_EQ(ReadText(ini), "");
    form = std::make_unique<TImportTGAForm>(ini);
    form->setGeometry(30, 40, 600, 390);
    form.reset();
    form = std::make_unique<TImportTGAForm>(ini);
    EXPECT_EQ(std::tuple(form->geometry(), form->minimumSize(), form->windowTitle()),
              std::tuple(QRect(30, 40, 600, 390), QSize(500, 372), "Load TGA File"));

    auto tga = [](TTgaFile f) { return f.Bytes(); };
    const std::vector<std::uint8_t> good = Picture(94, 72, [](int, int) { return kRed; });
    const std::pair<std::string, std::vector<std::uint8_t>> rows[] = {
        {"94x72", good},
        {"Not a TrueVision Targa file", good}, // pic.TGA
        {"usupported type", tga({.ImageType = 1, .Width = 1, .Height = 1})},
        {"Not valid TGA", tga({.Width = 1, .Height = 1, .Descriptor = 0x40})},
        {"Interleave error", tga({.Width = 1, .Height = 1, .Descriptor = 0x60})},
        {"Unknown Pixel size", tga({.Width = 1, .Height = 1, .PixelBits = 8})},
        {"unknown error", tga({.Width = 2, .Height = 2, .Pixels = Words({1, 2, 3})})},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const QString name = QString("%1.%2").arg(i).arg(i == 1 ? "TGA" : "tga");
        SaveBytes(dir / name.toStdString(), rows[i].second);
        form->SetImportDirectory(dir.Path().string());
        Select(name);
        EXPECT_EQ(Text("pInfo").toStdString(), rows[i].first) << i;
        EXPECT_EQ(Text("lPreViewCaption"), i == 0 ? "" : "No PreView") << i;
        EXPECT_EQ(form->GetImportFileName(), dir / name.toStdString());
    }
    EXPECT_EQ(LoadTgaPreview(dir / "gone.tga").Status, "error reading file");
}

TEST_F(ImportTGAFormTest, PreviewCentredColoursPickedByCtrlClickAndAltKeys)
{
    form->SetPreviewBackgroundColor(0x00FF00);
    form->SetShadowColor(0x000000);
    form->SetTransparentColor(0xC0C0C0);
    Select("big.tga");
    auto swatch = [this](const char* button) {
        return form->findChild<QToolButton*>(button)->icon().pixmap(24, 15).toImage();
    };
    EXPECT_EQ((std::array{swatch("sbBGColor").pixelColor(10, 7), swatch("sbPreViewBG").pixelColor(10, 7),
                          swatch("sbShColor").pixelColor(0, 0)}),
              (std::array<QColor, 3>{QColor(0xC0, 0xC0, 0xC0), Qt::green, Qt::transparent}));
    const QImage shown = form->findChild<QWidget*>("pPreView")->grab().toImage();
    const int left = 2 + 20, top = 2 + 14; // panel border, then (140 - 100) / 2, (128 - 100) / 2
    EXPECT_EQ((std::array{shown.pixelColor(left - 1, top + 5), shown.pixelColor(left, top + 5),
                          shown.pixelColor(left + 2, top), shown.pixelColor(left + 50, top + 50),
                          shown.pixelColor(left + 99, top + 99), shown.pixelColor(left + 100, top + 99)}),
              (std::array<QColor, 6>{Qt::green, QColor(0, 0, 248), QColor(248, 0, 0), Qt::green, QColor(248, 0, 0),
                                     Qt::green}));

    auto* box = form->findChild<QWidget*>("pbPreView");
    QTest::mouseClick(box, Qt::LeftButton, Qt::ControlModifier, QPoint(20, 19)); // column 0
    QTest::mouseClick(box, Qt::LeftButton, Qt::ControlModifier, QPoint(22, 14)); // row 0
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(21, 19));
    EXPECT_EQ(form->TransparentColor(), 0xC0C0C0u);
    QTest::mouseClick(box, Qt::LeftButton, Qt::ControlModifier, QPoint(21, 19)); // column 1
    QTest::mouseClick(box, Qt::RightButton, Qt::ControlModifier, QPoint(119, 113));
    EXPECT_EQ((std::array{form->TransparentColor(), form->ShadowColor()}), (std::array<TColor, 2>{0x00F800, 0x0000F8}));

    // Alt+S opens the colour menu; Alt+T and Alt+N move the focus.
    form->SetColorChooser([](TColor, QWidget*) { return std::optional<TColor>(0x123456); });
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* menu = form->findChild<ColorMenu*>("ColorMenu");
    QTest::keyClick(form.get(), Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    menu->ColorItem(ColorMenu::CustomItem)->trigger();
    EXPECT_EQ(form->ShadowColor(), 0x123456u);
    menu->close();
    for (const auto& [key, focus] : {std::pair{Qt::Key_T, "FilterComboBox1"}, std::pair{Qt::Key_N, "eFName"}}) {
        QTest::keyClick(form.get(), key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), focus);
    }
}

TEST_F(ImportTGAFormTest, RunReturnsTheChosenFileAndColours)
{
    SaveBytes(dir / "sub/pick.tga", Picture(3, 3, [](int, int) { return kRed; }));
    QTimer::singleShot(0, [this] {
        Select("pick.tga");
        form->findChild<QPushButton*>("btnOK")->click();
        if (form->isVisible())
            form->reject(); // OK refused: fail rather than wait
    });
    const auto result = RunImportTGA(*form, {(dir / "sub/gone/deeper"), 0x8000000F, 0x808080, 0x808080});
    ASSERT_TRUE(result);
    EXPECT_EQ((std::tuple{result->FileName, result->Directory, result->Transparent, result->Shadow}),
              (std::tuple{dir / "sub/pick.tga", dir / "sub", TColor(0x808080), TColor(0x7F7F7F)}));
    EXPECT_EQ(result->PreviewBackground, 0x8000000Fu);
    form->SetImportDirectory(dir / "sub"); // the same folder again keeps its file
    EXPECT_EQ(form->GetImportFileName(), dir / "sub/pick.tga");
    QTimer::singleShot(0, [this] { form->findChild<QPushButton*>("btnCancel")->click(); });
    EXPECT_FALSE(RunImportTGA(*form, {dir.Path().string()}));
    EXPECT_EQ(form->GetImportFileName(), "");
}

TEST_F(ImportTGAFormTest, TypedNamesMasksAndFolderKeys)
{
    SaveBytes(dir / "sub/a.bmp", {});
    SaveBytes(dir / "sub/b.txt", {});
    std::filesystem::create_directories(dir / "sub/deep/deeper");
    auto* name = form->findChild<QLineEdit*>("eFName");
    auto* ok = form->findChild<QPushButton*>("btnOK");
    auto* files = form->findChild<QListWidget*>("FileListBox");
    auto* folders = form->findChild<QListWidget*>("lbDir");
    for (const char* typed : {"sub", "*.bmp", "none.bmp"}) {
        name->setText(typed);
        ok->click();
    }
    EXPECT_EQ((std::tuple{form->GetImportDirectory(), files->count(), Text("pHint"), form->result()}),
              (std::tuple{dir / "sub", 1, QString("\"none.bmp\" not found"), 0}));
    form->findChild<QComboBox*>("FilterComboBox1")->activated(1); // all files
    EXPECT_EQ((std::tuple{files->count(), name->text()}), (std::tuple{2, QString("*.*")}));

    // Folders listed from the scratch folder down, after a selection or a key.
    const QString top = QString::fromStdString(dir.Path().filename().string());
    const struct { const char* select; Qt::Key key; std::string folder; QString listed; } steps[] = {
        {nullptr, Qt::Key_Left, dir.Path().string(), "sub"}, {"sub", Qt::Key_unknown, dir / "sub", "sub"},
        {nullptr, Qt::Key_Left, dir.Path().string(), "sub"}, {"sub", Qt::Key_Right, dir / "sub", "sub,deep"},
        {"deep", Qt::Key_Return, dir / "sub/deep", "sub,deep,deeper"},
    };
    for (const auto& step : steps) {
        if (step.select)
            folders->setCurrentItem(folders->findItems(step.select, Qt::MatchExactly).value(0));
        if (step.key != Qt::Key_unknown)
            QTest::keyClick(folders, step.key);
        QStringList texts;
        for (int row = folders->row(folders->findItems(top, Qt::MatchExactly).value(0)) + 1; row < folders->count(); ++row)
            texts << folders->item(row)->text();
        EXPECT_EQ((std::tuple{form->GetImportDirectory(), texts.join(',')}), (std::tuple{step.folder, step.listed}));
    }

    // The drive is the root the folder lies below, and the list starts there.
    auto* drive = form->findChild<QComboBox*>("cbDrive");
    for (const QString& folder : {QString::fromStdString(dir.Path().string()), QDir::homePath()}) {
        form->SetImportDirectory(folder.toStdString());
        EXPECT_TRUE(folder.startsWith(drive->currentData().toString())) << drive->currentData().toString().toStdString();
        EXPECT_EQ(folders->item(0)->text(), QDir::toNativeSeparators(drive->currentData().toString()));
    }
    drive->activated(0);
    EXPECT_EQ(form->GetImportDirectory(), QDir::toNativeSeparators(drive->itemData(0).toString()).toStdString());

    form->SetImportDirectory(dir.Path().string());
    name->setText("big.tga"); // outside the mask
    form->show();
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ((std::tuple{form->GetImportFileName(), form->result()}), (std::tuple{dir / "big.tga", 1}));
}

} // namespace
