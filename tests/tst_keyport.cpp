// The key port: names as configured, the port list, and a port that cannot be opened.
#include "keyer/keyport.h"
#include "mainwindow/session.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

using namespace vorta;

class TestKeyPort : public QObject
{
    Q_OBJECT
private slots:
    void configuredNamesMapToDevices()
    {
        QCOMPARE(portDevice(QStringLiteral("COM1")), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(portDevice(QStringLiteral("COM12")), QStringLiteral("/dev/ttyS11"));
        QCOMPARE(portDevice(QStringLiteral("ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(portDevice(QStringLiteral("/dev/ttyACM1")), QStringLiteral("/dev/ttyACM1"));
    }

    void lineTextNamesTheLine()
    {
        QCOMPARE(controlLineFromText(u"DTR (pin4)"), ControlLine::Dtr);
        QCOMPARE(controlLineFromText(u"RTS (pin7)"), ControlLine::Rts);
        QCOMPARE(controlLineFromText(u""), ControlLine::Rts);
    }

    void portListStartsWithNoneAndKeepsTheConfiguredPort()
    {
        const QStringList present{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")};
        QCOMPARE(portChoices(present, QStringLiteral("ttyUSB0")),
                 (QStringList{QStringLiteral("Ninguno"), QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")}));
        QCOMPARE(portChoices(present, QStringLiteral("COM3")).last(), QStringLiteral("COM3"));
        QCOMPARE(portChoices({}, QStringLiteral("Ninguno")), QStringList{QStringLiteral("Ninguno")});
    }

    void aPortThatCannotOpenIsReportedAndNothingBreaks()
    {
        test::TempHome home;
        test::Program program(home);
        auto &[state, dialogs, port, session] = program;
        session.openKeyPort(QStringLiteral("ttyVortaMissing9"));
        QVERIFY(!port.isOpen());
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].icon, Icon::Critical);
        QVERIFY(dialogs.shown[0].text.endsWith(QStringLiteral(": ttyVortaMissing9")));
        port.setLine(ControlLine::Dtr, true); // a closed port ignores the key
        session.openKeyPort(QStringLiteral("Ninguno"));
        QCOMPARE(dialogs.shown.size(), 1);
    }

    // Accepting the settings with the port unchanged leaves the open port alone: opening it
    // again raises both lines for a moment, which keys a transmitter wired to them.
    void anUnchangedPortIsNotOpenedAgain()
    {
        test::TempHome home;
        test::Program program(home);
        auto &[state, dialogs, port, session] = program;
        test::Pty pty;
        QVERIFY(!pty.path.isEmpty());
        // The port is reached through a link that then goes away: only opening it again fails.
        const QString link = home.path() + QStringLiteral("/ttyVorta0");
        QVERIFY(QFile::link(pty.path, link));
        Settings settings;
        settings.callSign = QStringLiteral("LU1ABC");
        settings.port = link;
        QVERIFY(session.saveConfiguration(settings));
        QVERIFY(port.isOpen());
        QVERIFY(QFile::remove(link));
        settings.callSign = QStringLiteral("LU9XYZ");
        QVERIFY(session.saveConfiguration(settings));
        QVERIFY(port.isOpen());
        QCOMPARE(port.portName(), link);
        QCOMPARE(dialogs.texts(), QStringList());

        // Another port is opened in its place.
        test::Pty other;
        settings.port = other.path;
        QVERIFY(session.saveConfiguration(settings));
        QVERIFY(port.isOpen());
        QCOMPARE(port.portName(), other.path);
        QCOMPARE(dialogs.texts(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestKeyPort)
#include "tst_keyport.moc"
