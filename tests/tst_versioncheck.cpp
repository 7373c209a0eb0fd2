// The version check against a web server on this machine: the comparisons, the web's error
// answers, a server that never answers, a refused connection and a missing address.
#include "testsupport.h"
#include "web/versioncheck.h"

#include <QSignalSpy>
#include <QTest>

using namespace vorta;
using namespace std::chrono_literals;

namespace {

struct Outcome
{
    QList<test::ScriptedDialogs::Shown> shown;
    int finished = 0;
};

Outcome runCheck(const QString &address, bool silent, std::chrono::milliseconds timeout = 10s)
{
    test::ScriptedDialogs dialogs;
    VersionCheck check(dialogs, QStringLiteral("Versión 1.0.15"), timeout);
    QSignalSpy done(&check, &VersionCheck::finished);
    check.run(address, silent, Language::Spanish, QStringLiteral("/home/op/.local/share/Vorta/ajustes.ini"));
    if (done.isEmpty())
        done.wait(20000);
    return {dialogs.shown, int(done.count())};
}

const QString kWebError = QStringLiteral("Error con la web de consulta!");
const QString kNoInternet = QStringLiteral("... no parece haber conexión con internet ...");

} // namespace

class TestVersionCheck : public QObject
{
    Q_OBJECT
private slots:
    void publishedVersionIsComparedPartByPart_data()
    {
        QTest::addColumn<QByteArray>("published");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("message"); // empty: nothing shown
        QTest::addColumn<int>("icon");
        const QString latest = QStringLiteral("La versión 1.0.15 instalada es la última. No necesita actualizar!");
        const auto update = [](const char *web) {
            return QStringLiteral("Deberá actualizar su versión 1.0.15 a la versión ") + QLatin1String(web);
        };
        const auto newer = [](const char *web) {
            return QStringLiteral("Su versión 1.0.15 es mas actual que la versión ") + QLatin1String(web)
                   + QStringLiteral("\r\nque está en la Web!!!");
        };
        const int info = int(Icon::Information), warn = int(Icon::Exclamation);
        QTest::newRow("equal, at start") << QByteArray("1.0.15") << true << QString() << 0;
        QTest::newRow("equal, asked for") << QByteArray("1.0.15\n") << false << latest << info;
        QTest::newRow("revision") << QByteArray("1.0.16") << true << update("1.0.16") << warn;
        QTest::newRow("revision counted, not spelt") << QByteArray("1.0.100") << true << update("1.0.100") << warn;
        QTest::newRow("installed newer") << QByteArray("1.0.9") << false << newer("1.0.9") << warn;
        QTest::newRow("major decides") << QByteArray("0.9.20") << true << newer("0.9.20") << warn;
        QTest::newRow("file as editors save it") << QByteArray("\xEF\xBB\xBF 1.0.16 \r\nNovedades: ...\r\n") << true
                                                 << update("1.0.16") << warn;
        QTest::newRow("leading zero is the same number") << QByteArray("1.0.015") << false << latest << info;
        QTest::newRow("lines ended by CR alone") << QByteArray("1.0.15\rNovedades: ...\r") << true << QString() << 0;
        QTest::newRow("a note after the version") << QByteArray("1.0.16-beta\r\n") << true << update("1.0.16-beta")
                                                  << warn;
    }
    void publishedVersionIsComparedPartByPart()
    {
        QFETCH(QByteArray, published);
        QFETCH(bool, silent);
        QFETCH(QString, message);
        QFETCH(int, icon);
        test::WebServer server;
        server.body = published;
        const Outcome outcome = runCheck(server.address(), silent);
        QCOMPARE(outcome.finished, 1);
        QCOMPARE(server.requests, 1);
        if (message.isEmpty()) {
            QVERIFY(outcome.shown.isEmpty());
            return;
        }
        QCOMPARE(outcome.shown.size(), 1);
        QCOMPARE(outcome.shown[0].text, message);
        QCOMPARE(int(outcome.shown[0].icon), icon);
    }

    void answersThatAreNotTheVersionFile_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        QTest::newRow("Forbidden page") << 200 << QByteArray("<html><title>403 Forbidden</title></html>") << kWebError;
        QTest::newRow("404 page") << 404 << QByteArray("<html><body>Not Found</body></html>") << kWebError;
        QTest::newRow("error status with a version in it") << 500 << QByteArray("1.0.99") << kWebError;
        QTest::newRow("not a version") << 200 << QByteArray("abc") << kWebError;
        QTest::newRow("a name before the version") << 200 << QByteArray("v1.0.16") << kWebError;
        QTest::newRow("HTML page") << 200 << QByteArray("<!DOCTYPE html>\n<html>1.0.16</html>") << kWebError;
        QTest::newRow("empty answer") << 200 << QByteArray() << kNoInternet;
        QTest::newRow("empty first line") << 200 << QByteArray("\r\n1.0.16") << kNoInternet;
    }
    void answersThatAreNotTheVersionFile()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        test::WebServer server;
        server.status = status;
        server.body = body;
        // At start too: a failure is worth a word even when the check runs by itself.
        const Outcome outcome = runCheck(server.address(), true);
        QCOMPARE(outcome.finished, 1);
        QCOMPARE(outcome.shown.size(), 1);
        QCOMPARE(outcome.shown[0].text, message);
        QCOMPARE(outcome.shown[0].icon, Icon::Exclamation);
    }

    void aServerThatNeverAnswersIsGivenUp()
    {
        test::WebServer server;
        server.mute = true;
        test::ScriptedDialogs dialogs;
        VersionCheck check(dialogs, QStringLiteral("Versión 1.0.15"), 300ms);
        QSignalSpy done(&check, &VersionCheck::finished);
        check.run(server.address(), false, Language::Spanish, QString());
        QVERIFY(check.running());
        // Asked again while waiting: the running check answers, once.
        check.run(server.address(), false, Language::Spanish, QString());
        QVERIFY(done.wait(10000));
        QVERIFY(!check.running());
        QCOMPARE(dialogs.texts(), QStringList{kNoInternet});
        QVERIFY(!done.wait(500));
    }

    // A server that keeps sending after the first line is cut short, and judged on what came.
    void anEndlessAnswerIsCutShort_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QString>("message");
        QTest::newRow("a version first") << QByteArray("1.0.16\r\n")
                                         << QStringLiteral("Deberá actualizar su versión 1.0.15 a la versión 1.0.16");
        QTest::newRow("a page first") << QByteArray("<html>\n") << kWebError;
        QTest::newRow("one endless line") << QByteArray("1.0.") << kWebError;
        QTest::newRow("an empty line first") << QByteArray("\r\n") << kWebError;
    }
    void anEndlessAnswerIsCutShort()
    {
        QFETCH(QByteArray, first);
        QFETCH(QString, message);
        test::WebServer server;
        server.body = first;
        server.trailing = 64 * 1024 * 1024;
        // Long before the time-out, which would call it no connection.
        const Outcome outcome = runCheck(server.address(), true, 15s);
        QCOMPARE(outcome.finished, 1);
        QCOMPARE(outcome.shown.size(), 1);
        QCOMPARE(outcome.shown[0].text, message);
    }

    // The start-up check is under way when the operator asks from the menu: the one answer
    // speaks, also when the installed version is the latest.
    void aRequestFromTheMenuMakesTheRunningCheckSpeak()
    {
        test::WebServer server;
        server.body = "1.0.15";
        server.hold = true;
        test::ScriptedDialogs dialogs;
        VersionCheck check(dialogs, QStringLiteral("Versión 1.0.15"));
        QSignalSpy done(&check, &VersionCheck::finished);
        check.run(server.address(), true, Language::Spanish, QString());
        QTRY_COMPARE(server.requests, 1);
        check.run(server.address(), false, Language::Spanish, QString());
        server.answerHeld();
        QVERIFY(done.wait(10000));
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("La versión 1.0.15 instalada es la última. No necesita actualizar!")});
        QCOMPARE(server.requests, 1);
    }

    void aRefusedConnectionMeansNoInternet()
    {
        QString address;
        {
            test::WebServer closed;
            address = closed.address();
        }
        const Outcome outcome = runCheck(address, true);
        QCOMPARE(outcome.finished, 1);
        QCOMPARE(outcome.shown.size(), 1);
        QCOMPARE(outcome.shown[0].text, kNoInternet);
    }

    void anAddressTheWebCannotServeIsReportedWithItsError()
    {
        const Outcome outcome = runCheck(QStringLiteral("gopher://127.0.0.1/version.txt"), false);
        QCOMPARE(outcome.shown.size(), 1);
        QVERIFY2(outcome.shown[0].text.startsWith(QStringLiteral("Error: 301\r\n")), qPrintable(outcome.shown[0].text));
        QVERIFY(outcome.shown[0].text.size() > 13);
        QCOMPARE(outcome.shown[0].icon, Icon::None);
    }

    // At start: no message, no traffic, and the check is over. (What the menu entry says then
    // is the window test's.)
    void withoutAnAddressNothingIsAsked()
    {
        const Outcome outcome = runCheck(QString(), true);
        QCOMPARE(outcome.finished, 1);
        QVERIFY(outcome.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "tst_versioncheck.moc"
