// The satellite list: satellites with their usual uplink and downlink frequencies and modes,
// kept in satelites.txt in the data folder, one entry per line as
//   name,uplink,downlink,downlink mode,uplink mode
// A line is an entry only when it holds exactly four commas; every other line (comments, empty
// lines, lines with more or fewer fields) is kept in the file as it was but is not an entry.
// The main window offers the names in a drop-down; the list window shows, adds, edits and
// deletes entries.
#pragma once

#include "common/dialogs.h"
#include "config/languages.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorta {

class DataFolder;

struct SatelliteEntry
{
    QString name, uplink, downlink, downlinkMode, uplinkMode;
    bool operator==(const SatelliteEntry &) const = default;
};

// The entry of a line with exactly four commas (fields not trimmed), or nothing.
std::optional<SatelliteEntry> parseSatelliteLine(const QString &line);
// The line of an entry: its five fields joined by ",".
QString satelliteLine(const SatelliteEntry &entry);

// The modes the add/edit window offers, in this order; "FM" is preselected.
QStringList satelliteEditModes();

enum class SatelliteField { None, Name, Uplink, Downlink, DownlinkMode, UplinkMode };

// The outcome of a check or of an add/edit: when not ok, message is what the operator is told
// (empty when there is nothing to say) and focus the field to put the cursor in.
struct SatelliteCheck
{
    bool ok = true;
    QString message;
    SatelliteField focus = SatelliteField::None;
};

class SatelliteList
{
public:
    explicit SatelliteList(QString filePath);
    // The list file of the data folder.
    explicit SatelliteList(const DataFolder &folder);

    static QString fileName() { return QStringLiteral("satelites.txt"); }
    const QString &filePath() const { return m_path; }

    // Reads the file again. A missing file gives an empty list and no error; a file that exists
    // but cannot be read gives an empty list and the error text.
    QString load();

    // The entries with a name, in file order. Entry i is row i + 1 of the list window's grid
    // (row 0 being the header). There is no limit on their number.
    const QList<SatelliteEntry> &entries() const { return m_entries; }
    qsizetype size() const { return m_entries.size(); }
    // The names for the main window's drop-down, in file order.
    QStringList names() const;
    // The first entry whose name equals the text regardless of letter case.
    std::optional<SatelliteEntry> find(QStringView name) const;
    // Entry i as the list window shows it: every field upper-cased. Also the edit buffer.
    SatelliteEntry shown(qsizetype index) const;
    // The grid's data rows: the five upper-cased fields of each entry.
    QList<QStringList> gridRows() const;

    // The accept button of the add/edit window is enabled once these three are given.
    static bool canAccept(const QString &name, const QString &uplink, const QString &downlink);
    // Checks without changing or showing anything. Add refuses a name already in the list
    // (letter case aside); editing makes no such check.
    SatelliteCheck checkAdd(const SatelliteEntry &entry, Language language) const;
    SatelliteCheck checkEdit(const SatelliteEntry &entry, Language language) const;

    // Appends the entry (name as typed) to the file and reloads. A refusal or a failed write is
    // shown through dialogs and returned. A "," typed as decimal point in a frequency is stored
    // as "." so that the line keeps its five fields.
    SatelliteCheck add(const SatelliteEntry &entry, Dialogs &dialogs, Language language);
    // Replaces entry index (as last loaded) by the new values, the name upper-cased, in its own
    // line; every other line of the file stays as it was. Then reloads. An entry that vanished
    // from the file meanwhile is reported and nothing is written.
    SatelliteCheck edit(qsizetype index, const SatelliteEntry &entry, Dialogs &dialogs,
                        Language language);
    // Asks whether entry index is to be deleted; on Yes removes every entry line with that name
    // (letter case aside) and keeps all other lines as they were, then reloads. True when the
    // file was rewritten.
    bool remove(qsizetype index, Dialogs &dialogs, Language language);

private:
    // Reads the file into m_lines and the entries; a missing file is an empty list.
    QString read();
    // Writes m_lines; on failure tells the operator and reloads what the file holds.
    bool write(Dialogs &dialogs, Language language);

    QString m_path;
    QStringList m_lines;        // the file as read, every line
    QList<SatelliteEntry> m_entries;
    QList<qsizetype> m_entryLine; // the line of each entry in m_lines
};

} // namespace vorta
