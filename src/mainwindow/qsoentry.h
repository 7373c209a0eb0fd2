// Saving a QSO typed in the entry panel: the checks in their fixed order with their messages,
// the manual date and time corrections, and the row handed to the log.
#pragma once

#include "common/appstate.h"

#include <QString>

#include <optional>

namespace vorta {

class Dialogs;

// The entry panel's fields, as typed.
struct EntryForm
{
    QString station, satellite, orbit, uplinkFreq, downlinkFreq, uplinkMode, downlinkMode;
    QString reportSent, reportReceived, locator, notes;
    bool listening = false;
    bool manualTime = false;
    QString manualDate, manualTimeText; // only used with manualTime
    QString azimuth, elevation;         // as last shown by the tracking link
};

enum class EntryField { None, Station, Satellite, Uplink, Downlink, Locator, Notes, ManualDate, ManualTime };

struct SaveResult
{
    enum class Kind { Ignored, Refused, Stored, Failed } kind = Kind::Ignored;
    EntryField focus = EntryField::None; // where the cursor goes after a refusal
    qint64 id = 0;                       // the stored row
    QString notice = {};                 // for the status line: which QSO was stored
};

// "QSO 123 guardado: YY2BB SO-50 14:23" in the language: the stored row's number, its station,
// satellite and UTC time.
QString savedQsoNotice(qint64 id, const QString &station, const QString &satellite, const QDateTime &utc,
                       Language language);

// The report default of a picked mode: "599" for a CW mode, else "59".
QString reportForMode(const QString &mode);

// The manual date as the field shows it after leaving it: "dd/mm/yyyy", nothing when the text
// is no date.
std::optional<QString> correctedManualDate(const QString &typed);
// The manual time "hhmm": exactly four digits, the first two the hour and the last two the
// minutes. Nothing for any other text (915, 12) or when that is no time (2460).
std::optional<QTime> manualTimeOf(const QString &typed);

// What the date and time fields hold after a bad entry, with their messages.
inline const QString kManualDateFallback = QStringLiteral("01/01/16");
inline const QString kManualTimeFallback = QStringLiteral("0000");
QString manualDateMessage();
QString manualTimeMessage();

// Runs the checks and, when they pass, stores the QSO in the current log. Messages and the
// satellite-mode question go through dialogs in the current language.
SaveResult saveEntry(const EntryForm &form, AppState &state, Dialogs &dialogs);

} // namespace vorta
