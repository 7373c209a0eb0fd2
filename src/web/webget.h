// One HTTP GET of a small file with a deadline, its outcome sorted the way the operator is told
// about it: the body, no answer in time, an answer too large, an error page of the server, or a
// failure of the network.
#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QNetworkAccessManager;

namespace vorta {

struct WebAnswer
{
    enum class Outcome {
        Body,         // body holds the whole file
        TimedOut,     // no complete answer before the deadline
        TooLarge,     // more than the largest answer wanted
        HttpError,    // the server answered with a status of 400 or more
        NetworkError, // the connection failed (error, errorText)
    };
    Outcome outcome = Outcome::Body;
    int httpStatus = 0;
    QString httpReason;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QString errorText;
    QByteArray body; // the whole file; for TooLarge, its first maxBytes
};

class WebGet : public QObject
{
    Q_OBJECT
public:
    // maxBytes: the largest answer taken (0: any).
    explicit WebGet(std::chrono::milliseconds timeout, qint64 maxBytes = 0, QObject *parent = nullptr);
    ~WebGet() override;

    // Asks for the file at address, as published now (no cached copy); the answer follows as
    // finished(). Ignored while a request runs.
    void start(const QString &address);
    bool running() const { return m_reply != nullptr; }

signals:
    void finished(const vorta::WebAnswer &answer);

private:
    // Adds what the reply holds to the body, up to the cap; false once the cap is passed.
    bool take(QNetworkReply &reply);
    void replyFinished();

    std::chrono::milliseconds m_timeout;
    qint64 m_maxBytes;
    QNetworkAccessManager *m_network;
    QNetworkReply *m_reply = nullptr;
    QTimer m_deadline;
    QByteArray m_body; // what arrived so far
    bool m_timedOut = false;
    bool m_tooLarge = false;
};

} // namespace vorta
