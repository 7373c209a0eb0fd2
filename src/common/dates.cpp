#include "common/dates.h"


#include <QRegularExpression>

#include <cmath>
#include <initializer_list>

namespace vorta {

namespace {

struct DigitField
{
    int value, width;
};

// Zero-padded fields of non-negative numbers joined by a separator ("02/03/2021", "14:05"),
// written by hand: listings and exports format a date and a time for every row, and the
// general formatter costs several times more.
QString joinDigits(std::initializer_list<DigitField> fields, char16_t separator)
{
    QString text;
    text.reserve(10);
    for (const DigitField &field : fields) {
        if (!text.isEmpty())
            text += QChar(separator);
        char16_t digits[4];
        int value = field.value;
        for (int i = field.width - 1; i >= 0; --i) {
            digits[i] = char16_t(u'0' + value % 10);
            value /= 10;
        }
        text.append(reinterpret_cast<const QChar *>(digits), field.width);
    }
    return text;
}

// The value of the two-digit field at position at, -1 when it is not two digits.
int twoDigits(QStringView text, qsizetype at)
{
    const char16_t a = text[at].unicode();
    const char16_t b = text[at + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a - u'0') * 10 + (b - u'0');
}

// "yyyy-MM-dd HH:mm:ss", the form every row of the log is stored in, read without the general
// parser: listings and exports read it for every row.
QDateTime storedFormInstant(QStringView t)
{
    if (t.size() != 19 || t[4] != u'-' || t[7] != u'-' || t[10] != u' ' || t[13] != u':' || t[16] != u':')
        return {};
    const int century = twoDigits(t, 0), year = twoDigits(t, 2), month = twoDigits(t, 5), day = twoDigits(t, 8);
    const int hour = twoDigits(t, 11), minute = twoDigits(t, 14), second = twoDigits(t, 17);
    if (century < 0 || year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return {};
    const QDate date(century * 100 + year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

} // namespace

QString formatDate(const QDate &date)
{
    if (!date.isValid() || date.year() < 0 || date.year() > 9999)
        return date.toString(QStringLiteral("dd/MM/yyyy"));
    return joinDigits({{date.day(), 2}, {date.month(), 2}, {date.year(), 4}}, u'/');
}

QString formatTime(const QTime &time)
{
    if (!time.isValid())
        return time.toString(QStringLiteral("HH:mm:ss"));
    return joinDigits({{time.hour(), 2}, {time.minute(), 2}, {time.second(), 2}}, u':');
}

QString formatHourMinute(const QTime &time)
{
    if (!time.isValid())
        return time.toString(QStringLiteral("HH:mm"));
    return joinDigits({{time.hour(), 2}, {time.minute(), 2}}, u':');
}

QDateTime utcClock(const QDateTime &localNow, int offsetMinutes)
{
    // Work on the wall-clock value as if it were UTC, so a daylight-saving change of the local
    // zone never shifts the result by another hour.
    const QDateTime wall(localNow.date(), localNow.time(), Qt::UTC);
    return wall.addSecs(-qint64(offsetMinutes) * 60);
}

qint64 utcClockSkewSeconds(const QDateTime &localNow, int offsetMinutes)
{
    return localNow.toUTC().secsTo(utcClock(localNow, offsetMinutes));
}

std::optional<QString> utcClockSkewText(const QDateTime &localNow, int offsetMinutes)
{
    constexpr qint64 kToleranceSeconds = 60;
    const qint64 seconds = std::abs(utcClockSkewSeconds(localNow, offsetMinutes));
    if (seconds <= kToleranceSeconds)
        return std::nullopt;
    const qint64 minutes = (seconds + 30) / 60;
    return minutes % 60 == 0 ? QStringLiteral("%1 h").arg(minutes / 60) : QStringLiteral("%1 min").arg(minutes);
}

int systemUtcOffsetMinutes()
{
    return int(std::lround(QDateTime::currentDateTime().offsetFromUtc() / 60.0));
}

QString toStoredInstant(const QDateTime &instant)
{
    // By hand as well: an import stores one for every QSO of the file.
    const QDate date = instant.date();
    if (!instant.isValid() || date.year() < 0 || date.year() > 9999)
        return instant.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QTime time = instant.time();
    return joinDigits({{date.year(), 4}, {date.month(), 2}, {date.day(), 2}}, u'-') + u' '
           + joinDigits({{time.hour(), 2}, {time.minute(), 2}, {time.second(), 2}}, u':');
}

QDateTime fromStoredInstant(const QString &text)
{
    const QString t = text.trimmed();
    if (QDateTime instant = storedFormInstant(t); instant.isValid())
        return instant;
    // Date and time are read apart and joined in UTC: read as one local value, an instant in
    // the hour that the local clock skips when daylight-saving time starts would be moved.
    const qsizetype blank = t.indexOf(u' ');
    const QString datePart = blank < 0 ? t : t.left(blank);
    const QString timePart = blank < 0 ? QString() : t.mid(blank + 1);
    for (const auto *dateFormat : {"yyyy-MM-dd", "dd/MM/yyyy"}) {
        const QDate date = QDate::fromString(datePart, QLatin1String(dateFormat));
        if (!date.isValid())
            continue;
        if (blank < 0)
            return QDateTime(date, QTime(0, 0), Qt::UTC);
        for (const auto *timeFormat : {"HH:mm:ss", "HH:mm"}) {
            const QTime time = QTime::fromString(timePart, QLatin1String(timeFormat));
            if (time.isValid())
                return QDateTime(date, time, Qt::UTC);
        }
    }
    return {};
}

std::optional<QDate> parseDayFirstDate(const QString &text)
{
    // "dd/mm/yyyy" without the pattern: an import reads one for every QSO of the file.
    if (text.size() == 10 && text[2] == u'/' && text[5] == u'/') {
        const int day = twoDigits(text, 0), month = twoDigits(text, 3);
        const int century = twoDigits(text, 6), year = twoDigits(text, 8);
        if (day >= 0 && month >= 0 && century >= 0 && year >= 0) {
            if (const QDate date(century * 100 + year, month, day); date.isValid())
                return date;
            return std::nullopt;
        }
    }
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
    // "hh:mm", the form the log stores, without the pattern: it is read for every listed row.
    if (text.size() == 5 && text[2] == u':') {
        const int hour = twoDigits(text, 0), minute = twoDigits(text, 3);
        if (hour >= 0 && minute >= 0) {
            if (const QTime time(hour, minute); time.isValid())
                return time;
            return std::nullopt;
        }
    }
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
