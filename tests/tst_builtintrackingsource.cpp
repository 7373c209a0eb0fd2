// The built-in tracker as the tracking panel's source: its texts reach the panel through the
// path of the tracking link, with what it cannot compute said without emptying the entry panel,
// without the notices meant for a tracking program beside Vorta and without tripping the
// watchdog; the operator's choice; the sky panel's texts; the tracking choice in the extra
// settings; the passes table.
#include "common/textvalue.h"
#include "config/extrasettings.h"
#include "tracking/builtintrackingsource.h"
#include "tracking/passtable.h"
#include "tracking/trackingtext.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTest>

#include <cmath>

using namespace vorta;

namespace {

const QList<SatelliteEntry> kList = {{"AO-91", "435.250", "145.960", "FM", "FM"},
                                     {"SO-50", "145.850", "436.795", "FM", "FM"},
                                     {"ISS", "145.990", "437.800", "FM", "FM"},
                                     {"XW-2A", "435.040", "145.665", "USB", "LSB"}};

// A source with the sample sets, a station and a clock the test moves.
struct Tracked
{
    QList<OrbitalElements> sets = readOrbitalElements(test::elementFileLines());
    double utc = sets[0].epoch;
    BuiltInTrackingSource source;
    test::ScriptedDialogs dialogs;
    TrackingPanelState panel{dialogs};

    Tracked()
    {
        source.setClock([this] { return utc; });
        source.setLocator(u"GF05TE");
        source.setElements(sets);
        source.setSatellites(kList);
        panel.setModeLists({"FM", "USB", "LSB", "CW"}, {"FM", "USB", "LSB", "CW"});
        panel.attachSource(&source);
    }
    // A moment at which the satellite is up, from its first pass.
    double duringPass(const QString &name)
    {
        for (const ListedPass &p : source.passList())
            if (p.satellite == name && p.pass.rises && p.pass.sets)
                return (p.pass.aos + p.pass.maxTime) / 2;
        return 0;
    }
};

Pass pass(double aos, double los, bool rises = true, bool sets = true)
{
    Pass p;
    p.aos = aos;
    p.los = los;
    p.rises = rises;
    p.sets = sets;
    p.maxElevation = 44.6;
    return p;
}

} // namespace

class TestBuiltInTrackingSource : public QObject
{
    Q_OBJECT
private slots:
    // Start link succeeds from the event loop, never from inside start(); then a text a second
    // fills the panel, with nothing asked of the operator even though no tracking program is
    // installed.
    void startsAndFeedsThePanel()
    {
        Tracked t;
        QSignalSpy started(&t.source, &TrackingSource::startFinished);
        QSignalSpy texts(&t.source, &TrackingSource::textReceived);
        t.utc = t.duringPass(QStringLiteral("AO-91"));
        QVERIFY(t.utc > 0);
        t.source.setChoice(QStringLiteral("AO-91"));
        t.panel.setUseOrbitron(true); // not installed: the box is refused only for a tracking program
        QVERIFY(t.panel.checkBoxEnabled());
        QCOMPARE(started.size(), 0);
        QVERIFY(started.wait(1000));
        QCOMPARE(started.first().first().value<TrackingSource::StartOutcome>(), TrackingSource::StartOutcome::Connected);
        QCOMPARE(texts.size(), 1);
        QCOMPARE(t.panel.fields().satellite, QStringLiteral("AO-91"));
        QVERIFY(t.panel.badge().caption == QStringLiteral("VISIBLE"));
        QVERIFY(std::fabs(numericValue(t.panel.fields().downlink) - 145.960) < 0.004);
        QVERIFY(texts.wait(2000)); // the next second
        // The clock ticks without the notice that asks to start a tracking program.
        t.panel.clockTick();
        QVERIFY(t.dialogs.shown.isEmpty());
        QVERIFY(!t.panel.watchdogTick());
        t.panel.setUseOrbitron(false);
        QVERIFY(!t.source.isActive());
        const qsizetype delivered = texts.size();
        t.source.tickNow(); // a tick still due does nothing once stopped
        QCOMPARE(texts.size(), delivered);
    }

    // A satellite the tracker cannot compute keeps its name and the entry panel's frequencies:
    // azimuth, elevation, modes and the badge go, and the watchdog, fed every second, stays
    // quiet.
    void whatCannotBeComputed()
    {
        Tracked t;
        t.utc = t.duringPass(QStringLiteral("AO-91"));
        t.source.setChoice(QStringLiteral("AO-91"));
        t.panel.startUp(true);
        QTRY_COMPARE(t.panel.fields().satellite, QStringLiteral("AO-91"));
        const QString downlink = t.panel.fields().downlink;
        QSignalSpy downlinks(&t.panel, &TrackingPanelState::downlinkChanged);
        QSignalSpy names(&t.panel, &TrackingPanelState::satelliteChanged);

        t.source.setChoice(QStringLiteral("XW-2A")); // in the list, but without an element set
        QTRY_COMPARE(t.panel.fields().satellite, QStringLiteral("XW-2A"));
        QCOMPARE(t.source.lastTick().status, BuiltInTracker::Status::NoElements);
        QCOMPARE(t.panel.fields().azimuth, QString());
        QCOMPARE(t.panel.fields().elevation, QString());
        QCOMPARE(t.panel.fields().downlinkMode, QString());
        QCOMPARE(t.panel.fields().downlink, downlink);
        QVERIFY(downlinks.isEmpty());
        QVERIFY(!t.panel.badge().shown);
        QVERIFY(!t.panel.watchdogTick());
        t.source.tickNow();
        QVERIFY(!t.panel.watchdogTick());
        QCOMPARE(names.size(), 1);
        QCOMPARE(trackerProblem(t.source.lastTick(), true, Language::English),
                 QStringLiteral("No orbital elements for XW-2A."));

        // Letting the choice go sends no name first, so that the next to rise is passed on even
        // when it is the satellite just let go of.
        t.source.setChoice(QStringLiteral("AO-91"));
        QTRY_COMPARE(t.panel.fields().satellite, QStringLiteral("AO-91"));
        names.clear();
        t.source.setChoice(QString());
        QTRY_VERIFY(names.size() >= 2);
        QCOMPARE(names.first().first().toString(), QString());
        QCOMPARE(names.last().first().toString(), t.source.lastTick().satellite);
        QVERIFY(!t.source.lastTick().satellite.isEmpty());

        // No station: nothing to compute, and the panel says why rather than falling silent.
        t.source.setLocator(u"");
        QTRY_COMPARE(t.source.lastTick().status, BuiltInTracker::Status::NoStation);
        QCOMPARE(t.panel.fields().azimuth, QString());
        QCOMPARE(trackerProblem(t.source.lastTick(), true, Language::Spanish),
                 QStringLiteral("Indique su Grid Locator en la configuración para calcular los pasos."));
        QVERIFY(t.dialogs.shown.isEmpty());
    }

    // The panel's texts read back by its own parser: a name-only text keeps the frequencies.
    void panelTexts()
    {
        BuiltInTracker::Tick tick;
        tick.status = BuiltInTracker::Status::NoOrbit;
        tick.satellite = QStringLiteral("QO 100");
        const TrackingText parsed = parseTrackingText(panelText(tick));
        QVERIFY(parsed.hasTokens && !parsed.hasElevation);
        QCOMPARE(parsed.satellite, QStringLiteral("QO_100"));
        QVERIFY(!parsed.downlink && !parsed.uplink);
        const TrackingText nothing = parseTrackingText(panelText({}));
        QVERIFY(nothing.hasTokens);
        QCOMPARE(nothing.satellite, QString());
        QCOMPARE(trackerProblem({}, false, Language::Portuguese),
                 QStringLiteral("Não há elementos orbitais: use Rastreamento > Atualizar elementos orbitais."));
    }

    // A tracking program's box refused for want of its installation is given back when the
    // built-in tracker takes over, which then starts at once.
    void switchingSourcesEnablesTheBox()
    {
        Tracked t;
        TcpTrackingSource link(1);
        t.panel.attachSource(&link);
        t.panel.setUseOrbitron(true);
        QVERIFY(!t.panel.checkBoxEnabled());
        QCOMPARE(t.dialogs.texts(), QStringList{QStringLiteral("No está instalado Orbitron!")});
        QSignalSpy enabled(&t.panel, &TrackingPanelState::checkBoxReenabled);
        t.utc = t.duringPass(QStringLiteral("SO-50"));
        t.panel.switchSource(&t.source);
        QCOMPARE(enabled.size(), 1);
        QVERIFY(t.panel.checkBoxEnabled() && t.panel.useOrbitron() && t.panel.panelVisible());
        QVERIFY(t.source.isActive());
        QTRY_VERIFY(!t.panel.fields().satellite.isEmpty());
        // Back to the link: the built-in tracker stops and its values are forgotten.
        t.panel.switchSource(&link);
        QVERIFY(!t.source.isActive());
        QCOMPARE(t.panel.fields(), TrackingFields{});
        link.stop();
    }

    void countdowns()
    {
        QCOMPARE(countdownText(0), QStringLiteral("00:00"));
        QCOMPARE(countdownText(-5), QStringLiteral("00:00"));
        QCOMPARE(countdownText(59.2), QStringLiteral("01:00")); // counted up: 00:00 only at the moment
        QCOMPARE(countdownText(3599.5), QStringLiteral("1:00:00"));
        QCOMPARE(countdownText(7384), QStringLiteral("2:03:04"));

        const double aos = 1'000'000;
        QCOMPARE(passCountdown(pass(aos, aos + 600), aos - 312, Language::Spanish), QStringLiteral("AOS en 05:12"));
        QCOMPARE(passCountdown(pass(aos, aos + 600), aos, Language::English), QStringLiteral("LOS in 10:00"));
        QCOMPARE(passCountdown(pass(aos, aos + 86400, false, false), aos + 5, Language::Spanish),
                 QStringLiteral("Siempre visible"));
        QCOMPARE(passCountdown(pass(aos, aos + 90000, true, false), aos + 5, Language::English),
                 QStringLiteral("Always in view"));
        QCOMPARE(passCountdown(std::nullopt, aos, Language::Spanish), QStringLiteral("Sin pasos en 24 h"));
        // 1970-01-12 13:46:40 UTC.
        QCOMPARE(passTimes(pass(aos, aos + 600), Language::English),
                 QStringLiteral("AOS 13:46:40  max. 45°  LOS 13:56:40 UTC"));
        QCOMPARE(passTimes(pass(aos, aos + 600, false, true), Language::Spanish),
                 QStringLiteral("AOS —  máx. 45°  LOS 13:56:40 UTC"));
        QCOMPARE(passTimes(std::nullopt, Language::Spanish), QString());
    }

    // The choice is kept in ajustes.ini among the operator's own lines.
    void trackingChoiceInTheExtraSettings()
    {
        test::TempHome home;
        const QString file = home.folder().settingsFile();
        QCOMPARE(loadExtraSettings(file).tracking, TrackingChoice::Link);
        QCOMPARE(saveExtraSetting(file, kTrackingChoiceKey, QStringLiteral("integrado")), QString());
        QCOMPARE(test::readBytes(file), QByteArray("Seguimiento=integrado\r\n"));

        test::writeBytes(file, "# mi tracker\nPuertoSeguimiento=47002\nSeguimiento = INTEGRADO\n"
                               "DireccionElementos=\nDireccionVersion=https://example.org/v.txt\n");
        ExtraSettings read = loadExtraSettings(file);
        QCOMPARE(read.tracking, TrackingChoice::BuiltIn);
        QCOMPARE(read.trackingPort, 47002);
        QVERIFY(read.elementsAddress.startsWith(u"https://celestrak.org/")); // empty: the default
        QCOMPARE(saveExtraSetting(file, kTrackingChoiceKey, trackingChoiceValue(TrackingChoice::Link)), QString());
        QCOMPARE(test::readBytes(file), QByteArray("# mi tracker\r\nPuertoSeguimiento=47002\r\nSeguimiento=enlace\r\n"
                                                   "DireccionElementos=\r\nDireccionVersion=https://example.org/v.txt\r\n"));
        QCOMPARE(loadExtraSettings(file).tracking, TrackingChoice::Link);
        test::writeBytes(file, "Seguimiento=otro\r\n");
        QCOMPARE(loadExtraSettings(file).tracking, TrackingChoice::Link);

        // What cannot be read is never replaced by a file holding only this key.
        const QString folder = home.path() + QStringLiteral("/carpeta.ini");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!saveExtraSetting(folder, kTrackingChoiceKey, QStringLiteral("integrado")).isEmpty());
        QVERIFY(QFileInfo(folder).isDir());
    }

    // Times as the passes window shows and sorts them: UTC and local time with the day, numbers
    // by their value.
    void passTable()
    {
        PassTableModel model;
        model.setTimeZone(QTimeZone(-3 * 3600));
        const double midnight = utcSeconds(QDateTime(QDate(2024, 3, 2), QTime(0, 0), Qt::UTC));
        Pass high = pass(midnight + 3600, midnight + 4200);
        high.maxElevation = 47.4;
        Pass low = pass(midnight + 600, midnight + 900);
        low.maxElevation = 5;
        Pass geo = pass(midnight, midnight + 86400, false, false);
        geo.maxElevation = 12;
        model.setPasses({{"SO-50", low}, {"ao-91", high}, {"ES'HAIL", geo}});
        QCOMPARE(model.rowCount(), 3);
        model.setLanguage(Language::English);
        QCOMPARE(model.headerData(PassTableModel::MaxElevation, Qt::Horizontal).toString(), QStringLiteral("Max. elev."));
        const auto cell = [&](int row, int column) { return model.data(model.index(row, column)).toString(); };
        QCOMPARE(cell(1, PassTableModel::AosUtc), QStringLiteral("02/03 01:00:00"));
        QCOMPARE(cell(1, PassTableModel::AosLocal), QStringLiteral("01/03 22:00:00"));
        QCOMPARE(cell(1, PassTableModel::MaxElevation), QStringLiteral("47°"));
        QCOMPARE(cell(2, PassTableModel::AosUtc), QStringLiteral("—"));
        QCOMPARE(cell(2, PassTableModel::LosLocal), QStringLiteral("—"));

        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(PassTableModel::SortRole);
        sorted.setSortCaseSensitivity(Qt::CaseInsensitive);
        const auto order = [&](int column) {
            sorted.sort(column);
            QStringList names;
            for (int row = 0; row < sorted.rowCount(); ++row)
                names << sorted.index(row, 0).data().toString();
            return names;
        };
        QCOMPARE(order(PassTableModel::MaxElevation), (QStringList{"SO-50", "ES'HAIL", "ao-91"})); // 5, 12, 47
        QCOMPARE(order(PassTableModel::AosLocal), (QStringList{"ES'HAIL", "SO-50", "ao-91"}));
        QCOMPARE(order(PassTableModel::Satellite), (QStringList{"ao-91", "ES'HAIL", "SO-50"}));
    }
};

QTEST_GUILESS_MAIN(TestBuiltInTrackingSource)
#include "tst_builtintrackingsource.moc"
