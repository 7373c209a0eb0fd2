// The main window following a pass from a real tracking-data server on the loopback: the
// tracking panel, the entry fields it feeds, the compass and the satellite's orbit.
#include "common/appstate.h"
#include "config/configfile.h"
#include "keyer/keyport.h"
#include "logdb/logdatabase.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/session.h"
#include "uisupport.h"
#include "tracking/compasswidget.h"
#include "tracking/trackingtext.h"
#include "tracking/trackingwidget.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace vorta;


class TestTracking : public QObject
{
    Q_OBJECT
private slots:
    void entryFieldsFollowThePass()
    {
        test::TempHome home;
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        // The tracker's installation: its marker and one element set.
        const QString orbitron = home.path() + QStringLiteral("/Orbitron");
        test::writeBytes(orbitron + QStringLiteral("/Config/Setup.cfg"), "");
        test::writeBytes(orbitron + QStringLiteral("/Tle/amateur.txt"),
                         "AO-91 (FOX-1B)\r\n"
                         "1 43017U 17073E   23031.50000000  .00000000  00000-0  00000-0 0  9990\r\n"
                         "2 43017  97.6000 100.0000 0020000 100.0000 260.0000 15.00000000 01000\r\n");
        test::writeBytes(home.folder().settingsFile(), "PuertoSeguimiento=" + QByteArray::number(server.serverPort())
                                                           + "\r\nCarpetaOrbitron=" + orbitron.toUtf8() + "\r\n");
        Settings settings = test::stationSettings();
        settings.useOrbitron = true;
        test::Program program(home, settings);
        test::ScriptedDialogs &dialogs = program.dialogs;
        MainWindow window(program.session);
        window.show();
        QVERIFY(window.useOrbitronBox().isChecked());
        QVERIFY(!window.trackingPanel().isHidden());
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *tracker = server.nextPendingConnection();
        EntryWidget &entry = window.entry();
        QLineEdit *downlink = test::captionedEdit(entry, QStringLiteral("Bajada"));

        tracker->write("SNAO-91_(FOX-1B) AZ123.4 EL10.5 DN145960000 UP435250000 DMFM UMFM\r\n");
        QTRY_COMPARE(test::captionedEdit(entry, QStringLiteral("Satélite:"))->text(), QStringLiteral("FOX-1B"));
        QCOMPARE(downlink->text(), QStringLiteral("145.960.000"));
        QCOMPARE(test::captionedEdit(entry, QStringLiteral("Subida"))->text(), QStringLiteral("435.250.000"));
        QCOMPARE(entry.satModeText(), QStringLiteral("SAT B"));
        QCOMPARE(window.trackingPanel().compassText(), QStringLiteral("ESEste"));
        QCOMPARE(window.trackingPanel().compass().azimuth(), 123.4);
        // The orbit comes from the element set the tracked name matches.
        QVERIFY(!entry.orbit().isEmpty());

        // A downlink typed by hand stays while the tracker repeats itself...
        downlink->setText(QStringLiteral("145.955"));
        tracker->write("SNAO-91_(FOX-1B) AZ123.4 EL10.6 DN145960000 UP435250000 DMFM UMFM\r\n");
        QTRY_COMPARE(window.tracking().fields().elevation, QStringLiteral("10.6"));
        QCOMPARE(downlink->text(), QStringLiteral("145.955"));
        // ...and follows it again when the Doppler moves the frequency.
        tracker->write("SNAO-91_(FOX-1B) AZ130.0 EL12.0 DN145961000 UP435249000 DMfm UMFM\r\n");
        QTRY_COMPARE(downlink->text(), QStringLiteral("145.961.000"));
        QCOMPARE(window.tracking().fields().downlinkMode, QStringLiteral("fm"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    void aComputedOrbitFollowsTheClockUntilTypedOver()
    {
        test::TempHome home;
        const QString orbitron = home.path() + QStringLiteral("/Orbitron");
        test::writeBytes(orbitron + QStringLiteral("/Config/Setup.cfg"), "");
        const auto elements = [](const char *revolution) {
            return QStringList{QStringLiteral("AO-91 (FOX-1B)"),
                               QStringLiteral("1 43017U 17073E   23031.50000000  .00000000  00000-0  00000-0 0  9990"),
                               QStringLiteral("2 43017  97.6000 100.0000 0020000 100.0000 260.0000 15.00000000")
                                   + QString::fromLatin1(revolution)};
        };
        test::writeBytes(orbitron + QStringLiteral("/Tle/amateur.txt"), elements("01000").join(u'\n').toUtf8());
        test::writeBytes(home.folder().settingsFile(), "CarpetaOrbitron=" + orbitron.toUtf8() + "\r\n");
        test::Program program(home, test::stationSettings());
        MainWindow window(program.session);
        window.show();
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        EntryWidget &entry = window.entry();
        QTest::keyClicks(test::captionedEdit(entry, QStringLiteral("Satélite:")), QStringLiteral("AO-91"));
        const qint64 first = entry.orbit().toLongLong();
        QVERIFY(first > 1000);
        test::captionedEdit(entry, QStringLiteral("Subida"))->setText(QStringLiteral("435.250"));
        test::captionedEdit(entry, QStringLiteral("Bajada"))->setText(QStringLiteral("145.960"));

        // Later in the pass (here: a thousand revolutions on), the save computes it again...
        program.state.elements().read(elements("02000"));
        QLineEdit *station = test::captionedEdit(entry, QStringLiteral("Estación:"));
        QTest::keyClicks(station, QStringLiteral("LU2XYZ"));
        QTest::keyClick(station, Qt::Key_Return);
        QCOMPARE(newestQso(home.folder().defaultLog())->orbita, QString::number(first + 1000));
        // ...but an orbit the operator typed is stored as typed.
        QLineEdit *orbit = test::captionedEdit(entry, QStringLiteral("Orbita:"));
        orbit->setText(QStringLiteral("77"));
        QTest::keyClicks(station, QStringLiteral("CE3ABC"));
        QTest::keyClick(station, Qt::Key_Return);
        QCOMPARE(newestQso(home.folder().defaultLog())->orbita, QStringLiteral("77"));
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void tickingWithoutATrackerSaysItIsNotRunning()
    {
        test::TempHome home;
        QTcpServer probe; // a port nobody listens on
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        probe.close();
        const QString orbitron = home.path() + QStringLiteral("/Orbitron");
        test::writeBytes(orbitron + QStringLiteral("/Config/Setup.cfg"), "");
        test::writeBytes(home.folder().settingsFile(), "PuertoSeguimiento=" + QByteArray::number(port)
                                                           + "\r\nCarpetaOrbitron=" + orbitron.toUtf8() + "\r\n");
        Settings settings = test::stationSettings();
        settings.language = QStringLiteral("English");
        test::Program program(home, settings);
        test::ScriptedDialogs &dialogs = program.dialogs;
        MainWindow window(program.session);
        window.show();
        QVERIFY(window.trackingPanel().isHidden());
        window.useOrbitronBox().click();
        QTRY_COMPARE(dialogs.texts(),
                     QStringList{QStringLiteral("Orbitron is not running!\r\nplease run it and try again ...")});
        QVERIFY(!window.useOrbitronBox().isChecked());
        QVERIFY(window.trackingPanel().isHidden());
    }
};

QTEST_MAIN(TestTracking)
#include "tst_ui_tracking.moc"
