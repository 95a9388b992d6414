// A small window holding the controls, to look at them on a real display.
//   controls_demo [--popup combo|menu]
// opens the colour list or the colour menu once the window is up.

#include "ColorComboBox.h"
#include "ColorMenu.h"
#include "ExtSpinEdit.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

using namespace kestrund;

namespace {

QImage ButtonGlyph()
{
    QImage glyph(24, 16, QImage::Format_ARGB32);
    glyph.fill(Qt::white);
    QPainter painter(&glyph);
    painter.setPen(Qt::black);
    painter.drawRect(1, 1, 21, 12);
    return glyph;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString popup = app.arguments().size() > 2 && app.arguments().at(1) == "--popup" ? app.arguments().at(2)
                                                                                           : QString();
    QWidget window;
    window.setWindowTitle("Kestrund controls");
    auto* form = new QFormLayout(&window);

    auto* looped = new TExtSpinEdit;
    looped->SetMaxValue(10);
    looped->SetLoop(true);
    looped->SetValue(7);
    form->addRow("Loop 0..10", looped);

    auto* hex = new TExtSpinEdit;
    hex->SetHex(true);
    hex->SetHexWidth(4);
    hex->SetValue(300);
    form->addRow("Hex, 4 digits", hex);

    auto* normal = new TExtSpinEdit;
    normal->SetSmallArrows(false);
    normal->SetValue(-42);
    form->addRow("Normal arrows", normal);

    auto* disabled = new TExtSpinEdit;
    disabled->SetValue(5);
    disabled->setEnabled(false);
    form->addRow("Disabled", disabled);

    auto* standalone = new TMySpinButton;
    standalone->resize(20, 25);
    form->addRow("Spin button", standalone);

    auto* combo = new TColorComboBox;
    combo->SetSelColor(0x0000FF);
    form->addRow("Colour", combo);

    auto* custom = new TColorComboBox;
    custom->SetSelColor(0x404040);
    form->addRow("Custom", custom);

    auto* grey = new TColorComboBox;
    grey->SetSelColor(0x8000000F);
    grey->setEnabled(false);
    form->addRow("Disabled", grey);

    auto* colorButton = new QToolButton;
    auto* menu = new ColorMenu(colorButton);
    auto showColor = [colorButton](TColor color) {
        const QImage glyph = ColorSwatchGlyph(ButtonGlyph(), color, colorButton->palette());
        colorButton->setIcon(QPixmap::fromImage(glyph));
        colorButton->setIconSize(glyph.size());
    };
    showColor(0x00FFFF);
    QObject::connect(menu, &ColorMenu::ColorChosen, colorButton, showColor);
    QObject::connect(colorButton, &QToolButton::clicked, menu,
                     [colorButton, menu] { menu->popup(colorButton->mapToGlobal(QPoint(0, colorButton->height()))); });
    form->addRow("Colour button", colorButton);

    window.move(10, 10);
    window.show();

    if (popup == "combo")
        QTimer::singleShot(300, combo, [combo] { combo->showPopup(); });
    else if (popup == "menu")
        QTimer::singleShot(300, menu, [&window, menu] {
            menu->setActiveAction(menu->ColorItem(9));
            menu->popup(window.geometry().topRight() + QPoint(10, 0));
        });
    return app.exec();
}
