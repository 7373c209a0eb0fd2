#include "logdb/previouscontact.h"

#include "logdb/sqlite.h"

namespace vorta {

namespace {

// The characters that orbit, grid and notes share in the summary.
constexpr qsizetype kSummaryRoom = 100;

// The field's next text: the lookup's value when the field is its own (empty, or still what
// the lookup put there), else what the operator typed. written follows.
QString follow(const QString &current, const QString &found, QString &written)
{
    if (!current.isEmpty() && current != written) {
        written.clear(); // the operator's now, until they empty it
        return current;
    }
    written = found;
    return found;
}

} // namespace

std::optional<PreviousQso> findPreviousQso(const QString &logPath, const QString &callSign)
{
    // The index on (Estacion, MyCall) finds the station's rows; ordering those few by Id makes
    // "the first QSO" the earliest stored one rather than whatever the index order gives.
    static const char *const sql = "SELECT [Satelite], [Orbita], [Operador], [Obs] FROM Tabla1 "
                                   "WHERE [Estacion] = ?1 ORDER BY [Id] LIMIT 1";
    db::Database database(logPath, db::Database::Mode::ReadOnly);
    db::Statement query(database, sql);
    // Call signs are stored upper-cased.
    query.bind(1, callSign.toUpper());
    if (!query.step())
        return std::nullopt;
    // Each column is read on its own, so a ";" or any other character in a stored value is just
    // a character of it; a NULL column reads as the empty text.
    return PreviousQso{query.text(0), query.text(1), query.text(2), query.text(3)};
}

PreviousContact summarize(const PreviousQso &qso)
{
    PreviousContact contact;
    QString orbit;
    if (qso.orbit.size() < kSummaryRoom) {
        orbit = qso.orbit;
        const qsizetype room = kSummaryRoom - orbit.size() - 1;
        contact.grid = qso.grid.left(room);
        if (qso.grid.size() < room)
            contact.notes = qso.notes.left(room - qso.grid.size() - 1);
    }
    const QString unknown = QStringLiteral("?");
    contact.label = QStringLiteral("Sat: ") + (qso.satellite.isEmpty() ? unknown : qso.satellite)
                    + QStringLiteral(" #") + (orbit.isEmpty() ? unknown : orbit);
    return contact;
}

std::optional<PreviousContact> previousContact(const QString &logPath, const QString &callSign)
{
    if (callSign.size() < kPreviousContactMinLength)
        return std::nullopt;
    try {
        if (const std::optional<PreviousQso> qso = findPreviousQso(logPath, callSign))
            return summarize(*qso);
    } catch (const db::DbError &) {
    }
    return std::nullopt;
}

bool workedInPass(const QString &logPath, const QString &callSign, const QString &satellite, const QString &orbit)
{
    const QString sat = satellite.trimmed();
    const QString orb = orbit.trimmed();
    if (callSign.size() < kPreviousContactMinLength || sat.isEmpty() || orb.isEmpty())
        return false;
    // The station's rows come from the index on (Estacion, MyCall); they are few.
    static const char *const sql = "SELECT 1 FROM Tabla1 WHERE [Estacion] = ?1 AND upper(trim([Satelite])) = ?2 "
                                   "AND trim([Orbita]) = ?3 LIMIT 1";
    try {
        db::Database database(logPath, db::Database::Mode::ReadOnly);
        db::Statement query(database, sql);
        query.bind(1, callSign.toUpper());
        query.bind(2, sat.toUpper());
        query.bind(3, orb);
        return query.step();
    } catch (const db::DbError &) {
        return false; // a convenience like the summary: it never interrupts typing
    }
}

PreviousContactFill::Fields PreviousContactFill::apply(const Fields &current,
                                                       const std::optional<PreviousContact> &found,
                                                       bool keepNotes)
{
    Fields next;
    next.grid = follow(current.grid, found ? found->grid : QString(), m_written.grid);
    if (keepNotes) {
        // Kept notes are the operator's, whoever wrote them first.
        next.notes = current.notes;
        m_written.notes.clear();
    } else {
        next.notes = follow(current.notes, found ? found->notes : QString(), m_written.notes);
    }
    return next;
}

} // namespace vorta
