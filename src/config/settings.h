// The station's settings as the configuration file holds them.
#pragma once

#include <QString>

#include <array>

namespace vorta {

struct Macro
{
    QString caption;
    QString text;
    bool operator==(const Macro &) const = default;
};

inline const QString kNoPort = QStringLiteral("Ninguno");
inline const QString kLineDtr = QStringLiteral("DTR (pin4)");
inline const QString kLineRts = QStringLiteral("RTS (pin7)");

struct Settings
{
    QString callSign;
    bool useOrbitron = false;
    QString utcText = QStringLiteral("-3"); // the UTC offset in hours, as typed
    QString basePath;                       // full path of the current log
    QString baseName;                       // its file name alone
    QString gridLocator;
    QString language = QStringLiteral("Español");
    QString port = kNoPort;
    QString pin = kLineDtr;
    std::array<Macro, 4> macros; // F5 to F8

    // Local time minus UTC, in minutes (see utcOffsetMinutesOf).
    int utcOffsetMinutes() const;
    bool operator==(const Settings &) const = default;
};

// A typed UTC offset (hours, local minus UTC) in minutes. A number of hours is rounded to whole
// hours (2.6 gives 3); the quarter, half and three-quarter hours of real time zones (5.5 for
// India, -3.5 for Newfoundland, 5.75 for Nepal) are kept exactly, since rounding them would put
// every logged time half an hour off. 0 without a number; beyond a day, a day.
int utcOffsetMinutesOf(QStringView typed);
// The offsets a configuration may hold, in minutes: the world's time zones.
inline constexpr int kMinUtcOffsetMinutes = -12 * 60, kMaxUtcOffsetMinutes = 14 * 60;
// The offset as the configuration writes it: "-3", "5.5", "5.75".
QString utcOffsetText(int minutes);

// The four macros used when the file gives no usable F5 macro.
std::array<Macro, 4> defaultMacros();

} // namespace vorta
