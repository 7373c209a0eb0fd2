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
        QTest::newRow("above 15m") << "21.6" << "";
        QTest::newRow("2m lower limit") << "144" << "2m";
        QTest::newRow("2m upper limit") << "148" << "2m";
        QTest::newRow("150 is no band") << "150" << "";
        QTest::newRow("70cm lower limit") << "430" << "70cm";
        QTest::newRow("23cm upper limit") << "1300" << "23cm";
        QTest::newRow("3cm upper limit") << "10500" << "3cm";
        QTest::newRow("above 3cm") << "10500.5" << "";
        QTest::newRow("stored form") << "029.400" << "10m";
        // A "," is the decimal point as everywhere else, not the end of the number.
        QTest::newRow("comma inside") << "145,9" << "2m";
        QTest::newRow("comma above 15m") << "21,6" << "";
    }
    void bandOfAFrequency()
    {
        QFETCH(QString, frequency);
        QFETCH(QString, band);
        QCOMPARE(bandName(frequency), band);
    }

    // Through the label, so that band rule, mode rule and label text are checked together.
    void satModeLabelOfTwoFrequencies_data()
    {
        QTest::addColumn<QString>("uplink");
        QTest::addColumn<QString>("downlink");
        QTest::addColumn<QString>("label");
        QTest::newRow("same band is Packet") << "145.825" << "145.825" << "Packet";
        QTest::newRow("A") << "145.9" << "29.4" << "SAT A";
        QTest::newRow("B") << "435.3" << "145.9" << "SAT B";
        QTest::newRow("J") << "145.9" << "435.3" << "SAT J";
        QTest::newRow("S") << "435.3" << "2401" << "SAT S";
        QTest::newRow("L") << "1268" << "435.3" << "SAT L";
        QTest::newRow("L/X") << "1268" << "10489" << "SAT L/X";
        QTest::newRow("V/S") << "145.9" << "10489" << "SAT V/S";
        QTest::newRow("2m up 13cm down has none") << "145.9" << "2401" << "";
        QTest::newRow("reversed pair has none") << "29.4" << "145.9" << "";
        QTest::newRow("empty downlink") << "145.9" << "" << "";
        QTest::newRow("both empty is not the same band") << "" << "" << "";
        QTest::newRow("typed with commas") << "145,9" << "435,3" << "SAT J";
    }
    void satModeLabelOfTwoFrequencies()
    {
        QFETCH(QString, uplink);
        QFETCH(QString, downlink);
        QFETCH(QString, label);
        QCOMPARE(satModeLabel(uplink, downlink), label);
    }

    void satelliteNameFromFreeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("ARISS") << "worked via ARISS" << "ISS";
        QTest::newRow("any ISS") << "MISSED" << "ISS";
        QTest::newRow("balloon, 25 characters")
            << "QSO GLOBO PICO 2023 LU ALTURA 30KM" << "GLOBO PICO 2023 LU ALTURA";
        QTest::newRow("designator at the start") << "GABCDE-12 XYZ" << "GABCDE-12";
        QTest::newRow("text before the designator") << "XX GABCDE-12 XYZ" << "GABCDE-12 XY";
        QTest::newRow("designators before named satellites") << "GO SO-50" << "GO SO-50";
        QTest::newRow("CAS-3H") << "CAS-3H qso" << "LILACSAT";
        QTest::newRow("FOX1A") << "VIA FOX1A" << "FOX-1A";
        QTest::newRow("SO 50") << "TNX SO 50" << "SO-50";
        QTest::newRow("two letters and a number") << "AO-91 QSO" << "AO-91";
        QTest::newRow("number and letter") << "XW-2A" << "XW-2A";
        QTest::newRow("name after other words") << "QSO VIA AO-91 TODAY" << "AO-91";
        QTest::newRow("name with a leading blank") << "X O-91 Y" << "O-91";
        QTest::newRow("nothing") << "TNX FER QSO" << "";
        QTest::newRow("searches are case-sensitive") << "iss" << "";
        // No character before the cut's start: the rule has nothing to give.
        QTest::newRow("earlier dash before a designator") << "A-B GABCDE-12" << "";
        // Designators are taken whole, wherever they stand; a "-" that starts none is passed over.
        QTest::newRow("three digits") << "QO-100 QSO" << "QO-100";
        QTest::newRow("three digits at the end") << "PO-101" << "PO-101";
        QTest::newRow("three letters") << "CAS-4A" << "CAS-4A";
        QTest::newRow("one digit at the end") << "TNX VIA AO-7" << "AO-7";
        QTest::newRow("up to punctuation") << "TNX (RS-44), 73" << "RS-44";
        QTest::newRow("after a date") << "2024-01-31 AO-91" << "AO-91";
        QTest::newRow("earlier dash before a name") << "A-BC-12" << "BC-12";
        QTest::newRow("dash without a number") << "E-MAIL ME" << "";
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
        QTest::newRow("ORBITA any separator") << "ORBITA:3456 ok" << "3456";
        QTest::newRow("ORBITA value starting with a blank") << "ORBITA  3456" << "0";
        QTest::newRow("ORB") << "ORB 123" << "123";
        QTest::newRow("ORB then ORB:") << "ORB 1 ORB: 22" << "22";
        QTest::newRow("lower case names no orbit") << "orb 12" << "";
        QTest::newRow("no orbit") << "AO-91 QSO" << "";
    }
    void orbitFromFreeText()
    {
        QFETCH(QString, text);
        QFETCH(QString, orbit);
        QCOMPARE(orbitFromText(text), orbit);
    }

    void callSignCharacters()
    {
        for (QChar c : QStringLiteral("AZ09/?"))
            QVERIFY2(callSignChar(c), qPrintable(QString(c)));
        for (QChar c : QStringLiteral("a-. _É,#*"))
            QVERIFY2(!callSignChar(c), qPrintable(QString(c)));
    }
};

QTEST_GUILESS_MAIN(TestSatRules)
#include "tst_satrules.moc"
