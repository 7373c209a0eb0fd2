// The help manuals as the build makes them: one PDF per interface language, each a real PDF with
// its title, in its own language, with its pictures, and none without a font; copied into a
// fresh data folder (a failed copy stopping nothing) and opened where they are installed.
#include "config/languages.h"
#include "testsupport.h"
#include "web/weblinks.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
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

    // "Ayuda" shows the manual installed with the program, so that an upgrade brings its new
    // manual, and the data folder's copy only where nothing is installed.
    void helpOpensTheInstalledManual()
    {
        test::TempHome home;
        test::ScriptedDialogs dialogs;
        QList<QUrl> opened;
        WebOpener opener(dialogs, [&](const QUrl &url) {
            opened << url;
            return true;
        });
        const QString copy = home.folder().file(QStringLiteral("Ayuda_eng.pdf"));
        test::writeBytes(copy, "%PDF- the manual of an older version");
        opener.openHelp(home.folder(), Language::English);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(shipped(QStringLiteral("Ayuda_eng.pdf")))});

        const DataFolder portable(home.path(), QString());
        opener.openHelp(portable, Language::English);
        QCOMPARE(opened.last(), QUrl::fromLocalFile(copy));
        QVERIFY(QFile::remove(home.folder().file(QStringLiteral("Ayuda_por.pdf"))));
        opener.openHelp(portable, Language::Portuguese);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("O manual %1 não foi encontrado")
                                                  .arg(home.folder().file(QStringLiteral("Ayuda_por.pdf")))});
    }

    // A nearly full disk may take the shipped files but not the manuals: Vorta starts all the
    // same and says so. Any other shipped file is needed, and its failure stops the start.
    void aManualThatCannotBeCopiedDoesNotStopTheStart()
    {
        QTemporaryDir share;
        QTemporaryDir data;
        QVERIFY(QFile::copy(shipped(QStringLiteral("base0.mdb")), share.filePath(QStringLiteral("base0.mdb"))));
        test::writeBytes(share.filePath(QStringLiteral("satelites.txt")), "SO-50,145.850,436.795,FM,FM\r\n");
        test::writeBytes(share.filePath(QStringLiteral("Ayuda.pdf")), QByteArray(2 * 1024 * 1024, 'x'));
        const DataFolder folder(data.path(), share.path());
        QString manualError;
        {
            test::FileSizeLimit limit(1024 * 1024);
            QCOMPARE(folder.prepare(&manualError), QString());
        }
        QVERIFY2(manualError.startsWith(QStringLiteral("No se puede copiar Ayuda.pdf a %1: ").arg(data.path())),
                 qPrintable(manualError));
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("Ayuda.pdf"))));
        QCOMPARE(test::readBytes(folder.templateFile()), test::readBytes(share.filePath(QStringLiteral("base0.mdb"))));
        QVERIFY(QFile::exists(folder.file(QStringLiteral("satelites.txt"))));
        QVERIFY(QFileInfo(folder.outputsDir()).isDir());

        test::writeBytes(share.filePath(QStringLiteral("lotw_satelites.txt")), QByteArray(2 * 1024 * 1024, 'x'));
        test::FileSizeLimit limit(1024 * 1024);
        QVERIFY(folder.prepare().startsWith(QStringLiteral("No se puede copiar lotw_satelites.txt")));
    }

    // With no font to set it in, the manual is not made (the PDF would have no text).
    void theManualIsNotMadeWithoutFonts()
    {
        QTemporaryDir dir;
        test::writeBytes(dir.filePath(QStringLiteral("fonts.conf")),
                         "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig></fontconfig>\n");
        test::writeBytes(dir.filePath(QStringLiteral("m.md")), "# Vorta\n\nThe text.\n");
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), dir.filePath(QStringLiteral("fonts.conf")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        const QString pdf = dir.filePath(QStringLiteral("m.pdf"));
        process.start(QStringLiteral(VORTA_TEST_MKMANUAL), {dir.filePath(QStringLiteral("m.md")), pdf});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY(process.exitCode() != 0);
        QVERIFY2(process.readAllStandardError().contains("install fonts-dejavu-core"), "no advice given");
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_GUILESS_MAIN(TestManuals)
#include "tst_manuals.moc"
