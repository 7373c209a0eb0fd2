#include "common/dates.h"


#include <QRegularExpression>

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

QDateTime utcClock(const QDateTime &localNow, int offsetMinutes)
{
    // Work on the wall-clock value as if it were UTC, so a daylight-saving change of the local
    // zone never shifts the result by another hour.
    const QDateTime wall(localNow.date(), localNow.time(), Qt::UTC);
    return wall.addSecs(-qint64(offsetMinutes) * 60);
}

int systemUtcOffsetMinutes()
{
    return int(std::lround(QDateTime::currentDateTime().offsetFromUtc() / 60.0));
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

std::optional<QDate> parseDayFirstDate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += 2000;
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseClockTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

} // namespace vorta
