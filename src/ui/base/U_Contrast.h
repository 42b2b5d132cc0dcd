#pragma once
#include <QColor>

// How well text reads on a background, by relative luminance: 4.5 is what
// normal-sized text needs to be read comfortably, 3 what large or disabled
// text may have.
inline constexpr double ReadableContrast = 4.5;

double Luminance(const QColor& colour);
// From 1 (the same colour) to 21 (black on white).
double Contrast(const QColor& a, const QColor& b);

// The text colour the theme pairs with a background, unless the theme made
// it too faint there; then black or white, whichever reads better.
QColor ReadableOn(const QColor& background, const QColor& preferred);
