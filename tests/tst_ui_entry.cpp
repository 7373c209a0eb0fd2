// A QSO typed in the main window during a pass: the key filters, the satellite list, the
// sat-mode label, the previous contact, and Enter saving from any field.
#include "common/appstate.h"
#include "config/configfile.h"
#include "keyer/keyport.h"
#include "logdb/logdatabase.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/session.h"
#include "tracking/satellitelistwindow.h"
#include "uisupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace vorta;

namespace {

QLineEdit *edit(QWidget &window, const QString &caption)
{
    return test::captionedEdit(window, caption);
}

} // namespace

class TestEntry : public QObject
{
    Q_OBJECT
private slots:
    void typeAWholeQsoAndPressEnter()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QVERIFY(run.ready());
        EntryWidget &entry = window.entry();

        // The shipped list offers SO-50; choosing it fills satellite, frequencies and modes.
        QComboBox *list = nullptr;
        for (QComboBox *combo : entry.findChildren<QComboBox *>())
            if (combo->findText(QStringLiteral("SO-50")) >= 0)
                list = combo;
        QVERIFY(list);
        list->textActivated(QStringLiteral("so-50"));
        QCOMPARE(edit(entry, QStringLiteral("Satélite:"))->text(), QStringLiteral("SO-50"));
        QCOMPARE(entry.satModeText(), QStringLiteral("SAT J"));
        QCOMPARE(program.state.uplinkBand(), QStringLiteral("2m"));
        QCOMPARE(program.state.downlinkBand(), QStringLiteral("70cm"));

        QLineEdit *station = edit(entry, QStringLiteral("Estación:"));
        QVERIFY(station->hasFocus());
        QTest::keyClicks(station, QStringLiteral("lu-2xyz"));
        QCOMPARE(station->text(), QStringLiteral("LU2XYZ"));
        QTest::keyClicks(edit(entry, QStringLiteral("Orbita:")), QStringLiteral("12a34"));
        QCOMPARE(edit(entry, QStringLiteral("Orbita:"))->text(), QStringLiteral("1234"));
        QLineEdit *sent = edit(entry, QStringLiteral("Env:"));
        sent->clear();
        QTest::keyClicks(sent, QStringLiteral("507"));
        QCOMPARE(sent->text(), QStringLiteral("57"));
        QLineEdit *locator = edit(entry, QStringLiteral("GridLoc"));
        QTest::keyClicks(locator, QStringLiteral("ff78ab"));
        QCOMPARE(locator->text(), QStringLiteral("FF78AB"));
        QLineEdit *notes = edit(entry, QStringLiteral("Notas"));
        QTest::keyClicks(notes, QStringLiteral("first one"));
        QTest::keyClick(notes, Qt::Key_Return);

        const QsoRecord r = *newestQso(home.folder().defaultLog());
        QCOMPARE(r.estacion, QStringLiteral("LU2XYZ"));
        QCOMPARE(r.satelite, QStringLiteral("SO-50"));
        QCOMPARE(r.orbita, QStringLiteral("1234"));
        QCOMPARE(r.rste, QStringLiteral("57"));
        QCOMPARE(r.operador, QStringLiteral("FF78AB"));
        QCOMPARE(r.obs, QStringLiteral("first one"));
        QCOMPARE(r.myCall, QStringLiteral("LU1ABC"));
        QCOMPARE(window.lastRecordValues().first(), QStringLiteral("LU2XYZ"));
        // Station, locator and notes are emptied; the pass values stay.
        QCOMPARE(station->text(), QString());
        QCOMPARE(locator->text(), QString());
        QCOMPARE(notes->text(), QString());
        QCOMPARE(edit(entry, QStringLiteral("Satélite:"))->text(), QStringLiteral("SO-50"));
        QCOMPARE(sent->text(), QStringLiteral("57"));
        QVERIFY(station->hasFocus());

        // The same station again: the QSO just saved is looked up as the call is typed.
        QTest::keyClicks(station, QStringLiteral("LU2XY"));
        QCOMPARE(entry.previousContactText(), QString());
        QTest::keyClicks(station, QStringLiteral("Z"));
        QCOMPARE(entry.previousContactText(), QStringLiteral("Sat: SO-50 #1234"));
        QCOMPARE(locator->text(), QStringLiteral("FF78AB"));
        QCOMPARE(notes->text(), QStringLiteral("first one"));
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void previousContactKeepsWhatTheOperatorTyped()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        ensureDefaultLog(home.folder());
        QsoEntry earlier;
        earlier.station = QStringLiteral("LU2XYZ");
        earlier.satellite = QStringLiteral("SO-50");
        earlier.orbit = QStringLiteral("1234");
        earlier.locator = QStringLiteral("FF78AB");
        earlier.notes = QStringLiteral("first one");
        earlier.utc = QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC);
        insertQso(home.folder().defaultLog(), recordForInsert(earlier));
        MainWindow window(program.session);
        window.show();
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        EntryWidget &entry = window.entry();
        QLineEdit *station = edit(entry, QStringLiteral("Estación:"));
        QLineEdit *locator = edit(entry, QStringLiteral("GridLoc"));
        QLineEdit *notes = edit(entry, QStringLiteral("Notas"));

        // Found, then a mistyped last letter: what the lookup filled in goes with it.
        QTest::keyClicks(station, QStringLiteral("LU2XYZ"));
        QCOMPARE(locator->text(), QStringLiteral("FF78AB"));
        QCOMPARE(notes->text(), QStringLiteral("first one"));
        QTest::keyClick(station, Qt::Key_Backspace);
        QCOMPARE(locator->text(), QString());
        QCOMPARE(notes->text(), QString());

        // A locator and notes typed before the call is complete stay when it is found.
        QTest::keyClicks(locator, QStringLiteral("gf05"));
        QTest::keyClicks(notes, QStringLiteral("mine"));
        QTest::keyClicks(station, QStringLiteral("Z"));
        QCOMPARE(entry.previousContactText(), QStringLiteral("Sat: SO-50 #1234"));
        QCOMPARE(locator->text(), QStringLiteral("GF05"));
        QCOMPARE(notes->text(), QStringLiteral("mine"));

        // Kept notes are never replaced, not even when empty.
        QCheckBox *keep = test::buttonCaptioned<QCheckBox>(entry, QStringLiteral("Notas (No borrar)"));
        QVERIFY(keep);
        keep->click();
        notes->clear();
        locator->clear();
        QTest::keyClick(station, Qt::Key_Backspace);
        QTest::keyClicks(station, QStringLiteral("Z"));
        QCOMPARE(locator->text(), QStringLiteral("FF78AB"));
        QCOMPARE(notes->text(), QString());
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void failingCheckKeepsTheFieldsAndFocusesTheCulprit()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QVERIFY(run.ready());
        EntryWidget &entry = window.entry();
        QLineEdit *station = edit(entry, QStringLiteral("Estación:"));
        QTest::keyClicks(station, QStringLiteral("CE3ABC"));
        QTest::keyClicks(edit(entry, QStringLiteral("Satélite:")), QStringLiteral("AO-91"));
        QTest::keyClicks(edit(entry, QStringLiteral("Bajada")), QStringLiteral("145,960"));
        QTest::keyClick(station, Qt::Key_Enter);
        QCOMPARE(program.dialogs.texts(), QStringList{QStringLiteral("Falta Frecuencia de Subida!")});
        QVERIFY(edit(entry, QStringLiteral("Subida"))->hasFocus());
        QCOMPARE(station->text(), QStringLiteral("CE3ABC"));
        QVERIFY(!newestQso(home.folder().defaultLog()));

        QTest::keyClicks(edit(entry, QStringLiteral("Subida")), QStringLiteral("435.250"));
        QCOMPARE(entry.satModeText(), QStringLiteral("SAT B"));
        QTest::mouseClick(entry.findChildren<QPushButton *>().first(), Qt::LeftButton); // "Guardar"
        QCOMPARE(newestQso(home.folder().defaultLog())->frecD, QStringLiteral("145.960"));
    }

    void manualTimeFieldsCorrectThemselves()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        EntryWidget &entry = window.entry();
        QCheckBox *manual = test::buttonCaptioned<QCheckBox>(entry, QStringLiteral("Ingreso QTR Manual"));
        QLineEdit *time = edit(entry, QStringLiteral("Hora"));
        QVERIFY(time->isHidden());
        manual->click();
        QVERIFY(!time->isHidden());
        time->setFocus();
        time->selectAll();
        QTest::keyClicks(time, QStringLiteral("915"));
        edit(entry, QStringLiteral("Notas"))->setFocus();
        QCOMPARE(program.dialogs.texts().last(), QStringLiteral("El formato de hora es hhmm"));
        QCOMPARE(time->text(), QStringLiteral("0000"));
        // Two digits are no time either (once they were read as 12:12).
        time->selectAll();
        QTest::keyClicks(time, QStringLiteral("12"));
        edit(entry, QStringLiteral("Notas"))->setFocus();
        QCOMPARE(program.dialogs.shown.size(), 2);
        QCOMPARE(time->text(), QStringLiteral("0000"));
        time->selectAll();
        QTest::keyClicks(time, QStringLiteral("0915"));
        edit(entry, QStringLiteral("Notas"))->setFocus();
        QCOMPARE(time->text(), QStringLiteral("0915"));
        QCOMPARE(program.dialogs.shown.size(), 2);
    }

    // The satellite list from the keyboard: Ctrl+T opens it, Tab leaves its grid for the
    // buttons, and after an edit the keys go on in the grid.
    void satelliteListByKeys()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        QVERIFY(run.ready());
        QString opened;
        QTimer::singleShot(0, &run.window, [&opened] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            opened = QApplication::activeModalWidget()->windowTitle();
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(&run.window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(opened, QStringLiteral("Editar Satélites"));

        // Keys on the closed drop-down open it; they never choose over the satellite typed.
        EntryWidget &entry = run.window.entry();
        QLineEdit *satellite = edit(entry, QStringLiteral("Satélite:"));
        satellite->setFocus();
        QTest::keyClicks(satellite, QStringLiteral("RS-44"));
        QComboBox *choices = nullptr;
        for (QComboBox *combo : entry.findChildren<QComboBox *>())
            if (combo->accessibleName() == QStringLiteral("Lista ..."))
                choices = combo;
        QVERIFY(choices);
        choices->setFocus();
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_S}) {
            QTest::keyClick(choices, key);
            QCOMPARE(satellite->text(), QStringLiteral("RS-44"));
            QTRY_VERIFY(choices->view()->isVisible());
            choices->hidePopup();
        }

        SatelliteListWindow list(run.program.session);
        list.show();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        auto *grid = list.findChild<QTableWidget *>();
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Tab);
        QVERIFY(qobject_cast<QPushButton *>(QApplication::focusWidget()));
        QTimer::singleShot(0, &list, [] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        test::buttonCaptioned(list, QStringLiteral("&Editar"))->click();
        QCOMPARE(list.focusWidget(), grid); // the window's cursor, once it is active again
    }
};

QTEST_MAIN(TestEntry)
#include "tst_ui_entry.moc"
