#include "ui/base/U_Contrast.h"

#include <algorithm>
#include <cmath>

double Luminance(const QColor& colour)
{
    // sRGB channels back to linear light, weighted as the eye sees them.
    const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& background, const QColor& preferred)
{
    if (Contrast(preferred, background) >= ReadableContrast)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return Contrast(black, background) >= Contrast(white, background) ? black : white;
}
