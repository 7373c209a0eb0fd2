// ADIF files as other programs and the confirmation services write them, for the import tests.
#pragma once

#include <QString>

namespace vorta::test {

// A report of the LoTW service: free text before the header, one field per line with comments
// after the values, lower-case tags, and a closing tag with no length after the last record.
// It confirms PY2XYZ via AO-91 on 31/01/2024 13:45 (FM, no FREQ_RX, no reports) and CE3AB via
// RS-44 on 30/01/2024 22:10 (SSB, BAND 2M only).
inline QString lotwReport()
{
    return QStringLiteral(
        "ARRL Logbook of the World Status Report\r\n"
        "Generated at 2024-02-01 12:34:56\r\n"
        "for lu1abc\r\n"
        "Query:\r\n"
        "    OWNCALL: LU1ABC\r\n"
        "QSL ONLY: YES\r\n"
        "\r\n"
        "<PROGRAMID:4>LoTW\r\n"
        "<APP_LoTW_LASTQSL:19>2024-02-01 10:11:12\r\n"
        "\r\n"
        "<APP_LoTW_NUMREC:1>2\r\n"
        "\r\n"
        "<eoh>\r\n"
        "\r\n"
        "<APP_LoTW_OWNCALL:6>LU1ABC\r\n"
        "<STATION_CALLSIGN:6>LU1ABC\r\n"
        "<CALL:6>PY2XYZ\r\n"
        "<BAND:4>70CM\r\n"
        "<FREQ:8>435.2500\r\n"
        "<MODE:2>FM\r\n"
        "<APP_LoTW_MODEGROUP:5>PHONE\r\n"
        "<QSO_DATE:8>20240131 // QSO Date: 2024-01-31\r\n"
        "<TIME_ON:6>134502 // QSO Start Time: 13:45:02\r\n"
        "<PROP_MODE:3>SAT\r\n"
        "<SAT_NAME:5>AO-91\r\n"
        "<QSL_RCVD:1>Y // QSL Received from LoTW\r\n"
        "<QSLRDATE:8>20240201 // QSL Received Date\r\n"
        "<eor>\r\n"
        "\r\n"
        "<APP_LoTW_OWNCALL:6>LU1ABC\r\n"
        "<STATION_CALLSIGN:6>LU1ABC\r\n"
        "<CALL:5>CE3AB\r\n"
        "<BAND:2>2M\r\n"
        "<MODE:3>SSB\r\n"
        "<QSO_DATE:8>20240130 // QSO Date: 2024-01-30\r\n"
        "<TIME_ON:6>221000 // QSO Start Time: 22:10:00\r\n"
        "<PROP_MODE:3>SAT\r\n"
        "<SAT_NAME:5>RS-44\r\n"
        "<QSL_RCVD:1>Y // QSL Received from LoTW\r\n"
        "<eor>\r\n"
        "\r\n"
        "<APP_LoTW_EOF>\r\n");
}

// An inbox download of the eQSL service for owner: the service named on one header line, the
// owner on the next, one record per line with mixed-case tags and typed dates, no
// STATION_CALLSIGN. PY2XYZ via AO-91 (named in the QSL message, with orbit 1234) on 31/01/2024
// 13:45, and an HF QSO that is no satellite QSO.
inline QString eqslInbox(const QString &owner = QStringLiteral("LU1ABC"))
{
    return QStringLiteral("ADIF 3 Export from eQSL.cc\r\n"
                          "Received eQSLs for %1 for QSOs between 01-Jan-2024 and 01-Feb-2024\r\n"
                          "Generated on Thursday, February 1, 2024 at 12:34:56 PM UTC\r\n"
                          "<PROGRAMID:21>eQSL.cc DownloadInBox\r\n"
                          "<ADIF_Ver:5>3.1.0\r\n"
                          "<EOH>\r\n"
                          "<CALL:6>PY2XYZ<QSO_DATE:8:D>20240131<TIME_ON:4>1345<BAND:4>70CM<MODE:2>FM<PROP_MODE:3>SAT"
                          "<RST_SENT:2>57<QSL_SENT:1>Y<QSL_SENT_VIA:1>E<QSLMSG:23>Tnx QSO via AO-91 #1234"
                          "<GRIDSQUARE:6>gg66tj<EOR>\r\n"
                          "<CALL:4>K1AB<QSO_DATE:8:D>20240129<TIME_ON:4>0102<BAND:3>20M<MODE:3>FT8<RST_SENT:3>-10"
                          "<QSL_SENT:1>Y<QSL_SENT_VIA:1>E<EOR>\r\n")
        .arg(owner);
}

// A file of another logger: a short header, then count satellite QSOs one per line, a minute
// apart from 01/03/2024 00:00, each with its own station call, mode FM via SO-50.
inline QString loggerFile(int count, bool withStationCall = true)
{
    QString text = QStringLiteral("Log export\r\n<ADIF_VER:5>3.1.4\r\n<PROGRAMID:6>Logger\r\n<EOH>\r\n");
    text.reserve(text.size() + count * 200);
    for (int i = 0; i < count; ++i) {
        const QString call = QStringLiteral("PY%1ABC").arg(i);
        const int minute = i % (24 * 60);
        const QString time = QStringLiteral("%1%2").arg(minute / 60, 2, 10, QLatin1Char('0')).arg(minute % 60, 2, 10, QLatin1Char('0'));
        const QString date = QStringLiteral("202403%1").arg(1 + i / (24 * 60), 2, 10, QLatin1Char('0'));
        text += QStringLiteral("<CALL:%1>%2").arg(call.size()).arg(call);
        if (withStationCall)
            text += QStringLiteral("<STATION_CALLSIGN:6>LU1ABC");
        text += QStringLiteral("<QSO_DATE:8>%1<TIME_ON:4>%2<SAT_NAME:5>SO-50<FREQ:7>145.850<FREQ_RX:7>436.795"
                               "<MODE:2>FM<RST_SENT:2>59<RST_RCVD:2>57<EOR>\r\n")
                    .arg(date, time);
    }
    return text;
}

} // namespace vorta::test
