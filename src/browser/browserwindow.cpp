#include "browser/browserwindow.h"

#include "browser/csvexport.h"
#include "browser/recordeditorwindow.h"
#include "common/captionwidget.h"
#include "common/charfilter.h"
#include "common/dialogs.h"
#include "mainwindow/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace vorta {

namespace {

QComboBox *filterList()
{
    auto *combo = new QComboBox;
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumContentsLength(8);
    return combo;
}

QComboBox *yesNoList()
{
    auto *combo = new QComboBox;
    combo->addItems({QStringLiteral("SI"), QStringLiteral("NO")});
    return combo;
}

void refill(QComboBox *combo, const QString &first, const QStringList &values)
{
    combo->clear();
    combo->addItem(first);
    combo->addItems(values);
    combo->setCurrentIndex(0);
}

// The entries after the first become values. The lists arrive while the browser is already in
// use: the text the list shows, chosen or being typed, stays as it is.
void offer(QComboBox *combo, const QStringList &values)
{
    const QString shown = combo->currentText();
    while (combo->count() > 1)
        combo->removeItem(combo->count() - 1);
    combo->addItems(values);
    if (combo->currentText() != shown)
        combo->setEditText(shown);
}

QslChoice qslChoice(const QCheckBox *box, const QComboBox *list)
{
    if (!box->isChecked())
        return QslChoice::Off;
    return list->currentText() == QLatin1String("SI") ? QslChoice::Yes : QslChoice::No;
}

} // namespace

BrowserWindow::BrowserWindow(Session &session, QWidget *parent) : QDialog(parent), m_session(session)
{
    setModal(true);
    setWindowTitle(text(Txt::BrowserTitle, Language::Spanish));
    resize(1100, 640);
    m_editor = new RecordEditorWindow(session, this);

    m_grid = new QTableView;
    m_grid->setModel(&m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->hide();
    // Rows have one height, so the view never measures them one by one on a big log.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setAccessibleName(QStringLiteral("Log"));
    // Tab leaves the grid for the filters and buttons; the arrows move within it.
    m_grid->setTabKeyNavigation(false);
    const auto &columns = LogModel::columnInfo();
    for (int c = 0; c < LogModel::kColumns; ++c)
        m_grid->setColumnWidth(c, columns[c].width * 96 / 1440 + 4); // twips at 96 dpi
    m_gridBox = new QGroupBox;
    auto *gridLayout = new QVBoxLayout(m_gridBox);
    gridLayout->addWidget(m_grid);

    m_station = new QLineEdit;
    m_satellite = filterList();
    m_locator = filterList();
    m_orbit = filterList();
    m_myStation = filterList();
    m_fromDate = new QLineEdit;
    m_fromDate->setMaxLength(10);
    m_fromDate->setValidator(new CharFilter(&CharFilter::dateChar, m_fromDate));
    m_qslSent = new QCheckBox(text(Txt::BrowserQslSent, Language::Spanish));
    m_qslReceived = new QCheckBox(text(Txt::BrowserQslReceived, Language::Spanish));
    m_qslSentList = yesNoList();
    m_qslReceivedList = yesNoList();
    m_qslSentList->setAccessibleName(m_qslSent->text());
    m_qslReceivedList->setAccessibleName(m_qslReceived->text());
    m_reverse = new QCheckBox;
    m_search = new QPushButton;
    m_search->setAutoDefault(false);

    m_stationCaption = captionFor(m_station);
    m_satelliteCaption = captionFor(m_satellite);
    m_locatorCaption = captionFor(m_locator);
    m_orbitCaption = captionFor(m_orbit);
    m_myStationCaption = captionFor(m_myStation);
    m_fromDateCaption = captionFor(m_fromDate);

    m_filtersBox = new QGroupBox;
    auto *filters = new QGridLayout(m_filtersBox);
    filters->addWidget(m_stationCaption, 0, 0);
    filters->addWidget(m_station, 1, 0);
    filters->addWidget(m_satelliteCaption, 0, 1);
    filters->addWidget(m_satellite, 1, 1);
    filters->addWidget(m_locatorCaption, 0, 2);
    filters->addWidget(m_locator, 1, 2);
    filters->addWidget(m_orbitCaption, 0, 3);
    filters->addWidget(m_orbit, 1, 3);
    filters->addWidget(m_myStationCaption, 0, 4);
    filters->addWidget(m_myStation, 1, 4);
    filters->addWidget(m_fromDateCaption, 0, 5);
    filters->addWidget(m_fromDate, 1, 5);
    auto *qsl = new QHBoxLayout;
    qsl->addWidget(m_qslSent);
    qsl->addWidget(m_qslSentList);
    qsl->addSpacing(12);
    qsl->addWidget(m_qslReceived);
    qsl->addWidget(m_qslReceivedList);
    qsl->addStretch(1);
    qsl->addWidget(m_reverse);
    qsl->addSpacing(12);
    qsl->addWidget(m_search);
    filters->addLayout(qsl, 2, 0, 1, 6);

    m_exportBox = new QGroupBox;
    auto *exports = new QGridLayout(m_exportBox);
    m_exportLotw = new QPushButton(text(Txt::ExportLotwButton, Language::Spanish));
    m_exportEqsl = new QPushButton(text(Txt::ExportEqslButton, Language::Spanish));
    m_exportComplete = new QPushButton;
    m_exportCsv = new QPushButton(text(Txt::ExportCsvButton, Language::Spanish));
    const QList<QPushButton *> exportButtons = {m_exportLotw, m_exportEqsl, m_exportComplete, m_exportCsv};
    for (int i = 0; i < exportButtons.size(); ++i) {
        exportButtons[i]->setAutoDefault(false);
        exports->addWidget(exportButtons[i], i / 2, i % 2);
    }

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_filtersBox, 1);
    bottom->addWidget(m_exportBox);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_gridBox, 1);
    layout->addLayout(bottom);

    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { editRow(index.row()); });
    connect(&m_model, &LogModel::filterListsReady, this, &BrowserWindow::fillLists);
    connect(m_search, &QPushButton::clicked, this, &BrowserWindow::search);
    connect(m_reverse, &QCheckBox::toggled, this, &BrowserWindow::search);
    connect(m_qslSent, &QCheckBox::toggled, m_qslSentList, &QWidget::setEnabled);
    connect(m_qslReceived, &QCheckBox::toggled, m_qslReceivedList, &QWidget::setEnabled);
    connect(m_fromDate, &QLineEdit::editingFinished, this, &BrowserWindow::fromDateLeft);
    connect(m_exportLotw, &QPushButton::clicked, this, [this] { exportAdif(AdifTarget::Lotw); });
    connect(m_exportEqsl, &QPushButton::clicked, this, [this] { exportAdif(AdifTarget::Eqsl); });
    connect(m_exportComplete, &QPushButton::clicked, this, [this] { exportAdif(AdifTarget::Complete); });
    connect(m_exportCsv, &QPushButton::clicked, this, &BrowserWindow::exportCsv);
    AppState &state = m_session.state();
    connect(&state, &AppState::languageChanged, this, &BrowserWindow::retranslate);
    connect(&state, &AppState::qsoStored, this, &BrowserWindow::qsoStored);
    connect(&state, &AppState::logChanged, this, &BrowserWindow::logChanged);
    connect(&state, &AppState::currentLogChanged, this, &BrowserWindow::logChanged);
    resetFilters();
    retranslate(state.language());
}

void BrowserWindow::retranslate(Language language)
{
    m_filtersBox->setTitle(text(Txt::BrowserFiltersFrame, language));
    m_stationCaption->setText(text(Txt::BrowserFilterStation, language));
    m_satelliteCaption->setText(text(Txt::BrowserFilterSatellite, language));
    m_locatorCaption->setText(text(Txt::BrowserFilterLocator, language));
    m_orbitCaption->setText(text(Txt::BrowserFilterOrbit, language));
    m_myStationCaption->setText(text(Txt::BrowserFilterMyStation, language));
    m_fromDateCaption->setText(text(Txt::BrowserFilterFromDate, language));
    for (auto [list, caption] : {std::pair{m_satellite, m_satelliteCaption}, {m_locator, m_locatorCaption},
                                 {m_orbit, m_orbitCaption}, {m_myStation, m_myStationCaption}})
        nameList(list, caption->text());
    m_reverse->setText(text(Txt::BrowserReverse, language));
    m_search->setText(text(Txt::BrowserSearch, language));
    m_exportBox->setTitle(text(Txt::BrowserExportFrame, language));
    m_exportComplete->setText(text(Txt::BrowserCompleteAdif, language));
    m_station->setToolTip(text(Txt::BrowserStationHint, Language::Spanish));
    m_station->setPlaceholderText(m_station->toolTip());
}

void BrowserWindow::resetFilters()
{
    m_fromDate->clear();
    refill(m_satellite, kAllMasculine, {});
    refill(m_locator, kAllMasculine, {});
    refill(m_orbit, kAllFeminine, {});
    refill(m_myStation, kAllFeminine, {});
    m_qslSentList->setCurrentIndex(0);
    m_qslReceivedList->setCurrentIndex(0);
    // A list is usable exactly while its box is ticked.
    m_qslSentList->setEnabled(m_qslSent->isChecked());
    m_qslReceivedList->setEnabled(m_qslReceived->isChecked());
}

void BrowserWindow::open()
{
    resetFilters();
    listAll();
    exec();
}

void BrowserWindow::listAll()
{
    // The filter lists follow when the model has read them (fillLists).
    showCaption(m_model.listAll(m_session.state().currentLog().path, m_reverse->isChecked()));
}

void BrowserWindow::fillLists()
{
    const FilterLists &lists = m_model.filterLists();
    offer(m_satellite, lists.satellites);
    offer(m_locator, lists.locators);
    offer(m_orbit, lists.orbits);
    offer(m_myStation, lists.myStations);
}

void BrowserWindow::showCaption(const QString &error)
{
    if (!error.isEmpty())
        m_session.reportLogError(error);
    m_gridBox->setTitle(m_model.caption());
    // A full listing decides whether there is anything to export; a filtered one leaves the
    // buttons as they are.
    if (!m_model.isFiltered())
        m_exportBox->setEnabled(m_model.rowCount() > 0);
}

QString BrowserWindow::frameCaption() const
{
    return m_gridBox->title();
}

LogFilter BrowserWindow::filterFromFields() const
{
    LogFilter f;
    f.station = m_station->text();
    f.satellite = m_satellite->currentText();
    f.locator = m_locator->currentText();
    f.orbit = m_orbit->currentText();
    f.qslSent = qslChoice(m_qslSent, m_qslSentList);
    f.qslReceived = qslChoice(m_qslReceived, m_qslReceivedList);
    f.fromDate = m_fromDate->text();
    f.myStation = m_myStation->currentText();
    f.reverse = m_reverse->isChecked();
    return f;
}

void BrowserWindow::search()
{
    // A date still being typed is corrected before it is used, as leaving the field would.
    fromDateLeft();
    showCaption(m_model.listFiltered(m_session.state().currentLog().path, filterFromFields()));
}

void BrowserWindow::fromDateLeft()
{
    if (m_correcting)
        return;
    m_correcting = true;
    QString typed = m_fromDate->text();
    const bool ok = correctFromDate(typed, m_session.dialogs());
    m_fromDate->setText(typed);
    if (!ok)
        m_fromDate->setFocus();
    m_correcting = false;
}

void BrowserWindow::editRow(int row)
{
    const qint64 id = m_model.idAt(row);
    if (id <= 0)
        return;
    if (m_editor->load(id, false))
        m_editor->exec();
}

void BrowserWindow::qsoStored(qint64 id)
{
    if (m_model.path() != m_session.state().currentLog().path)
        return;
    m_model.appendQso(id);
    showCaption(QString());
}

void BrowserWindow::logChanged()
{
    // Nothing listed yet: the next opening lists the log anyway. A hidden browser lets its
    // listing go rather than list a big log again for nobody; opening it lists afresh.
    if (m_model.path().isEmpty())
        return;
    if (!isVisible()) {
        m_model.clear();
        return;
    }
    if (m_model.path() != m_session.state().currentLog().path) {
        resetFilters();
        listAll();
        return;
    }
    // A full listing reads its lists again, so an edited satellite or locator is offered too.
    showCaption(m_model.reload());
}

ExportContext BrowserWindow::exportContext()
{
    const AppState &state = m_session.state();
    return {m_session.dialogs(), state.language(), state.folder().outputsDir(), state.settings().callSign};
}

void BrowserWindow::exportAdif(AdifTarget target)
{
    AdifExport adif(target, exportContext());
    adif.setLotwList(m_session.state().folder().file(kLotwSatellitesFile));
    adif.run(m_model);
}

void BrowserWindow::exportCsv()
{
    CsvExport csv(exportContext(), [](const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
    csv.run(m_model);
}

void BrowserWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter in the grid opens the highlighted QSO, on a button presses it, and in the
        // filters runs "Buscar ...", as the keyboard's way to what the mouse does.
        QWidget *focus = focusWidget();
        if (focus == m_grid) {
            if (m_grid->currentIndex().isValid())
                editRow(m_grid->currentIndex().row());
        } else if (auto *button = qobject_cast<QPushButton *>(focus)) {
            button->click();
        } else if (focus && m_filtersBox->isAncestorOf(focus)) {
            search();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vorta
