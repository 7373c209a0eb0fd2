#include "import/adifreader.h"

#include "common/dates.h"
#include "common/textfile.h"
#include "common/textvalue.h"
#include "tracking/satrules.h"

#include <QStringDecoder>

#include <cmath>
#include <utility>

namespace vorta {

namespace {

// Walks the lines of a text; CR LF, LF and CR all end a line.
class LineCursor
{
public:
    explicit LineCursor(QStringView text) : m_text(text) {}

    bool next(QStringView &line)
    {
        const qsizetype size = m_text.size();
        if (m_pos >= size)
            return false;
        qsizetype end = m_pos;
        while (end < size && m_text[end] != u'\n' && m_text[end] != u'\r')
            ++end;
        line = m_text.sliced(m_pos, end - m_pos);
        if (end < size && m_text[end] == u'\r' && end + 1 < size && m_text[end + 1] == u'\n')
            m_pos = end + 2;
        else
            m_pos = qMin(end + 1, size);
        return true;
    }
    qsizetype position() const { return m_pos; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// The line upper-cased in buffer, whose storage serves line after line. Lines are nearly
// always ASCII, which is upper-cased here without the general case mapping.
QStringView upperCased(QStringView line, QString &buffer)
{
    buffer.resize(line.size());
    QChar *out = buffer.data();
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = line[i].unicode();
        if (c >= 0x80) {
            buffer = line.toString().toUpper();
            return buffer;
        }
        out[i] = QChar(c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c);
    }
    return buffer;
}

constexpr QStringView kEor = u"<EOR>";
constexpr QStringView kEoh = u"<EOH>";

// Nothing on the air lies above 300 GHz: a larger value, or digits beyond every number (read as
// infinity), come from a damaged file and are no frequency at all, as a text without a number.
constexpr double kHighestRadioMHz = 300000;

bool isRadioFrequency(double mhz)
{
    return std::isfinite(mhz) && mhz <= kHighestRadioMHz;
}

QString modeOf(QStringView line)
{
    const QString mode = adifTagValue(line, u"<MODE:");
    return mode.contains(u"SAT") ? QStringLiteral("FM") : mode;
}

} // namespace

QString adifTagValue(QStringView line, QStringView tag)
{
    // Every tag opening starts with "<": hopping from one "<" to the next finds the first
    // occurrence faster than a general substring search over the whole line, all the more as
    // the letter after the "<" rules out most tags before the whole opening is compared.
    const auto opensTag = [&](qsizetype at) {
        return (tag.size() < 2 || (at + 1 < line.size() && line[at + 1] == tag[1])) && line.sliced(at).startsWith(tag);
    };
    qsizetype at = line.indexOf(u'<');
    while (at >= 0 && !opensTag(at))
        at = line.indexOf(u'<', at + 1);
    if (at < 0)
        return QString();
    const QStringView rest = line.mid(at + tag.size(), 1000);
    const double declared = numericValue(rest);
    qsizetype start = rest.indexOf(u'>') + 1;
    if (start == 0) {
        // No ">": the value starts right after the length digits.
        start = 0;
        while (start < rest.size() && (rest[start].isDigit() || rest[start] == u'.' || rest[start] == u' '))
            ++start;
    }
    const qsizetype available = rest.size() - start;
    // The length is clamped while still a double: a declared length beyond what any integer
    // holds (a damaged file) would not survive the conversion.
    if (!(declared >= 1) || available <= 0)
        return QString();
    const qsizetype characters = declared >= double(available) ? available : qsizetype(declared);
    // Lengths count characters, as the exports write them: a character beyond the basic plane
    // (an emoji in the notes) is two units here, and is never cut in half.
    qsizetype end = start;
    for (qsizetype n = 0; n < characters && end < rest.size(); ++n)
        end += rest[end].isHighSurrogate() && end + 1 < rest.size() && rest[end + 1].isLowSurrogate() ? 2 : 1;
    return rest.sliced(start, end - start).toString();
}

QString decodeAdifText(const QByteArray &bytes)
{
    // Some programs save "Unicode" text as UTF-16 without a byte-order mark. Its bytes pass for
    // UTF-8, with a NUL between the letters, and not one tag would be found. The tags and most
    // header text are ASCII, so such a file shows a NUL in every other byte of its first part:
    // the high byte of each character, which comes second in little-endian order.
    if (!bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF")) {
        const qsizetype units = qMin<qsizetype>(bytes.size(), 2048) / 2;
        qsizetype highSecond = 0, highFirst = 0;
        for (qsizetype i = 0; i < units; ++i) {
            const char first = bytes[2 * i], second = bytes[2 * i + 1];
            if (first != 0 && second == 0)
                ++highSecond;
            else if (first == 0 && second != 0)
                ++highFirst;
        }
        // Three characters in four in the ASCII range leave room for accented header text.
        const auto mostly = [units](qsizetype count) { return units >= 2 && count * 4 >= units * 3; };
        if (mostly(highSecond) || mostly(highFirst)) {
            QStringDecoder utf16(mostly(highSecond) ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                                 QStringDecoder::Flag::Stateless);
            return utf16.decode(bytes);
        }
    }
    return decodeText(bytes);
}

bool AdifHeader::isConfirmation() const
{
    return sourceId.contains(u"EQSL") || sourceId.contains(u"LOTW");
}

bool AdifHeader::isEqsl() const
{
    return sourceId.contains(u"EQSL");
}

std::optional<AdifHeader> scanAdifHeader(QStringView text, const std::function<bool(int records)> &line)
{
    static const QString ownerMark = QStringLiteral("RECEIVED EQSLS FOR ");
    AdifHeader header;
    QString headerText;
    int records = 0;
    LineCursor cursor(text);
    QStringView raw;
    while (cursor.next(raw)) {
        const QString upper = raw.toString().toUpper();
        if (upper.contains(u"EQSL.CC"))
            header.sourceId = QStringLiteral("EQSL");
        // Downloads may name the service on one line and the owner on another, so every line
        // is searched for the owner.
        const qsizetype owner = upper.indexOf(ownerMark);
        if (owner >= 0) {
            const QString call = upper.mid(owner + ownerMark.size(), 20);
            const qsizetype blank = call.indexOf(u' ');
            header.eqslOwnerCall = blank >= 0 ? call.left(blank) : call;
        }
        headerText += upper;
        if (upper.trimmed() == kEoh) {
            header.found = true;
            header.sourceId = adifTagValue(headerText, u"<PROGRAMID:");
            header.programVersion = adifTagValue(headerText, u"<PROGRAMVERSION:");
            header.adifVersion = adifTagValue(headerText, u"<ADIF_VER:");
            header.timestamp = adifTagValue(headerText, u"<CREATED_TIMESTAMP:");
            return header;
        }
        records += int(upper.count(kEor));
        if (!line(records))
            return std::nullopt;
    }
    return header;
}

bool forEachRecordLine(QStringView text, const std::function<bool(const QString &line, qsizetype end)> &record)
{
    LineCursor cursor(text);
    QString gathered;
    // Appends a line to the record being gathered, handing on every record it completes.
    const auto feed = [&](QStringView line) {
        qsizetype from = 0;
        for (qsizetype eor = line.indexOf(kEor); eor >= 0; eor = line.indexOf(kEor, from)) {
            gathered += line.sliced(from, eor + kEor.size() - from);
            from = eor + kEor.size();
            const QString complete = std::exchange(gathered, QString());
            gathered.reserve(complete.size()); // the next record is about as long
            if (!record(complete, cursor.position()))
                return false;
        }
        gathered += line.sliced(from);
        return true;
    };

    QStringView raw;
    if (!cursor.next(raw))
        return true;
    const QString first = raw.toString().toUpper();
    QString upper;
    const qsizetype eoh = first.indexOf(kEoh);
    if (eoh >= 0) {
        if (!feed(QStringView(first).sliced(eoh + kEoh.size())))
            return false;
    } else if (first.contains(kEor)) {
        if (!feed(first))
            return false;
    } else if (!record(first, cursor.position())) {
        return false;
    }
    while (cursor.next(raw)) {
        if (raw.isEmpty())
            continue;
        if (!feed(upperCased(raw, upper)))
            return false;
    }
    return true;
}

bool isSatelliteBand(QStringView text)
{
    if (text.contains(u"CM"))
        return numericValue(text) <= 70;
    if (text.contains(u'M'))
        return numericValue(text) <= 2;
    const double mhz = frequencyValue(text);
    return isRadioFrequency(mhz) && mhz > 144;
}

Frequencies bandDefaults(QStringView band)
{
    const QStringView name = band.trimmed();
    if (name == u"2M")
        return {QStringLiteral("145.500"), QStringLiteral("435.500")};
    if (name == u"23CM")
        return {QStringLiteral("1268.000"), QStringLiteral("435.500")};
    // The one active satellite with an S-band uplink answers on 3 cm.
    if (name == u"13CM")
        return {QStringLiteral("2400.000"), QStringLiteral("10489.500")};
    return {QStringLiteral("435.500"), QStringLiteral("145.500")};
}

QString oppositeBandDefault(QStringView uplink)
{
    if (frequencyValue(uplink) <= 400)
        return QStringLiteral("435.500");
    const QString band = bandName(uplink);
    if (band == u"23cm")
        return QStringLiteral("435.500");
    if (band == u"13cm")
        return QStringLiteral("10489.500");
    return QStringLiteral("145.500");
}

QDateTime ImportRecord::moment() const
{
    const std::optional<QDate> d = parseDayFirstDate(date);
    const std::optional<QTime> t = parseClockTime(time);
    if (!d || !t)
        return {};
    return QDateTime(*d, *t, Qt::UTC);
}

std::optional<ImportRecord> readImportRecord(QStringView line, const AdifHeader &header)
{
    ImportRecord r;
    // A call of blanks is none, and so is one that runs on into the next tag: its declared
    // length reached past the value, and whatever follows the call is no call sign.
    r.station = adifTagValue(line, u"<CALL:").trimmed();
    if (r.station.isEmpty() || r.station.contains(u'<'))
        return std::nullopt;

    // The satellite, and an orbit, from the free texts when the record does not name it. A QSL
    // message that names one wins over the comment; one that names none leaves the comment's.
    r.satellite = adifTagValue(line, u"<SAT_NAME:");
    if (r.satellite.isEmpty()) {
        for (const QStringView tag : {QStringView(u"<COMMENT:"), QStringView(u"<QSLMSG:")}) {
            const QString free = adifTagValue(line, tag);
            if (free.isEmpty())
                continue;
            if (const QString orbit = orbitFromText(free); numericValue(orbit) != 0)
                r.orbit = orbit;
            if (const QString name = satelliteNameFromText(free); !name.isEmpty())
                r.satellite = name;
        }
    }
    if (r.orbit.isEmpty() && r.satellite.isEmpty())
        return std::nullopt;

    r.uplink = adifTagValue(line, u"<FREQ:");
    if (r.uplink.isEmpty()) {
        const QString band = adifTagValue(line, u"<BAND:");
        if (!isSatelliteBand(band))
            return std::nullopt;
        const Frequencies defaults = bandDefaults(band);
        r.uplink = defaults.uplink;
        r.downlink = defaults.downlink;
        r.uplinkDefault = r.downlinkDefault = true;
    } else if (!isSatelliteBand(r.uplink)) {
        return std::nullopt;
    }
    // A FREQ_RX that is no frequency is as good as none: the downlink gets the default, which a
    // loaded duplicate does not write over the logged downlink.
    if (const QString received = adifTagValue(line, u"<FREQ_RX:");
        !received.isEmpty() && isRadioFrequency(frequencyValue(received))) {
        r.downlink = received;
        r.downlinkDefault = false;
    } else if (!r.downlinkDefault) {
        r.downlink = oppositeBandDefault(r.uplink);
        r.downlinkDefault = true;
    }

    r.mode = modeOf(line);
    r.stationCall = adifTagValue(line, u"<STATION_CALLSIGN:");
    const QString date = adifTagValue(line, u"<QSO_DATE:");
    r.date = date.mid(6, 2) + u'/' + date.mid(4, 2) + u'/' + date.left(4);
    const QString time = adifTagValue(line, u"<TIME_ON:");
    r.time = time.left(2) + u':' + time.mid(2, 2);
    r.reportReceived = adifTagValue(line, u"<RST_RCVD:");
    r.reportSent = adifTagValue(line, u"<RST_SENT:");
    r.notes = adifTagValue(line, u"<COMMENT:");
    r.qslSent = adifTagValue(line, u"<QSL_SENT:");
    r.qslReceived = adifTagValue(line, u"<QSL_RCVD:");
    r.locator = adifTagValue(line, u"<GRIDSQUARE:");

    if (r.reportReceived.isEmpty()) {
        r.reportReceived = QStringLiteral("59");
        r.reportReceivedDefault = true;
    }
    if (r.reportSent.isEmpty()) {
        r.reportSent = QStringLiteral("59");
        r.reportSentDefault = true;
    }
    if (header.isConfirmation())
        r.qslSent = r.qslReceived = QStringLiteral("Y");
    return r;
}

} // namespace vorta
