#include "HelpWindow.h"

#include "HelpTopics.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestrund {

THelpWindow::THelpWindow() : QWidget(nullptr, Qt::Window)
{
    setObjectName("HelpWindow");
    setWindowTitle("Kestrund Help");
    // Left open, it must not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &QObject::deleteLater);
    resize(780, 560);

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName("tbHelp");
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    aBack = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "&Back");
    aBack->setObjectName("aBack");
    aBack->setShortcut(QKeySequence::Back);
    aForward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "&Forward");
    aForward->setObjectName("aForward");
    aForward->setShortcut(QKeySequence::Forward);
    aContents = toolbar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), "&Contents");
    aContents->setObjectName("aContents");

    lbPages = new QListWidget;
    lbPages->setObjectName("lbPages");
    for (const THelpPage& page : HelpPages()) {
        auto* item = new QListWidgetItem(page.Title, lbPages);
        item->setData(Qt::UserRole, QString(page.File));
    }
    tbPage = new QTextBrowser;
    tbPage->setObjectName("tbPage");
    tbPage->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(lbPages);
    splitter->addWidget(tbPage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 550});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(splitter, 1);

    aBack->setEnabled(false);
    aForward->setEnabled(false);
    connect(aBack, &QAction::triggered, tbPage, &QTextBrowser::backward);
    connect(aForward, &QAction::triggered, tbPage, &QTextBrowser::forward);
    connect(tbPage, &QTextBrowser::backwardAvailable, aBack, &QAction::setEnabled);
    connect(tbPage, &QTextBrowser::forwardAvailable, aForward, &QAction::setEnabled);
    connect(aContents, &QAction::triggered, this, [this] { ShowUrl(HelpFileUrl("index.html")); });
    connect(lbPages, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowUrl(HelpFileUrl(item->data(Qt::UserRole).toString())); });
    connect(lbPages, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowUrl(HelpFileUrl(item->data(Qt::UserRole).toString())); });
    connect(tbPage, &QTextBrowser::sourceChanged, this, &THelpWindow::SourceChanged);
}

THelpWindow* THelpWindow::Instance(bool create)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<THelpWindow*>(w))
            return window;
    return create ? new THelpWindow : nullptr;
}

void THelpWindow::ShowUrl(const QUrl& url)
{
    if (url == tbPage->source())
        tbPage->scrollToAnchor(url.fragment()); // asked again: back to the place, without a history entry
    else
        tbPage->setSource(url);
}

QUrl THelpWindow::Source() const
{
    return tbPage->source();
}

void THelpWindow::SourceChanged(const QUrl& url)
{
    const QString file = url.fileName();
    for (int row = 0; row < lbPages->count(); ++row)
        if (lbPages->item(row)->data(Qt::UserRole).toString() == file) {
            const QSignalBlocker blocker(lbPages);
            lbPages->setCurrentRow(row);
        }
    setWindowTitle(tbPage->documentTitle().isEmpty() ? "Kestrund Help" : "Kestrund Help - " + tbPage->documentTitle());
}

} // namespace kestrund
