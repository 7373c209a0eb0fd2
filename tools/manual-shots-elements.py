#!/usr/bin/python3
"""Element sets for the screenshots of the manuals (tools/manual-shots.sh): a few satellites of
the shipped satellite list on orbits like their real ones, with today's epoch, the first of them
placed so that it culminates over the station a given number of seconds from now.

  manual-shots-elements.py LOCATOR SECONDS > elementos.tle

The orbit is placed with the two-body motion of a circular orbit and the mean sidereal time;
the tracker's own propagation then differs by a fraction of a degree, which is all the picture
needs. The element sets are made up: they are not those of the real satellites."""
import math
import sys
import time

# name line, catalogue number, inclination, mean motion (rev/day), eccentricity
SATELLITES = [
    ('AO-91 (FOX-1B)', 43017, 97.70, 14.79, 0.0231),
    ('ISS (ZARYA)', 25544, 51.64, 15.50, 0.0005),
    ('SO-50 (SAUDISAT-1C)', 27607, 64.55, 14.81, 0.0048),
    ('RS-44 (DOSAAF-85)', 44909, 82.52, 12.80, 0.0218),
    ('AO-7', 7530, 101.98, 12.54, 0.0012),
    ('FO-29 (JAS-2)', 24278, 98.55, 13.53, 0.0350),
    ('PO-101 (DIWATA-2B)', 43678, 97.85, 15.05, 0.0011),
    ('AO-73 (FUNCUBE-1)', 39444, 97.55, 14.91, 0.0057),
]


def locator_position(locator):
    """Latitude and longitude in degrees of the centre of a 4- or 6-character locator."""
    loc = locator.upper()
    lon = (ord(loc[0]) - ord('A')) * 20 - 180 + int(loc[2]) * 2
    lat = (ord(loc[1]) - ord('A')) * 10 - 90 + int(loc[3])
    if len(loc) >= 6:
        lon += (ord(loc[4]) - ord('A') + 0.5) * 5 / 60
        lat += (ord(loc[5]) - ord('A') + 0.5) * 2.5 / 60
    else:
        lon += 1
        lat += 0.5
    return lat, lon


def sidereal_degrees(unix_seconds):
    julian_days = unix_seconds / 86400.0 + 2440587.5
    return (280.46061837 + 360.98564736629 * (julian_days - 2451545.0)) % 360.0


def checksum(line):
    return sum(int(c) if c.isdigit() else (1 if c == '-' else 0) for c in line) % 10


def element_set(name, number, epoch, inclination, raan, eccentricity, perigee, anomaly, motion):
    day = time.gmtime(epoch)
    fraction = (epoch % 86400.0) / 86400.0
    line1 = '1 %05dU 24001A   %02d%03d.%08d  .00000000  00000-0  00000-0 0  999' % (
        number, day.tm_year % 100, day.tm_yday, round(fraction * 1e8))
    line2 = '2 %05d %8.4f %8.4f %07d %8.4f %8.4f %11.8f%5d' % (
        number, inclination, raan % 360.0, round(eccentricity * 1e7), perigee % 360.0, anomaly % 360.0, motion, 1000)
    return '%s\r\n%s%d\r\n%s%d\r\n' % (name, line1, checksum(line1), line2, checksum(line2))


def placed(inclination, motion, u, longitude, when, epoch):
    """The ascending node and the mean anomaly at epoch of a circular orbit that stands at the
    argument of latitude u (degrees) over the given longitude at the instant when."""
    i = math.radians(inclination)
    u = math.radians(u)
    raan = longitude + sidereal_degrees(when) - math.degrees(math.atan2(math.cos(i) * math.sin(u), math.cos(u)))
    anomaly = math.degrees(u) - 360.0 * motion * (when - epoch) / 86400.0
    return raan, anomaly


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    lat, lon = locator_position(argv[1])
    now = time.time()
    culmination = now + float(argv[2])
    # An epoch a few hours back, as a fresh download has.
    epoch = math.floor(now / 3600.0) * 3600.0 - 3 * 3600.0
    out = []
    for index, (name, number, inclination, motion, eccentricity) in enumerate(SATELLITES):
        if index == 0:
            # Over a point a little east of the station at the culmination, so that the pass
            # crosses the sky high but not through the zenith.
            u = math.degrees(math.asin(math.sin(math.radians(lat)) / math.sin(math.radians(inclination))))
            raan, anomaly = placed(inclination, motion, u, lon + 4.0, culmination, epoch)
            out.append(element_set(name, number, epoch, inclination, raan, 0.0, 0.0, anomaly, motion))
        else:
            # The others on the far side of the earth then, at least 55 degrees of arc away, so
            # that the first is the one in view: they rise later, each at its own pace.
            raan, anomaly = placed(inclination, motion, 25.0 * index, lon + 180.0, culmination, epoch)
            out.append(element_set(name, number, epoch, inclination, raan, eccentricity, 0.0, anomaly, motion))
    sys.stdout.write(''.join(out))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
