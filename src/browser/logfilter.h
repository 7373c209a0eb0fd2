// The log browser's filters: what the filter panel holds, the SQL condition and order it gives,
// the caption that describes it, and the correction of the from-date field.
#pragma once

#include <QString>
#include <QStringList>

namespace vorta {

class Dialogs;

// First entries of the filter lists; choosing them means "no filter". The satellite and
// grid-locator lists use the first, the orbit and my-station lists the second.
inline const QString kAllMasculine = QStringLiteral("Todos");
inline const QString kAllFeminine = QStringLiteral("Todas");

// A QSL box with its list: not ticked, ticked with "SI", ticked with "NO".
enum class QslChoice { Off, Yes, No };

struct LogFilter
{
    QString station;                  // as typed; its blanks show in the description
    QString satellite = QStringLiteral("Todos"); // "" filters on the empty satellite name
    QString locator = QStringLiteral("Todos");
    QString orbit = QStringLiteral("Todas");
    QslChoice qslSent = QslChoice::Off;
    QslChoice qslReceived = QslChoice::Off;
    QString fromDate;                  // "dd/mm/yyyy" (see correctFromDate), empty for none
    QString myStation = QStringLiteral("Todas");
    bool reverse = false;              // newest first

    // True when any filter is set; the order alone is not a filter.
    bool isSet() const;
    bool operator==(const LogFilter &) const = default;
};

// The condition and order of a listing, with the values for its "?1", "?2", ... marks.
struct LogQuery
{
    QString where;      // conditions joined with " AND "; empty when nothing is filtered
    QString orderBy;    // listing order, Id last so that equal instants keep a fixed order
                        // (a "+" before a column only steers the database's plan)
    QStringList values; // bound in this order

    // "SELECT columns FROM Tabla1 [WHERE ...] ORDER BY ...".
    QString select(const QString &columns) const;
};

// The full listing: every QSO, oldest first unless reversed.
LogQuery fullListingQuery(bool reverse);
// The filtered listing: every set filter, joined with " AND " (satellite, QSL sent, QSL
// received, locator, orbit, my station, from-date, station pattern). Satellite, locator, orbit
// and my station are equal without regard to the case of the letters A-Z, as is the station
// pattern. A QSL "NO" is "<> '1'", which does not select a row whose value is NULL.
LogQuery filteredQuery(const LogFilter &filter);

// The station field as a GLOB pattern for upper([Estacion]): trimmed, upper-cased and wrapped
// in "*...*"; "?" is any one character, "#" one digit, "*" any run, "[A-Z]" / "[!A-Z]" a class,
// exactly as patternMatch reads them. Everything else is taken literally.
QString stationGlob(const QString &stationText);

// The stored instant from which a from-date text selects: the date at 00:00:00.
// A text that is not a day-first date is read as "01/01/2016", the correction the field applies.
QString fromDateInstant(const QString &fromDateText);

// "Filtro >Satélite: SO-50 " etc.; empty when no filter is set.
QString filterDescription(const LogFilter &filter);
// The frame caption after a filtered listing: description + " <" + count + " QSO(s)>".
QString filteredCaption(const LogFilter &filter, qint64 count);
// The frame caption after a full listing: count + " QSO(s)".
QString fullListingCaption(qint64 count);

// The from-date field when the operator leaves it. An empty text stays empty; a day-first date
// becomes "dd/mm/yyyy"; anything else is replaced by "01/01/2016" after the message
// "El formato de fecha es dd/mm/yyyy". Returns false in that last case, so that the window puts
// the cursor back into the field.
bool correctFromDate(QString &text, Dialogs &dialogs);

// Adds each value to a filter list unless an entry is exactly equal to it (case-sensitive), at
// the end, in the given order.
void appendMissing(QStringList &entries, const QStringList &values);

} // namespace vorta
