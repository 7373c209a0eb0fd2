#include "browser/exportcommon.h"

#include "common/dialogs.h"
#include "common/textfile.h"
#include "common/textvalue.h"
#include "logdb/logdatabase.h"
#include "logdb/sqlite.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vorta {

bool forEachListedRow(const ExportContext &context, const LogModel &model,
                      const std::function<bool(const ExportRow &)> &visit)
{
    const std::vector<qint64> &ids = model.ids();
    if (ids.empty())
        return true;
    // The listing's own query gives its rows in its order in one pass; the listed Ids decide
    // which of them belong to the view.
    std::vector<qint64> listed(ids);
    std::sort(listed.begin(), listed.end());
    try {
        db::Database database(model.path(), db::Database::Mode::ReadOnly);
        const LogQuery query = model.query();
        const QByteArray sql = query.select(recordSelectList()).toUtf8();
        db::Statement statement(database, sql.constData());
        for (int i = 0; i < query.values.size(); ++i)
            statement.bind(i + 1, query.values[i]);
        ExportRow row;
        while (statement.step()) {
            if (!std::binary_search(listed.begin(), listed.end(), statement.integer(0)))
                continue;
            const QsoRecord record = readRecord(statement);
            row.cells = LogModel::cells(record);
            row.qslSent = numericValue(record.qsle) == 1;
            row.qslReceived = numericValue(record.qslr) == 1;
            if (!visit(row))
                break;
        }
    } catch (const db::DbError &error) {
        context.dialogs.inform(text(Txt::MsgLogUnreadable, context.language,
                                    {{"$arch$", model.path()}, {"$nombre$", error.message()}}),
                               Icon::Critical);
        return false;
    }
    return true;
}

std::optional<QString> chooseExportFile(const ExportContext &context, const LogModel &model, const QString &title,
                                        const QString &suffix, const QString &filter)
{
    // Normally made at start; made again should the operator have removed it meanwhile.
    QDir().mkpath(context.outputsDir);
    // A portable call sign ("LU1ABC/P") would otherwise name a folder that does not exist.
    QString call = context.ownCall;
    call.replace(u'/', u'_');
    QString proposed = context.outputsDir + u'/' + call + suffix;
    for (;;) {
        const auto chosen = context.dialogs.saveFile(title, proposed, filter);
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        proposed = *chosen;
        if (!QFileInfo::exists(*chosen))
            return chosen;
        if (QFileInfo(*chosen).canonicalFilePath() == QFileInfo(model.path()).canonicalFilePath()) {
            context.dialogs.inform(text(Txt::MsgExportOverLog, context.language, {{"$arch$", exportFileName(*chosen)}}),
                                   Icon::Critical);
            continue;
        }
        if (context.dialogs.ask(text(Txt::MsgExportOverwrite, context.language, {{"$arch$", exportFileName(*chosen)}}),
                                Icon::Exclamation))
            return chosen;
    }
}

bool writeExportFile(const ExportContext &context, const QString &path, const QString &contents, bool utf8Mark)
{
    bool lossless = true;
    QByteArray bytes = encodeWindows1252(contents, &lossless);
    if (!lossless) {
        bytes = contents.toUtf8();
        if (utf8Mark)
            bytes.prepend("\xEF\xBB\xBF");
    }
    const QString error = writeFileAtomically(path, bytes);
    if (error.isEmpty())
        return true;
    context.dialogs.inform(text(Txt::MsgExportNotSaved, context.language,
                                {{"$arch$", QDir::toNativeSeparators(path)}, {"$nombre$", error}}),
                           Icon::Critical);
    return false;
}

QString exportFileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace vorta
