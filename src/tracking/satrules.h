// The small rules that turn loosely written data into the values the log keeps: the amateur
// band of a frequency, the satellite mode of an uplink/downlink band pair, a satellite name or
// an orbit number found in free text, and the characters a call sign may hold. They keep no
// state, so the entry panel, the ADIF export and the ADIF reader all use the same ones.
#pragma once

#include "common/textvalue.h"

#include <QString>

namespace vorta {

// The band name of a frequency text in MHz ("15m", "10m", "2m", "70cm", "23cm", "13cm", "3cm"),
// both band limits included; empty outside every band.
QString bandName(QStringView frequencyText);

// The satellite mode of an (uplink band, downlink band) pair: "Packet" when both are the same
// band, else "A", "B", "J", "K", "T", "S", "L", "L/S", "L/X" or "V/S"; empty for any other pair
// or when either band is empty.
QString satelliteMode(QStringView uplinkBand, QStringView downlinkBand);

// What the sat-mode label shows for a mode: "Packet" as it is, "SAT " + any other mode
// ("SAT B", "SAT L/S"), nothing for no mode.
QString satModeLabelText(QStringView mode);

// The sat-mode label of two frequency texts (band rule on each, then the mode rule).
QString satModeLabel(QStringView uplinkFrequency, QStringView downlinkFrequency);

// A satellite name found in free text (an ADIF comment or QSL message), or empty. Searches are
// case-sensitive; the caller upper-cases the text when it wants them not to be. A "G" series
// designator whose "-" is preceded by too few characters for its cut gives empty; any other
// designator ("AO-91", "QO-100", "CAS-4A") is taken whole.
QString satelliteNameFromText(QStringView text);

// An orbit number found in free text ("#12345", "ORBITA 3456", "ORB: 789"), as a whole-number
// text; empty when the text names no orbit. "0" when it names one without a number.
QString orbitFromText(QStringView text);

// True for the characters a call sign may hold, given in upper case: A-Z, 0-9, "/" and "?".
bool callSignChar(QChar upper);

} // namespace vorta
