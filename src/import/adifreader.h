// Reading ADIF files into import records. This is a line-oriented text search, not a general
// ADIF parser: every line is upper-cased, the lines of one QSO are joined into one record line,
// and each wanted tag is found by searching that line for its opening ("<CALL:"). Tag names are
// thereby matched whatever their case, and every value comes back in upper case. It reads what
// confirmation services really send: free text before the header, one field per line with
// "// comments" after the values, a lower-case "<eor>", a closing tag after the last record.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace vorta {

// The value of the first occurrence of a tag opening such as "<CALL:" in a record line: as many
// characters after the ">" that follows the opening as its declared length says (fewer when the
// line ends first). A type indicator between length and ">" ("<QSO_DATE:8:D>") is skipped; a
// missing ">" makes the value start right after the length. Empty when the line lacks the tag.
QString adifTagValue(QStringView line, QStringView tag);

// The text of an ADIF file: UTF-16 with its byte-order mark, or without one when the NULs of
// its ASCII tags show it; else UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString decodeAdifText(const QByteArray &bytes);

// What the header of a file tells.
struct AdifHeader
{
    bool found = false; // a line holding nothing but "<EOH>" ended it
    // "EQSL" for an eQSL download; once the header has ended, its PROGRAMID (empty without one).
    QString sourceId;
    // The call an eQSL download was made for ("Received eQSLs for LU1ABC ...").
    QString eqslOwnerCall;
    QString programVersion, adifVersion, timestamp;

    // Downloads of the confirmation services: their QSOs count as confirmed both ways.
    bool isConfirmation() const;
    // The eQSL owner call stands in for a record's missing STATION_CALLSIGN.
    bool isEqsl() const;
};

// Scans the header of the decoded file text. For each line read before the header's end it calls
// line(records), records being the number of "<EOR>" met so far (a file without header is
// scanned to its end); when that returns false the scan stops and nothing is returned.
std::optional<AdifHeader> scanAdifHeader(QStringView text, const std::function<bool(int records)> &line);

// Cuts the decoded file text into record lines, each upper-cased and joined without separator up
// to and including an "<EOR>" (several records on one line are cut apart). A first line without
// "<EOR>" stays a line of its own (a header line, harmless as it holds no QSO tags); a first line
// with "<EOH>" loses the text up to it; the header lines after the first join the first record.
// Text after the last "<EOR>" is no record. For each record line it calls record(line, end),
// end being the position in text just past it; when that returns false the cutting stops and
// false is returned.
bool forEachRecordLine(QStringView text, const std::function<bool(const QString &line, qsizetype end)> &record);

// The satellite-band test: a BAND value names 2 m or a shorter band ("2M", "70CM", "23CM",
// "13CM"; not "6M" or "20M"); a frequency in MHz is above 144 and no more than 300 GHz.
bool isSatelliteBand(QStringView text);

struct Frequencies
{
    QString uplink, downlink;
};
// Uplink and downlink for a record that carries a BAND but no FREQ: a frequency inside the band,
// and a downlink on the band its satellites answer on.
Frequencies bandDefaults(QStringView band);
// The downlink for an uplink frequency when the record carries no FREQ_RX.
QString oppositeBandDefault(QStringView uplink);

// One satellite QSO as read from a record line; every text upper case.
struct ImportRecord
{
    QString station;     // CALL
    QString stationCall; // STATION_CALLSIGN as the file has it, maybe empty
    QString satellite, orbit;
    QString uplink, downlink; // MHz as written, or the defaults
    QString mode;             // MODE, "SAT" being FM
    QString date;             // "DD/MM/YYYY"
    QString time;             // "HH:MM"
    QString reportReceived, reportSent; // "59" when missing
    QString notes, qslSent, qslReceived, locator;
    // Values that hold a default because the file did not carry them.
    bool uplinkDefault = false, downlinkDefault = false, reportSentDefault = false,
         reportReceivedDefault = false;

    // The date and time as a UTC instant; invalid when the file's date or time is no real one.
    QDateTime moment() const;
};

// The import record of a record line, for a file whose header is given; nothing when the line
// is no satellite QSO (no satellite and no orbit, or a band or frequency below 2 m or none at
// all) or has no CALL (a blank one, or one that runs on into the next tag).
std::optional<ImportRecord> readImportRecord(QStringView line, const AdifHeader &header);

} // namespace vorta
