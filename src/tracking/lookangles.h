// Where a satellite stands in the station's sky: azimuth, elevation, range and range rate from
// an observer on the ground, and the Doppler shift that the range rate puts on the satellite's
// frequencies.
#pragma once

#include "tracking/locator.h"
#include "tracking/sgp4.h"

#include <array>
#include <optional>

namespace vorta {

// A station on the ground (WGS-84 ellipsoid).
struct Observer
{
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    double heightKm = 0;
    std::array<double, 3> position{}; // earth-fixed, km
    // Local east, north and up in the earth-fixed frame.
    std::array<double, 3> east{}, north{}, up{};
};

Observer makeObserver(double latitude, double longitude, double heightKm = 0.0);
// The station at the centre of what its locator names (the square of a 4-character one), at
// sea level; nothing when the text is no locator.
std::optional<Observer> observerAtLocator(QStringView locator);

struct LookAngles
{
    double azimuth = 0;   // degrees from north through east, 0 to 360
    double elevation = 0; // degrees above the horizon, negative below
    double rangeKm = 0;
    double rangeRateKmS = 0; // positive while the satellite moves away
};

// The satellite's TEME state at a UTC instant as the observer sees it.
LookAngles lookAngles(const Observer &observer, const StateVector &state, double utc);

// The earth's rotation, radians per second.
inline constexpr double kEarthRotationRadS = 7.292115146706979e-5;

// The speed of light, km/s.
inline constexpr double kLightSpeedKmS = 299792.458;

// Doppler with the range rate positive for a satellite moving away (a receding satellite is
// heard low): the downlink frequency f is heard at f·(1 − ṙ/c); to reach the satellite on its
// uplink frequency f the station transmits f/(1 − ṙ/c).
double dopplerDownlink(double frequency, double rangeRateKmS);
double dopplerUplink(double frequency, double rangeRateKmS);

} // namespace vorta
