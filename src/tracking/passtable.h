// The passes of the satellite list's satellites as a table: satellite, AOS, highest elevation
// and LOS, the times in UTC and in local time. Each cell also carries the value it is sorted by,
// so that times sort as times and elevations as numbers.
#pragma once

#include "config/languages.h"
#include "tracking/builtintracker.h"

#include <QAbstractTableModel>
#include <QTimeZone>

namespace vorta {

class PassTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Satellite, AosUtc, MaxElevation, LosUtc, AosLocal, LosLocal, ColumnCount };
    // The role of the value a column is sorted by.
    static constexpr int SortRole = Qt::UserRole;

    explicit PassTableModel(QObject *parent = nullptr);

    void setPasses(const QList<ListedPass> &passes);
    const QList<ListedPass> &passes() const { return m_passes; }
    // The row of the same pass as one listed before the passes were computed again from another
    // instant (its rise may have moved by a fraction of a second); the first row when it is no
    // longer listed.
    int rowOfSamePass(const ListedPass &pass) const;
    void setLanguage(Language language);
    // The zone of the local times; the system's unless a test sets another.
    void setTimeZone(const QTimeZone &zone);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text of a column's header in a language.
    static QString columnTitle(int column, Language language);

private:
    QString timeText(bool known, double utc, const QTimeZone &zone) const;

    QList<ListedPass> m_passes;
    Language m_language = Language::Spanish;
    QTimeZone m_zone = QTimeZone::systemTimeZone();
};

} // namespace vorta
