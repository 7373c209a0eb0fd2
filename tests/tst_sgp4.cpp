// Orbits from element sets: reading the sets (checksums, epochs, field formats), the propagator
// against reference values of an independent implementation (Debian's python3-sgp4, run at
// test time), and the station's view of the satellite with its Doppler shift.
#include "tracking/lookangles.h"
#include "tracking/sgp4.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace vorta;

namespace {

// The reference: the satellite's TEME state from python3-sgp4 and, with the station carried
// into TEME (rather than the satellite into the earth-fixed frame, as the program does), its
// azimuth, elevation and range rate.
const char *const kReferenceScript = R"PY(
import json, math, sys
try:
    from sgp4.api import Satrec, WGS72
except ImportError:
    sys.exit(3)

A, F = 6378.137, 1 / 298.257223563
OMEGA = 7.292115146706979e-5

def gmst(jd):
    t = (jd - 2451545.0) / 36525.0
    s = -6.2e-6 * t ** 3 + 0.093104 * t ** 2 + (876600.0 * 3600 + 8640184.812866) * t + 67310.54841
    return (s % 86400.0) / 86400.0 * 2 * math.pi

def station(lat, lon, theta):
    phi, lam = math.radians(lat), math.radians(lon) + theta
    e2 = F * (2 - F)
    n = A / math.sqrt(1 - e2 * math.sin(phi) ** 2)
    r = (n * math.cos(phi) * math.cos(lam), n * math.cos(phi) * math.sin(lam), n * (1 - e2) * math.sin(phi))
    v = (-OMEGA * r[1], OMEGA * r[0], 0.0)
    up = (math.cos(phi) * math.cos(lam), math.cos(phi) * math.sin(lam), math.sin(phi))
    east = (-math.sin(lam), math.cos(lam), 0.0)
    north = (-math.sin(phi) * math.cos(lam), -math.sin(phi) * math.sin(lam), math.cos(phi))
    return r, v, up, east, north

def dot(a, b):
    return sum(x * y for x, y in zip(a, b))

req = json.load(open(sys.argv[1]))
out = []
for case in req['cases']:
    sat = Satrec.twoline2rv(case['line1'], case['line2'], WGS72)
    rows = []
    for t in case['minutes']:
        e, r, v = sat.sgp4_tsince(t)
        row = {'t': t, 'error': e, 'r': [], 'v': [], 'looks': []}
        if e == 0:
            row['r'], row['v'] = list(r), list(v)
            theta = gmst(sat.jdsatepoch + sat.jdsatepochF + t / 1440.0)
            for lat, lon in req['stations']:
                o, ov, up, east, north = station(lat, lon, theta)
                rho = [a - b for a, b in zip(r, o)]
                rhodot = [a - b for a, b in zip(v, ov)]
                dist = math.sqrt(dot(rho, rho))
                az = math.degrees(math.atan2(dot(rho, east), dot(rho, north))) % 360.0
                el = math.degrees(math.asin(dot(rho, up) / dist))
                row['looks'].append([az, el, dist, dot(rho, rhodot) / dist])
        rows.append(row)
    out.append(rows)
json.dump(out, sys.stdout)
)PY";

struct Reference
{
    bool available = false;
    QString why;
    QJsonArray cases;
};

Reference runReference(const QList<ElementSet> &sets, const QList<double> &minutes,
                       const QList<Observer> &stations)
{
    Reference ref;
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFileInfo::exists(python)) {
        ref.why = QStringLiteral("/usr/bin/python3 is not installed");
        return ref;
    }
    QTemporaryDir dir;
    QFile script(dir.filePath(QStringLiteral("reference.py")));
    if (!script.open(QIODevice::WriteOnly) || script.write(kReferenceScript) < 0)
        qFatal("cannot write the reference script");
    script.close();
    QJsonArray caseArray;
    for (const ElementSet &set : sets) {
        QJsonArray times;
        for (const double t : minutes)
            times.append(t);
        caseArray.append(QJsonObject{{"line1", set.line1}, {"line2", set.line2}, {"minutes", times}});
    }
    QJsonArray stationArray;
    for (const Observer &o : stations)
        stationArray.append(QJsonArray{o.latitude, o.longitude});
    QFile request(dir.filePath(QStringLiteral("request.json")));
    if (!request.open(QIODevice::WriteOnly)
        || request.write(QJsonDocument(QJsonObject{{"cases", caseArray}, {"stations", stationArray}}).toJson()) < 0)
        qFatal("cannot write the reference request");
    request.close();

    QProcess process;
    process.start(python, {script.fileName(), request.fileName()});
    if (!process.waitForFinished(300000)) {
        ref.why = QStringLiteral("the reference script did not finish");
        return ref;
    }
    if (process.exitCode() == 3) {
        ref.why = QStringLiteral("python3-sgp4 is not installed");
        return ref;
    }
    if (process.exitCode() != 0)
        qFatal("reference script failed: %s", process.readAllStandardError().constData());
    ref.cases = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    ref.available = true;
    return ref;
}

// The line with its checksum digit recomputed, after a test changed a field.
QString withChecksum(QString line)
{
    line[68] = QChar(u'0' + *elementLineChecksum(line));
    return line;
}

double distance(const std::array<double, 3> &a, const QJsonArray &b)
{
    return std::hypot(a[0] - b[0].toDouble(), a[1] - b[1].toDouble(), a[2] - b[2].toDouble());
}

double angleDifference(double a, double b)
{
    return std::fabs(std::remainder(a - b, 360.0));
}

} // namespace

class TestSgp4 : public QObject
{
    Q_OBJECT
private slots:
    void readsElementSets()
    {
        int rejected = -1;
        const QList<OrbitalElements> sets = readOrbitalElements(test::elementFileLines(), &rejected);
        QCOMPARE(sets.size(), 10);
        QCOMPARE(rejected, 0);
        const OrbitalElements &iss = sets[0];
        QCOMPARE(iss.name, QStringLiteral("ISS (ZARYA)"));
        QCOMPARE(iss.catalogue, QStringLiteral("25544"));
        QCOMPARE(iss.catalogueNumber, 25544);
        QCOMPARE(iss.designator, QStringLiteral("98067A"));
        // Day 61 of a leap year is 1 March; .51736111 of a day is 12:25:00 (to 1 ms).
        QVERIFY(std::fabs(iss.epoch - utcSeconds(QDateTime(QDate(2024, 3, 1), QTime(12, 25), Qt::UTC))) < 1e-3);
        QCOMPARE(iss.eccentricity, 0.0005774); // an implied decimal point
        QCOMPARE(iss.revolution, 44197);
        // Negative drag terms, a blank-padded revolution number, exponents of either sign.
        QCOMPARE(sets[5].meanMotionDot, -0.00000052);
        QCOMPARE(sets[3].revolution, 1915);
        QCOMPARE(sets[6].meanMotionDDot, 0.12345e-4);
        QCOMPARE(sets[6].bstar, 0.5e-2);

        const auto parse = [](const QString &l1, const QString &l2) {
            ElementSetError error = ElementSetError::None;
            const auto e = parseOrbitalElements({QStringLiteral("X"), l1, l2}, &error);
            return std::make_pair(e.has_value(), error);
        };
        const QString l1 = QStringLiteral("1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927");
        const QString l2 = QStringLiteral("2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537");
        QCOMPARE(parse(l1, l2), std::make_pair(true, ElementSetError::None));
        // Two-digit years from 57 are the 1900s.
        const auto old = parseOrbitalElements({"X", withChecksum(QString(l1).replace(18, 2, "98")), l2});
        QVERIFY(old);
        QCOMPARE(utcDateTime(old->epoch).date(), QDate(1998, 9, 21));
        const auto negative = parseOrbitalElements({"0 ISS (ZARYA)", l1, l2});
        QCOMPARE(negative->bstar, -0.11606e-4);
        QCOMPARE(negative->meanMotionDDot, 0.0);
        QCOMPARE(negative->name, QStringLiteral("ISS (ZARYA)"));
        // Drag terms left blank count as 0.
        const auto blank = parseOrbitalElements({"X", withChecksum(QString(l1).replace(33, 28, QString(28, u' '))), l2});
        QVERIFY(blank);
        QCOMPARE(blank->bstar, 0.0);

        // A changed digit breaks the checksum; so does a lost "-".
        QCOMPARE(parse(QString(l1).replace(40, 1, "3"), l2).second, ElementSetError::Checksum);
        QCOMPARE(parse(l1, QString(l2).replace(20, 1, "8")).second, ElementSetError::Checksum);
        QCOMPARE(parse(QString(l1).replace(33, 1, " "), l2).second, ElementSetError::Checksum);
        QCOMPARE(parse(l1.left(60), l2).second, ElementSetError::TooShort);
        QCOMPARE(parse(l1, {}).second, ElementSetError::MissingLine);
        // Lines of two satellites, and an orbit that cannot be (mean motion 0, checksum kept).
        QCOMPARE(parse(withChecksum(QString(l1).replace(6, 1, "5")), l2).second, ElementSetError::Mismatch);
        QCOMPARE(parse(l1, withChecksum(QString(l2).replace(52, 11, " 0.00000000"))).second,
                 ElementSetError::OutOfRange);
        QCOMPARE(parse(l1, withChecksum(QString(l2).replace(26, 7, "A000000"))).second,
                 ElementSetError::BadField);
        // "nan" and "inf" read as numbers, and no orbit comes of them (the pass search would
        // never end): epoch day, inclination, ascending node, mean motion, drag.
        QCOMPARE(parse(withChecksum(QString(l1).replace(20, 12, "         nan")), l2).second, ElementSetError::BadField);
        QCOMPARE(parse(l1, withChecksum(QString(l2).replace(8, 8, "     nan"))).second, ElementSetError::BadField);
        QCOMPARE(parse(l1, withChecksum(QString(l2).replace(17, 8, "     inf"))).second, ElementSetError::BadField);
        QCOMPARE(parse(l1, withChecksum(QString(l2).replace(52, 11, "        inf"))).second, ElementSetError::BadField);
        QCOMPARE(parse(withChecksum(QString(l1).replace(33, 10, "       nan")), l2).second, ElementSetError::BadField);
        // Catalogue numbers beyond 99999 start with a letter (I and O are not used).
        const auto alpha = parseOrbitalElements(
            {"X", withChecksum(QString(l1).replace(2, 5, "B0001")), withChecksum(QString(l2).replace(2, 5, "B0001"))});
        QVERIFY(alpha);
        QCOMPARE(alpha->catalogueNumber, 110001);
        QCOMPARE(alpha->catalogue, QStringLiteral("B0001"));
    }

    void readsWholeFilesAndSkipsBadSets()
    {
        // More satellites than the orbit-number table holds, a set with a bad checksum in the
        // middle and a file cut short after a name.
        QStringList lines;
        const QStringList one = test::elementFileLines().mid(0, 3);
        for (int i = 0; i < 120; ++i)
            lines << QStringLiteral("SAT %1").arg(i) << one[1] << one[2];
        lines[3 * 50 + 1].replace(68, 1, u'0');
        lines << QStringLiteral("CUT SHORT");
        int rejected = 0;
        const QList<OrbitalElements> sets = readOrbitalElements(lines, &rejected);
        QCOMPARE(sets.size(), 119);
        QCOMPARE(rejected, 2);
        QCOMPARE(sets[50].name, QStringLiteral("SAT 51"));
        QCOMPARE(sets.last().name, QStringLiteral("SAT 119"));
    }

    void findsTheSetOfASatellite()
    {
        const QList<OrbitalElements> sets = readOrbitalElements(test::elementFileLines());
        // By the name rule of the orbit number: the whole name or one of its parts, "_" as a blank.
        QCOMPARE(findOrbitalElements(sets, u"SO-50"), 2);
        QCOMPARE(findOrbitalElements(sets, u"ISS"), 0);
        QCOMPARE(findOrbitalElements(sets, u"ISS_(ZARYA)"), 0);
        QCOMPARE(findOrbitalElements(sets, u"HEO_12H_RESONANT"), 9);
        QCOMPARE(findOrbitalElements(sets, u"HEO 12H R"), -1); // a piece of a name is no name
        QCOMPARE(findOrbitalElements(sets, u"so-50"), 2); // letter case aside when nothing else matches
        QCOMPARE(findOrbitalElements(sets, u"Ao-91"), 1);
        QCOMPARE(findOrbitalElements(sets, u"AO-9"), -1);
        QCOMPARE(findOrbitalElements(sets, u""), -1);
        // By catalogue number.
        QCOMPARE(findOrbitalElements(sets, u"43700"), 3);
        QCOMPARE(findOrbitalElements(sets, 28163), 4);
        QCOMPARE(findOrbitalElements(sets, u"99999"), -1);
    }

    void elementAge()
    {
        const OrbitalElements iss = readOrbitalElements(test::elementFileLines()).first();
        const double fourteenDays = iss.epoch + 14 * 86400.0;
        QCOMPARE(elementAgeDays(iss, fourteenDays), 14.0);
        QVERIFY(!elementsStale(iss, fourteenDays));
        QVERIFY(elementsStale(iss, fourteenDays + 1.0));
        QVERIFY(!elementsStale(iss, iss.epoch - 30 * 86400.0)); // elements newer than the clock
        QCOMPARE(elementAgeDays(iss, iss.epoch - 43200.0), -0.5);
    }

    // Positions to 1 m and velocities to 1 mm/s against the reference over five days from the
    // epoch and one day before it, the times visited out of order so that the resonance
    // integration has to run forwards, backwards and restart.
    void matchesTheReferenceModel()
    {
        const QList<OrbitalElements> sets = readOrbitalElements(test::elementFileLines());
        QList<double> minutes = {0.0, 4320.0, 720.0, 7200.0, -1440.0, 2880.5, 1.0, -0.5};
        for (double t = 0.0; t <= 7200.0; t += 97.0)
            minutes << t;
        const QList<Observer> stations = {*observerAtLocator(u"GF05TE"), *observerAtLocator(u"JO62QM")};
        const Reference ref = runReference(readElementSets(test::elementFileLines()), minutes, stations);
        if (!ref.available)
            QSKIP(qPrintable(ref.why));
        QCOMPARE(ref.cases.size(), sets.size());

        int compared = 0, errors = 0;
        double worstPosition = 0, worstVelocity = 0, worstAngle = 0, worstDoppler = 0;
        for (qsizetype i = 0; i < sets.size(); ++i) {
            const Sgp4 orbit(sets[i]);
            QVERIFY(orbit.valid());
            const QJsonArray rows = ref.cases[i].toArray();
            for (const QJsonValue &value : rows) {
                const QJsonObject row = value.toObject();
                const double t = row["t"].toDouble();
                const Sgp4Result got = orbit.propagate(t);
                const QString where = QStringLiteral("%1 at %2 min").arg(sets[i].name).arg(t);
                QCOMPARE(int(got.error), row["error"].toInt());
                if (!got.ok()) {
                    ++errors;
                    continue;
                }
                const double dr = distance(got.state.position, row["r"].toArray());
                const double dv = distance(got.state.velocity, row["v"].toArray());
                QVERIFY2(dr < 1e-3, qPrintable(where));
                QVERIFY2(dv < 1e-6, qPrintable(where));
                worstPosition = std::max(worstPosition, dr);
                worstVelocity = std::max(worstVelocity, dv);

                // The station's view: azimuth and elevation to 0.01°, Doppler to 1 Hz on the
                // highest downlink worked (10 GHz).
                const double utc = sets[i].epoch + t * 60.0;
                const QJsonArray looks = row["looks"].toArray();
                for (qsizetype s = 0; s < stations.size(); ++s) {
                    const LookAngles look = lookAngles(stations[s], got.state, utc);
                    const QJsonArray expected = looks[s].toArray();
                    const QString at = where + QStringLiteral(" from station %1").arg(s);
                    const double dAz = std::fabs(look.elevation) < 89.0
                                           ? angleDifference(look.azimuth, expected[0].toDouble()) : 0.0;
                    const double dEl = std::fabs(look.elevation - expected[1].toDouble());
                    const double rate = expected[3].toDouble();
                    const double dDown = std::fabs(dopplerDownlink(10489.55e6, look.rangeRateKmS)
                                                   - dopplerDownlink(10489.55e6, rate));
                    const double dUp = std::fabs(dopplerUplink(2400.1e6, look.rangeRateKmS)
                                                 - dopplerUplink(2400.1e6, rate));
                    QVERIFY2(dAz < 0.01 && dEl < 0.01, qPrintable(at));
                    QVERIFY2(std::fabs(look.rangeKm - expected[2].toDouble()) < 1e-3, qPrintable(at));
                    QVERIFY2(dDown < 1.0 && dUp < 1.0, qPrintable(at));
                    worstAngle = std::max({worstAngle, dAz, dEl});
                    worstDoppler = std::max({worstDoppler, dDown, dUp});
                }
                ++compared;
            }
        }
        qInfo("largest differences: position %.3g m, velocity %.3g mm/s, angle %.3g deg, Doppler %.3g Hz",
              worstPosition * 1e3, worstVelocity * 1e6, worstAngle, worstDoppler);
        // Most times were compared; the decaying satellite came down within the five days.
        QVERIFY(compared > 700);
        QVERIFY(errors > 0);
        QVERIFY(!Sgp4(sets[6]).propagate(7200.0).ok());
    }

    void deepSpaceAndResonances()
    {
        const QList<OrbitalElements> sets = readOrbitalElements(test::elementFileLines());
        QVERIFY(!Sgp4(sets[0]).deepSpace());
        QVERIFY(Sgp4(sets[3]).deepSpace()); // geostationary
        QVERIFY(Sgp4(sets[4]).deepSpace()); // Molniya
        // A geostationary satellite seen from under it: nearly still, straight up.
        const Sgp4 geo(sets[3]);
        const double utc = sets[3].epoch + 86400.0;
        const StateVector now = geo.at(utc).state;
        const double theta = greenwichSiderealTime(utc);
        const double longitude = std::atan2(now.position[1], now.position[0]) - theta;
        const Observer below = makeObserver(0.0, std::remainder(longitude * 180.0 / M_PI, 360.0));
        const LookAngles first = lookAngles(below, now, utc);
        const LookAngles later = lookAngles(below, geo.at(utc + 3600.0).state, utc + 3600.0);
        QVERIFY(first.elevation > 89.0);
        QVERIFY(std::fabs(first.rangeRateKmS) < 0.01);
        QVERIFY(std::fabs(later.elevation - first.elevation) < 0.2);
        QVERIFY(std::fabs(geo.semiMajorAxisKm() - 42164.0) < 10.0);
        // An instant that is no number gives no position, at once: the resonance integration
        // would step towards it for ever.
        QCOMPARE(geo.propagate(std::nan("")).error, Sgp4Error::NotANumber);
        QCOMPARE(geo.at(std::numeric_limits<double>::infinity()).error, Sgp4Error::NotANumber);
    }

    void dopplerConvention()
    {
        // Moving away at 7 km/s: a 145.96 MHz downlink is heard 3.4 kHz low; the uplink is sent
        // high by as much, so that the satellite hears 435.25 MHz exactly.
        QCOMPARE(qRound64(dopplerDownlink(145.96e6, 7.0)), qint64(145956592));
        const double sent = dopplerUplink(435.25e6, 7.0);
        QVERIFY(sent > 435.25e6);
        QVERIFY(std::fabs(dopplerDownlink(sent, 7.0) - 435.25e6) < 1e-6);
        QCOMPARE(dopplerDownlink(145.96e6, 0.0), 145.96e6);
        QCOMPARE(qRound64(dopplerDownlink(145.96e6, -7.0)), qint64(145963408));
    }

    void stationGeometry()
    {
        // The observer stands at the centre of its locator's subsquare.
        const Observer o = *observerAtLocator(u"GF05te");
        QCOMPARE(o.latitude, locatorPoint(u"GF05TE")->latitude);
        QCOMPARE(o.longitude, locatorPoint(u"GF05TE")->longitude);
        QVERIFY(!observerAtLocator(u"GF0"));
        // A point straight above the station is at elevation 90 whatever the sidereal time; a
        // point due north on the horizon plane at azimuth 0, one due east at azimuth 90.
        for (const double utc : {0.0, 1.7e9, 1.7e9 + 12345.0}) {
            const double theta = greenwichSiderealTime(utc);
            const auto toTeme = [theta](const std::array<double, 3> &p) {
                return std::array<double, 3>{std::cos(theta) * p[0] - std::sin(theta) * p[1],
                                             std::sin(theta) * p[0] + std::cos(theta) * p[1], p[2]};
            };
            const auto along = [&o](const std::array<double, 3> &dir, double km) {
                return std::array<double, 3>{o.position[0] + km * dir[0], o.position[1] + km * dir[1],
                                             o.position[2] + km * dir[2]};
            };
            StateVector sv;
            sv.position = toTeme(along(o.up, 500.0));
            QVERIFY(std::fabs(lookAngles(o, sv, utc).elevation - 90.0) < 1e-6);
            QVERIFY(std::fabs(lookAngles(o, sv, utc).rangeKm - 500.0) < 1e-6);
            sv.position = toTeme(along(o.north, 1000.0));
            QVERIFY(angleDifference(lookAngles(o, sv, utc).azimuth, 0.0) < 1e-6);
            QVERIFY(std::fabs(lookAngles(o, sv, utc).elevation) < 1e-6);
            sv.position = toTeme(along(o.east, 1000.0));
            QVERIFY(std::fabs(lookAngles(o, sv, utc).azimuth - 90.0) < 1e-6);
        }
        // J2000.0 noon: the sidereal time is 280.46°.
        QVERIFY(std::fabs(greenwichSiderealTime(utcSeconds(QDateTime(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC))) * 180.0 / M_PI
                          - 280.46061837) < 1e-6);
    }
};

QTEST_GUILESS_MAIN(TestSgp4)
#include "tst_sgp4.moc"
