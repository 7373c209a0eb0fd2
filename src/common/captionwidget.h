// Small pieces every window builds its fields with: the caption of a field, tied to it so that
// screen readers and Alt shortcuts find the field by what the operator reads, and the larger or
// bold type of the values read at a glance during a pass.
#pragma once

#include <QFont>
#include <QLabel>

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

} // namespace vorta
