// The tracking text parser and the tracking panel's logic: field changes, the data-wait
// notice, the lost-contact watchdog and the "Usar Orbitron" check box.
#include "tracking/trackingsource.h"
#include "tracking/trackingtext.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace vorta;

namespace {

const QString kAo91 = QStringLiteral("SNAO-91 AZ123.4 EL10.5 DN145960000 UP435250000 DMFM UMFM");

// A source the test drives by hand.
class FakeSource : public TrackingSource
{
public:
    int starts = 0;
    bool active = false;
    void start() override
    {
        ++starts;
        active = true;
    }
    void stop() override
    {
        ++stops;
        active = false;
    }
    int stops = 0;
    void keepTrying() override { keptTrying = true; }
    bool keptTrying = false;
    bool isActive() const override { return active; }
    void finish(StartOutcome outcome) { emit startFinished(outcome); }
    void send(const QString &text) { emit textReceived(text); }
    void drop() { emit connectionClosed(); }
};

struct Panel
{
    test::ScriptedDialogs dialogs;
    TrackingPanelState state{dialogs};
    FakeSource source;
    Panel(bool installed = true)
    {
        state.setOrbitronInstalled(installed);
        state.attachSource(&source);
        state.setModeLists({"FM", "SSB", "CW"}, {"FM", "SSB", "CW"});
    }
    // The box ticked and the tracker answering.
    void link()
    {
        state.setUseOrbitron(true);
        source.finish(TrackingSource::StartOutcome::Connected);
    }
};

} // namespace

class TestTrackingText : public QObject
{
    Q_OBJECT
private slots:
    // Fields in order: hasTokens, satellite, azimuth, elevation, hasElevation, downlink, uplink,
    // downlink mode, uplink mode.
    void parsesTheTrackersText()
    {
        QCOMPARE(parseTrackingText(kAo91),
                 (TrackingText{true, "AO-91", "123.4", "10.5", true, "145.960.000", "435.250.000", "FM", "FM"}));
        // No space at all: nothing but an instruction to empty everything.
        QCOMPARE(parseTrackingText(u"SNAO-91"), TrackingText{});
        // Optional tokens absent: frequencies untouched (nothing), modes emptied.
        QCOMPARE(parseTrackingText(u"SNAO-91 AZ10 EL5 UP435250000"),
                 (TrackingText{true, "AO-91", "10", "5", true, std::nullopt, "435.250.000", "", ""}));
        // Every "SN" of the name goes, not only the tag; so does every "AZ" and "EL" of the values.
        QCOMPARE(parseTrackingText(u"SNESNAIL AZAZ1 ELEL2"), (TrackingText{true, "EAIL", "1", "2", true, {}, {}, {}, {}}));
        // CR LF pairs anywhere are removed before cutting.
        QCOMPARE(parseTrackingText(u"SNAO-91 AZ12\r\n3.4 EL1\r\n0 DMFM\r\n"),
                 (TrackingText{true, "AO-91", "123.4", "10", true, std::nullopt, std::nullopt, "FM", ""}));
        // Tags are case-sensitive and the first occurrence counts, in any order.
        QCOMPARE(parseTrackingText(u"SNX AZ1 EL2 dn1 UMUSB DMLSB DN1459 DN2"),
                 (TrackingText{true, "X", "1", "2", true, "145.9.", std::nullopt, "LSB", "USB"}));
        // A text that ends before the elevation.
        QCOMPARE(parseTrackingText(u"SNAO-7 AZ200"), (TrackingText{true, "AO-7", "200", {}, false, {}, {}, {}, {}}));
        // Values longer than 100 characters are cut.
        QCOMPARE(parseTrackingText(QStringLiteral("SNX AZ1 EL2 DM") + QString(150, u'M')).downlinkMode.size(), 100);

        // Hz digits grouped from the right, so the MHz stay whole and the band comes out right.
        QCOMPARE(trackingFrequency(u"2401200000"), "2401.200.000");
        QCOMPARE(trackingFrequency(u"10489550000"), "10489.550.000");
        QCOMPARE(trackingFrequency(u"0"), "0..");
    }

    void panelPassesOnOnlyChanges()
    {
        Panel p;
        p.state.setLanguage(Language::English);
        p.link();
        QSignalSpy satellite(&p.state, &TrackingPanelState::satelliteChanged);
        QSignalSpy downlink(&p.state, &TrackingPanelState::downlinkChanged);
        QSignalSpy azimuth(&p.state, &TrackingPanelState::azimuthChanged);
        QSignalSpy downMode(&p.state, &TrackingPanelState::downlinkModeSelected);
        QSignalSpy upMode(&p.state, &TrackingPanelState::uplinkModeSelected);
        p.source.send(kAo91);
        QCOMPARE(satellite.at(0).at(0).toString(), "AO-91");
        QCOMPARE(downlink.at(0).at(0).toString(), "145.960.000");
        QCOMPARE(downMode.at(0).at(0).toInt(), 0);
        QCOMPARE(p.state.badge().caption, "VISIBLE");
        QCOMPARE(p.state.badge().colour, QColor(0, 128, 0));

        // The operator typed another downlink into the entry panel: the same DN again passes
        // nothing on, so the typed value stays; a changed DN replaces it.
        p.source.send(kAo91);
        QCOMPARE(downlink.size(), 1);
        p.source.send(QStringLiteral("SNAO-91 AZ124 EL-0.1 DN145961200 UP435250000 DMfm UMCW"));
        QCOMPARE(downlink.at(1).at(0).toString(), "145.961.200");
        QCOMPARE(azimuth.size(), 2);
        QCOMPARE(satellite.size(), 1);
        // A mode list takes only an exact match: "fm" is no entry, "CW" is the third.
        QCOMPARE(downMode.size(), 1);
        QCOMPARE(upMode.last().at(0).toInt(), 2);
        QCOMPARE(p.state.badge().caption, "HIDE");
        QCOMPARE(p.state.badge().colour, kBadgeHiddenColour);
        p.state.setLanguage(Language::Portuguese);
        QCOMPARE(p.state.badge().caption, "OCULTO");

        // Without DN the frequency stays; without DM the mode is emptied; a text that ends
        // before the elevation hides the badge.
        p.source.send(QStringLiteral("SNAO-91 AZ124"));
        QCOMPARE(p.state.fields().downlink, "145.961.200");
        QCOMPARE(p.state.fields().downlinkMode, QString());
        QVERIFY(!p.state.badge().shown);

        // A text without a space empties every field and hides the badge; so does the empty
        // text, which also proves the link alive.
        p.source.send(QStringLiteral("garbage"));
        QCOMPARE(p.state.fields(), TrackingFields{});
        QCOMPARE(downlink.last().at(0).toString(), QString());
        p.source.send(kAo91);
        QVERIFY(p.state.badge().shown);
        QVERIFY(!p.state.watchdogTick());
        p.source.send(QString());
        QCOMPARE(p.state.fields(), TrackingFields{});
        QCOMPARE(satellite.last().at(0).toString(), QString());
        QVERIFY(!p.state.badge().shown);
        p.source.send(kAo91);
        p.source.send(QString());
        p.source.send(kAo91);
        QVERIFY(!p.state.watchdogTick());
    }

    void watchdog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("alive");
        QTest::addColumn<bool>("fires");
        // A geostationary satellite keeps one azimuth: a link that keeps sending it is not lost.
        QTest::newRow("same azimuth, texts arriving") << "QO-100" << true << false;
        QTest::newRow("silence") << "ISS" << false << true;
        QTest::newRow("Moon") << "Moon" << false << false;
        QTest::newRow("Sol") << "Sol" << false << false;
        QTest::newRow("not exactly the Moon") << "MOON" << false << true;
    }
    void watchdog()
    {
        QFETCH(QString, name);
        QFETCH(bool, alive);
        QFETCH(bool, fires);
        Panel p;
        p.link();
        const QString tracking = "SN" + name + " AZ151.3 EL29.8";
        p.source.send(tracking);
        QVERIFY(!p.state.watchdogTick());
        if (alive)
            p.source.send(tracking);
        QCOMPARE(p.state.watchdogTick(), fires);
        if (!fires) { // then a closed connection: lost, but never for the Sun or the Moon
            p.source.drop();
            QCOMPARE(p.state.watchdogTick(), alive);
        }
        QCOMPARE(p.dialogs.shown.size(), fires || alive ? 1 : 0);
    }

    void watchdogFiringEndsTheLink()
    {
        Panel p;
        p.state.setLanguage(Language::Portuguese);
        p.state.startUp(true);
        p.source.finish(TrackingSource::StartOutcome::Connected);
        QSignalSpy box(&p.state, &TrackingPanelState::useOrbitronChanged);
        p.source.send(kAo91);
        p.source.drop();
        QVERIFY(p.state.watchdogTick());
        QCOMPARE(p.dialogs.texts(), QStringList{text(Txt::MsgOrbitronLost, Language::Portuguese)});
        QCOMPARE(p.dialogs.shown.at(0).icon, Icon::Critical);
        QCOMPARE(p.state.fields(), TrackingFields{});
        QCOMPARE(box.size(), 1);
        QVERIFY(!p.state.useOrbitron());
        QVERIFY(!p.state.panelVisible());
        // The link ends with it: the source no longer reconnects, and nothing more is taken.
        QVERIFY(!p.source.active);
        p.source.send(kAo91);
        QCOMPARE(p.state.fields(), TrackingFields{});
        // With the fields empty there is nothing more to watch.
        QVERIFY(!p.state.watchdogTick());

        // A drop followed by texts again (the source reconnected) is a live link.
        Panel reconnected;
        reconnected.link();
        reconnected.source.send(kAo91);
        reconnected.source.drop();
        reconnected.source.send(kAo91);
        QVERIFY(!reconnected.state.watchdogTick());
    }

    void startUpAndTheDataWaitNotice()
    {
        Panel p;
        QSignalSpy compass(&p.state, &TrackingPanelState::compassVisibleChanged);
        p.state.clockTick(); // the panel is hidden: nothing
        QVERIFY(p.dialogs.shown.isEmpty());

        // A failed start-up says so in one Spanish line whatever the language, and keeps the
        // panel; the data-wait notice follows, once.
        p.state.setLanguage(Language::English);
        p.state.startUp(true);
        p.source.finish(TrackingSource::StartOutcome::NotRunning);
        QVERIFY(p.state.panelVisible());
        // The tracker may well be started after the log: the box stays ticked and the source
        // keeps trying.
        QVERIFY(p.state.useOrbitron());
        QVERIFY(p.source.keptTrying);
        QCOMPARE(p.source.stops, 0);
        p.state.clockTick();
        p.state.clockTick();
        QCOMPARE(p.dialogs.texts(), (QStringList{QStringLiteral("No se está ejecutando Orbitrón!"),
                                                 text(Txt::MsgOrbitronWaiting, Language::English)}));
        QCOMPARE(p.dialogs.shown.at(1).icon, Icon::Information);
        QVERIFY(!p.state.compassVisible());

        p.source.send(kAo91);
        QCOMPARE(p.state.fields().satellite, QStringLiteral("AO-91"));
        p.state.clockTick();
        QVERIFY(p.state.compassVisible());
        QCOMPARE(compass.size(), 2);

        // The data stop (a text without a space): the notice comes once more.
        p.source.send(QStringLiteral("x"));
        p.state.clockTick();
        p.state.clockTick();
        QCOMPARE(p.dialogs.shown.size(), 3);
    }

    void checkBoxWithoutTrackerInstalled()
    {
        Panel p(false);
        p.state.setUseOrbitron(true);
        QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("No está instalado Orbitron!")});
        QVERIFY(!p.state.checkBoxEnabled());
        QVERIFY(!p.state.panelVisible());
        QCOMPARE(p.source.starts, 0);
        p.state.setUseOrbitron(false); // disabled: the operator cannot change it any more
        QVERIFY(p.state.useOrbitron());
    }

    void checkBoxStartsTheLinkAndHandlesNotRunning()
    {
        Panel p;
        p.state.setLanguage(Language::English);
        QSignalSpy focus(&p.state, &TrackingPanelState::focusCallSign);
        p.state.setUseOrbitron(true);
        QCOMPARE(p.source.starts, 1);
        QVERIFY(p.state.panelVisible());
        QCOMPARE(focus.size(), 1);
        p.source.send(kAo91);

        p.source.finish(TrackingSource::StartOutcome::NotRunning);
        QCOMPARE(p.dialogs.texts(), QStringList{text(Txt::MsgOrbitronNotRunning, Language::English)});
        QVERIFY(!p.state.useOrbitron());
        QVERIFY(!p.state.panelVisible());
        QVERIFY(!p.state.badge().shown);
        // Ticked by hand, the link is not retried, and nothing more is taken.
        QVERIFY(!p.source.keptTrying);
        QVERIFY(p.source.stops > 0);
        p.source.send(kAo91);
        QCOMPARE(p.state.fields(), TrackingFields{});

        // Ticking again starts the link again; a connected outcome says nothing.
        p.state.setUseOrbitron(true);
        p.source.finish(TrackingSource::StartOutcome::Connected);
        QCOMPARE(p.source.starts, 2);
        QCOMPARE(p.dialogs.shown.size(), 1);

        QVERIFY(p.source.active);
    }

    void clearingTheBoxEndsTheLinkAndKeepsTheEntryAsItIs()
    {
        Panel p;
        p.link();
        p.source.send(kAo91);
        QSignalSpy satellite(&p.state, &TrackingPanelState::satelliteChanged);
        QSignalSpy downlink(&p.state, &TrackingPanelState::downlinkChanged);
        QSignalSpy reset(&p.state, &TrackingPanelState::fieldsReset);

        // The link stops and the panel forgets its values without passing that on: the entry
        // panel keeps what it shows, and nothing that still arrives reaches it.
        p.state.setUseOrbitron(false);
        QVERIFY(!p.state.panelVisible());
        QVERIFY(!p.source.active);
        QCOMPARE(p.state.fields(), TrackingFields{});
        QCOMPARE(reset.size(), 1);
        QVERIFY(!p.state.badge().shown);
        p.source.send(QString(kAo91).replace("AZ123.4", "AZ130"));
        QCOMPARE(p.state.fields(), TrackingFields{});
        QCOMPARE(satellite.size() + downlink.size(), 0);
        // Nothing left to watch: clearing the box is no lost contact.
        QVERIFY(!p.state.watchdogTick());
        QVERIFY(p.dialogs.shown.isEmpty());

        // Ticked again, the first text passes every field on afresh, even an unchanged one.
        p.link();
        QCOMPARE(p.source.starts, 2);
        p.source.send(kAo91);
        QCOMPARE(satellite.size(), 1);
        QCOMPARE(downlink.last().at(0).toString(), "145.960.000");

        // A saved configuration without the option ends the link the same way.
        p.state.startUp(false);
        QVERIFY(!p.source.active);
        QCOMPARE(p.state.fields(), TrackingFields{});
        QCOMPARE(satellite.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTrackingText)
#include "tst_trackingtext.moc"
