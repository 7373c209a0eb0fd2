// Every caption and message of the interface in its three languages, keyed by purpose. Windows
// take their captions from here and re-caption when the language changes. A text that exists in
// Spanish only carries the same Spanish text in all three columns.
#pragma once

#include <QString>

#include <initializer_list>
#include <optional>
#include <utility>

namespace vorta {

enum class Language { Spanish, English, Portuguese };

// "Español", "English", "Portugues".
QString languageName(Language language);
std::optional<Language> languageFromName(QStringView name);

enum class Txt {
    // Main window menus
    MenuFile, MenuNewLog, MenuOpenLog, MenuLog, MenuImportAdif, MenuSettings, MenuExit,
    MenuCheckVersion, MenuHelp, MenuAbout, MenuHelpEntry,
    // Main window labels, boxes and buttons
    LabelSatellite, LabelDownlink, LabelUplink, LabelStation, BoxListen, BoxManualTime,
    LabelOrbit, LabelMode, LabelReportSent, LabelReportReceived, LabelNotes, LabelDate,
    LabelTime, FrameLastRecord, LastStation, LastDate, LastTime, LastUplink, LastSatellite,
    LastOrbit, BoxUseOrbitron, ButtonSave, ButtonClear,
    // Main window texts beyond the caption tables
    LabelOwnCall, LabelOwnLocator, LabelUtcClock, LabelLocator, FrameReports, BoxKeepNotes,
    SatelliteChoicePlaceholder, SatListTitle, SatAdd, SatEdit, SatDelete, SatAddTitle, SatEditTitle,
    SatAccept, SatName, SatUplink, SatDownlink, SatDownlinkMode, SatUplinkMode,
    // Configuration window
    ConfigTitle, ConfigUtcFrame, ConfigStation, ConfigSerialFrame, ConfigTextsFrame,
    ConfigAccept, ConfigCancel, ConfigLocatorFrame, ConfigLanguageFrame, ConfigTestKey,
    ConfigUtcHint,
    // Log browser
    BrowserReverse, BrowserExportFrame, BrowserFiltersFrame, BrowserFilterStation,
    BrowserFilterSatellite, BrowserFilterLocator, BrowserFilterOrbit, BrowserFilterMyStation,
    BrowserFilterFromDate, BrowserCompleteAdif, BrowserSearch, BrowserQslSent, BrowserQslReceived,
    BrowserStationHint, BrowserTitle,
    // Record editor (Spanish in every language, but for its date, time and mode captions)
    EditorTitle, EditorMyCall, EditorStation, EditorUtcFrame, EditorQslFrame, EditorSent, EditorReceived,
    EditorReportFrame, EditorSatellite, EditorOrbit, EditorUplink, EditorDownlink, EditorLocator,
    EditorOwnLocator, EditorAzimuth, EditorElevation, EditorNotesFrame, EditorQrz, EditorSave, EditorDelete,
    EditorCancel, EditorDate, EditorTime, EditorMode,
    // Messages
    MsgExit, MsgOpenLogTitle, MsgNewLogTitle, MsgLogExists, MsgCallMissing, MsgBadLocator,
    MsgSatelliteMissing, MsgSatelliteOrBalloonMissing, MsgDownlinkMissing, MsgDownlinkDoubtful,
    MsgUplinkMissing, MsgUplinkDoubtful, MsgNotSatelliteMode, MsgOrbitronNotRunning,
    MsgOrbitronWaiting, MsgOrbitronLost, MsgAdifNoStationCall, MsgAdifCallDiffers,
    MsgLotwSavedWithSwl, MsgLotwSaved, MsgEqslSavedWithSwl, MsgEqslSaved, MsgNotSatelliteQso,
    MsgCsvSaved, MsgFileInUse, MsgCompleteAdifSaved,
    // Messages of files, logs and settings
    MsgMustGiveCall, MsgTemplateMissing, MsgLogEmpty, MsgNotALog, MsgLogUnreadable,
    MsgBadUtcOffset, MsgConfigNotSaved, MsgPortFailed, MsgQsoNotSaved, MsgDateFormat, MsgTimeFormat,
    MsgConfigNotRead, MsgTemplateNotALog,
    // Satellite list
    MsgSatelliteExists, MsgSatelliteDeleteAsk, MsgSatelliteComma, MsgSatelliteListNotSaved,
    // Record editor (Spanish in every language)
    MsgEditorMyCallEmpty, MsgEditorStationEmpty, MsgEditorBadDate, MsgEditorBadTime,
    MsgEditorAzimuth, MsgEditorElevation, MsgEditorDeleteAsk, LabelSameGrid,
    // Tracking
    BadgeVisible, BadgeHidden, MsgOrbitronNotInstalled, MsgOrbitronNotRunningAtStart, TrackingFrame,
    TrackingAzimuth, TrackingElevation, ElementAge, CatalogueNumber,
    // Exports of the log browser
    ExportLotwButton, ExportEqslButton, ExportCsvButton, ExportLotwTitle, ExportEqslTitle,
    ExportCompleteTitle, ExportCsvTitle, MsgExportOverwrite, MsgExportNoSatellite,
    MsgExportNoFrequency, MsgExportOnlySwl, MsgExportNotSatellitePrefix, MsgExportNotSaved,
    MsgLotwUnknownSatellites, MsgExportOverLog,
    // Web and help: the Internet menu, the version check, the manuals and the About window
    MenuInternet, LinkAmsatUsa, LinkAmsatStatus, LinkAmsatPasses, LinkAriss, LinkAmsatArgentina,
    LinkNeaa, MsgVersionLatest, MsgVersionUpdate, MsgVersionNewer, MsgWebError, MsgNoInternet,
    MsgWebFailure, MsgNoVersionAddress, MsgHelpMissing, MsgCannotOpen, AboutCaption, AboutDescription,
    // ADIF import
    ImportFileTitle, ImportLoading, ImportProcessing, ImportDuplicatesReplaced, ImportWillLoad,
    ImportUndated, ImportLoadInitial, ImportLoadInLog, ImportLoaded, ImportLogText, ImportProgress,
    MsgImportFileUnreadable, MsgImportFailed,
    // CW keyer
    MenuMacrosCw, KeyerTestLabel, KeyerSpeed, KeyerManualKey, KeyerLampDown, KeyerLampUp, KeyerSending,
    MsgKeyerNoRealtime, MsgKeyerLineFailed,
    // Safe keeping: the current log's name, missing, locked or damaged logs, lost settings
    LabelCurrentLog, MsgStartLogMissing, MsgStartNotALog, MsgStartTemplate, MsgStartLogLocked,
    MsgOpenLogLocked, MsgLogDamaged, MsgConfigKeptAside, MsgEditorQsoGone, MsgSatelliteGone,
    // Operator flow: the saved-QSO notice, a station worked in this pass, what screen readers call
    // the value labels and unnamed fields, the font size
    MsgQsoSaved, LabelWorkedInPass, AccUtcDate, AccUtcTime, AccSatMode, AccCompass, AccDistance,
    AccUplinkMode, AccDownlinkMode, AccMacroCaption, AccMacroText, AccPort, AccLine, MsgFontScaleNotSaved,
    // Built-in tracker: the tracking choice, the sky panel, the passes window, element downloads
    ConfigTracking, TrackingChoiceLink, TrackingChoiceBuiltIn, MenuTracking, MenuPasses,
    MenuUpdateElements, SkyPlotName, SkyCardinals, SkyPlotNow, SkyAosIn, SkyLosIn, SkyAlwaysUp,
    SkyNoPass, SkyPassTimes, TrackerNoStation, TrackerNoElements, TrackerNoElementsFor,
    TrackerNoOrbit, TrackerNothingRises, ElementsStale, PassesTitle, PassesSatellite, PassesAosUtc,
    PassesMaxElevation, PassesLosUtc, PassesAosLocal, PassesLosLocal, PassesSortBy, PassesChoose,
    PassesRefresh, PassesClose, PassesSummary, PassesNoSatellites, MsgElementsUpdated,
    MsgElementsOtherFile, MsgElementsNotUpdated, ElementsReasonNoSets, ElementsReasonTooLarge,
    ElementsReasonTimeout,
    // Logs the system will not open
    MsgStartLogUnreadable, MsgOpenLogUnreadable,
    // ADIF import: a load stopped by closing the import window
    MsgImportLoadCancelled,
    // Built-in tracker mends: the search for the next to rise, a short element download, the
    // two UTC clocks
    TrackerSearching, MsgElementsFewer, ClockDisagrees, ClockDisagreesTip,
    // Screen readers: what the satellite drop-down is for
    AccSatelliteChoice,
    // Logs that cannot be made, a default log that is no log
    MsgLogNotCreated, MsgNewLogFailed, MsgDefaultNotALog,
    Count_
};

// The text of a purpose in a language. Placeholders ("$nombre$", "$Texto14$", ...) are left in;
// the caller fills them on its copy. A line break inside a message is CR LF.
QString text(Txt purpose, Language language);

// The text with its placeholders filled: each pair is a placeholder and its value.
QString text(Txt purpose, Language language,
             std::initializer_list<std::pair<const char *, QString>> fills);

} // namespace vorta
