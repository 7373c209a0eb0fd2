#include "tracking/passes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace vorta {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Below the horizon the scan never waits longer than this between two looks.
constexpr double kLongestStep = 3600.0;
// Rise and set are found to this many seconds.
constexpr double kTimeTolerance = 0.05;
// The highest point is found to this many seconds: the peak of a pass straight overhead is
// sharp, the elevation turning there at a degree a second.
constexpr double kPeakTolerance = 0.01;
// An elevation for instants whose orbit cannot be computed.
constexpr double kNoElevation = -std::numeric_limits<double>::infinity();

} // namespace

PassPredictor::PassPredictor(const Sgp4 &orbit, const Observer &observer)
    : m_orbit(orbit)
    , m_observer(observer)
{
    // The fastest the satellite can move relative to the station: its speed at perigee plus
    // the earth-fixed frame's own turning at apogee, with a margin for the mean elements not
    // being the osculating ones.
    const double apogee = orbit.semiMajorAxisKm() * (1.0 + orbit.eccentricity());
    m_maxSpeed = 1.1 * (orbit.perigeeSpeedKmS() + kEarthRotationRadS * apogee) + 0.5;
    // Within a pass the scan looks often enough for the highest point to stand out.
    m_maxInPassStep = std::max(120.0, orbit.periodMinutes() * 60.0 / 50.0);
}

std::optional<LookAngles> PassPredictor::look(double utc) const
{
    ++m_looks;
    const Sgp4Result result = m_orbit.at(utc);
    if (!result.ok())
        return std::nullopt;
    return lookAngles(m_observer, result.state, utc);
}

double PassPredictor::elevationAt(double utc) const
{
    const std::optional<LookAngles> l = look(utc);
    return l ? l->elevation : kNoElevation;
}

double PassPredictor::safeStep(const LookAngles &look, bool inPass) const
{
    // In a step of h seconds the satellite moves at most d = speed·h; seen from the range r
    // its direction then turns by at most asin(d / r), so it cannot reach the horizon before
    // d = r·sin|elevation|. A tenth is kept in reserve.
    const double step = 0.9 * look.rangeKm * std::sin(std::fabs(look.elevation) * kDegree) / m_maxSpeed;
    return std::clamp(step, kShortestPassSeconds, inPass ? m_maxInPassStep : kLongestStep);
}

double PassPredictor::crossing(double t0, double e0, double t1, double e1) const
{
    // Regula falsi with the Illinois modification; a side without an orbit counts as deep
    // below the horizon and is approached by halving.
    int side = 0;
    while (t1 - t0 > kTimeTolerance) {
        double t;
        if (std::isinf(e0) || std::isinf(e1))
            t = 0.5 * (t0 + t1);
        else
            t = t0 + (t1 - t0) * e0 / (e0 - e1);
        t = std::clamp(t, t0 + 0.25 * kTimeTolerance, t1 - 0.25 * kTimeTolerance);
        const double e = elevationAt(t);
        if ((e < 0) == (e0 < 0)) {
            t0 = t;
            e0 = e;
            if (side == -1 && !std::isinf(e1))
                e1 *= 0.5;
            side = -1;
        } else {
            t1 = t;
            e1 = e;
            if (side == 1 && !std::isinf(e0))
                e0 *= 0.5;
            side = 1;
        }
    }
    return 0.5 * (t0 + t1);
}

double PassPredictor::highest(double a, double b) const
{
    // Golden-section search: the elevation has one peak between the samples around the best.
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    double c = b - ratio * (b - a);
    double d = a + ratio * (b - a);
    double ec = elevationAt(c), ed = elevationAt(d);
    while (b - a > kPeakTolerance) {
        if (ec > ed) {
            b = d;
            d = c;
            ed = ec;
            c = b - ratio * (b - a);
            ec = elevationAt(c);
        } else {
            a = c;
            c = d;
            ec = ed;
            d = a + ratio * (b - a);
            ed = elevationAt(d);
        }
    }
    return ec > ed ? c : d;
}

QList<Pass> PassPredictor::scan(double from, double to, qsizetype count) const
{
    QList<Pass> found;
    double t = from;
    std::optional<LookAngles> now = look(from);
    if (!now)
        return found;

    Pass pass;
    bool inPass = false;
    // The best sample of the pass so far and the samples on either side of it.
    double bestTime = 0, bestElevation = kNoElevation, beforeBest = 0, afterBest = 0;
    bool afterKnown = false;
    const auto startPass = [&](double aos, bool rises) {
        pass = Pass();
        pass.aos = aos;
        pass.rises = rises;
        inPass = true;
        bestElevation = kNoElevation;
        afterKnown = false;
    };
    const auto notePeak = [&](double before, double sample, double elevation) {
        if (elevation > bestElevation) {
            bestElevation = elevation;
            bestTime = sample;
            beforeBest = before;
            afterKnown = false;
        } else if (!afterKnown) {
            afterBest = sample;
            afterKnown = true;
        }
    };
    const auto finishPass = [&](double los, bool sets) {
        pass.los = los;
        pass.sets = sets;
        const double a = std::max(beforeBest, pass.aos);
        const double b = afterKnown ? std::min(afterBest, los) : los;
        pass.maxTime = b - a > kPeakTolerance ? highest(a, b) : bestTime;
        std::optional<LookAngles> top = look(pass.maxTime);
        if (!top || top->elevation < bestElevation) {
            pass.maxTime = bestTime;
            top = look(bestTime);
        }
        const std::optional<LookAngles> rise = look(pass.aos);
        const std::optional<LookAngles> set = look(pass.los);
        pass.maxElevation = top ? top->elevation : bestElevation;
        pass.maxAzimuth = top ? top->azimuth : 0.0;
        pass.aosAzimuth = rise ? rise->azimuth : 0.0;
        pass.losAzimuth = set ? set->azimuth : 0.0;
        found.append(pass);
        inPass = false;
    };

    if (now->elevation >= 0) {
        // Already up: look back for the rise, and scan the pass from just before it, so that
        // its highest point is found whether it came before or after the start.
        double back = from;
        LookAngles atBack = *now;
        for (;;) {
            if (back <= from - kFollowSeconds) {
                startPass(back, false);
                notePeak(back, back, atBack.elevation);
                break;
            }
            const double earlier = back - safeStep(atBack, true);
            const std::optional<LookAngles> l = look(earlier);
            if (!l) {
                // No orbit before this: the pass starts where the orbit does.
                startPass(crossing(earlier, kNoElevation, back, atBack.elevation), true);
                notePeak(back, back, atBack.elevation);
                break;
            }
            if (l->elevation < 0) {
                back = earlier;
                atBack = *l;
                break;
            }
            back = earlier;
            atBack = *l;
        }
        t = back;
        now = atBack;
    }

    for (;;) {
        if (!inPass && (t >= to || found.size() >= count))
            break;
        if (inPass && t >= to + kFollowSeconds) {
            finishPass(t, false);
            break;
        }
        const double next = t + safeStep(*now, inPass);
        const std::optional<LookAngles> later = look(next);
        if (!later) {
            // The orbit ends here (the satellite decayed): no more passes.
            if (inPass)
                finishPass(t, false);
            break;
        }
        if (!inPass && later->elevation >= 0) {
            startPass(crossing(t, now->elevation, next, later->elevation), true);
            notePeak(t, next, later->elevation);
        } else if (inPass) {
            notePeak(t, next, later->elevation);
            if (later->elevation < 0)
                finishPass(crossing(t, now->elevation, next, later->elevation), true);
        }
        t = next;
        now = later;
    }
    // A pass that rose after the span is not one of its passes (the last step may overshoot).
    while (!found.isEmpty() && found.last().rises && found.last().aos >= to)
        found.removeLast();
    return found;
}

QList<Pass> PassPredictor::passes(double from, double to) const
{
    return scan(from, to, std::numeric_limits<qsizetype>::max());
}

std::optional<Pass> PassPredictor::nextPass(double from, double within) const
{
    const QList<Pass> found = scan(from, from + within, 1);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QList<SkyPoint> PassPredictor::track(const Pass &pass, double stepSeconds) const
{
    QList<SkyPoint> points;
    if (stepSeconds <= 0 || pass.los < pass.aos)
        return points;
    const auto add = [&](double utc) {
        if (const std::optional<LookAngles> l = look(utc))
            points.append({utc, l->azimuth, l->elevation});
    };
    for (double utc = pass.aos; utc < pass.los; utc += stepSeconds)
        add(utc);
    add(pass.los);
    return points;
}

} // namespace vorta
