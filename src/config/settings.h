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
    QString utcText = QStringLiteral("-3"); // the UTC offset as typed
    QString basePath;                       // full path of the current log
    QString baseName;                       // its file name alone
    QString gridLocator;
    QString language = QStringLiteral("Español");
    QString port = kNoPort;
    QString pin = kLineDtr;
    std::array<Macro, 4> macros; // F5 to F8

    // Local time minus UTC in whole hours: the typed number rounded (2.6 gives 3); 0 when the
    // text holds no number.
    int utcOffset() const;
    bool operator==(const Settings &) const = default;
};

// A typed UTC offset in whole hours: its numeric value rounded (2.6 gives 3), 0 without a number.
int utcOffsetOf(QStringView typed);

// The four macros used when the file gives no usable F5 macro.
std::array<Macro, 4> defaultMacros();

} // namespace vorta
