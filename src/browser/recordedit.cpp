#include "browser/recordedit.h"

#include "common/dates.h"
#include "common/textvalue.h"
#include "config/languages.h"
#include "logdb/logdatabase.h"
#include "logdb/sqlite.h"
#include "tracking/locator.h"

namespace vorta {

using db::Database;
using db::DbError;
using db::Statement;

namespace {

// Every column is written as text; a value that was never set is the empty text, not NULL.
QString columnText(const QString &value)
{
    return value.isNull() ? QString(QLatin1String("")) : value;
}

QString flag(bool set)
{
    return set ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

EditorFields editorFieldsFor(const QsoRecord &r, const QString &ownLocator)
{
    EditorFields f;
    f.myCall = r.myCall;
    f.station = r.estacion;
    const QDateTime instant = fromStoredInstant(r.fecha);
    f.date = instant.isValid() ? formatDate(instant.date()) : r.fecha.left(10);
    f.time = editorTimeText(r.hora);
    f.qslSent = r.qsle == QLatin1String("1");
    f.qslReceived = r.qslr == QLatin1String("1");
    f.reportSent = r.rste;
    f.reportReceived = r.rstr;
    f.satellite = r.satelite;
    f.orbit = r.orbita;
    f.uplinkFreq = r.frecU;
    f.uplinkMode = r.modoU;
    f.downlinkFreq = r.frecD;
    f.downlinkMode = r.modoD;
    f.locator = r.operador;
    if (!r.operador.isEmpty() && !ownLocator.isEmpty() && r.operador.size() == 4)
        f.locator += QStringLiteral("AA");
    f.ownLocator = r.nombreLog;
    f.azimuth = r.m2;
    f.elevation = r.m3;
    f.notes = r.obs;
    return f;
}

std::optional<QString> editorDistanceText(const QsoRecord &record, const QString &ownLocator)
{
    return distanceText(record.operador, ownLocator);
}

QString editorTimeDigits(const QString &systemTime)
{
    if (!systemTime.contains(u'M')) {
        QString digits = systemTime;
        return digits.remove(u':');
    }
    // A 12-hour clock: only the part before the mark counts, and the hour is all but the last
    // four digits (minutes and seconds).
    QString digits = systemTime.section(u' ', 0, 0);
    digits.remove(u':');
    const QString rest = digits.right(4);
    const int hour = digits.left(digits.size() - 4).toInt();
    if (systemTime.contains(u'P')) {
        int h = hour == 12 ? 12 : hour + 12;
        if (h == 24)
            h = 0;
        return QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')) + rest;
    }
    if (systemTime.contains(u'A')) {
        if (hour == 12)
            return QStringLiteral("00") + rest;
        if (digits.size() == 5)
            return u'0' + digits;
    }
    return digits;
}

QString editorTimeText(const QString &hora)
{
    const std::optional<QTime> time = parseClockTime(hora);
    if (!time)
        return hora;
    const QString digits = editorTimeDigits(formatTime(*time));
    return digits.left(2) + u':' + digits.mid(2, 2);
}

EditorCheck checkEditorFields(const EditorFields &f)
{
    if (!f.locator.isEmpty() && !isLocatorFormat(f.locator))
        return {EditorField::Locator, text(Txt::MsgBadLocator, Language::Spanish)};
    if (f.myCall.toUpper().isEmpty())
        return {EditorField::MyCall, text(Txt::MsgEditorMyCallEmpty, Language::Spanish)};
    if (f.station.toUpper().isEmpty())
        return {EditorField::Station, text(Txt::MsgEditorStationEmpty, Language::Spanish)};
    if (!parseDayFirstDate(f.date.toUpper()))
        return {EditorField::Date, text(Txt::MsgEditorBadDate, Language::Spanish)};
    if (!parseClockTime(f.time.toUpper()))
        return {EditorField::Time, text(Txt::MsgEditorBadTime, Language::Spanish)};
    if (numericValue(f.azimuth) > 359)
        return {EditorField::Azimuth, text(Txt::MsgEditorAzimuth, Language::Spanish)};
    if (numericValue(f.elevation) > 90)
        return {EditorField::Elevation, text(Txt::MsgEditorElevation, Language::Spanish)};
    return {};
}

EditorCheck saveRecord(const QString &path, qint64 id, const EditorFields &f)
{
    const EditorCheck check = checkEditorFields(f);
    if (!check.ok())
        return check;
    const QDate date = *parseDayFirstDate(f.date.toUpper());
    const QTime time = *parseClockTime(f.time.toUpper());

    Database database(path, Database::Mode::ReadWrite);
    Statement update(database,
                     "UPDATE Tabla1 SET [ModoU]=?1, [FrecU]=?2, [MyCall]=?3, [Estacion]=?4, "
                     "[Fecha]=?5, [Hora]=?6, [RSTe]=?7, [ModoD]=?8, [RSTr]=?9, [FrecD]=?10, "
                     "[Obs]=?11, [QSLe]=?12, [QSLr]=?13, [Modalidad]=?14, [Nombre Log]=?15, "
                     "[Operador]=?16, [Satelite]=?17, [Orbita]=?18, [M2]=?19, [M3]=?20 "
                     "WHERE [Id]=?21");
    update.bind(1, columnText(f.uplinkMode))
        .bind(2, columnText(f.uplinkFreq))
        .bind(3, columnText(f.myCall))
        .bind(4, columnText(f.station))
        .bind(5, toStoredInstant(QDateTime(date, time, Qt::UTC)))
        .bind(6, formatHourMinute(time))
        .bind(7, columnText(f.reportSent))
        .bind(8, columnText(f.downlinkMode))
        .bind(9, columnText(f.reportReceived))
        .bind(10, columnText(f.downlinkFreq))
        .bind(11, columnText(f.notes))
        .bind(12, flag(f.qslSent))
        .bind(13, flag(f.qslReceived))
        .bind(14, columnText(f.locator))
        .bind(15, columnText(f.ownLocator.toUpper()))
        .bind(16, columnText(f.locator))
        .bind(17, columnText(f.satellite))
        .bind(18, columnText(f.orbit))
        .bind(19, columnText(f.azimuth))
        .bind(20, columnText(f.elevation))
        .bind(21, id);
    update.run();
    return check;
}

bool deleteRecord(const QString &path, qint64 id)
{
    Database database(path, Database::Mode::ReadWrite);
    Statement remove(database, "DELETE FROM Tabla1 WHERE [Id]=?1");
    remove.bind(1, id);
    remove.run();
    return database.changes() > 0;
}

std::optional<QsoRecord> readRecordById(const QString &path, qint64 id)
{
    static const QByteArray sql =
        QStringLiteral("SELECT %1 FROM Tabla1 WHERE [Id]=?1").arg(recordSelectList()).toUtf8();
    Database database(path, Database::Mode::ReadOnly);
    Statement select(database, sql.constData());
    select.bind(1, id);
    if (!select.step())
        return std::nullopt;
    return readRecord(select);
}

QString deleteQuestion(const EditorFields &fields)
{
    return text(Txt::MsgEditorDeleteAsk, Language::Spanish, {{"$nombre$", fields.station}, {"$arch$", fields.satellite}});
}

QUrl qrzPage(const QString &call)
{
    return QUrl(QStringLiteral("https://www.qrz.com/db/")
                + QString::fromLatin1(QUrl::toPercentEncoding(call.trimmed())));
}

bool updateRecord(const QString &path, qint64 id, const QsoRecord &v)
{
    const QDateTime stored = fromStoredInstant(v.fecha);
    std::optional<QDate> date;
    if (stored.isValid())
        date = stored.date();
    else
        date = parseDayFirstDate(v.fecha);
    std::optional<QTime> time = parseClockTime(v.hora);
    if (!time && v.hora.trimmed().isEmpty() && stored.isValid())
        time = stored.time();
    if (!date || !time)
        throw DbError(QStringLiteral("Fecha u Hora ilegible en el QSO %1: '%2' '%3'")
                          .arg(id)
                          .arg(v.fecha, v.hora));

    Database database(path, Database::Mode::ReadWrite);
    Statement update(database,
                     "UPDATE Tabla1 SET [ModoU]=?1, [FrecU]=?2, [MyCall]=?3, [Estacion]=?4, "
                     "[Fecha]=?5, [Hora]=?6, [RSTe]=?7, [ModoD]=?8, [RSTr]=?9, [FrecD]=?10, "
                     "[Obs]=?11, [QSLe]=?12, [QSLr]=?13, [Modalidad]=?14, [Operador]=?15, "
                     "[Satelite]=?16, [Orbita]=?17 WHERE [Id]=?18");
    update.bind(1, columnText(v.modoU))
        .bind(2, columnText(v.frecU))
        .bind(3, columnText(v.myCall))
        .bind(4, columnText(v.estacion))
        .bind(5, toStoredInstant(QDateTime(*date, *time, Qt::UTC)))
        .bind(6, formatHourMinute(*time))
        .bind(7, columnText(v.rste))
        .bind(8, columnText(v.modoD))
        .bind(9, columnText(v.rstr))
        .bind(10, columnText(v.frecD))
        .bind(11, columnText(v.obs))
        .bind(12, columnText(v.qsle))
        .bind(13, columnText(v.qslr))
        .bind(14, columnText(v.modalidad))
        .bind(15, columnText(v.operador))
        .bind(16, columnText(v.satelite))
        .bind(17, columnText(v.orbita))
        .bind(18, id);
    update.run();
    return database.changes() > 0;
}

} // namespace vorta
