// The ADIF and CSV exports of the log browser: whole files byte for byte, the questions and
// their answers, the closing messages, encodings, and what is left on disk when an export
// does not end normally.
#include "browser/adifexport.h"
#include "browser/csvexport.h"
#include "browser/logmodel.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace vorta;

namespace {

const QDateTime kCreated(QDate(2024, 5, 17), QTime(9, 8, 7));

// The header of every ADIF file above, with its empty line, in Windows-1252.
const QByteArray kHeader = "<PROGRAMID:5>Vorta\r\n<PROGRAMVERSION:14>Versi\xF3n 1.0.15\r\n<ADIF_VER:4>3.04\r\n"
                           "<CREATED_TIMESTAMP:15>20240517 090807\r\n<EOH>\r\n\r\n";

// A contact as the entry panel stores it: USB up on 145.900, down on 435.800, SO-50.
QsoRecord qso(const char *call = "YY2BB", const char *instant = "2021-03-02 14:23:00")
{
    const QString fecha = QString::fromLatin1(instant);
    return recordFromValues(0, {"USB", "145.900", "XX1AAA", QString::fromUtf8(call), fecha, fecha.mid(11, 5), "59",
                                "435.800", "57", "LSB", QStringLiteral(""), "0", "0", QString(), "GF05TJ", "FF78",
                                "SO-50", QStringLiteral(""), QString(), QString()});
}

// A listening report as the entry panel stores it.
QsoRecord listening(const char *instant)
{
    QsoRecord r = qso("SWL", instant);
    r.modoU = r.frecU = r.rstr = QStringLiteral(" ");
    return r;
}

struct Fixture : test::TempLog
{
    test::ScriptedDialogs dialogs;
    LogModel model;
    Language language = Language::Spanish;

    Fixture() : TempLog(QStringLiteral("export.mdb")) {}
    void list(const QList<QsoRecord> &rows)
    {
        for (const QsoRecord &r : rows)
            insertQso(path, r);
        QVERIFY(model.listAll(path, false).isEmpty());
    }
    ExportContext context() { return {dialogs, language, home.folder().outputsDir(), QStringLiteral("LU1ABC")}; }
    QString output(const QString &name) const { return home.folder().outputsDir() + u'/' + name; }
    // Runs an ADIF export into the named file of the outputs folder; answers are the questions'.
    std::optional<QString> adif(AdifTarget target, const QString &name, const QList<bool> &answers = {})
    {
        dialogs.files << output(name);
        dialogs.answers << answers;
        AdifExport adif(target, context());
        adif.setCreated(kCreated);
        adif.setLotwList(home.folder().file(kLotwSatellitesFile));
        return adif.run(model);
    }
};

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void lotwFile()
    {
        Fixture f;
        QsoRecord cw = qso("PY2XYZ", "2021-03-03 01:02:00");
        cw.modoU = QStringLiteral("CW");
        cw.frecU = QStringLiteral("145,9");
        cw.rste = QStringLiteral("599");
        cw.rstr = QStringLiteral("579");
        cw.obs = QStringLiteral("QRP señal");
        cw.satelite = QStringLiteral("AO-91");
        cw.operador = QStringLiteral("");
        QsoRecord noMode = qso("EA1AA", "2021-03-04 23:59:00");
        noMode.modoU = QStringLiteral("");
        noMode.satelite = QStringLiteral("RS-44");
        f.list({qso(), cw, listening("2021-03-03 10:00:00"), noMode});

        QCOMPARE(f.adif(AdifTarget::Lotw, QStringLiteral("LU1ABC_LoTW")), f.output(QStringLiteral("LU1ABC_LoTW")));
        QCOMPARE(f.dialogs.fileTitles, QStringList{QStringLiteral("ADIF para LoTW")});
        QCOMPARE(f.dialogs.proposedPaths, QStringList{f.output(QStringLiteral("LU1ABC_LoTW"))});
        QCOMPARE(f.dialogs.saveFilters, QStringList{QStringLiteral("*.adi (*.adi)")});
        const QByteArray expected =
            kHeader
            + "<MODE:3>SSB<FREQ_RX:7>435.800<FREQ:7>145.900<STATION_CALLSIGN:6>XX1AAA<CALL:5>YY2BB<QSO_DATE:8>20210302"
              "<TIME_ON:4>1423<RST_SENT:2>59<RST_RCVD:2>57<SAT_NAME:5>SO-50<PROP_MODE:3>SAT<GRIDSQUARE:4>FF78"
              "<MY_GRIDSQUARE:6>GF05TJ<EOR>\r\n"
              "<MODE:2>CW<FREQ_RX:7>435.800<FREQ:5>145.9<STATION_CALLSIGN:6>XX1AAA<CALL:6>PY2XYZ<QSO_DATE:8>20210303"
              "<TIME_ON:4>0102<RST_SENT:3>599<RST_RCVD:3>579<COMMENT:9>QRP se\xF1"
              "al<SAT_NAME:5>AO-91<PROP_MODE:3>SAT<MY_GRIDSQUARE:6>GF05TJ<EOR>\r\n"
              "<FREQ_RX:7>435.800<FREQ:7>145.900<STATION_CALLSIGN:6>XX1AAA<CALL:5>EA1AA<QSO_DATE:8>20210304"
              "<TIME_ON:4>2359<RST_SENT:2>59<RST_RCVD:2>57<SAT_NAME:5>RS-44<PROP_MODE:3>SAT<GRIDSQUARE:4>FF78"
              "<MY_GRIDSQUARE:6>GF05TJ<EOR>\r\n"
              "<EOF>\r\n";
        QCOMPARE(test::readBytes(f.output(QStringLiteral("LU1ABC_LoTW"))), expected);
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral("El archivo ADIF para LoTW: LU1ABC_LoTW\r\nfue guardado con 3 QSO(s)\r\n\r\n"
                                            "También se encontraron 1 linea(s) que es/son SWL y no fueron exportadas")});
        QCOMPARE(f.dialogs.shown.first().icon, Icon::Exclamation);

        // A second run names its own file and counts afresh.
        f.dialogs.shown.clear();
        QVERIFY(f.adif(AdifTarget::Lotw, QStringLiteral("otro.adi")));
        QVERIFY(f.dialogs.texts().first().startsWith(QStringLiteral("El archivo ADIF para LoTW: otro.adi\r\nfue guardado con 3")));
    }

    void eqslFile()
    {
        Fixture f;
        f.language = Language::English;
        QsoRecord j = qso();
        j.modoU = QStringLiteral("");
        j.orbita = QStringLiteral("12345");
        QsoRecord noMode = qso("K1ABC", "2021-03-02 14:30:00");
        noMode.frecD = QStringLiteral("2401.000"); // 2m up, 13cm down: no satellite mode
        QsoRecord packet = qso("ZS6AA", "2021-03-02 15:00:00");
        packet.modoU = QStringLiteral("FM");
        packet.frecU = packet.frecD = QStringLiteral("145.825");
        packet.satelite = QStringLiteral("ISS");
        packet.orbita = QStringLiteral("7");
        packet.obs = QString(300, u'n');
        f.list({j, noMode, listening("2021-03-02 14:40:00"), packet});

        QVERIFY(f.adif(AdifTarget::Eqsl, QStringLiteral("LU1ABC_eQSL"), {true}));
        const QByteArray expected =
            kHeader
            + "<MODE:0><BAND:5>SAT J<FREQ:7>145.900<FREQ_RX:7>435.800<STATION_CALLSIGN:6>XX1AAA<CALL:5>YY2BB"
              "<QSO_DATE:8>20210302<TIME_ON:4>1423<RST_SENT:2>59<RST_RCVD:2>57<QSLMSG:30>Satellite: SO-50 Orbit# 12345 "
              "<SAT_NAME:5>SO-50<PROP_MODE:3>SAT<GRIDSQUARE:4>FF78<MY_GRIDSQUARE:6>GF05TJ<EOR>\r\n"
              "<MODE:2>FM<BAND:10>SAT Packet<FREQ:7>145.825<FREQ_RX:7>145.825<STATION_CALLSIGN:6>XX1AAA<CALL:5>ZS6AA"
              "<QSO_DATE:8>20210302<TIME_ON:4>1500<RST_SENT:2>59<RST_RCVD:2>57<COMMENT:300>"
            + QByteArray(300, 'n') + "<QSLMSG:240>Satellite: ISS Orbit# 7 " + QByteArray(216, 'n')
            + "<SAT_NAME:3>ISS<PROP_MODE:3>SAT<GRIDSQUARE:4>FF78<MY_GRIDSQUARE:6>GF05TJ<EOR>\r\n"
              "<EOF>\r\n";
        QCOMPARE(test::readBytes(f.output(QStringLiteral("LU1ABC_eQSL"))), expected);
        QCOMPARE(f.dialogs.fileTitles, QStringList{QStringLiteral("ADIF para eQSL")});
        // The question counts the records written so far; Yes leaves the QSO out of file and count.
        QCOMPARE(f.dialogs.texts(),
                 (QStringList{QStringLiteral("Uplink: 145.900\r\nDownlink: 2401.000\r\nK1ABC\r\n"
                                             "QSO #1 is not Satellite mode!\r\nwill be ignored ... Continue?"),
                              QStringLiteral("eQSL ADIF File: LU1ABC_eQSL\r\nhas been saved with 2 QSO(s)\r\n\r\n"
                                             "Also found 1 SWL line(s) and they wasn't exported")}));
        QCOMPARE(f.dialogs.shown.first().icon, Icon::Question);
    }

    void eqslNoToTheNonSatelliteQuestionEndsTheFileThere()
    {
        Fixture f;
        QsoRecord noMode = qso("K1ABC", "2021-03-02 14:30:00");
        noMode.frecU = QStringLiteral("14.200");
        f.list({qso(), noMode, qso("ZS6AA", "2021-03-02 15:00:00")});
        QVERIFY(f.adif(AdifTarget::Eqsl, QStringLiteral("e.adi"), {false}));
        const QByteArray file = test::readBytes(f.output(QStringLiteral("e.adi")));
        QCOMPARE(file.count("<EOR>"), 1);
        QVERIFY(file.contains("<CALL:5>YY2BB") && file.endsWith("<EOR>\r\n<EOF>\r\n"));
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("El archivo ADIF para eQSL: e.adifue guardado con 1 QSO(s)"));
    }

    void completeFile()
    {
        Fixture f;
        QsoRecord sent = qso();
        sent.qsle = QStringLiteral("1");
        sent.modoU = QStringLiteral("LSB");
        QsoRecord swl = listening("2021-03-02 14:40:00");
        swl.qsle = QString(); // NULL
        swl.qslr = QStringLiteral("1");
        swl.satelite = QStringLiteral("");
        f.list({sent, swl});

        QVERIFY(f.adif(AdifTarget::Complete, QStringLiteral("LU1ABC_Completo")));
        const QByteArray expected =
            kHeader
            + "<MODE:3>SSB<FREQ_RX:7>435.800<FREQ:7>145.900<STATION_CALLSIGN:6>XX1AAA<CALL:5>YY2BB<QSO_DATE:8>20210302"
              "<TIME_ON:4>1423<RST_SENT:2>59<RST_RCVD:2>57<SAT_NAME:5>SO-50<PROP_MODE:3>SAT<GRIDSQUARE:4>FF78"
              "<MY_GRIDSQUARE:6>GF05TJ<QSL_SENT:1>Y<QSL_RCVD:1>N<EOR>\r\n"
              "<MODE:1> <FREQ_RX:7>435.800<FREQ:1> <STATION_CALLSIGN:6>XX1AAA<CALL:3>SWL<QSO_DATE:8>20210302"
              "<TIME_ON:4>1440<RST_SENT:2>59<RST_RCVD:1> <PROP_MODE:3>SAT<GRIDSQUARE:4>FF78"
              "<MY_GRIDSQUARE:6>GF05TJ<QSL_SENT:1>N<QSL_RCVD:1>Y<EOR>\r\n"
              "<EOF>\r\n";
        QCOMPARE(test::readBytes(f.output(QStringLiteral("LU1ABC_Completo"))), expected);
        QCOMPARE(f.dialogs.fileTitles, QStringList{QStringLiteral("ADIF Completo")});
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Archivo ADIF: LU1ABC_Completo guardado con 2 QSO(s)")});
    }

    void problemQuestionIsAskedOncePerExport()
    {
        Fixture f;
        QsoRecord a = qso("AA1A");
        a.satelite = QStringLiteral("");
        QsoRecord b = qso("BB1B", "2021-03-02 14:30:00");
        b.satelite = QStringLiteral("");
        b.frecD = QStringLiteral("");
        f.list({a, b});
        QVERIFY(f.adif(AdifTarget::Lotw, QStringLiteral("l.adi"), {true}));
        const QByteArray file = test::readBytes(f.output(QStringLiteral("l.adi")));
        QCOMPARE(file.count("<EOR>"), 2);
        QVERIFY(!file.contains("SAT_NAME"));
        QCOMPARE(f.dialogs.texts().first(), QStringLiteral("QSO con AA1A falta el nombre del satélite\r\nExporta igual?"));
        QCOMPARE(f.dialogs.shown.size(), 2); // the question, then the closing message
    }

    void anExportThatEndsEarlyLeavesTheOldFileAsItWas()
    {
        Fixture f;
        QsoRecord noDownlink = qso("BB1B", "2021-03-02 14:30:00");
        noDownlink.frecD = QStringLiteral("");
        f.list({qso(), noDownlink});
        const QString old = f.output(QStringLiteral("LU1ABC_eQSL"));
        test::writeBytes(old, "the previous upload\r\n");

        // Yes to overwriting, No to the problem question: nothing is written, nothing more said.
        QVERIFY(!f.adif(AdifTarget::Eqsl, QStringLiteral("LU1ABC_eQSL"), {true, false}));
        QCOMPARE(f.dialogs.texts(), (QStringList{QStringLiteral("El archivo ADIF LU1ABC_eQSL ya existe!\r\nSobregraba?"),
                                                 QStringLiteral("QSO con BB1B falta frec. de subida o bajada\r\nExporta igual?")}));
        QCOMPARE(test::readBytes(old), QByteArray("the previous upload\r\n"));

        // Only listening reports: the old file stays and the message counts them.
        Fixture g;
        g.list({listening("2021-03-01 10:00:00"), listening("2021-03-01 10:01:00"), listening("2021-03-01 10:02:00")});
        test::writeBytes(g.output(QStringLiteral("s.adi")), "old");
        QVERIFY(!g.adif(AdifTarget::Lotw, QStringLiteral("s.adi"), {true}));
        QCOMPARE(g.dialogs.texts().last(), QStringLiteral("El Log no se puede exportar, tiene solo 3 linea(s) y es/son SWL"));
        QCOMPARE(test::readBytes(g.output(QStringLiteral("s.adi"))), QByteArray("old"));
        QVERIFY(!g.adif(AdifTarget::Eqsl, QStringLiteral("none.adi")));
        QVERIFY(!QFileInfo::exists(g.output(QStringLiteral("none.adi"))));
    }

    void overwriteQuestionInTheInterfaceLanguage()
    {
        Fixture f;
        f.language = Language::English;
        f.list({qso()});
        const QString existing = f.output(QStringLiteral("LU1ABC_LoTW"));
        test::writeBytes(existing, "old");
        // The log itself is never written over; No shows the dialog again, on the chosen file;
        // cancelling it ends the export quietly.
        const QByteArray log = test::readBytes(f.path);
        f.dialogs.files = {f.path, existing, std::nullopt};
        f.dialogs.answers = {false};
        AdifExport lotw(AdifTarget::Lotw, f.context());
        QVERIFY(!lotw.run(f.model));
        QCOMPARE(f.dialogs.texts(),
                 (QStringList{QStringLiteral("export.mdb is the Data Base in use!\r\nChoose another file for the export."),
                              QStringLiteral("ADIF File LU1ABC_LoTW already exists!\r\nOverwrite?")}));
        QCOMPARE(f.dialogs.proposedPaths, (QStringList{existing, f.path, existing}));
        QCOMPARE(test::readBytes(existing), QByteArray("old"));
        QCOMPARE(test::readBytes(f.path), log);

        f.language = Language::Portuguese;
        f.dialogs.shown.clear();
        QVERIFY(f.adif(AdifTarget::Lotw, QStringLiteral("LU1ABC_LoTW"), {true}));
        QCOMPARE(f.dialogs.texts().first(), QStringLiteral("o arquivo ADIF LU1ABC_LoTW já existe!\r\nele substitui?"));
        QVERIFY(test::readBytes(existing).endsWith("<EOF>\r\n"));
        QVERIFY(!f.dialogs.unexpected);
    }

    void lotwAsksAboutSatellitesItDoesNotKnow()
    {
        Fixture f;
        QsoRecord unknown = qso("AA1A", "2021-03-02 14:30:00");
        unknown.satelite = QStringLiteral("XO-999");
        QsoRecord lower = qso("BB1B", "2021-03-02 14:31:00");
        lower.satelite = QStringLiteral("so-50");
        QsoRecord newer = qso("CC1C", "2021-03-02 14:32:00");
        newer.satelite = QStringLiteral("NEWSAT-1");
        QsoRecord swl = listening("2021-03-02 14:33:00");
        swl.satelite = QStringLiteral("XO-999");
        f.list({qso(), unknown, lower, newer, unknown, swl});
        const QString list = f.home.folder().file(kLotwSatellitesFile);

        QVERIFY(!f.adif(AdifTarget::Lotw, QStringLiteral("l.adi"), {false}));
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral("Estos satélites no están en la lista de LoTW (%1):\r\n"
                                            "XO-999: 2 QSO(s)\r\nNEWSAT-1: 1 QSO(s)\r\n"
                                            "LoTW rechaza esos QSO al firmar el archivo. Exporta igual?")
                                 .arg(list)});
        QVERIFY(!QFileInfo::exists(f.output(QStringLiteral("l.adi"))));

        // A name the operator adds to the list is known from then on.
        QFile file(list);
        QVERIFY(file.open(QIODevice::Append));
        file.write("NEWSAT-1\r\n");
        file.close();
        f.dialogs.shown.clear();
        QVERIFY(f.adif(AdifTarget::Lotw, QStringLiteral("l.adi"), {true}));
        QVERIFY(f.dialogs.texts().first().contains(QStringLiteral(":\r\nXO-999: 2 QSO(s)\r\nLoTW rechaza")));
        QCOMPARE(test::readBytes(f.output(QStringLiteral("l.adi"))).count("<EOR>"), 5);

        // The other exports do not ask.
        f.dialogs.shown.clear();
        QVERIFY(f.adif(AdifTarget::Complete, QStringLiteral("c.adi")));
        QCOMPARE(f.dialogs.shown.size(), 1);
    }

    void textBeyondWindows1252IsWrittenInUtf8()
    {
        Fixture f;
        QsoRecord r = qso();
        r.obs = QStringLiteral("Привет 73 🛰");
        f.list({r});
        QVERIFY(f.adif(AdifTarget::Complete, QStringLiteral("c.adi")));
        const QByteArray file = test::readBytes(f.output(QStringLiteral("c.adi")));
        QVERIFY(file.startsWith("<PROGRAMID:5>Vorta\r\n<PROGRAMVERSION:14>Versi\xC3\xB3n 1.0.15\r\n"));
        QVERIFY(file.contains(QStringLiteral("<COMMENT:11>Привет 73 🛰<SAT_NAME:5>").toUtf8()));

        f.dialogs.answers = {false};
        f.dialogs.files = {f.output(QStringLiteral("x.csv"))};
        CsvExport csv(f.context(), [](const QString &) { return true; });
        QVERIFY(csv.run(f.model));
        const QByteArray table = test::readBytes(f.output(QStringLiteral("x.csv")));
        QVERIFY(table.startsWith("\xEF\xBB\xBFModoUp;FrecUp;MiCall;Estaci\xC3\xB3n;"));
        QVERIFY(table.contains(QStringLiteral(";Привет 73 🛰;").toUtf8()));
    }

    void csvFile()
    {
        Fixture f;
        QsoRecord r = qso();
        r.qsle = QStringLiteral("1");
        r.qslr = QString(); // NULL
        r.obs = QStringLiteral("say \"hi\"; 73");
        r.orbita = QStringLiteral("4711");
        QsoRecord swl = listening("2021-03-02 14:40:00");
        swl.obs = QStringLiteral("línea\r\ncortada");
        f.list({r, swl});
        QString opened;
        f.dialogs.files = {f.output(QStringLiteral("LU1ABC"))};
        f.dialogs.answers = {true};
        CsvExport csv(f.context(), [&](const QString &path) {
            opened = path;
            return true;
        });
        QCOMPARE(csv.run(f.model), f.output(QStringLiteral("LU1ABC")));
        QCOMPARE(opened, f.output(QStringLiteral("LU1ABC")));
        QCOMPARE(f.dialogs.fileTitles, QStringList{QStringLiteral("Excel csv")});
        QCOMPARE(f.dialogs.proposedPaths, QStringList{f.output(QStringLiteral("LU1ABC"))});
        QCOMPARE(f.dialogs.saveFilters, QStringList{QStringLiteral("*.csv (*.csv)")});
        const QByteArray expected =
            "ModoUp;FrecUp;MiCall;Estaci\xF3n;Fecha;Hora;RS(T) e;FrecDwn;RS(T) r;ModoDwn;Observaciones;Sat;Orbita;QSLe;"
            "QSLr;Grid Locator;Mi Grid Locator\r\n"
            "USB;145.900;XX1AAA;YY2BB;02/03/2021;14:23;59;435.800;57;LSB;\"say \"\"hi\"\"; 73\";SO-50;4711;SI;NO;FF78;"
            "GF05TJ\r\n"
            " ; ;XX1AAA;SWL;02/03/2021;14:40;59;435.800; ;LSB;\"l\xEDnea\r\ncortada\";SO-50;;NO;NO;FF78;GF05TJ\r\n";
        QCOMPARE(test::readBytes(f.output(QStringLiteral("LU1ABC"))), expected);
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("El archivo Excel (csv): LU1ABC\r\nfue guardado con 2 QSO(s)"
                                                               "\r\n\r\nDesea verlo?")});
        QCOMPARE(f.dialogs.shown.first().icon, Icon::Exclamation);

        // An empty view gives the header alone; a program that cannot be started is told.
        LogFilter nobody;
        nobody.station = QStringLiteral("NOBODY");
        f.model.listFiltered(f.path, nobody);
        f.dialogs.shown.clear();
        f.dialogs.files = {f.output(QStringLiteral("vacio.csv"))};
        f.dialogs.answers = {true};
        f.language = Language::English;
        CsvExport failing(f.context(), [](const QString &) { return false; });
        QVERIFY(failing.run(f.model));
        QCOMPARE(test::readBytes(f.output(QStringLiteral("vacio.csv"))), expected.left(expected.indexOf("\r\n") + 2));
        QCOMPARE(f.dialogs.texts(),
                 (QStringList{QStringLiteral("Excel (csv) File: vacio.csv\r\nhas been saved with 0 QSO(s)\r\n\r\n"
                                             "Do you want to open it?"),
                              QStringLiteral("Could not open vacio.csv")}));
    }

    void aFileThatCannotBeWrittenIsReported()
    {
        Fixture f;
        f.list({qso()});
        // A name so long that the temporary copy beside it cannot be made, whoever runs this:
        // the write fails at its start and the file of that name stays whole.
        const QString name = QString(250, u'x');
        test::writeBytes(f.output(name), "old");
        QVERIFY(!f.adif(AdifTarget::Complete, name, {true}));
        QCOMPARE(f.dialogs.shown.size(), 2);
        const QString message = f.dialogs.texts().last();
        QVERIFY2(message.startsWith(QStringLiteral("No se pudo guardar el archivo %1:\r\n").arg(f.output(name))),
                 qPrintable(message));
        QVERIFY(message.section(QStringLiteral("\r\n"), 1, 1).size() > 0); // the system's reason
        QCOMPARE(f.dialogs.shown.last().icon, Icon::Critical);
        QCOMPARE(test::readBytes(f.output(name)), QByteArray("old"));

        // A folder that is not there.
        f.dialogs.shown.clear();
        f.dialogs.files = {f.output(QStringLiteral("gone/LU1ABC"))};
        CsvExport csv(f.context(), [](const QString &) { return true; });
        QVERIFY(!csv.run(f.model));
        QVERIFY(f.dialogs.texts().last().startsWith(QStringLiteral("No se pudo guardar el archivo")));
        QVERIFY(!f.dialogs.unexpected);
    }

    void everyRowOfAFilteredReversedViewInItsOrder()
    {
        Fixture f;
        // More rows than the ten thousand an export once stopped at.
        f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20100) "
                "INSERT INTO Tabla1 ([ModoU], [FrecU], [MyCall], [Estacion], [Fecha], [Hora], [RSTe], [FrecD], "
                "[RSTr], [ModoD], [Obs], [QSLe], [QSLr], [Nombre Log], [Operador], [Satelite], [Orbita]) "
                "SELECT 'FM', '145.850', 'LU1ABC', 'K' || i, datetime('2020-01-01', '+' || i || ' minutes'), "
                "strftime('%H:%M', datetime('2020-01-01', '+' || i || ' minutes')), '59', '436.795', '59', 'FM', '', "
                "'0', CASE WHEN i % 3 = 0 THEN '1' ELSE '0' END, 'GF05TJ', 'FN31', "
                "CASE WHEN i % 2 = 0 THEN 'SO-50' ELSE 'AO-91' END, i FROM n");
        LogFilter filter;
        filter.satellite = QStringLiteral("SO-50");
        filter.reverse = true;
        QVERIFY(f.model.listFiltered(f.path, filter).isEmpty());
        QCOMPARE(f.model.rowCount(), 10050);

        QVERIFY(f.adif(AdifTarget::Complete, QStringLiteral("c.adi")));
        const QList<QByteArray> lines = test::readBytes(f.output(QStringLiteral("c.adi"))).split('\n');
        QCOMPARE(lines.size(), 8 + 10050);
        QVERIFY(lines[6].contains("<CALL:6>K20100<"));
        QVERIFY(lines[6].endsWith("<QSL_SENT:1>N<QSL_RCVD:1>Y<EOR>\r"));
        QVERIFY(lines[7].contains("<CALL:6>K20098<") && lines[7].contains("<QSL_RCVD:1>N"));
        QVERIFY(lines[6 + 10049].contains("<CALL:2>K2<"));
        QCOMPARE(lines[6 + 10050], QByteArray("<EOF>\r"));
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("Archivo ADIF: c.adi guardado con 10050 QSO(s)"));
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
