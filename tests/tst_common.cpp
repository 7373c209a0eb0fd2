// Shared text rules, dates, text files, the menus' Alt letters and readable colours.
#include "common/contrast.h"
#include "common/dates.h"
#include "common/mnemonics.h"
#include "common/textfile.h"
#include "common/textvalue.h"
#include "testsupport.h"
#include "tracking/trackingtext.h"

#include <QDir>
#include <QTimeZone>
#include <QStringEncoder>
#include <QTest>

#include <ctime>
#include <cerrno>
#include <cstring>

using namespace vorta;


class TestCommon : public QObject
{
    Q_OBJECT
private slots:
    void numericValueReadsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "145.9" << 145.9;
        QTest::newRow("blanks and sign") << "  -3.5x" << -3.5;
        QTest::newRow("comma ends it") << "145,9" << 145.0;
        QTest::newRow("second dot ends it") << "1.2.3" << 1.2;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("trailing text") << "435.800.000" << 435.8;
    }
    void numericValueReadsTheLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(numericValue(text), value);
    }

    void patternMatchWildcards_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("match");
        QTest::newRow("locator 6") << "GF05TJ" << "[A-Z][A-Z]##[A-Z][A-Z]" << true;
        QTest::newRow("lower case is no capital") << "gf05tj" << "[A-Z][A-Z]##[A-Z][A-Z]" << false;
        QTest::newRow("whole text only") << "GF05TJX" << "[A-Z][A-Z]##[A-Z][A-Z]" << false;
        QTest::newRow("star empty") << "AO" << "AO*" << true;
        QTest::newRow("star middle") << "LU1ABC" << "LU*C" << true;
        QTest::newRow("question") << "LU1A" << "LU?A" << true;
        QTest::newRow("hash is a digit") << "LUXA" << "LU#A" << false;
        QTest::newRow("negated class") << "B" << "[!A]" << true;
        QTest::newRow("unclosed bracket literal") << "[A" << "[A" << true;
    }
    void patternMatchWildcards()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, match);
        QCOMPARE(patternMatch(text, pattern), match);
    }

    void locatorFormat()
    {
        QVERIFY(isLocatorFormat(u"GF05"));
        QVERIFY(isLocatorFormat(u"GF05TJ"));
        QVERIFY(!isLocatorFormat(u"GF5"));
        QVERIFY(!isLocatorFormat(u"AB12C"));
        QVERIFY(!isLocatorFormat(u""));
        // The grid's own letters: fields A to R, subsquares A to X.
        QVERIFY(isLocatorFormat(u"RR99XX"));
        for (const char16_t *offTheGrid : {u"ZZ99ZZ", u"SA00", u"AS00", u"GF05YA", u"GF05AY", u"gf05tj"})
            QVERIFY2(!isLocatorFormat(offTheGrid), qPrintable(QString::fromUtf16(offTheGrid)));
    }

    void frequencyForm()
    {
        QCOMPARE(formatFrequency(u"145,9"), QStringLiteral("145.900"));
        QCOMPARE(formatFrequency(u"435.8"), QStringLiteral("435.800"));
        QCOMPARE(formatFrequency(u"29.4"), QStringLiteral("029.400"));
        QCOMPARE(formatFrequency(u"2400.05"), QStringLiteral("2400.050"));
        QCOMPARE(formatFrequency(u"145.8005"), QStringLiteral("145.801"));
        QCOMPARE(formatFrequency(u""), QStringLiteral("000.000"));
    }

    void utcClockSubtractsTheOffset()
    {
        const QDateTime local(QDate(2024, 3, 1), QTime(22, 30, 15));
        QCOMPARE(utcClock(local, -3 * 60), QDateTime(QDate(2024, 3, 2), QTime(1, 30, 15), Qt::UTC));
        QCOMPARE(utcClock(local, 2 * 60), QDateTime(QDate(2024, 3, 1), QTime(20, 30, 15), Qt::UTC));
        QCOMPARE(utcClock(local, 330), QDateTime(QDate(2024, 3, 1), QTime(17, 0, 15), Qt::UTC)); // India

        // Against the machine's own UTC: said only when more than a minute apart.
        const QDateTime summer(QDate(2024, 3, 31), QTime(10, 0), QTimeZone(2 * 3600));
        QCOMPARE(utcClockSkewText(summer, 120), std::nullopt);
        QCOMPARE(utcClockSkewText(summer, 121), std::nullopt);
        QCOMPARE(utcClockSkewText(summer, 122), QStringLiteral("2 min"));
        QCOMPARE(utcClockSkewText(summer, 60), QStringLiteral("1 h")); // summer time forgotten
        QCOMPARE(utcClockSkewText(summer, 210), QStringLiteral("90 min"));
        QCOMPARE(utcClockSkewSeconds(summer, 60), 3600); // ahead of the machine
    }

    void storedInstantsSortAndReadBack()
    {
        const QDateTime t(QDate(2020, 3, 15), QTime(0, 5), Qt::UTC);
        QCOMPARE(toStoredInstant(t), QStringLiteral("2020-03-15 00:05:00"));
        QCOMPARE(fromStoredInstant(QStringLiteral("2020-03-15 00:05:00")), t);
        QCOMPARE(fromStoredInstant(QStringLiteral("15/03/2020 00:05")), t);
        QVERIFY(!fromStoredInstant(QStringLiteral("no date")).isValid());
        QVERIFY(!fromStoredInstant(QStringLiteral("2021-02-29 10:00:00")).isValid());
        QCOMPARE(fromStoredInstant(QStringLiteral("2021-03-02")), QDateTime(QDate(2021, 3, 2), QTime(0, 0), Qt::UTC));

        // An instant in the hour that the local clock skips at the start of summer time.
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Madrid");
        tzset();
        const QDateTime skipped(QDate(2021, 3, 28), QTime(2, 30), Qt::UTC);
        const QDateTime readBack = fromStoredInstant(QStringLiteral("2021-03-28 02:30:00"));
        const QDateTime typed = fromStoredInstant(QStringLiteral("28/03/2021 02:30"));
        zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
        tzset();
        QCOMPARE(readBack, skipped);
        QCOMPARE(typed, skipped);
    }

    void typedDatesAndTimes()
    {
        QCOMPARE(parseDayFirstDate(QStringLiteral("2/3/2021")), QDate(2021, 3, 2));
        QCOMPARE(parseDayFirstDate(QStringLiteral("01/01/16")), QDate(2016, 1, 1));
        QVERIFY(!parseDayFirstDate(QStringLiteral("31/02/2021")));
        QVERIFY(!parseDayFirstDate(QStringLiteral("2021-03-02")));
        QCOMPARE(parseClockTime(QStringLiteral("14:23")), QTime(14, 23));
        QCOMPARE(parseClockTime(QStringLiteral("9:05:30")), QTime(9, 5, 30));
        QVERIFY(!parseClockTime(QStringLiteral("1423")));
        QVERIFY(!parseClockTime(QStringLiteral("91:15")));
    }

    // Written in Windows-1252 when every character fits, else in UTF-8, and read back either
    // way; a file that cannot be made is said and leaves nothing.
    void textFilesRoundTrip()
    {
        test::TempHome home;
        const QString path = home.path() + QStringLiteral("/t.txt");
        QCOMPARE(writeTextLines(path, {QStringLiteral("Idioma=Español"), QStringLiteral("€ 5")}), QString());
        QCOMPARE(test::readBytes(path), QByteArray("Idioma=Espa\xF1ol\r\n\x80 5\r\n"));
        QCOMPARE(*readTextLines(path), (QStringList{QStringLiteral("Idioma=Español"), QStringLiteral("€ 5")}));
        bool lossless = true;
        QCOMPARE(encodeWindows1252(u"a✓b", &lossless), QByteArray("a?b"));
        QVERIFY(!lossless);

        const QStringList lines{QStringLiteral("Base=/home/op/Документы/log.mdb"), QStringLiteral("Idioma=Español")};
        QCOMPARE(writeTextLines(path, lines), QString());
        QCOMPARE(*readTextLines(path), lines);

        const QString nowhere = home.path() + QStringLiteral("/nofolder/x.txt");
        QVERIFY(!writeTextLines(nowhere, {QStringLiteral("a")}).isEmpty());
        QVERIFY(!QFile::exists(nowhere));
    }

    void textFilesReadUtf8AndLineEnds()
    {
        test::TempHome home;
        const QString path = home.path() + QStringLiteral("/u.txt");
        test::writeBytes(path, QByteArray("\xEF\xBB\xBFIdioma=Espa\xC3\xB1ol\nB=2\r\nC=3"));
        QCOMPARE(*readTextLines(path),
                 (QStringList{QStringLiteral("Idioma=Español"), QStringLiteral("B=2"), QStringLiteral("C=3")}));
        QVERIFY(!readTextLines(home.path() + QStringLiteral("/missing.txt")));
        // "Unicode" as Windows editors save it: UTF-16 after its byte-order mark, either order.
        for (auto order : {QStringEncoder::Utf16LE, QStringEncoder::Utf16BE}) {
            QStringEncoder utf16(order, QStringEncoder::Flag::WriteBom);
            test::writeBytes(path, utf16.encode(u"MiCall=LU1ABC\r\nIdioma=Español\r\n"));
            QCOMPARE(*readTextLines(path), (QStringList{QStringLiteral("MiCall=LU1ABC"), QStringLiteral("Idioma=Español")}));
        }
    }

    // A full disk (here a file-size limit) shows only when the bytes go out; the previous file
    // must stay whole, the reason be the system's, and no temporary file be left behind.
    void aFullDiskLeavesThePreviousFileWhole()
    {
        test::TempHome home;
        const QString path = home.path() + QStringLiteral("/x.txt");
        const QStringList before{QStringLiteral("MiCall=LU1ABC"), QStringLiteral("UTC_DIF=-3")};
        QCOMPARE(writeTextLines(path, before), QString());
        const QStringList files = QDir(home.path()).entryList(QDir::Files | QDir::Hidden);
        {
            test::FileSizeLimit limit(8);
            const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
            QCOMPARE(writeTextLines(path, {QStringLiteral("MiCall=LU9ZZZ"), QStringLiteral("UTC_DIF=5")}), tooLarge);
            QCOMPARE(writeFileAtomically(path, QByteArray(100000, 'x')), tooLarge);
        }
        QCOMPARE(*readTextLines(path), before);
        QCOMPARE(QDir(home.path()).entryList(QDir::Files | QDir::Hidden), files);
    }

    // Every menu of a bar, and the bar itself, gets letters of its own; Archivo keeps its A and
    // Ayuda, which starts with the same letter, takes another.
    void menusGetDistinctAltLetters()
    {
        const QStringList bar = withMnemonics({"Archivo", "Log", "Internet", "Ayuda"});
        QCOMPARE(bar, (QStringList{"&Archivo", "&Log", "&Internet", "A&yuda"}));
        QCOMPARE(withMnemonics({"Arquivo", "Log", "Internet", "Ajuda"}).last(), QStringLiteral("A&juda"));
        // Word starts come first, then any letter; accented letters are never keys.
        QCOMPARE(withMnemonics({"Amsat USA", "ARISS", "Amsat Argentina", "Ésta"}),
                 (QStringList{"&Amsat USA", "A&RISS", "A&msat Argentina", "É&sta"}));
        // Letters compare without case; a caption without a free letter goes without one.
        QCOMPARE(withMnemonics({"ab", "BA", "a"}), (QStringList{"&ab", "&BA", "a"}));
        // Marking again changes nothing, and a "&" of the text stays a character.
        const QStringList once = withMnemonics({"Salir", "Macros && CW", "&Configuración"});
        QCOMPARE(once, (QStringList{"&Salir", "&Macros && CW", "&Configuración"}));
        QCOMPARE(withMnemonics(once), once);
        QCOMPARE(withoutMnemonic(once[1]), QStringLiteral("Macros & CW"));
        QCOMPARE(withoutMnemonic(QStringLiteral("A&yuda")), QStringLiteral("Ayuda"));
        QCOMPARE(withoutMnemonic(QStringLiteral("trailing&")), QStringLiteral("trailing"));
    }

    void contrastOfTheChosenColours()
    {
        QCOMPARE(qRound(contrastRatio(Qt::black, Qt::white) * 10), 210);
        QCOMPARE(contrastRatio(Qt::red, Qt::red), 1.0);
        // The colours that once read poorly: green text 2.8:1, white on pure red 4:1.
        QVERIFY(contrastRatio(QColor(0x26, 0xa2, 0x69), QColor(0xef, 0xef, 0xef)) < kReadableContrast);
        QVERIFY(contrastRatio(Qt::white, QColor(255, 0, 0)) < kReadableContrast);
        // Text of the main window on the window colours of light desktops.
        for (const QColor &background : {QColor(0xef, 0xef, 0xef), QColor(Qt::white), QColor(0xf6, 0xf5, 0xf4)})
            for (const QColor &text : {kSatModeColour, kPreviousColour, kWorkedInPassColour, kQuietColour, kAlertColour})
                QVERIFY2(contrastRatio(text, background) >= kReadableContrast,
                         qPrintable(text.name() + QStringLiteral(" on ") + background.name()));
        // The badge's white words on its two colours.
        for (const QColor &badge : {kBadgeVisibleColour, kBadgeHiddenColour})
            QVERIFY(contrastRatio(Qt::white, badge) >= kReadableContrast);
    }

    void aColourIsShadedUntilItReads()
    {
        // Readable already: left as it is.
        QCOMPARE(readableOn(kSatModeColour, QColor(0xef, 0xef, 0xef)), kSatModeColour);
        // On a dark theme the same colours are lightened, on a light grey a pale one darkened,
        // each just enough.
        for (const QColor &background : {QColor(0x35, 0x35, 0x35), QColor(0x1e, 0x1e, 0x1e), QColor(0xd0, 0xd0, 0xd0)})
            for (const QColor &text : {kSatModeColour, kAlertColour, QColor(0x99, 0xc1, 0xf1), QColor(0x40, 0x40, 0x40)}) {
                const QColor shown = readableOn(text, background);
                QVERIFY(contrastRatio(shown, background) >= kReadableContrast);
                QVERIFY(contrastRatio(shown, background) < 10.0);
            }
        // Mid-grey, from which neither end is far: the farther end is taken.
        QVERIFY(contrastRatio(readableOn(QColor(0x77, 0x77, 0x77), QColor(0x76, 0x76, 0x76)), QColor(0x76, 0x76, 0x76))
                >= kReadableContrast);
    }
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
