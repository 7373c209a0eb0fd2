// The configuration file: reading every key, its fallbacks and limits, and writing it back; the
// extra settings' font size; Qt's own texts in the interface language.
#include "common/appstate.h"
#include "config/configfile.h"
#include "config/extrasettings.h"
#include "config/languages.h"
#include "config/qttranslations.h"
#include "keyer/keyport.h"
#include "mainwindow/session.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QStringEncoder>
#include <QTest>

using namespace vorta;

namespace {

const QByteArray kFullFile = "MiCall=lu1abc\r\nOrbitron=1\r\nUTC_DIF=-3\r\nBase=/logs/a.mdb\r\nBaseN=a.mdb\r\n"
                             "GridLoc=GF05TJ\r\nIdioma=English\r\nPuerto=ttyUSB0\r\nPin=RTS (pin7)\r\n"
                             "Macro5=CQ;CQ de $micall$\r\nMacro6=QSO;ur $rst$\r\nMacro7=Call;$sucall$\r\n"
                             "Macro8=Grid;in $grid$\r\n";

Settings loadBytes(const test::TempHome &home, const QByteArray &bytes, ConfigLoad *load = nullptr)
{
    test::writeBytes(home.folder().configFile(), bytes);
    Settings settings;
    const ConfigLoad result = loadConfig(home.folder().configFile(), settings);
    if (load)
        *load = result;
    return settings;
}

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT
private slots:
    void everyKeyIsRead()
    {
        test::TempHome home;
        ConfigLoad load;
        Settings none;
        QVERIFY(!loadConfig(home.folder().configFile(), none).exists); // the first run
        QCOMPARE(none, Settings());
        const Settings s = loadBytes(home, kFullFile, &load);
        QVERIFY(load.exists);
        QVERIFY(!load.rewritten);
        QCOMPARE(s.callSign, QStringLiteral("LU1ABC"));
        QVERIFY(s.useOrbitron);
        QCOMPARE(s.utcOffsetMinutes(), -180);
        QCOMPARE(s.basePath, QStringLiteral("/logs/a.mdb"));
        QCOMPARE(s.baseName, QStringLiteral("a.mdb"));
        QCOMPARE(s.gridLocator, QStringLiteral("GF05TJ"));
        QCOMPARE(s.language, QStringLiteral("English"));
        QCOMPARE(s.port, QStringLiteral("ttyUSB0"));
        QCOMPARE(s.pin, kLineRts);
        QCOMPARE(s.macros[1], (Macro{QStringLiteral("QSO"), QStringLiteral("ur $rst$")}));
    }

    void missingF5MacroFillsTheDefaultsAndRewritesAtOnce()
    {
        test::TempHome home;
        ConfigLoad load;
        Settings s = loadBytes(home, "MiCall=LU1ABC\r\n", &load);
        QVERIFY(load.rewritten);
        QCOMPARE(s.macros, defaultMacros());
        const QByteArray written = test::readBytes(home.folder().configFile());
        QCOMPARE(written.count("\r\n"), 13);
        QVERIFY(written.contains("Macro5=CQ;CQ CQ de $micall$ $micall$ k\r\n"));

        // Only the macros without a line of their own (or with an empty one) get theirs: a
        // cleared F5 text must not cost the operator F6 to F8.
        s = loadBytes(home, "MiCall=LU1ABC\r\nMacro5=CQ;\r\nMacro6=\r\nMacro7=;\r\nMacro8=Mine;my own text\r\n", &load);
        QVERIFY(load.rewritten);
        QCOMPARE(s.macros[0], (Macro{QStringLiteral("CQ"), QString()}));
        QCOMPARE(s.macros[1], defaultMacros()[1]);
        QCOMPARE(s.macros[2], defaultMacros()[2]);
        QCOMPARE(s.macros[3], (Macro{QStringLiteral("Mine"), QStringLiteral("my own text")}));
        QVERIFY(test::readBytes(home.folder().configFile()).contains("Macro8=Mine;my own text\r\n"));
        loadBytes(home, kFullFile, &load);
        QVERIFY(!load.rewritten);
    }

    // A file Windows' Notepad saved as "Unicode", and one from which nothing can be read.
    void utf16IsReadAndAFileWithoutKeysIsLeftAlone()
    {
        test::TempHome home;
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        const Settings s = loadBytes(home, utf16.encode(QString::fromLatin1(kFullFile)));
        QCOMPARE(s.callSign, QStringLiteral("LU1ABC"));
        QCOMPARE(s.basePath, QStringLiteral("/logs/a.mdb"));

        const QByteArray foreign("[Vorta]\r\ncall = LU1ABC\r\n");
        ConfigLoad load;
        QCOMPARE(loadBytes(home, foreign, &load).callSign, QString());
        QVERIFY(load.noKnownKey);
        QCOMPARE(test::readBytes(home.folder().configFile()), foreign);
        // Kept aside under a name that never replaces one kept before.
        const QString file = home.folder().configFile();
        QCOMPARE(keepConfigAside(file), file + QStringLiteral(".bad"));
        test::writeBytes(file, "second");
        QCOMPARE(keepConfigAside(file), file + QStringLiteral(".bad2"));
        QCOMPARE(test::readBytes(file + QStringLiteral(".bad")), foreign);
    }

    void languageFallsBackToSpanish_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("language");
        QTest::newRow("Deutsch") << QByteArray("Idioma=Deutsch") << QStringLiteral("Español");
        QTest::newRow("empty") << QByteArray("Idioma=") << QStringLiteral("Español");
        QTest::newRow("Portugues") << QByteArray("Idioma=Portugues") << QStringLiteral("Portugues");
        QTest::newRow("Windows-1252") << QByteArray("Idioma=Espa\xF1ol") << QStringLiteral("Español");
        QTest::newRow("UTF-8") << QByteArray("Idioma=Espa\xC3\xB1ol") << QStringLiteral("Español");
    }
    void languageFallsBackToSpanish()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, language);
        test::TempHome home;
        QCOMPARE(loadBytes(home, line + "\r\nMacro5=CQ;cq\r\n").language, language);
    }

    void utcOffsetIsRounded_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("offset");
        QTest::newRow("-3") << QByteArray("-3") << -180;
        QTest::newRow("2.6") << QByteArray("2.6") << 180;
        QTest::newRow("Nepal 5.75") << QByteArray("5.75") << 345;
        QTest::newRow("Newfoundland -3.5") << QByteArray("-3.5") << -210;
        QTest::newRow("not a number") << QByteArray("abc") << 0;
        // An offset no time zone has (a hand-edited file) leaves the default.
        QTest::newRow("20 h") << QByteArray("20") << -180;
        QTest::newRow("huge") << QByteArray("99999999999999") << -180;
        QTest::newRow("missing") << QByteArray() << -180;
    }
    void utcOffsetIsRounded()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, offset);
        test::TempHome home;
        const QByteArray line = value.isNull() ? QByteArray() : "UTC_DIF=" + value + "\r\n";
        QCOMPARE(loadBytes(home, line + "Macro5=CQ;cq\r\n").utcOffsetMinutes(), offset);
    }

    // A macro line without ";" is passed over, an empty port or pin keeps the default choice,
    // the last line of a repeated key wins, and values are cut at 100 characters, paths never.
    void oddLinesOfTheFile()
    {
        test::TempHome home;
        const QString longPath = QStringLiteral("/home/op/") + QString(150, u'x') + QStringLiteral("/log.mdb");
        const Settings s = loadBytes(home, "Macro5=CQ;" + QByteArray(150, 'c') + "\r\nMacro6=A;b\r\nMacro6=QSO\r\n"
                                           "Puerto=\r\nPin=\r\nMiCall=AA1A\r\nMiCall=" + QByteArray(150, 'B')
                                           + "\r\nBase=" + longPath.toUtf8() + "\r\n");
        QCOMPARE(s.macros[1], (Macro{QStringLiteral("A"), QStringLiteral("b")}));
        QCOMPARE(s.port, kNoPort);
        QCOMPARE(s.pin, kLineDtr);
        QCOMPARE(s.callSign, QString(100, u'B'));
        QCOMPARE(s.basePath, longPath);
        QCOMPARE(s.macros[0].text.size(), 100);

        // What a macro says is the macro's: no other setting is taken from its text.
        const Settings typed = loadBytes(home, "MiCall=LU1ABC\r\nBase=/logs/a.mdb\r\n"
                                               "Macro5=CQ;de $micall$ Base=x MiCall=ZZ9Z Macro7=Z;z k\r\n");
        QCOMPARE(typed.callSign, QStringLiteral("LU1ABC"));
        QCOMPARE(typed.basePath, QStringLiteral("/logs/a.mdb"));
        QCOMPARE(typed.macros[0].text, QStringLiteral("de $micall$ Base=x MiCall=ZZ9Z Macro7=Z;z k"));
        QCOMPARE(typed.macros[2], defaultMacros()[2]);
    }

    void saveWritesThirteenLinesInOrder()
    {
        test::TempHome home;
        Settings s;
        s.callSign = QStringLiteral("lu1abc");
        s.language = QStringLiteral("Español");
        s.macros = defaultMacros();
        QCOMPARE(saveConfig(home.folder().configFile(), s), QString());
        const QByteArray bytes = test::readBytes(home.folder().configFile());
        QVERIFY(bytes.contains("Idioma=Espa\xF1ol\r\n")); // the single-byte code page
        QStringList keys;
        for (const QByteArray &line : bytes.split('\n'))
            if (!line.isEmpty())
                keys << QString::fromLatin1(line.left(line.indexOf('=') + 1));
        QCOMPARE(keys, (QStringList{"MiCall=", "Orbitron=", "UTC_DIF=", "Base=", "BaseN=", "GridLoc=", "Idioma=",
                                    "Puerto=", "Pin=", "Macro5=", "Macro6=", "Macro7=", "Macro8="}));
        QVERIFY(bytes.startsWith("MiCall=LU1ABC\r\nOrbitron=0\r\nUTC_DIF=-3\r\n"));
        Settings back;
        loadConfig(home.folder().configFile(), back);
        QCOMPARE(back.callSign, QStringLiteral("LU1ABC"));
        QCOMPARE(back.macros, s.macros);
    }

    // Saving on a full disk is refused with the file's name and the system's reason; the file
    // keeps the previous settings, which the next start reads.
    void aFullDiskKeepsThePreviousSettings()
    {
        test::SmallDisk disk;
        if (disk.path().isEmpty())
            QSKIP("a small file system cannot be mounted here (it needs root)");
        const DataFolder folder(disk.path(), QStringLiteral(VORTA_TEST_SHARE_DIR));
        QCOMPARE(folder.prepare(), QString());
        Settings before;
        before.callSign = QStringLiteral("LU1ABC");
        before.macros = defaultMacros();
        QCOMPARE(saveConfig(folder.configFile(), before), QString());
        const QByteArray file = test::readBytes(folder.configFile());

        AppState state(folder);
        test::ScriptedDialogs dialogs;
        KeyPort keyPort;
        Session session(state, dialogs, keyPort);
        session.loadAtStart();
        disk.fill();
        Settings changed = state.settings();
        changed.callSign = QStringLiteral("LU9ZZZ");
        QVERIFY(!session.saveConfiguration(changed));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("No se pudo guardar la configuración %1:\r\nNo space left on device")
                                                  .arg(folder.configFile())});
        dialogs.answers = {true};
        QVERIFY(session.confirmExit()); // and again at exit
        QCOMPARE(dialogs.shown.last().text, dialogs.shown.first().text);
        QCOMPARE(test::readBytes(folder.configFile()), file);
        Settings nextStart;
        loadConfig(folder.configFile(), nextStart);
        QCOMPARE(nextStart, before);
    }

    void acceptChecksInOrder()
    {
        const auto problem = [](const char *call, const char *locator, const char *utc) {
            const auto p = checkConfigEntry(QString::fromLatin1(call), QString::fromLatin1(locator),
                                            QString::fromLatin1(utc), Language::English);
            return p ? std::optional<ConfigField>(p->field) : std::nullopt;
        };
        QCOMPARE(problem("LU1ABC", "AB12CD", "-3"), std::nullopt);
        QCOMPARE(problem("LU1ABC", "AB12", "-3"), std::nullopt);
        QCOMPARE(problem("LU1ABC", "", "5.5"), std::nullopt);
        QCOMPARE(problem("", "AB1", "-3"), ConfigField::Locator);
        QCOMPARE(problem("LU1ABC", "AB12C", "-3"), ConfigField::Locator);
        QCOMPARE(problem("", "AB12", "-3"), ConfigField::CallSign);
        QCOMPARE(problem("LU1ABC", "", ""), ConfigField::UtcOffset);
        QCOMPARE(problem("LU1ABC", "", "-3x"), ConfigField::UtcOffset);
        QCOMPARE(problem("LU1ABC", "", "15"), ConfigField::UtcOffset);
        // The call sign message stays Spanish in every language; the locator one follows it.
        QCOMPARE(checkConfigEntry({}, {}, QStringLiteral("0"), Language::English)->message,
                 QStringLiteral("Debe indicar su Indicativo!"));
        QCOMPARE(checkConfigEntry({}, QStringLiteral("AB1"), QStringLiteral("0"), Language::English)->message,
                 QStringLiteral("Grid Locator Error!\r\nFormat is ??##?? or ??##"));
    }
    // Ctrl+Plus and Ctrl+Minus step the font size within its limits; the size is kept in
    // ajustes.ini without touching the operator's other lines.
    void fontSizeIsSteppedAndKept()
    {
        QCOMPARE(steppedFontScale(100, 1), 110);
        QCOMPARE(steppedFontScale(100, -1), 90);
        QCOMPARE(steppedFontScale(kMaxFontScale, 1), kMaxFontScale);
        QCOMPARE(steppedFontScale(kMinFontScale, -1), kMinFontScale);
        QCOMPARE(steppedFontScale(180, 0), 100);
        // A size typed between steps comes onto them, in the direction asked.
        QCOMPARE(steppedFontScale(125, 1), 130);
        QCOMPARE(steppedFontScale(125, -1), 120);
        QCOMPARE(steppedFontScale(75, -1), 70);

        test::TempHome home;
        const QString file = home.folder().settingsFile();
        QCOMPARE(loadExtraSettings(file).fontScale, 100); // no file
        test::writeBytes(file, "# tracker\nPuertoSeguimiento=47002\nEscalaLetra=abc\nCarpetaOrbitron=/opt/orb\n"
                               "EscalaLetra=120\n");
        QCOMPARE(loadExtraSettings(file).fontScale, 120);
        QCOMPARE(saveFontScale(file, 140), QString());
        // The first line of the key takes the size, the others go; everything else stays.
        QCOMPARE(test::readBytes(file), QByteArray("# tracker\r\nPuertoSeguimiento=47002\r\nEscalaLetra=140\r\n"
                                                   "CarpetaOrbitron=/opt/orb\r\n"));
        const ExtraSettings read = loadExtraSettings(file);
        QCOMPARE(read.fontScale, 140);
        QCOMPARE(read.trackingPort, 47002);
        QCOMPARE(read.orbitronFolder, QStringLiteral("/opt/orb"));
        // Beyond the limits the nearest limit, whatever the file says.
        test::writeBytes(file, "EscalaLetra=1000\r\n");
        QCOMPARE(loadExtraSettings(file).fontScale, kMaxFontScale);
        test::writeBytes(file, "EscalaLetra=-5\r\n");
        QCOMPARE(loadExtraSettings(file).fontScale, kMinFontScale);
        // A file that cannot be written is said, not passed over.
        QVERIFY(!saveFontScale(home.path() + QStringLiteral("/no/such/ajustes.ini"), 110).isEmpty());
    }

    void qtsOwnTextsFollowTheLanguage()
    {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + QStringLiteral("/qtbase_es.qm")))
            QSKIP("Qt's translations are not installed (qt6-translations-l10n)");
        const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
        {
            QtTranslations qt;
            QVERIFY(qt.apply(Language::Spanish));
            QCOMPARE(yes(), QStringLiteral("&Sí"));
            qt.apply(Language::English);
            QCOMPARE(yes(), QStringLiteral("&Yes"));
            QVERIFY(qt.apply(Language::Spanish));
            QCOMPARE(yes(), QStringLiteral("&Sí"));
        }
        // Gone with its owner.
        QCOMPARE(yes(), QStringLiteral("&Yes"));
        // A folder without the files leaves Qt's English.
        test::TempHome empty;
        QtTranslations none(empty.path());
        QVERIFY(!none.apply(Language::Spanish));
        QCOMPARE(yes(), QStringLiteral("&Yes"));
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
