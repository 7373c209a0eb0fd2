#include "config/settings.h"

#include "common/textvalue.h"

#include <cmath>

namespace vorta {

int utcOffsetOf(QStringView typed)
{
    return int(std::lround(numericValue(typed)));
}

int Settings::utcOffset() const
{
    return utcOffsetOf(utcText);
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
