// The TCP tracking source against a real local server: texts per line, quiet reconnection after
// a drop, giving up, and stop(). A refused connection ("not running") is tested with the window.
#include "tracking/trackingsource.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace vorta;

namespace {

// A listening server on 127.0.0.1 that remembers its clients.
struct Server
{
    QTcpServer server;
    QList<QPointer<QTcpSocket>> clients;

    Server()
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket *c = server.nextPendingConnection())
                clients << c;
        });
        if (!server.listen(QHostAddress::LocalHost, 0))
            qFatal("cannot listen on 127.0.0.1");
    }
    quint16 port() const { return server.serverPort(); }
    QTcpSocket *last() const { return clients.isEmpty() ? nullptr : clients.last().data(); }
    void send(const QByteArray &bytes)
    {
        last()->write(bytes);
        last()->flush();
    }
};

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toString();
    return out;
}

} // namespace

class TestTrackingSource : public QObject
{
    Q_OBJECT
private slots:
    void deliversOneTextPerLine()
    {
        Server server;
        TcpTrackingSource source(server.port());
        QSignalSpy started(&source, &TrackingSource::startFinished);
        QSignalSpy received(&source, &TrackingSource::textReceived);
        source.start();
        QCOMPARE(started.size(), 0); // the outcome never comes from inside start()
        QVERIFY(started.wait(5000));
        QCOMPARE(started.at(0).at(0).value<TrackingSource::StartOutcome>(),
                 TrackingSource::StartOutcome::Connected);
        QTRY_COMPARE(server.clients.size(), 1);

        // CR LF and LF line ends, a line split across writes, an empty line (the empty text)
        // between; Windows-1252 (not valid UTF-8) and UTF-8; then a line too long to be a text,
        // which is dropped.
        server.send("SNAO-91 AZ1 EL2 DN145960000\r\n\r\nSNAO-91 AZ2");
        server.send(" EL3\nSNOSCAR\xE1 AZ1 EL1\nSNOSCAR\xC3\xA1 AZ1 EL1\n\n");
        server.send(QByteArray(TcpTrackingSource::kMaxLineBytes + 10, 'x'));
        server.send(QByteArray(100, 'x') + "\nSNAO-7 AZ1 EL1\n");
        QTRY_COMPARE(received.size(), 7);
        QCOMPARE(texts(received), (QStringList{"SNAO-91 AZ1 EL2 DN145960000", "", "SNAO-91 AZ2 EL3",
                                               QStringLiteral("SNOSCARá AZ1 EL1"), QStringLiteral("SNOSCARá AZ1 EL1"),
                                               "", "SNAO-7 AZ1 EL1"}));
    }

    void reconnectsQuietlyAfterADrop()
    {
        Server server;
        TcpTrackingSource source(server.port());
        source.setRetryPolicy(10, 40, 50);
        QSignalSpy started(&source, &TrackingSource::startFinished);
        QSignalSpy received(&source, &TrackingSource::textReceived);
        QSignalSpy closed(&source, &TrackingSource::connectionClosed);
        QSignalSpy reconnected(&source, &TrackingSource::reconnected);
        source.start();
        QTRY_COMPARE(server.clients.size(), 1);

        // The last whole text sent before the close still arrives; a cut one does not.
        server.send("SNAO-91 AZ1 EL1\nSNAO-91 AZ");
        server.last()->disconnectFromHost();
        QVERIFY(closed.wait(5000));
        QCOMPARE(texts(received), QStringList{"SNAO-91 AZ1 EL1"});
        QVERIFY(source.isActive());

        QVERIFY(reconnected.wait(5000));
        QTRY_COMPARE(server.clients.size(), 2);
        server.send("SNAO-91 AZ5 EL1\n");
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(started.size(), 1); // reconnecting is no new Start link
    }

    void givesUpWhenTheServerIsGone()
    {
        auto server = std::make_unique<Server>();
        TcpTrackingSource source(server->port());
        source.setRetryPolicy(1, 4, 3);
        QSignalSpy gaveUp(&source, &TrackingSource::gaveUp);
        QSignalSpy closed(&source, &TrackingSource::connectionClosed);
        source.start();
        QTRY_COMPARE(server->clients.size(), 1);
        server.reset(); // the listener and its client go away
        QVERIFY(closed.wait(5000));
        QVERIFY(gaveUp.wait(5000));
        QVERIFY(!source.isActive());
    }

    void keepsTryingForATrackerStartedLater()
    {
        quint16 port = 0;
        {
            Server probe; // a free port, closed again: nobody answers there yet
            port = probe.port();
        }
        TcpTrackingSource source(port);
        source.setRetryPolicy(10, 40, 0);
        QSignalSpy started(&source, &TrackingSource::startFinished);
        QSignalSpy reconnected(&source, &TrackingSource::reconnected);
        source.start();
        QVERIFY(started.wait(5000));
        QCOMPARE(started.first().first().value<TrackingSource::StartOutcome>(), TrackingSource::StartOutcome::NotRunning);
        source.keepTrying();
        QTcpServer late;
        QVERIFY(late.listen(QHostAddress::LocalHost, port));
        QVERIFY(reconnected.wait(5000));
        QVERIFY(source.isActive());
        QCOMPARE(started.size(), 1);
    }

    void stopEndsTheLinkSilently()
    {
        Server server;
        TcpTrackingSource source(server.port());
        QSignalSpy started(&source, &TrackingSource::startFinished);
        QSignalSpy closed(&source, &TrackingSource::connectionClosed);
        source.start();
        QVERIFY(started.wait(5000));
        QTRY_COMPARE(server.clients.size(), 1);
        source.stop();
        QVERIFY(!source.isActive());
        QTRY_COMPARE(server.last()->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(closed.size(), 0);

        // Stopped before the connection is made: no outcome at all.
        source.start();
        source.stop();
        source.start(); // a restart counts once
        QVERIFY(started.wait(5000));
        QCOMPARE(started.size(), 2);
        QTRY_COMPARE(server.clients.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestTrackingSource)
#include "tst_trackingsource.moc"
