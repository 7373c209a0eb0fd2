// Settings this platform needs beyond the thirteen lines of vortalog.ini, kept in ajustes.ini
// in the data folder as key=value lines (the operator may edit the file; Vorta rewrites only the
// keys it sets from its windows and keeps every other line as written):
//   PuertoSeguimiento=47001        TCP port on 127.0.0.1 of the tracking-data source
//   CarpetaOrbitron=/path/to/it    the tracker's folder, when not found through Wine
//   DireccionVersion=https://...   the web address of the published version file; without it
//                                  Vorta never asks the web for a newer version by itself
//   EscalaLetra=130                the main window's font size in percent of the desktop's
//   Seguimiento=integrado          where the tracking panel's data come from: "enlace" (the
//                                  tracking program's link, the default) or "integrado" (the
//                                  built-in tracker); set from the configuration window
//   DireccionElementos=https://... where "Actualizar elementos orbitales" downloads the element
//                                  sets from (default: CelesTrak's amateur group)
#pragma once

#include <QString>

namespace vorta {

inline constexpr int kDefaultFontScale = 100;
inline constexpr int kMinFontScale = 70;
inline constexpr int kMaxFontScale = 250;
inline constexpr int kFontScaleStep = 10;

// Where the tracking panel's data come from.
enum class TrackingChoice { Link, BuiltIn };

inline constexpr char16_t kTrackingChoiceKey[] = u"Seguimiento";
inline constexpr char16_t kDefaultElementsAddress[] =
    u"https://celestrak.org/NORAD/elements/gp.php?GROUP=amateur&FORMAT=tle";

struct ExtraSettings
{
    quint16 trackingPort;
    QString orbitronFolder;
    QString versionAddress;
    int fontScale = kDefaultFontScale;
    TrackingChoice tracking = TrackingChoice::Link;
    QString elementsAddress = QString::fromUtf16(kDefaultElementsAddress);
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

// The value the file keeps for a tracking choice ("enlace", "integrado").
QString trackingChoiceValue(TrackingChoice choice);

// Sets key=value in the file: the first line of that key takes the new value and later lines
// of the key go, or the line is added at the end; all other lines stay as they were. The file is replaced atomically. A file that exists
// but cannot be read is left alone (it is never replaced by one holding just this key). Returns
// an error text, empty on success.
QString saveExtraSetting(const QString &path, QStringView key, const QString &value);

} // namespace vorta
