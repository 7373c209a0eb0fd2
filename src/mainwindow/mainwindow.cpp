#include "mainwindow/mainwindow.h"

#include "common/dates.h"
#include "config/configwindow.h"
#include "mainwindow/session.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace vorta {

namespace {

QString versionText()
{
    return QStringLiteral("Versión %1.%2.%3").arg(VORTA_VERSION_MAJOR).arg(VORTA_VERSION_MINOR).arg(VORTA_VERSION_PATCH);
}

QLabel *valueLabel(int pointSizeDelta = 0, bool bold = false)
{
    auto *label = new QLabel;
    QFont font = label->font();
    font.setPointSize(font.pointSize() + pointSizeDelta);
    font.setBold(bold);
    label->setFont(font);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent) : QMainWindow(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("Vorta ") + versionText());
    buildMenus();
    buildPanels();
    m_configWindow = new ConfigWindow(session, this);

    AppState &state = m_session.state();
    connect(&state, &AppState::languageChanged, this, &MainWindow::retranslate);
    connect(&state, &AppState::settingsChanged, this, &MainWindow::showOwnStation);
    connect(&state, &AppState::settingsChanged, this, &MainWindow::tickClock);

    // Start-up: the configuration is read now; the timers then run the first-run setup, the
    // choice of the current log and the version check, in that order.
    m_session.loadAtStart();
    m_firstRunTimer.setSingleShot(true);
    m_firstRunTimer.setInterval(200);
    m_databaseTimer.setSingleShot(true);
    m_databaseTimer.setInterval(300);
    m_versionTimer.setSingleShot(true);
    m_versionTimer.setInterval(10000);
    m_clockTimer.setInterval(1000);
    connect(&m_firstRunTimer, &QTimer::timeout, this, &MainWindow::runFirstRunSetup);
    connect(&m_databaseTimer, &QTimer::timeout, this, &MainWindow::chooseLogAtStart);
    connect(&m_clockTimer, &QTimer::timeout, this, &MainWindow::tickClock);
    // The version check itself arrives with the web functions; its timer keeps its place in
    // the start-up order (never before the configuration exists).
    connect(&m_versionTimer, &QTimer::timeout, this, [] {});
    if (state.firstRun())
        m_firstRunTimer.start();
    m_databaseTimer.start();
    m_versionTimer.start();
    m_clockTimer.start();

    showOwnStation();
    tickClock();
    retranslate(state.language());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(QString());
    m_newLog = m_fileMenu->addAction(QString(), this, &MainWindow::newLog);
    m_openLog = m_fileMenu->addAction(QString(), this, &MainWindow::openLog);
    m_settings = m_fileMenu->addAction(QString(), this, &MainWindow::showConfiguration);
    m_fileMenu->addSeparator();
    m_exit = m_fileMenu->addAction(QString(), this, &QWidget::close);
}

void MainWindow::buildPanels()
{
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);

    // The own station and the UTC clock: what the operator checks at a glance before a QSO.
    auto *header = new QHBoxLayout;
    m_ownCallCaption = new QLabel;
    m_ownCall = valueLabel(2, true);
    m_ownLocatorCaption = new QLabel;
    m_ownLocator = valueLabel(2, true);
    m_utcCaption = new QLabel;
    m_utcDate = valueLabel(4, true);
    m_utcTime = valueLabel(8, true);
    m_utcDate->setAccessibleName(QStringLiteral("UTC fecha"));
    m_utcTime->setAccessibleName(QStringLiteral("UTC hora"));
    header->addWidget(m_ownCallCaption);
    header->addWidget(m_ownCall);
    header->addSpacing(16);
    header->addWidget(m_ownLocatorCaption);
    header->addWidget(m_ownLocator);
    header->addStretch(1);
    header->addWidget(m_utcCaption);
    header->addWidget(m_utcDate);
    header->addSpacing(8);
    header->addWidget(m_utcTime);
    layout->addLayout(header);

    m_panels = new QVBoxLayout;
    layout->addLayout(m_panels);

    m_lastRecordBox = new QGroupBox;
    auto *grid = new QGridLayout(m_lastRecordBox);
    for (int i = 0; i < 6; ++i) {
        m_lastCaptions[i] = new QLabel;
        m_lastValues[i] = valueLabel(1, true);
        m_lastValues[i]->setMinimumWidth(80);
        grid->addWidget(m_lastCaptions[i], 0, i);
        grid->addWidget(m_lastValues[i], 1, i);
        grid->setColumnStretch(i, i == 0 || i == 4 ? 2 : 1);
    }
    layout->addWidget(m_lastRecordBox);
    layout->addStretch(1);
    setCentralWidget(central);
}

void MainWindow::retranslate(Language language)
{
    m_fileMenu->setTitle(text(Txt::MenuFile, language));
    m_newLog->setText(text(Txt::MenuNewLog, language));
    m_openLog->setText(text(Txt::MenuOpenLog, language));
    m_settings->setText(text(Txt::MenuSettings, language));
    m_exit->setText(text(Txt::MenuExit, language));
    m_ownCallCaption->setText(text(Txt::LabelOwnCall, language));
    m_ownLocatorCaption->setText(text(Txt::LabelOwnLocator, language));
    m_utcCaption->setText(text(Txt::LabelUtcClock, language));
    m_lastRecordBox->setTitle(text(Txt::FrameLastRecord, language));
    const Txt captions[6] = {Txt::LastStation, Txt::LastDate,      Txt::LastTime,
                             Txt::LastUplink,  Txt::LastSatellite, Txt::LastOrbit};
    for (int i = 0; i < 6; ++i) {
        m_lastCaptions[i]->setText(text(captions[i], language));
        m_lastValues[i]->setAccessibleName(m_lastCaptions[i]->text());
    }
}

void MainWindow::showOwnStation()
{
    m_ownCall->setText(m_session.state().settings().callSign.toUpper());
    m_ownLocator->setText(m_session.state().settings().gridLocator);
}

void MainWindow::tickClock()
{
    const QDateTime utc = m_session.state().utcNow();
    m_utcDate->setText(formatDate(utc.date()));
    m_utcTime->setText(formatTime(utc.time()));
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        retranslate(m_session.state().language());
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_session.confirmExit()) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::closeAllWindows();
    QApplication::quit();
}

void MainWindow::runFirstRunSetup()
{
    // Nothing else may happen until the configuration exists.
    m_databaseTimer.stop();
    m_versionTimer.stop();
    m_session.beginFirstRun();
    m_configWindow->setFirstRun(true);
    m_configWindow->exec();
    m_configWindow->setFirstRun(false);
    m_session.endFirstRun();
    m_databaseTimer.start();
    m_versionTimer.start();
}

void MainWindow::chooseLogAtStart()
{
    // The panel shows the last QSO of whichever log is now current, the default log included,
    // so that a log with QSOs never looks empty.
    m_session.chooseLogAtStart();
    refreshLastRecord();
}

void MainWindow::refreshLastRecord()
{
    showLastRecord(m_session.lastRecord());
}

void MainWindow::showLastRecord(const LastRecordView &view)
{
    const QString values[6] = {view.station, view.date, view.time, view.uplink, view.satellite, view.orbit};
    for (int i = 0; i < 6; ++i)
        m_lastValues[i]->setText(values[i]);
}

QStringList MainWindow::lastRecordValues() const
{
    QStringList values;
    for (const QLabel *label : m_lastValues)
        values << label->text();
    return values;
}

void MainWindow::newLog()
{
    if (m_session.newLog())
        refreshLastRecord();
}

void MainWindow::openLog()
{
    if (m_session.openLog())
        refreshLastRecord();
}

void MainWindow::showConfiguration()
{
    m_configWindow->exec();
}

} // namespace vorta
