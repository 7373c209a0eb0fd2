// The main window following a pass from a real tracking-data server on the loopback: the
// tracking panel, the entry fields it feeds, the compass and the satellite's orbit.
#include "common/appstate.h"
#include "common/textvalue.h"
#include "config/configfile.h"
#include "keyer/keyport.h"
#include "logdb/logdatabase.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/session.h"
#include "uisupport.h"
#include "tracking/compasswidget.h"
#include "tracking/trackingsource.h"
#include "tracking/trackingtext.h"
#include "tracking/trackingwidget.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <optional>

using namespace vorta;

namespace {

// A station whose tracker bridge listens (or will listen) on a local port, with the tracker
// installed and the tracking option set.
struct Tracker
{
    Tracker(const test::TempHome &home, quint16 port) : program(prepare(home, port), settings()) {}

    test::Program program;

    // The next connection the program makes to the server, waited for while events run.
    static QTcpSocket *accept(QTcpServer &server)
    {
        if (!QTest::qWaitFor([&server] { return server.hasPendingConnections(); }, 5000))
            return nullptr;
        return server.nextPendingConnection();
    }
    static TcpTrackingSource &source(MainWindow &window) { return *window.findChild<TcpTrackingSource *>(); }

private:
    static const test::TempHome &prepare(const test::TempHome &home, quint16 port)
    {
        const QString orbitron = home.path() + QStringLiteral("/Orbitron");
        test::writeBytes(orbitron + QStringLiteral("/Config/Setup.cfg"), "");
        test::writeBytes(home.folder().settingsFile(), "PuertoSeguimiento=" + QByteArray::number(port)
                                                           + "\r\nCarpetaOrbitron=" + orbitron.toUtf8() + "\r\n");
        return home;
    }
    static Settings settings()
    {
        Settings s = test::stationSettings();
        s.useOrbitron = true;
        return s;
    }
};

// The program running with its tracker bridge on a local server, linked from the start.
struct Linked
{
    test::TempHome home;
    QTcpServer server;
    std::optional<Tracker> tracker;
    std::optional<MainWindow> window;
    QTcpSocket *link = nullptr;

    // False when the server cannot listen or the program never connects to it.
    bool start()
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        tracker.emplace(home, server.serverPort());
        window.emplace(tracker->program.session);
        window->show();
        link = Tracker::accept(server);
        return link;
    }
    QLineEdit *entryField(const QString &caption) { return test::captionedEdit(window->entry(), caption); }
};

const QByteArray kAo91 = "SNAO-91 AZ123.4 EL10.5 DN145960000 UP435250000 DMFM UMFM\r\n";
const QByteArray kSo50 = "SNSO-50 AZ200.0 EL5.0 DN436795000 UP145850000 DMFM UMFM\r\n";

} // namespace


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
        // ...and when the Doppler moves the frequency: the field is the operator's now, while the
        // uplink, untouched, follows the tracker.
        tracker->write("SNAO-91_(FOX-1B) AZ130.0 EL12.0 DN145961000 UP435249000 DMfm UMFM\r\n");
        QTRY_COMPARE(test::captionedEdit(entry, QStringLiteral("Subida"))->text(), QStringLiteral("435.249.000"));
        QCOMPARE(downlink->text(), QStringLiteral("145.955"));
        QCOMPARE(window.tracking().fields().downlinkMode, QStringLiteral("fm"));
        // Another satellite gives the field back to the tracker.
        tracker->write("SNSO-50 AZ200.0 EL5.0 DN436795000 UP145850000 DMFM UMFM\r\n");
        QTRY_COMPARE(downlink->text(), QStringLiteral("436.795.000"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // The link moving on to another satellite while the operator's cursor rests in a field it
    // fills: the field is left alone until the cursor leaves it, and a QSO saved from there has
    // the new satellite's values all the same. A mode the two satellites share is the field's
    // again after one the operator typed for the first.
    void anotherSatelliteUnderTheCursor()
    {
        Linked l;
        QVERIFY(l.start());
        QVERIFY(QTest::qWaitForWindowActive(&*l.window));
        const AppState &state = l.tracker->program.state;
        QTRY_VERIFY(!state.currentLog().path.isEmpty());
        QLineEdit *satellite = l.entryField(QStringLiteral("Satélite:"));
        QLineEdit *downlink = l.entryField(QStringLiteral("Bajada"));
        QLineEdit *station = l.entryField(QStringLiteral("Estación:"));
        QComboBox *mode = nullptr;
        for (QComboBox *combo : l.window->entry().findChildren<QComboBox *>())
            if (combo->accessibleName() == QStringLiteral("Modo de bajada"))
                mode = combo;
        QVERIFY(mode);
        l.link->write(kAo91);
        QTRY_COMPARE(satellite->text(), QStringLiteral("AO-91"));
        mode->setFocus();
        mode->lineEdit()->selectAll();
        QTest::keyClicks(mode, QStringLiteral("USB"));
        satellite->setFocus(); // looked at, nothing typed

        l.link->write(kSo50);
        QTRY_COMPARE(downlink->text(), QStringLiteral("436.795.000"));
        QCOMPARE(satellite->text(), QStringLiteral("AO-91"));
        QCOMPARE(mode->currentText(), QStringLiteral("FM"));
        station->setFocus();
        QCOMPARE(satellite->text(), QStringLiteral("SO-50"));
        QTest::keyClicks(station, QStringLiteral("LU2XYZ"));

        downlink->setFocus();
        l.link->write(kAo91);
        QTRY_COMPARE(satellite->text(), QStringLiteral("AO-91"));
        QCOMPARE(downlink->text(), QStringLiteral("436.795.000"));
        QTest::keyClick(downlink, Qt::Key_Return); // saves from any field
        const QsoRecord saved = *newestQso(state.currentLog().path);
        QCOMPARE(saved.estacion, QStringLiteral("LU2XYZ"));
        QCOMPARE(saved.satelite, QStringLiteral("AO-91"));
        QCOMPARE(numericValue(saved.frecD), 145.960);
        QCOMPARE(saved.modoD, QStringLiteral("FM"));

        // Another satellite whose text carries no frequencies or modes: what the list filled in
        // stays, and nothing of the satellite before comes back.
        QComboBox *choices = nullptr;
        for (QComboBox *combo : l.window->entry().findChildren<QComboBox *>())
            if (combo->accessibleName() == QStringLiteral("Lista ..."))
                choices = combo;
        QVERIFY(choices);
        emit choices->textActivated(QStringLiteral("RS-44"));
        QCOMPARE(downlink->text(), QStringLiteral("435.640"));
        l.link->write("SNRS-44 AZ100.0 EL5.0\r\n");
        QTRY_COMPARE(l.window->tracking().fields().satellite, QStringLiteral("RS-44"));
        QCOMPARE(downlink->text(), QStringLiteral("435.640"));
        QCOMPARE(mode->currentText(), QStringLiteral("USB"));
        QVERIFY(l.tracker->program.dialogs.shown.isEmpty());
    }

    // The link ends with the box, whichever way it is cleared, and the entry panel takes
    // tracking values only while the box is ticked.
    void clearingTheBoxEndsTheLink()
    {
        Linked linked;
        QVERIFY(linked.start());
        MainWindow &window = *linked.window;
        QLineEdit *downlink = linked.entryField(QStringLiteral("Bajada"));
        linked.link->write(kAo91);
        QTRY_COMPARE(downlink->text(), QStringLiteral("145.960.000"));

        // A screen reader's Toggle action clears the box as a click does: the tracker sees the
        // link closed, the panel goes, and a downlink typed afterwards stays.
        QCheckBox &box = window.useOrbitronBox();
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&box);
        QVERIFY(accessible && accessible->actionInterface());
        accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(!box.isChecked());
        QVERIFY(window.trackingPanel().isHidden());
        QVERIFY(!Tracker::source(window).isActive());
        QTRY_COMPARE(linked.link->state(), QAbstractSocket::UnconnectedState);
        downlink->setText(QStringLiteral("145.955"));
        QVERIFY(!window.tracking().watchdogTick());
        QCOMPARE(downlink->text(), QStringLiteral("145.955"));
        QVERIFY(linked.tracker->program.dialogs.shown.isEmpty());

        // Ticked again by the same action, the link is made afresh and the tracker's values,
        // the unchanged downlink too, fill the entry panel again.
        accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(box.isChecked());
        QVERIFY(!window.trackingPanel().isHidden());
        QTcpSocket *link = Tracker::accept(linked.server);
        QVERIFY(link);
        link->write(kAo91);
        QTRY_COMPARE(downlink->text(), QStringLiteral("145.960.000"));
    }

    void lostContactEndsTheLinkAndEmptiesWhatItFilled()
    {
        Linked linked;
        QVERIFY(linked.start());
        MainWindow &window = *linked.window;
        linked.link->write(kAo91);
        QLineEdit *satellite = linked.entryField(QStringLiteral("Satélite:"));
        QTRY_COMPARE(satellite->text(), QStringLiteral("AO-91"));

        // The tracker goes away: the source reconnects quietly until the watchdog calls the
        // contact lost; then the link ends, and what it filled in is emptied.
        QSignalSpy closed(&Tracker::source(window), &TrackingSource::connectionClosed);
        linked.link->disconnectFromHost();
        QVERIFY(closed.wait(5000));
        QVERIFY(Tracker::source(window).isActive());
        QVERIFY(window.tracking().watchdogTick());
        QCOMPARE(linked.tracker->program.dialogs.texts(), QStringList{QStringLiteral("Se perdió contacto con Orbitron!")});
        QVERIFY(!window.useOrbitronBox().isChecked());
        QVERIFY(window.trackingPanel().isHidden());
        QVERIFY(!Tracker::source(window).isActive());
        QCOMPARE(satellite->text(), QString());
        QCOMPARE(linked.entryField(QStringLiteral("Bajada"))->text(), QString());
    }

    void aTrackerStartedLaterIsPickedUp()
    {
        test::TempHome home;
        QTcpServer probe; // a port nobody listens on yet
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        probe.close();
        Tracker tracker(home, port);
        MainWindow window(tracker.program.session);
        window.show();
        QTRY_COMPARE(tracker.program.dialogs.texts(), QStringList{QStringLiteral("No se está ejecutando Orbitrón!")});
        QVERIFY(window.useOrbitronBox().isChecked());
        QVERIFY(Tracker::source(window).isActive());

        QTcpServer late;
        QVERIFY(late.listen(QHostAddress::LocalHost, port));
        QTcpSocket *link = Tracker::accept(late);
        QVERIFY(link);
        link->write(kAo91);
        QTRY_COMPARE(test::captionedEdit(window.entry(), QStringLiteral("Bajada"))->text(),
                     QStringLiteral("145.960.000"));
        QVERIFY(window.tracking().badge().shown);

        // The empty text empties the panel and hides the badge.
        link->write("\r\n");
        QTRY_COMPARE(window.tracking().fields(), TrackingFields{});
        QVERIFY(!window.tracking().badge().shown);
    }

    void hostileAntennaValuesAreNotStored()
    {
        Linked linked;
        QVERIFY(linked.start());
        test::Program &program = linked.tracker->program;
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        QLineEdit *station = linked.entryField(QStringLiteral("Estación:"));
        // Azimuth, elevation, and what the log keeps of them.
        const QList<std::tuple<QByteArray, QByteArray, QString, QString>> cases = {
            {"inf", "1e308", "", ""},
            {"-45", QByteArray(400, '9'), "", ""},
            {"nan", "-45", "", "-45"},
            {"254.6", "-3.2", "254", ""},
        };
        for (const auto &[azimuth, elevation, m2, m3] : cases) {
            linked.link->write("SNAO-91 AZ" + azimuth + " EL" + elevation + " DN145960000 UP435250000 DMFM UMFM\r\n");
            QTRY_COMPARE(linked.window->tracking().fields().elevation, QString::fromLatin1(elevation));
            QTest::keyClicks(station, QStringLiteral("LU2XYZ"));
            QTest::keyClick(station, Qt::Key_Return);
            const QsoRecord r = *newestQso(linked.home.folder().defaultLog());
            QCOMPARE(r.m2, m2);
            QCOMPARE(r.m3, m3);
        }
        QCOMPARE(program.dialogs.shown.size(), 0);
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
