// The help contexts, their pages and anchors, the context of a widget, the help buttons and keys
// of the dialogs, the help window and the HelpFile folder.

#include "../ScriptedPrompts.h"
#include "ErrorLogForm.h"
#include "Help.h"
#include "HelpTopics.h"
#include "HelpWindow.h"
#include "ImportTGAForm.h"
#include "PropertyForm.h"
#include "Scratch.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QWhatsThis>
#include <QDir>

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

QString BuiltIn(const QString& page)
{
    QFile file(":/help/" + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool HasAnchor(const QString& page, const QString& anchor)
{
    return BuiltIn(page).contains("<a name=\"" + anchor + "\">");
}

// Presses a key in the window as the user does: the window active, the widget focused.
void Press(QWidget* window, QWidget* focus, QKeyCombination key)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    focus->setFocus();
    QTest::keyClick(focus, key.key(), key.keyboardModifiers());
}

} // namespace

TEST(Help, EveryContextHasAPageAndAWidgetsIsItsOwnElseItsParents)
{
    std::vector<int> contexts = {300, 1051, 4100, 4200, 4201, 4202, 4208, 4209, 4213, 4214, 4250, 4300, 4301,
                                 4302, 4308, 4309, 4313, 4314, 4350, 4400, 4401, 4407, 4408, 4409, 4410, 4412,
                                 4413, 4414, 4415, 4425, 4450, 4500, 4501, 4550, 4650, 115, 120};
    for (auto [first, last] : {std::pair{100, 113}, {1011, 1014}, {1021, 1023}, {1031, 1032}, {1041, 1042},
                               {1061, 1062}, {500, 528}, {600, 604}, {700, 705}, {4000, 4009}, {4101, 4115},
                               {4600, 4605}})
        for (int c = first; c <= last; ++c)
            contexts.push_back(c);
    for (int c : contexts) {
        const THelpTopic* topic = FindHelpTopic(c);
        ASSERT_NE(topic, nullptr) << c;
        EXPECT_TRUE(HasAnchor(topic->Page, topic->Anchor)) << c << " " << topic->Page << "#" << topic->Anchor;
        EXPECT_GT(HelpContextText(c).size(), 10) << c;
        EXPECT_EQ(HelpPageUrl(c), QUrl(QString("qrc:/help/%1#%2").arg(topic->Page, topic->Anchor))) << c;
    }
    EXPECT_EQ(HelpTopics().size(), contexts.size()) << "a context no window carries";
    EXPECT_EQ(HelpPageUrl(0), QUrl("qrc:/help/index.html"));

    // Every link between the pages reaches a page, and its anchor.
    const QRegularExpression link("href=\"([a-z]+\\.html)(?:#([a-z]+))?\"");
    for (const THelpPage& page : HelpPages())
        for (const auto& m : link.globalMatch(BuiltIn(page.File))) {
            EXPECT_FALSE(BuiltIn(m.captured(1)).isEmpty()) << page.File << " -> " << m.captured(1).toStdString();
            EXPECT_TRUE(!m.hasCaptured(2) || HasAnchor(m.captured(1), m.captured(2))) << m.captured(0).toStdString();
        }

    // A widget's context is its own, else its parent's.
    QWidget window, *panel = new QWidget(&window), *field = new QWidget(panel), *inner = new QWidget(field);
    window.setProperty("HelpContext", 500);
    EXPECT_EQ(HelpContextOf(inner), 500);
    field->setProperty("HelpContext", 0); // a field hidden in this kind
    panel->setProperty("HelpContext", "none");
    EXPECT_EQ(HelpContextOf(inner), 500);
    field->setProperty("HelpContext", 512);
    EXPECT_EQ((std::vector{HelpContextOf(inner), HelpContextOf(field), HelpContextOf(panel)}),
              (std::vector{512, 512, 500}));
    EXPECT_EQ(HelpContextOf(nullptr), 0);
    QWidget none;
    EXPECT_EQ(HelpContextOf(&none), 0);
}

TEST(Help, TheDialogsHelpButtonsAndKeysAskForTheirContexts)
{
    TScratchDir dir;
    TRecordingHelp help;
    TImportTGAForm import(dir / "k.ini");
    import.findChild<QPushButton*>("btnHelp")->click();
    TErrorLogForm log(dir / "k.ini");
    log.findChild<QPushButton*>("btnHelp")->click();
    Press(&log, log.findChild<QWidget*>("mErrLog"), Qt::Key_F1);
    EXPECT_EQ(help.Asked, (std::vector{300, 700, 703}));
    const auto shown = [] {
        const auto windows = QApplication::topLevelWidgets();
        return std::count_if(windows.begin(), windows.end(),
                             [](QWidget* w) { return w->inherits("QWhatsThat") && w->isVisible(); });
    };
    Press(&log, log.findChild<QWidget*>("mErrLog"), Qt::SHIFT | Qt::Key_F1);
    EXPECT_EQ(shown(), 1) << "What's this?";
    QWhatsThis::hideText();
    EXPECT_EQ(log.findChild<QPushButton*>("btnHelp")->toolTip(), "Display help file");

    TScriptedPrompts prompts;
    TPropertyForm form(prompts, dir / "k.ini");
    auto* button = form.findChild<QPushButton*>("btnHelp");
    EXPECT_EQ(button->text(), "&Help");
    help.Asked.clear();
    button->click();
    // Each kind: the button, then F1 on its first field, its strip and the position.
    struct { int kind; std::vector<int> asked; } rows[] = {
        {0, {4100, 4101, 4001}}, {1, {4200, 4201, 4250, 4001}}, {2, {4300, 4301, 4350, 4001}},
        {3, {4400, 4401, 4450, 4001}}, {4, {4500, 4501, 4550, 4001}}, {5, {4600, 4650, 4001}}};
    std::vector<int> expected = {4000};
    for (const auto& r : rows) {
        form.SetKind(r.kind);
        form.show();
        button->click();
        for (const char* name : {"seID", "dgTiles", "sePos"})
            if (form.findChild<QWidget*>(name)->isVisible())
                Press(&form, form.findChild<QWidget*>(name), Qt::Key_F1);
        expected.insert(expected.end(), r.asked.begin(), r.asked.end());
        form.HideAllKinds();
    }
    EXPECT_EQ(help.Asked, expected);
}

TEST(Help, OneWindowShowsThePagesBuiltInOrFromTheHelpFileFolder)
{
    ShowHelpContext(4301);
    THelpWindow* window = THelpWindow::Instance(false);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Source(), QUrl("qrc:/help/property.html#tile"));
    ShowHelpContext(700);
    EXPECT_EQ(THelpWindow::Instance(false), window);
    EXPECT_EQ(window->Source(), QUrl("qrc:/help/logwindow.html#top"));
    window->findChild<QAction*>("aBack")->trigger();
    EXPECT_EQ(window->Source(), QUrl("qrc:/help/property.html#tile"));
    window->findChild<QAction*>("aForward")->trigger();
    EXPECT_EQ(window->Source(), QUrl("qrc:/help/logwindow.html#top"));
    delete window;

    TScratchDir dir;
    std::filesystem::create_directory(dir / "pages");
    WriteText(dir / "pages/index.html", "<a name=\"top\">");
    WriteText(dir / "pages/property.html", "<a name=\"tile\">");
    std::filesystem::create_directory(dir / "noindex");
    WriteText(dir / "noindex/property.html", "<a name=\"tile\">");
    std::filesystem::create_directory(dir / "shipped");
    WriteText(dir / "shipped/index.html", "<a name=\"top\">");
    // Whether the pages folder's property page is shown: only a folder with an index counts; a page it lacks is
    // built in. The pages shipped beside the program serve when the HelpFile setting names no collection.
    const QString pages = QString::fromStdString(dir / "pages"), noindex = QString::fromStdString(dir / "noindex");
    const struct { QString HelpFile, Shipped; bool FromFolder; } rows[] = {
        {pages, "", true}, {noindex, "", false},
        {QDir(QCoreApplication::applicationDirPath()).relativeFilePath(pages), "", true}, // from the program's folder
        {"pages", "", false}, {"Kestrund.hlp", "", false}, {"Kestrund.hlp", pages, true}, {noindex, pages, true},
        {pages, QString::fromStdString(dir / "shipped"), true}, {"Kestrund.hlp", noindex, false}};
    const QString current = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.Path().string()));
    for (const auto& [helpFile, shipped, fromFolder] : rows) {
        SetHelpFile(helpFile);
        SetShippedHelpFolder(shipped);
        QUrl property = fromFolder ? QUrl::fromLocalFile(pages + "/property.html") : QUrl("qrc:/help/property.html");
        property.setFragment("tile");
        EXPECT_EQ(HelpPageUrl(4301), property) << helpFile.toStdString();
        EXPECT_EQ(HelpPageUrl(300), QUrl("qrc:/help/importtga.html#top")) << helpFile.toStdString();
    }
    SetHelpFile("");
    SetShippedHelpFolder("");
    QDir::setCurrent(current);
}
