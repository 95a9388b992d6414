#include "SpinArrows.h"

#include <array>

namespace kestrund {

namespace {

struct ArrowSpec {
    QStringView name;
    bool up;
    bool small;
    bool enabled;
};

constexpr std::array<ArrowSpec, 8> arrows{{
    {u"SpinUp", true, false, true},
    {u"SpinDown", false, false, true},
    {u"InActiveSpinUp", true, false, false},
    {u"InActiveSpinDown", false, false, false},
    {u"SmallSpinUp", true, true, true},
    {u"SmallSpinDown", false, true, true},
    {u"InActiveSmallSpinUp", true, true, false},
    {u"InActiveSmallSpinDown", false, true, false},
}};

} // namespace

QStringView SpinArrowName(bool up, bool small, bool enabled)
{
    for (const ArrowSpec& spec : arrows)
        if (spec.up == up && spec.small == small && spec.enabled == enabled)
            return spec.name;
    return {};
}

QImage SpinArrowImage(QStringView name, const QPalette& palette)
{
    for (const ArrowSpec& spec : arrows) {
        if (spec.name != name)
            continue;
        // A filled triangle whose rows grow by two pixels; the spare row lies on the side
        // facing the other button so that the pair of arrows points apart.
        const int width = spec.small ? 7 : 9;
        const int height = spec.small ? 5 : 6;
        const int rows = (width + 1) / 2;
        const QColor ink = palette.color(spec.enabled ? QPalette::Active : QPalette::Disabled,
                                         QPalette::ButtonText);
        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        const int centre = width / 2;
        for (int row = 0; row < rows; ++row) {
            const int y = spec.up ? row : height - 1 - row;
            for (int x = centre - row; x <= centre + row; ++x)
                image.setPixelColor(x, y, ink);
        }
        return image;
    }
    return {};
}

} // namespace kestrund
