#include "Help.h"

#include "HelpTopics.h"
#include "HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QWhatsThis>
#include <QWidget>

// The pages live in a static library: nothing would pull them into the program unasked.
static void InitHelpPages()
{
    Q_INIT_RESOURCE(help_pages);
}

namespace kestrund {

namespace {

// The setting lives on the application object, beside the windows it serves.
const char* const kHelpFileProperty = "KestrundHelpFile";
const char* const kShippedHelpProperty = "KestrundShippedHelp";

// The HelpFile folder when it holds a collection, else the shipped pages' folder when it does, else empty.
QString HelpFolder()
{
    for (const char* property : {kHelpFileProperty, kShippedHelpProperty}) {
        QString name = qApp->property(property).toString();
        if (name.isEmpty())
            continue;
        if (QFileInfo(name).isRelative())
            name = QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(name));
        if (QFileInfo(QDir(name).filePath("index.html")).isFile())
            return name;
    }
    return {};
}

THelpHandler* Handler()
{
    const auto handlers = qApp->findChildren<THelpHandler*>(Qt::FindDirectChildrenOnly);
    return handlers.isEmpty() ? nullptr : handlers.last();
}

// The widget whose context F1 and Shift+F1 answer for: the focused one inside the window.
QWidget* HelpTarget(QWidget* window)
{
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == window ? focus : window;
}

} // namespace

QUrl HelpFileUrl(const QString& page, const QString& anchor)
{
    InitHelpPages();
    const QString folder = HelpFolder();
    QUrl url = !folder.isEmpty() && QFileInfo(QDir(folder).filePath(page)).isFile()
                   ? QUrl::fromLocalFile(QDir(folder).filePath(page))
                   : QUrl("qrc:/help/" + page);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QUrl HelpPageUrl(int context)
{
    const THelpTopic* topic = FindHelpTopic(context);
    return topic ? HelpFileUrl(topic->Page, topic->Anchor) : HelpFileUrl("index.html");
}

void ShowHelpContext(int context)
{
    if (THelpHandler* handler = Handler()) {
        handler->ShowContext(context);
        return;
    }
    THelpWindow* window = THelpWindow::Instance(true);
    window->ShowUrl(HelpPageUrl(context));
    window->show();
    window->raise();
    window->activateWindow();
}

void ShowHelpContents()
{
    ShowHelpContext(0);
}

int HelpContextOf(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        bool number = false;
        const int context = widget->property("HelpContext").toInt(&number);
        if (number && context > 0)
            return context;
    }
    return 0;
}

QString HelpContextText(int context)
{
    const THelpTopic* topic = FindHelpTopic(context);
    return topic ? QString(topic->Text) : QString();
}

void InstallHelpKeys(QWidget* window)
{
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), window);
    help->setObjectName("HelpKey");
    QObject::connect(help, &QShortcut::activated, window,
                     [window] { ShowHelpContext(HelpContextOf(HelpTarget(window))); });
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), window);
    whatsThis->setObjectName("WhatsThisKey");
    QObject::connect(whatsThis, &QShortcut::activated, window, [window] {
        QWidget* target = HelpTarget(window);
        const QString text = HelpContextText(HelpContextOf(target));
        if (!text.isEmpty())
            QWhatsThis::showText(target->mapToGlobal(target->rect().center()), text, target);
    });
}

void SetHelpFile(const QString& helpFile)
{
    qApp->setProperty(kHelpFileProperty, helpFile);
}

void SetShippedHelpFolder(const QString& folder)
{
    qApp->setProperty(kShippedHelpProperty, folder);
}

THelpHandler::THelpHandler() : QObject(qApp)
{
    setObjectName("HelpHandler");
}

} // namespace kestrund
