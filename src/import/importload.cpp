#include "import/importload.h"

#include "browser/recordedit.h"
#include "logdb/logdatabase.h"
#include "logdb/sqlite.h"

namespace vorta {

using db::Statement;

namespace {

// The values with which a duplicate rewrites its row: null (keep the stored value) wherever the
// staged row holds nothing the file carried.
QsoRecord duplicateValues(QsoRecord staged, quint8 defaults, bool confirmed)
{
    if (defaults & UplinkNotCarried)
        staged.frecU = QString();
    if (defaults & DownlinkNotCarried)
        staged.frecD = QString();
    if (defaults & ReportSentNotCarried)
        staged.rste = QString();
    if (defaults & ReportReceivedNotCarried)
        staged.rstr = QString();
    for (QString *value : {&staged.modoU, &staged.frecU, &staged.rste, &staged.frecD, &staged.rstr, &staged.modoD,
                           &staged.obs, &staged.modalidad, &staged.operador, &staged.satelite, &staged.orbita})
        if (value->trimmed().isEmpty())
            *value = QString();
    // A confirmation is only ever added.
    for (QString *qsl : {&staged.qsle, &staged.qslr})
        *qsl = confirmed || *qsl == u"1" ? QStringLiteral("1") : QString();
    return staged;
}

} // namespace

LoadOutcome loadStaged(db::Database &database, const AdifHeader &header, const StagedDefaults &defaults,
                       const std::function<bool(int done, int total)> &keepGoing)
{
    static const QByteArray select =
        QStringLiteral("SELECT %1 FROM Tabla2 ORDER BY [Fecha] ASC, [Hora] ASC, [Id] ASC").arg(recordSelectList()).toUtf8();
    LoadOutcome outcome;
    db::Transaction transaction(database);
    int total = 0;
    {
        Statement count(database, "SELECT COUNT(*) FROM Tabla2");
        if (count.step())
            total = int(count.integer(0));
    }
    QsoInserter inserter(database, QsoInserter::Table::Log);
    RecordUpdater updater(database);
    Statement staged(database, select.constData());
    const bool lotw = header.sourceId.contains(u"LOTW");
    while (staged.step()) {
        if (!keepGoing(outcome.loaded(), total)) {
            outcome.aborted = true;
            return outcome; // the transaction rolls back
        }
        QsoRecord row = readRecord(staged);
        if (const auto target = markedDuplicate(row.nombreLog)) {
            if (updater.update(*target, duplicateValues(row, defaults.value(row.id), header.isConfirmation()))) {
                ++outcome.replaced;
                continue;
            }
        }
        row.nombreLog = QLatin1String("");
        if (lotw)
            row.qsle = row.qslr = QStringLiteral("1");
        inserter.insert(row);
        ++outcome.added;
    }
    transaction.commit();
    return outcome;
}

} // namespace vorta
