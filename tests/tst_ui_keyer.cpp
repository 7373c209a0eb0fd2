// The CW panel on the main window: the "Macros CW" tick, F5 to F9 and Esc, the clickable macro
// labels, the speed control and the manual key, driven as the operator drives them.
#include "config/configwindow.h"
#include "keyer/keyer.h"
#include "keyer/keyercontrol.h"
#include "keyer/keyerwidget.h"
#include "mainwindow/mainwindow.h"
#include "uisupport.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSlider>
#include <QTest>

using namespace vorta;

namespace {

QAction *macrosTick(MainWindow &window)
{
    const QAction *file = window.menuBar()->actions().first();
    for (QAction *action : file->menu()->actions())
        if (test::caption(action) == QStringLiteral("Macros CW"))
            return action;
    return nullptr;
}

QLabel *labelReading(QWidget &panel, const QString &text)
{
    for (QLabel *label : panel.findChildren<QLabel *>())
        if (label->text() == text)
            return label;
    return nullptr;
}

// A key as the operator presses it in whatever field has the cursor.
void press(Qt::Key key)
{
    QTest::keyPress(QApplication::focusWidget(), key);
}

void release(Qt::Key key, bool autoRepeat = false)
{
    QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(QApplication::focusWidget(), &event);
}

// The main window of a configured station, up and active; with the CW panel shown when asked.
struct Started
{
    explicit Started(bool macrosShown = true) : program(home, test::stationSettings()), window(program.session)
    {
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the main window did not become active");
        if (macrosShown)
            macrosTick(window)->trigger();
    }
    Keyer &keyer() { return program.session.keyer(); }
    KeyerWidget &panel() { return window.keyerPanel(); }
    QString sending() { return panel().control().status(); }

    test::TempHome home;
    test::Program program;
    MainWindow window;
};

} // namespace

class TestUiKeyer : public QObject
{
    Q_OBJECT
private slots:
    void functionKeysSendTheMacrosOnlyWhileTickedAndIdle()
    {
        Started run(false);
        QLineEdit *station = test::captionedEdit(run.window, QStringLiteral("Estación:"));
        QLineEdit *sent = test::captionedEdit(run.window, QStringLiteral("Env:"));
        station->setFocus();
        QTest::keyClicks(station, QStringLiteral("yy2bb"));
        sent->setText(QStringLiteral("59"));
        station->setFocus();

        // Not ticked: F5 sends nothing and the panel is hidden.
        press(Qt::Key_F5);
        QVERIFY(!run.keyer().isSending());
        QVERIFY(!run.panel().isVisible());

        QAction *tick = macrosTick(run.window);
        QVERIFY(tick && tick->isCheckable());
        tick->trigger();
        QVERIFY(run.panel().isVisible());
        QLabel *f6 = labelReading(run.panel(), QStringLiteral("F6 - QSO"));
        QVERIFY(f6);
        QCOMPARE(f6->toolTip(), QStringLiteral("$sucall$ de $micall$ $micall$ ur $rst$ in $grid$ k"));
        QVERIFY(labelReading(run.panel(), QStringLiteral("F5 - CQ")));
        QVERIFY(labelReading(run.panel(), QStringLiteral("F8 - Grid")));
        QVERIFY(labelReading(run.panel(), QStringLiteral("F9-Test")));
        QVERIFY(labelReading(run.panel(), QStringLiteral("Vel 15 ppm")));

        press(Qt::Key_F6);
        QVERIFY(run.keyer().isSending());
        QCOMPARE(run.sending(), QStringLiteral("YY2BB DE LU1ABC LU1ABC UR 5NN IN GF05TJ K"));
        QCOMPARE(station->text(), QStringLiteral("YY2BB")); // the keys typed nothing
        // Screen readers hear what is sent, and nothing once the keyer is idle.
        QLabel *status = labelReading(run.panel(), run.sending());
        QVERIFY(status);
        QCOMPARE(status->accessibleName(), QStringLiteral("Enviando: ") + run.sending());
        // A second macro waits for the first to end.
        press(Qt::Key_F5);
        QVERIFY(run.sending().startsWith(QStringLiteral("YY2BB")));
        // Esc ends it after the current character; F5 then works again.
        press(Qt::Key_Escape);
        QTRY_VERIFY(!run.keyer().isSending());
        QTRY_VERIFY(run.sending().isEmpty());
        QTRY_COMPARE(status->accessibleName(), QString());
        press(Qt::Key_F5);
        QCOMPARE(run.sending(), QStringLiteral("CQ CQ DE LU1ABC LU1ABC K"));
        press(Qt::Key_Escape);
        QTRY_VERIFY(!run.keyer().isSending());

        tick->trigger();
        QVERIFY(!run.panel().isVisible());
        press(Qt::Key_F5);
        QVERIFY(!run.keyer().isSending());
    }

    void f9HeldSendsTheTestAndItsReleaseRestoresTheSpeed()
    {
        Started run;
        QSlider *speed = run.panel().findChild<QSlider *>();
        speed->setValue(18);
        QVERIFY(labelReading(run.panel(), QStringLiteral("Vel 18 ppm")));
        test::captionedEdit(run.window, QStringLiteral("Estación:"))->setFocus();

        press(Qt::Key_F9);
        QVERIFY(run.keyer().isSending());
        QCOMPARE(run.sending(), QString(64, u'e'));
        QCOMPARE(speed->value(), 25);
        QVERIFY(labelReading(run.panel(), QStringLiteral("Vel 25 ppm")));
        // While the key is held the system repeats it; that is not its release.
        release(Qt::Key_F9, true);
        QVERIFY(run.keyer().isSending());
        QCOMPARE(speed->value(), 25);
        release(Qt::Key_F9);
        QCOMPARE(speed->value(), 18);
        QTRY_VERIFY(!run.keyer().isSending());
    }

    void mouseOnThePanel()
    {
        Started run;
        QLabel *f5 = labelReading(run.panel(), QStringLiteral("F5 - CQ"));
        QLabel *test = labelReading(run.panel(), QStringLiteral("F9-Test"));

        QTest::mouseClick(f5, Qt::RightButton);
        QTest::mouseClick(f5, Qt::MiddleButton);
        QVERIFY(!run.keyer().isSending());
        QTest::mousePress(f5, Qt::LeftButton);
        QVERIFY(run.sending().startsWith(QStringLiteral("CQ CQ")));
        // "F9-Test" pressed while a macro is sent starts nothing.
        QTest::mousePress(test, Qt::LeftButton);
        QVERIFY(run.sending().startsWith(QStringLiteral("CQ CQ")));
        QTest::mouseRelease(test, Qt::LeftButton);
        QTRY_VERIFY(!run.keyer().isSending());

        QTest::mousePress(test, Qt::LeftButton);
        QCOMPARE(run.panel().control().speed(), 25);
        QTest::mouseRelease(test, Qt::LeftButton);
        QCOMPARE(run.panel().control().speed(), 15);
        QTRY_VERIFY(!run.keyer().isSending());

        // The manual key turns the indicator red while it is held.
        QPushButton *key = test::buttonCaptioned(run.panel(), QStringLiteral("Manipular"));
        QVERIFY(!run.panel().keyShownDown());
        QTest::mousePress(key, Qt::LeftButton);
        QVERIFY(run.panel().keyShownDown());
        QTest::mouseRelease(key, Qt::LeftButton);
        QVERIFY(!run.panel().keyShownDown());
    }

    void speedStartsOverAtFifteenBackFromAnotherOfTheProgramsWindows()
    {
        Started run;
        QSlider *speed = run.panel().findChild<QSlider *>();
        speed->setValue(30);
        ConfigWindow &config = run.window.configWindow();
        test::whenShown(config, [&] {
            QTRY_VERIFY(config.isActiveWindow());
            QCOMPARE(speed->value(), 30);
            config.cancel();
        });
        run.window.showConfiguration();
        // The window system gives the focus back (the offscreen test platform needs a nudge).
        run.window.activateWindow();
        QTRY_VERIFY(run.window.isActiveWindow());
        QTRY_COMPARE(speed->value(), 15);
        QVERIFY(labelReading(run.panel(), QStringLiteral("Vel 15 ppm")));

        // Back from another program (the tracker, say), the operator's speed stays.
        speed->setValue(22);
        QApplication::setActiveWindow(nullptr);
        QTRY_VERIFY(!run.window.isActiveWindow());
        QApplication::setActiveWindow(&run.window);
        QTRY_VERIFY(run.window.isActiveWindow());
        QCOMPARE(speed->value(), 22);
    }

    // A message (an entry check, a tracking notice) or a file dialog is no window of the
    // program's own: back from it, even in the middle of a macro, the speed stays.
    void messagesAndFileDialogsLeaveTheSpeedAlone()
    {
        Started run;
        QSlider *speed = run.panel().findChild<QSlider *>();
        speed->setValue(30);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Vorta"), QStringLiteral("Falta Nombre de Satelite!"),
                        QMessageBox::Ok, &run.window);
        QFileDialog files(&run.window, QStringLiteral("Importar ADIF ..."));
        files.setOption(QFileDialog::DontUseNativeDialog);
        for (QDialog *dialog : std::initializer_list<QDialog *>{&box, &files}) {
            test::whenShown(*dialog, [dialog] {
                QTRY_VERIFY(dialog->isActiveWindow());
                dialog->reject();
            });
            dialog->exec();
            run.window.activateWindow();
            QTRY_VERIFY(run.window.isActiveWindow());
            QCOMPARE(speed->value(), 30);
        }
    }
};

QTEST_MAIN(TestUiKeyer)
#include "tst_ui_keyer.moc"
