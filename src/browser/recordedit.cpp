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

enum Columns { AllColumns, KeepOwnColumns };

bool ownColumn(QLatin1String column)
{
    return column == QLatin1String("Nombre Log") || column == QLatin1String("M2") || column == QLatin1String("M3");
}

// The one statement that rewrites columns 1 to 20 of the row ?21 of Tabla1, parameter n being
// column n. With KeepOwnColumns the row keeps its Nombre Log, M2 and M3, and a column whose
// value is bound as NULL keeps its stored value.
QByteArray rewriteSql(Columns columns)
{
    QStringList sets;
    for (std::size_t i = 1; i < kQsoColumns.size(); ++i) {
        const QLatin1String column(kQsoColumns[i]);
        if (columns == AllColumns)
            sets << QStringLiteral("[%1]=?%2").arg(column).arg(i);
        else if (!ownColumn(column))
            sets << QStringLiteral("[%1]=COALESCE(?%2,[%1])").arg(column).arg(i);
    }
    return QStringLiteral("UPDATE Tabla1 SET %1 WHERE [Id]=?21").arg(sets.join(QStringLiteral(", "))).toUtf8();
}

// Binds the record (its id ignored) and runs the rewrite of row id. False when there was no
// such row.
bool rewriteRow(Database &database, Statement &update, qint64 id, const QsoRecord &record, Columns columns)
{
    const auto values = recordValues(record);
    update.reset();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QLatin1String column(kQsoColumns[i + 1]);
        if (columns == AllColumns)
            update.bind(int(i) + 1, columnText(values[i]));
        else if (!ownColumn(column))
            update.bind(int(i) + 1, values[i]);
    }
    update.bind(21, id);
    update.run();
    return database.changes() > 0;
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
    QsoRecord r;
    r.modoU = f.uplinkMode;
    r.frecU = f.uplinkFreq;
    r.myCall = f.myCall;
    r.estacion = f.station;
    r.fecha = toStoredInstant(QDateTime(date, time, Qt::UTC));
    r.hora = formatHourMinute(time);
    r.rste = f.reportSent;
    r.frecD = f.downlinkFreq;
    r.rstr = f.reportReceived;
    r.modoD = f.downlinkMode;
    r.obs = f.notes;
    r.qsle = flag(f.qslSent);
    r.qslr = flag(f.qslReceived);
    r.modalidad = f.locator; // the editor keeps the contact's locator in both columns
    r.nombreLog = f.ownLocator.toUpper();
    r.operador = f.locator;
    r.satelite = f.satellite;
    r.orbita = f.orbit;
    r.m2 = f.azimuth;
    r.m3 = f.elevation;
    static const QByteArray sql = rewriteSql(AllColumns);
    Database database(path, Database::Mode::ReadWrite);
    Statement update(database, sql.constData());
    if (!rewriteRow(database, update, id, r, AllColumns))
        return {EditorField::None, QString(), true};
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

RecordUpdater::RecordUpdater(Database &database) : m_database(database)
{
    static const QByteArray sql = rewriteSql(KeepOwnColumns);
    m_update = std::make_unique<Statement>(database, sql.constData());
}

RecordUpdater::~RecordUpdater() = default;

bool RecordUpdater::update(qint64 id, const QsoRecord &v)
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

    QsoRecord r = v;
    r.fecha = toStoredInstant(QDateTime(*date, *time, Qt::UTC));
    r.hora = formatHourMinute(*time);
    // A staged record carries a duplicate mark in Nombre Log and no antenna position: the row
    // keeps the own locator and the azimuth and elevation that were logged with it.
    return rewriteRow(m_database, *m_update, id, r, KeepOwnColumns);
}

bool updateRecord(const QString &path, qint64 id, const QsoRecord &values)
{
    Database database(path, Database::Mode::ReadWrite);
    return RecordUpdater(database).update(id, values);
}

} // namespace vorta
