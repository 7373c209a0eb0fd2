// The ADIF reader: tag values, header, record lines and the import record of each QSO, on files
// written the way other programs and the confirmation services write them.
#include "adifsamples.h"
#include "import/adifreader.h"

#include <QTest>

#include <vector>

using namespace vorta;

namespace {

struct ReadFile
{
    AdifHeader header;
    std::vector<ImportRecord> records;
    int recordLines = 0;
};

ReadFile readFile(const QString &text)
{
    ReadFile file;
    file.header = scanAdifHeader(text, [](int) { return true; }).value();
    forEachRecordLine(text, [&](const QString &line, qsizetype) {
        ++file.recordLines;
        if (auto record = readImportRecord(line, file.header))
            file.records.push_back(*record);
        return true;
    });
    return file;
}

// A record that passes every test, with its tags replaced or added.
QString record(const QString &tags)
{
    return QStringLiteral("<CALL:6>PY2XYZ<SAT_NAME:5>AO-91<QSO_DATE:8>20240131<TIME_ON:4>1345") + tags
           + QStringLiteral("<EOR>\r\n");
}

} // namespace

class TestAdifReader : public QObject
{
    Q_OBJECT
private slots:
    void tagValues_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "<CALL:6>XX1XXX<EOR>" << "<CALL:" << "XX1XXX";
        QTest::newRow("type indicator skipped") << "<QSO_DATE:8:D>20240131" << "<QSO_DATE:" << "20240131";
        QTest::newRow("first occurrence only") << "<CALL:2>AB<CALL:2>CD" << "<CALL:" << "AB";
        QTest::newRow("colon keeps FREQ from FREQ_RX") << "<FREQ_RX:7>145.900" << "<FREQ:" << "";
        QTest::newRow("colon keeps CALL from STATION_CALLSIGN") << "<STATION_CALLSIGN:4>AB1C" << "<CALL:" << "";
        QTest::newRow("length beyond the line") << "<CALL:10>AB1C" << "<CALL:" << "AB1C";
        QTest::newRow("no closing bracket") << "<CALL:4 AB1C" << "<CALL:" << "AB1C";
        QTest::newRow("zero length") << "<COMMENT:0><CALL:2>AB" << "<COMMENT:" << "";
        QTest::newRow("missing") << "<CALL:2>AB" << "<GRIDSQUARE:" << "";
        // Lengths of damaged or hostile files.
        QTest::newRow("huge length") << "<CALL:100000000000000000000>AB1C<EOR>" << "<CALL:" << "AB1C<EOR>";
        QTest::newRow("length beyond every number") << "<CALL:" + QString(400, u'9') + ">AB1C" << "<CALL:" << "AB1C";
        QTest::newRow("negative length") << "<CALL:-3>AB1C" << "<CALL:" << "";
        QTest::newRow("length past the end, type indicator") << "<NOTES:40:M>HELLO" << "<NOTES:" << "HELLO";
        QTest::newRow("nothing after the bracket") << "<CALL:4>" << "<CALL:" << "";
        // Lengths count characters, as the exports write them: one beyond the basic plane is one.
        QTest::newRow("emoji inside") << QStringLiteral("<COMMENT:12>Nice 😀 QSO ő<EOR>") << "<COMMENT:"
                                      << QStringLiteral("Nice 😀 QSO ő");
        QTest::newRow("emoji last") << QStringLiteral("<COMMENT:6>Nice 😀<EOR>") << "<COMMENT:" << QStringLiteral("Nice 😀");
    }
    void tagValues()
    {
        QFETCH(QString, line);
        QFETCH(QString, tag);
        QFETCH(QString, value);
        // The line is handed on as a part of a longer text: no value may run past its end.
        const QString text = line + QStringLiteral("<TAIL:4>TAIL");
        QCOMPARE(adifTagValue(QStringView(text).first(line.size()), tag), value);
    }

    // Frequencies of a record from its FREQ, FREQ_RX and BAND; "" for a record that is skipped.
    void frequencies_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("uplink");
        QTest::addColumn<QString>("downlink");
        QTest::newRow("band 2m") << "<BAND:2>2m" << "145.500" << "435.500";
        QTest::newRow("band 70cm") << "<BAND:4>70cm" << "435.500" << "145.500";
        QTest::newRow("band 23cm inside the band") << "<BAND:4>23CM" << "1268.000" << "435.500";
        QTest::newRow("band 13cm answers on 3cm") << "<BAND:4>13CM" << "2400.000" << "10489.500";
        QTest::newRow("band 20m skipped") << "<BAND:3>20M" << "" << "";
        QTest::newRow("band 6m skipped") << "<BAND:2>6M" << "" << "";
        QTest::newRow("no band, no frequency skipped") << "" << "" << "";
        QTest::newRow("uplink on 2m") << "<FREQ:7>145.850" << "145.850" << "435.500";
        QTest::newRow("uplink on 70cm") << "<FREQ:7>435.250" << "435.250" << "145.500";
        QTest::newRow("uplink on 13cm") << "<FREQ:6>2400.2" << "2400.2" << "10489.500";
        QTest::newRow("uplink on 23cm") << "<FREQ:4>1268" << "1268" << "435.500";
        QTest::newRow("HF skipped") << "<FREQ:6>14.074" << "" << "";
        QTest::newRow("144 is below") << "<FREQ:3>144" << "" << "";
        QTest::newRow("own downlink") << "<FREQ:7>145.850<FREQ_RX:7>436.795" << "145.850" << "436.795";
        QTest::newRow("own downlink with a band") << "<BAND:2>2M<FREQ_RX:7>436.795" << "145.500" << "436.795";
        // Damaged files: digits beyond every number, or above 300 GHz, are no frequency.
        QTest::newRow("uplink beyond every number skipped") << "<FREQ:400>" + QString(400, u'9') << "" << "";
        QTest::newRow("uplink of 25 digits skipped") << "<FREQ:25>" + QString(25, u'9') << "" << "";
        QTest::newRow("uplink above 300 GHz skipped") << "<FREQ:10>300000.001" << "" << "";
        QTest::newRow("uplink at 300 GHz") << "<FREQ:6>300000" << "300000" << "145.500";
        QTest::newRow("downlink beyond every number is none")
            << "<FREQ:7>145.900<FREQ_RX:400>" + QString(400, u'9') << "145.900" << "435.500";
        QTest::newRow("downlink above 300 GHz is none") << "<BAND:4>70CM<FREQ_RX:10>400000.000" << "435.500" << "145.500";
    }
    void frequencies()
    {
        QFETCH(QString, tags);
        QFETCH(QString, uplink);
        QFETCH(QString, downlink);
        const ReadFile file = readFile(record(tags));
        if (uplink.isEmpty()) {
            QVERIFY(file.records.empty());
            return;
        }
        QCOMPARE(int(file.records.size()), 1);
        QCOMPARE(file.records[0].uplink, uplink);
        QCOMPARE(file.records[0].downlink, downlink);
        // A value of the file's own stands in its tags; any other is a default.
        QCOMPARE(file.records[0].uplinkDefault, !tags.contains(uplink));
        QCOMPARE(file.records[0].downlinkDefault, !tags.contains(downlink));
    }

    void valuesOfARecord()
    {
        // Lower-case tags and values, a typed date, seconds in the time, a mode SAT.
        const ReadFile file = readFile(QStringLiteral(
            "<call:6>xx1xxx<sat_name:5>ao-91<band:2>2m<mode:3>SAT<qso_date:8:d>20240131<time_on:6>134502"
            "<comment:5>hello<gridsquare:4>gg66<rst_sent:3>579<eor>\n"));
        QCOMPARE(int(file.records.size()), 1);
        const ImportRecord &r = file.records[0];
        QCOMPARE(r.station, QStringLiteral("XX1XXX"));
        QCOMPARE(r.satellite, QStringLiteral("AO-91"));
        QCOMPARE(r.notes, QStringLiteral("HELLO"));
        QCOMPARE(r.locator, QStringLiteral("GG66"));
        QCOMPARE(r.mode, QStringLiteral("FM"));
        QCOMPARE(r.date, QStringLiteral("31/01/2024"));
        QCOMPARE(r.time, QStringLiteral("13:45"));
        QCOMPARE(r.moment(), QDateTime(QDate(2024, 1, 31), QTime(13, 45), Qt::UTC));
        QCOMPARE(r.reportSent, QStringLiteral("579"));
        QVERIFY(!r.reportSentDefault);
        QCOMPARE(r.reportReceived, QStringLiteral("59"));
        QVERIFY(r.reportReceivedDefault);
        QVERIFY(r.qslSent.isEmpty() && r.qslReceived.isEmpty()); // no confirmation service

        // A date that is no real one leaves the record without a moment.
        for (const char *date : {"<QSO_DATE:8>20240231", ""}) {
            const QString line = QStringLiteral("<CALL:2>AB<SAT_NAME:2>X1<BAND:2>2M%1<TIME_ON:4>1345<EOR>").arg(date);
            QVERIFY2(!readFile(line).records[0].moment().isValid(), date);
        }
        // An orbit found in the comment does not make the reader forget the record's downlink.
        const ReadFile orbit = readFile(QStringLiteral("<CALL:2>AB<COMMENT:15>FO-29 ORB: 123<FREQ:7>145.850"
                                                       "<FREQ_RX:7>435.850<EOR>"));
        QCOMPARE(orbit.records[0].orbit, QStringLiteral("123"));
        QCOMPARE(orbit.records[0].downlink, QStringLiteral("435.850"));
        // No CALL: skipped.
        QVERIFY(readFile(QStringLiteral("<SAT_NAME:5>AO-91<BAND:2>2M<EOR>")).records.empty());
    }

    // A call of blanks, or one that runs on into the next tag, is no call: the record is skipped.
    void calls_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("station"); // "" for a skipped record
        QTest::newRow("plain") << "<CALL:4>K1AB" << "K1AB";
        QTest::newRow("blanks around") << "<CALL:6> K1AB " << "K1AB";
        QTest::newRow("blanks only") << "<CALL:4>    " << "";
        QTest::newRow("length past the value") << "<CALL:99999999999999999999999>K1AB" << "";
        QTest::newRow("length into the next tag") << "<CALL:6>K1AB" << "";
        QTest::newRow("length onto the blank before the next tag") << "<CALL:5>K1AB" << "K1AB";
        QTest::newRow("empty") << "<CALL:0>" << "";
    }
    void calls()
    {
        QFETCH(QString, call);
        QFETCH(QString, station);
        const ReadFile file = readFile(call + QStringLiteral(" <SAT_NAME:5>AO-91 <BAND:2>2m <QSO_DATE:8>20240131"
                                                             " <TIME_ON:4>1345 <EOR>\r\n"));
        QCOMPARE(file.recordLines, 1);
        if (station.isEmpty()) {
            QVERIFY(file.records.empty());
            return;
        }
        QCOMPARE(int(file.records.size()), 1);
        QCOMPARE(file.records[0].station, station);
    }

    // The text of a file as other programs save it: UTF-16 with or without its mark, UTF-8,
    // Windows-1252.
    void decoding_data()
    {
        const QString text = QStringLiteral("Exportación de LU1ABC\r\n<ADIF_VER:5>3.1.0\r\n<EOH>\r\n")
                             + record(QStringLiteral("<BAND:2>2m<COMMENT:6>Señal"));
        QByteArray littleEndian, bigEndian;
        for (const QChar c : text) {
            const char low = char(c.unicode() & 0xff), high = char(c.unicode() >> 8);
            littleEndian += QByteArray(1, low) + QByteArray(1, high);
            bigEndian += QByteArray(1, high) + QByteArray(1, low);
        }
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-16 LE without mark") << littleEndian << text;
        QTest::newRow("UTF-16 BE without mark") << bigEndian << text;
        QTest::newRow("UTF-16 LE with mark") << QByteArray("\xFF\xFE") + littleEndian << text;
        QTest::newRow("UTF-16 BE with mark") << QByteArray("\xFE\xFF") + bigEndian << text;
        QTest::newRow("UTF-8") << text.toUtf8() << text;
        QTest::newRow("Windows-1252") << text.toLatin1() << text;
        // A NUL or two in a value does not make a file UTF-16.
        const QByteArray withNul = record(QStringLiteral("<BAND:2>2m<COMMENT:3>A")).toUtf8().replace("A<EOR>", QByteArray("A\0\0<EOR>", 8));
        QTest::newRow("UTF-8 with NULs in a value") << withNul << QString::fromUtf8(withNul);
    }
    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeAdifText(bytes), text);
    }

    void satelliteAndOrbitFromFreeText_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("satellite");
        QTest::addColumn<QString>("orbit");
        QTest::newRow("comment") << "<COMMENT:13>via QO-100 ok" << "QO-100" << "";
        QTest::newRow("QSL message wins") << "<COMMENT:5>AO-91<QSLMSG:9>TNX SO-50" << "SO-50" << "";
        QTest::newRow("QSL message naming none leaves the comment's")
            << "<COMMENT:11>AO-91 #4321<QSLMSG:7>TNX QSO" << "AO-91" << "4321";
        QTest::newRow("orbit alone is enough") << "<COMMENT:10>ORB: 12345" << "" << "12345";
        QTest::newRow("orbit 0 and no satellite skipped") << "<COMMENT:7>ORB: 0 X" << "" << "";
        QTest::newRow("nothing skipped") << "<COMMENT:7>TNX QSO" << "" << "";
    }
    void satelliteAndOrbitFromFreeText()
    {
        QFETCH(QString, tags);
        QFETCH(QString, satellite);
        QFETCH(QString, orbit);
        const ReadFile file = readFile(QStringLiteral("<CALL:4>AB1C<BAND:2>2M<QSO_DATE:8>20240131<TIME_ON:4>1345")
                                       + tags + QStringLiteral("<EOR>"));
        if (satellite.isEmpty() && orbit.isEmpty()) {
            QVERIFY(file.records.empty());
            return;
        }
        QCOMPARE(int(file.records.size()), 1);
        QCOMPARE(file.records[0].satellite, satellite);
        QCOMPARE(file.records[0].orbit, orbit);
    }

    void recordLines()
    {
        // Split over lines, then two records on one line, then one without its "<EOR>" (lost).
        ReadFile file = readFile(QStringLiteral("<ADIF_VER:5>3.1.0\r\n<EOH>\r\n<CALL:4>AB1C\r\n\r\n<SAT_NAME:5>AO-91"
                                                "<BAND:2>2M\r\n<eor>\r\n")
                                 + record(QStringLiteral("<BAND:2>2M<CALL:4>CD2E")).trimmed() + record(QStringLiteral("<BAND:2>2M")).trimmed()
                                 + QStringLiteral("\n<CALL:4>GH3I<SAT_NAME:5>AO-91<BAND:2>2M\n"));
        QCOMPARE(int(file.records.size()), 3);
        QCOMPARE(file.records[0].station, QStringLiteral("AB1C"));
        QCOMPARE(file.records[1].station, QStringLiteral("PY2XYZ")); // the first CALL of its record
        QCOMPARE(file.records[2].station, QStringLiteral("PY2XYZ"));

        // A first line that is a whole record stays one; so does a first line with "<EOH>" in front.
        QCOMPARE(int(readFile(record(QStringLiteral("<BAND:2>2M"))).records.size()), 1);
        QCOMPARE(int(readFile(QStringLiteral("<PROGRAMID:3>XYZ<EOH>") + record(QStringLiteral("<BAND:2>2M"))).records.size()), 1);
        // Mac line ends.
        QCOMPARE(int(readFile(QStringLiteral("<EOH>\r<CALL:4>AB1C\r<SAT_NAME:5>AO-91<BAND:2>2M<EOR>\r")).records.size()), 1);
        // An empty file holds nothing.
        QVERIFY(readFile(QString()).records.empty());
    }

    void headerWithItsOwnLine()
    {
        const ReadFile file = readFile(QStringLiteral("Export\r\n<PROGRAMID:6>Logger<PROGRAMVERSION:3>1.2\r\n"
                                                      "<ADIF_VER:5>3.1.4<CREATED_TIMESTAMP:15>20240201 123456\r\n"
                                                      "  <EOH>  \r\n")
                                       + record(QStringLiteral("<BAND:2>2M")));
        QVERIFY(file.header.found);
        QCOMPARE(file.header.sourceId, QStringLiteral("LOGGER"));
        QCOMPARE(file.header.programVersion, QStringLiteral("1.2"));
        QCOMPARE(file.header.adifVersion, QStringLiteral("3.1.4"));
        QCOMPARE(file.header.timestamp, QStringLiteral("20240201 123456"));
        QVERIFY(!file.header.isConfirmation());
        QCOMPARE(int(file.records.size()), 1);
    }

    void headerSharingALine()
    {
        // No header is recognised; its lines join the first record harmlessly.
        const ReadFile file = readFile(QStringLiteral("Export of my log\r\n<PROGRAMID:4>LOTW <EOH>\r\n")
                                       + record(QStringLiteral("<BAND:2>2M")) + record(QStringLiteral("<BAND:2>2M<CALL:4>AB1C")));
        QVERIFY(!file.header.found);
        QVERIFY(file.header.sourceId.isEmpty());
        QCOMPARE(int(file.records.size()), 2);
        QCOMPARE(file.records[0].station, QStringLiteral("PY2XYZ"));
    }

    void headerScanCountsAFileWithoutHeaderAndStops()
    {
        const QString text = record(QStringLiteral("<BAND:2>2M")) + record(QStringLiteral("<BAND:2>2M")) + record(QStringLiteral("<BAND:2>2M"));
        QList<int> counts;
        QVERIFY(scanAdifHeader(text, [&](int records) {
            counts << records;
            return true;
        }));
        QCOMPARE(counts, (QList<int>{1, 2, 3}));
        QVERIFY(!scanAdifHeader(text, [](int) { return false; }));
        int records = 0;
        QVERIFY(!forEachRecordLine(text, [&](const QString &, qsizetype) { return ++records < 2; }));
        QCOMPARE(records, 2);
    }

    void lotwReport()
    {
        const ReadFile file = readFile(test::lotwReport());
        QVERIFY(file.header.found);
        QCOMPARE(file.header.sourceId, QStringLiteral("LOTW"));
        QVERIFY(file.header.isConfirmation() && !file.header.isEqsl());
        QCOMPARE(int(file.records.size()), 2);
        const ImportRecord &first = file.records[0];
        QCOMPARE(first.station, QStringLiteral("PY2XYZ"));
        QCOMPARE(first.stationCall, QStringLiteral("LU1ABC"));
        QCOMPARE(first.satellite, QStringLiteral("AO-91"));
        QCOMPARE(first.uplink, QStringLiteral("435.2500"));
        QCOMPARE(first.date, QStringLiteral("31/01/2024"));
        QCOMPARE(first.time, QStringLiteral("13:45"));
        QCOMPARE(first.qslSent, QStringLiteral("Y"));
        QCOMPARE(first.qslReceived, QStringLiteral("Y"));
        QCOMPARE(file.records[1].mode, QStringLiteral("SSB"));
        QCOMPARE(file.records[1].uplink, QStringLiteral("145.500"));
    }

    void eqslInbox()
    {
        const ReadFile file = readFile(test::eqslInbox());
        QVERIFY(file.header.found);
        QCOMPARE(file.header.sourceId, QStringLiteral("EQSL.CC DOWNLOADINBOX"));
        QVERIFY(file.header.isEqsl() && file.header.isConfirmation());
        QCOMPARE(file.header.eqslOwnerCall, QStringLiteral("LU1ABC"));
        QCOMPARE(file.header.adifVersion, QStringLiteral("3.1.0"));
        // The HF QSO is no satellite QSO; the other names its satellite in the QSL message.
        QCOMPARE(file.recordLines, 3); // the first header line, then the two records
        QCOMPARE(int(file.records.size()), 1);
        const ImportRecord &r = file.records[0];
        QCOMPARE(r.satellite, QStringLiteral("AO-91"));
        QCOMPARE(r.orbit, QStringLiteral("1234"));
        QCOMPARE(r.locator, QStringLiteral("GG66TJ"));
        QCOMPARE(r.reportSent, QStringLiteral("57"));
        QVERIFY(r.stationCall.isEmpty());
        QCOMPARE(r.qslReceived, QStringLiteral("Y"));
    }
};

QTEST_GUILESS_MAIN(TestAdifReader)
#include "tst_adifreader.moc"
