#include "tracking/elementsdownload.h"

#include "common/datafolder.h"
#include "common/textfile.h"
#include "tracking/orbitalelements.h"

#include <QDir>

namespace vorta {

QString dataElementsFile(const DataFolder &folder)
{
    return folder.file(QStringLiteral("elementos.tle"));
}

ElementsCount countElementSets(const QByteArray &bytes)
{
    ElementsCount count;
    // Lines as the file will be read once written.
    count.usable = readOrbitalElements(textLines(decodeText(bytes)), &count.rejected).size();
    return count;
}

ElementsDownload::ElementsDownload(Dialogs &dialogs, std::chrono::milliseconds timeout, QObject *parent)
    : QObject(parent), m_dialogs(dialogs), m_get(timeout, kMaxBytes)
{
    connect(&m_get, &WebGet::finished, this, &ElementsDownload::answered);
}

void ElementsDownload::run(const QString &address, const QString &target, const QString &fileInUse,
                           Language language)
{
    if (m_get.running())
        return;
    m_address = address.trimmed();
    m_target = target;
    m_fileInUse = fileInUse;
    m_language = language;
    m_get.start(m_address);
}

void ElementsDownload::fail(const QString &reason)
{
    m_dialogs.inform(text(Txt::MsgElementsNotUpdated, m_language, {{"$web$", m_address}, {"$nombre$", reason}}),
                     Icon::Exclamation);
    emit finished(false);
}

void ElementsDownload::answered(const WebAnswer &answer)
{
    switch (answer.outcome) {
    case WebAnswer::Outcome::TimedOut:
        return fail(text(Txt::ElementsReasonTimeout, m_language));
    case WebAnswer::Outcome::TooLarge:
        return fail(text(Txt::ElementsReasonTooLarge, m_language));
    case WebAnswer::Outcome::HttpError:
        return fail(QStringLiteral("HTTP ") + QString::number(answer.httpStatus) + u' ' + answer.httpReason);
    case WebAnswer::Outcome::NetworkError:
        return fail(answer.errorText);
    case WebAnswer::Outcome::Body:
        break;
    }
    const QByteArray &body = answer.body;
    const ElementsCount count = countElementSets(body);
    if (!count.acceptable())
        return fail(text(Txt::ElementsReasonNoSets, m_language));
    const QString target = QDir::toNativeSeparators(m_target);
    if (const std::optional<QStringList> old = readTextLines(m_target)) {
        const qsizetype had = readOrbitalElements(*old).size();
        if (double(count.usable) < kFewerSetsShare * double(had)
            && !m_dialogs.ask(text(Txt::MsgElementsFewer, m_language,
                                   {{"$web$", m_address},
                                    {"$nuevos$", QString::number(count.usable)},
                                    {"$arch$", target},
                                    {"$actuales$", QString::number(had)}}),
                              Icon::Question)) {
            emit finished(false); // the operator's answer: nothing more to say
            return;
        }
    }
    const QString error = writeFileAtomically(m_target, body);
    if (!error.isEmpty())
        return fail(target + QStringLiteral(": ") + error);

    const QString notice = text(Txt::MsgElementsUpdated, m_language,
                                {{"$qsoss$", QString::number(count.usable)}, {"$arch$", target}});
    // An update that changes nothing the tracker reads is no quiet success: the operator must
    // learn of it, and will not from a line that vanishes after some seconds.
    if (!m_fileInUse.isEmpty() && m_fileInUse != m_target)
        m_dialogs.inform(notice + QStringLiteral("\r\n")
                             + text(Txt::MsgElementsOtherFile, m_language,
                                    {{"$arch$", QDir::toNativeSeparators(m_fileInUse)}}),
                         Icon::Information);
    emit updated(notice);
    emit finished(true);
}

} // namespace vorta
