// The values the whole program shares for a run: the data folder, the station's settings with
// the current log, the interface language. Owned by the application and passed by reference;
// every change is announced, so every open window follows at once.
#pragma once

#include "common/datafolder.h"
#include "config/languages.h"
#include "config/settings.h"
#include "logdb/logfiles.h"

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
    void setCurrentLog(const CurrentLog &log);

    // The UTC clock: local time minus the configured offset.
    QDateTime utcNow() const;

    // True from a start without configuration file until the first-run setup is done.
    bool firstRun() const { return m_firstRun; }
    void setFirstRun(bool firstRun) { m_firstRun = firstRun; }

    // Called by whatever stores, changes or deletes QSOs of the current log.
    void announceLogChanged() { emit logChanged(); }

signals:
    void settingsChanged();
    void languageChanged(vorta::Language language);
    void currentLogChanged();
    void logChanged();

private:
    DataFolder m_folder;
    Settings m_settings;
    bool m_firstRun = false;
};

} // namespace vorta
