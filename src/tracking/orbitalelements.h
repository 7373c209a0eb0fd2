// The mean orbital elements of two-line element sets, as the tracker folder's Tle/amateur.txt
// and the usual downloads write them (a name line, then lines 1 and 2 with their checksums):
// reading them, finding a satellite's set, and the age of a set.
//
// Times are UTC instants in seconds since 1970-01-01 00:00 UTC (a double: microsecond
// resolution for centuries).
#pragma once

#include "tracking/elements.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorta {

// UTC instants as the tracker counts them.
double utcSeconds(const QDateTime &dateTime);
QDateTime utcDateTime(double utc);

// The checksum digit of an element line: the digits of columns 1-68 added up, each "-" counting
// 1, modulo 10. Nothing when the line is shorter than 68 characters.
std::optional<int> elementLineChecksum(QStringView line);

enum class ElementSetError {
    None,
    MissingLine,  // a name without line 1 or line 2
    TooShort,     // an element line shorter than its 69 columns
    Checksum,     // the last column does not match the line's checksum
    BadField,     // a field that is not a number where one is required
    Mismatch,     // lines 1 and 2 name different catalogue numbers
    OutOfRange,   // eccentricity, inclination or mean motion outside what an orbit can have
};

// One satellite's mean elements as the element set gives them, angles in degrees.
struct OrbitalElements
{
    QString name;           // the name line, trimmed (without the "0 " some sources put first)
    QString catalogue;      // columns 3-7 as written ("25544", or "A0001" beyond 99999)
    int catalogueNumber = 0; // the catalogue number (the letter of "A0001" counts 10, ...)
    QString designator;     // international designator, columns 10-17, trimmed
    double epoch = 0;       // UTC seconds
    double meanMotionDot = 0;  // first derivative of the mean motion / 2, rev/day²
    double meanMotionDDot = 0; // second derivative / 6, rev/day³
    double bstar = 0;       // drag term, 1/earth radii
    double inclination = 0;
    double raan = 0;        // right ascension of the ascending node
    double eccentricity = 0;
    double argumentOfPerigee = 0;
    double meanAnomaly = 0;
    double meanMotion = 0;  // revolutions per day
    int revolution = 0;     // revolution number at epoch
};

// The elements of one element set (name line and the two lines, trailing blanks allowed).
// Nothing, with the reason in *error when given, when the set is not usable.
std::optional<OrbitalElements> parseOrbitalElements(const ElementSet &set,
                                                    ElementSetError *error = nullptr);

// The usable element sets of an elements file's lines (name line, line 1, line 2 per
// satellite, as the tracker folder's file and the usual downloads give them), in file order.
// Sets that cannot be used are left out; *rejected counts them when given.
QList<OrbitalElements> readOrbitalElements(const QStringList &lines, int *rejected = nullptr);

// The first set, in list order, that belongs to a satellite known by text: a text of digits
// (or a letter and four digits) is a catalogue number and matches that number; otherwise the
// text matches a set whose name, every space read as "_", contains it (case-sensitive), as the
// orbit number finds its element set, the text's own spaces read as "_" too; when none does,
// letter case aside. -1 when none matches.
qsizetype findOrbitalElements(const QList<OrbitalElements> &sets, QStringView text);
// The set of a catalogue number; -1 when none has it.
qsizetype findOrbitalElements(const QList<OrbitalElements> &sets, int catalogueNumber);

// Days from the epoch of the elements to the instant (negative before the epoch).
double elementAgeDays(const OrbitalElements &elements, double utc);
// Element sets older than this are stale: their predictions drift by kilometres a day.
inline constexpr double kStaleElementDays = 14.0;
// True when the elements are more than kStaleElementDays old at the instant.
bool elementsStale(const OrbitalElements &elements, double utc);

} // namespace vorta
