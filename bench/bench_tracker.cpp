// Wall times of the built-in tracker: propagating 100 satellites over 24 h in 1-s steps, the
// pass list of 50 satellites over 24 h, and the tracker's 1-s tick with 100 satellites; then
// the same work done by python3-sgp4 (/usr/bin/python3) in the same run, for comparison. The
// pure-Python propagation is timed on a part of the 24 h and scaled up.
#include "tracking/builtintracker.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace vorta;

namespace {

using Clock = std::chrono::steady_clock;

double secondsOf(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time the work took on this thread: on a busy machine a wall-clock time of a
// fraction of a millisecond is mostly the time the thread waited for a core.
double cpuSecondsOf(const std::function<void()> &work)
{
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9;
}

// A typical amateur set: nine in ten satellites in low orbit, the rest high (geostationary,
// 12 h and eccentric orbits).
const char *const kSets[][3] = {
    {"ISS (ZARYA)", "1 25544U 98067A   24061.51736111  .00018720  00000+0  33020-3 0  9996",
     "2 25544  51.6415 159.0943 0005774 332.6512 150.6094 15.49818357441971"},
    {"AO-91", "1 43017U 17073E   24061.20012345  .00004385  00000+0  32185-3 0  9994",
     "2 43017  97.6534 355.1632 0212357 165.4731 195.3012 14.85214962340126"},
    {"SAUDISAT 1C (SO-50)", "1 27607U 02058C   24060.87654321  .00001032  00000+0  13651-3 0  9999",
     "2 27607  64.5546 102.3348 0045620 289.4517  70.1599 14.81849273188306"},
    {"CIRCULAR LEO", "1 40000U 14033A   24061.50000000  .00000912  00000+0  11111-3 0  9992",
     "2 40000  97.9000  10.0000 0000500  90.0000 270.0000 14.90000000500015"},
    {"ES'HAIL 2", "1 43700U 18090A   24061.06313657  .00000139  00000+0  00000+0 0  9997",
     "2 43700   0.0153 258.8736 0001854 141.0412 125.2143  1.00271843 19155"},
    {"MOLNIYA 1-93", "1 28163U 04005A   24060.38215277  .00000152  00000+0  00000+0 0  9992",
     "2 28163  64.1286 190.7542 7184526 285.4811  12.6377  2.00578395146320"},
    {"HEO 12H EQ", "1 41000U 15077B   24061.10000000  .00000010  00000+0  10000-4 0  9994",
     "2 41000   6.5000 300.0000 6500000  30.0000  45.0000  2.45000000123450"},
};

// n satellites made from the sets above by moving their mean anomaly (and node), each with
// correct checksums; one in ten is a high one.
QStringList elementLines(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i) {
        const int set = i % 10 == 9 ? 4 + (i / 10) % 3 : i % 4;
        QString l2 = QString::fromLatin1(kSets[set][2]);
        const double anomaly = std::fmod(l2.mid(43, 8).toDouble() + 37.0 * i, 360.0);
        const double node = std::fmod(l2.mid(17, 8).toDouble() + 11.0 * i, 360.0);
        l2.replace(43, 8, QString::asprintf("%8.4f", anomaly));
        l2.replace(17, 8, QString::asprintf("%8.4f", node));
        l2[68] = QChar(u'0' + *elementLineChecksum(l2));
        lines << QStringLiteral("%1 #%2").arg(QString::fromLatin1(kSets[set][0])).arg(i)
              << QString::fromLatin1(kSets[set][1]) << l2;
    }
    return lines;
}

const char *const kPythonScript = R"PY(
import json, math, sys, time
from sgp4.api import Satrec, WGS72, accelerated

A, F = 6378.137, 1 / 298.257223563
OMEGA = 7.292115146706979e-5
C = 299792.458

def gmst(jd):
    t = (jd - 2451545.0) / 36525.0
    s = -6.2e-6 * t ** 3 + 0.093104 * t ** 2 + (876600.0 * 3600 + 8640184.812866) * t + 67310.54841
    return (s % 86400.0) / 86400.0 * 2 * math.pi

lat, lon = math.radians(-34.8125), math.radians(-58.375)
e2 = F * (2 - F)
n = A / math.sqrt(1 - e2 * math.sin(lat) ** 2)
STATION = (n * math.cos(lat) * math.cos(lon), n * math.cos(lat) * math.sin(lon), n * (1 - e2) * math.sin(lat))

def look(sat, jd, fr):
    e, r, v = sat.sgp4(jd, fr)
    if e:
        return None
    th = gmst(jd + fr)
    c, s = math.cos(th), math.sin(th)
    x, y, z = c * r[0] + s * r[1], -s * r[0] + c * r[1], r[2]
    vx = c * v[0] + s * v[1] + OMEGA * y
    vy = -s * v[0] + c * v[1] - OMEGA * x
    dx, dy, dz = x - STATION[0], y - STATION[1], z - STATION[2]
    rng = math.sqrt(dx * dx + dy * dy + dz * dz)
    up = (math.cos(lat) * math.cos(lon) * dx + math.cos(lat) * math.sin(lon) * dy + math.sin(lat) * dz) / rng
    east = -math.sin(lon) * dx + math.cos(lon) * dy
    north = -math.sin(lat) * math.cos(lon) * dx - math.sin(lat) * math.sin(lon) * dy + math.cos(lat) * dz
    rate = (dx * vx + dy * vy + dz * v[2]) / rng
    return math.degrees(math.atan2(east, north)) % 360, math.degrees(math.asin(up)), 145.96e6 * (1 - rate / C)

lines = open(sys.argv[1]).read().split('\n')
sats = [Satrec.twoline2rv(lines[i + 1], lines[i + 2], WGS72) for i in range(0, len(lines) - 2, 3)]
jd0 = 2460371.5  # 2024-03-02 00:00 UTC
span = float(sys.argv[2])
out = {'accelerated': bool(accelerated)}

t0 = time.perf_counter()
count = 0
for sat in sats:
    for k in range(int(span)):
        sat.sgp4(jd0, k / 86400.0)
        count += 1
out['propagation_seconds'] = time.perf_counter() - t0
out['propagations'] = count

ticks = 60
t0 = time.perf_counter()
for k in range(ticks):
    for sat in sats:
        look(sat, jd0, k / 86400.0)
out['tick_seconds'] = (time.perf_counter() - t0) / ticks

# The pass list of the first 50: look every 60 s, halve the steps at each crossing to 0.1 s,
# and take the highest sample of each pass.
def elevation(sat, t):
    l = look(sat, jd0, t / 86400.0)
    return l[1] if l else -90.0

def crossing(sat, a, b):
    ea = elevation(sat, a)
    while b - a > 0.1:
        m = 0.5 * (a + b)
        if (elevation(sat, m) >= 0) == (ea >= 0):
            a = m
        else:
            b = m
    return 0.5 * (a + b)

t0 = time.perf_counter()
passes = 0
for sat in sats[:50]:
    prev = elevation(sat, 0.0)
    up = prev >= 0
    for k in range(1, 1441):
        t = k * 60.0
        e = elevation(sat, t)
        if prev < 0 <= e:
            crossing(sat, t - 60.0, t)
            up = True
        elif prev >= 0 > e:
            crossing(sat, t - 60.0, t)
            passes += 1
            up = False
        prev = e
out['passlist_seconds'] = time.perf_counter() - t0
out['passes'] = passes
json.dump(out, sys.stdout)
)PY";

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList lines = elementLines(100);
    const QList<OrbitalElements> sets = readOrbitalElements(lines);
    std::vector<Sgp4> orbits;
    for (const OrbitalElements &e : sets)
        orbits.emplace_back(e);
    const Observer station = *observerAtLocator(u"GF05TE");
    const double start = utcSeconds(QDateTime(QDate(2024, 3, 2), QTime(0, 0), Qt::UTC));
    std::printf("Built-in tracker, %zu satellites (%d high orbits), station GF05TE\n\n", orbits.size(),
                int(std::count_if(orbits.begin(), orbits.end(), [](const Sgp4 &o) { return o.deepSpace(); })));

    // 1. Propagation, 100 satellites x 86400 one-second steps.
    double sink = 0;
    const double propagation = secondsOf([&] {
        for (const Sgp4 &orbit : orbits)
            for (int k = 0; k < 86400; ++k)
                sink += orbit.at(start + k).state.position[0];
    });
    const double withLooks = secondsOf([&] {
        for (const Sgp4 &orbit : orbits)
            for (int k = 0; k < 86400; ++k) {
                const Sgp4Result r = orbit.at(start + k);
                if (r.ok())
                    sink += lookAngles(station, r.state, start + k).elevation;
            }
    });
    const double propagations = double(orbits.size()) * 86400.0;
    std::printf("Propagation, 100 satellites over 24 h in 1-s steps (%.0f positions):\n", propagations);
    std::printf("  position only                %8.2f s  (%.2f us each)\n", propagation, propagation / propagations * 1e6);
    std::printf("  with azimuth/elevation/rate  %8.2f s  (%.2f us each)\n\n", withLooks, withLooks / propagations * 1e6);

    // 2. The pass list of 50 satellites over 24 h.
    BuiltInTracker fifty;
    fifty.setLocator(u"GF05TE");
    fifty.setElements(sets.mid(0, 50));
    QList<SatelliteEntry> entries;
    for (const OrbitalElements &e : sets.mid(0, 50))
        entries.append({e.name, "435.250", "145.960", "FM", "FM"});
    fifty.setSatellites(entries);
    qsizetype passCount = 0;
    std::vector<double> listTimes;
    for (int run = 0; run < 5; ++run)
        listTimes.push_back(secondsOf([&] { passCount = fifty.passList(start).size(); }));
    std::sort(listTimes.begin(), listTimes.end());
    std::printf("Pass list, 50 satellites over 24 h: %.1f ms (median of 5), %lld passes\n\n",
                listTimes[2] * 1e3, (long long)passCount);

    // 3. The 1-s tick with 100 satellites.
    BuiltInTracker hundred;
    hundred.setLocator(u"GF05TE");
    hundred.setElements(sets);
    QList<SatelliteEntry> all;
    for (const OrbitalElements &e : sets)
        all.append({e.name, "435.250", "145.960", "FM", "FM"});
    hundred.setSatellites(all);
    // The first ticks search for the first to rise among all of them, as much of it per tick as
    // the tracker allows itself.
    BuiltInTracker::Tick first;
    const double firstTick = cpuSecondsOf([&] { first = hundred.tick(u"", start); });
    int searchingTicks = 0;
    for (BuiltInTracker::Tick t = first; t.status == BuiltInTracker::Status::Searching;)
        t = hundred.tick(u"", start + ++searchingTicks);
    hundred = BuiltInTracker();
    hundred.setLocator(u"GF05TE");
    hundred.setElements(sets);
    hundred.setSatellites(all);
    sink += hundred.tick(u"", start).look.elevation;
    std::vector<double> ticks, wall;
    for (int k = 1; k <= 86400; ++k) {
        const double cpu = cpuSecondsOf([&] {
            wall.push_back(secondsOf([&] { sink += hundred.tick(u"", start + k).look.elevation; }));
        });
        ticks.push_back(cpu);
    }
    std::sort(ticks.begin(), ticks.end());
    std::sort(wall.begin(), wall.end());
    std::vector<double> chosenTicks;
    for (int k = 1; k <= 3600; ++k)
        chosenTicks.push_back(cpuSecondsOf([&] { sink += hundred.tick(u"AO-91 #1", start + k).look.elevation; }));
    std::sort(chosenTicks.begin(), chosenTicks.end());
    std::vector<double> everyOne;
    for (int k = 0; k < 600; ++k)
        everyOne.push_back(cpuSecondsOf([&] {
            for (const TrackedSatellite &s : hundred.satellites())
                if (const auto text = trackingTextAt(s.name, *s.entry, *s.orbit, station, start + k))
                    sink += text->size();
        }));
    std::sort(everyOne.begin(), everyOne.end());
    std::printf("Tick with 100 satellites (next to rise among all of them), 86400 ticks, processor time:\n");
    std::printf("  first tick (the search for the first to rise)  %.3f ms; %d more tick(s) searching\n",
                firstTick * 1e3, searchingTicks);
    std::printf("  median %.4f ms, 99.9th percentile %.4f ms, worst %.3f ms (a pass ended: the next to rise)\n",
                ticks[ticks.size() / 2] * 1e3, ticks[ticks.size() * 999 / 1000] * 1e3, ticks.back() * 1e3);
    std::printf("  wall clock on this machine: median %.4f ms, worst %.3f ms\n", wall[wall.size() / 2] * 1e3,
                wall.back() * 1e3);
    std::printf("  a chosen satellite: median %.4f ms, worst %.3f ms\n", chosenTicks[chosenTicks.size() / 2] * 1e3,
                chosenTicks.back() * 1e3);
    std::printf("  tracking text of all 100 satellites in one tick: median %.3f ms\n\n",
                everyOne[everyOne.size() / 2] * 1e3);

    // 4. The same with python3-sgp4.
    const QString python = QStringLiteral("/usr/bin/python3");
    QTemporaryDir dir;
    QFile script(dir.filePath(QStringLiteral("bench.py")));
    QFile input(dir.filePath(QStringLiteral("sets.txt")));
    if (!QFileInfo::exists(python) || !script.open(QIODevice::WriteOnly) || !input.open(QIODevice::WriteOnly)) {
        std::printf("python3-sgp4: /usr/bin/python3 not available, comparison skipped\n");
        return sink == 0.12345 ? 1 : 0;
    }
    script.write(kPythonScript);
    script.close();
    input.write(lines.join(u'\n').toLatin1());
    input.close();
    const double pythonSpan = 600.0; // seconds of the day propagated by Python, then scaled
    QProcess process;
    process.start(python, {script.fileName(), input.fileName(), QString::number(pythonSpan)});
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::printf("python3-sgp4: the script failed (%s), comparison skipped\n",
                    process.readAllStandardError().constData());
        return sink == 0.12345 ? 1 : 0;
    }
    const QJsonObject py = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    const double pyEach = py["propagation_seconds"].toDouble() / py["propagations"].toDouble();
    std::printf("python3-sgp4 (%s), same satellites:\n",
                py["accelerated"].toBool() ? "compiled propagator" : "pure-Python propagator");
    std::printf("  propagation: %.2f us each; 100 satellites over 24 h would take %.0f s (%.0fx)\n",
                pyEach * 1e6, pyEach * propagations, pyEach * propagations / propagation);
    std::printf("  tick, 100 satellites with azimuth/elevation/Doppler: %.3f ms (%.0fx the text of all 100 here)\n",
                py["tick_seconds"].toDouble() * 1e3, py["tick_seconds"].toDouble() / everyOne[everyOne.size() / 2]);
    std::printf("  pass list, 50 satellites over 24 h (60-s steps, halving to 0.1 s): %.0f ms, %d passes (%.0fx)\n",
                py["passlist_seconds"].toDouble() * 1e3, py["passes"].toInt(),
                py["passlist_seconds"].toDouble() / listTimes[2]);
    return sink == 0.12345 ? 1 : 0;
}
