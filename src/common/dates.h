// Dates and times as the log and the windows show them. The log is kept in UTC; the operator's
// clock is local time, and the configured UTC offset (local minus UTC, whole hours) links them.
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace vorta {

QString formatDate(const QDate &date);      // "dd/mm/yyyy"
QString formatTime(const QTime &time);      // "hh:mm:ss"
QString formatHourMinute(const QTime &time); // "hh:mm"

// The UTC clock: local time minus the offset in minutes. The result is a plain wall-clock value
// (no time-zone arithmetic is applied to it afterwards).
QDateTime utcClock(const QDateTime &localNow, int offsetMinutes);

// How far the UTC clock is ahead of the machine's own UTC (behind when negative), in seconds:
// an hour when summer time began or ended and the configured offset did not follow.
qint64 utcClockSkewSeconds(const QDateTime &localNow, int offsetMinutes);
// How far apart the two clocks are, as the operator is told ("1 h", "90 min"), when it is more
// than a minute (the minute the UTC clock shows is then wrong); nothing otherwise.
std::optional<QString> utcClockSkewText(const QDateTime &localNow, int offsetMinutes);

// The offset of this machine's time zone right now, in minutes (local minus UTC).
int systemUtcOffsetMinutes();

// The stored form of the QSO instant: "yyyy-MM-dd HH:mm:ss", which sorts chronologically.
QString toStoredInstant(const QDateTime &instant);
// Reads a stored instant; also accepts a day-first "dd/mm/yyyy[ hh:mm[:ss]]" text.
// Returns an invalid QDateTime for anything else.
QDateTime fromStoredInstant(const QString &text);

// A date typed day first: "d/m/yyyy" or "d/m/yy" (years 00-99 are 2000-2099), with one or
// two digits for day and month. Nothing when it is not a real date (31/02/2021).
std::optional<QDate> parseDayFirstDate(const QString &text);
// A time typed "h:mm" or "h:mm:ss" (24-hour clock). Nothing when it is not a real time.
std::optional<QTime> parseClockTime(const QString &text);

} // namespace vorta
