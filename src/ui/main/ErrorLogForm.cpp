#include "ErrorLogForm.h"

#include "Help.h"
#include "IniFile.h"
#include "MainSettings.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestrund {

namespace {

const char* const kSection = "LogWindow";

// The toolbar's two images, drawn rather than shipped: a pin, and lines with a return arrow.
template <class Draw>
QIcon DrawnIcon(Draw draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pixmap);
}

QIcon PinIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(64, 64, 64), 1.5));
        p.drawLine(QPointF(7.5, 9), QPointF(7.5, 15));
        p.setBrush(QColor(200, 40, 40));
        p.drawRect(QRectF(5, 2, 5, 6));
        p.drawLine(QPointF(3, 8.5), QPointF(12, 8.5));
    });
}

QIcon WrapIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.drawLine(QPointF(1, 3), QPointF(15, 3));
        p.drawLine(QPointF(1, 13), QPointF(7, 13));
        QPainterPath hook;
        hook.moveTo(1, 8);
        hook.lineTo(12, 8);
        hook.arcTo(QRectF(9, 8, 5, 5), 90, -180);
        hook.lineTo(10, 13);
        p.setPen(QPen(QColor(30, 80, 180), 1.5));
        p.drawPath(hook);
        p.drawLine(QPointF(10, 13), QPointF(12, 11));
        p.drawLine(QPointF(10, 13), QPointF(12, 15));
    });
}

// Short hint before the bar, long hint after it.
void SetHint(QAction* action, const QString& hint)
{
    const int bar = hint.indexOf('|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

QString LogText(const QByteArray& bytes)
{
    // The code points of 0x80..0x9F; the rest of Windows-1252 is Latin-1.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r') {
            text += QChar('\n');
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else
            text += QChar(c >= 0x80 && c < 0xA0 ? high[c - 0x80] : char16_t(c));
    }
    return text;
}

TErrorLogForm::TErrorLogForm(const std::string& iniPath, QWidget* parent)
    : QWidget(parent, Qt::Window), FIniPath(iniPath)
{
    setObjectName("ErrorLogForm");
    setWindowTitle("Script Import Log");
    resize(450, 420);

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName("ToolBar1");
    toolbar->setIconSize(QSize(16, 16));
    aStayOnTop = toolbar->addAction(PinIcon(), "Stay On Top");
    aStayOnTop->setObjectName("aStayOnTop");
    SetHint(aStayOnTop, "Stay on top|Keep window on top when out of focus.");
    aStayOnTop->setShortcut(QKeySequence("Ctrl+T"));
    aWordWrap = toolbar->addAction(WrapIcon(), "WordWrap");
    aWordWrap->setObjectName("aWordWrap");
    SetHint(aWordWrap, "WordWrap");
    aWordWrap->setShortcut(QKeySequence("Ctrl+W"));
    for (QAction* action : {aStayOnTop, aWordWrap}) {
        action->setCheckable(true);
        // The log window's own keys: the main window's Ctrl+W shows this window.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(aStayOnTop, &QAction::triggered, this, &TErrorLogForm::SetStayOnTop);
    connect(aWordWrap, &QAction::triggered, this, &TErrorLogForm::SetWordWrap);

    mErrLog = new QPlainTextEdit(this);
    mErrLog->setObjectName("mErrLog");
    mErrLog->setReadOnly(true);
    mErrLog->setToolTip("Output from Script Import");
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    mErrLog->setFont(font);

    btnClose = new QPushButton("&Close", this);
    btnClose->setObjectName("btnClose");
    btnClose->setToolTip("Close Window");
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);

    btnHelp = new QPushButton("&Help", this);
    btnHelp->setObjectName("btnHelp");
    btnHelp->setToolTip("Display help file");
    connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelpContext(700); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    buttons->addWidget(btnHelp);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(4);
    layout->addWidget(toolbar);
    layout->addWidget(mErrLog, 1);
    auto* bottom = new QWidget(this);
    bottom->setLayout(buttons);
    buttons->setContentsMargins(6, 0, 6, 0);
    layout->addWidget(bottom);

    const std::pair<QWidget*, int> help[] = {{this, 700}, {toolbar->widgetForAction(aStayOnTop), 701},
                                             {toolbar->widgetForAction(aWordWrap), 702}, {mErrLog, 703},
                                             {btnClose, 704}, {btnHelp, 705}};
    for (const auto& [widget, context] : help)
        widget->setProperty("HelpContext", context);
    InstallHelpKeys(this);

    SetWordWrap(true);
    ReadSettings();
}

TErrorLogForm::~TErrorLogForm()
{
    WriteSettingsOnClose([this] { WriteSettings(); });
}

void TErrorLogForm::ReadSettings()
{
    const TIniFile ini(FIniPath);
    ApplyPlacement(*this, ReadPlacement(ini, kSection, CentredOnPrimaryScreen(800, 600)));
    SetWordWrap(ini.ReadBool(kSection, "WordWrap", true));
    SetStayOnTop(ini.ReadBool(kSection, "StayOnTop", false));
}

void TErrorLogForm::WriteSettings()
{
    TExtIniFile ini(FIniPath);
    WritePlacement(ini, kSection, CurrentPlacement(*this), CentredOnPrimaryScreen(800, 600));
    ini.WriteBoolDef(kSection, "WordWrap", true, mErrLog->lineWrapMode() != QPlainTextEdit::NoWrap);
    ini.WriteBoolDef(kSection, "StayOnTop", false, aStayOnTop->isChecked());
}

void TErrorLogForm::SetWordWrap(bool on)
{
    aWordWrap->setChecked(on);
    mErrLog->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    mErrLog->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void TErrorLogForm::SetStayOnTop(bool on)
{
    aStayOnTop->setChecked(on);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing a window flag hides the window and may let the window manager place it anew.
    const bool visible = isVisible();
    const QRect place = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setGeometry(place);
    if (visible)
        show();
}

TErrorLogForm::TLoadResult TErrorLogForm::LoadFromFile(const std::string& fileName)
{
    Clear();
    const QString name = QString::fromStdString(fileName);
    const QFileInfo info(name);
    if (info.isFile() && static_cast<std::uintmax_t>(info.size()) > FMaxLogBytes)
        return TLoadResult::TooLarge;
    QFile file(name);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return TLoadResult::Unreadable;
    const QByteArray bytes = file.read(static_cast<qint64>(FMaxLogBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return TLoadResult::Unreadable;
    if (static_cast<std::uintmax_t>(bytes.size()) > FMaxLogBytes)
        return TLoadResult::TooLarge; // grew since it was measured
    mErrLog->setPlainText(LogText(bytes));
    return TLoadResult::Loaded;
}

void TErrorLogForm::Clear()
{
    mErrLog->clear();
}

QString TErrorLogForm::Text() const
{
    return mErrLog->toPlainText();
}

} // namespace kestrund
