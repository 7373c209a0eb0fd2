// The main logging window: menus, the UTC clock, the own station, the panels of a pass and the
// last-record panel, with the timers that drive start-up.
#pragma once

#include "config/languages.h"
#include "config/qttranslations.h"
#include "logdb/logdatabase.h"
#include "tracking/elements.h"

#include <QMainWindow>
#include <QTimer>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QVBoxLayout;

namespace vorta {

class BrowserWindow;
class BuiltInTrackingSource;
class SkyPlotWidget;
class TcpTrackingSource;
class TrackerMenus;
class TrackingPanelState;
class TrackingWidget;
class ConfigWindow;
class EntryWidget;
class ImportWindow;
class KeyerWidget;
class LastRecordWidget;
class NoticeWidget;
class Session;
class WebMenus;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    ConfigWindow &configWindow() { return *m_configWindow; }
    EntryWidget &entry() { return *m_entry; }
    BrowserWindow &browser() { return *m_browser; }
    ImportWindow &importWindow() { return *m_importWindow; }
    TrackingPanelState &tracking() { return *m_tracking; }
    TrackingWidget &trackingPanel() { return *m_trackingWidget; }
    KeyerWidget &keyerPanel() { return *m_keyerPanel; }
    QCheckBox &useOrbitronBox() { return *m_useOrbitron; }
    BuiltInTrackingSource &builtInTracker() { return *m_builtInSource; }
    SkyPlotWidget &skyPlot() { return *m_skyPlot; }
    TrackerMenus &trackerMenus() { return *m_trackerMenus; }
    // The six values of the last-record panel, in panel order.
    QStringList lastRecordValues() const;
    // What the status line tells beside the log's name (empty when nothing).
    QString notice() const;
    // The fonts' size in percent of the desktop's (Ctrl+Plus, Ctrl+Minus, Ctrl+0).
    int fontScale() const { return m_fontScale; }
    void stepFontScale(int steps);

    // The menu commands, as their entries run them.
    void newLog();
    void openLog();
    void showConfiguration();
    void refreshLastRecord();
    void showSatelliteList();
    // "Log": the log browser on the whole log, or "Log vacío!" when the panel shows no QSO.
    void showLog();
    // F1: the QSO stored most recently, in the record editor.
    void editNewestQso();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildPanels();
    void retranslate(Language language);
    void showOwnStation();
    void tickClock();
    void runFirstRunSetup();
    void chooseLogAtStart();
    void showLastRecord(const LastRecordView &view);
    void loadSatellites();
    void buildTracking();
    void refreshOrbitronData();
    // Feeds the tracking panel from the source the configuration names.
    void applyTrackingChoice();
    void trackedNameChanged(const QString &trackedName);
    // The satellite field and orbit follow the tracked name; underCursor writes a field that
    // has the cursor too.
    void followTrackedName(const QString &trackedName, bool underCursor);
    void catchUpTrackedSatellite(bool underCursor);
    // Whether text can give an orbit; then the orbit field from the element set that matches
    // it, nothing when none does.
    bool hasOrbitFor(const QString &text) const;
    std::optional<OrbitResult> showOrbitFor(const QString &text);
    void refreshComputedOrbit();
    void satelliteFieldChanged(const QString &name);
    void chooseSatellite(const QString &name);
    void buildKeys();

    Session &m_session;
    ConfigWindow *m_configWindow = nullptr;
    EntryWidget *m_entry = nullptr;
    KeyerWidget *m_keyerPanel = nullptr;

    QMenu *m_fileMenu = nullptr;
    QAction *m_newLog = nullptr, *m_openLog = nullptr, *m_settings = nullptr, *m_exit = nullptr;
    QAction *m_log = nullptr;
    WebMenus *m_web = nullptr;
    QAction *m_importAdif = nullptr;
    ImportWindow *m_importWindow = nullptr;
    BrowserWindow *m_browser = nullptr;
    TrackingPanelState *m_tracking = nullptr;
    TcpTrackingSource *m_trackingSource = nullptr;
    BuiltInTrackingSource *m_builtInSource = nullptr;
    SkyPlotWidget *m_skyPlot = nullptr;
    TrackerMenus *m_trackerMenus = nullptr;
    int m_elementReadings = 0;          // the readings of the elements file the built-in tracker has
    bool m_trackerSetsSatellite = false; // the satellite field is being set from the tracked name
    QString m_satelliteWritten;          // what tracking last wrote into the satellite field
    TrackingWidget *m_trackingWidget = nullptr;
    QCheckBox *m_useOrbitron = nullptr;
    QString m_orbitronFolder; // from the extra settings; empty: found through Wine
    QString m_lastCatalogue;
    QString m_computedOrbit, m_computedOrbitFrom; // the orbit last computed here, and from what
    OrbitronDataCache m_orbitronData;
    bool m_orbitronOption = false; // the configuration's tracking option last applied  // the catalogue number the satellite field's element set gave

    QLabel *m_ownCallCaption = nullptr, *m_ownCall = nullptr;
    QLabel *m_ownLocatorCaption = nullptr, *m_ownLocator = nullptr;
    QLabel *m_utcCaption = nullptr, *m_utcDate = nullptr, *m_utcTime = nullptr;
    // The panels of a pass (tracking, entry, keyer) are stacked here, above the last record.
    QVBoxLayout *m_panels = nullptr;
    LastRecordWidget *m_lastRecord = nullptr;
    NoticeWidget *m_notice = nullptr;
    // Says, for as long as it holds, that the UTC clock and the machine's own UTC disagree.
    QLabel *m_clockWarning = nullptr;
    QtTranslations m_qtTranslations;
    int m_fontScale = 100;
    // Whether the main window was left for another of the program's windows (not a message
    // box), or not shown yet: coming back, the cursor goes to the station field.
    bool m_callFieldOnReturn = true;

    bool m_logChosen = false;
    QTimer m_firstRunTimer, m_clockTimer, m_databaseTimer, m_versionTimer, m_watchdogTimer;
};

} // namespace vorta
