#pragma once
// The program's help: pages shipped inside the program (or a folder that replaces them), shown
// in one modeless help window per application at the page of a help context. A widget's help
// context is its "HelpContext" property (int).

#include <QObject>
#include <QString>
#include <QUrl>

class QWidget;

namespace kestrund {

// Opens the page of a help context in the program's help window (modeless, one per application),
// showing or raising it. Context 0, or one no window carries, opens the contents.
void ShowHelpContext(int context);
void ShowHelpContents();
// The help context of a widget: its own "HelpContext" property, else its parent's, and so on; 0 for none.
int HelpContextOf(const QWidget* widget);
// The short text of a context for "What's this?"; empty for an unknown context.
QString HelpContextText(int context);

// F1 opens the page of the focused widget's context, Shift+F1 shows its short text: for a
// dialog or any other window of the program, while it is the active window.
void InstallHelpKeys(QWidget* window);

// The HelpFile setting: a folder holding index.html (relative names are taken from the
// program's folder) replaces the built-in pages; anything else keeps them.
void SetHelpFile(const QString& helpFile);
// The help pages shipped beside the program (found from its location); they serve when the
// HelpFile setting names no collection, before the built-in ones.
void SetShippedHelpFolder(const QString& folder);
// Where the page of a context is: in the HelpFile folder when that has the page, else built in.
QUrl HelpPageUrl(int context);

// Takes the help requests instead of the help window while it exists (tests; a front end with
// a viewer of its own). It makes itself a child of the application; the newest one is asked.
class THelpHandler : public QObject {
    Q_OBJECT
public:
    THelpHandler();
    virtual void ShowContext(int context) = 0;
};

} // namespace kestrund
