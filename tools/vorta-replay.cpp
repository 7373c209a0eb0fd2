// vorta-replay: plays a recorded satellite pass to Vorta as the tracker bridge would, for tests
// and demonstrations without a tracker.
//
//   vorta-replay [--port N] [--speed N] [--loop] PASSFILE
//
// PASSFILE holds one "<seconds>\t<TrackingData text>" per line (lines starting with "#" and
// empty lines are skipped). The server listens on 127.0.0.1 only and sends every text, ended by
// CR LF, to every connected client when its time comes (seconds from the first text, divided by
// the speed). The current text is sent again every second when nothing new came, as the real
// link does, and to each client as soon as it connects. At the end of the file the server says
// goodbye to its clients and ends, unless --loop starts the file over.
#include "common/textfile.h"
#include "tracking/trackingsource.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

struct Entry
{
    double seconds = 0;
    QByteArray line; // the text with its CR LF
};

// The entries of a pass file in time order; an error text when a line is not "<seconds>\t<text>".
std::optional<QList<Entry>> readPass(const QString &path, QString &error)
{
    const std::optional<QStringList> lines = vorta::readTextLines(path);
    if (!lines) {
        error = QStringLiteral("cannot read %1").arg(path);
        return std::nullopt;
    }
    QList<Entry> entries;
    for (qsizetype i = 0; i < lines->size(); ++i) {
        const QString &line = lines->at(i);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const double seconds = tab > 0 ? line.left(tab).trimmed().toDouble(&ok) : 0;
        if (!ok || seconds < 0) {
            error = QStringLiteral("%1:%2: expected <seconds><TAB><text>").arg(path).arg(i + 1);
            return std::nullopt;
        }
        entries.append({seconds, line.mid(tab + 1).toUtf8() + "\r\n"});
    }
    if (entries.isEmpty()) {
        error = QStringLiteral("%1 holds no texts").arg(path);
        return std::nullopt;
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.seconds < b.seconds; });
    return entries;
}

class Replay : public QObject
{
public:
    Replay(QList<Entry> entries, double speed, bool loop)
        : m_entries(std::move(entries)), m_speed(speed), m_loop(loop)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &Replay::acceptClients);
        m_next.setSingleShot(true);
        connect(&m_next, &QTimer::timeout, this, &Replay::playDue);
        m_keepAlive.setInterval(1000);
        connect(&m_keepAlive, &QTimer::timeout, this, [this] {
            if (!m_current.isEmpty() && m_sinceSend.elapsed() >= 900)
                broadcast(m_current);
        });
    }

    bool listen(quint16 port) { return m_server.listen(QHostAddress::LocalHost, port); }
    quint16 port() const { return m_server.serverPort(); }

    void start()
    {
        m_index = 0;
        m_clock.start();
        m_sinceSend.start();
        m_keepAlive.start();
        playDue();
    }

private:
    qint64 dueMs(const Entry &e) const
    {
        return qint64((e.seconds - m_entries.first().seconds) / m_speed * 1000.0);
    }

    void playDue()
    {
        while (m_index < m_entries.size() && dueMs(m_entries[m_index]) <= m_clock.elapsed()) {
            m_current = m_entries[m_index++].line;
            broadcast(m_current);
        }
        if (m_index < m_entries.size()) {
            m_next.start(int(std::max<qint64>(0, dueMs(m_entries[m_index]) - m_clock.elapsed())));
            return;
        }
        if (m_loop) {
            // The next round starts one sending interval after the last text.
            QTimer::singleShot(1000, this, [this] {
                m_index = 0;
                m_clock.restart();
                playDue();
            });
            return;
        }
        // Leave the last text on screen for a moment, then close.
        QTimer::singleShot(1000, this, &Replay::finish);
    }

    void broadcast(const QByteArray &line)
    {
        for (const QPointer<QTcpSocket> &client : std::as_const(m_clients))
            if (client)
                client->write(line);
        m_sinceSend.restart();
    }

    void acceptClients()
    {
        while (QTcpSocket *client = m_server.nextPendingConnection()) {
            std::fprintf(stderr, "client connected\n");
            m_clients.append(client);
            connect(client, &QTcpSocket::disconnected, this, [this, client] {
                m_clients.removeAll(client);
                client->deleteLater();
            });
            if (!m_current.isEmpty())
                client->write(m_current);
        }
    }

    void finish()
    {
        m_keepAlive.stop();
        m_server.close();
        std::fprintf(stderr, "end of the pass\n");
        for (const QPointer<QTcpSocket> &client : std::as_const(m_clients))
            if (client)
                client->disconnectFromHost(); // sends what is still queued first
        // Give the clients a moment to read the rest; then end in any case.
        QTimer::singleShot(500, qApp, &QCoreApplication::quit);
    }

    QList<Entry> m_entries;
    double m_speed;
    bool m_loop;
    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_clients;
    QTimer m_next, m_keepAlive;
    QElapsedTimer m_clock, m_sinceSend;
    qsizetype m_index = 0;
    QByteArray m_current;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorta-replay"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a recorded satellite pass to Vorta's tracking link on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("Port to listen on (0 picks a free one)."),
        QStringLiteral("port"), QString::number(vorta::kDefaultTrackingPort));
    const QCommandLineOption speedOption(QStringLiteral("speed"),
                                         QStringLiteral("Playing speed, 1 being real time."),
                                         QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption loopOption(QStringLiteral("loop"),
                                        QStringLiteral("Start the file over at its end."));
    parser.addOptions({portOption, speedOption, loopOption});
    parser.addPositionalArgument(QStringLiteral("passfile"),
                                 QStringLiteral("Lines of <seconds><TAB><TrackingData text>."));
    parser.process(app);

    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    bool speedOk = false;
    const double speed = parser.value(speedOption).toDouble(&speedOk);
    if (!portOk || port > 65535 || !speedOk || !(speed > 0)) {
        std::fprintf(stderr, "vorta-replay: --port takes 0 to 65535, --speed a number above 0\n");
        return 2;
    }

    QString error;
    std::optional<QList<Entry>> entries = readPass(parser.positionalArguments().first(), error);
    if (!entries) {
        std::fprintf(stderr, "vorta-replay: %s\n", qPrintable(error));
        return 2;
    }

    Replay replay(std::move(*entries), speed, parser.isSet(loopOption));
    if (!replay.listen(quint16(port))) {
        std::fprintf(stderr, "vorta-replay: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    std::printf("listening on 127.0.0.1:%u\n", unsigned(replay.port()));
    std::fflush(stdout);
    replay.start();
    return app.exec();
}
