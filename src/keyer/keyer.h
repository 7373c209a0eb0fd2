// The Morse sender: keys a text on a KeyLine from a thread of its own, so that its timing does
// not depend on the event loop. Each key edge is slept towards and then waited for on the
// steady clock, under real-time priority when the system grants it.
//
// Called from the user-interface thread only; its signals arrive there queued.
#pragma once

#include "keyer/keyline.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vorta {

// The SCHED_FIFO priority the sender's thread asks for: above every ordinary thread, below the
// system's own real-time threads (interrupt handlers run at 50).
inline constexpr int kKeyerPriority = 10;

class Keyer : public QObject
{
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    struct Options
    {
        // Ask for SCHED_FIFO for the sender's thread. Off only to measure without it.
        bool realtime = true;
        // How long before an edge the thread stops sleeping and watches the clock instead:
        // longer than the system's wake-up delay, short enough not to waste a core.
        std::chrono::microseconds spinMargin{1500};
        // When set, the lateness of every key edge is appended here by the sender's thread;
        // read it only while nothing is being sent. For measurements.
        std::vector<std::chrono::nanoseconds> *edgeLateness = nullptr;
    };

    explicit Keyer(KeyLine &line, QObject *parent = nullptr);
    Keyer(KeyLine &line, Options options, QObject *parent = nullptr);
    // Stops a running text at once and releases the line before returning.
    ~Keyer() override;

    // Starts the sender's thread, which asks for real-time priority, ahead of the first text:
    // the operator is then told of a refusal (realtimeRefused) when the keyer is made ready, not
    // in the middle of a pass. send() starts it as well.
    void prepare();
    // Whether the sender's thread runs under real-time priority; nothing before it started.
    std::optional<bool> realtime() const;

    // Starts sending a blank (one character time of silence) and then text, keying line; with
    // no line the text takes its full time but nothing is switched. False, and nothing
    // happens, while another text is being sent.
    bool send(const QString &text, std::optional<ControlLine> line);
    bool isSending() const { return m_sending.load(); }
    // The running text ends after the character being sent. Nothing when idle: a stop asked
    // for between texts must not cut the next one short.
    void stop();
    // The running text ends now; returns once the line is released (the program is closing).
    void stopNow();

    // Takes the unit of a speed from 10 to 40 words per minute for the next character; any
    // other speed leaves the unit as it is (false).
    bool setSpeed(int wordsPerMinute);
    int unitMs() const;

    // The manual key: the indicator first, then the line itself. Errors are ignored, since
    // the operator hears at once whether the transmitter keys.
    void keyManually(ControlLine line, bool down);

signals:
    void keyChanged(bool down);
    // The text ended (exhausted, stopped, or cut by a line error); the keyer is idle.
    void finished();
    // The line could not be switched; the text was ended and the line released as far as it
    // can be. Emitted once per text.
    void lineFailed(const QString &error);
    // The sender's thread runs without real-time priority. Emitted once, when it starts.
    void realtimeRefused();

private:
    struct Job
    {
        QString text;
        std::optional<ControlLine> line;
    };

    void startThread();
    void run();
    void sendText(const Job &job);
    // Waits until the moment; false when stopNow interrupted the wait.
    bool waitUntil(Clock::time_point moment, bool precise);
    bool raisePriority();

    KeyLine &m_line;
    const Options m_options;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake; // a text to send, or an end to waiting
    std::condition_variable m_idle; // the text ended
    std::optional<Job> m_job; // guarded by m_mutex
    std::atomic<bool> m_quit{false}; // set under m_mutex; no signals once it is set
    std::atomic<bool> m_sending{false};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_abort{false};
    std::atomic<int> m_unitOffset;
    // 0 until the thread asked for its priority, then 1 when granted and -1 when refused.
    std::atomic<int> m_realtime{0};
};

} // namespace vorta
