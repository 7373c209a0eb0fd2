#include "tracking/lookangles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorta {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// WGS-84.
constexpr double kEquatorKm = 6378.137;
constexpr double kFlattening = 1.0 / 298.257223563;

double dot(const std::array<double, 3> &a, const std::array<double, 3> &b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

Observer makeObserver(double latitude, double longitude, double heightKm)
{
    Observer o;
    o.latitude = latitude;
    o.longitude = longitude;
    o.heightKm = heightKm;
    const double phi = latitude * kDegree;
    const double lambda = longitude * kDegree;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    const double e2 = kFlattening * (2.0 - kFlattening);
    const double n = kEquatorKm / std::sqrt(1.0 - e2 * sinPhi * sinPhi);
    o.position = {(n + heightKm) * cosPhi * cosLambda, (n + heightKm) * cosPhi * sinLambda,
                  (n * (1.0 - e2) + heightKm) * sinPhi};
    o.east = {-sinLambda, cosLambda, 0.0};
    o.north = {-sinPhi * cosLambda, -sinPhi * sinLambda, cosPhi};
    o.up = {cosPhi * cosLambda, cosPhi * sinLambda, sinPhi};
    return o;
}

std::optional<Observer> observerAtLocator(QStringView locator)
{
    const std::optional<GeoPoint> point = locatorCentre(locator);
    if (!point)
        return std::nullopt;
    return makeObserver(point->latitude, point->longitude);
}

LookAngles lookAngles(const Observer &observer, const StateVector &state, double utc)
{
    // TEME to earth-fixed: a turn by the sidereal time about the pole; the velocity also loses
    // the frame's own rotation.
    const double theta = greenwichSiderealTime(utc);
    const double c = std::cos(theta), s = std::sin(theta);
    const auto &r = state.position;
    const auto &v = state.velocity;
    const std::array<double, 3> position = {c * r[0] + s * r[1], -s * r[0] + c * r[1], r[2]};
    const std::array<double, 3> velocity = {c * v[0] + s * v[1] + kEarthRotationRadS * position[1],
                                            -s * v[0] + c * v[1] - kEarthRotationRadS * position[0],
                                            v[2]};
    const std::array<double, 3> range = {position[0] - observer.position[0],
                                         position[1] - observer.position[1],
                                         position[2] - observer.position[2]};
    LookAngles look;
    look.rangeKm = std::sqrt(dot(range, range));
    const double east = dot(range, observer.east);
    const double north = dot(range, observer.north);
    const double up = dot(range, observer.up);
    double azimuth = std::atan2(east, north) / kDegree;
    if (azimuth < 0)
        azimuth += 360.0;
    look.azimuth = azimuth;
    look.elevation = std::asin(std::clamp(up / look.rangeKm, -1.0, 1.0)) / kDegree;
    look.rangeRateKmS = dot(range, velocity) / look.rangeKm;
    return look;
}

double dopplerDownlink(double frequency, double rangeRateKmS)
{
    return frequency * (1.0 - rangeRateKmS / kLightSpeedKmS);
}

double dopplerUplink(double frequency, double rangeRateKmS)
{
    return frequency / (1.0 - rangeRateKmS / kLightSpeedKmS);
}

} // namespace vorta
