// The element browser beside the view: built with the View menu, it shows the kind whose
// number field the user works in, and a picked thumbnail sets that number.

#include "ElementBrowser.h"
#include "ExtSpinEdit.h"
#include "MainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>

namespace kestrund {

void TMainForm::BuildBrowser(QMenu* view)
{
    Browser = new TElementBrowser(Document, this);
    addDockWidget(Qt::RightDockWidgetArea, Browser);
    miViewBrowser = Browser->toggleViewAction();
    miViewBrowser->setText("&Browser");
    miViewBrowser->setShortcut(QKeySequence("Ctrl+G"));
    view->addAction(miViewBrowser);
    connect(Browser, &TElementBrowser::ElementPicked, this, &TMainForm::BrowserPicked);
    connect(Browser, &TElementBrowser::KindChanged, this, &TMainForm::FollowBrowser);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (int k = 0; k < KindCount; ++k) {
            QWidget* spin = Spins[static_cast<std::size_t>(k)];
            if (now && spin && (now == spin || spin->isAncestorOf(now)))
                Browser->SetKind(k);
        }
    });
}

void TMainForm::FollowBrowser()
{
    if (!Browser)
        return;
    const TViewState view = ViewState();
    Browser->SetLook(miViewHex->isChecked(), {view.BgColor, view.ShadowColor, view.SetShadowColor});
    Browser->SetCurrent(static_cast<std::size_t>(std::max(0, Spins[static_cast<std::size_t>(Browser->Kind())]->Value())));
}

void TMainForm::BrowserPicked(int kind, std::size_t i)
{
    // The view shows what was picked: its kind switched on, the variation rule only for
    // a variation rule.
    auto show = [this](int k, bool on) {
        QCheckBox* box = ShowBoxes[static_cast<std::size_t>(k)];
        if (box->isChecked() != on) {
            box->setChecked(on);
            ShowBoxClicked(k);
        }
    };
    show(kVariationRules, kind == kVariationRules);
    show(kind, true);
    Spins[static_cast<std::size_t>(kind)]->SetValue(static_cast<int>(i));
}

} // namespace kestrund
