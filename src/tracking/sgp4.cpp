#include "tracking/sgp4.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorta {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDegree = kPi / 180.0;
constexpr double kMinutesPerDay = 1440.0;

// WGS-72, the earth model the element sets are fitted with.
constexpr double kMu = 398600.8;           // km³/s²
constexpr double kEarthRadius = 6378.135;  // km
constexpr double kJ2 = 0.001082616;
constexpr double kJ3 = -0.00000253881;
constexpr double kJ4 = -0.00000165597;
constexpr double kJ3oJ2 = kJ3 / kJ2;
const double kXke = 60.0 / std::sqrt(kEarthRadius * kEarthRadius * kEarthRadius / kMu); // 1/min
constexpr double kTwoThirds = 2.0 / 3.0;
// The divisor that stands in for 1 + cos i of an exactly retrograde equatorial orbit.
constexpr double kSmallDivisor = 1.5e-12;

// Julian dates of the model's reference days.
constexpr double kJulian1970 = 2440587.5; // 1970-01-01 00:00 UTC
constexpr double kJulian1950 = 2433281.5; // 1950 January 0.0, the model's epoch origin
constexpr double kJulian2000 = 2451545.0; // J2000.0

double julianDate(double utc) { return kJulian1970 + utc / 86400.0; }

} // namespace

double greenwichSiderealTime(double utc)
{
    const double t = (julianDate(utc) - kJulian2000) / 36525.0;
    // Seconds of sidereal time; 876600 h is one Julian century.
    const double seconds = -6.2e-6 * t * t * t + 0.093104 * t * t
                           + (876600.0 * 3600.0 + 8640184.812866) * t + 67310.54841;
    double theta = std::fmod(seconds * kDegree / 240.0, kTwoPi);
    if (theta < 0)
        theta += kTwoPi;
    return theta;
}

// ---- The propagator ------------------------------------------------------------------------

// The periodic effects of one perturbing body (the sun or the moon) on the orbit: its
// coefficients, and the body's own mean anomaly at epoch, mean motion and eccentricity.
struct BodyPeriodics
{
    double e2 = 0, e3 = 0, i2 = 0, i3 = 0, l2 = 0, l3 = 0, l4 = 0, gh2 = 0, gh3 = 0, gh4 = 0,
           h2 = 0, h3 = 0;
    double anomaly = 0, motion = 0, eccentricity = 0;
};

// Everything the deep-space terms keep from the initialisation, named as in the published model.
struct Sgp4::DeepSpace
{
    BodyPeriodics sun, moon;
    // Secular rates.
    double dedt = 0, didt = 0, dmdt = 0, dnodt = 0, domdt = 0;
    // Resonance: 0 none, 1 one-day (geosynchronous), 2 half-day (Molniya-like).
    int irez = 0;
    double d2201 = 0, d2211 = 0, d3210 = 0, d3222 = 0, d4410 = 0, d4422 = 0, d5220 = 0,
           d5232 = 0, d5421 = 0, d5433 = 0, del1 = 0, del2 = 0, del3 = 0, xfact = 0, xlamo = 0;
};

namespace {

// Lunar-solar constants of the deep-space terms.
constexpr double kZns = 1.19459e-5;
constexpr double kZes = 0.01675;
constexpr double kZnl = 1.5835218e-4;
constexpr double kZel = 0.05490;
// The earth's rotation in radians per minute, as the resonance terms count it.
constexpr double kRptim = 4.37526908801129966e-3;

// How one body (the sun or the moon) stands against the orbit at epoch.
struct BodyTerms
{
    double s1, s2, s3, s4, s5, s6, s7;
    double z1, z2, z3, z11, z12, z13, z21, z22, z23, z31, z32, z33;
};

// The deep-space set-up at epoch: the orbit's angles and both bodies' terms.
struct DeepSpaceCommon
{
    double sinim, cosim, em, emsq, nm;
    BodyTerms sun, moon;
};

// The periodic coefficients of a body; eccentricity is the body's own (of the earth's orbit
// for the sun, of the moon's).
BodyPeriodics bodyPeriodics(const BodyTerms &b, double emsq, double anomaly, double motion,
                            double eccentricity)
{
    BodyPeriodics p;
    p.e2 = 2.0 * b.s1 * b.s6;
    p.e3 = 2.0 * b.s1 * b.s7;
    p.i2 = 2.0 * b.s2 * b.z12;
    p.i3 = 2.0 * b.s2 * (b.z13 - b.z11);
    p.l2 = -2.0 * b.s3 * b.z2;
    p.l3 = -2.0 * b.s3 * (b.z3 - b.z1);
    p.l4 = -2.0 * b.s3 * (-21.0 - 9.0 * emsq) * eccentricity;
    p.gh2 = 2.0 * b.s4 * b.z32;
    p.gh3 = 2.0 * b.s4 * (b.z33 - b.z31);
    p.gh4 = -18.0 * b.s4 * eccentricity;
    p.h2 = -2.0 * b.s2 * b.z22;
    p.h3 = -2.0 * b.s2 * (b.z23 - b.z21);
    p.anomaly = anomaly;
    p.motion = motion;
    p.eccentricity = eccentricity;
    return p;
}

// A body's periodic changes of eccentricity, inclination, mean anomaly, argument of perigee
// (with the node's share) and node, t minutes from epoch.
struct ElementChange
{
    double e = 0, i = 0, l = 0, gh = 0, h = 0;
};

ElementChange periodicChange(const BodyPeriodics &p, double t)
{
    const double zm = p.anomaly + p.motion * t;
    const double zf = zm + 2.0 * p.eccentricity * std::sin(zm);
    const double sinzf = std::sin(zf);
    const double f2 = 0.5 * sinzf * sinzf - 0.25;
    const double f3 = -0.5 * sinzf * std::cos(zf);
    return {p.e2 * f2 + p.e3 * f3, p.i2 * f2 + p.i3 * f3, p.l2 * f2 + p.l3 * f3 + p.l4 * sinzf,
            p.gh2 * f2 + p.gh3 * f3 + p.gh4 * sinzf, p.h2 * f2 + p.h3 * f3};
}

// A body's secular rates: eccentricity, inclination, mean anomaly, argument of perigee and
// node (the last two before the inclination's share is taken).
ElementChange secularRates(const BodyTerms &b, double motion, double emsq)
{
    return {b.s1 * motion * b.s5, b.s2 * motion * (b.z11 + b.z13),
            -motion * b.s3 * (b.z1 + b.z3 - 14.0 - 6.0 * emsq), b.s4 * motion * (b.z31 + b.z33 - 6.0),
            -motion * b.s2 * (b.z21 + b.z23)};
}

// The sun's and the moon's geometry at epoch and the coefficients of their effects on an orbit
// (ep, argpp, inclp, nodep, np: eccentricity, argument of perigee, inclination, node, mean
// motion). epoch counts days from 1950 January 0.0.
DeepSpaceCommon deepSpaceCommon(double epoch, double ep, double argpp, double inclp, double nodep,
                                double np, Sgp4::DeepSpace &ds)
{
    constexpr double c1ss = 2.9864797e-6, c1l = 4.7968065e-7;
    constexpr double zsinis = 0.39785416, zcosis = 0.91744867;
    constexpr double zcosgs = 0.1945905, zsings = -0.98088458;

    DeepSpaceCommon c{};
    c.nm = np;
    c.em = ep;
    const double snodm = std::sin(nodep), cnodm = std::cos(nodep);
    const double sinomm = std::sin(argpp), cosomm = std::cos(argpp);
    c.sinim = std::sin(inclp);
    c.cosim = std::cos(inclp);
    c.emsq = c.em * c.em;
    const double betasq = 1.0 - c.emsq;
    const double rtemsq = std::sqrt(betasq);

    // The moon's node and the sun's and moon's mean longitudes, in days from 1900 January 0.5.
    const double day = epoch + 18261.5;
    const double xnodce = std::fmod(4.5236020 - 9.2422029e-4 * day, kTwoPi);
    const double stem = std::sin(xnodce);
    const double ctem = std::cos(xnodce);
    const double zcosil = 0.91375164 - 0.03568096 * ctem;
    const double zsinil = std::sqrt(1.0 - zcosil * zcosil);
    const double zsinhl = 0.089683511 * stem / zsinil;
    const double zcoshl = std::sqrt(1.0 - zsinhl * zsinhl);
    const double gam = 5.8351514 + 0.0019443680 * day;
    double zx = 0.39785416 * stem / zsinil;
    const double zy = zcoshl * ctem + 0.91744867 * zsinhl * stem;
    zx = std::atan2(zx, zy);
    zx = gam + zx - xnodce;

    // The same terms for the sun, then for the moon.
    struct Body
    {
        double zcosg, zsing, zcosi, zsini, zcosh, zsinh, cc;
    };
    const Body bodies[2] = {
        {zcosgs, zsings, zcosis, zsinis, cnodm, snodm, c1ss},
        {std::cos(zx), std::sin(zx), zcosil, zsinil, zcoshl * cnodm + zsinhl * snodm,
         snodm * zcoshl - cnodm * zsinhl, c1l},
    };
    const double xnoi = 1.0 / c.nm;
    for (int body = 0; body < 2; ++body) {
        const Body &z = bodies[body];
        BodyTerms &b = body == 0 ? c.sun : c.moon;
        const double a1 = z.zcosg * z.zcosh + z.zsing * z.zcosi * z.zsinh;
        const double a3 = -z.zsing * z.zcosh + z.zcosg * z.zcosi * z.zsinh;
        const double a7 = -z.zcosg * z.zsinh + z.zsing * z.zcosi * z.zcosh;
        const double a8 = z.zsing * z.zsini;
        const double a9 = z.zsing * z.zsinh + z.zcosg * z.zcosi * z.zcosh;
        const double a10 = z.zcosg * z.zsini;
        const double a2 = c.cosim * a7 + c.sinim * a8;
        const double a4 = c.cosim * a9 + c.sinim * a10;
        const double a5 = -c.sinim * a7 + c.cosim * a8;
        const double a6 = -c.sinim * a9 + c.cosim * a10;

        const double x1 = a1 * cosomm + a2 * sinomm;
        const double x2 = a3 * cosomm + a4 * sinomm;
        const double x3 = -a1 * sinomm + a2 * cosomm;
        const double x4 = -a3 * sinomm + a4 * cosomm;
        const double x5 = a5 * sinomm;
        const double x6 = a6 * sinomm;
        const double x7 = a5 * cosomm;
        const double x8 = a6 * cosomm;

        b.z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
        b.z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
        b.z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
        b.z1 = 3.0 * (a1 * a1 + a2 * a2) + b.z31 * c.emsq;
        b.z2 = 6.0 * (a1 * a3 + a2 * a4) + b.z32 * c.emsq;
        b.z3 = 3.0 * (a3 * a3 + a4 * a4) + b.z33 * c.emsq;
        b.z11 = -6.0 * a1 * a5 + c.emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
        b.z12 = -6.0 * (a1 * a6 + a3 * a5)
                + c.emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
        b.z13 = -6.0 * a3 * a6 + c.emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
        b.z21 = 6.0 * a2 * a5 + c.emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
        b.z22 = 6.0 * (a4 * a5 + a2 * a6)
                + c.emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
        b.z23 = 6.0 * a4 * a6 + c.emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
        b.z1 = b.z1 + b.z1 + betasq * b.z31;
        b.z2 = b.z2 + b.z2 + betasq * b.z32;
        b.z3 = b.z3 + b.z3 + betasq * b.z33;
        b.s3 = z.cc * xnoi;
        b.s2 = -0.5 * b.s3 / rtemsq;
        b.s4 = b.s3 * rtemsq;
        b.s1 = -15.0 * c.em * b.s4;
        b.s5 = x1 * x3 + x2 * x4;
        b.s6 = x2 * x3 + x1 * x4;
        b.s7 = x2 * x4 - x1 * x3;
    }

    ds.sun = bodyPeriodics(c.sun, c.emsq, std::fmod(6.2565837 + 0.017201977 * day, kTwoPi), kZns, kZes);
    ds.moon = bodyPeriodics(c.moon, c.emsq, std::fmod(4.7199672 + 0.22997150 * day - gam, kTwoPi), kZnl, kZel);
    return c;
}

} // namespace

Sgp4::Sgp4(const OrbitalElements &elements)
    : m_elements(elements)
{
    initialise();
}

double Sgp4::semiMajorAxisKm() const
{
    return std::pow(kXke / m_no, kTwoThirds) * kEarthRadius;
}

double Sgp4::periodMinutes() const
{
    return kTwoPi / m_no;
}

double Sgp4::perigeeSpeedKmS() const
{
    const double e = std::min(m_ecco, 0.99);
    return std::sqrt(kMu / semiMajorAxisKm() * (1.0 + e) / (1.0 - e));
}

void Sgp4::initialise()
{
    const OrbitalElements &e = m_elements;
    m_ecco = e.eccentricity;
    m_inclo = e.inclination * kDegree;
    m_nodeo = e.raan * kDegree;
    m_argpo = e.argumentOfPerigee * kDegree;
    m_mo = e.meanAnomaly * kDegree;
    m_bstar = e.bstar;
    const double noKozai = e.meanMotion * kTwoPi / kMinutesPerDay;
    const double epoch1950 = e.epoch / 86400.0 + (kJulian1970 - kJulian1950);

    // Auxiliary epoch quantities, and the mean motion turned from the element set's (Kozai)
    // convention into the model's own (Brouwer).
    const double eccsq = m_ecco * m_ecco;
    const double omeosq = 1.0 - eccsq;
    const double rteosq = std::sqrt(omeosq);
    const double cosio = std::cos(m_inclo);
    const double cosio2 = cosio * cosio;
    const double ak = std::pow(kXke / noKozai, kTwoThirds);
    const double d1 = 0.75 * kJ2 * (3.0 * cosio2 - 1.0) / (rteosq * omeosq);
    double del = d1 / (ak * ak);
    const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
    del = d1 / (adel * adel);
    m_no = noKozai / (1.0 + del);
    const double ao = std::pow(kXke / m_no, kTwoThirds);
    const double sinio = std::sin(m_inclo);
    const double po = ao * omeosq;
    const double con42 = 1.0 - 5.0 * cosio2;
    m_con41 = -con42 - cosio2 - cosio2;
    const double posq = po * po;
    const double rp = ao * (1.0 - m_ecco);
    m_gsto = greenwichSiderealTime(e.epoch);

    // The atmosphere's density model: its reference heights (78 km and 120 km) in earth radii,
    // lowered for perigees below 156 km.
    const double ss = 78.0 / kEarthRadius + 1.0;
    const double qzms2t = std::pow((120.0 - 78.0) / kEarthRadius, 4.0);

    m_isimp = rp < (220.0 / kEarthRadius + 1.0);
    double sfour = ss;
    double qzms24 = qzms2t;
    const double perigee = (rp - 1.0) * kEarthRadius;
    if (perigee < 156.0) {
        sfour = perigee - 78.0;
        if (perigee < 98.0)
            sfour = 20.0;
        qzms24 = std::pow((120.0 - sfour) / kEarthRadius, 4.0);
        sfour = sfour / kEarthRadius + 1.0;
    }
    const double pinvsq = 1.0 / posq;
    const double tsi = 1.0 / (ao - sfour);
    m_eta = ao * m_ecco * tsi;
    const double etasq = m_eta * m_eta;
    const double eeta = m_ecco * m_eta;
    const double psisq = std::fabs(1.0 - etasq);
    const double coef = qzms24 * std::pow(tsi, 4.0);
    const double coef1 = coef / std::pow(psisq, 3.5);
    const double cc2 = coef1 * m_no
                       * (ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq))
                          + 0.375 * kJ2 * tsi / psisq * m_con41 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
    m_cc1 = m_bstar * cc2;
    double cc3 = 0.0;
    if (m_ecco > 1.0e-4)
        cc3 = -2.0 * coef * tsi * kJ3oJ2 * m_no * sinio / m_ecco;
    m_x1mth2 = 1.0 - cosio2;
    m_cc4 = 2.0 * m_no * coef1 * ao * omeosq
            * (m_eta * (2.0 + 0.5 * etasq) + m_ecco * (0.5 + 2.0 * etasq)
               - kJ2 * tsi / (ao * psisq)
                     * (-3.0 * m_con41 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta))
                        + 0.75 * m_x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq))
                              * std::cos(2.0 * m_argpo)));
    m_cc5 = 2.0 * coef1 * ao * omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
    const double cosio4 = cosio2 * cosio2;
    const double temp1 = 1.5 * kJ2 * pinvsq * m_no;
    const double temp2 = 0.5 * temp1 * kJ2 * pinvsq;
    const double temp3 = -0.46875 * kJ4 * pinvsq * pinvsq * m_no;
    m_mdot = m_no + 0.5 * temp1 * rteosq * m_con41
             + 0.0625 * temp2 * rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
    m_argpdot = -0.5 * temp1 * con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4)
                + temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
    const double xhdot1 = -temp1 * cosio;
    m_nodedot = xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
    const double xpidot = m_argpdot + m_nodedot;
    m_omgcof = m_bstar * cc3 * std::cos(m_argpo);
    m_xmcof = 0.0;
    if (m_ecco > 1.0e-4)
        m_xmcof = -kTwoThirds * coef * m_bstar / eeta;
    m_nodecf = 3.5 * omeosq * xhdot1 * m_cc1;
    m_t2cof = 1.5 * m_cc1;
    const double onePlusCos = std::fabs(cosio + 1.0) > kSmallDivisor ? 1.0 + cosio : kSmallDivisor;
    m_xlcof = -0.25 * kJ3oJ2 * sinio * (3.0 + 5.0 * cosio) / onePlusCos;
    m_aycof = -0.5 * kJ3oJ2 * sinio;
    const double delmotemp = 1.0 + m_eta * std::cos(m_mo);
    m_delmo = delmotemp * delmotemp * delmotemp;
    m_sinmao = std::sin(m_mo);
    m_x7thm1 = 7.0 * cosio2 - 1.0;

    if (kTwoPi / m_no >= 225.0) {
        m_deepSpace = true;
        m_isimp = true;
        initialiseDeepSpace(epoch1950, xpidot, eccsq);
    }

    if (!m_isimp) {
        const double cc1sq = m_cc1 * m_cc1;
        m_d2 = 4.0 * ao * tsi * cc1sq;
        const double temp = m_d2 * tsi * m_cc1 / 3.0;
        m_d3 = (17.0 * ao + sfour) * temp;
        m_d4 = 0.5 * temp * ao * tsi * (221.0 * ao + 31.0 * sfour) * m_cc1;
        m_t3cof = m_d2 + 2.0 * cc1sq;
        m_t4cof = 0.25 * (3.0 * m_d3 + m_cc1 * (12.0 * m_d2 + 10.0 * cc1sq));
        m_t5cof = 0.2 * (3.0 * m_d4 + 12.0 * m_cc1 * m_d3 + 6.0 * m_d2 * m_d2
                         + 15.0 * cc1sq * (2.0 * m_d2 + cc1sq));
    }

    m_initError = propagate(0.0).error;
}

void Sgp4::initialiseDeepSpace(double epoch1950, double xpidot, double eccsq)
{
    auto ds = std::make_shared<DeepSpace>();
    const DeepSpaceCommon c = deepSpaceCommon(epoch1950, m_ecco, m_argpo, m_inclo, m_nodeo, m_no, *ds);
    const double inclm = m_inclo;
    double em = c.em;
    double emsq = c.emsq;
    const double nm = c.nm;

    constexpr double q22 = 1.7891679e-6, q31 = 2.1460748e-6, q33 = 2.2123015e-7;
    constexpr double root22 = 1.7891679e-6, root44 = 7.3636953e-9, root54 = 2.1765803e-9;
    constexpr double root32 = 3.7393792e-7, root52 = 1.1428639e-7;
    // Within 3 degrees of the equator the node is undefined: no secular change is given to it.
    constexpr double nearEquatorial = 5.2359877e-2;

    // Orbits of about one day (geosynchronous) and, eccentric enough, of about half a day
    // resonate with the earth's gravity field.
    if (nm < 0.0052359877 && nm > 0.0034906585)
        ds->irez = 1;
    if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5)
        ds->irez = 2;

    // The sun's and the moon's secular effects; the node's rate moves the argument of perigee
    // by its share cos i.
    const bool equatorial = inclm < nearEquatorial || inclm > kPi - nearEquatorial;
    for (const ElementChange &rate : {secularRates(c.sun, kZns, emsq), secularRates(c.moon, kZnl, emsq)}) {
        double node = equatorial ? 0.0 : rate.h;
        if (c.sinim != 0.0)
            node /= c.sinim;
        ds->dedt += rate.e;
        ds->didt += rate.i;
        ds->dmdt += rate.l;
        ds->domdt += rate.gh - c.cosim * node;
        ds->dnodt += node;
    }

    const double theta = std::fmod(m_gsto, kTwoPi);
    if (ds->irez != 0) {
        const double aonv = std::pow(nm / kXke, kTwoThirds);
        const double cosim = c.cosim, sinim = c.sinim;

        if (ds->irez == 2) {
            // Half-day resonance: the tesseral harmonics of the earth's field, with the
            // eccentricity functions fitted for e below and above 0.65 (and 0.7, 0.715).
            const double cosisq = cosim * cosim;
            const double emo = em;
            em = m_ecco;
            const double emsqo = emsq;
            emsq = eccsq;
            const double eoc = em * emsq;
            const double g201 = -0.306 - (em - 0.64) * 0.440;
            double g211, g310, g322, g410, g422, g520, g521, g532, g533;
            if (em <= 0.65) {
                g211 = 3.616 - 13.2470 * em + 16.2900 * emsq;
                g310 = -19.302 + 117.3900 * em - 228.4190 * emsq + 156.5910 * eoc;
                g322 = -18.9068 + 109.7927 * em - 214.6334 * emsq + 146.5816 * eoc;
                g410 = -41.122 + 242.6940 * em - 471.0940 * emsq + 313.9530 * eoc;
                g422 = -146.407 + 841.8800 * em - 1629.014 * emsq + 1083.4350 * eoc;
                g520 = -532.114 + 3017.977 * em - 5740.032 * emsq + 3708.2760 * eoc;
            } else {
                g211 = -72.099 + 331.819 * em - 508.738 * emsq + 266.724 * eoc;
                g310 = -346.844 + 1582.851 * em - 2415.925 * emsq + 1246.113 * eoc;
                g322 = -342.585 + 1554.908 * em - 2366.899 * emsq + 1215.972 * eoc;
                g410 = -1052.797 + 4758.686 * em - 7193.992 * emsq + 3651.957 * eoc;
                g422 = -3581.690 + 16178.110 * em - 24462.770 * emsq + 12422.520 * eoc;
                if (em > 0.715)
                    g520 = -5149.66 + 29936.92 * em - 54087.36 * emsq + 31324.56 * eoc;
                else
                    g520 = 1464.74 - 4664.75 * em + 3763.64 * emsq;
            }
            if (em < 0.7) {
                g533 = -919.22770 + 4988.6100 * em - 9064.7700 * emsq + 5542.21 * eoc;
                g521 = -822.71072 + 4568.6173 * em - 8491.4146 * emsq + 5337.524 * eoc;
                g532 = -853.66600 + 4690.2500 * em - 8624.7700 * emsq + 5341.4 * eoc;
            } else {
                g533 = -37995.780 + 161616.52 * em - 229838.20 * emsq + 109377.94 * eoc;
                g521 = -51752.104 + 218913.95 * em - 309468.16 * emsq + 146349.42 * eoc;
                g532 = -40023.880 + 170470.89 * em - 242699.48 * emsq + 115605.82 * eoc;
            }
            const double sini2 = sinim * sinim;
            const double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
            const double f221 = 1.5 * sini2;
            const double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
            const double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
            const double f441 = 35.0 * sini2 * f220;
            const double f442 = 39.3750 * sini2 * sini2;
            const double f522 = 9.84375 * sinim
                                * (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq)
                                   + 0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
            const double f523 = sinim
                                * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq)
                                   + 6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
            const double f542 = 29.53125 * sinim
                                * (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
            const double f543 = 29.53125 * sinim
                                * (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));
            const double xno2 = nm * nm;
            const double ainv2 = aonv * aonv;
            double temp1 = 3.0 * xno2 * ainv2;
            double temp = temp1 * root22;
            ds->d2201 = temp * f220 * g201;
            ds->d2211 = temp * f221 * g211;
            temp1 = temp1 * aonv;
            temp = temp1 * root32;
            ds->d3210 = temp * f321 * g310;
            ds->d3222 = temp * f322 * g322;
            temp1 = temp1 * aonv;
            temp = 2.0 * temp1 * root44;
            ds->d4410 = temp * f441 * g410;
            ds->d4422 = temp * f442 * g422;
            temp1 = temp1 * aonv;
            temp = temp1 * root52;
            ds->d5220 = temp * f522 * g520;
            ds->d5232 = temp * f523 * g532;
            temp = 2.0 * temp1 * root54;
            ds->d5421 = temp * f542 * g521;
            ds->d5433 = temp * f543 * g533;
            ds->xlamo = std::fmod(m_mo + m_nodeo + m_nodeo - theta - theta, kTwoPi);
            ds->xfact = m_mdot + ds->dmdt + 2.0 * (m_nodedot + ds->dnodt - kRptim) - m_no;
            em = emo;
            emsq = emsqo;
        }

        if (ds->irez == 1) {
            // One-day resonance.
            const double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
            const double g310 = 1.0 + 2.0 * emsq;
            const double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
            const double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
            const double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
            double f330 = 1.0 + cosim;
            f330 = 1.875 * f330 * f330 * f330;
            double del1 = 3.0 * nm * nm * aonv * aonv;
            ds->del2 = 2.0 * del1 * f220 * g200 * q22;
            ds->del3 = 3.0 * del1 * f330 * g300 * q33 * aonv;
            ds->del1 = del1 * f311 * g310 * q31 * aonv;
            ds->xlamo = std::fmod(m_mo + m_nodeo + m_argpo - theta, kTwoPi);
            ds->xfact = m_mdot + xpidot - kRptim + ds->dmdt + ds->domdt + ds->dnodt - m_no;
        }
    }
    m_ds = std::move(ds);
}

void Sgp4::deepSpaceSecular(double t, double &em, double &argpm, double &inclm, double &mm,
                            double &nodem, double &nm) const
{
    constexpr double fasx2 = 0.13130908, fasx4 = 2.8843198, fasx6 = 0.37448087;
    constexpr double g22 = 5.7686396, g32 = 0.95240898, g44 = 1.8014998, g52 = 1.0508330,
                     g54 = 4.4108898;
    // The resonance terms are integrated in steps of half a day.
    constexpr double stepp = 720.0, stepn = -720.0, step2 = 259200.0;

    const DeepSpace &ds = *m_ds;
    const double theta = std::fmod(m_gsto + t * kRptim, kTwoPi);
    em += ds.dedt * t;
    inclm += ds.didt * t;
    argpm += ds.domdt * t;
    nodem += ds.dnodt * t;
    mm += ds.dmdt * t;
    if (ds.irez == 0)
        return;

    Resonance &r = m_resonance;
    // Start again from the epoch when the integration would have to run backwards.
    if (r.atime == 0.0 || t * r.atime <= 0.0 || std::fabs(t) < std::fabs(r.atime)) {
        r.atime = 0.0;
        r.xni = m_no;
        r.xli = ds.xlamo;
    }
    const double delt = t > 0.0 ? stepp : stepn;
    double xndt = 0, xldot = 0, xnddt = 0, ft = 0;
    for (;;) {
        if (ds.irez != 2) {
            xndt = ds.del1 * std::sin(r.xli - fasx2) + ds.del2 * std::sin(2.0 * (r.xli - fasx4))
                   + ds.del3 * std::sin(3.0 * (r.xli - fasx6));
            xldot = r.xni + ds.xfact;
            xnddt = ds.del1 * std::cos(r.xli - fasx2)
                    + 2.0 * ds.del2 * std::cos(2.0 * (r.xli - fasx4))
                    + 3.0 * ds.del3 * std::cos(3.0 * (r.xli - fasx6));
            xnddt *= xldot;
        } else {
            const double xomi = m_argpo + m_argpdot * r.atime;
            const double x2omi = xomi + xomi;
            const double x2li = r.xli + r.xli;
            xndt = ds.d2201 * std::sin(x2omi + r.xli - g22) + ds.d2211 * std::sin(r.xli - g22)
                   + ds.d3210 * std::sin(xomi + r.xli - g32) + ds.d3222 * std::sin(-xomi + r.xli - g32)
                   + ds.d4410 * std::sin(x2omi + x2li - g44) + ds.d4422 * std::sin(x2li - g44)
                   + ds.d5220 * std::sin(xomi + r.xli - g52) + ds.d5232 * std::sin(-xomi + r.xli - g52)
                   + ds.d5421 * std::sin(xomi + x2li - g54) + ds.d5433 * std::sin(-xomi + x2li - g54);
            xldot = r.xni + ds.xfact;
            xnddt = ds.d2201 * std::cos(x2omi + r.xli - g22) + ds.d2211 * std::cos(r.xli - g22)
                    + ds.d3210 * std::cos(xomi + r.xli - g32) + ds.d3222 * std::cos(-xomi + r.xli - g32)
                    + ds.d5220 * std::cos(xomi + r.xli - g52) + ds.d5232 * std::cos(-xomi + r.xli - g52)
                    + 2.0 * (ds.d4410 * std::cos(x2omi + x2li - g44) + ds.d4422 * std::cos(x2li - g44)
                             + ds.d5421 * std::cos(xomi + x2li - g54)
                             + ds.d5433 * std::cos(-xomi + x2li - g54));
            xnddt *= xldot;
        }
        if (std::fabs(t - r.atime) < stepp) {
            ft = t - r.atime;
            break;
        }
        r.xli = r.xli + xldot * delt + xndt * step2;
        r.xni = r.xni + xndt * delt + xnddt * step2;
        r.atime += delt;
    }

    nm = r.xni + xndt * ft + xnddt * ft * ft * 0.5;
    const double xl = r.xli + xldot * ft + xndt * ft * ft * 0.5;
    if (ds.irez != 1)
        mm = xl - 2.0 * nodem + 2.0 * theta;
    else
        mm = xl - nodem - argpm + theta;
    // nm stays as integrated: the mean motion plus its resonant change.
}

void Sgp4::deepSpacePeriodics(double t, double &ep, double &inclp, double &nodep, double &argpp,
                              double &mp) const
{
    const ElementChange sun = periodicChange(m_ds->sun, t);
    const ElementChange moon = periodicChange(m_ds->moon, t);
    const double pe = sun.e + moon.e;
    const double pinc = sun.i + moon.i;
    const double pl = sun.l + moon.l;
    double pgh = sun.gh + moon.gh;
    double ph = sun.h + moon.h;

    inclp += pinc;
    ep += pe;
    const double sinip = std::sin(inclp);
    const double cosip = std::cos(inclp);
    if (inclp >= 0.2) {
        ph /= sinip;
        pgh -= cosip * ph;
        argpp += pgh;
        nodep += ph;
        mp += pl;
    } else {
        // Near the equator the node is ill-defined: apply the effects to the vector
        // (sin i sin Ω, sin i cos Ω) instead (Lyddane), keeping the node on the same turn.
        const double sinop = std::sin(nodep);
        const double cosop = std::cos(nodep);
        double alfdp = sinip * sinop;
        double betdp = sinip * cosop;
        const double dalf = ph * cosop + pinc * cosip * sinop;
        const double dbet = -ph * sinop + pinc * cosip * cosop;
        alfdp += dalf;
        betdp += dbet;
        nodep = std::fmod(nodep, kTwoPi);
        double xls = mp + argpp + cosip * nodep;
        const double dls = pl + pgh - pinc * nodep * sinip;
        xls += dls;
        const double xnoh = nodep;
        nodep = std::atan2(alfdp, betdp);
        if (std::fabs(xnoh - nodep) > kPi)
            nodep += nodep < xnoh ? kTwoPi : -kTwoPi;
        mp += pl;
        argpp = xls - mp - cosip * nodep;
    }
}

Sgp4Result Sgp4::propagate(double t) const
{
    Sgp4Result out;
    // The resonance integration steps towards t: it would never reach an instant that is no
    // number.
    if (!std::isfinite(t)) {
        out.error = Sgp4Error::NotANumber;
        return out;
    }
    // Secular effects of gravity and drag.
    const double xmdf = m_mo + m_mdot * t;
    const double argpdf = m_argpo + m_argpdot * t;
    const double nodedf = m_nodeo + m_nodedot * t;
    double argpm = argpdf;
    double mm = xmdf;
    const double t2 = t * t;
    double nodem = nodedf + m_nodecf * t2;
    double tempa = 1.0 - m_cc1 * t;
    double tempe = m_bstar * m_cc4 * t;
    double templ = m_t2cof * t2;
    if (!m_isimp) {
        const double delomg = m_omgcof * t;
        const double delmtemp = 1.0 + m_eta * std::cos(xmdf);
        const double delm = m_xmcof * (delmtemp * delmtemp * delmtemp - m_delmo);
        const double temp = delomg + delm;
        mm = xmdf + temp;
        argpm = argpdf - temp;
        const double t3 = t2 * t;
        const double t4 = t3 * t;
        tempa = tempa - m_d2 * t2 - m_d3 * t3 - m_d4 * t4;
        tempe = tempe + m_bstar * m_cc5 * (std::sin(mm) - m_sinmao);
        templ = templ + m_t3cof * t3 + t4 * (m_t4cof + t * m_t5cof);
    }
    double nm = m_no;
    double em = m_ecco;
    double inclm = m_inclo;
    if (m_deepSpace)
        deepSpaceSecular(t, em, argpm, inclm, mm, nodem, nm);

    if (nm <= 0.0) {
        out.error = Sgp4Error::MeanMotion;
        return out;
    }
    const double am = std::pow(kXke / nm, kTwoThirds) * tempa * tempa;
    nm = kXke / std::pow(am, 1.5);
    em -= tempe;
    if (em >= 1.0 || em < -0.001) {
        out.error = Sgp4Error::Eccentricity;
        return out;
    }
    if (em < 1.0e-6)
        em = 1.0e-6;
    mm += m_no * templ;
    double xlm = mm + argpm + nodem;
    nodem = std::fmod(nodem, kTwoPi);
    argpm = std::fmod(argpm, kTwoPi);
    xlm = std::fmod(xlm, kTwoPi);
    mm = std::fmod(xlm - argpm - nodem, kTwoPi);

    // The sun's and the moon's periodic effects.
    double ep = em, xincp = inclm, argpp = argpm, nodep = nodem, mp = mm;
    double sinip = std::sin(inclm), cosip = std::cos(inclm);
    double aycof = m_aycof, xlcof = m_xlcof;
    double con41 = m_con41, x1mth2 = m_x1mth2, x7thm1 = m_x7thm1;
    if (m_deepSpace) {
        deepSpacePeriodics(t, ep, xincp, nodep, argpp, mp);
        if (xincp < 0.0) {
            xincp = -xincp;
            nodep += kPi;
            argpp -= kPi;
        }
        if (ep < 0.0 || ep > 1.0) {
            out.error = Sgp4Error::PerturbedEccentricity;
            return out;
        }
        // The inclination moved: the coefficients that depend on it follow.
        sinip = std::sin(xincp);
        cosip = std::cos(xincp);
        aycof = -0.5 * kJ3oJ2 * sinip;
        const double onePlusCos = std::fabs(cosip + 1.0) > kSmallDivisor ? 1.0 + cosip : kSmallDivisor;
        xlcof = -0.25 * kJ3oJ2 * sinip * (3.0 + 5.0 * cosip) / onePlusCos;
    }

    // Long-period periodics.
    const double axnl = ep * std::cos(argpp);
    double temp = 1.0 / (am * (1.0 - ep * ep));
    const double aynl = ep * std::sin(argpp) + temp * aycof;
    const double xl = mp + argpp + nodep + temp * xlcof * axnl;

    // Kepler's equation for the eccentric longitude, Newton's steps limited to 0.95 rad.
    const double u = std::fmod(xl - nodep, kTwoPi);
    double eo1 = u;
    double tem5 = 9999.9;
    double sineo1 = 0, coseo1 = 0;
    for (int iteration = 1; std::fabs(tem5) >= 1.0e-12 && iteration <= 10; ++iteration) {
        sineo1 = std::sin(eo1);
        coseo1 = std::cos(eo1);
        tem5 = 1.0 - coseo1 * axnl - sineo1 * aynl;
        tem5 = (u - aynl * coseo1 + axnl * sineo1 - eo1) / tem5;
        if (std::fabs(tem5) >= 0.95)
            tem5 = tem5 > 0.0 ? 0.95 : -0.95;
        eo1 += tem5;
    }

    // Short-period periodics.
    const double ecose = axnl * coseo1 + aynl * sineo1;
    const double esine = axnl * sineo1 - aynl * coseo1;
    const double el2 = axnl * axnl + aynl * aynl;
    const double pl = am * (1.0 - el2);
    if (pl < 0.0) {
        out.error = Sgp4Error::SemiLatusRectum;
        return out;
    }
    const double rl = am * (1.0 - ecose);
    const double rdotl = std::sqrt(am) * esine / rl;
    const double rvdotl = std::sqrt(pl) / rl;
    const double betal = std::sqrt(1.0 - el2);
    temp = esine / (1.0 + betal);
    const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
    const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
    double su = std::atan2(sinu, cosu);
    const double sin2u = (cosu + cosu) * sinu;
    const double cos2u = 1.0 - 2.0 * sinu * sinu;
    temp = 1.0 / pl;
    const double temp1 = 0.5 * kJ2 * temp;
    const double temp2 = temp1 * temp;
    if (m_deepSpace) {
        const double cosisq = cosip * cosip;
        con41 = 3.0 * cosisq - 1.0;
        x1mth2 = 1.0 - cosisq;
        x7thm1 = 7.0 * cosisq - 1.0;
    }
    const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
    su -= 0.25 * temp2 * x7thm1 * sin2u;
    const double xnode = nodep + 1.5 * temp2 * cosip * sin2u;
    const double xinc = xincp + 1.5 * temp2 * cosip * sinip * cos2u;
    const double mvt = rdotl - nm * temp1 * x1mth2 * sin2u / kXke;
    const double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * con41) / kXke;

    // Orientation of the orbit: u points to the satellite, v along its motion.
    const double sinsu = std::sin(su), cossu = std::cos(su);
    const double snod = std::sin(xnode), cnod = std::cos(xnode);
    const double sini = std::sin(xinc), cosi = std::cos(xinc);
    const double xmx = -snod * cosi;
    const double xmy = cnod * cosi;
    const double ux = xmx * sinsu + cnod * cossu;
    const double uy = xmy * sinsu + snod * cossu;
    const double uz = sini * sinsu;
    const double vx = xmx * cossu - cnod * sinsu;
    const double vy = xmy * cossu - snod * sinsu;
    const double vz = sini * cossu;

    const double kmPerSecond = kEarthRadius * kXke / 60.0;
    out.state.position = {mrt * ux * kEarthRadius, mrt * uy * kEarthRadius, mrt * uz * kEarthRadius};
    out.state.velocity = {(mvt * ux + rvdot * vx) * kmPerSecond, (mvt * uy + rvdot * vy) * kmPerSecond,
                          (mvt * uz + rvdot * vz) * kmPerSecond};
    if (mrt < 1.0)
        out.error = Sgp4Error::Decayed;
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(out.state.position[i]) || !std::isfinite(out.state.velocity[i]))
            out.error = Sgp4Error::NotANumber;
    return out;
}

} // namespace vorta
