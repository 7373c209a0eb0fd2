#include "import/adifimport.h"

#include "common/dialogs.h"
#include "import/importload.h"
#include "logdb/logdatabase.h"
#include "logdb/sqlite.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace vorta {

using db::Database;
using db::DbError;

namespace {

// The window hears of progress this often at most, however fast the records go by.
constexpr qint64 kReportEveryMs = 40;
// Staging commits this often, so that a QSO the operator saves meanwhile waits for a moment at
// most rather than for the whole file; no more often, since each commit waits for the disk.
constexpr qint64 kCommitEveryMs = 300;

// The log as the import works on it: with a page cache large enough for the duplicate test's
// index walks and the load's inserts on a log of some hundred thousand QSOs.
std::unique_ptr<Database> openLog(const QString &path)
{
    auto database = std::make_unique<Database>(path, Database::Mode::ReadWrite);
    database->exec("PRAGMA cache_size = -65536");
    return database;
}

QString withoutLogSuffix(const QString &name)
{
    return name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive) ? name.chopped(4) : name;
}

QString headerSummary(const AdifHeader &header)
{
    return QStringLiteral("\n   ProgID: ") + header.sourceId + QStringLiteral("\n  ProgVer: ") + header.programVersion
           + QStringLiteral("\n  ADIFVer: ") + header.adifVersion + QStringLiteral("\nTimeStamp: ") + header.timestamp
           + u'\n' + QString(41, u'=');
}

QString countsSummary(const AdifImport::Counts &counts, Language language)
{
    QString text = QStringLiteral("\n  CallSign: ") + counts.ownCall;
    text += QStringLiteral("\n  QSOs Tot: ") + QString::number(counts.total);
    text += QStringLiteral("\n  QSOs Sat: ") + QString::number(counts.staged);
    text += QStringLiteral("\n  QSOs DUP: ") + QString::number(counts.duplicates);
    if (counts.duplicates != 0)
        text += vorta::text(Txt::ImportDuplicatesReplaced, language);
    if (counts.undated != 0)
        text += u'\n' + vorta::text(Txt::ImportUndated, language, {{"$qsoss$", QString::number(counts.undated)}});
    text += u'\n' + vorta::text(Txt::ImportWillLoad, language, {{"$qsoss$", QString::number(counts.staged)}});
    return text;
}

} // namespace

// The worker's side of the window text and progress: posts them to the owner now and then.
class AdifImport::Reporter
{
public:
    Reporter(AdifImport *owner, int generation, QString text)
        : m_owner(owner), m_generation(generation), m_text(std::move(text))
    {
        m_clock.start();
    }

    QString &text() { return m_text; }
    void setProgress(int permille) { m_progress = permille; }

    // Posts the text and progress when the last post is a while ago, or now when forced.
    void post(bool force = false)
    {
        if (!force && m_clock.elapsed() < kReportEveryMs)
            return;
        m_clock.restart();
        m_owner->postToOwner(m_generation, [owner = m_owner, text = m_text, progress = m_progress] {
            owner->m_text = text;
            owner->m_progress = progress;
            emit owner->changed();
        });
    }

private:
    AdifImport *m_owner;
    int m_generation;
    QString m_text;
    int m_progress = 0;
    QElapsedTimer m_clock;
};

struct AdifImport::ReadResult
{
    bool completed = false;
    QString text;
    Counts counts;
    AdifHeader header;
    StagedDefaults defaults;
};

AdifImport::AdifImport(Dialogs &dialogs, QObject *parent) : QObject(parent), m_dialogs(dialogs)
{
    reset(Language::Spanish);
}

AdifImport::~AdifImport()
{
    m_abort = true;
    if (m_worker)
        m_worker->wait();
}

void AdifImport::reset(Language language)
{
    if (m_busy)
        return;
    m_language = language;
    m_text.clear();
    m_progress = 0;
    m_canLoad = false;
    m_counts = {};
    m_header = {};
    m_defaults.clear();
    m_loadCaption = text(Txt::ImportLoadInitial, language);
    emit changed();
}

void AdifImport::postToOwner(int generation, std::function<void()> action)
{
    // Runs on the owner's thread; a report of an earlier step that arrives late is dropped.
    QMetaObject::invokeMethod(
        this,
        [this, generation, action = std::move(action)] {
            if (generation == m_generation)
                action();
        },
        Qt::QueuedConnection);
}

void AdifImport::start(std::function<void()> work)
{
    if (m_worker) {
        m_worker->wait();
        m_worker.reset();
    }
    m_abort = false;
    m_busy = true;
    m_worker.reset(QThread::create(std::move(work)));
    m_worker->start();
}

void AdifImport::read(const Setup &setup)
{
    if (m_busy)
        return;
    reset(setup.language);
    m_setup = setup;
    m_text = text(Txt::ImportLoading, m_language) + QFileInfo(setup.filePath).fileName();
    emit changed();
    const int generation = ++m_generation;
    start([this, setup, generation, startText = m_text] { runRead(setup, generation, startText); });
}

void AdifImport::load()
{
    if (!canLoad())
        return;
    m_canLoad = false;
    m_progress = 0;
    emit changed();
    const int generation = ++m_generation;
    start([this, setup = m_setup, header = m_header, defaults = m_defaults, generation, startText = m_text] {
        runLoad(setup, header, defaults, generation, startText);
    });
}

void AdifImport::abort()
{
    m_abort = true;
}

void AdifImport::runRead(const Setup &setup, int generation, const QString &startText)
{
    Reporter report(this, generation, startText);
    const Language language = setup.language;
    const QString fileName = QFileInfo(setup.filePath).fileName();
    ReadResult result;
    try {
        const auto log = openLog(setup.logPath);
        Database &database = *log;
        database.exec("DELETE FROM Tabla2");

        QFile file(setup.filePath);
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        if (!file.isOpen() || file.error() != QFileDevice::NoError) {
            const QString message = text(Txt::MsgImportFileUnreadable, language,
                                         {{"$arch$", setup.filePath}, {"$nombre$", file.errorString()}});
            postToOwner(generation, [this, message] { failed(message, false); });
            return;
        }
        const QString source = decodeAdifText(bytes);
        bytes = QByteArray();

        // The header; a file without one is counted through to its end meanwhile.
        const QString loading = text(Txt::ImportLoading, language) + fileName;
        const auto header = scanAdifHeader(source, [&](int records) {
            if (records > 0) {
                report.text() = loading + u' ' + QString::number(records);
                report.post();
            }
            return !m_abort;
        });
        if (!header) {
            postToOwner(generation, [this, result = std::move(result)]() mutable { readDone(std::move(result)); });
            return;
        }
        result.header = *header;
        if (header->found)
            report.text() += headerSummary(*header);
        report.text() += u'\n' + text(Txt::ImportProcessing, language) + fileName + QStringLiteral(" ...");
        report.post(true);

        StationCallRule callRule(setup.configuredCall, language);
        DuplicateFinder duplicates(database);
        QsoInserter staging(database, QsoInserter::Table::Staging);
        auto transaction = std::make_unique<db::Transaction>(database);
        QElapsedTimer sinceCommit;
        sinceCommit.start();
        Counts &counts = result.counts;
        const bool finished = forEachRecordLine(source, [&](const QString &line, qsizetype end) {
            if (line.contains(u"<EOR>"))
                ++counts.total;
            if (const auto record = readImportRecord(line, *header)) {
                QStringList warnings;
                const QString own = callRule.ownCall(*record, *header, warnings);
                for (const QString &warning : std::as_const(warnings))
                    postToOwner(generation, [this, warning] { m_dialogs.inform(warning, Icon::Exclamation); });
                const QDateTime moment = record->moment();
                if (!moment.isValid()) {
                    ++counts.undated;
                } else {
                    const auto duplicate = duplicates.find(record->station, own, record->mode, record->satellite, moment);
                    if (duplicate)
                        ++counts.duplicates;
                    ++counts.staged;
                    counts.ownCall = own;
                    const qint64 id = staging.insert(stagedRow(*record, own, duplicate));
                    if (const quint8 defaults = notCarried(*record))
                        result.defaults.insert(id, defaults);
                }
            }
            if (sinceCommit.hasExpired(kCommitEveryMs)) {
                sinceCommit.restart();
                transaction->commit();
                transaction = std::make_unique<db::Transaction>(database);
            }
            report.setProgress(source.isEmpty() ? 1000 : int(end * 1000 / source.size()));
            report.post();
            return !m_abort;
        });
        if (!finished) {
            postToOwner(generation, [this, result = std::move(result)]() mutable { readDone(std::move(result)); });
            return;
        }
        transaction->commit();
        result.completed = true;
        result.text = report.text() + countsSummary(counts, language);
    } catch (const DbError &error) {
        const QString message = text(Txt::MsgImportFailed, language, {{"$arch$", setup.logPath}, {"$nombre$", error.message()}});
        postToOwner(generation, [this, message] { failed(message, false); });
        return;
    }
    postToOwner(generation, [this, result = std::move(result)]() mutable { readDone(std::move(result)); });
}

void AdifImport::readDone(ReadResult result)
{
    m_busy = false;
    if (result.completed) {
        m_text = result.text;
        m_progress = 1000;
        m_counts = result.counts;
        m_header = result.header;
        m_defaults = std::move(result.defaults);
        m_canLoad = m_counts.staged > 0;
        m_loadCaption = text(Txt::ImportLoadInLog, m_language, {{"$nombre$", withoutLogSuffix(m_setup.logName)}});
    }
    emit changed();
    emit readFinished(result.completed);
}

void AdifImport::runLoad(const Setup &setup, const AdifHeader &header, const StagedDefaults &defaults, int generation,
                         const QString &startText)
{
    Reporter report(this, generation, startText);
    LoadOutcome outcome;
    try {
        const auto log = openLog(setup.logPath);
        outcome = loadStaged(*log, header, defaults, [&](int done, int total) {
            report.setProgress(total > 0 ? int(qint64(done) * 1000 / total) : 0);
            report.post();
            return !m_abort;
        });
    } catch (const DbError &error) {
        const QString message =
            text(Txt::MsgImportFailed, setup.language, {{"$arch$", setup.logPath}, {"$nombre$", error.message()}});
        postToOwner(generation, [this, message] { failed(message, true); });
        return;
    }
    postToOwner(generation, [this, outcome] {
        m_busy = false;
        // A load stopped by closing the window is told plainly, and so is one that the closing
        // came too late to stop: the window is gone, and the operator must not guess.
        const bool closed = m_abort;
        QString outcomeText;
        if (!outcome.aborted) {
            m_progress = 1000;
            outcomeText = text(Txt::ImportLoaded, m_language, {{"$qsoss$", QString::number(outcome.loaded())}});
        } else {
            m_canLoad = true;
            outcomeText = text(Txt::MsgImportLoadCancelled, m_language, {{"$nombre$", m_setup.logName}});
        }
        m_text += u'\n' + outcomeText;
        emit changed();
        if (closed)
            m_dialogs.inform(outcomeText, Icon::Information);
        emit loadFinished(!outcome.aborted);
    });
}

void AdifImport::failed(const QString &message, bool whileLoading)
{
    m_busy = false;
    // A load that failed was rolled back: it may be tried again.
    m_canLoad = whileLoading;
    m_text += u'\n' + message;
    emit changed();
    m_dialogs.inform(message, Icon::Critical);
    if (whileLoading)
        emit loadFinished(false);
    else
        emit readFinished(false);
}

} // namespace vorta
