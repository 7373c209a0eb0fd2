#include "web/versioncheck.h"

#include "common/textfile.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QUrl>

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

} // namespace

std::optional<VersionNumber> parseVersion(QStringView text)
{
    // Ten digits at most per part, as the published revision is read: more is no version.
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,10})\\.([0-9]{1,10})\\.([0-9]{1,10})$"));
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
    const QString web = answer.section(u'\n', 0, 0).trimmed();
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
    : QObject(parent), m_dialogs(dialogs), m_installed(std::move(installedVersionText)), m_timeout(timeout),
      m_network(new QNetworkAccessManager(this))
{
    m_installed.remove(QStringLiteral("Versión"));
    m_installed = m_installed.trimmed();
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (!m_reply)
            return;
        m_timedOut = true;
        m_reply->abort();
    });
}

VersionCheck::~VersionCheck()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void VersionCheck::run(const QString &address, bool silent, Language language, const QString &settingsFile)
{
    if (m_reply) {
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
    m_timedOut = false;
    m_tooLong = false;
    m_answer.clear();
    QNetworkRequest request(QUrl::fromUserInput(address.trimmed()));
    // The published file, not a copy some cache kept from before the last release.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_network->get(request);
    // Nothing beyond the cap waits in the reply's own buffer either.
    m_reply->setReadBufferSize(kMaxAnswer);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        if (!takeAnswer(*m_reply))
            m_reply->abort();
    });
    connect(m_reply, &QNetworkReply::finished, this, &VersionCheck::replyFinished);
    m_deadline.start(m_timeout);
}

bool VersionCheck::takeAnswer(QNetworkReply &reply)
{
    if (!m_tooLong) {
        m_answer += reply.read(kMaxAnswer + 1 - m_answer.size());
        if (m_answer.size() > kMaxAnswer) {
            m_answer.truncate(kMaxAnswer);
            m_tooLong = true;
        }
    }
    return !m_tooLong;
}

void VersionCheck::replyFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    m_deadline.stop();
    reply->deleteLater();
    takeAnswer(*reply);

    std::optional<CheckMessage> shown;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool errorStatus = status.isValid() && status.toInt() >= 400;
    if (m_tooLong && !errorStatus) {
        // A version file is one short line; only a first line that is a version says anything.
        const qsizetype end = m_answer.indexOf('\n');
        const QByteArray firstLine = end < 0 ? m_answer : m_answer.left(end);
        if (parseVersion(decodeText(firstLine)))
            shown = versionMessage(m_installed, firstLine, m_silent);
        else
            shown = message(Txt::MsgWebError, Icon::Exclamation);
    } else if (m_timedOut) {
        shown = message(Txt::MsgNoInternet, Icon::Exclamation);
    } else if (errorStatus) {
        // The server answered, but with an error page instead of the file.
        shown = message(Txt::MsgWebError, Icon::Exclamation);
    } else if (reply->error() != QNetworkReply::NoError) {
        if (nothingArrived(reply->error()))
            shown = message(Txt::MsgNoInternet, Icon::Exclamation);
        else
            shown = message(Txt::MsgWebFailure, Icon::None,
                            {{"$numero$", QString::number(int(reply->error()))}, {"$texto$", reply->errorString()}});
    } else {
        shown = versionMessage(m_installed, m_answer, m_silent);
    }
    if (shown)
        m_dialogs.inform(shown->text, shown->icon);
    emit finished();
}

} // namespace vorta
