// Grid locators as points, distance and bearing between two stations, compass names.
#include "tracking/locator.h"
#include "tracking/lookangles.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace vorta;

namespace {

// The bearing from b towards a worked out with vectors: a's position seen from b in b's local
// east and north directions. NaN when a is b or its antipode.
double referenceBearing(const GeoPoint &a, const GeoPoint &b)
{
    const double rad = M_PI / 180.0;
    const double pa[3] = {std::cos(a.latitude * rad) * std::cos(a.longitude * rad),
                          std::cos(a.latitude * rad) * std::sin(a.longitude * rad), std::sin(a.latitude * rad)};
    const double east[3] = {-std::sin(b.longitude * rad), std::cos(b.longitude * rad), 0.0};
    const double north[3] = {-std::sin(b.latitude * rad) * std::cos(b.longitude * rad),
                             -std::sin(b.latitude * rad) * std::sin(b.longitude * rad), std::cos(b.latitude * rad)};
    const double e = pa[0] * east[0] + pa[1] * east[1] + pa[2] * east[2];
    const double n = pa[0] * north[0] + pa[1] * north[1] + pa[2] * north[2];
    if (std::hypot(e, n) < 1e-6)
        return std::nan("");
    return std::fmod(std::atan2(e, n) / rad + 360.0, 360.0);
}

// The smaller angle between two directions in degrees.
double angleBetween(double x, double y)
{
    const double d = std::fmod(std::abs(x - y), 360.0);
    return std::min(d, 360.0 - d);
}

} // namespace

class TestLocator : public QObject
{
    Q_OBJECT
private slots:
    void locatorPoints()
    {
        // A 4-character locator is its subsquare AA; case does not matter.
        const auto point = locatorPoint(u"GF05");
        QVERIFY(point);
        QCOMPARE(point->longitude, -60 + 0.041666666);
        QCOMPARE(point->latitude, -35 + 0.020833333);
        QCOMPARE(locatorPoint(u"gf05aa")->longitude, point->longitude);
        for (const char16_t *bad : {u"", u"GF0", u"GF05T", u"GF05TJX", u"1F05", u"GFX5", u"GF05T1", u"ÑF05", u"ZZ99ZZ",
                                    u"sa00", u"GF05ty"})
            QVERIFY2(!locatorPoint(bad), qPrintable(QString::fromUtf16(bad)));
        // The grid's corners stay on the globe.
        const auto north = *locatorPoint(u"rr99xx");
        QVERIFY(north.latitude < 90 && north.longitude < 180);
        const auto south = *locatorPoint(u"AA00AA");
        QVERIFY(south.latitude > -90 && south.longitude > -180);
    }

    // Where a station stands for its antenna: the middle of what its locator names, a square
    // of 2° by 1° for four characters, a subsquare for six.
    void locatorCentres()
    {
        const auto square = locatorCentre(u"GF05");
        QVERIFY(square);
        QVERIFY(std::fabs(square->longitude - -59.0) < 1e-9);
        QVERIFY(std::fabs(square->latitude - -34.5) < 1e-9);
        QCOMPARE(locatorCentre(u"gf05")->longitude, square->longitude);
        const auto subsquare = *locatorCentre(u"GF05TE");
        QCOMPARE(subsquare.longitude, locatorPoint(u"GF05TE")->longitude);
        QCOMPARE(subsquare.latitude, locatorPoint(u"GF05TE")->latitude);
        QVERIFY(!locatorCentre(u"GF0"));
        // The station the tracker computes from, too.
        QVERIFY(std::fabs(observerAtLocator(u"GF05")->latitude - -34.5) < 1e-9);
        QVERIFY(std::fabs(observerAtLocator(u"GF05")->longitude - -59.0) < 1e-9);
    }

    void workedExamples()
    {
        const auto fn31pr = *locatorPoint(u"FN31PR");
        const auto gf05te = *locatorPoint(u"GF05TE");
        const DistanceBearing db = distanceAndBearing(fn31pr, gf05te);
        QCOMPARE(db.distanceKm, 8635.7);
        QCOMPARE(qRound(db.bearingDegrees), 349);
        QCOMPARE(distanceBearingText(fn31pr, gf05te), QStringLiteral("349º  8636 km"));
        // 11922.5 km rounds up, and the bearing keeps its leading zero.
        QCOMPARE(distanceAndBearing(*locatorPoint(u"JO62"), *locatorPoint(u"GF05")).distanceKm, 11922.5);
        QCOMPARE(distanceText(QStringLiteral("JO62"), QStringLiteral("GF05")),
                 std::optional<QString>(QStringLiteral("038º  11923 km")));
    }

    void sameGridAndMissingLocators()
    {
        const std::optional<QString> same(QStringLiteral("La misma grilla!"));
        QCOMPARE(distanceText(QStringLiteral("gf05"), QStringLiteral("GF05AA")), same);
        // Near the poles and the equator, where rounding may carry the cosine past 1.
        for (const char *loc : {"AA00AA", "JJ00AA", "RR99XX", "LR99XX"})
            QCOMPARE(distanceText(QString::fromLatin1(loc), QString::fromLatin1(loc)), same);

        QVERIFY(!distanceText(QString(), QStringLiteral("GF05")));
        QVERIFY(!distanceText(QStringLiteral("GF05"), QString()));
        // An invalid locator never falls back on a point computed before.
        QVERIFY(distanceText(QStringLiteral("FN31PR"), QStringLiteral("GF05TE")));
        QVERIFY(!distanceText(QStringLiteral("FN31PR"), QStringLiteral("GF05T")));
        QVERIFY(!distanceText(QStringLiteral("GF5"), QStringLiteral("GF05")));
    }

    void bearingsAgreeWithAnIndependentComputation()
    {
        // A spread of own and contact locators over the whole grid, poles, antimeridian and
        // equator included, and each pair's neighbours.
        QRandomGenerator random(4242);
        const auto letter = [&random](int count) { return QChar(u'A' + random.bounded(count)); };
        const auto digit = [&random] { return QChar(u'0' + random.bounded(10)); };
        QStringList locators = {"AA00AA", "RR99XX", "AR09AX", "RA90XA", "JJ00AA", "II99XX", "RL92XM", "AL02AM",
                                "GF05TE", "FN31PR", "JO62QM", "JO62QL", "JO62QN", "JO62PM", "JO62RM"};
        for (int i = 0; i < 300; ++i)
            locators << QString(letter(18)) + letter(18) + digit() + digit() + letter(24) + letter(24);
        int compared = 0;
        for (const QString &own : locators) {
            for (int k = 0; k < 8; ++k) {
                const QString &contact = locators[random.bounded(locators.size())];
                const GeoPoint a = *locatorPoint(contact);
                const GeoPoint b = *locatorPoint(own);
                const double expected = referenceBearing(a, b);
                if (std::isnan(expected))
                    continue; // the same point or its antipode: no one direction
                const DistanceBearing db = distanceAndBearing(a, b);
                if (db.distanceKm == 0)
                    continue;
                QVERIFY2(angleBetween(db.bearingDegrees, expected) < 1e-6,
                         qPrintable(own + " -> " + contact + ": " + QString::number(db.bearingDegrees, 'f', 9)
                                    + " / " + QString::number(expected, 'f', 9)));
                QVERIFY(db.bearingDegrees >= 0 && db.bearingDegrees < 360);
                ++compared;
            }
        }
        QVERIFY(compared > 2000);
    }

    void bearingTexts()
    {
        // Neighbouring subsquares due south and due north, east and west of each other.
        QCOMPARE(distanceText("JO62QL", "JO62QM")->left(4), QStringLiteral("180º"));
        QCOMPARE(distanceText("JO62QN", "JO62QM")->left(4), QStringLiteral("000º"));
        QCOMPARE(distanceText("JO62RM", "JO62QM")->left(4), QStringLiteral("090º"));
        QCOMPARE(distanceText("JO62PM", "JO62QM")->left(4), QStringLiteral("270º"));
        for (const char *own : {"AA00AA", "GF05TE", "JJ00AA", "RR99XX"}) {
            const GeoPoint b = *locatorPoint(QString::fromLatin1(own));
            for (double step : {0.05, 1.0, 30.0}) {
                const double lat = b.latitude > 0 ? b.latitude - step : b.latitude + step;
                const QString expected = b.latitude > 0 ? "180º" : "000º";
                QCOMPARE(distanceBearingText(GeoPoint{lat, b.longitude}, b).left(4), expected);
            }
        }
        // Across the antimeridian the short way is east.
        QCOMPARE(distanceText("AL02AM", "RL92XM")->left(4), QStringLiteral("090º"));
        QCOMPARE(distanceText("RL92XM", "AL02AM")->left(4), QStringLiteral("270º"));
        // A hair west of north rounds to north, which reads 000 (never 360).
        QCOMPARE(distanceBearingText(GeoPoint{10.0, -0.05}, GeoPoint{}).left(4), QStringLiteral("000º"));
        QCOMPARE(distanceBearingText(GeoPoint{10.0, -0.1}, GeoPoint{}).left(4), QStringLiteral("359º"));
        QCOMPARE(distanceBearingText(GeoPoint{0.0, 10.0}, GeoPoint{}).left(4), QStringLiteral("090º"));
        QCOMPARE(distanceBearingText(GeoPoint{0.0, -10.0}, GeoPoint{}).left(4), QStringLiteral("270º"));
    }

    void antipodes()
    {
        // Every direction leads to the antipode; north is taken. Half the circumference away.
        QCOMPARE(distanceText("AI09AX", "JJ00AA"), std::optional<QString>(QStringLiteral("000º  20015 km")));
        QCOMPARE(distanceText("JJ00AA", "AI09AX"), std::optional<QString>(QStringLiteral("000º  20015 km")));
        QCOMPARE(distanceBearingText(GeoPoint{0.0, 180.0}, GeoPoint{}), QStringLiteral("000º  20015 km"));
        QCOMPARE(distanceBearingText(GeoPoint{-35.0, -60.0}, GeoPoint{35.0, 120.0}), QStringLiteral("000º  20015 km"));
        // A subsquare beside the antipode has a direction again: the one away from the
        // antipode's own antipode, here the subsquare east of the own station.
        QVERIFY(distanceText("AI09BX", "JJ00AA")->startsWith(QStringLiteral("270º")));
    }

    void compassNames_data()
    {
        QTest::addColumn<QString>("azimuth");
        QTest::addColumn<QString>("spanish");
        QTest::addColumn<QString>("english");
        QTest::addColumn<int>("sector");
        QTest::newRow("empty counts as 0") << "" << "Norte" << "North" << 0;
        QTest::newRow("22.4") << "22.4" << "Norte" << "North" << 0;
        QTest::newRow("22.5") << "22.5" << "NNEste" << "NNEast" << 1;
        QTest::newRow("359") << "359" << "NNOeste" << "NNWest" << 15;
        QTest::newRow("360") << "360" << "Norte" << "North" << 16;
        QTest::newRow("382.5") << "382.5" << "" << "" << -1;
        QTest::newRow("negative") << "-0.1" << "" << "" << -1;
        QTest::newRow("text after number") << "123.7 deg" << "ESEste" << "ESEast" << 5;
    }
    void compassNames()
    {
        QFETCH(QString, azimuth);
        QFETCH(QString, spanish);
        QFETCH(QString, english);
        QFETCH(int, sector);
        QCOMPARE(compassName(azimuth, Language::Spanish), spanish);
        QCOMPARE(compassName(azimuth, Language::Portuguese), spanish);
        QCOMPARE(compassName(azimuth, Language::English), english);
        QCOMPARE(compassSector(azimuth).value_or(-1), sector);
    }
};

QTEST_GUILESS_MAIN(TestLocator)
#include "tst_locator.moc"
