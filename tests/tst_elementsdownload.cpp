// The element sets brought from the web against a server on this machine: what replaces the
// data folder's file (element sets, whole) and what never does (error pages, other texts, a
// download cut short, no answer), each failure told with its reason; and the orbit numbers and
// the built-in tracker reading that file when the tracker's folder has none.
#include "tracking/elements.h"
#include "tracking/elementsdownload.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace vorta;
using namespace std::chrono_literals;

namespace {

const QByteArray kOld = "OLD SET\r\n";

struct Download
{
    test::TempHome home;
    test::WebServer server;
    test::ScriptedDialogs dialogs;
    QString target = dataElementsFile(home.folder());

    Download() { test::writeBytes(target, kOld); }

    QString notice; // what the status line was told of a replaced file

    // Runs one download; true when it replaced the file.
    bool run(std::chrono::milliseconds timeout = 10s, const QString &fileInUse = {})
    {
        ElementsDownload download(dialogs, timeout);
        QSignalSpy finished(&download, &ElementsDownload::finished);
        QSignalSpy updated(&download, &ElementsDownload::updated);
        download.run(server.address(QStringLiteral("/NORAD/elements/gp.php?GROUP=amateur&FORMAT=tle")), target,
                     fileInUse, Language::English);
        if (!finished.wait(15000))
            return false;
        notice = updated.isEmpty() ? QString() : updated.first().first().toString();
        return finished.first().first().toBool();
    }
    QString message() const { return dialogs.shown.isEmpty() ? QString() : dialogs.shown.last().text; }
};

} // namespace

class TestElementsDownload : public QObject
{
    Q_OBJECT
private slots:
    void elementSetsReplaceTheFile()
    {
        Download d;
        d.server.body = test::kElementFile;
        QVERIFY(d.run());
        QCOMPARE(test::readBytes(d.target), QByteArray(test::kElementFile));
        // Told on the status line, not in a message box that would take the operator's next
        // Enter half a minute after the menu entry.
        QCOMPARE(d.notice, QStringLiteral("Orbital elements updated: 10 satellites in ") + d.target);
        QVERIFY(d.dialogs.shown.isEmpty());
        // Read from the tracker's own file meanwhile, the update changes nothing the tracker
        // uses: that is not said in passing.
        d.server.body = test::kElementFile;
        QVERIFY(d.run(10s, QStringLiteral("/wine/Orbitron/Tle/amateur.txt")));
        QVERIFY(d.message().endsWith(
            QStringLiteral("\r\nAs long as /wine/Orbitron/Tle/amateur.txt exists, Vorta keeps using that file.")));

        // A disk too full for the new file leaves the old one whole, and says why.
        test::writeBytes(d.target, kOld);
        {
            test::FileSizeLimit full(100);
            QVERIFY(!d.run());
        }
        QCOMPARE(test::readBytes(d.target), kOld);
        QVERIFY2(d.message().contains(d.target + QStringLiteral(": ")), qPrintable(d.message()));
        QVERIFY(d.message().endsWith(QStringLiteral("The previous file was left as it was.")));
    }

    void whatIsNoElementFileChangesNothing_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QString>("reason");
        const QString noSets = QStringLiteral("what arrived holds no orbital elements.");
        QTest::newRow("not found") << 404 << QByteArray("<html>Not Found</html>") << false << QStringLiteral("HTTP 404");
        QTest::newRow("no such group") << 200 << QByteArray("No GP data found\r\n") << false << noSets;
        QTest::newRow("empty") << 200 << QByteArray() << false << noSets;
        // A page that quotes an element set among its lines is still a page.
        QTest::newRow("page quoting a set")
            << 200
            << QByteArray("<html>\n<body>\n<p>Example:</p>\n<pre>\nISS (ZARYA)\n"
                          "1 25544U 98067A   24061.51736111  .00018720  00000+0  33020-3 0  9996\n"
                          "2 25544  51.6415 159.0943 0005774 332.6512 150.6094 15.49818357441971\n</pre>\n</body>\n</html>\n")
            << false << noSets;
        // Damaged on the way: most checksums wrong.
        QByteArray damaged = test::kElementFile;
        damaged.replace("0  999", "0  111");
        QTest::newRow("damaged") << 200 << damaged << false << noSets;
        QTest::newRow("cut short") << 200 << QByteArray(test::kElementFile) << true << QString();
        QTest::newRow("too large") << 200 << QByteArray(9 * 1024 * 1024, 'x') << false
                                   << QStringLiteral("what arrived is too large to be an elements file.");
    }

    void whatIsNoElementFileChangesNothing()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, cut);
        QFETCH(QString, reason);
        Download d;
        d.server.status = status;
        d.server.body = body;
        d.server.cut = cut;
        QVERIFY(!d.run());
        QCOMPARE(test::readBytes(d.target), kOld);
        QCOMPARE(d.dialogs.shown.size(), 1);
        QCOMPARE(d.dialogs.shown[0].icon, Icon::Exclamation);
        QVERIFY2(d.message().startsWith(QStringLiteral("The orbital elements could not be updated from http://127.0.0.1:")),
                 qPrintable(d.message()));
        QVERIFY2(d.message().endsWith(QStringLiteral("\r\nThe previous file was left as it was.")), qPrintable(d.message()));
        QVERIFY2(d.message().contains(reason), qPrintable(d.message()));
    }

    // A download cut short where the server announced no length still holds element sets, but
    // far fewer than the file it would replace: the operator decides.
    void farFewerSetsAreAskedAbout()
    {
        const QByteArray full(test::kElementFile);
        const QByteArray cut = full.left(full.size() * 6 / 10);
        QCOMPARE(countElementSets(cut).usable, 6);
        Download d;
        test::writeBytes(d.target, full);
        d.server.body = cut;
        d.dialogs.answers = {false};
        QVERIFY(!d.run());
        QCOMPARE(test::readBytes(d.target), full);
        QCOMPARE(d.dialogs.shown.size(), 1);
        QCOMPARE(d.dialogs.shown[0].icon, Icon::Question);
        QVERIFY2(d.message().contains(QStringLiteral("holds only 6 satellites, and ") + d.target + QStringLiteral(" holds 10")),
                 qPrintable(d.message()));
        QCOMPARE(d.notice, QString());

        d.dialogs.answers = {true};
        QVERIFY(d.run());
        QCOMPARE(test::readBytes(d.target), cut);
        QCOMPARE(d.dialogs.shown.size(), 2);
        QVERIFY(d.notice.startsWith(QStringLiteral("Orbital elements updated: 6 satellites")));

        // A few sets fewer (satellites that decayed or left the group) are no reason to ask.
        QByteArray eight = full;
        eight.truncate(full.indexOf("HEO 12H EQ"));
        QCOMPARE(countElementSets(eight).usable, 8);
        test::writeBytes(d.target, full);
        d.server.body = eight;
        QVERIFY(d.run());
        QCOMPARE(d.dialogs.shown.size(), 2);
        QCOMPARE(test::readBytes(d.target), eight);
    }

    void noAnswerInTime()
    {
        Download d;
        d.server.mute = true;
        QVERIFY(!d.run(200ms));
        QVERIFY(d.message().contains(QStringLiteral(":\r\nno answer in time.\r\n")));
        QCOMPARE(test::readBytes(d.target), kOld);
    }

    void counting()
    {
        QCOMPARE(countElementSets(test::kElementFile).usable, 10);
        QVERIFY(countElementSets(test::kElementFile).acceptable());
        // One damaged set among good ones is left out; the file is still one of element sets.
        QByteArray oneBad = test::kElementFile;
        oneBad.replace("15.49818357441971", "15.49818357441970");
        const ElementsCount count = countElementSets(oneBad);
        QCOMPARE(count.usable, 9);
        QCOMPARE(count.rejected, 1);
        QVERIFY(count.acceptable());
    }

    // The orbit numbers read the data folder's file when the tracker has none, and the
    // tracker's own when it has one; a reading is counted only when a file changed.
    void theElementsFileInUse()
    {
        test::TempHome home;
        const QString data = dataElementsFile(home.folder());
        test::writeBytes(data, test::kElementFile);
        const QString tracker = home.path() + QStringLiteral("/Orbitron");
        ElementTable table;
        OrbitronDataCache cache;
        cache.refresh(tracker, {}, home.path(), table, data);
        QCOMPARE(cache.elementsFile(), data);
        QCOMPARE(cache.elementReadings(), 1);
        QCOMPARE(table.count(), 10);
        QCOMPARE(table.find(u"AO-91"), 2);
        cache.refresh(tracker, {}, home.path(), table, data);
        QCOMPARE(cache.elementReadings(), 1);

        test::writeBytes(tracker + QStringLiteral("/Tle/amateur.txt"), "AO-91\r\n1 x\r\n2 y\r\n");
        cache.refresh(tracker, {}, home.path(), table, data);
        QCOMPARE(cache.elementsFile(), tracker + QStringLiteral("/Tle/amateur.txt"));
        QCOMPARE(cache.elementReadings(), 2);
        QCOMPARE(table.find(u"AO-91"), 1);
        // A downloaded file of the same size and time stamp is read again when told.
        cache.forgetElements();
        cache.refresh(tracker, {}, home.path(), table, data);
        QCOMPARE(cache.elementReadings(), 3);
    }
};

QTEST_GUILESS_MAIN(TestElementsDownload)
#include "tst_elementsdownload.moc"
