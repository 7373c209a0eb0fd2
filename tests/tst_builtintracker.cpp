// The built-in tracker: its tracking text read back by the tracking panel's own parser, the
// satellite it follows with and without a choice, stale element sets and the pass list.
#include "common/textvalue.h"
#include "tracking/builtintracker.h"
#include "tracking/satrules.h"
#include "tracking/trackingtext.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace vorta;

namespace {

LookAngles seen(double azimuth, double elevation, double rangeRate)
{
    LookAngles look;
    look.azimuth = azimuth;
    look.elevation = elevation;
    look.rangeKm = 1500;
    look.rangeRateKmS = rangeRate;
    return look;
}

const SatelliteEntry kAo91{"AO-91", "435.250", "145.960", "FM", "FM"};
const QList<SatelliteEntry> kList{kAo91,
                                  {"SO-50", "145.850", "436.795", "FM", "FM"},
                                  {"ISS", "145.990", "437.800", "FM", "FM"},
                                  {"XW-2A", "435.040", "145.665", "USB", "LSB"}, // no element set
                                  {"ES'HAIL", "2400.250", "10489.750", "USB", "USB"},
                                  {"CIRCULAR LEO", "", "", "", ""}};

} // namespace

class TestBuiltInTracker : public QObject
{
    Q_OBJECT
private:
    QList<OrbitalElements> m_sets = readOrbitalElements(test::elementFileLines());

    BuiltInTracker tracker(const QString &locator = QStringLiteral("GF05TE"))
    {
        BuiltInTracker t;
        t.setLocator(locator);
        t.setElements(m_sets);
        t.setSatellites(kList);
        return t;
    }

private slots:
    void frequencies()
    {
        QCOMPARE(frequencyHz(u"145.960"), std::optional<qint64>(145960000));
        QCOMPARE(frequencyHz(u"10489,55"), std::optional<qint64>(10489550000));
        QCOMPARE(frequencyHz(u"29.4"), std::optional<qint64>(29400000));
        QCOMPARE(frequencyHz(u""), std::nullopt);
        QCOMPARE(frequencyHz(u"0"), std::nullopt);
        QCOMPARE(frequencyHz(u"FM"), std::nullopt);
    }

    // The text is read back by the tracking panel's parser: the same satellite, angles,
    // frequencies grouped MHz.kHz.Hz with their bands and sat mode, and modes.
    void textReadBackByTheParser()
    {
        // Moving away at 5 km/s: heard 2434 Hz low, sent 7259 Hz high.
        const QString text = trackingText(u"AO-91", seen(123.44, 10.56, 5.0), kAo91);
        QCOMPARE(text, QStringLiteral("SNAO-91 AZ123.4 EL10.5 DN145957566 UP435257259 DMFM UMFM"));
        const TrackingText parsed = parseTrackingText(text);
        QCOMPARE(parsed.satellite, QStringLiteral("AO-91"));
        QCOMPARE(parsed.azimuth, QStringLiteral("123.4"));
        QCOMPARE(parsed.elevation, QStringLiteral("10.5"));
        QCOMPARE(parsed.downlink, std::optional<QString>(QStringLiteral("145.957.566")));
        QCOMPARE(parsed.uplink, std::optional<QString>(QStringLiteral("435.257.259")));
        QCOMPARE(parsed.downlinkMode, QStringLiteral("FM"));
        QCOMPARE(parsed.uplinkMode, QStringLiteral("FM"));
        QCOMPARE(satModeLabel(*parsed.uplink, *parsed.downlink), QStringLiteral("SAT B"));

        // Frequencies of four and two MHz digits keep their MHz whole.
        const SatelliteEntry qo100{"QO 100", "2400.250", "10489.750", " USB ", "USB"};
        const TrackingText far = parseTrackingText(trackingText(u"QO 100", seen(150, 20, -0.001), qo100));
        QCOMPARE(far.satellite, QStringLiteral("QO_100"));
        QCOMPARE(far.downlink, std::optional<QString>(QStringLiteral("10489.750.035")));
        QCOMPARE(far.uplink, std::optional<QString>(QStringLiteral("2400.249.992")));
        QCOMPARE(bandName(*far.downlink), QStringLiteral("3cm"));
        QCOMPARE(bandName(*far.uplink), QStringLiteral("13cm"));
        QCOMPARE(far.downlinkMode, QStringLiteral("USB"));
        const SatelliteEntry modeA{"AO-7", "145.900", "29.450", "USB", "USB"};
        const TrackingText tenMetres = parseTrackingText(trackingText(u"AO-7", seen(10, 5, 0), modeA));
        QCOMPARE(tenMetres.downlink, std::optional<QString>(QStringLiteral("29.450.000")));
        QCOMPARE(satModeLabel(*tenMetres.uplink, *tenMetres.downlink), QStringLiteral("SAT A"));

        // Without frequencies and modes those tokens are left out: the panel keeps its
        // frequencies and empties its modes.
        const TrackingText bare = parseTrackingText(trackingText(u"ISS", seen(359.96, -0.04, 1), {}));
        QCOMPARE(bare.azimuth, QStringLiteral("0.0"));
        QVERIFY(!bare.downlink && !bare.uplink);
        QVERIFY(bare.downlinkMode.isEmpty());
        // Just below the horizon is below it, for the visibility badge too.
        QCOMPARE(bare.elevation, QStringLiteral("-0.1"));
        QVERIFY(visibilityBadge(bare.elevation, Language::English).caption == QStringLiteral("HIDE"));
        QCOMPARE(parseTrackingText(trackingText(u"ISS", seen(0, 0.0, 0), {})).elevation, QStringLiteral("0.0"));
    }

    // Fed to the tracking panel, the built-in tracker's text fills the fields the way the
    // external tracker's does.
    void feedsTheTrackingPanel()
    {
        test::ScriptedDialogs dialogs;
        TrackingPanelState panel(dialogs);
        panel.setOrbitronInstalled(true);
        panel.setModeLists({"FM", "USB", "LSB", "CW"}, {"FM", "USB", "LSB", "CW"});
        panel.startUp(true); // tracking on: the panel takes texts only then
        QSignalSpy satellite(&panel, &TrackingPanelState::satelliteChanged);
        QSignalSpy downlink(&panel, &TrackingPanelState::downlinkChanged);
        QSignalSpy mode(&panel, &TrackingPanelState::downlinkModeSelected);

        BuiltInTracker t = tracker();
        const BuiltInTracker::Tick tick = t.tick(u"AO-91", m_sets[1].epoch);
        QCOMPARE(tick.status, BuiltInTracker::Status::Tracking);
        panel.receiveText(tick.text);
        QCOMPARE(panel.fields().satellite, QStringLiteral("AO-91"));
        QCOMPARE(satellite.size(), 1);
        QCOMPARE(downlink.size(), 1);
        QVERIFY(std::fabs(numericValue(panel.fields().downlink) - 145.960) < 0.005);
        QCOMPARE(bandName(panel.fields().downlink), QStringLiteral("2m"));
        QCOMPARE(mode.first().first().toInt(), 0);
        QCOMPARE(panel.fields().azimuth, QString::number(tick.look.azimuth, 'f', 1));
    }

    void followsTheNextToRise()
    {
        BuiltInTracker t = tracker();
        QCOMPARE(t.satellites().size(), 5); // XW-2A has no element set
        const Observer station = *observerAtLocator(u"GF05TE");
        const double start = m_sets[0].epoch;
        const auto nextPass = [&station](const TrackedSatellite &s, double utc) {
            return PassPredictor(*s.orbit, station).nextPass(utc);
        };
        int tracked = 0, stayed = 0;
        QSet<QString> followed;
        QString previous;
        double previousLos = 0;
        for (double utc = start; utc < start + 86400.0; utc += 17 * 60.0 + 11.0) {
            const BuiltInTracker::Tick tick = t.tick(u"", utc);
            // What it should follow, worked out afresh: the satellite it took last, until two
            // minutes after the LOS of the pass it took it for; else the rising satellite whose
            // current or next pass rose first, never one that does not rise.
            QString expected;
            std::optional<Pass> pass;
            for (const TrackedSatellite &s : t.satellites()) {
                const std::optional<Pass> p = nextPass(s, utc);
                if (s.name == previous && utc < previousLos + BuiltInTracker::kGraceSeconds) {
                    expected = s.name;
                    pass = p;
                    ++stayed;
                    break;
                }
                if (p && p->rises && (!pass || p->aos < pass->aos)) {
                    expected = s.name;
                    pass = p;
                }
            }
            QCOMPARE(tick.satellite, expected);
            QCOMPARE(tick.status, BuiltInTracker::Status::Tracking);
            QVERIFY(tick.text.startsWith(QStringLiteral("SN") + QString(expected).replace(u' ', u'_') + QStringLiteral(" AZ")));
            QVERIFY(std::fabs(tick.pass->aos - pass->aos) < 0.1);
            if (expected != previous || utc >= previousLos + BuiltInTracker::kGraceSeconds) {
                previous = expected;
                previousLos = pass->los;
            }
            if (tick.pass->inProgress(utc)) {
                QVERIFY(tick.look.elevation >= -0.01);
                // The sky plot's track belongs to this pass.
                const QList<SkyPoint> track = t.currentTrack(30.0);
                QCOMPARE(track.first().utc, tick.pass->aos);
                QCOMPARE(track.last().utc, tick.pass->los);
            }
            followed.insert(tick.satellite);
            ++tracked;
        }
        QVERIFY(tracked > 80);
        QVERIFY(stayed > 5);
        QVERIFY(followed.size() >= 3);
    }

    // Among a hundred satellites the one to follow is found without stalling a tick: what
    // one tick cannot search is searched at the next ones, the tracker saying meanwhile that it
    // is searching, and what it then follows is what a full search gives.
    void aHundredSatellites_data()
    {
        QTest::addColumn<qsizetype>("budget");
        QTest::newRow("as the program searches") << BuiltInTracker::kSearchLooksPerTick;
        QTest::newRow("a search that takes many ticks") << qsizetype(100);
    }
    void aHundredSatellites()
    {
        QFETCH(qsizetype, budget);
        // Ninety low satellites and ten high ones, spread around their orbits.
        const QStringList sample = test::elementFileLines();
        QStringList lines;
        QList<SatelliteEntry> entries;
        for (int i = 0; i < 100; ++i) {
            const int set = i % 10 == 9 ? 3 + i / 10 % 2 : std::array{0, 1, 2, 7}[i % 4];
            QString line2 = sample[set * 3 + 2];
            line2.replace(43, 8, QString::asprintf("%8.4f", std::fmod(line2.mid(43, 8).toDouble() + 37.0 * i, 360.0)));
            line2.replace(17, 8, QString::asprintf("%8.4f", std::fmod(line2.mid(17, 8).toDouble() + 11.0 * i, 360.0)));
            line2[68] = QChar(u'0' + *elementLineChecksum(line2));
            const QString name = QStringLiteral("SAT%1").arg(i, 3, 10, QChar(u'0'));
            lines << name << sample[set * 3 + 1] << line2;
            entries.append({name, "145.900", "435.800", "FM", "FM"});
        }
        BuiltInTracker t;
        t.setLocator(u"GF05TE");
        t.setElements(readOrbitalElements(lines));
        t.setSatellites(entries);
        t.setSearchBudget(budget);
        QCOMPARE(t.satellites().size(), 100);

        const Observer station = *observerAtLocator(u"GF05TE");
        // The satellite whose current or next pass rose first, and that pass.
        const auto firstToRise = [&](double utc) {
            QString name;
            Pass first;
            for (const TrackedSatellite &s : t.satellites()) {
                const std::optional<Pass> p = PassPredictor(*s.orbit, station).nextPass(utc);
                if (p && p->rises && (name.isEmpty() || p->aos < first.aos)) {
                    name = s.name;
                    first = *p;
                }
            }
            return std::pair(name, first);
        };
        double utc = m_sets[0].epoch;
        BuiltInTracker::Tick tick = t.tick(u"", utc);
        int searching = 0;
        for (; tick.status == BuiltInTracker::Status::Searching && searching < 1000; ++searching) {
            QVERIFY(tick.satellite.isEmpty() && tick.text.isEmpty());
            QVERIFY(t.currentTrack().isEmpty());
            tick = t.tick(u"", ++utc);
        }
        QCOMPARE(tick.status, BuiltInTracker::Status::Tracking);
        auto [name, first] = firstToRise(utc);
        QCOMPARE(tick.satellite, name);
        QVERIFY(std::fabs(tick.pass->aos - first.aos) < 0.1);

        // After its pass (and the two minutes after it), the next one, found afresh; never a
        // tick without a satellite in between.
        const double los = tick.pass->los;
        for (utc = los + BuiltInTracker::kGraceSeconds; utc < los + BuiltInTracker::kGraceSeconds + 30; ++utc) {
            tick = t.tick(u"", utc);
            QCOMPARE(tick.status, BuiltInTracker::Status::Tracking);
        }
        std::tie(name, first) = firstToRise(utc - 1);
        QCOMPARE(tick.satellite, name);
        QVERIFY(std::fabs(tick.pass->aos - first.aos) < 0.1);
    }

    void geostationaryOnlyWhenChosen()
    {
        // Seen from under it, the geostationary satellite is always up: it is never the next
        // to rise, but it is followed when chosen, with a pass that neither rises nor sets.
        const Sgp4 geo(m_sets[3]);
        const double utc = m_sets[3].epoch;
        BuiltInTracker t;
        t.setElements(m_sets);
        t.setSatellites({{"ES'HAIL", "2400.250", "10489.750", "USB", "USB"}});
        // The locator of the square under the satellite, by the equator.
        const double lon = test::longitudeBelow(geo, utc) + 180.0;
        const QString locator = QString(QChar(u'A' + int(lon / 20))) + QChar(u'J')
                                + QChar(u'0' + int(std::fmod(lon, 20.0) / 2)) + u'0';
        QVERIFY(t.setLocator(locator));
        QCOMPARE(t.tick(u"", utc).status, BuiltInTracker::Status::NoSatellite);
        const BuiltInTracker::Tick chosen = t.tick(u"ES'HAIL", utc);
        QCOMPARE(chosen.status, BuiltInTracker::Status::Tracking);
        QVERIFY(chosen.look.elevation > 70.0);
        QVERIFY(chosen.pass && !chosen.pass->rises && !chosen.pass->sets);
        QVERIFY(chosen.text.contains(u" DN10489"));
        const QList<ListedPass> list = t.passList(utc);
        QCOMPARE(list.size(), 1);
        QVERIFY(!list[0].pass.rises);
    }

    void chosenSatellites()
    {
        BuiltInTracker t = tracker();
        const double utc = m_sets[2].epoch + 3600.0;
        // Chosen in small letters: the element set and the list's frequencies are found all
        // the same, and the name sent back is the field's own, so feeding it changes nothing.
        const BuiltInTracker::Tick so50 = t.tick(u"so-50", utc);
        QCOMPARE(so50.status, BuiltInTracker::Status::Tracking);
        QVERIFY(so50.text.startsWith(u"SNso-50 AZ"));
        QVERIFY(so50.text.contains(u" DN436") && so50.text.contains(u" UP145"));
        QCOMPARE(so50.catalogueNumber, 27607);
        // By catalogue number, without a satellite-list entry: angles only.
        const BuiltInTracker::Tick byNumber = t.tick(u"25544", utc);
        QCOMPARE(byNumber.status, BuiltInTracker::Status::Tracking);
        QVERIFY(!byNumber.text.contains(u" DN") && !byNumber.text.contains(u" DM"));
        // No element set: nothing to track, and no track left over from before.
        const BuiltInTracker::Tick none = t.tick(u"XW-2A", utc);
        QCOMPARE(none.status, BuiltInTracker::Status::NoElements);
        QVERIFY(none.text.isEmpty());
        QVERIFY(t.currentTrack().isEmpty());
        // A decayed satellite has no position any more.
        QCOMPARE(t.tick(u"DECAYING", m_sets[6].epoch + 6 * 86400.0).status, BuiltInTracker::Status::NoOrbit);
        // A locator that is none tracks nothing.
        QVERIFY(!t.setLocator(u"GF0"));
        QCOMPARE(t.tick(u"AO-91", utc).status, BuiltInTracker::Status::NoStation);
    }

    // What was followed by itself ends with a choice of the operator's or another list: emptied
    // again, the field takes the next to rise then, not a satellite followed hours before.
    void aFollowEndsWithAChoiceOrAnotherList()
    {
        const double epoch = m_sets.first().epoch;
        BuiltInTracker t = tracker();
        const BuiltInTracker::Tick first = t.tick(u"", epoch);
        QVERIFY(first.pass);
        const double later = first.pass->los + 6 * 3600;
        t.tick(u"AO-91", later);
        t.setHold(true); // a call is typed
        QCOMPARE(t.tick(u"", later).satellite, tracker().tick(u"", later).satellite);

        // Following the only satellite of a list, then the whole list.
        int compared = 0;
        for (double utc = epoch; utc < epoch + 2 * 86400; utc += 3600) {
            BuiltInTracker one = tracker();
            one.setSatellites({kAo91});
            if (one.tick(u"", utc).satellite != kAo91.name)
                continue;
            one.setSatellites(kList);
            QCOMPARE(one.tick(u"", utc + 1).satellite, tracker().tick(u"", utc + 1).satellite);
            ++compared;
        }
        QVERIFY(compared > 10);
    }

    void elementAgeAndStaleness()
    {
        BuiltInTracker t = tracker();
        const double epoch = m_sets[1].epoch;
        const BuiltInTracker::Tick fresh = t.tick(u"AO-91", epoch + 13.5 * 86400.0);
        QCOMPARE(fresh.elementAgeDays, 13.5);
        QVERIFY(!fresh.stale);
        const BuiltInTracker::Tick old = t.tick(u"AO-91", epoch + 14 * 86400.0 + 60.0);
        QVERIFY(old.stale);
        QCOMPARE(old.status, BuiltInTracker::Status::Tracking); // still tracked, shown as stale
    }

    void passList()
    {
        BuiltInTracker t = tracker(QStringLiteral("JO62QM"));
        const double from = m_sets[0].epoch;
        const QList<ListedPass> list = t.passList(from);
        QVERIFY(list.size() > 10);
        QSet<QString> names;
        for (qsizetype i = 0; i < list.size(); ++i) {
            names.insert(list[i].satellite);
            QVERIFY(list[i].pass.los > from);
            QVERIFY(list[i].pass.aos < from + 86400.0);
            if (i > 0)
                QVERIFY(list[i - 1].pass.aos <= list[i].pass.aos);
        }
        QVERIFY(names.contains(QStringLiteral("AO-91")) && names.contains(QStringLiteral("ISS")));
        QVERIFY(!names.contains(QStringLiteral("XW-2A")));
        // The ISS's passes are exactly the ones its own prediction gives.
        const Sgp4 iss(m_sets[0]);
        const QList<Pass> own = PassPredictor(iss, *observerAtLocator(u"JO62QM")).passes(from, from + 86400.0);
        qsizetype count = 0;
        for (const ListedPass &p : list)
            count += p.satellite == QStringLiteral("ISS");
        QCOMPARE(count, own.size());
    }
};

QTEST_GUILESS_MAIN(TestBuiltInTracker)
#include "tst_builtintracker.moc"
