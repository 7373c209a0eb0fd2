// The main window as an operator works it in mid-pass, hands on the keyboard: where the cursor
// stands, the keys that reach menus, the log and the font size, what the window says after a
// save and about a station already worked, that nothing moves while labels change, Qt's own
// texts in the interface language, and what a screen reader hears.
#include "browser/browserwindow.h"
#include "common/appstate.h"
#include "common/qtdialog.h"
#include "config/configwindow.h"
#include "config/extrasettings.h"
#include "logdb/logdatabase.h"
#include "logdb/logfiles.h"
#include "mainwindow/entrywidget.h"
#include "mainwindow/mainwindow.h"
#include "uisupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>

using namespace vorta;

namespace {

void addQso(const QString &log, const char *station, const char *satellite, const char *orbit)
{
    QsoEntry e;
    e.station = QString::fromLatin1(station);
    e.satellite = QString::fromLatin1(satellite);
    e.orbit = QString::fromLatin1(orbit);
    e.uplinkFreq = QStringLiteral("145.850");
    e.downlinkFreq = QStringLiteral("436.795");
    e.utc = QDateTime(QDate(2024, 6, 2), QTime(14, 21), Qt::UTC);
    insertQso(log, recordForInsert(e));
}

// The main window of a configured station whose log holds one QSO (LU2XYZ on SO-50, orbit
// 1234), up and active with its log chosen.
struct Station
{
    explicit Station(const Settings &settings = test::stationSettings())
    {
        ensureDefaultLog(home.folder());
        addQso(home.folder().defaultLog(), "LU2XYZ", "SO-50", "1234");
        program.emplace(home, settings);
        window.emplace(program->session);
        window->show();
    }
    bool ready()
    {
        return QTest::qWaitForWindowActive(&*window)
               && QTest::qWaitFor([this] { return !window->lastRecordValues().first().isEmpty(); });
    }
    QLineEdit *field(const QString &caption) { return test::captionedEdit(window->entry(), caption); }
    // What a screen reader calls the widget.
    static QString heard(QObject *widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); }
    QLabel *labelHeardAs(const QString &start)
    {
        for (QLabel *label : window->findChildren<QLabel *>())
            if (label->window() == &*window && heard(label).startsWith(start))
                return label;
        return nullptr;
    }

    test::TempHome home;
    std::optional<test::Program> program;
    std::optional<MainWindow> window;
};

// The Alt letter Qt answers for a caption ("&Archivo" gives A).
QChar altLetter(const QString &caption)
{
    const qsizetype at = caption.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
    return at < 0 ? QChar() : caption[at + 1].toUpper();
}

} // namespace

class TestOperator : public QObject
{
    Q_OBJECT
private slots:
    // The first call typed reaches the call field; back from the log browser the cursor is there
    // again, while a message box leaves it where its answer put it.
    void theCursorWaitsInTheCallField()
    {
        Station station;
        QVERIFY(station.ready());
        MainWindow &window = *station.window;
        QLineEdit *call = station.field(QStringLiteral("Estación:"));
        QVERIFY(call->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("py2abc"));
        QCOMPARE(call->text(), QStringLiteral("PY2ABC"));

        // Ctrl+L from the notes opens the log; Esc closes it and the call field has the cursor,
        // its text untouched.
        QLineEdit *notes = station.field(QStringLiteral("Notas"));
        notes->setFocus();
        bool browsed = false;
        test::whenShown(window.browser(), [&] {
            QTRY_VERIFY(window.browser().isActiveWindow());
            browsed = true;
            QTest::keyClick(&window.browser(), Qt::Key_Escape);
        });
        QTest::keyClick(notes, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(browsed);
        window.activateWindow(); // the offscreen platform hands activation back on request only
        QTRY_VERIFY(window.isActiveWindow());
        QTRY_VERIFY(call->hasFocus());
        QCOMPARE(call->text(), QStringLiteral("PY2ABC"));

        // After a message box the cursor stays where it was put.
        notes->setFocus();
        QTimer::singleShot(0, &window, [] {
            QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
            QApplication::activeModalWidget()->close();
        });
        QMessageBox::information(&window, QStringLiteral("Vorta"), QStringLiteral("x"));
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QVERIFY(notes->hasFocus());

        // Saved: the cursor is in the emptied call field, and the status line names the QSO
        // beside the log's name.
        station.field(QStringLiteral("Satélite:"))->setText(QStringLiteral("AO-91"));
        station.field(QStringLiteral("Subida"))->setText(QStringLiteral("435.250"));
        station.field(QStringLiteral("Bajada"))->setText(QStringLiteral("145.960"));
        QTest::keyClick(notes, Qt::Key_Return);
        QVERIFY(call->hasFocus());
        QCOMPARE(call->text(), QString());
        const QsoRecord stored = *newestQso(station.home.folder().defaultLog());
        QCOMPARE(window.notice(), QStringLiteral("QSO 2 guardado: PY2ABC AO-91 %1").arg(stored.hora));
        QVERIFY(station.labelHeardAs(QStringLiteral("Base de datos: base1.mdb")));
        QVERIFY(station.program->dialogs.shown.isEmpty());
    }

    // Alt with a letter and F10 reach the menus, whose captions keep their words; Ctrl+L the log.
    void keysReachTheMenusAndTheLog()
    {
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QVERIFY(run.ready());
        QMenuBar &bar = *window.menuBar();
        QMenu *file = bar.actions().first()->menu();

        // Every menu of the bar, and every entry of a menu, has a letter of its own.
        const auto letters = [](const QList<QAction *> &actions) {
            QString seen;
            for (const QAction *action : actions)
                if (!action->isSeparator())
                    seen += altLetter(action->text());
            return seen;
        };
        QCOMPARE(letters(bar.actions()), QStringLiteral("ALSIY"));
        QCOMPARE(letters(file->actions()), QStringLiteral("NAIMCS"));
        for (QAction *menu : bar.actions())
            if (menu->menu()) {
                const QString seen = letters(menu->menu()->actions());
                QVERIFY2(QSet<QChar>(seen.begin(), seen.end()).size() == seen.size(), qPrintable(seen));
            }
        // A screen reader hears the captions as they read.
        QCOMPARE(QAccessible::queryAccessibleInterface(&bar)->child(0)->text(QAccessible::Name), QStringLiteral("Archivo"));
        QCOMPARE(QAccessible::queryAccessibleInterface(file)->child(0)->text(QAccessible::Name),
                 QStringLiteral("Nueva Base de datos"));

        QLineEdit *call = test::captionedEdit(window.entry(), QStringLiteral("Estación:"));
        QTest::keyClick(call, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), file);
        QTest::keyClick(file, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());

        QTest::keyClick(call, Qt::Key_F10);
        QTRY_COMPARE(QApplication::activePopupWidget(), file);
        QTest::keyClick(file, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());

        // The log entry's rules hold for its key: an empty log opens nothing.
        QTest::keyClick(call, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(program.dialogs.texts(), QStringList{QStringLiteral("Log vacío!")});
        QVERIFY(!window.browser().isVisible());

        // In English the letters follow the new words.
        program.state.setLanguage(Language::English);
        QCOMPARE(letters(bar.actions()), QStringLiteral("FLTIH"));
        QCOMPARE(test::caption(bar.actions().first()), QStringLiteral("File"));
    }

    // Ctrl+Plus, Ctrl+Minus and Ctrl+0 size the main window's type, emphasized values keeping
    // their place above it; the size is kept for the next start beside the other settings.
    void fontSizeKeysScaleTheWindowAndAreKept()
    {
        test::TempHome home;
        const QString ajustes = home.folder().settingsFile();
        test::writeBytes(ajustes, "PuertoSeguimiento=47123\r\n");
        const qreal desktop = QApplication::font().pointSizeF();
        {
            test::Running run(home, test::stationSettings());
            auto &[program, window] = run;
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QLineEdit *call = test::captionedEdit(window.entry(), QStringLiteral("Estación:"));
            QLineEdit *notes = test::captionedEdit(window.entry(), QStringLiteral("Notas"));
            QCOMPARE(call->font().pointSizeF(), desktop + 6);
            QTest::keyClick(call, Qt::Key_Plus, Qt::ControlModifier);
            QTest::keyClick(call, Qt::Key_Equal, Qt::ControlModifier); // where "+" needs Shift
            QCOMPARE(window.fontScale(), 120);
            QCOMPARE(call->font().pointSizeF(), (desktop + 6) * 1.2);
            QCOMPARE(notes->font().pointSizeF(), desktop * 1.2);
            // The other windows keep the desktop's size.
            QCOMPARE(window.configWindow().font().pointSizeF(), desktop);
            QCOMPARE(test::readBytes(ajustes), QByteArray("PuertoSeguimiento=47123\r\nEscalaLetra=120\r\n"));
        }
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QLineEdit *call = test::captionedEdit(window.entry(), QStringLiteral("Estación:"));
        QCOMPARE(window.fontScale(), 120);
        QCOMPARE(call->font().pointSizeF(), (desktop + 6) * 1.2);
        QTest::keyClick(call, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(call->font().pointSizeF(), desktop + 6);
        QTest::keyClick(call, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(window.fontScale(), 90);
        QVERIFY(test::readBytes(ajustes).contains("EscalaLetra=90\r\n"));
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    // The earlier contact with a station on this satellite and orbit is said in words before
    // Enter, in the interface language; the QSO can still be saved.
    void aStationWorkedInThisPassIsSaidInWords()
    {
        Station station;
        QVERIFY(station.ready());
        EntryWidget &entry = station.window->entry();
        entry.setSatellite(QStringLiteral("SO-50"));
        entry.setUplink(QStringLiteral("145.850"));
        entry.setDownlink(QStringLiteral("436.795"));
        entry.setOrbit(QStringLiteral("1233"));
        QLineEdit *call = station.field(QStringLiteral("Estación:"));
        QTest::keyClicks(call, QStringLiteral("LU2XYZ"));
        QCOMPARE(entry.previousContactText(), QStringLiteral("Sat: SO-50 #1234"));
        QCOMPARE(entry.workedInPassText(), QString()); // the previous pass
        // The orbit counts on as the tracker computes it: now it is the same pass.
        entry.setOrbit(QStringLiteral("1234"));
        QCOMPARE(entry.workedInPassText(), QStringLiteral("Ya trabajado en este pase!"));
        station.program->state.setLanguage(Language::English);
        QCOMPARE(entry.workedInPassText(), QStringLiteral("Worked before in this pass!"));
        QTest::keyClick(call, Qt::Key_Return);
        QCOMPARE(newestQso(station.home.folder().defaultLog())->id, 2);
        QCOMPARE(entry.workedInPassText(), QString());
        QVERIFY(station.window->notice().startsWith(QStringLiteral("QSO 2 saved: LU2XYZ SO-50 ")));
    }

    // Labels that come and go never move the call field nor resize the window; the manual date
    // and time show their whole texts; a wide window does not stretch the entry panel.
    void nothingMovesWhileLabelsChange()
    {
        Station station;
        QVERIFY(station.ready());
        MainWindow &window = *station.window;
        EntryWidget &entry = window.entry();
        QLineEdit *call = station.field(QStringLiteral("Estación:"));
        const auto settle = [] {
            for (int i = 0; i < 3; ++i)
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        };
        settle();
        const QSize size = window.size();
        const QRect place(call->mapTo(&window, QPoint()), call->size());
        const auto unmoved = [&] {
            settle();
            return window.size() == size && QRect(call->mapTo(&window, QPoint()), call->size()) == place;
        };

        entry.setElementInfo(QStringLiteral("1234"), QStringLiteral("43017"));
        QVERIFY(unmoved());
        entry.setSatellite(QStringLiteral("SO-50"));
        entry.setOrbit(QStringLiteral("1234"));
        QTest::keyClicks(call, QStringLiteral("LU2XYZ"));
        QVERIFY(!entry.previousContactText().isEmpty() && !entry.workedInPassText().isEmpty());
        QVERIFY(unmoved());
        entry.setUplink(QStringLiteral("1268.000"));
        entry.setDownlink(QStringLiteral("10489.750"));
        QCOMPARE(entry.satModeText(), QStringLiteral("SAT L/X"));
        QVERIFY(unmoved());

        QCheckBox *manual = test::buttonCaptioned<QCheckBox>(entry, QStringLiteral("Ingreso QTR Manual"));
        manual->click();
        QVERIFY(unmoved());
        // The longest text of each field shows whole: with the cursor at its end, its start has
        // not scrolled out of sight.
        for (const auto &[caption, longest] : {std::pair{"Fecha", "28/08/2028"}, {"Hora", "2358"}}) {
            QLineEdit *field = station.field(QString::fromLatin1(caption));
            QVERIFY(field->isVisible());
            field->setText(QString::fromLatin1(longest));
            field->setCursorPosition(field->text().size());
            const QRectF cursor = field->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
            const double start = cursor.center().x() - field->fontMetrics().horizontalAdvance(field->text());
            QVERIFY2(start >= 0, caption);
        }
        manual->click();
        QVERIFY(unmoved());

        // A wide window: the entry panel keeps its width, the last-record panel takes the room.
        window.resize(1900, window.height());
        settle();
        QCOMPARE(entry.width(), entry.sizeHint().width());
        QVERIFY(call->width() < 700);
    }

    // Every value a screen reader meets is heard with its caption, kept current, and the two
    // mode lists are told apart by direction.
    void screenReadersHearTheValues()
    {
        Station station;
        QVERIFY(station.ready());
        MainWindow &window = *station.window;
        QStringList lastRecord;
        for (const char *caption : {"Estación", "Fecha", "Hora", "Subida", "Sat", "Orbita #"})
            if (QLabel *label = station.labelHeardAs(QString::fromUtf8(caption) + QStringLiteral(": ")))
                lastRecord << Station::heard(label);
        QCOMPARE(lastRecord, (QStringList{"Estación: LU2XYZ", "Fecha: 02/06/2024", "Hora: 14:21", "Subida: 145.850",
                                          "Sat: SO-50", "Orbita #: 1234"}));
        QVERIFY(station.labelHeardAs(QStringLiteral("Mi Estación: LU1ABC")));
        QVERIFY(station.labelHeardAs(QStringLiteral("Mi Grid: GF05TJ")));
        // The clock is heard as it ticks.
        QLabel *clock = station.labelHeardAs(QStringLiteral("Hora UTC: "));
        QVERIFY(clock);
        const QString first = Station::heard(clock);
        QCOMPARE(first, QStringLiteral("Hora UTC: ") + clock->text());
        QTRY_VERIFY_WITH_TIMEOUT(Station::heard(clock) != first, 3000);
        QCOMPARE(Station::heard(station.labelHeardAs(QStringLiteral("Fecha UTC: "))).size(), 21);

        EntryWidget &entry = window.entry();
        entry.setUplink(QStringLiteral("145.850"));
        entry.setDownlink(QStringLiteral("436.795"));
        QVERIFY(station.labelHeardAs(QStringLiteral("Modo satélite: SAT J")));
        // Both lists are captioned "Modo:"; what is typed into and the lists themselves tell the
        // direction.
        QStringList modes;
        for (QComboBox *list : entry.findChildren<QComboBox *>())
            if (list->isEditable())
                modes << Station::heard(list->lineEdit()) + u'/'
                             + QAccessible::queryAccessibleInterface(list)->text(QAccessible::Description);
        QCOMPARE(modes, (QStringList{"Modo de subida/Modo de subida", "Modo de bajada/Modo de bajada"}));

        // Another language: the same values under the new captions.
        station.program->state.setLanguage(Language::Portuguese);
        QVERIFY(station.labelHeardAs(QStringLiteral("Estação: LU2XYZ")));
        QVERIFY(station.labelHeardAs(QStringLiteral("Minha Estação: LU1ABC")));
        QVERIFY(station.labelHeardAs(QStringLiteral("Data UTC: ")));
    }

    // Qt's own texts, such as the Yes and No of a question, follow the interface language.
    void qtsButtonsFollowTheLanguage()
    {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_es.qm")))
            QSKIP("Qt's translations are not installed (qt6-translations-l10n)");
        test::TempHome home;
        test::Running run(home, test::stationSettings());
        auto &[program, window] = run;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QtDialogs dialogs(&window);
        // The buttons of a question, as the operator reads them; the answer is No.
        const auto buttons = [&dialogs] {
            QStringList read;
            QTimer::singleShot(0, [&read] {
                QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
                auto *box = static_cast<QMessageBox *>(QApplication::activeModalWidget());
                for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No})
                    read << withoutMnemonic(box->button(b)->text());
                box->button(QMessageBox::No)->click();
            });
            if (dialogs.ask(QStringLiteral("?"), Icon::Question))
                read << QStringLiteral("answered Yes");
            return read;
        };
        QCOMPARE(buttons(), (QStringList{"Sí", "No"}));
        program.state.setLanguage(Language::English);
        QCOMPARE(buttons(), (QStringList{"Yes", "No"}));
        program.state.setLanguage(Language::Portuguese);
        QCOMPARE(buttons(), (QStringList{"Sim", "Não"}));
    }
};

QTEST_MAIN(TestOperator)
#include "tst_ui_operator.moc"
