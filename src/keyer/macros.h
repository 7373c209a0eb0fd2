// The CW macros' placeholders, filled at the moment a macro is sent.
#pragma once

#include <QString>

namespace vorta {

// What the placeholders stand for: the own call sign and locator, and the other station's call
// sign and the report sent as the entry panel holds them.
struct MacroValues
{
    QString ownCall;
    QString otherCall;
    QString ownLocator;
    QString reportSent;
};

// A report in cut numbers: a two-character (phone) report counts as 599, and every 9 is sent as
// N, so 59 and 599 become 5NN and 579 becomes 57N. Anything else keeps its other characters.
QString cutNumbers(const QString &report);

// The text upper-cased with $MICALL$, $SUCALL$, $GRID$ and $RST$ (in any letter case) replaced.
QString expandMacro(const QString &text, const MacroValues &values);

} // namespace vorta
