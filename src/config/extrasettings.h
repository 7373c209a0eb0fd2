// Settings this platform needs beyond the thirteen lines of vortalog.ini, kept in ajustes.ini
// in the data folder as key=value lines (the operator edits the file; Vorta writes only the
// font size, leaving every other line as it was):
//   PuertoSeguimiento=47001        TCP port on 127.0.0.1 of the tracking-data source
//   CarpetaOrbitron=/path/to/it    the tracker's folder, when not found through Wine
//   DireccionVersion=https://...   the web address of the published version file; without it
//                                  Vorta never asks the web for a newer version by itself
//   EscalaLetra=130                the main window's font size in percent of the desktop's
#pragma once

#include <QString>

namespace vorta {

inline constexpr int kDefaultFontScale = 100;
inline constexpr int kMinFontScale = 70;
inline constexpr int kMaxFontScale = 250;
inline constexpr int kFontScaleStep = 10;

struct ExtraSettings
{
    quint16 trackingPort;
    QString orbitronFolder;
    QString versionAddress;
    int fontScale = kDefaultFontScale;
};

// The settings of the file; a missing file, key or unusable value gives the default, and a font
// size beyond the limits the nearest limit.
ExtraSettings loadExtraSettings(const QString &path);

// The font size one step larger (steps 1) or smaller (-1) than percent, within the limits;
// steps 0 gives the desktop's size.
int steppedFontScale(int percent, int steps);

// Writes the font size into the file, replacing its line or adding one, atomically. Returns
// the system's reason for a failure, empty on success.
QString saveFontScale(const QString &path, int percent);

} // namespace vorta
