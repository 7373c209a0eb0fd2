// Wall times of the browser's exports of a whole listing: the LoTW, eQSL and complete ADIF files
// and the CSV file, each from the first row read to the file written. A log of 100 000 QSOs is
// built in a temporary folder (other sizes may be given as arguments).
#include "browser/adifexport.h"
#include "browser/csvexport.h"
#include "browser/logmodel.h"
#include "common/datafolder.h"
#include "common/dialogs.h"
#include "logdb/logfiles.h"
#include "logdb/sqlite.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <tuple>
#include <vector>

using namespace vorta;

namespace {

using Clock = std::chrono::steady_clock;

// Saves into the proposed file and says Yes to every question (overwrite, export anyway).
class AnsweringDialogs : public Dialogs
{
public:
    void inform(const QString &, Icon) override {}
    bool ask(const QString &, Icon) override { return true; }
    std::optional<QString> openFile(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> saveFile(const QString &, const QString &proposedPath, const QString &) override
    {
        return proposedPath;
    }
};

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Times
{
    double wall = 0, cpu = 0; // milliseconds
};

// The medians of a few runs, so that one disturbed run does not decide. The processor time is
// given beside the wall time: on a machine shared with other work it is the steadier figure.
Times medianTimes(int runs, const std::function<void()> &work)
{
    std::vector<double> walls, cpus;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const double cpuStart = cpuMilliseconds();
        work();
        cpus.push_back(cpuMilliseconds() - cpuStart);
        walls.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

// QSOs on two satellites in alternation, a contact every seven minutes, with the mix of modes,
// notes, QSL marks and listening reports (one in a hundred) of an ordinary log.
void fillLog(const QString &path, int count)
{
    db::Database database(path, db::Database::Mode::ReadWrite);
    db::Statement insert(
        database,
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?1) "
        "INSERT INTO Tabla1 ([ModoU], [FrecU], [MyCall], [Estacion], [Fecha], [Hora], [RSTe], [FrecD], [RSTr], "
        "[ModoD], [Obs], [QSLe], [QSLr], [Nombre Log], [Operador], [Satelite], [Orbita], [M2], [M3]) "
        "SELECT CASE WHEN i % 100 = 0 THEN ' ' WHEN i % 3 = 0 THEN 'USB' WHEN i % 3 = 1 THEN 'FM' ELSE 'CW' END, "
        "CASE WHEN i % 100 = 0 THEN ' ' WHEN i % 2 = 0 THEN '145.850' ELSE '435.250' END, 'LU1ABC', "
        "CASE WHEN i % 100 = 0 THEN 'SWL' ELSE 'K' || (i % 9000) || 'AB' END, "
        "datetime('2000-01-01', '+' || (i * 7) || ' minutes'), "
        "strftime('%H:%M', datetime('2000-01-01', '+' || (i * 7) || ' minutes')), '59', "
        "CASE WHEN i % 2 = 0 THEN '436.795' ELSE '145.960' END, CASE WHEN i % 100 = 0 THEN ' ' ELSE '57' END, "
        "'FM', CASE WHEN i % 20 = 0 THEN '73, buena señal' ELSE '' END, CASE WHEN i % 3 = 0 THEN '1' ELSE '0' END, "
        "CASE WHEN i % 4 = 0 THEN '1' ELSE NULL END, 'GF05TJ', CASE WHEN i % 5 = 0 THEN '' ELSE 'FN31PR' END, "
        "CASE WHEN i % 2 = 0 THEN 'SO-50' ELSE 'AO-91' END, 10000 + i / 5, i % 360, i % 90 FROM n");
    insert.bind(1, qint64(count));
    insert.run();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {100000};

    for (const int count : sizes) {
        QTemporaryDir dir;
        const DataFolder folder(dir.path(), QStringLiteral(VORTA_BENCH_SHARE_DIR));
        if (const QString error = folder.prepare(); !error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        const QString log = folder.basesDir() + QStringLiteral("/bench.mdb");
        if (const QString error = copyTemplate(folder, log); !error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        fillLog(log, count);
        LogModel model;
        model.listAll(log, false);
        AnsweringDialogs dialogs;
        const ExportContext context{dialogs, Language::Spanish, folder.outputsDir(), QStringLiteral("LU1ABC")};

        std::printf("%d QSOs\n", count);
        // What every export spends before it writes a byte.
        const auto print = [count](const char *name, const Times &t) {
            std::printf("  %-14s %8.1f ms wall %9.0f records/s   %8.1f ms processor %9.0f records/s", name, t.wall,
                        count / (t.wall / 1000.0), t.cpu, count / (t.cpu / 1000.0));
        };
        print("rows read", medianTimes(3, [&] {
                  forEachListedRow(context, model, [](const ExportRow &) { return true; });
              }));
        std::printf("\n");
        const auto report = [&](const char *name, const QString &file, const std::function<void()> &work) {
            print(name, medianTimes(3, work));
            std::printf("  %5.1f MB\n", QFileInfo(folder.outputsDir() + u'/' + file).size() / 1e6);
        };
        for (const auto &[name, target, suffix] :
             {std::tuple{"ADIF LoTW", AdifTarget::Lotw, "_LoTW"}, std::tuple{"ADIF eQSL", AdifTarget::Eqsl, "_eQSL"},
              std::tuple{"ADIF Completo", AdifTarget::Complete, "_Completo"}}) {
            report(name, QStringLiteral("LU1ABC") + QLatin1String(suffix), [&, target = target] {
                AdifExport adif(target, context);
                adif.setLotwList(folder.file(kLotwSatellitesFile));
                adif.run(model);
            });
        }
        report("Excel.csv", QStringLiteral("LU1ABC"), [&] {
            CsvExport csv(context, [](const QString &) { return true; });
            csv.run(model);
        });
    }
    return 0;
}
