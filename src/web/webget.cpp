#include "web/webget.h"

#include <QNetworkAccessManager>
#include <QUrl>

#include <utility>

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
    m_body.clear();
    m_reply = m_network->get(request);
    if (m_maxBytes > 0) {
        // Read as it arrives, so that an endless answer never holds more than the cap in
        // memory, here or in the reply's own buffer.
        m_reply->setReadBufferSize(m_maxBytes);
        connect(m_reply, &QNetworkReply::readyRead, this, [this] {
            if (m_reply && !take(*m_reply))
                m_reply->abort();
        });
    }
    connect(m_reply, &QNetworkReply::finished, this, &WebGet::replyFinished);
    m_deadline.start(m_timeout);
}

bool WebGet::take(QNetworkReply &reply)
{
    if (m_tooLarge)
        return false;
    m_body += reply.read(m_maxBytes > 0 ? m_maxBytes + 1 - m_body.size() : reply.bytesAvailable());
    if (m_maxBytes > 0 && m_body.size() > m_maxBytes) {
        m_body.truncate(m_maxBytes);
        m_tooLarge = true;
    }
    return !m_tooLarge;
}

void WebGet::replyFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    m_deadline.stop();
    reply->deleteLater();
    take(*reply);

    WebAnswer answer;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (m_timedOut) {
        answer.outcome = WebAnswer::Outcome::TimedOut;
    } else if (m_tooLarge) {
        answer.outcome = WebAnswer::Outcome::TooLarge;
        answer.body = std::exchange(m_body, {}); // the first maxBytes of it
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
        answer.body = std::exchange(m_body, {});
    }
    emit finished(answer);
}

} // namespace vorta
