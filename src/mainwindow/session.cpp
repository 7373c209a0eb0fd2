#include "mainwindow/session.h"

#include "common/dialogs.h"
#include "config/configfile.h"
#include "config/extrasettings.h"
#include "keyer/keyport.h"
#include "logdb/sqlite.h"

namespace vorta {

Session::Session(AppState &state, Dialogs &dialogs, KeyPort &keyPort)
    : m_state(state), m_dialogs(dialogs), m_keyPort(keyPort), m_keyer(keyPort)
{
}

void Session::loadAtStart()
{
    // The tracking choice lives in the extra settings, which a first run does not ask for.
    m_state.setTrackingChoice(loadExtraSettings(m_state.folder().settingsFile()).tracking);
    Settings settings = m_state.settings();
    const ConfigLoad load = loadConfig(m_state.folder().configFile(), settings);
    m_state.setFirstRun(!load.exists);
    if (!load.exists)
        return;
    const QString file = m_state.folder().configFile();
    if (load.noKnownKey) {
        // Nothing of the operator's can be read from it (an empty file, another program's):
        // it is kept aside rather than overwritten, and the settings are asked for anew.
        if (const QString aside = keepConfigAside(file); !aside.isEmpty()) {
            m_dialogs.inform(text(Txt::MsgConfigKeptAside, m_state.language(), {{"$arch$", file}, {"$nombre$", aside}}),
                             Icon::Exclamation);
            m_state.setFirstRun(true);
            return;
        }
    }
    if (load.unreadable || load.noKnownKey) {
        m_configUnreadable = true;
        m_dialogs.inform(text(Txt::MsgConfigNotRead, m_state.language(), {{"$arch$", file}}), Icon::Critical);
        return;
    }
    m_state.setSettings(settings);
    if (!load.error.isEmpty())
        reportConfigNotSaved(load.error);
    openKeyPort(settings.port);
}

void Session::beginFirstRun()
{
    Settings settings = m_state.settings();
    const CurrentLog log = logAt(m_state.folder().defaultLog());
    settings.basePath = log.path;
    settings.baseName = log.name;
    settings.macros = defaultMacros();
    m_state.setSettings(settings);
}

void Session::endFirstRun()
{
    m_state.setFirstRun(false);
    const QString error = ensureDefaultLog(m_state.folder(), m_state.language());
    if (!error.isEmpty())
        m_dialogs.inform(error, Icon::Critical);
    Settings settings = m_state.settings();
    loadConfig(m_state.folder().configFile(), settings);
    m_state.setSettings(settings);
}

void Session::chooseLogAtStart()
{
    const StartChoice choice = vorta::chooseLogAtStart(m_state.folder(), m_state.settings().basePath, m_state.language());
    m_standingIn = choice.missing ? std::optional(StandIn{*choice.missing, choice.chosen.log}) : std::nullopt;
    // The panel's reading of a locked log fails as well; the operator is told once, below.
    m_lockToldFor = choice.chosen.check.verdict == LogCheck::Verdict::Locked ? choice.chosen.log.path : QString();
    m_state.setCurrentLog(choice.chosen.log, choice.chosen.check);
    if (!choice.message.isEmpty())
        m_dialogs.inform(choice.message, choice.icon);
}

LastRecordView Session::lastRecord()
{
    const QString path = m_state.currentLog().path;
    try {
        return lastRecordView(lastQso(path));
    } catch (const db::DbError &error) {
        const bool toldAlready = error.isBusy() && path == m_lockToldFor;
        m_lockToldFor.clear();
        if (!toldAlready)
            reportLogError(error.message());
        return {};
    }
}

void Session::makeCurrent(const ChosenLog &chosen)
{
    // The operator chose a log: the configuration names it from now on.
    m_standingIn.reset();
    m_state.setCurrentLog(chosen.log, chosen.check);
    if (const QString refusal = m_state.logWriteRefusal(); !refusal.isEmpty())
        m_dialogs.inform(refusal, Icon::Critical);
}

bool Session::newLog()
{
    const auto log = createLog(m_state.folder(), m_dialogs, m_state.language());
    if (!log)
        return false;
    makeCurrent(*log);
    return true;
}

bool Session::openLog()
{
    const auto log = vorta::openLog(m_state.folder(), m_dialogs, m_state.language());
    if (!log)
        return false;
    makeCurrent(*log);
    return true;
}

Settings Session::settingsForFile(Settings settings) const
{
    if (m_standingIn && m_standingIn->standIn == m_state.currentLog()) {
        settings.basePath = m_standingIn->configured.path;
        settings.baseName = m_standingIn->configured.name;
    }
    return settings;
}

bool Session::saveConfiguration(const Settings &settings)
{
    m_state.setSettings(settings);
    const QString error = saveConfig(m_state.folder().configFile(), settingsForFile(settings));
    if (!error.isEmpty()) {
        reportConfigNotSaved(error);
        return false;
    }
    m_configUnreadable = false; // the file now holds what the operator accepted
    openKeyPort(settings.port);
    return true;
}

bool Session::saveTrackingChoice(TrackingChoice choice)
{
    if (choice == m_state.trackingChoice())
        return true;
    const QString file = m_state.folder().settingsFile();
    const QString error = saveExtraSetting(file, kTrackingChoiceKey, trackingChoiceValue(choice));
    if (!error.isEmpty()) {
        reportConfigNotSaved(error, file);
        return false;
    }
    m_state.setTrackingChoice(choice);
    return true;
}

void Session::openKeyPort(const QString &port)
{
    if (port.isEmpty() || port == kNoPort)
        return;
    // Opening a port raises both its lines until they are lowered again, long enough to key a
    // transmitter: the port that is open already stays as it is.
    if (m_keyPort.isOpen() && m_keyPort.portName() == port)
        return;
    const QString error = m_keyPort.open(port);
    if (!error.isEmpty())
        m_dialogs.inform(text(Txt::MsgPortFailed, Language::Spanish, {{"$nombre$", error}, {"$arch$", port}}),
                         Icon::Critical);
}

void Session::reportLogError(const QString &error)
{
    m_dialogs.inform(text(Txt::MsgLogUnreadable, m_state.language(),
                          {{"$arch$", m_state.currentLog().path}, {"$nombre$", error}}),
                     Icon::Critical);
}

void Session::reportConfigNotSaved(const QString &error, const QString &file)
{
    m_dialogs.inform(text(Txt::MsgConfigNotSaved, m_state.language(),
                          {{"$arch$", file.isEmpty() ? m_state.folder().configFile() : file}, {"$nombre$", error}}),
                     Icon::Critical);
}

bool Session::confirmExit()
{
    if (!m_dialogs.ask(text(Txt::MsgExit, m_state.language()), Icon::Question))
        return false;
    m_keyer.stopNow();
    if (m_configUnreadable)
        return true;
    const QString error = saveConfig(m_state.folder().configFile(), settingsForFile(m_state.settings()));
    if (!error.isEmpty())
        reportConfigNotSaved(error);
    return true;
}

} // namespace vorta
