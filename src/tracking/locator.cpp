#include "tracking/locator.h"

#include "common/textvalue.h"

#include <array>
#include <cmath>
#include <numbers>

namespace vorta {

namespace {

// The logbook has always worked out distances with these rounded values rather than exact ones;
// keeping them keeps every distance it shows identical to what earlier logs showed. Bearings
// are worked out in full precision: the rounded pi turned them by up to a degree at short range.
constexpr double kPi = 3.141593;
constexpr double kDegreesPerRadian = 180.0 / kPi;
constexpr double kEarthRadiusKm = 6371.0;
constexpr double kHalfSubsquareLongitude = 0.041666666;
constexpr double kHalfSubsquareLatitude = 0.020833333;

// Rounding as the display formats do it: halves away from zero.
double roundHalfAway(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

const std::array<const char16_t *, 17> kSpanishNames = {
    u"Norte", u"NNEste", u"NEste", u"ENEeste", u"Este", u"ESEste", u"SEste", u"SSEste", u"Sur",
    u"SSOeste", u"SOeste", u"OSOeste", u"Oeste", u"ONOeste", u"NOeste", u"NNOeste", u"Norte"};
const std::array<const char16_t *, 17> kEnglishNames = {
    u"North", u"NNEast", u"NEast", u"ENEeast", u"East", u"ESEast", u"SEast", u"SSEast", u"South",
    u"SSWest", u"SWest", u"WSWest", u"West", u"WNWest", u"NWest", u"NNWest", u"North"};

// The initial great-circle bearing from the own station B towards the contact A, in degrees
// from 0 up to (not including) 360. The two components are sin c times the direction's sine and
// cosine, c being the arc between the points: near the antipode (and at B itself) both vanish and
// every direction is as good, so north is taken. Locator centres are kilometres apart, far more
// than the threshold.
double initialBearing(const GeoPoint &contact, const GeoPoint &own)
{
    constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
    const double phiA = contact.latitude * kRadiansPerDegree;
    const double phiB = own.latitude * kRadiansPerDegree;
    const double deltaLambda = (contact.longitude - own.longitude) * kRadiansPerDegree;
    const double east = std::sin(deltaLambda) * std::cos(phiA);
    const double north = std::cos(phiB) * std::sin(phiA) - std::sin(phiB) * std::cos(phiA) * std::cos(deltaLambda);
    if (std::hypot(east, north) < 1e-9)
        return 0;
    const double degrees = std::atan2(east, north) / kRadiansPerDegree;
    const double wrapped = degrees < 0 ? degrees + 360.0 : degrees;
    return wrapped < 360.0 ? wrapped : 0.0; // a hair west of north may round up to 360
}

} // namespace

std::optional<GeoPoint> locatorPoint(QStringView locator)
{
    QString l = locator.toString().toUpper();
    if (!isLocatorFormat(l))
        return std::nullopt;
    if (l.size() == 4)
        l += QStringLiteral("AA");

    const int f1 = l[0].unicode() - u'A';
    const int f2 = l[1].unicode() - u'A';
    const int s1 = l[2].unicode() - u'0';
    const int s2 = l[3].unicode() - u'0';
    const int u1 = l[4].unicode() - u'A';
    const int u2 = l[5].unicode() - u'A';
    GeoPoint point;
    point.longitude = 20.0 * (f1 + (s1 + u1 / 24.0) / 10.0) - 180.0 + kHalfSubsquareLongitude;
    point.latitude = 10.0 * (f2 + (s2 + u2 / 24.0) / 10.0) - 90.0 + kHalfSubsquareLatitude;
    return point;
}

std::optional<GeoPoint> locatorCentre(QStringView locator)
{
    std::optional<GeoPoint> point = locatorPoint(locator);
    if (point && locator.size() == 4) {
        // From the centre of its subsquare AA, the square's south-west corner one, to the
        // centre of the square itself.
        point->longitude += 1.0 - kHalfSubsquareLongitude;
        point->latitude += 0.5 - kHalfSubsquareLatitude;
    }
    return point;
}

DistanceBearing distanceAndBearing(const GeoPoint &contact, const GeoPoint &own)
{
    const double phiA = contact.latitude / kDegreesPerRadian;
    const double lambdaA = contact.longitude / kDegreesPerRadian;
    const double phiB = own.latitude / kDegreesPerRadian;
    const double lambdaB = own.longitude / kDegreesPerRadian;

    const double x = std::sin(phiB) * std::sin(phiA)
                     + std::cos(phiA) * std::cos(phiB) * std::cos(lambdaA - lambdaB);
    // Rounding can carry x a hair past +-1 for coinciding or antipodal points, where the
    // arc-tangent form below would divide by zero or take the root of a negative number.
    if (x >= 1.0)
        return {};
    double c = kPi;
    if (x > -1.0)
        c = kPi / 2 - std::atan(x / std::sqrt(1 - x * x));

    DistanceBearing result;
    result.distanceKm = roundHalfAway(kEarthRadiusKm * c, 1);
    if (result.distanceKm == 0)
        return result;
    result.bearingDegrees = initialBearing(contact, own);
    return result;
}

QString distanceBearingText(const GeoPoint &contact, const GeoPoint &own)
{
    const DistanceBearing db = distanceAndBearing(contact, own);
    if (db.distanceKm == 0)
        return text(Txt::LabelSameGrid, Language::Spanish);
    // 359.5 degrees and more round to north, which reads 000.
    const qint64 bearing = std::llround(db.bearingDegrees) % 360;
    const qint64 km = std::llround(db.distanceKm);
    return QStringLiteral("%1º  %2 km").arg(bearing, 3, 10, QLatin1Char('0')).arg(km);
}

std::optional<QString> distanceText(const QString &contactLocator, const QString &ownLocator)
{
    if (contactLocator.isEmpty() || ownLocator.isEmpty())
        return std::nullopt;
    const std::optional<GeoPoint> contact = locatorPoint(contactLocator);
    const std::optional<GeoPoint> own = locatorPoint(ownLocator);
    if (!contact || !own)
        return std::nullopt;
    return distanceBearingText(*contact, *own);
}

std::optional<int> compassSector(QStringView azimuthText)
{
    const double sector = std::floor(numericValue(azimuthText) / 22.5);
    if (sector < 0 || sector > 16)
        return std::nullopt;
    return int(sector);
}

QString compassName(QStringView azimuthText, Language language)
{
    const std::optional<int> sector = compassSector(azimuthText);
    if (!sector)
        return {};
    const auto &names = language == Language::English ? kEnglishNames : kSpanishNames;
    return QString::fromUtf16(names[std::size_t(*sector)]);
}

} // namespace vorta
