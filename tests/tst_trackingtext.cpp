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
    void stop() override { active = false; }
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
};

} // namespace

class TestTrackingText : public QObject
{
    Q_OBJECT
private slots:
    void parsesTheTrackersText()
    {
        const TrackingText t = parseTrackingText(kAo91);
        QVERIFY(t.hasTokens);
        QCOMPARE(t.satellite, "AO-91");
        QCOMPARE(t.azimuth, "123.4");
        QCOMPARE(t.elevation, "10.5");
        QCOMPARE(t.downlink, std::optional<QString>("145.960.000"));
        QCOMPARE(t.uplink, std::optional<QString>("435.250.000"));
        QCOMPARE(t.downlinkMode, "FM");
        QCOMPARE(t.uplinkMode, "FM");
        const VisibilityBadge badge = visibilityBadge(t.elevation, Language::Spanish);
        QVERIFY(badge.shown);
        QCOMPARE(badge.caption, "VISIBLE");
        QCOMPARE(badge.colour, QColor(0, 128, 0));
    }

    void parsingEdgeCases()
    {
        // No space at all: nothing but an instruction to empty everything.
        QCOMPARE(parseTrackingText(u"SNAO-91"), TrackingText{});
        QCOMPARE(parseTrackingText(u""), TrackingText{});

        // Optional tokens absent: frequencies untouched, modes emptied.
        TrackingText t = parseTrackingText(u"SNAO-91 AZ10 EL5 UP435250000");
        QCOMPARE(t.downlink, std::nullopt);
        QCOMPARE(t.uplink, std::optional<QString>("435.250.000"));
        QCOMPARE(t.downlinkMode, QString());
        QCOMPARE(t.uplinkMode, QString());

        // Every "SN" of the name goes, not only the tag.
        QCOMPARE(parseTrackingText(u"SNESNAIL AZ1 EL2").satellite, "EAIL");
        QCOMPARE(parseTrackingText(u"SNSO-50 AZAZ1 ELEL2").azimuth, "1");

        // CR LF pairs anywhere are removed before cutting.
        t = parseTrackingText(u"SNAO-91 AZ12\r\n3.4 EL1\r\n0 DMFM\r\n");
        QCOMPARE(t.azimuth, "123.4");
        QCOMPARE(t.elevation, "10");
        QCOMPARE(t.downlinkMode, "FM");

        // Tags are case-sensitive and the first occurrence counts, in any order.
        t = parseTrackingText(u"SNX AZ1 EL2 dn1 UMUSB DMLSB DN1459 DN2");
        QCOMPARE(t.downlink, std::optional<QString>("145.9."));
        QCOMPARE(t.downlinkMode, "LSB");
        QCOMPARE(t.uplinkMode, "USB");

        // A text that ends after the elevation, or before it.
        t = parseTrackingText(u"SNAO-7 AZ200 EL-3.5");
        QVERIFY(t.hasElevation);
        QCOMPARE(t.elevation, "-3.5");
        t = parseTrackingText(u"SNAO-7 AZ200");
        QVERIFY(t.hasTokens);
        QVERIFY(!t.hasElevation);
        QCOMPARE(t.azimuth, "200");

        // Hz digits regrouped however many there are.
        // Grouped from the right, so the MHz stay whole and the band comes out right.
        QCOMPARE(trackingFrequency(u"2401200000"), "2401.200.000");
        QCOMPARE(trackingFrequency(u"29400000"), "29.400.000");
        QCOMPARE(trackingFrequency(u"10489550000"), "10489.550.000");
        QCOMPARE(trackingFrequency(u"0"), "0..");

        // Values longer than 100 characters are cut.
        t = parseTrackingText(QStringLiteral("SNX AZ1 EL2 DM") + QString(150, u'M'));
        QCOMPARE(t.downlinkMode.size(), 100);
    }

    void panelPassesOnOnlyChanges()
    {
        Panel p;
        QSignalSpy satellite(&p.state, &TrackingPanelState::satelliteChanged);
        QSignalSpy downlink(&p.state, &TrackingPanelState::downlinkChanged);
        QSignalSpy azimuth(&p.state, &TrackingPanelState::azimuthChanged);
        QSignalSpy badge(&p.state, &TrackingPanelState::badgeChanged);

        p.source.send(kAo91);
        QCOMPARE(satellite.size(), 1);
        QCOMPARE(satellite.at(0).at(0).toString(), "AO-91");
        QCOMPARE(downlink.size(), 1);
        QCOMPARE(downlink.at(0).at(0).toString(), "145.960.000");
        QCOMPARE(p.state.fields().elevation, "10.5");
        QCOMPARE(p.state.badge().caption, "VISIBLE");

        // The operator typed another downlink into the entry panel: the same DN again passes
        // nothing on, so the typed value stays; a changed DN replaces it.
        p.source.send(kAo91);
        QCOMPARE(downlink.size(), 1);
        QCOMPARE(satellite.size(), 1);
        QCOMPARE(badge.size(), 1);
        p.source.send(QString(kAo91).replace("DN145960000", "DN145961200").replace("AZ123.4", "AZ124"));
        QCOMPARE(downlink.size(), 2);
        QCOMPARE(downlink.at(1).at(0).toString(), "145.961.200");
        QCOMPARE(azimuth.size(), 2);
        QCOMPARE(satellite.size(), 1);

        // Without DN the frequency stays; without DM the mode is emptied.
        p.source.send(QStringLiteral("SNAO-91 AZ124 EL11 UP435250000"));
        QCOMPARE(p.state.fields().downlink, "145.961.200");
        QCOMPARE(p.state.fields().downlinkMode, QString());
        QCOMPARE(downlink.size(), 2);

        // A text without a space empties every field and hides the badge.
        p.source.send(QStringLiteral("garbage"));
        QCOMPARE(p.state.fields(), TrackingFields{});
        QVERIFY(!p.state.badge().shown);
        QCOMPARE(satellite.last().at(0).toString(), QString());
        QCOMPARE(downlink.last().at(0).toString(), QString());
    }

    void modeListNeedsAnExactMatch()
    {
        Panel p;
        QSignalSpy selected(&p.state, &TrackingPanelState::downlinkModeSelected);
        QSignalSpy upSelected(&p.state, &TrackingPanelState::uplinkModeSelected);
        p.source.send(QStringLiteral("SNAO-91 AZ1 EL1 DMfm UMCW"));
        QCOMPARE(selected.size(), 0);
        QCOMPARE(p.state.fields().downlinkMode, "fm");
        QCOMPARE(upSelected.size(), 1);
        QCOMPARE(upSelected.at(0).at(0).toInt(), 2);
        p.source.send(QStringLiteral("SNAO-91 AZ1 EL1 DMFM UMCW"));
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.at(0).at(0).toInt(), 0);
        QCOMPARE(upSelected.size(), 1);
    }

    void hiddenWordFollowsTheLanguage()
    {
        QCOMPARE(visibilityBadge(u"0", Language::English).caption, "VISIBLE");
        QCOMPARE(visibilityBadge(u"-0.1", Language::Spanish).caption, "OCULTO");
        Panel p;
        p.state.setLanguage(Language::English);
        p.source.send(QStringLiteral("SNAO-91 AZ1 EL-0.1"));
        QCOMPARE(p.state.badge().caption, "HIDE");
        QCOMPARE(p.state.badge().colour, QColor(255, 0, 0));
        p.state.setLanguage(Language::Portuguese);
        QCOMPARE(p.state.badge().caption, "OCULTO");
        // A text that ends before the elevation hides the badge.
        p.source.send(QStringLiteral("SNAO-91 AZ1"));
        QVERIFY(!p.state.badge().shown);
    }

    void watchdogKeepsALiveLinkEvenWithAFixedAzimuth()
    {
        Panel p;
        p.state.startUp(true);
        p.source.finish(TrackingSource::StartOutcome::Connected);
        for (int i = 0; i < 4; ++i) {
            p.source.send(QStringLiteral("SNQO-100 AZ151.3 EL29.8 DN10489750000 DMSSB"));
            QVERIFY(!p.state.watchdogTick());
        }
        QVERIFY(p.dialogs.shown.isEmpty());
        QVERIFY(p.state.useOrbitron());
    }

    void watchdogFiresOnSilence()
    {
        Panel p;
        p.state.setLanguage(Language::Portuguese);
        p.state.startUp(true);
        p.source.finish(TrackingSource::StartOutcome::Connected);
        QSignalSpy box(&p.state, &TrackingPanelState::useOrbitronChanged);
        QSignalSpy satellite(&p.state, &TrackingPanelState::satelliteChanged);
        p.source.send(kAo91);
        QVERIFY(!p.state.watchdogTick());
        QVERIFY(p.state.watchdogTick()); // a whole interval without a text

        QCOMPARE(p.dialogs.texts(), QStringList{text(Txt::MsgOrbitronLost, Language::Portuguese)});
        QCOMPARE(p.dialogs.shown.at(0).icon, Icon::Critical);
        QCOMPARE(p.state.fields(), TrackingFields{});
        QCOMPARE(satellite.last().at(0).toString(), QString());
        QCOMPARE(box.size(), 1);
        QVERIFY(!p.state.useOrbitron());
        QVERIFY(!p.state.panelVisible());
        // With the fields empty there is nothing more to watch.
        QVERIFY(!p.state.watchdogTick());
        QCOMPARE(p.dialogs.shown.size(), 1);
    }

    void watchdogFiresOnAClosedConnection()
    {
        Panel p;
        p.state.startUp(true);
        p.source.finish(TrackingSource::StartOutcome::Connected);
        p.source.send(kAo91);
        p.source.drop();
        QVERIFY(p.state.watchdogTick());
        QCOMPARE(p.dialogs.texts(), QStringList{text(Txt::MsgOrbitronLost, Language::Spanish)});

        // A drop followed by texts again (the source reconnected) is a live link.
        Panel q;
        q.source.send(kAo91);
        q.source.drop();
        q.source.send(kAo91);
        QVERIFY(!q.state.watchdogTick());
    }

    void watchdogNeverWatchesSunOrMoon_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fires");
        QTest::newRow("Moon") << "Moon" << false;
        QTest::newRow("Sun") << "Sun" << false;
        QTest::newRow("Luna") << "Luna" << false;
        QTest::newRow("Sol") << "Sol" << false;
        QTest::newRow("not exactly the Moon") << "MOON" << true;
        QTest::newRow("a satellite") << "ISS" << true;
    }
    void watchdogNeverWatchesSunOrMoon()
    {
        QFETCH(QString, name);
        QFETCH(bool, fires);
        Panel p;
        const QString tracking = "SN" + name + " AZ100 EL20";
        p.source.send(tracking);
        QVERIFY(!p.state.watchdogTick());
        QCOMPARE(p.state.watchdogTick(), fires); // an interval of silence
        p.source.send(tracking);
        p.source.drop();
        if (!fires)
            QVERIFY(!p.state.watchdogTick()); // nor a closed connection
        QCOMPARE(p.dialogs.shown.size(), fires ? 1 : 0);
    }

    void dataWaitNoticeOncePerWait()
    {
        Panel p;
        QSignalSpy compass(&p.state, &TrackingPanelState::compassVisibleChanged);
        p.state.clockTick(); // the panel is hidden: nothing
        QVERIFY(p.dialogs.shown.isEmpty());

        p.state.setLanguage(Language::English);
        p.state.startUp(true);
        p.state.clockTick();
        p.state.clockTick();
        QCOMPARE(p.dialogs.texts(), QStringList{text(Txt::MsgOrbitronWaiting, Language::English)});
        QCOMPARE(p.dialogs.shown.at(0).icon, Icon::Information);
        QVERIFY(p.state.dataWaitShown());
        QVERIFY(!p.state.compassVisible());

        p.source.send(kAo91);
        p.state.clockTick();
        QVERIFY(!p.state.dataWaitShown());
        QVERIFY(p.state.compassVisible());
        QCOMPARE(compass.size(), 2);

        // The data stop (a text without a space): the notice comes once more.
        p.source.send(QStringLiteral("x"));
        p.state.clockTick();
        p.state.clockTick();
        QCOMPARE(p.dialogs.shown.size(), 2);
    }

    void checkBoxWithoutTrackerInstalled()
    {
        Panel p(false);
        QSignalSpy disabled(&p.state, &TrackingPanelState::checkBoxDisabled);
        p.state.setUseOrbitron(true);
        QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("No está instalado Orbitron!")});
        QCOMPARE(p.dialogs.shown.at(0).icon, Icon::Critical);
        QCOMPARE(disabled.size(), 1);
        QVERIFY(p.state.useOrbitron());
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
        QSignalSpy box(&p.state, &TrackingPanelState::useOrbitronChanged);
        p.state.setUseOrbitron(true);
        QCOMPARE(p.source.starts, 1);
        QVERIFY(p.state.panelVisible());
        QCOMPARE(focus.size(), 1);
        p.source.send(kAo91);

        p.source.finish(TrackingSource::StartOutcome::NotRunning);
        QCOMPARE(p.dialogs.texts(), QStringList{text(Txt::MsgOrbitronNotRunning, Language::English)});
        QCOMPARE(p.dialogs.shown.at(0).icon, Icon::Critical);
        QVERIFY(!p.state.useOrbitron());
        QCOMPARE(box.size(), 1);
        QVERIFY(!p.state.panelVisible());
        QVERIFY(!p.state.badge().shown);

        // Ticking again starts the link again; a connected outcome says nothing.
        p.state.setUseOrbitron(true);
        p.source.finish(TrackingSource::StartOutcome::Connected);
        QCOMPARE(p.source.starts, 2);
        QCOMPARE(p.dialogs.shown.size(), 1);
        QVERIFY(p.state.panelVisible());

        // Clearing the box hides the panel but keeps receiving.
        p.state.setUseOrbitron(false);
        QVERIFY(!p.state.panelVisible());
        p.source.send(QString(kAo91).replace("AZ123.4", "AZ130"));
        QCOMPARE(p.state.fields().azimuth, "130");
    }

    void startUpFailureKeepsThePanel()
    {
        Panel p;
        p.state.setLanguage(Language::English);
        p.state.startUp(true);
        QCOMPARE(p.source.starts, 1);
        p.source.finish(TrackingSource::StartOutcome::NotRunning);
        QCOMPARE(p.dialogs.texts(), QStringList{QStringLiteral("No se está ejecutando Orbitrón!")});
        QVERIFY(p.state.panelVisible());
        QVERIFY(p.state.useOrbitron());
        p.state.clockTick(); // then the data-wait notice follows
        QCOMPARE(p.dialogs.shown.size(), 2);

        Panel off;
        off.state.startUp(false);
        QVERIFY(!off.state.panelVisible());
        QCOMPARE(off.source.starts, 0);
    }
};

QTEST_GUILESS_MAIN(TestTrackingText)
#include "tst_trackingtext.moc"
