#include "tracking/passtable.h"

#include <cmath>

namespace vorta {

PassTableModel::PassTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void PassTableModel::setPasses(const QList<ListedPass> &passes)
{
    beginResetModel();
    m_passes = passes;
    endResetModel();
}

int PassTableModel::rowOfSamePass(const ListedPass &pass) const
{
    for (qsizetype i = 0; i < m_passes.size(); ++i)
        if (m_passes[i].satellite == pass.satellite && std::fabs(m_passes[i].pass.aos - pass.pass.aos) < 60.0)
            return int(i);
    return 0;
}

void PassTableModel::setLanguage(Language language)
{
    m_language = language;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void PassTableModel::setTimeZone(const QTimeZone &zone)
{
    m_zone = zone;
    if (!m_passes.isEmpty())
        emit dataChanged(index(0, AosLocal), index(int(m_passes.size()) - 1, LosLocal));
}

int PassTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_passes.size());
}

int PassTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString PassTableModel::timeText(bool known, double utc, const QTimeZone &zone) const
{
    // A satellite already up when the search began, or still up at its end, has no such time.
    if (!known)
        return QStringLiteral("—");
    // The day too: the list runs past midnight.
    return utcDateTime(utc).toTimeZone(zone).toString(QStringLiteral("dd/MM HH:mm:ss"));
}

QVariant PassTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_passes.size())
        return {};
    const ListedPass &p = m_passes[index.row()];
    if (role == SortRole) {
        switch (index.column()) {
        case Satellite: return p.satellite;
        case AosUtc: case AosLocal: return p.pass.aos;
        case MaxElevation: return p.pass.maxElevation;
        case LosUtc: case LosLocal: return p.pass.los;
        }
        return {};
    }
    if (role == Qt::TextAlignmentRole && index.column() == MaxElevation)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Satellite: return p.satellite;
    case AosUtc: return timeText(p.pass.rises, p.pass.aos, QTimeZone::utc());
    case MaxElevation: return QString::number(std::lround(p.pass.maxElevation)) + u'°';
    case LosUtc: return timeText(p.pass.sets, p.pass.los, QTimeZone::utc());
    case AosLocal: return timeText(p.pass.rises, p.pass.aos, m_zone);
    case LosLocal: return timeText(p.pass.sets, p.pass.los, m_zone);
    }
    return {};
}

QString PassTableModel::columnTitle(int column, Language language)
{
    static constexpr Txt titles[ColumnCount] = {Txt::PassesSatellite, Txt::PassesAosUtc,   Txt::PassesMaxElevation,
                                                Txt::PassesLosUtc,    Txt::PassesAosLocal, Txt::PassesLosLocal};
    return column >= 0 && column < ColumnCount ? text(titles[column], language) : QString();
}

QVariant PassTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return columnTitle(section, m_language);
}

} // namespace vorta
