// What the main window does between start and exit, without the window: loading and saving the
// configuration, the first-run setup, choosing, creating and opening the current log, reading
// its last QSO, the serial key port with the Morse sender keying it, and the exit question.
#pragma once

#include "common/appstate.h"
#include "keyer/keyer.h"
#include "logdb/logdatabase.h"

namespace vorta {

class Dialogs;
class KeyPort;

class Session
{
public:
    Session(AppState &state, Dialogs &dialogs, KeyPort &keyPort);

    AppState &state() { return m_state; }
    Dialogs &dialogs() { return m_dialogs; }
    KeyPort &keyPort() { return m_keyPort; }
    Keyer &keyer() { return m_keyer; }

    // Reads the configuration file at start. Without a file the first-run flag is set and
    // nothing is read. With one, its values become current and the key port is opened.
    void loadAtStart();

    // The first-run setup around the configuration window: before it, the default log and
    // the default macros; after it, the default log file and the configuration read back.
    void beginFirstRun();
    void endFirstRun();

    // Chooses the current log at start: the configured file, else the default log, telling the
    // operator what became of a configured file that is missing, locked, damaged or no log. A
    // missing one stays in the configuration file while the default log stands in for it.
    void chooseLogAtStart();

    // The last QSO of the current log for the panel; a log that cannot be read is reported
    // and shows six empty values.
    LastRecordView lastRecord();

    // "Nueva Base de datos" and "Abrir Base de datos": true when the current log changed.
    bool newLog();
    bool openLog();

    // Makes the settings current, writes the configuration file and opens the chosen port
    // unless it is open already. False (after a message) when the file could not be written.
    bool saveConfiguration(const Settings &settings);

    // Keeps where the tracking data come from in the extra settings file and makes it current.
    // False (after a message, nothing changed) when the file could not be written.
    bool saveTrackingChoice(TrackingChoice choice);

    // Opens the key port when a port other than "Ninguno" is chosen and not open already; a
    // failure is reported with the port that could not be opened.
    void openKeyPort(const QString &port);

    // "Sale de Vorta?": on Yes a text being sent is cut with the line released, the
    // configuration is written and true returned.
    bool confirmExit();

    // Tells the operator that the current log could not be read or written.
    void reportLogError(const QString &error);

private:
    // Tells the operator a settings file (the configuration when none is named) was not saved.
    void reportConfigNotSaved(const QString &error, const QString &file = {});
    // Makes a log the operator opened or created current; a damaged one is reported.
    void makeCurrent(const ChosenLog &chosen);
    // The settings as the configuration file keeps them: naming the configured log while the
    // default log stands in for it.
    Settings settingsForFile(Settings settings) const;

    struct StandIn
    {
        CurrentLog configured, standIn;
    };

    AppState &m_state;
    Dialogs &m_dialogs;
    KeyPort &m_keyPort;
    Keyer m_keyer;
    // The configuration file exists but could not be read: it is not overwritten at exit with
    // settings that never came from it.
    bool m_configUnreadable = false;
    std::optional<StandIn> m_standingIn;
    QString m_lockToldFor; // the log found locked at start, whose panel reading need not say so again
};

} // namespace vorta
