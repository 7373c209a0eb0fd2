#include "common/appstate.h"

#include "common/dates.h"

namespace vorta {

AppState::AppState(DataFolder folder, QObject *parent)
    : QObject(parent), m_folder(std::move(folder)), m_satellites(m_folder)
{
}

void AppState::setSettings(const Settings &settings)
{
    if (settings == m_settings)
        return;
    const Settings before = m_settings;
    m_settings = settings;
    emit settingsChanged();
    if (before.language != settings.language)
        emit languageChanged(language());
    if (before.basePath != settings.basePath || before.baseName != settings.baseName)
        emit currentLogChanged();
}

Language AppState::language() const
{
    return languageFromName(m_settings.language).value_or(Language::Spanish);
}

void AppState::setLanguage(Language language)
{
    Settings changed = m_settings;
    changed.language = languageName(language);
    setSettings(changed);
}

void AppState::setCurrentLog(const CurrentLog &log)
{
    setCurrentLog(log, examineLog(log.path));
}

void AppState::setCurrentLog(const CurrentLog &log, const LogCheck &check)
{
    m_checked = {log, check};
    if (log == currentLog()) {
        emit logChanged();
        return;
    }
    Settings changed = m_settings;
    changed.basePath = log.path;
    changed.baseName = log.name;
    setSettings(changed);
}

QString AppState::logWriteRefusal()
{
    using Verdict = LogCheck::Verdict;
    const CurrentLog log = currentLog();
    // A log that was locked when it was looked at has not been checked yet: it is looked at
    // again until the look gets through, so that a damaged one is found before a QSO goes in.
    if (m_checked.log.path != log.path || m_checked.check.verdict == Verdict::Locked)
        m_checked = {log, examineLog(log.path)};
    switch (m_checked.check.verdict) {
    case Verdict::Damaged:
        return damagedLogMessage(log.path, m_checked.check.detail, language());
    case Verdict::Locked:
        return text(Txt::MsgStartLogLocked, language(), {{"$arch$", log.path}});
    default:
        return {};
    }
}

bool AppState::mayWriteLog(Dialogs &dialogs)
{
    return mayWriteLog(currentLog(), dialogs);
}

bool AppState::mayWriteLog(const CurrentLog &log, Dialogs &dialogs)
{
    QString refusal;
    if (log.path == currentLog().path) {
        refusal = logWriteRefusal();
    } else if (const LogCheck check = examineLog(log.path); check.verdict == LogCheck::Verdict::Damaged) {
        refusal = damagedLogMessage(log.path, check.detail, language());
    }
    if (refusal.isEmpty())
        return true;
    dialogs.inform(refusal, Icon::Critical);
    return false;
}

void AppState::setTrackingChoice(TrackingChoice choice)
{
    if (choice == m_trackingChoice)
        return;
    m_trackingChoice = choice;
    emit trackingChoiceChanged(choice);
}

void AppState::setBands(const QString &uplink, const QString &downlink)
{
    m_uplinkBand = uplink;
    m_downlinkBand = downlink;
}

QDateTime AppState::utcNow() const
{
    return utcClock(QDateTime::currentDateTime(), m_settings.utcOffsetMinutes());
}

} // namespace vorta
