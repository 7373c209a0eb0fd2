#include "browser/logfilter.h"

#include "common/dates.h"
#include "common/dialogs.h"
#include "config/languages.h"

#include <QSet>

namespace vorta {

namespace {

const QString kFallbackDate = QStringLiteral("01/01/2016"); // what a wrong date becomes

const QString kYes = QStringLiteral("1");

QString qslText(QslChoice choice)
{
    return choice == QslChoice::Yes ? QStringLiteral("SI") : QStringLiteral("NO");
}

// Collects conditions with their values, numbering the marks as they come.
class Conditions
{
public:
    void add(const QString &lead, const QString &value)
    {
        m_values << value;
        m_parts << lead + QStringLiteral(" ?") + QString::number(m_values.size());
    }
    // A list's value: equal without regard to letter case, as a filter on the log has always
    // compared, so that a QSO stored as "so-50" is found by "SO-50".
    void addEqual(const char *column, const QString &value)
    {
        add(QString::fromLatin1(column) + QStringLiteral(" ="), value);
        m_parts.last() += QStringLiteral(" COLLATE NOCASE");
    }
    void addQsl(const char *column, QslChoice choice)
    {
        if (choice == QslChoice::Off)
            return;
        add(QString::fromLatin1(column) + (choice == QslChoice::Yes ? QStringLiteral(" =") : QStringLiteral(" <>")),
            kYes);
    }
    QString where() const { return m_parts.join(QStringLiteral(" AND ")); }
    const QStringList &values() const { return m_values; }

private:
    QStringList m_parts;
    QStringList m_values;
};

// Copies one bracket class of a wildcard pattern, starting at pattern[p] == '[', in GLOB
// spelling. The class ends as patternMatch ends it (a ']' right after '[' or '[!' is a member).
// Returns the index past the class, or -1 when it is not closed ('[' is then a literal).
qsizetype copyClass(const QString &pattern, qsizetype p, QString &glob)
{
    qsizetype i = p + 1;
    const bool negate = i < pattern.size() && pattern[i] == u'!';
    if (negate)
        ++i;
    const qsizetype start = i;
    while (i < pattern.size() && (pattern[i] != u']' || i == start)) {
        if (i + 2 < pattern.size() && pattern[i + 1] == u'-' && pattern[i + 2] != u']')
            i += 3;
        else
            ++i;
    }
    if (i >= pattern.size())
        return -1;
    QString members = pattern.mid(start, i - start);
    // In GLOB a leading '^' negates; here it is a plain member, so it moves away from the front
    // (before a trailing '-', which must stay last so that it does not start a range).
    if (!negate && members.startsWith(u'^')) {
        if (members.size() == 1) {
            glob += u'^';
            return i + 1;
        }
        members.remove(0, 1);
        if (members.endsWith(u'-'))
            members.insert(members.size() - 1, u'^');
        else
            members += u'^';
    }
    glob += u'[';
    if (negate)
        glob += u'^';
    glob += members;
    glob += u']';
    return i + 1;
}

} // namespace

bool LogFilter::isSet() const
{
    return !station.isEmpty() || satellite != kAllMasculine || locator != kAllMasculine
           || orbit != kAllFeminine || myStation != kAllFeminine || qslSent != QslChoice::Off
           || qslReceived != QslChoice::Off || !fromDate.isEmpty();
}

QString LogQuery::select(const QString &columns) const
{
    QString sql = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM Tabla1");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return sql + QStringLiteral(" ORDER BY ") + orderBy;
}

LogQuery fullListingQuery(bool reverse)
{
    LogQuery query;
    query.orderBy = reverse ? QStringLiteral("[Fecha] DESC, [Hora] DESC, [Id] DESC")
                            : QStringLiteral("[Fecha] ASC, [Hora] ASC, [Id] ASC");
    return query;
}

LogQuery filteredQuery(const LogFilter &filter)
{
    // The database tests the conditions in the order written: the plain comparisons come
    // first and the station pattern, the costliest, last, so that it runs on few rows.
    Conditions c;
    if (filter.satellite != kAllMasculine)
        c.addEqual("[Satelite]", filter.satellite);
    c.addQsl("[QSLe]", filter.qslSent);
    c.addQsl("[QSLr]", filter.qslReceived);
    if (filter.locator != kAllMasculine)
        c.addEqual("[Operador]", filter.locator);
    if (filter.orbit != kAllFeminine)
        c.addEqual("[Orbita]", filter.orbit);
    if (filter.myStation != kAllFeminine)
        c.addEqual("[MyCall]", filter.myStation);
    // Fecha is stored "yyyy-MM-dd HH:mm:ss", so "on or after the day" is a text comparison with
    // the day's first instant.
    if (!filter.fromDate.isEmpty())
        c.add(QStringLiteral("[Fecha] >="), fromDateInstant(filter.fromDate));
    if (!filter.station.isEmpty())
        c.add(QStringLiteral("upper([Estacion]) GLOB"), stationGlob(filter.station));

    LogQuery query = fullListingQuery(filter.reverse);
    query.where = c.where();
    query.values = c.values();
    // Walking the (Fecha, Hora) index visits every row in date order and fetches each from the
    // table; when the conditions must look at every row anyway, one pass over the table and a
    // sort of the rows found is about twice as fast. The unary "+" (no change to the value)
    // keeps the index out of the ordering. A from-date lets the index narrow the rows, so it
    // stays usable then.
    if (!query.where.isEmpty() && filter.fromDate.isEmpty())
        query.orderBy = filter.reverse ? QStringLiteral("+[Fecha] DESC, +[Hora] DESC, +[Id] DESC")
                                       : QStringLiteral("+[Fecha] ASC, +[Hora] ASC, +[Id] ASC");
    return query;
}

QString stationGlob(const QString &stationText)
{
    const QString pattern = stationText.trimmed().toUpper();
    QString glob = QStringLiteral("*");
    for (qsizetype p = 0; p < pattern.size();) {
        const QChar c = pattern[p];
        if (c == u'#') {
            glob += QStringLiteral("[0-9]");
        } else if (c == u'[') {
            const qsizetype next = copyClass(pattern, p, glob);
            if (next >= 0) {
                p = next;
                continue;
            }
            glob += QStringLiteral("[[]");
        } else {
            // "*" and "?" mean the same in GLOB; nothing else is special there outside a class.
            glob += c;
        }
        ++p;
    }
    return glob + u'*';
}

QString fromDateInstant(const QString &fromDateText)
{
    const QDate date = parseDayFirstDate(fromDateText).value_or(QDate(2016, 1, 1));
    return toStoredInstant(QDateTime(date, QTime(0, 0), Qt::UTC));
}

QString filterDescription(const LogFilter &f)
{
    QString d;
    if (!f.station.isEmpty())
        d += QStringLiteral("Estación: ") + f.station.toUpper() + u' ';
    if (f.satellite != kAllMasculine)
        d += QStringLiteral("Satélite: ") + f.satellite + u' ';
    if (f.orbit != kAllFeminine)
        d += QStringLiteral("Orbita: ") + f.orbit + u' ';
    if (f.locator != kAllMasculine)
        d += QStringLiteral("Grid Locator: ") + f.locator + u' ';
    if (f.qslSent != QslChoice::Off)
        d += QStringLiteral("QSL E: ") + qslText(f.qslSent) + u' ';
    if (f.qslReceived != QslChoice::Off)
        d += QStringLiteral("QSL R: ") + qslText(f.qslReceived) + u' ';
    if (!f.fromDate.isEmpty())
        d += QStringLiteral("Desde: ") + f.fromDate + u' ';
    if (f.myStation != kAllFeminine)
        d += QStringLiteral("Mi estación: ") + f.myStation + u' ';
    if (!d.isEmpty())
        d.prepend(QStringLiteral("Filtro >"));
    return d;
}

QString filteredCaption(const LogFilter &filter, qint64 count)
{
    return filterDescription(filter) + QStringLiteral(" <") + QString::number(count) + QStringLiteral(" QSO(s)>");
}

QString fullListingCaption(qint64 count)
{
    return QString::number(count) + QStringLiteral(" QSO(s)");
}

bool correctFromDate(QString &typed, Dialogs &dialogs)
{
    if (typed.isEmpty())
        return true;
    if (const auto date = parseDayFirstDate(typed)) {
        typed = formatDate(*date);
        return true;
    }
    dialogs.inform(text(Txt::MsgDateFormat, Language::Spanish), Icon::Exclamation);
    typed = kFallbackDate;
    return false;
}


void appendMissing(QStringList &entries, const QStringList &values)
{
    // A set, not QStringList::contains: an orbit list of a large log has many thousand entries.
    QSet<QString> present(entries.cbegin(), entries.cend());
    for (const QString &value : values)
        if (!present.contains(value)) {
            present.insert(value);
            entries << value;
        }
}

} // namespace vorta
