// The log browser's grid as a table model: the QSOs of the current log, whole or filtered, in
// listing order. Only the Ids of the listed rows are held; cells are read in pages as a view
// asks for them, so that a log of a million QSOs lists in a fraction of a second.
#pragma once

#include "browser/logfilter.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace vorta {

struct QsoRecord;
class FilterListGatherer;

namespace db {
class Database;
} // namespace db

// The distinct values that a full listing offers in the filter lists, each in the order of its
// first appearance in the listing order, without the leading "Todos"/"Todas".
struct FilterLists
{
    QStringList satellites; // every satellite name, the empty one too (NULL counts as empty)
    QStringList locators;   // non-empty Operador
    QStringList orbits;     // non-empty Orbita
    QStringList myStations; // non-empty MyCall
    bool operator==(const FilterLists &) const = default;
};

// The filter lists of a log, read on their own (the model reads them with its full listing).
// Throws db::DbError.
FilterLists readFilterLists(const QString &path, bool reverse);

class LogModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kColumns = 18;
    // The grid's columns, in order.
    enum Column {
        ColId, ColModeUp, ColFreqUp, ColMyCall, ColCall, ColDate, ColTime, ColReportSent, ColFreqDown,
        ColReportReceived, ColModeDown, ColNotes, ColSatellite, ColOrbit, ColLocator, ColAzimuth,
        ColElevation, ColOwnLocator
    };
    // data() with this role gives the row's Id as a number.
    static constexpr int IdRole = Qt::UserRole + 1;

    struct ColumnInfo
    {
        const char *header; // the same in every interface language
        int width;          // relative width (twips of the original layout)
    };
    static const std::array<ColumnInfo, kColumns> &columnInfo();
    // A record's cells as the grid shows them: Fecha "dd/mm/yyyy", Hora "hh:mm", NULL empty.
    static std::array<QString, kColumns> cells(const QsoRecord &record);

    explicit LogModel(QObject *parent = nullptr);
    ~LogModel() override;

    // Full listing of the log at path, oldest first unless reversed. Returns an error text (the
    // model is then empty), empty on success. Its filter lists follow from the event loop.
    QString listAll(const QString &path, bool reverse);
    // Filtered listing of the log at path; the filter lists stay as they are.
    QString listFiltered(const QString &path, const LogFilter &filter);
    // The last listing again, on the same file (after rows were changed or deleted).
    QString reload();
    // No rows, no listing; the open file is let go.
    void clear();

    const QString &path() const { return m_path; }
    bool isFiltered() const { return m_filtered; }
    const LogFilter &filter() const { return m_filter; } // of the last filtered listing
    bool isReversed() const { return m_filtered ? m_filter.reverse : m_reverse; }
    // The filter lists of the last full listing. They take a pass over the whole log, so they
    // are read after the listing, a slice of rows at a time from the event loop, and
    // filterListsReady() tells when they are complete: the grid shows at once and the window
    // stays live on a large log. Asked for before that, the rest is read at once.
    const FilterLists &filterLists();
    bool filterListsComplete() const { return !m_gatherer; }
    // The most rows read per slice; a slice also ends after a few milliseconds.
    void setFilterListSlice(int rows) { m_sliceRows = std::max(1, rows); }
    // The condition and order of the current listing, and the Ids it listed in that order.
    LogQuery query() const;
    const std::vector<qint64> &ids() const { return m_ids; }
    // The frame caption for the current rows: "152 QSO(s)" after a full listing, the filter
    // description with " <n QSO(s)>" after a filtered one.
    QString caption() const;

    // The Id of a row; 0 outside the rows.
    qint64 idAt(int row) const;
    // The row that shows the Id; -1 when it is not listed.
    int rowOfId(qint64 id) const;
    // The cells of a row (all empty when the row cannot be read).
    std::array<QString, kColumns> rowCells(int row) const;

    // A QSO just stored in the listed log: its row is inserted where the listing order puts it,
    // when it passes the current filter. Returns its row, or -1 when it is not shown.
    int appendQso(qint64 id);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The filter lists of the last full listing are complete.
    void filterListsReady();

private:
    struct Connection;
    struct Page;
    using Cells = std::array<QString, kColumns>;
    // A row's place in the listing order: Fecha, Hora (NULL before any text), then Id.
    struct Key
    {
        std::optional<QByteArray> fecha, hora;
        qint64 id = 0;
    };

    QString list(const QString &path, const LogQuery &query, bool readLists);
    void readListSlice(int maxRows);
    Connection &connection() const;
    const Cells &cellsAt(int row) const;
    std::optional<Key> keyOf(qint64 id) const;
    bool before(const Key &a, const Key &b) const;

    QString m_path;
    bool m_listed = false;
    bool m_filtered = false;
    bool m_reverse = false;
    LogFilter m_filter;
    FilterLists m_lists;
    QString m_listsPath;                          // the log the lists are read from
    std::unique_ptr<FilterListGatherer> m_gatherer; // while the lists are being read
    QTimer m_sliceTimer;
    int m_sliceRows = 1 << 20;
    std::vector<qint64> m_ids; // listed rows, in listing order

    mutable std::unique_ptr<Connection> m_connection;
    mutable std::vector<std::unique_ptr<Page>> m_pages; // a few recently read pages
};

} // namespace vorta
