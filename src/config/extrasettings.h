// Settings this platform needs beyond the thirteen lines of vortalog.ini, kept in ajustes.ini
// in the data folder as key=value lines (read only; the operator edits the file):
//   PuertoSeguimiento=47001        TCP port on 127.0.0.1 of the tracking-data source
//   CarpetaOrbitron=/path/to/it    the tracker's folder, when not found through Wine
//   DireccionVersion=https://...   the web address of the published version file; without it
//                                  Vorta never asks the web for a newer version by itself
#pragma once

#include <QString>

namespace vorta {

struct ExtraSettings
{
    quint16 trackingPort;
    QString orbitronFolder;
    QString versionAddress;
};

// The settings of the file; a missing file, key or unusable value gives the default.
ExtraSettings loadExtraSettings(const QString &path);

} // namespace vorta
