#include "keyer/macros.h"

namespace vorta {

QString cutNumbers(const QString &report)
{
    QString cut = report.size() == 2 ? QStringLiteral("599") : report;
    return cut.replace(u'9', u'N');
}

QString expandMacro(const QString &text, const MacroValues &values)
{
    // The placeholders are matched on the upper-cased text, so "$sucall$" works as well; the
    // values are put in as they are.
    QString expanded = text.toUpper();
    expanded.replace(QLatin1String("$MICALL$"), values.ownCall);
    expanded.replace(QLatin1String("$SUCALL$"), values.otherCall);
    expanded.replace(QLatin1String("$GRID$"), values.ownLocator);
    expanded.replace(QLatin1String("$RST$"), cutNumbers(values.reportSent));
    return expanded;
}

} // namespace vorta
