#include "web/webget.h"

#include <QNetworkAccessManager>
#include <QUrl>

namespace vorta {

WebGet::WebGet(std::chrono::milliseconds timeout, qint64 maxBytes, QObject *parent)
    : QObject(parent), m_timeout(timeout), m_maxBytes(maxBytes), m_network(new QNetworkAccessManager(this))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (!m_reply)
            return;
        m_timedOut = true;
        m_reply->abort();
    });
}

WebGet::~WebGet()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void WebGet::start(const QString &address)
{
    if (m_reply)
        return;
    m_timedOut = false;
    m_tooLarge = false;
    QNetworkRequest request(QUrl::fromUserInput(address.trimmed()));
    // The file as published now, not a copy some cache kept from before.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_network->get(request);
    if (m_maxBytes > 0) {
        connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
            if (received > m_maxBytes && m_reply) {
                m_tooLarge = true;
                m_reply->abort();
            }
        });
    }
    connect(m_reply, &QNetworkReply::finished, this, &WebGet::replyFinished);
    m_deadline.start(m_timeout);
}

void WebGet::replyFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    m_deadline.stop();
    reply->deleteLater();

    WebAnswer answer;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (m_timedOut) {
        answer.outcome = WebAnswer::Outcome::TimedOut;
    } else if (m_tooLarge) {
        answer.outcome = WebAnswer::Outcome::TooLarge;
    } else if (status.isValid() && status.toInt() >= 400) {
        // The server answered, but with an error page instead of the file.
        answer.outcome = WebAnswer::Outcome::HttpError;
        answer.httpStatus = status.toInt();
        answer.httpReason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    } else if (reply->error() != QNetworkReply::NoError) {
        answer.outcome = WebAnswer::Outcome::NetworkError;
        answer.error = reply->error();
        answer.errorText = reply->errorString();
    } else {
        answer.body = reply->readAll();
    }
    emit finished(answer);
}

} // namespace vorta
