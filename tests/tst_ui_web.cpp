// The Internet and Ayuda menus as the operator uses them: their captions in each language, the
// sites, the manual of the language, the version entry and the About window.
#include "mainwindow/mainwindow.h"
#include "uisupport.h"
#include "web/aboutdialog.h"
#include "web/webmenuwidget.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace vorta;

namespace {

QMenu *menuCaptioned(QMenuBar &bar, const QString &title)
{
    for (QAction *action : bar.actions())
        if (action->menu() && test::caption(action) == title)
            return action->menu();
    return nullptr;
}

QStringList captions(const QMenu &menu)
{
    QStringList list;
    for (const QAction *action : menu.actions())
        if (!action->isSeparator())
            list << test::caption(action);
    return list;
}

QAction *entry(const QMenu &menu, const QString &caption)
{
    for (QAction *action : menu.actions())
        if (test::caption(action) == caption)
            return action;
    return nullptr;
}

// The web menus on a window of their own, with the desktop's "open" action replaced by a
// recorder that succeeds or fails as told.
struct WebRun
{
    explicit WebRun(const test::TempHome &home, Language language = Language::Spanish)
        : program(home, test::stationSettings())
    {
        program.state.setLanguage(language);
        menus = new WebMenus(program.session, *window.menuBar(), &window, [this](const QUrl &url) {
            opened << url;
            return opens;
        });
    }
    test::Program program;
    QMainWindow window;
    WebMenus *menus = nullptr;
    QList<QUrl> opened;
    bool opens = true;
};

} // namespace

class TestWebMenus : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowMenusFollowTheLanguage()
    {
        test::TempHome home;
        test::Program program(home, test::stationSettings());
        MainWindow window(program.session);
        QMenuBar &bar = *window.menuBar();
        QMenu *internet = menuCaptioned(bar, QStringLiteral("Internet"));
        QVERIFY(internet);
        QCOMPARE(captions(*internet), (QStringList{QStringLiteral("Verificar Versión"), QStringLiteral("Amsat USA"),
                                                   QStringLiteral("ARISS"), QStringLiteral("Amsat Argentina"),
                                                   QStringLiteral("NEAA")}));
        QCOMPARE(captions(*entry(*internet, QStringLiteral("Amsat USA"))->menu()),
                 (QStringList{QStringLiteral("Status"), QStringLiteral("Pasos")}));
        QMenu *help = menuCaptioned(bar, QStringLiteral("Ayuda"));
        QVERIFY(help);
        QCOMPARE(captions(*help), (QStringList{QStringLiteral("Ayuda"), QStringLiteral("Acerca de ...")}));

        program.state.setLanguage(Language::English);
        QCOMPARE(captions(*internet).first(), QStringLiteral("Check Version"));
        QCOMPARE(captions(*help), (QStringList{QStringLiteral("Help"), QStringLiteral("About ...")}));
        QCOMPARE(menuCaptioned(bar, QStringLiteral("Help")), help);
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void sitesOpenInTheBrowser()
    {
        test::TempHome home;
        WebRun run(home, Language::English);
        QMenu &internet = run.menus->internetMenu();
        entry(*entry(internet, QStringLiteral("Amsat USA"))->menu(), QStringLiteral("Status"))->trigger();
        entry(*entry(internet, QStringLiteral("Amsat USA"))->menu(), QStringLiteral("Pasos"))->trigger();
        for (const char *site : {"ARISS", "Amsat Argentina", "NEAA"})
            entry(internet, QLatin1String(site))->trigger();
        QCOMPARE(run.opened.size(), 5);
        for (const QUrl &url : run.opened)
            QVERIFY2(url.isValid() && url.scheme() == QLatin1String("https") && run.opened.count(url) == 1,
                     qPrintable(url.toString()));
        QVERIFY(run.program.dialogs.shown.isEmpty());

        // No browser to take it: the operator hears so, in the interface language.
        run.opens = false;
        entry(internet, QStringLiteral("ARISS"))->trigger();
        QCOMPARE(run.program.dialogs.texts(),
                 QStringList{QStringLiteral("Could not open ") + run.opened.last().toString()});
    }

    void helpOpensTheManualOfTheLanguage()
    {
        test::TempHome home;
        WebRun run(home);
        const struct
        {
            Language language;
            const char *file;
        } manuals[] = {{Language::Spanish, "Ayuda.pdf"}, {Language::English, "Ayuda_eng.pdf"},
                       {Language::Portuguese, "Ayuda_por.pdf"}};
        for (const auto &manual : manuals) {
            run.program.state.setLanguage(manual.language);
            run.menus->retranslate(manual.language);
            run.menus->helpMenu().actions().first()->trigger();
            // The manual as installed with the program.
            QCOMPARE(run.program.dialogs.texts(), QStringList());
            QCOMPARE(run.opened.last(), QUrl::fromLocalFile(home.folder().shareDir() + u'/' + QLatin1String(manual.file)));
            QVERIFY(QFile::exists(run.opened.last().toLocalFile()));
        }
    }

    void versionEntryAsksTheAddressOfTheSettingsFile()
    {
        test::TempHome home;
        WebRun run(home, Language::Portuguese);
        QAction *checkVersion = run.menus->internetMenu().actions().first();
        checkVersion->trigger();
        QCOMPARE(run.program.dialogs.texts(),
                 QStringList{QStringLiteral("Não há um endereço configurado para verificar a versão.\r\n"
                                            "Adicione a linha DireccionVersion= em ")
                             + home.folder().settingsFile()});
        // The start-up check keeps quiet without an address.
        run.menus->checkAtStart();
        QCOMPARE(run.program.dialogs.shown.size(), 1);

        // With the address in the file (no restart), the check asks it: here nobody listens.
        quint16 port = 0;
        {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            port = closed.serverPort();
        }
        test::writeBytes(home.folder().settingsFile(),
                         "PuertoSeguimiento=47001\r\nDireccionVersion=http://127.0.0.1:" + QByteArray::number(port)
                             + "/version.txt\r\n");
        QSignalSpy done(&run.menus->versionCheck(), &VersionCheck::finished);
        run.menus->checkAtStart();
        QVERIFY(done.wait(10000));
        QCOMPARE(run.program.dialogs.texts().last(), QStringLiteral("... no parece haber conexión con internet ..."));
    }

    void aboutWindowShowsTheProgramAndWritesToItsMaker()
    {
        test::TempHome home;
        WebRun run(home);
        AboutDialog &about = run.menus->aboutDialog();
        const auto labels = [&] {
            QStringList texts;
            for (const QLabel *label : about.findChildren<QLabel *>())
                texts << label->text();
            return texts;
        };
        bool checked = false;
        test::whenShown(about, [&] {
            QCOMPARE(about.windowTitle(), QStringLiteral("Acerca de Vorta"));
            QCOMPARE(labels(), (QStringList{QStringLiteral("Vorta"), QStringLiteral("Versión 1.0.15"),
                                            QStringLiteral("Programa logger para qsos de satélite")}));
            QTest::mouseClick(&about.contact(), Qt::LeftButton);
            QCOMPARE(run.opened, QList<QUrl>{QUrl(QStringLiteral("mailto:contacto@vorta-log.org"))});
            // Reached with Tab, the address is sent with Space; Enter still closes the window.
            about.contact().setFocus();
            QTest::keyClick(&about.contact(), Qt::Key_Space);
            QCOMPARE(run.opened.size(), 2);
            QTest::keyClick(&about.contact(), Qt::Key_Return);
            QCOMPARE(run.opened.size(), 2);
            checked = true;
        });
        run.menus->helpMenu().actions().last()->trigger();
        QVERIFY(checked);
        QVERIFY(!about.isVisible());

        // Again in English, left with Escape.
        run.program.state.setLanguage(Language::English);
        bool english = false;
        test::whenShown(about, [&] {
            QCOMPARE(about.windowTitle(), QStringLiteral("About Vorta"));
            QCOMPARE(labels().last(), QStringLiteral("Logger program for satellite QSOs"));
            QTest::keyClick(&about, Qt::Key_Escape);
            english = true;
        });
        run.menus->showAbout();
        QVERIFY(english);
        QVERIFY(!about.isVisible());
        QVERIFY(run.program.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestWebMenus)
#include "tst_ui_web.moc"
