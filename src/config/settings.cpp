#include "config/settings.h"

#include "common/textvalue.h"

#include <algorithm>
#include <cmath>

namespace vorta {

namespace {
constexpr double kMaxOffsetHours = 24.0;
} // namespace

int utcOffsetMinutesOf(QStringView typed)
{
    // Beyond a day either way no offset makes sense; held there, a huge number still reads as
    // out of range instead of overflowing the minutes.
    double hours = numericValue(typed);
    hours = std::isfinite(hours) ? std::clamp(hours, -kMaxOffsetHours, kMaxOffsetHours) : 0.0;
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
