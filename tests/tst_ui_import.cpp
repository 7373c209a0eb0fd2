// The import window as the operator uses it: "Importar ADIF" in the Archivo menu, the load
// button, the refreshed last-record panel, and closing the window midway.
#include "adifsamples.h"
#include "import/importwindow.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "mainwindow/mainwindow.h"
#include "uisupport.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>

using namespace vorta;

namespace {

QAction *menuEntry(MainWindow &window, const QString &caption)
{
    for (QAction *menu : window.menuBar()->actions())
        if (menu->menu())
            for (QAction *entry : menu->menu()->actions())
                if (test::caption(entry) == caption)
                    return entry;
    return nullptr;
}

QString writeFile(const test::TempHome &home, const char *name, const QString &text)
{
    const QString path = home.folder().outputsDir() + u'/' + QLatin1String(name);
    test::writeBytes(path, text.toUtf8());
    return path;
}

} // namespace

class TestUiImport : public QObject
{
    Q_OBJECT
private slots:
    void importThroughTheMenuAndLoad()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        ensureDefaultLog(home.folder());
        QsoRecord mine;
        mine.estacion = QStringLiteral("PY2XYZ");
        mine.myCall = QStringLiteral("LU1ABC");
        mine.satelite = QStringLiteral("AO-91");
        mine.modoU = QStringLiteral("FM");
        mine.fecha = QStringLiteral("2024-01-31 13:47:00");
        mine.hora = QStringLiteral("13:47");
        insertQso(home.folder().defaultLog(), mine);
        MainWindow window(program.session);
        window.show();
        QTRY_COMPARE(window.lastRecordValues()[2], QStringLiteral("13:47"));
        program.state.setBands(QStringLiteral("2m"), QStringLiteral("70cm"));

        program.dialogs.files << writeFile(home, "lotwreport.adi", test::lotwReport());
        QAction *entry = menuEntry(window, QStringLiteral("Importar ADIF"));
        QVERIFY(entry);
        entry->trigger();
        ImportWindow &import = window.importWindow();
        QCOMPARE(program.dialogs.fileTitles, QStringList{QStringLiteral("Importar ADIF ...")});
        QVERIFY(import.isVisible());
        QCOMPARE(import.windowTitle(), QStringLiteral("lotwreport.adi"));
        QTRY_VERIFY(import.loadButton().isEnabled());
        QCOMPARE(import.loadButton().text(), QStringLiteral("Cargar en base base1"));
        QCOMPARE(import.progressBar().value(), 1000);
        QVERIFY(import.logView().toPlainText().contains(QStringLiteral("  QSOs DUP: 1 (serán reemplazados)")));

        QTest::mouseClick(&import.loadButton(), Qt::LeftButton);
        QTRY_VERIFY(import.logView().toPlainText().endsWith(QStringLiteral("Se cargaron: 2 QSO(s)!")));
        QVERIFY(!import.loadButton().isEnabled());
        // The panel shows the confirmed QSO with the time of the file.
        QTRY_COMPARE(window.lastRecordValues()[2], QStringLiteral("13:45"));
        QTRY_VERIFY_WITH_TIMEOUT(!import.isVisible(), 6000);
        // The entry panel's bands are its own.
        QCOMPARE(program.state.uplinkBand(), QStringLiteral("2m"));
        QCOMPARE(program.state.downlinkBand(), QStringLiteral("70cm"));
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    // A damaged log takes no import: the operator is told and no file is asked for.
    void aDamagedLogRefusesTheImport()
    {
        test::TempHome home;
        Settings settings = test::stationSettings();
        settings.basePath = test::damagedLog(home.folder(), QStringLiteral("roto.mdb"), test::Damage::Truncated);
        settings.baseName = QStringLiteral("roto.mdb");
        test::Running run(home, settings);
        auto &[program, window] = run;
        QTRY_VERIFY(!program.dialogs.texts().isEmpty()); // told at start
        program.dialogs.files << writeFile(home, "lotwreport.adi", test::lotwReport());
        const qsizetype before = program.dialogs.texts().size();
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QVERIFY(program.dialogs.fileTitles.isEmpty());
        QVERIFY(!window.importWindow().isVisible());
        QVERIFY(program.dialogs.texts().size() > before);
        QVERIFY(program.dialogs.texts().last().contains(QStringLiteral("roto.mdb")));
    }

    // The load writes into the log the file was staged in, whichever log is current by then, and
    // it is that log whose damage stops the load.
    void theLoadGoesIntoTheLogStagedIn()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        const CurrentLog staged = program.state.currentLog();
        ImportWindow &import = window.importWindow();
        const QString file = writeFile(home, "lotwreport.adi", test::lotwReport());

        program.dialogs.files << file;
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QTRY_VERIFY(import.loadButton().isEnabled());
        program.state.setCurrentLog(logAt(test::damagedLog(home.folder(), QStringLiteral("roto.mdb"), test::Damage::Truncated)));
        QTest::mouseClick(&import.loadButton(), Qt::LeftButton);
        QTRY_VERIFY(import.logView().toPlainText().endsWith(QStringLiteral("Se cargaron: 2 QSO(s)!")));
        QVERIFY(lastQso(staged.path));

        program.state.setCurrentLog(staged);
        program.dialogs.files << file;
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QTRY_VERIFY(import.loadButton().isEnabled());
        const QString other = home.folder().basesDir() + QStringLiteral("/otra.mdb");
        QVERIFY(copyTemplate(home.folder(), other).isEmpty());
        program.state.setCurrentLog(logAt(other));
        const QString damaged = test::damagedLog(home.folder(), QStringLiteral("roto2.mdb"), test::Damage::Truncated);
        QVERIFY(QFile::remove(staged.path) && QFile::copy(damaged, staged.path));
        program.dialogs.shown.clear();
        QTest::mouseClick(&import.loadButton(), Qt::LeftButton);
        QCOMPARE(program.dialogs.shown.size(), 1);
        QCOMPARE(program.dialogs.shown[0].icon, Icon::Critical);
        QVERIFY(program.dialogs.shown[0].text.contains(staged.name));
        QVERIFY(!import.import().busy());
        QVERIFY(!import.logView().toPlainText().endsWith(QStringLiteral("Se cargaron: 2 QSO(s)!")));
    }

    void closingMidwayLoadsNothing()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        ImportWindow &import = window.importWindow();

        // Cancelling the file dialog ends the import quietly.
        program.dialogs.files << std::nullopt;
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QVERIFY(!import.isVisible());

        program.dialogs.files << writeFile(home, "big.adi", test::loggerFile(20000));
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QVERIFY(import.isVisible());
        QTest::keyClick(&import, Qt::Key_Escape);
        QVERIFY(!import.isVisible());
        // Asked for again at once, while the stopped reading winds down: the new file is read.
        program.dialogs.files << writeFile(home, "small.adi", test::loggerFile(3));
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QVERIFY(import.isVisible());
        QCOMPARE(import.windowTitle(), QStringLiteral("small.adi"));
        QTRY_VERIFY(import.loadButton().isEnabled());
        QTest::keyClick(&import, Qt::Key_Escape);
        QTRY_VERIFY(!import.import().busy());
        QVERIFY(!lastQso(program.state.currentLog().path));
        QVERIFY(program.dialogs.shown.isEmpty());

        // Closing the window during the load stops it, and says so.
        program.dialogs.files << writeFile(home, "big.adi", test::loggerFile(20000));
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(import.loadButton().isEnabled(), 20000);
        QTest::mouseClick(&import.loadButton(), Qt::LeftButton);
        QVERIFY(import.import().busy());
        QTest::keyClick(&import, Qt::Key_Escape);
        QVERIFY(!import.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!import.import().busy(), 20000);
        const QString told = QStringLiteral("Carga cancelada: la Base de datos base1.mdb quedó como estaba, no se cargó "
                                            "ningún QSO.");
        QCOMPARE(program.dialogs.texts(), QStringList{told});
        QVERIFY(import.logView().toPlainText().endsWith(told));
        QVERIFY(!lastQso(program.state.currentLog().path));
        QVERIFY(!import.isVisible());
        QVERIFY(!program.dialogs.unexpected);
    }
};

QTEST_MAIN(TestUiImport)
#include "tst_ui_import.moc"
