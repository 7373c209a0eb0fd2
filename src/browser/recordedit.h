// The record editor without its window: what it shows for a row of the log, the checks of a
// save, and the writes (save, delete, and the rewrite of a row that the ADIF import uses for
// duplicates). Every database call opens the log, works and closes it; failures are thrown as
// db::DbError. Values are bound, never pasted into SQL, so a quote is just a character.
#pragma once

#include "logdb/qsorecord.h"

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace vorta {

namespace db {
class Database;
class Statement;
} // namespace db

// The texts of the editor's fields as the window shows them, and its two QSL boxes.
struct EditorFields
{
    QString myCall, station;
    QString date; // "dd/mm/yyyy"
    QString time; // "hh:mm"
    bool qslSent = false, qslReceived = false;
    QString reportSent, reportReceived, satellite, orbit, uplinkFreq, uplinkMode, downlinkFreq,
        downlinkMode;
    QString locator;    // the other station's grid locator (Operador)
    QString ownLocator; // the own locator stored with the QSO (Nombre Log)
    QString azimuth, elevation, notes;

    bool operator==(const EditorFields &) const = default;
};

// The own locator against which the editor measures the distance: the row's own Nombre Log when
// the editor is opened from the log grid; the configured own locator when F1 opens the newest
// row from the main window (read it with newestQso).
inline QString ownLocatorFromGrid(const QsoRecord &record) { return record.nombreLog; }

// The fields for a row. When the row's locator and ownLocator (see above) are both set, a
// 4-character locator is completed with "AA": the field shows it so, and a save writes it so.
EditorFields editorFieldsFor(const QsoRecord &record, const QString &ownLocator);
inline EditorFields editorFieldsFor(const QsoRecord &record)
{
    return editorFieldsFor(record, ownLocatorFromGrid(record));
}

// A listening report opens with its contact fields (station, received report, uplink frequency
// and mode, and their captions) disabled.
inline bool contactFieldsDisabled(const QsoRecord &record) { return record.isListeningReport(); }

// The distance label's text: bearing and distance from ownLocator to the row's locator, or
// nothing when either is empty or not a locator. Nothing means that no distance belongs to this
// row: the window should then clear the label rather than keep another row's distance.
std::optional<QString> editorDistanceText(const QsoRecord &record, const QString &ownLocator);

// The system's time text turned into digits without separators ("14:23:00" -> "142300"); a
// 12-hour text with an AM/PM mark is turned into the 24-hour clock ("2:05:00 PM" -> "140500").
QString editorTimeDigits(const QString &systemTime);
// A stored Hora as the editor's time field shows it, "hh:mm"; a text that is no time is shown
// as it is stored, so the operator sees it and the save check stops it.
QString editorTimeText(const QString &hora);

// The field a failed save check puts the cursor into.
enum class EditorField { None, Locator, MyCall, Station, Date, Time, Azimuth, Elevation };

// The outcome of the save checks: the field to focus and the message to show with the warning
// (exclamation) icon, or ok(). A save also fails when the row is gone from the log.
struct EditorCheck
{
    EditorField field = EditorField::None;
    QString message;
    bool rowGone = false; // deleted meanwhile (by an import, another editor): nothing was written
    bool ok() const { return field == EditorField::None && !rowGone; }
};

// The save checks in their order: locator, my call, station, date, time, azimuth, elevation.
EditorCheck checkEditorFields(const EditorFields &fields);

// Checks the fields and, when they pass, rewrites the row Id with them: the locator into both
// Modalidad and Operador, the own locator upper-cased, Fecha the instant of date and time, Hora
// "hh:mm", the QSL boxes as "1"/"0". A failed check writes nothing. A row deleted meanwhile
// comes back as rowGone.
EditorCheck saveRecord(const QString &path, qint64 id, const EditorFields &fields);

// Removes the row Id; false when there was no such row.
bool deleteRecord(const QString &path, qint64 id);

// The row Id of Tabla1; nothing when there is none.
std::optional<QsoRecord> readRecordById(const QString &path, qint64 id);

// The question asked before a delete.
QString deleteQuestion(const EditorFields &fields);

// The QRZ page of a call sign, opened by the editor's "QRZ.com" button.
QUrl qrzPage(const QString &call);

// Rewrites rows of Tabla1 from the values of staged records (their ids ignored), on a log the
// caller holds open, so that many rewrites share one prepared statement and the caller's
// transaction. ModoU to Orbita are written, Fecha being the instant of the date of values.fecha
// ("dd/mm/yyyy" or the stored form) and the time of values.hora ("hh:mm"). A value that is null
// (not merely empty) leaves the row's stored value: a file that did not carry a value does not
// erase the one the operator logged. The row keeps its own Nombre Log, M2 and M3: the values of
// a staged record carry a duplicate mark and no antenna position in those columns.
class RecordUpdater
{
public:
    explicit RecordUpdater(db::Database &database);
    ~RecordUpdater();
    RecordUpdater(const RecordUpdater &) = delete;
    RecordUpdater &operator=(const RecordUpdater &) = delete;
    // False when there was no such row; throws db::DbError when the date or time cannot be
    // read (nothing is written then).
    bool update(qint64 id, const QsoRecord &values);

private:
    db::Database &m_database;
    std::unique_ptr<db::Statement> m_update;
};

// One rewrite as above, on its own connection to the log at path.
bool updateRecord(const QString &path, qint64 id, const QsoRecord &values);

} // namespace vorta
