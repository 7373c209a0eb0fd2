// The main window with the built-in tracker, on a clock the test sets and the sample element
// sets: the satellite the operator chooses and the one followed by itself, the sky plot, stale
// elements, the passes window choosing a satellite, the tracking choice in the configuration
// window and the element sets brought from the web.
#include "common/dates.h"
#include "common/textvalue.h"
#include "logdb/logdatabase.h"
#include "config/configwindow.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/mainwindow.h"
#include "tracking/builtintrackingsource.h"
#include "tracking/compasswidget.h"
#include "tracking/elementsdownload.h"
#include "tracking/passeswindow.h"
#include "tracking/passtable.h"
#include "tracking/skyplotwidget.h"
#include "tracking/trackermenuwidget.h"
#include "tracking/trackingtext.h"
#include "tracking/trackingwidget.h"
#include "uisupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <cmath>

using namespace vorta;

namespace {

// The program with the built-in tracker chosen, the sample element sets in the data folder and
// a clock at their epoch.
struct BuiltIn
{
    test::TempHome home;
    double utc = readOrbitalElements(test::elementFileLines()).first().epoch;
    std::optional<test::Program> program;
    std::optional<MainWindow> window;

    explicit BuiltIn(bool trackingOn = true, const QByteArray &extraSettings = "Seguimiento=integrado\r\n",
                     bool elements = true)
    {
        test::writeBytes(home.folder().settingsFile(), extraSettings);
        if (elements)
            test::writeBytes(dataElementsFile(home.folder()), test::kElementFile);
        Settings settings = test::stationSettings(QStringLiteral("GF05TE"));
        settings.useOrbitron = trackingOn;
        program.emplace(home, settings);
        window.emplace(program->session);
        source().setClock([this] { return utc; });
        window->show();
    }
    BuiltInTrackingSource &source() { return window->builtInTracker(); }
    EntryWidget &entry() { return window->entry(); }
    QLineEdit *field(const QString &caption) { return test::captionedEdit(entry(), caption); }
    // The middle of the satellite's first pass.
    double duringPass(const QString &name)
    {
        for (const ListedPass &p : source().passList())
            if (p.satellite == name && p.pass.rises && p.pass.sets)
                return (p.pass.aos + p.pass.maxTime) / 2;
        return 0;
    }
    // Waits for the next tick of the tracker.
    bool nextTick() { return QSignalSpy(&source(), &BuiltInTrackingSource::ticked).wait(3000); }
    // Types as a person does, the event loop (and the tracker's ticks) running between keys.
    void type(QWidget *widget, const QString &keys)
    {
        for (const QChar key : keys) {
            QTest::keyClicks(widget, QString(key));
            QTest::qWait(20);
        }
    }
    QComboBox *list(const QString &name)
    {
        for (QComboBox *combo : entry().findChildren<QComboBox *>())
            if (combo->accessibleName() == name)
                return combo;
        return nullptr;
    }
};

} // namespace

class TestUiBuiltInTracker : public QObject
{
    Q_OBJECT
private slots:
    // The satellite typed in the entry panel is followed: the panel, the frequencies with their
    // Doppler shift and the sat mode follow it, the typed field stays as typed (cursor and all),
    // and the sky plot shows the pass with its countdown.
    void followsTheOperatorsChoice()
    {
        BuiltIn b;
        b.utc = b.duringPass(QStringLiteral("AO-91"));
        QVERIFY(b.utc > 0);
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        satellite->setFocus();
        QTest::keyClicks(satellite, QStringLiteral("AO-91"));
        satellite->setCursorPosition(2);
        QTRY_COMPARE(b.window->tracking().fields().satellite, QStringLiteral("AO-91"));
        QVERIFY(b.nextTick());
        QCOMPARE(satellite->text(), QStringLiteral("AO-91"));
        QCOMPARE(satellite->cursorPosition(), 2);
        QCOMPARE(b.source().choice(), QStringLiteral("AO-91"));

        QLineEdit *downlink = b.field(QStringLiteral("Bajada"));
        QVERIFY(std::fabs(downlink->text().remove(u'.').toDouble() / 1e6 - 145.960) < 0.004);
        QVERIFY(downlink->text() != QStringLiteral("145.960.000")); // shifted, as heard
        QVERIFY(b.field(QStringLiteral("Subida"))->text().startsWith(u"435.2"));
        QCOMPARE(b.entry().satModeText(), QStringLiteral("SAT B"));
        QVERIFY(numericValue(b.window->tracking().fields().elevation) > 0);
        QVERIFY(!b.entry().orbit().isEmpty());

        SkyPlotWidget &sky = b.window->skyPlot();
        QVERIFY(!sky.isHidden());
        QVERIFY(sky.countdown().startsWith(QStringLiteral("LOS en ")));
        QVERIFY(sky.passTimes().startsWith(QStringLiteral("AOS ")));
        QCOMPARE(sky.problem(), QString());
        QVERIFY(sky.plot().track().size() > 10);
        QVERIFY(sky.plot().satellite());
        // A screen reader reads the plot's values.
        QCOMPARE(sky.plot().accessibleName(), QStringLiteral("Cielo"));
        QVERIFY2(sky.plot().accessibleDescription().startsWith(QStringLiteral("AO-91: azimut ")),
                 qPrintable(sky.plot().accessibleDescription()));
        QVERIFY(sky.plot().accessibleDescription().contains(sky.countdown()));
        QVERIFY(b.program->dialogs.shown.isEmpty());
    }

    // A QSO typed at the end of a pass followed by itself is saved on that pass's satellite:
    // the tracker stays on it for a while after LOS, and for as long as a call is typed.
    void aQsoAfterLosStaysOnTheSatelliteWorked()
    {
        BuiltIn b;
        QVERIFY(QTest::qWaitForWindowActive(&*b.window));
        QTRY_VERIFY(!b.program->state.currentLog().path.isEmpty());
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        QLineEdit *station = b.field(QStringLiteral("Estación:"));
        // A pass followed by itself after which another satellite is the next to rise.
        const QList<ListedPass> passes = b.source().passList();
        std::optional<ListedPass> worked;
        QString next;
        for (const ListedPass &p : passes) {
            if (!p.pass.rises || !p.pass.sets)
                continue;
            b.utc = p.pass.los - 20;
            b.source().tickNow();
            if (b.source().lastTick().satellite != p.satellite)
                continue;
            for (const ListedPass &q : passes)
                if (q.pass.rises && q.pass.los > p.pass.los + 5) {
                    next = q.satellite;
                    break;
                }
            if (!next.isEmpty() && next != p.satellite) {
                worked = p;
                break;
            }
        }
        QVERIFY(worked);
        QCOMPARE(satellite->text(), worked->satellite);
        const double los = worked->pass.los;

        station->setFocus();
        b.type(station, QStringLiteral("LU2XYZ"));
        b.utc = los + 5;
        b.source().tickNow();
        QCOMPARE(satellite->text(), worked->satellite);
        const QString downlink = b.field(QStringLiteral("Bajada"))->text();
        QTest::keyClick(station, Qt::Key_Return);
        const std::optional<QsoRecord> saved = newestQso(b.program->state.currentLog().path);
        QVERIFY(saved);
        QCOMPARE(saved->satelite, worked->satellite);
        QVERIFY(std::fabs(numericValue(saved->frecD) - numericValue(downlink)) < 0.001);
        const SatelliteEntry entry = *b.program->state.satellites().find(worked->satellite);
        QVERIFY(std::fabs(numericValue(saved->frecD) - numericValue(entry.downlink)) < 0.02);

        // Within two minutes of LOS the satellite stays; a call typed keeps it longer.
        b.utc = los + BuiltInTracker::kGraceSeconds - 1;
        b.source().tickNow();
        QCOMPARE(satellite->text(), worked->satellite);
        b.type(station, QStringLiteral("CE3"));
        b.utc = los + BuiltInTracker::kGraceSeconds + 60;
        b.source().tickNow();
        QCOMPARE(b.source().lastTick().satellite, worked->satellite);
        QCOMPARE(satellite->text(), worked->satellite);
        // Once the call is cleared, the next satellite takes over.
        station->clear();
        b.source().tickNow();
        QCOMPARE(b.source().lastTick().satellite, next);
        QCOMPARE(satellite->text(), next);
        QVERIFY(b.program->dialogs.shown.isEmpty());
    }

    // The satellite field emptied to type another name is left to the operator: nothing is
    // written into it while the cursor is there; left empty, it follows the next to rise again.
    void retypingTheSatellite()
    {
        BuiltIn b;
        QVERIFY(QTest::qWaitForWindowActive(&*b.window));
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        QTRY_VERIFY(!satellite->text().isEmpty());
        satellite->setFocus();
        satellite->selectAll();
        b.type(satellite, QStringLiteral("AO-91"));
        QTRY_COMPARE(b.window->tracking().fields().satellite, QStringLiteral("AO-91"));
        satellite->selectAll();
        QTest::keyClick(satellite, Qt::Key_Backspace);
        QVERIFY(b.nextTick());
        QVERIFY(b.nextTick());
        QCOMPARE(satellite->text(), QString());
        b.type(satellite, QStringLiteral("FO-29"));
        QVERIFY(b.nextTick());
        QCOMPARE(satellite->text(), QStringLiteral("FO-29"));
        QCOMPARE(b.source().choice(), QStringLiteral("FO-29"));

        satellite->clear();
        QVERIFY(b.nextTick());
        QCOMPARE(satellite->text(), QString());
        QLineEdit *station = b.field(QStringLiteral("Estación:"));
        station->setFocus();
        QTRY_VERIFY(!satellite->text().isEmpty());
        QCOMPARE(satellite->text(), b.source().lastTick().satellite);
        QVERIFY(b.source().choice().isEmpty());

        // The tracker moving on while the cursor merely rests in the field: once it leaves,
        // the field names the satellite followed.
        const QString before = satellite->text();
        satellite->setFocus();
        for (int pass = 0; pass < 6 && b.source().lastTick().satellite == before; ++pass) {
            b.utc = b.source().lastTick().pass->los + BuiltInTracker::kGraceSeconds + 1;
            b.source().tickNow();
        }
        QVERIFY(b.source().lastTick().satellite != before);
        QCOMPARE(satellite->text(), before);
        station->setFocus();
        QCOMPARE(satellite->text(), b.source().lastTick().satellite);
    }

    // A frequency or mode the operator types is logged as typed: tracking writes only into a
    // field that still holds what it wrote there, and not while the cursor is in it; another
    // satellite gives the fields back to tracking.
    void typedFrequenciesAndModesStay()
    {
        BuiltIn b;
        QVERIFY(QTest::qWaitForWindowActive(&*b.window));
        QTRY_VERIFY(!b.program->state.currentLog().path.isEmpty());
        b.utc = b.duringPass(QStringLiteral("AO-91"));
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        satellite->setFocus();
        satellite->selectAll();
        QTest::keyClicks(satellite, QStringLiteral("AO-91"));
        QTRY_COMPARE(b.window->tracking().fields().satellite, QStringLiteral("AO-91"));
        b.source().tickNow();

        QLineEdit *downlink = b.field(QStringLiteral("Bajada"));
        QLineEdit *uplink = b.field(QStringLiteral("Subida"));
        downlink->setFocus();
        downlink->selectAll();
        b.type(downlink, QStringLiteral("145.955"));
        b.utc += 1;
        b.source().tickNow();
        QCOMPARE(downlink->text(), QStringLiteral("145.955"));
        // The cursor in a field tracking still holds: nothing is written under it...
        uplink->setFocus();
        const QString before = uplink->text();
        b.utc += 5;
        b.source().tickNow();
        QCOMPARE(uplink->text(), before);
        QCOMPARE(downlink->text(), QStringLiteral("145.955"));
        // ...and once it leaves, tracking goes on.
        QLineEdit *station = b.field(QStringLiteral("Estación:"));
        station->setFocus();
        QTRY_VERIFY(uplink->text() != before);
        QCOMPARE(uplink->text(), b.window->tracking().fields().uplink);
        QCOMPARE(downlink->text(), QStringLiteral("145.955"));

        QComboBox *mode = b.list(QStringLiteral("Modo de bajada"));
        QVERIFY(mode);
        mode->setFocus();
        mode->lineEdit()->selectAll();
        b.type(mode, QStringLiteral("USB"));
        station->setFocus();
        b.utc += 1;
        b.source().tickNow();
        QCOMPARE(mode->currentText(), QStringLiteral("USB"));

        b.type(station, QStringLiteral("LU2XYZ"));
        QTest::keyClick(station, Qt::Key_Return);
        std::optional<QsoRecord> saved = newestQso(b.program->state.currentLog().path);
        QVERIFY(saved);
        QCOMPARE(saved->frecD, QStringLiteral("145.955"));
        QCOMPARE(saved->modoD, QStringLiteral("USB"));

        // Another satellite, from the list: the fields follow tracking again.
        b.utc = b.duringPass(QStringLiteral("SO-50"));
        emit b.list(QStringLiteral("Lista ..."))->textActivated(QStringLiteral("SO-50"));
        QTRY_COMPARE(b.window->tracking().fields().satellite, QStringLiteral("SO-50"));
        b.utc += 1;
        b.source().tickNow();
        QCOMPARE(downlink->text(), b.window->tracking().fields().downlink);
        QVERIFY(std::fabs(numericValue(downlink->text()) - 436.795) < 0.02);
        QCOMPARE(mode->currentText(), QStringLiteral("FM"));
        QVERIFY(b.program->dialogs.shown.isEmpty());
    }

    // The sky plot stands in the panel instead of the compass, and the fields stay where they
    // are when the badge gives way to what the tracker cannot do.
    void thePanelKeepsItsPlaces()
    {
        BuiltIn b;
        QVERIFY(QTest::qWaitForWindowActive(&*b.window));
        b.utc = b.duringPass(QStringLiteral("AO-91"));
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        satellite->setFocus();
        satellite->selectAll();
        QTest::keyClicks(satellite, QStringLiteral("AO-91"));
        QTRY_VERIFY(b.window->tracking().badge().shown);
        TrackingWidget &panel = b.window->trackingPanel();
        const auto place = [&panel](QWidget *widget) { return QRect(widget->mapTo(&panel, QPoint()), widget->size()); };
        QWidget *plot = &b.window->skyPlot().plot();
        // The plot shows the direction itself: the compass gives way to it, never drawn under it.
        QTRY_VERIFY(plot->isVisible());
        QVERIFY(!panel.compass().isVisible());
        QVERIFY(panel.contentsRect().contains(place(plot)));

        QLineEdit *mode = test::namedEdit(panel, QStringLiteral("Modo de subida"));
        QVERIFY(mode);
        QTest::qWait(50); // the layout settles
        const QRect before = place(mode);
        const int height = panel.height();
        satellite->selectAll();
        QTest::keyClicks(satellite, QStringLiteral("AO-123")); // in the list, no element set
        QTRY_VERIFY(!b.window->skyPlot().problem().isEmpty());
        QVERIFY(!b.window->tracking().badge().shown);
        QTest::qWait(50);
        QCOMPARE(place(mode), before);
        QCOMPARE(panel.height(), height);
    }

    void skyPlotGeometry()
    {
        const QPointF centre(100, 100);
        QCOMPARE(SkyPlot::position(123, 90, centre, 80), centre); // the zenith
        QCOMPARE(SkyPlot::position(0, 0, centre, 80), QPointF(100, 20)); // north on the horizon, up
        QCOMPARE(SkyPlot::position(90, 45, centre, 80), QPointF(140, 100)); // east, to the right
        const QPointF south = SkyPlot::position(180, -5, centre, 80); // below the horizon: on the rim
        QVERIFY(std::fabs(south.x() - 100) < 1e-9 && std::fabs(south.y() - 180) < 1e-9);
    }

    // With nothing chosen the tracker fills the field with the next satellite to rise, and
    // that is no choice: once its pass is over it follows the next one.
    void followsTheNextToRiseWithoutKeepingIt()
    {
        BuiltIn b;
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        QSet<QString> followed;
        for (int step = 0; step < 6; ++step) {
            b.source().tickNow();
            const BuiltInTracker::Tick &tick = b.source().lastTick();
            QCOMPARE(tick.status, BuiltInTracker::Status::Tracking);
            QCOMPARE(satellite->text(), tick.satellite);
            QVERIFY(b.source().choice().isEmpty());
            followed.insert(tick.satellite);
            b.utc = tick.pass->los + 1; // past this pass
        }
        QVERIFY(followed.size() >= 2);
        // Followed on, the field is written once, not every second.
        const QString before = satellite->text();
        QSignalSpy rewritten(&b.entry(), &EntryWidget::satelliteChanged);
        for (int second = 0; second < 3; ++second) {
            b.utc += 1;
            b.source().tickNow();
        }
        // Once at most: for the satellite after the pass just over.
        QCOMPARE(rewritten.size(), b.source().lastTick().satellite == before ? 0 : 1);
        QCOMPARE(satellite->text(), b.source().lastTick().satellite);

        // Emptied by the operator after a choice, the field is filled again by the tracker,
        // even with the satellite it held.
        QTest::keyClicks(satellite, QStringLiteral("x"));
        QTRY_COMPARE(b.window->tracking().fields().satellite, satellite->text());
        satellite->clear();
        QTRY_VERIFY(!satellite->text().isEmpty());
        QVERIFY(b.source().choice().isEmpty());
        QVERIFY(b.program->dialogs.shown.isEmpty());
    }

    // A satellite without element set, and element sets gone stale, are said in words.
    void whatTheTrackerCannotDo()
    {
        BuiltIn b;
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        b.utc = b.duringPass(QStringLiteral("SO-50"));
        QTest::keyClicks(satellite, QStringLiteral("SO-50"));
        QTRY_VERIFY(!b.window->tracking().fields().azimuth.isEmpty());
        QLineEdit *downlink = b.field(QStringLiteral("Bajada"));
        const QString shifted = downlink->text();

        satellite->clear();
        QTest::keyClicks(satellite, QStringLiteral("AO-123")); // in the list, no element set
        QTRY_COMPARE(b.window->skyPlot().problem(), QStringLiteral("No hay elementos orbitales para AO-123."));
        QCOMPARE(b.window->tracking().fields().azimuth, QString());
        QVERIFY(!b.window->tracking().badge().shown);
        QCOMPARE(downlink->text(), shifted); // the frequencies stay for the operator to set
        QCOMPARE(satellite->text(), QStringLiteral("AO-123"));
        QVERIFY(!b.window->tracking().watchdogTick());
        QVERIFY(b.window->useOrbitronBox().isChecked());

        // The sample sets are years old by the program's clock.
        satellite->clear();
        QTest::keyClicks(satellite, QStringLiteral("SO-50"));
        QVERIFY2(b.entry().elementInfo().contains(QStringLiteral(" días (desactualizados)  Nº Cat: 27607")),
                 qPrintable(b.entry().elementInfo()));
        QVERIFY(b.program->dialogs.shown.isEmpty());
    }

    // "Próximos pasos" from the keyboard: the passes of the list's satellites, sorted as asked,
    // and Enter or a double click chooses the satellite of a pass for the entry panel.
    void passesWindowChoosesASatellite()
    {
        BuiltIn b;
        MainWindow &window = *b.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        PassesWindow &passes = window.trackerMenus().passesWindow();
        QTRY_VERIFY(passes.isVisible());
        QCOMPARE(passes.windowTitle(), QStringLiteral("Próximos pasos"));
        QTableView &table = passes.table();
        QCOMPARE(table.accessibleName(), QStringLiteral("Próximos pasos"));
        const int rows = table.model()->rowCount();
        QVERIFY(rows > 5);
        QCOMPARE(passes.summary(), QString::number(rows) + QStringLiteral(" pasos en las próximas 24 h, vistos desde GF05TE:"));

        // Sorted by "Elev. máx." as numbers, from the keyboard.
        QComboBox *sort = nullptr;
        for (QComboBox *combo : passes.findChildren<QComboBox *>())
            sort = combo;
        QCOMPARE(sort->itemText(PassTableModel::MaxElevation), QStringLiteral("Elev. máx."));
        sort->setFocus();
        QTest::keyClick(sort, Qt::Key_Down); // AOS (UTC) -> Elev. máx.
        QTest::keyClick(sort, Qt::Key_Return); // sorts, and chooses nothing
        QVERIFY(passes.isVisible());
        QTRY_COMPARE(table.horizontalHeader()->sortIndicatorSection(), int(PassTableModel::MaxElevation));
        for (int row = 1; row < rows; ++row)
            QVERIFY(table.model()->index(row - 1, PassTableModel::MaxElevation).data(PassTableModel::SortRole).toDouble()
                    <= table.model()->index(row, PassTableModel::MaxElevation).data(PassTableModel::SortRole).toDouble());

        const auto rowOf = [&table](const QString &name) {
            for (int row = 0; row < table.model()->rowCount(); ++row)
                if (table.model()->index(row, 0).data().toString() == name)
                    return row;
            return -1;
        };
        table.setFocus();
        table.setCurrentIndex(table.model()->index(rowOf(QStringLiteral("SO-50")), 0));
        QTest::keyClick(&table, Qt::Key_Return);
        QTRY_VERIFY(!passes.isVisible());
        QCOMPARE(b.field(QStringLiteral("Satélite:"))->text(), QStringLiteral("SO-50"));
        QCOMPARE(b.source().choice(), QStringLiteral("SO-50"));
        QCOMPARE(b.window->entry().form().downlinkMode, QStringLiteral("FM"));

        // Enter on a focused button presses that button; an open list moves on with the clock.
        window.trackerMenus().showPasses();
        QTRY_VERIFY(passes.isVisible());
        const auto firstPass = [&table] {
            return table.model()->index(0, 0).data().toString() + table.model()->index(0, 1).data().toString();
        };
        const QString before = firstPass();
        b.utc += 6 * 3600;
        QTest::keyClick(test::buttonCaptioned(passes, QStringLiteral("&Actualizar")), Qt::Key_Return);
        QVERIFY(passes.isVisible());
        QVERIFY(firstPass() != before);
        QTest::keyClick(test::buttonCaptioned(passes, QStringLiteral("&Cerrar")), Qt::Key_Return);
        QTRY_VERIFY(!passes.isVisible());
        QCOMPARE(b.source().choice(), QStringLiteral("SO-50"));

        window.trackerMenus().showPasses();
        QTRY_VERIFY(passes.isVisible());
        const QModelIndex ao91 = table.model()->index(rowOf(QStringLiteral("AO-91")), 1);
        table.scrollTo(ao91);
        // A double click, as the mouse sends it: a click, then the second press.
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualRect(ao91).center());
        QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, table.visualRect(ao91).center());
        QTRY_VERIFY(!passes.isVisible());
        QCOMPARE(b.field(QStringLiteral("Satélite:"))->text(), QStringLiteral("AO-91"));
        QCOMPARE(b.source().choice(), QStringLiteral("AO-91"));
        QVERIFY(b.program->dialogs.shown.isEmpty());
    }

    // Chosen in the configuration window, the built-in tracker is kept in ajustes.ini beside
    // the operator's own lines and takes over at once; "Usar Orbitron" then needs no tracker
    // installed.
    void theConfigurationChoosesTheTracker()
    {
        BuiltIn b(false, "# mi puerto\r\nPuertoSeguimiento=47123\r\n");
        MainWindow &window = *b.window;
        QVERIFY(window.skyPlot().isHidden());
        QVERIFY(!window.trackingPanel().compass().isHidden());
        test::whenShown(window.configWindow(), [&] {
            ConfigWindow &config = window.configWindow();
            QComboBox *tracking = nullptr;
            for (QComboBox *combo : config.findChildren<QComboBox *>())
                if (combo->accessibleName() == QStringLiteral("Seguimiento"))
                    tracking = combo;
            QVERIFY(tracking);
            QCOMPARE(tracking->currentText(), QStringLiteral("Enlace con el programa de seguimiento"));
            tracking->setFocus();
            QTest::keyClick(tracking, Qt::Key_Down);
            QCOMPARE(tracking->currentText(), QStringLiteral("Seguimiento integrado de Vorta"));
            test::buttonCaptioned(config, QStringLiteral("&Aceptar"))->click();
        });
        window.showConfiguration();
        QCOMPARE(test::readBytes(b.home.folder().settingsFile()),
                 QByteArray("# mi puerto\r\nPuertoSeguimiento=47123\r\nSeguimiento=integrado\r\n"));
        QCOMPARE(b.program->state.trackingChoice(), TrackingChoice::BuiltIn);
        QVERIFY(!window.skyPlot().isHidden());
        // The plot takes the compass's place rather than being drawn over it.
        QVERIFY(window.trackingPanel().compass().isHidden());

        b.utc = b.duringPass(QStringLiteral("AO-91"));
        window.useOrbitronBox().click();
        QVERIFY(window.useOrbitronBox().isChecked() && window.useOrbitronBox().isEnabled());
        QVERIFY(!window.trackingPanel().isHidden());
        QVERIFY(b.source().isActive());
        QTRY_VERIFY(!window.tracking().fields().satellite.isEmpty());
        QVERIFY(b.program->dialogs.shown.isEmpty());
    }

    // Settings that cannot be saved change nothing: the tracking source stays as it was, and the
    // operator is told, in the interface language, which file was not saved.
    void aTrackingChoiceNotSavedIsNotTaken()
    {
        test::TempHome home;
        Settings settings = test::stationSettings();
        settings.language = QStringLiteral("English");
        test::Program program(home, settings);
        MainWindow window(program.session);
        window.show();
        const auto chooseBuiltIn = [&window] {
            test::whenShown(window.configWindow(), [&window] {
                ConfigWindow &config = window.configWindow();
                for (QComboBox *combo : config.findChildren<QComboBox *>())
                    if (combo->accessibleName() == QStringLiteral("Tracking"))
                        combo->setCurrentIndex(int(TrackingChoice::BuiltIn));
                test::buttonCaptioned(config, QStringLiteral("&Acept"))->click();
                if (config.isVisible()) // refused: left as the operator would
                    test::buttonCaptioned(config, QStringLiteral("&Cancel"))->click();
            });
            window.showConfiguration();
        };
        // A path that cannot be written to: a folder of the same name.
        const auto blockFile = [](const QString &path) {
            QFile::remove(path);
            QVERIFY(QDir().mkpath(path));
        };

        const QString config = home.folder().configFile();
        const QByteArray configBytes = test::readBytes(config);
        blockFile(config);
        chooseBuiltIn();
        QCOMPARE(program.state.trackingChoice(), TrackingChoice::Link);
        QVERIFY(!QFile::exists(home.folder().settingsFile()));
        QVERIFY(window.skyPlot().isHidden());
        QVERIFY2(program.dialogs.texts().last().startsWith(QStringLiteral("The settings file ") + config),
                 qPrintable(program.dialogs.texts().last()));

        QVERIFY(QDir(config).removeRecursively());
        test::writeBytes(config, configBytes);
        blockFile(home.folder().settingsFile());
        chooseBuiltIn();
        QCOMPARE(program.state.trackingChoice(), TrackingChoice::Link);
        QVERIFY(window.skyPlot().isHidden());
        QVERIFY2(program.dialogs.texts().last().startsWith(QStringLiteral("The settings file ")
                                                           + home.folder().settingsFile()),
                 qPrintable(program.dialogs.texts().last()));
    }

    // The QSOs' clock (local time less the configured difference) and the machine's UTC, which
    // the tracker and the passes use, disagreeing: said on the status line while it lasts.
    void aClockOffTheSystemsIsShown()
    {
        test::TempHome home;
        Settings settings = test::stationSettings();
        settings.utcText = utcOffsetText(systemUtcOffsetMinutes() + 60); // summer time forgotten
        test::Program program(home, settings);
        MainWindow window(program.session);
        window.show();
        QLabel *warning = nullptr;
        for (QLabel *label : window.statusBar()->findChildren<QLabel *>())
            if (label->text().startsWith(QStringLiteral("¡Hora UTC dudosa")))
                warning = label;
        QVERIFY(warning);
        QCOMPARE(warning->text(), QStringLiteral("¡Hora UTC dudosa: difiere 1 h del reloj del sistema!"));
        QVERIFY(warning->isVisible());
        QVERIFY(warning->accessibleDescription().contains(QStringLiteral("(") + settings.utcText + QStringLiteral(" h)")));
        QVERIFY(program.dialogs.shown.isEmpty());

        settings.utcText = utcOffsetText(systemUtcOffsetMinutes());
        program.state.setSettings(settings);
        QVERIFY(!warning->isVisible());
        QVERIFY(warning->text().isEmpty());
    }

    // "Actualizar elementos orbitales" brings the sets from the configured address; the
    // tracker and the orbit numbers use them at once. What is no element file changes nothing.
    void elementSetsFromTheWeb()
    {
        test::WebServer server;
        const QString address = server.address(QStringLiteral("/gp.php?GROUP=amateur&FORMAT=tle"));
        BuiltIn b(true, "Seguimiento=integrado\r\nDireccionElementos=" + address.toUtf8() + "\r\n", false);
        MainWindow &window = *b.window;
        QTRY_COMPARE(window.skyPlot().problem(),
                     QStringLiteral("No hay elementos orbitales: use Seguimiento > Actualizar elementos orbitales."));
        QCOMPARE(window.trackerMenus().menu().title(), QStringLiteral("&Seguimiento"));

        server.body = test::kElementFile;
        QSignalSpy finished(&window.trackerMenus().download(), &ElementsDownload::finished);
        window.trackerMenus().updateElements();
        QVERIFY(finished.wait(10000));
        const QString file = dataElementsFile(b.home.folder());
        // Said on the status line: a message box would take the Enter of the next QSO.
        QVERIFY(b.program->dialogs.shown.isEmpty());
        QCOMPARE(window.notice(), QStringLiteral("Elementos orbitales actualizados: 10 satélites en ") + file);
        QCOMPARE(b.source().elementCount(), 10);
        QTRY_COMPARE(window.skyPlot().problem(), QString());
        QLineEdit *satellite = b.field(QStringLiteral("Satélite:"));
        QTRY_VERIFY(!satellite->text().isEmpty()); // the next to rise, from the new sets
        satellite->clear();
        QTest::keyClicks(satellite, QStringLiteral("AO-91"));
        QVERIFY(!b.entry().orbit().isEmpty()); // the orbit number from the same file

        server.body = "<html><body>Mantenimiento</body></html>";
        window.trackerMenus().updateElements();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.last().first().toBool(), false);
        QVERIFY(b.program->dialogs.texts().last().contains(QStringLiteral("lo recibido no contiene elementos orbitales.")));
        QCOMPARE(test::readBytes(file), QByteArray(test::kElementFile));
        QCOMPARE(b.source().elementCount(), 10);
    }
};

QTEST_MAIN(TestUiBuiltInTracker)
#include "tst_ui_builtintracker.moc"
