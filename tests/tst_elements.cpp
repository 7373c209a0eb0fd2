// The tracker's installation: its folder from the Wine registry, the installed marker, the
// element table, and the orbit number computed from an element set.
#include "tracking/elements.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vorta;

namespace {

QStringList lines(const char *text)
{
    return QString::fromUtf8(text).split(u'\n');
}

// Element set lines with their fields in the standard columns.
QString line1(const QString &epoch)
{
    const QString line = "1 43017U 17073E   " + epoch + "  .00000000  00000-0  00000-0 0  9990";
    Q_ASSERT(line.size() == 69);
    return line;
}

QString line2(const QString &catalogue, double meanMotion, int revolution)
{
    const QString line = "2 " + catalogue + "  97.6000 100.0000 0010000 100.0000 260.0000 "
                         + QString("%1").arg(meanMotion, 11, 'f', 8)
                         + QString("%1").arg(revolution, 5) + "9";
    Q_ASSERT(line.size() == 69);
    return line;
}

// The key sits between a sub-key and another key that hold a "Path" of their own.
const char *const kUserReg = R"(WINE REGISTRY Version 2
[Software\\Stoff\\Orbitron\\Radio] 1675000000
"Path"="C:\\Wrong\\"

[Software\\Stoff\\Orbitron] 1675000000
#time=1d93a1b2c3d4e5f
"Other"=dword:00000001
"Path"="C:\\Program Files\\Orbitr\x00f3n \"X\"\\"
"Cut"="C:\\Orb\0junk"
"Octal"="a\011b"

[Software\\Wine] 1675000000
"Path"="C:\\Also wrong\\"
)";

// A Wine prefix with drive C and the tracker installed at C:\<folder>.
struct WinePrefix
{
    QTemporaryDir dir;
    QString path() const { return dir.path(); }

    void install(const QString &folder, const QString &registryPath, bool withConfig = true)
    {
        QDir().mkpath(path() + "/drive_c/" + folder + "/Tle");
        QDir().mkpath(path() + "/dosdevices");
        QFile::link("../drive_c", path() + "/dosdevices/c:");
        if (withConfig)
            test::writeBytes(path() + "/drive_c/" + folder + "/Config/Setup.cfg", "[Setup]\r\n");
        QString escaped = registryPath;
        escaped.replace("\\", "\\\\");
        test::writeBytes(path() + "/user.reg",
                         "WINE REGISTRY Version 2\n\n[Software\\\\Stoff\\\\Orbitron] 1\n\"Path\"=\""
                             + escaped.toUtf8() + "\"\n");
    }
};

} // namespace

class TestElements : public QObject
{
    Q_OBJECT
private slots:
    void registryValueIsFoundAndUnescaped()
    {
        const QStringList reg = lines(kUserReg);
        const std::optional<QString> path(QStringLiteral("C:\\Program Files\\Orbitrón \"X\"\\"));
        QCOMPARE(wineRegistryString(reg, kOrbitronRegistryKey, u"Path"), path);
        // Key and value names are compared as the registry does, regardless of case.
        QCOMPARE(wineRegistryString(reg, u"SOFTWARE\\stoff\\ORBITRON", u"path"), path);
        QCOMPARE(wineRegistryString(reg, kOrbitronRegistryKey, u"Cut"),
                 std::optional<QString>("C:\\Orb")); // cut at its first NUL
        QCOMPARE(wineRegistryString(reg, kOrbitronRegistryKey, u"Octal"), std::optional<QString>("a\tb"));
        // A missing key, a missing value, values of another type.
        QCOMPARE(wineRegistryString(reg, u"Software\\Stoff\\Other", u"Path"), std::nullopt);
        QCOMPARE(wineRegistryString(reg, kOrbitronRegistryKey, u"Missing"), std::nullopt);
        QCOMPARE(wineRegistryString(reg, kOrbitronRegistryKey, u"Other"), std::nullopt);
        QCOMPARE(wineRegistryString(lines("[Software\\\\Stoff\\\\Orbitron]\n\"Path\"=str(2):\"C:\\\\x\""),
                                    kOrbitronRegistryKey, u"Path"),
                 std::nullopt);
    }

    void driveLettersMapThroughDosdevices()
    {
        QCOMPARE(wineToUnixPath(u"C:\\Orbitron\\", "/p"), "/p/dosdevices/c:/Orbitron/");
        QCOMPARE(wineToUnixPath(u"d:/Sat/Orbitron", "/p/"), "/p/dosdevices/d:/Sat/Orbitron");
        QCOMPARE(wineToUnixPath(u"E:Orbitron", "/p"), "/p/dosdevices/e:/Orbitron");
        QCOMPARE(wineToUnixPath(u"\\\\server\\share\\Orbitron", "/p"), QString());
        QCOMPARE(wineToUnixPath(u"", "/p"), QString());
        QCOMPARE(winePrefix("", "/home/op"), "/home/op/.wine");
        QCOMPARE(winePrefix("/srv/wine", "/home/op"), "/srv/wine");
    }

    void installation()
    {
        WinePrefix wine;
        wine.install("Program Files/Orbitron", "C:\\Program Files\\Orbitron\\");
        const OrbitronInstallation found = findOrbitronInstallation({}, wine.path(), "/nowhere");
        QCOMPARE(found.folder, wine.path() + "/dosdevices/c:/Program Files/Orbitron/");
        QVERIFY(found.installed());
        QCOMPARE(found.elementsFile(), found.folder + "Tle/amateur.txt");
        QVERIFY(QFile::exists(found.configFile()));

        // A folder from the extra settings wins (it is also tested with the window).
        QTemporaryDir own;
        test::writeBytes(own.path() + "/Config/Setup.cfg", "");
        QVERIFY(findOrbitronInstallation(own.path() + "/", wine.path(), {}).installed());

        // A registry Path without its final "\" still names the folder.
        WinePrefix noSlash;
        noSlash.install("Orbitron", "C:\\Orbitron");
        QVERIFY(findOrbitronInstallation({}, noSlash.path(), {}).installed());

        // No registry file: no folder, no marker. A folder without its configuration file.
        QTemporaryDir empty;
        QCOMPARE(findOrbitronInstallation({}, empty.path(), {}).folder, QString());
        QVERIFY(!findOrbitronInstallation({}, empty.path(), {}).installed());
        WinePrefix bare;
        bare.install("Orbitron", "C:\\Orbitron\\", false);
        QVERIFY(!findOrbitronInstallation({}, bare.path(), {}).folder.isEmpty());
        QVERIFY(!findOrbitronInstallation({}, bare.path(), {}).installed());
    }

    void elementFileReadingAndSearch()
    {
        ElementTable table;
        table.read({"1 stray line before any name", "  AO-91 (FOX-1B)  ", line1("23031.50000000"),
                    line2("43017", 15, 1000), "NAMEONLY", "SO-50", line1("23001.00000000"), line2("27607", 14.8, 200),
                    "", "AO-7", line1("23001.00000000"), line2("07530", 12.5, 100)});
        QCOMPARE(table.count(), 5);
        QCOMPARE(table.at(1).name, "AO-91 (FOX-1B)");
        QCOMPARE(table.at(4).name, QString());

        // The full tracked name and each of its parts match.
        QCOMPARE(table.find(u"AO-91_(FOX-1B)"), 1);
        QCOMPARE(table.find(u"AO-91"), 1);
        QCOMPARE(table.find(u"FOX-1B"), 1);
        QCOMPARE(table.find(u"ao-91"), 0);
        // The empty name line ends the search: AO-7 beyond it is never found.
        QCOMPARE(table.find(u"AO-7"), 0);

        const QDateTime now(QDate(2023, 2, 1), QTime(12, 0), Qt::UTC);
        QCOMPARE(orbitFor(table, u"FOX-1B", now), std::optional<OrbitResult>({"1015", "1", "43017"}));
        // Stale beyond two weeks, and not at two weeks exactly.
        QVERIFY(!orbitFor(table, u"FOX-1B", now.addDays(13))->stale);
        QVERIFY(orbitFor(table, u"FOX-1B", now.addDays(13).addSecs(1))->stale);
        QCOMPARE(orbitFor(table, u"AO-7", now), std::nullopt);
        // A name line without element lines gives no orbit rather than one counted from 2000.
        QCOMPARE(orbitFor(table, u"NAMEONLY", now), std::nullopt);
    }

    void namesMatchWholeOrByTheirParts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("tracked name") << "AO-91 (FOX-1B)" << "AO-91_(FOX-1B)" << true;
        QTest::newRow("name line as written") << "AO-91 (FOX-1B)" << "AO-91 (FOX-1B)" << true;
        QTest::newRow("first part") << "AO-91 (FOX-1B)" << "AO-91" << true;
        QTest::newRow("part in brackets") << "AO-91 (FOX-1B)" << "FOX-1B" << true;
        QTest::newRow("part of the tracked spelling") << "AO-91_(FOX-1B)" << "FOX-1B" << true;
        QTest::newRow("shorter designator") << "FUNCUBE-1 (AO-73)" << "AO-7" << false;
        QTest::newRow("longer designator") << "AO-7" << "AO-73" << false;
        QTest::newRow("piece of a part") << "FUNCUBE-1 (AO-73)" << "FUNCUBE" << false;
        QTest::newRow("part with its bracket") << "AO-91 (FOX-1B)" << "(FOX-1B)" << false;
        QTest::newRow("letter case") << "AO-91 (FOX-1B)" << "fox-1b" << false;
        QTest::newRow("word of a blank-separated name") << "NOAA 19" << "NOAA" << true;
        QTest::newRow("empty text") << "AO-91 (FOX-1B)" << "" << false;
        QTest::newRow("empty name") << "" << "AO-7" << false;
    }
    void namesMatchWholeOrByTheirParts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        QCOMPARE(elementNameMatches(name, text), matches);
    }

    void aShorterDesignatorFindsNoOtherSatellite()
    {
        // Without AO-7 in the file, AO-7 has no orbit (not that of AO-73); with it, it has its own.
        ElementTable table;
        table.read({"FUNCUBE-1 (AO-73)", line1("23001.00000000"), line2("39444", 14.8, 500), "AO-91 (FOX-1B)",
                    line1("23031.50000000"), line2("43017", 15, 1000)});
        const QDateTime now(QDate(2023, 2, 1), QTime(12, 0), Qt::UTC);
        QCOMPARE(table.find(u"AO-7"), 0);
        QCOMPARE(orbitFor(table, u"AO-7", now), std::nullopt);
        QCOMPARE(orbitFor(table, u"AO-73", now)->catalogue, QStringLiteral("39444"));
        QCOMPARE(orbitFor(table, u"FOX-1B", now)->catalogue, QStringLiteral("43017"));

        table.read({"FUNCUBE-1 (AO-73)", line1("23001.00000000"), line2("39444", 14.8, 500), "AO-7",
                    line1("23001.00000000"), line2("07530", 12.5, 100)});
        QCOMPARE(orbitFor(table, u"AO-7", now)->catalogue, QStringLiteral("7530"));
    }

    void namesStartingWithADigit()
    {
        // A satellite named with a leading 1 or 2 is a satellite of its own: the one before it
        // keeps its element lines.
        ElementTable table;
        table.read({"AO-91", line1("23031.50000000"), line2("43017", 15, 1000), "1KUNS-PF",
                    line1("23001.00000000"), line2("43466", 15.5, 10)});
        QCOMPARE(table.count(), 2);
        QCOMPARE(table.at(1).line2, line2("43017", 15, 1000));
        QCOMPARE(table.at(2).name, QStringLiteral("1KUNS-PF"));
        QCOMPARE(table.find(u"1KUNS-PF"), 2);
    }

    // Today's amateur element files hold well over a hundred sets: every one of them gives its
    // orbit number, as the built-in tracker follows every one of them.
    void elementTableHoldsEverySet()
    {
        QStringList many;
        for (int i = 1; i <= 250; ++i)
            many << QString("SAT-%1").arg(i, 3, 10, QChar(u'0')) << line1("23001.00000000")
                 << line2("00001", 1, i);
        ElementTable table;
        table.read(many);
        QCOMPARE(table.count(), 250);
        QCOMPARE(table.at(100).line2, line2("00001", 1, 100));
        QCOMPARE(table.find(u"SAT-201"), 201);
        const QDateTime now(QDate(2023, 1, 2), QTime(0, 0), Qt::UTC);
        QCOMPARE(orbitFor(table, u"SAT-250", now), std::optional<OrbitResult>({"251", "1", "1"}));

        // A shorter file read after it: the entries beyond its count keep what they had.
        table.read({"AO-91", line1("23031.50000000"), line2("43017", 15, 1000)});
        QCOMPARE(table.count(), 1);
        QCOMPARE(table.find(u"SAT-201"), 201);
    }

    void refreshReloadsOnlyWhenTheFileIsThere()
    {
        WinePrefix wine;
        wine.install("Orbitron", "C:\\Orbitron\\");
        ElementTable table;
        table.read({"KEPT", line1("23001.00000000"), line2("00001", 1, 1)});
        QVERIFY(refreshOrbitronData({}, wine.path(), {}, table).installed());
        QCOMPARE(table.at(1).name, "KEPT"); // no elements file: the table keeps what it had

        test::writeBytes(wine.path() + "/drive_c/Orbitron/Tle/amateur.txt",
                         ("AO-91 (FOX-1B)\r\n" + line1("23031.50000000") + "\r\n"
                          + line2("43017", 15, 1000) + "\r\n").toLatin1());
        refreshOrbitronData({}, wine.path(), {}, table);
        QCOMPARE(table.at(1).name, "AO-91 (FOX-1B)");
        QCOMPARE(table.at(1).line2, line2("43017", 15, 1000));
    }

    void epochAndOrbitNumber()
    {
        QCOMPARE(elementEpoch(line1("23031.50000000")),
                 QDateTime(QDate(2023, 1, 31), QTime(12, 0), Qt::UTC));
        // The fraction of a second is dropped.
        QCOMPARE(elementEpoch(line1("24366.99999999")),
                 QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59), Qt::UTC));

        const ElementSet set{"AO-91 (FOX-1B)", line1("23031.50000000"), line2("43017", 15, 1000)};
        const QDateTime epoch(QDate(2023, 1, 31), QTime(12, 0), Qt::UTC);
        QCOMPARE(orbitFromElements(set, epoch.addDays(1)),
                 std::optional<OrbitResult>({"1015", "1", "43017"}));
        // 15.1 revolutions take 86976 s: orbit value 1015.1 stays 1015; 1015.11 is the next.
        QCOMPARE(orbitFromElements(set, epoch.addSecs(86976))->orbit, "1015");
        QCOMPARE(orbitFromElements(set, epoch.addSecs(87034))->orbit, "1016");
        // Milliseconds of the clock do not count; nearly two days are still one whole day.
        QCOMPARE(orbitFromElements(set, epoch.addMSecs(2 * 86400000 - 1))->ageDays, "1");
        // A clock before the epoch gives a negative age, rounded down.
        QCOMPARE(orbitFromElements(set, epoch.addSecs(-10))->ageDays, "-1");
    }

    void satelliteFieldFromTheTrackedName()
    {
        QCOMPARE(satelliteFromTrackingName(u"AO-91_(FOX-1B)"), "FOX-1B");
        QCOMPARE(satelliteFromTrackingName(u"AO-91"), "AO-91");
        QCOMPARE(satelliteFromTrackingName(u"A(B)(C)"), "B(C");
        QCOMPARE(satelliteFromTrackingName(QString("X(" + QString(120, u'Y'))).size(), 100);
    }
};

QTEST_GUILESS_MAIN(TestElements)
#include "tst_elements.moc"
