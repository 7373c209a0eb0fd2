// The ADIF import without its window: own call and warnings, the duplicate test, and whole
// imports of real-looking files into a log, staged and loaded.
#include "adifsamples.h"
#include "browser/adifexport.h"
#include "browser/logmodel.h"
#include "browser/recordedit.h"
#include "import/adifimport.h"
#include "import/importstaging.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace vorta;

namespace {

QsoRecord logged(const char *station, const char *satellite, const char *mode, const char *instant)
{
    QsoRecord r;
    r.estacion = QString::fromLatin1(station);
    r.myCall = QStringLiteral("LU1ABC");
    r.satelite = QString::fromLatin1(satellite);
    r.modoU = QString::fromLatin1(mode);
    r.fecha = QString::fromLatin1(instant);
    r.hora = r.fecha.mid(11, 5);
    return r;
}

struct Log : test::TempLog
{
    test::ScriptedDialogs dialogs;
    qint64 add(const QsoRecord &r) const { return insertQso(path, r); }

    QList<QsoRecord> rows() const
    {
        db::Database database(path, db::Database::Mode::ReadOnly);
        db::Statement select(database,
                             QStringLiteral("SELECT %1 FROM Tabla1 ORDER BY [Id]").arg(recordSelectList()).toUtf8().constData());
        QList<QsoRecord> rows;
        while (select.step())
            rows << readRecord(select);
        return rows;
    }

    QString file(const QString &text, const char *name = "import.adi") const { return file(text.toUtf8(), name); }
    QString file(const QByteArray &bytes, const char *name = "import.adi") const
    {
        const QString filePath = home.folder().outputsDir() + u'/' + QLatin1String(name);
        test::writeBytes(filePath, bytes);
        return filePath;
    }

    AdifImport::Setup setup(const QString &filePath, Language language = Language::Spanish) const
    {
        return {path, QStringLiteral("base1.mdb"), filePath, QStringLiteral("lu1abc"), language};
    }
};

// Runs the first step to its end; true when it completed.
bool readAll(AdifImport &import, const AdifImport::Setup &setup)
{
    QSignalSpy finished(&import, &AdifImport::readFinished);
    import.read(setup);
    if (!finished.wait(20000))
        return false;
    return finished.first().first().toBool();
}

QDateTime at(int hour, int minute)
{
    return QDateTime(QDate(2024, 1, 31), QTime(hour, minute), Qt::UTC);
}

// Other QSOs before the ones a test is about, so that a finder looks rows up one station at a
// time (the whole log is read at once on a small log).
void addOthers(const Log &log, int count)
{
    db::Database database(log.path, db::Database::Mode::ReadWrite);
    db::Transaction transaction(database);
    QsoInserter insert(database, QsoInserter::Table::Log);
    for (int i = 0; i < count; ++i)
        insert.insert(logged("ZZ9ZZ", "SO-50", "FM", "2024-01-31 12:00:00"));
    transaction.commit();
}

bool loadAll(AdifImport &import)
{
    QSignalSpy finished(&import, &AdifImport::loadFinished);
    import.load();
    if (!finished.wait(20000))
        return false;
    return finished.first().first().toBool();
}

QStringList lines(const QString &text)
{
    return text.split(u'\n');
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT
private slots:
    // On a small log the whole log is read at once; on a large one, rows are looked up one
    // station at a time. Both must find the same.
    void duplicateTest_data()
    {
        QTest::addColumn<int>("otherQsos");
        QTest::newRow("whole log at once") << 0;
        QTest::newRow("one station at a time") << 2000;
    }
    void duplicateTest()
    {
        QFETCH(int, otherQsos);
        Log log;
        addOthers(log, otherQsos);
        const qint64 noon = log.add(logged("PY2XYZ", "AO-91", "FM", "2024-01-31 12:00:00"));
        const qint64 cas4a = log.add(logged("CE3AB", "CAS-4A", "USB", "2024-01-31 12:00:00"));
        const qint64 noSatellite = log.add(logged("K1AB", "", "FM", "2024-01-31 12:00:00"));
        QsoRecord older = logged("LU2XX", "SO-50", "FM", "31/01/2024 12:00"); // a day-first Fecha
        older.hora = QStringLiteral("12:00");
        const qint64 dayFirst = log.add(older);
        const qint64 lsb = log.add(logged("LU3XX", "RS-44", "LSB", "2024-01-31 12:00:00"));

        db::Database database(log.path, db::Database::Mode::ReadOnly);
        // Each question on a finder of its own: a finder offers a row for one QSO only.
        const auto find = [&](const char *station, const char *satellite, const char *mode, const QDateTime &moment,
                              const char *own = "LU1ABC") {
            return DuplicateFinder(database).find(QString::fromLatin1(station), QString::fromLatin1(own),
                                                  QString::fromLatin1(mode), QString::fromLatin1(satellite), moment);
        };
        QCOMPARE(find("PY2XYZ", "AO-91", "FM", at(12, 9)), noon);
        QCOMPARE(find("PY2XYZ", "AO-91", "FM", at(11, 51)), noon);
        QCOMPARE(find("PY2XYZ", "AO-91", "FM", at(12, 10)), std::nullopt);
        QCOMPARE(find("PY2XYZ", "AO-91", "FM", at(11, 50)), std::nullopt);
        QCOMPARE(find("PY2XYZ", "AO-91", "USB", at(12, 0)), std::nullopt);
        QCOMPARE(find("PY2XYZ", "AO-91", "FM", at(12, 0), "LU1ABC/P"), std::nullopt);
        QCOMPARE(find("PY2XYZ", "ao-91", "fm", at(12, 0)), noon);
        QCOMPARE(find("PY2XYZ", "", "FM", at(12, 0)), noon);
        // Consecutive passes of two satellites are two QSOs.
        QCOMPARE(find("CE3AB", "CAS-4B", "USB", at(12, 5)), std::nullopt);
        QCOMPARE(find("CE3AB", "CAS-4A", "USB", at(12, 5)), cas4a);
        QCOMPARE(find("K1AB", "AO-7", "FM", at(12, 5)), noSatellite);
        QCOMPARE(find("LU2XX", "SO-50", "FM", at(12, 3)), dayFirst);
        // Across midnight.
        QCOMPARE(find("PY2XYZ", "AO-91", "FM", QDateTime(QDate(2024, 2, 1), QTime(0, 0), Qt::UTC)), std::nullopt);
        // Confirmations name every sideband "SSB", as the export wrote it.
        QCOMPARE(find("CE3AB", "CAS-4A", "SSB", at(12, 0)), cas4a);
        QCOMPARE(find("LU3XX", "RS-44", "SSB", at(12, 0)), lsb);
        QCOMPARE(find("LU3XX", "RS-44", "usb", at(12, 0)), lsb);
        QCOMPARE(find("LU3XX", "RS-44", "CW", at(12, 0)), std::nullopt);
        QCOMPARE(find("PY2XYZ", "AO-91", "SSB", at(12, 0)), std::nullopt);
    }

    // A logged row is the duplicate of one QSO of a file only; of several rows, the nearest.
    void aRowRepeatsOneQsoOnly_data() { duplicateTest_data(); }
    void aRowRepeatsOneQsoOnly()
    {
        QFETCH(int, otherQsos);
        Log log;
        addOthers(log, otherQsos);
        const qint64 anySatellite = log.add(logged("CE3AB", "", "FM", "2024-01-31 13:48:00"));
        // Logged out of order: the later QSO has the lower Id.
        const qint64 later = log.add(logged("PY2XYZ", "AO-91", "FM", "2024-01-31 12:05:00"));
        const qint64 earlier = log.add(logged("PY2XYZ", "AO-91", "FM", "2024-01-31 12:00:00"));

        db::Database database(log.path, db::Database::Mode::ReadOnly);
        DuplicateFinder finder(database);
        const auto find = [&](const char *station, const char *satellite, const QDateTime &moment) {
            return finder.find(QString::fromLatin1(station), QStringLiteral("LU1ABC"), QStringLiteral("FM"),
                               QString::fromLatin1(satellite), moment);
        };
        QCOMPARE(find("CE3AB", "CAS-4A", at(13, 45)), anySatellite);
        QCOMPARE(find("CE3AB", "CAS-4B", at(13, 52)), std::nullopt);
        QCOMPARE(find("PY2XYZ", "AO-91", at(12, 0)), earlier);
        QCOMPARE(find("PY2XYZ", "AO-91", at(12, 5)), later);
        QCOMPARE(find("PY2XYZ", "AO-91", at(12, 2)), std::nullopt);
    }

    // Calls corrected by hand in the record editor may hold lower-case letters; a file's calls
    // are upper case.
    void callsCompareWithCaseAside()
    {
        Log log;
        addOthers(log, 2000);
        QsoRecord typed = logged("py2xyz", "AO-91", "fm", "2024-01-31 12:00:00");
        typed.myCall = QStringLiteral("lu1abc");
        const qint64 id = log.add(typed);
        db::Database database(log.path, db::Database::Mode::ReadOnly);
        DuplicateFinder finder(database);
        QCOMPARE(finder.find(QStringLiteral("PY2XYZ"), QStringLiteral("LU1ABC"), QStringLiteral("FM"),
                             QStringLiteral("AO-91"), at(12, 1)),
                 id);
        // The whole log is read then; rows in upper case are found as ever.
        QCOMPARE(finder.find(QStringLiteral("ZZ9ZZ"), QStringLiteral("LU1ABC"), QStringLiteral("FM"),
                             QStringLiteral("SO-50"), at(12, 1)),
                 std::optional<qint64>(1));
    }

    void ownCallAndItsWarnings()
    {
        AdifHeader plain;
        ImportRecord record;
        QStringList warnings;
        StationCallRule rule(QStringLiteral("lu1abc"), Language::Spanish);
        QCOMPARE(rule.ownCall(record, plain, warnings), QStringLiteral("LU1ABC"));
        QCOMPARE(warnings, QStringList{QStringLiteral("El ADIF no tiene el campo <STATION_CALLSIGN:\r\nse asume LU1ABC")});
        QCOMPARE(rule.ownCall(record, plain, warnings), QStringLiteral("LU1ABC"));
        record.stationCall = QStringLiteral("LU1ABC/P");
        QCOMPARE(rule.ownCall(record, plain, warnings), QStringLiteral("LU1ABC/P"));
        record.stationCall = QStringLiteral("AY1ABC");
        QCOMPARE(rule.ownCall(record, plain, warnings), QStringLiteral("AY1ABC"));
        QCOMPARE(warnings.size(), 2);
        QCOMPARE(warnings.last(), QStringLiteral("El ADIF es de LU1ABC/P y Vorta está configurado para LU1ABC"));
        // A record without the tag after another call still belongs to the configured one.
        record.stationCall.clear();
        QCOMPARE(rule.ownCall(record, plain, warnings), QStringLiteral("LU1ABC"));
        QCOMPARE(warnings.size(), 2);

        // An eQSL download stands for its owner; the owner being the configured call is no news.
        AdifHeader eqsl;
        eqsl.sourceId = QStringLiteral("EQSL.CC DOWNLOADINBOX");
        eqsl.eqslOwnerCall = QStringLiteral("LU1ABC");
        StationCallRule english(QStringLiteral("LU1ABC"), Language::English);
        warnings.clear();
        QCOMPARE(english.ownCall(record, eqsl, warnings), QStringLiteral("LU1ABC"));
        QVERIFY(warnings.isEmpty());
        eqsl.eqslOwnerCall = QStringLiteral("LU9ZZZ");
        QCOMPARE(english.ownCall(record, eqsl, warnings), QStringLiteral("LU9ZZZ"));
        QCOMPARE(warnings, QStringList{QStringLiteral("ADIF callsign is LU9ZZZ and Vorta has LU1ABC set")});
        eqsl.eqslOwnerCall.clear();
        QCOMPARE(english.ownCall(record, eqsl, warnings), QStringLiteral("LU1ABC"));
        QCOMPARE(warnings.last(), QStringLiteral("ADIF has not <STATION_CALLSIGN: field\r\nLU1ABC will be assumed"));
    }

    void stagedRowColumns()
    {
        ImportRecord r;
        r.station = QStringLiteral("PY2XYZ");
        r.uplink = QStringLiteral("145,850");
        r.downlink = QStringLiteral("435.5");
        r.mode = QStringLiteral("LSB");
        r.date = QStringLiteral("31/01/2024");
        r.time = QStringLiteral("13:45");
        r.reportSent = QStringLiteral("5999");
        r.notes = QString(120, u'N');
        r.qslSent = QStringLiteral("Y");
        r.qslReceived = QStringLiteral("N");
        const QsoRecord row = stagedRow(r, QStringLiteral("LU1ABC"), 123);
        QCOMPARE(row.frecU, QStringLiteral("145.850"));
        QCOMPARE(row.frecD, QStringLiteral("435.500"));
        QCOMPARE(row.modoD, QStringLiteral("USB"));
        QCOMPARE(row.fecha, QStringLiteral("2024-01-31 13:45:00"));
        QCOMPARE(row.hora, QStringLiteral("13:45"));
        QCOMPARE(row.rste, QStringLiteral("599"));
        QCOMPARE(row.obs.size(), 100);
        QCOMPARE(row.qsle, QStringLiteral("1"));
        QVERIFY(row.qslr.isEmpty() && !row.qslr.isNull()); // stored as the empty text, not NULL
        QCOMPARE(row.nombreLog, QStringLiteral("dupe123"));
        QCOMPARE(markedDuplicate(row.nombreLog), 123);
        QCOMPARE(markedDuplicate(QString()), std::nullopt);
        r.mode = QStringLiteral("CW");
        QVERIFY(stagedRow(r, QStringLiteral("LU1ABC"), std::nullopt).modoD.isEmpty());
    }

    void lotwReportConfirmsAndKeepsWhatTheOperatorLogged()
    {
        Log log;
        const QsoRecord mine = recordFromValues(0, {"FM", "435.250", "LU1ABC", "PY2XYZ", "2024-01-31 13:47:00", "13:47",
                                                    "55", "145.960", "57", QString(), "nice signal", "0", "0",
                                                    QString(), "GF05TJ", "GG66", "AO-91", "23456", "120", "30"});
        const qint64 id = log.add(mine);

        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(test::lotwReport(), "lotwreport.adi"))));
        const QStringList text = lines(import.logText());
        QCOMPARE(text.mid(0, 7), (QStringList{QStringLiteral(" Cargando: lotwreport.adi"), QStringLiteral("   ProgID: LOTW"),
                                              QStringLiteral("  ProgVer: "), QStringLiteral("  ADIFVer: "),
                                              QStringLiteral("TimeStamp: "), QString(41, u'='),
                                              QStringLiteral("Procesando: lotwreport.adi ...")}));
        QCOMPARE(text.mid(7), (QStringList{QStringLiteral("  CallSign: LU1ABC"), QStringLiteral("  QSOs Tot: 2"),
                                           QStringLiteral("  QSOs Sat: 2"),
                                           QStringLiteral("  QSOs DUP: 1 (serán reemplazados)"),
                                           QStringLiteral("Se cargarán 2 QSOs")}));
        QCOMPARE(import.loadCaption(), QStringLiteral("Cargar en base base1"));
        QVERIFY(import.canLoad());
        QCOMPARE(import.progress(), 1000);

        QVERIFY(loadAll(import));
        QCOMPARE(lines(import.logText()).last(), QStringLiteral("Se cargaron: 2 QSO(s)!"));
        QVERIFY(!import.canLoad()); // loaded once only
        QVERIFY(log.dialogs.shown.isEmpty());

        const QList<QsoRecord> rows = log.rows();
        QCOMPARE(rows.size(), 2);
        QsoRecord confirmed = mine;
        confirmed.id = id;
        confirmed.fecha = QStringLiteral("2024-01-31 13:45:00"); // the file's time
        confirmed.hora = QStringLiteral("13:45");
        confirmed.qsle = confirmed.qslr = QStringLiteral("1");
        QCOMPARE(rows[0], confirmed);

        const QsoRecord &added = rows[1];
        QCOMPARE(added.estacion, QStringLiteral("CE3AB"));
        QCOMPARE(added.myCall, QStringLiteral("LU1ABC"));
        QCOMPARE(added.fecha, QStringLiteral("2024-01-30 22:10:00"));
        QCOMPARE(added.modoU, QStringLiteral("SSB"));
        QCOMPARE(added.frecU, QStringLiteral("145.500"));
        QCOMPARE(added.frecD, QStringLiteral("435.500"));
        QCOMPARE(added.rste, QStringLiteral("59"));
        QCOMPARE(added.satelite, QStringLiteral("RS-44"));
        QCOMPARE(added.qsle, QStringLiteral("1"));
        QCOMPARE(added.qslr, QStringLiteral("1"));
        QVERIFY(added.nombreLog.isEmpty());
    }

    // LoTW and eQSL send a sideband QSO back as "SSB": it confirms the row logged in USB.
    void sidebandConfirmationConfirmsTheLoggedQso()
    {
        Log log;
        QsoRecord mine = logged("CE3AB", "RS-44", "USB", "2024-01-30 22:12:00");
        mine.modoD = QStringLiteral("LSB");
        mine.frecU = QStringLiteral("145.935");
        mine.frecD = QStringLiteral("435.640");
        mine.qsle = mine.qslr = QStringLiteral("0");
        const qint64 id = log.add(mine);
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(test::lotwReport()))));
        QCOMPARE(import.counts().duplicates, 1);
        QVERIFY(loadAll(import));
        const QList<QsoRecord> rows = log.rows();
        QCOMPARE(rows.size(), 2); // PY2XYZ is new
        QCOMPARE(rows[0].id, id);
        QCOMPARE(rows[0].modoU, QStringLiteral("USB"));
        QCOMPARE(rows[0].modoD, QStringLiteral("LSB"));
        QCOMPARE(rows[0].frecU, QStringLiteral("145.935"));
        QCOMPARE(rows[0].hora, QStringLiteral("22:10"));
        QCOMPARE(rows[0].qsle, QStringLiteral("1"));
        QCOMPARE(rows[0].qslr, QStringLiteral("1"));
    }

    // A file carries texts upper-cased and notes cut: a duplicate keeps what was logged unless
    // the file says something else.
    void duplicateWithCommentKeepsTheOperatorsText()
    {
        Log log;
        const QString notes = QStringLiteral("Nice signal, sent a photo to María. ") + QString(80, u'x');
        QsoRecord mine = logged("py2xyz", "Ao-91", "fm", "2024-01-31 13:45:00");
        mine.obs = notes;
        mine.operador = QStringLiteral("GG66tj");
        mine.rste = QStringLiteral("5nn");
        const qint64 first = log.add(mine);
        mine.estacion = QStringLiteral("CE3AB");
        mine.obs = QStringLiteral("first try");
        mine.operador = QStringLiteral("FF46");
        const qint64 second = log.add(mine);

        const QString carried = notes.toUpper();
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(
            QStringLiteral("<EOH>\r\n<CALL:6>PY2XYZ<STATION_CALLSIGN:6>LU1ABC<SAT_NAME:5>AO-91<MODE:2>FM<BAND:2>2M"
                           "<QSO_DATE:8>20240131<TIME_ON:4>1345<RST_SENT:3>5NN<GRIDSQUARE:4>GG66<COMMENT:%1>%2<EOR>\r\n"
                           "<CALL:5>CE3AB<STATION_CALLSIGN:6>LU1ABC<SAT_NAME:5>AO-91<MODE:2>FM<BAND:2>2M"
                           "<QSO_DATE:8>20240131<TIME_ON:4>1345<GRIDSQUARE:6>FF46ab<COMMENT:14>Second attempt<EOR>\r\n")
                .arg(carried.size())
                .arg(carried)))));
        QCOMPARE(import.counts().duplicates, 2);
        QVERIFY(loadAll(import));
        const QList<QsoRecord> rows = log.rows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].id, first);
        QCOMPARE(rows[0].obs, notes);
        QCOMPARE(rows[0].estacion, QStringLiteral("py2xyz"));
        QCOMPARE(rows[0].satelite, QStringLiteral("Ao-91"));
        QCOMPARE(rows[0].modoU, QStringLiteral("fm"));
        QCOMPARE(rows[0].operador, QStringLiteral("GG66tj"));
        QCOMPARE(rows[0].rste, QStringLiteral("5nn"));
        // What the file says anew replaces the logged text.
        QCOMPARE(rows[1].id, second);
        QCOMPARE(rows[1].obs, QStringLiteral("SECOND ATTEMPT"));
        QCOMPARE(rows[1].operador, QStringLiteral("FF46AB"));
    }

    void twoQsosOfTheFileOnOneLoggedRowAreBothKept()
    {
        Log log;
        QsoRecord mine = logged("CE3AB", "", "FM", "2024-01-31 13:48:00");
        mine.frecU = QStringLiteral("145.850");
        const qint64 id = log.add(mine);
        const QString pass = QStringLiteral("<CALL:5>CE3AB<STATION_CALLSIGN:6>LU1ABC<SAT_NAME:6>%1<MODE:2>FM<BAND:2>2M"
                                            "<QSO_DATE:8>20240131<TIME_ON:4>%2<EOR>\r\n");
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(QStringLiteral("<EOH>\r\n") + pass.arg(u"CAS-4A", u"1345")
                                                   + pass.arg(u"CAS-4B", u"1352")))));
        QCOMPARE(import.counts().duplicates, 1);
        QVERIFY(loadAll(import));
        const QList<QsoRecord> rows = log.rows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].id, id);
        QCOMPARE(rows[0].satelite, QStringLiteral("CAS-4A"));
        QCOMPARE(rows[0].frecU, QStringLiteral("145.850"));
        QCOMPARE(rows[1].satelite, QStringLiteral("CAS-4B"));
        QCOMPARE(rows[1].hora, QStringLiteral("13:52"));
    }

    // "ADIF Completo" exported and imported back into the same log changes nothing.
    void completeExportReadBackChangesNothing()
    {
        Log log;
        log.add(recordFromValues(0, {"USB", "145.935", "LU1ABC", "CE3AB", "2024-01-30 22:12:00", "22:12", "59", "435.640",
                                     "57", "LSB", QStringLiteral("Nice signal, sent a photo to María. ") + QString(80, u'x'),
                                     "1", "0", QString(), "GF05TJ", "FF46", "RS-44", "23456", "120", "30"}));
        // Corrected by hand in the record editor.
        QsoRecord edited = logged("py2xyz", "Ao-91", "FM", "2024-01-31 13:45:00");
        edited.modoD = QStringLiteral("FM");
        edited.frecU = QStringLiteral("435.250");
        edited.frecD = QStringLiteral("145.960");
        edited.obs = QStringLiteral("");
        log.add(edited);
        // Two QSOs with one station in one pass, the later one logged first.
        QsoRecord later = logged("PY5EG", "SO-50", "FM", "2024-02-01 10:06:00");
        later.frecU = QStringLiteral("145.850");
        later.frecD = QStringLiteral("436.795");
        later.obs = QStringLiteral("second QSO, better");
        log.add(later);
        QsoRecord earlier = later;
        earlier.fecha = QStringLiteral("2024-02-01 10:01:00");
        earlier.hora = QStringLiteral("10:01");
        earlier.obs = QStringLiteral("weak");
        log.add(earlier);
        // A listening report and a row without satellite are no satellite QSOs for the reader.
        QsoRecord swl = logged("SWL", "SO-50", " ", "2024-02-01 11:00:00");
        swl.frecU = QStringLiteral(" ");
        log.add(swl);
        log.add(logged("K1AB", "", "FM", "2024-02-01 12:00:00"));
        const QList<QsoRecord> before = log.rows();

        LogModel model;
        QVERIFY(model.listAll(log.path, false).isEmpty());
        const QString file = log.home.folder().outputsDir() + QStringLiteral("/LU1ABC_Completo.adi");
        log.dialogs.files << file;
        QCOMPARE(AdifExport(AdifTarget::Complete, {log.dialogs, Language::Spanish, log.home.folder().outputsDir(),
                                                   QStringLiteral("LU1ABC")})
                     .run(model),
                 file);

        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(file)));
        QCOMPARE(import.counts().staged, 4);
        QCOMPARE(import.counts().duplicates, 4);
        QVERIFY(loadAll(import));
        QCOMPARE(log.rows(), before);
    }

    void sameFileTwiceReplacesInsteadOfAdding()
    {
        Log log;
        const QString file = log.file(test::loggerFile(3));
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(file)));
        QVERIFY(loadAll(import));
        QCOMPARE(log.rows().size(), 3);
        // The operator confirms one by hand meanwhile; a plain file does not take it back.
        log.exec("UPDATE Tabla1 SET QSLr='1' WHERE Estacion='PY1ABC'");

        QVERIFY(readAll(import, log.setup(file)));
        QVERIFY(import.logText().contains(QStringLiteral("\n  QSOs Sat: 3\n  QSOs DUP: 3 (serán reemplazados)\n")));
        QVERIFY(loadAll(import));
        QCOMPARE(lines(import.logText()).last(), QStringLiteral("Se cargaron: 3 QSO(s)!"));
        const QList<QsoRecord> rows = log.rows();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1].qslr, QStringLiteral("1"));
        QCOMPARE(rows[1].rstr, QStringLiteral("57"));
        QCOMPARE(rows[1].frecD, QStringLiteral("436.795"));
    }

    void eqslDownloadForAnotherCallOfTheOperator()
    {
        Log log;
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(test::eqslInbox(QStringLiteral("LU9ZZZ"))))));
        QCOMPARE(log.dialogs.texts(),
                 QStringList{QStringLiteral("El ADIF es de LU9ZZZ y Vorta está configurado para LU1ABC")});
        QVERIFY(import.logText().contains(QStringLiteral("   ProgID: EQSL.CC DOWNLOADINBOX\n")));
        QVERIFY(import.logText().contains(QStringLiteral("\n  CallSign: LU9ZZZ\n  QSOs Tot: 2\n  QSOs Sat: 1\n  QSOs DUP: 0\n")));
        QVERIFY(loadAll(import));
        const QList<QsoRecord> rows = log.rows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].myCall, QStringLiteral("LU9ZZZ"));
        QCOMPARE(rows[0].satelite, QStringLiteral("AO-91"));
        QCOMPARE(rows[0].orbita, QStringLiteral("1234"));
        QCOMPARE(rows[0].qsle, QStringLiteral("1"));
        QCOMPARE(rows[0].qslr, QStringLiteral("1"));
    }

    void fileWithoutStationCallWarnsOnce()
    {
        Log log;
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(test::loggerFile(4, false)), Language::English)));
        QCOMPARE(log.dialogs.texts(),
                 QStringList{QStringLiteral("ADIF has not <STATION_CALLSIGN: field\r\nLU1ABC will be assumed")});
        QCOMPARE(lines(import.logText()).first(), QStringLiteral("  Loading: import.adi"));
        QCOMPARE(lines(import.logText()).last(), QStringLiteral("Will be loaded 4 QSOs"));
        QCOMPARE(import.loadCaption(), QStringLiteral("Load in base base1"));
        QCOMPARE(import.counts().staged, 4);
        QCOMPARE(import.counts().ownCall, QStringLiteral("LU1ABC"));
    }

    void whatCannotBeStagedIsTold()
    {
        Log log;
        AdifImport import(log.dialogs);
        // Nothing for the satellite log: nothing to load.
        QVERIFY(readAll(import, log.setup(log.file(QStringLiteral("<CALL:4>K1AB<BAND:3>20M<EOR>\r\n")))));
        QVERIFY(import.logText().endsWith(QStringLiteral("\n  QSOs Sat: 0\n  QSOs DUP: 0\nSe cargarán 0 QSOs")));
        QVERIFY(!import.canLoad());
        // A QSO without a real date is counted apart.
        QVERIFY(readAll(import, log.setup(log.file(QStringLiteral("<CALL:4>K1AB<SAT_NAME:5>AO-91<BAND:2>2M<STATION_CALLSIGN:6>LU1ABC"
                                                                  "<QSO_DATE:8>20240230<TIME_ON:4>1200<EOR>\r\n")))));
        QVERIFY(import.logText().contains(QStringLiteral("\n  Sin fecha u hora válida: 1 (no se cargarán)\n")));
        QCOMPARE(import.counts().staged, 0);
        // A file that cannot be read.
        QVERIFY(!readAll(import, log.setup(log.home.folder().outputsDir() + QStringLiteral("/missing.adi"))));
        QCOMPARE(log.dialogs.shown.size(), 1);
        QVERIFY(log.dialogs.shown[0].text.startsWith(QStringLiteral("No se pudo leer el archivo ")));
        QCOMPARE(log.dialogs.shown[0].icon, Icon::Critical);
        QVERIFY(!import.canLoad());
    }

    // Damaged files and files saved in another encoding: nothing absurd reaches the staged rows,
    // and a file saved as UTF-16 without its byte-order mark is read.
    void damagedFiles_data()
    {
        const QByteArray header = "ADIF export of LU1ABC\r\n<ADIF_VER:5>3.1.4 <PROGRAMID:6>Logger\r\n<EOH>\r\n";
        // One QSO a line, blanks between the tags, as loggers write them.
        const auto qso = [](const char *call, const QByteArray &extra = QByteArray()) {
            return "<CALL:" + QByteArray::number(qstrlen(call)) + '>' + call
                   + " <STATION_CALLSIGN:6>LU1ABC <QSO_DATE:8>20240110 <TIME_ON:6>120000 <SAT_NAME:5>AO-91 <MODE:2>FM"
                   + (extra.isEmpty() ? QByteArray(" <BAND:2>2m") : extra);
        };
        const QByteArray eor = " <EOR>\r\n";
        QByteArray utf16;
        for (const char c : header + qso("K1AB") + eor)
            utf16 += QByteArray(1, c) + QByteArray(1, '\0');

        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("total");
        QTest::addColumn<QStringList>("staged"); // call, FrecU and FrecD of each staged row
        QTest::newRow("UTF-16 without mark") << utf16 << 1 << QStringList{"K1AB 145.500 435.500"};
        QTest::newRow("UTF-16 with mark") << "\xFF\xFE" + utf16 << 1 << QStringList{"K1AB 145.500 435.500"};
        QTest::newRow("call of blanks") << header + qso("    ") + eor + qso("K1AB") + eor << 2
                                        << QStringList{"K1AB 145.500 435.500"};
        QTest::newRow("call running into the next tag")
            << header + QByteArray(qso("K1AB")).replace("<CALL:4>", "<CALL:99999999999999999999999>") + eor << 1
            << QStringList();
        QTest::newRow("uplink beyond every number")
            << header + qso("K1AB", " <FREQ:400>" + QByteArray(400, '9')) + eor << 1 << QStringList();
        QTest::newRow("uplink above 300 GHz")
            << header + qso("K1AB", " <FREQ:25>" + QByteArray(25, '9')) + eor << 1 << QStringList();
        QTest::newRow("downlink beyond every number")
            << header + qso("K1AB", " <FREQ:7>145.900 <FREQ_RX:400>" + QByteArray(400, '9')) + eor << 1
            << QStringList{"K1AB 145.900 435.500"};
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, total);
        QFETCH(QStringList, staged);
        Log log;
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(bytes))));
        QVERIFY2(import.logText().contains(QStringLiteral("\n  QSOs Tot: %1\n  QSOs Sat: %2\n").arg(total).arg(staged.size())),
                 qPrintable(import.logText()));
        db::Database database(log.path, db::Database::Mode::ReadOnly);
        db::Statement select(database, "SELECT Estacion, FrecU, FrecD FROM Tabla2 ORDER BY Id");
        QStringList rows;
        while (select.step())
            rows << select.text(0) + u' ' + select.text(1) + u' ' + select.text(2);
        QCOMPARE(rows, staged);
        QVERIFY(log.dialogs.shown.isEmpty());
    }

    void abortedReadingLoadsNothing()
    {
        Log log;
        AdifImport import(log.dialogs);
        QSignalSpy finished(&import, &AdifImport::readFinished);
        import.read(log.setup(log.file(test::loggerFile(20000))));
        import.abort();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(!import.canLoad());
        QVERIFY(!import.busy());
        import.load();
        QVERIFY(!import.busy());
        QVERIFY(log.rows().isEmpty());
    }

    // Closing the window stops a load; so does quitting the program, which waits for the
    // rollback. The log is as it was either way.
    void stoppedLoadLeavesTheLogWhole()
    {
        Log log;
        log.add(logged("PY1ABC", "SO-50", "FM", "2024-03-01 00:01:00"));
        auto import = std::make_unique<AdifImport>(log.dialogs);
        QVERIFY(readAll(*import, log.setup(log.file(test::loggerFile(20000)))));
        const QList<QsoRecord> before = log.rows();

        QSignalSpy finished(import.get(), &AdifImport::loadFinished);
        import->load();
        import->abort();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(log.rows(), before);
        const QString told = QStringLiteral("Carga cancelada: la Base de datos base1.mdb quedó como estaba, no se cargó "
                                            "ningún QSO.");
        QCOMPARE(lines(import->logText()).last(), told);
        QCOMPARE(log.dialogs.texts(), QStringList{told});
        QCOMPARE(log.dialogs.shown[0].icon, Icon::Information);
        QVERIFY(import->canLoad());

        import->load();
        import.reset();
        QCOMPARE(log.rows(), before);
        QVERIFY(!QFile::exists(log.path + QStringLiteral("-journal")));
        QCOMPARE(log.dialogs.shown.size(), 1);
    }

    void failedLoadLeavesTheLogAsItWas()
    {
        Log log;
        const qint64 id = log.add(logged("PY1ABC", "SO-50", "FM", "2024-03-01 00:01:00"));
        AdifImport import(log.dialogs);
        QVERIFY(readAll(import, log.setup(log.file(test::loggerFile(3)))));
        QCOMPARE(import.counts().duplicates, 1);
        // A duplicate that cannot be written, loaded after the new QSOs.
        log.exec("UPDATE Tabla2 SET Fecha='zz', Hora='zz' WHERE [Nombre Log] LIKE 'dupe%'");
        const QList<QsoRecord> before = log.rows();
        QVERIFY(!loadAll(import));
        QCOMPARE(log.rows(), before);
        QCOMPARE(log.dialogs.shown.size(), 1);
        QCOMPARE(log.dialogs.shown[0].icon, Icon::Critical);
        QVERIFY(log.dialogs.shown[0].text.contains(QStringLiteral("no se cargó ningún QSO")));
        QVERIFY(import.canLoad()); // it may be tried again

        // The row a duplicate names is gone meanwhile: the QSO is added rather than lost.
        log.exec("UPDATE Tabla2 SET Fecha='2024-03-01 00:01:00', Hora='00:01' WHERE [Nombre Log] LIKE 'dupe%'");
        QVERIFY(deleteRecord(log.path, id));
        QVERIFY(loadAll(import));
        QCOMPARE(log.rows().size(), 3);
        QCOMPARE(log.rows()[0].estacion, QStringLiteral("PY0ABC"));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
