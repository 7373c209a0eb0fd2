#include "browser/adifexport.h"

#include "common/dialogs.h"
#include "common/textfile.h"
#include "common/appversion.h"
#include "tracking/satrules.h"

#include <QDir>

namespace vorta {

namespace {

using C = LogModel::Column;

constexpr qsizetype kQslMessageLength = 240;

// Characters, not UTF-16 units: a character beyond the basic plane counts once, as it does for
// a reader that counts the characters of the file's text.
qsizetype characterCount(QStringView value)
{
    qsizetype count = value.size();
    for (const QChar c : value)
        if (c.isLowSurrogate())
            --count;
    return count;
}

// The first count characters of a text, never half of a surrogate pair.
QString firstCharacters(const QString &value, qsizetype count)
{
    qsizetype units = 0;
    for (qsizetype n = 0; n < count && units < value.size(); ++n)
        units += value[units].isHighSurrogate() && units + 1 < value.size() ? 2 : 1;
    return value.left(units);
}

void appendNumber(QString &out, qint64 number)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + number % 10);
        number /= 10;
    } while (number > 0);
    while (n > 0)
        out += QLatin1Char(digits[--n]);
}

// "<NAME:L>V", L the number of characters of V.
void appendField(QString &out, QLatin1String name, QStringView value)
{
    out += u'<';
    out += name;
    out += u':';
    appendNumber(out, characterCount(value));
    out += u'>';
    out += value;
}

// A field that is left out when its value is empty.
void appendPresent(QString &out, QLatin1String name, QStringView value)
{
    if (!value.isEmpty())
        appendField(out, name, value);
}

// The log keeps MHz with the decimal separator of the system that stored it.
QString adifFrequency(QString cell)
{
    return cell.replace(u',', u'.');
}

// "dd/mm/yyyy" as "yyyymmdd"; a cell in any other form (a date the log could not read) as it is.
QString adifDate(const QString &cell)
{
    if (cell.size() != 10 || cell[2] != u'/' || cell[5] != u'/')
        return cell;
    return cell.mid(6, 4) + cell.mid(3, 2) + cell.left(2);
}

// "hh:mm" as "hhmm".
QString adifTime(QString cell)
{
    return cell.remove(u':');
}

} // namespace

QString adifMode(const QString &uplinkMode)
{
    return uplinkMode.contains(QLatin1String("SB")) ? QStringLiteral("SSB") : uplinkMode;
}

QString adifHeader(const QDateTime &created)
{
    QString header;
    appendField(header, QLatin1String("PROGRAMID"), u"Vorta");
    header += QLatin1String("\r\n");
    appendField(header, QLatin1String("PROGRAMVERSION"), versionText());
    header += QLatin1String("\r\n");
    appendField(header, QLatin1String("ADIF_VER"), u"3.04");
    header += QLatin1String("\r\n");
    appendField(header, QLatin1String("CREATED_TIMESTAMP"), created.toString(QStringLiteral("yyyyMMdd HHmmss")));
    header += QLatin1String("\r\n<EOH>\r\n");
    return header;
}

std::optional<QStringList> readSatelliteNames(const QString &path)
{
    const auto lines = readTextLines(path);
    if (!lines)
        return std::nullopt;
    QStringList names;
    for (const QString &line : *lines) {
        const QString name = line.trimmed();
        if (!name.isEmpty() && !name.startsWith(u'#'))
            names << name;
    }
    return names;
}

AdifExport::AdifExport(AdifTarget target, const ExportContext &context) : m_target(target), m_context(context) {}

std::optional<QString> AdifExport::run(const LogModel &model)
{
    struct Kind
    {
        Txt title;
        const char *suffix;
    };
    const Kind kind = m_target == AdifTarget::Lotw   ? Kind{Txt::ExportLotwTitle, "_LoTW"}
                      : m_target == AdifTarget::Eqsl ? Kind{Txt::ExportEqslTitle, "_eQSL"}
                                                     : Kind{Txt::ExportCompleteTitle, "_Completo"};
    const auto path = chooseExportFile(m_context, model, text(kind.title, Language::Spanish), QLatin1String(kind.suffix),
                                       QStringLiteral("*.adi (*.adi)"));
    if (!path)
        return std::nullopt;

    m_text = adifHeader(m_created.isValid() ? m_created : QDateTime::currentDateTime());
    m_text += QLatin1String("\r\n");
    m_text.reserve(m_text.size() + qsizetype(model.ids().size()) * 300);
    m_exported = 0;
    m_listening = 0;
    m_problemAsked = false;
    m_aborted = false;
    m_lotwNames.clear();
    m_unknownNames.clear();
    m_unknownCounts.clear();
    if (m_target == AdifTarget::Lotw && !m_lotwListPath.isEmpty()) {
        if (const auto names = readSatelliteNames(m_lotwListPath))
            for (const QString &name : *names)
                m_lotwNames.insert(name.toUpper());
    }

    if (!forEachListedRow(m_context, model, [this](const ExportRow &row) { return addRow(row); }) || m_aborted)
        return std::nullopt;
    if (m_target != AdifTarget::Complete && m_exported == 0) {
        m_context.dialogs.inform(
            text(Txt::MsgExportOnlySwl, Language::Spanish, {{"$Q_SWL$", QString::number(m_listening)}}),
            Icon::Exclamation);
        return std::nullopt;
    }
    if (!confirmLotwNames())
        return std::nullopt;
    m_text += QLatin1String("<EOF>\r\n");
    if (!writeExportFile(m_context, *path, m_text, false))
        return std::nullopt;
    reportDone(*path);
    return path;
}

// One listed row. False ends the walk: after a No to the problem question (the export is
// abandoned) or to the eQSL non-satellite question (the export ends there normally).
bool AdifExport::addRow(const ExportRow &row)
{
    if (m_target != AdifTarget::Complete) {
        if (row[C::ColCall] == QLatin1String("SWL")) {
            ++m_listening;
            return true;
        }
        if (!askProblem(row)) {
            m_aborted = true;
            return false;
        }
    }
    QString band;
    if (m_target == AdifTarget::Eqsl) {
        // Each record's own bands; the entry panel's current bands are not touched.
        const QString mode = satelliteMode(bandName(row[C::ColFreqUp]), bandName(row[C::ColFreqDown]));
        if (mode.isEmpty()) {
            const QString question =
                text(Txt::MsgExportNotSatellitePrefix, Language::Spanish,
                     {{"$Texto14$", row[C::ColFreqUp]}, {"$Texto15$", row[C::ColFreqDown]}, {"$nombre$", row[C::ColCall]}})
                + text(Txt::MsgNotSatelliteQso, m_context.language, {{"$qsoss$", QString::number(m_exported)}});
            return m_context.dialogs.ask(question, Icon::Question);
        }
        band = QStringLiteral("SAT ") + mode;
    }
    if (m_target == AdifTarget::Lotw)
        noteLotwName(row[C::ColSatellite]);
    appendRecord(row, band);
    ++m_exported;
    return true;
}

// The question about a row lacking its satellite or a frequency, asked once per export; true
// to go on.
bool AdifExport::askProblem(const ExportRow &row)
{
    if (m_problemAsked)
        return true;
    Txt question;
    if (row[C::ColSatellite].isEmpty())
        question = Txt::MsgExportNoSatellite;
    else if (row[C::ColFreqUp].isEmpty() || row[C::ColFreqDown].isEmpty())
        question = Txt::MsgExportNoFrequency;
    else
        return true;
    m_problemAsked = true;
    return m_context.dialogs.ask(text(question, Language::Spanish, {{"$nombre$", row[C::ColCall]}}), Icon::Question);
}

void AdifExport::appendRecord(const ExportRow &row, const QString &band)
{
    QString &out = m_text;
    const bool eqsl = m_target == AdifTarget::Eqsl;
    const QString mode = adifMode(row[C::ColModeUp]);
    if (eqsl)
        appendField(out, QLatin1String("MODE"), mode);
    else
        appendPresent(out, QLatin1String("MODE"), mode);
    appendPresent(out, QLatin1String("BAND"), band);
    const QString uplink = adifFrequency(row[C::ColFreqUp]);
    const QString downlink = adifFrequency(row[C::ColFreqDown]);
    if (!eqsl)
        appendPresent(out, QLatin1String("FREQ_RX"), downlink);
    appendPresent(out, QLatin1String("FREQ"), uplink);
    if (eqsl)
        appendPresent(out, QLatin1String("FREQ_RX"), downlink);
    appendPresent(out, QLatin1String("STATION_CALLSIGN"), row[C::ColMyCall]);
    appendPresent(out, QLatin1String("CALL"), row[C::ColCall]);
    appendPresent(out, QLatin1String("QSO_DATE"), adifDate(row[C::ColDate]));
    appendPresent(out, QLatin1String("TIME_ON"), adifTime(row[C::ColTime]));
    appendPresent(out, QLatin1String("RST_SENT"), row[C::ColReportSent]);
    appendPresent(out, QLatin1String("RST_RCVD"), row[C::ColReportReceived]);
    appendPresent(out, QLatin1String("COMMENT"), row[C::ColNotes]);
    if (eqsl) {
        const QString message = QStringLiteral("Satellite: ") + row[C::ColSatellite] + QStringLiteral(" Orbit# ")
                                + row[C::ColOrbit] + u' ' + row[C::ColNotes];
        appendField(out, QLatin1String("QSLMSG"), firstCharacters(message, kQslMessageLength));
    }
    appendPresent(out, QLatin1String("SAT_NAME"), row[C::ColSatellite]);
    out += QLatin1String("<PROP_MODE:3>SAT");
    appendPresent(out, QLatin1String("GRIDSQUARE"), row[C::ColLocator]);
    appendPresent(out, QLatin1String("MY_GRIDSQUARE"), row[C::ColOwnLocator]);
    if (m_target == AdifTarget::Complete) {
        out += row.qslSent ? QLatin1String("<QSL_SENT:1>Y") : QLatin1String("<QSL_SENT:1>N");
        out += row.qslReceived ? QLatin1String("<QSL_RCVD:1>Y") : QLatin1String("<QSL_RCVD:1>N");
    }
    out += QLatin1String("<EOR>\r\n");
}

// LoTW refuses a signed file with a satellite name it does not know. ADIF compares such names
// without regard to case; an empty name has had its own question already.
void AdifExport::noteLotwName(const QString &satellite)
{
    if (m_lotwNames.isEmpty() || satellite.isEmpty())
        return;
    const QString name = satellite.trimmed().toUpper();
    if (m_lotwNames.contains(name))
        return;
    auto it = m_unknownCounts.find(satellite);
    if (it == m_unknownCounts.end()) {
        m_unknownNames << satellite;
        it = m_unknownCounts.insert(satellite, 0);
    }
    ++*it;
}

bool AdifExport::confirmLotwNames()
{
    if (m_unknownNames.isEmpty())
        return true;
    QStringList lines;
    for (const QString &name : m_unknownNames)
        lines << name + QStringLiteral(": ") + QString::number(m_unknownCounts.value(name)) + QStringLiteral(" QSO(s)");
    return m_context.dialogs.ask(text(Txt::MsgLotwUnknownSatellites, m_context.language,
                                      {{"$arch$", QDir::toNativeSeparators(m_lotwListPath)},
                                       {"$nombre$", lines.join(QStringLiteral("\r\n"))}}),
                                 Icon::Question);
}

void AdifExport::reportDone(const QString &path)
{
    Txt message = Txt::MsgCompleteAdifSaved;
    if (m_target == AdifTarget::Lotw)
        message = m_listening > 0 ? Txt::MsgLotwSavedWithSwl : Txt::MsgLotwSaved;
    else if (m_target == AdifTarget::Eqsl)
        message = m_listening > 0 ? Txt::MsgEqslSavedWithSwl : Txt::MsgEqslSaved;
    // The complete export's message has no icon of its own; information is the plainest.
    const Icon icon = m_target == AdifTarget::Complete ? Icon::Information : Icon::Exclamation;
    m_context.dialogs.inform(text(message, m_context.language,
                                  {{"$arch$", exportFileName(path)},
                                   {"$qsoss$", QString::number(m_exported)},
                                   {"$Q_SWL$", QString::number(m_listening)}}),
                             icon);
}

} // namespace vorta
