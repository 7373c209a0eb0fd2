// The previous-contact summary of the entry panel: as the operator types a call sign, the
// satellite and orbit of an earlier QSO with that station are shown, and its grid locator and
// notes are offered in their fields.
#pragma once

#include <QString>

#include <optional>

namespace vorta {

// Call signs shorter than this are never looked up (too many would match while typing).
inline constexpr qsizetype kPreviousContactMinLength = 5;

struct PreviousContact
{
    QString label; // "Sat: SO-50 #12345"; "?" stands for an empty satellite or orbit
    QString grid;  // for the grid locator field (may be empty)
    QString notes; // for the notes field (may be empty)
    bool operator==(const PreviousContact &) const = default;
};

// The first QSO of Tabla1 with this station as one text: Satelite, Orbita, Operador and Obs
// joined by ";", a NULL column joining as the empty text. Empty when there is none. The earliest
// stored QSO is the one taken. Throws db::DbError when the log cannot be read.
QString previousContactText(const QString &logPath, const QString &callSign);

// The summary of a joined text. The part after the satellite is read to at most 100
// characters, the grid part to at most 1000 and the notes to at most 100. Nothing for an
// empty text.
std::optional<PreviousContact> parsePreviousContact(const QString &joined);

// The whole summary for the call-sign field: nothing when the call has fewer than five
// characters (the log is then not read at all), when the station is not in the log, or when
// the log cannot be read (the summary is a convenience, so it never interrupts typing).
std::optional<PreviousContact> previousContact(const QString &logPath, const QString &callSign);

} // namespace vorta
