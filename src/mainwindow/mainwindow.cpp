#include "mainwindow/mainwindow.h"

#include "common/appversion.h"
#include "common/captionwidget.h"
#include "common/contrast.h"
#include "common/dates.h"
#include "browser/browserwindow.h"
#include "browser/recordeditorwindow.h"
#include "common/dialogs.h"
#include "common/textfile.h"
#include "config/extrasettings.h"
#include "config/settings.h"
#include "tracking/builtintrackingsource.h"
#include "tracking/compasswidget.h"
#include "tracking/elementsdownload.h"
#include "tracking/skyplotwidget.h"
#include "tracking/trackermenuwidget.h"
#include "tracking/trackingsource.h"
#include "tracking/trackingtext.h"
#include "tracking/trackingwidget.h"
#include "logdb/sqlite.h"
#include "config/configwindow.h"
#include "import/importwindow.h"
#include "keyer/keyerwidget.h"
#include "common/mnemonicswidget.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/lastrecordwidget.h"
#include "mainwindow/lognamewidget.h"
#include "mainwindow/noticewidget.h"
#include "tracking/satellitelistwindow.h"
#include "mainwindow/session.h"
#include "web/webmenuwidget.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace vorta {

namespace {

// An element update ends a while after its menu entry, when the operator may be looking
// elsewhere: its notice stays longer than a saved QSO's.
constexpr std::chrono::seconds kElementsNoticeShownFor{20};

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent) : QMainWindow(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("Vorta ") + versionText());
    buildMenus();
    m_web = new WebMenus(session, *menuBar(), this);
    buildTracking();
    m_trackerMenus = new TrackerMenus(session, *m_builtInSource, *menuBar(), m_web->internetMenu().menuAction(), this,
                                      [this] { return m_orbitronData.elementsFile(); });
    buildPanels();
    m_configWindow = new ConfigWindow(session, this);
    m_browser = new BrowserWindow(session, this);
    m_importWindow = new ImportWindow(session, this);
    // Enter and the function keys act wherever the cursor stands in this window.
    qApp->installEventFilter(this);

    AppState &state = m_session.state();
    connect(&state, &AppState::languageChanged, this, &MainWindow::retranslate);
    connect(&state, &AppState::settingsChanged, this, &MainWindow::showOwnStation);
    connect(&state, &AppState::settingsChanged, this, &MainWindow::tickClock);
    // The last-record panel follows every change of the current log and of its QSOs.
    connect(&state, &AppState::currentLogChanged, this, &MainWindow::refreshLastRecord);
    connect(&state, &AppState::logChanged, this, &MainWindow::refreshLastRecord);
    connect(&state, &AppState::qsoStored, this, &MainWindow::refreshLastRecord);

    // Start-up: the configuration is read now; the timers then run the first-run setup, the
    // choice of the current log and the version check, in that order.
    m_session.loadAtStart();
    loadSatellites();
    refreshOrbitronData();
    applyTrackingChoice();
    connect(&state, &AppState::trackingChoiceChanged, this, &MainWindow::applyTrackingChoice);
    m_tracking->setLanguage(state.language());
    // The end of the configuration load starts the tracking link when the option is set.
    m_orbitronOption = !state.firstRun() && state.settings().useOrbitron;
    m_tracking->startUp(m_orbitronOption);
    m_useOrbitron->setChecked(m_tracking->useOrbitron());
    // A configuration saved with the other tracking option shows or hides the panel at once.
    connect(&state, &AppState::settingsChanged, this, [this] {
        if (m_session.state().settings().useOrbitron == m_orbitronOption)
            return;
        m_orbitronOption = m_session.state().settings().useOrbitron;
        m_tracking->startUp(m_orbitronOption);
        m_useOrbitron->setChecked(m_tracking->useOrbitron());
    });
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
    // Queued, so that a notice it opens runs outside the clock's own tick and the clock keeps
    // ticking behind it.
    connect(&m_clockTimer, &QTimer::timeout, m_tracking, &TrackingPanelState::clockTick, Qt::QueuedConnection);
    m_watchdogTimer.setInterval(30000);
    connect(&m_watchdogTimer, &QTimer::timeout, m_tracking, &TrackingPanelState::watchdogTick);
    m_watchdogTimer.start();
    connect(&m_versionTimer, &QTimer::timeout, m_web, &WebMenus::checkAtStart);
    if (state.firstRun())
        m_firstRunTimer.start();
    m_databaseTimer.start();
    m_versionTimer.start();
    m_clockTimer.start();

    showOwnStation();
    tickClock();
    retranslate(state.language());
    buildKeys();
    // The first keystroke is a call sign.
    m_entry->focusStation();
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // F9 let go ends the keyer test wherever the key is released, over a message box too.
    if (event->type() == QEvent::KeyRelease && qobject_cast<QWidget *>(watched))
        return m_keyerPanel->keyReleased(*static_cast<QKeyEvent *>(event));
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    // Only keys meant for this window: not those of a modal window, an open drop-down list
    // or another top-level window.
    if (!widget || widget->window() != this || QApplication::activePopupWidget()
        || QApplication::activeModalWidget())
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_entry->save();
        return true;
    }
    if (key == Qt::Key_F1) {
        editNewestQso();
        return true;
    }
    if (key == Qt::Key_F10 && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        // The menu bar from the keyboard, its first menu open; arrows and letters go on.
        menuBar()->setActiveAction(menuBar()->actions().constFirst());
        return true;
    }
    if (m_keyerPanel->keyPressed(*static_cast<QKeyEvent *>(event)))
        return true;
    return false;
}

void MainWindow::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(QString());
    m_newLog = m_fileMenu->addAction(QString(), this, &MainWindow::newLog);
    m_openLog = m_fileMenu->addAction(QString(), this, &MainWindow::openLog);
    m_importAdif = m_fileMenu->addAction(QString(), this, [this] { m_importWindow->start(); });
    m_settings = m_fileMenu->addAction(QString(), this, &MainWindow::showConfiguration);
    m_fileMenu->addSeparator();
    m_exit = m_fileMenu->addAction(QString(), this, &QWidget::close);
    m_log = menuBar()->addAction(QString(), this, &MainWindow::showLog);
    m_log->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
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
    m_panels->addWidget(m_useOrbitron);
    m_panels->addWidget(m_trackingWidget);
    m_entry = new EntryWidget(m_session);
    // At its own width whatever the window's: the room a wide window adds goes to the panels
    // above and below, never into long strips of field.
    m_panels->addWidget(m_entry, 0, Qt::AlignLeft);
    connect(m_entry, &EntryWidget::satelliteChosen, this, &MainWindow::chooseSatellite);
    connect(m_entry, &EntryWidget::satelliteListRequested, this, &MainWindow::showSatelliteList);
    connect(m_entry, &EntryWidget::satelliteChanged, this, &MainWindow::satelliteFieldChanged);
    connect(m_entry, &EntryWidget::aboutToSave, this, [this] {
        catchUpTrackedSatellite(true);
        refreshComputedOrbit();
    });
    connect(m_trackerMenus, &TrackerMenus::satelliteChosen, this, [this](const QString &name) {
        activateWindow();
        chooseSatellite(name);
    });
    connect(m_trackerMenus, &TrackerMenus::elementsUpdated, this, [this](const QString &notice) {
        m_orbitronData.forgetElements();
        refreshOrbitronData();
        m_notice->showNotice(notice, kElementsNoticeShownFor);
    });
    // The macros' placeholders stand for what this window shows when the macro is sent.
    m_keyerPanel = new KeyerWidget(m_session, [this] {
        const EntryForm form = m_entry->form();
        return MacroValues{m_ownCall->text(), form.station, m_ownLocator->text(), form.reportSent};
    });
    m_panels->addWidget(m_keyerPanel);
    m_fileMenu->insertAction(m_settings, m_keyerPanel->toggleAction());
    m_tracking->setModeLists(EntryWidget::modes(), EntryWidget::modes());
    // What the operator typed over a tracking value stays: the entry panel decides.
    connect(m_tracking, &TrackingPanelState::downlinkModeSelected, m_entry, [this](int index) {
        m_entry->offerTracked(TrackedField::DownlinkMode, EntryWidget::modes().value(index));
    });
    connect(m_tracking, &TrackingPanelState::uplinkModeSelected, m_entry, [this](int index) {
        m_entry->offerTracked(TrackedField::UplinkMode, EntryWidget::modes().value(index));
    });
    connect(m_tracking, &TrackingPanelState::downlinkChanged, m_entry,
            [this](const QString &frequency) { m_entry->offerTracked(TrackedField::Downlink, frequency); });
    connect(m_tracking, &TrackingPanelState::uplinkChanged, m_entry,
            [this](const QString &frequency) { m_entry->offerTracked(TrackedField::Uplink, frequency); });
    connect(m_entry, &EntryWidget::satelliteLeft, this, [this] { catchUpTrackedSatellite(false); });
    // A QSO being typed keeps the satellite the built-in tracker follows by itself.
    connect(m_entry, &EntryWidget::callChanged, m_builtInSource,
            [this](const QString &call) { m_builtInSource->setHold(!call.isEmpty()); });
    connect(m_tracking, &TrackingPanelState::focusCallSign, m_entry, &EntryWidget::focusStation);
    const auto antenna = [this] {
        m_entry->setAntenna(m_tracking->fields().azimuth, m_tracking->fields().elevation);
    };
    connect(m_tracking, &TrackingPanelState::azimuthChanged, m_entry, antenna);
    connect(m_tracking, &TrackingPanelState::elevationChanged, m_entry, antenna);
    connect(m_tracking, &TrackingPanelState::satelliteChanged, this, &MainWindow::trackedNameChanged);

    m_lastRecord = new LastRecordWidget;
    layout->addWidget(m_lastRecord);
    layout->addStretch(1);
    setCentralWidget(central);
    // The log the QSOs go into, where a long file name never crowds the panels.
    statusBar()->addWidget(new LogNameWidget(m_session.state()), 1);
    // What was just saved, beside it.
    m_notice = new NoticeWidget;
    statusBar()->addPermanentWidget(m_notice);
    m_clockWarning = new QLabel;
    emphasize(m_clockWarning, 0, true);
    colourText(m_clockWarning, kAlertColour);
    m_clockWarning->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_clockWarning->hide();
    statusBar()->addPermanentWidget(m_clockWarning);
    connect(m_entry, &EntryWidget::saved, m_notice, [this](const QString &notice) { m_notice->showNotice(notice); });
}

void MainWindow::retranslate(Language language)
{
    m_qtTranslations.apply(language);
    m_tracking->setLanguage(language);
    m_trackingWidget->retranslate(language);
    m_useOrbitron->setText(text(Txt::BoxUseOrbitron, language));
    m_fileMenu->setTitle(text(Txt::MenuFile, language));
    m_newLog->setText(text(Txt::MenuNewLog, language));
    m_openLog->setText(text(Txt::MenuOpenLog, language));
    m_importAdif->setText(text(Txt::MenuImportAdif, language));
    m_settings->setText(text(Txt::MenuSettings, language));
    m_exit->setText(text(Txt::MenuExit, language));
    m_log->setText(text(Txt::MenuLog, language));
    m_web->retranslate(language);
    m_trackerMenus->retranslate(language);
    m_ownCallCaption->setText(text(Txt::LabelOwnCall, language));
    m_ownLocatorCaption->setText(text(Txt::LabelOwnLocator, language));
    m_utcCaption->setText(text(Txt::LabelUtcClock, language));
    m_lastRecord->retranslate(language);
    showOwnStation();
    tickClock();
    giveMnemonics(*menuBar());
}

void MainWindow::showOwnStation()
{
    showValue(m_ownCall, m_ownCallCaption->text(), m_session.state().settings().callSign.toUpper());
    showValue(m_ownLocator, m_ownLocatorCaption->text(), m_session.state().settings().gridLocator);
    m_builtInSource->setLocator(m_session.state().settings().gridLocator);
}

void MainWindow::tickClock()
{
    const QDateTime utc = m_session.state().utcNow();
    const Language language = m_session.state().language();
    showValue(m_utcDate, text(Txt::AccUtcDate, language), formatDate(utc.date()));
    showValue(m_utcTime, text(Txt::AccUtcTime, language), formatTime(utc.time()));

    // QSOs are logged with the clock above, the built-in tracker and the passes run on the
    // machine's UTC: when they part (summer time began and the configured difference stayed),
    // the operator must know, without a message in the middle of a pass.
    const int offset = m_session.state().settings().utcOffsetMinutes();
    QString warning, tip;
    if (const std::optional<QString> skew = utcClockSkewText(QDateTime::currentDateTime(), offset)) {
        warning = text(Txt::ClockDisagrees, language, {{"$nombre$", *skew}});
        tip = text(Txt::ClockDisagreesTip, language, {{"$nombre$", *skew}, {"$dif$", utcOffsetText(offset)}});
    }
    if (m_clockWarning && warning != m_clockWarning->text()) {
        m_clockWarning->setText(warning);
        m_clockWarning->setToolTip(tip);
        m_clockWarning->setAccessibleName(warning);
        m_clockWarning->setAccessibleDescription(tip);
        m_clockWarning->setVisible(!warning.isEmpty());
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange)
        m_keyerPanel->mainWindowActivation(isActiveWindow());
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        refreshOrbitronData();
        retranslate(m_session.state().language());
        // Back from another of the program's windows (the log browser, the settings, the
        // editor, ...), and at the first activation, the next keystroke is a call sign.
        if (m_callFieldOnReturn)
            m_entry->focusStation();
    } else if (event->type() == QEvent::ActivationChange) {
        // The window that takes over is known by now; none when another program did, and then
        // the cursor stays where it was. A message box is left alone too: whoever showed it puts
        // the cursor where the answer leads (a failed check into its field).
        QWidget *next = QApplication::activeWindow();
        m_callFieldOnReturn = next && !qobject_cast<QMessageBox *>(next);
    }
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
    // so that a log with QSOs never looks empty (the change of log refreshes it).
    m_logChosen = true;
    m_session.chooseLogAtStart();
}

void MainWindow::refreshLastRecord()
{
    // Until the log is chosen at start, the configured path may name a file that is gone.
    if (!m_logChosen)
        return;
    showLastRecord(m_session.lastRecord());
}

void MainWindow::showLastRecord(const LastRecordView &view)
{
    m_lastRecord->showRecord(view);
}

void MainWindow::buildTracking()
{
    const ExtraSettings extra = loadExtraSettings(m_session.state().folder().settingsFile());
    m_orbitronFolder = extra.orbitronFolder;
    m_tracking = new TrackingPanelState(m_session.dialogs(), this);
    m_trackingSource = new TcpTrackingSource(extra.trackingPort, this);
    m_tracking->attachSource(m_trackingSource);
    m_builtInSource = new BuiltInTrackingSource(this);
    m_trackingWidget = new TrackingWidget(*m_tracking);
    m_skyPlot = new SkyPlotWidget(*m_builtInSource, m_session.state());
    m_trackingWidget->addSkyPlot(&m_skyPlot->plot(), m_skyPlot);
    m_useOrbitron = new QCheckBox;
    // Every change of the box counts, a click or a screen reader's Toggle action alike; the
    // values the logic sets itself come back here unchanged and are ignored there.
    connect(m_useOrbitron, &QCheckBox::toggled, m_tracking, &TrackingPanelState::setUseOrbitron);
    connect(m_tracking, &TrackingPanelState::useOrbitronChanged, m_useOrbitron, &QCheckBox::setChecked);
    connect(m_tracking, &TrackingPanelState::checkBoxDisabled, m_useOrbitron, [this] { m_useOrbitron->setEnabled(false); });
    connect(m_tracking, &TrackingPanelState::checkBoxReenabled, m_useOrbitron, [this] { m_useOrbitron->setEnabled(true); });
}

void MainWindow::refreshOrbitronData()
{
    const OrbitronInstallation installation =
        m_orbitronData.refresh(m_orbitronFolder, qEnvironmentVariable("WINEPREFIX"), QDir::homePath(),
                               m_session.state().elements(), dataElementsFile(m_session.state().folder()));
    m_tracking->setOrbitronInstalled(installation.installed());
    // The built-in tracker reads the same file, every set of it.
    if (m_orbitronData.elementReadings() != m_elementReadings) {
        m_elementReadings = m_orbitronData.elementReadings();
        m_builtInSource->setElements(
            readOrbitalElements(readTextLines(m_orbitronData.elementsFile()).value_or(QStringList())));
    }
}

void MainWindow::applyTrackingChoice()
{
    const bool builtIn = m_session.state().trackingChoice() == TrackingChoice::BuiltIn;
    m_skyPlot->setShown(builtIn);
    // The sky plot shows the direction itself: the compass gives way to it, so that the panel
    // shows one picture of where the satellite is.
    m_trackingWidget->compass().setVisible(!builtIn);
    m_tracking->switchSource(builtIn ? static_cast<TrackingSource *>(m_builtInSource) : m_trackingSource);
}

bool MainWindow::hasOrbitFor(const QString &text) const
{
    // Without element sets there is nothing to compute, and an orbit the operator typed stays.
    return !text.isEmpty() && m_session.state().elements().count() > 0;
}

std::optional<OrbitResult> MainWindow::showOrbitFor(const QString &text)
{
    m_entry->setOrbit(QString());
    const auto result = orbitFor(m_session.state().elements(), text, m_session.state().utcNow());
    m_computedOrbit = result ? result->orbit : QString();
    m_computedOrbitFrom = text;
    m_entry->setOrbit(m_computedOrbit);
    return result;
}

void MainWindow::refreshComputedOrbit()
{
    // A satellite stays in the field from one pass to the next, and the orbit counts on: an
    // orbit this window computed earlier is computed again for the moment of the QSO. One the
    // operator typed over it stays as typed.
    if (m_computedOrbit.isEmpty() || m_entry->orbit() != m_computedOrbit || !hasOrbitFor(m_computedOrbitFrom))
        return;
    if (const auto result = orbitFor(m_session.state().elements(), m_computedOrbitFrom, m_session.state().utcNow())) {
        m_computedOrbit = result->orbit;
        m_entry->setOrbit(m_computedOrbit);
    }
}

void MainWindow::trackedNameChanged(const QString &trackedName)
{
    // Another satellite: frequencies and modes typed by the operator were for the one before.
    // The panel then sends what the new satellite's text carries, a mode the two share too.
    if (!trackedName.isEmpty())
        m_entry->giveFieldsToTracking();
    followTrackedName(trackedName, false);
}

void MainWindow::catchUpTrackedSatellite(bool underCursor)
{
    // A satellite field left as tracking last wrote it, or emptied, takes the satellite tracking
    // follows now; what the operator typed there stays theirs.
    const QString tracked = m_tracking->fields().satellite;
    const QString text = m_entry->satellite();
    if (tracked.isEmpty() || text == satelliteFromTrackingName(tracked))
        return;
    if (text.isEmpty() || text == m_satelliteWritten)
        followTrackedName(tracked, underCursor);
}

void MainWindow::followTrackedName(const QString &trackedName, bool underCursor)
{
    // The satellite field follows the tracked name, and its own change handling finds the
    // orbit; the tracked name, being the element set's own, then gives the orbit and age (the
    // catalogue number stays the one the satellite field found).
    // The built-in tracker following the operator's choice sends that choice back: the field
    // keeps it as typed, cursor and all. A field a tracker set is no choice of the operator's.
    if (m_session.state().trackingChoice() != TrackingChoice::BuiltIn || m_builtInSource->choice().isEmpty()) {
        // Not under the operator's cursor: a field emptied to type another name would take
        // the tracker's name halfway through the typing. The name waits for the cursor to
        // leave, or for the QSO to be saved (catchUpTrackedSatellite).
        if (m_entry->satelliteFocused() && !underCursor)
            return;
        m_trackerSetsSatellite = true;
        m_satelliteWritten = satelliteFromTrackingName(trackedName);
        m_entry->setSatellite(m_satelliteWritten);
        m_trackerSetsSatellite = false;
        m_builtInSource->setChoice({});
    }
    if (!hasOrbitFor(trackedName))
        return;
    const auto result = showOrbitFor(trackedName);
    m_entry->setElementInfo(result ? result->ageDays : QString(), m_lastCatalogue, result && result->stale);
}

void MainWindow::satelliteFieldChanged(const QString &name)
{
    if (!m_trackerSetsSatellite)
        m_builtInSource->setChoice(name);
    if (!hasOrbitFor(name))
        return;
    const auto result = showOrbitFor(name);
    m_lastCatalogue = result ? result->catalogue : QString();
    m_entry->setElementInfo(result ? result->ageDays : QString(), m_lastCatalogue, result && result->stale);
}

void MainWindow::loadSatellites()
{
    SatelliteList &list = m_session.state().satellites();
    const QString error = list.load();
    if (!error.isEmpty())
        m_session.dialogs().inform(error, Icon::Critical);
    m_entry->setSatelliteChoices(list.names());
    m_builtInSource->setSatellites(list.entries());
}

void MainWindow::chooseSatellite(const QString &name)
{
    if (const auto entry = m_session.state().satellites().find(name)) {
        m_entry->setSatellite(entry->name);
        // Chosen, even when the tracker had already put the same name into the field.
        m_builtInSource->setChoice(entry->name);
        m_entry->setUplink(entry->uplink);
        m_entry->setDownlink(entry->downlink);
        if (!entry->downlinkMode.isEmpty())
            m_entry->setDownlinkMode(entry->downlinkMode);
        if (!entry->uplinkMode.isEmpty())
            m_entry->setUplinkMode(entry->uplinkMode);
        m_entry->giveFieldsToTracking();
    }
    m_entry->focusStation();
}

void MainWindow::showLog()
{
    // The last-record panel already knows whether the log holds a QSO.
    if (lastRecordValues().first().isEmpty()) {
        m_session.dialogs().inform(text(Txt::MsgLogEmpty, Language::Spanish), Icon::Information);
        return;
    }
    m_browser->open();
}

void MainWindow::editNewestQso()
{
    std::optional<QsoRecord> newest;
    try {
        newest = newestQso(m_session.state().currentLog().path);
    } catch (const db::DbError &error) {
        m_session.reportLogError(error.message());
        return;
    }
    if (!newest) {
        m_session.dialogs().inform(text(Txt::MsgLogEmpty, Language::Spanish), Icon::Information);
        return;
    }
    RecordEditorWindow &editor = m_browser->editor();
    if (editor.load(newest->id, true))
        editor.exec();
}

void MainWindow::showSatelliteList()
{
    SatelliteListWindow window(m_session, this);
    window.exec();
    loadSatellites();
}

QStringList MainWindow::lastRecordValues() const
{
    return m_lastRecord->values();
}

QString MainWindow::notice() const
{
    return m_notice->notice();
}

void MainWindow::buildKeys()
{
    // The fonts' size, kept in the extra settings; Ctrl+= serves keyboards where "+" is shifted.
    m_fontScale = loadExtraSettings(m_session.state().folder().settingsFile()).fontScale;
    if (m_fontScale != kDefaultFontScale)
        applyFontScale(*this, m_fontScale);
    const auto key = [this](std::initializer_list<QKeySequence> keys, int steps) {
        auto *action = new QAction(this);
        action->setShortcuts(QList<QKeySequence>(keys));
        connect(action, &QAction::triggered, this, [this, steps] { stepFontScale(steps); });
        addAction(action);
    };
    key({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1);
    key({QKeySequence::ZoomOut}, -1);
    key({QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);
}

void MainWindow::stepFontScale(int steps)
{
    const int scale = steppedFontScale(m_fontScale, steps);
    if (scale == m_fontScale)
        return;
    m_fontScale = scale;
    applyFontScale(*this, scale);
    const QString file = m_session.state().folder().settingsFile();
    if (const QString error = saveFontScale(file, scale); !error.isEmpty())
        m_notice->showNotice(text(Txt::MsgFontScaleNotSaved, m_session.state().language(),
                                  {{"$arch$", file}, {"$nombre$", error}}));
}

void MainWindow::newLog()
{
    m_session.newLog();
}

void MainWindow::openLog()
{
    m_session.openLog();
}

void MainWindow::showConfiguration()
{
    m_configWindow->exec();
}

} // namespace vorta
