// The previous-contact summary of the entry panel: as the operator types a call sign, the
// satellite and orbit of an earlier QSO with that station are shown, and its grid locator and
// notes are offered in their fields.
#pragma once

#include <QString>

#include <optional>

namespace vorta {

// Call signs shorter than this are never looked up (too many would match while typing).
inline constexpr qsizetype kPreviousContactMinLength = 5;

// The columns of an earlier QSO that the summary is made of; a NULL column is the empty text.
struct PreviousQso
{
    QString satellite, orbit, grid, notes;
    bool operator==(const PreviousQso &) const = default;
};

struct PreviousContact
{
    QString label; // "Sat: SO-50 #12345"; "?" stands for an empty satellite or orbit
    QString grid;  // for the grid locator field (may be empty)
    QString notes; // for the notes field (may be empty)
    bool operator==(const PreviousContact &) const = default;
};

// The first QSO of Tabla1 with this station: the earliest stored one. Nothing when there is
// none. Throws db::DbError when the log cannot be read.
std::optional<PreviousQso> findPreviousQso(const QString &logPath, const QString &callSign);

// The summary of an earlier QSO. Orbit, grid and notes share 100 characters, in that order, each
// taking one more for the gap before the next: an orbit of 100 characters or more leaves room
// for nothing (the label then shows "?"), and the notes get what the orbit and grid leave.
PreviousContact summarize(const PreviousQso &qso);

// The whole summary for the call-sign field: nothing when the call has fewer than five
// characters (the log is then not read at all), when the station is not in the log, or when
// the log cannot be read (the summary is a convenience, so it never interrupts typing).
std::optional<PreviousContact> previousContact(const QString &logPath, const QString &callSign);

// Whether the station is already in the log on this satellite and orbit: worked before in this
// very pass. Calls too short for the summary, an empty satellite or orbit (then the pass is not
// known) and a log that cannot be read give false. Satellite names compare without letter case
// and surrounding blanks, orbits without surrounding blanks.
bool workedInPass(const QString &logPath, const QString &callSign, const QString &satellite, const QString &orbit);

// The grid and notes fields of the entry panel as the summary follows the call sign. A lookup
// replaces or empties only what an earlier lookup put there (a field still holding exactly that,
// or an empty one): a locator or notes the operator typed stay, and so do notes kept with the
// keep-notes box, which the lookup never touches.
class PreviousContactFill
{
public:
    struct Fields
    {
        QString grid, notes;
        bool operator==(const Fields &) const = default;
    };

    // The fields after a lookup, from what they hold now and what the lookup found (nothing
    // when the call is too short or not in the log).
    Fields apply(const Fields &current, const std::optional<PreviousContact> &found, bool keepNotes);

private:
    Fields m_written; // what the last lookup put into each field
};

} // namespace vorta
