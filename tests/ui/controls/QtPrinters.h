#pragma once
// Readable failure messages for the Qt values the widget tests compare.

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height() << ')';
}

inline void PrintTo(const QSize& size, std::ostream* out)
{
    *out << "QSize(" << size.width() << ", " << size.height() << ')';
}

inline void PrintTo(const QColor& color, std::ostream* out)
{
    *out << color.name(QColor::HexArgb).toStdString();
}
