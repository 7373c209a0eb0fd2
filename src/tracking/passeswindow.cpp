#include "tracking/passeswindow.h"

#include "mainwindow/session.h"
#include "tracking/builtintrackingsource.h"
#include "tracking/passtable.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>


namespace vorta {

PassesWindow::PassesWindow(Session &session, BuiltInTrackingSource &source, QWidget *parent)
    : QDialog(parent), m_session(session), m_source(source), m_model(new PassTableModel(this)),
      m_sorted(new QSortFilterProxyModel(this))
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(PassTableModel::SortRole);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);

    m_summary = new QLabel;
    m_table = new QTableView;
    m_table->setModel(m_sorted);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSortingEnabled(true);
    m_table->setTabKeyNavigation(false); // Tab leaves the table for the buttons
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_summary->setBuddy(m_table);

    m_sortCaption = new QLabel;
    m_sort = new QComboBox;
    m_sort->addItems(QStringList(PassTableModel::ColumnCount, QString()));
    m_sortCaption->setBuddy(m_sort);
    m_sort->installEventFilter(this);

    // Enter on a button presses it; anywhere else it chooses the pass selected ("Elegir" is the
    // default), as a double click on a pass does.
    m_choose = new QPushButton;
    m_choose->setDefault(true);
    m_refresh = new QPushButton;
    m_close = new QPushButton;

    auto *sortRow = new QHBoxLayout;
    sortRow->addWidget(m_sortCaption);
    sortRow->addWidget(m_sort);
    sortRow->addStretch(1);
    sortRow->addWidget(m_refresh);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_choose);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addLayout(sortRow);
    layout->addLayout(buttons);
    resize(760, 460);

    // Passes go by while the window stays open: the list moves on with them.
    m_refreshTimer.setInterval(kRefreshInterval);
    connect(&m_refreshTimer, &QTimer::timeout, this, &PassesWindow::refresh);
    connect(m_table, &QTableView::activated, this, &PassesWindow::chooseSelected);
    connect(m_choose, &QPushButton::clicked, this, &PassesWindow::chooseSelected);
    connect(m_refresh, &QPushButton::clicked, this, &PassesWindow::refresh);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_sort, &QComboBox::activated, this, [this](int column) { sortBy(column); });
    // A header click sorts too; the list below says by what.
    connect(m_table->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column) { m_sort->setCurrentIndex(column); });
    connect(&session.state(), &AppState::languageChanged, this, &PassesWindow::retranslate);
    retranslate(session.state().language());
    sortBy(PassTableModel::AosUtc);
}

void PassesWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    refresh();
    m_refreshTimer.start();
    m_table->setFocus();
}

void PassesWindow::hideEvent(QHideEvent *event)
{
    m_refreshTimer.stop();
    QDialog::hideEvent(event);
}

void PassesWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // Back from the main window a while later, the list is brought up to the moment.
    // (Not when just shown: the list was computed then.)
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()
        && m_sinceRefresh.hasExpired(kRefreshSkipMs))
        refresh();
}

bool PassesWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The sort list sorts as its choice changes; Enter there confirms the sort, it does not
    // choose a pass the operator may not have looked at yet.
    if (watched == m_sort && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PassesWindow::setTimeZone(const QTimeZone &zone)
{
    m_model->setTimeZone(zone);
}

void PassesWindow::retranslate(Language language)
{
    setWindowTitle(text(Txt::PassesTitle, language));
    m_model->setLanguage(language);
    for (int column = 0; column < PassTableModel::ColumnCount; ++column)
        m_sort->setItemText(column, PassTableModel::columnTitle(column, language));
    m_table->setAccessibleName(text(Txt::PassesTitle, language));
    m_sortCaption->setText(text(Txt::PassesSortBy, language));
    m_choose->setText(text(Txt::PassesChoose, language));
    m_refresh->setText(text(Txt::PassesRefresh, language));
    m_close->setText(text(Txt::PassesClose, language));
    if (isVisible())
        refresh();
}

void PassesWindow::refresh()
{
    m_sinceRefresh.start();
    const Language language = m_session.state().language();
    const BuiltInTracker &tracker = m_source.tracker();
    const QList<ListedPass> passes = m_source.passList();
    // The pass chosen before stays chosen when it is still listed.
    const QModelIndex current = m_sorted->mapToSource(m_table->currentIndex());
    std::optional<ListedPass> kept;
    if (current.isValid())
        kept = m_model->passes().value(current.row());
    m_model->setPasses(passes);

    QString summary;
    if (!tracker.hasStation())
        summary = text(Txt::TrackerNoStation, language);
    else if (m_source.elementCount() == 0)
        summary = text(Txt::TrackerNoElements, language);
    else if (tracker.satellites().isEmpty())
        summary = text(Txt::PassesNoSatellites, language);
    else
        summary = text(Txt::PassesSummary, language,
                       {{"$qsoss$", QString::number(passes.size())},
                        {"$nombre$", m_session.state().settings().gridLocator}});
    m_summary->setText(summary);
    m_table->setAccessibleDescription(summary);

    const int row = kept ? m_model->rowOfSamePass(*kept) : 0;
    if (!passes.isEmpty())
        m_table->setCurrentIndex(m_sorted->mapFromSource(m_model->index(row, 0)));
}

void PassesWindow::sortBy(int column, Qt::SortOrder order)
{
    m_table->sortByColumn(column, order);
    m_sort->setCurrentIndex(column);
}

QString PassesWindow::summary() const
{
    return m_summary->text();
}

void PassesWindow::chooseSelected()
{
    // Enter on a pass both activates it and reaches the default button: one choice is enough.
    if (!isVisible())
        return;
    const QModelIndex index = m_sorted->mapToSource(m_table->currentIndex());
    if (!index.isValid())
        return;
    const QString name = m_model->passes().value(index.row()).satellite;
    accept();
    emit satelliteChosen(name);
}

} // namespace vorta
