#include "logdb/logfiles.h"

#include "common/dialogs.h"
#include "logdb/logdatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vorta {

namespace {

const QString kLogFilter = QStringLiteral("*.mdb (*.mdb)");

QString notALogMessage(const QString &path, const QString &why)
{
    return text(Txt::MsgNotALog, Language::Spanish, {{"$arch$", path}})
           + QStringLiteral("\r\n(") + why + u')';
}

} // namespace

CurrentLog logAt(const QString &path)
{
    const QFileInfo info(path);
    return {info.absoluteFilePath(), info.fileName()};
}

QString copyTemplate(const DataFolder &folder, const QString &target)
{
    if (QFileInfo::exists(target))
        return QStringLiteral("%1 ya existe").arg(target);
    QDir().mkpath(QFileInfo(target).absolutePath());
    // Copy beside the target, then rename: a half-copied log never appears under its name.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile source(folder.templateFile());
    if (!source.copy(partial)) {
        const QString error = source.errorString();
        QFile::remove(partial);
        return error;
    }
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return QStringLiteral("no se puede crear %1").arg(target);
    }
    return {};
}

QString ensureDefaultLog(const DataFolder &folder)
{
    if (QFileInfo::exists(folder.defaultLog()))
        return {};
    if (!QFileInfo::exists(folder.templateFile()))
        return text(Txt::MsgTemplateMissing, Language::Spanish, {{"$nombre$", folder.path()}});
    return copyTemplate(folder, folder.defaultLog());
}

StartChoice chooseLogAtStart(const DataFolder &folder, const QString &configuredPath)
{
    StartChoice choice;
    if (!configuredPath.isEmpty() && QFileInfo::exists(configuredPath)) {
        const QString why = checkLogFile(configuredPath);
        if (why.isEmpty()) {
            choice.log = logAt(configuredPath);
            return choice;
        }
        choice.message = notALogMessage(configuredPath, why);
    }
    choice.log = logAt(folder.defaultLog());
    const QString error = ensureDefaultLog(folder);
    if (!error.isEmpty())
        choice.message += (choice.message.isEmpty() ? QString() : QStringLiteral("\r\n\r\n")) + error;
    return choice;
}

std::optional<CurrentLog> createLog(const DataFolder &folder, Dialogs &dialogs, Language language)
{
    if (!QFileInfo::exists(folder.templateFile())) {
        dialogs.inform(text(Txt::MsgTemplateMissing, Language::Spanish, {{"$nombre$", folder.path()}}),
                       Icon::Critical);
        return std::nullopt;
    }
    QString proposed = folder.basesDir() + u'/';
    for (;;) {
        const auto chosen = dialogs.saveFile(text(Txt::MsgNewLogTitle, language), proposed, kLogFilter);
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        QString path = *chosen;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".mdb");
        if (QFileInfo::exists(path)) {
            dialogs.inform(text(Txt::MsgLogExists, language, {{"$nombre$", QFileInfo(path).fileName()}}),
                           Icon::Critical);
            proposed = path;
            continue;
        }
        const QString error = copyTemplate(folder, path);
        if (!error.isEmpty()) {
            dialogs.inform(error, Icon::Critical);
            return std::nullopt;
        }
        return logAt(path);
    }
}

std::optional<CurrentLog> openLog(const DataFolder &folder, Dialogs &dialogs, Language language)
{
    const auto chosen = dialogs.openFile(text(Txt::MsgOpenLogTitle, language), folder.basesDir(), kLogFilter);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    // QSOs written into the template would reappear in every log made from it.
    if (QFileInfo(*chosen).canonicalFilePath() == QFileInfo(folder.templateFile()).canonicalFilePath()) {
        dialogs.inform(text(Txt::MsgTemplateNotALog, Language::Spanish, {{"$arch$", *chosen}}), Icon::Critical);
        return std::nullopt;
    }
    const QString why = checkLogFile(*chosen);
    if (!why.isEmpty()) {
        dialogs.inform(notALogMessage(*chosen, why), Icon::Critical);
        return std::nullopt;
    }
    return logAt(*chosen);
}

} // namespace vorta
