// Wall times of the log browser on large logs: opening it (full listing with the first screen
// of rows and the row count), the filter lists that follow from the event loop, a filtered
// listing, and saving a QSO with the last-QSO refresh that follows it. Logs of 10 000, 100 000 and 1 000 000 QSOs are built in a
// temporary folder (other sizes may be given as arguments).
#include "browser/logmodel.h"
#include "common/datafolder.h"
#include "common/dates.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "logdb/qsorecord.h"
#include "logdb/sqlite.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vorta;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsOf(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median of a few runs, so that one disturbed run does not decide; setup is not timed.
double median(int runs, const std::function<void()> &work, const std::function<void()> &setup = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        times.push_back(millisecondsOf(work));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Satellite
{
    const char *name, *up, *down, *modeUp, *modeDown;
};

const Satellite kSatellites[] = {
    {"SO-50", "145.850", "436.795", "FM", "FM"},     {"AO-91", "435.250", "145.960", "FM", "FM"},
    {"AO-92", "435.350", "145.880", "FM", "FM"},     {"ISS", "145.990", "437.800", "FM", "FM"},
    {"RS-44", "145.965", "435.640", "USB", "LSB"},  {"AO-7", "432.150", "145.950", "LSB", "USB"},
    {"FO-29", "145.950", "435.850", "LSB", "USB"},  {"IO-117", "435.310", "435.310", "FM", "FM"},
    {"PO-101", "437.500", "145.900", "FM", "FM"},   {"CAS-4A", "435.220", "145.870", "USB", "LSB"},
    {"XW-2A", "435.040", "145.665", "USB", "LSB"},  {"AO-73", "435.140", "145.960", "LSB", "USB"},
    {"JO-97", "435.110", "145.865", "LSB", "USB"},  {"EO-88", "435.035", "145.975", "LSB", "USB"},
    {"LILACSAT-2", "144.350", "437.200", "FM", "FM"}, {"so-50", "145.850", "436.795", "FM", "FM"},
    {"", "145.825", "145.825", "FM", "FM"},
};

const char *const kPrefixes[] = {"LU", "PY", "CE", "CX", "W", "K", "N", "VE", "XE", "EA", "CT", "I",
                                 "DL", "F", "G", "JA", "VK", "ZS", "HK", "OA", "YV", "TI", "KP4", "PU"};

QString randomCall(QRandomGenerator &random)
{
    QString call = QString::fromLatin1(kPrefixes[random.bounded(int(std::size(kPrefixes)))]);
    call += QChar(u'0' + random.bounded(10));
    const int letters = 1 + random.bounded(3);
    for (int i = 0; i < letters; ++i)
        call += QChar(u'A' + random.bounded(26));
    return call;
}

QString randomLocator(QRandomGenerator &random)
{
    QString locator;
    locator += QChar(u'A' + random.bounded(18));
    locator += QChar(u'A' + random.bounded(18));
    locator += QChar(u'0' + random.bounded(10));
    locator += QChar(u'0' + random.bounded(10));
    if (random.bounded(3) == 0) {
        locator += QChar(u'A' + random.bounded(24));
        locator += QChar(u'A' + random.bounded(24));
    }
    return locator;
}

// QSOs in passes, as an active satellite operator logs them: a pass every hour or two, a few
// contacts in each, stations and locators from a large pool. A few per cent are stored out of
// order, as imports of older contacts leave them.
std::vector<QsoRecord> makeQsos(int count)
{
    QRandomGenerator random(20240517);
    QStringList calls, locators;
    for (int i = 0; i < 20000; ++i) {
        calls << randomCall(random);
        locators << randomLocator(random);
    }
    const QStringList myCalls = {"LU1ABC", "LU1ABC/P", "AY1ABC"};
    std::vector<int> orbits(std::size(kSatellites));
    for (std::size_t i = 0; i < orbits.size(); ++i)
        orbits[i] = 10000 + int(i) * 3000;

    std::vector<QsoRecord> qsos;
    qsos.reserve(std::size_t(count));
    QDateTime t(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    while (int(qsos.size()) < count) {
        t = t.addSecs(3600 + random.bounded(3600));
        const std::size_t s = std::size_t(random.bounded(int(std::size(kSatellites))));
        orbits[s] += 1 + random.bounded(3);
        const QString myCall = myCalls[random.bounded(10) == 0 ? 1 + random.bounded(2) : 0];
        const int inPass = 1 + random.bounded(12);
        QDateTime q = t;
        for (int k = 0; k < inPass && int(qsos.size()) < count; ++k) {
            q = q.addSecs(20 + random.bounded(60));
            const Satellite &sat = kSatellites[s];
            const int who = random.bounded(calls.size());
            const bool listening = random.bounded(100) == 0;
            QsoRecord r;
            r.modoU = listening ? QStringLiteral(" ") : QString::fromLatin1(sat.modeUp);
            r.frecU = listening ? QStringLiteral(" ") : QString::fromLatin1(sat.up);
            r.myCall = myCall;
            r.estacion = listening ? QStringLiteral("SWL") : calls[who];
            r.fecha = toStoredInstant(q);
            r.hora = formatHourMinute(q.time());
            const bool cw = r.modoU == QLatin1String("LSB") && random.bounded(4) == 0;
            r.rste = cw ? QStringLiteral("599") : QStringLiteral("59");
            r.frecD = QString::fromLatin1(sat.down);
            r.rstr = listening ? QStringLiteral(" ") : r.rste;
            r.modoD = QString::fromLatin1(sat.modeDown);
            r.obs = random.bounded(20) == 0 ? QStringLiteral("73, buena señal") : QStringLiteral("");
            r.qsle = random.bounded(3) == 0 ? QStringLiteral("1") : QStringLiteral("0");
            r.qslr = random.bounded(4) == 0 ? QStringLiteral("1") : QStringLiteral("0");
            r.nombreLog = QStringLiteral("GF05TJ");
            r.operador = random.bounded(5) == 0 ? QStringLiteral("") : locators[who];
            r.satelite = QString::fromLatin1(sat.name);
            r.orbita = QString::number(orbits[s]);
            r.m2 = QString::number(random.bounded(360));
            r.m3 = QString::number(random.bounded(90));
            qsos.push_back(std::move(r));
        }
    }
    for (int i = 0; i < count / 30; ++i) {
        const std::size_t a = std::size_t(random.bounded(count));
        const std::size_t b = std::size_t(random.bounded(count));
        std::swap(qsos[a], qsos[b]);
    }
    return qsos;
}

void bulkInsert(const QString &path, const std::vector<QsoRecord> &qsos)
{
    QStringList names, marks;
    for (std::size_t i = 1; i < kQsoColumns.size(); ++i) {
        names << u'[' + QString::fromLatin1(kQsoColumns[i]) + u']';
        marks << QStringLiteral("?%1").arg(i);
    }
    const QByteArray sql =
        QStringLiteral("INSERT INTO Tabla1 (%1) VALUES (%2)").arg(names.join(u','), marks.join(u',')).toUtf8();
    db::Database database(path, db::Database::Mode::ReadWrite);
    db::Transaction transaction(database);
    db::Statement insert(database, sql.constData());
    for (const QsoRecord &r : qsos) {
        const auto values = recordValues(r);
        for (int i = 0; i < 20; ++i)
            insert.bind(i + 1, values[i]);
        insert.run();
        insert.reset();
    }
    transaction.commit();
}

// What the view asks for when the browser first shows: one screen of cells.
void firstScreen(const LogModel &model)
{
    const int rows = std::min(model.rowCount(), 40);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < LogModel::kColumns; ++column)
            (void)model.data(model.index(row, column));
}

struct Result
{
    int size = 0;
    double build = 0, open = 0, lists = 0, pause = 0, filtered = 0, save = 0, append = 0, lastScreen = 0;
    qsizetype filteredRows = 0;
};

Result measure(const DataFolder &folder, int size)
{
    Result result;
    result.size = size;
    const QString path = folder.basesDir() + QStringLiteral("/bench%1.mdb").arg(size);
    if (const QString error = copyTemplate(folder, path); !error.isEmpty())
        qFatal("%s", qPrintable(error));
    const std::vector<QsoRecord> qsos = makeQsos(size);
    result.build = millisecondsOf([&] { bulkInsert(path, qsos); });

    LogModel model;
    result.open = median(3, [&] {
        if (const QString error = model.listAll(path, false); !error.isEmpty())
            qFatal("%s", qPrintable(error));
        (void)model.caption();
        firstScreen(model);
    });
    // The filter lists, read after the first screen a slice at a time from the event loop: how
    // long until they are complete, and the longest the event loop waits for one slice.
    result.lists = median(
        3,
        [&] {
            while (!model.filterListsComplete()) {
                const double slice = millisecondsOf([] { QCoreApplication::processEvents(); });
                result.pause = std::max(result.pause, slice);
            }
        },
        [&] {
            model.listAll(path, false);
            firstScreen(model);
        });
    if (model.filterLists() != readFilterLists(path, false))
        qFatal("the filter lists read in slices differ from those read at once");
    // Dragging the scroll bar to the end: a screen of rows far from the first page.
    result.lastScreen = median(
        3,
        [&] {
            for (int row = std::max(model.rowCount() - 40, 0); row < model.rowCount(); ++row)
                for (int column = 0; column < LogModel::kColumns; ++column)
                    (void)model.data(model.index(row, column));
        },
        [&] {
            model.listAll(path, false);
            firstScreen(model);
        });

    LogFilter filter;
    filter.satellite = QStringLiteral("SO-50");
    filter.station = QStringLiteral("lu#*");
    LogModel filtered;
    result.filtered = median(3, [&] {
        if (const QString error = filtered.listFiltered(path, filter); !error.isEmpty())
            qFatal("%s", qPrintable(error));
        result.filteredRows = filtered.rowCount();
        (void)filtered.caption();
        firstScreen(filtered);
    });

    // A QSO saved while the browser is open: insert, last-record panel, the browser's new row.
    QsoRecord next = qsos.front();
    QDateTime when = fromStoredInstant(qsos.back().fecha).addDays(1);
    std::vector<qint64> saved;
    result.save = median(5, [&] {
        when = when.addSecs(120);
        next.fecha = toStoredInstant(when);
        next.hora = formatHourMinute(when.time());
        saved.push_back(insertQso(path, next));
        if (lastRecordView(lastQso(path)).time != next.hora)
            qFatal("the last QSO is not the one just saved");
    });
    std::size_t nextSaved = 0;
    result.append = median(5, [&] {
        if (model.appendQso(saved[nextSaved++]) < 0)
            qFatal("the saved QSO did not appear");
    });
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> sizes;
    bool keep = false; // --keep leaves the logs behind for a closer look
    for (const QString &argument : app.arguments().mid(1)) {
        if (argument == QLatin1String("--keep"))
            keep = true;
        else if (const int n = argument.toInt(); n > 0)
            sizes.push_back(n);
    }
    if (sizes.empty())
        sizes = {10000, 100000, 1000000};

    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");
    dir.setAutoRemove(!keep);
    const DataFolder folder(dir.path(), QStringLiteral(VORTA_BENCH_SHARE_DIR));
    if (const QString error = folder.prepare(); !error.isEmpty())
        qFatal("%s", qPrintable(error));

    std::printf("Log browser, wall times in ms (median of 3 runs; save and append of 5)\n");
    std::printf("%9s %9s %10s %10s %10s %10s %10s %10s %10s %10s\n", "QSOs", "build", "open", "lists", "(pause)",
                "last page", "filtered", "(rows)", "save+last", "append");
    for (int size : sizes) {
        const Result r = measure(folder, size);
        std::printf("%9d %9.0f %10.1f %10.1f %10.1f %10.1f %10.1f %10lld %10.2f %10.2f\n", r.size, r.build, r.open,
                    r.lists, r.pause, r.lastScreen, r.filtered, static_cast<long long>(r.filteredRows), r.save,
                    r.append);
        std::fflush(stdout);
    }
    std::printf("build: bulk insert in one transaction\n"
                "open: full listing with row count, caption and the first 40 rows\n"
                "lists: the filter lists that follow, read from the event loop until complete\n"
                "(pause): the longest single slice of that reading (the window is live between slices)\n"
                "last page: 40 rows at the end of the listing after the first screen\n"
                "filtered: satellite SO-50 and station \"lu#*\", with the first 40 rows\n"
                "save+last: insertQso and lastQso; append: the saved QSO's row in the open browser\n");
    if (keep)
        std::printf("logs kept in %s\n", qPrintable(folder.basesDir()));
    return 0;
}
