#include "import/importstaging.h"

#include "browser/adifexport.h"
#include "common/dates.h"
#include "common/textvalue.h"
#include "logdb/sqlite.h"

#include <algorithm>
#include <cstdlib>

namespace vorta {

using db::Statement;

namespace {

// Staged columns are texts; a value the file lacked is the empty text, not NULL.
QString nonNull(const QString &text)
{
    return text.isNull() ? QString(QLatin1String("")) : text;
}

// Minutes since the start of the Julian day count: a moment that compares by subtraction.
qint64 minutesOf(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * 1440 + time.hour() * 60 + time.minute();
}

// The moment of a logged row: the date of its Fecha and the time of its Hora (else the time of
// its Fecha).
std::optional<qint64> rowMinutes(QByteArrayView fecha, QByteArrayView hora)
{
    const QDateTime instant = fromStoredInstant(QString::fromUtf8(fecha));
    if (!instant.isValid())
        return std::nullopt;
    const std::optional<QTime> time = parseClockTime(QString::fromUtf8(hora));
    return minutesOf(instant.date(), time.value_or(instant.time()));
}

// The key of a station and own call pair, with case aside (calls are ASCII): FNV-1a over
// the upper-cased bytes of both, a zero byte between them.
quint64 pairKey(QByteArrayView station, QByteArrayView ownCall)
{
    quint64 hash = 14695981039346656037ull;
    const auto add = [&hash](char c) {
        hash ^= quint8(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
        hash *= 1099511628211ull;
    };
    for (const char c : station)
        add(c);
    add('\0');
    for (const char c : ownCall)
        add(c);
    return hash;
}

bool sameCall(QByteArrayView stored, QByteArrayView call)
{
    return qstrnicmp(stored.data(), stored.size(), call.data(), call.size()) == 0;
}

} // namespace

StationCallRule::StationCallRule(const QString &configuredCall, Language language)
    : m_configured(configuredCall.trimmed().toUpper()), m_language(language)
{
}

QString StationCallRule::ownCall(const ImportRecord &record, const AdifHeader &header, QStringList &warnings)
{
    QString own = record.stationCall.trimmed();
    if (own.isEmpty() && header.isEqsl())
        own = header.eqslOwnerCall.trimmed();
    if (own.isEmpty()) {
        if (!m_missingTold) {
            m_missingTold = true;
            warnings << text(Txt::MsgAdifNoStationCall, m_language, {{"$micall$", m_configured}});
        }
        return m_configured;
    }
    if (own != m_configured && !m_otherTold) {
        m_otherTold = true;
        warnings << text(Txt::MsgAdifCallDiffers, m_language, {{"$mio", own}, {"$conf", m_configured}});
    }
    return own;
}

DuplicateFinder::DuplicateFinder(db::Database &database)
    : m_database(database),
      m_select(std::make_unique<Statement>(
          database, "SELECT [Id], [ModoU], [Fecha], [Hora], [Satelite] FROM Tabla1 WHERE [Estacion]=?1 AND [MyCall]=?2"))
{
    Statement newest(database, "SELECT MAX([Id]) FROM Tabla1");
    if (newest.step())
        m_logRows = newest.integer(0);
}

DuplicateFinder::~DuplicateFinder() = default;

bool DuplicateFinder::mixedCaseCalls()
{
    if (!m_mixedCase) {
        // A walk over the calls' index alone; upper() changes ASCII letters only, as calls have.
        Statement mixed(m_database, "SELECT EXISTS (SELECT 1 FROM Tabla1 WHERE [Estacion]<>upper([Estacion]) "
                                    "OR [MyCall]<>upper([MyCall]))");
        m_mixedCase = mixed.step() && mixed.integer(0) != 0;
    }
    return *m_mixedCase;
}

int DuplicateFinder::nameId(const QString &name)
{
    const QString folded = name.trimmed().toCaseFolded();
    if (folded.isEmpty())
        return 0;
    const auto known = m_names.constFind(folded);
    if (known != m_names.constEnd())
        return *known;
    const int id = int(m_names.size()) + 1;
    m_names.insert(folded, id);
    return id;
}

DuplicateFinder::Candidate DuplicateFinder::candidate(const Statement &row, int first)
{
    Candidate c;
    c.id = row.integer(first);
    c.mode = nameId(comparedMode(QString::fromUtf8(row.utf8(first + 1))));
    c.minutes = rowMinutes(row.utf8(first + 2), row.utf8(first + 3)).value_or(kNoMoment);
    c.satellite = nameId(QString::fromUtf8(row.utf8(first + 4)));
    return c;
}

void DuplicateFinder::readWholeLog()
{
    Statement all(m_database, "SELECT [Estacion], [MyCall], [Id], [ModoU], [Fecha], [Hora], [Satelite] FROM Tabla1");
    while (all.step()) {
        Candidate c = candidate(all, 2);
        c.key = pairKey(all.utf8(0), all.utf8(1));
        m_wholeLog.push_back(c);
    }
    std::sort(m_wholeLog.begin(), m_wholeLog.end(),
              [](const Candidate &a, const Candidate &b) { return a.key != b.key ? a.key < b.key : a.id < b.id; });
    m_pairOf = std::make_unique<Statement>(m_database, "SELECT [Estacion], [MyCall] FROM Tabla1 WHERE [Id]=?1");
    m_haveWholeLog = true;
}

std::optional<qint64> DuplicateFinder::find(const QString &station, const QString &ownCall, const QString &mode,
                                            const QString &satellite, const QDateTime &moment)
{
    const qint64 minutes = minutesOf(moment.date(), moment.time());
    const int modeId = nameId(comparedMode(mode));
    const int satelliteId = nameId(satellite);
    // How many minutes the row is away from the QSO it would repeat; nothing when it does not.
    const auto distance = [&](const Candidate &c) -> std::optional<qint64> {
        if (c.mode != modeId || (c.satellite != 0 && satelliteId != 0 && c.satellite != satelliteId)
            || c.minutes == kNoMoment || m_taken.contains(c.id))
            return std::nullopt;
        const qint64 away = std::llabs(c.minutes - minutes);
        return away < 10 ? std::optional(away) : std::nullopt;
    };
    const auto take = [this](qint64 id) {
        m_taken.insert(id);
        return std::optional(id);
    };
    const QString stationCall = station.trimmed().toUpper();
    const QString ownStationCall = ownCall.trimmed().toUpper();

    // Looking rows up one station at a time costs a few index and table descents per record,
    // some 15 times what reading one row of the whole log costs: once an import has asked
    // about as many records as the log holds rows / 16, reading the whole log once is cheaper.
    if (!m_haveWholeLog && (++m_lookups > m_logRows / 16 || mixedCaseCalls()))
        readWholeLog();

    if (m_haveWholeLog) {
        const QByteArray stationBytes = stationCall.toUtf8();
        const QByteArray ownCallBytes = ownStationCall.toUtf8();
        struct Found
        {
            qint64 away, id;
        };
        std::vector<Found> found;
        const quint64 key = pairKey(stationBytes, ownCallBytes);
        auto it = std::lower_bound(m_wholeLog.begin(), m_wholeLog.end(), key,
                                   [](const Candidate &c, quint64 k) { return c.key < k; });
        for (; it != m_wholeLog.end() && it->key == key; ++it)
            if (const auto away = distance(*it))
                found.push_back({*away, it->id});
        std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.away < b.away; });
        for (const Found &f : found) {
            // The key is a hash: the row's own texts decide.
            m_pairOf->reset();
            m_pairOf->bind(1, f.id);
            if (m_pairOf->step() && sameCall(m_pairOf->utf8(0), stationBytes) && sameCall(m_pairOf->utf8(1), ownCallBytes))
                return take(f.id);
        }
        return std::nullopt;
    }

    // No logged call holds a lower-case letter: the upper-case calls find every row.
    Statement &select = *m_select;
    select.reset();
    select.bind(1, stationCall);
    select.bind(2, ownStationCall);
    std::optional<qint64> nearest, nearestAway;
    while (select.step()) {
        const Candidate c = candidate(select, 0);
        if (const auto away = distance(c); away && (!nearestAway || *away < *nearestAway)) {
            nearest = c.id;
            nearestAway = away;
        }
    }
    select.reset();
    return nearest ? take(*nearest) : std::nullopt;
}

QString comparedMode(const QString &mode)
{
    return adifMode(mode.trimmed().toUpper());
}

QString duplicateMark(qint64 id)
{
    return QStringLiteral("dupe%1").arg(id);
}

std::optional<qint64> markedDuplicate(const QString &mark)
{
    if (!mark.startsWith(QLatin1String("dupe")))
        return std::nullopt;
    bool ok = false;
    const qint64 id = mark.mid(4).trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return id;
}

QsoRecord stagedRow(const ImportRecord &r, const QString &ownCall, std::optional<qint64> duplicateOf)
{
    const QDateTime moment = r.moment();
    QsoRecord s;
    s.modoU = nonNull(r.mode);
    s.frecU = formatFrequency(r.uplink);
    s.myCall = nonNull(ownCall);
    s.estacion = r.station;
    s.fecha = toStoredInstant(moment);
    s.hora = formatHourMinute(moment.time());
    s.rste = nonNull(r.reportSent.left(3));
    s.frecD = formatFrequency(r.downlink);
    s.rstr = nonNull(r.reportReceived.left(3));
    if (r.mode == u"LSB")
        s.modoD = QStringLiteral("USB");
    else if (r.mode == u"USB")
        s.modoD = QStringLiteral("LSB");
    else if (r.mode == u"FM")
        s.modoD = QStringLiteral("FM");
    else
        s.modoD = QLatin1String("");
    s.obs = nonNull(r.notes.left(100));
    s.qsle = r.qslSent == u"Y" ? QStringLiteral("1") : QString(QLatin1String(""));
    s.qslr = r.qslReceived == u"Y" ? QStringLiteral("1") : QString(QLatin1String(""));
    s.modalidad = QLatin1String("");
    s.nombreLog = duplicateOf ? duplicateMark(*duplicateOf) : QString(QLatin1String(""));
    s.operador = nonNull(r.locator);
    s.satelite = nonNull(r.satellite);
    s.orbita = nonNull(r.orbit);
    return s;
}

quint8 notCarried(const ImportRecord &r)
{
    return quint8((r.uplinkDefault ? UplinkNotCarried : 0) | (r.downlinkDefault ? DownlinkNotCarried : 0)
                  | (r.reportSentDefault ? ReportSentNotCarried : 0)
                  | (r.reportReceivedDefault ? ReportReceivedNotCarried : 0));
}

} // namespace vorta
