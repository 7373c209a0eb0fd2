// How punctually the Morse sender keys: the lateness of every key edge against its planned
// moment, at 20 and 40 words per minute, once on an idle machine and once with the
// user-interface thread and a second core busy. Run from a Release build:
//
//   build/bench/bench_keyer [--no-realtime] [--seconds N] [--margin-us N]
//
// --no-realtime keeps the sender's thread at ordinary priority (as for a user without an rtprio
// limit); --margin-us 0 sleeps to every edge without watching the clock.
#include "keyer/keyer.h"
#include "keyer/morse.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

using namespace vorta;
using namespace std::chrono;

namespace {

// A line that switches nothing: the sender measures its own edges.
class NoLine : public KeyLine
{
public:
    QString setLine(ControlLine, bool) override { return {}; }
};

// A text of ordinary QSO traffic lasting about this long at the unit.
QString textLasting(seconds length, int unitMs)
{
    const QStringList words = QStringLiteral("cq cq de xx1aa xx1aa k yy2bb de xx1aa ur 5nn in ab12cd 73 sk").split(u' ');
    QString text;
    std::vector<KeySegment> segments;
    for (qsizetype i = 0, elapsedMs = 0; elapsedMs < duration_cast<milliseconds>(length).count(); ++i) {
        const QString word = words[i % words.size()] + u' ';
        segments.clear();
        for (const QChar c : word)
            appendCharacter(c, unitMs, segments);
        for (const KeySegment &s : segments)
            elapsedMs += s.ms;
        text += word;
    }
    return text;
}

double percentile(const std::vector<double> &sorted, double p)
{
    return sorted[std::min(sorted.size() - 1, std::size_t(p * double(sorted.size() - 1) + 0.5))];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Keyer::Options options;
    int lengthSeconds = 20;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--no-realtime"))
            options.realtime = false;
        else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            lengthSeconds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--margin-us") && i + 1 < argc)
            options.spinMargin = microseconds(std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: %s [--no-realtime] [--seconds N] [--margin-us N]\n", argv[0]);
            return 2;
        }
    }

    std::printf("key-edge lateness, %d s of text per row, spin margin %lld us\n", lengthSeconds,
                (long long)options.spinMargin.count());
    std::printf("%-5s %-6s %8s %11s %9s %9s %10s %s\n", "wpm", "load", "edges", "median(us)", "p99(us)",
                "max(us)", ">0.1ms", "real-time");
    for (const int wpm : {20, 40}) {
        for (const bool busy : {false, true}) {
            NoLine line;
            std::vector<nanoseconds> lateness;
            lateness.reserve(100000);
            options.edgeLateness = &lateness;
            Keyer keyer(line, options);
            keyer.setSpeed(wpm);
            std::atomic<bool> refused{false};
            QObject::connect(&keyer, &Keyer::realtimeRefused, &keyer, [&] { refused = true; },
                             Qt::DirectConnection);

            // The second core's load; the user-interface thread's is this thread spinning below.
            std::atomic<bool> loaded{busy};
            std::thread other([&] {
                while (loaded.load(std::memory_order_relaxed)) {
                }
            });
            keyer.send(textLasting(seconds(lengthSeconds), keyer.unitMs()), ControlLine::Dtr);
            while (keyer.isSending()) {
                if (!busy)
                    std::this_thread::sleep_for(milliseconds(50));
            }
            loaded = false;
            other.join();

            std::vector<double> us;
            for (const nanoseconds late : lateness)
                us.push_back(double(late.count()) / 1000.0);
            std::sort(us.begin(), us.end());
            const auto late = std::count_if(us.begin(), us.end(), [](double u) { return u > 100; });
            std::printf("%-5d %-6s %8zu %11.1f %9.1f %9.1f %10td %s\n", wpm, busy ? "busy" : "idle", us.size(),
                        percentile(us, 0.5), percentile(us, 0.99), us.back(), late, refused ? "no" : "yes");
            std::fflush(stdout);
        }
    }
    return 0;
}
