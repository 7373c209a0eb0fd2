#include "config/settings.h"

#include "common/textvalue.h"

#include <cmath>

namespace vorta {

int utcOffsetMinutesOf(QStringView typed)
{
    const double hours = numericValue(typed);
    const double fraction = std::fabs(hours - std::trunc(hours));
    for (double zone : {0.25, 0.5, 0.75})
        if (std::fabs(fraction - zone) < 1e-9)
            return int(std::lround(hours * 60));
    return int(std::lround(hours)) * 60;
}

QString utcOffsetText(int minutes)
{
    return minutes % 60 == 0 ? QString::number(minutes / 60) : QString::number(minutes / 60.0);
}

int Settings::utcOffsetMinutes() const
{
    return utcOffsetMinutesOf(utcText);
}

std::array<Macro, 4> defaultMacros()
{
    return {{
        {QStringLiteral("CQ"), QStringLiteral("CQ CQ de $micall$ $micall$ k")},
        {QStringLiteral("QSO"), QStringLiteral("$sucall$ de $micall$ $micall$ ur $rst$ in $grid$ k")},
        {QStringLiteral("Llamar"), QStringLiteral("$sucall$ de $micall$ $micall$ k")},
        {QStringLiteral("Grid"), QStringLiteral("in $grid$ k")},
    }};
}

} // namespace vorta
