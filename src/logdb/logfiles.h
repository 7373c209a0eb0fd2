// The log database files: which one is current, making a new one from the template, opening an
// existing one. The operator is asked and told through Dialogs.
#pragma once

#include "common/datafolder.h"
#include "config/languages.h"

#include <QString>

#include <optional>

namespace vorta {

class Dialogs;

struct CurrentLog
{
    QString path; // full path
    QString name; // file name alone
    bool operator==(const CurrentLog &) const = default;
};

CurrentLog logAt(const QString &path);

// Copies the template to the default log Bases/base1.mdb unless that file exists (an existing
// default log is never overwritten). Returns an error text, empty on success.
QString ensureDefaultLog(const DataFolder &folder);

// Copies the template to a new file; never overwrites. Returns an error text, empty on success.
QString copyTemplate(const DataFolder &folder, const QString &target);

struct StartChoice
{
    CurrentLog log;
    QString message; // something the operator must be told, empty otherwise
};

// The current log at start: the configured file when it exists and is a Vorta log; otherwise
// the default log, made from the template when missing.
StartChoice chooseLogAtStart(const DataFolder &folder, const QString &configuredPath);

// "Nueva Base de datos": asks for a new file name (again while the name exists), copies the
// template there. Nothing when the operator cancels or the copy fails (after a message).
std::optional<CurrentLog> createLog(const DataFolder &folder, Dialogs &dialogs, Language language);

// "Abrir Base de datos": asks for a file and checks that it is a Vorta log. Nothing when the
// operator cancels or the file is refused (after a message).
std::optional<CurrentLog> openLog(const DataFolder &folder, Dialogs &dialogs, Language language);

} // namespace vorta
