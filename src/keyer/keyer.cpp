#include "keyer/keyer.h"

#include "keyer/morse.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>

#include <algorithm>

namespace vorta {

namespace {

using namespace std::chrono_literals;

// An edge that comes this late (the thread was not given the processor in time) starts the
// schedule afresh from the moment it was keyed, so that the following elements keep their
// length instead of being shortened to catch up.
constexpr auto kResync = 1ms;

inline void relax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

} // namespace

Keyer::Keyer(KeyLine &line, QObject *parent) : Keyer(line, Options{}, parent)
{
}

Keyer::Keyer(KeyLine &line, Options options, QObject *parent)
    : QObject(parent), m_line(line), m_options(options), m_unitOffset(*unitOffsetForSpeed(15))
{
}

Keyer::~Keyer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
        m_abort = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool Keyer::send(const QString &text, std::optional<ControlLine> line)
{
    if (m_sending.exchange(true))
        return false;
    m_stop = false;
    {
        const std::lock_guard lock(m_mutex);
        m_abort = false;
        m_job = Job{text, line};
    }
    prepare();
    m_wake.notify_all();
    return true;
}

void Keyer::prepare()
{
    // The thread runs from then on, waiting for each text in turn.
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
}

std::optional<bool> Keyer::realtime() const
{
    const int state = m_realtime.load();
    if (state == 0)
        return std::nullopt;
    return state > 0;
}

void Keyer::stop()
{
    if (m_sending)
        m_stop = true;
}

void Keyer::stopNow()
{
    std::unique_lock lock(m_mutex);
    if (!m_sending)
        return;
    m_abort = true;
    m_wake.notify_all();
    m_idle.wait(lock, [this] { return !m_sending.load(); });
}

bool Keyer::setSpeed(int wordsPerMinute)
{
    const auto offset = unitOffsetForSpeed(wordsPerMinute);
    if (!offset)
        return false;
    m_unitOffset = *offset;
    return true;
}

int Keyer::unitMs() const
{
    return unitFromOffset(m_unitOffset);
}

void Keyer::keyManually(ControlLine line, bool down)
{
    emit keyChanged(down);
    m_line.setLine(line, down);
}

bool Keyer::raisePriority()
{
    sched_param param{};
    param.sched_priority = kKeyerPriority;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
        return true;
    // A user limit below our priority still allows real-time scheduling at that limit.
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) != 0 || limit.rlim_cur == 0)
        return false;
    param.sched_priority = int(std::min<rlim_t>(limit.rlim_cur, kKeyerPriority));
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

void Keyer::run()
{
    const bool granted = m_options.realtime && raisePriority();
    m_realtime = granted ? 1 : -1;
    if (!granted && !m_quit)
        emit realtimeRefused();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_job.has_value(); });
        if (m_quit)
            return;
        const Job job = std::move(*m_job);
        m_job.reset();
        lock.unlock();
        sendText(job);
        lock.lock();
        m_stop = false;
        m_sending = false;
        m_idle.notify_all();
        if (!m_quit)
            emit finished();
    }
}

bool Keyer::waitUntil(Clock::time_point moment, bool precise)
{
    // Sleep until shortly before the moment, then watch the clock: waking from a sleep is
    // never punctual to a fraction of a millisecond, the clock is.
    const Clock::time_point wake = moment - m_options.spinMargin;
    if (Clock::now() < wake) {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_until(lock, wake, [this] { return m_abort.load(); }))
            return false;
    }
    if (precise)
        while (Clock::now() < moment)
            relax();
    return !m_abort;
}

void Keyer::sendText(const Job &job)
{
    // The leading blank gives one character time of silence before the first sign.
    const QString text = (QLatin1Char(' ') + job.text).toLower();
    std::vector<KeySegment> segments;
    segments.reserve(32);
    bool down = false;
    QString error;
    Clock::time_point edge = Clock::now();
    bool keying = true;
    for (const QChar c : text) {
        if (!isSkipped(c)) {
            // The speed is read anew for every character.
            segments.clear();
            appendCharacter(c, unitFromOffset(m_unitOffset), segments);
            for (const KeySegment &segment : segments) {
                if (job.line && segment.down != down) {
                    if (!waitUntil(edge, true)) {
                        keying = false;
                        break;
                    }
                    const Clock::time_point keyed = Clock::now();
                    error = m_line.setLine(*job.line, segment.down);
                    if (!error.isEmpty()) {
                        keying = false;
                        break;
                    }
                    down = segment.down;
                    if (m_options.edgeLateness)
                        m_options.edgeLateness->push_back(keyed - edge);
                    if (keyed - edge > kResync)
                        edge = keyed;
                    if (!m_quit)
                        emit keyChanged(down);
                }
                edge += std::chrono::milliseconds(segment.ms);
            }
            // The character's time runs out before the stop flag is looked at.
            if (!keying || !waitUntil(edge, false))
                break;
        }
        if (m_stop || m_abort)
            break;
    }
    // Whatever ended the text, the transmitter must not stay keyed.
    if (down || !error.isEmpty()) {
        m_line.setLine(*job.line, false);
        if (!m_quit)
            emit keyChanged(false);
    }
    if (!error.isEmpty() && !m_quit)
        emit lineFailed(error);
}

} // namespace vorta
