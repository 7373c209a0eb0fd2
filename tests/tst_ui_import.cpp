// The import window as the operator uses it: "Importar ADIF" in the Archivo menu, the load
// button, the refreshed last-record panel, and closing the window midway.
#include "adifsamples.h"
#include "import/importwindow.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "mainwindow/mainwindow.h"
#include "uisupport.h"

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
        test::Program program(home, settings);
        MainWindow window(program.session);
        window.show();
        QTRY_VERIFY(!program.dialogs.texts().isEmpty()); // told at start
        program.dialogs.files << writeFile(home, "lotwreport.adi", test::lotwReport());
        const qsizetype before = program.dialogs.texts().size();
        menuEntry(window, QStringLiteral("Importar ADIF"))->trigger();
        QVERIFY(program.dialogs.fileTitles.isEmpty());
        QVERIFY(!window.importWindow().isVisible());
        QVERIFY(program.dialogs.texts().size() > before);
        QVERIFY(program.dialogs.texts().last().contains(QStringLiteral("roto.mdb")));
    }

    void closingMidwayLoadsNothing()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        MainWindow window(program.session);
        window.show();
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
        QTRY_VERIFY(!import.import().busy());
        QVERIFY(!import.loadButton().isEnabled());
        QVERIFY(!lastQso(program.state.currentLog().path));
        QVERIFY(program.dialogs.shown.isEmpty());
        QVERIFY(!program.dialogs.unexpected);
    }
};

QTEST_MAIN(TestUiImport)
#include "tst_ui_import.moc"
