// Saving an entry: the checks in their fixed order with their messages, the satellite-mode
// question, the listening report, the manual date and time, and what reaches the log.
#include "common/appstate.h"
#include "config/languages.h"
#include "logdb/logdatabase.h"
#include "logdb/sqlite.h"
#include "mainwindow/qsoentry.h"
#include "testsupport.h"

#include <QTest>

using namespace vorta;

namespace {

struct Fixture
{
    Fixture() : state(home.folder())
    {
        ensureDefaultLog(home.folder());
        Settings s;
        s.callSign = QStringLiteral("LU1ABC");
        s.gridLocator = QStringLiteral("GF05TJ");
        s.basePath = home.folder().defaultLog();
        s.baseName = QStringLiteral("base1.mdb");
        state.setSettings(s);
    }
    bool stored() const { return newestQso(home.folder().defaultLog()).has_value(); }
    test::TempHome home;
    AppState state;
    test::ScriptedDialogs dialogs;
};

EntryForm goodForm()
{
    EntryForm f;
    f.station = QStringLiteral("LU2XYZ");
    f.satellite = QStringLiteral("so-50");
    f.orbit = QStringLiteral("12345");
    f.uplinkFreq = QStringLiteral("145.850");
    f.downlinkFreq = QStringLiteral("436.795");
    f.uplinkMode = QStringLiteral("FM");
    f.downlinkMode = QStringLiteral("FM");
    f.reportSent = QStringLiteral("59");
    f.reportReceived = QStringLiteral("57");
    return f;
}

} // namespace

class TestQsoEntry : public QObject
{
    Q_OBJECT
private slots:
    void emptyStationDoesNothingAtAll()
    {
        Fixture fx;
        EntryForm f = goodForm();
        f.station.clear();
        f.satellite.clear();
        QCOMPARE(saveEntry(f, fx.state, fx.dialogs).kind, SaveResult::Kind::Ignored);
        QVERIFY(fx.dialogs.shown.isEmpty());
        QVERIFY(!fx.stored());
    }

    void eachFailingCheckNamesItsFieldAndStoresNothing_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("listening");
        QTest::addColumn<int>("focus");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const char *what, const char *value, bool listening, EntryField focus,
                            const QString &message) {
            QTest::newRow(name) << QString::fromLatin1(what) << QString::fromUtf8(value) << listening << int(focus)
                                << message;
        };
        row("locator GF5", "locator", "GF5", false, EntryField::Locator,
            QStringLiteral("Error en Grid Locator!\r\nFormato es LLNNLL o LLNN"));
        row("locator off the grid", "locator", "ZZ99ZZ", false, EntryField::Locator,
            QStringLiteral("Error en Grid Locator!\r\nFormato es LLNNLL o LLNN"));
        row("no satellite", "satellite", "", false, EntryField::Satellite, QStringLiteral("Satellite Name is missing!"));
        row("no satellite, listening", "satellite", "", true, EntryField::Satellite,
            QStringLiteral("Satellite or Baloon Name is missing!"));
        row("downlink 0", "downlink", "0", false, EntryField::Downlink, QStringLiteral("Downlink Frequency is missing!"));
        row("downlink empty", "downlink", "", false, EntryField::Downlink,
            QStringLiteral("Downlink Frequency is missing!"));
        row("downlink 14", "downlink", "14", false, EntryField::Downlink,
            QStringLiteral("Downlink Frequency is missing 14MHz?"));
        row("uplink empty", "uplink", "", false, EntryField::Uplink, QStringLiteral("Uplink Frequency is missing!"));
        row("uplink 7,1", "uplink", "7,1", false, EntryField::Uplink,
            QStringLiteral("Uplink Frequency is missing 7,1MHz?"));
    }
    void eachFailingCheckNamesItsFieldAndStoresNothing()
    {
        QFETCH(QString, what);
        QFETCH(QString, value);
        QFETCH(bool, listening);
        QFETCH(int, focus);
        QFETCH(QString, message);
        Fixture fx;
        fx.state.setLanguage(Language::English);
        EntryForm f = goodForm();
        f.listening = listening;
        QString *field = what == QLatin1String("locator")     ? &f.locator
                         : what == QLatin1String("satellite") ? &f.satellite
                         : what == QLatin1String("downlink")  ? &f.downlinkFreq
                                                              : &f.uplinkFreq;
        *field = value;
        const SaveResult result = saveEntry(f, fx.state, fx.dialogs);
        QCOMPARE(result.kind, SaveResult::Kind::Refused);
        QCOMPARE(int(result.focus), focus);
        QCOMPARE(fx.dialogs.texts(), QStringList{message});
        QCOMPARE(fx.dialogs.shown[0].icon, Icon::Exclamation);
        QVERIFY(!fx.stored());
    }

    void checksRunInTheirOrder()
    {
        Fixture fx;
        EntryForm f = goodForm();
        f.locator = QStringLiteral("XX");
        f.satellite.clear();
        f.downlinkFreq.clear();
        QCOMPARE(saveEntry(f, fx.state, fx.dialogs).focus, EntryField::Locator);
        f.locator = QStringLiteral("GF05");
        QCOMPARE(saveEntry(f, fx.state, fx.dialogs).focus, EntryField::Satellite);
        f.satellite = QStringLiteral("AO-91");
        QCOMPARE(saveEntry(f, fx.state, fx.dialogs).focus, EntryField::Downlink);
        QCOMPARE(fx.dialogs.texts().last(), QStringLiteral("Falta Frecuencia de Bajada!"));
    }

    void notASatelliteModeAsksAndNoStoresNothing()
    {
        Fixture fx;
        EntryForm f = goodForm();
        f.uplinkFreq = QStringLiteral("145.9");
        f.downlinkFreq = QStringLiteral("146.5"); // both 2 m, fine: "Packet"
        fx.dialogs.answers = {};
        QCOMPARE(saveEntry(f, fx.state, fx.dialogs).kind, SaveResult::Kind::Stored);
        f.downlinkFreq = QStringLiteral("50.2");
        fx.dialogs.answers = {false};
        const SaveResult no = saveEntry(f, fx.state, fx.dialogs);
        QCOMPARE(no.kind, SaveResult::Kind::Refused);
        QCOMPARE(no.focus, EntryField::Downlink);
        QCOMPARE(fx.dialogs.shown.last().text,
                 QStringLiteral("Subida: 145.9 MHz\r\nBajada: 50.2 MHz\r\nNo es modo de Satélite! Loggea igual?"));
        QVERIFY(fx.dialogs.shown.last().question);
        QCOMPARE(newestQso(fx.home.folder().defaultLog())->frecD, QStringLiteral("146.500"));
        fx.dialogs.answers = {true};
        QCOMPARE(saveEntry(f, fx.state, fx.dialogs).kind, SaveResult::Kind::Stored);
        QCOMPARE(newestQso(fx.home.folder().defaultLog())->frecD, QStringLiteral("050.200"));
        QVERIFY(!fx.dialogs.unexpected);
    }

    void listeningReportNeedsNoUplinkNorQuestion()
    {
        Fixture fx;
        EntryForm f = goodForm();
        f.station.clear();
        f.uplinkFreq.clear();
        f.listening = true;
        QCOMPARE(saveEntry(f, fx.state, fx.dialogs).kind, SaveResult::Kind::Stored);
        QVERIFY(fx.dialogs.shown.isEmpty());
        const QsoRecord r = *newestQso(fx.home.folder().defaultLog());
        QCOMPARE(r.estacion, QStringLiteral("SWL"));
        QCOMPARE(r.frecU, QStringLiteral(" "));
    }

    void storedRowCarriesTheClockAndTheOwnStation()
    {
        Fixture fx;
        const QDateTime before = fx.state.utcNow();
        EntryForm f = goodForm();
        f.azimuth = QStringLiteral("254.6");
        f.elevation = QStringLiteral("12.3");
        const SaveResult result = saveEntry(f, fx.state, fx.dialogs);
        QCOMPARE(result.kind, SaveResult::Kind::Stored);
        const QsoRecord r = *newestQso(fx.home.folder().defaultLog());
        QCOMPARE(r.id, result.id);
        QCOMPARE(r.myCall, QStringLiteral("LU1ABC"));
        QCOMPARE(r.nombreLog, QStringLiteral("GF05TJ"));
        QCOMPARE(r.satelite, QStringLiteral("SO-50"));
        QCOMPARE(r.m2, QStringLiteral("254"));
        QCOMPARE(r.m3, QStringLiteral("12"));
        const QDateTime stored = QDateTime::fromString(r.fecha, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY(qAbs(stored.secsTo(QDateTime(before.date(), before.time()))) < 120);
        // The status line names the stored QSO as it went into the log.
        QCOMPARE(result.notice, QStringLiteral("QSO %1 guardado: LU2XYZ SO-50 %2").arg(r.id).arg(r.hora));
    }

    // The date and time typed are stored, and the status line names the QSO with them in the
    // interface language; a time still being typed when Enter is pressed is refused.
    void manualDateAndTimeAreStoredAsTyped()
    {
        Fixture fx;
        fx.state.setLanguage(Language::English);
        EntryForm f = goodForm();
        f.manualTime = true;
        f.manualDate = QStringLiteral("2/3/2021");
        f.manualTimeText = QStringLiteral("0915");
        const SaveResult qso = saveEntry(f, fx.state, fx.dialogs);
        QCOMPARE(qso.notice, QStringLiteral("QSO %1 saved: LU2XYZ SO-50 09:15").arg(qso.id));
        const QsoRecord r = *newestQso(fx.home.folder().defaultLog());
        QCOMPARE(r.fecha, QStringLiteral("2021-03-02 09:15:00"));
        QCOMPARE(r.hora, QStringLiteral("09:15"));
        f.station.clear();
        f.listening = true;
        const SaveResult swl = saveEntry(f, fx.state, fx.dialogs);
        QCOMPARE(swl.notice, QStringLiteral("QSO %1 saved: SWL SO-50 09:15").arg(swl.id));
        // Nothing stored, nothing to tell.
        QCOMPARE(saveEntry(EntryForm{}, fx.state, fx.dialogs).notice, QString());

        f.manualTimeText = QStringLiteral("915");
        const SaveResult bad = saveEntry(f, fx.state, fx.dialogs);
        QCOMPARE(bad.focus, EntryField::ManualTime);
        QCOMPARE(fx.dialogs.texts().last(), QStringLiteral("El formato de hora es hhmm")); // Spanish in every language
    }

    void manualFieldCorrections()
    {
        QCOMPARE(correctedManualDate(QStringLiteral("2/3/2021")), QStringLiteral("02/03/2021"));
        QVERIFY(!correctedManualDate(QStringLiteral("31/02/2021")));
        QVERIFY(!manualTimeOf(QStringLiteral("915")));  // 91:15
        QCOMPARE(manualTimeOf(QStringLiteral("2359")), QTime(23, 59));
        QCOMPARE(manualTimeOf(QStringLiteral("0000")), QTime(0, 0));
        QVERIFY(!manualTimeOf(QStringLiteral("2400")));
        QVERIFY(!manualTimeOf(QStringLiteral("1260")));
        // Fewer than four digits would have a digit read twice: 12 as 12:12, 123 as 12:23.
        for (const char *typed : {"", "1", "12", "123", "12?4", "12345"})
            QVERIFY2(!manualTimeOf(QString::fromLatin1(typed)), typed);
    }

    void pickedModeSetsTheReports()
    {
        QCOMPARE(reportForMode(QStringLiteral("CW-N")), QStringLiteral("599"));
        QCOMPARE(reportForMode(QStringLiteral("CW")), QStringLiteral("599"));
        QCOMPARE(reportForMode(QStringLiteral("USB")), QStringLiteral("59"));
    }

    void aLogThatCannotBeWrittenIsReported()
    {
        Fixture fx;
        fx.state.setCurrentLog({fx.home.path() + QStringLiteral("/gone.mdb"), QStringLiteral("gone.mdb")});
        const SaveResult result = saveEntry(goodForm(), fx.state, fx.dialogs);
        QCOMPARE(result.kind, SaveResult::Kind::Failed);
        QCOMPARE(fx.dialogs.shown.size(), 1);
        QCOMPARE(fx.dialogs.shown[0].icon, Icon::Critical);
        QVERIFY(fx.dialogs.shown[0].text.startsWith(QStringLiteral("No se pudo guardar el QSO")));
    }

    // A damaged log takes no QSO, also when it became current through the settings alone;
    // nothing is asked for a QSO that cannot be stored.
    void aDamagedLogTakesNoQso()
    {
        Fixture fx;
        const QString damaged = test::damagedLog(fx.home.folder(), QStringLiteral("old.mdb"), test::Damage::Truncated);
        const QByteArray bytes = test::readBytes(damaged);
        Settings s = fx.state.settings();
        s.basePath = damaged;
        s.baseName = QStringLiteral("old.mdb");
        fx.state.setSettings(s);
        EntryForm notASatelliteMode = goodForm();
        notASatelliteMode.downlinkFreq = QStringLiteral("28.5");
        QCOMPARE(saveEntry(notASatelliteMode, fx.state, fx.dialogs).kind, SaveResult::Kind::Failed);
        QCOMPARE(fx.dialogs.shown.size(), 1);
        QVERIFY(fx.dialogs.shown[0].text.startsWith(QStringLiteral("La Base de datos %1 está dañada:").arg(damaged)));
        QVERIFY(!fx.dialogs.unexpected);
        QCOMPARE(test::readBytes(damaged), bytes);
    }

    // A log found locked when it was chosen could not be looked at: while it stays locked it
    // takes no QSO, and once released it is looked at before the first one goes in.
    void aLogFoundLockedIsLookedAtBeforeItTakesAQso()
    {
        Fixture fx;
        const QString damaged = test::damagedLog(fx.home.folder(), QStringLiteral("old.mdb"), test::Damage::Garbled);
        const QByteArray bytes = test::readBytes(damaged);
        const QString locked = QStringLiteral("La Base de datos %1 está bloqueada por otro programa!\r\nSigue siendo "
                                              "la Base de datos actual; si un QSO no se puede guardar, intente de "
                                              "nuevo cuando la libere.");
        {
            db::Database other(damaged, db::Database::Mode::ReadWrite);
            other.exec("BEGIN EXCLUSIVE");
            fx.state.setCurrentLog(logAt(damaged));
            QCOMPARE(saveEntry(goodForm(), fx.state, fx.dialogs).kind, SaveResult::Kind::Failed);
            QCOMPARE(fx.dialogs.texts(), QStringList{locked.arg(damaged)});
            other.exec("ROLLBACK");
        }
        QCOMPARE(saveEntry(goodForm(), fx.state, fx.dialogs).kind, SaveResult::Kind::Failed);
        QCOMPARE(fx.dialogs.shown.size(), 2);
        QVERIFY(fx.dialogs.shown[1].text.startsWith(QStringLiteral("La Base de datos %1 está dañada:").arg(damaged)));
        QCOMPARE(test::readBytes(damaged), bytes);

        // A sound one takes the QSO once it is free.
        const QString sound = fx.home.folder().defaultLog();
        {
            db::Database other(sound, db::Database::Mode::ReadWrite);
            other.exec("BEGIN EXCLUSIVE");
            fx.state.setCurrentLog(logAt(sound));
            other.exec("ROLLBACK");
        }
        QCOMPARE(saveEntry(goodForm(), fx.state, fx.dialogs).kind, SaveResult::Kind::Stored);
        QVERIFY(fx.stored());
        QCOMPARE(fx.dialogs.shown.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestQsoEntry)
#include "tst_qsoentry.moc"
