// Small pieces every window builds its fields with: the caption of a field, tied to it so that
// screen readers and Alt shortcuts find the field by what the operator reads, the larger or
// bold type of the values read at a glance during a pass, stored values shown uncut, values that
// screen readers read with their captions, and widths that fit the longest text a field shows.
#pragma once

#include <QFont>
#include <QLabel>
#include <QLineEdit>

class QComboBox;

namespace vorta {

// A caption for field; its text is set when the window is captioned in a language.
inline QLabel *captionFor(QWidget *field)
{
    auto *label = new QLabel;
    label->setBuddy(field);
    return label;
}

// A label that shows a value (not a caption): in the emphasized type, and selectable so that it
// can be copied.
QLabel *valueLabel(int pointSizeDelta = 0, bool bold = false);

// The widget's type made larger by delta points and, when asked, bold. The delta is kept with
// the widget, so that the type follows when the window's font size changes (applyFontScale).
void emphasize(QWidget *widget, int delta, bool bold);

// The widget's text in colour, or the nearest shade of it that reads on the window's colour,
// light or dark. Through the palette rather than a style sheet, which would keep the type from
// following the window's size.
void colourText(QWidget *widget, const QColor &colour);

// The fonts of window and its fields at percent of the desktop's size, emphasized types keeping
// their place above it. Other windows keep theirs.
void applyFontScale(QWidget &window, int percent);

// Shows a stored value whole in a field that limits what may be typed: a longer value widens the
// limit to its own length, since a save must never write back a value that the field cut.
inline void showStored(QLineEdit *field, const QString &value, int typedLimit)
{
    field->setMaxLength(qMax(typedLimit, int(value.size())));
    field->setText(value);
}

// A label that shows a value: screen readers name it by its caption and the value together
// ("Hora UTC: 14:23:05"), kept current with every value, so the value is heard and not only
// the caption. A caption's own colon is left out.
void showValue(QLabel *label, const QString &caption, const QString &value);

// What screen readers call a list (besides its caption), given to the field typed into of an
// editable list as well, which would otherwise have no name.
void nameList(QComboBox *list, const QString &name);

// Keeps widget exactly, at least or at most as wide as sample in its own font (with a field's
// frame and margins, and extra pixels), also after its font changes. Calling it again replaces
// the sample.
enum class Fit { Exactly, AtLeast, AtMost };
void fitWidth(QWidget *widget, const QString &sample, Fit fit, int extra = 0);

} // namespace vorta
