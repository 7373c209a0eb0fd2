// "Próximos pasos": the passes of the satellite list's satellites over the next 24 hours, with
// AOS, highest elevation and LOS in UTC and local time, sortable by any column (a header click,
// or "Ordenar por" from the keyboard). A double click or Enter on a pass (the view's activation)
// chooses its satellite for the entry panel. An open window keeps its list current.
#pragma once

#include "config/languages.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <chrono>

class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimeZone;

namespace vorta {

class BuiltInTrackingSource;
class PassTableModel;
class Session;

class PassesWindow : public QDialog
{
    Q_OBJECT
public:
    // How often an open window computes its passes again.
    static constexpr std::chrono::minutes kRefreshInterval{1};

    PassesWindow(Session &session, BuiltInTrackingSource &source, QWidget *parent = nullptr);

    // Computes the passes again from now on.
    void refresh();
    // Chooses the satellite of the selected pass; nothing without a selection.
    void chooseSelected();
    void sortBy(int column, Qt::SortOrder order = Qt::AscendingOrder);

    QTableView &table() { return *m_table; }
    PassTableModel &model() { return *m_model; }
    QString summary() const;
    void setTimeZone(const QTimeZone &zone);

signals:
    void satelliteChosen(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retranslate(Language language);

    Session &m_session;
    BuiltInTrackingSource &m_source;
    PassTableModel *m_model;
    QSortFilterProxyModel *m_sorted;
    QTableView *m_table;
    QLabel *m_summary, *m_sortCaption;
    QComboBox *m_sort;
    QPushButton *m_choose, *m_refresh, *m_close;
    QTimer m_refreshTimer;
    QElapsedTimer m_sinceRefresh;
    // An activation this soon after a refresh leaves the list as it is.
    static constexpr qint64 kRefreshSkipMs = 2000;
};

} // namespace vorta
