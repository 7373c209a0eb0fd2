// Pass prediction: rise, set and highest point against a brute-force search second by second,
// passes already in progress, satellites that never rise or set, decayed orbits and the track
// of a pass.
#include "tracking/passes.h"
#include "testsupport.h"

#include <QTest>

#include <cmath>

using namespace vorta;

namespace {

struct Sampled
{
    double aos = 0, los = 0, maxElevation = -90, maxTime = 0;
};

// Every pass between from and to found by looking at the satellite every step seconds; rise
// and set are interpolated between the samples that straddle the horizon, and the highest
// sample is looked at again every hundredth of a second on either side.
QList<Sampled> sampledPasses(const PassPredictor &predictor, double from, double to, double step)
{
    QList<Sampled> found;
    std::optional<Sampled> current;
    double previousTime = from;
    double previous = predictor.look(from)->elevation;
    if (previous >= 0)
        current = Sampled{from, 0, previous, from};
    for (double t = from + step; t <= to; t += step) {
        const double e = predictor.look(t)->elevation;
        const double cross = previousTime + step * previous / (previous - e);
        if (previous < 0 && e >= 0)
            current = Sampled{cross, 0, e, t};
        if (current && e > current->maxElevation)
            *current = Sampled{current->aos, 0, e, t};
        if (previous >= 0 && e < 0 && current) {
            current->los = cross;
            for (double u = current->maxTime - step; u < current->maxTime + step; u += 0.01)
                current->maxElevation = std::max(current->maxElevation, predictor.look(u)->elevation);
            found.append(*current);
            current.reset();
        }
        previousTime = t;
        previous = e;
    }
    return found;
}

// The passes of the sampled list that overlap [from, to).
QList<Sampled> overlapping(const QList<Sampled> &all, double from, double to)
{
    QList<Sampled> out;
    for (const Sampled &s : all)
        if (s.los > from && s.aos < to)
            out.append(s);
    return out;
}

void compare(const QList<Pass> &predicted, const QList<Sampled> &sampled, double timeTolerance,
             const QString &what)
{
    QVERIFY2(predicted.size() == sampled.size(),
             qPrintable(what + QStringLiteral(": %1 passes, sampling found %2").arg(predicted.size()).arg(sampled.size())));
    for (qsizetype i = 0; i < predicted.size(); ++i) {
        const Pass &p = predicted[i];
        const Sampled &s = sampled[i];
        const QString at = what + QStringLiteral(" pass %1").arg(i);
        QVERIFY2(p.rises && p.sets, qPrintable(at));
        QVERIFY2(std::fabs(p.aos - s.aos) < timeTolerance, qPrintable(at));
        QVERIFY2(std::fabs(p.los - s.los) < timeTolerance, qPrintable(at));
        QVERIFY2(std::fabs(p.maxElevation - s.maxElevation) < 0.001, qPrintable(at));
        QVERIFY2(p.aos < p.maxTime && p.maxTime < p.los, qPrintable(at));
    }
}

} // namespace

class TestPasses : public QObject
{
    Q_OBJECT
private:
    QList<OrbitalElements> m_sets = readOrbitalElements(test::elementFileLines());
    const Observer m_south = *observerAtLocator(u"GF05TE");
    const Observer m_north = *observerAtLocator(u"JO62QM");

private slots:
    void lowOrbitPassesMatchSampling()
    {
        for (const int index : {0, 1, 2, 7}) {
            const Sgp4 orbit(m_sets[index]);
            for (const Observer &station : {m_south, m_north}) {
                const PassPredictor predictor(orbit, station);
                const double from = m_sets[index].epoch + 3600.0;
                const double to = from + 86400.0;
                const QList<Sampled> sampled =
                    overlapping(sampledPasses(predictor, from - 7200.0, to + 7200.0, 1.0), from, to);
                const QList<Pass> predicted = predictor.passes(from, to);
                QVERIFY(predicted.size() >= 3);
                compare(predicted, sampled, 0.1, m_sets[index].name);
            }
        }
    }

    void eccentricOrbitPassesMatchSampling()
    {
        // Molniya: passes of many hours with the apogee high above the north; a 12 h orbit
        // near the equator seen from the south.
        for (const auto &[index, station] : {std::pair{4, m_north}, std::pair{8, m_south}, std::pair{9, m_north}}) {
            const Sgp4 orbit(m_sets[index]);
            const PassPredictor predictor(orbit, station);
            const double from = m_sets[index].epoch;
            const double to = from + 2 * 86400.0;
            const QList<Sampled> sampled =
                overlapping(sampledPasses(predictor, from - 86400.0, to + 86400.0, 5.0), from, to);
            const QList<Pass> predicted = predictor.passes(from, to);
            QVERIFY(!predicted.isEmpty());
            compare(predicted, sampled, 1.0, m_sets[index].name);
        }
    }

    void passInProgress()
    {
        const Sgp4 orbit(m_sets[0]);
        const PassPredictor predictor(orbit, m_south);
        const double from = m_sets[0].epoch;
        const QList<Pass> all = predictor.passes(from, from + 86400.0);
        QVERIFY(all.size() >= 2);
        const Pass &first = all[0];
        // Asked after the highest point, the pass is still found whole: its rise in the past,
        // its real peak.
        const double late = first.maxTime + 0.5 * (first.los - first.maxTime);
        const QList<Pass> fromLate = predictor.passes(late, late + 3600.0);
        QVERIFY(!fromLate.isEmpty());
        QVERIFY(std::fabs(fromLate[0].aos - first.aos) < 0.1);
        QVERIFY(std::fabs(fromLate[0].los - first.los) < 0.1);
        QVERIFY(std::fabs(fromLate[0].maxElevation - first.maxElevation) < 1e-3);
        QVERIFY(fromLate[0].inProgress(late));
        // The next pass is the one in progress, then, once it has set, the following one.
        QVERIFY(std::fabs(predictor.nextPass(late)->aos - first.aos) < 0.1);
        QVERIFY(std::fabs(predictor.nextPass(first.los + 1.0)->aos - all[1].aos) < 0.1);
        // A span that ends before the next rise has no pass.
        QVERIFY(!predictor.nextPass(first.los + 1.0, all[1].aos - first.los - 2.0));
    }

    void satellitesThatNeverRiseOrSet()
    {
        // The geostationary satellite, seen from a station under it and from one on the other
        // side of the earth.
        const Sgp4 geo(m_sets[3]);
        const double utc = m_sets[3].epoch;
        const double longitude = test::longitudeBelow(geo, utc);
        const PassPredictor below(geo, makeObserver(10.0, std::remainder(longitude + 20.0, 360.0)));
        const QList<Pass> always = below.passes(utc, utc + 86400.0);
        QCOMPARE(always.size(), 1);
        QVERIFY(!always[0].rises && !always[0].sets);
        QVERIFY(always[0].aos <= utc - PassPredictor::kFollowSeconds);
        QVERIFY(always[0].los >= utc + 86400.0 + PassPredictor::kFollowSeconds);
        QVERIFY(always[0].maxElevation > 50.0);
        const PassPredictor opposite(geo, makeObserver(0.0, std::remainder(longitude + 180.0, 360.0)));
        QVERIFY(opposite.passes(utc, utc + 86400.0).isEmpty());
        QVERIFY(!opposite.nextPass(utc));
    }

    void decayedOrbit()
    {
        // The decaying satellite comes down within a few days: passes end there, and none is
        // found after.
        const Sgp4 orbit(m_sets[6]);
        const PassPredictor predictor(orbit, m_north);
        const double from = m_sets[6].epoch;
        double decay = from;
        while (orbit.at(decay).ok())
            decay += 60.0;
        const QList<Pass> passes = predictor.passes(from, from + 10 * 86400.0);
        QVERIFY(!passes.isEmpty());
        for (const Pass &p : passes)
            QVERIFY(p.los <= decay);
        QVERIFY(!predictor.nextPass(decay + 60.0));
        QVERIFY(!predictor.look(decay + 60.0));
    }

    void trackOfAPass()
    {
        const Sgp4 orbit(m_sets[1]);
        const PassPredictor predictor(orbit, m_north);
        const Pass pass = *predictor.nextPass(m_sets[1].epoch);
        const QList<SkyPoint> track = predictor.track(pass, 10.0);
        QCOMPARE(track.first().utc, pass.aos);
        QCOMPARE(track.last().utc, pass.los);
        QVERIFY(std::fabs(track.first().elevation) < 0.01);
        QVERIFY(std::fabs(track.last().elevation) < 0.01);
        QVERIFY(std::fabs(track.first().azimuth - pass.aosAzimuth) < 1e-9);
        QCOMPARE(track.size(), qsizetype(std::ceil((pass.los - pass.aos) / 10.0)) + 1);
        for (qsizetype i = 1; i + 1 < track.size(); ++i) {
            QVERIFY(track[i].elevation > 0.0);
            QVERIFY(track[i].elevation <= pass.maxElevation + 1e-9);
            QCOMPARE(track[i].utc - track[i - 1].utc, 10.0);
        }
        QVERIFY(predictor.track(pass, 0.0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPasses)
#include "tst_passes.moc"
