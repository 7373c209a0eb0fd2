// The tracker's own installation: where it is installed, whether it is (its configuration file
// Config/Setup.cfg is there), and its amateur-satellite element sets (Tle/amateur.txt), from
// which the orbit number of the satellite being worked is computed.
//
// The tracker is a Windows program run under Wine. Its folder is the "Path" value of the key
// Software\Stoff\Orbitron in the Wine registry of the current user ($WINEPREFIX/user.reg), a
// Windows path whose drive letter Wine maps through $WINEPREFIX/dosdevices/<letter>:. A folder
// named in the extra settings wins over the registry.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorta {

inline constexpr char16_t kOrbitronRegistryKey[] = u"Software\\Stoff\\Orbitron";
inline constexpr char16_t kOrbitronRegistryValue[] = u"Path";

// ---- Wine registry ---------------------------------------------------------------------------

// A string value (REG_SZ) of a key in the text of a Wine registry file, escapes resolved and cut
// at its first NUL character. Key and value names are compared regardless of letter case, as the
// registry does. Nothing when the key or the value is missing, or the value is not a string.
std::optional<QString> wineRegistryString(const QStringList &regLines, QStringView key,
                                          QStringView valueName);
// The same, read from a registry file; nothing when the file cannot be read.
std::optional<QString> readWineRegistryString(const QString &regFile, QStringView key,
                                              QStringView valueName);

// The Wine prefix: $WINEPREFIX when set, else ~/.wine.
QString winePrefix(const QString &winePrefixEnv, const QString &home);

// A Windows path "C:\Orbitron\" as this system sees it: <prefix>/dosdevices/c:/Orbitron/.
// Empty when the path has no drive letter.
QString wineToUnixPath(QStringView windowsPath, const QString &prefix);

// ---- Installation ----------------------------------------------------------------------------

struct OrbitronInstallation
{
    QString folder; // empty when unknown
    // "Setup.cfg" when the configuration file exists, else empty: the installed marker.
    QString marker;

    bool installed() const { return !marker.isEmpty(); }
    // The files below the folder. A folder given without its final "/" is still the folder.
    QString configFile() const;   // <folder>/Config/Setup.cfg
    QString elementsFile() const; // <folder>/Tle/amateur.txt
};

// The tracker's folder: explicitFolder when not empty (from the extra settings), else the
// registry's Path mapped into the Wine prefix; empty when neither gives one.
// winePrefixEnv and home are $WINEPREFIX and the home folder of the user.
QString findOrbitronFolder(const QString &explicitFolder, const QString &winePrefixEnv,
                           const QString &home);
// The folder and the installed marker.
OrbitronInstallation findOrbitronInstallation(const QString &explicitFolder,
                                              const QString &winePrefixEnv, const QString &home);

// ---- Element sets ----------------------------------------------------------------------------

struct ElementSet
{
    QString name; // the name line, trimmed
    QString line1, line2;
    bool operator==(const ElementSet &) const = default;
};

// The element sets of an elements file's lines, every one of them: a line starting with "1" or
// "2" followed by a blank is line 1 or 2 of the current satellite, any other line (an empty one
// too, or a name starting with a digit) starts the next satellite with its trimmed text as the
// name. Element lines before the first name belong to no satellite and are dropped.
QList<ElementSet> readElementSets(const QStringList &lines);

// Whether an element set's name line names the satellite of a text (a tracked name or the
// satellite field): the text equals the whole name, or one of its parts when the name is split
// at blanks, "_", "(" and ")". Blanks and "_" count as the same; letter case counts. So the name
// "AO-91 (FOX-1B)" is found by "AO-91_(FOX-1B)", "AO-91 (FOX-1B)", "AO-91" and "FOX-1B", and
// "FUNCUBE-1 (AO-73)" is not found by "AO-7".
bool elementNameMatches(QStringView name, QStringView text);

// The element table: the satellites of an elements file, numbered from 1. It holds every set of
// the file (today's amateur files hold well over a hundred), so that each satellite the
// built-in tracker follows has its orbit number too.
class ElementTable
{
public:
    // Reads the lines of an elements file: a line starting with "1" or "2" is line 1 or 2 of the
    // current satellite, any other line (an empty one too) starts the next satellite, its
    // trimmed text being the name, its element lines starting empty. Entries beyond the new
    // count keep what an earlier reading put there.
    void read(const QStringList &lines);
    // Reads the file; false (and the table unchanged) when it cannot be read.
    bool load(const QString &path);

    // The number of name lines of the last reading.
    int count() const { return m_count; }
    // Satellite number (1 to the most satellites any reading held).
    const ElementSet &at(int number) const { return m_sets.at(number - 1); }

    // The first satellite, in number order, whose name matches the text (elementNameMatches).
    // The search stops without a result at the first empty name, so satellites after an empty
    // name line are never found. 0 when none.
    int find(QStringView text) const;

private:
    QList<ElementSet> m_sets;
    int m_count = 0;
};

// Refresh installation data: the installation found, and, when its elements file exists, the
// table reloaded from it (otherwise the table keeps what it had).
OrbitronInstallation refreshOrbitronData(const QString &explicitFolder, const QString &winePrefixEnv,
                                         const QString &home, ElementTable &table);

// The same refresh for a window that runs it every time it becomes active: the registry file
// (often megabytes) and the elements file are read again only when they changed on disk.
// Without the tracker's elements file the table is read from fallbackElementsFile when that
// exists (the element sets Vorta downloads into its data folder), so that orbit numbers work
// without the tracker too.
class OrbitronDataCache
{
public:
    OrbitronInstallation refresh(const QString &explicitFolder, const QString &winePrefixEnv, const QString &home,
                                 ElementTable &table, const QString &fallbackElementsFile = {});

    // The elements file the table was last read from (empty before the first reading), and
    // how many readings there were: a caller that keeps element sets of its own reads the file
    // again when the count moves.
    const QString &elementsFile() const { return m_elementsFile; }
    int elementReadings() const { return m_readings; }
    // The next refresh reads the elements file even when it looks unchanged (a file replaced
    // within the file system's time resolution).
    void forgetElements() { m_elementsStamp = {}; }

private:
    bool m_known = false;
    QString m_explicitFolder;
    QDateTime m_registryStamp;
    QString m_elementsFile;
    QDateTime m_elementsStamp;
    qint64 m_elementsSize = -1;
    int m_readings = 0;
    OrbitronInstallation m_found;
};

// ---- Orbit number ----------------------------------------------------------------------------

// The satellite field for a tracked name: the text after its first "(" (up to 100 characters)
// with every ")" removed, or the name unchanged ("AO-91_(FOX-1B)" gives "FOX-1B").
QString satelliteFromTrackingName(QStringView trackingName);

// The epoch of line 1 (columns 19-32: two-digit year after 2000, day of the year with fraction)
// as a UTC instant to whole seconds, the fraction of a second dropped.
QDateTime elementEpoch(QStringView line1);

// The orbit field for an orbit value: its whole part, plus one when the fraction exceeds 0.1.
qint64 orbitNumber(double orbitValue);

struct OrbitResult
{
    QString orbit;     // the orbit field
    QString ageDays;   // the element-age label: whole days since the epoch, rounded down
    QString catalogue; // the catalogue-number label (numeric value of line 2, columns 3-7)
    bool stale = false; // the set is more than kStaleElementDays old
    bool operator==(const OrbitResult &) const = default;
};

// The orbit of a satellite at the UTC instant now (whole seconds count): the revolution number
// at epoch (line 2, columns 64-68) plus the age times the mean motion (line 2, columns 53-63,
// revolutions per day). Nothing when the element lines are too short to hold these fields.
std::optional<OrbitResult> orbitFromElements(const ElementSet &set, const QDateTime &utcNow);

// The orbit by a search text (the satellite field, or the tracked name), as the main window
// does it. Nothing when the text is empty or no usable element set matches. On a change of the
// tracked name T the main window:
//   1. sets the satellite field to satelliteFromTrackingName(T) (its own change handling then
//      runs orbitFor() with the field's text and fills orbit, age and catalogue number);
//   2. when T is not empty: empties orbit and age, then fills both from orbitFor(table, T)
//      (the catalogue-number label keeps what step 1 gave).
std::optional<OrbitResult> orbitFor(const ElementTable &table, QStringView text,
                                    const QDateTime &utcNow);

} // namespace vorta
