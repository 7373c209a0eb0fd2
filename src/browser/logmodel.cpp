#include "browser/logmodel.h"

#include "logdb/logdatabase.h"
#include "logdb/qsorecord.h"
#include "logdb/sqlite.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace vorta {

using db::Database;
using db::DbError;
using db::Statement;

namespace {

// The filter lists are read in slices of about this long, so the window answers in between.
constexpr std::chrono::milliseconds kListSlice(15);
// Rows are read in pages of this many; a view showing a screenful touches one or two pages.
constexpr int kPageSize = 128;
// Pages kept; the one farthest from the page being read goes first.
constexpr std::size_t kMaxPages = 16;

void bindAll(Statement &statement, const QStringList &values)
{
    for (int i = 0; i < values.size(); ++i)
        statement.bind(i + 1, values[i]);
}

std::vector<qint64> readIds(Database &database, const LogQuery &query)
{
    const QByteArray sql = query.select(QStringLiteral("[Id]")).toUtf8();
    Statement statement(database, sql.constData());
    bindAll(statement, query.values);
    std::vector<qint64> ids;
    while (statement.step())
        ids.push_back(statement.integer(0));
    return ids;
}

// The distinct values of one filter list with the earliest listing position of each. Values are
// told apart by their stored bytes, and only the ones kept become QStrings: the list pass looks
// at a million values for a few thousand distinct ones. The values live in the slots of a small
// open-addressing table, short ones inside the slot itself, so that a lookup mostly touches one
// place in memory; with a general-purpose map, which chases a node per lookup, the lookups
// took about twice as long.
class FirstSeen
{
public:
    // A null value counts as the empty one.
    void note(QByteArrayView value, int position)
    {
        const std::string_view bytes(value.data(), std::size_t(value.size()));
        // Consecutive rows often share a value (one pass, one satellite): no lookup for them.
        if (!m_last || m_last->bytes != bytes)
            m_last = &slotOf(bytes, position);
        else if (position < m_last->position)
            m_last->position = position;
    }
    QStringList inOrder() const
    {
        std::vector<const Slot *> used;
        used.reserve(m_used);
        for (const Slot &slot : m_slots)
            if (slot.position >= 0)
                used.push_back(&slot);
        std::sort(used.begin(), used.end(), [](const Slot *a, const Slot *b) { return a->position < b->position; });
        QStringList list;
        list.reserve(qsizetype(used.size()));
        // Different malformed bytes can read as the same text, which the list shows once, in
        // its first place. Such text holds the replacement character, and distinct well-formed
        // bytes always read as distinct texts, so only those few need checking.
        QSet<QString> replaced;
        for (const Slot *slot : used) {
            QString value = QString::fromUtf8(slot->bytes.data(), qsizetype(slot->bytes.size()));
            if (value.isNull())
                value = QLatin1String("");
            if (value.contains(QChar::ReplacementCharacter)) {
                if (replaced.contains(value))
                    continue;
                replaced.insert(value);
            }
            list << std::move(value);
        }
        return list;
    }

private:
    struct Slot
    {
        std::string bytes;
        int position = -1; // -1: free
    };

    // FNV-1a, for short values; the slot is taken from the low bits.
    static std::size_t hashOf(std::string_view bytes)
    {
        std::uint64_t h = 14695981039346656037ull;
        for (const char c : bytes) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
        }
        return std::size_t(h ^ (h >> 32));
    }

    // The value's slot, its earliest position updated; a new value takes a free one.
    Slot &slotOf(std::string_view bytes, int position)
    {
        if ((m_used + 1) * 2 > m_slots.size())
            grow();
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hashOf(bytes) & mask;; i = (i + 1) & mask) {
            Slot &slot = m_slots[i];
            if (slot.position < 0) {
                slot.bytes = bytes;
                slot.position = position;
                ++m_used;
                return slot;
            }
            if (slot.bytes == bytes) {
                slot.position = std::min(slot.position, position);
                return slot;
            }
        }
    }

    // Twice the slots, a power of two, so that at most half of them are used.
    void grow()
    {
        const std::size_t size = std::max<std::size_t>(64, m_slots.size() * 2);
        std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size));
        const std::size_t mask = m_slots.size() - 1;
        for (Slot &slot : old) {
            if (slot.position < 0)
                continue;
            std::size_t i = hashOf(slot.bytes) & mask;
            while (m_slots[i].position >= 0)
                i = (i + 1) & mask;
            m_slots[i] = std::move(slot);
        }
        m_last = nullptr;
    }

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
    Slot *m_last = nullptr; // the slot of the previous value
};

} // namespace

// Gathers the filter lists of a full listing in one pass over the table in storage (Id) order,
// much faster than walking it in listing order; each row's listing position comes from the
// listed Ids. The pass may be cut into slices: each slice is a query of its own that is done
// before the slice returns, so nothing holds the log between slices and a QSO can be saved
// meanwhile. Rows stored after the Ids were read are not listed, so they are passed over.
class FilterListGatherer
{
public:
    explicit FilterListGatherer(const std::vector<qint64> &orderedIds)
    {
        if (orderedIds.empty()) {
            m_done = true;
            return;
        }
        const auto [minIt, maxIt] = std::minmax_element(orderedIds.begin(), orderedIds.end());
        m_minId = *minIt;
        m_span = *maxIt - m_minId + 1;
        // Ids are dense in practice (they count up); a table indexed by Id is then the cheapest map.
        m_dense = m_span <= qint64(orderedIds.size()) * 4 + 1024;
        if (m_dense) {
            m_denseMap.assign(std::size_t(m_span), -1);
            for (std::size_t i = 0; i < orderedIds.size(); ++i)
                m_denseMap[std::size_t(orderedIds[i] - m_minId)] = int(i);
        } else {
            m_sparseMap.reserve(qsizetype(orderedIds.size()));
            for (std::size_t i = 0; i < orderedIds.size(); ++i)
                m_sparseMap.insert(orderedIds[i], int(i));
        }
    }

    bool done() const { return m_done; }

    // Reads further rows: all of them, or (with a budget) up to maxRows and for about the
    // budget's time.
    void read(Database &database, int maxRows = 0, std::chrono::milliseconds budget = {})
    {
        if (m_done)
            return;
        Statement statement(database, "SELECT [Id], [Satelite], [Operador], [Orbita], [MyCall] FROM Tabla1 "
                                      "WHERE [Id] > ?1 ORDER BY [Id]");
        statement.bind(1, m_lastId);
        const auto until = std::chrono::steady_clock::now() + budget;
        for (int rows = 0; maxRows == 0 || rows < maxRows; ++rows) {
            if (budget.count() > 0 && rows % 512 == 511 && std::chrono::steady_clock::now() >= until)
                return;
            if (!statement.step()) {
                m_done = true;
                return;
            }
            m_lastId = statement.integer(0);
            const int position = positionOf(m_lastId);
            if (position < 0)
                continue; // stored after the Ids were read
            m_satellites.note(statement.utf8(1), position); // NULL is shown empty, so listed as the empty name
            if (const QByteArrayView locator = statement.utf8(2); !locator.isEmpty())
                m_locators.note(locator, position);
            if (const QByteArrayView orbit = statement.utf8(3); !orbit.isEmpty())
                m_orbits.note(orbit, position);
            if (const QByteArrayView myCall = statement.utf8(4); !myCall.isEmpty())
                m_myStations.note(myCall, position);
        }
    }

    // What the rows read so far give.
    FilterLists lists() const
    {
        return {m_satellites.inOrder(), m_locators.inOrder(), m_orbits.inOrder(), m_myStations.inOrder()};
    }

private:
    int positionOf(qint64 id) const
    {
        if (m_dense) {
            const qint64 slot = id - m_minId;
            return slot >= 0 && slot < m_span ? m_denseMap[std::size_t(slot)] : -1;
        }
        return m_sparseMap.value(id, -1);
    }

    bool m_done = false;
    qint64 m_lastId = std::numeric_limits<qint64>::min();
    qint64 m_minId = 0, m_span = 0;
    bool m_dense = true;
    std::vector<int> m_denseMap;
    QHash<qint64, int> m_sparseMap;
    FirstSeen m_satellites, m_locators, m_orbits, m_myStations;
};

namespace {

QString pageSql()
{
    QStringList marks;
    for (int i = 1; i <= kPageSize; ++i)
        marks << QStringLiteral("?%1").arg(i);
    return QStringLiteral("SELECT %1 FROM Tabla1 WHERE [Id] IN (%2)").arg(recordSelectList(), marks.join(u','));
}

// Binary order of the UTF-8 bytes, as SQLite compares texts; NULL before everything.
int compareNullable(const std::optional<QByteArray> &a, const std::optional<QByteArray> &b)
{
    if (!a || !b)
        return int(bool(a)) - int(bool(b));
    return a->compare(*b);
}

std::optional<QByteArray> nullableText(const Statement &statement, int column)
{
    if (statement.isNull(column))
        return std::nullopt;
    return statement.text(column).toUtf8();
}

} // namespace

FilterLists readFilterLists(const QString &path, bool reverse)
{
    Database database(path, Database::Mode::ReadOnly);
    FilterListGatherer gatherer(readIds(database, fullListingQuery(reverse)));
    gatherer.read(database);
    return gatherer.lists();
}

// The listed file, kept open while the model lists it, with its prepared reads.
struct LogModel::Connection
{
    explicit Connection(const QString &file) : path(file), database(file, Database::Mode::ReadOnly) {}
    QString path;
    Database database; // declared before the statements, so it closes after them
    std::unique_ptr<Statement> page;
    std::unique_ptr<Statement> key;
};

struct LogModel::Page
{
    int index = 0;
    std::vector<Cells> rows;
};

const std::array<LogModel::ColumnInfo, LogModel::kColumns> &LogModel::columnInfo()
{
    static const std::array<ColumnInfo, kColumns> info = {{
        {"Reg", 400},      {"Modo Up", 800},  {"Frec Up", 1200},  {"My Call", 1300}, {"Call", 1300},
        {"Fecha", 1200},   {"Hora", 1200},    {"RS(T) E", 800},   {"Frec Dwn", 1200}, {"RS(T) R", 800},
        {"Modo Dwn", 900}, {"Obs", 2000},     {"Satelite", 1200}, {"Orbita", 800},    {"GridLoc", 800},
        {"Azimuth", 800},  {"Elev.", 800},    {"Mi Grid", 800},
    }};
    return info;
}

std::array<QString, LogModel::kColumns> LogModel::cells(const QsoRecord &r)
{
    // The panel's reading of Fecha and Hora is the one every reader of the log shows.
    const LastRecordView shown = lastRecordView(r);
    return {QString::number(r.id), r.modoU, r.frecU, r.myCall, r.estacion, shown.date, shown.time,
            r.rste, r.frecD, r.rstr, r.modoD, r.obs, r.satelite, r.orbita, r.operador, r.m2, r.m3,
            r.nombreLog};
}

LogModel::LogModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_sliceTimer.setSingleShot(true);
    connect(&m_sliceTimer, &QTimer::timeout, this, [this] { readListSlice(m_sliceRows); });
}

LogModel::~LogModel() = default;

QString LogModel::listAll(const QString &path, bool reverse)
{
    m_filtered = false;
    m_reverse = reverse;
    return list(path, fullListingQuery(reverse), true);
}

QString LogModel::listFiltered(const QString &path, const LogFilter &filter)
{
    m_filtered = true;
    m_filter = filter;
    return list(path, filteredQuery(filter), false);
}

QString LogModel::reload()
{
    if (m_path.isEmpty())
        return {};
    return m_filtered ? listFiltered(m_path, m_filter) : listAll(m_path, m_reverse);
}

void LogModel::clear()
{
    m_gatherer.reset();
    m_sliceTimer.stop();
    beginResetModel();
    m_ids.clear();
    m_pages.clear();
    m_connection.reset();
    m_listed = false;
    endResetModel();
}

QString LogModel::list(const QString &path, const LogQuery &query, bool readLists)
{
    beginResetModel();
    m_ids.clear();
    m_pages.clear();
    // Opened anew for every listing, so that a file replaced under the same name is seen.
    m_connection.reset();
    m_listed = false;
    m_path = path;
    QString error;
    try {
        Connection &c = connection();
        m_ids = readIds(c.database, query);
        m_listed = true;
    } catch (const DbError &e) {
        error = e.message();
        m_ids.clear();
        m_connection.reset();
    }
    if (readLists) {
        // Read from the event loop once the listing is shown; a listing of nothing gives none.
        m_lists = {};
        m_listsPath = path;
        m_gatherer = std::make_unique<FilterListGatherer>(m_ids);
        m_sliceTimer.start(0);
    }
    endResetModel();
    return error;
}

void LogModel::readListSlice(int maxRows)
{
    if (!m_gatherer)
        return;
    bool failed = false;
    if (!m_gatherer->done()) {
        try {
            Database database(m_listsPath, Database::Mode::ReadOnly);
            m_gatherer->read(database, maxRows, maxRows > 0 ? kListSlice : std::chrono::milliseconds());
        } catch (const DbError &) {
            failed = true; // as with a row that cannot be read while listing: what was read counts
        }
    }
    if (!failed && !m_gatherer->done()) {
        m_sliceTimer.start(0);
        return;
    }
    m_lists = m_gatherer->lists();
    m_gatherer.reset();
    m_sliceTimer.stop();
    emit filterListsReady();
}

const FilterLists &LogModel::filterLists()
{
    readListSlice(0);
    return m_lists;
}

LogModel::Connection &LogModel::connection() const
{
    if (!m_connection || m_connection->path != m_path)
        m_connection = std::make_unique<Connection>(m_path);
    return *m_connection;
}

QString LogModel::caption() const
{
    const qint64 count = qint64(m_ids.size());
    return m_filtered ? filteredCaption(m_filter, count) : fullListingCaption(count);
}

LogQuery LogModel::query() const
{
    return m_filtered ? filteredQuery(m_filter) : fullListingQuery(m_reverse);
}

qint64 LogModel::idAt(int row) const
{
    return row >= 0 && std::size_t(row) < m_ids.size() ? m_ids[std::size_t(row)] : 0;
}

int LogModel::rowOfId(qint64 id) const
{
    const auto it = std::find(m_ids.begin(), m_ids.end(), id);
    return it == m_ids.end() ? -1 : int(it - m_ids.begin());
}

std::array<QString, LogModel::kColumns> LogModel::rowCells(int row) const
{
    if (row < 0 || std::size_t(row) >= m_ids.size())
        return {};
    return cellsAt(row);
}

const LogModel::Cells &LogModel::cellsAt(int row) const
{
    const int index = row / kPageSize;
    const int first = index * kPageSize;
    for (const auto &page : m_pages)
        if (page->index == index)
            return page->rows[std::size_t(row - first)];

    auto page = std::make_unique<Page>();
    page->index = index;
    const int count = std::min<int>(kPageSize, int(m_ids.size()) - first);
    page->rows.resize(std::size_t(count));
    try {
        Connection &c = connection();
        if (!c.page) {
            static const QByteArray sql = pageSql().toUtf8();
            c.page = std::make_unique<Statement>(c.database, sql.constData());
        }
        Statement &statement = *c.page;
        QHash<qint64, int> slot;
        slot.reserve(count);
        for (int i = 0; i < kPageSize; ++i) {
            if (i < count) {
                const qint64 id = m_ids[std::size_t(first + i)];
                statement.bind(i + 1, id);
                slot.insert(id, i);
            } else {
                statement.bind(i + 1, QString()); // NULL matches no Id
            }
        }
        while (statement.step()) {
            const QsoRecord record = readRecord(statement);
            const auto it = slot.constFind(record.id);
            if (it != slot.constEnd())
                page->rows[std::size_t(*it)] = cells(record);
        }
        statement.reset();
    } catch (const DbError &) {
        // A row that cannot be read shows empty cells; the next read opens the file anew.
        m_connection.reset();
    }

    if (m_pages.size() >= kMaxPages) {
        const auto farthest = std::max_element(m_pages.begin(), m_pages.end(), [index](const auto &a, const auto &b) {
            return std::abs(a->index - index) < std::abs(b->index - index);
        });
        m_pages.erase(farthest);
    }
    m_pages.push_back(std::move(page));
    return m_pages.back()->rows[std::size_t(row - first)];
}

std::optional<LogModel::Key> LogModel::keyOf(qint64 id) const
{
    Connection &c = connection();
    if (!c.key)
        c.key = std::make_unique<Statement>(c.database, "SELECT [Fecha], [Hora] FROM Tabla1 WHERE [Id] = ?1");
    Statement &statement = *c.key;
    statement.bind(1, id);
    std::optional<Key> key;
    if (statement.step())
        key = Key{nullableText(statement, 0), nullableText(statement, 1), id};
    statement.reset();
    return key;
}

bool LogModel::before(const Key &a, const Key &b) const
{
    const auto ascending = [](const Key &x, const Key &y) {
        if (const int c = compareNullable(x.fecha, y.fecha))
            return c < 0;
        if (const int c = compareNullable(x.hora, y.hora))
            return c < 0;
        return x.id < y.id;
    };
    return isReversed() ? ascending(b, a) : ascending(a, b);
}

int LogModel::appendQso(qint64 id)
{
    if (!m_listed)
        return -1;
    std::size_t at = 0;
    try {
        Connection &c = connection();
        // Read the new row's place only when it passes the filter of the listing.
        const LogQuery query = this->query();
        QString sql = QStringLiteral("SELECT [Fecha], [Hora] FROM Tabla1 WHERE [Id] = ?%1").arg(query.values.size() + 1);
        if (!query.where.isEmpty())
            sql += QStringLiteral(" AND (") + query.where + u')';
        Key key;
        {
            const QByteArray utf8 = sql.toUtf8();
            Statement statement(c.database, utf8.constData());
            bindAll(statement, query.values);
            statement.bind(int(query.values.size()) + 1, id);
            if (!statement.step())
                return -1;
            key = Key{nullableText(statement, 0), nullableText(statement, 1), id};
        }

        // Usually the newest QSO: its place is the end of the listing (the top when reversed).
        std::size_t lo = 0;
        std::size_t hi = m_ids.size();
        if (hi > 0) {
            const auto last = keyOf(m_ids[hi - 1]);
            if (last && last->id == id)
                return int(hi - 1);
            if (last && before(*last, key))
                lo = hi;
        }
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            const auto other = keyOf(m_ids[mid]);
            if (!other)
                break; // a listed row has gone: the listing is stale
            if (other->id == id)
                return int(mid);
            if (before(*other, key))
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo < hi) {
            const QString error = reload();
            return error.isEmpty() ? rowOfId(id) : -1;
        }
        at = lo;
    } catch (const DbError &) {
        m_connection.reset();
        return -1;
    }

    beginInsertRows(QModelIndex(), int(at), int(at));
    m_ids.insert(m_ids.begin() + qsizetype(at), id);
    m_pages.clear(); // rows after the new one have moved
    endInsertRows();
    return int(at);
}

int LogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

int LogModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant LogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumns)
        return {};
    if (role == IdRole)
        return m_ids[std::size_t(index.row())];
    if (role == Qt::DisplayRole)
        return cellsAt(index.row())[std::size_t(index.column())];
    return {};
}

QVariant LogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns)
        return QString::fromUtf8(columnInfo()[std::size_t(section)].header);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace vorta
