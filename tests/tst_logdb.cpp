// The log database: what an entry stores, the last QSO, and choosing, making and opening logs.
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>

#include <cerrno>
#include <cstring>
#include <optional>

using namespace vorta;

namespace {

QsoEntry entry(const char *station, QDateTime utc)
{
    QsoEntry e;
    e.station = QString::fromLatin1(station);
    e.uplinkMode = QStringLiteral("FM");
    e.downlinkMode = QStringLiteral("FM");
    e.uplinkFreq = QStringLiteral("145,9");
    e.downlinkFreq = QStringLiteral("435.8");
    e.reportSent = QStringLiteral("59");
    e.reportReceived = QStringLiteral("57");
    e.satellite = QStringLiteral("so-50");
    e.orbit = QStringLiteral("12345");
    e.utc = utc;
    e.myCall = QStringLiteral("lu1abc");
    e.myLocator = QStringLiteral("GF05TJ");
    return e;
}

QDateTime at(int day, int hour, int minute)
{
    return QDateTime(QDate(2024, 5, day), QTime(hour, minute, 42), Qt::UTC);
}

} // namespace

class TestLogDb : public QObject
{
    Q_OBJECT
private slots:
    void insertEncodesTheEntry()
    {
        test::TempHome home;
        QCOMPARE(ensureDefaultLog(home.folder()), QString());
        const QString log = home.folder().defaultLog();
        QsoEntry e = entry("lu2xyz", at(3, 22, 7));
        e.locator = QStringLiteral("FF78");
        e.notes = QStringLiteral("it's fine");
        e.azimuth = QStringLiteral("254.6");
        e.elevation = QStringLiteral("-3.2");
        const qint64 id = insertQso(log, recordForInsert(e));
        const QsoRecord r = *newestQso(log);
        QCOMPARE(r.id, id);
        QCOMPARE(r.frecU, QStringLiteral("145.900"));
        QCOMPARE(r.frecD, QStringLiteral("435.800"));
        QCOMPARE(r.estacion, QStringLiteral("LU2XYZ"));
        QCOMPARE(r.myCall, QStringLiteral("LU1ABC"));
        QCOMPARE(r.satelite, QStringLiteral("SO-50"));
        QCOMPARE(r.fecha, QStringLiteral("2024-05-03 22:07:00"));
        QCOMPARE(r.hora, QStringLiteral("22:07"));
        QCOMPARE(r.qsle, QStringLiteral("0"));
        QCOMPARE(r.qslr, QStringLiteral("0"));
        QVERIFY(r.modalidad.isNull());
        QCOMPARE(r.nombreLog, QStringLiteral("GF05TJ"));
        QCOMPARE(r.operador, QStringLiteral("FF78"));
        QCOMPARE(r.obs, QStringLiteral("it's fine"));
        QCOMPARE(r.m2, QStringLiteral("254"));
        QCOMPARE(r.m3, QString(QLatin1String("")));
    }

    void elevationAndAzimuthRules_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("azimuth");
        QTest::addColumn<QString>("elevation");
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("fraction") << "12.9" << "12" << "12";
        QTest::newRow("whole") << "-3" << "" << "-3";
        QTest::newRow("negative fraction") << "-3.2" << "" << "";
        QTest::newRow("limits") << "90" << "90" << "90";
        QTest::newRow("below the horizon") << "-90" << "" << "-90";
        QTest::newRow("north again") << "360" << "0" << "";
        QTest::newRow("just under north") << "359.99" << "359" << "";
        // What no tracker should send is not stored at all, rather than a value the record
        // editor then refuses.
        QTest::newRow("west of north") << "-45" << "" << "-45";
        QTest::newRow("past north") << "360.1" << "" << "";
        QTest::newRow("past the zenith") << "90.5" << "90" << "";
        QTest::newRow("infinity") << "inf" << "" << "";
        QTest::newRow("not a number") << "nan" << "" << "";
        QTest::newRow("exponent") << "1e308" << "" << "";
        QTest::newRow("400 digits") << QString(400, u'9') << "" << "";
        QTest::newRow("trailing letters") << "12deg" << "" << "";
        QTest::newRow("comma") << "12,5" << "" << "";
    }
    void elevationAndAzimuthRules()
    {
        QFETCH(QString, shown);
        QFETCH(QString, azimuth);
        QFETCH(QString, elevation);
        QCOMPARE(storedAzimuth(shown), azimuth);
        QCOMPARE(storedElevation(shown), elevation);
    }

    void listeningReportBlanksTheContactFields()
    {
        QsoEntry e = entry("", at(3, 10, 0));
        e.listening = true;
        const QsoRecord r = recordForInsert(e);
        QCOMPARE(r.estacion, QStringLiteral("SWL"));
        QCOMPARE(r.modoU, QStringLiteral(" "));
        QCOMPARE(r.frecU, QStringLiteral(" "));
        QCOMPARE(r.rstr, QStringLiteral(" "));
        QCOMPARE(r.frecD, QStringLiteral("435.800"));
        QCOMPARE(r.modoD, QStringLiteral("FM"));
        QCOMPARE(r.rste, QStringLiteral("59"));
        QVERIFY(r.isListeningReport());
    }

    void lastQsoFollowsDateAndTimeNotTheInsertOrder()
    {
        test::TempHome home;
        ensureDefaultLog(home.folder());
        const QString log = home.folder().defaultLog();
        QVERIFY(!lastQso(log));
        QCOMPARE(lastRecordView(lastQso(log)), LastRecordView());
        insertQso(log, recordForInsert(entry("LATE", at(9, 8, 0))));
        insertQso(log, recordForInsert(entry("EARLY", at(2, 23, 59))));
        QCOMPARE(lastQso(log)->estacion, QStringLiteral("LATE"));
        QCOMPARE(newestQso(log)->estacion, QStringLiteral("EARLY"));
        // Equal instants: the one stored last counts as last.
        insertQso(log, recordForInsert(entry("TIE", at(9, 8, 0))));
        const LastRecordView view = lastRecordView(lastQso(log));
        QCOMPARE(view, (LastRecordView{QStringLiteral("TIE"), QStringLiteral("09/05/2024"), QStringLiteral("08:00"),
                                       QStringLiteral("145.900"), QStringLiteral("SO-50"), QStringLiteral("12345")}));
    }

    void onlyVortaLogsAreAccepted()
    {
        using Verdict = LogCheck::Verdict;
        test::TempHome home;
        QCOMPARE(examineLog(home.folder().templateFile()), LogCheck{});
        const QString text = home.path() + QStringLiteral("/notes.mdb");
        test::writeBytes(text, "this is not a database at all, just some text that is long enough");
        QCOMPARE(examineLog(text).verdict, Verdict::NotALog);
        QCOMPARE(examineLog(home.path() + QStringLiteral("/missing.mdb")).verdict, Verdict::Missing);
        const QString other = home.path() + QStringLiteral("/other.mdb");
        QCOMPARE(copyTemplate(home.folder(), other), QString());
        {
            db::Database database(other, db::Database::Mode::ReadWrite);
            database.exec("ALTER TABLE Tabla1 RENAME COLUMN Orbita TO Orbit");
        }
        QCOMPARE(examineLog(other).verdict, Verdict::NotALog);
        QVERIFY(examineLog(other).detail.contains(QStringLiteral("Orbita")));
    }

    void startUsesTheConfiguredLogWhenItExists()
    {
        test::TempHome home;
        const QString mine = home.folder().basesDir() + QStringLiteral("/mine.mdb");
        copyTemplate(home.folder(), mine);
        const StartChoice choice = chooseLogAtStart(home.folder(), mine, Language::Spanish);
        QCOMPARE(choice.chosen.log, (CurrentLog{mine, QStringLiteral("mine.mdb")}));
        QCOMPARE(choice.chosen.check, LogCheck{});
        QVERIFY(choice.message.isEmpty());
        QVERIFY(!choice.missing);
        QVERIFY(!QFile::exists(home.folder().defaultLog()));
    }

    void aMissingLogIsNamedAndRemembered()
    {
        test::TempHome home;
        ensureDefaultLog(home.folder());
        insertQso(home.folder().defaultLog(), recordForInsert(entry("KEPT", at(1, 1, 1))));
        const QString gone = QStringLiteral("/media/usb/vorta/mine.mdb");
        const StartChoice choice = chooseLogAtStart(home.folder(), gone, Language::English);
        QCOMPARE(lastQso(choice.chosen.log.path)->estacion, QStringLiteral("KEPT"));
        QCOMPARE(choice.missing, (CurrentLog{gone, QStringLiteral("mine.mdb")}));
        // No configured log at all is no news: the default log, without a word.
        const StartChoice unset = chooseLogAtStart(home.folder(), QString(), Language::English);
        QCOMPARE(unset.chosen.log.name, QStringLiteral("base1.mdb"));
        QVERIFY(unset.message.isEmpty());
        QVERIFY(!unset.missing);
        // Nor is the default log itself gone: it is made anew.
        QVERIFY(QFile::remove(home.folder().defaultLog()));
        const StartChoice remade = chooseLogAtStart(home.folder(), home.folder().defaultLog(), Language::English);
        QCOMPARE(remade.chosen.log.path, home.folder().defaultLog());
        QVERIFY(remade.message.isEmpty());
        QVERIFY(!remade.missing);
        QVERIFY(QFile::exists(home.folder().defaultLog()));
    }

    void startRefusesAConfiguredFileThatIsNoLogOrTheTemplate()
    {
        test::TempHome home;
        const QString junk = home.folder().basesDir() + QStringLiteral("/junk.mdb");
        test::writeBytes(junk, "junk");
        const StartChoice choice = chooseLogAtStart(home.folder(), junk, Language::Spanish);
        QCOMPARE(choice.chosen.log.name, QStringLiteral("base1.mdb"));
        // The message says where the QSOs now go, not that the current log is kept.
        QVERIFY(choice.message.startsWith(QStringLiteral("El archivo %1 no es una Base de datos de Vorta!\r\n"
                                                         "Los QSOs se guardarán en %2.")
                                              .arg(junk, home.folder().defaultLog())));
        QVERIFY(!choice.missing);
        QCOMPARE(test::readBytes(junk), QByteArray("junk"));

        // QSOs written into the template would reappear in every new log.
        const QByteArray template0 = test::readBytes(home.folder().templateFile());
        const StartChoice onTemplate = chooseLogAtStart(home.folder(), home.folder().templateFile(), Language::Portuguese);
        QCOMPARE(onTemplate.chosen.log.name, QStringLiteral("base1.mdb"));
        QVERIFY(onTemplate.message.contains(QStringLiteral("é o modelo dos Bancos de dados novos")));
        QCOMPARE(test::readBytes(home.folder().templateFile()), template0);

        // The default log itself no log: no QSO can go anywhere until another log is chosen,
        // and nothing says they will go into it.
        test::writeBytes(home.folder().defaultLog(), "");
        const StartChoice noneLeft = chooseLogAtStart(home.folder(), home.folder().defaultLog(), Language::English);
        QVERIFY2(noneLeft.message.startsWith(QStringLiteral("File %1 is not a Vorta Data Base!\r\nNo QSO will be saved "
                                                            "until you open or create a Data Base (File menu).")
                                                 .arg(home.folder().defaultLog())),
                 qPrintable(noneLeft.message));
        QVERIFY(!noneLeft.message.contains(QStringLiteral("will be saved in")));
        QCOMPARE(noneLeft.icon, Icon::Critical);
    }

    // A log the system will not open (a disk mounted with the wrong owner, a failing disk, a
    // folder in its place) is no foreign file: like a missing one it stands aside for the run
    // and stays configured, and the operator is told the system's reason.
    void aLogThatCannotBeOpenedStandsAside_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("no permission") << false;
        QTest::newRow("a folder in its place") << true;
    }
    void aLogThatCannotBeOpenedStandsAside()
    {
        QFETCH(bool, folder);
        test::TempHome home;
        const QString shut = home.folder().basesDir() + QStringLiteral("/mine.mdb");
        std::optional<test::PermissionsEnforced> enforced;
        if (folder) {
            QVERIFY(QDir().mkpath(shut));
        } else {
            QCOMPARE(copyTemplate(home.folder(), shut), QString());
            QVERIFY(QFile::setPermissions(shut, {}));
            enforced.emplace();
            if (!enforced->active())
                QSKIP("file permissions cannot be enforced here");
        }
        const LogCheck check = examineLog(shut);
        QCOMPARE(check.verdict, LogCheck::Verdict::Unreadable);
        const QString reason = QString::fromLocal8Bit(std::strerror(folder ? EISDIR : EACCES));
        QVERIFY2(check.detail.contains(reason), qPrintable(check.detail));

        const StartChoice choice = chooseLogAtStart(home.folder(), shut, Language::English);
        QCOMPARE(choice.chosen.log.path, home.folder().defaultLog());
        QCOMPARE(choice.chosen.check, LogCheck{});
        QCOMPARE(choice.missing, (CurrentLog{shut, QStringLiteral("mine.mdb")}));
        QCOMPARE(choice.message, QStringLiteral("Data Base %1 cannot be opened:\r\n%2\r\n\r\nQSOs will be saved in %3 "
                                                "meanwhile; Vorta will look for it again at the next start.")
                                     .arg(shut, check.detail, home.folder().defaultLog()));
        QCOMPARE(choice.icon, Icon::Exclamation);

        test::ScriptedDialogs dialogs;
        dialogs.files = {shut};
        QVERIFY(!openLog(home.folder(), dialogs, Language::Spanish));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("No se puede abrir la Base de datos %1:\r\n%2\r\n\r\n"
                                                             "Se sigue usando la Base de datos actual.")
                                                  .arg(shut, check.detail)});
    }

    // A log that another program holds locked is no foreign file; "Abrir" refuses it until it
    // is free, and says why.
    void aLockedLogIsNotOpened()
    {
        test::TempHome home;
        const QString busy = home.folder().basesDir() + QStringLiteral("/busy.mdb");
        copyTemplate(home.folder(), busy);
        {
            db::Database other(busy, db::Database::Mode::ReadWrite);
            other.exec("BEGIN EXCLUSIVE");
            test::ScriptedDialogs dialogs;
            dialogs.files = {busy};
            QVERIFY(!openLog(home.folder(), dialogs, Language::English));
            QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Data Base %1 is locked by another program!\r\n"
                                                                 "Try to open it again once it is released.").arg(busy)});
            other.exec("ROLLBACK");
        }
        QCOMPARE(examineLog(busy), LogCheck{});
    }

    // An ADIF import holds the log for the whole of its load; a QSO saved meanwhile waits for
    // it rather than fail after the short wait of other operations.
    void aQsoSavedDuringALoadWaitsForIt()
    {
        test::TempHome home;
        QVERIFY(ensureDefaultLog(home.folder()).isEmpty());
        const QString log = home.folder().defaultLog();
        db::Database load(log, db::Database::Mode::ReadWrite);
        auto loading = std::make_unique<db::Transaction>(load);
        load.exec("INSERT INTO Tabla1 ([Estacion]) VALUES ('LOADED')");

        QString error;
        std::unique_ptr<QThread> save(QThread::create([&] {
            try {
                insertQso(log, recordForInsert(entry("PY2XYZ", at(1, 1, 1))));
            } catch (const db::DbError &e) {
                error = e.message();
            }
        }));
        save->start();
        // The load goes on for longer than the short wait.
        QTimer::singleShot(3000, this, [&] { loading->commit(); });
        QTRY_VERIFY_WITH_TIMEOUT(save->isFinished(), 20000);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(lastQso(log)->estacion, QStringLiteral("PY2XYZ"));
    }

    void aDamagedLogIsFoundAndKeptForReading_data()
    {
        QTest::addColumn<test::Damage>("damage");
        QTest::newRow("truncated") << test::Damage::Truncated;
        QTest::newRow("garbled") << test::Damage::Garbled;
    }
    void aDamagedLogIsFoundAndKeptForReading()
    {
        QFETCH(test::Damage, damage);
        test::TempHome home;
        const QString damaged = test::damagedLog(home.folder(), QStringLiteral("old.mdb"), damage);
        const LogCheck check = examineLog(damaged);
        QCOMPARE(check.verdict, LogCheck::Verdict::Damaged);
        QVERIFY(!check.detail.isEmpty());
        QCOMPARE(chooseLogAtStart(home.folder(), damaged, Language::English).chosen.log.path, damaged);
        test::ScriptedDialogs dialogs;
        dialogs.files = {damaged};
        const auto opened = openLog(home.folder(), dialogs, Language::English);
        QVERIFY(opened);
        QCOMPARE(opened->check, check);
        QVERIFY(dialogs.shown.isEmpty()); // the one who makes it current tells
    }

    // A program killed in the middle of a write leaves a journal beside the log; the log must
    // read as it was before that write, not as a foreign file.
    void aJournalLeftByACrashIsRolledBack()
    {
        test::TempHome home;
        const QString log = home.folder().basesDir() + QStringLiteral("/live.mdb");
        copyTemplate(home.folder(), log);
        insertQso(log, recordForInsert(entry("COMMITTED", at(1, 1, 1))));
        const QString crashed = home.folder().basesDir() + QStringLiteral("/crashed.mdb");
        {
            db::Database writer(log, db::Database::Mode::ReadWrite);
            writer.exec("PRAGMA cache_size=1"); // pages go to the file before the commit
            writer.exec("BEGIN");
            for (int i = 0; i < 300; ++i)
                writer.exec("INSERT INTO Tabla1 ([Estacion], [Obs]) VALUES ('UNCOMMITTED', hex(randomblob(200)))");
            QVERIFY(QFile::exists(log + QStringLiteral("-journal")));
            // The files as a crash at this moment leaves them.
            QVERIFY(QFile::copy(log, crashed));
            QVERIFY(QFile::copy(log + QStringLiteral("-journal"), crashed + QStringLiteral("-journal")));
        }
        QCOMPARE(examineLog(crashed), LogCheck{});
        QCOMPARE(lastQso(crashed)->estacion, QStringLiteral("COMMITTED"));
        QVERIFY(!QFile::exists(crashed + QStringLiteral("-journal")));
    }

    void newLogAsksAgainForAnExistingNameAndNeverOverwrites()
    {
        test::TempHome home;
        const QString taken = home.folder().basesDir() + QStringLiteral("/taken.mdb");
        test::writeBytes(taken, "precious");
        test::ScriptedDialogs dialogs;
        dialogs.files = {taken, home.folder().basesDir() + QStringLiteral("/fresh.")};
        const auto created = createLog(home.folder(), dialogs, Language::English);
        QVERIFY(created);
        QCOMPARE(created->check, LogCheck{});
        const CurrentLog *log = &created->log;
        QCOMPARE(log->name, QStringLiteral("fresh.mdb"));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Data Base taken.mdb already exists!")});
        QCOMPARE(dialogs.fileTitles, (QStringList{QStringLiteral("New Data Base"), QStringLiteral("New Data Base")}));
        QCOMPARE(test::readBytes(taken), QByteArray("precious"));
        QCOMPARE(test::readBytes(log->path), test::readBytes(home.folder().templateFile()));
        QVERIFY(!lastQso(log->path));
    }

    // A log that cannot be made is named, with the system's reason, and the current one stays.
    void newLogThatCannotBeMade()
    {
        test::TempHome home;
        const QString file = home.folder().basesDir() + QStringLiteral("/afile");
        test::writeBytes(file, "x");
        test::ScriptedDialogs dialogs;
        dialogs.files = {file + QStringLiteral("/new.mdb")};
        QVERIFY(!createLog(home.folder(), dialogs, Language::English));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY2(dialogs.shown[0].text.startsWith(QStringLiteral("Data Base %1/new.mdb could not be created:\r\n").arg(file)),
                 qPrintable(dialogs.shown[0].text));
        QVERIFY(dialogs.shown[0].text.endsWith(QStringLiteral("\r\n\r\nThe current Data Base stays in use.")));
        QCOMPARE(test::readBytes(file), QByteArray("x"));
    }

    void newLogWithoutTemplateCreatesNothing()
    {
        test::TempHome home;
        QFile::remove(home.folder().templateFile());
        test::ScriptedDialogs dialogs;
        QVERIFY(!createLog(home.folder(), dialogs, Language::Spanish));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].icon, Icon::Critical);
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("Falta %1/base0.mdb !\r\nNo se pueden crear bases nuevas...\r\n\r\n"
                                                       " Vuelva a instalar el programa.")
                                            .arg(home.folder().path()));
        QVERIFY(!dialogs.unexpected);
    }

    void cancellingChangesNothing()
    {
        test::TempHome home;
        test::ScriptedDialogs dialogs;
        dialogs.files = {std::nullopt, std::nullopt};
        QVERIFY(!createLog(home.folder(), dialogs, Language::Spanish));
        QVERIFY(!openLog(home.folder(), dialogs, Language::Portuguese));
        QCOMPARE(dialogs.fileTitles, (QStringList{QStringLiteral("Nueva Base de datos"),
                                                  QStringLiteral("Abrir Banco de dados")}));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // "Abrir" refuses a file that is no log, and the template, whose QSOs would reappear in
    // every new log.
    void openRefusesAFileThatIsNoLogOrTheTemplate()
    {
        test::TempHome home;
        const QString junk = home.path() + QStringLiteral("/photo.mdb");
        test::writeBytes(junk, QByteArray(4096, '\xFF'));
        test::ScriptedDialogs dialogs;
        dialogs.files = {junk, home.folder().templateFile()};
        QVERIFY(!openLog(home.folder(), dialogs, Language::Spanish));
        QVERIFY(!openLog(home.folder(), dialogs, Language::Spanish));
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(dialogs.shown[0].text.startsWith(QStringLiteral("El archivo %1 no es una Base de datos de Vorta!").arg(junk)));
        QVERIFY(dialogs.shown[1].text.contains(QStringLiteral("plantilla")));
        const QString good = home.folder().basesDir() + QStringLiteral("/good.mdb");
        copyTemplate(home.folder(), good);
        dialogs.files = {good};
        QCOMPARE(openLog(home.folder(), dialogs, Language::Spanish)->log, (CurrentLog{good, QStringLiteral("good.mdb")}));
    }

    void insertIntoAFileThatIsNoLogFailsCleanly()
    {
        test::TempHome home;
        const QString junk = home.path() + QStringLiteral("/junk.mdb");
        test::writeBytes(junk, "junk");
        QVERIFY_THROWS_EXCEPTION(db::DbError, insertQso(junk, recordForInsert(entry("X", at(1, 1, 1)))));
        QCOMPARE(test::readBytes(junk), QByteArray("junk"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, lastQso(home.path() + QStringLiteral("/none.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestLogDb)
#include "tst_logdb.moc"
