#include "logdb/sqlite.h"

#include <sqlite3.h>

#include <QFileInfo>

#include <cstring>

namespace vorta::db {

namespace {

bool unreadableCode(int code)
{
    const int primary = code & 0xFF;
    return primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR || primary == SQLITE_PERM;
}

} // namespace

DbError::DbError(const QString &message, int code) : std::runtime_error(message.toStdString()), m_code(code) {}

bool DbError::isBusy() const
{
    const int primary = m_code & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool DbError::isCorrupt() const
{
    return (m_code & 0xFF) == SQLITE_CORRUPT;
}

bool DbError::isUnreadable() const
{
    return unreadableCode(m_code);
}

namespace {

// SQLite's text for a failure, followed, where the system refused an open or a read, by the
// system's own reason: "unable to open database file" alone does not tell the operator that a
// disk was mounted with the wrong owner.
QString describe(sqlite3 *db)
{
    if (!db)
        return QStringLiteral("out of memory");
    QString message = QString::fromUtf8(sqlite3_errmsg(db));
    if (unreadableCode(sqlite3_extended_errcode(db))) {
        if (const int error = sqlite3_system_errno(db); error != 0)
            message += QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(error)) + u')';
    }
    return message;
}

// How long an operation waits for a file that another program holds locked: long enough for a
// backup tool or another Vorta to finish a write, short enough not to freeze a pass.
constexpr int kBusyTimeoutMs = 2000;

[[noreturn]] void fail(sqlite3 *db, const char *what)
{
    throw DbError(QString::fromUtf8(what) + QStringLiteral(": ") + describe(db),
                  db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM);
}

// A program that ended in the middle of a write (killed, or a power cut) leaves a journal
// beside the log, from which SQLite restores the log as it was before that write. Only a
// connection that may write can do so; a read-only one fails instead, and the log would look
// unreadable. So before reading, such a journal is rolled back by a short read-write look.
// The journal of a program still in the middle of its write is no leftover: the look then
// finds the log locked, or reads it as it stands, and changes nothing.
void rollBackLeftJournal(const QString &path)
{
    if (!QFileInfo::exists(path + QStringLiteral("-journal")))
        return;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr)
        == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}

} // namespace

Database::Database(const QString &path, Mode mode)
{
    if (mode == Mode::ReadOnly)
        rollBackLeftJournal(path);
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE)
                      | SQLITE_OPEN_NOMUTEX;
    if (const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr); rc != SQLITE_OK) {
        const QString message = describe(m_db);
        const int code = m_db ? sqlite3_extended_errcode(m_db) : rc;
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(message, code);
    }
    // Another program holding the file for a moment should not fail an operation at once.
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
}

void Database::setBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

Database::~Database()
{
    sqlite3_close(m_db);
}

void Database::exec(const char *sql)
{
    char *error = nullptr;
    if (const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error); rc != SQLITE_OK) {
        sqlite3_free(error); // the same text as the connection's own message
        const QString message = describe(m_db);
        throw DbError(message, sqlite3_extended_errcode(m_db) != SQLITE_OK ? sqlite3_extended_errcode(m_db) : rc);
    }
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

Statement::Statement(Database &db, const char *sql) : m_db(db)
{
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail(db.handle(), "prepare");
    m_texts.resize(std::size_t(sqlite3_bind_parameter_count(m_stmt)));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement &Statement::bind(int index, const QString &value)
{
    int rc;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        // The bytes stay with the statement until the parameter is bound anew, so SQLite reads
        // them where they are instead of copying each value of each row once more. A bind
        // that succeeded named an existing parameter.
        QByteArray utf8 = value.toUtf8();
        rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
        if (rc == SQLITE_OK)
            m_texts[std::size_t(index - 1)] = std::move(utf8);
    }
    if (rc != SQLITE_OK)
        fail(m_db.handle(), "bind");
    return *this;
}

Statement &Statement::bind(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        fail(m_db.handle(), "bind");
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(m_db.handle(), "step");
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Statement::run()
{
    while (step()) {
    }
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString Statement::text(int column) const
{
    // Through utf8(), which asks SQLite once per value in the common case: whole records are
    // read this way for every row of an export.
    const QByteArrayView bytes = utf8(column);
    if (bytes.isNull())
        return {};
    QString value = QString::fromUtf8(bytes);
    if (value.isNull())
        value = QStringLiteral(""); // an empty text stays distinct from NULL
    return value;
}

QByteArrayView Statement::utf8(int column) const
{
    // One call for the common case: only NULL, or a failed conversion, gives no pointer.
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    if (!data) {
        if (sqlite3_column_type(m_stmt, column) == SQLITE_NULL)
            return {};
        if (sqlite3_errcode(m_db.handle()) == SQLITE_NOMEM)
            fail(m_db.handle(), "column");
        return QByteArrayView("", 0);
    }
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Transaction::Transaction(Database &db) : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.exec("ROLLBACK");
        } catch (const DbError &) {
            // Nothing more can be done here; SQLite rolls back on close as well.
        }
    }
}

void Transaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

} // namespace vorta::db
