// Small pieces every window builds its fields with: the caption of a field, tied to it so that
// screen readers and Alt shortcuts find the field by what the operator reads, the larger or
// bold type of the values read at a glance during a pass, and stored values shown uncut.
#pragma once

#include <QFont>
#include <QLabel>
#include <QLineEdit>

namespace vorta {

// A caption for field; its text is set when the window is captioned in a language.
inline QLabel *captionFor(QWidget *field)
{
    auto *label = new QLabel;
    label->setBuddy(field);
    return label;
}

// The widget's type made larger by delta points and, when asked, bold.
inline void emphasize(QWidget *widget, int delta, bool bold)
{
    QFont font = widget->font();
    font.setPointSize(font.pointSize() + delta);
    font.setBold(bold);
    widget->setFont(font);
}

// Shows a stored value whole in a field that limits what may be typed: a longer value widens the
// limit to its own length, since a save must never write back a value that the field cut.
inline void showStored(QLineEdit *field, const QString &value, int typedLimit)
{
    field->setMaxLength(qMax(typedLimit, int(value.size())));
    field->setText(value);
}

} // namespace vorta
