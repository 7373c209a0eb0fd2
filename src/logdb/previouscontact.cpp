#include "logdb/previouscontact.h"

#include "logdb/sqlite.h"

namespace vorta {

QString previousContactText(const QString &logPath, const QString &callSign)
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
        return QString();
    // A NULL column (an imported or edited row may have one) comes back as a null text and
    // joins as the empty one, rather than emptying the whole summary as SQL's || would.
    QStringList parts;
    for (int column = 0; column < 4; ++column)
        parts << query.text(column);
    return parts.join(u';');
}

std::optional<PreviousContact> parsePreviousContact(const QString &joined)
{
    if (joined.isEmpty())
        return std::nullopt;

    const qsizetype first = joined.indexOf(u';');
    const QString satellite = first < 0 ? joined : joined.left(first);
    const QString rest = first < 0 ? QString() : joined.mid(first + 1, 100);

    PreviousContact contact;
    QString orbit;
    const qsizetype second = rest.indexOf(u';');
    if (second >= 0) {
        orbit = rest.left(second);
        const QString afterOrbit = rest.mid(second + 1, 1000);
        const qsizetype third = afterOrbit.indexOf(u';');
        contact.grid = third < 0 ? afterOrbit : afterOrbit.left(third);
        if (third >= 0)
            contact.notes = afterOrbit.mid(third + 1, 100);
    }
    const QString unknown = QStringLiteral("?");
    contact.label = QStringLiteral("Sat: ") + (satellite.isEmpty() ? unknown : satellite)
                    + QStringLiteral(" #") + (orbit.isEmpty() ? unknown : orbit);
    return contact;
}

std::optional<PreviousContact> previousContact(const QString &logPath, const QString &callSign)
{
    if (callSign.size() < kPreviousContactMinLength)
        return std::nullopt;
    try {
        return parsePreviousContact(previousContactText(logPath, callSign));
    } catch (const db::DbError &) {
        return std::nullopt;
    }
}

} // namespace vorta
