// The help manuals as the build makes them: one PDF per interface language, each a real PDF with
// its title, in its own language, with its pictures, and copied into a fresh data folder.
#include "config/languages.h"
#include "testsupport.h"
#include "web/weblinks.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace vorta;

namespace {

// The output of a poppler-utils program (pdfinfo, pdftotext, pdfimages) run on a file.
QString poppler(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("(%1 failed: %2)").arg(program, process.errorString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString shipped(const QString &name)
{
    return QStringLiteral(VORTA_TEST_SHARE_DIR "/") + name;
}

} // namespace

class TestManuals : public QObject
{
    Q_OBJECT
private slots:
    void eachLanguageHasItsManual_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("ownWords"); // a menu entry as that language names it
        QTest::newRow("Español") << int(Language::Spanish) << QStringLiteral("Vorta — Manual del usuario")
                                 << QStringLiteral("Verificar Versión");
        QTest::newRow("English") << int(Language::English) << QStringLiteral("Vorta — User manual")
                                 << QStringLiteral("Check Version");
        QTest::newRow("Portugues") << int(Language::Portuguese) << QStringLiteral("Vorta — Manual do usuário")
                                   << QStringLiteral("Verificar versão");
    }
    void eachLanguageHasItsManual()
    {
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(QString, ownWords);
        const QString pdf = shipped(helpFileName(Language(language)));
        QFile file(pdf);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(pdf));
        QVERIFY(file.read(5) == "%PDF-");
        QVERIFY(file.size() > 20000);

        const QString info = poppler(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Title: +") + QRegularExpression::escape(title) + u'$',
                                                  QRegularExpression::MultilineOption)),
                 qPrintable(info));
        const int pages = QRegularExpression(QStringLiteral("^Pages: +(\\d+)$"), QRegularExpression::MultilineOption)
                              .match(info)
                              .captured(1)
                              .toInt();
        QVERIFY2(pages >= 5, qPrintable(info));

        // Its text is the manual of that language, and its screenshots are in it.
        QString words = poppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        // The type sets "fi" and "fl" as one ligature sign.
        words.replace(QChar(0xFB01), QStringLiteral("fi")).replace(QChar(0xFB02), QStringLiteral("fl"));
        QVERIFY(words.contains(title));
        QVERIFY(words.contains(ownWords));
        QVERIFY(words.contains(QStringLiteral("DireccionVersion")));
        const QString images = poppler(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY2(images.count(u'\n') - 2 >= 7, qPrintable(images));
    }

    void aFreshDataFolderHoldsTheManuals()
    {
        test::TempHome home;
        for (Language language : {Language::Spanish, Language::English, Language::Portuguese}) {
            const QString name = helpFileName(language);
            QCOMPARE(test::readBytes(home.folder().file(name)), test::readBytes(shipped(name)));
        }
    }
};

QTEST_GUILESS_MAIN(TestManuals)
#include "tst_manuals.moc"
