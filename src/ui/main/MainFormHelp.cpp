// The main window's help: Help → Index, and the "Whats this?" menu of the left panel and the
// view, which also gives help on disabled controls and labels (they get no clicks of their own).

#include "MainForm.h"
#include "MainFormPanels.h"

#include "Help.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QTimer>
#include <QWhatsThis>

namespace kestrund {

int HelpContextAt(QWidget* root, const QPoint& pos)
{
    QWidget* w = root->childAt(pos);
    for (; w && w != root; w = w->parentWidget()) {
        // A label's help is its tag; any other control's its help context.
        const int context = (qobject_cast<QLabel*>(w) ? w->property("Tag") : w->property("HelpContext")).toInt();
        if (context > 0)
            return context;
    }
    return root->property("HelpContext").toInt();
}

namespace {

class TWhatsThisMenu final : public QObject {
public:
    TWhatsThisMenu(QWidget* root, QWidget* window) : QObject(root), FRoot(root), FMenu(new QMenu(window))
    {
        FMenu->setObjectName("pmHelp");
        FItem = FMenu->addAction("Whats this?");
        Watch(root);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ContextMenu)
            return false;
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        const QPoint global = menuEvent->globalPos();
        const int context = HelpContextAt(FRoot, FRoot->mapFromGlobal(global));
        if (FMenu->exec(global) == FItem && context > 0) {
            // After the menu has closed: the click that chose the item would close the note at once.
            QTimer::singleShot(0, widget, [global, context, widget] {
                const QString text = HelpContextText(context);
                if (text.isEmpty())
                    ShowHelpContext(context);
                else
                    QWhatsThis::showText(global, text, widget);
            });
        }
        return true;
    }

private:
    // Disabled children pass their events to their parents; enabled ones are watched themselves,
    // so their own menus (a text field's) give way to this one.
    void Watch(QWidget* widget)
    {
        widget->installEventFilter(this);
        for (QWidget* child : widget->findChildren<QWidget*>())
            child->installEventFilter(this);
    }

    QWidget* FRoot;
    QMenu* FMenu;
    QAction* FItem = nullptr;
};

} // namespace

void TMainForm::BuildHelp(QWidget* leftPanel)
{
    new TWhatsThisMenu(leftPanel, this);
    new TWhatsThisMenu(ScrollBox, this);
}

} // namespace kestrund
