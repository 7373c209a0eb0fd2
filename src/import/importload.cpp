#include "import/importload.h"

#include "browser/recordedit.h"
#include "logdb/logdatabase.h"
#include "logdb/sqlite.h"

namespace vorta {

using db::Statement;

namespace {

// A file carries texts upper-cased (the reader upper-cases every line) and may carry them in
// another case than the operator typed them.
bool sameIgnoringCase(const QString &stored, const QString &carried)
{
    return stored.compare(carried, Qt::CaseInsensitive) == 0 || stored.toUpper() == carried.toUpper();
}

// The carried text is the stored one upper-cased, cut, or both (staging keeps 100 characters
// of the notes; a LoTW confirmation carries the 4-character square of a 6-character locator).
bool startOfIgnoringCase(const QString &stored, const QString &carried)
{
    return stored.startsWith(carried, Qt::CaseInsensitive) || stored.toUpper().startsWith(carried.toUpper());
}

// The values with which a duplicate rewrites its stored row: null (keep the stored value)
// wherever the staged row holds nothing the file carried, or nothing but what the row holds
// already: the same text in another case, the start of the notes or of the locator, the
// uplink mode as an ADIF file writes it ("SSB" for a QSO logged in USB: the stored mode and
// downlink mode stay). So the file never replaces what the operator logged with an
// upper-cased or shortened copy of it.
QsoRecord duplicateValues(QsoRecord staged, const QsoRecord &stored, quint8 defaults, bool confirmed)
{
    if (defaults & UplinkNotCarried)
        staged.frecU = QString();
    if (defaults & DownlinkNotCarried)
        staged.frecD = QString();
    if (defaults & ReportSentNotCarried)
        staged.rste = QString();
    if (defaults & ReportReceivedNotCarried)
        staged.rstr = QString();
    // The downlink mode is not in the file: staging derives it from the uplink mode, which
    // tells nothing new when it is the row's own.
    if (comparedMode(stored.modoU) == comparedMode(staged.modoU))
        staged.modoU = staged.modoD = QString();
    for (QString QsoRecord::*column : {&QsoRecord::obs, &QsoRecord::operador})
        if (startOfIgnoringCase(stored.*column, staged.*column))
            staged.*column = QString();
    for (QString QsoRecord::*column : {&QsoRecord::myCall, &QsoRecord::estacion, &QsoRecord::frecU, &QsoRecord::rste,
                                       &QsoRecord::frecD, &QsoRecord::rstr, &QsoRecord::satelite, &QsoRecord::orbita})
        if (sameIgnoringCase(stored.*column, staged.*column))
            staged.*column = QString();
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
    static const QByteArray selectStored =
        QStringLiteral("SELECT %1 FROM Tabla1 WHERE [Id]=?1").arg(recordSelectList()).toUtf8();
    Statement storedRow(database, selectStored.constData());
    const bool lotw = header.sourceId.contains(u"LOTW");
    while (staged.step()) {
        if (!keepGoing(outcome.loaded(), total)) {
            outcome.aborted = true;
            return outcome; // the transaction rolls back
        }
        QsoRecord row = readRecord(staged);
        if (const auto target = markedDuplicate(row.nombreLog)) {
            storedRow.reset();
            storedRow.bind(1, *target);
            if (storedRow.step()) {
                const QsoRecord stored = readRecord(storedRow);
                updater.update(*target, duplicateValues(row, stored, defaults.value(row.id), header.isConfirmation()));
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
