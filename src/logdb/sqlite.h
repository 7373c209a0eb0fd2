// A thin RAII layer over SQLite's C API: a database handle, prepared statements with bound
// parameters, and a transaction guard. Every failure becomes a DbError carrying SQLite's text.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vorta::db {

class DbError : public std::runtime_error
{
public:
    // code: SQLite's result code, 0 for a failure found outside SQLite.
    explicit DbError(const QString &message, int code = 0);
    QString message() const { return QString::fromUtf8(what()); }
    // Another connection held the file locked for longer than the busy timeout.
    bool isBusy() const;
    // SQLite found the file's pages damaged.
    bool isCorrupt() const;
    // The system would not let the file be opened or read (no permission, an I/O error of the
    // disk, not a plain file): nothing is known about its contents.
    bool isUnreadable() const;

private:
    int m_code = 0;
};

class Database
{
public:
    enum class Mode { ReadOnly, ReadWrite };
    // Opens an existing file; never creates one.
    Database(const QString &path, Mode mode);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    sqlite3 *handle() const { return m_db; }
    // How long each statement waits for a file that another connection holds locked, instead
    // of the short default wait.
    void setBusyTimeout(int milliseconds);
    void exec(const char *sql);
    qint64 lastInsertId() const;
    int changes() const;

private:
    sqlite3 *m_db = nullptr;
};

class Statement
{
public:
    Statement(Database &db, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Parameters are numbered from 1. A null QString binds SQL NULL.
    Statement &bind(int index, const QString &value);
    Statement &bind(int index, qint64 value);
    // Steps once: true while a row is available.
    bool step();
    void reset();
    // Runs a statement that returns no rows.
    void run();

    int columnCount() const;
    QString columnName(int column) const;
    // NULL comes back as a null QString, distinct from the empty text.
    QString text(int column) const;
    // The column's UTF-8 text as SQLite holds it, with no QString made: for passes over many
    // rows that keep few of the values they look at. NULL comes back as a null view, the empty
    // text as an empty but non-null one. The bytes belong to the statement and stay valid only
    // until the next step() or reset(); copy what must outlive that.
    QByteArrayView utf8(int column) const;
    qint64 integer(int column) const;
    bool isNull(int column) const;

private:
    Database &m_db;
    sqlite3_stmt *m_stmt = nullptr;
    std::vector<QByteArray> m_texts; // the bound texts, by parameter
};

// Rolls back unless commit() was called, so a failed step leaves the log as it was.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace vorta::db
