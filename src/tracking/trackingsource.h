// Where the tracking texts come from. The tracker publishes one "TrackingData" text after
// another; a TrackingSource delivers them in arrival order and reports whether Start link
// reached a tracker. TcpTrackingSource is the source of this platform: a client of a local
// TCP server (a bridge beside the tracker, or the replay tool) that sends one text per line.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;
class QTimer;

namespace vorta {

// The port the tracker bridge listens on unless the extra settings name another.
inline constexpr quint16 kDefaultTrackingPort = 47001;

class TrackingSource : public QObject
{
    Q_OBJECT
public:
    enum class StartOutcome { Connected, NotRunning };
    Q_ENUM(StartOutcome)

    using QObject::QObject;

    // Start link: (re)establishes the link. The outcome follows as startFinished(), never
    // from inside this call. A link already running is dropped and started afresh.
    virtual void start() = 0;
    // Ends the link; nothing more is delivered, and nothing counts as a dropped connection.
    virtual void stop() = 0;
    // True from start() until stop(), a failed start, or the source giving up.
    virtual bool isActive() const = 0;
    // After a failed start: tries again quietly, as after a drop, until stop() or start();
    // a link made then is announced by reconnected().
    virtual void keepTrying() = 0;
    // True when the texts come from a tracking program beside Vorta, which must be installed
    // and started by the operator; false for a source computed inside Vorta.
    virtual bool isExternal() const { return true; }

signals:
    void startFinished(vorta::TrackingSource::StartOutcome outcome);
    // One text as the tracker published it (without line end).
    void textReceived(const QString &text);
    // An established link dropped. The source may reconnect by itself (reconnected()).
    void connectionClosed();
    void reconnected();
    // The source stopped trying to reconnect after a drop; it is no longer active.
    void gaveUp();
};

// A client of 127.0.0.1:<port>. Each line (LF or CR LF ended; UTF-8, or Windows-1252 when not
// valid UTF-8) is one text, an empty line the empty text; a line left unfinished when the
// connection drops is dropped with it (it may be cut short). A refused or unanswered connection
// is the "not running" outcome. After a drop the source reconnects quietly, waiting a little
// longer after each failed attempt, for as long as it is started (or a set number of attempts).
// The server sends its current text again every few seconds even when nothing changed: the
// panel's watchdog takes 30 seconds without any text for a lost link.
class TcpTrackingSource : public TrackingSource
{
    Q_OBJECT
public:
    explicit TcpTrackingSource(quint16 port = kDefaultTrackingPort, QObject *parent = nullptr);
    ~TcpTrackingSource() override;

    void setPort(quint16 port) { m_port = port; }
    quint16 port() const { return m_port; }
    // Reconnection after a drop: the first wait, the longest wait (each failed attempt doubles
    // it), and the number of attempts before giving up (0: never, while started).
    void setRetryPolicy(int firstDelayMs, int maxDelayMs, int maxAttempts);
    // How long a connection attempt may take before it counts as failed.
    void setConnectTimeout(int ms) { m_connectTimeoutMs = ms; }

    void start() override;
    void stop() override;
    void keepTrying() override;
    bool isActive() const override { return m_state != State::Idle; }
    bool isConnected() const { return m_state == State::Connected; }

    // Longest line accepted; a longer one is discarded up to its line end.
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;

private:
    enum class State { Idle, Starting, Connected, Waiting, Reconnecting };

    void connectSocket();
    void dropSocket();
    void onConnected();
    void onUnconnected();
    void onReadyRead();
    void scheduleRetry();
    void giveUp();

    quint16 m_port;
    State m_state = State::Idle;
    QTcpSocket *m_socket = nullptr;
    QTimer *m_connectTimer;
    QTimer *m_retryTimer;
    QByteArray m_buffer;
    bool m_discarding = false;
    int m_firstDelayMs = 250;
    int m_maxDelayMs = 4000;
    // The link is retried quietly for as long as it is wanted: a tracker started late, or
    // restarted, is picked up again.
    int m_maxAttempts = 0;
    int m_connectTimeoutMs = 3000;
    int m_attempts = 0;
    int m_delayMs = 0;
};

} // namespace vorta
