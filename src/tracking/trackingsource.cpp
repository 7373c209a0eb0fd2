#include "tracking/trackingsource.h"

#include "common/textfile.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace vorta {

TcpTrackingSource::TcpTrackingSource(quint16 port, QObject *parent)
    : TrackingSource(parent), m_port(port), m_connectTimer(new QTimer(this)),
      m_retryTimer(new QTimer(this))
{
    m_connectTimer->setSingleShot(true);
    m_retryTimer->setSingleShot(true);
    // A tracker that neither accepts nor refuses is as good as not running.
    connect(m_connectTimer, &QTimer::timeout, this, [this] {
        if (m_socket)
            m_socket->abort(); // ends in onUnconnected()
    });
    connect(m_retryTimer, &QTimer::timeout, this, &TcpTrackingSource::connectSocket);
}

TcpTrackingSource::~TcpTrackingSource()
{
    m_state = State::Idle;
    dropSocket();
}

void TcpTrackingSource::setRetryPolicy(int firstDelayMs, int maxDelayMs, int maxAttempts)
{
    m_firstDelayMs = std::max(0, firstDelayMs);
    m_maxDelayMs = std::max(m_firstDelayMs, maxDelayMs);
    m_maxAttempts = std::max(0, maxAttempts);
}

void TcpTrackingSource::start()
{
    m_state = State::Idle;
    dropSocket();
    m_retryTimer->stop();
    m_state = State::Starting;
    // Connect from the event loop, so the outcome never reaches the caller inside start().
    m_retryTimer->start(0);
}

void TcpTrackingSource::keepTrying()
{
    if (m_state != State::Idle)
        return;
    m_attempts = 0;
    m_delayMs = 0;
    scheduleRetry();
}

void TcpTrackingSource::stop()
{
    m_state = State::Idle;
    m_retryTimer->stop();
    dropSocket();
}

void TcpTrackingSource::connectSocket()
{
    if (m_state != State::Starting && m_state != State::Waiting)
        return;
    if (m_state == State::Waiting)
        m_state = State::Reconnecting;
    dropSocket();
    m_buffer.clear();
    m_discarding = false;
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, &TcpTrackingSource::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpTrackingSource::onReadyRead);
    connect(m_socket, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState s) {
        if (s == QAbstractSocket::UnconnectedState)
            onUnconnected();
    });
    m_connectTimer->start(m_connectTimeoutMs);
    m_socket->connectToHost(QHostAddress(QHostAddress::LocalHost), m_port);
}

// Forgets the current socket without any of its signals reaching this source any more.
void TcpTrackingSource::dropSocket()
{
    m_connectTimer->stop();
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void TcpTrackingSource::onConnected()
{
    m_connectTimer->stop();
    const State before = m_state;
    m_state = State::Connected;
    m_attempts = 0;
    m_delayMs = 0;
    if (before == State::Starting)
        emit startFinished(StartOutcome::Connected);
    else if (before == State::Reconnecting)
        emit reconnected();
}

void TcpTrackingSource::onUnconnected()
{
    m_connectTimer->stop();
    switch (m_state) {
    case State::Idle:
    case State::Waiting:
        return;
    case State::Starting:
        m_state = State::Idle;
        dropSocket();
        emit startFinished(StartOutcome::NotRunning);
        return;
    case State::Connected:
        // Whole lines that came with the close are still the tracker's texts.
        onReadyRead();
        if (m_state != State::Connected)
            return; // a receiver of the last texts stopped or restarted the source
        dropSocket();
        m_attempts = 0;
        m_delayMs = 0;
        scheduleRetry();
        emit connectionClosed();
        return;
    case State::Reconnecting:
        dropSocket();
        scheduleRetry();
        return;
    }
}

void TcpTrackingSource::scheduleRetry()
{
    if (m_maxAttempts > 0 && m_attempts >= m_maxAttempts) {
        giveUp();
        return;
    }
    ++m_attempts;
    m_delayMs = m_delayMs == 0 ? m_firstDelayMs : std::min(m_delayMs * 2, m_maxDelayMs);
    m_state = State::Waiting;
    m_retryTimer->start(m_delayMs);
}

void TcpTrackingSource::giveUp()
{
    m_state = State::Idle;
    m_retryTimer->stop();
    dropSocket();
    emit gaveUp();
}

void TcpTrackingSource::onReadyRead()
{
    // Each text is handed on before the next is cut: a receiver may stop or restart the source
    // from its handler, and then the rest of this socket's data is no longer wanted.
    QTcpSocket *const socket = m_socket;
    if (!socket)
        return;
    m_buffer += socket->readAll();
    while (m_socket == socket && m_state == State::Connected) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end < 0) {
            if (m_buffer.size() > kMaxLineBytes) {
                m_buffer.clear();
                m_discarding = true;
            }
            return;
        }
        QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        if (m_discarding) {
            m_discarding = false;
            continue;
        }
        if (line.size() > kMaxLineBytes)
            continue;
        if (line.endsWith('\r'))
            line.chop(1);
        // An empty line is an empty text: the tracker has nothing to show, and says so.
        emit textReceived(decodeText(line));
    }
}

} // namespace vorta
