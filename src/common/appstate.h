// The values the whole program shares for a run: the data folder, the station's settings with
// the current log, the interface language. Owned by the application and passed by reference;
// every change is announced, so every open window follows at once.
#pragma once

#include "common/datafolder.h"
#include "common/dialogs.h"
#include "config/extrasettings.h"
#include "config/languages.h"
#include "config/settings.h"
#include "logdb/logfiles.h"
#include "tracking/elements.h"
#include "tracking/satellitelist.h"

#include <QDateTime>
#include <QObject>

namespace vorta {

class AppState : public QObject
{
    Q_OBJECT
public:
    explicit AppState(DataFolder folder, QObject *parent = nullptr);

    const DataFolder &folder() const { return m_folder; }
    const Settings &settings() const { return m_settings; }
    // Replaces the settings and announces what changed.
    void setSettings(const Settings &settings);

    Language language() const;
    void setLanguage(Language language);

    CurrentLog currentLog() const { return {m_settings.basePath, m_settings.baseName}; }
    // Makes the log current, looking at it first (examineLog). Choosing the log that is already
    // current still announces logChanged, since its contents may have changed on disk meanwhile.
    void setCurrentLog(const CurrentLog &log);
    // The same for a log the caller has just looked at itself.
    void setCurrentLog(const CurrentLog &log, const LogCheck &check);

    // The one gate every writer of QSOs passes first (the entry panel, the record editor, the
    // import): a log found damaged when it was chosen takes no QSO, neither new nor changed nor
    // deleted, until the operator opens or creates another (or opens this one again once it is
    // repaired), since what goes into it may be unreadable tomorrow. Empty when QSOs may be
    // written into the current log, else the message for the operator. A log made current
    // through the settings alone is looked at here, once; one found locked by another program
    // is looked at again at every write, and takes no QSO while it stays locked.
    QString logWriteRefusal();
    // The gate for a writer that tells the operator itself: false, after the message (critical
    // icon), when the current log takes no QSO.
    bool mayWriteLog(Dialogs &dialogs);
    // The same gate for a log that may no longer be the current one (an import loads into the
    // log it staged in): another log is looked at anew.
    bool mayWriteLog(const CurrentLog &log, Dialogs &dialogs);

    // The satellite list of the data folder, loaded at start and after every edit.
    SatelliteList &satellites() { return m_satellites; }
    const SatelliteList &satellites() const { return m_satellites; }
    void announceSatellitesChanged() { emit satellitesChanged(); }

    // The tracker's element sets, refreshed each time the main window becomes active.
    ElementTable &elements() { return m_elements; }
    const ElementTable &elements() const { return m_elements; }

    // Where the tracking panel's data come from (kept in the extra settings file).
    TrackingChoice trackingChoice() const { return m_trackingChoice; }
    void setTrackingChoice(TrackingChoice choice);

    // The bands of the entry panel's frequencies, kept for the exports that name them.
    const QString &uplinkBand() const { return m_uplinkBand; }
    const QString &downlinkBand() const { return m_downlinkBand; }
    void setBands(const QString &uplink, const QString &downlink);

    // The UTC clock: local time minus the configured offset.
    QDateTime utcNow() const;

    // True from a start without configuration file until the first-run setup is done.
    bool firstRun() const { return m_firstRun; }
    void setFirstRun(bool firstRun) { m_firstRun = firstRun; }

    // Called by whatever changes, deletes or imports QSOs of the current log.
    void announceLogChanged() { emit logChanged(); }
    // Called when the entry panel stored one new QSO, so that views can add just that row.
    void announceQsoStored(qint64 id) { emit qsoStored(id); }

signals:
    void settingsChanged();
    void languageChanged(vorta::Language language);
    void currentLogChanged();
    // The QSOs of the current log changed (stored, edited, deleted, imported, or reopened).
    void logChanged();
    void qsoStored(qint64 id);
    void satellitesChanged();
    void trackingChoiceChanged(vorta::TrackingChoice choice);

private:
    DataFolder m_folder;
    Settings m_settings;
    ChosenLog m_checked; // the last look at a log; the gate holds for the current log only
    bool m_firstRun = false;
    QString m_uplinkBand, m_downlinkBand;
    SatelliteList m_satellites;
    ElementTable m_elements;
    TrackingChoice m_trackingChoice = TrackingChoice::Link;
};

} // namespace vorta
