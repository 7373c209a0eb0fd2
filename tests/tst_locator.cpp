// Grid locators as points, distance and bearing between two stations, compass names.
#include "tracking/locator.h"

#include <QTest>

#include <cmath>

using namespace vorta;

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
        for (const char16_t *bad : {u"", u"GF0", u"GF05T", u"GF05TJX", u"1F05", u"GFX5", u"GF05T1", u"ÑF05"})
            QVERIFY2(!locatorPoint(bad), qPrintable(QString::fromUtf16(bad)));
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

    void antipodalAndDueNorthSouth()
    {
        // Exactly opposite (the longitudes differ by pi radians as the program converts them):
        // half the circumference, and every direction leads there.
        const GeoPoint opposite{0.0, M_PI * 180.0 / 3.141593};
        QCOMPARE(distanceAndBearing(opposite, GeoPoint{0.0, 0.0}).distanceKm, 20015.1);
        QCOMPARE(distanceBearingText(opposite, GeoPoint{0.0, 0.0}), QStringLiteral("000º  20015 km"));
        // Nearly opposite points still give a whole text.
        const DistanceBearing db = distanceAndBearing(GeoPoint{35.0, 120.0}, GeoPoint{-35.0, -60.0});
        QCOMPARE(qRound(db.distanceKm), 20015);
        QVERIFY(db.bearingDegrees >= 0 && db.bearingDegrees <= 360);

        for (double lat : {-80.0, 0.0, 85.0}) {
            QCOMPARE(distanceBearingText(GeoPoint{lat + 3.7, 17.3}, GeoPoint{lat, 17.3}).left(4), QStringLiteral("000º"));
            QCOMPARE(distanceBearingText(GeoPoint{lat - 4.1, 17.3}, GeoPoint{lat, 17.3}).left(4), QStringLiteral("180º"));
        }
        QCOMPARE(distanceBearingText(GeoPoint{0.0, 10.0}, GeoPoint{}).left(4), QStringLiteral("090º"));
        QCOMPARE(distanceBearingText(GeoPoint{0.0, -10.0}, GeoPoint{}).left(4), QStringLiteral("270º"));
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
