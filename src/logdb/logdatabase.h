// Reading and writing one log database file. Every call opens the file, works and closes it
// again, so a change of the current log takes effect at once and nothing is held between
// operations. Failures are thrown as db::DbError with a readable text.
#pragma once

#include "logdb/qsorecord.h"

#include <QString>

#include <memory>
#include <optional>

namespace vorta {

namespace db {
class Database;
class Statement;
} // namespace db

// What a look at a log file found when it was chosen.
struct LogCheck
{
    enum class Verdict {
        Sound,   // a Vorta log, whole
        Missing, // no file at the path
        Locked,  // another program kept it locked for longer than the busy timeout
        NotALog, // not SQLite, or without the tables and columns of a Vorta log
        Damaged, // a Vorta log some of whose pages are damaged (a truncated or garbled file)
        Unreadable, // the system would not open or read it (no permission, an I/O error, a folder)
    };
    Verdict verdict = Verdict::Sound;
    QString detail; // what is wrong, in SQLite's or our own words; empty when sound

    bool operator==(const LogCheck &) const = default;
};

// Checks that the file is a Vorta log (SQLite with Tabla1 and Tabla2 holding every column) and
// runs SQLite's quick check of its pages over it. Waits the busy timeout for a file that
// another program holds locked.
LogCheck examineLog(const QString &path);

// Appends the record to Tabla1 (its id is ignored) and returns the new Id. A QSO just worked
// waits up to kQsoSaveWaitMs for a log that another connection is writing, rather than fail
// after the short wait of other operations: an ADIF import holds the log for the whole of its
// load (some 2 s for 100 000 QSOs), and the QSO must not be refused for that.
qint64 insertQso(const QString &path, const QsoRecord &record);
constexpr int kQsoSaveWaitMs = 30000;

// Appends records to Tabla1, or to the staging table Tabla2 that has the same columns, on a log
// the caller holds open: many appends share one prepared statement and the caller's
// transaction.
class QsoInserter
{
public:
    enum class Table { Log, Staging };
    QsoInserter(db::Database &database, Table table);
    ~QsoInserter();
    QsoInserter(const QsoInserter &) = delete;
    QsoInserter &operator=(const QsoInserter &) = delete;
    // Appends the record (its id is ignored) and returns the new Id.
    qint64 insert(const QsoRecord &record);

private:
    db::Database &m_database;
    std::unique_ptr<db::Statement> m_insert;
};

// The last QSO in (Fecha, Hora, Id) order, read as one indexed query; nothing for an empty log.
std::optional<QsoRecord> lastQso(const QString &path);

// The row of Tabla1 with the highest Id (the one stored most recently); nothing when empty.
std::optional<QsoRecord> newestQso(const QString &path);

// The select list of every column, in table order, for queries that read whole records.
const QString &recordSelectList();
// A record from a statement whose columns are recordSelectList().
QsoRecord readRecord(const db::Statement &statement);

// What the last-record panel shows of a record: station, date "dd/mm/yyyy", time "hh:mm",
// uplink, satellite and orbit. All six empty for no record.
struct LastRecordView
{
    QString station, date, time, uplink, satellite, orbit;
    bool operator==(const LastRecordView &) const = default;
};
LastRecordView lastRecordView(const std::optional<QsoRecord> &record);

} // namespace vorta
