#include "logdb/logdatabase.h"

#include "common/dates.h"
#include "logdb/sqlite.h"

#include <QFileInfo>
#include <QSet>

namespace vorta {

using db::Database;
using db::DbError;
using db::Statement;

namespace {

QString buildSelectList()
{
    QStringList names;
    for (const char *column : kQsoColumns)
        names << u'[' + QString::fromLatin1(column) + u']';
    return names.join(QStringLiteral(", "));
}

QString buildInsert(const char *table)
{
    QStringList names;
    QStringList marks;
    for (std::size_t i = 1; i < kQsoColumns.size(); ++i) {
        names << u'[' + QString::fromLatin1(kQsoColumns[i]) + u']';
        marks << QStringLiteral("?%1").arg(i);
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QLatin1String(table), names.join(u','), marks.join(u','));
}

std::optional<QsoRecord> firstRecord(const QString &path, const QString &sql)
{
    Database database(path, Database::Mode::ReadOnly);
    Statement statement(database, sql.toUtf8().constData());
    if (!statement.step())
        return std::nullopt;
    return readRecord(statement);
}

} // namespace

const QString &recordSelectList()
{
    static const QString list = buildSelectList();
    return list;
}

QsoRecord readRecord(const Statement &s)
{
    std::array<QString, 20> values;
    for (int i = 0; i < 20; ++i)
        values[i] = s.text(i + 1);
    return recordFromValues(s.integer(0), values);
}

namespace {

// Why the open database is not a Vorta log; empty when it has both tables with every column.
QString missingColumns(Database &database)
{
    for (const char *table : {"Tabla1", "Tabla2"}) {
        Statement info(database, "SELECT name FROM pragma_table_info(?1)");
        info.bind(1, QString::fromLatin1(table));
        QSet<QString> present;
        while (info.step())
            present.insert(info.text(0));
        for (const char *column : kQsoColumns)
            if (!present.contains(QString::fromLatin1(column)))
                return QStringLiteral("falta la columna %1 de %2").arg(QString::fromLatin1(column),
                                                                      QString::fromLatin1(table));
    }
    return {};
}

} // namespace

LogCheck examineLog(const QString &path)
{
    using Verdict = LogCheck::Verdict;
    // Anything else at the path (a folder, a file the system refuses) is left to SQLite,
    // whose failure then carries the system's reason.
    if (!QFileInfo::exists(path))
        return {Verdict::Missing, QStringLiteral("no existe")};
    try {
        Database database(path, Database::Mode::ReadOnly);
        if (const QString why = missingColumns(database); !why.isEmpty())
            return {Verdict::NotALog, why};
        // quick_check reads every page and answers "ok", or lists what it found wrong (the
        // first few problems are enough to name the damage).
        Statement check(database, "PRAGMA quick_check(3)");
        QStringList found;
        while (check.step())
            found << check.text(0);
        if (found != QStringList{QStringLiteral("ok")})
            return {Verdict::Damaged, found.join(QStringLiteral("; "))};
    } catch (const DbError &error) {
        if (error.isBusy())
            return {Verdict::Locked, error.message()};
        if (error.isCorrupt())
            return {Verdict::Damaged, error.message()};
        if (error.isUnreadable())
            return {Verdict::Unreadable, error.message()};
        return {Verdict::NotALog, error.message()};
    }
    return {};
}

qint64 insertQso(const QString &path, const QsoRecord &record)
{
    Database database(path, Database::Mode::ReadWrite);
    database.setBusyTimeout(kQsoSaveWaitMs);
    return QsoInserter(database, QsoInserter::Table::Log).insert(record);
}

QsoInserter::QsoInserter(Database &database, Table table) : m_database(database)
{
    static const QByteArray logSql = buildInsert("Tabla1").toUtf8();
    static const QByteArray stagingSql = buildInsert("Tabla2").toUtf8();
    m_insert = std::make_unique<Statement>(database, (table == Table::Log ? logSql : stagingSql).constData());
}

QsoInserter::~QsoInserter() = default;

qint64 QsoInserter::insert(const QsoRecord &record)
{
    const auto values = recordValues(record);
    m_insert->reset();
    for (int i = 0; i < 20; ++i)
        m_insert->bind(i + 1, values[std::size_t(i)]);
    m_insert->run();
    return m_database.lastInsertId();
}

std::optional<QsoRecord> lastQso(const QString &path)
{
    static const QString sql = QStringLiteral("SELECT %1 FROM Tabla1 ORDER BY [Fecha] DESC, [Hora] DESC, "
                                              "[Id] DESC LIMIT 1").arg(recordSelectList());
    return firstRecord(path, sql);
}

std::optional<QsoRecord> newestQso(const QString &path)
{
    static const QString sql =
        QStringLiteral("SELECT %1 FROM Tabla1 ORDER BY [Id] DESC LIMIT 1").arg(recordSelectList());
    return firstRecord(path, sql);
}

LastRecordView lastRecordView(const std::optional<QsoRecord> &record)
{
    if (!record)
        return {};
    LastRecordView view;
    view.station = record->estacion;
    const QDateTime instant = fromStoredInstant(record->fecha);
    view.date = instant.isValid() ? formatDate(instant.date()) : record->fecha;
    const auto time = parseClockTime(record->hora);
    view.time = time ? formatHourMinute(*time) : record->hora;
    view.uplink = record->frecU;
    view.satellite = record->satelite;
    view.orbit = record->orbita;
    return view;
}

} // namespace vorta
