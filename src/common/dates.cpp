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

namespace {

// The digits of text from position at, as a number; -1 unless they are all digits.
int digitsAt(QStringView text, qsizetype at, qsizetype count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

void appendDigits(QString &out, int value, int count)
{
    for (int divisor = count == 4 ? 1000 : 10; divisor > 0; divisor /= 10)
        out += QChar(u'0' + (value / divisor) % 10);
}

} // namespace

QString formatHourMinute(const QTime &time)
{
    if (!time.isValid())
        return time.toString(QStringLiteral("HH:mm"));
    QString out;
    out.reserve(5);
    appendDigits(out, time.hour(), 2);
    out += u':';
    appendDigits(out, time.minute(), 2);
    return out;
}

QString toStoredInstant(const QDateTime &instant)
{
    // Written by hand: imports store this for every QSO, and the general formatter is slow.
    if (!instant.isValid() || instant.date().year() < 0 || instant.date().year() > 9999)
        return instant.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QDate d = instant.date();
    const QTime t = instant.time();
    QString out;
    out.reserve(19);
    appendDigits(out, d.year(), 4);
    out += u'-';
    appendDigits(out, d.month(), 2);
    out += u'-';
    appendDigits(out, d.day(), 2);
    out += u' ';
    appendDigits(out, t.hour(), 2);
    out += u':';
    appendDigits(out, t.minute(), 2);
    out += u':';
    appendDigits(out, t.second(), 2);
    return out;
}

QDateTime fromStoredInstant(const QString &text)
{
    const QString t = text.trimmed();
    // The stored form itself, read by hand and straight in UTC: the general parser works in
    // local time, which costs a time-zone lookup per call.
    if (t.size() == 19 && t[4] == u'-' && t[7] == u'-' && t[10] == u' ' && t[13] == u':' && t[16] == u':') {
        const int year = digitsAt(t, 0, 4), month = digitsAt(t, 5, 2), day = digitsAt(t, 8, 2);
        const int hour = digitsAt(t, 11, 2), minute = digitsAt(t, 14, 2), second = digitsAt(t, 17, 2);
        const QDate date(year, month, day);
        const QTime time(hour, minute, second);
        if (year >= 0 && month >= 0 && day >= 0 && date.isValid() && time.isValid())
            return QDateTime(date, time, Qt::UTC);
    }
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
    // The common "dd/mm/yyyy" without the general pattern.
    if (text.size() == 10 && text[2] == u'/' && text[5] == u'/') {
        const int day = digitsAt(text, 0, 2), month = digitsAt(text, 3, 2), year = digitsAt(text, 6, 4);
        if (day >= 0 && month >= 0 && year >= 0) {
            const QDate date(year, month, day);
            if (!date.isValid())
                return std::nullopt;
            return date;
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
    // The common "hh:mm" without the general pattern.
    if (text.size() == 5 && text[2] == u':') {
        const int hour = digitsAt(text, 0, 2), minute = digitsAt(text, 3, 2);
        if (hour >= 0 && minute >= 0) {
            const QTime time(hour, minute);
            if (!time.isValid())
                return std::nullopt;
            return time;
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
