// The program as the operator meets it: the first start, later starts, the language switch and
// leaving, driven through the real windows (offscreen).
#include "common/appstate.h"
#include "common/dates.h"
#include "config/configfile.h"
#include "config/configwindow.h"
#include "keyer/keyport.h"
#include "logdb/logdatabase.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/session.h"
#include "uisupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vorta;


class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void firstStartAsksForTheSettingsBeforeAnythingElse()
    {
        test::TempHome home;
        test::Program program(home);
        MainWindow window(program.session);
        window.show();
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

    void laterStartShowsTheLastQsoOfTheConfiguredLog()
    {
        test::TempHome home;
        const QString log = home.folder().basesDir() + QStringLiteral("/mine.mdb");
        QCOMPARE(copyTemplate(home.folder(), log), QString());
        QsoEntry e;
        e.station = QStringLiteral("LU2XYZ");
        e.uplinkFreq = QStringLiteral("145.9");
        e.downlinkFreq = QStringLiteral("435.8");
        e.satellite = QStringLiteral("SO-50");
        e.orbit = QStringLiteral("777");
        e.utc = QDateTime(QDate(2024, 1, 2), QTime(3, 4), Qt::UTC);
        insertQso(log, recordForInsert(e));
        Settings settings = test::stationSettings();
        settings.basePath = log;
        settings.baseName = QStringLiteral("mine.mdb");
        settings.language = QStringLiteral("English");
        test::Program program(home, settings);
        MainWindow window(program.session);
        window.show();
        QCOMPARE(window.menuBar()->actions().first()->text(), QStringLiteral("File"));
        QTRY_COMPARE(window.lastRecordValues(), (QStringList{"LU2XYZ", "02/01/2024", "03:04", "145.900", "SO-50", "777"}));
        QVERIFY(!window.configWindow().isVisible());
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void languageChoiceRecaptionsAtOnce()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        MainWindow window(program.session);
        window.show();
        QCOMPARE(window.menuBar()->actions().first()->text(), QStringLiteral("Archivo"));

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
            QCOMPARE(window.menuBar()->actions().first()->text(), QStringLiteral("File"));
            QVERIFY(test::buttonCaptioned(config, QStringLiteral("&Acept")));
            QTest::keyClick(languages, Qt::Key_Down); // English -> Portugues
            QCOMPARE(config.windowTitle(), QStringLiteral("configurações"));
            QCOMPARE(window.menuBar()->actions().first()->text(), QStringLiteral("Arquivo"));
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
        test::Program program(home, test::stationSettings());
        MainWindow window(program.session);
        window.show();
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

    void newAndOpenLogRefreshThePanel()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        MainWindow window(program.session);
        window.show();
        QTRY_VERIFY(!program.state.currentLog().path.isEmpty());
        QsoEntry e;
        e.station = QStringLiteral("CE3ABC");
        e.utc = QDateTime(QDate(2024, 1, 2), QTime(3, 4), Qt::UTC);
        insertQso(home.folder().defaultLog(), recordForInsert(e));

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
