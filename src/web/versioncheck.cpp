#include "web/versioncheck.h"

#include "common/textfile.h"

#include <QRegularExpression>

#include <tuple>

namespace vorta {

namespace {

CheckMessage message(Txt purpose, Icon icon, std::initializer_list<std::pair<const char *, QString>> fills = {})
{
    // Every message of the check is Spanish whatever the interface language.
    return {text(purpose, Language::Spanish, fills), icon};
}

// Failures in which nothing arrived from the version file's server: to the operator they all
// mean that the web cannot be reached.
bool nothingArrived(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return true;
    default:
        return false;
    }
}

QString firstLine(const QString &text)
{
    return textLines(text).value(0).trimmed();
}

} // namespace

std::optional<VersionNumber> parseVersion(QStringView text)
{
    // Ten digits at most per part, as the published revision is read: more is no version. A
    // note after it ("1.0.16-beta", "1.0.16 (05/07/2025)") leaves the number as it is.
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{1,10})\\.([0-9]{1,10})\\.([0-9]{1,10})(?:[\\s+(-].*)?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed().toString());
    if (!match.hasMatch())
        return std::nullopt;
    return VersionNumber{match.capturedView(1).toULongLong(), match.capturedView(2).toULongLong(),
                         match.capturedView(3).toULongLong()};
}

std::optional<CheckMessage> versionMessage(const QString &installed, const QByteArray &body, bool silent)
{
    const QString answer = decodeText(body);
    // A server that refuses the file often still answers with a page saying so.
    if (answer.contains(QLatin1String("Forbidden")))
        return message(Txt::MsgWebError, Icon::Exclamation);
    const QString web = firstLine(answer);
    if (web.isEmpty())
        return message(Txt::MsgNoInternet, Icon::Exclamation);
    // An error page or any other text in place of the version file says nothing about the
    // version; comparing it would claim that the installed version is the newer one.
    const std::optional<VersionNumber> published = parseVersion(web);
    if (!published)
        return message(Txt::MsgWebError, Icon::Exclamation);
    const VersionNumber own = parseVersion(installed).value_or(VersionNumber{});
    // The parts are compared as numbers from the left, so 1.0.015 is the same as 1.0.15.
    const auto ownParts = std::tie(own.major, own.minor, own.revision);
    const auto webParts = std::tie(published->major, published->minor, published->revision);
    if (webParts == ownParts) {
        if (silent)
            return std::nullopt;
        return message(Txt::MsgVersionLatest, Icon::Information, {{"$instalada$", installed}});
    }
    if (webParts > ownParts)
        return message(Txt::MsgVersionUpdate, Icon::Exclamation, {{"$instalada$", installed}, {"$web$", web}});
    return message(Txt::MsgVersionNewer, Icon::Exclamation, {{"$instalada$", installed}, {"$web$", web}});
}

VersionCheck::VersionCheck(Dialogs &dialogs, QString installedVersionText, std::chrono::milliseconds timeout,
                           QObject *parent)
    : QObject(parent), m_dialogs(dialogs), m_installed(std::move(installedVersionText)), m_get(timeout, kMaxAnswer)
{
    m_installed.remove(QStringLiteral("Versión"));
    m_installed = m_installed.trimmed();
    connect(&m_get, &WebGet::finished, this, &VersionCheck::answered);
}

void VersionCheck::run(const QString &address, bool silent, Language language, const QString &settingsFile)
{
    if (m_get.running()) {
        // The operator asked while the start-up check runs: its answer is the one they wait for.
        if (!silent)
            m_silent = false;
        return;
    }
    if (address.trimmed().isEmpty()) {
        // Nothing asks the web unless the operator gave an address; asked for, the check says
        // where one would go.
        if (!silent)
            m_dialogs.inform(text(Txt::MsgNoVersionAddress, language, {{"$arch$", settingsFile}}),
                             Icon::Information);
        emit finished();
        return;
    }
    m_silent = silent;
    m_get.start(address);
}

void VersionCheck::answered(const WebAnswer &answer)
{
    std::optional<CheckMessage> shown;
    switch (answer.outcome) {
    case WebAnswer::Outcome::TimedOut:
        shown = message(Txt::MsgNoInternet, Icon::Exclamation);
        break;
    case WebAnswer::Outcome::HttpError:
        shown = message(Txt::MsgWebError, Icon::Exclamation);
        break;
    case WebAnswer::Outcome::TooLarge: {
        // A version file is one short line; only a first line that is a version says anything.
        const QString first = firstLine(decodeText(answer.body));
        if (parseVersion(first))
            shown = versionMessage(m_installed, first.toUtf8(), m_silent);
        else
            shown = message(Txt::MsgWebError, Icon::Exclamation);
        break;
    }
    case WebAnswer::Outcome::NetworkError:
        if (nothingArrived(answer.error))
            shown = message(Txt::MsgNoInternet, Icon::Exclamation);
        else
            shown = message(Txt::MsgWebFailure, Icon::None,
                            {{"$numero$", QString::number(int(answer.error))}, {"$texto$", answer.errorText}});
        break;
    case WebAnswer::Outcome::Body:
        shown = versionMessage(m_installed, answer.body, m_silent);
        break;
    }
    if (shown)
        m_dialogs.inform(shown->text, shown->icon);
    emit finished();
}

} // namespace vorta
