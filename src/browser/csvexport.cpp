#include "browser/csvexport.h"

#include "common/dialogs.h"

namespace vorta {

namespace {

using C = LogModel::Column;

const QString kHeader = QStringLiteral("ModoUp;FrecUp;MiCall;Estación;Fecha;Hora;RS(T) e;FrecDwn;RS(T) r;ModoDwn;"
                                       "Observaciones;Sat;Orbita;QSLe;QSLr;Grid Locator;Mi Grid Locator\r\n");

// The grid columns of a line, in file order; the QSL marks go between the orbit and the locator.
constexpr C kBeforeQsl[] = {C::ColModeUp, C::ColFreqUp, C::ColMyCall, C::ColCall, C::ColDate,
                            C::ColTime, C::ColReportSent, C::ColFreqDown, C::ColReportReceived,
                            C::ColModeDown, C::ColNotes, C::ColSatellite, C::ColOrbit};

// A value as a CSV field: as it is, unless it holds ";", a double quote or a line break, which
// would shift or split the line; such a value goes between double quotes with its own quotes
// doubled, as spreadsheet programs read it.
QString csvField(const QString &value)
{
    for (const QChar c : value) {
        if (c == u';' || c == u'"' || c == u'\r' || c == u'\n') {
            QString quoted = value;
            quoted.replace(u'"', QLatin1String("\"\""));
            return u'"' + quoted + u'"';
        }
    }
    return value;
}

} // namespace

CsvExport::CsvExport(const ExportContext &context, Opener opener) : m_context(context), m_opener(std::move(opener)) {}

std::optional<QString> CsvExport::run(const LogModel &model)
{
    const auto path = chooseExportFile(m_context, model, text(Txt::ExportCsvTitle, Language::Spanish), QString(),
                                       QStringLiteral("*.csv (*.csv)"));
    if (!path)
        return std::nullopt;

    QString out = kHeader;
    out.reserve(out.size() + qsizetype(model.ids().size()) * 160);
    qint64 count = 0;
    const bool read = forEachListedRow(m_context, model, [&](const ExportRow &row) {
        for (const C column : kBeforeQsl) {
            out += csvField(row[column]);
            out += u';';
        }
        out += row.qslSent ? QLatin1String("SI;") : QLatin1String("NO;");
        out += row.qslReceived ? QLatin1String("SI;") : QLatin1String("NO;");
        out += csvField(row[C::ColLocator]);
        out += u';';
        out += csvField(row[C::ColOwnLocator]);
        out += QLatin1String("\r\n");
        ++count;
        return true;
    });
    if (!read || !writeExportFile(m_context, *path, out, true))
        return std::nullopt;
    out = QString();

    const QString name = exportFileName(*path);
    if (m_context.dialogs.ask(text(Txt::MsgCsvSaved, m_context.language,
                                   {{"$arch$", name}, {"$qsoss$", QString::number(count)}}),
                              Icon::Exclamation)
        && !m_opener(*path))
        m_context.dialogs.inform(text(Txt::MsgCannotOpen, m_context.language, {{"$arch$", name}}),
                                 Icon::Exclamation);
    return path;
}

} // namespace vorta
