// The satellite list file: which lines are entries, lookup, and adding, editing and deleting
// entries without disturbing the rest of the file.
#include "tracking/satellitelist.h"
#include "tracking/satrules.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

using namespace vorta;
using vorta::test::ScriptedDialogs;
using vorta::test::TempHome;

namespace {

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

const QStringList kSample = {
    QStringLiteral("AO-7,432.150,145.950,USB,LSB"),
    QStringLiteral("; comment about AO-7 mode B"),
    QStringLiteral("AO-73,435.140,145.960,USB,LSB"),
    QStringLiteral(""),
    QStringLiteral("so-50,145.850,436.795,FM,FM"),
    QStringLiteral("AO-91,435.250,145.960,FM"),
    QStringLiteral(",145.9,435.8,FM,FM"),
    QStringLiteral("RS-44,145.965,435.640,USB,LSB"),
};

} // namespace

class TestSatelliteList : public QObject
{
    Q_OBJECT

    // A list file in a fresh data folder, holding the given lines.
    struct Fixture
    {
        TempHome home;
        QString path;
        SatelliteList list;
        explicit Fixture(const QStringList &lines)
            : path(home.folder().file(SatelliteList::fileName())), list(home.folder())
        {
            test::writeBytes(path, crlf(lines));
            list.load();
        }
        QByteArray bytes() const { return test::readBytes(path); }
    };

private slots:
    void onlyLinesWithFourCommasAreEntries()
    {
        QVERIFY(!parseSatelliteLine(QStringLiteral("AO-91,435.250,145.960,FM,FM,X")));
        // Fields are taken as they stand, blanks included.
        QCOMPARE(parseSatelliteLine(QStringLiteral(" X ,1,2,, FM"))->uplinkMode, QStringLiteral(" FM"));

        Fixture f(kSample);
        QCOMPARE(f.list.names(), (QStringList{"AO-7", "AO-73", "so-50", "RS-44"}));
        QCOMPARE(*f.list.find(u"SO-50"), (SatelliteEntry{"so-50", "145.850", "436.795", "FM", "FM"}));
        QCOMPARE(f.list.find(u"ao-73")->name, QStringLiteral("AO-73"));
        QVERIFY(!f.list.find(u"AO-91")); // three commas: not an entry
        QVERIFY(!f.list.find(u""));      // the nameless entry line is no satellite
        QVERIFY(!f.list.find(u"AO"));
        // The grid shows every cell upper-cased.
        QCOMPARE(f.list.gridRows().at(2), (QStringList{"SO-50", "145.850", "436.795", "FM", "FM"}));
    }

    void addAppendsAsTypedAndRefusesANameAlreadyListed()
    {
        Fixture f(kSample);
        const QByteArray before = f.bytes();
        ScriptedDialogs dialogs;
        const SatelliteCheck refused =
            f.list.add({"So-50", "145.850", "436.795", "FM", "FM"}, dialogs, Language::English);
        QVERIFY(!refused.ok);
        QCOMPARE(refused.focus, SatelliteField::Name);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("El Satélite SO-50 ya está en la lista!")});
        QCOMPARE(dialogs.shown.at(0).icon, Icon::Exclamation);
        // A "," in a name or mode would make the line lose its entry.
        QVERIFY(!f.list.add({"AO,X", "1", "2", "FM", "FM"}, dialogs, Language::English).ok);
        QCOMPARE(f.list.checkAdd({"AO-X", "1", "2", "FM", "F,M"}, Language::English).focus, SatelliteField::UplinkMode);
        // Blanks are no name, and blanks around one do not make another satellite of it.
        QVERIFY(!SatelliteList::canAccept(QStringLiteral("   "), QStringLiteral("1"), QStringLiteral("2")));
        QCOMPARE(f.list.checkAdd({"   ", "1", "2", "FM", "FM"}, Language::English).focus, SatelliteField::Name);
        QVERIFY(!f.list.add({"SO-50 ", "145.850", "436.795", "FM", "FM"}, dialogs, Language::English).ok);
        QCOMPARE(f.bytes(), before);

        dialogs.shown.clear();
        QVERIFY(f.list.add({" io-86", "145.880", "435.880", "FM", "FM"}, dialogs, Language::Spanish).ok);
        QVERIFY(dialogs.shown.isEmpty());
        // A "," typed as decimal point becomes ".", so the line keeps its five fields.
        QVERIFY(f.list.add({"PO-101", "437,5", "145,9", "FM", "FM"}, dialogs, Language::Spanish).ok);
        QCOMPARE(f.bytes(), before + "io-86,145.880,435.880,FM,FM\r\nPO-101,437.5,145.9,FM,FM\r\n");
        QCOMPARE(f.list.names().last(), QStringLiteral("PO-101"));
    }

    void missingFileOrFolder()
    {
        TempHome home;
        const QString path = home.path() + QStringLiteral("/otra-lista.txt");
        SatelliteList list(path);
        QCOMPARE(list.load(), QString());
        QCOMPARE(list.size(), 0);
        ScriptedDialogs dialogs;
        QVERIFY(list.add({"XW-2A", "435.030", "145.665", "USB", "LSB"}, dialogs, Language::English).ok);
        QCOMPARE(test::readBytes(path), QByteArray("XW-2A,435.030,145.665,USB,LSB\r\n"));

        // A failed write is reported and changes nothing.
        SatelliteList nowhere(home.path() + QStringLiteral("/missing-folder/satelites.txt"));
        nowhere.load();
        QVERIFY(!nowhere.add({"AO-7", "432.150", "145.950", "USB", "LSB"}, dialogs, Language::Spanish).ok);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.at(0).icon, Icon::Critical);
        QCOMPARE(nowhere.size(), 0);
    }

    void editReplacesOnlyItsOwnLine()
    {
        Fixture f(kSample);
        ScriptedDialogs dialogs;
        // Row of so-50, edited from what the grid shows; the stored name becomes upper case.
        SatelliteEntry edited = f.list.shown(2);
        edited.downlink = QStringLiteral("436,790");
        QVERIFY(f.list.edit(2, edited, dialogs, Language::Spanish).ok);
        QStringList expected = kSample;
        expected[4] = QStringLiteral("SO-50,145.850,436.790,FM,FM");
        QCOMPARE(f.bytes(), crlf(expected));

        // Editing makes no duplicate check.
        SatelliteEntry renamed = f.list.shown(3);
        renamed.name = QStringLiteral("ao-73");
        QVERIFY(f.list.edit(3, renamed, dialogs, Language::Spanish).ok);
        QCOMPARE(f.list.names(), (QStringList{"AO-7", "AO-73", "SO-50", "AO-73"}));
        QVERIFY(dialogs.shown.isEmpty());

        // The entry vanished from the file while the edit window was open (another Vorta, a
        // text editor): nothing is written, and the operator is told.
        const QStringList meanwhile{QStringLiteral("AO-7,432.150,145.950,USB,LSB")};
        test::writeBytes(f.path, crlf(meanwhile));
        const SatelliteCheck gone = f.list.edit(2, f.list.shown(2), dialogs, Language::English);
        QVERIFY(!gone.ok);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Satellite SO-50 is no longer in %1: the file changed "
                                                             "while it was being edited.\r\nNothing was saved.")
                                                  .arg(f.path)});
        QCOMPARE(f.bytes(), crlf(meanwhile));
        QCOMPARE(f.list.names(), QStringList{QStringLiteral("AO-7")});
    }

    // A full disk: the add is reported with the system's reason and the list file stays whole.
    void aFullDiskKeepsTheList()
    {
        Fixture f(kSample);
        const QByteArray before = f.bytes();
        ScriptedDialogs dialogs;
        {
            test::FileSizeLimit limit(before.size());
            QVERIFY(!f.list.add({"IO-86", "145.880", "435.880", "FM", "FM"}, dialogs, Language::Spanish).ok);
        }
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("No se pudo guardar la lista de satélites %1:\r\nFile too large")
                                                  .arg(f.path)});
        QCOMPARE(f.bytes(), before);
        QCOMPARE(f.list.names(), (QStringList{"AO-7", "AO-73", "so-50", "RS-44"}));
    }

    void deleteRemovesOnlyThatName()
    {
        Fixture f(QStringList{"AO-7,432.150,145.950,USB,LSB", "; comment about AO-7 mode B",
                              "AO-73,435.140,145.960,USB,LSB", "ao-7,29.400,145.900,USB,USB",
                              "XAO-7,1,2,FM,FM", "AO-7,1,2"});
        ScriptedDialogs dialogs;
        dialogs.answers = {false};
        const QByteArray before = f.bytes();
        QVERIFY(!f.list.remove(0, dialogs, Language::English));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Elimina Satélite AO-7 de la lista?")});
        QCOMPARE(dialogs.shown.at(0).icon, Icon::Question);
        QCOMPARE(f.bytes(), before);

        dialogs.answers = {true};
        QVERIFY(f.list.remove(0, dialogs, Language::English));
        QCOMPARE(f.bytes(), crlf({"; comment about AO-7 mode B", "AO-73,435.140,145.960,USB,LSB",
                                  "XAO-7,1,2,FM,FM", "AO-7,1,2"}));
        QCOMPARE(f.list.names(), (QStringList{"AO-73", "XAO-7"}));
        // The rewrite leaves no working file beside the list.
        QCOMPARE(QDir(f.home.path()).entryList({"satelites*"}, QDir::Files), QStringList{"satelites.txt"});
    }

    void manyEntriesAreAllKept()
    {
        QStringList lines;
        for (int i = 0; i < 150; ++i)
            lines << QStringLiteral("SAT-%1,145.%2,435.%2,FM,FM").arg(i).arg(i, 3, 10, QLatin1Char('0'));
        Fixture f(lines);
        QCOMPARE(f.list.gridRows().size(), 150);
        QCOMPARE(f.list.find(u"sat-149")->uplink, QStringLiteral("145.149"));
        ScriptedDialogs dialogs;
        QVERIFY(f.list.add({"SAT-150", "145.9", "435.9", "FM", "FM"}, dialogs, Language::Spanish).ok);
        QVERIFY(!f.list.add({"sat-120", "1", "2", "FM", "FM"}, dialogs, Language::Spanish).ok);
        QCOMPARE(f.list.size(), 151);
        QCOMPARE(f.list.entries().last().name, QStringLiteral("SAT-150"));
    }

    void shippedListHoldsSatelliteModes()
    {
        TempHome home;
        SatelliteList list(home.folder());
        QCOMPARE(list.load(), QString());
        QVERIFY(list.size() >= 10);
        for (const SatelliteEntry &e : list.entries()) {
            QVERIFY2(!satModeLabel(e.uplink, e.downlink).isEmpty(), qPrintable(e.name));
            QVERIFY2(satelliteEditModes().contains(e.uplinkMode), qPrintable(e.name));
            QVERIFY2(satelliteEditModes().contains(e.downlinkMode), qPrintable(e.name));
        }
    }
};

QTEST_GUILESS_MAIN(TestSatelliteList)
#include "tst_satellitelist.moc"
