#include "logdb/logfiles.h"

#include "common/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vorta {

namespace {

const QString kLogFilter = QStringLiteral("*.mdb (*.mdb)");

QString notALogMessage(const QString &path, const QString &why, Language language)
{
    return text(Txt::MsgNotALog, language, {{"$arch$", path}})
           + QStringLiteral("\r\n(") + why + u')';
}

// QSOs written into the template would reappear in every log made from it.
bool isTemplate(const DataFolder &folder, const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(folder.templateFile()).canonicalFilePath();
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
    QFile source(folder.templateFile());
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    // Written whole or not at all: a half-copied log never appears under its name.
    return writeFileAtomically(target, source.readAll());
}

QString ensureDefaultLog(const DataFolder &folder, Language language)
{
    if (QFileInfo::exists(folder.defaultLog()))
        return {};
    if (!QFileInfo::exists(folder.templateFile()))
        return text(Txt::MsgTemplateMissing, Language::Spanish, {{"$nombre$", folder.path()}});
    const QString error = copyTemplate(folder, folder.defaultLog());
    if (error.isEmpty())
        return {};
    return text(Txt::MsgLogNotCreated, language, {{"$arch$", folder.defaultLog()}, {"$nombre$", error}});
}

QString damagedLogMessage(const QString &path, const QString &detail, Language language)
{
    return text(Txt::MsgLogDamaged, language, {{"$arch$", path}, {"$nombre$", detail}});
}

StartChoice chooseLogAtStart(const DataFolder &folder, const QString &configuredPath, Language language)
{
    using Verdict = LogCheck::Verdict;
    StartChoice choice;
    const CurrentLog fallback = logAt(folder.defaultLog());
    const auto inUse = [&](Txt purpose) {
        return text(purpose, language, {{"$arch$", configuredPath}, {"$nombre$", fallback.path}});
    };
    if (!configuredPath.isEmpty()) {
        if (isTemplate(folder, configuredPath)) {
            choice.message = inUse(Txt::MsgStartTemplate);
        } else {
            const LogCheck check = examineLog(configuredPath);
            switch (check.verdict) {
            case Verdict::Sound:
                choice.chosen = {logAt(configuredPath), check};
                return choice;
            case Verdict::Damaged:
                // Kept, so that its QSOs can still be seen and exported; it takes no new one.
                choice.chosen = {logAt(configuredPath), check};
                choice.message = damagedLogMessage(configuredPath, check.detail, language);
                return choice;
            case Verdict::Locked:
                // Busy is not foreign: the log stays the configured one.
                choice.chosen = {logAt(configuredPath), check};
                choice.message = text(Txt::MsgStartLogLocked, language, {{"$arch$", configuredPath}});
                choice.icon = Icon::Exclamation;
                return choice;
            case Verdict::Missing:
                // The default log itself gone (deleted, or never made): it is simply made anew
                // below, with nothing to tell and nothing to remember.
                if (QFileInfo(configuredPath).absoluteFilePath() == QFileInfo(fallback.path).absoluteFilePath())
                    break;
                choice.missing = logAt(configuredPath);
                choice.message = inUse(Txt::MsgStartLogMissing);
                choice.icon = Icon::Exclamation;
                break;
            case Verdict::Unreadable:
                // A disk mounted with the wrong owner, or failing, may be right again at the next
                // start: like a missing log, it stands aside for this run and stays configured.
                if (QFileInfo(configuredPath).absoluteFilePath() == QFileInfo(fallback.path).absoluteFilePath())
                    break; // nothing can stand in for it; told below
                choice.missing = logAt(configuredPath);
                choice.message = text(Txt::MsgStartLogUnreadable, language,
                                      {{"$arch$", configuredPath}, {"$nombre$", fallback.path}, {"$texto$", check.detail}});
                choice.icon = Icon::Exclamation;
                break;
            case Verdict::NotALog:
                // The default log itself: nothing stands in for it, told below.
                if (QFileInfo(configuredPath).absoluteFilePath() == QFileInfo(fallback.path).absoluteFilePath())
                    break;
                choice.message = inUse(Txt::MsgStartNotALog) + QStringLiteral("\r\n(") + check.detail + u')';
                break;
            }
        }
    }
    const auto append = [&choice](const QString &message) {
        choice.message += (choice.message.isEmpty() ? QString() : QStringLiteral("\r\n\r\n")) + message;
    };
    if (const QString error = ensureDefaultLog(folder, language); !error.isEmpty())
        append(error);
    choice.chosen = {fallback, examineLog(fallback.path)};
    // A default log that is no log takes no QSO: the operator is told to open or make one.
    if (choice.chosen.check.verdict == Verdict::NotALog) {
        append(text(Txt::MsgDefaultNotALog, language, {{"$arch$", fallback.path}}) + QStringLiteral("\r\n(")
               + choice.chosen.check.detail + u')');
        choice.icon = Icon::Critical;
    }
    if (choice.chosen.check.verdict == Verdict::Damaged)
        append(damagedLogMessage(fallback.path, choice.chosen.check.detail, language));
    if (choice.chosen.check.verdict == Verdict::Unreadable) {
        append(text(Txt::MsgLogUnreadable, Language::Spanish,
                    {{"$arch$", fallback.path}, {"$nombre$", choice.chosen.check.detail}}));
        choice.icon = Icon::Critical;
    }
    return choice;
}

std::optional<ChosenLog> createLog(const DataFolder &folder, Dialogs &dialogs, Language language)
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
            path += path.endsWith(u'.') ? QStringLiteral("mdb") : QStringLiteral(".mdb");
        if (QFileInfo::exists(path)) {
            dialogs.inform(text(Txt::MsgLogExists, language, {{"$nombre$", QFileInfo(path).fileName()}}),
                           Icon::Critical);
            proposed = path;
            continue;
        }
        const QString error = copyTemplate(folder, path);
        if (!error.isEmpty()) {
            dialogs.inform(text(Txt::MsgNewLogFailed, language, {{"$arch$", path}, {"$nombre$", error}}),
                           Icon::Critical);
            return std::nullopt;
        }
        return ChosenLog{logAt(path), examineLog(path)};
    }
}

std::optional<ChosenLog> openLog(const DataFolder &folder, Dialogs &dialogs, Language language)
{
    using Verdict = LogCheck::Verdict;
    const auto chosen = dialogs.openFile(text(Txt::MsgOpenLogTitle, language), folder.basesDir(), kLogFilter);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    if (isTemplate(folder, *chosen)) {
        dialogs.inform(text(Txt::MsgTemplateNotALog, language, {{"$arch$", *chosen}}), Icon::Critical);
        return std::nullopt;
    }
    const LogCheck check = examineLog(*chosen);
    switch (check.verdict) {
    case Verdict::Sound:
    case Verdict::Damaged:
        return ChosenLog{logAt(*chosen), check};
    case Verdict::Locked:
        dialogs.inform(text(Txt::MsgOpenLogLocked, language, {{"$arch$", *chosen}}), Icon::Exclamation);
        return std::nullopt;
    case Verdict::Unreadable:
        dialogs.inform(text(Txt::MsgOpenLogUnreadable, language, {{"$arch$", *chosen}, {"$texto$", check.detail}}),
                       Icon::Critical);
        return std::nullopt;
    case Verdict::Missing:
    case Verdict::NotALog:
        break;
    }
    dialogs.inform(notALogMessage(*chosen, check.detail, language), Icon::Critical);
    return std::nullopt;
}

} // namespace vorta
