#pragma once
// The help window: a page browser with Back, Forward and Contents, and the list of pages.
// One per application, found among the top-level widgets by its object name.

#include <QUrl>
#include <QWidget>

class QAction;
class QListWidget;
class QTextBrowser;

namespace kestrund {

// A page of the help collection, with an anchor or none: from the HelpFile folder when that has
// it, else built in.
QUrl HelpFileUrl(const QString& page, const QString& anchor = {});

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    THelpWindow();

    // The application's help window, made when asked for and none exists yet.
    static THelpWindow* Instance(bool create);

    void ShowUrl(const QUrl& url);
    QUrl Source() const;

private:
    void SourceChanged(const QUrl& url);

    QTextBrowser* tbPage = nullptr;
    QListWidget* lbPages = nullptr;
    QAction* aBack = nullptr;
    QAction* aForward = nullptr;
    QAction* aContents = nullptr;
};

} // namespace kestrund
