// The Morse sender: speed and Morse tables, the key schedule of a text, the macros' placeholders,
// and the sender's thread keying a recording line (times checked with a tolerance, never
// exactly), with stops, line errors and the key port itself.
#include "keyer/keyer.h"
#include "keyer/keyercontrol.h"
#include "keyer/keyport.h"
#include "keyer/macros.h"
#include "keyer/morse.h"
#include "mainwindow/session.h"
#include "testsupport.h"

#include <QTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>
#include <mutex>

using namespace vorta;
using Clock = Keyer::Clock;

namespace {

// Records every switch with its time; can fail from a given switch on, as a port whose adapter
// was pulled out does, and can act from the sender's thread at a given switch.
class RecordingLine : public KeyLine
{
public:
    struct Switch
    {
        ControlLine line;
        bool on;
        Clock::time_point at;
    };

    QString setLine(ControlLine line, bool on) override
    {
        const std::lock_guard lock(m_mutex);
        m_switches.push_back({line, on, Clock::now()});
        const int count = int(m_switches.size());
        if (onSwitch)
            onSwitch(count);
        if (failFrom > 0 && count >= failFrom)
            return QStringLiteral("Input/output error");
        return {};
    }

    std::vector<Switch> switches()
    {
        const std::lock_guard lock(m_mutex);
        return m_switches;
    }

    std::function<void(int)> onSwitch; // set before sending
    int failFrom = 0;

private:
    std::mutex m_mutex;
    std::vector<Switch> m_switches;
};

std::vector<KeySegment> segmentsOf(QStringView text, int unitMs)
{
    std::vector<KeySegment> segments;
    for (const QChar c : text)
        appendCharacter(c, unitMs, segments);
    return segments;
}

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Sends and waits until the text has ended; returns how long it took in ms.
double sendAndWait(Keyer &keyer, const QString &text, std::optional<ControlLine> line)
{
    const Clock::time_point start = Clock::now();
    if (!keyer.send(text, line))
        return -1;
    if (!QTest::qWaitFor([&] { return !keyer.isSending(); }, 20000))
        return -1;
    return msBetween(start, Clock::now());
}

// The CW panel's logic on a program's session.
struct Controlled
{
    test::TempHome home;
    test::Program program{home};
    KeyerControl control{program.session};
};

// How far a measured interval may stray from its ideal length. Under real-time priority the
// sender keeps well within a millisecond; 4 ms leave room for the recording itself.
constexpr double kToleranceMs = 4;

// Without real-time priority (a user without an rtprio limit, a busy machine) an edge comes late
// by however long the system takes to give the sender a processor, so only an interval cut
// short counts, with a wider margin: the sender never keys an edge before its time.
bool onTime(const Keyer &keyer, double measured, double ideal)
{
    if (keyer.realtime().value_or(false))
        return qAbs(measured - ideal) < kToleranceMs;
    return measured > ideal - 15;
}

} // namespace

class TestKeyer : public QObject
{
    Q_OBJECT
private slots:
    void speedTableGivesTheUnit()
    {
        // The table's ends, and a step it leaves flat.
        QCOMPARE(unitOffsetForSpeed(10), 70);
        QCOMPARE(unitOffsetForSpeed(38), -19);
        QCOMPARE(unitOffsetForSpeed(39), -19);
        QCOMPARE(unitOffsetForSpeed(40), -20);
        QVERIFY(!unitOffsetForSpeed(9));
        QVERIFY(!unitOffsetForSpeed(41));

        RecordingLine line;
        Keyer keyer(line);
        QCOMPARE(keyer.unitMs(), 80); // 15 words per minute until told otherwise
        QVERIFY(keyer.setSpeed(20));
        QCOMPARE(keyer.unitMs(), 60);
        QVERIFY(!keyer.setSpeed(41));
        QVERIFY(!keyer.setSpeed(0));
        QCOMPARE(keyer.unitMs(), 60);
    }

    void morseTableKeysLettersDigitsAndProceduralSignals()
    {
        QCOMPARE(morseCode(u'q'), "--.-");
        QCOMPARE(morseCode(u'0'), "-----");
        QCOMPARE(morseCode(u'9'), "----.");
        // Signs that share a code, and the procedural signals.
        QCOMPARE(morseCode(u'/'), "-..-.");
        QCOMPARE(morseCode(u'\\'), "-..-.");
        QCOMPARE(morseCode(u'('), "-.--.-");
        QCOMPARE(morseCode(u')'), "-.--.-");
        QCOMPARE(morseCode(u'?'), "..--..");
        QCOMPARE(morseCode(u'*'), ".-...");  // AS
        QCOMPARE(morseCode(u'@'), "-.--.");  // KN
        QCOMPARE(morseCode(u'&'), ".-.-.");  // AR
        QCOMPARE(morseCode(u'%'), "...-.");  // SN
        QCOMPARE(morseCode(u'~'), "-...-.-"); // BK
        QCOMPARE(morseCode(u'<'), "...-.-"); // SK
        QCOMPARE(morseCode(u'>'), "...-...-...-");
        for (const char16_t none : {u'+', u'-', u' ', u'\r', u'ñ', u'!'})
            QCOMPARE(morseCode(none), "");
    }

    void scheduleFollowsTheUnitAndTheText()
    {
        // 20 wpm, U = 60: dot 73, dash 180, space after a dot 40 (40.5 to the even), after a
        // dash 45; the blank adds one unit and no more.
        const std::vector<KeySegment> ab{
            {false, 60}, // the leading blank
            {true, 73},  {false, 40}, {true, 180}, {false, 45}, {false, 60}, // a
            {false, 60},                                                      // blank
            {true, 180}, {false, 45}, {true, 73},  {false, 40}, {true, 73},
            {false, 40}, {true, 73},  {false, 40}, {false, 60}, // b
        };
        QCOMPARE(segmentsOf(u" a b", 60), ab);
        QCOMPARE(segmentsOf(u"cq", 60), segmentsOf(u"CQ", 60));
        // 10 wpm, U = 120: dot 145 (145.2), dash 360.
        QCOMPARE(segmentsOf(u"t", 120).front(), (KeySegment{true, 360}));
        QCOMPARE(segmentsOf(u"e", 120).front(), (KeySegment{true, 145}));
        // The products are taken in double precision: 1.1 × 1.1 × 50 is a hair above 60.5.
        QCOMPARE(segmentsOf(u"e", 50).front(), (KeySegment{true, 61}));
        QCOMPARE(pauseMs(0.9 * 0.75, 100), 68); // 67.5 to the even
        // Line feeds and double quotes take no time; a carriage return takes a character's.
        QVERIFY(segmentsOf(u"\n\n\"\n", 60).empty());
        QCOMPARE(segmentsOf(u"\r", 60), (std::vector<KeySegment>{{false, 60}}));
        QCOMPARE(segmentsOf(u"+", 60), (std::vector<KeySegment>{{false, 60}}));
    }

    void macrosFillTheirPlaceholders()
    {
        MacroValues values{QStringLiteral("XX1AA"), QStringLiteral("YY2BB"), QStringLiteral("AB12CD"),
                           QStringLiteral("59")};
        const QString qso = QStringLiteral("$sucall$ de $micall$ $micall$ ur $rst$ in $grid$ k");
        QCOMPARE(expandMacro(qso, values), QStringLiteral("YY2BB DE XX1AA XX1AA UR 5NN IN AB12CD K"));
        QCOMPARE(expandMacro(QStringLiteral("$SUCALL$ $Rst$"), values), QStringLiteral("YY2BB 5NN"));
        values.reportSent = QStringLiteral("599");
        QCOMPARE(expandMacro(QStringLiteral("ur $rst$"), values), QStringLiteral("UR 5NN"));
        values.reportSent = QStringLiteral("579");
        QCOMPARE(expandMacro(QStringLiteral("ur $rst$"), values), QStringLiteral("UR 57N"));
        values.reportSent = QStringLiteral("5");
        QCOMPARE(expandMacro(QStringLiteral("ur $rst$"), values), QStringLiteral("UR 5"));
        values.reportSent.clear();
        QCOMPARE(expandMacro(QStringLiteral("ur $rst$ in"), values), QStringLiteral("UR  IN"));
    }

    void senderKeysTheScheduleOnItsOwnThread()
    {
        RecordingLine line;
        Keyer keyer(line);
        QVERIFY(keyer.setSpeed(10)); // U = 120: every interval differs by more than the tolerance
        int shownDown = 0;
        connect(&keyer, &Keyer::keyChanged, this, [&](bool down) { shownDown += down ? 1 : 0; });
        const Clock::time_point start = Clock::now();
        QVERIFY(sendAndWait(keyer, QStringLiteral("a b"), ControlLine::Dtr) > 0);

        const auto switches = line.switches();
        QCOMPARE(switches.size(), std::size_t(12));
        // a: .-, then the dash space, the character's unit, the blank's unit and b's first dash.
        const double ideal[] = {145, 81, 360, 90 + 120 + 120, 360, 90, 145, 81, 145, 81, 145};
        for (std::size_t i = 0; i < switches.size(); ++i) {
            QCOMPARE(switches[i].line, ControlLine::Dtr);
            QCOMPARE(switches[i].on, i % 2 == 0);
            if (i + 1 < switches.size()) {
                const double interval = msBetween(switches[i].at, switches[i + 1].at);
                QVERIFY2(onTime(keyer, interval, ideal[i]),
                         qPrintable(QStringLiteral("edge %1: %2 ms instead of %3").arg(i).arg(interval).arg(ideal[i])));
            }
        }
        // The leading blank: one unit of silence before the first sign.
        QVERIFY(msBetween(start, switches[0].at) > 120 - kToleranceMs);
        QTRY_COMPARE(shownDown, 6);
    }

    void senderKeysTheConfiguredLineOrNone()
    {
        RecordingLine line;
        Keyer keyer(line);
        QVERIFY(keyer.setSpeed(40)); // U = 30
        QVERIFY(sendAndWait(keyer, QStringLiteral("e"), ControlLine::Rts) > 0);
        auto switches = line.switches();
        QCOMPARE(switches.size(), std::size_t(2));
        QCOMPARE(switches[0].line, ControlLine::Rts);
        QCOMPARE(switches[1].line, ControlLine::Rts);

        // Without a port the text still takes its time (blank, dot, its space, the unit) and
        // nothing is switched or shown.
        bool shown = false;
        connect(&keyer, &Keyer::keyChanged, this, [&] { shown = true; });
        const double took = sendAndWait(keyer, QStringLiteral("e"), std::nullopt);
        QVERIFY(took >= 30 + 36 + 20 + 30 - kToleranceMs);
        QCOMPARE(line.switches().size(), std::size_t(2));

        // Line feeds only: nothing keyed, over after the leading blank.
        QVERIFY(sendAndWait(keyer, QStringLiteral("\n\n\n"), ControlLine::Dtr) > 0);
        QCOMPARE(line.switches().size(), std::size_t(2));
        QCoreApplication::processEvents();
        QVERIFY(!shown);
    }

    void stopEndsTheTextAfterTheCurrentCharacter()
    {
        RecordingLine line;
        Keyer keyer(line);
        QVERIFY(keyer.setSpeed(40));
        // A stop asked for while idle does not cut the next text short.
        keyer.stop();
        QVERIFY(sendAndWait(keyer, QStringLiteral("ee"), ControlLine::Dtr) > 0);
        QCOMPARE(line.switches().size(), std::size_t(4));

        // Stopped while the first "e" is keyed: that "e" ends, nothing more.
        line.onSwitch = [&](int count) {
            if (count == 5)
                keyer.stop();
        };
        QVERIFY(sendAndWait(keyer, QStringLiteral("eeee"), ControlLine::Dtr) > 0);
        const auto switches = line.switches();
        QCOMPARE(switches.size(), std::size_t(6));
        QVERIFY(!switches.back().on);
        QVERIFY(!keyer.isSending());
    }

    void speedIsReadAtEveryCharacter()
    {
        RecordingLine line;
        Keyer keyer(line);
        QVERIFY(keyer.setSpeed(10));
        line.onSwitch = [&](int count) {
            if (count == 1)
                keyer.setSpeed(40);
        };
        QVERIFY(sendAndWait(keyer, QStringLiteral("ee"), ControlLine::Dtr) > 0);
        const auto switches = line.switches();
        QCOMPARE(switches.size(), std::size_t(4));
        QVERIFY(onTime(keyer, msBetween(switches[0].at, switches[1].at), 145)); // still 10 wpm
        QVERIFY(onTime(keyer, msBetween(switches[2].at, switches[3].at), 36));  // 40 wpm
    }

    void stopNowReleasesTheLineBeforeReturning()
    {
        RecordingLine line;
        Keyer keyer(line);
        QVERIFY(keyer.setSpeed(10));
        bool finished = false;
        connect(&keyer, &Keyer::finished, this, [&] { finished = true; });
        QVERIFY(keyer.send(QStringLiteral("t"), ControlLine::Dtr));
        QTRY_COMPARE(line.switches().size(), std::size_t(1)); // inside the 360 ms dash
        keyer.stopNow();
        const auto switches = line.switches();
        QCOMPARE(switches.size(), std::size_t(2));
        QVERIFY(!switches.back().on);
        QVERIFY(msBetween(switches[0].at, switches[1].at) < 360);
        QVERIFY(!keyer.isSending());
        QTRY_VERIFY(finished);
        // The keyer sends again afterwards.
        QVERIFY(sendAndWait(keyer, QStringLiteral("e"), ControlLine::Dtr) > 0);
        QCOMPARE(line.switches().size(), std::size_t(4));
    }

    void aLineErrorEndsTheTextOnceWithTheLineReleased()
    {
        for (const int failing : {2, 3}) { // on a key up, on a key down
            RecordingLine line;
            line.failFrom = failing;
            Keyer keyer(line);
            QVERIFY(keyer.setSpeed(40));
            QStringList errors;
            connect(&keyer, &Keyer::lineFailed, this, [&](const QString &error) { errors << error; });
            QVERIFY(sendAndWait(keyer, QStringLiteral("eeeeee"), ControlLine::Dtr) > 0);
            const auto switches = line.switches();
            // The failed switch, then one attempt to release the line, and nothing more.
            QCOMPARE(int(switches.size()), failing + 1);
            QVERIFY(!switches.back().on);
            QTRY_COMPARE(errors, QStringList{QStringLiteral("Input/output error")});
        }
    }

    void refusedRealTimePriorityIsToldOnce()
    {
        RecordingLine line;
        Keyer::Options options;
        options.realtime = false;
        Keyer keyer(line, options);
        QVERIFY(keyer.setSpeed(40));
        int told = 0;
        connect(&keyer, &Keyer::realtimeRefused, this, [&] { ++told; });
        // Told when the keyer is made ready, before any text.
        QVERIFY(!keyer.realtime());
        keyer.prepare();
        QTRY_COMPARE(told, 1);
        QCOMPARE(keyer.realtime(), std::optional(false));
        keyer.prepare();
        QVERIFY(sendAndWait(keyer, QStringLiteral("e"), ControlLine::Dtr) > 0);
        QVERIFY(sendAndWait(keyer, QStringLiteral("e"), ControlLine::Dtr) > 0);
        QTRY_COMPARE(told, 1);
        QCOMPARE(line.switches().size(), std::size_t(4)); // keyed all the same
    }

    void keyPortSwitchesOnlyAnOpenPortAndReportsRefusals()
    {
        KeyPort port;
        QVERIFY(port.setLine(ControlLine::Dtr, true).isEmpty()); // nothing open, nothing to do
        test::Pty pty;
        QVERIFY(!pty.path.isEmpty());
        QCOMPARE(port.open(pty.path), QString());
        QVERIFY(port.isOpen());
        // A terminal without modem lines refuses the switch, and says so.
        QVERIFY(!port.setLine(ControlLine::Rts, true).isEmpty());
        port.close();
        QVERIFY(!port.isOpen());
        QVERIFY(port.setLine(ControlLine::Rts, true).isEmpty());
    }

    void keyPortLowersBothLinesOnOpenAndClose()
    {
        // Only on a port named for it: a test must never key a transmitter wired to a port.
        const QString device = qEnvironmentVariable("VORTA_TEST_SERIAL");
        if (device.isEmpty())
            QSKIP("set VORTA_TEST_SERIAL to a serial device that may be keyed");
        // Watched through a descriptor of its own, opened first: every open of a terminal raises
        // both lines, and the port must lower them again.
        const int watch = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        QVERIFY(watch >= 0);
        const auto lines = [watch] {
            int bits = 0;
            ::ioctl(watch, TIOCMGET, &bits);
            return bits & (TIOCM_DTR | TIOCM_RTS);
        };
        QCOMPARE(lines(), TIOCM_DTR | TIOCM_RTS);
        KeyPort port;
        QCOMPARE(port.open(device), QString());
        QCOMPARE(lines(), 0);
        QCOMPARE(port.setLine(ControlLine::Dtr, true), QString());
        QCOMPARE(lines(), TIOCM_DTR);
        QCOMPARE(port.setLine(ControlLine::Rts, true), QString());
        QCOMPARE(port.setLine(ControlLine::Dtr, false), QString());
        QCOMPARE(lines(), TIOCM_RTS);
        QCOMPARE(port.open(device), QString()); // opened again, as a change of port does
        QCOMPARE(lines(), 0);
        QCOMPARE(port.setLine(ControlLine::Dtr, true), QString());
        port.close();
        QCOMPARE(lines(), 0);
        ::close(watch);
    }

    void testSignalBringsBackTheSpeedItStartedFrom()
    {
        Controlled run;
        KeyerControl &control = run.control;
        auto &[state, dialogs, port, session] = run.program;
        QVERIFY(!control.startTest()); // "Macros CW" not ticked
        QVERIFY(!session.keyer().realtime());
        // The first tick makes the keyer ready, before anything is sent.
        control.setMacrosShown(true);
        QTRY_VERIFY(session.keyer().realtime());
        control.setSpeed(18);
        QVERIFY(control.startTest());
        QCOMPARE(control.speed(), 25);
        QCOMPARE(session.keyer().unitMs(), 48);
        QVERIFY(!control.startTest()); // already sending
        control.endTest();
        QCOMPARE(control.speed(), 18);
        QTRY_VERIFY(!session.keyer().isSending());
        QTRY_VERIFY(control.status().isEmpty());
        control.endTest(); // no test running: the speed stays
        QCOMPARE(control.speed(), 18);
        control.setSpeed(41);
        QCOMPARE(control.speed(), 18);

        // Leaving the program cuts a text short, and the line is free when the answer returns.
        QVERIFY(control.startTest());
        dialogs.answers << true;
        QVERIFY(session.confirmExit());
        QVERIFY(!session.keyer().isSending());
    }

    void aPortMissingOrFailingIsToldAndNotKeyedBlindly()
    {
        Controlled run;
        KeyerControl &control = run.control;
        auto &[state, dialogs, port, session] = run.program;
        control.setMacrosShown(true);
        control.setSpeed(40);
        Settings settings = state.settings();
        settings.macros[0].text = QStringLiteral("eeeeeeee");
        settings.port = QStringLiteral("ttyVortaMissing9");
        state.setSettings(settings);

        // The configured port cannot be opened: the operator is told, nothing is "sent".
        QVERIFY(!control.sendMacro(0, {}));
        QVERIFY(!session.keyer().isSending());
        QCOMPARE(dialogs.texts().filter(QStringLiteral("ttyVortaMissing9")).size(), 1);

        // A port whose line cannot be switched (here a terminal without modem lines, as a port
        // whose adapter was pulled out): the text ends with one message and the port is closed.
        test::Pty pty;
        settings.port = pty.path;
        state.setSettings(settings);
        QVERIFY(control.sendMacro(0, {}));
        QVERIFY(port.isOpen());
        QTRY_VERIFY(!session.keyer().isSending());
        QTRY_VERIFY(!port.isOpen());
        const QString failed = text(Txt::MsgKeyerLineFailed, Language::Spanish).section(u'$', 0, 0);
        QTRY_COMPARE(dialogs.texts().filter(failed).size(), 1);
        QVERIFY(dialogs.texts().filter(failed).first().contains(pty.path));
    }
};

QTEST_GUILESS_MAIN(TestKeyer)
#include "tst_keyer.moc"
