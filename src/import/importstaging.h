// Staging of import records in Tabla2: the own call of each record with its two warnings, the
// duplicate test against Tabla1, and the staged row with its duplicate mark.
#pragma once

#include "config/languages.h"
#include "import/adifreader.h"
#include "logdb/qsorecord.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace vorta {

namespace db {
class Database;
class Statement;
} // namespace db

// The own call of each record of one import. A record without STATION_CALLSIGN takes the eQSL
// owner call of a download, else the configured call; a record with another call than the
// configured one keeps its own. Each of the two warnings is given at most once per import.
class StationCallRule
{
public:
    StationCallRule(const QString &configuredCall, Language language);
    // The own call for the record; a warning to show is appended to warnings.
    QString ownCall(const ImportRecord &record, const AdifHeader &header, QStringList &warnings);

private:
    QString m_configured;
    Language m_language;
    bool m_missingTold = false, m_otherTold = false;
};

// Finds the row of Tabla1 that a QSO repeats, on a log the caller holds open, for one import.
class DuplicateFinder
{
public:
    explicit DuplicateFinder(db::Database &database);
    ~DuplicateFinder();
    DuplicateFinder(const DuplicateFinder &) = delete;
    DuplicateFinder &operator=(const DuplicateFinder &) = delete;

    // The Id of the row that the QSO repeats: the same station and own call, the same uplink
    // mode as an ADIF file writes it (every sideband mode being "SSB", as confirmations send it
    // back), the same satellite (an empty one on either side matches any), all with case aside,
    // and less than 10 minutes from moment (a UTC instant). Of several such rows the nearest in
    // time, then the first stored. A row is the duplicate of one QSO of an import only: a later
    // QSO that would repeat it is matched against the other rows, else it is new, so that two
    // QSOs of the file (two satellites in consecutive passes) never both land on one row and one
    // of them is lost. Nothing when there is none.
    std::optional<qint64> find(const QString &station, const QString &ownCall, const QString &mode,
                               const QString &satellite, const QDateTime &moment);

private:
    // A logged row as the test sees it: mode and satellite case-folded and numbered (0 for
    // none), its moment in minutes.
    struct Candidate
    {
        quint64 key = 0; // of station and own call, when the whole log is read
        qint64 id = 0;
        qint64 minutes = 0;
        int mode = 0;
        int satellite = 0;
    };
    static constexpr qint64 kNoMoment = std::numeric_limits<qint64>::min();
    int nameId(const QString &name);
    // The candidate of a row whose columns from first on are Id, ModoU, Fecha, Hora, Satelite.
    Candidate candidate(const db::Statement &row, int first);
    void readWholeLog();

    db::Database &m_database;
    std::unique_ptr<db::Statement> m_select; // the rows of one station and own call
    std::unique_ptr<db::Statement> m_pairOf; // the station and own call of one row
    QHash<QString, int> m_names;
    std::vector<Candidate> m_wholeLog; // by key, then Id, once read
    QSet<qint64> m_taken;              // rows already found for a QSO of this import
    bool m_haveWholeLog = false;
    // Whether some logged call holds lower-case letters (typed in the record editor): the
    // index cannot find it by the file's upper-case call, so the whole log is read at once.
    bool mixedCaseCalls();
    std::optional<bool> m_mixedCase;
    qint64 m_lookups = 0;
    qint64 m_logRows = 0;
};

// An uplink mode as the duplicate test compares it: as an ADIF file carries it, every sideband
// mode being "SSB" (confirmations send a QSO logged in USB or LSB back so), case aside.
QString comparedMode(const QString &mode);

// The duplicate mark of a staged row: "dupe" followed by the Id of the row it repeats.
QString duplicateMark(qint64 id);
// The Id a duplicate mark names; nothing for a new QSO's empty mark.
std::optional<qint64> markedDuplicate(const QString &mark);

// The staged row of a record: frequencies "000.000", reports cut to 3 characters, notes to
// 100, QSL "1" for "Y", the downlink mode opposite to the uplink's sideband, Fecha the stored
// instant and Hora "hh:mm", the duplicate mark in Nombre Log. The record's moment must be valid.
QsoRecord stagedRow(const ImportRecord &record, const QString &ownCall, std::optional<qint64> duplicateOf);

// Columns of a staged row that hold a default because the file did not carry them; a loaded
// duplicate keeps the row's own values there.
enum NotCarried : quint8 {
    UplinkNotCarried = 1,
    DownlinkNotCarried = 2,
    ReportSentNotCarried = 4,
    ReportReceivedNotCarried = 8,
};
quint8 notCarried(const ImportRecord &record);
// The not-carried columns of the staged rows, by their Id in Tabla2 (rows with none are absent).
using StagedDefaults = QHash<qint64, quint8>;

} // namespace vorta
