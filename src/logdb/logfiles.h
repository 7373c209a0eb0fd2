// The log database files: which one is current, making a new one from the template, opening an
// existing one. The operator is asked and told through Dialogs.
#pragma once

#include "common/datafolder.h"
#include "common/dialogs.h"
#include "config/languages.h"
#include "logdb/logdatabase.h"

#include <QString>

#include <optional>

namespace vorta {

struct CurrentLog
{
    QString path; // full path
    QString name; // file name alone
    bool operator==(const CurrentLog &) const = default;
};

CurrentLog logAt(const QString &path);

// Copies the template to the default log Bases/base1.mdb unless that file exists (an existing
// default log is never overwritten). Returns the message for the operator, empty on success.
QString ensureDefaultLog(const DataFolder &folder, Language language = Language::Spanish);

// Copies the template to a new file; never overwrites. Returns an error text, empty on success.
QString copyTemplate(const DataFolder &folder, const QString &target);

// A log chosen as current, with what the look at it found (see examineLog).
struct ChosenLog
{
    CurrentLog log;
    LogCheck check;
};

// What the operator is told about a damaged log, and whenever a QSO is refused for it.
QString damagedLogMessage(const QString &path, const QString &detail, Language language);

struct StartChoice
{
    ChosenLog chosen;
    QString message; // something the operator must be told, empty otherwise
    Icon icon = Icon::Critical;
    // The configured file is missing (a disk not yet mounted, a renamed folder) or the system
    // will not open it (a disk mounted with the wrong owner, a failing disk): the default log
    // stands in for this run, and the configuration should keep naming the configured file,
    // so that it is used again once it is back.
    std::optional<CurrentLog> missing;
};

// The current log at start: the configured file when it is a Vorta log, also when it is
// damaged (it is read, but takes no QSO) or locked by another program (it stays configured);
// otherwise the default log, made from the template when missing. The template itself is never
// used as a log.
StartChoice chooseLogAtStart(const DataFolder &folder, const QString &configuredPath, Language language);

// "Nueva Base de datos": asks for a new file name (again while the name exists), copies the
// template there. Nothing when the operator cancels or the copy fails (after a message).
std::optional<ChosenLog> createLog(const DataFolder &folder, Dialogs &dialogs, Language language);

// "Abrir Base de datos": asks for a file and checks that it is a Vorta log. Nothing when the
// operator cancels or the file is refused (after a message): not a log, the template, locked
// by another program, or one the system will not open. A damaged log is opened, so that its
// QSOs can be seen and exported.
std::optional<ChosenLog> openLog(const DataFolder &folder, Dialogs &dialogs, Language language);

} // namespace vorta
