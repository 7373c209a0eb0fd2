// The SGP4 propagator with its deep-space terms (SDP4): turns a satellite's mean elements into
// its position and velocity at any time.
//
// The propagator follows the published NORAD model as revised in 2006 (WGS-72 constants, the
// "improved" operation mode: sidereal time at epoch by the IAU-82 formula, the node left as the
// Lyddane modification gives it). Element sets are mean elements of exactly this model, so no
// other model may be used to propagate them.
//
// Positions and velocities are in km and km/s in the TEME frame (true equator, mean equinox of
// date), which the observer geometry turns to the earth-fixed frame.
#pragma once

#include "tracking/orbitalelements.h"

#include <array>
#include <memory>

namespace vorta {

struct StateVector
{
    std::array<double, 3> position{}; // km, TEME
    std::array<double, 3> velocity{}; // km/s, TEME
};

// Why the model gives no position. The numbers are the model's own error codes.
enum class Sgp4Error {
    None = 0,
    Eccentricity = 1,       // mean eccentricity outside [0, 1) (drag drove it there)
    MeanMotion = 2,         // mean motion no longer positive
    PerturbedEccentricity = 3,
    SemiLatusRectum = 4,    // the orbit has no shape left
    Decayed = 6,            // the satellite is below the earth's surface
    NotANumber = 100,       // the instant or the result is no number (not one of the model's)
};

struct Sgp4Result
{
    Sgp4Error error = Sgp4Error::None;
    StateVector state; // meaningful only without error
    bool ok() const { return error == Sgp4Error::None; }
};

class Sgp4
{
public:
    explicit Sgp4(const OrbitalElements &elements);

    const OrbitalElements &elements() const { return m_elements; }
    // The state at the epoch could be computed: the elements describe an orbit.
    bool valid() const { return m_initError == Sgp4Error::None; }
    // Orbits of 225 minutes and more take the deep-space terms (the sun's and the moon's pull,
    // and the earth's resonances with 12 h and 24 h orbits).
    bool deepSpace() const { return m_deepSpace; }

    // Minutes from the epoch to a UTC instant.
    double minutesSinceEpoch(double utc) const { return (utc - m_elements.epoch) / 60.0; }
    Sgp4Result propagate(double minutesSinceEpoch) const;
    Sgp4Result at(double utc) const { return propagate(minutesSinceEpoch(utc)); }

    // The mean orbit's shape, for bounds on how fast the satellite can move.
    double semiMajorAxisKm() const;
    double eccentricity() const { return m_ecco; }
    double periodMinutes() const;
    // The speed at perigee of the mean orbit (km/s), the fastest the satellite goes.
    double perigeeSpeedKmS() const;

    // The coefficients of the deep-space terms (defined with the propagator).
    struct DeepSpace;

private:
    struct Resonance
    {
        double atime = 0, xli = 0, xni = 0;
    };

    void initialise();
    void initialiseDeepSpace(double epoch1950, double xpidot, double eccsq);
    // The secular deep-space effects and the resonance integration up to t.
    void deepSpaceSecular(double t, double &em, double &argpm, double &inclm, double &mm,
                          double &nodem, double &nm) const;
    // The sun's and the moon's periodic effects at t.
    void deepSpacePeriodics(double t, double &ep, double &inclp, double &nodep, double &argpp,
                            double &mp) const;

    OrbitalElements m_elements;
    Sgp4Error m_initError = Sgp4Error::None;
    bool m_deepSpace = false;

    // Mean elements at epoch, radians and radians per minute.
    double m_ecco = 0, m_inclo = 0, m_nodeo = 0, m_argpo = 0, m_mo = 0, m_no = 0, m_bstar = 0;
    // Near-earth coefficients, named as in the published model.
    bool m_isimp = false;
    double m_aycof = 0, m_con41 = 0, m_cc1 = 0, m_cc4 = 0, m_cc5 = 0, m_d2 = 0, m_d3 = 0,
           m_d4 = 0, m_delmo = 0, m_eta = 0, m_argpdot = 0, m_omgcof = 0, m_sinmao = 0,
           m_t2cof = 0, m_t3cof = 0, m_t4cof = 0, m_t5cof = 0, m_x1mth2 = 0, m_x7thm1 = 0,
           m_mdot = 0, m_nodedot = 0, m_xlcof = 0, m_xmcof = 0, m_nodecf = 0, m_gsto = 0;
    std::shared_ptr<const DeepSpace> m_ds;
    // Where the resonance integration last stopped: its steps are the same whatever the order
    // of the calls, so continuing from there gives exactly what starting at epoch would. (So
    // one Sgp4 must not propagate on two threads at once.)
    mutable Resonance m_resonance;
};

// The sidereal time at Greenwich (radians, 0 to 2π) of a UTC instant by the IAU-82 formula,
// which also turns the model's TEME frame into the earth-fixed one.
double greenwichSiderealTime(double utc);

} // namespace vorta
