// Passes of a satellite over the station: when it rises (AOS), culminates and sets (LOS), and
// the track it draws across the sky in between.
#pragma once

#include "tracking/lookangles.h"
#include "tracking/sgp4.h"

#include <QList>

#include <optional>

namespace vorta {

// One pass above the horizon (elevation 0). Times are UTC seconds.
struct Pass
{
    double aos = 0; // the rise; when rises is false, the earliest instant searched
    double los = 0; // the set; when sets is false, the last instant searched
    // False when the satellite was already up as far back as the search looks (a
    // geostationary satellite never rises).
    bool rises = true;
    // False when the satellite was still up as far ahead as the search looks, or its orbit
    // could not be computed any further (it decayed).
    bool sets = true;
    double maxTime = 0;
    double maxElevation = 0; // degrees
    double aosAzimuth = 0, maxAzimuth = 0, losAzimuth = 0;

    bool inProgress(double utc) const { return aos <= utc && utc < los; }
};

// A point of a satellite's track across the sky.
struct SkyPoint
{
    double utc = 0;
    double azimuth = 0, elevation = 0;
};

class PassPredictor
{
public:
    // How far a pass is followed beyond the span asked for, back to its rise or on to its set.
    static constexpr double kFollowSeconds = 86400.0;
    // Passes shorter than this (grazes of a few hundredths of a degree) may be missed.
    static constexpr double kShortestPassSeconds = 10.0;

    // The orbit must outlive the predictor.
    PassPredictor(const Sgp4 &orbit, const Observer &observer);

    // The satellite as the station sees it; nothing when its orbit cannot be computed then.
    std::optional<LookAngles> look(double utc) const;

    // The passes in progress at from or rising before to, in time order; each is followed to
    // its rise and set (up to kFollowSeconds beyond the span).
    QList<Pass> passes(double from, double to) const;
    // The pass in progress at from, or else the first one to rise within the given seconds.
    std::optional<Pass> nextPass(double from, double within = 86400.0) const;

    // Points of a pass from its rise to its set, every stepSeconds, both ends included.
    QList<SkyPoint> track(const Pass &pass, double stepSeconds = 10.0) const;

    // The positions computed so far: the measure of the work done, for callers that spread
    // their searches over time.
    qsizetype looks() const { return m_looks; }

private:
    QList<Pass> scan(double from, double to, qsizetype count) const;
    // A time step after which the satellite cannot yet have crossed the horizon, seen from a
    // sample at the given range and elevation.
    double safeStep(const LookAngles &look, bool inPass) const;
    double crossing(double before, double elevationBefore, double after, double elevationAfter) const;
    double highest(double from, double to) const;
    double elevationAt(double utc) const;

    const Sgp4 &m_orbit;
    Observer m_observer;
    double m_maxSpeed = 0;   // km/s, an upper bound of the satellite's speed over the ground
    double m_maxInPassStep = 0;
    mutable qsizetype m_looks = 0;
};

} // namespace vorta
