// Maidenhead grid locators as points on the globe, the distance and bearing between the own
// station and a contact as the record editor shows them, and the compass name of an azimuth.
#pragma once

#include "config/languages.h"

#include <QString>

#include <optional>

namespace vorta {

// Latitude and longitude in degrees, north and east positive.
struct GeoPoint
{
    double latitude = 0;
    double longitude = 0;
};

// The centre of the 6-character subsquare of a locator (4 or 6 characters in any case, with
// field letters A-R and subsquare letters A-X; a 4-character locator stands for its subsquare
// "AA"). Nothing when the text is no locator.
std::optional<GeoPoint> locatorPoint(QStringView locator);

// The middle of the area a locator names: of its square for 4 characters (2° of longitude by
// 1° of latitude), of its subsquare for 6. Nothing when the text is no locator.
std::optional<GeoPoint> locatorCentre(QStringView locator);

// The great-circle distance in km rounded to one decimal, and the initial great-circle bearing
// in degrees (0 up to, not including, 360; not rounded) from the own station towards the contact.
// The bearing is 0 when every direction leads there (the same point, or its antipode).
struct DistanceBearing
{
    double distanceKm = 0;
    double bearingDegrees = 0;
};
DistanceBearing distanceAndBearing(const GeoPoint &contact, const GeoPoint &own);

// The text of the editor's distance label: bearing "000", "º", two spaces, whole kilometres and
// " km" (for example "349º  8636 km"); "La misma grilla!" when the distance is 0.0 km.
QString distanceBearingText(const GeoPoint &contact, const GeoPoint &own);

// The same text from two locators; nothing when either is empty or not a locator, so a caller
// never shows a distance computed from some earlier point.
std::optional<QString> distanceText(const QString &contactLocator, const QString &ownLocator);

// The compass sector of an azimuth text (its numeric value / 22.5, rounded down): 0 to 16, 0 and
// 16 both being north. Nothing for a negative azimuth or one of 382.5 and more.
std::optional<int> compassSector(QStringView azimuthText);

// The direction name of an azimuth text: Spanish names for Español and Portugues, English names
// for English; empty outside the sectors.
QString compassName(QStringView azimuthText, Language language);

} // namespace vorta
