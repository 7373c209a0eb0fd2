// The program as the operator meets it: the first start, later starts, the language switch and
// leaving, driven through the real windows (offscreen).
#include "common/appstate.h"
#include "common/dates.h"
#include "config/configfile.h"
#include "config/configwindow.h"
#include "keyer/keyport.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/lognamewidget.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/session.h"
#include "uisupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace vorta;

namespace {

// The configuration file's lines that name the current log.
QByteArray baseLines(const test::TempHome &home)
{
    QByteArray lines;
    for (const QByteArray &line : test::readBytes(home.folder().configFile()).split('\n'))
        if (line.startsWith("Base"))
            lines += line + '\n';
    return lines;
}

// A QSO with station on SO-50, orbit 777, on 02/01/2024 at 03:04.
void addQso(const QString &log, const char *station)
{
    QsoEntry e;
    e.station = QString::fromLatin1(station);
    e.uplinkFreq = QStringLiteral("145.9");
    e.downlinkFreq = QStringLiteral("435.8");
    e.satellite = QStringLiteral("SO-50");
    e.orbit = QStringLiteral("777");
    e.utc = QDateTime(QDate(2024, 1, 2), QTime(3, 4), Qt::UTC);
    insertQso(log, recordForInsert(e));
}

Settings onLog(const QString &path)
{
    Settings settings = test::stationSettings();
    settings.basePath = path;
    settings.baseName = QFileInfo(path).fileName();
    return settings;
}

} // namespace


class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void firstStartAsksForTheSettingsBeforeAnythingElse()
    {
        test::TempHome home;
        test::Running run(home);
        auto &[program, window] = run;
        QCOMPARE(window.windowTitle(), QStringLiteral("Vorta Versión 1.0.15"));

        bool checked = false;
        test::whenShown(window.configWindow(), [&] {
            ConfigWindow &config = window.configWindow();
            QVERIFY(!test::buttonCaptioned(config, QStringLiteral("&Cancelar"))->isEnabled());
            config.close(); // the close box refuses
            QVERIFY(config.isVisible());
            QTest::keyClick(&config, Qt::Key_Escape); // so does Escape on the first run
            QVERIFY(config.isVisible());
            QLineEdit *utc = test::namedEdit(config, QStringLiteral("Diferencia UTC"));
            QCOMPARE(utc->text(), utcOffsetText(systemUtcOffsetMinutes()));
            // Accept without a call sign is refused with its message.
            test::buttonCaptioned(config, QStringLiteral("&Aceptar"))->click();
            QCOMPARE(program.dialogs.texts().last(), QStringLiteral("Debe indicar su Indicativo!"));
            QVERIFY(config.isVisible());
            QVERIFY(!QFile::exists(home.folder().configFile()));
            QTest::keyClicks(test::namedEdit(config, QStringLiteral("Estación")), QStringLiteral("lu1abc"));
            QTest::keyClicks(test::namedEdit(config, QStringLiteral("Grid Locator")), QStringLiteral("gf-05tj"));
            QCOMPARE(test::namedEdit(config, QStringLiteral("Grid Locator"))->text(), QStringLiteral("GF05TJ"));
            utc->setText(QStringLiteral("-3"));
            test::buttonCaptioned(config, QStringLiteral("&Aceptar"))->click();
            checked = true;
        });
        QTRY_VERIFY(checked);
        QTRY_VERIFY(QFile::exists(home.folder().defaultLog()));
        QCOMPARE(test::readBytes(home.folder().defaultLog()), test::readBytes(home.folder().templateFile()));
        const QByteArray ini = test::readBytes(home.folder().configFile());
        QCOMPARE(ini.count("\r\n"), 13);
        QVERIFY(ini.startsWith("MiCall=LU1ABC\r\nOrbitron=0\r\nUTC_DIF=-3\r\nBase=" + home.folder().defaultLog().toUtf8()
                               + "\r\nBaseN=base1.mdb\r\nGridLoc=GF05TJ\r\nIdioma=Espa\xF1ol\r\n"));
        QVERIFY(!program.state.firstRun());
        QCOMPARE(program.state.settings().utcOffsetMinutes(), -180);
        QCOMPARE(program.state.currentLog().path, home.folder().defaultLog());
        QCOMPARE(window.lastRecordValues(), QStringList(6, QString()));
        QVERIFY(!program.dialogs.unexpected);
    }

    // A first run whose settings the disk refuses can still be left: the settings hold for the
    // run, and Cancel leads on to the main window.
    void aFirstRunOnAFullDiskCanBeLeft()
    {
        test::SmallDisk disk;
        if (disk.path().isEmpty())
            QSKIP("a small file system cannot be mounted here (it needs root)");
        const DataFolder folder(disk.path(), QStringLiteral(VORTA_TEST_SHARE_DIR));
        QCOMPARE(folder.prepare(), QString());
        disk.fill();
        AppState state(folder);
        test::ScriptedDialogs dialogs;
        KeyPort keyPort;
        Session session(state, dialogs, keyPort);
        MainWindow window(session);
        window.show();
        bool left = false;
        test::whenShown(window.configWindow(), [&] {
            ConfigWindow &config = window.configWindow();
            QTest::keyClicks(test::namedEdit(config, QStringLiteral("Estación")), QStringLiteral("lu1abc"));
            test::buttonCaptioned(config, QStringLiteral("&Aceptar"))->click();
            QVERIFY(config.isVisible());
            QVERIFY(dialogs.texts().last().startsWith(QStringLiteral("No se pudo guardar la configuración")));
            QPushButton *cancel = test::buttonCaptioned(config, QStringLiteral("&Cancelar"));
            QVERIFY(cancel->isEnabled());
            cancel->click();
            left = !config.isVisible();
        });
        QTRY_VERIFY(left);
        QTRY_VERIFY(!state.firstRun());
        QCOMPARE(state.settings().callSign, QStringLiteral("LU1ABC"));
    }

    void laterStartShowsTheLastQsoOfTheConfiguredLog()
    {
        test::TempHome home;
        const QString log = home.folder().basesDir() + QStringLiteral("/mine.mdb");
        QCOMPARE(copyTemplate(home.folder(), log), QString());
        addQso(log, "LU2XYZ");
        Settings settings = onLog(log);
        settings.language = QStringLiteral("English");
        test::Running run(home, settings);
        auto &[program, window] = run;
        QCOMPARE(test::caption(window.menuBar()->actions().first()), QStringLiteral("File"));
        QTRY_COMPARE(window.lastRecordValues(), (QStringList{"LU2XYZ", "02/01/2024", "03:04", "145.900", "SO-50", "777"}));
        QVERIFY(!window.configWindow().isVisible());
        // The log the QSOs go into, by name; its whole path for the tool tip and screen readers.
        const auto labels = window.findChildren<QLabel *>();
        const auto logName = std::find_if(labels.begin(), labels.end(), [](QLabel *l) { return l->text() == "mine.mdb"; });
        QVERIFY(logName != labels.end());
        QCOMPARE((*logName)->accessibleName(), QStringLiteral("Data Base: mine.mdb"));
        QCOMPARE((*logName)->accessibleDescription(), log);
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void languageChoiceRecaptionsAtOnce()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QCOMPARE(test::caption(window.menuBar()->actions().first()), QStringLiteral("Archivo"));

        bool done = false;
        test::whenShown(window.configWindow(), [&] {
            ConfigWindow &config = window.configWindow();
            QComboBox *languages = nullptr;
            for (QComboBox *combo : config.findChildren<QComboBox *>())
                if (combo->findText(QStringLiteral("English")) >= 0)
                    languages = combo;
            languages->setFocus();
            QTest::keyClick(languages, Qt::Key_Down); // Español -> English
            QCOMPARE(languages->currentText(), QStringLiteral("English"));
            QCOMPARE(config.windowTitle(), QStringLiteral("Settings"));
            QCOMPARE(test::caption(window.menuBar()->actions().first()), QStringLiteral("File"));
            QVERIFY(test::buttonCaptioned(config, QStringLiteral("&Acept")));
            QTest::keyClick(languages, Qt::Key_Down); // English -> Portugues
            QCOMPARE(config.windowTitle(), QStringLiteral("configurações"));
            QCOMPARE(test::caption(window.menuBar()->actions().first()), QStringLiteral("Arquivo"));
            QTest::keyClick(&config, Qt::Key_Escape); // leaves without saving
            done = true;
        });
        window.showConfiguration();
        QTRY_VERIFY(done);
        QVERIFY(!window.configWindow().isVisible());
        QCOMPARE(program.state.language(), Language::Portuguese);
        QVERIFY(test::readBytes(home.folder().configFile()).contains("Idioma=Espa\xF1ol"));
    }

    void exitAsksAndSavesOnlyOnYes()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        QFile::remove(home.folder().configFile());

        program.dialogs.answers = {false};
        window.close();
        QVERIFY(window.isVisible());
        QCOMPARE(program.dialogs.shown.last().text, QStringLiteral("Sale de Vorta?"));
        QCOMPARE(program.dialogs.shown.last().icon, Icon::Question);
        QVERIFY(!QFile::exists(home.folder().configFile()));

        program.dialogs.answers = {true};
        window.close();
        QVERIFY(!window.isVisible());
        const QByteArray ini = test::readBytes(home.folder().configFile());
        QVERIFY(ini.contains("BaseN=base1.mdb\r\n"));
        QVERIFY(!program.dialogs.unexpected);
    }

    // A log on a disk not yet mounted: the operator is told once where the QSOs go, the window
    // names that log, and the configuration keeps the missing one until another is chosen.
    void aMissingLogIsNamedAndStaysConfigured()
    {
        test::TempHome home;
        const QString gone = QStringLiteral("/media/usb/vorta/mine.mdb");
        test::Running run(home, onLog(gone));
        auto &[program, window] = run;
        QTRY_COMPARE(program.dialogs.shown.size(), 1);
        QCOMPARE(program.dialogs.shown[0].text,
                 QStringLiteral("No se encuentra la Base de datos %1!\r\nLos QSOs se guardarán en %2 mientras no "
                                "vuelva a estar disponible; Vorta la buscará de nuevo en el próximo inicio.")
                     .arg(gone, home.folder().defaultLog()));
        QCOMPARE(program.dialogs.shown[0].icon, Icon::Exclamation);
        const LogNameWidget *name = window.findChild<LogNameWidget *>();
        QCOMPARE(name->fileName(), QStringLiteral("base1.mdb"));
        QCOMPARE(name->fullPath(), home.folder().defaultLog());
        QVERIFY(program.session.saveConfiguration(program.state.settings()));
        QCOMPARE(baseLines(home), "Base=" + gone.toUtf8() + "\r\nBaseN=mine.mdb\r\n");

        // Opening a log by hand is the operator's choice: from now on the file names it.
        program.dialogs.files = {home.folder().defaultLog()};
        window.openLog();
        program.dialogs.answers = {true};
        window.close();
        QCOMPARE(baseLines(home), "Base=" + home.folder().defaultLog().toUtf8() + "\r\nBaseN=base1.mdb\r\n");
        QCOMPARE(program.dialogs.shown.size(), 2); // and the exit question
    }

    // A backup tool holding the log: it is waited for, then named once, and stays the log.
    void aLockedLogIsWaitedForAndKept()
    {
        test::TempHome home;
        const QString log = home.folder().basesDir() + QStringLiteral("/mine.mdb");
        copyTemplate(home.folder(), log);
        addQso(log, "LU2XYZ");
        test::Program program(home, onLog(log));
        db::Database other(log, db::Database::Mode::ReadWrite);
        other.exec("BEGIN EXCLUSIVE");
        MainWindow window(program.session);
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(program.dialogs.shown.size(), 1, 15000);
        QCOMPARE(program.dialogs.shown[0].text,
                 QStringLiteral("La Base de datos %1 está bloqueada por otro programa!\r\nSigue siendo la Base de "
                                "datos actual; si un QSO no se puede guardar, intente de nuevo cuando la libere.")
                     .arg(log));
        QCOMPARE(program.state.currentLog().path, log);
        QCOMPARE(window.findChild<LogNameWidget *>()->fileName(), QStringLiteral("mine.mdb"));
        QVERIFY(!QFile::exists(home.folder().defaultLog()));
        other.exec("ROLLBACK");
        window.refreshLastRecord();
        QCOMPARE(window.lastRecordValues().first(), QStringLiteral("LU2XYZ"));
        QCOMPARE(program.dialogs.shown.size(), 1);
    }

    // A damaged log is named at start and refuses the QSO typed next, which stays on screen,
    // until a new log is created.
    void aDamagedLogIsReportedAndTakesNoQso()
    {
        test::TempHome home;
        const QString damaged = test::damagedLog(home.folder(), QStringLiteral("old.mdb"), test::Damage::Garbled);
        const QByteArray bytes = test::readBytes(damaged);
        Settings settings = onLog(damaged);
        settings.language = QStringLiteral("Portugues");
        test::Running run(home, settings);
        auto &[program, window] = run;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE(program.dialogs.shown.size(), 1);
        const QString message = program.dialogs.shown[0].text;
        QVERIFY(message.startsWith(QStringLiteral("O Banco de dados %1 está danificado:\r\n").arg(damaged)));
        QVERIFY(message.endsWith(QStringLiteral("nenhum QSO será gravado nele até que abra ou crie outro Banco de dados.")));

        EntryWidget &entry = window.entry();
        entry.setSatellite(QStringLiteral("SO-50"));
        entry.setUplink(QStringLiteral("145.850"));
        entry.setDownlink(QStringLiteral("436.795"));
        QLineEdit *station = test::captionedEdit(entry, QStringLiteral("Estação:"));
        QTest::keyClicks(station, QStringLiteral("LU2XYZ"));
        QTest::keyClick(station, Qt::Key_Return);
        QCOMPARE(program.dialogs.texts(), (QStringList{message, message}));
        QCOMPARE(station->text(), QStringLiteral("LU2XYZ"));
        QCOMPARE(test::readBytes(damaged), bytes);

        program.dialogs.files = {home.folder().basesDir() + QStringLiteral("/new.mdb")};
        window.newLog();
        QTest::keyClick(station, Qt::Key_Return);
        QCOMPARE(newestQso(home.folder().basesDir() + QStringLiteral("/new.mdb"))->estacion, QStringLiteral("LU2XYZ"));
    }

    // A configuration that yields nothing (here one emptied by an earlier full disk) is kept
    // aside and the settings are asked for as on a first start.
    void aConfigurationIsNeverOverwrittenUnread()
    {
        test::TempHome home;
        test::writeBytes(home.folder().configFile(), QByteArray());
        test::Running run(home);
        auto &[program, window] = run;
        QCOMPARE(program.dialogs.texts(),
                 QStringList{QStringLiteral("El archivo de configuración %1 no contiene ningún valor de Vorta.\r\n"
                                            "Se guardó aparte como %1.bad; indique de nuevo su configuración.")
                                 .arg(home.folder().configFile())});
        bool asked = false;
        test::whenShown(window.configWindow(), [&] {
            asked = true;
            QTest::keyClicks(test::namedEdit(window.configWindow(), QStringLiteral("Estación")), QStringLiteral("lu1abc"));
            test::buttonCaptioned(window.configWindow(), QStringLiteral("&Aceptar"))->click();
        });
        QTRY_VERIFY(asked);
        QTRY_VERIFY(!program.state.firstRun());
        QVERIFY(test::readBytes(home.folder().configFile()).startsWith("MiCall=LU1ABC\r\n"));
        QVERIFY(QFile::exists(home.folder().configFile() + QStringLiteral(".bad")));
    }

    // Stored values longer than what the configuration window lets one type are shown whole:
    // Accept must neither write them cut nor let a cut locator pass its check.
    void theConfigurationWindowNeverCutsAStoredValue()
    {
        test::TempHome home;
        Settings settings = test::stationSettings(QStringLiteral("GF05TJ42"));
        settings.callSign = QStringLiteral("LU1ABC/MM/ANTARCTICA/BASE");
        settings.macros[0].caption = QStringLiteral("CQ satellite call");
        test::Program program(home, settings);
        MainWindow window(program.session);
        bool done = false;
        test::whenShown(window.configWindow(), [&] {
            ConfigWindow &config = window.configWindow();
            QLineEdit *locator = test::namedEdit(config, QStringLiteral("Grid Locator"));
            QCOMPARE(locator->text(), QStringLiteral("GF05TJ42"));
            QCOMPARE(test::namedEdit(config, QStringLiteral("Estación"))->text(), settings.callSign);
            QCOMPARE(test::namedEdit(config, QStringLiteral("Título F5"))->text(), QStringLiteral("CQ satellite call"));
            test::buttonCaptioned(config, QStringLiteral("&Aceptar"))->click();
            QCOMPARE(program.dialogs.texts().last(), QStringLiteral("Error en Grid Locator!\r\nFormato es LLNNLL o LLNN"));
            QVERIFY(config.isVisible());
            QVERIFY(test::readBytes(home.folder().configFile()).contains("GridLoc=GF05TJ42\r\n"));
            locator->setText(QStringLiteral("GF05TJ"));
            test::buttonCaptioned(config, QStringLiteral("&Aceptar"))->click();
            done = true;
        });
        window.showConfiguration();
        QVERIFY(done);
        const QByteArray ini = test::readBytes(home.folder().configFile());
        QVERIFY(ini.startsWith("MiCall=LU1ABC/MM/ANTARCTICA/BASE\r\n"));
        QVERIFY(ini.contains("GridLoc=GF05TJ\r\n"));
        QVERIFY(ini.contains("Macro5=CQ satellite call;"));
    }

    void newAndOpenLogRefreshThePanel()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        addQso(home.folder().defaultLog(), "CE3ABC");

        const QString fresh = home.folder().basesDir() + QStringLiteral("/new.mdb");
        program.dialogs.files = {fresh};
        window.newLog();
        QCOMPARE(program.state.currentLog().name, QStringLiteral("new.mdb"));
        QCOMPARE(window.lastRecordValues().first(), QString());

        program.dialogs.files = {home.folder().defaultLog()};
        window.openLog();
        QCOMPARE(program.state.currentLog().name, QStringLiteral("base1.mdb"));
        QCOMPARE(window.lastRecordValues().first(), QStringLiteral("CE3ABC"));
        QVERIFY(!program.dialogs.unexpected);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_ui_startup.moc"
