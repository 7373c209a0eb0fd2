// The log browser and the record editor as the operator uses them: the "Log" entry, a double
// click on a row, an edit saved, a delete, F1, a QSO stored while the browser keeps a listing,
// and the keyboard's way through the browser.
#include "browser/browserwindow.h"
#include "browser/recordeditorwindow.h"
#include "common/appstate.h"
#include "config/configfile.h"
#include "keyer/keyport.h"
#include "browser/recordedit.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/session.h"
#include "uisupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using namespace vorta;

namespace {

void addQso(const QString &log, const char *station, int day, const char *locator = "FN31PR")
{
    QsoEntry e;
    e.station = QString::fromLatin1(station);
    e.satellite = QStringLiteral("SO-50");
    e.uplinkFreq = QStringLiteral("145.850");
    e.downlinkFreq = QStringLiteral("436.795");
    e.locator = QString::fromLatin1(locator);
    e.myCall = QStringLiteral("LU1ABC");
    e.myLocator = QStringLiteral("GF05TE");
    e.utc = QDateTime(QDate(2024, 6, day), QTime(12, 0), Qt::UTC);
    insertQso(log, recordForInsert(e));
}

// A configured station's log holding the given QSOs (by default CE3ABC on the 1st in FF78 and
// LU2XYZ on the 2nd in FN31PR), and the main window showing it.
struct Qso
{
    const char *station;
    int day;
    const char *locator = "FN31PR";
};

struct Logged
{
    test::TempHome home;
    test::Program program{home, test::stationSettings(QStringLiteral("GF05TE"))};
    std::optional<MainWindow> window;

    explicit Logged(std::initializer_list<Qso> qsos = {{"LU2XYZ", 2}, {"CE3ABC", 1, "FF78"}})
    {
        ensureDefaultLog(home.folder());
        for (const Qso &q : qsos)
            addQso(log(), q.station, q.day, q.locator);
        window.emplace(program.session);
        window->show();
    }
    QString log() const { return home.folder().defaultLog(); }
};

// The filter list whose caption reads caption.
QComboBox *captionedList(QWidget &window, const QString &caption)
{
    for (QLabel *label : window.findChildren<QLabel *>())
        if (label->text() == caption && label->buddy())
            return qobject_cast<QComboBox *>(label->buddy());
    return nullptr;
}

QStringList entries(const QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

} // namespace

class TestBrowser : public QObject
{
    Q_OBJECT
private slots:
    void emptyLogOpensNothing()
    {
        Logged empty({});
        test::Program &program = empty.program;
        MainWindow &window = *empty.window;
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        window.showLog();
        QCOMPARE(program.dialogs.texts(), QStringList{QStringLiteral("Log vacío!")});
        QVERIFY(!window.browser().isVisible());
        QTest::keyClick(&window.entry(), Qt::Key_F1);
        QCOMPARE(program.dialogs.texts().last(), QStringLiteral("Log vacío!"));
        QCOMPARE(program.dialogs.shown.size(), 2);
    }

    void doubleClickEditSaveAndFindItInTheLog()
    {
        Logged two;
        test::Program &program = two.program;
        MainWindow &window = *two.window;
        QTRY_COMPARE(window.lastRecordValues().first(), QStringLiteral("LU2XYZ"));
        BrowserWindow &browser = window.browser();

        bool edited = false;
        test::whenShown(browser, [&] {
            QCOMPARE(browser.frameCaption(), QStringLiteral("2 QSO(s)"));
            QTableView &grid = browser.grid();
            QCOMPARE(grid.model()->index(0, 4).data().toString(), QStringLiteral("CE3ABC"));
            RecordEditorWindow &editor = browser.editor();
            test::whenShown(editor, [&] {
                QCOMPARE(editor.windowTitle(), QStringLiteral("Registro 2"));
                QCOMPARE(test::captionedEdit(editor, QStringLiteral("GridLoc"))->text(), QStringLiteral("FF78AA"));
                editor.close(); // the close box is refused
                QVERIFY(editor.isVisible());
                QLineEdit *notes = nullptr;
                for (QLineEdit *e : editor.findChildren<QLineEdit *>())
                    if (e->accessibleName() == QStringLiteral("Observaciones ..."))
                        notes = e;
                QTest::keyClicks(notes, QStringLiteral("it's a new grid"));
                QLineEdit *azimuth = test::captionedEdit(editor, QStringLiteral("Azimuth"));
                QTest::keyClicks(azimuth, QStringLiteral("360"));
                test::buttonCaptioned(editor, QStringLiteral("&Guardar"))->click();
                QCOMPARE(program.dialogs.texts().last(), QStringLiteral("Azimuth > 359 !!!"));
                QVERIFY(azimuth->hasFocus());
                azimuth->setText(QStringLiteral("45"));
                test::buttonCaptioned(editor, QStringLiteral("&Guardar"))->click();
                QVERIFY(!editor.isVisible());
                edited = true;
                browser.hide();
            });
            const QModelIndex call = grid.model()->index(0, 4);
            QTRY_VERIFY(grid.viewport()->isVisible() && grid.visualRect(call).height() > 0);
            // A double click is a press and release followed by the double-click press.
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(call).center());
            QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(call).center());
            if (!edited) { // a failure above must not leave the modal browser up
                browser.hide();
                QFAIL("the double click opened no editor");
            }
        });
        browser.open();
        QVERIFY(edited);
        const QsoRecord r = *readRecordById(two.log(), 2);
        QCOMPARE(r.obs, QStringLiteral("it's a new grid"));
        QCOMPARE(r.m2, QStringLiteral("45"));
        QCOMPARE(r.operador, QStringLiteral("FF78AA"));
        QCOMPARE(r.modalidad, QStringLiteral("FF78AA"));
    }

    void savingAnEditedQsoKeepsStoredValuesLongerThanTheFields()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        ensureDefaultLog(home.folder());
        program.state.setCurrentLog(logAt(home.folder().defaultLog()));
        QsoRecord r = recordForInsert(QsoEntry{});
        r.estacion = QStringLiteral("EA4XYZ");
        r.myCall = QStringLiteral("LU1ABC");
        r.fecha = QStringLiteral("2024-06-01 12:00:00");
        r.hora = QStringLiteral("12:00");
        r.m3 = QStringLiteral("-12"); // one more character than the elevation field takes
        r.rste = QStringLiteral("5999");
        const qint64 id = insertQso(home.folder().defaultLog(), r);
        RecordEditorWindow editor(program.session);
        QVERIFY(editor.load(id, false));
        editor.save();
        QVERIFY(program.dialogs.shown.isEmpty());
        const QsoRecord saved = *readRecordById(home.folder().defaultLog(), id);
        QCOMPARE(saved.m3, QStringLiteral("-12"));
        QCOMPARE(saved.rste, QStringLiteral("5999"));
    }

    // The QSO was deleted while the editor showed it (an import, another editor): the save
    // says so and writes nothing. In a damaged log, neither a save nor a delete is made.
    void theEditorSaysWhatBecameOfItsSave()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        ensureDefaultLog(home.folder());
        program.state.setCurrentLog(logAt(home.folder().defaultLog()));
        addQso(home.folder().defaultLog(), "EA4XYZ", 1);
        RecordEditorWindow editor(program.session);
        QVERIFY(editor.load(1, false));
        QVERIFY(deleteRecord(home.folder().defaultLog(), 1));
        editor.save();
        QCOMPARE(program.dialogs.texts(),
                 QStringList{QStringLiteral("El QSO 1 ya no está en la Base de datos %1: fue eliminado mientras se "
                                            "editaba.\r\nNo se guardó nada.")
                                 .arg(home.folder().defaultLog())});
        QVERIFY(!newestQso(home.folder().defaultLog()));

        const QString damaged = test::damagedLog(home.folder(), QStringLiteral("old.mdb"), test::Damage::Garbled);
        const QByteArray bytes = test::readBytes(damaged);
        program.state.setCurrentLog(logAt(damaged));
        program.dialogs.shown.clear();
        QVERIFY(editor.load(1, false));
        editor.save();
        editor.remove(); // refused before its question is asked
        QCOMPARE(program.dialogs.shown.size(), 2);
        for (const auto &shown : program.dialogs.shown)
            QVERIFY(shown.text.startsWith(QStringLiteral("La Base de datos %1 está dañada:").arg(damaged)));
        QVERIFY(!program.dialogs.unexpected);
        QCOMPARE(test::readBytes(damaged), bytes);
    }

    void f1OpensTheNewestQsoWithTheOwnLocatorDistance()
    {
        Logged one({{"K1ABC", 3}});
        test::Program &program = one.program;
        MainWindow &window = *one.window;
        QTRY_COMPARE(window.lastRecordValues().first(), QStringLiteral("K1ABC"));
        RecordEditorWindow &editor = window.browser().editor();
        bool deleted = false;
        test::whenShown(editor, [&] {
            QCOMPARE(editor.windowTitle(), QStringLiteral("Registro 1"));
            QCOMPARE(editor.distanceText(), QStringLiteral("349º  8636 km"));
            program.dialogs.answers = {true};
            test::buttonCaptioned(editor, QStringLiteral("&Eliminar"))->click();
            deleted = true;
        });
        QTest::keyClick(&window.entry(), Qt::Key_F1);
        QVERIFY(deleted);
        QCOMPARE(program.dialogs.texts(),
                 (QStringList{QStringLiteral("Elimina QSO con K1ABC vía SO-50?"), QStringLiteral("Log vacío!")}));
        QVERIFY(!newestQso(one.log()));
        QCOMPARE(window.lastRecordValues().first(), QString());
    }

    void filterListsArriveWithoutTouchingWhatIsTyped()
    {
        Logged two;
        QTRY_COMPARE(two.window->lastRecordValues().first(), QStringLiteral("LU2XYZ"));
        BrowserWindow &browser = two.window->browser();
        bool checked = false;
        test::whenShown(browser, [&] {
            const auto hide = qScopeGuard([&] { browser.hide(); }); // also when a check fails
            QComboBox *satellite = captionedList(browser, QStringLiteral("Satélite"));
            QComboBox *locator = captionedList(browser, QStringLiteral("Grid Locator"));
            QTRY_COMPARE(entries(locator), (QStringList{"Todos", "FF78", "FN31PR"}));
            QCOMPARE(entries(satellite), (QStringList{"Todos", "SO-50"}));
            QCOMPARE(satellite->currentText(), QStringLiteral("Todos"));

            // The operator types into a list while a change of the log has the lists read
            // again: the typed text stays, and the new locator is offered.
            satellite->setFocus();
            satellite->lineEdit()->selectAll();
            QTest::keyClicks(satellite->lineEdit(), QStringLiteral("AO-9"));
            addQso(two.log(), "PY2AA", 3, "GG66");
            two.program.state.announceLogChanged();
            QTRY_COMPARE(entries(locator), (QStringList{"Todos", "FF78", "FN31PR", "GG66"}));
            QCOMPARE(satellite->currentText(), QStringLiteral("AO-9"));
            QCOMPARE(browser.frameCaption(), QStringLiteral("3 QSO(s)"));
            checked = true;
        });
        browser.open();
        QVERIFY(checked);
    }

    void aStoredQsoJoinsTheKeptListing()
    {
        Logged one({{"LU2XYZ", 2}});
        MainWindow &window = *one.window;
        QTRY_COMPARE(window.lastRecordValues().first(), QStringLiteral("LU2XYZ"));
        BrowserWindow &browser = window.browser();
        test::whenShown(browser, [&] { browser.hide(); });
        browser.open();
        QCOMPARE(browser.model().rowCount(), 1);

        addQso(one.log(), "PY2AA", 9); // stands for a save of the entry panel
        one.program.state.announceQsoStored(2);
        QCOMPARE(browser.model().rowCount(), 2);
        QCOMPARE(browser.frameCaption(), QStringLiteral("2 QSO(s)"));
        QCOMPARE(window.lastRecordValues().first(), QStringLiteral("PY2AA"));
    }

    void lotwExportOfAFilteredView()
    {
        Logged three({{"LU4AA", 3}, {"CE3ABC", 1}, {"LU2XYZ", 2}});
        test::Program &program = three.program;
        QTRY_COMPARE(three.window->lastRecordValues().first(), QStringLiteral("LU4AA"));
        BrowserWindow &browser = three.window->browser();
        const QString outputs = three.home.folder().outputsDir();
        const QString file = outputs + QStringLiteral("/pasada.adi");

        bool exported = false;
        test::whenShown(browser, [&] {
            QTest::keyClicks(test::captionedEdit(browser, QStringLiteral("Estación")), QStringLiteral("lu"));
            test::buttonCaptioned(browser, QStringLiteral("Buscar ..."))->click();
            QCOMPARE(browser.model().rowCount(), 2);
            program.dialogs.files = {file};
            QPushButton *lotw = test::buttonCaptioned(browser, QStringLiteral("ADIF LoTW"));
            QVERIFY(lotw && lotw->isEnabled());
            QTest::mouseClick(lotw, Qt::LeftButton);
            exported = true;
            browser.hide();
        });
        browser.open();
        QVERIFY(exported);
        QCOMPARE(program.dialogs.proposedPaths,
                 QStringList{outputs + QStringLiteral("/LU1ABC_LoTW")});
        const QByteArray adif = test::readBytes(file);
        QCOMPARE(adif.count("<EOR>"), 2);
        QVERIFY(adif.indexOf("<CALL:6>LU2XYZ") < adif.indexOf("<CALL:5>LU4AA"));
        QVERIFY(!adif.contains("CE3ABC"));
        QCOMPARE(program.dialogs.texts().last(),
                 QStringLiteral("El archivo ADIF para LoTW: pasada.adi fue guardado con 2 QSO(s)"));
    }
    // Tab leaves the grid for the filters, Enter in a filter lists, Enter on a row opens its QSO
    // with the cursor in the station field.
    void theBrowserAnswersTheKeyboard()
    {
        Logged two;
        QTRY_COMPARE(two.window->lastRecordValues().first(), QStringLiteral("LU2XYZ"));
        BrowserWindow &browser = two.window->browser();
        RecordEditorWindow &editor = browser.editor();
        bool checked = false, edited = false;
        test::whenShown(browser, [&] {
            const auto hide = qScopeGuard([&] { browser.hide(); });
            QTableView &grid = browser.grid();
            grid.setFocus();
            QTest::keyClick(&grid, Qt::Key_Tab);
            QVERIFY(!grid.hasFocus());
            QVERIFY(browser.isAncestorOf(QApplication::focusWidget()));

            QLineEdit *station = test::captionedEdit(browser, QStringLiteral("Estación"));
            QTest::keyClicks(station, QStringLiteral("ce3"));
            QTest::keyClick(station, Qt::Key_Return);
            QCOMPARE(browser.frameCaption(), QStringLiteral("Filtro >Estación: CE3  <1 QSO(s)>"));
            station->clear();
            QComboBox *satellite = captionedList(browser, QStringLiteral("Satélite"));
            satellite->setFocus();
            satellite->setEditText(QStringLiteral("AO-91"));
            QTest::keyClick(satellite->lineEdit(), Qt::Key_Enter);
            QCOMPARE(browser.frameCaption(), QStringLiteral("Filtro >Satélite: AO-91  <0 QSO(s)>"));
            satellite->setEditText(QStringLiteral("Todos"));
            QTest::keyClick(satellite->lineEdit(), Qt::Key_Return);
            QCOMPARE(browser.model().rowCount(), 2);

            test::whenShown(editor, [&] {
                QCOMPARE(editor.windowTitle(), QStringLiteral("Registro 1"));
                QVERIFY(test::captionedEdit(editor, QStringLiteral("Estación Trabajada"))->hasFocus());
                edited = true;
                editor.cancel();
            });
            grid.setFocus();
            grid.setCurrentIndex(grid.model()->index(1, 4)); // LU2XYZ, of the 2nd
            QTest::keyClick(&grid, Qt::Key_Return);
            QVERIFY(edited);
            checked = true;
        });
        browser.open();
        QVERIFY(checked);
    }
};

QTEST_MAIN(TestBrowser)
#include "tst_ui_browser.moc"
