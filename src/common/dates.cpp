#include "common/dates.h"


#include <cmath>

namespace vorta {

QString formatDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString formatTime(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString formatHourMinute(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

QDateTime utcClock(const QDateTime &localNow, int offsetHours)
{
    // Work on the wall-clock value as if it were UTC, so a daylight-saving change of the local
    // zone never shifts the result by another hour.
    const QDateTime wall(localNow.date(), localNow.time(), Qt::UTC);
    return wall.addSecs(-qint64(offsetHours) * 3600);
}

int systemUtcOffsetHours()
{
    return int(std::lround(QDateTime::currentDateTime().offsetFromUtc() / 3600.0));
}

QString toStoredInstant(const QDateTime &instant)
{
    return instant.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime fromStoredInstant(const QString &text)
{
    const QString t = text.trimmed();
    for (const auto *format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd",
                               "dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm", "dd/MM/yyyy"}) {
        QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(format));
        if (dt.isValid()) {
            dt.setTimeSpec(Qt::UTC);
            return dt;
        }
    }
    return {};
}

} // namespace vorta
