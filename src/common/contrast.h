// Text that can be read: the contrast ratio of two colours as readers of the screen perceive it
// (relative luminance, sRGB), and the colours the windows write their highlighted texts in.
#pragma once

#include <QColor>

namespace vorta {

// The least ratio between a text and its background for text to read easily.
inline constexpr double kReadableContrast = 4.5;

// Relative luminance, 0 (black) to 1 (white).
double relativeLuminance(const QColor &colour);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double contrastRatio(const QColor &a, const QColor &b);

// colour itself when it reads on background; otherwise the nearest shade of it that does,
// darker on a light background, lighter on a dark one (a desktop theme may be either).
QColor readableOn(const QColor &colour, const QColor &background);

// Highlighted texts of the main window, chosen to read on light window backgrounds. The
// meaning is always in the words too: the colour only draws the eye.
inline const QColor kSatModeColour(0x17, 0x69, 0x3a);     // the satellite mode ("SAT B")
inline const QColor kPreviousColour(0x1a, 0x5f, 0xb4);    // the previous contact ("Sat: SO-50 #1234")
inline const QColor kWorkedInPassColour(0xa5, 0x1d, 0x2d); // a station already worked in this pass
inline const QColor kQuietColour(0x5e, 0x5c, 0x64);       // the element set's age and number
inline const QColor kAlertColour(200, 0, 0);              // the manual time's blink, the key down

} // namespace vorta
