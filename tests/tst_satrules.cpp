// Band, satellite mode, satellite name and orbit rules, and the call-sign characters.
#include "tracking/satrules.h"

#include <QTest>

using namespace vorta;

class TestSatRules : public QObject
{
    Q_OBJECT
private slots:
    void bandOfAFrequency_data()
    {
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("band");
        QTest::newRow("15m lower limit") << "21" << "15m";
        QTest::newRow("15m upper limit") << "21.5" << "15m";
        QTest::newRow("above 15m") << "21.6" << "";
        QTest::newRow("10m lower limit") << "28" << "10m";
        QTest::newRow("10m inside") << "29" << "10m";
        QTest::newRow("10m upper limit") << "30" << "10m";
        QTest::newRow("above 10m") << "30.001" << "";
        QTest::newRow("2m lower limit") << "144" << "2m";
        QTest::newRow("2m inside") << "145.9" << "2m";
        QTest::newRow("2m upper limit") << "148" << "2m";
        QTest::newRow("above 2m") << "148.001" << "";
        QTest::newRow("150 is no band") << "150" << "";
        QTest::newRow("70cm lower limit") << "430" << "70cm";
        QTest::newRow("70cm inside") << "435.3" << "70cm";
        QTest::newRow("70cm upper limit") << "440" << "70cm";
        QTest::newRow("23cm lower limit") << "1200" << "23cm";
        QTest::newRow("23cm upper limit") << "1300" << "23cm";
        QTest::newRow("13cm lower limit") << "2300" << "13cm";
        QTest::newRow("13cm inside") << "2401.5" << "13cm";
        QTest::newRow("13cm upper limit") << "2450" << "13cm";
        QTest::newRow("3cm lower limit") << "10000" << "3cm";
        QTest::newRow("3cm upper limit") << "10500" << "3cm";
        QTest::newRow("above 3cm") << "10500.5" << "";
        QTest::newRow("stored form") << "029.400" << "10m";
        // A "," is the decimal point as everywhere else, not the end of the number.
        QTest::newRow("comma inside") << "145,9" << "2m";
        QTest::newRow("comma above 15m") << "21,6" << "";
        QTest::newRow("comma above 70cm") << "440,5" << "";
    }
    void bandOfAFrequency()
    {
        QFETCH(QString, frequency);
        QFETCH(QString, band);
        QCOMPARE(bandName(frequency), band);
    }

    void modeOfABandPair_data()
    {
        QTest::addColumn<QString>("uplink");
        QTest::addColumn<QString>("downlink");
        QTest::addColumn<QString>("mode");
        QTest::newRow("same band 2m") << "2m" << "2m" << "Packet";
        QTest::newRow("A") << "2m" << "10m" << "A";
        QTest::newRow("B") << "70cm" << "2m" << "B";
        QTest::newRow("J") << "2m" << "70cm" << "J";
        QTest::newRow("K") << "15m" << "10m" << "K";
        QTest::newRow("T") << "15m" << "2m" << "T";
        QTest::newRow("S") << "70cm" << "13cm" << "S";
        QTest::newRow("L") << "23cm" << "70cm" << "L";
        QTest::newRow("L/S") << "23cm" << "13cm" << "L/S";
        QTest::newRow("L/X") << "23cm" << "3cm" << "L/X";
        QTest::newRow("V/S") << "2m" << "3cm" << "V/S";
        QTest::newRow("2m up 13cm down has none") << "2m" << "13cm" << "";
        QTest::newRow("reversed pair has none") << "10m" << "2m" << "";
        QTest::newRow("no downlink band") << "2m" << "" << "";
        QTest::newRow("no uplink band") << "" << "70cm" << "";
        QTest::newRow("both empty is not the same band") << "" << "" << "";
    }
    void modeOfABandPair()
    {
        QFETCH(QString, uplink);
        QFETCH(QString, downlink);
        QFETCH(QString, mode);
        QCOMPARE(satelliteMode(uplink, downlink), mode);
    }

    void satModeLabelOfTwoFrequencies_data()
    {
        QTest::addColumn<QString>("uplink");
        QTest::addColumn<QString>("downlink");
        QTest::addColumn<QString>("label");
        QTest::newRow("J") << "145.9" << "435.3" << "SAT J";
        QTest::newRow("B") << "435.3" << "145.9" << "SAT B";
        QTest::newRow("list entry AO-91") << "435.250" << "145.960" << "SAT B";
        QTest::newRow("both 2m") << "145.825" << "145.825" << "Packet";
        QTest::newRow("empty downlink") << "145.9" << "" << "";
        QTest::newRow("L/X") << "1268" << "10489" << "SAT L/X";
        QTest::newRow("V/S") << "145.9" << "10489" << "SAT V/S";
        QTest::newRow("typed with commas") << "145,9" << "435,3" << "SAT J";
        QTest::newRow("no known mode") << "145.9" << "2401" << "";
    }
    void satModeLabelOfTwoFrequencies()
    {
        QFETCH(QString, uplink);
        QFETCH(QString, downlink);
        QFETCH(QString, label);
        QCOMPARE(satModeLabel(uplink, downlink), label);
    }

    void satModeLabelOfAMode()
    {
        QCOMPARE(satModeLabelText(u"Packet"), QStringLiteral("Packet"));
        QCOMPARE(satModeLabelText(u"B"), QStringLiteral("SAT B"));
        QCOMPARE(satModeLabelText(u"L/S"), QStringLiteral("SAT L/S"));
        QCOMPARE(satModeLabelText(u""), QString());
    }

    void satelliteNameFromFreeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("ARISS") << "worked via ARISS" << "ISS";
        QTest::newRow("any ISS") << "MISSED" << "ISS";
        QTest::newRow("balloon, 25 characters")
            << "QSO GLOBO PICO 2023 LU ALTURA 30KM" << "GLOBO PICO 2023 LU ALTURA";
        QTest::newRow("balloon, text ends sooner") << "GLOBO X-1" << "GLOBO X-1";
        QTest::newRow("designator at the start") << "GABCDE-12 XYZ" << "GABCDE-12";
        QTest::newRow("text before the designator") << "XX GABCDE-12 XYZ" << "GABCDE-12 XY";
        QTest::newRow("designator of four, two digits") << "GABCD-12" << "GABCD-12";
        QTest::newRow("designator of five, one digit") << "GABCDE-1" << "GABCDE-1";
        QTest::newRow("designators before named satellites") << "GO SO-50" << "GO SO-50";
        QTest::newRow("CAS-3H") << "CAS-3H qso" << "LILACSAT";
        QTest::newRow("FOX1A") << "VIA FOX1A" << "FOX-1A";
        QTest::newRow("SO 50") << "TNX SO 50" << "SO-50";
        QTest::newRow("OSCAR 50") << "OSCAR 50 orb 1234" << "SO-50";
        QTest::newRow("two letters and a number") << "AO-91 QSO" << "AO-91";
        QTest::newRow("number and letter") << "XW-2A" << "XW-2A";
        QTest::newRow("name after other words") << "QSO VIA AO-91 TODAY" << "AO-91";
        QTest::newRow("name with a leading blank") << "X O-91 Y" << "O-91";
        QTest::newRow("nothing") << "TNX FER QSO" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("searches are case-sensitive") << "iss" << "";
        // No character before the cut's start: the rule has nothing to give.
        QTest::newRow("earlier dash before a designator") << "A-B GABCDE-12" << "";
        QTest::newRow("earlier dash before a name") << "A-BC-12" << "";
    }
    void satelliteNameFromFreeText()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(satelliteNameFromText(text), name);
    }

    void orbitFromFreeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("orbit");
        QTest::newRow("hash with comma") << "SO-50 #12,345" << "12345";
        QTest::newRow("hash with blank and dot") << "# 12 3.45" << "12345";
        QTest::newRow("hash reads ten characters") << "#123456789012" << "1234567890";
        QTest::newRow("hash without number") << "QSO #abc" << "0";
        QTest::newRow("hash wins over ORBITA") << "ORBITA 5 #77" << "77";
        QTest::newRow("ORBITA") << "ORBITA 3456 ok" << "3456";
        QTest::newRow("ORBITA any separator") << "ORBITA:3456" << "3456";
        QTest::newRow("ORBITA value starting with a blank") << "ORBITA  3456" << "0";
        QTest::newRow("ORB") << "ORB 123" << "123";
        QTest::newRow("ORB: wins over ORB") << "ORB: 789" << "789";
        QTest::newRow("ORB then ORB:") << "ORB 1 ORB: 22" << "22";
        QTest::newRow("lower case names no orbit") << "orb 12" << "";
        QTest::newRow("no orbit") << "AO-91 QSO" << "";
        QTest::newRow("empty") << "" << "";
    }
    void orbitFromFreeText()
    {
        QFETCH(QString, text);
        QFETCH(QString, orbit);
        QCOMPARE(orbitFromText(text), orbit);
    }

    void callSignCharacters()
    {
        for (QChar c : QStringLiteral("AZ09/?LU1ABC"))
            QVERIFY2(callSignChar(c), qPrintable(QString(c)));
        for (QChar c : QStringLiteral("a-. _É,#*"))
            QVERIFY2(!callSignChar(c), qPrintable(QString(c)));
    }
};

QTEST_GUILESS_MAIN(TestSatRules)
#include "tst_satrules.moc"
