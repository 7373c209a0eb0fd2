// Wall times of an ADIF import: a file of 100 000 QSOs (one field per line, as the LoTW service
// writes its reports; half of them confirm QSOs of the log) into a log of 100 000 QSOs. The
// first step (reading, the duplicate test and staging) and the load are timed apart. Other
// sizes may be given as arguments: file records, then log QSOs.
#include "common/dialogs.h"
#include "common/datafolder.h"
#include "import/adifimport.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <functional>
#include <vector>

using namespace vorta;

namespace {

class SilentDialogs : public Dialogs
{
public:
    void inform(const QString &text, Icon) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool ask(const QString &, Icon) override { return false; }
    std::optional<QString> openFile(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> saveFile(const QString &, const QString &, const QString &) override { return {}; }
};

struct Qso
{
    QString call, satellite, mode;
    QDateTime utc;
};

const char *const kSatellites[] = {"SO-50", "AO-91", "RS-44", "AO-7", "FO-29", "IO-117", "PO-101", "CAS-4A", "XW-2A"};
const char *const kModes[] = {"FM", "FM", "USB", "LSB", "LSB", "FM", "FM", "USB", "USB"};

// QSOs in passes, a few per pass, stations from a pool of 20 000.
std::vector<Qso> makeQsos(int count, QRandomGenerator &random, const QDateTime &from)
{
    std::vector<Qso> qsos;
    qsos.reserve(std::size_t(count));
    QDateTime t = from;
    while (int(qsos.size()) < count) {
        t = t.addSecs(3600 + random.bounded(3600));
        const int s = random.bounded(int(std::size(kSatellites)));
        for (int k = 0, n = 1 + random.bounded(8); k < n && int(qsos.size()) < count; ++k)
            qsos.push_back({QStringLiteral("PY%1X%2").arg(random.bounded(10)).arg(random.bounded(2000)),
                            QString::fromLatin1(kSatellites[s]), QString::fromLatin1(kModes[s]),
                            t.addSecs(60 * k)});
    }
    return qsos;
}

QString field(const char *name, const QString &value, const char *comment = nullptr)
{
    QString line = QStringLiteral("<%1:%2>%3").arg(QLatin1String(name)).arg(value.size()).arg(value);
    if (comment)
        line += QStringLiteral(" // ") + QLatin1String(comment);
    return line + QStringLiteral("\r\n");
}

// Processor time of the whole program so far, in seconds. The steps run on a worker while the
// main thread waits, so the difference over a step is the step's own work, which a machine
// busy with other programs does not inflate the way it does the wall time.
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Starts a step and waits for its end; true when it completed.
bool runStep(AdifImport &import, const std::function<void()> &start)
{
    QEventLoop loop;
    bool completed = false;
    const auto done = [&](bool ok) {
        completed = ok;
        loop.quit();
    };
    QObject::connect(&import, &AdifImport::readFinished, &loop, done);
    QObject::connect(&import, &AdifImport::loadFinished, &loop, done);
    start();
    loop.exec();
    return completed;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int fileRecords = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int logQsos = argc > 2 ? std::atoi(argv[2]) : 100000;

    QTemporaryDir dir;
    DataFolder folder(dir.path(), QStringLiteral(VORTA_BENCH_SHARE_DIR));
    if (!folder.prepare().isEmpty() || !ensureDefaultLog(folder).isEmpty()) {
        std::fprintf(stderr, "cannot prepare %s\n", qPrintable(dir.path()));
        return 1;
    }
    const QString log = folder.defaultLog();
    QRandomGenerator random(20240201);

    const std::vector<Qso> logged = makeQsos(logQsos, random, QDateTime(QDate(2010, 1, 1), QTime(0, 0), Qt::UTC));
    {
        db::Database database(log, db::Database::Mode::ReadWrite);
        db::Transaction transaction(database);
        QsoInserter insert(database, QsoInserter::Table::Log);
        for (const Qso &q : logged) {
            QsoRecord r;
            r.estacion = q.call;
            r.myCall = QStringLiteral("LU1ABC");
            r.satelite = q.satellite;
            r.modoU = q.mode;
            r.fecha = q.utc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            r.hora = q.utc.toString(QStringLiteral("HH:mm"));
            r.frecU = QStringLiteral("145.900");
            r.frecD = QStringLiteral("435.800");
            r.obs = QStringLiteral("logged during the pass");
            insert.insert(r);
        }
        transaction.commit();
    }

    // Half of the file confirms logged QSOs (its times two minutes off), half is new.
    std::vector<Qso> inFile = makeQsos(fileRecords / 2, random, QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    for (int i = 0; int(inFile.size()) < fileRecords; ++i) {
        Qso q = logged[std::size_t(random.bounded(int(logged.size())))];
        q.utc = q.utc.addSecs(120);
        inFile.push_back(q);
    }
    QString text = QStringLiteral("ARRL Logbook of the World Status Report\r\nGenerated at 2024-02-01 12:34:56\r\n"
                                  "for lu1abc\r\n\r\n<PROGRAMID:4>LoTW\r\n\r\n<eoh>\r\n");
    for (const Qso &q : inFile) {
        text += QStringLiteral("\r\n") + field("APP_LoTW_OWNCALL", QStringLiteral("LU1ABC"))
                + field("STATION_CALLSIGN", QStringLiteral("LU1ABC")) + field("CALL", q.call)
                + field("BAND", QStringLiteral("70CM")) + field("FREQ", QStringLiteral("435.2500"))
                + field("MODE", q.mode) + field("APP_LoTW_MODEGROUP", QStringLiteral("PHONE"))
                + field("QSO_DATE", q.utc.toString(QStringLiteral("yyyyMMdd")), "QSO Date")
                + field("TIME_ON", q.utc.toString(QStringLiteral("HHmmss")), "QSO Start Time")
                + field("PROP_MODE", QStringLiteral("SAT")) + field("SAT_NAME", q.satellite)
                + field("QSL_RCVD", QStringLiteral("Y"), "QSL Received from LoTW") + QStringLiteral("<eor>\r\n");
    }
    text += QStringLiteral("\r\n<APP_LoTW_EOF>\r\n");
    const QString file = folder.outputsDir() + QStringLiteral("/lotwreport.adi");
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(text.toLatin1()) != text.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    std::printf("file: %d records, %.1f MB; log: %d QSOs\n", fileRecords, double(text.size()) / 1e6, logQsos);

    SilentDialogs dialogs;
    AdifImport import(dialogs);
    QElapsedTimer clock;
    clock.start();
    double processor = processorSeconds();
    if (!runStep(import, [&] {
            import.read({log, QStringLiteral("base1.mdb"), file, QStringLiteral("LU1ABC"), Language::Spanish});
        })) {
        std::fprintf(stderr, "reading failed\n");
        return 1;
    }
    const double readSeconds = double(clock.elapsed()) / 1000;
    const double readProcessor = processorSeconds() - processor;
    std::printf("read and stage: %.2f s wall, %.0f records/s; %.2f s processor, %.0f records/s "
                "(%d staged, %d duplicates)\n",
                readSeconds, fileRecords / readSeconds, readProcessor, fileRecords / readProcessor,
                import.counts().staged, import.counts().duplicates);

    clock.restart();
    processor = processorSeconds();
    if (!runStep(import, [&] { import.load(); })) {
        std::fprintf(stderr, "loading failed\n");
        return 1;
    }
    const double loadSeconds = double(clock.elapsed()) / 1000;
    const double loadProcessor = processorSeconds() - processor;
    std::printf("load: %.2f s wall, %.0f records/s; %.2f s processor, %.0f records/s\n", loadSeconds,
                import.counts().staged / loadSeconds, loadProcessor, import.counts().staged / loadProcessor);
    return 0;
}
